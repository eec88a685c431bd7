// The field-rules page, driven through its controls: the rule editor writes
// into each Field as the user works, and Next checks every field's rule.
#include "RulesPageTest.h"

#include "wizard/CommonDialog.h"
#include "wizard/HTMLHelpViewer.h"
#include "wizard/NumericText.h"
#include "wizard/WizardFrame.h"
#include "wizard/frmStep2.h"
#include "wizard/gui_globals.h"

#include "generate/Html_converter.h"
#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/Field.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>

#include <cmath>
#include <limits>

namespace {

// ---- the rule list ----

struct RuleCase
{
    const char *entry;
    qint32 kind;
    qint32 expression; // -1: left as it was
    const char *panel; // "" for none
};

class RuleChoice : public RulesPageTest, public ::testing::WithParamInterface<RuleCase>
{
};

TEST_P(RuleChoice, WritesTheKindAndShowsItsSettings)
{
    const RuleCase &c = GetParam();
    open({ { "first", "text" }, { "other", "text" } });
    field("first").expression_type = 3;
    select("first");
    choose("cmbvalidation", c.entry);

    EXPECT_EQ(field("first").validation_type, c.kind);
    EXPECT_EQ(field("first").expression_type, c.expression < 0 ? 3 : c.expression);
    EXPECT_EQ(shown_panel(), QString::fromLatin1(c.panel));
    EXPECT_EQ(control<QCheckBox>("chknull")->isVisible(), c.kind != 7);
    EXPECT_EQ(small_icon("first"), c.kind == 8 ? frmStep2::kNoRuleIcon : frmStep2::kRuleIcon);
    EXPECT_EQ(field("other").validation_type, 8);

    // Shown again after another field: the same rule and settings.
    select("other");
    EXPECT_EQ(control<QComboBox>("cmbvalidation")->currentText(), QStringLiteral("Don't validate"));
    EXPECT_EQ(shown_panel(), QString());
    select("first");
    EXPECT_EQ(control<QComboBox>("cmbvalidation")->currentText(), QString::fromLatin1(c.entry));
    EXPECT_EQ(shown_panel(), QString::fromLatin1(c.panel));
    EXPECT_EQ(control<QCheckBox>("chknull")->isVisible(), c.kind != 7);
    EXPECT_TRUE(messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(TwelveEntries, RuleChoice,
    ::testing::Values(RuleCase { "Don't validate", 8, -1, "" }, RuleCase { "Number of characters", 4, -1, "ranges" },
        RuleCase { "Compare with another field", 1, -1, "pcompare" }, RuleCase { "Uploaded file", 7, -1, "VField" },
        RuleCase { "Numeric range", 0, -1, "ranges" }, RuleCase { "List of values", 3, -1, "values" },
        RuleCase { "Email address", 2, 0, "" }, RuleCase { "URL", 2, 1, "" }, RuleCase { "5 digit zip code", 2, 3, "" },
        RuleCase { "zip code +4", 2, 4, "" }, RuleCase { "Credit card", 2, 5, "" }, RuleCase { "IP", 2, 2, "" }),
    [](const auto &info) { return std::string("Entry") + std::to_string(info.index); });

TEST_F(RulesPageTest, RuleListOffersTheTwelveRules)
{
    open({ { "a", "text" } });
    auto *rules = control<QComboBox>("cmbvalidation");
    QStringList entries;
    for (int i = 0; i < rules->count(); ++i)
        entries << rules->itemText(i);
    EXPECT_EQ(entries,
        (QStringList { "Don't validate", "Number of characters", "Compare with another field", "Uploaded file",
            "Numeric range", "List of values", "Email address", "URL", "5 digit zip code", "zip code +4", "Credit card",
            "IP" }));
    EXPECT_EQ(rules->currentText(), QStringLiteral("Don't validate"));
    EXPECT_EQ(small_icon("a"), 0); // no mark before a rule is chosen
}

TEST_F(RulesPageTest, CardAndUploadFlagsStaySetAfterAnotherRule)
{
    open({ { "card", "text" }, { "photo", "file" } });
    select("card");
    choose("cmbvalidation", "Credit card");
    choose("cmbvalidation", "Don't validate");
    select("photo");
    choose("cmbvalidation", "Uploaded file");
    choose("cmbvalidation", "Don't validate");
    EXPECT_TRUE(globals::prefs()->is_creditcard);
    EXPECT_TRUE(globals::prefs()->is_upload);
    EXPECT_EQ(field("card").validation_type, 8);
    EXPECT_EQ(small_icon("photo"), frmStep2::kNoRuleIcon);
}

TEST_F(RulesPageTest, FieldsOfAProjectShowTheirRuleMark)
{
    auto form = make_form({ { "plain", "text" }, { "checked", "text" } });
    form->fields()->Item(QStringLiteral("checked"))->validation_type = 2;
    take(form);
    page()->fill_field_lists(true);
    EXPECT_EQ(small_icon("checked"), frmStep2::kRuleIcon);
    EXPECT_EQ(small_icon("plain"), 0);
}

// ---- bounds and their conditions ----

struct OperatorCase
{
    const char *entry;
    qint32 first;
    qint32 second;
};

class Operators : public RulesPageTest, public ::testing::WithParamInterface<std::tuple<OperatorCase, bool>>
{
};

TEST_P(Operators, StoreTheNegatedCodesForTheRulesKind)
{
    const auto &[c, length] = GetParam();
    open({ { "a", "text" }, { "b", "text" } });
    select("a");
    choose("cmbvalidation", length ? "Number of characters" : "Numeric range");
    choose("cmboperation", c.entry);

    const Field &a = field("a");
    const qint32 stored[] = { a.range_operator1, a.range_operator2, a.length_operator1, a.length_operator2 };
    const qint32 expected_range[] = { c.first, c.second, 6, 6 };
    const qint32 expected_length[] = { 6, 6, c.first, c.second };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(stored[i], length ? expected_length[i] : expected_range[i]) << i;

    const bool one_box = c.second == 6;
    EXPECT_EQ(control<QLabel>("lblmin")->text(), one_box ? QStringLiteral("Value") : QStringLiteral("Min"));
    EXPECT_EQ(control<QLineEdit>("txtmax")->isVisible(), !one_box);

    // Bounds go to the same kind's values, rounded halves to even.
    type("txtmin", "12.5 kg");
    if (!one_box)
        type("txtmax", "99");
    EXPECT_EQ(length ? a.length_min : a.range_min, 12);
    EXPECT_EQ(length ? a.range_min : a.length_min, 0);
    if (!one_box) {
        EXPECT_EQ(length ? a.length_max : a.range_max, 99);
    }

    select("b");
    EXPECT_EQ(control<QComboBox>("cmboperation")->currentText(), QStringLiteral("Between"));
    select("a");
    EXPECT_EQ(control<QComboBox>("cmboperation")->currentText(), QString::fromLatin1(c.entry));
    EXPECT_EQ(control<QLineEdit>("txtmax")->isVisible(), !one_box);
    EXPECT_EQ(control<QLineEdit>("txtmin")->text(), QStringLiteral("12"));
}

INSTANTIATE_TEST_SUITE_P(SevenConditions, Operators,
    ::testing::Combine(::testing::Values(OperatorCase { "Between", 1, 0 }, OperatorCase { "Greater than", 3, 6 },
                           OperatorCase { "Less than", 2, 6 }, OperatorCase { "Greater than or equal", 1, 6 },
                           OperatorCase { "Less than or equal", 0, 6 }, OperatorCase { "Equal to", 5, 6 },
                           OperatorCase { "Not Equal to", 4, 6 }),
        ::testing::Bool()),
    [](const auto &info) {
        return std::string(std::get<1>(info.param) ? "Length" : "Range") + std::to_string(info.index % 7);
    });

TEST_F(RulesPageTest, UntouchedConditionIsStoredWhenABoundIsEntered)
{
    open({ { "age", "text" }, { "code", "text" } });
    select("age");
    choose("cmbvalidation", "Numeric range");
    EXPECT_EQ(field("age").range_operator1, 6);
    EXPECT_EQ(field("age").range_operator2, 6);
    EXPECT_EQ(control<QComboBox>("cmboperation")->currentText(), QStringLiteral("Between"));
    // A rule without a condition passes the check.
    EXPECT_TRUE(page()->chk_validation_settings());

    click(page(), "txtmin");
    EXPECT_EQ(field("age").range_operator1, 1);
    EXPECT_EQ(field("age").range_operator2, 0);
}

TEST_F(RulesPageTest, ConditionWithoutABoundedRuleChangesOnlyTheLayout)
{
    open({ { "a", "text" } });
    choose("cmboperation", "Less than");
    EXPECT_EQ(control<QLabel>("lblmin")->text(), QStringLiteral("Value"));
    EXPECT_EQ(field("a").range_operator1, 6);
    EXPECT_EQ(field("a").length_operator1, 6);
    EXPECT_EQ(field("a").validation_type, 8);
}

TEST_F(RulesPageTest, BoundsShownAfterARuleChangeAreTheNewRules)
{
    open({ { "a", "text" } });
    field("a").validation_type = 0;
    field("a").range_min = 5;
    field("a").range_max = 10;
    select("a");
    choose("cmbvalidation", "Number of characters");
    click(page(), "txtmin");
    // What the boxes show is what the length test will use.
    EXPECT_EQ(control<QLineEdit>("txtmin")->text(), QString::number(field("a").length_min));
    EXPECT_EQ(control<QLineEdit>("txtmax")->text(), QString::number(field("a").length_max));
    EXPECT_EQ(field("a").range_min, 5);
}

// ---- the number in a text box ----

struct NumberCase
{
    const char *text;
    double value;
    qint32 rounded;
};

class NumberText : public ::testing::TestWithParam<NumberCase>
{
};

TEST_P(NumberText, ReadsTheNumberAtTheStart)
{
    const NumberCase &c = GetParam();
    EXPECT_DOUBLE_EQ(NumericText::Val(QString::fromUtf8(c.text)), c.value);
    EXPECT_EQ(NumericText::to_long(NumericText::Val(QString::fromUtf8(c.text))), c.rounded);
}

constexpr double kMaxDouble = std::numeric_limits<double>::max();
constexpr qint32 kMaxLong = std::numeric_limits<qint32>::max();

INSTANTIATE_TEST_SUITE_P(Texts, NumberText,
    ::testing::Values(NumberCase { "", 0, 0 }, NumberCase { "abc", 0, 0 }, NumberCase { "12abc", 12, 12 },
        NumberCase { " 1 2\t3", 123, 123 }, NumberCase { "-3.75", -3.75, -4 }, NumberCase { "+7", 7, 7 },
        NumberCase { ".5", 0.5, 0 }, NumberCase { "1.5", 1.5, 2 }, NumberCase { "2.5", 2.5, 2 },
        NumberCase { "-2.5", -2.5, -2 }, NumberCase { "1.2.3", 1.2, 1 }, NumberCase { "12,5", 12, 12 },
        NumberCase { "1e3", 1000, 1000 }, NumberCase { "2D2x", 200, 200 }, NumberCase { "5e", 5, 5 },
        NumberCase { "--5", 0, 0 }, NumberCase { "$5", 0, 0 }, NumberCase { "&HFF", 255, 255 },
        NumberCase { "&HFFFF", -1, -1 }, NumberCase { "&H10000", 65536, 65536 }, NumberCase { "&O17", 15, 15 },
        NumberCase { "99999999999", 99999999999.0, kMaxLong },
        NumberCase { "-99999999999", -99999999999.0, std::numeric_limits<qint32>::min() },
        NumberCase { "1e999", kMaxDouble, kMaxLong }),
    [](const auto &info) { return "Case" + std::to_string(info.index); });

TEST_F(RulesPageTest, SizeIsKeptUnroundedAndAHugeOneCountsAsNone)
{
    open({ { "photo", "file" } });
    choose("cmbvalidation", "Uploaded file");
    type("txtsize", "1.5 KB");
    EXPECT_EQ(field("photo").max_size, 1.5);
    type("txtsize", "1e306");
    EXPECT_EQ(field("photo").max_size, 0);
    type("txtsize", "0.1");
    select("photo"); // shown again: the same number
    EXPECT_EQ(control<QLineEdit>("txtsize")->text(), QStringLiteral("0.1"));
    EXPECT_EQ(field("photo").max_size, 0.1);
}

// ---- allowed values ----

TEST_F(RulesPageTest, AllowedValuesAreKeptBetweenBars)
{
    open({ { "color", "text" }, { "other", "text" } });
    choose("cmbvalidation", "List of values");
    EXPECT_FALSE(control<QWidget>("cmdRemove")->isEnabled());
    add_value("red");
    add_value("green");
    EXPECT_EQ(field("color").list_values, QStringLiteral("|red|green|"));
    add_value(""); // nothing typed: nothing added
    add_value("red");
    EXPECT_EQ(field("color").list_values, QStringLiteral("|red|green|red|"));

    auto *list = control<QListWidget>("lstValues");
    list->setCurrentRow(1);
    click(page(), "cmdRemove");
    EXPECT_EQ(field("color").list_values, QStringLiteral("|red|red|"));

    select("other");
    EXPECT_EQ(list->count(), 0);
    select("color");
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(control<QWidget>("cmdRemove")->isEnabled());

    // Taking out every value leaves none allowed, and Next says so.
    for (int i = 0; i < 2; ++i) {
        list->setCurrentRow(0);
        click(page(), "cmdRemove");
    }
    EXPECT_EQ(field("color").list_values, QString());
    click(page(), "cmdNext");
    EXPECT_EQ(last_message(), QStringLiteral("Please enter the list of values for field 'color'"));
}

// ---- compare field ----

TEST_F(RulesPageTest, CompareFieldRefersToTheOtherField)
{
    open({ { "password", "password" }, { "again", "password" } });
    select("again");
    choose("cmbvalidation", "Compare with another field");
    EXPECT_EQ(control<QComboBox>("cmbfields")->currentText(), QStringLiteral("<Select a field to compare with >"));
    choose("cmbfields", "password");
    EXPECT_EQ(field("again").compare_field().get(), &field("password"));

    select("password");
    choose("cmbvalidation", "Compare with another field");
    select("again");
    EXPECT_EQ(control<QComboBox>("cmbfields")->currentText(), QStringLiteral("password"));
    select("password"); // no field chosen for it
    EXPECT_EQ(control<QComboBox>("cmbfields")->currentText(), QStringLiteral("<Select a field to compare with >"));
    EXPECT_TRUE(messages().isEmpty());
}

// ---- moving between fields ----

TEST_F(RulesPageTest, EachFieldKeepsItsOwnSettings)
{
    open({ { "age", "text" }, { "photo", "file" }, { "email", "text" } });
    select("age");
    choose("cmbvalidation", "Numeric range");
    type("txtmin", "18");
    type("txtmax", "99");
    type_alert("Too young\nor too old");

    select("photo");
    choose("cmbvalidation", "Uploaded file");
    type("txtsize", "500");
    type("txtdestination", "uploads/");
    type("txturl", "http://example.com/uploads");
    pick_types({ "image/png", "application/pdf" });
    // The types are stored when the field is left.
    EXPECT_EQ(field("photo").mime_types()->Count(), 0);

    select("email");
    choose("cmbvalidation", "Email address");
    click(page(), "chknull");
    EXPECT_EQ(types_of("photo"), (QStringList { "image/png", "application/pdf" }));
    EXPECT_TRUE(control<QListWidget>("lsttypes")->selectedItems().isEmpty());

    const Field &age = field("age");
    EXPECT_EQ(age.range_operator1, 1);
    EXPECT_EQ(age.range_operator2, 0);
    EXPECT_EQ(age.range_min, 18);
    EXPECT_EQ(age.range_max, 99);
    EXPECT_EQ(age.error_message, QStringLiteral("Too young\r\nor too old"));
    EXPECT_FALSE(age.required);
    EXPECT_TRUE(field("email").required);

    select("photo");
    EXPECT_EQ(control<QLineEdit>("txtsize")->text(), QStringLiteral("500"));
    EXPECT_EQ(control<QLineEdit>("txtdestination")->text(), QStringLiteral("uploads/"));
    EXPECT_EQ(control<QLineEdit>("txturl")->text(), QStringLiteral("http://example.com/uploads"));
    QStringList selected;
    for (const QListWidgetItem *item : control<QListWidget>("lsttypes")->selectedItems())
        selected << item->text();
    selected.sort();
    EXPECT_EQ(selected, (QStringList { "application/pdf", "image/png" }));

    select("age");
    EXPECT_EQ(control<QLineEdit>("txtmin")->text(), QStringLiteral("18"));
    EXPECT_EQ(control<QLineEdit>("txtmax")->text(), QStringLiteral("99"));
    EXPECT_EQ(control<QTextEdit>("main")->toPlainText(), QStringLiteral("Too young\nor too old"));
    EXPECT_FALSE(control<QCheckBox>("chknull")->isChecked());
    select("email");
    EXPECT_TRUE(control<QCheckBox>("chknull")->isChecked());
    EXPECT_EQ(control<QLabel>("lblfield")->text(), QStringLiteral("email"));
    EXPECT_EQ(field("photo").max_size, 500);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(RulesPageTest, KeyboardMovesBetweenFieldsToo)
{
    open({ { "a", "text" }, { "b", "text" } });
    choose("cmbvalidation", "IP");
    auto *list = control<QListWidget>("lstfields");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(control<QLabel>("lblfield")->text(), QStringLiteral("b"));
    EXPECT_EQ(control<QComboBox>("cmbvalidation")->currentText(), QStringLiteral("Don't validate"));
}

TEST_F(RulesPageTest, TypeListedTwiceCanBeChosenTwice)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("types.txt"));
    write_file(path, "image/gif\nimage/gif\n");
    frmStep2::types_file() = path;
    open({ { "photo", "file" }, { "other", "text" } });
    choose("cmbvalidation", "Uploaded file");
    pick_types({ "image/gif" });
    control<QListWidget>("lsttypes")->item(1)->setSelected(true);
    select("other");
    EXPECT_EQ(types_of("photo"), QStringList { "image/gif" });
}

TEST_F(RulesPageTest, AnotherFormGetsNoTypesShownForTheFormerOne)
{
    open({ { "photo", "file" } });
    choose("cmbvalidation", "Uploaded file");
    pick_types({ "image/gif" });
    page()->hide();

    // The first page takes another form while the types are still chosen.
    take(make_form({ { "doc", "file" } }));
    page()->fill_field_lists(false);
    show_page();
    EXPECT_EQ(field("doc").mime_types()->Count(), 0);
    EXPECT_EQ(field("doc").validation_type, 8);
}

// ---- a field without a name ----

TEST_F(RulesPageTest, FieldWithoutANameIsListedButNotEdited)
{
    auto form = make_form({ { "named", "text" } });
    Field unnamed;
    unnamed.field_type = QStringLiteral("text");
    form->fields()->Add(unnamed, QString());
    take(form);
    page()->fill_field_lists(false);
    show_page();
    choose("cmbvalidation", "Email address");

    auto *list = control<QListWidget>("lstfields");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), QString());
    click_item(1);
    EXPECT_EQ(control<QLabel>("lblfield")->text(), QStringLiteral("named"));
    EXPECT_EQ(control<QComboBox>("cmbvalidation")->currentText(), QStringLiteral("Email address"));

