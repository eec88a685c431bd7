#include "WizardWindow.h"

#include "HTMLHelpViewer.h"
#include "WizardFrame.h"

#include "model/globals.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

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
    if (!childAt(event->position().toPoint()))
        reset_hint();
    QWidget::mouseMoveEvent(event);
}

bool WizardWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        const auto it = m_hints.constFind(watched);
        if (it != m_hints.constEnd() && m_hint_label) {
            m_hint_label->setText(it->sentence);
            m_hint_label->setVisible(true);
            if (it->height > 0)
                m_hint_label->setFixedHeight(it->height / 15);
            if (it->highlighted)
                set_text_color(it->highlighted, kHintColor);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void WizardWindow::set_hint_label(QLabel *label)
{
    m_hint_label = label;
    m_hint_label->setWordWrap(true);
    m_hint_label->setVisible(false);
}

void WizardWindow::add_hint(QWidget *control, const QString &sentence, QWidget *highlighted, int height)
{
    m_hints.insert(control, Hint { sentence, highlighted, height });
    control->setMouseTracking(true);
    control->installEventFilter(this);
    if (highlighted && !m_highlighted.contains(highlighted))
        m_highlighted << highlighted;
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
