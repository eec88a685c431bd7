// The project file: the writer's exact lines, the values it refuses, the
// files the reader reports as damaged and those it reads leniently, and the
// round trip of many generated projects through the file.
#include "generate/cmail.h"
#include "generate/db.h"
#include "generate/sql.h"
#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/FileError.h"
#include "model/ProjectWriter.h"
#include "model/SavedProject.h"
#include "model/globals.h"
#include "model/webpage.h"
#include "mysql/MySQLTable.h"
#include "support/QtPrinters.h"
#include "support/Typist.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace {

// Every value of a project the reader gives back, for comparisons.
auto stored(const Cprefrences &p)
{
    return std::tuple(p.is_autoresponde, p.is_csv, p.php_des, p.script_name, p.des_folder, p.is_mysql, p.is_email,
        p.success_page, p.success_path, p.error_page, p.error_path, p.is_embeded_result_page, p.header_path,
        p.footer_path, p.header_img, p.footer_img, p.is_upload, p.is_header, p.is_footer, p.is_creditcard,
        p.success_message, p.is_create_tble);
}

auto stored(Field &f)
{
    QStringList types;
    for (const auto &type : *f.mime_types())
        types << type.value;
    return std::tuple(f.name, f.required, f.error_message, f.mysql_field, f.validation_type, f.field_type, f.range_max,
        f.range_operator1, f.range_operator2, f.range_min, f.expression_type, f.list_values, f.unused_int, f.length_max,
        f.length_min, f.length_operator2, f.length_operator1, f.in_csv, f.in_mysql, f.max_size, f.upload_folder,
        f.is_date_field, f.upload_url, f.compare_field()->name, f.sql_type, f.sql_length, f.sql_default, types);
}

QStringList values(const StringCollection &entries)
{
    QStringList result;
    for (const auto &entry : entries)
        result << entry.value;
    return result;
}

QStringList file_lines(const QByteArray &bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.takeLast(), QString()) << "the last line ends with CR LF";
    return lines;
}

QByteArray joined(const QStringList &lines)
{
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

// A field of the chosen form.
Field &field(const char *name)
{
    return *globals::web_page()->selected_form->fields()->Item(QString::fromLatin1(name));
}

// The project of the writer's own example: two fields, no banned address,
// no auto-response lines.
class ProjectFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        globals::reset();
        form = std::make_shared<CForm>();
        for (const char *name : { "name", "email" }) {
            Field field;
            field.name = QString::fromLatin1(name);
            field.field_type = "text";
            form->fields()->Add(field, field.name);
        }
        globals::web_page()->selected_form = form;
        globals::web_page()->path = "/tmp/contact.html";
        globals::web_page()->nforms = 1;
        globals::selected_form_title = "Form1";
        pages.csv_separator = "comma";
        pages.csv_format = "*.csv";
        pages.csv_EndLine = "\\r\\n";
        pages.mysql_host = "localhost";
        pages.mysql_user = "root";
        pages.mysql_port = "3306";
        pages.alert_font = pages.message_font = FontSpec { "Arial", 10 };
    }

    QByteArray text() const { return ProjectWriter(pages).text(); }

    std::shared_ptr<CForm> form;
    ProjectPageTexts pages;
};

