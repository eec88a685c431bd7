// What the visitor sees: each rule passing and failing, in both result modes.
#include "ScriptTest.h"

#include "model/CForm.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <functional>

namespace {

struct RuleCase
{
    const char *label;
    std::function<void(Field &)> rule;
    QByteArray passing;
    QByteArray failing;
};

void between(Field &f, qint32 low, qint32 high)
{
    f.validation_type = 0;
    f.range_operator1 = 1; // fails below the low bound
    f.range_min = low;
    f.range_operator2 = 0; // fails above the high bound
    f.range_max = high;
}

void format(Field &f, qint32 type)
{
    f.validation_type = 2;
    f.expression_type = type;
}

const RuleCase kRules[] = {
    { "range", [](Field &f) { between(f, 18, 65); }, "30", "17" },
    { "range_refuses_text", [](Field &f) { between(f, 18, 65); }, "65", "abc" },
    { "compare_exact_text",
        [](Field &f) {
            f.validation_type = 1;
            f.compare_field()->name = QStringLiteral("other");
        },
        "1000", "1e3" },
    { "list_ignores_case",
        [](Field &f) {
            f.validation_type = 3;
            f.list_values = QStringLiteral("red|green");
        },
        "GREEN", "blue" },
    { "length_in_characters",
        [](Field &f) {
            f.validation_type = 4;
            f.length_operator2 = 0; // fails above three characters
            f.length_max = 3;
        },
        "\xC3\xA9t\xC3\xA9", "abcd" },
    { "email", [](Field &f) { format(f, 0); }, "me@example.com", "me@example" },
    { "url_with_https", [](Field &f) { format(f, 1); }, "https://example.com", "ftp://example.com" },
    { "ip", [](Field &f) { format(f, 2); }, "10.0.0.999", "10.0.0" },
    { "zip", [](Field &f) { format(f, 3); }, "12345", "1234" },
    { "zip4_missing_part", [](Field &f) { format(f, 4); }, "12345-6789", "12345" },
    { "zip4_text", [](Field &f) { format(f, 4); }, "99999-1000", "1zzzz-1zzz" },
    { "card_with_dashes", [](Field &f) { format(f, 5); }, "4111111111111111", "4111-1111-1111-1111" },
    { "card_checksum", [](Field &f) { format(f, 5); }, "79927398713", "79927398710" },
    { "required", [](Field &f) { f.required = true; }, "x", "" },
};

void PrintTo(const RuleCase &rule, std::ostream *out)
{
    *out << rule.label;
}

class Rules : public ScriptTest, public ::testing::WithParamInterface<std::tuple<RuleCase, bool>>
{
protected:
    PhpResponse post_value(const QByteArray &value)
    {
        const auto &[rule, embedded] = GetParam();
        page.prefs().is_embeded_result_page = embedded;
        page.prefs().success_message = QStringLiteral("Form sent");
        page.add(QStringLiteral("other"));
        rule.rule(page.add(QStringLiteral("v")));
        const Field &v = *page.form->fields()->Item(QStringLiteral("v"));
        page.prefs().is_creditcard = v.validation_type == 2 && v.expression_type == 5;
        return post(PhpRequest().add("v", value).add("other", "1000"));
    }
};

TEST_P(Rules, PassingValueSucceeds)
{
    const auto &[rule, embedded] = GetParam();
    if (!embedded)
        redirect_results();
    const PhpResponse response = post_value(rule.passing);
    if (embedded) {
        EXPECT_EQ(response.body, "Form sent");
    } else {
        EXPECT_EQ(response.status, 302);
        EXPECT_EQ(response.location(), "thanks.html");
    }
}

TEST_P(Rules, FailingValueGivesTheFieldsError)
{
    const auto &[rule, embedded] = GetParam();
    if (!embedded)
        redirect_results();
    const PhpResponse response = post_value(rule.failing);
    if (embedded) {
        EXPECT_EQ(response.body, "<p class=\"error\">bad v</p>");
    } else {
        EXPECT_EQ(response.status, 302);
        EXPECT_EQ(response.location(), "sorry.html");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Rules, ::testing::Combine(::testing::ValuesIn(kRules), ::testing::Bool()), [](const auto &info) {
        return std::string(std::get<0>(info.param).label) + (std::get<1>(info.param) ? "_embedded" : "_redirect");
    });

TEST_F(ScriptTest, EmbeddedAnswerStandsBetweenHeaderAndFooter)
{
    page.prefs().is_header = true;
    page.prefs().is_footer = true;
    page.prefs().header_img = QStringLiteral("header.html");
    page.prefs().footer_img = QStringLiteral("footer.html");
    page.prefs().success_message = QStringLiteral("<p>Thanks, we pay \"$5\" \\o/</p>");
    page.add(QStringLiteral("name")).required = true;
    write_file(QStringLiteral("header.html"), "<html><body>");
    write_file(QStringLiteral("footer.html"), "</body></html>");

    EXPECT_EQ(
        post(PhpRequest().add("name", "Ann")).body, "<html><body><p>Thanks, we pay \"$5\" \\o/</p></body></html>");
    EXPECT_EQ(post(PhpRequest()).body, "<html><body><p class=\"error\">bad name</p>");
}

TEST_F(ScriptTest, MissingAndMalformedValuesAreEmpty)
{
    redirect_results();
    for (const char *name : { "a", "b", "c" })
        page.add(QString::fromLatin1(name)).required = true;
    page.add(QStringLiteral("list"), QStringLiteral("multi select"), QStringLiteral("list[]"));
    page.add(QStringLiteral("photo"), QStringLiteral("file"));
    // An array where one value belongs, or a missing one, is "" and fails
    // the required test, without any PHP warning.
    EXPECT_EQ(post(PhpRequest().add("a[]", "x").add("b", "y").add("c", "z")).location(), "sorry.html");
    EXPECT_EQ(post(PhpRequest().add("a", "x").add("b", "y")).location(), "sorry.html");
    EXPECT_EQ(
        post(PhpRequest().add("a", "x").add("b", "y").add("c", "z").add("list", "flat")).location(), "thanks.html");
}

TEST_F(ScriptTest, GetFormsReadTheQuery)
{
    GeneratedForm get(QStringLiteral("GET"));
    get.prefs().success_message = QStringLiteral("ok");
    get.add(QStringLiteral("q")).required = true;
    get.write(php);
    PhpRequest request;
    request.method = "GET";
    request.add("q", "find me");
    const PhpResponse response = php.run(QStringLiteral("index.php"), request);
    EXPECT_EQ(response.errors, QByteArray());
    EXPECT_EQ(response.body, "ok");
}

TEST_F(ScriptTest, BannedVisitorIsRefusedBeforeAnyCheck)
{
    page.prefs().success_message = QStringLiteral("ok");
    page.add(QStringLiteral("name")).required = true;
    globals::web_page()->blocked_ips()->Add(QStringLiteral("10.0.0.1"));
    write_file(QStringLiteral("blockedIPs.txt"), "10.0.0.1\r\n  203.0.113.7 \n\r\n");

    PhpRequest banned;
    banned.remote_addr = "203.0.113.7";
    EXPECT_EQ(post(banned).body, "Sorry your IP is banned!");

    PhpRequest prefix = banned; // only equal addresses match
    prefix.remote_addr = "203.0.113.70";
    prefix.add("name", "Ann");
    EXPECT_EQ(post(prefix).body, "ok");

    write_file(QStringLiteral("blockedIPs.txt"), "");
    EXPECT_EQ(post(banned).body, "<p class=\"error\">bad name</p>");
}

TEST_F(ScriptTest, NoBannedListMeansTheFileIsNotRead)
{
    page.prefs().success_message = QStringLiteral("ok");
    write_file(QStringLiteral("blockedIPs.txt"), "203.0.113.7\r\n");
    EXPECT_EQ(post(PhpRequest()).body, "ok");
}

} // namespace
