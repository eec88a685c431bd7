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

ProjectPageTexts page_defaults()
{
    ProjectPageTexts pages;
    pages.csv_separator = "comma";
    pages.csv_format = "*.csv";
    pages.csv_EndLine = "\\r\\n";
    pages.mysql_host = "localhost";
    pages.mysql_user = "root";
    pages.mysql_port = "3306";
    pages.alert_font = pages.message_font = FontSpec { "Arial", 10 };
    return pages;
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
    }

    QByteArray text() const { return ProjectWriter(pages).text(); }

    std::shared_ptr<CForm> form;
    ProjectPageTexts pages = page_defaults();
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
        "email: #email#", "", "auto_nLine=0" };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(lines.indexOf("nfields=2"), 38); // line 39

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

// One value the file cannot hold, and where the refusal says it is.
struct Refusal
{
    const char *name;
    std::function<void(ProjectPageTexts &)> set;
    const char *page;
    const char *field;
    const char *problem;
};

void PrintTo(const Refusal &refusal, std::ostream *out)
{
    *out << refusal.name;
}

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
        EXPECT_EQ(error.page(), QString::fromUtf8(c.page));
        EXPECT_EQ(error.field(), QString::fromUtf8(c.field));
        EXPECT_EQ(error.problem(), QString::fromUtf8(c.problem));
        EXPECT_TRUE(error.message().startsWith(
            "The project was not saved: " + error.field() + " on " + error.page() + " holds " + error.problem()))
            << error.message().toStdString();
    }
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old project");
    EXPECT_FALSE(globals::project_saved);
    EXPECT_EQ(globals::project_save_path, QString());
}

const QString kManyBreaks = QString("line\r\n").repeated(121);

INSTANTIATE_TEST_SUITE_P(ProjectFile, Refusals,
    ::testing::Values(
        Refusal { "SplitterInAListOfValues", [](ProjectPageTexts &) { field("name").list_values = "|a;^b|"; },
            "the field rules page", "the list of values of field \"name\"", "the characters ;^" },
        Refusal { "SplitterInAType", [](ProjectPageTexts &) { field("email").mime_types()->Add("image/x;^y"); },
            "the field rules page", "a permitted type of field \"email\"", "the characters ;^" },
        Refusal { "CommaInAType", [](ProjectPageTexts &) { field("email").mime_types()->Add("image/x,y"); },
            "the field rules page", "a permitted type of field \"email\"", "a comma" },
        Refusal { "CommaInABannedAddress",
            [](ProjectPageTexts &) { globals::web_page()->blocked_ips()->Add("10.0.0.1,2"); },
            "the list of banned IP addresses", "a banned address", "a comma" },
        Refusal { "LineBreakInTheUploadAddress", [](ProjectPageTexts &) { field("name").upload_url = "http://a\n/b"; },
            "the field rules page", "the upload folder URL of field \"name\"", "a line break" },
        Refusal { "LineBreakInTheOwnerSubject",
            [](ProjectPageTexts &) { globals::owner_mail()->subject = "Hello\rthere"; }, "the owner mail page",
            "Subject", "a line break" },
        Refusal { "LineBreakInTheCsvFileName", [](ProjectPageTexts &pages) { pages.csv_filename = "data\r\n"; },
            "the CSV page", "File Name", "a line break" },
        Refusal { "LineBreakInTheMySQLPassword", [](ProjectPageTexts &pages) { pages.mysql_pw = "a\nb"; },
            "the MySQL page", "Password", "a line break" },
        Refusal { "LineBreakInThePagePath", [](ProjectPageTexts &) { globals::web_page()->path = "/tmp/a\nb.html"; },
            "the first page", "the HTML file", "a line break" },
        Refusal { "TooManyBreaksInAnErrorAlert", [](ProjectPageTexts &) { field("email").error_message = kManyBreaks; },
            "the field rules page", "the error alert of field \"email\"", "more than 120 line breaks" },
        Refusal { "TooManyBreaksInTheSuccessMessage",
            [](ProjectPageTexts &pages) { pages.txt_success_message = QString(kManyBreaks).replace("\r\n", "\n"); },
            "the output page", "the success message", "more than 120 line breaks" }),
    [](const auto &info) { return std::string(info.param.name); });

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
    // 120 breaks are stored, as "<br>".
    field("name").list_values.clear();
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
struct Damage
{
    const char *name;
    std::function<void(QStringList &)> spoil;
    int line;
    const char *what;
};

void PrintTo(const Damage &damage, std::ostream *out)
{
    *out << damage.name;
}

