#include "MailPage.h"

#include "Artwork.h"
#include "named.h"

#include "controls/gxButtons_H.h"
#include "model/CForm.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Width of the hint column beside the boxes, in pixels.
constexpr int kHintWidth = 210;
// Between the picture and the rows, in pixels.
constexpr int kPictureGap = 26;

constexpr int pixels(int twips)
{
    return twips / 15;
}

} // namespace

const QString MailPage::kSelectVisitorField
    = QStringLiteral("< Select the field which include your visitor email address >");

MailPage::MailPage(WizardPage page, int help_context, QWidget *parent)
    : WizardWindow(page, help_context, parent)
    , lblHelp(named(new QLabel(this), "lblHelp"))
{
    QFont small = lblHelp->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    lblHelp->setFont(small);
    set_hint_label(lblHelp, kHintWidth, HintRoom::Placed);
    lblHelp->setFixedSize(kHintWidth, pixels(m_rest_height));
}

void MailPage::add_placed_hint(
    QWidget *control, int triggers, const QString &sentence, QWidget *highlighted, int height, int top)
{
    add_hint(control, sentence, highlighted, triggers, height);
    if (top > 0)
        m_tops.insert(control, top);
    m_lowest = std::max(m_lowest, pixels(top > 0 ? top : m_rest_top) + std::max(pixels(height), hint_height(sentence)));
}

void MailPage::hint_shown(QObject *control)
{
    place_hint(m_tops.value(control, m_top));
}

void MailPage::set_hint_rest(int height, int top)
{
    m_rest_height = height;
    m_rest_top = top;
    lblHelp->setFixedHeight(pixels(height));
    place_hint(top);
    // The page is never so short that a hint would reach over the buttons:
    // the column beside the boxes goes as far down as the lowest hint.
    m_lowest = std::max(m_lowest, pixels(top + height));
    const QMargins margins = layout()->contentsMargins();
    const int column_top = margins.top() + m_picture->sizeHint().height() + 2 * layout()->spacing() + kPictureGap;
    m_hint_column->changeSize(kHintWidth + 12, m_lowest - column_top, QSizePolicy::Fixed, QSizePolicy::Fixed);
    layout()->invalidate();
}

void MailPage::reset_hint()
{
    WizardWindow::reset_hint();
    lblHelp->setFixedHeight(pixels(m_rest_height));
    place_hint(m_rest_top);
}

void MailPage::arrange(QGridLayout *rows, std::initializer_list<gxButtons_H *> buttons)
{
    // The product's picture heads the page; it is no control, so the
    // pointer over it counts as the page background.
    auto *picture = new QLabel(this);
    picture->setPixmap(tressel_logo(64));
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_picture = picture;

    // Rows spaced so that a hint placed at its control's height (the
    // pages give it in twips) stands level with the control.
    rows->setVerticalSpacing(10);
    auto *beside = new QHBoxLayout;
    beside->addLayout(rows, 1);
    m_hint_column = new QSpacerItem(kHintWidth + 12, 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
    beside->addItem(m_hint_column);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    for (gxButtons_H *button : buttons)
        bottom->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignLeft);
    layout->addSpacing(kPictureGap);
    layout->addLayout(beside, 1);
    layout->addSpacing(8);
    layout->addLayout(bottom);
    lblHelp->raise();
}

void MailPage::resizeEvent(QResizeEvent *event)
{
    WizardWindow::resizeEvent(event);
    place_hint(m_top);
}

void MailPage::place_hint(int top)
{
    m_top = top;
    const int right = layout() ? layout()->contentsMargins().right() : 11;
    lblHelp->move(width() - right - kHintWidth, pixels(top));
}

bool MailPage::names_field(const QString &name)
{
    const auto &form = globals::web_page()->selected_form;
    if (!form)
        return false;
    for (const auto &entry : *form->fields()) {
        if (entry.value->name == name)
            return true;
    }
    return false;
}
