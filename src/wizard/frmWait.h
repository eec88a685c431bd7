#pragma once

#include <QWidget>

// Shown while a page is being read.
class frmWait final : public QWidget
{
    Q_OBJECT

public:
    static frmWait &instance();
    explicit frmWait(QWidget *parent = nullptr);

protected:
    // Opens over the window that waits.
    void showEvent(QShowEvent *event) override;
};