class Damaged : public ProjectFile, public ::testing::WithParamInterface<Damage>
{
};

TEST_P(Damaged, IsReportedWithItsLine)
{
    const Damage &c = GetParam();
    QStringList lines = file_lines(text());
    c.spoil(lines);
    const QByteArray bytes = lines.isEmpty() ? QByteArray() : joined(lines);
    try {
        SavedProject::parse(bytes);
        FAIL() << "read";
    } catch (const ProjectReadError &error) {
        EXPECT_EQ(error.line(), c.line);
        EXPECT_EQ(error.what_text(), QString::fromUtf8(c.what));
    }
}

INSTANTIATE_TEST_SUITE_P(ProjectFile, Damaged,
    ::testing::Values(Damage { "Empty", [](QStringList &l) { l.clear(); }, 1, "the file is empty" },
        Damage {
            "WrongFirstHeader", [](QStringList &l) { l[0] = "[preferences]"; }, 1, "[prefrences] is expected here" },
        Damage { "WrongPageHeader", [](QStringList &l) { l[27] = "[page]"; }, 28, "[webpage] is expected here" },
        Damage { "WrongFieldsHeader", [](QStringList &l) { l[37] = "[field]"; }, 38, "[fields] is expected here" },
        Damage {
            "WrongBannedHeader", [](QStringList &l) { l[42] = "[banned]"; }, 43, "[blocked ips] is expected here" },
        Damage { "EndsInsidePreferences", [](QStringList &l) { l = l.mid(0, 10); }, 11,
            "the file ends inside [prefrences]" },
        Damage { "EndsBeforeThePage", [](QStringList &l) { l = l.mid(0, 27); }, 28, "the file ends before [webpage]" },
        Damage { "EndsInsideTheFields", [](QStringList &l) { l = l.mid(0, 40); }, 41, "the file ends inside [fields]" },
        Damage { "EndsInsideTheOwnerMail", [](QStringList &l) { l = l.mid(0, l.indexOf("[email]") + 3); }, 49,
            "the file ends inside [email]" },
        Damage { "EndsInsideTheAutoResponse",
            [](QStringList &l) {
                l[l.indexOf("nLine=0")] = "nLine=3";
                l = l.mid(0, l.indexOf("nLine=3") + 2);
            },
            59, "the file ends inside [auto-responde]" },
        Damage { "RecordWithFewerItems", [](QStringList &l) { l[39].replace("^True;^True;^", "^True;^"); }, 40,
            "the field record holds 26 items and its type list; it needs 27" },
        Damage { "RecordWithoutItsMark", [](QStringList &l) { l[40].remove(0, 2); }, 41,
            "a field record must begin with ##" },
        Damage { "RecordWithAnOpenTypeList", [](QStringList &l) { l[40].chop(2); }, 41,
            "the field record's types must stand between [[ and ]]" },
        Damage { "RecordNumberThatIsNone", [](QStringList &l) { l[39].replace(";^text;^0;^", ";^text;^ten;^"); }, 40,
            "item 7 of the field record is \"ten\", not a number" },
        Damage { "RecordFlagThatIsNone", [](QStringList &l) { l[39].replace("##name;^False", "##name;^no"); }, 40,
            "item 2 of the field record is \"no\", not True or False" },
        Damage { "RecordSizeThatIsNone",
            [](QStringList &l) { l[39].replace("True;^True;^0;^", "True;^True;^1,2,3;^"); }, 40,
            "item 20 of the field record is \"1,2,3\", not a number" },
        Damage { "FieldCountThatIsNone", [](QStringList &l) { l[38] = "nfields=two"; }, 39,
            "nfields is \"two\", not a count of lines" },
        Damage { "FormCountTooLarge", [](QStringList &l) { l[31] = "nforms=40000"; }, 32,
            "nforms is \"40000\", not a number" },
        Damage {
            "FlagThatIsNone", [](QStringList &l) { l[2] = "is_csv=yes"; }, 3, "is_csv is \"yes\", not True or False" },
        Damage { "NegativeLineCount", [](QStringList &l) { l[l.indexOf("nLine=0")] = "nLine=-1"; }, 57,
            "nLine is \"-1\", not a count of lines" },
        Damage { "ConnectionFlagThatIsNone", [](QStringList &l) { l[l.indexOf("isConnect=False")] = "isConnect=1"; },
            66, "isConnect is \"1\", not True or False" },
        Damage { "FontSizeThatIsNone", [](QStringList &l) { l[l.indexOf("alert_size=10")] = "alert_size=big"; }, 78,
            "alert_size is \"big\", not a number" },
        Damage { "BodyCountWithoutItsKey", [](QStringList &l) { l[l.indexOf("auto_nLine=0")] = "nLine=0"; }, 92,
            "auto_nLine= is expected here" }),
    [](const auto &info) { return std::string(info.param.name); });

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
    const SavedProject moved = read(edited);
    EXPECT_TRUE(moved.prefs.is_csv);
    EXPECT_FALSE(moved.prefs.is_embeded_result_page);
    EXPECT_EQ(moved.prefs.script_name, QString());

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

    // Line ends of other systems, and a byte order mark.
    QByteArray unix_ends = joined(lines).replace("\r\n", "\n");
    EXPECT_EQ(SavedProject::parse("\xEF\xBB\xBF" + unix_ends).saved_fields->Count(), 2);
}

