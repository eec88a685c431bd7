// Generated scripts run by php-cgi on what real visitors, browsers and servers send.
#include "ScriptTest.h"
#include "support/QtPrinters.h"

#include "generate/CSV.h"
#include "model/Forms.h"
#include "model/HtmlEncodingDecoder.h"
#include "model/webpage.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringEncoder>

namespace {

using namespace Qt::Literals::StringLiterals;

class Visitor : public ScriptTest
{
protected:
    void SetUp() override { page.prefs().success_message = "ok"; }

    // The owner is mailed `message`, replying to the visitor's `email`, who gets a reply; `comments` is a text area.
    Field &mail_both(const QString &message)
    {
        Field &email = page.add("email");
        page.add("comments", "textarea");
        page.form->is_send_ip = false;
        page.prefs().is_email = page.prefs().is_autoresponde = true;
        cmail &owner = *globals::owner_mail(), &reply = *globals::auto_mail();
        std::tie(owner.sender, owner.email_to) = std::pair("email", "owner@example.com, boss@example.com");
        owner.set_message(message);
        std::tie(reply.is_autoresponde, reply.sender, reply.email_to) = std::tuple(true, "shop@example.com", "$email");
        reply.set_message("Thanks");
        return email;
    }

    QList<CapturedMail> mails_for(const PhpRequest &request)
    {
        EXPECT_EQ(post(request).body, "ok");
        return php.take_mails();
    }

    // GIF and JPEG files are stored in uploads/.
    Field &take_uploads(Field &photo)
    {
        page.prefs().is_upload = true;
        std::tie(photo.validation_type, photo.max_size, photo.upload_folder) = std::tuple(7, 1, "uploads");
        photo.mime_types()->Add("image/gif");
        photo.mime_types()->Add("image/jpeg");
        return photo;
    }

    QByteArray upload(const QByteArray &name, const QByteArray &mime = "image/gif")
    {
        return post({ .uploads = { { "photo", name, "GIF89a", mime } } }).body;
    }

