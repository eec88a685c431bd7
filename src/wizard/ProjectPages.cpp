#include "ProjectPages.h"

#include "MyMessage.h"
#include "WizardFrame.h"
#include "frmStep2.h"
#include "frmStep3.h"
#include "frmStep4.h"
#include "frmStep7.h"
#include "frmstep5.h"
#include "frmstep6a.h"

#include "model/FileError.h"
#include "model/ProjectFormat.h"
#include "model/globals.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace ProjectPages {

namespace {

// The page, created when it was never shown; null where another window
// stands in for it.
template<typename Page> Page *page(WizardPage which)
{
    return qobject_cast<Page *>(WizardFrame::instance().window(which));
}

// Each text whose key the saved section holds takes the saved value.
void take_saved(const StringCollection &section, std::initializer_list<std::pair<const char *, QString *>> texts)
{
    for (const auto &[key, text] : texts) {
        if (section.Contains(QLatin1String(key)))
            *text = section.Item(QLatin1String(key));
    }
}

} // namespace

std::optional<SavedOwnerPage> saved_owner_page()
{
    const StringCollection &settings = *globals::page_settings();
    const QString key = QStringLiteral("is_send_ip");
    if (!settings.Contains(key))
        return std::nullopt;
    SavedOwnerPage saved;
    saved.send_ip = ProjectFormat::value_of<bool>(settings.Item(key)).value_or(true);
    QStringList body;
    for (const auto &line : *globals::email_message_lines())
        body << line.value;
    saved.message = body.join(QLatin1Char('\n'));
    return saved;
}

QString saved_auto_message(const StringCollection &lines)
{
    QString body;
    for (const auto &line : lines)
        body += line.value;
    return body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

ProjectPageTexts texts()
{
    // A page not shown in this run holds what its load put there, or what
    // the refill took from the reopened project: the project's values stand
    // for it.
    ProjectPageTexts texts;
    if (const auto *output = page<frmStep7>(WizardPage::frmStep7)) {
        texts.txt_success_message = output->success_text();
        texts.message_font = output->message_font();
        texts.message_color = output->message_color();
    }
    if (const auto *csv = page<frmstep5>(WizardPage::frmstep5)) {
        texts.csv_separator = csv->cmbDelimiter->currentText();
        texts.csv_filename = csv->txtfilename->text();
        texts.csv_format = csv->cmbtypes->currentText();
        texts.csv_EndLine = csv->cmbendline->currentText();
        if (!csv->was_shown()) {
            take_saved(*globals::csv_settings(),
                { { "separator", &texts.csv_separator }, { "filename", &texts.csv_filename },
                    { "format", &texts.csv_format }, { "EndLine", &texts.csv_EndLine } });
        }
    }
    if (const auto *mysql = page<frmstep6a>(WizardPage::frmstep6a)) {
        texts.mysql_host = mysql->txtHost->text();
        texts.mysql_user = mysql->txtUser->text();
        texts.mysql_pw = mysql->txtpassword->text();
        texts.mysql_port = mysql->txtport->text();
        texts.mysql_db = mysql->database_name();
        texts.mysql_table = mysql->table_name();
        if (!mysql->was_shown()) {
            take_saved(*globals::mysql_settings(),
                { { "host", &texts.mysql_host }, { "user", &texts.mysql_user }, { "pw", &texts.mysql_pw },
                    { "port", &texts.mysql_port }, { "db", &texts.mysql_db }, { "table", &texts.mysql_table } });
        }
    }
    if (const auto *owner = page<frmStep3>(WizardPage::frmStep3)) {
        texts.owner_send_ip = owner->chkIP->isChecked();
        texts.owner_message = owner->txtMessage->toPlainText();
        const std::optional<SavedOwnerPage> saved = saved_owner_page();
        if (!owner->was_shown() && saved) {
            texts.owner_send_ip = saved->send_ip;
            texts.owner_message = saved->message;
        }
    }
    if (const auto *reply = page<frmStep4>(WizardPage::frmStep4)) {
        texts.auto_message = reply->txtMessage->toPlainText();
        if (!reply->was_shown() && globals::auto_message_lines()->Count() > 0)
            texts.auto_message = saved_auto_message(*globals::auto_message_lines());
    }
    if (const auto *rules = page<frmStep2>(WizardPage::frmStep2)) {
        texts.alert_font = rules->alert_font();
        texts.alert_color = rules->alert_color();
    }
    return texts;
}

bool save()
{
    QApplication::processEvents();
    auto *output = page<frmStep7>(WizardPage::frmStep7);
    if (!output)
        return false;
    CommonDialog &dialog = output->save_dialog();
    dialog.set_Filter(QStringLiteral("(*.tsl)|*.tsl;*.tsl|All|*.*"));
    // A name typed without an extension becomes a project file, which a
    // command line can open again.
    dialog.set_DefaultExt(QStringLiteral("tsl"));
    // A reopened project is offered under its own name the first time.
    if (dialog.FileName().isEmpty() && !globals::project_error)
        dialog.set_FileName(globals::project_file);
    if (!dialog.ShowSave() || dialog.FileName().isEmpty())
        return false;
    const QString path = dialog.FileName();
    // The writer takes the mails from the mail objects, which a page's Next
    // fills: a mail page shown in this run gives what is typed there now,
    // as if Next had been pressed, so a change left with Back or Cancel is
    // not lost.
    if (auto *owner = page<frmStep3>(WizardPage::frmStep3); owner && owner->was_shown())
        owner->get_options();
    if (auto *reply = page<frmStep4>(WizardPage::frmStep4); reply && reply->was_shown())
        reply->get_options();
    try {
        globals::save_project(path, texts());
        return true;
    } catch (const ProjectValueError &error) {
        MyMessage::show_message(error.message(), 1, 2);
    } catch (const FileError &error) {
        MyMessage::show_message(QStringLiteral("The project was not saved: ") + error.path()
                + QStringLiteral(" cannot be written (") + error.reason() + QLatin1Char(')'),
            1, 2);
    }
    return false;
}

} // namespace ProjectPages
