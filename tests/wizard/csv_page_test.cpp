// The CSV page, driven through its window.
#include "ActionPageTest.h"

#include "wizard/frmstep5.h"

#include "generate/CSV.h"
#include "model/CForm.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

namespace {

class CsvPage : public ActionPageTest
{
protected:
    void SetUp() override
    {
        ActionPageTest::SetUp();
        set_actions(false, false, true, false);
        form->fields()->Item(QStringLiteral("city"))->in_csv = false;
        page = static_cast<frmstep5 *>(window(WizardPage::frmstep5));
        show_page(page);
    }

    QStringList chosen() const
    {
        QStringList names;
        for (int i = 0; i < page->lstfields->count(); ++i) {
            if (page->lstfields->item(i)->isSelected())
                names << page->lstfields->item(i)->text();
        }
        return names;
    }

    QStringList saved() const
    {
        QStringList names;
        for (const auto &entry : *form->fields()) {
            if (entry.value->in_csv)
                names << entry.value->name;
        }
        return names;
    }

    frmstep5 *page = nullptr;
};

TEST_F(CsvPage, StartsWithTheFieldsThatAreSaved)
{
    EXPECT_EQ(page->lstfields->count(), 4);
    EXPECT_EQ(chosen(), (QStringList { "email", "name", "photo" }));
    EXPECT_EQ(page->cmbtypes->currentText(), QStringLiteral("*.csv"));
    EXPECT_EQ(page->cmbDelimiter->currentText(), QStringLiteral("comma"));
    EXPECT_EQ(page->cmbendline->currentText(), QStringLiteral("\\r\\n"));
    EXPECT_TRUE(page->txtfilename->text().isEmpty());
}

TEST_F(CsvPage, NextSavesTheChosenFields)
{
    click(page, "CmdselectNone");
    EXPECT_TRUE(chosen().isEmpty());
    page->lstfields->item(2)->setSelected(true);
    click(page, "cmdNext");
    EXPECT_EQ(saved(), QStringList { "city" });
    EXPECT_EQ(visible_page(), WizardPage::frmStep7);

    show_page(page);
    click(page, "cmdSelectAll");
    click(page, "cmdNext");
    EXPECT_EQ(saved(), (QStringList { "email", "name", "city", "photo" }));
}

TEST_F(CsvPage, AnotherFormIsListedWhenThePageShowsAgain)
{
    page->hide();
    take_form({ { QStringLiteral("a"), QStringLiteral("text") }, { QStringLiteral("b"), QStringLiteral("text") } });
    show_page(page);
    ASSERT_EQ(page->lstfields->count(), 2);
    EXPECT_EQ(page->lstfields->item(1)->text(), QStringLiteral("b"));
    click(page, "CmdselectNone");
    click(page, "cmdNext");
    EXPECT_FALSE(globals::web_page()->selected_form->fields()->Item(QStringLiteral("a"))->in_csv);

    // The same form again: the choices made stay.
    show_page(page);
    EXPECT_TRUE(chosen().isEmpty());
}

struct FileNameCase
{
    const char *name;
    const char *format;
    const char *filename;
};

void PrintTo(const FileNameCase &c, std::ostream *out)
{
    *out << '"' << c.name << "\" as " << c.format;
}

class CsvFileName : public CsvPage, public ::testing::WithParamInterface<FileNameCase>
{
};

TEST_P(CsvFileName, ExtensionIsAddedUnlessTheNameHoldsIt)
{
    page->txtfilename->setText(QString::fromUtf8(GetParam().name));
    page->cmbtypes->setEditText(QString::fromUtf8(GetParam().format));
    click(page, "cmdNext");
    EXPECT_EQ(globals::csv_file()->filename, QString::fromUtf8(GetParam().filename));
}

INSTANTIATE_TEST_SUITE_P(Names, CsvFileName,
    ::testing::Values(FileNameCase { "data", "*.csv", "data.csv" }, FileNameCase { "data.csv", "*.csv", "data.csv" },
        FileNameCase { "my.csv.old", "*.csv", "my.csv.old" }, FileNameCase { "", "*.csv", ".csv" },
        FileNameCase { "a.csv.txt", "*.txt", "a.csv.txt" }, FileNameCase { "a.csv.txt", "*.csv", "a.csv.txt" },
        FileNameCase { "log", " *.tab ", "log.tab" },
        // The name is compared with its letter case.
        FileNameCase { "DATA.CSV", "*.csv", "DATA.CSV.csv" }));

struct SeparatorCase
{
    const char *text;
    const char *separator;
};

void PrintTo(const SeparatorCase &c, std::ostream *out)
{
    *out << '"' << c.text << '"';
}

class CsvSeparator : public CsvPage, public ::testing::WithParamInterface<SeparatorCase>
{
};

TEST_P(CsvSeparator, NamedSeparatorsAndUnknownOnesKeepTheOldOne)
{
    globals::csv_file()->separator = QStringLiteral("|");
    page->cmbDelimiter->setEditText(QString::fromUtf8(GetParam().text));
    click(page, "cmdNext");
    EXPECT_EQ(globals::csv_file()->separator, QString::fromUtf8(GetParam().separator));
}

INSTANTIATE_TEST_SUITE_P(Names, CsvSeparator,
    ::testing::Values(SeparatorCase { "comma", "," }, SeparatorCase { "Comma", "," },
        SeparatorCase { "SEMICOLON", ";" },
        // "tab" is three blanks, not a tab character.
        SeparatorCase { "tab", "   " }, SeparatorCase { "Space", " " }, SeparatorCase { "pipe", "|" },
        SeparatorCase { "", "|" }, SeparatorCase { " comma", "|" }, SeparatorCase { ";", "|" }));

TEST_F(CsvPage, FormatChoiceSetsTheSeparatorBox)
{
    const auto choose = [this](int index) {
        page->cmbtypes->setCurrentIndex(index);
        emit page->cmbtypes->activated(index);
    };
    choose(1); // *.tab
    EXPECT_EQ(page->cmbDelimiter->currentText(), QStringLiteral("Tab"));
    click(page, "cmdNext");
    EXPECT_EQ(globals::csv_file()->separator, QStringLiteral("   "));
    EXPECT_EQ(globals::csv_file()->filename, QStringLiteral(".tab"));

    show_page(page);
    page->cmbDelimiter->setEditText(QStringLiteral("semicolon"));
    choose(2); // *.txt leaves the separator alone
    EXPECT_EQ(page->cmbDelimiter->currentText(), QStringLiteral("semicolon"));
    choose(0);
    EXPECT_EQ(page->cmbDelimiter->currentText(), QStringLiteral("Comma"));
    click(page, "cmdNext");
    EXPECT_EQ(globals::csv_file()->separator, QStringLiteral(","));
}

TEST_F(CsvPage, EndOfLineIsCopiedAsTyped)
{
    page->cmbendline->setCurrentIndex(1);
    click(page, "cmdNext");
    EXPECT_EQ(globals::csv_file()->EndLine, QStringLiteral("\\n"));
    show_page(page);
    page->cmbendline->setEditText(QStringLiteral("\\r\\n"));
    click(page, "cmdNext");
    EXPECT_EQ(globals::csv_file()->EndLine, QStringLiteral("\\r\\n"));
}

TEST_F(CsvPage, Picture)
{
    page->txtfilename->setText(QStringLiteral("orders"));
    settle();
    save_picture(page, QStringLiteral("page5-csv.png"));
}

} // namespace