TEST_F(ProjectFile, WritesTheExampleLineByLine)
{
    Field &name = field("name");
    name.required = true;
    name.error_message = "Please enter\r\nyour name";
    name.validation_type = 0;
    name.range_min = -5;
    name.list_values = "|A*|B|"; // every "*" stays
    field("email").mime_types()->Add("image/gif", "image/gif");
    field("email").mime_types()->Add("image/png", "image/png");
    pages.owner_message = "name: #name#\nemail: #email#\n";

    const QStringList lines = file_lines(text());
    const QStringList expected { "[prefrences]", "is_autoresponde=False", "is_csv=False",
        "php_des=", "script_name=", "des_folder=", "is_mysql=False", "is_email=False",
        "success_page=", "success_path=", "error_page=", "error_path=", "is_embeded_result_page=True",
        "header_path=", "footer_path=", "header_img=", "footer_img=", "is_upload=False", "is_header=False",
        "is_footer=False", "is_creditcard=False", "success_message=", "txt_success_message=", "is_create_tble=False",
        "mysql_table=", "primary_key=", " ", "[webpage]", "pagetype=0", "URL=", "path=/tmp/contact.html", "nforms=1",
        "SelectedFormTitle=Form1", "is_date=False", "date_format=0", "is_convert_date=False", " ", "[fields]",
        "nfields=2",
        "##name;^True;^Please enter<br>your name;^;^0;^text;^0;^6;^6;^-5;^0;^|A*|B|;^0;^0;^0;^6;^6;^True;^True;^0;^;^"
        "False;^http://;^;^;^;^;^[[]]",
        "##email;^False;^;^;^8;^text;^0;^6;^6;^0;^0;^;^0;^0;^0;^6;^6;^True;^True;^0;^;^False;^http://;^;^;^;^;^"
        "[[image/gif,image/png]]",
        " ", "[blocked ips]", "", " ", "[email]", "sender=", "is_GeneericEmail=False", "is_multiRecipients=False",
        "email_to=", "subject=", " ", "[auto-responde]", "sender=", "email_to=", "subject=", "nLine=0", " ", "[CSV]",
        "separator=comma", "filename=", "format=*.csv", "EndLine=\\r\\n", " ", "[MySQL]", "isConnect=False",
        "SuccessfullyConnected=False", "host=localhost", "user=root", "pw=", "port=3306", "db=", "table=",
        // What the pages show beyond the sections above.
        " ", "[pages]", "is_send_ip=True", "alert_font=Arial", "alert_size=10", "alert_bold=False",
        "alert_italic=False", "alert_underline=False", "alert_strikethrough=False", "alert_color=0",
        "message_font=Arial", "message_size=10", "message_bold=False", "message_italic=False",
        "message_underline=False", "message_strikethrough=False", "message_color=0", "email_nLine=3", "name: #name#",
        "email: #email#", "", "auto_nLine=0",
        // The file's format, which tells it from those of earlier versions.
        " ", "[version]", "format=2" };
    EXPECT_EQ(lines, expected);

    // Banned addresses joined by ",", the auto-response's lines counted.
    globals::web_page()->blocked_ips()->Add("10.0.0.1");
    globals::web_page()->blocked_ips()->Add("10.0.0.*");
    globals::auto_mail()->message_lines()->Add("Dear $name,\\n");
    globals::auto_mail()->message_lines()->Add("thanks");
    const QStringList more = file_lines(text());
    EXPECT_EQ(more.at(more.indexOf("[blocked ips]") + 1), "10.0.0.1,10.0.0.*");
    EXPECT_EQ(more.mid(more.indexOf("nLine=2"), 4), (QStringList { "nLine=2", "Dear $name,\\n", "thanks", " " }));
}

TEST_F(ProjectFile, NumbersAndSizesInTheUsersFormat)
{
    field("name").max_size = 1.5;
    field("email").max_size = 250000;
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QStringList german = file_lines(text());
    QLocale::setDefault(before);
    EXPECT_TRUE(german.at(39).contains(";^True;^True;^1,5;^")) << german.at(39).toStdString();
    EXPECT_TRUE(german.at(40).contains(";^True;^True;^250000;^")) << german.at(40).toStdString();

    // Either separator reads back.
    for (const char *size : { "1,5", "1.5", " 1.5 " }) {
        QStringList lines = german;
        lines[39].replace("1,5", size);
        EXPECT_EQ(SavedProject::parse(joined(lines)).saved_fields->Item("name")->max_size, 1.5) << size;
    }
}

