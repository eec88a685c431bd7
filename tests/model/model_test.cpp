#include "model/fields.h"
#include "model/globals.h"
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

// A script is made from the texts last generated; kinds of rule without a
// generator keep theirs.
TEST(Field, KeepsTheLastTextsWhenNotRegenerated)
{
    globals::reset();
    Field field;
    field.name = "age";
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

// Of equal names the first stays and unnamed fields all stay: the reader's
// tests hold that.
TEST(Fields, AddStoresACopySharingTypesAndCompareField)
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
    EXPECT_EQ(std::tuple(stored->required_code(), stored->post_name), std::tuple(email.required_code(), "email"));
    email.mime_types()->Add("image/png");
    EXPECT_EQ(stored->mime_types()->Count(), 2);
    EXPECT_EQ(stored->compare_field(), email.compare_field());
    EXPECT_EQ(list.Item("Email"), stored);
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
