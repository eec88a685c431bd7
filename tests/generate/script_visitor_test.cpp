// Generated scripts run by php-cgi against what real visitors, browsers and
// servers send: pages in other character sets, NUL bytes, long paragraphs,
// mistyped addresses that bounce, names a browser would run, folders full of
// one name, addresses of every shape and visitors on dual-stack servers.
#include "GeneratedForm.h"
#include "PhpRunner.h"
#include "ScriptTest.h"
#include "support/QtPrinters.h"

#include "generate/CSV.h"
#include "generate/cmail.h"
#include "model/Forms.h"
#include "model/HtmlEncodingDecoder.h"
#include "model/HtmlEncodingIndex.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A script run for one post after another, reading what it stored.
class VisitorTest : public ScriptTest
{
protected:
    // The values of the CSV file's last record, for values without the
    // characters that make the CSV code quote them.
    QByteArrayList last_record()
    {
        QByteArrayList lines = read_file("data.csv").split('\n');
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines.isEmpty() ? QByteArrayList()
                               : lines.last().chopped(lines.last().endsWith('\r') ? 1 : 0).split(',');
    }

    void record_in_csv()
    {
        page.prefs().is_csv = true;
        globals::csv_file()->filename = "data.csv";
    }

    // The first form of a page in these bytes, as the reader reads it, made
    // the chosen form.
    void take_page(const QByteArray &html)
    {
        write_file("page.html", html);
        webpage reader;
        reader.path = php.path("page.html");
        reader.ReadForms();
        ASSERT_EQ(reader.nforms, 1);
        const std::shared_ptr<CForm> &read = reader.forms->Item(1);
        page.form->set_fields(read->fields());
        page.form->set_Method(read->Method());
        page.form->encoding = read->encoding;
    }
};

// ---- Every visitor's text ----

// A page in Windows-1252: the browser posts M\xFCller, and every action gets
// UTF-8, names beyond ASCII included.
TEST_F(VisitorTest, ValuesFromAWindows1252PageArriveAsUtf8)
{
    take_page("<html><head><meta charset=windows-1252></head><body><form method=post action=index.php>"
              "<input name='pr\xE9nom'><textarea name=comments></textarea>"
              "<select name='colors[]' multiple><option>gr\xFCn</select><input type=file name=photo></form>");
    EXPECT_EQ(page.form->encoding, "windows-1252");
    page.prefs().success_message = "ok";
    page.prefs().is_upload = page.prefs().is_email = true;
    record_in_csv();
    Field &name = *page.form->fields()->Item("prénom");
    name.validation_type = 4; // at most six characters
    std::tie(name.length_operator1, name.length_min) = std::pair(0, 6);
    Field &photo = *page.form->fields()->Item("photo");
    photo.validation_type = 7;
    photo.max_size = 10;
    photo.upload_folder = "uploads";
    photo.mime_types()->Add("application/pdf");
    cmail &owner = *globals::owner_mail();
    owner.is_GeneericEmail = true;
    owner.sender = owner.email_to = "owner@example.com";
    owner.set_message("#prénom# #comments#");
    page.form->is_send_ip = false;

    PhpRequest request = PhpRequest()
                             .add("pr\xE9nom", "M\xFCller")
                             .add("comments",
                                 "Gr\xFC\xDF"
                                 "e \x80 5");
    request.add("colors[]", "gr\xFCn");
    request.uploads.append({ "photo", "r\xE9sum\xE9.pdf", "%PDF", "application/pdf" });
    ASSERT_EQ(post(request).body, "ok");
    // The name's two bytes each become "_" when it is made safe to store.
    EXPECT_EQ(last_record(), QByteArrayList({ "Müller", "Grüße € 5", "grün", "r__sum__.pdf" }));
    EXPECT_EQ(read_file("uploads/r__sum__.pdf"), "%PDF");
    EXPECT_EQ(php.take_mails().value(0).body, "Müller Grüße € 5\r\n");
    // Characters are counted as before: seven are too many.
    request.fields[0].second = "M\xFCllers";
    EXPECT_TRUE(post(request).body.contains("please enter a valid prénom"));
    EXPECT_TRUE(php.take_mails().isEmpty());

    // A PHP built without iconv keeps what is ASCII, and never broken text
    // (a field named beyond ASCII is then missed).
    php.arguments << "-n";
    request.fields[0].second = "M\xFCller";
    request.uploads.clear();
    ASSERT_EQ(post(request).body, "ok");
    EXPECT_EQ(last_record(), QByteArrayList({ "", "Gre  5", "grn", "" }));
}