TEST_F(ProjectFile, MySQLStateAsThePageKnewIt)
{
    // The column types read from the server decide which fields take dates.
    auto table = std::make_shared<MySQLTable>();
    table->field_types()->Add("date", "visit");
    table->field_types()->Add("varchar", "full_name");
    globals::mysql_db()->table = table;
    globals::isConnect = globals::SuccessfullyConnected = true;
    field("email").mysql_field = "visit";
    field("name").mysql_field = "full_name";
    field("name").is_date_field = true;
    QStringList lines = file_lines(text());
    EXPECT_TRUE(lines.at(39).contains(";^True;^True;^0;^;^False;^http://")) << lines.at(39).toStdString();
    EXPECT_TRUE(lines.at(40).contains(";^True;^True;^0;^;^True;^http://")) << lines.at(40).toStdString();

    // A reopened project keeps its saved connection state until Connect is
    // pressed again.
    globals::isConnect = globals::SuccessfullyConnected = false;
    globals::mysql_settings()->Add("True", "isConnect");
    globals::mysql_settings()->Add("False", "SuccessfullyConnected");
    lines = file_lines(text());
    const qsizetype state = lines.indexOf("[MySQL]") + 1;
    EXPECT_EQ(lines.mid(state, 2), (QStringList { "isConnect=True", "SuccessfullyConnected=False" }));
    globals::isConnect = globals::SuccessfullyConnected = true;
    EXPECT_EQ(file_lines(text()).mid(state, 2), (QStringList { "isConnect=True", "SuccessfullyConnected=True" }));
}

// The cases of the tables below print as their names, and their tests are
// named after them.
template<typename Case>
requires requires(const Case &c)
{
    c.name;
}
void PrintTo(const Case &c, std::ostream *out)
{
    *out << c.name;
}

const auto kNamed = [](const auto &info) { return std::string(info.param.name); };

// One value the file cannot hold, and where the refusal says it is.
struct Refusal
{
    const char *name;
    std::function<void(ProjectPageTexts &)> set;
    const char *page;
    const char *field;
    const char *problem;
};

class Refusals : public ProjectFile, public ::testing::WithParamInterface<Refusal>
{
};

TEST_P(Refusals, NameThePlaceAndKeepTheOldFile)
{
    const Refusal &c = GetParam();
    QTemporaryDir folder;
    const QString path = folder.filePath("contact.tsl");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old project");
    }
    c.set(pages);
    try {
        globals::save_project(path, pages);
        FAIL() << "written";
    } catch (const ProjectValueError &error) {
        EXPECT_EQ(std::tuple(error.page(), error.field(), error.problem()),
            std::tuple(QString::fromUtf8(c.page), QString::fromUtf8(c.field), QString::fromUtf8(c.problem)));
    }
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old project");
    EXPECT_FALSE(globals::project_saved);
    EXPECT_EQ(globals::project_save_path, QString());
}

const QString kManyBreaks = QString("line\r\n").repeated(121);

const Refusal kRefusals[] = {
    { "SplitterInAListOfValues", [](ProjectPageTexts &) { field("name").list_values = "|a;^b|"; },
        "the field rules page", "the list of values of field \"name\"", "the characters ;^" },
    { "SplitterInAType", [](ProjectPageTexts &) { field("email").mime_types()->Add("image/x;^y"); },
        "the field rules page", "a permitted type of field \"email\"", "the characters ;^" },
    { "CommaInAType", [](ProjectPageTexts &) { field("email").mime_types()->Add("image/x,y"); }, "the field rules page",
        "a permitted type of field \"email\"", "a comma" },
    { "CommaInABannedAddress", [](ProjectPageTexts &) { globals::web_page()->blocked_ips()->Add("10.0.0.1,2"); },
        "the list of banned IP addresses", "a banned address", "a comma" },
    { "LineBreakInTheUploadAddress", [](ProjectPageTexts &) { field("name").upload_url = "http://a\n/b"; },
        "the field rules page", "the upload folder URL of field \"name\"", "a line break" },
    { "LineBreakInTheOwnerSubject", [](ProjectPageTexts &) { globals::owner_mail()->subject = "Hello\rthere"; },
        "the owner mail page", "Subject", "a line break" },
    { "LineBreakInTheCsvFileName", [](ProjectPageTexts &pages) { pages.csv_filename = "data\r\n"; }, "the CSV page",
        "File Name", "a line break" },
    { "LineBreakInTheMySQLPassword", [](ProjectPageTexts &pages) { pages.mysql_pw = "a\nb"; }, "the MySQL page",
        "Password", "a line break" },
    { "LineBreakInThePagePath", [](ProjectPageTexts &) { globals::web_page()->path = "/tmp/a\nb.html"; },
        "the first page", "the HTML file", "a line break" },
    { "TooManyBreaksInAnErrorAlert", [](ProjectPageTexts &) { field("email").error_message = kManyBreaks; },
        "the field rules page", "the error alert of field \"email\"", "more than 120 line breaks" },
    { "TooManyBreaksInTheSuccessMessage",
        [](ProjectPageTexts &pages) { pages.txt_success_message = QString(kManyBreaks).replace("\r\n", "\n"); },
        "the output page", "the success message", "more than 120 line breaks" },
};

