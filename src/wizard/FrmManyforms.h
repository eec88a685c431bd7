#pragma once

#include <QDialog>

class QComboBox;
class frmStep1;
class gxButtons_H;

// Asks which form of a page with several forms to process.
class FrmManyforms final : public QDialog
{
    Q_OBJECT

public:
    explicit FrmManyforms(frmStep1 *page);

    void add_form(const QString &title);

private:
    void CmdOk_Click();

    frmStep1 *m_page;
    QComboBox *cmbForm;
    gxButtons_H *CmdOk;
};
