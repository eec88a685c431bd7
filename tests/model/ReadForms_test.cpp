// ReadForms on files and on pages of a web server inside the test: forms,
// fields named after their elements, and every way a page can fail to load.
#include "model/CForm.h"
#include "model/Field.h"
#include "model/Forms.h"
#include "model/fields.h"
#include "model/webpage.h"
#include "support/QtPrinters.h"
#include "support/TestHttpServer.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// A page object whose messages and signals the test records.
class ReadForms : public ::testing::Test
{
protected:
    void SetUp() override
    {
        webpage::set_message_function([this](const QString &text, qint32 buttons, qint32 icon) {
            EXPECT_EQ(std::pair(buttons, icon), std::pair(1, 3)); // every reader message is a notice
            messages << text;
            return 4; // OK
        });
        QObject::connect(&page, &webpage::FinishReading, [this] { ++finished; });
        QObject::connect(&page, &webpage::LoadFailed, [this] { ++failed; });
    }

    void TearDown() override { webpage::set_message_function({}); }

    // Reads a page from a local file; true when FinishReading came.
    bool read(const QByteArray &html)
    {
        page.pagetype = 0;
        page.path = folder.filePath("page.html");
        QFile out(page.path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(html) == html.size());
        out.close();
        const int before = finished;
        page.ReadForms();
        return finished == before + 1;
    }

    // The fields of a form as "name=type" or, where they differ, "name/post_name=type".
    QString fields_of(qsizetype form) const
    {
        QStringList listed;
        for (const auto &entry : *page.forms->Item(form)->fields()) {
            const Field &f = *entry.value;
            listed << f.name + (f.post_name == f.name ? QString() : '/' + f.post_name) + '=' + f.field_type;
        }
        return listed.join(' ');
    }

    QTemporaryDir folder;
    webpage page;
    QStringList messages;
    int finished = 0;
    int failed = 0;
};

TEST_F(ReadForms, MethodFollowsTheLowerCaseLettersOfTheMethodText)
{
    // Method as written (nullptr: no attribute), method read.
    const std::pair<const char *, const char *> cases[] = { { "post", "POST" }, { "get", "GET" }, { "", "POST" },
        { nullptr, "POST" }, { "GET", "POST" }, { "Get", "POST" }, { "dialog", "GET" }, { "gap", "POST" } };
    for (const auto &[method, expected] : cases) {
        ASSERT_TRUE(read(method ? QByteArray("<form method='") + method + "'></form>" : "<form></form>"));
        EXPECT_EQ(page.forms->Item(1)->Method(), QLatin1String(expected)) << (method ? method : "(none)");
    }
}

TEST_F(ReadForms, FormsAreKeyedInPageOrderAndEachReadingStartsAfresh)
{
    ASSERT_TRUE(read("<form name=contact action='send.php' method=post><input name=a></form>"
                     "<form name=search action='find.php' method=get><input name=q><input name=page></form>"));
    EXPECT_EQ(page.nforms, 2);
    const auto &first = page.forms->Item("Form1");
    const auto &second = page.forms->Item("Form2");
    EXPECT_EQ(QStringList({ first->FormName(), first->Action(), second->FormName(), second->Action() }),
        QStringList({ "contact", "send.php", "search", "find.php" }));
    EXPECT_EQ(fields_of(2), "q=text page=text");

    const std::shared_ptr<Forms> earlier = page.forms;
    EXPECT_TRUE(read("<p>No form here.</p>"));
    EXPECT_EQ(std::tuple(page.nforms, page.forms->Count(), earlier->Count()), std::tuple(0, 0, 2));
    EXPECT_TRUE(messages.isEmpty());
}

struct FieldCase
{
    const char *element; // markup of one element inside a form
    const char *field; // as fields_of lists it
    const char *error_message;
};

