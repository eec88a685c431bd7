#include "SavedProject.h"

#include "HtmlEncoding.h"
#include "ProjectFormat.h"
#include "globals.h"
#include "webpage.h"

#include "generate/CSV.h"
#include "generate/cmail.h"
#include "generate/sql.h"

#include <QFile>
#include <QHash>

#include <optional>
#include <type_traits>

namespace {

namespace format = ProjectFormat;

// The lines of a text: each ends at CR LF, or at a CR or LF alone.
QStringList split_lines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

// One section read by key: its values and the line of each.
struct Section
{
    QString title;
    int header_line = 0;
    StringCollection values;
    QHash<QString, int> lines; // by folded key
};

// Walks the file's lines; every failure names the line at fault.
class LineReader final
{
public:
    explicit LineReader(QStringList lines)
        : m_lines(std::move(lines))
    { }

    bool at_end() const { return m_next >= m_lines.size(); }
    // The number of the line taken last, counted from 1.
    int line() const { return int(m_next); }

    QString take(const QString &section)
    {
        if (at_end())
            throw ProjectReadError(line() + 1, QStringLiteral("the file ends inside ") + section);
        return m_lines.at(m_next++);
    }

    [[noreturn]] void fail(int line, const QString &what) const { throw ProjectReadError(line, what); }

    bool is_header(const QString &line, const QString &title) const { return globals::trim_blanks(line) == title; }

    // The blank line and the header of a section every project has.
    void header(const QString &title)
    {
        for (int i = 0; i < 2; ++i) {
            if (at_end())
                fail(line() + 1, QStringLiteral("the file ends before ") + title);
            ++m_next;
        }
        if (!is_header(m_lines.at(m_next - 1), title))
            fail(line(), title + QStringLiteral(" is expected here"));
    }

    // The blank line and the header of a section older projects may lack:
    // false when the file ends or another line stands there.
    bool optional_header(const QString &title)
    {
        if (at_end())
            return false;
        ++m_next;
        return !at_end() && is_header(m_lines.at(m_next++), title);
    }

    // The section's key=value lines, as many as it has keys. A repeated key
    // is skipped, and so is a key the section does not know.
    Section keyed(const QString &title, const QStringList &keys)
    {
        Section section { title, line(), {}, {} };
        for (qsizetype i = 0; i < keys.size(); ++i) {
            const QString text = take(title);
            const QString key = format::get_variable(text);
            if (keys.contains(key, Qt::CaseInsensitive) && !section.values.Contains(key)) {
                section.values.Add(format::get_value(text), key);
                section.lines.insert(key.toCaseFolded(), line());
            }
        }
        return section;
    }

    // A count line with its key, and that many lines.
    QStringList counted(const QString &title, const QString &key)
    {
        const QString text = take(title);
        if (format::get_variable(text) != key)
            fail(line(), key + QStringLiteral("= is expected here"));
        const qint32 count = count_of(line(), key, format::get_value(text));
        QStringList lines;
        for (qint32 i = 0; i < count; ++i)
            lines << take(title);
        return lines;
    }

    qint32 count_of(int at, const QString &what, const QString &text) const
    {
        const std::optional<qint32> count = format::value_of<qint32>(text);
        if (!count || *count < 0)
            fail(at, what + QStringLiteral(" is \"") + text + QStringLiteral("\", not a count of lines"));
        return *count;
    }

private:
    QStringList m_lines;
    qsizetype m_next = 0;
};

// The typed values of a section, each failure naming its line. A key the
// section lacks leaves its target as it was.
class Values final
{
public:
    Values(const LineReader &reader, const Section &section)
        : m_reader(reader)
        , m_section(section)
    { }

    // The value of `key` as the target's type.
    template<typename T> void read(const char *key, T &target) const
    {
        if (!has(key))
            return;
        if constexpr (std::is_same_v<T, QString>) {
            target = value(key);
        } else {
            const std::optional<T> read = format::value_of<T>(value(key));
            if (!read)
                fail(key, format::not_a<T>());
            target = *read;
        }
    }

private:
    bool has(const char *key) const { return m_section.values.Contains(QLatin1String(key)); }
    QString value(const char *key) const { return m_section.values.Item(QLatin1String(key)); }

    [[noreturn]] void fail(const char *key, const QString &what) const
    {
        const QString name = QLatin1String(key);
        m_reader.fail(m_section.lines.value(name.toCaseFolded()),
            name + QStringLiteral(" is \"") + value(key) + QStringLiteral("\", ") + what);
    }

