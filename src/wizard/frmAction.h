#pragma once

#include "CommonDialog.h"

#include <QDialog>
#include <QString>

class Cprefrences;
class QLabel;
class gxButtons_H;

// The task report shown after a generation: what was written, a reminder
// to point the form at the new script, a help link, and the same summary
// saved as a ".log" file on request.
class frmAction final : public QDialog
{
    Q_OBJECT

public:
    explicit frmAction(QWidget *parent = nullptr);

    // The texts of the summary, the reminder and the saved report; lines
    // end with CR LF.
    static QString main_text(const Cprefrences &prefs);
    static QString caution_text(const Cprefrences &prefs);
    static QString report_text(const Cprefrences &prefs);

    // Writes the report to `path`; false, with the reason, when it cannot.
    static bool write_report(const QString &path, const Cprefrences &prefs, QString *reason);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdsave_Click();

    QLabel *Labelmain;
    QLabel *Labelcausion;
    QLabel *lblHelp;
    gxButtons_H *cmdOK;
    gxButtons_H *cmdsave;
    CommonDialog m_save_dialog;
};
