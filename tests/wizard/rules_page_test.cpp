// The field-rules page, driven through its controls: the rule editor writes
// into each Field as the user works, Next checks every field's rule, and the
// generated script checks posts as the rules say.
#include "WizardTest.h"

#include "PageDriver.h"
#include "PhpRunner.h"

#include "wizard/frmStart.h"
#include "wizard/frmStep2.h"

#include "generate/CPHP_script.h"
#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/Field.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextEdit>

#include <tuple>

namespace {

class RulesPage : public WizardTest
{
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        frmStart::is_shown = true;
        frmStep2::types_file() = QStringLiteral(TRESSEL_TYPES_FILE);
    }

    static frmStep2 *page() { return static_cast<frmStep2 *>(window(WizardPage::frmStep2)); }
    template<typename T> static T *control(const char *name) { return find<T>(page(), name); }
    static Field &field(const char *name)
    {
        return *globals::web_page()->selected_form->fields()->Item(QString::fromLatin1(name));
    }

    // The page showing a form of these fields, taken by the first page.
    void open(FieldList fields)
    {
        take(make_form(fields));
        show_page(page());
    }

    static void select(const char *name) { click_entry(control<QListWidget>("lstfields"), name); }

    static void choose(const char *combo, const char *entry)
    {
        drive::choose(control<QComboBox>(combo), QString::fromLatin1(entry));
    }

    // Clicks into a text box and types over its text.
    static void type(const char *box_name, const char *text)
    {
        QTest::mouseClick(control<QLineEdit>(box_name), Qt::LeftButton);
        drive::retype(control<QLineEdit>(box_name), QString::fromUtf8(text));
    }

    // Types the alert; a line break is the Return key.
    static void type_alert(QString text)
    {
        auto *alert = control<QTextEdit>("main");
        QTest::mouseClick(alert->viewport(), Qt::LeftButton);
        alert->selectAll();
        QTest::keyClicks(alert, text.replace(QLatin1Char('\n'), QLatin1Char('\r')));
    }

    static void add_value(const char *value)
    {
        type("txtValue", value);
        QTest::mousePress(control<QWidget>("cmdAdd"), Qt::LeftButton);
        QTest::mouseRelease(control<QWidget>("cmdAdd"), Qt::LeftButton);
    }

    // The settings panel shown, by name; empty when none.
    static QString shown_panel()
    {
        QString shown;
        for (const char *panel : { "ranges", "pcompare", "values", "VField" }) {
            if (control<QWidget>(panel)->isVisible())
                shown += QString::fromLatin1(panel);
        }
        return shown;
    }
};

