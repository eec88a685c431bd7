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

using namespace std::chrono_literals;

// A page object whose messages and signals the test records, and a web
// server with pages that load, fail or arrive slowly.
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
        page.load_timeout = 1s;

        // A page that is not UTF-8; its header names its character set.
        server.serve("/form.html",
            { "200 OK", { { "Content-Type", "text/html;charset=\"ISO-8859-1\"" } },
                "<form name=contact><input name='pr\xE9nom'><select name='topics[]' multiple></select></form>" });
        server.serve("/old.html", { "302 Found", { { "Location", "/form.html" } }, {} });
        server.serve("/slow.html", { "200 OK", {}, {}, true });
        // Pages that arrive in pieces (the first slower in all than the
        // silence allowed), sized about the 1 kB the tests fetching them allow.
        const QByteArray form = "<form name=contact><input name=a></form>";
        server.serve("/trickling.html", { "200 OK", {}, form, false, 6, 300ms });
        const QByteArray full = form + QByteArray(1024 - form.size(), ' ');
        server.serve("/full.html", { "200 OK", {}, full, false, 4, 10ms });
        server.serve("/full-unframed.html", { "200 OK", {}, full, false, 4, 10ms, false, true });
        server.serve("/growing.html", { "200 OK", {}, form + QByteArray(3000, ' '), false, 6, 10ms });
        // One byte too many, which only the last of the four pieces brings.
        server.serve("/over.html", { "200 OK", {}, full + ' ', false, 4, 10ms });
        server.serve("/over-unframed.html", { "200 OK", {}, full + ' ', false, 4, 10ms, false, true });
        server.serve("/stalling.html", { "200 OK", {}, form + QByteArray(100, ' '), false, 3, 50ms, true });
        server.serve("/huge.html", { "200 OK", {}, form + QByteArray(1025 - form.size(), ' ') });
        server.serve("/bad.html", { "400 Bad Request", {}, "<html>Bad request</html>" });
        server.serve("/broken.html", { "500 Internal Server Error", {}, "<html>Sorry</html>" });
        server.serve("/korean.html", { "200 OK", { { "Content-Type", "text/html; charset=hz-gb-2312" } }, form });
    }

    void TearDown() override { webpage::set_message_function({}); }

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
    }

    // Reads a page from a local file; true when FinishReading came.
    bool read(const QByteArray &html)
    {
        page.pagetype = 0;
        page.path = folder.filePath("page.html");
        write(page.path, html);
        const int before = finished;
        page.ReadForms();
        return finished == before + 1;
    }

    // Reads a page of the test's web server.
    void fetch(const QByteArray &path)
    {
        page.pagetype = 1;
        page.URL = server.url(path);
        page.ReadForms();
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
    TestHttpServer server;
    QStringList messages;
    int finished = 0;
    int failed = 0;
};