TEST_F(ReadForms, NamesBecomePhpVariablesAndPostNamesAsSubmitted)
{
    const FieldCase cases[] = {
        { "<input name='first name'>", "first_name=text", "first_name" },
        { "<input name=e-mail>", "email/e-mail=text", "email" },
        { "<input name='a.b(c)'>", "abc/a.b(c)=text", "abc" },
        { "<input name=Phone type=tel>", "Phone=tel", "phone" },
        // Names ending in [] post a list; the texts, built first, keep them.
        { "<select name='colors[]' multiple></select>", "colors/colors[]=multi select", "colors[]" },
        { "<input type=checkbox name='tags[]'>", "tags/tags[]=multi select", "tags[]" },
        // An element without an input-element type.
        { "<select name=size></select>", "size=not specified", "size" },
        // Names that are no valid PHP variable, or that would overwrite one.
        { "<input name='e-mail address'>", "email_address/e-mail_address=text", "e-mail_address" },
        { "<input name='item[3]'>", "item3/item[3]=text", "item[3]" },
        { "<input name='2nd choice'>", "_2nd_choice/2nd_choice=text", "2nd_choice" },
        { "<input name=this>", "this_/this=text", "this" },
        { "<input name=_POST>", "_POST_/_POST=text", "_post" },
        { "<input name=GLOBALS>", "GLOBALS_/GLOBALS=text", "globals" },
        { "<input name=tsl_ip>", "_tsl_ip/tsl_ip=text", "tsl_ip" },
        { "<input name=prénom>", "prénom=text", "prénom" },
        { "<input name='!!!'>", "/!!!=text", "" },
        // Of equal names the first stays; unnamed elements all stay.
        { "<input name=e-mail><input name=email type=hidden><input name=EMAIL>", "email/e-mail=text", "email" },
        { "<input type=submit><button>Go</button>", "=submit =submit", "" },
    };
    for (const FieldCase &c : cases) {
        SCOPED_TRACE(c.element);
        ASSERT_TRUE(read(QByteArray("<form>") + c.element + "</form>"));
        EXPECT_EQ(fields_of(1), QString::fromUtf8(c.field));
        EXPECT_EQ(page.forms->Item(1)->fields()->Item(1)->error_message,
            "Please enter a valid " + QString::fromUtf8(c.error_message));
    }
    ASSERT_TRUE(read("<form><input name=Phone></form>"));
    EXPECT_EQ(page.forms->Item(1)->fields()->Item(1)->error_html,
        QStringLiteral("<p align=\\\"center\\\"><font size=\\\"4\\\" face=\\\"Vrinda\\\" "
                       "color=\\\"#FF0000\\\">please enter a valid Phone </font></p>"));
}

TEST_F(ReadForms, PagesBeyondWhatAFormUsesAreRefusedWithAMessage)
{
    QByteArray many;
    for (int i = 0; i <= 32767; ++i)
        many += "<form></form>";
    EXPECT_FALSE(read(many));
    EXPECT_EQ(page.forms->Count(), 32767);
    EXPECT_EQ(failed, 0); // loaded, so any wait window stays as it is

    QByteArray elements = "<form>";
    for (int i = 0; i <= 50000; ++i)
        elements += "<input name=a" + QByteArray::number(i) + ">";
    EXPECT_FALSE(read(elements));
    EXPECT_EQ(page.forms->Count(), 0);

    page.parse_limits.time = std::chrono::milliseconds(200);
    page.parse_limits.time_per_megabyte = std::chrono::milliseconds(0);
    QByteArray complex = "<form><input name=a>";
    for (int i = 0; i < 100000; ++i)
        complex += "<ul>";
    EXPECT_FALSE(read(complex));
    page.max_page_size = 1024;
    const QByteArray form = "<form><input name=a></form>";
    EXPECT_TRUE(read(form + QByteArray(1024 - form.size(), ' '))); // exactly the limit
    EXPECT_FALSE(read(form + QByteArray(1025 - form.size(), ' ')));
    EXPECT_EQ(page.forms->Count(), 0);
    EXPECT_EQ(failed, 3);
    EXPECT_EQ(messages,
        QStringList({ "The page holds more than 32767 forms, more than can be listed.",
            "The page could not be read: its forms hold more than 50000 elements, more than a form can use.",
            "The page could not be read: its HTML is nested too deeply or is too complex.",
            "The page could not be loaded: the file \"" + QDir::toNativeSeparators(page.path)
                + "\" is larger than 1 kB, more than a page with a form needs." }));
}