    choose("cmbvalidation", "Numeric range");
    EXPECT_EQ(last_message(), QStringLiteral("Please select a field "));
    EXPECT_EQ(form->fields()->Item(2)->validation_type, 8);
    EXPECT_EQ(field("named").validation_type, 2);
}

// ---- types.txt ----

TEST_F(RulesPageTest, TypesFileEntriesSplitAtLinesAndCommas)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("types.txt"));
    write_file(path, "\xEF\xBB\xBFimage/gif,image/png\r\n\r\n  text/plain  \n,,\n\"x-a,b\"\nimage/gif");
    EXPECT_EQ(
        frmStep2::read_types(path), (QStringList { "image/gif", "image/png", "text/plain", "x-a,b", "image/gif" }));

    frmStep2::types_file() = path;
    open({ { "photo", "file" } });
    EXPECT_EQ(control<QListWidget>("lsttypes")->count(), 5);
    EXPECT_FALSE(control<QLabel>("lblTypesMissing")->isVisibleTo(page()));
}

TEST_F(RulesPageTest, MissingTypesFileGivesAnEmptyListAndANote)
{
    QTemporaryDir folder;
    frmStep2::types_file() = folder.filePath(QStringLiteral("types.txt"));
    QString error;
    EXPECT_EQ(frmStep2::read_types(frmStep2::types_file(), &error), QStringList());
    EXPECT_FALSE(error.isEmpty());

    open({ { "photo", "file" } });
    choose("cmbvalidation", "Uploaded file");
    EXPECT_EQ(control<QListWidget>("lsttypes")->count(), 0);
    auto *note = control<QLabel>("lblTypesMissing");
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().contains(QStringLiteral("types.txt"))) << note->text().toStdString();
    EXPECT_TRUE(messages().isEmpty());
}

