#include "frmWait.h"

#include "ScreenPlace.h"
#include "TextFit.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWindow>

frmWait &frmWait::instance()
{
    static frmWait *window = new frmWait;
    return *window;
}

frmWait::frmWait(QWidget *parent)
    : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmWait"));
    setWindowTitle(QStringLiteral("Wait.."));
    fit_title(this);
    auto *label = new QLabel(QStringLiteral("This might take a few minutes, please wait.."), this);
    label->setObjectName(QStringLiteral("Label1"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(label);
}

void frmWait::showEvent(QShowEvent *event)
{
    // Over the window that waits, and kept in front of it: a window that
    // does not take the keyboard may otherwise open behind the one that
    // has it.
    QWidget *anchor = working_window();
    if (anchor == this)
        anchor = nullptr;
    windowHandle()->setTransientParent(anchor ? anchor->windowHandle() : nullptr);
    place_over(*this, anchor);
    QWidget::showEvent(event);
}