TEST_F(ReadForms, APageThatCannotBeLoadedIsReportedAndLeavesNoForms)
{
    QFile korean(folder.filePath("korean.html"));
    ASSERT_TRUE(korean.open(QIODevice::WriteOnly) && korean.write("<meta charset=ISO-2022-KR><form></form>") > 0);
    korean.close();
    ASSERT_TRUE(read("<form><input name=a></form>"));
    const QString gone = folder.filePath("gone.html");
    // Page type, file or address, message after "The page could not be loaded: ".
    const std::tuple<int, QString, QString> cases[] = {
        { 0, gone, "the file \"" + QDir::toNativeSeparators(gone) + "\" does not exist." },
        { 0, folder.path(), '"' + QDir::toNativeSeparators(folder.path()) + "\" is a folder, not a file." },
        { 0, "", "no file was chosen." },
        { 0, korean.fileName(), "its character set \"iso-2022-kr\" is one that browsers refuse to read." },
        { 1, "ftp://example.com/form.html",
            "\"ftp://example.com/form.html\" is not the address of a web page (it must begin with http:// or "
            "https://)." },
        { 1, "  ", "no web address was given." },
        // Ports just outside 0 to 65535.
        { 1, "http://127.0.0.1:65536/form.html", "\"http://127.0.0.1:65536/form.html\" is not a valid web address." },
        { 1, "http://127.0.0.1:-1/form.html", "\"http://127.0.0.1:-1/form.html\" is not a valid web address." },
    };
    for (const auto &[type, where, message] : cases) {
        page.pagetype = type;
        (type == 0 ? page.path : page.URL) = where;
        messages.clear();
        page.ReadForms();
        EXPECT_EQ(messages, QStringList { "The page could not be loaded: " + message });
        EXPECT_EQ(page.forms->Count(), 0);
    }
    EXPECT_EQ(failed, 8);
    EXPECT_EQ(finished, 1);

    ASSERT_TRUE(read("<form><input name=a></form>"));
    page.pagetype = 1;
    page.URL = QUrl::fromLocalFile(page.path).toString();
    page.ReadForms();
    EXPECT_EQ(finished, 3);
    EXPECT_EQ(page.nforms, 1);
}

class ReadFormsFromTheWeb : public ReadForms
{
protected:
    void SetUp() override
    {
        ReadForms::SetUp();
        page.pagetype = 1;
        page.load_timeout = std::chrono::seconds(1);
        page.max_page_size = 1024;
        // A page that is not UTF-8; its header names its character set.
        server.serve("/form.html",
            { "200 OK", { { "Content-Type", "text/html;charset=\"ISO-8859-1\"" } },
                "<form name=contact><input name='pr\xE9nom'><select name='topics[]' multiple></select></form>" });
        server.serve("/old.html", { "302 Found", { { "Location", "/form.html" } }, {} });
        server.serve("/slow.html", { "200 OK", {}, {}, true });
        // Pages that arrive in pieces, slower in all than the silence allowed.
        const QByteArray form = "<form name=contact><input name=a></form>";
        server.serve("/trickling.html", piecewise(form, 6, 300));
        server.serve("/full.html", piecewise(form + QByteArray(1024 - form.size(), ' '), 4, 10));
        server.serve("/growing.html", piecewise(form + QByteArray(3000, ' '), 6, 10));
        auto stalling = piecewise(form + QByteArray(100, ' '), 3, 50);
        stalling.stall = true;
        server.serve("/stalling.html", stalling);
        server.serve("/huge.html", { "200 OK", {}, form + QByteArray(1025 - form.size(), ' ') });
        server.serve("/bad.html", { "400 Bad Request", {}, "<html>Bad request</html>" });
        server.serve("/broken.html", { "500 Internal Server Error", {}, "<html>Sorry</html>" });
        server.serve("/korean.html", { "200 OK", { { "Content-Type", "text/html; charset=hz-gb-2312" } }, form });
    }

    static TestHttpServer::Response piecewise(const QByteArray &body, int pieces, int interval_ms)
    {
        TestHttpServer::Response response;
        response.body = body;
        response.pieces = pieces;
        response.interval = std::chrono::milliseconds(interval_ms);
        return response;
    }

    void read(const QByteArray &path)
    {
        page.URL = server.url(path);
        page.ReadForms();
    }

    TestHttpServer server;
};