    const LineReader &m_reader;
    const Section &m_section;
};

// One field record: "##", 27 items each followed by ";^", and the MIME
// types joined by "," between "[[" and "]]".
std::shared_ptr<Field> saved_field(const LineReader &reader, const QString &line)
{
    const qsizetype start = line.indexOf(QLatin1String("##"));
    if (start < 0)
        reader.fail(reader.line(), QStringLiteral("a field record must begin with ##"));
    const QStringList items = line.mid(start + 2).split(QLatin1String(";^"));
    if (items.size() != format::kFieldItems + 1)
        reader.fail(reader.line(),
            QStringLiteral("the field record holds %1 items and its type list; it needs %2")
                .arg(items.size() - 1)
                .arg(format::kFieldItems));
    const QString &types = items.last();
    if (types.size() < 4 || !types.startsWith(QLatin1String("[[")) || !types.endsWith(QLatin1String("]]")))
        reader.fail(reader.line(), QStringLiteral("the field record's types must stand between [[ and ]]"));

    // Items counted from 1, as the record's description counts them.
    const auto item = [&items](int n) -> const QString & { return items.at(n - 1); };
    const auto read = [&]<typename T>(int n, T &target) {
        const std::optional<T> value = format::value_of<T>(item(n));
        if (!value)
            reader.fail(reader.line(),
                QStringLiteral("item %1 of the field record is \"%2\", %3").arg(n).arg(item(n), format::not_a<T>()));
        target = *value;
    };

    Field field;
    field.name = item(1);
    read(2, field.required);
    field.error_message = SavedProject::line_breaks(item(3));
    field.mysql_field = item(4);
    read(5, field.validation_type);
    field.field_type = item(6);
    read(7, field.range_max);
    read(8, field.range_operator1);
    read(9, field.range_operator2);
    read(10, field.range_min);
    read(11, field.expression_type);
    field.list_values = item(12);
    read(13, field.unused_int);
    read(14, field.length_max);
    read(15, field.length_min);
    read(16, field.length_operator2);
    read(17, field.length_operator1);
    read(18, field.in_csv);
    read(19, field.in_mysql);
    read(20, field.max_size);
    field.upload_folder = item(21);
    read(22, field.is_date_field);
    field.upload_url = item(23);
    auto compared = std::make_shared<Field>();
    compared->name = item(24);
    field.set_compare_field(std::move(compared));
    field.sql_type = item(25);
    field.sql_length = item(26);
    field.sql_default = item(27);

    // A type listed twice is kept once.
    const QString list = types.mid(2, types.size() - 4);
    if (!list.isEmpty()) {
        for (const QString &type : list.split(QLatin1Char(','))) {
            if (!type.isEmpty() && !field.mime_types()->Contains(type))
                field.mime_types()->Add(type, type);
        }
    }
    return std::make_shared<Field>(std::move(field));
}

// A mail as a section saved it; a key the section lacks leaves its value.
void take_mail(cmail &mail, const StringCollection &section)
{
    const auto text = [&section](const char *key, QString &target) {
        if (section.Contains(QLatin1String(key)))
            target = section.Item(QLatin1String(key));
    };
    const auto flag = [&section](const char *key, bool &target) {
        if (section.Contains(QLatin1String(key)))
            target = format::value_of<bool>(section.Item(QLatin1String(key))).value_or(false);
    };
    text("sender", mail.sender);
    flag("is_GeneericEmail", mail.is_GeneericEmail);
    flag("is_multiRecipients", mail.is_multiRecipients);
    text("email_to", mail.email_to);
    text("subject", mail.subject);
}

std::shared_ptr<StringCollection> collection(const Section &section)
{
    auto result = std::make_shared<StringCollection>();
    for (const auto &entry : section.values)
        result->Add(entry.value, entry.key);
    return result;
}

} // namespace

ProjectReadError::ProjectReadError(int line, const QString &what)
    : std::runtime_error(QStringLiteral("line %1: %2").arg(line).arg(what).toStdString())
    , m_line(line)
    , m_what(what)
{ }

QString ProjectReadError::message(const QString &file) const
{
    const QString where = m_line > 0 ? QStringLiteral(", line %1: ").arg(m_line) : QStringLiteral(": ");
    return QStringLiteral("The project could not be read: ") + file + where + m_what;
}

QString SavedProject::line_breaks(const QString &text)
{
    QString result = text;
    qsizetype from = 0;
    for (int replaced = 0; replaced < format::kMaxLineBreaks; ++replaced) {
        const qsizetype at = result.indexOf(format::kLineBreakMark, from);
        if (at < 0)
            break;
        result.replace(at, format::kLineBreakMark.size(), QStringLiteral("\r\n"));
        from = at + 2;
    }
    return result;
}

