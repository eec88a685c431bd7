// Generated scripts run by php-cgi, grouped by where a submission ends up:
// the visitor's page, the mails, the CSV file and the stored upload.
#include "GeneratedForm.h"
#include "PhpRunner.h"
#include "support/QtPrinters.h"

#include "generate/CSV.h"
#include "generate/cmail.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// Posts to the script of `page`; PHP must stay silent: no warning, notice or deprecation.
class ScriptTest : public ::testing::Test
{
protected:
    PhpResponse post(const PhpRequest &request)
    {
        page.write(php);
        PhpResponse response = php.run("index.php", request);
        EXPECT_EQ(response.errors, QByteArray()) << response.body.toStdString();
        return response;
    }

    void write_file(const QString &name, const QByteArray &content)
    {
        QFile file(php.path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray read_file(const QString &name)
    {
        QFile file(php.path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void redirect_results()
    {
        page.prefs().is_embeded_result_page = false;
        page.prefs().success_page = "thanks.html";
        page.prefs().error_page = "sorry.html";
    }

    PhpRunner php;
    GeneratedForm page;
};

struct RuleCase
{
    const char *label;
    qint32 validation_type; // 8 with `required`
    qint32 expression_type; // of the format rules
    QByteArrayList passing;
    QByteArrayList failing;
};

void PrintTo(const RuleCase &rule, std::ostream *out)
{
    *out << rule.label;
}

const RuleCase kRules[] = {
    { "range", 0, 0, { "30", "65" }, { "17", "abc" } },
    { "compare_exact_text", 1, 0, { "1000" }, { "1e3" } },
    { "list_ignores_case", 3, 0, { "GREEN" }, { "blue" } },
    { "length_in_characters", 4, 0, { "\xC3\xA9t\xC3\xA9" }, { "abcd" } },
    { "email", 2, 0, { "me@example.com" }, { "me@example" } },
    { "url", 2, 1, { "https://example.com" }, { "ftp://example.com" } },
    { "ip", 2, 2, { "10.0.0.999" }, { "10.0.0" } },
    { "zip", 2, 3, { "12345" }, { "1234" } },
    { "zip4", 2, 4, { "12345-6789", "99999-1000" }, { "12345", "1zzzz-1zzz" } },
    { "card", 2, 5, { "4111111111111111", "79927398713" }, { "4111-1111-1111-1111", "79927398710" } },
    { "required", 8, 0, { "x" }, { "" } },
};

class Rules : public ScriptTest, public ::testing::WithParamInterface<std::tuple<RuleCase, bool>>
{
};

TEST_P(Rules, PassingValuesSucceedAndFailingOnesGiveTheFieldsError)
{
    const auto &[rule, embedded] = GetParam();
    if (!embedded)
        redirect_results();
    page.prefs().success_message = "Form sent";
    page.add("other");
    // Every rule's settings; the rule kind picks the ones that count.
    Field &v = page.add("v");
    v.validation_type = rule.validation_type;
    v.required = rule.validation_type == 8;
    // Fails below 18 and above 65, or above three characters.
    std::tie(v.range_operator1, v.range_min, v.range_operator2, v.range_max) = std::tuple(1, 18, 0, 65);
    std::tie(v.length_operator2, v.length_max) = std::tuple(0, 3);
    v.compare_field()->name = "other";
    v.list_values = "red|green";
    v.expression_type = rule.expression_type;
    page.prefs().is_creditcard = true;
    for (const bool passes : { true, false }) {
        for (const QByteArray &value : passes ? rule.passing : rule.failing) {
            const PhpResponse response = post(PhpRequest().add("v", value).add("other", "1000"));
            if (embedded)
                EXPECT_EQ(response.body, passes ? "Form sent" : "<p class=\"error\">bad v</p>") << value.toStdString();
            else
                EXPECT_EQ(response.location(), passes ? "thanks.html" : "sorry.html") << value.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Rules, ::testing::Combine(::testing::ValuesIn(kRules), ::testing::Bool()), [](const auto &info) {
        return std::string(std::get<0>(info.param).label) + (std::get<1>(info.param) ? "_embedded" : "_redirect");
    });

TEST_F(ScriptTest, EmbeddedAnswerStandsBetweenHeaderAndFooter)
{
    page.prefs().is_header = page.prefs().is_footer = true;
    page.prefs().header_img = "header.html";
    page.prefs().footer_img = "footer.html";
    page.prefs().success_message = "<p>Thanks, we pay \"$5\" \\o/</p>";
    page.add("name").required = true;
    write_file("header.html", "<html><body>");
    write_file("footer.html", "</body></html>");
    EXPECT_EQ(
        post(PhpRequest().add("name", "Ann")).body, "<html><body><p>Thanks, we pay \"$5\" \\o/</p></body></html>");
    EXPECT_EQ(post(PhpRequest()).body, "<html><body><p class=\"error\">bad name</p>");
}

TEST_F(ScriptTest, RequiredFieldsMissingOrPostedAsListsAreEmptyWithoutWarnings)
{
    redirect_results();
    page.add("a").required = true;
    page.add("list", "multi select", "list[]");
    page.add("photo", "file");
    EXPECT_EQ(post(PhpRequest().add("a[]", "x")).location(), "sorry.html");
    EXPECT_EQ(post(PhpRequest().add("list[]", "x")).location(), "sorry.html");
    EXPECT_EQ(post(PhpRequest().add("a", "x").add("list", "flat").add("photo", "x")).location(), "thanks.html");

    page.form->set_Method("GET");
    PhpRequest query = PhpRequest().add("a", "find me");
    query.method = "GET";
    EXPECT_EQ(post(query).location(), "thanks.html");
}

TEST_F(ScriptTest, BannedVisitorIsRefusedBeforeAnyCheck)
{
    page.prefs().success_message = "ok";
    page.add("name").required = true;
    write_file("blockedIPs.txt", "10.0.0.1\r\n  203.0.113.7 \n\r\n");
    PhpRequest banned = PhpRequest().add("name", "Ann");
    EXPECT_EQ(post(banned).body, "ok"); // no banned address in the project: the file is not read

    globals::web_page()->blocked_ips()->Add("10.0.0.1");
    EXPECT_EQ(post(banned).body, "Sorry your IP is banned!");
    banned.remote_addr = "203.0.113.70"; // only equal addresses match
    EXPECT_EQ(post(banned).body, "ok");
    write_file("blockedIPs.txt", "");
    EXPECT_EQ(post(PhpRequest()).body, "<p class=\"error\">bad name</p>");
}

class Mail : public ScriptTest
{
protected:
    void SetUp() override
    {
        page.prefs().success_message = "ok";
        for (const char *name : { "email", "name", "city" })
            page.add(QString::fromLatin1(name));
        cmail &owner = *globals::owner_mail();
        owner.sender = "email";
        owner.email_to = "owner@example.com,boss@example.com";
        owner.subject = "New \"order\"";
        owner.message_lines()->Add("Name: $name\\n");
        // Only references to fields are PHP; all else is text.
        owner.message_lines()->Add("City: $city costs $5 at C:\\shop, {$city[0], $names, $city->x");
        cmail &reply = *globals::auto_mail();
        reply.is_autoresponde = true;
        reply.sender = "shop@example.com";
        reply.email_to = "$email";
        reply.subject = "Thank you";
        reply.message_lines()->Add("Dear $name,\\n");
        reply.message_lines()->Add("we got it.");
    }

    // The mails one post sent.
    QList<CapturedMail> mails_for(const QByteArray &email)
    {
        EXPECT_EQ(
            post(PhpRequest().add("email", email).add("name", "Ann \"A\" O'Neil").add("city", "Paris")).body, "ok");
        return php.take_mails();
    }

    static QByteArrayList headers(const CapturedMail &mail)
    {
        QByteArrayList listed;
        for (const char *name : { "to", "subject", "from", "reply-to" })
            listed << mail.headers.value(name, "(none)");
        return listed;
    }
};

TEST_F(Mail, OwnerGetsTheValuesAndTheVisitorAnAutoResponse)
{
    page.prefs().is_email = page.prefs().is_autoresponde = true;
    QList<CapturedMail> mails = mails_for("ann@example.com");
    ASSERT_EQ(mails.size(), 2);
    EXPECT_EQ(headers(mails[0]),
        QByteArrayList(
            { "owner@example.com,boss@example.com", "New \"order\"", "ann@example.com", "ann@example.com" }));
    EXPECT_EQ(mails[0].body,
        "Visitor's IP: 203.0.113.7\nName: Ann \"A\" O'Neil\nCity: Paris costs $5 at C:\\shop, {Paris[0], $names, "
        "Paris->x\r\n");
    EXPECT_EQ(
        headers(mails[1]), QByteArrayList({ "ann@example.com", "Thank you", "shop@example.com", "shop@example.com" }));
    EXPECT_EQ(mails[1].body, "Dear Ann \"A\" O'Neil,\nwe got it.\r\n"); // never with the IP line

    // A typed sender, and no IP line.
    page.prefs().is_autoresponde = page.form->is_send_ip = false;
    globals::owner_mail()->is_GeneericEmail = true;
    globals::owner_mail()->sender = "forms@example.com";
    mails = mails_for("ann@example.com");
    ASSERT_EQ(mails.size(), 1);
    EXPECT_EQ(mails[0].headers.value("from"), "forms@example.com");
    EXPECT_EQ(
        mails[0].body, "Name: Ann \"A\" O'Neil\nCity: Paris costs $5 at C:\\shop, {Paris[0], $names, Paris->x\r\n");
}

TEST_F(Mail, VisitorCannotAddHeadersOrRecipients)
{
    page.prefs().is_email = page.prefs().is_autoresponde = true;
    for (const QByteArray &address : { QByteArray("ann@example.com\r\nBcc: victim@example.org"),
             QByteArray("ann@example.com\nBcc: victim@example.org"), QByteArray("ann@example.com, victim@example.org"),
             QByteArray("not an address") }) {
        // Only the owner's mail goes, with no header taken from the visitor.
        const QList<CapturedMail> mails = mails_for(address);
        ASSERT_EQ(mails.size(), 1) << address.toStdString();
        EXPECT_EQ(headers(mails[0]),
            QByteArrayList({ "owner@example.com,boss@example.com", "New \"order\"", "(none)", "(none)" }));
        EXPECT_FALSE(mails[0].headers.contains("bcc"));
        EXPECT_FALSE(mails[0].raw.contains("victim")) << mails[0].raw.toStdString();
    }
}

// The records of an RFC 4180 file, or none if it is no such file.
QList<QStringList> parse_csv(const QByteArray &data)
{
    static const QRegularExpression value(QStringLiteral(R"re(\G(?:"((?:[^"]|"")*)"|([^",\r\n]*))(,|\r?\n))re"));
    QList<QStringList> records(1);
    qsizetype end = 0;
    for (const QRegularExpressionMatch &match : value.globalMatch(QString::fromUtf8(data))) {
        records.last() << (match.hasCaptured(1) ? match.captured(1).replace("\"\"", "\"") : match.captured(2));
        if (match.captured(3) != ",")
            records.append(QStringList());
        end = match.capturedEnd();
    }
    records.removeLast();
    return end == QString::fromUtf8(data).size() ? records : QList<QStringList>();
}

class Csv : public ScriptTest
{
protected:
    void SetUp() override
    {
        page.prefs().is_csv = true;
        page.prefs().success_message = "ok";
        page.add("name");
        page.add("comments", "textarea");
        page.add("colors", "multi select", "colors[]");
        page.add("email", "text", "e.mail");
        page.add("secret").in_csv = false;
        globals::csv_file()->filename = "data.csv";
    }
};

TEST_F(Csv, HeaderOnceThenOneQuotedAndGuardedRecordPerPost)
{
    globals::csv_file()->EndLine = "\\r\\n";
    const PhpRequest posts[] = {
        PhpRequest().add("name", "Ann").add("comments", "line 1\r\nline 2").add("colors[]", "red").add("colors[]", "b"),
        PhpRequest().add("name", "Bob, Jr.").add("comments", "He said \"hi\"\nbye").add("secret", "s"),
        PhpRequest().add("name", "=HYPERLINK(\"http://x\")").add("comments", "-5").add("e.mail", "b@x"),
        PhpRequest().add("name", "+1 (555) 0100").add("comments", "@cmd").add("e.mail", "-x"),
    };
    for (const PhpRequest &request : posts)
        ASSERT_EQ(post(request).body, "ok");
    const QByteArray data = read_file("data.csv");
    EXPECT_TRUE(data.startsWith("name,comments,colors,email\r\nAnn,line 1<BR>line 2,red&b,\r\n"));
    const QList<QStringList> expected = {
        { "name", "comments", "colors", "email" },
        { "Ann", "line 1<BR>line 2", "red&b", "" },
        { "Bob, Jr.", "He said \"hi\"\nbye", "", "" },
        { "'=HYPERLINK(\"http://x\")", "-5", "", "b@x" },
        { "'+1 (555) 0100", "'@cmd", "", "'-x" },
    };
    EXPECT_EQ(parse_csv(data), expected);
}

TEST_F(Csv, ConcurrentPostsLoseNoRecord)
{
    page.write(php);
    QList<PhpRequest> requests;
    for (int i = 0; i < 12; ++i)
        requests << PhpRequest().add("name", QByteArray::number(i));
    for (const PhpResponse &response : php.run_all("index.php", requests))
        EXPECT_EQ(response.body + response.errors, "ok");
    const auto records = parse_csv(read_file("data.csv"));
    ASSERT_EQ(records.size(), 13);
    QSet<QString> names;
    for (const QStringList &record : records)
        names.insert(record.front());
    EXPECT_EQ(names.size(), 13); // the header and twelve different names
}

TEST_F(Csv, AFileThatCannotBeOpenedIsReportedOrPassedOver)
{
    globals::csv_file()->filename = "missing/folder/data.csv";
    EXPECT_EQ(post(PhpRequest()).body, "Cannot open file (missing/folder/data.csv)");
    globals::csv_file()->show_errors = false;
    EXPECT_EQ(post(PhpRequest()).body, "");
}

class StoredFile : public ScriptTest
{
protected:
    void SetUp() override
    {
        redirect_results();
        page.prefs().is_upload = page.prefs().is_email = true;
        Field &photo = page.add("photo", "file");
        photo.validation_type = 7;
        photo.max_size = 1; // one thousand bytes
        photo.upload_folder = "uploads\\";
        photo.upload_url = "http://example.com/uploads/";
        photo.mime_types()->Add("image/gif");
        photo.mime_types()->Add("image/png");
        cmail &owner = *globals::owner_mail();
        owner.is_GeneericEmail = true;
        owner.sender = "forms@example.com";
        owner.email_to = "owner@example.com";
        owner.message_lines()->Add("$photo_URL");
        page.form->is_send_ip = false;
    }

    PhpResponse upload(const QByteArray &name, const QByteArray &data = "GIF89a", const QByteArray &mime = "image/gif")
    {
        PhpRequest request;
        request.uploads.append({ "photo", name, data, mime });
        return post(request);
    }

    QStringList stored() { return QDir(php.path("uploads")).entryList(QDir::Files | QDir::Hidden); }
};

TEST_F(StoredFile, UploadIsStoredUnderACleanNameAndItsAddressMailed)
{
    ASSERT_EQ(upload("my photo!.gif").location(), "thanks.html");
    EXPECT_EQ(read_file("uploads/my_photo_.gif"), "GIF89a");
    EXPECT_EQ(php.take_mails().value(0).body, "http://example.com/uploads/my_photo_.gif\r\n");
    // A second file of that name keeps the first.
    ASSERT_EQ(upload("my photo!.gif", "second").location(), "thanks.html");
    EXPECT_EQ(read_file("uploads/my_photo_.gif"), "GIF89a");
    EXPECT_EQ(read_file("uploads/my_photo__1.gif"), "second");
    EXPECT_EQ(php.take_mails().value(0).body, "http://example.com/uploads/my_photo__1.gif\r\n");
    // Folder parts of the name are dropped.
    ASSERT_EQ(upload("..\\..\\etc/passwd.png", "x", "image/png").location(), "thanks.html");
    EXPECT_EQ(stored(), QStringList({ "my_photo_.gif", "my_photo__1.gif", "passwd.png" }));
}

TEST_F(StoredFile, RefusedUploadsStoreNothing)
{
    // Too big, empty, a type not allowed, then names a web server might run.
    const std::tuple<QByteArray, QByteArray, QByteArray> refused[]
        = { { "photo.gif", QByteArray(1001, 'x'), "image/gif" }, { "photo.gif", "", "image/gif" },
              { "photo.jpg", "x", "image/jpeg" }, { "shell.php.gif", "x", "image/gif" }, { "x.pHp", "x", "image/gif" },
              { "x.php5", "x", "image/gif" }, { ".htaccess", "x", "image/gif" }, { "run.cgi.png", "x", "image/png" },
              { "page.shtml", "x", "image/gif" }, { "../.hidden.gif", "x", "image/gif" } };
    for (const auto &[name, content, mime] : refused)
        EXPECT_EQ(upload(name, content, mime).location(), "sorry.html") << name.toStdString();
    EXPECT_EQ(post(PhpRequest()).location(), "sorry.html"); // no file at all
    page.prefs().is_embeded_result_page = true;
    EXPECT_EQ(upload("x.php").body, "<p class=\"error\">bad photo</p>");
    EXPECT_EQ(stored(), QStringList());
    EXPECT_TRUE(php.take_mails().isEmpty());
}

} // namespace
