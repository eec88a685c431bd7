#pragma once

#include "WizardTest.h"

#include "wizard/WizardFrame.h"
#include "wizard/WizardWindow.h"
#include "wizard/frmStep2.h"

#include "generate/CSV.h"
#include "generate/Crecieving_vars.h"
#include "generate/cmail.h"
#include "generate/db.h"
#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/Field.h"
#include "model/globals.h"
#include "model/webpage.h"
#include "wizard/frmStart.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextEdit>

#include <utility>

// The field-rules page over a form of the test's making, worked through its
// controls as a person would. The pages after it that this program does not
// hold yet are plain windows, so that Next has somewhere to go.
class RulesPageTest : public WizardTest
{
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        frmStart::is_shown = true;
        frmStep2::types_file() = QStringLiteral(TRESSEL_TYPES_FILE);
        WizardFrame &frame = WizardFrame::instance();
        for (WizardPage later : { WizardPage::frmStep3, WizardPage::frmStep4, WizardPage::frmstep5,
                 WizardPage::frmstep6a, WizardPage::frmStep7 }) {
            if (!frame.window(later))
                frame.set_factory(later, [later] { return new WizardWindow(later, 0); });
        }
    }

    void TearDown() override
    {
        frmStep2::types_file().clear();
        WizardTest::TearDown();
    }

    using FieldList = std::initializer_list<std::pair<const char *, const char *>>;

    // A form of named fields (name, HTML type) as the page reader gives it.
    static std::shared_ptr<CForm> make_form(FieldList list)
    {
        auto form = std::make_shared<CForm>();
        form->set_Method(QStringLiteral("POST"));
        for (const auto &[name, type] : list) {
            Field field;
            field.name = QString::fromLatin1(name);
            field.post_name = field.name;
            field.field_type = QString::fromLatin1(type);
            field.error_message = QStringLiteral("Please enter a valid ") + field.name;
            form->fields()->Add(field, field.name);
        }
        return form;
    }

    // Hands the form to the settings objects, as the first page does.
    static void take(const std::shared_ptr<CForm> &form)
    {
        globals::web_page()->selected_form = form;
        globals::rec_vars()->form = form;
        globals::csv_file()->form = form;
        globals::owner_mail()->form = form;
        globals::mysql_db()->form = form;
        globals::auto_mail()->form = form;
    }

    static frmStep2 *page() { return static_cast<frmStep2 *>(WizardFrame::instance().window(WizardPage::frmStep2)); }

    static void show_page()
    {
        page()->show();
        page()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(page()));
    }

    // The page showing a fresh form of these fields.
    void open(FieldList list, bool embedded = true)
    {
        globals::prefs()->is_embeded_result_page = embedded;
        take(make_form(list));
        page()->fill_field_lists(false);
        show_page();
    }

    template<typename T> static T *control(const char *name)
    {
        T *found = page()->findChild<T *>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    }

    static Field &field(const char *name)
    {
        return *globals::web_page()->selected_form->fields()->Item(QString::fromLatin1(name));
    }

    static void click_item(int row)
    {
        auto *list = control<QListWidget>("lstfields");
        const QRect place = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
    }

    static void select(const char *name)
    {
        auto *list = control<QListWidget>("lstfields");
        const auto found = list->findItems(QString::fromLatin1(name), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name;
        click_item(list->row(found.front()));
    }

    // A choice from a combo box's list.
    static void choose(const char *combo_name, const char *entry)
    {
        auto *combo = control<QComboBox>(combo_name);
        const int index = combo->findText(QString::fromLatin1(entry), Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(index, 0) << entry;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    // Clicks into a text box and types over its text.
    static void type(const char *box_name, const char *text)
    {
        auto *box = control<QLineEdit>(box_name);
        QTest::mouseClick(box, Qt::LeftButton);
        box->selectAll();
        if (*text)
            QTest::keyClicks(box, QString::fromUtf8(text));
        else
            QTest::keyClick(box, Qt::Key_Delete);
    }

    static void type_alert(const QString &text)
    {
        auto *alert = control<QTextEdit>("main");
        QTest::mouseClick(alert->viewport(), Qt::LeftButton);
        alert->selectAll();
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(alert, Qt::Key_Return);
            QTest::keyClicks(alert, lines.at(i));
        }
    }

    static void add_value(const char *value)
    {
        type("txtValue", value);
        QTest::mousePress(control<QWidget>("cmdAdd"), Qt::LeftButton);
        QTest::mouseRelease(control<QWidget>("cmdAdd"), Qt::LeftButton);
    }

    static void pick_types(std::initializer_list<const char *> types)
    {
        auto *list = control<QListWidget>("lsttypes");
        for (const char *type : types) {
            const auto found = list->findItems(QString::fromLatin1(type), Qt::MatchExactly);
            ASSERT_FALSE(found.isEmpty()) << type;
            list->scrollToItem(found.front());
            QTest::mouseClick(
                list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(found.front()).center());
            EXPECT_TRUE(found.front()->isSelected()) << type;
        }
    }

    static QStringList types_of(const char *name)
    {
        QStringList types;
        for (const auto &entry : *field(name).mime_types())
            types << entry.value;
        return types;
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

    static int small_icon(const char *name)
    {
        auto *list = control<QListWidget>("lstfields");
        const auto found = list->findItems(QString::fromLatin1(name), Qt::MatchExactly);
        return found.isEmpty() ? -1 : found.front()->data(frmStep2::kSmallIconRole).toInt();
    }

    static void write_file(const QString &path, const QByteArray &content)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
};
