#include "CPHP_script.h"

#include "CSV.h"
#include "Crecieving_vars.h"
#include "IPBanning.h"
#include "Vcreditcard.h"
#include "Vfile.h"
#include "cmail.h"
#include "create_directory.h"
#include "db.h"
#include "php_text.h"

#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/FileError.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QDateTime>
#include <QLocale>
#include <QSaveFile>

#include <vector>

namespace {

// What the failure answer of a step that fails for the server's reasons
// shows when the result page is embedded.
const QString kNotProcessed = QStringLiteral("Sorry, your submission could not be processed.");
// The answer to a request that is no submission of the form.
const QString kNothingSubmitted = QStringLiteral("Nothing was submitted.");

// Only a request of the form's method is a submission: a crawler's or a
// link preview's GET of a POST form does nothing.
QString method_check(const QString &method)
{
    return php_text::lines({
        QStringLiteral("if (($_SERVER['REQUEST_METHOD'] ?? \"\") !== \"") + method + QStringLiteral("\")"),
        QStringLiteral("{"),
        QStringLiteral("header(\"Allow: ") + method + QStringLiteral("\", true, 405);"),
        QStringLiteral("exit;"),
        QStringLiteral("}"),
    });
}

// PHP drops the whole of a post whose length is over its size limit: such a
// post arrives with nothing in it. Only that one is too large; an empty one,
// or one in a format PHP does not read, is not.
QString post_dropped_code()
{
    return php_text::lines({
        QStringLiteral("$tsl_limit = trim((string)ini_get(\"post_max_size\"));"),
        QStringLiteral("$tsl_limit = (int)$tsl_limit * (array(\"k\" => 1024, \"m\" => 1048576, \"g\" => 1073741824)"
                       "[strtolower(substr($tsl_limit, -1))] ?? 1);"),
        QStringLiteral("$tsl_dropped = $tsl_limit > 0 && (int)($_SERVER['CONTENT_LENGTH'] ?? 0) > $tsl_limit;"),
    });
}

// Whether a browser sends the field with every submission of its form, empty
// or not: enabled text-like inputs, text areas, hidden fields and selects
// that always hold a choice ("not specified" here, or the type an older
// project stored). Buttons, check boxes, radio buttons, uploads, lists of
// values and what the page lets a browser leave out may be left out.
bool is_always_sent(const Field &field)
{
    static const QStringList types = { QStringLiteral("text"), QStringLiteral("search"), QStringLiteral("tel"),
        QStringLiteral("url"), QStringLiteral("email"), QStringLiteral("password"), QStringLiteral("date"),
        QStringLiteral("month"), QStringLiteral("week"), QStringLiteral("time"), QStringLiteral("datetime-local"),
        QStringLiteral("number"), QStringLiteral("range"), QStringLiteral("color"), QStringLiteral("hidden"),
        QStringLiteral("textarea"), QStringLiteral("not specified"), QStringLiteral("select-one") };
    return types.contains(field.field_type) && !field.may_be_left_out && !globals::trim_blanks(field.name).isEmpty();
}

// A request that carries none of the fields a browser always sends (a
// crawler's or a link preview's visit, a post with an empty body) is no
// submission: nothing is done. A form without such fields cannot tell, and
// takes every request.
QString submission_check(CForm &form, const QString &method)
{
    QStringList absent;
    for (const auto &entry : *form.fields()) {
        if (!is_always_sent(*entry.value))
            continue;
        const QString test = QStringLiteral("!isset(")
            + php_text::request_item(QStringLiteral("_") + method, entry.value->post_name) + QLatin1Char(')');
        if (!absent.contains(test))
            absent << test;
    }
    if (absent.isEmpty())
        return QString();
    // A post PHP dropped for its size gets the answer for that.
    if (method == QLatin1String("POST"))
        absent << QStringLiteral("!$tsl_dropped");
    return php_text::lines({
        QStringLiteral("if (") + absent.join(QStringLiteral(" && ")) + QLatin1Char(')'),
        QStringLiteral("{"),
        QStringLiteral("header(\"Content-Type: text/plain; charset=UTF-8\", true, 400);"),
        QStringLiteral("echo(\"") + kNothingSubmitted + QStringLiteral("\");"),
        QStringLiteral("exit;"),
        QStringLiteral("}"),
    });
}

// A post over PHP's size limit fails as the first upload would, rather than
// pass as an empty submission.
QString too_large_check(Field *first_upload)
{
    const QString answer = first_upload
        ? php_text::failure_block(*first_upload, QStringLiteral("Sorry, your submission is too large."))
        : php_text::form_failure(QStringLiteral("\"Sorry, your submission is too large.\""));
    return php_text::lines({
               QStringLiteral("if ($tsl_dropped)"),
               QStringLiteral("{"),
           })
        + answer + php_text::line(QStringLiteral("}"));
}

// The one answer to a step that fails for the server's reasons: it removes
// the files this submission stored, takes back its row and its CSV line,
// logs the reason and gives the form's failure answer.
QString failure_function(bool csv, bool mysql)
{
    QStringList code {
        QStringLiteral("$tsl_stored = array();"),
        QStringLiteral("$tsl_handle = false;"),
        QStringLiteral("$tsl_size = false;"),
        QStringLiteral("$tsl_link = false;"),
        QStringLiteral("$tsl_failed = function ($tsl_reason, $tsl_shown) use (&$tsl_stored, &$tsl_handle, &$tsl_size, "
                       "&$tsl_link) {"),
        QStringLiteral(" foreach ($tsl_stored as $tsl_path) {"),
        QStringLiteral("  @unlink($tsl_path);"),
        QStringLiteral(" }"),
    };
    if (mysql)
        code << QStringLiteral(" if ($tsl_link) {") << QStringLiteral("  @mysqli_rollback($tsl_link);")
             << QStringLiteral(" }");
    if (csv) {
        code << QStringLiteral(" if ($tsl_handle) {") << QStringLiteral("  if ($tsl_size !== false) {")
             << QStringLiteral("   @ftruncate($tsl_handle, $tsl_size);") << QStringLiteral("  }")
             << QStringLiteral("  @fclose($tsl_handle);") << QStringLiteral(" }");
    }
    // The reason may quote the visitor's value: its line breaks and other
    // control characters are escaped, so that it stays one line of the log.
    code << QStringLiteral(
        " error_log(__FILE__ . \": submission not processed: \" . addcslashes($tsl_reason, \"\\0..\\37\\177\\\\\"));");
    const QString answer = php_text::form_failure(QLatin1Char('"') + php_text::literal(kNotProcessed)
        + QStringLiteral("\" . ($tsl_shown ? \" \" . htmlspecialchars($tsl_reason, ENT_QUOTES | ENT_SUBSTITUTE, "
                         "'UTF-8') : \"\")"));
    for (const QString &line : answer.split(php_text::CRLF, Qt::SkipEmptyParts))
        code << QLatin1Char(' ') + line;
    return php_text::lines(code << QStringLiteral("};"));
}

} // namespace