// The method a browser's DOM reports (any other, or none, is get); a dialog form is read as one that posts.
TEST_F(ReadForms, MethodIsTheOneABrowserSubmitsWith)
{
    // Method as written (nullptr: no attribute), method read.
    const std::pair<const char *, const char *> cases[]
        = { { "post", "POST" }, { "get", "GET" }, { "", "GET" }, { nullptr, "GET" }, { "GET", "GET" }, { "Get", "GET" },
              { "POST", "POST" }, { "pOsT", "POST" }, { "dialog", "POST" }, { "DiAlOg", "POST" }, { "gap", "GET" },
              { " post", "GET" }, { "post ", "GET" }, { "po\xC5\xBFt", "GET" }, { "put", "GET" } };
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
        // Names ending in [] post a list; the alerts name it without the brackets.
        { "<select name='colors[]' multiple></select>", "colors/colors[]=multi select", "colors" },
        { "<input type=checkbox name='tags[]'>", "tags/tags[]=multi select", "tags" },
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

// Fieldsets and outputs post nothing: no fields, named or not; the controls
// inside a fieldset still are.
TEST_F(ReadForms, OnlyElementsThatPostAValueBecomeFields)
{
    ASSERT_TRUE(read("<form><fieldset name=g><legend>L</legend><input name=a><fieldset><select name=b></select>"
                     "</fieldset></fieldset><output name=sum for=a></output><output></output></form>"));
    EXPECT_EQ(fields_of(1), QStringLiteral("a=text b=not specified"));
}

TEST_F(ReadForms, PagesBeyondWhatAFormUsesAreRefusedWithAMessage)
{
    EXPECT_FALSE(read(QByteArray("<form></form>").repeated(32768)));
    EXPECT_EQ(page.forms->Count(), 32767);
    EXPECT_EQ(failed, 0); // loaded, so any wait window stays as it is

    EXPECT_FALSE(read("<form>" + QByteArray("<input name=a>").repeated(50001)));
    EXPECT_EQ(page.forms->Count(), 0);

    page.parse_limits.time = 200ms;
    page.parse_limits.time_per_megabyte = 0ms;
    EXPECT_FALSE(read("<form><input name=a>" + QByteArray("<ul>").repeated(100000)));
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

TEST_F(ReadForms, APageIsFetchedAfterRedirectsAndDecoded)
{
    page.max_page_size = 1024;
    fetch("/old.html");
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(server.requested(), (QList<QByteArray> { "/old.html", "/form.html" }));
    ASSERT_EQ(page.nforms, 1);
    EXPECT_EQ(page.forms->Item("Form1")->FormName(), "contact");
    EXPECT_EQ(fields_of(1), QString::fromUtf8("prénom=text topics/topics[]=multi select"));
    // The form is posted in the character set the header names, or where none is named, in the browser's own.
    const auto posted_in
        = [this] { return std::pair(page.forms->Item(1)->encoding, page.forms->Item(1)->encoding_declared); };
    EXPECT_EQ(posted_in(), std::pair(QByteArray("windows-1252"), true));

    // Pieces keep the silence from running out; a page of exactly the
    // largest size is read; so is a local file given by its URL.
    for (const QByteArray path : { "/trickling.html", "/full.html", "/full-unframed.html" }) {
        fetch(path);
        EXPECT_TRUE(messages.isEmpty()) << path.constData();
        EXPECT_EQ(fields_of(1), "a=text") << path.constData();
        EXPECT_EQ(posted_in(), std::pair(QByteArray("windows-1252"), false)) << path.constData();
    }
    ASSERT_TRUE(read("<form><input name=b></form>"));
    page.pagetype = 1;
    page.URL = QUrl::fromLocalFile(page.path).toString();
    page.ReadForms();
    EXPECT_EQ(std::tuple(finished, page.nforms, fields_of(1)), std::tuple(6, 1, "b=text"));
}

// A page that cannot be loaded, from where it was asked for.
enum Source { File, Address, Served, ClosedPort };

struct LoadFailure
{
    const char *name;
    Source source;
    const char *where; // a file in the test's folder, an address, a path on the test server
    const char *message; // after "The page could not be loaded: "; %1: the file or address read
};

void PrintTo(const LoadFailure &c, std::ostream *out)
{
    *out << c.name;
}

class LoadFailures : public ReadForms, public ::testing::WithParamInterface<LoadFailure>
{
};

TEST_P(LoadFailures, AreReportedWithTheirCauseAndLeaveNoForms)
{
    const LoadFailure &c = GetParam();
    write(folder.filePath("korean.html"), "<meta charset=ISO-2022-KR><form></form>");
    ASSERT_TRUE(read("<form><input name=a></form>"));
    page.max_page_size = 1024;
    page.pagetype = c.source == File ? 0 : 1;
    QString &where = c.source == File ? page.path : page.URL;
    where = QString::fromUtf8(c.where);
    if (c.source == File && !where.isEmpty()) {
        where = QDir::cleanPath(folder.filePath(where));
    } else if (c.source == Served) {
        where = server.url(c.where);
    } else if (c.source == ClosedPort) {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
        where = QStringLiteral("http://127.0.0.1:%1/form.html").arg(closed.serverPort());
    }
    page.ReadForms();
    QString message = QString::fromUtf8(c.message);
    if (message.contains("%1"))
        message = message.arg(QDir::toNativeSeparators(where));
    EXPECT_EQ(messages, QStringList { "The page could not be loaded: " + message });
    EXPECT_EQ(std::pair(finished, failed), std::pair(1, 1));
    EXPECT_EQ(page.forms->Count(), 0);
}

const LoadFailure kLoadFailures[] = {
    { "MissingFile", File, "gone.html", "the file \"%1\" does not exist." },
    { "Folder", File, ".", "\"%1\" is a folder, not a file." },
    { "NoFileChosen", File, "", "no file was chosen." },
    { "RefusedCharacterSetInAFile", File, "korean.html",
        "its character set \"iso-2022-kr\" is one that browsers refuse to read." },
    { "NotAWebAddress", Address, "ftp://example.com/form.html",
        "\"%1\" is not the address of a web page (it must begin with http:// or https://)." },
    { "NoWebAddress", Address, "  ", "no web address was given." },
    // Ports just outside 0 to 65535.
    { "PortAboveTheRange", Address, "http://127.0.0.1:65536/form.html", "\"%1\" is not a valid web address." },
    { "NegativePort", Address, "http://127.0.0.1:-1/form.html", "\"%1\" is not a valid web address." },
    { "NotFound", Served, "/missing.html", "the server \"127.0.0.1\" answered \"404 Not Found\"." },
    { "BadRequest", Served, "/bad.html", "the server \"127.0.0.1\" answered \"400 Bad Request\"." },
    { "ServerError", Served, "/broken.html", "the server \"127.0.0.1\" answered \"500 Internal Server Error\"." },
    { "Refused", ClosedPort, "", "the server \"127.0.0.1\" refused the connection." },
    { "Silent", Served, "/slow.html", "the server \"127.0.0.1\" did not answer within 1 second." },
    { "StallsMidPage", Served, "/stalling.html", "the server \"127.0.0.1\" did not answer within 1 second." },
    { "LargerThanItsLengthAllows", Served, "/huge.html",
        "the page is larger than 1 kB, more than a page with a form needs." },
    { "GrowsPastTheLimitWhileArriving", Served, "/growing.html",
        "the page is larger than 1 kB, more than a page with a form needs." },
    { "PassesTheLimitInItsLastPiece", Served, "/over.html",
        "the page is larger than 1 kB, more than a page with a form needs." },
    { "PassesTheLimitInItsLastPieceBeforeTheServerCloses", Served, "/over-unframed.html",
        "the page is larger than 1 kB, more than a page with a form needs." },
    { "RefusedCharacterSet", Served, "/korean.html",
        "its character set \"hz-gb-2312\" is one that browsers refuse to read." },
};

INSTANTIATE_TEST_SUITE_P(Pages, LoadFailures, ::testing::ValuesIn(kLoadFailures),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ReadForms, TheEventLoopKeepsRunningWhileAPageIsAwaited)
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
    fetch("/slow.html");
    EXPECT_TRUE(second_call_ignored);
    EXPECT_FALSE(page.is_reading());
    EXPECT_EQ(std::pair(finished, failed), std::pair(0, 1));

    // A page object deleted while it waits ends the reading quietly.
    auto *doomed = new webpage;
    doomed->pagetype = 1;
    doomed->URL = server.url("/slow.html");
    doomed->load_timeout = 1s;
    int signals_seen = 0;
    QObject::connect(doomed, &webpage::LoadFailed, [&] { ++signals_seen; });
    QObject::connect(doomed, &webpage::FinishReading, [&] { ++signals_seen; });
    QTimer::singleShot(50, doomed, [doomed] { delete doomed; });
    doomed->ReadForms();
    EXPECT_EQ(signals_seen, 0);
    EXPECT_EQ(messages.size(), 1);
}

} // namespace
