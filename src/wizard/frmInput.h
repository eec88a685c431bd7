#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class gxButtons_H;

// Asks for one name (of a folder or a file). The caller sets the prompt and,
// when it wants one, a default text, shows the box modally and reads
// `result`: the accepted text, or "" when the user cancelled.
class frmInput final : public QDialog
{
    Q_OBJECT

public:
    explicit frmInput(QWidget *parent = nullptr);

    // Shows the box with `prompt` and `default_text` (all of it selected)
    // and returns what the user accepted.
    static QString ask(QWidget *parent, const QString &prompt, const QString &default_text = QString());

    QString result;
    QLabel *lblmessage;
    QLineEdit *Text1;

    // Refuses an empty name and one holding a path separator.
    static bool valid_name(const QString &name);

private:
    void CmdOk_Click();

    gxButtons_H *CmdOk;
    gxButtons_H *cmdCancel;
};
