#pragma once

#include "CommonDialog.h"
#include "WizardWindow.h"

#include <QString>

#include <memory>
#include <optional>

class CForm;
class Forms;
class SavedProject;
class fields;
class frmSaveOption;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class gxButtons_H;

// Page 1: the HTML page to read (a file or a URL), the form to process and
// the actions the script performs.
class frmStep1 final : public WizardWindow
{
    Q_OBJECT

public:
    explicit frmStep1(QWidget *parent = nullptr);

    // Takes a form of the read page when it passes the check.
    void select_form(const std::shared_ptr<CForm> &frm);
    // Keeps only the named fields that are not buttons; false (after a
    // notice) when nothing can be processed.
    bool check_selected_frm(CForm &frm);
    // Fills the field lists of the later pages from the chosen form.
    void load_fields();
    // Copies the actions and the date format into the model.
    void get_option();

    // Reads the project named on the command line into the model, this
    // page and the output page. A file that cannot be read is reported and
    // sets project_error: the run goes on as without a project.
    void load_settings();
    // Takes the saved fields with their rules for the chosen form; when the
    // page holds fields the project does not know, asks which to keep.
    void compare_fields();
    // Whether a field of the list has exactly this name.
    static bool is_In_Collection(const ::fields &list, const QString &name);
    // The URL test of "load URL": some text with a dot.
    static bool chk_URL(const QString &url);

    bool form_loaded() const { return m_form_loaded; }
    bool asks_to_save() const override;

protected:
    bool event(QEvent *event) override;

private:
    void optLoadHtml_Click();
    void optLoadURL_Click();
    void chkdate_Click();
    void Browse_Click();
    void load_Click();
    void cmdNext_Click();
    void web2_FinishReading();
    void read_page();
    // Each activation reads wizard.ini; once per run it may show the
    // introduction page.
    void activated();
    // A project was named on the command line and read.
    bool project_in_use() const;
    // The form saved in the project as the page read holds it, and its
    // title there; none when no form holds most of the saved fields, or
    // (`tied`) when several hold as many.
    struct SavedForm
    {
        std::shared_ptr<CForm> form;
        QString title;
        bool tied = false;
    };
    SavedForm saved_form() const;
    // How many of the saved fields' names the form holds; whether that is
    // more than half of them.
    static qsizetype saved_names_held(CForm &form);
    static bool holds_saved_fields(CForm &form);
    // Gives the form chosen in place of the saved one the saved rules of
    // its fields' names.
    void take_saved_rules();
    bool confirm_reload();
    // A project saved before a typed separator was taken as typed keeps the
    // comma its scripts wrote, unless the user, asked, takes the new one.
    void keep_earlier_separator(SavedProject &project);
    void load_prefrences(const SavedProject &project);
    // Takes out of the reopened project's fields the upload types the
    // script refuses, naming them in a notice.
    void drop_refused_types();
    void load_webpage(const SavedProject &project);
    void Refresf_Saved_Fields();
    // Sets the page, and with `boxes` the address boxes, back to the page
    // whose form is taken, after a reading that took none.
    void restore_taken_page(bool boxes);
    // A choice of another page given up before any reading: the option and
    // the address boxes show the page of the form taken again, if one is.
    void keep_taken_page();

    QRadioButton *optLoadHtml;
    QLineEdit *txtdestination;
    gxButtons_H *Browse;
    CommonDialog com;
    QRadioButton *optLoadURL;
    QLineEdit *txturl;
    gxButtons_H *load;
    QCheckBox *chkMail;
    QCheckBox *chkAutoResponde;
    QCheckBox *chkDB;
    QCheckBox *chkCSV;
    QCheckBox *chkEmbed;
    QCheckBox *chkdate;
    QLabel *lbldate;
    QComboBox *cmbdate;
    QLabel *lblHelp;
    // In the keyboard's order: About stands first.
    gxButtons_H *cmdAbout;
    gxButtons_H *cmdNext;
    gxButtons_H *cmdCancel;
    gxButtons_H *cmdHelp;

    // Kept for the run, so its choice stays for a later showing.
    frmSaveOption *m_save_option = nullptr;
    bool m_form_loaded = false;
    bool m_url_load_pressed = false;
    // The last reading could not load its page.
    bool m_load_failed = false;
    // The form chooser is open for a reopened project whose saved form is
    // gone from the page, or not told apart from another.
    bool m_choosing_saved_form = false;

    // The page of the form taken, as it was read and as the address boxes
    // showed it.
    struct TakenPage
    {
        qint32 pagetype;
        QString URL;
        QString path;
        std::shared_ptr<Forms> forms;
        qint16 nforms;
        QString file_box;
        QString url_box;
    };
    std::optional<TakenPage> m_taken;
    // Forms taken so far in the run.
    int m_takes = 0;
};