QString CPHP_script::script_text() const
{
    const Cprefrences &prefs = *globals::prefs();
    const auto &page = globals::web_page();
    QString text;
    // Each piece and each fixed line is written as one line, so an empty
    // line follows every generated piece.
    const auto write = [&text](const QString &piece) { text += piece + php_text::CRLF; };
    const auto dq = [](const QString &value) { return QLatin1Char('"') + php_text::literal(value) + QLatin1Char('"'); };

    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    const QString rule = QStringLiteral("# ") + QString(52, QLatin1Char('-'));
    write(QStringLiteral("<?php"));
    write(rule);
    write(QStringLiteral("# -----"));
    write(QStringLiteral("# ----- This script was generated by Tressel " TRESSEL_VERSION " on ")
        + locale.toString(now.date(), QLocale::ShortFormat) + QStringLiteral(" at ")
        + locale.toString(now.time(), QLocale::LongFormat));
    write(QStringLiteral("# -----"));
    write(QStringLiteral("# -----"));
    write(rule);
    write(QString());
    write(QString());

    const auto &form = page->selected_form;
    const QString method = form->Method().toUpper();
    write(method_check(method));
    // The request's names are cleaned before anything reads them: the fields
    // a browser always sends are looked for under the names the form has.
    write(QStringLiteral("// Cleaning received values"));
    write(globals::rec_vars()->get_cleaning_code());
    if (method == QLatin1String("POST"))
        write(post_dropped_code());
    if (const QString check = submission_check(*form, method); !check.isEmpty())
        write(check);
    if (prefs.is_embeded_result_page && prefs.is_header)
        write(QStringLiteral("include(") + dq(prefs.header_img) + QStringLiteral(");"));
    if (page->blocked_ips()->Count() > 0) {
        write(QStringLiteral("// Banned IP addresses "));
        write(globals::ip_banning()->get_php_code());
    }
    // The upload fields, in order: the first answers for a post too large,
    // and each is stored after every step that can fail has been prepared.
    std::vector<Vfile> uploads;
    for (const auto &entry : *form->fields()) {
        if (entry.value->validation_type == 7)
            uploads.emplace_back().field = entry.value.get();
    }
    if (method == QLatin1String("POST"))
        write(too_large_check(uploads.empty() ? nullptr : uploads.front().field));

    write(QStringLiteral("// Receiving variables"));
    write(globals::rec_vars()->get_recieving_code());
    if (prefs.is_creditcard)
        write(globals::credit_card()->CreditCardFunction());
    if (prefs.is_upload || (prefs.is_csv && globals::csv_file()->has_folder()))
        write(globals::dir_maker()->get_code());

    write(QStringLiteral("// Validation"));
    for (const auto &entry : *form->fields()) {
        Field &field = *entry.value;
        if (field.validation_type != 8)
            write(field.validation_code());
        if (field.required)
            write(field.required_code());
    }
    if (prefs.is_mysql) {
        if (const QString dates = globals::mysql_db()->get_date_conversion_code(); !dates.isEmpty())
            write(dates);
    }

    // Every step that can fail for the server's reasons runs before any
    // mail: first what needs no change (folders, the data file's lock, the
    // connection), then the changes, each undone when a later one fails.
    // Where the owner's mail is the only record of a submission, a mail not
    // sent fails it too.
    const bool mail_is_the_record = prefs.is_email && !prefs.is_csv && !prefs.is_mysql;
    if (!uploads.empty() || prefs.is_csv || prefs.is_mysql || mail_is_the_record) {
        write(QStringLiteral("// Preparing the actions"));
        write(failure_function(prefs.is_csv, prefs.is_mysql));
    }
    for (const Vfile &upload : uploads)
        write(upload.get_prepare_code());
    if (prefs.is_csv)
        write(globals::csv_file()->get_open_code());
    if (prefs.is_mysql)
        write(globals::mysql_db()->get_prepare_code());
    for (std::size_t i = 0; i < uploads.size(); ++i) {
        if (i == 0)
            write(QStringLiteral("// Storing uploaded files"));
        write(uploads[i].get_store_code());
    }
    if (prefs.is_mysql) {
        write(QStringLiteral("//saving record to MySQL database"));
        write(globals::mysql_db()->get_php_code());
    }
    if (prefs.is_csv) {
        write(QStringLiteral("//saving record in a text file"));
        write(globals::csv_file()->get_csv_code());
    }
    if (prefs.is_mysql)
        write(globals::mysql_db()->get_commit_code());
    if (prefs.is_csv)
        write(globals::csv_file()->get_close_code());
    if (prefs.is_email) {
        write(QStringLiteral("//Sending Email to form owner"));
        write(globals::owner_mail()->get_txtMail_code(mail_is_the_record));
    }
    if (prefs.is_autoresponde) {
        write(QStringLiteral("//Sending auto respond Email to visitor"));
        write(globals::auto_mail()->get_txtMail_code());
    }

    if (!prefs.is_embeded_result_page)
        write(QStringLiteral("header(\"Location: ") + php_text::literal(prefs.success_page) + QStringLiteral("\");")
            + php_text::CRLF);
    else
        write(QStringLiteral(" echo(") + dq(prefs.success_message) + QStringLiteral(");"));
    if (prefs.is_embeded_result_page && prefs.is_footer)
        write(php_text::footer_include());
    write(QStringLiteral("?>"));
    return text;
}

void CPHP_script::prepare_script() const
{
    const QString path = globals::prefs()->php_des;
    const QString text = script_text();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(path, file.errorString());
    file.write(text.toUtf8());
    if (!file.commit())
        throw FileError(path, file.errorString());
}
