#include "frmWait.h"

#include "ScreenPlace.h"
#include "TextFit.h"

#include <QLabel>
#include <QVBoxLayout>

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
    QWidget *anchor = working_window();
    place_over(*this, anchor == this ? nullptr : anchor);
    QWidget::showEvent(event);
}
