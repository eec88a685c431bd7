#include "WizardWindow.h"

#include "HTMLHelpViewer.h"
#include "ScreenPlace.h"
#include "ScreenTabOrder.h"
#include "WizardFrame.h"

#include "model/globals.h"

#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include <algorithm>

const QColor WizardWindow::kHintColor(192, 0, 192);
const QColor WizardWindow::kRestColor(0, 0, 192);

WizardWindow::WizardWindow(WizardPage page, int help_context, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_page(page)
    , m_help_context(help_context)
{
    setWindowTitle(QStringLiteral("Tressel"));
    setMouseTracking(true);
    install_help_context(this, help_context);
    ScreenTabOrder::follow(this);
    resize(default_size());
}

QSize WizardWindow::default_size()
{
    return { 720, 480 };
}

void WizardWindow::take_place_of(const QWidget &from)
{
    const Qt::WindowStates kept = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (from.windowState() & kept) {
        set_place(*this, from.normalGeometry());
        setWindowState((windowState() & ~kept) | (from.windowState() & kept));
        return;
    }
    setWindowState(windowState() & ~kept);
    // By the inside of the window, which the window system places exactly;
    // both pages have the same frame around it.
    set_place(*this, from.geometry());
}

bool WizardWindow::asks_to_save() const
{
    return !globals::project_saved;
}

void WizardWindow::cancel()
{
    WizardFrame::instance().exit_dialogue(*this, asks_to_save());
}

void WizardWindow::show_help()
{
    show_help_context(m_help_context);
}

void WizardWindow::showEvent(QShowEvent *event)
{
    m_was_shown = true;
    QWidget::showEvent(event);
}

void WizardWindow::closeEvent(QCloseEvent *event)
{
    // The close box asks as Cancel does; the frame closes windows itself
    // when the program ends.
    if (WizardFrame::instance().is_ending()) {
        event->accept();
        return;
    }
    event->ignore();
    cancel();
}

void WizardWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over children that do not take them arrive here too; only the
    // page's own background and the areas counted as such reset the hint.
    QWidget *under = childAt(event->position().toPoint());
    if (!under || m_backgrounds.contains(under))
        reset_hint();
    QWidget::mouseMoveEvent(event);
}

bool WizardWindow::eventFilter(QObject *watched, QEvent *event)
{
    const auto found = m_hints.constFind(watched);
    if (found == m_hints.constEnd())
        return QWidget::eventFilter(watched, event);
    const int triggers = found->triggers;
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::Enter:
        if (triggers & Pointer)
            show_hint_of(watched);
        break;
    case QEvent::FocusIn:
        if (triggers & FocusResets)
            reset_hint();
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

void WizardWindow::set_hint_label(QLabel *label, int width, HintRoom room)
{
    m_hint_label = label;
    m_hint_width = width;
    m_hint_room = room;
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setMinimumWidth(width);
    QSizePolicy policy = label->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    label->setSizePolicy(policy);
    label->setVisible(false);
}

int WizardWindow::hint_height(const QString &sentence) const
{
    if (!m_hint_label)
        return 0;
    // Measured at the narrowest width the label gets, so that the sentence
    // fits at any width of the window.
    const QMargins margins = m_hint_label->contentsMargins();
    const int frame = 2 * m_hint_label->margin();
    const int width = m_hint_width - margins.left() - margins.right() - frame;
    const QRect text = m_hint_label->fontMetrics().boundingRect(
        QRect(0, 0, std::max(1, width), 100000), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, sentence);
    return text.height() + margins.top() + margins.bottom() + frame;
}

void WizardWindow::reserve_hint_room(const QString &sentence)
{
    // The sentence of the most characters takes the most lines: only it is
    // laid out, which keeps a page quick to build.
    if (!m_hint_label || m_hint_room != HintRoom::Reserved || sentence.size() <= m_longest_hint)
        return;
    m_longest_hint = sentence.size();
    m_hint_label->setFixedHeight(std::max(m_hint_label->minimumHeight(), hint_height(sentence)));
}

void WizardWindow::add_hint(QWidget *control, const QString &sentence, QWidget *highlighted, int triggers, int height)
{
    m_hints.insert(control, Hint { sentence, highlighted, triggers, height });
    if (triggers & Pointer)
        control->setMouseTracking(true);
    control->installEventFilter(this);
    if (highlighted && !m_highlighted.contains(highlighted))
        m_highlighted << highlighted;
    reserve_hint_room(sentence);
}

void WizardWindow::add_hint_background(QWidget *area)
{
    // Without tracking of its own the area would swallow the pointer's
    // moves; with it they come on to the page.
    area->setMouseTracking(true);
    m_backgrounds.insert(area);
}

void WizardWindow::show_hint_of(QObject *control)
{
    const auto found = m_hints.constFind(control);
    if (found == m_hints.constEnd())
        return;
    show_hint(found->sentence, found->highlighted, found->height);
    hint_shown(control);
}

void WizardWindow::show_hint(const QString &sentence, QWidget *highlighted, int height)
{
    if (!m_hint_label)
        return;
    m_hint_label->setText(sentence);
    if (height > 0)
        m_hint_label->setFixedHeight(std::max(height / 15, hint_height(sentence)));
    m_hint_label->setVisible(true);
    if (highlighted)
        set_text_color(highlighted, kHintColor);
}

void WizardWindow::reset_hint()
{
    if (m_hint_label)
        m_hint_label->setVisible(false);
    for (QWidget *widget : std::as_const(m_highlighted))
        set_text_color(widget, kRestColor);
}

void WizardWindow::set_text_color(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}