TEST(TypesFile, ShipsWithTheProgram)
{
    const QStringList types = frmStep2::read_types(QStringLiteral(TRESSEL_TYPES_FILE));
    for (const char *type :
        { "image/gif", "image/jpeg", "image/png", "image/webp", "image/bmp", "image/svg+xml", "application/pdf",
            "application/msword", "application/vnd.openxmlformats-officedocument.wordprocessingml.document",
            "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet",
            "application/vnd.openxmlformats-officedocument.presentationml.presentation", "application/vnd.ms-excel",
            "application/vnd.ms-powerpoint", "application/vnd.oasis.opendocument.text",
            "application/vnd.oasis.opendocument.spreadsheet", "text/plain", "text/csv", "application/rtf",
            "application/zip", "application/x-zip-compressed", "application/x-rar-compressed",
            "application/x-7z-compressed", "application/gzip" })
        EXPECT_TRUE(types.contains(QString::fromLatin1(type))) << type;
    EXPECT_EQ(types.size(), QSet<QString>(types.begin(), types.end()).size());
}

// ---- the error alert ----

TEST_F(RulesPageTest, AlertIsRenderedWithThePagesFont)
{
    open({ { "name", "text" }, { "city", "text" } });
    select("city");
    choose("cmbvalidation", "Email address");
    type_alert("Bad city");
    select("name");
    choose("cmbvalidation", "Email address");

    const FontSpec font { QStringLiteral("Courier"), 14, true, false, true, false };
    CommonDialog::script(CommonDialog::Answer::chosen_font(font, 0x0000FF));
    click(page(), "Browse");
    ASSERT_EQ(CommonDialog::asked().size(), 1u);
    EXPECT_EQ(CommonDialog::asked().front(), CommonDialog::Kind::Font);
    auto *alert = control<QTextEdit>("main");
    EXPECT_EQ(alert->font().family(), QStringLiteral("Courier"));
    EXPECT_TRUE(alert->font().bold());
    EXPECT_EQ(alert->palette().color(QPalette::Text), QColor(255, 0, 0));

    type_alert("Type your\nname");
    EXPECT_EQ(
        field("name").error_html, Html_converter::text_to_html(QStringLiteral("Type your<br>name"), font, 0x0000FF));
    // Next renders every alert with the page's font, whenever it was typed.
    EXPECT_NE(field("city").error_html, Html_converter::text_to_html(QStringLiteral("Bad city"), font, 0x0000FF));
    click(page(), "cmdNext");
    EXPECT_EQ(field("city").error_html, Html_converter::text_to_html(QStringLiteral("Bad city"), font, 0x0000FF));

    // A cancelled dialog keeps the font.
    CommonDialog::script(CommonDialog::Answer::cancelled());
    page()->show();
    click(page(), "Browse");
    EXPECT_EQ(alert->font().family(), QStringLiteral("Courier"));
}