    QStringList stored() { return QDir(php.path("uploads")).entryList(QDir::Files, QDir::Name); }
};

// A page in another character set posts its bytes: checks count characters, and every action gets UTF-8.
TEST_F(Visitor, ValuesFromAPageInAnotherCharacterSetArriveAsUtf8)
{
    write_file("page.html",
        "<meta charset=windows-1252><form method=post><input name='pr\xE9nom'><input type=file name=photo>");
    webpage reader;
    reader.path = php.path("page.html");
    reader.ReadForms();
    ASSERT_EQ(reader.nforms, 1);
    page.form->set_fields(reader.forms->Item(1)->fields());
    page.form->encoding = reader.forms->Item(1)->encoding;
    Field &name = *page.form->fields()->Item("prénom");
    std::tie(name.validation_type, name.length_operator1, name.length_min) = std::tuple(4, 0, 6); // at most six
    take_uploads(*page.form->fields()->Item("photo"));
    mail_both("#prénom# #photo_Name#");
    const PhpRequest request { .fields = { { "pr\xE9nom", "M\xFCller\0"_ba } },
        .uploads = { { "photo", "r\xE9sum\xE9.gif", "GIF89a", "image/gif" } } };
    EXPECT_EQ(mails_for(request).value(0).body, "Müller r__sum__.gif\r\n"); // each of é's two bytes made safe
    EXPECT_TRUE(post(PhpRequest().add("pr\xE9nom", "M\xFCllers")).body.contains("valid prénom"));

    // Other pages: UTF-8 as it is, and characters only Microsoft's CJK tables have.
    globals::owner_mail()->set_message("#comments#");
    for (const auto &[encoding, bytes] : { std::pair("UTF-8"_ba, "M\xC3\xBCller"_ba),
             { "GBK", "\xD5\xC5\xCE\xB0 \x80" }, { "Shift_JIS", "\x8E\x52\x93\x63 \x87\x40\x81\x60" } }) {
        page.form->encoding = encoding;
        EXPECT_EQ(mails_for(PhpRequest().add("comments", bytes)).value(0).body,
            HtmlEncodingDecoder::decode(bytes, encoding) + "\r\n")
            << encoding.constData();
    }
    // One byte the form's character set cannot read goes, and only that byte, even a character cut off at the end.
    const std::tuple<QByteArray, QByteArray, QByteArray> bad_bytes[] = {
        { "windows-1251", "\xCF\xF0\x98\xE8\xE2\xE5\xF2", "Привет" },
        { "Shift_JIS", "\x82\xA0\xFF\x82\xA2", "あい" },
        { "Shift_JIS", "\x82\xA0\x82\xA2\x82", "あい" },
        { "UTF-8", "M\xFCller \xE2\x82!", "Mller !" },
    };
    for (const auto &[encoding, bytes, text] : bad_bytes) {
        page.form->encoding = encoding;
        EXPECT_EQ(mails_for(PhpRequest().add("comments", bytes)).value(0).body, text + "\r\n") << encoding.constData();
    }
    // A page that names none is posted in the browser's own character set, or in UTF-8 where the server says so.
    write_file("plain.html", "<form method=post><textarea name=comments></textarea></form>");
    reader.path = php.path("plain.html");
    reader.ReadForms();
    ASSERT_EQ(reader.nforms, 1);
    page.form->encoding = reader.forms->Item(1)->encoding;
    page.form->encoding_declared = reader.forms->Item(1)->encoding_declared;
    page.prefs().is_csv = true;
    globals::csv_file()->filename = "data.csv";
    for (const QByteArray &bytes : { "M\xFCller \x80"_ba, "M\xC3\xBCller \xE2\x82\xAC"_ba })
        EXPECT_EQ(mails_for(PhpRequest().add("comments", bytes)).value(0).body, "Müller €\r\n");
    EXPECT_EQ(read_file("data.csv").count("Müller €"), 2);
    php.arguments << "-n"; // a PHP without iconv keeps what is ASCII, never broken text
    EXPECT_EQ(mails_for(PhpRequest().add("comments", "a\xB1z")).value(0).body, "az\r\n");
}

// Bounces go to a mail's From address when sendmail gets it whole; nothing a visitor sends reaches sendmail.
TEST_F(Visitor, TheSenderGetsTheBounces)
{
    mail_both("#email#");
    // The owner mail's typed sender (none: the visitor's), the visitor's address, sendmail's arguments of both mails.
    const std::tuple<const char *, QByteArray, QByteArrayList> cases[] = {
        { "", "ann@example.com", { "-fowner@example.com", "-fshop@example.com" } },
        { "", "ann@example.com -X/tmp/log", { "-fowner@example.com" } },
        { "o'brien@example.ie", "ann@example.com", { "-fo'brien@example.ie", "-fshop@example.com" } },
        { "a'b'c@example.com", "ann@example.com", { "-fshop@example.com" } },
        { "\"a -X/tmp/log\"@example.com", "ann@example.com", { "-fshop@example.com" } },
        { "Owner <owner@example.com>", "ann@example.com", { "-fshop@example.com" } },
    };
    for (const auto &[sender, email, arguments] : cases) {
        globals::owner_mail()->is_GeneericEmail = *sender;
        globals::owner_mail()->sender = *sender ? sender : "email";
        QByteArrayList given;
        for (const CapturedMail &mail : mails_for(PhpRequest().add("email", email)))
            given += mail.arguments;
        EXPECT_EQ(given, arguments) << sender << " / " << email.constData();
    }
}

// NUL bytes are taken out of every kind of field before any check; long paragraphs travel in short lines.
TEST_F(Visitor, MailsCarryEveryValueCleanAndWhole)
{
    page.add("colors", "multi select", "colors[]");
    page.add("topics", "multi select", "topics[]"); // a group of check boxes
    Field &zip = page.add("zip");
    std::tie(zip.validation_type, zip.expression_type) = std::pair(2, 3);
    mail_both("From #email#:\n#comments#|#colors#|#topics#|#zip#");
    const QByteArray paragraph = QByteArray("Grüße aus Köln, liebe Grüße = viele Grüße! ").repeated(40).trimmed();
    const QList<CapturedMail> mails
        = mails_for({ .fields = { { "email", "eve@example.com\0"_ba }, { "comments", "\0" + paragraph },
                          { "colors[]", "re\0d"_ba }, { "topics[]", "\0a"_ba }, { "zip", "12345\0"_ba } } });
    ASSERT_EQ(mails.size(), 2);
    EXPECT_EQ(mails[0].body, "From eve@example.com:\r\n" + paragraph + "|red|a|12345\r\n");
    EXPECT_EQ(mails[1].headers.value("to"), "eve@example.com");
    for (const CapturedMail &mail : mails) {
        EXPECT_EQ(mail.headers.value("content-transfer-encoding"), "quoted-printable");
        for (const QByteArray &line : mail.raw.split('\n'))
            EXPECT_LE(line.size(), 77) << line.constData(); // 76 and the CR
    }
    // What remains of a value still has to pass its rule.
    EXPECT_EQ(post(PhpRequest().add("zip", "1234\0"_ba)).body, "<p class=\"error\">bad zip</p>");

    // Mostly ASCII stays quoted-printable; other letters go as base64, at most 1.4 times their size. Bytes beyond
    // ASCII: about 2/5, 2/3 and 4/5 of the body.
    const QByteArray cyrillic = u"Привет, мир! "_s.repeated(23077).left(300000).toUtf8();
    const QByteArray under_half = u"ñabc "_s.repeated(400).toUtf8(), two_thirds = u"añá "_s.repeated(400).toUtf8();
    for (const auto &[text, encoding] : { std::pair(paragraph, "quoted-printable"_ba),
             { under_half, "quoted-printable" }, { two_thirds, "base64" }, { cyrillic, "base64" } }) {
        const CapturedMail mail = mails_for(PhpRequest().add("email", "eve@example.com").add("comments", text))[0];
        EXPECT_EQ(mail.headers.value("content-transfer-encoding"), encoding);
        EXPECT_EQ(mail.body.trimmed(), "From eve@example.com:\r\n" + text + "|||");
        const QByteArray sent = mail.raw.mid(mail.raw.indexOf("\r\n\r\n") + 4);
        EXPECT_TRUE(encoding != "base64" || sent.size() <= 1.4 * mail.body.size()) << sent.size();
        for (const QByteArray &line : sent.split('\n'))
            ASSERT_LE(line.size(), 77);
    }
}

// Only names a browser will not run as a page are stored, and always under a free one.
TEST_F(Visitor, UploadsAreStoredOnlyUnderNamesOfTheirTypesAndNeverOverwritten)
{
    Field &photo = take_uploads(page.add("photo", "file"));
    const QByteArray refused = "<p class=\"error\">bad photo</p>";
    for (const char *name : { "note.xhtm", "note.xsd", "note", "tool.exe", "photo.gif.exe", "photo.png",
             "shell.php.gif", "promo.var.jpg", "promo.shtml.jpg", "feed.rss.xml", "old.jfif" })
        EXPECT_EQ(upload(name), refused) << name;
    for (const char *name : { "photo.gif", "CAMERA.JPG", "my.holiday.jpe", "my.holiday.photo.jpg", "feed.rss.jpg" })
        EXPECT_EQ(upload(name, "image/jpeg"), "ok") << name;
    EXPECT_EQ(
        stored(), QStringList({ "CAMERA.JPG", "feed.rss.jpg", "my.holiday.jpe", "my.holiday.photo.jpg", "photo.gif" }));

    // After _99 a random number, never _100.
    for (int n = 1; n < 100; ++n)
        write_file(QString("uploads/photo_%1.gif").arg(n), "old");
    ASSERT_EQ(upload("photo.gif"), "ok");
    const QStringList random = stored().filter(QRegularExpression("^photo_[0-9a-f]{16}\\.gif$"));
    ASSERT_EQ(random.size(), 1) << stored().join(' ').toStdString();
    ASSERT_TRUE(QFile::remove(php.path("uploads/" + random[0])));

    for (int n = 100; n < 10000; ++n)
        write_file(QString("uploads/photo_%1.gif").arg(n), "old");
    ASSERT_EQ(upload("photo.gif"), "ok");
    const QStringList added = stored().filter(QRegularExpression("^photo_[0-9a-f]{16}\\.gif$"));
    ASSERT_EQ(added.size(), 1);
    EXPECT_EQ(read_file("uploads/" + added[0]), "GIF89a");
    EXPECT_EQ(read_file("uploads/photo_9999.gif"), "old");
    // A name as long as a file system takes, sent again, makes room for its number.
    const QByteArray longest = QByteArray(251, 'b') + ".gif";
    ASSERT_EQ(upload(longest), "ok");
    ASSERT_EQ(upload(longest), "ok");
    EXPECT_EQ(stored().filter(QRegularExpression("^b{234}_1\\.gif$")).size(), 1);

    // Without a permitted type, the names of every type offered, declared as anything but a page.
    photo.mime_types()->Clear();
    for (const char *name : { "note.xsd", "image.svg" })
        EXPECT_EQ(upload(name, "application/octet-stream"), refused) << name;
    for (const char *name : { "b.pdf", "c.docx" })
        EXPECT_EQ(upload(name, "application/octet-stream"), "ok") << name;
    for (const char *declared : { "text/html", "image/svg+xml", "Text/HTML; charset=UTF-8", "text/javascript" })
        EXPECT_EQ(upload("d.jpg", declared), refused) << declared;
    // A server runs a file by any handler's extension in its name, and serves it as its last extension's type:
    // inner words that are only other types' extensions are honest names.
    for (const char *name : { "cv.es.pdf", "Menu.ES.pdf", "road.map.jpg", "release.dist.pdf", "scan.its.jpg",
             "madrid.es.jpg", "route.kml.png", "ROUTE.KML.PNG" })
        EXPECT_EQ(upload(name, "application/octet-stream"), "ok") << name;
    for (const char *name : { "promo.var.jpg", "x.php.jpg", "x.phtml.png", "x.shtml.jpg", "x.html.jpg", "x.svg.png",
             "X.PHP.JPG", "route.png.kml" })
        EXPECT_EQ(upload(name, "application/octet-stream"), refused) << name;
    // A type the owner added to the types file takes the names the media-type table gives it.
    photo.mime_types()->Add("audio/mpeg");
    for (const char *name : { "song.mp3", "song.mpga" })
        EXPECT_EQ(upload(name, "audio/mpeg"), "ok") << name;
    EXPECT_EQ(stored().size(), 5 + 9999 + 1 + 2 + 2 + 8 + 2); // none overwritten

    // Platforms name some types apart: each permitted type takes what browsers declare for its files, and the
    // file's name still decides; archives declared by Windows' names are stored as zip or rar.
    photo.mime_types()->Clear();
    for (const char *type :
        { "audio/x-wav", "audio/mp4", "image/heic", "application/x-zip-compressed", "application/x-rar-compressed" })
        photo.mime_types()->Add(type);
    const std::pair<const char *, const char *> declared[]
        = { { "a.wav", "audio/wav" }, { "b.m4a", "audio/x-m4a" }, { "c.heic", "image/heif" },
              { "d.wav", "audio/x-wav" }, { "e.zip", "application/zip" }, { "f.zip", "application/x-zip-compressed" },
              { "g.rar", "application/x-rar-compressed" }, { "h.rar", "application/vnd.rar" } };
    for (const auto &[name, type] : declared)
        EXPECT_EQ(upload(name, type), "ok") << name << " " << type;
    for (const auto &[name, type] : { std::pair("page.html", "audio/wav"), { "song.wav", "text/html" },
             { "tool.exe", "audio/wav" }, { "song.wav", "image/svg+xml" }, { "e.zip", "audio/mpeg" } })
        EXPECT_EQ(upload(name, type), refused) << name << " " << type;
    EXPECT_EQ(stored().filter(QRegularExpression("^[a-h]\\.(wav|m4a|heic|zip|rar)$")).size(), 8);
}

// Addresses of every unquoted character pass, and stay the owner's Reply-To; junk around one still fails.
TEST_F(Visitor, TheEmailRuleTakesEveryValidAddressAndOnlyThose)
{
    Field &email = mail_both("#email#");
    std::tie(email.validation_type, email.expression_type) = std::pair(2, 0);
    for (const char *address : { "o'brien@example.ie", "anne.o'neill@example.co.uk", "a!#$%&'*+/=?^_`{|}~-z@x.com" })
        EXPECT_EQ(mails_for(PhpRequest().add("email", address)).value(0).headers.value("reply-to"), address);
    for (const char *junk :
        { "o'brien@example.ie junk", "<o'brien@example.ie>", ".anne@example.com", "an..ne@example.com", "anne@example",
            "anne@exa_mple.com", "anne@-example.com", "\"an ne\"@example.com", "anne@example.com\n" })
        EXPECT_EQ(post(PhpRequest().add("email", junk)).body, "<p class=\"error\">bad email</p>") << junk;
}

// Banned addresses match however either side writes them.
TEST_F(Visitor, BannedAddressesAreComparedAsAddresses)
{
    globals::web_page()->blocked_ips()->Add("192.0.2.1");
    const auto unicode = [](QStringEncoder::Encoding order, const QString &text) -> QByteArray {
        return QStringEncoder(order, QStringEncoder::Flag::WriteBom).encode(text);
    };
    // The list, the visitor's address, and whether the visitor is refused.
    const std::tuple<QByteArray, QByteArray, bool> cases[] = {
        { "192.0.2.1\r\n", "::ffff:192.0.2.1", true },
        { "\uFEFF192.0.2.1\r\n10.0.0.1\r\n", "192.0.2.1", true },
        { "2001:DB8:0:0:0:0:0:1\r\n", "2001:db8::1", true },
        { "not an address\r\n\r\n  192.0.2.1  \r\n", "192.0.2.1", true },
        { "192.0.2.1\r\n", "192.0.2.10", false },
        { "::ffff:192.0.2.1\r\n", "::1", false },
        { "\r\n# comment\r\n", "", false },
        // Saved as "Unicode", either byte order; with junk; with old Mac line ends.
        { unicode(QStringEncoder::Utf16LE, u"10.0.0.1\r\n192.0.2.1"_s), "192.0.2.1", true },
        { unicode(QStringEncoder::Utf16BE, u"192.0.2.1\r\n"_s), "192.0.2.1", true },
        { unicode(QStringEncoder::Utf16LE, u"\u013192.0.2.1"_s), "192.0.2.1", false }, // low byte "1"
        { "1\0\xFF\xFE\r\n\x80\xFF\r\n192.0.2.1"_ba, "192.0.2.1", true },
        { "10.0.0.1\r192.0.2.1\r", "192.0.2.1", true },
    };
    for (const auto &[list, visitor, refused] : cases) {
        write_file("blockedIPs.txt", list);
        EXPECT_EQ(post({ .remote_addr = visitor }).body, refused ? "Sorry your IP is banned!" : "ok")
            << list.constData() << " / " << visitor.constData();
    }
}

} // namespace
