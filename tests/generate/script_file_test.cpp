// Uploads as stored on the server, and the address the script gives them.
#include "ScriptTest.h"

#include "generate/cmail.h"
#include "model/globals.h"

#include <QDir>

namespace {

class StoredFile : public ScriptTest
{
protected:
    void SetUp() override
    {
        redirect_results();
        page.prefs().is_upload = true;
        page.prefs().is_email = true;
        Field &photo = page.add(QStringLiteral("photo"), QStringLiteral("file"));
        photo.validation_type = 7;
        photo.max_size = 1; // one thousand bytes
        photo.upload_folder = QStringLiteral("uploads\\");
        photo.upload_url = QStringLiteral("http://example.com/uploads/");
        photo.mime_types()->Add(QStringLiteral("image/gif"));
        photo.mime_types()->Add(QStringLiteral("image/png"));
        cmail &owner = *globals::owner_mail();
        owner.is_GeneericEmail = true;
        owner.sender = QStringLiteral("forms@example.com");
        owner.email_to = QStringLiteral("owner@example.com");
        owner.message_lines()->Add(QStringLiteral("$photo_URL"));
        page.form->is_send_ip = false;
    }

    PhpResponse upload(
        const QByteArray &filename, const QByteArray &content = "GIF89a data", const QByteArray &mime = "image/gif")
    {
        PhpRequest request;
        request.uploads.append({ "photo", filename, content, mime });
        return post(request);
    }

    QStringList stored() { return QDir(php.path(QStringLiteral("uploads"))).entryList(QDir::Files | QDir::Hidden); }

    QByteArray mailed_address()
    {
        const auto mails = php.take_mails();
        return mails.size() == 1 ? mails.front().body : QByteArray("no single mail");
    }
};

TEST_F(StoredFile, UploadIsStoredAndItsAddressMailed)
{
    ASSERT_EQ(upload("my photo!.gif").location(), "thanks.html");
    EXPECT_EQ(stored(), QStringList { QStringLiteral("my_photo_.gif") });
    EXPECT_EQ(read_file(QStringLiteral("uploads/my_photo_.gif")), "GIF89a data");
    EXPECT_EQ(mailed_address(), "http://example.com/uploads/my_photo_.gif\r\n");

    // A second file of that name keeps the first.
    ASSERT_EQ(upload("my photo!.gif", "second").location(), "thanks.html");
    EXPECT_EQ(read_file(QStringLiteral("uploads/my_photo_.gif")), "GIF89a data");
    EXPECT_EQ(read_file(QStringLiteral("uploads/my_photo__1.gif")), "second");
    EXPECT_EQ(mailed_address(), "http://example.com/uploads/my_photo__1.gif\r\n");
}

TEST_F(StoredFile, FolderPartsOfTheNameAreDropped)
{
    ASSERT_EQ(upload("..\\..\\etc/passwd.png", "x", "image/png").location(), "thanks.html");
    EXPECT_EQ(stored(), QStringList { QStringLiteral("passwd.png") });
}

TEST_F(StoredFile, RefusedUploadsStoreNothing)
{
    const QByteArray big(1001, 'x');
    const struct
    {
        QByteArray name;
        QByteArray content;
        QByteArray mime;
    } refused[] = {
        { "photo.gif", big, "image/gif" },
        { "photo.gif", "", "image/gif" },
        { "photo.jpg", "x", "image/jpeg" },
        { "shell.php.gif", "x", "image/gif" },
        { "x.pHp", "x", "image/gif" },
        { "x.php5", "x", "image/gif" },
        { ".htaccess", "x", "image/gif" },
        { "run.cgi.png", "x", "image/png" },
        { "page.shtml", "x", "image/gif" },
        { "../.hidden.gif", "x", "image/gif" },
    };
    for (const auto &file : refused)
        EXPECT_EQ(upload(file.name, file.content, file.mime).location(), "sorry.html") << file.name.toStdString();
    EXPECT_EQ(stored(), QStringList());
    EXPECT_TRUE(php.take_mails().isEmpty());
    EXPECT_EQ(post(PhpRequest()).location(), "sorry.html"); // no file at all
}

} // namespace