TEST_F(ReadFormsFromTheWeb, APageIsFetchedAfterRedirectsAndDecoded)
{
    read("/old.html");
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(server.requested(), (QList<QByteArray> { "/old.html", "/form.html" }));
    ASSERT_EQ(page.nforms, 1);
    EXPECT_EQ(page.forms->Item("Form1")->FormName(), "contact");
    EXPECT_EQ(fields_of(1), QString::fromUtf8("prénom=text topics/topics[]=multi select"));

    // Pieces keep the silence from running out; a page of exactly the
    // largest size is read.
    for (const QByteArray path : { "/trickling.html", "/full.html" }) {
        read(path);
        EXPECT_TRUE(messages.isEmpty()) << path.constData();
        EXPECT_EQ(fields_of(1), "a=text") << path.constData();
    }
    EXPECT_EQ(finished, 3);
}

struct WebFailure
{
    const char *name;
    const char *path; // null: a port where nothing listens
    const char *message; // after "The page could not be loaded: "
};

void PrintTo(const WebFailure &c, std::ostream *out)
{
    *out << c.name;
}

class WebFailures : public ReadFormsFromTheWeb, public ::testing::WithParamInterface<WebFailure>
{
};

TEST_P(WebFailures, AreReportedWithTheirCause)
{
    if (GetParam().path) {
        read(GetParam().path);
    } else {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        page.URL = QStringLiteral("http://127.0.0.1:%1/form.html").arg(port);
        page.ReadForms();
    }
    EXPECT_EQ(messages, QStringList { "The page could not be loaded: " + QString::fromUtf8(GetParam().message) });
    EXPECT_EQ(std::pair(finished, failed), std::pair(0, 1));
    EXPECT_EQ(page.forms->Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Web, WebFailures,
    ::testing::Values(
        WebFailure { "NotFound", "/missing.html", "the server \"127.0.0.1\" answered \"404 Not Found\"." },
        WebFailure { "BadRequest", "/bad.html", "the server \"127.0.0.1\" answered \"400 Bad Request\"." },
        WebFailure {
            "ServerError", "/broken.html", "the server \"127.0.0.1\" answered \"500 Internal Server Error\"." },
        WebFailure { "Refused", nullptr, "the server \"127.0.0.1\" refused the connection." },
        WebFailure { "Silent", "/slow.html", "the server \"127.0.0.1\" did not answer within 1 second." },
        WebFailure { "StallsMidPage", "/stalling.html", "the server \"127.0.0.1\" did not answer within 1 second." },
        WebFailure { "LargerThanItsLengthAllows", "/huge.html",
            "the page is larger than 1 kB, more than a page with a form needs." },
        WebFailure { "GrowsPastTheLimitWhileArriving", "/growing.html",
            "the page is larger than 1 kB, more than a page with a form needs." },
        WebFailure { "RefusedCharacterSet", "/korean.html",
            "its character set \"hz-gb-2312\" is one that browsers refuse to read." }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ReadFormsFromTheWeb, TheEventLoopKeepsRunningWhileAPageIsAwaited)
{
    bool second_call_ignored = false;
    QTimer::singleShot(50, [&] {
        // A second reading started while the first waits does nothing.
        page.pagetype = 0;
        page.path = "/nowhere";
        page.ReadForms();
        second_call_ignored = page.is_reading() && messages.isEmpty();
        page.pagetype = 1;
    });
    read("/slow.html");
    EXPECT_TRUE(second_call_ignored);
    EXPECT_FALSE(page.is_reading());
    EXPECT_EQ(std::pair(finished, failed), std::pair(0, 1));

    // A page object deleted while it waits ends the reading quietly.
    auto *doomed = new webpage;
    doomed->pagetype = 1;
    doomed->URL = server.url("/slow.html");
    doomed->load_timeout = std::chrono::seconds(1);
    int signals_seen = 0;
    QObject::connect(doomed, &webpage::LoadFailed, [&] { ++signals_seen; });
    QObject::connect(doomed, &webpage::FinishReading, [&] { ++signals_seen; });
    QTimer::singleShot(50, doomed, [doomed] { delete doomed; });
    doomed->ReadForms();
    EXPECT_EQ(signals_seen, 0);
    EXPECT_EQ(messages.size(), 1);
}

} // namespace
