#include "MailPage.h"

#include "Artwork.h"
#include "named.h"

#include "controls/gxButtons_H.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {

// Width of the hint column beside the boxes, in pixels.
constexpr int kHintWidth = 210;

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
    lblHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    set_hint_label(lblHelp);
    lblHelp->setFixedSize(kHintWidth, pixels(m_rest_height));
}

void MailPage::add_mail_hint(
    QWidget *control, int triggers, const QString &sentence, QWidget *highlighted, int height, int top)
{
    add_hint(control, sentence, highlighted, height);
    m_triggers.insert(control, triggers);
    if (top > 0)
        m_tops.insert(control, top);
}

void MailPage::show_hint_of(QObject *control)
{
    // The hint shows as when the pointer enters the control.
    QEvent entered(QEvent::Enter);
    WizardWindow::eventFilter(control, &entered);
    place_hint(m_tops.value(control, m_top));
}

void MailPage::set_hint_rest(int height, int top)
{
    m_rest_height = height;
    m_rest_top = top;
    lblHelp->setFixedHeight(pixels(height));
    place_hint(top);
}

void MailPage::rest_hint()
{
    reset_hint();
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

    // Rows spaced so that a hint placed at its control's height (the
    // pages give it in twips) stands level with the control.
    rows->setVerticalSpacing(10);
    auto *beside = new QHBoxLayout;
    beside->addLayout(rows, 1);
    beside->addSpacing(kHintWidth + 12);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    for (gxButtons_H *button : buttons)
        bottom->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(picture, 0, Qt::AlignLeft);
    layout->addSpacing(26);
    layout->addLayout(beside, 1);
    layout->addSpacing(8);
    layout->addLayout(bottom);
    lblHelp->raise();
}

bool MailPage::eventFilter(QObject *watched, QEvent *event)
{
    const auto found = m_triggers.constFind(watched);
    if (found == m_triggers.constEnd())
        return WizardWindow::eventFilter(watched, event);
    const int triggers = *found;
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::Enter:
        if (triggers & Pointer)
            show_hint_of(watched);
        break;
    case QEvent::FocusIn:
        if (triggers & FocusResets)
            rest_hint();
        else if (triggers & Focus)
            show_hint_of(watched);
        break;
    case QEvent::KeyPress:
        if ((triggers & AnyKey) || ((triggers & TypedKey) && !static_cast<QKeyEvent *>(event)->text().isEmpty()))
            show_hint_of(watched);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void MailPage::mouseMoveEvent(QMouseEvent *event)
{
    if (!childAt(event->position().toPoint()))
        rest_hint();
    WizardWindow::mouseMoveEvent(event);
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
