// Generated scripts run by php-cgi, grouped by where a submission ends up:
// the visitor's page, the mails, the CSV file and the stored upload; then
// texts the wizard's user typed, as the running script gives them back.
#include "GeneratedForm.h"
#include "PhpRunner.h"
#include "ScriptTest.h"
#include "support/QtPrinters.h"

#include "generate/CSV.h"
#include "generate/cmail.h"
#include "generate/lib.h"
#include "model/Forms.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

namespace {

// The permission bits of a file or folder.
int mode(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? static_cast<int>(info.st_mode & 07777) : -1;
}

// The records of an RFC 4180 file, or none if it is no such file.
QList<QStringList> parse_csv(const QByteArray &data)
{
    static const QRegularExpression value(QStringLiteral(R"re(\G(?:"((?:[^"]++|"")*+)"|([^",\r\n]*+))(,|\r?\n))re"));
    const QString text = QString::fromUtf8(data);
    QList<QStringList> records(1);
    qsizetype end = 0;
    for (const QRegularExpressionMatch &match : value.globalMatch(text)) {
        records.last() << (match.hasCaptured(1) ? match.captured(1).replace("\"\"", "\"") : match.captured(2));
        if (match.captured(3) != ",")
            records.append(QStringList());
        end = match.capturedEnd();
    }
    records.removeLast();
    return end == text.size() ? records : QList<QStringList>();
}

// ---- What the visitor sees ----

struct RuleCase
{
    const char *label;
    qint32 validation_type; // 8: no rule
    qint32 expression_type; // of the format rules
    bool required;
    QByteArrayList passing;
    QByteArrayList failing;
};

void PrintTo(const RuleCase &rule, std::ostream *out)
{
    *out << rule.label;
}

// An empty value passes every rule of a field that is not required: the
// rule judges what the visitor entered.
const RuleCase kRules[] = {
    { "range", 0, 0, false, { "30", "65", "" }, { "17", "66", "abc", " " } },
    { "range_required", 0, 0, true, { "30" }, { "", "17" } },
    { "compare_exact_text", 1, 0, false, { "1000", "" }, { "1e3", " " } },
    { "list_ignores_case_and_blanks_around", 3, 0, false, { "GREEN", "", " red", "green \t" },
        { "blue", "gre en", "greens" } },
    { "length_in_characters", 4, 0, false, { "\xC3\xA9t\xC3\xA9", "ab", "" }, { "abcd", "a" } },
    // Formats match the whole value, never a part of it.
    { "email", 2, 0, false, { "me@example.com", "first.last+tag@mail.example.co.uk", "" },
        { "me@example", "<img src=x onerror=alert(1)> a@b.co", "not an email x@y.z junk", "me@example.com\n" } },
    { "url", 2, 1, false, { "https://example.com", "http://www.example.com:8080/a/~b/c.html?d=1&e=%20#f", "" },
        { "ftp://example.com", "javascript:alert(1)//https://a.b", "https://example.com/<script>",
            "https://example.com x", "https://example.com\n" } },
    { "ip", 2, 2, false, { "10.0.0.999", "" }, { "10.0.0", "x10.0.0.1", "10.0.0.1.5", "10.0.0.1\n" } },
    { "zip", 2, 3, false, { "12345", "" }, { "1234", "12345abc", "abcde", "123456", "12345\n" } },
    // Bounds 10000 to 99999 and 1000 to 9999, at and beyond their ends.
    { "zip4", 2, 4, false, { "12345-6789", "99999-1000", "10000-9999", "" },
        { "12345", "1zzzz-1zzz", "12345-0000", "12345-0999", "09999-1000", "12345-6789-1", "1e4-1e3", "12345-6789 ",
            "12345-6789\n" } },
    { "card", 2, 5, false, { "4111111111111111", "79927398713", "" }, { "4111-1111-1111-1111", "79927398710" } },
    { "required", 8, 0, true, { "x" }, { "" } },
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
    v.required = rule.required;
    // Fails below 18 and above 65, or below two and above three characters.
    std::tie(v.range_operator1, v.range_min, v.range_operator2, v.range_max) = std::tuple(1, 18, 0, 65);
    std::tie(v.length_operator1, v.length_min, v.length_operator2, v.length_max) = std::tuple(1, 2, 0, 3);
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

// A relation the rules page offers, by the operator code it stores (the
// comparison under which the check fails), and whether a value one below,
// at and one above the bound passes.
struct Relation
{
    const char *label;
    qint32 code;
    std::array<bool, 3> passes;
    friend void PrintTo(const Relation &relation, std::ostream *out) { *out << relation.label; }
};

const Relation kRelations[] = {
    { "greater_than", 3, { false, false, true } },
    { "less_than", 2, { true, false, false } },
    { "greater_or_equal", 1, { false, true, true } },
    { "less_or_equal", 0, { true, true, false } },
    { "equal_to", 5, { false, true, false } },
    { "not_equal_to", 4, { true, false, true } },
};

// Range (bound 18, or -5 in the second slot) or length (bound 3 characters),
// the relation in the first or the second operator.
class Bounds : public ScriptTest, public ::testing::WithParamInterface<std::tuple<bool, Relation, bool>>
{
};

TEST_P(Bounds, ValuesOneBelowAtAndOneAboveTheBound)
{
    const auto &[length, relation, second] = GetParam();
    page.prefs().success_message = "ok";
    Field &v = page.add("v");
    v.validation_type = length ? 4 : 0;
    const qint32 bound = length ? 3 : (second ? -5 : 18);
    (second ? (length ? v.length_operator2 : v.range_operator2) : (length ? v.length_operator1 : v.range_operator1))
        = relation.code;
    (second ? (length ? v.length_max : v.range_max) : (length ? v.length_min : v.range_min)) = bound;
    for (int offset = -1; offset <= 1; ++offset) {
        const QByteArray value
            = length ? QString(bound + offset, QChar(0xE9)).toUtf8() : QByteArray::number(bound + offset);
        EXPECT_EQ(post(PhpRequest().add("v", value)).body,
            relation.passes[offset + 1] ? "ok" : "<p class=\"error\">bad v</p>")
            << value.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Relations, Bounds,
    ::testing::Combine(::testing::Bool(), ::testing::ValuesIn(kRelations), ::testing::Bool()), [](const auto &info) {
        return std::string(std::get<0>(info.param) ? "length_" : "range_") + std::get<1>(info.param).label
            + (std::get<2>(info.param) ? "_second" : "_first");
    });

TEST_F(ScriptTest, EachChosenValueOfAMultipleChoiceMustBeListed)
{
    const std::tuple<const char *, QByteArrayList, bool> choices[] = {
        { "none", {}, true },
        { "two_listed", { "red", "GREEN" }, true },
        { "one_not_listed", { "red", "pink" }, false },
        { "value_holding_the_joining_character", { "a&b" }, true },
        { "parts_of_a_listed_value", { "a", "b" }, false },
        { "two_listed_joined", { "red&green" }, false },
        { "blanks_around", { " red", "green " }, true },
        { "blanks_inside", { "gr een" }, false },
    };
    page.prefs().success_message = "ok";
    Field &colors = page.add("colors", "multi select", "colors[]");
    colors.validation_type = 3;
    colors.list_values = "|red|green|a&b|";
    for (const char *method : { "POST", "GET" }) {
        page.form->set_Method(QString::fromLatin1(method));
        for (const auto &[label, chosen, passes] : choices) {
            PhpRequest request;
            request.method = method;
            for (const QByteArray &value : chosen)
                request.add("colors[]", value);
            EXPECT_EQ(post(request).body, passes ? "ok" : "<p class=\"error\">bad colors</p>")
                << label << ' ' << method;
        }
    }
    colors.required = true;
    page.form->set_Method(QStringLiteral("POST"));
    EXPECT_EQ(post(PhpRequest()).body, "<p class=\"error\">bad colors</p>");
}

// Fields read from a page as the reader names them; each value posted under
// the element's own name, as a browser sends it, arrives in its field.
TEST_F(ScriptTest, EveryFieldIsReceivedUnderTheNameItsElementHas)
{
    const std::pair<const char *, const char *> elements[] = {
        { " lead", "leading blank" },
        { "  two  words ", "blanks around and inside" },
        { "it's", "quote" },
        { "back\\slash", "backslash" },
        { "a.b", "dot" },
        { "e-mail address", "hyphen and blank" },
        { "x[key]", "array key" },
    };
    QByteArray html = "<form method=post>";
    for (const auto &[name, value] : elements)
        html += "<input name=\"" + QByteArray(name).replace('"', "&quot;") + "\">";
    write_file("page.html", html + "</form>");
    webpage reader;
    reader.path = php.path("page.html");
    reader.ReadForms();
    ASSERT_EQ(reader.nforms, 1);
    page.form->set_fields(reader.forms->Item(1)->fields());
    ASSERT_EQ(page.form->fields()->Count(), std::size(elements));
    for (auto &entry : *page.form->fields())
        entry.value->required = true;
    page.prefs().is_csv = true;
    page.prefs().success_message = "ok";
    globals::csv_file()->filename = "data.csv";

    PhpRequest request;
    QStringList values;
    for (const auto &[name, value] : elements) {
        request.add(name, value);
        values << QString::fromUtf8(value);
    }
    EXPECT_EQ(post(request).body, "ok");
    EXPECT_EQ(parse_csv(read_file("data.csv")).value(1), values);
}

TEST_F(ScriptTest, RequiredFieldsMissingOrPostedAsListsAreEmptyWithoutWarnings)
{
    redirect_results();
    page.add("a").required = true;
    page.add("list", "multi select", "list[]");
    page.add("photo", "file");
    page.add("token", "hidden");
    EXPECT_EQ(post(PhpRequest().add("a[]", "x")).location(), "sorry.html");
    EXPECT_EQ(post(PhpRequest().add("list[]", "x").add("token", "")).location(), "sorry.html");
    EXPECT_EQ(post(PhpRequest().add("a", "x").add("list", "flat").add("photo", "x")).location(), "thanks.html");

    page.form->set_Method("GET");
    PhpRequest query = PhpRequest().add("a", "find me");
    query.method = "GET";
    EXPECT_EQ(post(query).location(), "thanks.html");
}

// The embedded answer, of success or of any failure, stands between the parts that are ticked, each alone too.
TEST_F(ScriptTest, EmbeddedAnswerHasTheTickedHeaderAndFooterOnly)
{
    Cprefrences &prefs = page.prefs();
    prefs.success_message = "ok";
    prefs.header_img = "head.html";
    prefs.footer_img = "foot.html";
    write_file(prefs.header_img, "<h>");
    write_file(prefs.footer_img, "</h>");
    page.add("v").required = true;
    globals::web_page()->blocked_ips()->Add("10.0.0.1");
    write_file("blockedIPs.txt", "10.0.0.1\r\n");
    write_file("blocked", "a file"); // the data file's folder cannot be made: the server fails
    globals::csv_file()->filename = "blocked/data.csv";
    globals::csv_file()->show_errors = false;
    // In place of "ok": the answer of a field's check, of a banned visitor, of the server's failure.
    const std::tuple<QByteArray, PhpRequest, bool> failures[] = {
        { "<p class=\"error\">bad v</p>", PhpRequest().add("v", ""), false },
        { "Sorry your IP is banned!", { .fields = { { "v", "x" } }, .remote_addr = "10.0.0.1" }, false },
        { "Sorry, your submission could not be processed.", PhpRequest().add("v", "x"), true },
    };
    const std::tuple<bool, bool, QByteArray> cases[]
        = { { true, false, "<h>ok" }, { false, true, "ok</h>" }, { false, false, "ok" }, { true, true, "<h>ok</h>" } };
    for (const auto &[header, footer, answer] : cases) {
        prefs.is_header = header;
        prefs.is_footer = footer;
        prefs.is_csv = false;
        EXPECT_EQ(post(PhpRequest().add("v", "x")).body, answer) << header << footer;
        for (const auto &[text, request, csv] : failures) {
            prefs.is_csv = csv;
            page.write(php);
            EXPECT_EQ(php.run("index.php", request).body, QByteArray(answer).replace("ok", text)) << header << footer;
        }
    }
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
    EXPECT_EQ(post(PhpRequest().add("name", "")).body, "<p class=\"error\">bad name</p>");

    // A list the script cannot read bans no one, silently: a socket cannot be
    // opened even by the superuser, a folder cannot be read.
    ASSERT_TRUE(QFile::remove(php.path("blockedIPs.txt")));
    banned.remote_addr = "10.0.0.1";
    QLocalServer socket;
    socket.setSocketOptions(QLocalServer::WorldAccessOption);
    ASSERT_TRUE(socket.listen(php.path("blockedIPs.txt")));
    EXPECT_EQ(post(banned).body, "ok");
    socket.close();
    ASSERT_TRUE(QDir(php.folder()).mkdir("blockedIPs.txt"));
    EXPECT_EQ(post(banned).body, "ok");
}

// Another method than the form's gets 405 and the form's in Allow; a request without any field a browser
// always sends (a crawler's visit, an empty post) gets 400. Nothing is sent.
TEST_F(ScriptTest, OnlyARequestOfTheFormsMethodWithItsFieldsIsProcessed)
{
    page.prefs().success_message = "ok";
    Field &name = page.add("name"); // nothing required: an empty request would pass
    mail_the_owner();
    using Fields = QList<QPair<QByteArray, QByteArray>>;
    const Fields ann = { { "name", "Ann" } }, foreign = { { "utm_source", "feed" } };
    const std::tuple<QString, QByteArray, Fields, QByteArray> cases[] = { { "POST", "GET", ann, "405" },
        { "POST", "HEAD", ann, "405" }, { "POST", "POST", ann, "" }, { "GET", "POST", ann, "405" },
        { "GET", "GET", ann, "" }, { "GET", "GET", {}, "400" }, { "GET", "GET", foreign, "400" },
        { "POST", "POST", {}, "400" }, { "POST", "POST", foreign, "400" }, { "POST", "POST", { { "name", "" } }, "" } };
    for (const auto &[form_method, request_method, fields, status] : cases) {
        SCOPED_TRACE((form_method + " form, " + request_method + " " + fields.value(0).first).toStdString());
        page.form->set_Method(form_method);
        const PhpResponse response = post(PhpRequest { request_method, fields, {} });
        EXPECT_EQ(response.headers.value("status").left(3), status);
        EXPECT_EQ(response.headers.value("allow"), status == "405" ? form_method.toUtf8() : "");
        EXPECT_EQ(response.body, status.isEmpty() ? "ok" : status == "400" ? "Nothing was submitted." : "");
        EXPECT_EQ(php.take_mails().size(), status.isEmpty() ? 1 : 0);
    }
    // A form of check boxes only cannot tell a visit from a submission.
    name.field_type = "checkbox";
    EXPECT_EQ(post(PhpRequest()).body, "ok");
    EXPECT_EQ(php.take_mails().size(), 1);

    // Read from pages, beside a check box: what a browser may leave out of the post of a ticked box, and what it
    // always sends, which the post below lacks.
    page.prefs().is_email = false;
    const std::pair<const char *, bool> forms[] = {
        { "<select name=colors multiple><option>red</select>", false },
        { "<input name=name disabled>", false },
        { "<select name=size></select>", false },
        { "<fieldset disabled><input name=name></fieldset>", false },
        { "<select name=size size=3><option>S</select>", false },
        { "<datalist id=sizes><input name=name></datalist>", false },
        { "<select name=size><option disabled>S</option><optgroup disabled><option>M</select>", false },
        { "<select name=size><option>S<option selected disabled>M</select>", false },
        { "<input name=name>", true },
        { "<select name=size><option disabled>S<option>M</select>", true },
        { "<select name=size size=1><optgroup><option>S</select>", true },
        { "<fieldset disabled><legend><input name=name></legend></fieldset>", true },
        { "<textarea name=note></textarea>", true },
    };
    for (const auto &[markup, always_sent] : forms) {
        write_file("page.html", "<form method=post>" + QByteArray(markup) + "<input type=checkbox name=agree></form>");
        webpage reader;
        reader.path = php.path("page.html");
        reader.ReadForms();
        ASSERT_EQ(reader.nforms, 1);
        page.form->set_fields(reader.forms->Item(1)->fields());
        const PhpResponse response = post(PhpRequest().add("agree", "on"));
        EXPECT_EQ(response.body, always_sent ? "Nothing was submitted." : "ok") << markup;
    }
}

// A post over PHP's size limit arrives empty: it fails (as the first upload, if any) and sends nothing. A post
// PHP reads nothing of for another reason, empty or in another format, is no submission.
TEST_F(ScriptTest, APostTooLargeForPhpFailsAndChangesNothing)
{
    page.prefs().success_message = "ok";
    page.add("name");
    mail_the_owner();
    php.arguments = QStringList { "-d", "post_max_size=4K" };
    page.write(php);
    for (const qsizetype size : { 3000, 5000 }) {
        const PhpResponse response = php.run("index.php", PhpRequest().add("name", QByteArray(size, 'x')));
        EXPECT_EQ(response.errors.contains("exceeds the limit"), size > 4096) << response.errors.toStdString();
        EXPECT_EQ(response.body, size > 4096 ? "Sorry, your submission is too large." : "ok");
        EXPECT_EQ(php.take_mails().size(), size > 4096 ? 0 : 1);
    }
    const std::tuple<QByteArray, QByteArray, QByteArray> bodies[] = {
        { "multipart/form-data; boundary=x", "--x--\r\n", "Nothing was submitted." },
        { "application/json", "{\"name\": \"Ann\"}", "Nothing was submitted." },
        { "application/json", "{\"name\": \"" + QByteArray(5000, 'x') + "\"}", "Sorry, your submission is too large." },
    };
    for (const auto &[type, body, answer] : bodies) {
        const PhpResponse response = php.run("index.php", { .content_type = type, .body = body });
        EXPECT_EQ(response.body, answer) << type.constData();
        EXPECT_EQ(response.headers.value("status").left(3), answer.startsWith("Nothing") ? "400" : "");
        EXPECT_TRUE(php.take_mails().isEmpty());
    }
    Field &photo = page.add("photo", "file");
    photo.validation_type = 7;
    page.prefs().is_upload = true;
    page.write(php);
    EXPECT_EQ(
        php.run("index.php", PhpRequest().add("name", QByteArray(5000, 'x'))).body, "<p class=\"error\">bad photo</p>");
    EXPECT_TRUE(php.take_mails().isEmpty());
}

// ---- Mail ----

class Mail : public ScriptTest
{
protected:
    void SetUp() override
    {
        // Nothing beyond a bare PHP: no multibyte or iconv module.
        php.arguments << "-n";
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
    QList<CapturedMail> mails_for(
        const QByteArray &email, const QByteArray &name = "Ann \"A\" O'Neil", const QByteArray &city = "Paris")
    {
        EXPECT_EQ(post(PhpRequest().add("email", email).add("name", name).add("city", city)).body, "ok");
        return php.take_mails();
    }

    static QByteArrayList headers(
        const CapturedMail &mail, std::initializer_list<const char *> names = { "to", "subject", "from", "reply-to" })
    {
        QByteArrayList listed;
        for (const char *name : names)
            listed << mail.headers.value(name, "(none)");
        return listed;
    }
};

TEST_F(Mail, OwnerGetsTheValuesAndTheVisitorAnAutoResponse)
{
    page.prefs().is_email = page.prefs().is_autoresponde = true;
    QList<CapturedMail> mails = mails_for("ann@example.com");
    ASSERT_EQ(mails.size(), 2);
    // From the owner's own first address, so that it is not refused as forged;
    // replies go to the visitor.
    EXPECT_EQ(headers(mails[0]),
        QByteArrayList(
            { "owner@example.com,boss@example.com", "New \"order\"", "owner@example.com", "ann@example.com" }));
    EXPECT_EQ(mails[0].body,
        "Visitor's IP: 203.0.113.7\r\nName: Ann \"A\" O'Neil\r\nCity: Paris costs $5 at C:\\shop, {Paris[0], $names, "
        "Paris->x\r\n");
    EXPECT_EQ(
        headers(mails[1]), QByteArrayList({ "ann@example.com", "Thank you", "shop@example.com", "shop@example.com" }));
    EXPECT_EQ(mails[1].body, "Dear Ann \"A\" O'Neil,\r\nwe got it.\r\n"); // never with the IP line
    // What every mail declares, so that servers deliver it and readers show it.
    for (const CapturedMail &mail : mails)
        EXPECT_EQ(headers(mail, { "mime-version", "content-type", "content-transfer-encoding" }),
            QByteArrayList({ "1.0", "text/plain; charset=UTF-8", "quoted-printable" }));

    // A typed sender, and no IP line.
    page.prefs().is_autoresponde = page.form->is_send_ip = false;
    globals::owner_mail()->is_GeneericEmail = true;
    globals::owner_mail()->sender = "forms@example.com";
    mails = mails_for("ann@example.com");
    ASSERT_EQ(mails.size(), 1);
    EXPECT_EQ(headers(mails[0]).mid(2), QByteArrayList({ "forms@example.com", "forms@example.com" }));
    EXPECT_EQ(
        mails[0].body, "Name: Ann \"A\" O'Neil\r\nCity: Paris costs $5 at C:\\shop, {Paris[0], $names, Paris->x\r\n");
    globals::owner_mail()->message_lines()->Clear();
    EXPECT_EQ(mails_for("ann@example.com").value(0).body, "\r\n"); // no lines, no undefined message
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
            QByteArrayList({ "owner@example.com,boss@example.com", "New \"order\"", "owner@example.com", "(none)" }));
        EXPECT_FALSE(mails[0].headers.contains("bcc"));
        EXPECT_FALSE(mails[0].raw.contains("victim")) << mails[0].raw.toStdString();
    }
}

// A mail the mail program refuses is logged, never reported as sent; it fails the submission where it was
// the only record, with no auto-response and no stored upload left.
TEST_F(Mail, AMailNotSentIsLoggedAndFailsASubmissionKeptNowhereElse)
{
    page.prefs().is_email = page.prefs().is_autoresponde = true;
    globals::csv_file()->filename = "data.csv";
    Field &photo = page.add("photo", "file");
    std::tie(photo.max_size, photo.upload_folder) = std::tuple(1, "uploads");
    photo.mime_types()->Add("image/gif");
    const QByteArray failed = "Sorry, your submission could not be processed.";
    // Kept in a CSV file, with an upload, the refused recipient; the answer, the mails sent, what is logged.
    const std::tuple<bool, bool, QByteArray, QByteArray, int, QByteArrayList> cases[] = {
        { false, false, "owner@", failed, 0, { "submission not processed: mail to the form owner not sent" } },
        { false, true, "owner@", failed, 0, { "submission not processed: mail to the form owner not sent" } },
        { true, true, "owner@", "ok", 1, { "mail to the form owner not sent" } },
        { false, true, "ann@", "ok", 1, { "auto-response to the visitor not sent" } },
        { true, false, "", "ok", 2, {} },
    };
    static const QRegularExpression logged(QStringLiteral(R"(^\[[^\]\n]*\] [^\n]*/index\.php: (.*)$)"));
    for (const auto &[csv, upload, refused, answer, sent, log] : cases) {
        SCOPED_TRACE(refused.toStdString() + (csv ? " csv" : "") + (upload ? " upload" : ""));
        page.prefs().is_csv = csv;
        page.prefs().is_upload = upload;
        photo.validation_type = upload ? 7 : 8;
        php.refused_recipient = refused;
        PhpRequest request = PhpRequest().add("email", "ann@example.com").add("name", "Ann").add("city", "Oslo");
        if (upload)
            request.uploads.append({ "photo", "a.gif", "GIF89a", "image/gif" });
        page.write(php);
        const PhpResponse response = php.run("index.php", request);
        EXPECT_EQ(response.body, answer);
        EXPECT_EQ(php.take_mails().size(), sent);
        QByteArrayList lines;
        for (const QString &line : QString::fromUtf8(response.errors).split('\n', Qt::SkipEmptyParts))
            lines << logged.match(line).captured(1).toUtf8();
        EXPECT_EQ(lines, log);
        EXPECT_EQ(QDir(php.path("uploads")).entryList(QDir::Files).size(), upload && answer == "ok" ? 1 : 0);
        EXPECT_EQ(parse_csv(read_file("data.csv")).size(), csv ? 2 : 0);
        QDir(php.path("uploads")).removeRecursively();
        QFile::remove(php.path("data.csv"));
    }
}

TEST_F(Mail, EveryPlaceholderOfAFieldIsReplacedAndOthersStayAsTyped)
{
    page.prefs().is_email = true;
    page.form->is_send_ip = false;
    cmail &owner = *globals::owner_mail();
    owner.set_message("Dear #name# from #city#, #name##city# #name#s #city#[0]\n"
                      "#nofield# #5 ##name# #name #city\n"
                      "Say \"#name#\" $5 C:\\new\\t");
    const QList<CapturedMail> mails = mails_for("ann@example.com", "Ann", "Paris");
    ASSERT_EQ(mails.size(), 1);
    EXPECT_EQ(mails[0].body,
        "Dear Ann from Paris, AnnParis Anns Paris[0]\r\n"
        "#nofield# #5 #Ann Ann Paris\r\n"
        "Say 'Ann' $5 C:\\new\\t\r\n");
}

// The words of an encoded header as text.
QByteArray decoded_header(const QByteArray &value)
{
    static const QRegularExpression word(QStringLiteral(R"(=\?UTF-8\?B\?([A-Za-z0-9+/=]*)\?=)"));
    QByteArray text;
    for (const QByteArray &part : value.split(' ')) {
        const QRegularExpressionMatch match = word.match(QString::fromLatin1(part));
        text += match.hasMatch() && match.capturedLength() == part.size()
            ? QByteArray::fromBase64(match.captured(1).toLatin1())
            : (text.isEmpty() ? part : ' ' + part);
    }
    return text;
}

TEST_F(Mail, SubjectBeyondAsciiIsEncodedAndLineEndsAreUniform)
{
    page.prefs().is_email = true;
    const QString subject = QStringLiteral("Neue Anmeldung \u2013 Gr\u00FC\u00DFe aus K\u00F6ln, vielen Dank f\u00FCr "
                                           "Ihr Vertrauen \U0001F600 und bis bald");
    globals::owner_mail()->subject = subject;
    // Line breaks of every kind in the visitor's values.
    const QList<CapturedMail> mails = mails_for("ann@example.com", "Ann\nLee", "Paris\rCedex\r\n75");
    ASSERT_EQ(mails.size(), 1);
    const QByteArray raw_subject = mails[0].headers.value("subject");
    EXPECT_EQ(decoded_header(raw_subject), subject.toUtf8());
    const QByteArray head = mails[0].raw.left(mails[0].raw.indexOf("\r\n\r\n") + 1);
    for (const QByteArray &line : head.split('\n')) {
        EXPECT_LE(line.size(), 79) << line.toStdString(); // 78 and the CR
        EXPECT_TRUE(line.endsWith('\r')) << line.toStdString();
    }
    EXPECT_TRUE(raw_subject.startsWith("=?UTF-8?B?"));
    const QByteArray &body = mails[0].body;
    EXPECT_EQ(body.count("\r\n"), body.count('\n'));
    EXPECT_EQ(body.count("\r\n"), body.count('\r'));
    EXPECT_TRUE(body.contains("Name: Ann\r\nLee\r\nCity: Paris\r\nCedex\r\n75 costs")) << body.toStdString();
}

// Each encoded word is whole characters: readers decode the words one by one.
TEST_F(Mail, SubjectIsCutOnlyBetweenCharacters)
{
    page.prefs().is_email = true;
    static const QRegularExpression word(QStringLiteral(R"(=\?UTF-8\?B\?([A-Za-z0-9+/=]*)\?=)"));
    for (const QString &letter : { QStringLiteral("\u00FC"), QStringLiteral("\u2013"), QStringLiteral("\U0001F600") }) {
        // Shifted by up to three bytes, the letters fall across every cut a byte count would make.
        for (int shift = 0; shift < 4; ++shift) {
            const QString subject = QString(shift, QLatin1Char('a')) + letter.repeated(12);
            SCOPED_TRACE(subject.toStdString());
            globals::owner_mail()->subject = subject;
            const QList<CapturedMail> mails = mails_for("ann@example.com");
            ASSERT_EQ(mails.size(), 1);
            const QByteArray raw = mails[0].headers.value("subject");
            EXPECT_EQ(decoded_header(raw), subject.toUtf8());
            for (auto words = word.globalMatch(QString::fromLatin1(raw)); words.hasNext();) {
                const QByteArray part = QByteArray::fromBase64(words.next().captured(1).toLatin1());
                EXPECT_EQ(QString::fromUtf8(part).toUtf8(), part) << part.toHex().toStdString();
            }
        }
    }
}

// ---- The CSV file ----

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

// Posts that reach the file at the same moment, on an empty file and on one
// being written: one header, first, and every record whole, in each round.
TEST_F(Csv, PostsArrivingTogetherEachWriteOneWholeRecordUnderOneHeader)
{
    page.write(php);
    for (int round = 1; round <= 6; ++round) {
        QFile::remove(php.path("data.csv"));
        QList<PhpRequest> requests;
        QSet<QStringList> records { { "name", "comments", "colors", "email" } };
        for (int i = 0; i < 16; ++i) {
            // Small and large values, each of its own character.
            const QString name = QString(i % 4 == 3 ? 200000 : 3, QChar(u'a' + i)) + ", " + QString::number(round);
            requests << PhpRequest().add("name", name.toUtf8()).add("colors[]", QByteArray::number(i));
            records.insert({ name, "", QString::number(i), "" });
        }
        for (const PhpResponse &response : php.run_together("index.php", requests))
            EXPECT_EQ(response.body + response.errors, "ok");
        const QList<QStringList> stored = parse_csv(read_file("data.csv"));
        ASSERT_EQ(stored.size(), 17) << "round " << round;
        EXPECT_EQ(stored.front(), QStringList({ "name", "comments", "colors", "email" })) << "round " << round;
        EXPECT_EQ(QSet<QStringList>(stored.begin(), stored.end()), records) << "round " << round;
    }
}

// A file in a missing folder is written, its folders made as the upload folders are; a folder or a file that
// cannot be made fails the submission, with its reason if asked.
TEST_F(Csv, AFileThatCannotBeOpenedFailsTheSubmission)
{
    globals::csv_file()->filename = "missing/folder/data.csv";
    ASSERT_EQ(post(PhpRequest().add("name", "Ann")).body, "ok");
    EXPECT_EQ(parse_csv(read_file("missing/folder/data.csv")).value(1).value(0), "Ann");
    EXPECT_EQ(mode(php.path("missing")), 0755);
    EXPECT_EQ(mode(php.path("missing/folder")), 0755);
    write_file("blocked", "a file");
    const QByteArray failed = "Sorry, your submission could not be processed.";
    for (const auto &[name, reason] : { std::pair("blocked/data.csv", " Cannot create the folder (blocked)"),
             { "missing", " Cannot open file (missing)" } }) {
        globals::csv_file()->filename = name;
        for (const bool shown : { true, false }) {
            globals::csv_file()->show_errors = shown;
            page.write(php); // the reason is logged
            EXPECT_EQ(php.run("index.php", PhpRequest().add("name", "Bo")).body, failed + (shown ? reason : ""))
                << name;
        }
    }
}

// The script's own variables (a zip+4 check, an upload, the banned-address
// check) never take the place of a field named like one of them.
TEST_F(Csv, FieldsNamedLikeTheScriptsWorkingVariablesKeepTheirValues)
{
    const char *const names[] = { "z1", "z2", "uploadFile", "ip", "fp", "banned", "ips", "value", "path" };
    Field &zip = page.add("zip");
    zip.validation_type = 2;
    zip.expression_type = 4;
    Field &photo = page.add("photo", "file");
    photo.validation_type = 7;
    photo.max_size = 1;
    photo.mime_types()->Add("image/gif");
    page.prefs().is_upload = true;
    globals::web_page()->blocked_ips()->Add("10.0.0.1");
    write_file("blockedIPs.txt", "10.0.0.1\r\n");
    PhpRequest request = PhpRequest().add("zip", "12345-6789");
    request.uploads.append({ "photo", "p.gif", "GIF89a", "image/gif" });
    for (const char *name : names) {
        page.add(QString::fromLatin1(name));
        request.add(name, QByteArray("my-own-") + name);
    }
    EXPECT_EQ(post(request).body, "ok");
    const QStringList record = parse_csv(read_file("data.csv")).value(1);
    ASSERT_EQ(record.size(), 6 + std::size(names));
    for (std::size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(record.at(6 + i), QStringLiteral("my-own-") + QLatin1String(names[i]));
}

// ---- Stored uploads ----

class StoredFile : public ScriptTest
{
protected:
    void SetUp() override
    {
        redirect_results();
        page.prefs().is_upload = page.prefs().is_email = page.prefs().is_csv = true;
        globals::csv_file()->filename = "data.csv";
        photo = &page.add("photo", "file");
        photo->validation_type = 7;
        photo->max_size = 1; // one thousand bytes
        photo->upload_folder = "uploads\\";
        photo->upload_url = "http://example.com/uploads/";
        photo->mime_types()->Add("image/gif");
        photo->mime_types()->Add("image/png");
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

    QStringList stored(const QString &folder = "uploads")
    {
        return QDir(php.path(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    // Nothing of a refused submission is kept or sent.
    void expect_nothing_kept()
    {
        EXPECT_EQ(stored(), QStringList());
        EXPECT_EQ(read_file("data.csv"), QByteArray());
        EXPECT_TRUE(php.take_mails().isEmpty());
    }

    Field *photo = nullptr;
};

TEST_F(StoredFile, UploadIsStoredUnderACleanNameAndItsAddressMailed)
{
    ASSERT_EQ(upload("my photo!.gif").location(), "thanks.html");
    EXPECT_EQ(read_file("uploads/my_photo_.gif"), "GIF89a");
    EXPECT_EQ(php.take_mails().value(0).body, "http://example.com/uploads/my_photo_.gif\r\n");
    EXPECT_EQ(parse_csv(read_file("data.csv")).value(1), QStringList { "my_photo_.gif" });
    // A second file of that name keeps the first.
    ASSERT_EQ(upload("my photo!.gif", "second").location(), "thanks.html");
    EXPECT_EQ(read_file("uploads/my_photo_.gif"), "GIF89a");
    EXPECT_EQ(read_file("uploads/my_photo__1.gif"), "second");
    EXPECT_EQ(php.take_mails().value(0).body, "http://example.com/uploads/my_photo__1.gif\r\n");
    // Folder parts of the name are dropped; a file of exactly the limit is taken.
    ASSERT_EQ(upload("..\\..\\etc/passwd.png", QByteArray(1000, 'x'), "image/png").location(), "thanks.html");
    EXPECT_EQ(stored(), QStringList({ "my_photo_.gif", "my_photo__1.gif", "passwd.png" }));
    // Only the site's own user may write, even under a server that lets
    // everyone write what it creates.
    EXPECT_EQ(mode(php.path("uploads")), 0755);
    EXPECT_EQ(mode(php.path("uploads/passwd.png")), 0644);
}

TEST_F(StoredFile, WithoutAFolderTheFileGoesNextToTheScriptWhoseFolderIsLeftAlone)
{
    photo->upload_folder.clear();
    const int before = mode(php.folder());
    ASSERT_EQ(upload("a.gif").location(), "thanks.html");
    ASSERT_EQ(upload("a.gif").location(), "thanks.html");
    EXPECT_EQ(read_file("a_1.gif"), "GIF89a");
    EXPECT_EQ(mode(php.folder()), before);
}

TEST_F(StoredFile, RefusedUploadsStoreNothing)
{
    // Too big by one byte, empty, a type not allowed.
    EXPECT_EQ(upload("photo.gif", QByteArray(1001, 'x')).location(), "sorry.html");
    EXPECT_EQ(upload("photo.gif", "").location(), "sorry.html");
    EXPECT_EQ(upload("photo.jpg", "x", "image/jpeg").location(), "sorry.html");
    // Names a web server might run or a browser show as a page of the site,
    // whatever the type.
    for (const char *name : { "shell.php.gif", "x.pHp", "x.php5", ".htaccess", "run.cgi.png", "page.shtml",
             "../.hidden.gif", "note.html", "NOTE.HTM", "page.xhtml", "page.xht", "page.shtm", "image.svg",
             "image.svgz", "data.xml.gif", "style.xsl", "code.js", "code.mjs", "web.config", "Web.Config." })
        EXPECT_EQ(upload(name, "<svg onload=alert(1)>").location(), "sorry.html") << name;
    page.prefs().is_embeded_result_page = true;
    EXPECT_EQ(upload("x.php").body, "<p class=\"error\">bad photo</p>");
    expect_nothing_kept();
}

TEST_F(StoredFile, AnUploadLeftOutIsAnEmptyValueForTheRequiredTest)
{
    EXPECT_EQ(post(PhpRequest()).location(), "thanks.html");
    EXPECT_EQ(parse_csv(read_file("data.csv")).value(1), QStringList { "" });
    EXPECT_EQ(php.take_mails().value(0).body, "\r\n"); // no address
    // A file chosen but refused by PHP itself is no empty value.
    php.arguments = QStringList { "-d", "upload_max_filesize=500" };
    EXPECT_EQ(upload("a.gif", QByteArray(800, 'x')).location(), "sorry.html");
    photo->required = true;
    php.arguments.clear();
    EXPECT_EQ(post(PhpRequest()).location(), "sorry.html");
    EXPECT_EQ(upload("a.gif").location(), "thanks.html");
}

TEST_F(StoredFile, NothingIsStoredWhenALaterCheckFails)
{
    page.add("name").required = true;
    PhpRequest request = PhpRequest().add("name", "");
    request.uploads.append({ "photo", "photo.gif", "GIF89a", "image/gif" });
    EXPECT_EQ(post(request).location(), "sorry.html");
    expect_nothing_kept();
}

// A file that cannot be stored fails the submission like a refused one:
// no action runs, no file is overwritten, and files stored before it go.
TEST_F(StoredFile, AFileThatCannotBeStoredFailsTheSubmission)
{
    // What stands in the way, the name uploaded, and how to set it up.
    const std::tuple<const char *, QByteArray, std::function<void()>> causes[] = {
        { "name_too_long", QByteArray(300, 'a') + ".gif", [] {} },
        { "folder_is_a_file", "a.gif",
            [this] {
                write_file("blocked", "a file");
                photo->upload_folder = "blocked";
            } },
    };
    for (const auto &[label, name, cause] : causes) {
        SCOPED_TRACE(label);
        photo->upload_folder = "uploads";
        cause();
        page.write(php); // the reason is logged
        const PhpRequest request { "POST", {}, { { "photo", name, "GIF89a", "image/gif" } } };
        EXPECT_EQ(php.run("index.php", request).location(), "sorry.html");
        expect_nothing_kept();
    }

    // A second upload that cannot be stored takes the first along.
    photo->upload_folder = "uploads";
    Field &scan = page.add("scan", "file");
    scan.validation_type = 7;
    scan.max_size = 1;
    scan.mime_types()->Add("image/gif");
    scan.upload_folder = "uploads";
    PhpRequest both;
    both.uploads = { { "photo", "a.gif", "GIF89a", "image/gif" },
        { "scan", QByteArray(300, 'b') + ".gif", "GIF89a", "image/gif" } };
    page.write(php);
    EXPECT_EQ(php.run("index.php", both).location(), "sorry.html");
    expect_nothing_kept();
}

// ---- Texts the wizard's user typed ----

// Backslash pairs PHP would read as escapes, and what would be a variable:
// each comes out of the running script as it was typed.
struct TypedText
{
    const char *label;
    const char *text;
};

void PrintTo(const TypedText &typed, std::ostream *out)
{
    *out << typed.label;
}

class Typed : public ScriptTest, public ::testing::WithParamInterface<TypedText>
{
};

TEST_P(Typed, TextsComeOutAsTyped)
{
    const QString t = QString::fromUtf8(GetParam().text);
    Cprefrences &prefs = page.prefs();
    prefs.is_email = prefs.is_autoresponde = prefs.is_csv = prefs.is_upload = true;
    prefs.is_header = prefs.is_footer = true;
    prefs.header_img = "head" + t + ".html";
    prefs.footer_img = "foot" + t + ".html";
    write_file(prefs.header_img, "<h>");
    write_file(prefs.footer_img, "</h>");
    prefs.success_message = "ok " + t;
    page.add("email");
    Field &v = page.add("v");
    v.validation_type = 3;
    v.list_values = "|L" + t + "|";
    v.error_html = "<b class=\\\"e\\\">E " + t + "</b>";
    Field &photo = page.add("photo", "file");
    photo.validation_type = 7;
    photo.max_size = 1;
    photo.upload_url = "http://example.com/u" + t + "/files";
    photo.mime_types()->Add("image/x" + t);
    photo.mime_types()->Add("image/gif"); // a type whose names can be stored
    globals::csv_file()->filename = "data" + t + ".csv";
    cmail &owner = *globals::owner_mail();
    owner.is_GeneericEmail = true;
    owner.sender = "from" + t + "@example.com";
    owner.email_to = "to" + t + "@example.com";
    owner.subject = "S " + t;
    owner.set_message("M " + t + " m\nE " + t + "\n#photo_URL#");
    page.form->is_send_ip = false;
    cmail &reply = *globals::auto_mail();
    reply.is_autoresponde = true;
    reply.sender = "shop" + t + "@example.com";
    reply.email_to = "$email";
    reply.subject = "A " + t;
    reply.set_message("Dear " + t);

    const QByteArray b = t.toUtf8();
    PhpRequest passing = PhpRequest().add("email", "ann@example.com").add("v", "L" + b);
    passing.uploads.append({ "photo", "g.gif", "GIF89a", "image/x" + b });
    EXPECT_EQ(post(passing).body, "<h>ok " + b + "</h>");
    const QList<CapturedMail> mails = php.take_mails();
    ASSERT_EQ(mails.size(), 2);
    const QByteArray in_body = QByteArray(b).replace('"', '\''); // the body's quotes are made single
    EXPECT_EQ(mails[0].headers.value("to"), "to" + b + "@example.com");
    EXPECT_EQ(mails[0].headers.value("from"), "from" + b + "@example.com");
    EXPECT_EQ(mails[0].headers.value("subject"), "S " + b);
    EXPECT_EQ(
        mails[0].body, "M " + in_body + " m\r\nE " + in_body + "\r\nhttp://example.com/u" + b + "/files/g.gif\r\n");
    EXPECT_EQ(mails[1].headers.value("from"), "shop" + b + "@example.com");
    EXPECT_EQ(mails[1].headers.value("subject"), "A " + b);
    EXPECT_EQ(mails[1].body, "Dear " + in_body + "\r\n");
    EXPECT_FALSE(read_file(globals::csv_file()->filename).isEmpty());

    // The error text keeps only the page reader's escaped quotes.
    EXPECT_EQ(post(PhpRequest().add("v", "L")).body,
        "<h><b class=\"e\">E " + QByteArray(b).replace("\\\"", "\"") + "</b></h>");
    prefs.is_embeded_result_page = false;
    prefs.success_page = "thanks" + t + ".html";
    prefs.error_page = "sorry" + t + ".html";
    EXPECT_EQ(post(passing).location(), "thanks" + b + ".html");
    EXPECT_EQ(post(PhpRequest().add("email", "").add("v", "")).location(), "thanks" + b + ".html");
    EXPECT_EQ(post(PhpRequest().add("v", "L")).location(), "sorry" + b + ".html");

    lib settings;
    settings.host = "h" + t;
    settings.username = "u" + t;
    settings.password = "p" + t;
    settings.db = "d" + t;
    settings.table = "t" + t;
    write_file("lib.php", ("<?php\r\n" + settings.get_lib_code() + "?>\r\n").toUtf8());
    write_file("show.php", "<?php include \"lib.php\"; echo \"$host|$username|$password|$db|$table\";");
    EXPECT_EQ(php.run_cli("show.php").body, "h" + b + "|u" + b + "|p" + b + "|d" + b + "|t" + b);
}

INSTANTIATE_TEST_SUITE_P(Escapes, Typed,
    ::testing::Values(TypedText { "backslash_n", "\\n" }, TypedText { "backslash_t", "\\t" },
        TypedText { "backslash_pair", "\\\\" }, TypedText { "backslash_dollar", "\\$" },
        TypedText { "hex_escape", "\\x41" }, TypedText { "unicode_escape", "\\u{41}" },
        TypedText { "octal_escape", "\\101" }, TypedText { "escaped_quote", "\\\"" },
        TypedText { "variables_and_quotes", "{$x}\"$y'" }, TypedText { "lone_backslash", "a\\" }),
    [](const auto &info) { return std::string(info.param.label); });

} // namespace
