#include "generate/CSV.h"
#include "model/Cprefrences.h"
#include "model/Forms.h"
#include "model/globals.h"
#include "model/webpage.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

Field named(const QString &name)
{
    Field field;
    field.name = name;
    field.post_name = name;
    return field;
}

TEST(Collection, KeepsOrderKeysWithoutCaseAndCountsFromOne)
{
    StringCollection items;
    items.Add(QStringLiteral("first"), QStringLiteral("Key"));
    items.Add(QStringLiteral("second"));
    items.Add(QStringLiteral("third"), QStringLiteral("other"));
    EXPECT_EQ(items.Count(), 3);
    EXPECT_EQ(items.Item(1), QStringLiteral("first"));
    EXPECT_EQ(items.Item(2), QStringLiteral("second"));
    EXPECT_EQ(items.Item("KEY"), QStringLiteral("first"));
    EXPECT_THROW(items.Add(QStringLiteral("again"), QStringLiteral("kEy")), CollectionError);
    EXPECT_THROW(items.Item(0), CollectionError);
    EXPECT_THROW(items.Item(4), CollectionError);
    EXPECT_THROW(items.Item("missing"), CollectionError);

    items.Remove("key");
    EXPECT_EQ(items.Count(), 2);
    EXPECT_EQ(items.Item(1), QStringLiteral("second"));
    items.Add(QStringLiteral("back"), QStringLiteral("KEY")); // a removed key is free again
    items.Remove(1);
    QStringList walked;
    for (const auto &entry : items)
        walked << entry.value;
    EXPECT_EQ(walked, (QStringList { QStringLiteral("third"), QStringLiteral("back") }));
}

TEST(Field, StartsWithNoRuleAndEveryOperatorOff)
{
    Field field;
    EXPECT_EQ(field.validation_type, 8);
    EXPECT_EQ(field.range_operator1, 6);
    EXPECT_EQ(field.range_operator2, 6);
    EXPECT_EQ(field.length_operator1, 6);
    EXPECT_EQ(field.length_operator2, 6);
    EXPECT_EQ(field.upload_url, QStringLiteral("http://"));
    EXPECT_TRUE(field.in_csv);
    EXPECT_TRUE(field.in_mysql);
    EXPECT_FALSE(field.required);
    EXPECT_TRUE(field.compare_field()); // created by the first read
    EXPECT_EQ(field.mime_types()->Count(), 0);
}

TEST(Field, KeepsLastTextsWhenNotRegenerated)
{
    globals::reset();
    Field field = named(QStringLiteral("age"));
    EXPECT_EQ(field.required_code(), QString());
    field.required = true;
    const QString test = field.required_code();
    EXPECT_TRUE(test.startsWith(QStringLiteral("if (strlen($age) == 0 )\r\n")));
    field.required = false;
    EXPECT_EQ(field.required_code(), test);

    field.set_validation_code(QStringLiteral("kept"));
    field.validation_type = 5;
    EXPECT_EQ(field.validation_code(), QStringLiteral("kept"));
    field.validation_type = 6;
    EXPECT_EQ(field.validation_code(), QStringLiteral("kept"));
    field.validation_type = 8;
    EXPECT_EQ(field.validation_code(), QString());
    field.validation_type = 5;
    EXPECT_EQ(field.validation_code(), QString());
}

TEST(Fields, AddStoresCopiesAndKeepsTheFirstOfOneName)
{
    globals::reset();
    ::fields list;
    Field email = named(QStringLiteral("email"));
    email.required = true;
    const auto stored = list.Add(email, email.name);
    ASSERT_TRUE(stored);
    EXPECT_NE(stored.get(), &email);
    EXPECT_TRUE(stored->required);
    EXPECT_EQ(stored->required_code(), email.required_code());

    Field again = named(QStringLiteral("EMAIL"));
    EXPECT_FALSE(list.Add(again, again.name));
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Item("Email"), stored);

    Field nameless;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(list.Add(nameless, QString()));
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Item(4)->name, QString());
}

TEST(Fields, CopySharesCompareFieldAndMimeTypes)
{
    globals::reset();
    ::fields list;
    Field photo = named(QStringLiteral("photo"));
    photo.mime_types()->Add(QStringLiteral("image/gif"));
    const auto copy = list.Add(photo, photo.name);
    ASSERT_TRUE(copy);
    photo.mime_types()->Add(QStringLiteral("image/png"));
    EXPECT_EQ(copy->mime_types()->Count(), 2);
    EXPECT_EQ(copy->compare_field(), photo.compare_field());
    EXPECT_EQ(copy->post_name, QStringLiteral("photo"));
    EXPECT_EQ(copy->is_found, 0);
}

