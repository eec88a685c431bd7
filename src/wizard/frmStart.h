#pragma once

#include <QDialog>

class QCheckBox;
class gxButtons_H;

// The introduction page, shown once per run until the user turns it off.
class frmStart final : public QDialog
{
    Q_OBJECT

public:
    explicit frmStart(QWidget *parent = nullptr);

    // Set when the page has been shown in this run.
    static inline bool is_shown = false;

private:
    void cmdNext_Click();

    QCheckBox *chkhide;
    gxButtons_H *cmdNext;
};
