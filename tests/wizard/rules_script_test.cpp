// From an HTML page to a running script: the form is read on the first
// page, rules are set on the field-rules page through its controls, and the
// generated script checks posted values as those rules say.
#include "RulesPageTest.h"

#include "PhpRunner.h"

#include "wizard/CommonDialog.h"
#include "wizard/Startup.h"

#include "generate/CPHP_script.h"

#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>

namespace {

class RulesToScript : public RulesPageTest
{
protected:
    struct Posted
    {
        const char *name;
        QByteArray fullname = "Ann Lee";
        QByteArray age = "30";
        QByteArray email = "ann@example.com";
        QByteArray color = "Green";
        QByteArray photo = "GIF89a tiny picture";
        QByteArray photo_type = "image/gif";
    };

    PhpResponse post(const Posted &values)
    {
        PhpRequest request;
        request.add("fullname", values.fullname)
            .add("age", values.age)
            .add("email", values.email)
            .add("color", values.color);
        request.uploads.append({ "photo", "me.gif", values.photo, values.photo_type });
        return php.run(QStringLiteral("send.php"), request);
    }

    PhpRunner php;
};

TEST_F(RulesToScript, GeneratedChecksFollowTheRulesSetOnThePage)
{
    // The page, read through the first page's Browse.
    QTemporaryDir folder;
    const QString html = folder.filePath(QStringLiteral("contact.html"));
    write_file(html,
        "<html><body><form action='send.php' method='post' enctype='multipart/form-data'>"
        "<input name='fullname'> <input name='age'> <input name='email'>"
        "<select name='color'><option>red</option><option>green</option></select>"
        "<input type='file' name='photo'> <input type='submit' value='Send'>"
        "</form></body></html>");
    ASSERT_TRUE(start_wizard(QString()));
    QWidget *first = WizardFrame::instance().window(WizardPage::frmStep1);
    settle();
    CommonDialog::script(CommonDialog::Answer::chosen_file(html));
    click(first, "Browse");
    ASSERT_EQ(last_message(), QStringLiteral("HTML Form is successfully loaded "));
    click(first, "cmdNext");
    ASSERT_TRUE(page()->isVisible());
    EXPECT_FALSE(first->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(page()));
    EXPECT_EQ(control<QListWidget>("lstfields")->count(), 5);

    select("fullname");
    control<QCheckBox>("chknull")->click();
    type_alert(QStringLiteral("Please type your name"));

    select("age");
    choose("cmbvalidation", "Numeric range");
    type("txtmin", "18");
    type("txtmax", "99");
    type_alert(QStringLiteral("Your age must be 18 to 99"));

    select("email");
    choose("cmbvalidation", "Email address");
    type_alert(QStringLiteral("That is no e-mail address"));

    select("color");
    choose("cmbvalidation", "List of values");
    add_value("red");
    add_value("green");
    type_alert(QStringLiteral("Please pick red or green"));

    select("photo");
    // A file field left unchecked is not let through.
    click(page(), "cmdNext");
    ASSERT_EQ(last_message(),
        QStringLiteral("Please specify the upload setting of field 'photo' To be able to receive it on your server. "));
    control<QCheckBox>("chknull")->click(); // an upload is never "required": its own check asks for the file
    choose("cmbvalidation", "Uploaded file");
    EXPECT_FALSE(field("photo").required);
    type("txtsize", "1");
    type("txtdestination", "uploads");
    type("txturl", "http://example.com/uploads");
    pick_types({ "image/gif" });
    type_alert(QStringLiteral("Send a GIF of at most 1 KB"));
    settle();
    save_picture(page(), QStringLiteral("field-rules-upload.png"));

    const qsizetype told = messages().size();
    click(page(), "cmdNext");
    EXPECT_EQ(messages().size(), told);
    EXPECT_FALSE(page()->isVisible());
    EXPECT_TRUE(WizardFrame::instance().window(WizardPage::frmStep7)->isVisible());
    EXPECT_TRUE(globals::prefs()->is_upload);

    // The script, as the output page has it written.
    globals::prefs()->php_des = php.path(QStringLiteral("send.php"));
    globals::prefs()->success_message = QStringLiteral("Thank you");
    globals::php_script()->prepare_script();

    const Posted cases[] = {
        { "accepted" },
        { "no name", "" },
        { "too young", "Ann", "17" },
        { "too old", "Ann", "100" },
        { "age not a number", "Ann", "thirty" },
        { "bad address", "Ann", "30", "ann.example.com" },
        { "colour not listed", "Ann", "30", "ann@example.com", "blue" },
        { "file too big", "Ann", "30", "ann@example.com", "red", QByteArray(1001, 'x') },
        { "type not allowed", "Ann", "30", "ann@example.com", "red", "%PDF-1.4", "application/pdf" },
    };
    const char *const alerts[] = { nullptr, "Please type your name", "Your age must be 18 to 99",
        "Your age must be 18 to 99", "Your age must be 18 to 99", "That is no e-mail address",
        "Please pick red or green", "Send a GIF of at most 1 KB", "Send a GIF of at most 1 KB" };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const PhpResponse response = post(cases[i]);
        EXPECT_EQ(response.errors, QByteArray()) << cases[i].name;
        const QByteArray body = response.body;
        if (!alerts[i]) {
            EXPECT_TRUE(body.contains("Thank you")) << cases[i].name << ": " << body.toStdString();
        } else {
            EXPECT_TRUE(body.contains(alerts[i])) << cases[i].name << ": " << body.toStdString();
            EXPECT_FALSE(body.contains("Thank you")) << cases[i].name;
        }
    }
    EXPECT_EQ(QDir(php.path(QStringLiteral("uploads"))).entryList(QDir::Files), QStringList { "me.gif" });
}

} // namespace
