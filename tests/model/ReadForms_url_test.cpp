#include "ReaderFixture.h"
#include "support/TestHttpServer.h"

#include "model/CForm.h"
#include "model/Field.h"
#include "model/Forms.h"
#include "model/fields.h"

#include <QHostAddress>
#include <QTimer>

namespace {

const QByteArray kForm = "<html><body><form name=contact method=post action=send.php>"
                         "<input name='full name'><input type=email name=email><select name='topics[]' multiple>"
                         "</select></form></body></html>";

class ReadFormsFromTheWeb : public ReaderFixture
{
protected:
    void SetUp() override
    {
        ReaderFixture::SetUp();
        page.pagetype = 1;
        page.load_timeout = std::chrono::seconds(1);
        TestHttpServer::Response form;
        form.headers = { { "Content-Type", "text/html; charset=utf-8" } };
        form.body = kForm;
        server.serve("/form.html", form);
    }

    void read(const QByteArray &path)
    {
        page.URL = server.url(path);
        page.ReadForms();
    }

    TestHttpServer server;
};

TEST_F(ReadFormsFromTheWeb, APageIsFetchedAndRead)
{
    read("/form.html");
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(page.nforms, 1);
    const auto &form = page.forms->Item("Form1");
    EXPECT_EQ(form->FormName(), QStringLiteral("contact"));
    ASSERT_EQ(form->fields()->Count(), 3);
    EXPECT_EQ(form->fields()->Item(1)->name, QStringLiteral("full_name"));
    EXPECT_EQ(form->fields()->Item(2)->field_type, QStringLiteral("email"));
    EXPECT_EQ(form->fields()->Item(3)->field_type, QStringLiteral("multi select"));
}

TEST_F(ReadFormsFromTheWeb, RedirectsAreFollowed)
{
    TestHttpServer::Response moved;
    moved.status = "302 Found";
    moved.headers = { { "Location", "/form.html" } };
    server.serve("/old.html", moved);
    read("/old.html");
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(page.nforms, 1);
    EXPECT_EQ(server.requested(), (QList<QByteArray> { "/old.html", "/form.html" }));
}

TEST_F(ReadFormsFromTheWeb, TheCharsetOfTheHttpHeaderIsHonoured)
{
    TestHttpServer::Response latin;
    latin.headers = { { "Content-Type", "text/html;charset=\"ISO-8859-1\"" } };
    latin.body = "<form><input name='pr\xE9nom'><input name='\x93quoted\x94 name'></form>";
    server.serve("/latin.html", latin);
    read("/latin.html");
    ASSERT_EQ(finished, 1);
    const auto &form_fields = page.forms->Item(1)->fields();
    ASSERT_EQ(form_fields->Count(), 2);
    EXPECT_EQ(form_fields->Item(1)->name, QString::fromUtf8("prénom"));
    EXPECT_EQ(form_fields->Item(2)->post_name, QString::fromUtf8("“quoted”_name"));
}

TEST_F(ReadFormsFromTheWeb, AnHttpErrorIsReportedWithItsStatus)
{
    read("/missing.html");
    EXPECT_EQ(finished, 0);
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(
        notice(), QStringLiteral("The page could not be loaded: the server \"127.0.0.1\" answered \"404 Not Found\"."));
    EXPECT_EQ(page.forms->Count(), 0);
}

TEST_F(ReadFormsFromTheWeb, ASilentServerTimesOutWhileTheEventLoopKeepsRunning)
{
    TestHttpServer::Response silent;
    silent.silent = true;
    server.serve("/slow.html", silent);
    bool ticked = false;
    bool second_call_ignored = false;
    QTimer::singleShot(50, [&] {
        ticked = true;
        // A second reading started while the first waits does nothing.
        page.path = QStringLiteral("/nowhere");
        page.pagetype = 0;
        page.ReadForms();
        second_call_ignored = page.is_reading() && messages.empty();
        page.pagetype = 1;
    });
    read("/slow.html");
    EXPECT_TRUE(ticked);
    EXPECT_TRUE(second_call_ignored);
    EXPECT_FALSE(page.is_reading());
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(notice(),
        QStringLiteral("The page could not be loaded: the server \"127.0.0.1\" did not answer within 1 second."));
}

TEST_F(ReadFormsFromTheWeb, APageObjectDeletedWhileWaitingEndsTheReadingQuietly)
{
    TestHttpServer::Response silent;
    silent.silent = true;
    server.serve("/slow.html", silent);
    auto *doomed = new webpage;
    doomed->pagetype = 1;
    doomed->URL = server.url("/slow.html");
    doomed->load_timeout = std::chrono::milliseconds(300);
    int signals_seen = 0;
    QObject::connect(doomed, &webpage::LoadFailed, [&] { ++signals_seen; });
    QObject::connect(doomed, &webpage::FinishReading, [&] { ++signals_seen; });
    QTimer::singleShot(50, doomed, [doomed] { delete doomed; });
    doomed->ReadForms();
    EXPECT_EQ(signals_seen, 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ReadFormsFromTheWeb, ARefusedConnectionIsReported)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    page.URL = QStringLiteral("http://127.0.0.1:%1/form.html").arg(port);
    page.ReadForms();
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(
        notice(), QStringLiteral("The page could not be loaded: the server \"127.0.0.1\" refused the connection."));
}

TEST_F(ReadFormsFromTheWeb, APageOverTheSizeLimitIsRefused)
{
    page.max_page_size = 1024;
    TestHttpServer::Response big;
    big.body = "<form>" + QByteArray(4096, 'x') + "</form>";
    server.serve("/big.html", big);
    read("/big.html");
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(notice(),
        QStringLiteral(
            "The page could not be loaded: the page is larger than 1 kB, more than a page with a form needs."));
}

} // namespace
