#include "generate/CSV.h"
#include "model/Cprefrences.h"
#include "model/Forms.h"
#include "model/globals.h"
#include "model/webpage.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(Collection, KeepsOrderKeysWithoutCaseAndCountsFromOne)
{
    StringCollection items;
    items.Add("first", "Key");
    items.Add("second");
    items.Add("third", "other");
    EXPECT_EQ(items.Item(2), "second");
    EXPECT_EQ(items.Item("KEY"), "first");
    EXPECT_THROW(items.Add("again", "kEy"), CollectionError);
    for (qsizetype outside : { 0, 4 })
        EXPECT_THROW(items.Item(outside), CollectionError);
    EXPECT_THROW(items.Item("missing"), CollectionError);

    items.Remove("key");
    items.Add("back", "KEY"); // a removed key is free again
    items.Remove(1);
    QStringList walked;
    for (const auto &entry : items)
        walked << entry.value;
    EXPECT_EQ(walked, QStringList({ "third", "back" }));
}

TEST(Field, DefaultsAndTheLastTextsKeptWhenNotRegenerated)
{
    globals::reset();
    Field field;
    field.name = "age";
    EXPECT_EQ(std::tuple(field.validation_type, field.range_operator1, field.range_operator2, field.length_operator1,
                  field.length_operator2, field.in_csv, field.in_mysql, field.required),
        std::tuple(8, 6, 6, 6, 6, true, true, false));
    EXPECT_EQ(field.upload_url, "http://");
    EXPECT_TRUE(field.compare_field()); // created by the first read
    EXPECT_EQ(field.mime_types()->Count(), 0);

    EXPECT_EQ(field.required_code(), QString());
    field.required = true;
    const QString test = field.required_code();
    EXPECT_TRUE(test.startsWith("if (strlen($age) == 0 )\r\n"));
    field.required = false;
    EXPECT_EQ(field.required_code(), test);

    field.set_validation_code("kept");
    for (qint32 type : { 5, 6 }) {
        field.validation_type = type;
        EXPECT_EQ(field.validation_code(), "kept");
    }
    field.validation_type = 8;
    EXPECT_EQ(field.validation_code(), QString());
    field.validation_type = 5;
    EXPECT_EQ(field.validation_code(), QString());
}

TEST(Fields, AddStoresASharingCopyAndKeepsTheFirstOfOneName)
{
    globals::reset();
    ::fields list;
    Field email;
    email.name = email.post_name = "email";
    email.required = true;
    email.mime_types()->Add("image/gif");
    const auto stored = list.Add(email, email.name);
    ASSERT_TRUE(stored);
    EXPECT_NE(stored.get(), &email);
    EXPECT_EQ(stored->required_code(), email.required_code());
    EXPECT_EQ(stored->post_name, "email");
    // Compare field and MIME types are shared, not copied.
    email.mime_types()->Add("image/png");
    EXPECT_EQ(stored->mime_types()->Count(), 2);
    EXPECT_EQ(stored->compare_field(), email.compare_field());

    EXPECT_FALSE(list.Add(email, "EMAIL"));
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Item("Email"), stored);

    Field nameless;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(list.Add(nameless, QString()));
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Item(4)->name, QString());
}

TEST(Forms, AddformSharesTheFieldsAndRefusesAKeyTwice)
{
    CForm form;
    form.set_FormName("contact");
    Field field;
    form.fields()->Add(field, "a");
    form.fields()->Add(field, "b");
    Forms forms;
    const auto added = forms.Addform(form, "Form1");
    EXPECT_EQ(added->fields(), form.fields());
    EXPECT_EQ(added->fields()->Count(), 2);
    EXPECT_EQ(added->FormName(), "contact");
    EXPECT_TRUE(added->is_send_ip);
    EXPECT_THROW(forms.Addform(form, "form1"), CollectionError);
    EXPECT_EQ(forms.Count(), 1);
}

TEST(Settings, StartWithTheirDefaults)
{
    globals::reset();
    const Cprefrences &prefs = *globals::prefs();
    EXPECT_TRUE(prefs.is_embeded_result_page);
    EXPECT_FALSE(prefs.is_email || prefs.is_autoresponde || prefs.is_csv || prefs.is_mysql || prefs.is_upload
        || prefs.is_header || prefs.is_footer || prefs.is_creditcard || prefs.is_create_tble);
    EXPECT_TRUE(prefs.success_page.isEmpty() && prefs.error_page.isEmpty() && prefs.php_des.isEmpty()
        && prefs.success_message.isEmpty());

    const CSV &csv = *globals::csv_file();
    EXPECT_EQ(csv.separator, ",");
    EXPECT_EQ(csv.EndLine, "\\n"); // two characters: PHP's escape
    EXPECT_TRUE(csv.show_errors);
    EXPECT_EQ(globals::web_page()->pagetype, 0);
    EXPECT_EQ(globals::web_page(), globals::web_page()); // one shared page for the run
}

TEST(Globals, SplitListAndRemoveLastSeparator)
{
    EXPECT_EQ(globals::split_list(QString()), QStringList());
    EXPECT_EQ(globals::split_list("red|green"), QStringList({ "red", "green" }));
    EXPECT_EQ(globals::split_list("|a||"), QStringList({ "", "a", "", "" }));

    // Text, separator, result: one trailing separator goes, every "*" and
    // the outer blanks.
    const std::tuple<const char *, const char *, const char *> cases[] = { { "a;^b;^", ";^", "a;^b" }, { "", ",", "" },
        { "5*3;^", ";^", "53" }, { "a,b,,", ",", "a,b," }, { "  a,b  ", ",", "a,b" },
        { "name   city   ", "   ", "name   city" }, { "up/files/", "/", "up/files" }, { "http://", "/", "http:/" } };
    for (const auto &[text, separator, expected] : cases)
        EXPECT_EQ(globals::remove_last_separator(QString::fromUtf8(text), QString::fromUtf8(separator)),
            QString::fromUtf8(expected))
            << text;
}

} // namespace