TEST_F(RulesPageTest, AlertBoxIsOffWithoutEmbeddedResultPages)
{
    open({ { "a", "text" }, { "b", "text" } }, false);
    EXPECT_FALSE(control<QTextEdit>("main")->isEnabled());
    EXPECT_FALSE(control<QWidget>("Browse")->isEnabled());
    control<QTextEdit>("main")->setPlainText(QStringLiteral("left as it was"));
    select("b");
    choose("cmbvalidation", "URL");
    field("b").error_message.clear();
    select("a");
    EXPECT_EQ(control<QTextEdit>("main")->toPlainText(), QStringLiteral("left as it was"));
    // An empty alert is no problem when the script redirects.
    click(page(), "cmdNext");
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_FALSE(page()->isVisible());
}

// ---- the check on Next ----

struct CheckCase
{
    const char *name;
    std::function<void(Field &)> spoil;
    const char *message;
};

class CheckMessages : public RulesPageTest, public ::testing::WithParamInterface<CheckCase>
{
};

TEST_P(CheckMessages, FirstFaultyFieldIsReportedAndSelected)
{
    const CheckCase &c = GetParam();
    auto form = make_form({ { "good", "text" }, { "bad", "text" }, { "worse", "file" } });
    Field &good = *form->fields()->Item(QStringLiteral("good"));
    good.validation_type = 2;
    Field &bad = *form->fields()->Item(QStringLiteral("bad"));
    bad.validation_type = 7;
    bad.upload_url = QStringLiteral("http://example.com/files/uploads");
    bad.upload_folder = QStringLiteral("uploads/");
    bad.max_size = 100;
    bad.mime_types()->Add(QStringLiteral("image/gif"), QStringLiteral("image/gif"));
    c.spoil(bad);
    take(form); // "worse" is a file left unchecked: never reached
    page()->fill_field_lists(false);
    show_page();

    click(page(), "cmdNext");
    EXPECT_EQ(messages(), QStringList { QString::fromUtf8(c.message) });
    EXPECT_EQ(m_buttons.value(0), 1);
    EXPECT_EQ(m_icons.value(0), 3);
    EXPECT_TRUE(page()->isVisible());
    EXPECT_EQ(control<QListWidget>("lstfields")->currentRow(), 1);
    EXPECT_EQ(control<QLabel>("lblfield")->text(), QStringLiteral("bad"));
}

