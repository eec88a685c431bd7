// The mails a submission sends, as sendmail received them.
#include "ScriptTest.h"

#include "generate/cmail.h"
#include "model/globals.h"

namespace {

class Mail : public ScriptTest
{
protected:
    void SetUp() override
    {
        page.prefs().success_message = QStringLiteral("ok");
        page.add(QStringLiteral("email"));
        page.add(QStringLiteral("name"));
        page.add(QStringLiteral("city"));

        cmail &owner = *globals::owner_mail();
        owner.sender = QStringLiteral("email");
        owner.email_to = QStringLiteral("owner@example.com,boss@example.com");
        owner.subject = QStringLiteral("New \"order\"");
        owner.message_lines()->Add(QStringLiteral("Name: $name\\n"));
        owner.message_lines()->Add(QStringLiteral("City: $city costs $5"));

        cmail &reply = *globals::auto_mail();
        reply.is_autoresponde = true;
        reply.sender = QStringLiteral("shop@example.com");
        reply.email_to = QStringLiteral("$email");
        reply.subject = QStringLiteral("Thank you");
        reply.message_lines()->Add(QStringLiteral("Dear $name,\\n"));
        reply.message_lines()->Add(QStringLiteral("we got it."));
    }

    PhpRequest visitor(const QByteArray &email)
    {
        return PhpRequest().add("email", email).add("name", "Ann \"A\" O'Neil").add("city", "Paris");
    }
};

TEST_F(Mail, OwnerGetsTheValuesAndTheVisitorsAddress)
{
    page.prefs().is_email = true;
    ASSERT_EQ(post(visitor("ann@example.com")).body, "ok");
    const auto mails = php.take_mails();
    ASSERT_EQ(mails.size(), 1);
    const CapturedMail &mail = mails.front();
    EXPECT_EQ(mail.headers.value("to"), "owner@example.com,boss@example.com");
    EXPECT_EQ(mail.headers.value("subject"), "New \"order\"");
    EXPECT_EQ(mail.headers.value("from"), "ann@example.com");
    EXPECT_EQ(mail.headers.value("reply-to"), "ann@example.com");
    EXPECT_EQ(mail.body, "Visitor's IP: 203.0.113.7\nName: Ann \"A\" O'Neil\nCity: Paris costs $5\r\n");
}

TEST_F(Mail, VisitorCannotAddHeadersOrRecipients)
{
    page.prefs().is_email = true;
    page.prefs().is_autoresponde = true;
    for (const QByteArray &address : { QByteArray("ann@example.com\r\nBcc: victim@example.org"),
             QByteArray("ann@example.com\nBcc: victim@example.org"), QByteArray("ann@example.com, victim@example.org"),
             QByteArray("not an address") }) {
        ASSERT_EQ(post(visitor(address)).body, "ok");
        const auto mails = php.take_mails();
        ASSERT_EQ(mails.size(), 1) << address.toStdString(); // the owner's; no auto-response
        const CapturedMail &mail = mails.front();
        EXPECT_EQ(mail.headers.value("to"), "owner@example.com,boss@example.com");
        EXPECT_FALSE(mail.headers.contains("from"));
        EXPECT_FALSE(mail.headers.contains("reply-to"));
        EXPECT_FALSE(mail.headers.contains("bcc"));
        EXPECT_FALSE(mail.raw.contains("victim")) << mail.raw.toStdString();
    }
}

TEST_F(Mail, AutoResponseGoesToTheVisitor)
{
    page.prefs().is_autoresponde = true;
    page.form->is_send_ip = true; // never part of the auto-response
    ASSERT_EQ(post(visitor("ann@example.com")).body, "ok");
    const auto mails = php.take_mails();
    ASSERT_EQ(mails.size(), 1);
    const CapturedMail &mail = mails.front();
    EXPECT_EQ(mail.headers.value("to"), "ann@example.com");
    EXPECT_EQ(mail.headers.value("subject"), "Thank you");
    EXPECT_EQ(mail.headers.value("from"), "shop@example.com");
    EXPECT_EQ(mail.headers.value("reply-to"), "shop@example.com");
    EXPECT_EQ(mail.body, "Dear Ann \"A\" O'Neil,\nwe got it.\r\n");
}

TEST_F(Mail, TypedSenderAndNoIpLine)
{
    page.prefs().is_email = true;
    page.form->is_send_ip = false;
    cmail &owner = *globals::owner_mail();
    owner.is_GeneericEmail = true;
    owner.sender = QStringLiteral("forms@example.com");
    ASSERT_EQ(post(visitor("not an address")).body, "ok");
    const auto mails = php.take_mails();
    ASSERT_EQ(mails.size(), 1);
    EXPECT_EQ(mails.front().headers.value("from"), "forms@example.com");
    EXPECT_EQ(mails.front().body, "Name: Ann \"A\" O'Neil\nCity: Paris costs $5\r\n");
}

} // namespace