INSTANTIATE_TEST_SUITE_P(ProjectFile, Refusals, ::testing::ValuesIn(kRefusals), kNamed);

TEST_F(ProjectFile, RefusalMessageShowsTheText)
{
    field("name").list_values = "|a;^b|";
    try {
        (void)text();
        FAIL() << "written";
    } catch (const ProjectValueError &error) {
        EXPECT_EQ(error.message(),
            "The project was not saved: the list of values of field \"name\" on the field rules page holds the "
            "characters ;^, which a project file cannot hold. Please change this text: \"|a;^b|\"");
    }
    // A text of several lines shows on one, each break of any kind a mark.
    field("name").list_values.clear();
    pages.mysql_pw = "a\r\nb\rc\nd";
    try {
        (void)text();
        FAIL() << "written";
    } catch (const ProjectValueError &error) {
        EXPECT_EQ(error.message(),
            QString::fromUtf8("The project was not saved: Password on the MySQL page holds a line break, which a "
                              "project file cannot hold. Please change this text: \"a\u21B5b\u21B5c\u21B5d\""));
    }
    // 120 breaks are stored, as "<br>".
    pages.mysql_pw.clear();
    field("email").error_message = QString("x\r\n").repeated(120);
    EXPECT_EQ(file_lines(text()).at(40).count("<br>"), 120);
}

TEST_F(ProjectFile, SavedForItsOwnerOnlyThroughATemporaryFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("contact.tsl");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
        ASSERT_TRUE(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    }
    for (int round = 0; round < 2; ++round) { // over an open file, then anew
        if (round == 1) {
            ASSERT_TRUE(QFile::remove(path));
        }
        globals::project_saved = false;
        globals::save_project(path, pages);
        EXPECT_TRUE(globals::project_saved);
        EXPECT_EQ(globals::project_save_path, path);
        QFile file(path);
        EXPECT_EQ(file.permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), text());
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList { "contact.tsl" }); // no leftovers
    }

    // A folder that cannot be: the path and the reason, nothing changed.
    globals::project_saved = false;
    const QString inside = path + "/inner.tsl";
    try {
        globals::save_project(inside, pages);
        FAIL() << "saved";
    } catch (const FileError &error) {
        EXPECT_EQ(error.path(), inside);
        EXPECT_FALSE(error.reason().isEmpty());
    }
    EXPECT_FALSE(globals::project_saved);
    EXPECT_EQ(globals::project_save_path, path);
}

// A damaged file: how the example file is spoilt, and what is reported.
using Spoil = std::function<void(QStringList &)>;

struct Damage
{
    const char *name;
    Spoil spoil;
    int line;
    const char *what;
};