bool SavedProject::saved_font(
    const StringCollection &page_settings, const QString &prefix, FontSpec &font, qint32 &color)
{
    const QStringList keys = format::font_keys(prefix);
    for (const QString &key : keys) {
        if (!page_settings.Contains(key))
            return false;
    }
    // Checked when the file was read.
    const auto flag = [&](int i) { return format::value_of<bool>(page_settings.Item(keys.at(i))).value_or(false); };
    font.name = page_settings.Item(keys.at(0));
    font.size = format::value_of<double>(page_settings.Item(keys.at(1))).value_or(font.size);
    font.bold = flag(2);
    font.italic = flag(3);
    font.underline = flag(4);
    font.strikethrough = flag(5);
    color = format::value_of<qint32>(page_settings.Item(keys.at(6))).value_or(color);
    return true;
}

SavedProject SavedProject::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ProjectReadError(0, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ProjectReadError(0, file.errorString());
    return parse(bytes);
}

SavedProject SavedProject::parse(const QByteArray &bytes)
{
    // Older projects were written in a Windows code page.
    QByteArray text = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    if (text.isEmpty())
        throw ProjectReadError(1, QStringLiteral("the file is empty"));
    if (!HtmlEncoding::is_utf8(text))
        text = HtmlEncoding::to_utf8(text, HtmlEncoding::windows1252);
    LineReader reader(split_lines(QString::fromUtf8(text)));
    SavedProject project;

    if (!reader.is_header(reader.take(format::kPrefrences), format::kPrefrences))
        reader.fail(1, format::kPrefrences + QStringLiteral(" is expected here"));
    {
        const Section section = reader.keyed(format::kPrefrences, format::prefrences_keys());
        const Values values(reader, section);
        Cprefrences &prefs = project.prefs;
        values.read("is_autoresponde", prefs.is_autoresponde);
        values.read("is_csv", prefs.is_csv);
        values.read("php_des", prefs.php_des);
        values.read("script_name", prefs.script_name);
        values.read("des_folder", prefs.des_folder);
        values.read("is_mysql", prefs.is_mysql);
        values.read("is_email", prefs.is_email);
        values.read("success_page", prefs.success_page);
        values.read("success_path", prefs.success_path);
        values.read("error_page", prefs.error_page);
        values.read("error_path", prefs.error_path);
        values.read("is_embeded_result_page", prefs.is_embeded_result_page);
        values.read("header_path", prefs.header_path);
        values.read("footer_path", prefs.footer_path);
        values.read("header_img", prefs.header_img);
        values.read("footer_img", prefs.footer_img);
        values.read("is_upload", prefs.is_upload);
        values.read("is_header", prefs.is_header);
        values.read("is_footer", prefs.is_footer);
        values.read("is_creditcard", prefs.is_creditcard);
        values.read("success_message", prefs.success_message);
        values.read("is_create_tble", prefs.is_create_tble);
        values.read("txt_success_message", project.txt_success_message);
        values.read("mysql_table", project.mysql_table);
        project.mysql_table = format::mysql_name(project.mysql_table);
        values.read("primary_key", project.primary_key);
    }

    reader.header(format::kWebpage);
    {
        const Section section = reader.keyed(format::kWebpage, format::webpage_keys());
        const Values values(reader, section);
        values.read("pagetype", project.pagetype);
        values.read("URL", project.URL);
        values.read("path", project.path);
        values.read("nforms", project.nforms);
        values.read("SelectedFormTitle", project.selected_form_title);
        values.read("is_date", project.is_date);
        values.read("date_format", project.date_format);
        bool is_convert_date = false; // checked, not used: is_date decides
        values.read("is_convert_date", is_convert_date);
    }

    reader.header(format::kFields);
    const QString count_line = reader.take(format::kFields);
    const qint32 count = reader.count_of(reader.line(), QStringLiteral("nfields"), format::get_value(count_line));
    for (qint32 i = 0; i < count; ++i) {
        const QString record = reader.take(format::kFields);
        Field field = *saved_field(reader, record);
        // Of two fields of one name the first stays.
        project.saved_fields->Add(field, field.name);
    }

    reader.header(format::kBlockedIps);
    const QString addresses = reader.take(format::kBlockedIps);
    if (!addresses.isEmpty())
        project.blocked_ips = addresses.split(QLatin1Char(','));

    // From here on a section may be missing: reading then stops there.
    if (!reader.optional_header(format::kEmail))
        return project;
    project.email_settings = collection(reader.keyed(format::kEmail, format::email_keys()));

    if (!reader.optional_header(format::kAutoResponde))
        return project;
    {
        const Section section = reader.keyed(format::kAutoResponde, format::auto_responde_keys());
        project.auto_settings = collection(section);
        const QString count = section.values.Contains(QStringLiteral("nLine"))
            ? section.values.Item(QStringLiteral("nLine"))
            : QStringLiteral("0");
        const qint32 lines
            = reader.count_of(section.lines.value(QStringLiteral("nline")), QStringLiteral("nLine"), count);
        for (qint32 i = 0; i < lines; ++i) {
            // Stored as the page made them: "\n" ends a line, "$" opens a
            // field reference that the page shows with "#".
            QString line = reader.take(format::kAutoResponde);
            project.auto_mail_lines << line;
            line.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
            line.replace(QLatin1Char('$'), QLatin1Char('#'));
            project.auto_message_lines->Add(line);
        }
    }

    if (!reader.optional_header(format::kCsv))
        return project;
    project.csv_settings = collection(reader.keyed(format::kCsv, format::csv_keys()));

    if (!reader.optional_header(format::kMySQL))
        return project;
    {
        const Section section = reader.keyed(format::kMySQL, format::mysql_keys());
        const Values values(reader, section);
        bool connected = false; // checked here, read by the MySQL page
        values.read("isConnect", connected);
        values.read("SuccessfullyConnected", connected);
        // A prompt saved as a name names nothing.
        project.mysql_settings = std::make_shared<StringCollection>();
        for (const auto &entry : section.values) {
            const bool name = entry.key.compare(QLatin1String("db"), Qt::CaseInsensitive) == 0
                || entry.key.compare(QLatin1String("table"), Qt::CaseInsensitive) == 0;
            project.mysql_settings->Add(name ? format::mysql_name(entry.value) : entry.value, entry.key);
        }
    }

    if (!reader.optional_header(format::kPages))
        return project;
    {
        const Section section = reader.keyed(format::kPages, format::pages_keys());
        const Values values(reader, section);
        // Checked here, read by the pages.
        bool flag = false;
        double size = 0;
        qint32 color = 0;
        values.read("is_send_ip", flag);
        for (const char *font : { "alert", "message" }) {
            const QStringList keys = format::font_keys(QLatin1String(font));
            values.read(keys.at(1).toLatin1().constData(), size);
            for (int i = 2; i < 6; ++i)
                values.read(keys.at(i).toLatin1().constData(), flag);
            values.read(keys.at(6).toLatin1().constData(), color);
        }
        project.page_settings = collection(section);
        for (const QString &line : reader.counted(format::kPages, format::kEmailLines))
            project.email_message_lines->Add(line);
        // The body as typed replaces the lines the page made of it.
        const QStringList body = reader.counted(format::kPages, format::kAutoLines);
        project.auto_message_lines = std::make_shared<StringCollection>();
        for (qsizetype i = 0; i < body.size(); ++i)
            project.auto_message_lines->Add(i + 1 < body.size() ? body.at(i) + QStringLiteral("\r\n") : body.at(i));
    }

    if (!reader.optional_header(format::kVersion))
        return project;
    {
        const Section section = reader.keyed(format::kVersion, format::version_keys());
        Values(reader, section).read("format", project.format_version);
    }
    return project;
}