// What a browser posts in each character set a page may have, and the text
// it stands for as the browser itself decodes it.
struct Submitted
{
    const char *encoding;
    QByteArray bytes; // empty: every character of a single-byte encoding
    const char *text = nullptr; // UTF-8; null: as the Encoding Standard decodes the bytes
    friend void PrintTo(const Submitted &submitted, std::ostream *out) { *out << submitted.encoding; }
};

// Bytes glibc's converters read otherwise than the Encoding Standard, for
// characters hardly ever typed: KOI8-U's short u, macintosh's increment sign
// and Apple logo, x-mac-cyrillic's euro sign, windows-1255's holam for vav.
bool read_otherwise(const QByteArray &encoding, int byte)
{
    return (encoding == "KOI8-U" && (byte == 0xAE || byte == 0xBE))
        || (encoding == "macintosh" && (byte == 0xC6 || byte == 0xF0)) || (encoding == "x-mac-cyrillic" && byte == 0xFF)
        || (encoding == "windows-1255" && byte == 0xCA);
}

// A single-byte encoding's characters beyond ASCII, C1 controls left out.
QByteArray characters_of(const QByteArray &encoding)
{
    const char16_t *high = HtmlEncodingIndex::single_byte(encoding);
    QByteArray bytes;
    for (int byte = 0x80; high && byte <= 0xFF; ++byte) {
        const char16_t c = high[byte - 0x80];
        if (c != 0 && (c < 0x80 || c > 0x9F) && !read_otherwise(encoding, byte))
            bytes += char(byte);
    }
    return bytes;
}

const Submitted kSubmitted[] = {
    { "UTF-8", "M\xC3\xBCller \xE2\x82\xAC" },
    { "IBM866", {} },
    { "ISO-8859-2", {} },
    { "ISO-8859-3", {} },
    { "ISO-8859-4", {} },
    { "ISO-8859-5", {} },
    { "ISO-8859-6", {} },
    { "ISO-8859-7", {} },
    { "ISO-8859-8", {} },
    { "ISO-8859-8-I", {} },
    { "ISO-8859-10", {} },
    { "ISO-8859-13", {} },
    { "ISO-8859-14", {} },
    { "ISO-8859-15", {} },
    { "ISO-8859-16", {} },
    { "KOI8-R", {} },
    { "KOI8-U", {} },
    { "macintosh", {} },
    { "windows-874", {} },
    { "windows-1250", {} },
    { "windows-1251", {} },
    { "windows-1252", {} },
    { "windows-1253", {} },
    { "windows-1254", {} },
    { "windows-1255", {} },
    { "windows-1256", {} },
    { "windows-1257", {} },
    { "windows-1258", {} },
    { "x-mac-cyrillic", {} },
    // Zhang Wei, Beijing, and the euro sign GBK pages send as one byte.
    { "GBK", "\xD5\xC5\xCE\xB0 \xB1\xB1\xBE\xA9 \x80" },
    { "gb18030", "\xD5\xC5\xCE\xB0 \xA2\xE3 \x95\x32\x82\x36" },
    { "Big5", "\xBB\x4F\xA5\x5F\xA5\xAB \xA4\xA4\xA5\xBF\xB0\xCF" },
    // Yamada Taro, a circled one and a wave dash of Microsoft's table.
    { "EUC-JP", "\xBB\xB3\xC5\xC4 \xC2\xC0\xCF\xBA \xAD\xA1\xA1\xC1" },
    { "ISO-2022-JP", "\x1B\x24\x42\x3B\x33\x45\x44\x1B\x28\x42 \x1B\x24\x42\x42\x40\x4F\x3A\x1B\x28\x42" },
    { "Shift_JIS", "\x8E\x52\x93\x63 \xB1\xB2 \x87\x40 \x81\x60" },
    // Hong Gildong, and a syllable only Microsoft's superset has.
    { "EUC-KR", "\xC8\xAB\xB1\xE6\xB5\xBF \x8C\x63\xB9\xE6\xB0\xA2\xC7\xCF" },
    // Only private-use characters go beyond ASCII, and they are dropped.
    { "x-user-defined", "a\xF0z", "az" },
};

class Charsets : public VisitorTest, public ::testing::WithParamInterface<Submitted>
{
};