// The line at `index` replaced; part of it changed; the file ending before it.
const auto at = [](int index, const char *line) -> Spoil { return [=](QStringList &l) { l[index] = line; }; };
const auto edit = [](int index, const char *from, const char *to) -> Spoil {
    return [=](QStringList &l) { l[index].replace(from, to); };
};
const auto cut = [](int index) -> Spoil { return [=](QStringList &l) { l = l.mid(0, index); }; };

class Damaged : public ProjectFile, public ::testing::WithParamInterface<Damage>
{
};

TEST_P(Damaged, IsReportedWithItsLine)
{
    const Damage &c = GetParam();
    QStringList lines = file_lines(text());
    c.spoil(lines);
    try {
        SavedProject::parse(lines.isEmpty() ? QByteArray() : joined(lines));
        FAIL() << "read";
    } catch (const ProjectReadError &error) {
        EXPECT_EQ(error.line(), c.line);
        EXPECT_EQ(error.what_text(), QString::fromUtf8(c.what));
    }
}

const Damage kDamages[] = {
    { "Empty", cut(0), 1, "the file is empty" },
    { "WrongFirstHeader", at(0, "[preferences]"), 1, "[prefrences] is expected here" },
    { "WrongPageHeader", at(27, "[page]"), 28, "[webpage] is expected here" },
    { "WrongFieldsHeader", at(37, "[field]"), 38, "[fields] is expected here" },
    { "WrongBannedHeader", at(42, "[banned]"), 43, "[blocked ips] is expected here" },
    { "EndsInsidePreferences", cut(10), 11, "the file ends inside [prefrences]" },
    { "EndsBeforeThePage", cut(27), 28, "the file ends before [webpage]" },
    { "EndsInsideTheFields", cut(40), 41, "the file ends inside [fields]" },
    { "EndsInsideTheOwnerMail", cut(48), 49, "the file ends inside [email]" },
    { "EndsInsideTheAutoResponse",
        [](QStringList &l) {
            at(56, "nLine=3")(l);
            cut(58)(l);
        },
        59, "the file ends inside [auto-responde]" },
    { "RecordWithFewerItems", edit(39, "^True;^True;^", "^True;^"), 40,
        "the field record holds 26 items and its type list; it needs 27" },
    { "RecordWithAnExtraItem", edit(40, ";^[[", ";^x;^[["), 41,
        "the field record holds 28 items and its type list; it needs 27" },
    { "RecordWithoutItsMark", edit(40, "##", ""), 41, "a field record must begin with ##" },
    { "RecordWithAnOpenTypeList", edit(40, "]]", ""), 41, "the field record's types must stand between [[ and ]]" },
    { "RecordNumberThatIsNone", edit(39, ";^text;^0;^", ";^text;^ten;^"), 40,
        "item 7 of the field record is \"ten\", not a number" },
    { "RecordFlagThatIsNone", edit(39, "##name;^False", "##name;^no"), 40,
        "item 2 of the field record is \"no\", not True or False" },
    { "RecordSizeThatIsNone", edit(39, "True;^True;^0;^", "True;^True;^1,2,3;^"), 40,
        "item 20 of the field record is \"1,2,3\", not a number" },
    { "FieldCountThatIsNone", at(38, "nfields=two"), 39, "nfields is \"two\", not a count of lines" },
    { "FormCountTooLarge", at(31, "nforms=40000"), 32, "nforms is \"40000\", not a number" },
    { "FlagThatIsNone", at(2, "is_csv=yes"), 3, "is_csv is \"yes\", not True or False" },
    { "NegativeLineCount", at(56, "nLine=-1"), 57, "nLine is \"-1\", not a count of lines" },
    { "ConnectionFlagThatIsNone", at(65, "isConnect=1"), 66, "isConnect is \"1\", not True or False" },
    { "FontSizeThatIsNone", at(77, "alert_size=big"), 78, "alert_size is \"big\", not a number" },
    { "BodyCountWithoutItsKey", at(91, "nLine=0"), 92, "auto_nLine= is expected here" },
};

INSTANTIATE_TEST_SUITE_P(ProjectFile, Damaged, ::testing::ValuesIn(kDamages), kNamed);

