#include "ReaderFixture.h"

#include "model/CForm.h"
#include "model/Field.h"
#include "model/Forms.h"
#include "model/fields.h"

#include <QDir>
#include <QUrl>

namespace {

using ReadForms = ReaderFixture;

// ---- forms --------------------------------------------------------------

struct MethodCase
{
    const char *method; // as written in the page; nullptr: no attribute
    const char *expected;
};

void PrintTo(const MethodCase &c, std::ostream *out)
{
    *out << (c.method ? c.method : "(none)");
}

class FormMethod : public ReaderFixture, public ::testing::WithParamInterface<MethodCase>
{
};

TEST_P(FormMethod, FollowsTheLowerCaseLettersOfTheMethodText)
{
    const QByteArray attribute = GetParam().method ? QByteArray(" method='") + GetParam().method + "'" : QByteArray();
    ASSERT_TRUE(read("<form" + attribute + "><input name=a></form>"));
    EXPECT_EQ(page.forms->Item(1)->Method(), QLatin1String(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Methods, FormMethod,
    ::testing::Values(MethodCase { "post", "POST" }, MethodCase { "get", "GET" }, MethodCase { "", "POST" },
        MethodCase { nullptr, "POST" }, MethodCase { "GET", "POST" }, MethodCase { "Get", "POST" },
        MethodCase { "dialog", "GET" }, MethodCase { "gap", "POST" }));

TEST_F(ReadForms, EachFormIsKeyedInPageOrderWithItsNameAndAction)
{
    ASSERT_TRUE(read("<form name=contact action='send.php' method=post><input name=a></form>"
                     "<form name=search action='find.php' method=get><input name=q><input name=page></form>"));
    EXPECT_EQ(page.nforms, 2);
    ASSERT_EQ(page.forms->Count(), 2);
    const auto &first = page.forms->Item("Form1");
    const auto &second = page.forms->Item("Form2");
    EXPECT_EQ(first->FormName(), QStringLiteral("contact"));
    EXPECT_EQ(first->Action(), QStringLiteral("send.php"));
    EXPECT_EQ(second->FormName(), QStringLiteral("search"));
    EXPECT_EQ(second->Action(), QStringLiteral("find.php"));
    EXPECT_EQ(second->Method(), QStringLiteral("GET"));
    EXPECT_EQ(second->fields()->Count(), 2);
    EXPECT_EQ(second->fields()->Item(2)->name, QStringLiteral("page"));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(failed, 0);
}

TEST_F(ReadForms, APageWithoutFormsStillFinishes)
{
    page.nforms = 3;
    EXPECT_TRUE(read("<p>No form here.</p>"));
    EXPECT_EQ(page.nforms, 0);
    ASSERT_TRUE(page.forms);
    EXPECT_EQ(page.forms->Count(), 0);
}

TEST_F(ReadForms, EveryReadingStartsFromNewForms)
{
    ASSERT_TRUE(read("<form><input name=a></form>"));
    const std::shared_ptr<Forms> earlier = page.forms;
    ASSERT_TRUE(read("<form><input name=b></form><form></form>"));
    EXPECT_NE(page.forms, earlier);
    EXPECT_EQ(earlier->Count(), 1);
    EXPECT_EQ(page.nforms, 2);
}

// ---- fields -------------------------------------------------------------

struct FieldCase
{
    const char *element; // markup of one element inside a form
    const char *name;
    const char *post_name;
    const char *field_type;
    const char *error_message;
};

void PrintTo(const FieldCase &c, std::ostream *out)
{
    *out << c.element;
}

class FieldNaming : public ReaderFixture, public ::testing::WithParamInterface<FieldCase>
{
};

TEST_P(FieldNaming, NameServesAsPhpVariableAndPostNameAsSubmitted)
{
    ASSERT_TRUE(read(QByteArray("<form>") + GetParam().element + "</form>"));
    const auto &form_fields = page.forms->Item(1)->fields();
    ASSERT_EQ(form_fields->Count(), 1);
    const Field &field = *form_fields->Item(1);
    EXPECT_EQ(field.name, QString::fromUtf8(GetParam().name));
    EXPECT_EQ(field.post_name, QString::fromUtf8(GetParam().post_name));
    EXPECT_EQ(field.field_type, QString::fromUtf8(GetParam().field_type));
    EXPECT_EQ(field.error_message, QString::fromUtf8(GetParam().error_message));
    if (!field.name.isEmpty()) {
        EXPECT_TRUE(form_fields->Contains(field.name));
    }
}

INSTANTIATE_TEST_SUITE_P(Names, FieldNaming,
    ::testing::Values(FieldCase { "<input name='first name'>", "first_name", "first_name", "text",
                          "Please enter a valid first_name" },
        FieldCase { "<input name=e-mail>", "email", "e-mail", "text", "Please enter a valid email" },
        FieldCase { "<input name='a.b(c)'>", "abc", "a.b(c)", "text", "Please enter a valid abc" },
        FieldCase { "<input name=Phone type=tel>", "Phone", "Phone", "tel", "Please enter a valid phone" },
        FieldCase { "<input type=file name=photo>", "photo", "photo", "file", "Please enter a valid photo" },
        FieldCase { "<textarea name=comments></textarea>", "comments", "comments", "textarea",
            "Please enter a valid comments" },
        FieldCase {
            "<button type=reset name=clear>x</button>", "clear", "clear", "reset", "Please enter a valid clear" },
        // Elements without an input-element type.
        FieldCase { "<select name='colors[]' multiple></select>", "colors", "colors[]", "multi select",
            "Please enter a valid colors[]" },
        FieldCase { "<select name=size></select>", "size", "size", "not specified", "Please enter a valid size" },
        FieldCase {
            "<fieldset name=group></fieldset>", "group", "group", "not specified", "Please enter a valid group" },
        FieldCase { "<output name=total></output>", "total", "total", "not specified", "Please enter a valid total" },
        // Names made valid PHP variables.
        FieldCase {
            "<input type=checkbox name='tags[]'>", "tags", "tags[]", "multi select", "Please enter a valid tags[]" },
        FieldCase { "<input name='e-mail address'>", "email_address", "e-mail_address", "text",
            "Please enter a valid e-mail_address" },
        FieldCase { "<input name='item[3]'>", "item3", "item[3]", "text", "Please enter a valid item[3]" },
        FieldCase { "<input name='a;b'>", "ab", "a;b", "text", "Please enter a valid a;b" },
        FieldCase {
            "<input name='2nd choice'>", "_2nd_choice", "2nd_choice", "text", "Please enter a valid 2nd_choice" },
        FieldCase { "<input name=this>", "this_", "this", "text", "Please enter a valid this" },
        FieldCase { "<input name=_POST>", "_POST_", "_POST", "text", "Please enter a valid _post" },
        FieldCase { "<input name=GLOBALS>", "GLOBALS_", "GLOBALS", "text", "Please enter a valid globals" },
        FieldCase { "<input name=argv>", "argv_", "argv", "text", "Please enter a valid argv" },
        FieldCase { "<input name=tsl_ip>", "_tsl_ip", "tsl_ip", "text", "Please enter a valid tsl_ip" },
        FieldCase { "<input name=prénom>", "prénom", "prénom", "text", "Please enter a valid prénom" },
        FieldCase { "<input name='!!!'>", "", "!!!", "text", "Please enter a valid " }));

TEST_F(ReadForms, ErrorTextsNameTheField)
{
    ASSERT_TRUE(read("<form><input name=Phone></form>"));
    const Field &field = *page.forms->Item(1)->fields()->Item(1);
    EXPECT_EQ(field.error_message, QStringLiteral("Please enter a valid phone"));
    EXPECT_EQ(field.error_html,
        QStringLiteral("<p align=\\\"center\\\"><font size=\\\"4\\\" face=\\\"Vrinda\\\" "
                       "color=\\\"#FF0000\\\">please enter a valid Phone </font></p>"));
}

TEST_F(ReadForms, OnlyTheFirstOfTwoEqualNamesBecomesAField)
{
    ASSERT_TRUE(read("<form><input name=e-mail><input name=email type=hidden><input name=EMAIL></form>"));
    const auto &form_fields = page.forms->Item(1)->fields();
    ASSERT_EQ(form_fields->Count(), 1);
    EXPECT_EQ(form_fields->Item(1)->post_name, QStringLiteral("e-mail"));
}

TEST_F(ReadForms, UnnamedElementsAreAllKept)
{
    ASSERT_TRUE(read("<form><input name=a><input type=submit><button>Go</button><input type=reset></form>"));
    const auto &form_fields = page.forms->Item(1)->fields();
    ASSERT_EQ(form_fields->Count(), 4);
    EXPECT_EQ(form_fields->Item(3)->field_type, QStringLiteral("submit"));
    EXPECT_TRUE(form_fields->Item(4)->name.isEmpty());
}

TEST_F(ReadForms, FieldsFollowTheBrowsersOwnershipOfMalformedMarkup)
{
    // An unclosed form, a form inside it, controls in later table cells and
    // a control placed by its form attribute.
    ASSERT_TRUE(read("<div><form name=one><input name=a></div><form name=ignored><input name=b>"
                     "<table><tr><td><select name=c></select></td></tr></table></form>"
                     "<table><form name=two id=two><tr><td><input name=d></td><td><textarea name=e></textarea>"
                     "</td></tr></form></table><input name=f form=two><input name=g>"));
    ASSERT_EQ(page.nforms, 2);
    const auto listed = [this](qsizetype form) {
        QStringList fields_read;
        for (const auto &entry : *page.forms->Item(form)->fields())
            fields_read << entry.value->name + QLatin1Char('=') + entry.value->field_type;
        return fields_read.join(QLatin1Char(' '));
    };
    EXPECT_EQ(listed(1), QStringLiteral("a=text b=text c=not specified"));
    EXPECT_EQ(listed(2), QStringLiteral("d=text e=textarea f=text"));
}

TEST_F(ReadForms, MoreFormsThanTheCounterHoldsEndTheReadingWithAMessage)
{
    QByteArray html;
    for (int i = 0; i <= 32767; ++i)
        html += "<form></form>";
    EXPECT_FALSE(read(html));
    EXPECT_EQ(page.forms->Count(), 32767);
    EXPECT_EQ(notice(), QStringLiteral("The page holds more than 32767 forms, more than can be listed."));
    EXPECT_EQ(failed, 0); // loaded, so any wait window stays as it is
}

TEST_F(ReadForms, APageWithMoreElementsThanAnyFormUsesIsRefused)
{
    QByteArray html = "<form>";
    for (int i = 0; i <= 50000; ++i)
        html += "<input name=a" + QByteArray::number(i) + ">";
    EXPECT_FALSE(read(html));
    EXPECT_EQ(notice(),
        QStringLiteral("The page could not be read: its forms hold more than 50000 elements, more "
                       "than a form can use."));
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(page.forms->Count(), 0);
}

// ---- pages that cannot be read -----------------------------------------

TEST_F(ReadForms, AMissingFileIsReportedAndLeavesNoForms)
{
    ASSERT_TRUE(read("<form><input name=a></form>"));
    page.path = folder.filePath(QStringLiteral("gone.html"));
    page.ReadForms();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(page.forms->Count(), 0);
    EXPECT_EQ(notice(),
        QStringLiteral("The page could not be loaded: the file \"") + QDir::toNativeSeparators(page.path)
            + QStringLiteral("\" does not exist."));
}

TEST_F(ReadForms, AFolderOrNoFileIsReported)
{
    page.path = folder.path();
    page.ReadForms();
    page.path.clear();
    page.ReadForms();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text,
        QStringLiteral("The page could not be loaded: \"") + QDir::toNativeSeparators(folder.path())
            + QStringLiteral("\" is a folder, not a file."));
    EXPECT_EQ(messages[1].text, QStringLiteral("The page could not be loaded: no file was chosen."));
    EXPECT_EQ(failed, 2);
    EXPECT_EQ(finished, 0);
}

TEST_F(ReadForms, APageOverTheSizeLimitIsRefused)
{
    page.max_page_size = 1024;
    EXPECT_FALSE(read("<form>" + QByteArray(2000, 'x') + "</form>"));
    EXPECT_EQ(notice(),
        QStringLiteral("The page could not be loaded: the file \"") + QDir::toNativeSeparators(page.path)
            + QStringLiteral("\" is larger than 1 kB, more than a page with a form needs."));
    EXPECT_EQ(failed, 1);
}

TEST_F(ReadForms, MarkupTooComplexToParseIsRefused)
{
    page.parse_limits.time = std::chrono::milliseconds(200);
    page.parse_limits.time_per_megabyte = std::chrono::milliseconds(0);
    QByteArray html = "<form><input name=a>";
    for (int i = 0; i < 100000; ++i)
        html += "<ul>";
    EXPECT_FALSE(read(html));
    EXPECT_EQ(notice(), QStringLiteral("The page could not be read: its HTML is nested too deeply or is too complex."));
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(page.forms->Count(), 0);
}

TEST_F(ReadForms, AWebAddressThatIsNoWebPageIsReported)
{
    page.pagetype = 1;
    page.URL = QStringLiteral("ftp://example.com/form.html");
    page.ReadForms();
    page.URL = QStringLiteral("  ");
    page.ReadForms();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text,
        QStringLiteral("The page could not be loaded: \"ftp://example.com/form.html\" is not "
                       "the address of a web page (it must begin with http:// or https://)."));
    EXPECT_EQ(messages[1].text, QStringLiteral("The page could not be loaded: no web address was given."));
    EXPECT_EQ(failed, 2);
}

TEST_F(ReadForms, AFileAddressIsReadAsALocalFile)
{
    page.pagetype = 1;
    page.URL = QUrl::fromLocalFile(write("<form><input name=a></form>")).toString();
    page.ReadForms();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(page.nforms, 1);
}

} // namespace
