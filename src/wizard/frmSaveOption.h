#pragma once

#include <QDialog>

class QRadioButton;
class gxButtons_H;

// Asks which fields to keep when the page of a reopened project holds fields
// the project does not know. OK only hides it; the choice is read afterwards
// and stays selected for a later showing. Enter presses OK; Escape and the
// close box keep every field, as the choice the dialog starts with.
class frmSaveOption final : public QDialog
{
    Q_OBJECT

public:
    explicit frmSaveOption(QWidget *parent = nullptr);

    enum class Choice { NewFields, AllFields, SavedFields };
    Choice choice() const;

    QRadioButton *optNew;
    QRadioButton *OptAll;
    QRadioButton *optSaved;

public slots:
    void reject() override;

private:
    void CmdOk_Click();

    gxButtons_H *CmdOk;
};