INSTANTIATE_TEST_SUITE_P(EightMessages, CheckMessages,
    ::testing::Values(
        CheckCase { "Alert", [](Field &f) { f.error_message.clear(); }, "Please enter an error alert for field 'bad'" },
        CheckCase {
            "Compare", [](Field &f) { f.validation_type = 1; }, "Please select a field to be compared with 'bad'" },
        CheckCase {
            "List", [](Field &f) { f.validation_type = 3; }, "Please enter the list of values for field 'bad'" },
        CheckCase { "Url", [](Field &f) { f.upload_url = QStringLiteral("http://"); },
            "Please enter the upload folder URL for field 'bad'" },
        CheckCase { "Folder", [](Field &f) { f.upload_folder = QStringLiteral("incoming/"); },
            "Upload folder URL of field 'bad' doesn't seem right; it should include the upload destination folder." },
        CheckCase { "Size", [](Field &f) { f.max_size = 0; }, "Please enter the Maximum file size for field 'bad'" },
        CheckCase {
            "Types", [](Field &f) { f.mime_types()->Clear(); }, "Please check the permisible types for Field 'bad'" },
        CheckCase { "FileUnchecked",
            [](Field &f) {
                f.validation_type = 8;
                f.field_type = QStringLiteral("file");
            },
            "Please specify the upload setting of field 'bad' To be able to receive it on your server. " }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(RulesPageTest, UploadFolderChecksTolerateItsSeparators)
{
    open({ { "photo", "file" } });
    choose("cmbvalidation", "Uploaded file");
    type("txtsize", "10");
    type("txturl", "http://example.com/uploads");
    pick_types({ "image/gif" });
    select("photo"); // stores the types
    for (const char *folder : { "", "uploads", "uploads/", "uploads\\", " uploads* " }) {
        type("txtdestination", folder);
        EXPECT_TRUE(page()->chk_validation_settings()) << folder;
    }
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(RulesPageTest, NextGoesToTheFirstChosenActionAndBackToPageOne)
{
    open({ { "a", "text" } });
    click(page(), "cmdNext");
    EXPECT_FALSE(page()->isVisible());
    EXPECT_TRUE(WizardFrame::instance().window(WizardPage::frmStep7)->isVisible());

    WizardFrame::instance().window(WizardPage::frmStep7)->hide();
    globals::prefs()->is_csv = true;
    globals::prefs()->is_mysql = true;
    show_page();
    click(page(), "cmdNext");
    EXPECT_TRUE(WizardFrame::instance().window(WizardPage::frmstep5)->isVisible());
    EXPECT_FALSE(WizardFrame::instance().window(WizardPage::frmStep7)->isVisible());

    WizardFrame::instance().window(WizardPage::frmstep5)->hide();
    show_page();
    click(page(), "cmdBack");
    EXPECT_FALSE(page()->isVisible());
    EXPECT_TRUE(WizardFrame::instance().window(WizardPage::frmStep1)->isVisible());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(RulesPageTest, F1InTheUploadSettingsOpensTheirTopic)
{
    globals::app_help_file() = QStringLiteral(TRESSEL_HELP_COLLECTION);
    open({ { "photo", "file" } });
    choose("cmbvalidation", "Uploaded file");
    const auto topic = [this](const char *box) {
        auto *widget = control<QWidget>(box);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_F1);
        QWidget *window = globals::help_viewer()->window();
        auto *browser = window ? window->findChild<QTextBrowser *>(QStringLiteral("helpBrowser")) : nullptr;
        page()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(page()));
        return browser ? browser->documentTitle() : QString();
    };
    EXPECT_EQ(topic("txtsize"), QStringLiteral("Uploaded files"));
    EXPECT_EQ(topic("cmbvalidation"), QStringLiteral("Step 2: Checking each field"));
    globals::help_viewer().reset();
    globals::app_help_file().clear();
}

TEST_F(RulesPageTest, PictureOfTheRangeRule)
{
    open({ { "name", "text" }, { "age", "text" }, { "email", "text" }, { "photo", "file" } });
    select("email");
    choose("cmbvalidation", "Email address");
    select("age");
    choose("cmbvalidation", "Numeric range");
    type("txtmin", "18");
    type("txtmax", "99");
    type_alert("Please give an age between 18 and 99");
    settle();
    save_picture(page(), QStringLiteral("field-rules-range.png"));
}

} // namespace