TEST_P(Charsets, EachArrivesAsTheTextABrowserMeans)
{
    const Submitted &submitted = GetParam();
    page.form->encoding = submitted.encoding;
    page.prefs().success_message = "ok";
    record_in_csv();
    page.add("v");
    const QByteArray bytes = submitted.bytes.isEmpty() ? characters_of(submitted.encoding) : submitted.bytes;
    ASSERT_FALSE(bytes.isEmpty());
    const QByteArray text
        = submitted.text ? QByteArray(submitted.text) : HtmlEncodingDecoder::decode(bytes, submitted.encoding);
    ASSERT_EQ(post(PhpRequest().add("v", bytes)).body, "ok");
    QByteArray stored = read_file("data.csv");
    stored = stored.mid(stored.indexOf('\n') + 1); // the record
    while (stored.endsWith('\n') || stored.endsWith('\r'))
        stored.chop(1);
    if (stored.startsWith('"'))
        stored = stored.mid(1).chopped(1).replace("\"\"", "\"");
    // glibc joins a letter and the accent after it into one character, as
    // Vietnamese is usually written: the same text.
    EXPECT_EQ(QString::fromUtf8(stored).normalized(QString::NormalizationForm_C),
        QString::fromUtf8(text).normalized(QString::NormalizationForm_C));
}

INSTANTIATE_TEST_SUITE_P(Pages, Charsets, ::testing::ValuesIn(kSubmitted), [](const auto &info) {
    return QString::fromLatin1(info.param.encoding).remove(QRegularExpression("[^A-Za-z0-9]")).toStdString();
});

// A form without a method, or with one in capitals, is sent with GET: the
// script reads what the browser sends.
TEST_F(VisitorTest, AFormsValuesAreReadWhereItsMethodPutsThem)
{
    page.prefs().success_message = "ok";
    record_in_csv();
    const std::pair<const char *, const char *> forms[] = {
        { "<form METHOD=\"GET\">", "GET" },
        { "<form>", "GET" },
        { "<form method=Post>", "POST" },
    };
    for (const auto &[form, method] : forms) {
        SCOPED_TRACE(form);
        take_page(QByteArray(form) + "<input name=q></form>");
        EXPECT_EQ(page.form->Method(), QLatin1String(method));
        PhpRequest request = PhpRequest().add("q", method);
        request.method = method;
        ASSERT_EQ(post(request).body, "ok");
        EXPECT_EQ(last_record(), QByteArrayList { method });
    }
}

// ---- Mail ----

class MailOut : public VisitorTest
{
protected:
    void SetUp() override
    {
        page.prefs().success_message = "ok";
        page.prefs().is_email = true;
        page.add("email");
        page.add("comments", "textarea");
        page.form->is_send_ip = false;
        cmail &owner = *globals::owner_mail();
        owner.sender = "email";
        owner.email_to = "owner@example.com, boss@example.com";
        owner.set_message("From #email#:\n#comments#");
        cmail &reply = *globals::auto_mail();
        reply.is_autoresponde = true;
        reply.sender = "shop@example.com";
        reply.email_to = "$email";
        reply.set_message("Thanks");
    }

    QList<CapturedMail> mails_for(const QByteArray &email, const QByteArray &comments = "hi")
    {
        EXPECT_EQ(post(PhpRequest().add("email", email).add("comments", comments)).body, "ok");
        return php.take_mails();
    }
};

// A paragraph far longer than a mail line may be reaches the reader whole.
TEST_F(MailOut, LongParagraphsAreSentInShortLines)
{
    page.prefs().is_autoresponde = true;
    const QByteArray paragraph = QByteArray("Grüße aus Köln, liebe Grüße = viele Grüße! ").repeated(40).trimmed();
    ASSERT_GT(paragraph.size(), 1800);
    const QList<CapturedMail> mails = mails_for("ann@example.com", paragraph);
    ASSERT_EQ(mails.size(), 2);
    EXPECT_EQ(mails[0].body, "From ann@example.com:\r\n" + paragraph + "\r\n");
    EXPECT_EQ(mails[1].body, "Thanks\r\n");
    for (const CapturedMail &mail : mails) {
        EXPECT_EQ(mail.headers.value("content-transfer-encoding"), "quoted-printable");
        for (const QByteArray &line : mail.raw.split('\n'))
            EXPECT_LE(line.size(), 77) << line.toStdString(); // 76 and the CR
    }
}