TEST(Forms, AddformSharesTheFieldsAndRefusesAKeyTwice)
{
    CForm form;
    form.set_FormName(QStringLiteral("contact"));
    form.set_Action(QStringLiteral("send.php"));
    form.set_Method(QStringLiteral("GET"));
    Field a = named(QStringLiteral("a"));
    Field b = named(QStringLiteral("b"));
    form.fields()->Add(a, a.name);
    form.fields()->Add(b, b.name);

    Forms forms;
    const auto added = forms.Addform(form, QStringLiteral("Form1"));
    EXPECT_EQ(added->fields(), form.fields());
    EXPECT_EQ(added->fields()->Count(), 2);
    EXPECT_EQ(added->FormName(), QStringLiteral("contact"));
    EXPECT_EQ(added->Action(), QStringLiteral("send.php"));
    EXPECT_EQ(added->Method(), QStringLiteral("GET"));
    EXPECT_TRUE(added->is_send_ip);
    EXPECT_THROW(forms.Addform(form, QStringLiteral("form1")), CollectionError);
    EXPECT_EQ(forms.Count(), 1);
}

TEST(Settings, StartWithTheirDefaults)
{
    globals::reset();
    const Cprefrences &prefs = *globals::prefs();
    EXPECT_TRUE(prefs.is_embeded_result_page);
    EXPECT_FALSE(prefs.is_email || prefs.is_csv || prefs.is_mysql || prefs.is_upload || prefs.is_header);
    EXPECT_TRUE(prefs.success_page.isEmpty() && prefs.php_des.isEmpty());

    const CSV &csv = *globals::csv_file();
    EXPECT_EQ(csv.separator, QStringLiteral(","));
    EXPECT_EQ(csv.EndLine, QStringLiteral("\\n"));
    EXPECT_EQ(csv.EndLine.size(), 2);
    EXPECT_TRUE(csv.show_errors);

    EXPECT_EQ(globals::web_page()->pagetype, 0);
    EXPECT_EQ(globals::web_page(), globals::web_page()); // one shared page for the run
}

TEST(Globals, SplitListKeepsEmptyParts)
{
    EXPECT_EQ(globals::split_list(QString()), QStringList());
    EXPECT_EQ(globals::split_list(QStringLiteral("red|green")), (QStringList { "red", "green" }));
    EXPECT_EQ(globals::split_list(QStringLiteral("|a||")), (QStringList { "", "a", "", "" }));
}

struct SeparatorCase
{
    const char *text;
    const char *separator;
    const char *expected;
};

class RemoveLastSeparator : public ::testing::TestWithParam<SeparatorCase>
{
};

TEST_P(RemoveLastSeparator, DropsOneTrailingSeparatorEveryStarAndOuterBlanks)
{
    const auto &c = GetParam();
    EXPECT_EQ(globals::remove_last_separator(QString::fromUtf8(c.text), QString::fromUtf8(c.separator)),
        QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Texts, RemoveLastSeparator,
    ::testing::Values(SeparatorCase { "a;^b;^", ";^", "a;^b" }, SeparatorCase { "", ",", "" },
        SeparatorCase { "5*3;^", ";^", "53" }, SeparatorCase { "a,b,,", ",", "a,b," },
        SeparatorCase { "  a,b  ", ",", "a,b" }, SeparatorCase { "name   city   ", "   ", "name   city" },
        SeparatorCase { "up/files/", "/", "up/files" }, SeparatorCase { "http://", "/", "http:/" }));

TEST(Globals, RemoveSpecialCharsDeletesTheListedCharactersOnly)
{
    EXPECT_EQ(globals::remove_special_chars(QStringLiteral("e-mail")), QStringLiteral("email"));
    EXPECT_EQ(globals::remove_special_chars(QStringLiteral("a.b(c)")), QStringLiteral("abc"));
    EXPECT_EQ(globals::remove_special_chars(QStringLiteral("!@#$%^&*`+-=\\/|?><.,'():")), QString());
    EXPECT_EQ(globals::remove_special_chars(QStringLiteral("x[];\"_ y")), QStringLiteral("x[];\"_ y"));
}

} // namespace