TEST_F(ProjectFile, OlderAndEditedFilesReadAsFarAsTheyGo)
{
    pages.owner_message = "a\nb";
    const QStringList lines = file_lines(text());
    const auto read = [](const QStringList &l) { return SavedProject::parse(joined(l)); };

    // Keys in another order, a repeated key skipped, an unknown key and a
    // missing one leaving their member as it was.
    QStringList edited = lines;
    edited.swapItemsAt(1, 2);
    edited[1] = "is_csv=True";
    edited[3] = "is_csv=False";
    edited[4] = "colour=blue";
    edited[12] = "is_embeded_result_page=False";
    const Cprefrences moved = read(edited).prefs;
    EXPECT_EQ(std::tuple(moved.is_csv, moved.is_embeded_result_page, moved.script_name), std::tuple(true, false, ""));

    // A file that ends after a complete section, or whose later header
    // differs: the sections from there on stay empty.
    for (const char *end : { "[email]", "[CSV]", "[pages]" }) {
        const SavedProject shorter = read(lines.mid(0, lines.indexOf(end) - 1));
        EXPECT_EQ(shorter.saved_fields->Count(), 2) << end;
        EXPECT_EQ(shorter.csv_settings->Count(), QString(end) == "[pages]" ? 4 : 0) << end;
        EXPECT_EQ(shorter.page_settings->Count(), 0) << end;
    }
    for (const char *header : { "[email]", "[CSV]" }) {
        edited = lines;
        edited[lines.indexOf(header)] = "[e-mail]";
        const SavedProject misspelt = read(edited);
        EXPECT_EQ(misspelt.mysql_settings->Count(), 0) << header;
        EXPECT_EQ(misspelt.email_settings->Count(), QString(header) == "[CSV]" ? 5 : 0) << header;
    }
    // The whole file: the pages' section too.
    const SavedProject whole = read(lines);
    EXPECT_EQ(values(*whole.email_message_lines), (QStringList { "a", "b" }));
    EXPECT_EQ(whole.page_settings->Item("is_send_ip"), "True");

    // A type listed twice is kept once; an empty list gives none.
    edited = lines;
    edited[40].replace("[[]]", "[[image/gif,image/GIF,text/plain]]");
    const SavedProject types = read(edited);
    EXPECT_EQ(values(*types.saved_fields->Item("email")->mime_types()), (QStringList { "image/gif", "text/plain" }));
    EXPECT_EQ(types.saved_fields->Item("name")->mime_types()->Count(), 0);

    // Two banned addresses; an empty line gives none.
    EXPECT_TRUE(whole.blocked_ips.isEmpty());
    edited = lines;
    edited[43] = "10.0.0.1,10.0.0.2";
    EXPECT_EQ(read(edited).blocked_ips, (QStringList { "10.0.0.1", "10.0.0.2" }));

    // The MySQL page's prompts, which earlier versions saved as names, also
    // as spelt since, name nothing.
    edited = lines;
    const qsizetype mysql = lines.indexOf("[MySQL]");
    edited[mysql + 7] = "db=Select a database or type it's name";
    edited[mysql + 8] = "table=select a table or type its name ";
    edited[lines.indexOf("mysql_table=")] = "mysql_table=Select a table or type it's name";
    const SavedProject prompts = read(edited);
    EXPECT_EQ(
        QStringList({ prompts.mysql_settings->Item("db"), prompts.mysql_settings->Item("table"), prompts.mysql_table }),
        QStringList(3, ""));

    // Line ends of other systems, and a byte order mark.
    QByteArray unix_ends = joined(lines).replace("\r\n", "\n");
    EXPECT_EQ(SavedProject::parse("\xEF\xBB\xBF" + unix_ends).saved_fields->Count(), 2);

    // UTF-8, or else the Windows code page of older files.
    edited = lines;
    edited[3] = "php_des=C:\\Caf\xC3\xA9\\index.php";
    EXPECT_EQ(read(edited).prefs.php_des, QString::fromUtf8("C:\\Caf\xC3\xA9\\index.php"));
    const QByteArray old = joined(edited).replace("Caf\xC3\xA9", "Caf\xE9 \x80");
    EXPECT_EQ(SavedProject::parse(old).prefs.php_des, QString::fromUtf8("C:\\Caf\xC3\xA9 \xE2\x82\xAC\\index.php"));
}

