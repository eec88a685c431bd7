#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class frmStep1;
class gxButtons_H;

// Asks which form of a page with several forms to process.
class FrmManyforms final : public QDialog
{
    Q_OBJECT

public:
    explicit FrmManyforms(frmStep1 *page);

    void add_form(const QString &title);
    // Asks for a form in place of one that is gone from the page.
    void ask_instead();

private:
    void CmdOk_Click();

    frmStep1 *m_page;
    QLabel *Label1;
    QLabel *Label2;
    QComboBox *cmbForm;
    gxButtons_H *CmdOk;
};