QString SavedProject::csv_separator() const
{
    const QString key = QStringLiteral("separator");
    return csv_settings->Contains(key) ? csv_settings->Item(key) : QString();
}

bool SavedProject::separator_read_as_comma() const
{
    if (format_version >= 2 || !csv_settings->Contains(QStringLiteral("separator")))
        return false;
    const QString text = csv_separator();
    return CSV::separator_of(text) != CSV::earlier_separator_of(text);
}

void SavedProject::keep_comma_separator()
{
    const QString key = QStringLiteral("separator");
    if (csv_settings->Contains(key))
        csv_settings->Remove(key);
    csv_settings->Add(QStringLiteral("comma"), key);
}

void SavedProject::apply() const
{
    *globals::prefs() = prefs;
    globals::sql_script()->mysql_table = mysql_table;
    globals::sql_script()->primary_key = primary_key;

    webpage &page = *globals::web_page();
    page.pagetype = pagetype;
    page.URL = URL;
    page.path = path;
    page.nforms = nforms;
    globals::selected_form_title = selected_form_title;
    globals::is_convert_date = is_date;

    globals::saved_fields() = saved_fields;
    page.blocked_ips()->Clear();
    for (const QString &address : blocked_ips)
        page.blocked_ips()->Add(address);

    // The mails hold what was saved until their pages' Next copies the
    // pages into them, so that the project saved before then keeps them.
    take_mail(*globals::owner_mail(), *email_settings);
    cmail &reply = *globals::auto_mail();
    take_mail(reply, *auto_settings);
    reply.message_lines()->Clear();
    for (const QString &line : auto_mail_lines)
        reply.message_lines()->Add(line);

    globals::email_settings() = email_settings;
    globals::auto_settings() = auto_settings;
    globals::auto_message_lines() = auto_message_lines;
    globals::csv_settings() = csv_settings;
    globals::mysql_settings() = mysql_settings;
    globals::page_settings() = page_settings;
    globals::email_message_lines() = email_message_lines;
}