// Fills the model and the pages' texts as the screens could.
void generate(Typist &t, ProjectPageTexts &pages)
{
    Cprefrences &p = *globals::prefs();
    webpage &page = *globals::web_page();
    cmail &owner = *globals::owner_mail();
    cmail &reply = *globals::auto_mail();
    auto form = std::make_shared<CForm>();
    page.selected_form = form;
    for (bool *flag :
        { &p.is_autoresponde, &p.is_csv, &p.is_mysql, &p.is_email, &p.is_embeded_result_page, &p.is_upload,
            &p.is_header, &p.is_footer, &p.is_creditcard, &p.is_create_tble, &form->is_date, &owner.is_GeneericEmail,
            &owner.is_multiRecipients, &globals::isConnect, &globals::SuccessfullyConnected, &pages.owner_send_ip })
        *flag = t.flag();
    for (QString *text : { &p.php_des, &p.script_name, &p.des_folder, &p.success_page, &p.success_path, &p.error_page,
             &p.error_path, &p.header_path, &p.footer_path, &p.header_img, &p.footer_img, &p.success_message,
             &globals::sql_script()->mysql_table, &globals::sql_script()->primary_key, &page.URL, &page.path,
             &globals::selected_form_title, &owner.sender, &owner.email_to, &owner.subject, &reply.sender,
             &reply.email_to, &reply.subject, &pages.csv_separator, &pages.csv_filename, &pages.csv_format,
             &pages.csv_EndLine, &pages.mysql_host, &pages.mysql_user, &pages.mysql_pw, &pages.mysql_port,
             &pages.mysql_db, &pages.mysql_table })
        *text = t.text();
    for (QString *text : { &pages.txt_success_message, &pages.owner_message, &pages.auto_message })
        *text = t.lines("\n");
    for (qint32 *n : { &page.pagetype, &form->date_format, &pages.alert_color, &pages.message_color })
        *n = t.whole();
    page.nforms = qint16(t.number(-32768, 32767));
    pages.alert_font = t.font();
    pages.message_font = t.font();

    const int count = t.number(0, 6);
    for (int i = 0; i < count; ++i) {
        Field f;
        f.name = QString::number(i) + t.item();
        // A typed "<br>" and a line break read back alike: both make the
        // same HTML, so only breaks are drawn here.
        f.error_message = t.lines("\r\n").replace(";^", "; ^");
        for (QString *text : { &f.mysql_field, &f.field_type, &f.list_values, &f.upload_folder, &f.upload_url,
                 &f.sql_type, &f.sql_length, &f.sql_default, &f.compare_field()->name })
            *text = t.item();
        for (qint32 *n : { &f.validation_type, &f.range_max, &f.range_operator1, &f.range_operator2, &f.range_min,
                 &f.expression_type, &f.length_max, &f.length_min, &f.length_operator2, &f.length_operator1 })
            *n = t.whole();
        for (bool *flag : { &f.required, &f.in_csv, &f.in_mysql, &f.is_date_field })
            *flag = t.flag();
        f.unused_int = qint16(t.number(-32768, 32767));
        f.max_size = t.size();
        const int types = t.number(0, 3);
        for (int k = 0; k < types; ++k) {
            const QString type = t.piece() + QString::number(k);
            f.mime_types()->Add(type, type);
        }
        form->fields()->Add(f, f.name);
    }
    const int banned = t.number(0, 3);
    for (int i = 0; i < banned; ++i)
        page.blocked_ips()->Add(t.piece());
    const int lines = t.number(0, 4);
    for (int i = 0; i < lines; ++i)
        reply.message_lines()->Add(t.text() + (i + 1 < lines ? "\\n" : ""));
}

