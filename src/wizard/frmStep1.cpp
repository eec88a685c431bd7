#include "frmStep1.h"

#include "FrmManyforms.h"
#include "MyMessage.h"
#include "WizardButtons.h"
#include "WizardControls.h"
#include "WizardFrame.h"
#include "frmAbout.h"
#include "frmSaveOption.h"
#include "frmStart.h"
#include "frmStep2.h"
#include "frmStep7.h"
#include "frmWait.h"
#include "named.h"

#include "generate/CSV.h"
#include "generate/Crecieving_vars.h"
#include "generate/UploadTypes.h"
#include "generate/cmail.h"
#include "generate/db.h"
#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/SavedProject.h"
#include "model/globals.h"
#include "model/ini_variables.h"
#include "model/webpage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kNoDateFormat = QStringLiteral("Select date Format");
// The narrowest the hint line is laid out, in pixels.
constexpr int kHintWidth = 400;

void notice(const QString &text)
{
    MyMessage::show_message(text, 1, 3);
}

} // namespace

frmStep1::frmStep1(QWidget *parent)
    : WizardWindow(WizardPage::frmStep1, 1, parent)
    , optLoadHtml(named(new QRadioButton(QStringLiteral("Load HTML Form"), this), "optLoadHtml"))
    , txtdestination(named(new QLineEdit(this), "txtdestination"))
    , Browse(make_button(this, "Browse", QStringLiteral("Browse")))
    , com(this)
    , optLoadURL(named(new QRadioButton(QStringLiteral("Load HTML Form From URL"), this), "optLoadURL"))
    , txturl(named(new QLineEdit(QStringLiteral("http://"), this), "txturl"))
    , load(make_button(this, "load", QStringLiteral("load URL")))
    , chkMail(named(new QCheckBox(QStringLiteral("Send email to form's owner with all fields data"), this), "chkMail"))
    , chkAutoResponde(
          named(new QCheckBox(QStringLiteral("Send a confirmation email (Autoresponder)"), this), "chkAutoResponde"))
    , chkDB(named(new QCheckBox(QStringLiteral("Insert fields data into a MySQL table "), this), "chkDB"))
    , chkCSV(named(new QCheckBox(QStringLiteral("Save Fields data in a text file on your server"), this), "chkCSV"))
    , chkEmbed(named(new QCheckBox(QStringLiteral("Embed result pages in the script"), this), "chkEmbed"))
    , chkdate(named(new QCheckBox(QStringLiteral("My Form Doesn't include any dates"), this), "chkdate"))
    , lbldate(named(new QLabel(QStringLiteral("Date Format"), this), "lbldate"))
    , cmbdate(make_choice_combo(this, "cmbdate",
          { QStringLiteral("3/14/2005"), QStringLiteral("14/3/2005"), QStringLiteral("3/14/2005 12:20:12"),
              QStringLiteral("14/3/2005 12:20:12") },
          kNoDateFormat))
    , lblHelp(named(new QLabel(this), "lblHelp"))
    , cmdAbout(make_button(this, "cmdAbout", QStringLiteral("About")))
    , cmdNext(make_button(this, "cmdNext", QStringLiteral("Next >>")))
    , cmdCancel(make_button(this, "cmdCancel", QStringLiteral("Cancel")))
    , cmdHelp(make_button(this, "cmdHelp", QStringLiteral("Help")))
{
    setObjectName(QStringLiteral("frmStep1"));
    txturl->setToolTip(QStringLiteral("Load a form you have in your website"));
    cmbdate->setToolTip(QStringLiteral("Select date Format used in your Form"));
    chkEmbed->setChecked(globals::prefs()->is_embeded_result_page);

    // File mode at start.
    optLoadHtml->setChecked(true);
    txturl->setEnabled(false);
    load->setEnabled(false);
    txturl->setCursorPosition(14);

    // Plain panels: the group frame of the style would cost a picture to
    // load before the first page can show.
    auto *source = named(new QFrame(this), "fraSource");
    source->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(source);
    grid->addWidget(optLoadHtml, 0, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(txtdestination, 1, 0);
    grid->addWidget(Browse, 1, 1);
    grid->addWidget(optLoadURL, 2, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(txturl, 3, 0);
    grid->addWidget(load, 3, 1);

    auto *actions = named(new QFrame(this), "fraActions");
    actions->setFrameShape(QFrame::StyledPanel);
    auto *boxes = new QVBoxLayout(actions);
    for (QCheckBox *box : { chkMail, chkAutoResponde, chkDB, chkCSV, chkEmbed, chkdate })
        boxes->addWidget(box, 0, Qt::AlignLeft);
    auto *date = new QHBoxLayout;
    date->addWidget(lbldate);
    date->addWidget(cmbdate, 1);
    boxes->addLayout(date);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdAbout);
    buttons->addStretch(1);
    for (gxButtons_H *button : { cmdNext, cmdCancel, cmdHelp })
        buttons->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(source);
    layout->addWidget(actions);
    layout->addWidget(lblHelp);
    layout->addStretch(1);
    layout->addLayout(buttons);
    set_hint_label(lblHelp, kHintWidth);
    // The pointer over the panels' own background is over the page's.
    add_hint_background(source);
    add_hint_background(actions);

    add_hint(chkMail,
        QStringLiteral(" Do you like the script to send you an email with all fields values whenever the form is "
                       "successfully processed?"),
        chkMail);
    add_hint(chkAutoResponde,
        QStringLiteral(" Do you like the script to send your visitor a confirmation email immediately after "
                       "submitting the Form, like an auto responder ?  "),
        chkAutoResponde);
    add_hint(chkDB, QStringLiteral(" Do you like to save fields values in a MySQL database running on your server? "),
        chkDB);
    add_hint(chkCSV, QStringLiteral(" Do you like to save fields values in a text file on your server?"), chkCSV);
    add_hint(chkEmbed,
        QStringLiteral(" After pressing the submit button in the HTML form, the script is executed and it must "
                       "return a result page to the user's browser. Do you like the script to create this result "
                       "page for you?"),
        chkEmbed);
    add_hint(
        chkdate, QStringLiteral(" Check this box only if you don't have any date fields in your HTML form"), chkdate);
    add_hint(lbldate, QStringLiteral(" Select date Format used in your HTML Form"), lbldate);
    reset_hint();

    connect(optLoadHtml, &QRadioButton::clicked, this, &frmStep1::optLoadHtml_Click);
    connect(optLoadURL, &QRadioButton::clicked, this, &frmStep1::optLoadURL_Click);
    connect(chkdate, &QCheckBox::clicked, this, &frmStep1::chkdate_Click);
    connect(Browse, &gxButtons_H::Click, this, &frmStep1::Browse_Click);
    connect(load, &gxButtons_H::Click, this, &frmStep1::load_Click);
    // Enter in the address box loads it, as "load URL" does.
    connect(txturl, &QLineEdit::returnPressed, this, [this] {
        if (load->isEnabled())
            load_Click();
    });
    connect(cmdNext, &gxButtons_H::Click, this, &frmStep1::cmdNext_Click);
    connect(cmdCancel, &gxButtons_H::Click, this, &frmStep1::cancel);
    connect(cmdHelp, &gxButtons_H::Click, this, &frmStep1::show_help);
    // The mouse opens the About box as its button goes down; the keyboard,
    // which gives the button no MouseDown, as Space comes up.
    const auto about = [this] { frmAbout(this).exec(); };
    connect(cmdAbout, &gxButtons_H::MouseDown, this, about);
    connect(cmdAbout, &gxButtons_H::KeyUp, this, [about](int key) {
        if (key == 32)
            about();
    });
    connect(globals::web_page().get(), &webpage::FinishReading, this, &frmStep1::web2_FinishReading);
    connect(globals::web_page().get(), &webpage::LoadFailed, this, [this] {
        frmWait::instance().hide();
        m_load_failed = true;
    });
}

bool frmStep1::event(QEvent *event)
{
    // After the event: the introduction is modal and must not open inside
    // the activation itself.
    if (event->type() == QEvent::WindowActivate)
        QTimer::singleShot(0, this, &frmStep1::activated);
    return WizardWindow::event(event);
}

void frmStep1::activated()
{
    ini_variables::read_wizard_ini();
    if (!frmStart::is_shown && ini_variables::hide_start == 0 && isVisible())
        frmStart(this).exec();
}

bool frmStep1::asks_to_save() const
{
    return !globals::project_saved && m_form_loaded;
}

bool frmStep1::project_in_use() const
{
    // A project that could not be read is no project: the run goes on as
    // without one.
    return !globals::project_file.isEmpty() && !globals::project_error;
}

void frmStep1::optLoadHtml_Click()
{
    txturl->setEnabled(false);
    load->setEnabled(false);
    Browse->setEnabled(true);
    // The page of a form taken stays its page, and the project's, until
    // another page is read: an option chosen and left names no page.
    if (!m_form_loaded)
        globals::web_page()->pagetype = 0;
}

void frmStep1::optLoadURL_Click()
{
    txturl->setEnabled(true);
    load->setEnabled(true);
    Browse->setEnabled(false);
    if (!m_form_loaded)
        globals::web_page()->pagetype = 1;
}

void frmStep1::chkdate_Click()
{
    const bool no_dates = chkdate->isChecked();
    lbldate->setEnabled(!no_dates);
    cmbdate->setEnabled(!no_dates);
}

bool frmStep1::confirm_reload()
{
    // The two reload questions: false when the user keeps what is loaded.
    if (project_in_use()
        && MyMessage::show_message(
               QStringLiteral("Selecting another form will overwrite saved settings , Do you want to continue ?"), 3, 3)
            == 2)
        return false;
    return true;
}

void frmStep1::Browse_Click()
{
    // The form taken stays taken until another one is: a choice cancelled
    // on the way keeps it with its rules, and the page shows its option and
    // address again.
    if (!confirm_reload()) {
        keep_taken_page();
        return;
    }
    if (m_form_loaded
        && MyMessage::show_message(
               QStringLiteral("An HTML form was already loaded , do you wish to load a new form"), 3, 3)
            == 2) {
        keep_taken_page();
        return;
    }
    com.set_Filter(QStringLiteral("(*.html)|*.html;*.htm|(*.php)|*.php|All|*.*"));
    // A cancelled dialog changes nothing, not even the address box.
    if (!com.ShowOpen() || com.FileName().isEmpty()) {
        if (!m_form_loaded)
            notice(QStringLiteral("Please select an HTML file"));
        keep_taken_page();
        return;
    }
    globals::web_page()->pagetype = 0;
    txtdestination->setText(com.FileName());
    globals::web_page()->path = com.FileName();
    read_page();
}

void frmStep1::load_Click()
{
    if (project_in_use()
        && MyMessage::show_message(
               QStringLiteral("Selecting another form will overwrite saved settings , Do you want to continue ?"), 3, 3)
            == 2) {
        keep_taken_page();
        return;
    }
    m_url_load_pressed = true;
    // No goes back to the page of the form taken, a file or an address.
    if (m_form_loaded
        && MyMessage::show_message(
               QStringLiteral("An HTML form was already loaded , do you wish to load a new form"), 3, 3)
            == 2) {
        keep_taken_page();
        return;
    }
    if (txturl->text() == QLatin1String("http://")) {
        notice(QStringLiteral("please type the URL"));
        txturl->setFocus();
        return;
    }
    if (!chk_URL(txturl->text())) {
        notice(QStringLiteral("Invalid URL"));
        return;
    }
    globals::web_page()->pagetype = 1;
    globals::web_page()->URL = txturl->text();
    read_page();
}

bool frmStep1::chk_URL(const QString &url)
{
    return url.contains(QLatin1Char('.'));
}

void frmStep1::read_page()
{
    // One reading at a time: the page stays live while one runs.
    if (globals::web_page()->is_reading())
        return;
    frmWait::instance().show();
    QApplication::processEvents();
    const int takes = m_takes;
    m_load_failed = false;
    globals::web_page()->ReadForms();
    // A reading that took no form (none chosen, none there, the page not
    // loaded) leaves the form taken before with its own page. An address
    // that did not load stays in its box to be corrected.
    if (m_takes == takes && m_form_loaded)
        restore_taken_page(!m_load_failed);
}

void frmStep1::keep_taken_page()
{
    if (m_form_loaded)
        restore_taken_page(true);
}

void frmStep1::restore_taken_page(bool boxes)
{
    if (!m_taken)
        return;
    webpage &page = *globals::web_page();
    page.pagetype = m_taken->pagetype;
    page.URL = m_taken->URL;
    page.path = m_taken->path;
    page.forms = m_taken->forms;
    page.nforms = m_taken->nforms;
    if (!boxes)
        return;
    txtdestination->setText(m_taken->file_box);
    txturl->setText(m_taken->url_box);
    const bool url = page.pagetype != 0;
    optLoadURL->setChecked(url);
    optLoadHtml->setChecked(!url);
    if (url)
        optLoadURL_Click();
    else
        optLoadHtml_Click();
}

void frmStep1::web2_FinishReading()
{
    frmWait::instance().hide();
    const webpage &page = *globals::web_page();
    SavedForm saved;
    if (project_in_use()) {
        saved = saved_form();
        if (!saved.form && !saved.tied) {
            notice(QStringLiteral("The form ") + globals::selected_form_title
                + QStringLiteral(" saved in this project is no longer on the page."));
        }
    }
    if (saved.form) {
        // Named by its place on the page as it is now, which it may have
        // changed.
        select_form(saved.form);
        globals::selected_form_title = saved.title;
    } else if (page.nforms == 1 && !project_in_use()) {
        select_form(page.forms->Item(1));
        globals::selected_form_title = QStringLiteral("Form1");
    } else if (page.nforms < 1) {
        notice(page.pagetype == 0 ? QStringLiteral("File does not contain an HTML form.")
                                  : QStringLiteral("Page does not contain an HTML form."));
    } else {
        // In place of a form gone from the page another is taken only when
        // the user chooses it; closing the list keeps the page as it is. Of
        // forms that hold the saved fields alike the user chooses one.
        FrmManyforms picker(this);
        if (project_in_use() && !saved.tied)
            picker.ask_instead();
        for (int i = 1; i <= page.forms->Count(); ++i)
            picker.add_form(QStringLiteral("Form") + QString::number(i));
        m_choosing_saved_form = project_in_use();
        picker.exec();
        m_choosing_saved_form = false;
    }
}

qsizetype frmStep1::saved_names_held(CForm &form)
{
    const ::fields &saved = *globals::saved_fields();
    const ::fields &shown = *form.fields();
    return std::count_if(
        saved.begin(), saved.end(), [&shown](const auto &entry) { return is_In_Collection(shown, entry.value->name); });
}

bool frmStep1::holds_saved_fields(CForm &form)
{
    return saved_names_held(form) * 2 > globals::saved_fields()->Count();
}

frmStep1::SavedForm frmStep1::saved_form() const
{
    // The saved title is the form's place on the page: the form there is the
    // saved one while it still holds most of the saved fields. Forms added
    // or dropped elsewhere on the page move no form before it out of place;
    // a form that moved into the place holds few of the saved names.
    const webpage &page = *globals::web_page();
    if (!page.forms)
        return {};
    const QString &title = globals::selected_form_title;
    if (page.forms->Contains(title)) {
        const std::shared_ptr<CForm> form = page.forms->Item(title);
        if (globals::saved_fields()->Count() == 0 || holds_saved_fields(*form))
            return { form, title, false };
    }
    // A form added or dropped before it moved the saved form: it is the one
    // holding more of the saved names than any other, when that is most.
    SavedForm found;
    qsizetype best = 0;
    for (int i = 1; i <= page.forms->Count(); ++i) {
        const std::shared_ptr<CForm> form = page.forms->Item(i);
        const qsizetype held = saved_names_held(*form);
        if (held < best || !holds_saved_fields(*form))
            continue;
        found = held > best ? SavedForm { form, QStringLiteral("Form") + QString::number(i), false }
                            : SavedForm { nullptr, QString(), true };
        best = held;
    }
    return found;
}

void frmStep1::select_form(const std::shared_ptr<CForm> &frm)
{
    if (!check_selected_frm(*frm))
        return;
    globals::web_page()->selected_form = frm;
    globals::rec_vars()->form = frm;
    globals::csv_file()->form = frm;
    globals::owner_mail()->form = frm;
    globals::mysql_db()->form = frm;
    globals::auto_mail()->form = frm;
    // A form chosen in the list for a reopened project is the saved one
    // when it holds the saved fields; another takes their rules by name.
    if (!project_in_use())
        load_fields();
    else if (m_choosing_saved_form && !holds_saved_fields(*frm))
        take_saved_rules();
    else
        compare_fields();
    m_form_loaded = true;
    ++m_takes;
    const webpage &page = *globals::web_page();
    m_taken = TakenPage { page.pagetype, page.URL, page.path, page.forms, page.nforms, txtdestination->text(),
        txturl->text() };
    notice(QStringLiteral("HTML Form is successfully loaded "));
}

bool frmStep1::check_selected_frm(CForm &frm)
{
    ::fields &list = *frm.fields();
    if (list.Count() == 0) {
        notice(QStringLiteral("Selected Form doesn't contain any Fields, Please select another form"));
        return false;
    }
    const qsizetype total = list.Count();
    qsizetype unnamed = 0;
    QList<qsizetype> dropped;
    qsizetype position = 1;
    for (const auto &entry : list) {
        const Field &field = *entry.value;
        const bool button = field.field_type == QLatin1String("reset") || field.field_type == QLatin1String("submit");
        if (field.name.isEmpty()) {
            if (!button)
                ++unnamed;
            dropped << position;
        } else if (button) {
            dropped << position;
        }
        ++position;
    }
    for (auto it = dropped.crbegin(); it != dropped.crend(); ++it)
        list.Remove(*it);
    if (unnamed == 0)
        return true;
    if (unnamed == total) {
        notice(QStringLiteral("All fields in the selected form are unnamed; please make sure that each field has a "
                              "name in the form, you like to process."));
        return false;
    }
    notice(QStringLiteral("Some fields in the selected form don't have names , only named fields will be processed "));
    return true;
}

void frmStep1::load_fields()
{
    // The later pages list the chosen form's fields; each is created here if
    // it was never shown.
    for (WizardPage page : { WizardPage::frmStep2, WizardPage::frmStep3, WizardPage::frmStep4 }) {
        if (WizardWindow *window = WizardFrame::instance().window(page))
            window->fill_field_lists(project_in_use());
    }
}

void frmStep1::load_settings()
{
    try {
        SavedProject project = SavedProject::read(globals::project_file);
        keep_earlier_separator(project);
        project.apply();
        load_prefrences(project);
        load_webpage(project);
    } catch (const ProjectReadError &error) {
        globals::project_error = true;
        MyMessage::show_message(error.message(globals::project_file), 1, 2);
        return;
    }
    drop_refused_types();
    // The fonts the pages showed, when the file holds them.
    FontSpec font;
    qint32 color = 0;
    const StringCollection &shown = *globals::page_settings();
    WizardFrame &frame = WizardFrame::instance();
    if (SavedProject::saved_font(shown, QStringLiteral("alert"), font, color))
        static_cast<frmStep2 *>(frame.window(WizardPage::frmStep2))->set_alert_font(font, color);
    if (SavedProject::saved_font(shown, QStringLiteral("message"), font, color))
        static_cast<frmStep7 *>(frame.window(WizardPage::frmStep7))->set_message_font(font, color);
}

void frmStep1::keep_earlier_separator(SavedProject &project)
{
    // Scripts of earlier versions wrote a comma for this project's Separator
    // text, which this version reads otherwise: the data file they wrote
    // gets no other separator unless the user wants it.
    if (!project.separator_read_as_comma())
        return;
    const QString typed = project.csv_separator();
    if (const std::optional<QString> now = CSV::separator_of(typed); now && project.prefs.is_csv) {
        const QString question = QStringLiteral("Scripts made from this project by earlier versions wrote a comma (,) "
                                                "between the values in the data file: they took the Separator \"")
            + typed + QStringLiteral("\" for a comma. This version writes \"") + *now
            + QStringLiteral("\", and its records would not match those already in the file. Do you want to keep the "
                             "comma?");
        if (MyMessage::show_message(question, 3, 1, MyMessage::Escape::Closes) == 2)
            return;
    }
    project.keep_comma_separator();
}

void frmStep1::drop_refused_types()
{
    // A project saved by an earlier version may permit a type whose files
    // the script now refuses: the rules page no longer offers it.
    QStringList dropped;
    for (const auto &entry : *globals::saved_fields()) {
        StringCollection &types = *entry.value->mime_types();
        for (qsizetype i = 1; i <= types.Count();) {
            if (!UploadTypes::is_refused(types.Item(i))) {
                ++i;
                continue;
            }
            dropped << types.Item(i) + QStringLiteral(" (field '") + entry.value->name + QStringLiteral("': ")
                    + UploadTypes::refusal(types.Item(i)) + QStringLiteral(")");
            types.Remove(i);
        }
    }
    if (!dropped.isEmpty()) {
        notice(QStringLiteral("These file types are no longer offered, since the script refuses every such file, "
                              "and were removed from the permitted types: ")
            + dropped.join(QStringLiteral(", ")));
    }
}

void frmStep1::load_prefrences(const SavedProject &project)
{
    const Cprefrences &prefs = project.prefs;
    chkAutoResponde->setChecked(prefs.is_autoresponde);
    chkMail->setChecked(prefs.is_email);
    chkCSV->setChecked(prefs.is_csv);
    chkDB->setChecked(prefs.is_mysql);
    chkEmbed->setChecked(prefs.is_embeded_result_page);
    static_cast<frmStep7 *>(WizardFrame::instance().window(WizardPage::frmStep7))
        ->load_saved(prefs, project.txt_success_message);
}

void frmStep1::load_webpage(const SavedProject &project)
{
    const bool url = project.pagetype != 0;
    optLoadURL->setChecked(url);
    optLoadHtml->setChecked(!url);
    txtdestination->setEnabled(!url);
    txturl->setEnabled(url);
    (url ? txturl : txtdestination)->setText(url ? project.URL : project.path);
    // Choosing an option again enables them.
    Browse->setEnabled(false);
    load->setEnabled(false);

    chkdate->setChecked(!project.is_date);
    chkdate_Click();
    if (project.is_date && project.date_format >= 0 && project.date_format < cmbdate->count())
        cmbdate->setCurrentIndex(project.date_format);
}

void frmStep1::Refresf_Saved_Fields()
{
    const auto &page_fields = *globals::web_page()->selected_form->fields();
    for (const auto &entry : *globals::saved_fields()) {
        Field &saved = *entry.value;
        for (const auto &shown : page_fields) {
            if (shown.value->name == saved.name) {
                saved.post_name = shown.value->post_name;
                saved.may_be_left_out = shown.value->may_be_left_out;
            }
        }
    }
}

bool frmStep1::is_In_Collection(const ::fields &list, const QString &name)
{
    return std::any_of(list.begin(), list.end(), [&name](const auto &entry) { return entry.value->name == name; });
}

void frmStep1::compare_fields()
{
    Refresf_Saved_Fields();
    CForm &form = *globals::web_page()->selected_form;
    const std::shared_ptr<::fields> &saved = globals::saved_fields();
    globals::new_field_count = 0;
    for (const auto &entry : *form.fields()) {
        Field &field = *entry.value;
        field.is_found = is_In_Collection(*saved, field.name) ? 1 : 0;
        if (!field.is_found)
            ++globals::new_field_count;
    }
    if (globals::new_field_count == 0) {
        // Saved fields the page no longer holds stay in the list.
        form.set_fields(saved);
        load_fields();
        return;
    }
    if (!m_save_option)
        m_save_option = new frmSaveOption(this);
    m_save_option->exec();
    switch (m_save_option->choice()) {
    case frmSaveOption::Choice::SavedFields:
        form.set_fields(saved);
        break;
    case frmSaveOption::Choice::AllFields:
        for (const auto &entry : *form.fields()) {
            if (!entry.value->is_found)
                saved->Add(*entry.value, entry.value->name);
        }
        form.set_fields(saved);
        break;
    case frmSaveOption::Choice::NewFields:
        break; // the page's own fields, without the saved rules
    }
    load_fields();
}

void frmStep1::take_saved_rules()
{
    // Another form chosen for one gone from the page: its own fields, each
    // with the saved rule of a field of its name.
    CForm &form = *globals::web_page()->selected_form;
    const ::fields &saved = *globals::saved_fields();
    auto kept = std::make_shared<::fields>();
    for (const auto &entry : *form.fields()) {
        Field field = *entry.value;
        for (const auto &rule : saved) {
            if (rule.value->name == field.name) {
                field = *rule.value;
                field.post_name = entry.value->post_name;
                field.may_be_left_out = entry.value->may_be_left_out;
                break;
            }
        }
        kept->Add(field, field.name);
    }
    form.set_fields(kept);
    load_fields();
}

void frmStep1::get_option()
{
    Cprefrences &prefs = *globals::prefs();
    prefs.is_autoresponde = chkAutoResponde->isChecked();
    prefs.is_csv = chkCSV->isChecked();
    prefs.is_email = chkMail->isChecked();
    prefs.is_mysql = chkDB->isChecked();
    prefs.is_embeded_result_page = chkEmbed->isChecked();
    CForm &form = *globals::web_page()->selected_form;
    if (chkdate->isChecked()) {
        form.is_date = false;
        return;
    }
    form.is_date = true;
    if (cmbdate->currentIndex() >= 0)
        form.date_format = cmbdate->currentIndex();
}

void frmStep1::cmdNext_Click()
{
    if (project_in_use() && !m_form_loaded) {
        read_page();
        // A reading that took no form has said why, or the user closed the
        // list of forms to keep the page as it is.
        if (!m_form_loaded)
            return;
    }
    if (optLoadURL->isChecked() && !m_url_load_pressed && !project_in_use()) {
        notice(QStringLiteral("Please click the 'Load URL' button to load your HTML form"));
        return;
    }
    if (!m_form_loaded) {
        notice(QStringLiteral("Please select an HTML form to process"));
        return;
    }
    if (cmbdate->currentIndex() < 0 && chkDB->isChecked() && !chkdate->isChecked()) {
        notice(QStringLiteral("Please select the date format used on your form"));
        cmbdate->setFocus();
        return;
    }
    get_option();
    WizardFrame::instance().go_next(*this);
}