// Bounces go to the mail's sender: its From address is the envelope sender
// when it is one address sendmail gets whole, and nothing a visitor sends
// reaches sendmail's arguments.
TEST_F(MailOut, TheSenderGetsTheBounces)
{
    // How the mails are set up, what the visitor posts, and the arguments
    // sendmail gets for the owner's mail and for the auto-response.
    const std::tuple<const char *, std::function<void()>, QByteArray, QByteArrayList, QByteArrayList> cases[] = {
        { "owner_address_and_shop_address", [] {}, "ann@example.com", { "-fowner@example.com" },
            { "-fshop@example.com" } },
        { "visitor_address_with_arguments", [] {}, "ann@example.com -X/tmp/log", { "-fowner@example.com" }, {} },
        { "typed_sender_with_one_quote",
            [] {
                globals::owner_mail()->is_GeneericEmail = true;
                globals::owner_mail()->sender = "o'brien@example.ie";
            },
            "ann@example.com", { "-fo'brien@example.ie" }, { "-fshop@example.com" } },
        { "typed_sender_with_paired_quotes", [] { globals::owner_mail()->sender = "a'b'c@example.com"; },
            "ann@example.com", {}, { "-fshop@example.com" } },
        { "typed_sender_quoted_with_blanks", [] { globals::owner_mail()->sender = "\"a -X/tmp/log\"@example.com"; },
            "ann@example.com", {}, { "-fshop@example.com" } },
        { "typed_sender_with_a_name", [] { globals::auto_mail()->sender = "Shop <shop@example.com>"; },
            "ann@example.com", {}, {} },
    };
    page.prefs().is_autoresponde = true;
    for (const auto &[label, change, email, owner_arguments, reply_arguments] : cases) {
        SCOPED_TRACE(label);
        change();
        const QList<CapturedMail> mails = mails_for(email);
        ASSERT_GE(mails.size(), 1);
        EXPECT_EQ(mails[0].arguments, owner_arguments);
        if (mails.size() > 1)
            EXPECT_EQ(mails[1].arguments, reply_arguments);
        else
            EXPECT_EQ(QByteArray(label), "visitor_address_with_arguments"); // no auto-response to no address
    }
}

// A NUL byte in any kind of field is taken out before any check, and no
// action fails on it.
TEST_F(MailOut, NulBytesAreTakenOutOfEveryValue)
{
    page.prefs().is_autoresponde = page.prefs().is_upload = true;
    record_in_csv();
    page.add("name");
    page.add("colors", "multi select", "colors[]");
    page.add("topics", "multi select", "topics[]"); // a group of check boxes
    Field &zip = page.add("zip");
    zip.validation_type = 2;
    zip.expression_type = 3;
    Field &photo = page.add("photo", "file");
    photo.validation_type = 7;
    photo.max_size = 1;
    photo.upload_folder = "uploads";
    photo.mime_types()->Add("image/gif");
    globals::owner_mail()->set_message("#name#|#comments#|#colors#|#topics#|#zip#|#photo_Name#");

    // The field, what is posted in it, and what arrives.
    const std::tuple<const char *, QByteArray, QByteArray> cases[] = {
        { "name", QByteArray("Eve\0", 4), "Eve|x|red|a|12345|a.gif" },
        { "comments", QByteArray("line\0 two", 9), "Ann|line two|red|a|12345|a.gif" },
        { "colors[]", QByteArray("re\0d", 4), "Ann|x|red|a|12345|a.gif" },
        { "topics[]", QByteArray("\0a", 2), "Ann|x|red|a|12345|a.gif" },
        { "email", QByteArray("eve@example.com\0", 16), "Ann|x|red|a|12345|a.gif" },
        { "zip",
            QByteArray("123\0"
                       "45",
                6),
            "Ann|x|red|a|12345|a.gif" },
        // PHP ends an uploaded file's name at its first NUL byte itself.
        { "photo", QByteArray("a.gif\0.php", 10), "Ann|x|red|a|12345|a.gif" },
    };
    for (const auto &[field, value, arrived] : cases) {
        SCOPED_TRACE(field);
        PhpRequest request;
        for (const auto &[name, normal] :
            std::initializer_list<std::pair<QByteArray, QByteArray>> { { "name", "Ann" }, { "comments", "x" },
                { "colors[]", "red" }, { "topics[]", "a" }, { "email", "eve@example.com" }, { "zip", "12345" } })
            request.add(name, name == field ? value : normal);
        request.uploads.append({ "photo", field == QByteArray("photo") ? value : "a.gif", "GIF89a", "image/gif" });
        ASSERT_EQ(post(request).body, "ok");
        const QList<CapturedMail> mails = php.take_mails();
        ASSERT_EQ(mails.size(), 2);
        EXPECT_EQ(mails[0].body, arrived + "\r\n");
        EXPECT_EQ(mails[1].headers.value("to"), "eve@example.com");
        EXPECT_FALSE(read_file("data.csv").contains('\0'));
        QDir(php.path("uploads")).removeRecursively();
    }
    // What remains of a value still has to pass its rule.
    PhpRequest request = PhpRequest().add("zip", QByteArray("1234\0", 5));
    EXPECT_EQ(post(request).body, "<p class=\"error\">bad zip</p>");
}