// What a project holds of the model, but for the fields.
auto model_state()
{
    webpage &page = *globals::web_page();
    const sql &table = *globals::sql_script();
    return std::tuple(stored(*globals::prefs()), table.mysql_table, table.primary_key, page.pagetype, page.URL,
        page.path, page.nforms, globals::selected_form_title, values(*page.blocked_ips()));
}

QString flag(bool on)
{
    return on ? "True" : "False";
}

TEST(ProjectRoundTrip, GeneratedProjectsReadBackTheSame)
{
    for (unsigned seed = 1; seed <= 300 && !HasFailure(); ++seed) {
        SCOPED_TRACE(seed);
        globals::reset();
        Typist typist(seed);
        ProjectPageTexts pages;
        generate(typist, pages);
        const QByteArray bytes = ProjectWriter(pages).text();

        // What was written, kept apart from the model the reading fills.
        const auto written = model_state();
        const auto form = globals::web_page()->selected_form;
        const auto owner = globals::owner_mail();
        const auto reply = globals::auto_mail();
        const QStringList connection { flag(globals::isConnect), flag(globals::SuccessfullyConnected) };

        globals::reset();
        const SavedProject project = SavedProject::parse(bytes);
        project.apply();

        EXPECT_EQ(model_state(), written);
        EXPECT_EQ(std::tuple(project.is_date, project.date_format, globals::is_convert_date),
            std::tuple(form->is_date, form->date_format, form->is_date));
        EXPECT_EQ(project.txt_success_message, QString(pages.txt_success_message).replace("\n", "<br>"));
        const ::fields &saved = *globals::saved_fields();
        ASSERT_EQ(saved.Count(), form->fields()->Count());
        for (qsizetype i = 1; i <= saved.Count(); ++i)
            EXPECT_EQ(stored(*saved.Item(i)), stored(*form->fields()->Item(i)));

        // The later sections, kept for the pages they fill.
        EXPECT_EQ(values(*globals::email_settings()),
            (QStringList { owner->sender, flag(owner->is_GeneericEmail), flag(owner->is_multiRecipients),
                owner->email_to, owner->subject }));
        EXPECT_EQ(values(*globals::auto_settings()),
            (QStringList {
                reply->sender, reply->email_to, reply->subject, QString::number(reply->message_lines()->Count()) }));
        EXPECT_EQ(
            values(*globals::auto_message_lines()).join(QString()), QString(pages.auto_message).replace("\n", "\r\n"));
        EXPECT_EQ(values(*globals::csv_settings()),
            (QStringList { pages.csv_separator, pages.csv_filename, pages.csv_format, pages.csv_EndLine }));
        EXPECT_EQ(values(*globals::mysql_settings()),
            connection
                + QStringList({ pages.mysql_host, pages.mysql_user, pages.mysql_pw, pages.mysql_port, pages.mysql_db,
                    pages.mysql_table }));
        EXPECT_EQ(values(*globals::email_message_lines()).join("\n"), pages.owner_message);
        const StringCollection &shown = *globals::page_settings();
        EXPECT_EQ(shown.Item("is_send_ip"), flag(pages.owner_send_ip));
        for (const auto &[prefix, font, color] : { std::tuple("alert", pages.alert_font, pages.alert_color),
                 std::tuple("message", pages.message_font, pages.message_color) }) {
            FontSpec read_font;
            qint32 read_color = 0;
            ASSERT_TRUE(SavedProject::saved_font(shown, prefix, read_font, read_color));
            EXPECT_EQ(std::tuple(read_font.name, read_font.size, read_font.bold, read_font.italic, read_font.underline,
                          read_font.strikethrough, read_color),
                std::tuple(font.name, font.size, font.bold, font.italic, font.underline, font.strikethrough, color));
        }
    }
}

} // namespace
