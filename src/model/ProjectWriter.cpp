#include "ProjectWriter.h"

#include "CForm.h"
#include "Cprefrences.h"
#include "FileError.h"
#include "ProjectFormat.h"
#include "globals.h"
#include "webpage.h"

#include "generate/CSV.h"
#include "generate/cmail.h"
#include "generate/db.h"
#include "generate/sql.h"

#include <QSaveFile>

namespace {

namespace format = ProjectFormat;

const QString kFirstPage = QStringLiteral("the first page");
const QString kRulesPage = QStringLiteral("the field rules page");
const QString kOwnerPage = QStringLiteral("the owner mail page");
const QString kAutoPage = QStringLiteral("the auto-responder page");
const QString kCsvPage = QStringLiteral("the CSV page");
const QString kMySQLPage = QStringLiteral("the MySQL page");
const QString kTablePage = QStringLiteral("the new-table page");
const QString kOutputPage = QStringLiteral("the output page");
const QString kBannedList = QStringLiteral("the list of banned IP addresses");

const QString kLineBreak = QStringLiteral("a line break");

// The text with each line break (CR LF, or a CR or LF alone) as "\n".
QString unified_breaks(const QString &text)
{
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

bool has_line_break(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// A body as lines of text: none for an empty body.
QStringList body_lines(const QString &body)
{
    if (body.isEmpty())
        return {};
    return unified_breaks(body).split(QLatin1Char('\n'));
}

} // namespace

ProjectValueError::ProjectValueError(
    const QString &page, const QString &field, const QString &text, const QString &problem)
    : std::runtime_error((field + QStringLiteral(" holds ") + problem).toStdString())
    , m_page(page)
    , m_field(field)
    , m_text(text)
    , m_problem(problem)
{ }

QString ProjectValueError::message() const
{
    // Enough of the text to find it; its line breaks shown as marks.
    constexpr qsizetype kShown = 100;
    QString shown = unified_breaks(m_text);
    if (shown.size() > kShown)
        shown = shown.left(kShown) + QStringLiteral("...");
    shown.replace(QLatin1Char('\n'), QChar(0x21B5));
    return QStringLiteral("The project was not saved: ") + m_field + QStringLiteral(" on ") + m_page
        + QStringLiteral(" holds ") + m_problem
        + QStringLiteral(", which a project file cannot hold. Please change this text: \"") + shown + QLatin1Char('"');
}

ProjectWriter::ProjectWriter(const ProjectPageTexts &pages)
    : m_pages(pages)
{ }

namespace {

// The file's lines as they are added, each value checked on its way in.
class Lines final
{
public:
    QStringList lines;

    void header(const QString &text)
    {
        if (!lines.isEmpty())
            lines << format::kSeparator;
        lines << text;
    }

    // What a value must not hold besides a line break.
    enum Rules { OneLine = 0, Breaks = 1, InRecord = 2, InList = 4 };

    // The value as the file holds it: a line break is refused, or with
    // `Breaks` stored as "<br>"; ";^" is refused inside a field record and
    // "," inside a list joined by commas.
    static QString checked(const QString &value, int rules, const QString &page, const QString &field)
    {
        if ((rules & InRecord) && value.contains(QLatin1String(";^")))
            throw ProjectValueError(page, field, value, QStringLiteral("the characters ;^"));
        if ((rules & InList) && value.contains(QLatin1Char(',')))
            throw ProjectValueError(page, field, value, QStringLiteral("a comma"));
        if (!(rules & Breaks)) {
            if (has_line_break(value))
                throw ProjectValueError(page, field, value, kLineBreak);
            return value;
        }
        const QString text = unified_breaks(value);
        if (text.count(QLatin1Char('\n')) > format::kMaxLineBreaks)
            throw ProjectValueError(
                page, field, value, QStringLiteral("more than %1 line breaks").arg(format::kMaxLineBreaks));
        return QString(text).replace(QLatin1Char('\n'), format::kLineBreakMark);
    }
    static QString one_line(const QString &value, const QString &page, const QString &field)
    {
        return checked(value, OneLine, page, field);
    }

    // The section's keys with their values, which stand in the keys' order.
    void section(const QString &title, const QStringList &keys, const QStringList &values)
    {
        Q_ASSERT(keys.size() == values.size());
        header(title);
        for (qsizetype i = 0; i < keys.size(); ++i)
            lines << keys.at(i) + QLatin1Char('=') + values.at(i);
    }

    // A count line and that many lines.
    void counted(const QString &key, const QStringList &texts, const QString &page, const QString &field)
    {
        lines << key + QLatin1Char('=') + QString::number(texts.size());
        for (const QString &text : texts)
            lines << one_line(text, page, field);
    }
};

QStringList font_values(const FontSpec &font, qint32 color, const QString &page, const QString &field)
{
    return { Lines::one_line(font.name, page, field), format::real(font.size), format::boolean(font.bold),
        format::boolean(font.italic), format::boolean(font.underline), format::boolean(font.strikethrough),
        QString::number(color) };
}

QString field_record(Field &field)
{
    const QString of = QStringLiteral(" of field \"") + field.name + QLatin1Char('"');
    const auto item = [&](const QString &value, const QString &page, const char *what, int rules = Lines::OneLine) {
        return Lines::checked(value, rules | Lines::InRecord, page, QLatin1String(what) + of);
    };
    const auto rule = [&](const QString &value, const char *what) { return item(value, kRulesPage, what); };
    const auto table = [&](const QString &value, const char *what) { return item(value, kTablePage, what); };
    const QStringList items {
        rule(field.name, "the name"),
        format::boolean(field.required),
        item(field.error_message, kRulesPage, "the error alert", Lines::Breaks),
        item(field.mysql_field, kMySQLPage, "the MySQL column"),
        QString::number(field.validation_type),
        item(field.field_type, kFirstPage, "the HTML type"),
        QString::number(field.range_max),
        QString::number(field.range_operator1),
        QString::number(field.range_operator2),
        QString::number(field.range_min),
        QString::number(field.expression_type),
        rule(field.list_values, "the list of values"),
        QString::number(field.unused_int),
        QString::number(field.length_max),
        QString::number(field.length_min),
        QString::number(field.length_operator2),
        QString::number(field.length_operator1),
        format::boolean(field.in_csv),
        format::boolean(field.in_mysql),
        format::real(field.max_size),
        rule(field.upload_folder, "the upload folder"),
        // As the page knew it: a reopened project without the table's
        // columns converts the same fields.
        format::boolean(globals::mysql_db()->is_date_column(field)),
        rule(field.upload_url, "the upload folder URL"),
        rule(field.compare_field()->name, "the field to compare with"),
        table(field.sql_type, "the data type"),
        table(field.sql_length, "the length"),
        table(field.sql_default, "the default value"),
    };
    Q_ASSERT(items.size() == format::kFieldItems);
    QStringList types;
    for (const auto &type : *field.mime_types())
        types << item(type.value, kRulesPage, "a permitted type", Lines::InList);
    return QStringLiteral("##") + items.join(QStringLiteral(";^")) + QStringLiteral(";^[[")
        + types.join(QLatin1Char(',')) + QStringLiteral("]]");
}

} // namespace

QStringList ProjectWriter::lines() const
{
    const Cprefrences &prefs = *globals::prefs();
    const sql &table = *globals::sql_script();
    webpage &page = *globals::web_page();
    const std::shared_ptr<CForm> form = page.selected_form;
    const auto output = [](const QString &value, const char *field) {
        return Lines::one_line(value, kOutputPage, QLatin1String(field));
    };
    const auto first = [](const QString &value, const char *field) {
        return Lines::one_line(value, kFirstPage, QLatin1String(field));
    };
    using format::boolean;

    Lines file;
    file.section(format::kPrefrences, format::prefrences_keys(),
        { boolean(prefs.is_autoresponde), boolean(prefs.is_csv), output(prefs.php_des, "the script's destination"),
            output(prefs.script_name, "the script's name"), output(prefs.des_folder, "the script's folder"),
            boolean(prefs.is_mysql), boolean(prefs.is_email), output(prefs.success_page, "the success page"),
            output(prefs.success_path, "the success page"), output(prefs.error_page, "the error page"),
            output(prefs.error_path, "the error page"), boolean(prefs.is_embeded_result_page),
            output(prefs.header_path, "the header file"), output(prefs.footer_path, "the footer file"),
            output(prefs.header_img, "the header file"), output(prefs.footer_img, "the footer file"),
            boolean(prefs.is_upload), boolean(prefs.is_header), boolean(prefs.is_footer), boolean(prefs.is_creditcard),
            Lines::checked(prefs.success_message, Lines::Breaks, kOutputPage, QStringLiteral("the success message")),
            Lines::checked(
                m_pages.txt_success_message, Lines::Breaks, kOutputPage, QStringLiteral("the success message")),
            boolean(prefs.is_create_tble), Lines::one_line(table.mysql_table, kMySQLPage, QStringLiteral("Table Name")),
            Lines::one_line(table.primary_key, kTablePage, QStringLiteral("Primary key")) });

    file.section(format::kWebpage, format::webpage_keys(),
        { QString::number(page.pagetype), first(page.URL, "the page's address"), first(page.path, "the HTML file"),
            QString::number(page.nforms), first(globals::selected_form_title, "the chosen form"),
            boolean(form && form->is_date), QString::number(form ? form->date_format : 0),
            boolean(globals::is_convert_date) });

    file.header(format::kFields);
    const qsizetype count = form ? form->fields()->Count() : 0;
    file.lines << QStringLiteral("nfields=") + QString::number(count);
    if (form) {
        for (const auto &entry : *form->fields())
            file.lines << field_record(*entry.value);
    }

    file.header(format::kBlockedIps);
    QStringList addresses;
    for (const auto &address : *page.blocked_ips())
        addresses << Lines::checked(address.value, Lines::InList, kBannedList, QStringLiteral("a banned address"));
    file.lines << addresses.join(QLatin1Char(','));

    cmail &owner = *globals::owner_mail();
    const auto owner_text = [](const QString &value, const char *field) {
        return Lines::one_line(value, kOwnerPage, QLatin1String(field));
    };
    file.section(format::kEmail, format::email_keys(),
        { owner_text(owner.sender, "From"), boolean(owner.is_GeneericEmail), boolean(owner.is_multiRecipients),
            owner_text(owner.email_to, "To"), owner_text(owner.subject, "Subject") });

    cmail &reply = *globals::auto_mail();
    const auto reply_text = [](const QString &value, const char *field) {
        return Lines::one_line(value, kAutoPage, QLatin1String(field));
    };
    QStringList reply_lines;
    for (const auto &line : *reply.message_lines())
        reply_lines << line.value;
    QStringList reply_keys = format::auto_responde_keys();
    reply_keys.removeLast(); // nLine leads the lines it counts
    file.section(format::kAutoResponde, reply_keys,
        { reply_text(reply.sender, "From"), reply_text(reply.email_to, "To"), reply_text(reply.subject, "Subject") });
    file.counted(QStringLiteral("nLine"), reply_lines, kAutoPage, QStringLiteral("the message"));

    const auto csv_text = [](const QString &value, const char *field) {
        return Lines::one_line(value, kCsvPage, QLatin1String(field));
    };
    file.section(format::kCsv, format::csv_keys(),
        { csv_text(m_pages.csv_separator, "Separator"), csv_text(m_pages.csv_filename, "File Name"),
            csv_text(m_pages.csv_format, "File Format"), csv_text(m_pages.csv_EndLine, "End of Line") });

    const auto mysql_text = [](const QString &value, const char *field) {
        return Lines::one_line(value, kMySQLPage, QLatin1String(field));
    };
    // A reopened project keeps the connection state it was saved with until
    // Connect is pressed in this run, so its MySQL page opens the same way.
    bool tried = globals::isConnect;
    bool connected = globals::SuccessfullyConnected;
    const StringCollection &saved = *globals::mysql_settings();
    if (!tried && saved.Contains(QStringLiteral("isConnect"))) {
        tried = format::value_of<bool>(saved.Item(QStringLiteral("isConnect"))).value_or(false);
        connected = saved.Contains(QStringLiteral("SuccessfullyConnected"))
            && format::value_of<bool>(saved.Item(QStringLiteral("SuccessfullyConnected"))).value_or(false);
    }
    file.section(format::kMySQL, format::mysql_keys(),
        { boolean(tried), boolean(connected), mysql_text(m_pages.mysql_host, "Host Name"),
            mysql_text(m_pages.mysql_user, "User Name"), mysql_text(m_pages.mysql_pw, "Password"),
            mysql_text(m_pages.mysql_port, "Port"), mysql_text(m_pages.mysql_db, "Database"),
            mysql_text(m_pages.mysql_table, "Table Name") });

    file.section(format::kPages, format::pages_keys(),
        QStringList { boolean(m_pages.owner_send_ip) }
            + font_values(m_pages.alert_font, m_pages.alert_color, kRulesPage, QStringLiteral("the error alert's font"))
            + font_values(m_pages.message_font, m_pages.message_color, kOutputPage,
                QStringLiteral("the success message's font")));
    file.counted(format::kEmailLines, body_lines(m_pages.owner_message), kOwnerPage, QStringLiteral("the message"));
    file.counted(format::kAutoLines, body_lines(m_pages.auto_message), kAutoPage, QStringLiteral("the message"));

    file.section(format::kVersion, format::version_keys(), { QString::number(format::kFormat) });
    return file.lines;
}

QByteArray ProjectWriter::text() const
{
    const QString crlf = QStringLiteral("\r\n");
    return (lines().join(crlf) + crlf).toUtf8();
}

void ProjectWriter::save(const QString &path) const
{
    // Every value is checked before the file is touched.
    const QByteArray bytes = text();
    QSaveFile file(path);
    // The temporary file is the one that is renamed: it gets the rights.
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || file.write(bytes) != bytes.size() || !file.commit())
        throw FileError(path, file.errorString());
}

namespace globals {

void save_project(const QString &path, const ProjectPageTexts &pages)
{
    ProjectWriter(pages).save(path);
    project_save_path = path;
    project_saved = true;
}

} // namespace globals
