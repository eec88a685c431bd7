// A program that starts, shows its first window and ends the moment that
// window has been painted. Built twice: with the wizard's own start code,
// and as a bare window with a label, a line edit and a button (the least a
// window that asks for something holds), linked with the toolkit alone.

#ifndef TRESSEL_BARE_WINDOW
#include "wizard/Startup.h"
#endif

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

// Ends the program as soon as the painting of its first window is done:
// the end is posted ahead of every other waiting event, so nothing the
// window does after it has shown (an introduction, for one) is counted.
class FirstPaint final : public QObject
{
public:
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        std::fflush(stdout);
        std::_Exit(0);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow())
            QCoreApplication::postEvent(this, new QEvent(QEvent::User), Qt::HighEventPriority);
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FirstPaint first_paint;
    app.installEventFilter(&first_paint);
#ifdef TRESSEL_BARE_WINDOW
    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Name"), &window));
    layout->addWidget(new QLineEdit(&window));
    layout->addWidget(new QPushButton(QStringLiteral("OK"), &window));
    window.show();
#else
    QApplication::setApplicationName(QStringLiteral("Tressel"));
    start_wizard(QString());
#endif
    return QApplication::exec();
}