// ---- Uploads ----

class UploadNames : public VisitorTest
{
protected:
    void SetUp() override
    {
        page.prefs().success_message = "ok";
        page.prefs().is_upload = true;
        photo = &page.add("photo", "file");
        photo->validation_type = 7;
        photo->max_size = 1;
        photo->upload_folder = "uploads";
        photo->mime_types()->Add("image/gif");
        photo->mime_types()->Add("image/jpeg");
    }

    QByteArray upload(const QByteArray &name, const QByteArray &mime = "image/gif")
    {
        PhpRequest request;
        request.uploads.append({ "photo", name, "GIF89a", mime });
        return post(request).body;
    }

    QStringList stored() { return QDir(php.path("uploads")).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    Field *photo = nullptr;
};

// Only a name ending in an extension of a permitted type is stored, however
// the file was declared: any other a browser might run as a page.
TEST_F(UploadNames, OnlyExtensionsOfThePermittedTypesAreStored)
{
    const QByteArray refused = "<p class=\"error\">bad photo</p>";
    for (const char *name : { "note.xhtm", "note.xsd", "note", "tool.exe", "photo.gif.exe", "photo.", "photo.png",
             "shell.php.gif", "photo.svg" })
        EXPECT_EQ(upload(name), refused) << name;
    EXPECT_EQ(stored(), QStringList());
    for (const char *name : { "photo.gif", "CAMERA.JPG", "scan.jpeg", "my.holiday.jpe" })
        EXPECT_EQ(upload(name, "image/jpeg"), "ok") << name;
    EXPECT_EQ(stored(), QStringList({ "CAMERA.JPG", "my.holiday.jpe", "photo.gif", "scan.jpeg" }));

    // Without a permitted type, the names of every type offered.
    photo->mime_types()->Clear();
    QDir(php.path("uploads")).removeRecursively();
    for (const char *name : { "note.xsd", "note", "tool.exe", "image.svg" })
        EXPECT_EQ(upload(name, "application/octet-stream"), refused) << name;
    for (const char *name : { "a.gif", "b.pdf", "c.docx", "d.txt", "e.zip" })
        EXPECT_EQ(upload(name, "application/octet-stream"), "ok") << name;
    EXPECT_EQ(stored(), QStringList({ "a.gif", "b.pdf", "c.docx", "d.txt", "e.zip" }));
}

// Every upload of one name is kept, however many came before: numbered
// names first, then random ones.
TEST_F(UploadNames, AFreeNameIsAlwaysFound)
{
    page.prefs().is_email = true;
    cmail &owner = *globals::owner_mail();
    owner.is_GeneericEmail = true;
    owner.sender = owner.email_to = "owner@example.com";
    owner.message_lines()->Add("$photo_URL");
    photo->upload_url = "http://example.com/uploads";
    page.form->is_send_ip = false;
    ASSERT_TRUE(QDir(php.folder()).mkpath("uploads"));
    for (int n = 0; n < 10000; ++n)
        write_file(n ? QString("uploads/a_%1.gif").arg(n) : QString("uploads/a.gif"), "old");
    ASSERT_EQ(upload("a.gif"), "ok");
    ASSERT_EQ(upload("a.gif"), "ok");
    QStringList added = stored().filter(QRegularExpression("^a_[0-9a-f]{16}\\.gif$"));
    ASSERT_EQ(added.size(), 2);
    EXPECT_EQ(read_file("uploads/" + added[0]), "GIF89a");
    EXPECT_EQ(read_file("uploads/" + added[1]), "GIF89a");
    EXPECT_EQ(stored().size(), 10002);
    EXPECT_EQ(read_file("uploads/a_9999.gif"), "old");
    EXPECT_EQ(read_file("uploads/a.gif"), "old");
    QList<CapturedMail> mails = php.take_mails();
    ASSERT_EQ(mails.size(), 2);
    EXPECT_TRUE(added.contains(QString::fromUtf8(mails[0].body.trimmed()).section('/', -1)));

    // Below the random names, the numbers.
    QDir(php.path("uploads")).removeRecursively();
    for (const char *expected : { "a.gif", "a_1.gif", "a_2.gif" }) {
        ASSERT_EQ(upload("a.gif"), "ok");
        EXPECT_EQ(php.take_mails().value(0).body, "http://example.com/uploads/" + QByteArray(expected) + "\r\n");
    }
}

// ---- Checks ----

// Every character a mail address may hold unquoted passes the e-mail rule,
// junk around an address does not, and every address that passes is one
// PHP's own address filter takes, so the mail code never drops it.
TEST_F(VisitorTest, TheEmailRuleTakesEveryValidAddressAndOnlyThose)
{
    const std::pair<const char *, bool> addresses[] = {
        { "o'brien@example.ie", true },
        { "anne.o'neill@example.co.uk", true },
        { "a!#$%&'*+/=?^_`{|}~-z@example.com", true },
        { "first.last+tag@mail.example.org", true },
        { "x@example.com", true },
        { "o'brien@example.ie junk", false },
        { "<o'brien@example.ie>", false },
        { "Anne <anne@example.com>", false },
        { ".anne@example.com", false },
        { "anne.@example.com", false },
        { "an..ne@example.com", false },
        { "anne@example", false },
        { "anne@-example.com", false },
        { "anne@exa_mple.com", false },
        { "anne@example.123", false },
        { "\"an ne\"@example.com", false },
        { "an\"ne@example.com", false },
        { "anne@example.com\n", false },
        { "anne(x)@example.com", false },
        { "anne@[192.0.2.1]", false },
    };
    page.prefs().success_message = "ok";
    Field &email = page.add("email");
    email.validation_type = 2;
    email.expression_type = 0;
    QByteArray filter = "<?php\n";
    for (const auto &[address, valid] : addresses) {
        EXPECT_EQ(post(PhpRequest().add("email", address)).body, valid ? "ok" : "<p class=\"error\">bad email</p>")
            << address;
        if (valid) {
            filter += "echo filter_var(base64_decode('" + QByteArray(address).toBase64()
                + "'), FILTER_VALIDATE_EMAIL) === false ? 'dropped ' : 'kept ';\n";
        }
    }
    write_file("filter.php", filter);
    EXPECT_EQ(php.run_cli("filter.php").body, QByteArray("kept ").repeated(5));
}

// Banned addresses match however either side writes them.
TEST_F(VisitorTest, BannedAddressesAreComparedAsAddresses)
{
    page.prefs().success_message = "ok";
    page.add("name");
    globals::web_page()->blocked_ips()->Add("192.0.2.1");
    const QByteArray banned = "Sorry your IP is banned!";
    // The list, the visitor's address, and whether the visitor is refused.
    const std::tuple<QByteArray, QByteArray, bool> cases[] = {
        { "192.0.2.1\r\n", "::ffff:192.0.2.1", true },
        { "::ffff:192.0.2.1\r\n", "192.0.2.1", true },
        { "\xEF\xBB\xBF"
          "192.0.2.1\r\n10.0.0.1\r\n",
            "192.0.2.1", true },
        { "2001:DB8:0:0:0:0:0:1\r\n", "2001:db8::1", true },
        { "2001:db8::1\n", "2001:0db8:0000::0001", true },
        { "not an address\r\n# the office\r\n\r\n  192.0.2.1  \r\n", "192.0.2.1", true },
        { "192.0.2.1\r\n", "192.0.2.10", false },
        { "192.0.2.0/24\r\n192.0.2\r\n", "192.0.2.5", false },
        { "::ffff:192.0.2.1\r\n", "::1", false },
        { "\r\n\r\n", "", false },
    };
    for (const auto &[list, visitor, refused] : cases) {
        SCOPED_TRACE(list.toStdString() + " / " + visitor.toStdString());
        write_file("blockedIPs.txt", list);
        PhpRequest request = PhpRequest().add("name", "Ann");
        request.remote_addr = visitor;
        EXPECT_EQ(post(request).body, refused ? banned : "ok");
    }
}

} // namespace