TEST_F(RulesPage, EachRuleWritesItsKindAndShowsItsSettings)
{
    const std::tuple<const char *, qint32, qint32, const char *> rules[] = {
        // entry, kind, expression (3: left as it was), panel shown
        { "Don't validate", 8, 3, "" },
        { "Number of characters", 4, 3, "ranges" },
        { "Compare with another field", 1, 3, "pcompare" },
        { "Uploaded file", 7, 3, "VField" },
        { "Numeric range", 0, 3, "ranges" },
        { "List of values", 3, 3, "values" },
        { "Email address", 2, 0, "" },
        { "URL", 2, 1, "" },
        { "5 digit zip code", 2, 3, "" },
        { "zip code +4", 2, 4, "" },
        { "Credit card", 2, 5, "" },
        { "IP", 2, 2, "" },
    };
    open({ { "first", "text" }, { "other", "text" } });
    field("first").expression_type = 3;
    select("first");
    for (const auto &[entry, kind, expression, panel] : rules) {
        SCOPED_TRACE(entry);
        choose("cmbvalidation", entry);
        EXPECT_EQ(field("first").validation_type, kind);
        EXPECT_EQ(field("first").expression_type, expression);
        EXPECT_EQ(shown_panel(), QString::fromLatin1(panel));
        EXPECT_TRUE(control<QCheckBox>("chknull")->isVisible());
    }
    EXPECT_EQ(field("other").validation_type, 8);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(RulesPage, OperatorsStoreTheNegatedCodesForTheRulesKind)
{
    const std::tuple<const char *, qint32, qint32> operators[]
        = { { "Between", 1, 0 }, { "Greater than", 3, 6 }, { "Less than", 2, 6 }, { "Greater than or equal", 1, 6 },
              { "Less than or equal", 0, 6 }, { "Equal to", 5, 6 }, { "Not Equal to", 4, 6 } };
    for (const bool length : { false, true }) {
        open({ { "a", "text" } });
        const Field &a = field("a");
        select("a");
        choose("cmbvalidation", length ? "Number of characters" : "Numeric range");
        for (const auto &[entry, first, second] : operators) {
            SCOPED_TRACE(entry);
            choose("cmboperation", entry);
            const QList<qint32> none { 6, 6 }, chosen { first, second };
            EXPECT_EQ((QList<qint32> { a.range_operator1, a.range_operator2 }), length ? none : chosen);
            EXPECT_EQ((QList<qint32> { a.length_operator1, a.length_operator2 }), length ? chosen : none);
            const bool one_box = second == 6;
            EXPECT_EQ(control<QLabel>("lblmin")->text(), one_box ? QStringLiteral("Value") : QStringLiteral("Min"));
            EXPECT_EQ(control<QLineEdit>("txtmax")->isVisible(), !one_box);
        }
        // A bound goes to the same kind's values, halves rounded to even.
        type("txtmin", "12.5 kg");
        EXPECT_EQ(length ? a.length_min : a.range_min, 12);
        EXPECT_EQ(length ? a.range_min : a.length_min, 0);
    }
}

TEST_F(RulesPage, NextReportsAndSelectsTheFirstFaultyField)
{
    const std::pair<std::function<void(Field &)>, const char *> faults[] = {
        { [](Field &f) { f.error_message.clear(); }, "Please enter an error alert for field 'bad'" },
        { [](Field &f) { f.validation_type = 1; }, "Please select a field to be compared with 'bad'" },
        { [](Field &f) { f.validation_type = 3; }, "Please enter the list of values for field 'bad'" },
        { [](Field &f) { f.upload_url = QStringLiteral("http://"); },
            "Please enter the upload folder URL for field 'bad'" },
        { [](Field &f) { f.upload_folder = QStringLiteral("incoming/"); },
            "Upload folder URL of field 'bad' doesn't seem right; it should include the upload destination folder." },
        { [](Field &f) { f.max_size = 0; }, "Please enter the Maximum file size for field 'bad'" },
        { [](Field &f) { f.mime_types()->Clear(); }, "Please check the permissible types for Field 'bad'" },
        { [](Field &f) { f.validation_type = 8, f.field_type = QStringLiteral("file"); },
            "Please specify the upload setting of field 'bad' To be able to receive it on your server. " },
    };
    for (const auto &[spoil, told] : faults) {
        SCOPED_TRACE(told);
        auto form = make_form({ { "good", "text" }, { "bad", "text" }, { "worse", "file" } });
        form->fields()->Item(QStringLiteral("good"))->validation_type = 2;
        Field &bad = *form->fields()->Item(QStringLiteral("bad"));
        bad.validation_type = 7;
        bad.upload_url = QStringLiteral("http://example.com/files/uploads");
        bad.upload_folder = QStringLiteral("uploads/");
        bad.max_size = 100;
        bad.mime_types()->Add(QStringLiteral("image/gif"), QStringLiteral("image/gif"));
        spoil(bad);
        take(form); // "worse" is a file left unchecked: never reached
        show_page(page());
        click(page(), "cmdNext");
        EXPECT_EQ(messages(), QStringList { QString::fromUtf8(told) });
        EXPECT_EQ(m_icons.value(0), 3);
        EXPECT_TRUE(page()->isVisible());
        EXPECT_EQ(control<QLabel>("lblfield")->text(), QStringLiteral("bad"));
        EXPECT_EQ(control<QListWidget>("lstfields")->currentRow(), 1);
    }
}

// The rule, the condition and the date format take only their entries (a
// key picks the entry it begins); the date format shows its placeholder.
TEST_F(RulesPage, FixedChoicesTakeNoTypedText)
{
    open({ { "age", "text" } });
    select("age");
    choose("cmbvalidation", "Numeric range");
    auto *date = find<QComboBox>(window(WizardPage::frmStep1), "cmbdate");
    EXPECT_EQ(drive::shown(date), QStringLiteral("cmbdate=Select date Format"));
    const std::tuple<QComboBox *, const char *, const char *> boxes[] = {
        // box, typed, shown after
        { control<QComboBox>("cmboperation"), "40", "Between" },
        { control<QComboBox>("cmbvalidation"), "zzz", "zip code +4" },
        { date, "14/3/2005n", "14/3/2005" },
    };
    for (const auto &[box, typed, after] : boxes) {
        EXPECT_FALSE(box->isEditable()) << typed;
        box->setFocus();
        QTest::keyClicks(box, QString::fromLatin1(typed));
        EXPECT_EQ(box->currentText(), QString::fromLatin1(after));
    }
    EXPECT_EQ(std::pair(field("age").validation_type, field("age").expression_type), std::pair(2, 4));
}

// A value the script takes for one listed (its ASCII letters, A to Z, in
// another case) is refused; blanks around a value are no part of it.
TEST_F(RulesPage, ListValuesDifferingOnlyInCaseAreRefused)
{
    open({ { "color", "text" } });
    select("color");
    choose("cmbvalidation", "List of values");
    for (const char *value : { "red", "RED", "red ", " Portrait", "portrait", "zip", "ZIP", "Grün", "GRÜN", "grün" })
        add_value(value);
    EXPECT_EQ(messages(), QStringList(5, QStringLiteral("This value is already in the list")));
    EXPECT_EQ(field("color").list_values, QStringLiteral("|red|Portrait|zip|Grün|GRÜN|"));
}

// Tab visits the controls top to bottom and left to right, whichever
// settings show.
TEST_F(RulesPage, TabOrderFollowsTheScreen)
{
    open({ { "a", "text" } });
    select("a");
    QWidget *const list = control<QListWidget>("lstfields");
    QStringList visited;
    for (const char *rule : { "Numeric range", "List of values", "Uploaded file" }) {
        choose("cmbvalidation", rule);
        list->setFocus();
        visited.clear();
        for (QWidget *before = list, *now; visited.size() < 20; before = now) {
            QTest::keyClick(before, Qt::Key_Tab);
            if ((now = QApplication::focusWidget()) == list)
                break;
            visited << now->objectName();
            const QPoint a = before->mapTo(page(), QPoint()), b = now->mapTo(page(), QPoint());
            EXPECT_TRUE(b.y() > a.y() + 6 || (qAbs(b.y() - a.y()) <= 6 && b.x() > a.x()))
                << rule << ": " << visited.join(' ').toStdString();
        }
    }
    EXPECT_EQ(visited.join(' '),
        "cmbvalidation chknull txtsize txtdestination txturl lsttypes main Browse cmdBack cmdNext cmdCancel cmdHelp");
}

// From the page to a running script: each field's rule set through the
// controls, and the generated script checking posts as they say.
TEST_F(RulesPage, GeneratedChecksFollowTheRulesSetOnThePage)
{
    open({ { "fullname", "text" }, { "age", "text" }, { "email", "text" }, { "color", "select-one" },
        { "photo", "file" } });
    select("fullname");
    control<QCheckBox>("chknull")->click();
    type_alert(QStringLiteral("Please type\nyour name"));
    select("age");
    choose("cmbvalidation", "Numeric range");
    type("txtmin", "18");
    type("txtmax", "99");
    type_alert(QStringLiteral("Your age must be 18 to 99"));
    select("email");
    choose("cmbvalidation", "Email address");
    type_alert(QStringLiteral("That is no e-mail address"));

    // Allowed values: Enter in the box adds as Add does, an empty box adds
    // nothing; once the last value is removed none is allowed, and Next asks
    // for values.
    select("color");
    choose("cmbvalidation", "List of values");
    type("txtValue", "red");
    QTest::keyClick(control<QLineEdit>("txtValue"), Qt::Key_Return);
    add_value("");
    add_value("green");
    EXPECT_EQ(field("color").list_values, QStringLiteral("|red|green|"));
    auto *values = control<QListWidget>("lstValues");
    for (const char *left : { "|red|", "" }) {
        values->setCurrentRow(values->count() - 1);
        click(page(), "cmdRemove");
        EXPECT_EQ(field("color").list_values, QString::fromLatin1(left));
    }
    click(page(), "cmdNext");
    EXPECT_EQ(last_message(), QStringLiteral("Please enter the list of values for field 'color'"));
    add_value("red");
    add_value("green");
    type_alert(QStringLiteral("Please pick red or green"));
    select("photo");
    click(page(), "cmdNext"); // a file field left unchecked is not let through
    ASSERT_EQ(last_message(),
        QStringLiteral("Please specify the upload setting of field 'photo' To be able to receive it on your server. "));
    control<QCheckBox>("chknull")->click(); // a file must come with every submission
    choose("cmbvalidation", "Uploaded file");
    EXPECT_TRUE(field("photo").required);
    type("txtsize", "1");
    type("txtdestination", "uploads");
    type("txturl", "http://example.com/uploads");
    click_entry(control<QListWidget>("lsttypes"), "image/gif");
    type_alert(QStringLiteral("Send a GIF of at most 1 KB"));
    settle();
    save_picture(page(), QStringLiteral("field-rules-upload.png"));
    EXPECT_EQ(field("photo").mime_types()->Count(), 0); // stored when the field is left

    // Each field shows its own settings again.
    select("age");
    EXPECT_EQ(texts(*field("photo").mime_types()), QStringList { "image/gif" });
    EXPECT_TRUE(control<QListWidget>("lsttypes")->selectedItems().isEmpty());
    EXPECT_EQ(control<QLineEdit>("txtmin")->text() + control<QLineEdit>("txtmax")->text(), QStringLiteral("1899"));
    EXPECT_EQ(control<QTextEdit>("main")->toPlainText(), QStringLiteral("Your age must be 18 to 99"));
    EXPECT_FALSE(control<QCheckBox>("chknull")->isChecked());
    select("fullname");
    EXPECT_TRUE(control<QCheckBox>("chknull")->isChecked());
    EXPECT_EQ(control<QComboBox>("cmbvalidation")->currentText(), QStringLiteral("Don't validate"));
    select("photo");
    EXPECT_EQ(control<QLineEdit>("txtsize")->text(), QStringLiteral("1"));
    EXPECT_EQ(control<QLineEdit>("txturl")->text(), QStringLiteral("http://example.com/uploads"));
    EXPECT_EQ(control<QListWidget>("lsttypes")->selectedItems().size(), 1);
    const qsizetype told = messages().size();
    click(page(), "cmdNext");
    EXPECT_EQ(messages().size(), told);
    EXPECT_EQ(visible_page(), WizardPage::frmStep7);
    EXPECT_TRUE(globals::prefs()->is_upload);

    // The script, as the output page has it written.
    PhpRunner php;
    globals::prefs()->php_des = php.path(QStringLiteral("send.php"));
    globals::prefs()->success_message = QStringLiteral("Thank you");
    globals::php_script()->prepare_script();
    struct Post
    {
        const char *alert = nullptr; // nullptr: accepted
        QByteArray name = "Ann", age = "30", email = "ann@example.com", color = "Green";
        QByteArray photo = "GIF89a tiny picture", type = "image/gif";
    };
    const char *const age = "Your age must be 18 to 99", *const gif = "Send a GIF of at most 1 KB";
    const Post posts[] = { {}, { .alert = "Please type<br>your name", .name = "" }, { .alert = age, .age = "17" },
        { .alert = age, .age = "100" }, { .alert = age, .age = "thirty" },
        { .alert = "That is no e-mail address", .email = "ann.example.com" },
        { .alert = "Please pick red or green", .color = "blue" }, { .alert = gif, .photo = QByteArray(1001, 'x') },
        { .alert = gif, .photo = "%PDF-1.4", .type = "application/pdf" } };
    for (const Post &post : posts) {
        PhpRequest request;
        request.add("fullname", post.name).add("age", post.age).add("email", post.email).add("color", post.color);
        request.uploads.append({ "photo", "me.gif", post.photo, post.type });
        const PhpResponse response = php.run(QStringLiteral("send.php"), request);
        SCOPED_TRACE(post.alert ? post.alert : "accepted");
        EXPECT_EQ(response.errors, QByteArray());
        EXPECT_TRUE(response.body.contains(post.alert ? post.alert : "Thank you")) << response.body.toStdString();
        EXPECT_EQ(response.body.contains("Thank you"), !post.alert);
    }
    EXPECT_EQ(QDir(php.path(QStringLiteral("uploads"))).entryList(QDir::Files), QStringList { "me.gif" });
}

// A type whose every file the script refuses is never offered, whatever
// the types file lists, and is named below the list with why; any other
// type is offered.
TEST_F(RulesPage, TypesTheScriptRefusesAreNotOffered)
{
    QTemporaryDir folder;
    write_file(folder.filePath("types.txt"),
        "image/gif\r\nimage/svg+xml\r\napplication/x-unknown,IMAGE/PNG\r\naudio/mpeg\r\ntext/html\r\n"
        "text/x-python\r\napplication/x-zip-compressed\r\napplication/x-rar-compressed\r\n");
    frmStep2::types_file() = folder.filePath("types.txt");
    const auto *types = control<QListWidget>("lsttypes");
    QStringList offered;
    for (int row = 0; row < types->count(); ++row)
        offered << types->item(row)->text();
    EXPECT_EQ(offered,
        (QStringList { "image/gif", "IMAGE/PNG", "audio/mpeg", "application/x-zip-compressed",
            "application/x-rar-compressed" }));
    const auto *note = control<QLabel>("lblTypesMissing");
    EXPECT_FALSE(note->isHidden());
    EXPECT_EQ(note->text(),
        "Not offered, since the script refuses every such file: image/svg+xml (a browser runs such files as pages of "
        "the site), application/x-unknown (no file name extension is known for it), text/html (a browser runs such "
        "files as pages of the site), text/x-python (a web server runs its files or serves them as pages).");
}

} // namespace