TEST_F(ProjectFile, ReadsTheTextsOfTheWindowsCodePageAndUtf8)
{
    QStringList lines = file_lines(text());
    lines[3] = "php_des=C:\\Caf\xC3\xA9\\index.php";
    EXPECT_EQ(SavedProject::parse(joined(lines)).prefs.php_des, QString::fromUtf8("C:\\Caf\xC3\xA9\\index.php"));
    QByteArray old = joined(lines).replace("Caf\xC3\xA9", "Caf\xE9 \x80");
    EXPECT_EQ(SavedProject::parse(old).prefs.php_des, QString::fromUtf8("C:\\Caf\xC3\xA9 \xE2\x82\xAC\\index.php"));
}

// Fills the model and the pages' texts as the screens could.
void generate(Typist &t, ProjectPageTexts &pages)
{
    Cprefrences &p = *globals::prefs();
    for (bool *flag : { &p.is_autoresponde, &p.is_csv, &p.is_mysql, &p.is_email, &p.is_embeded_result_page,
             &p.is_upload, &p.is_header, &p.is_footer, &p.is_creditcard, &p.is_create_tble })
        *flag = t.flag();
    for (QString *text : { &p.php_des, &p.script_name, &p.des_folder, &p.success_page, &p.success_path, &p.error_page,
             &p.error_path, &p.header_path, &p.footer_path, &p.header_img, &p.footer_img, &p.success_message })
        *text = t.text();
    globals::sql_script()->mysql_table = t.text();
    globals::sql_script()->primary_key = t.text();

    webpage &page = *globals::web_page();
    page.pagetype = t.whole();
    page.URL = t.text();
    page.path = t.text();
    page.nforms = qint16(t.number(-32768, 32767));
    globals::selected_form_title = t.text();
    auto form = std::make_shared<CForm>();
    form->is_date = t.flag();
    form->date_format = t.whole();
    page.selected_form = form;
    const int count = t.number(0, 6);
    for (int i = 0; i < count; ++i) {
        Field f;
        f.name = QString::number(i) + t.item();
        f.required = t.flag();
        // A typed "<br>" and a line break read back alike: both make the
        // same HTML, so only breaks are drawn here.
        f.error_message = t.lines("\r\n").replace(";^", "; ^");
        f.mysql_field = t.item();
        f.field_type = t.item();
        f.list_values = t.item();
        f.upload_folder = t.item();
        f.upload_url = t.item();
        f.sql_type = t.item();
        f.sql_length = t.item();
        f.sql_default = t.item();
        for (qint32 *n : { &f.validation_type, &f.range_max, &f.range_operator1, &f.range_operator2, &f.range_min,
                 &f.expression_type, &f.length_max, &f.length_min, &f.length_operator2, &f.length_operator1 })
            *n = t.whole();
        f.unused_int = qint16(t.number(-32768, 32767));
        f.in_csv = t.flag();
        f.in_mysql = t.flag();
        f.is_date_field = t.flag();
        f.max_size = t.size();
        f.compare_field()->name = t.item();
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

    for (cmail *mail : { globals::owner_mail().get(), globals::auto_mail().get() }) {
        mail->sender = t.text();
        mail->email_to = t.text();
        mail->subject = t.text();
    }
    globals::owner_mail()->is_GeneericEmail = t.flag();
    globals::owner_mail()->is_multiRecipients = t.flag();
    const int lines = t.number(0, 4);
    for (int i = 0; i < lines; ++i)
        globals::auto_mail()->message_lines()->Add(t.text() + (i + 1 < lines ? "\\n" : ""));

    pages.txt_success_message = t.lines("\n");
    for (QString *text :
        { &pages.csv_separator, &pages.csv_filename, &pages.csv_format, &pages.csv_EndLine, &pages.mysql_host,
            &pages.mysql_user, &pages.mysql_pw, &pages.mysql_port, &pages.mysql_db, &pages.mysql_table })
        *text = t.text();
    globals::isConnect = t.flag();
    globals::SuccessfullyConnected = t.flag();
    pages.owner_send_ip = t.flag();
    pages.owner_message = t.lines("\n");
    pages.auto_message = t.lines("\n");
    pages.alert_font = t.font();
    pages.alert_color = t.whole();
    pages.message_font = t.font();
    pages.message_color = t.whole();
}

TEST(ProjectRoundTrip, GeneratedProjectsReadBackTheSame)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(seed);
        globals::reset();
        Typist typist(seed);
        ProjectPageTexts pages;
        generate(typist, pages);
        const QByteArray bytes = ProjectWriter(pages).text();

        // What was written, kept apart from the model the reading fills.
        const Cprefrences prefs = *globals::prefs();
        const sql table = *globals::sql_script();
        webpage &page = *globals::web_page();
        const auto form = page.selected_form;
        const auto owner = globals::owner_mail();
        const auto reply = globals::auto_mail();
        const QStringList banned = values(*page.blocked_ips());
        const bool connect_tried = globals::isConnect;
        const bool connected = globals::SuccessfullyConnected;
        const auto expected = std::tuple(page.pagetype, page.URL, page.path, page.nforms, globals::selected_form_title,
            form->is_date, form->date_format);

        globals::reset();
        const SavedProject project = SavedProject::parse(bytes);
        project.apply();

        EXPECT_EQ(stored(*globals::prefs()), stored(prefs));
        EXPECT_EQ(project.txt_success_message, QString(pages.txt_success_message).replace("\n", "<br>"));
        EXPECT_EQ(std::tuple(globals::sql_script()->mysql_table, globals::sql_script()->primary_key),
            std::tuple(table.mysql_table, table.primary_key));
        webpage &read = *globals::web_page();
        EXPECT_EQ(std::tuple(read.pagetype, read.URL, read.path, read.nforms, globals::selected_form_title,
                      project.is_date, project.date_format),
            expected);
        EXPECT_EQ(globals::is_convert_date, form->is_date);

        const ::fields &saved = *globals::saved_fields();
        ASSERT_EQ(saved.Count(), form->fields()->Count());
        for (qsizetype i = 1; i <= saved.Count(); ++i)
            EXPECT_EQ(stored(*saved.Item(i)), stored(*form->fields()->Item(i)));
        EXPECT_EQ(values(*read.blocked_ips()), banned);

        const StringCollection &email = *globals::email_settings();
        EXPECT_EQ(values(email),
            (QStringList { owner->sender, owner->is_GeneericEmail ? "True" : "False",
                owner->is_multiRecipients ? "True" : "False", owner->email_to, owner->subject }));
        const StringCollection &auto_keys = *globals::auto_settings();
        EXPECT_EQ(values(auto_keys),
            (QStringList {
                reply->sender, reply->email_to, reply->subject, QString::number(reply->message_lines()->Count()) }));
        EXPECT_EQ(
            values(*globals::auto_message_lines()).join(QString()), QString(pages.auto_message).replace("\n", "\r\n"));
        EXPECT_EQ(values(*globals::csv_settings()),
            (QStringList { pages.csv_separator, pages.csv_filename, pages.csv_format, pages.csv_EndLine }));
        EXPECT_EQ(values(*globals::mysql_settings()),
            (QStringList { connect_tried ? "True" : "False", connected ? "True" : "False", pages.mysql_host,
                pages.mysql_user, pages.mysql_pw, pages.mysql_port, pages.mysql_db, pages.mysql_table }));
        EXPECT_EQ(values(*globals::email_message_lines()).join("\n"), pages.owner_message);
        const StringCollection &shown = *globals::page_settings();
        EXPECT_EQ(shown.Item("is_send_ip"), pages.owner_send_ip ? "True" : "False");
        for (const auto &[prefix, font, color] : { std::tuple("alert", pages.alert_font, pages.alert_color),
                 std::tuple("message", pages.message_font, pages.message_color) }) {
            FontSpec read_font;
            qint32 read_color = 0;
            ASSERT_TRUE(SavedProject::saved_font(shown, prefix, read_font, read_color));
            EXPECT_EQ(std::tuple(read_font.name, read_font.size, read_font.bold, read_font.italic, read_font.underline,
                          read_font.strikethrough, read_color),
                std::tuple(font.name, font.size, font.bold, font.italic, font.underline, font.strikethrough, color));
        }
        if (HasFailure())
            break;
    }
}

} // namespace
