// The output page: what it shows in each result mode, its file boxes, the
// header and footer switches, the message font, the hint line, and its
// Back, Cancel and Close.
#include "OutputTest.h"

#include "wizard/CommonDialog.h"
#include "wizard/WizardFrame.h"
#include "wizard/frmStep7.h"

#include "model/Cprefrences.h"
#include "model/globals.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace {

class OutputPage : public OutputTest
{
protected:
    // Shows the page anew, as a move from the page before does.
    void reshow(bool embedded)
    {
        page->hide();
        globals::prefs()->is_embeded_result_page = embedded;
        page->show();
        settle();
    }
};

TEST_F(OutputPage, EachResultModeShowsItsOwnControls)
{
    const char *embedded_only[] = { "main", "Label3", "format", "chkHeader", "lblheader", "txtHeader", "headerbrowse",
        "chkFooter", "lblfooter", "txtFooter", "browsefooter" };
    for (const bool embedded : { true, false, true }) {
        reshow(embedded);
        for (const char *name : embedded_only)
            EXPECT_EQ(control<QWidget>(name)->isVisible(), embedded) << name;
        EXPECT_EQ(control<QFrame>("result_pages")->isVisible(), !embedded);
        EXPECT_TRUE(control<QWidget>("cmdIP")->isVisible());
    }
    reshow(false);
    EXPECT_EQ(control<QFrame>("result_pages")->geometry(), QRect(480 / 15, 2280 / 15, 6135 / 15, 1815 / 15));
    EXPECT_EQ(control<QLabel>("Label2")->text(), QStringLiteral("Success page"));
    EXPECT_EQ(control<QLabel>("Label1")->text(), QStringLiteral("Error page"));
    EXPECT_EQ(caption("cmdNext"), QStringLiteral("Generate"));
    EXPECT_EQ(page->windowTitle(), QStringLiteral("Tressel"));
    // It shows the folder chooser's choice; typing there would be ignored.
    EXPECT_TRUE(control<QLineEdit>("txtdestination")->isReadOnly());
}

TEST_F(OutputPage, Pictures)
{
    reshow(true);
    save_picture(page, QStringLiteral("output-page-embedded.png"));
    reshow(false);
    save_picture(page, QStringLiteral("output-page-result-pages.png"));
}

struct FileButton
{
    const char *button;
    const char *box;
    bool embedded; // the mode that shows it
};

// Each file button fills its own box from its own dialog.
class FileButtons : public OutputPage, public ::testing::WithParamInterface<FileButton>
{
};

TEST_P(FileButtons, BoxTakesTheDialogsNameEvenWhenCancelled)
{
    const auto [button, box_name, embedded] = GetParam();
    reshow(embedded);
    auto *box = control<QLineEdit>(box_name);
    box->setEnabled(true);
    control<QWidget>(button)->setEnabled(true);
    box->setText(QStringLiteral("typed.html"));

    CommonDialog::script(CommonDialog::Answer::cancelled());
    click(page, button);
    EXPECT_EQ(box->text(), QString()) << "a first cancel leaves the dialog's empty name";

    CommonDialog::script(CommonDialog::Answer::chosen_file(QStringLiteral("/site/parts/a.html")));
    click(page, button);
    EXPECT_EQ(box->text(), QStringLiteral("/site/parts/a.html"));

    CommonDialog::script(CommonDialog::Answer::cancelled());
    click(page, button);
    EXPECT_EQ(box->text(), QStringLiteral("/site/parts/a.html"));
    EXPECT_EQ(CommonDialog::asked().size(), 3u);
    EXPECT_EQ(CommonDialog::asked().back(), CommonDialog::Kind::Open);
}

INSTANTIATE_TEST_SUITE_P(OutputPage, FileButtons,
    ::testing::Values(FileButton { "cmdbrowsesuccess", "txtSuccess", false },
        FileButton { "cmdbrowsefailure", "txtError", false }, FileButton { "headerbrowse", "txtHeader", true },
        FileButton { "browsefooter", "txtFooter", true }));

class PartSwitch : public OutputPage, public ::testing::WithParamInterface<std::array<const char *, 4>>
{
};

TEST_P(PartSwitch, TickEnablesTheBoxAndUntickKeepsItsText)
{
    const auto [check_name, label, box_name, button] = GetParam();
    auto *check = control<QCheckBox>(check_name);
    auto *box = control<QLineEdit>(box_name);
    for (const char *name : { label, box_name, button })
        EXPECT_FALSE(control<QWidget>(name)->isEnabled()) << name;
    click(page, check_name);
    EXPECT_TRUE(check->isChecked());
    for (const char *name : { label, box_name, button })
        EXPECT_TRUE(control<QWidget>(name)->isEnabled()) << name;
    box->setText(QStringLiteral("/site/top.html"));
    click(page, check_name);
    for (const char *name : { label, box_name, button })
        EXPECT_FALSE(control<QWidget>(name)->isEnabled()) << name;
    EXPECT_EQ(box->text(), QStringLiteral("/site/top.html"));
}

INSTANTIATE_TEST_SUITE_P(OutputPage, PartSwitch,
    ::testing::Values(std::array { "chkHeader", "lblheader", "txtHeader", "headerbrowse" },
        std::array { "chkFooter", "lblfooter", "txtFooter", "browsefooter" }));

TEST_F(OutputPage, FormatGivesTheMessageItsFontEvenAfterACancel)
{
    auto *message = control<QPlainTextEdit>("main");
    EXPECT_FALSE(message->font().family().isEmpty());
    EXPECT_GT(message->font().pointSizeF(), 0);

    FontSpec chosen { QStringLiteral("DejaVu Serif"), 14, true, true, false, false };
    CommonDialog::script(CommonDialog::Answer::chosen_font(chosen, 0x0000FF)); // red
    click(page, "format");
    EXPECT_EQ(CommonDialog::asked().back(), CommonDialog::Kind::Font);
    EXPECT_EQ(message->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(message->font().pointSizeF(), 14);
    EXPECT_TRUE(message->font().bold());
    EXPECT_TRUE(message->font().italic());
    EXPECT_EQ(message->palette().color(QPalette::Text), QColor(255, 0, 0));

    CommonDialog::script(CommonDialog::Answer::cancelled());
    click(page, "format");
    EXPECT_EQ(message->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(message->palette().color(QPalette::Text), QColor(255, 0, 0));
}

TEST_F(OutputPage, HintLineColoursOnlyTheHeaderAndFooterBoxes)
{
    auto *hint = control<QLabel>("lblHelp");
    auto *header = control<QCheckBox>("chkHeader");
    auto *footer = control<QCheckBox>("chkFooter");
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(header->palette().color(QPalette::WindowText), QColor(0, 0, 192));

    QTest::mouseMove(header);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(),
        QStringLiteral(" To integrate your website template with the result page, insert the template header here."));
    EXPECT_EQ(header->palette().color(QPalette::WindowText), QColor(192, 0, 192));
    QTest::mouseMove(control<QWidget>("format")); // no sentence of its own
    QTest::mouseMove(footer);
    EXPECT_TRUE(hint->text().endsWith(QStringLiteral("insert the template footer here.")));
    EXPECT_EQ(header->palette().color(QPalette::WindowText), QColor(192, 0, 192));
    EXPECT_EQ(footer->palette().color(QPalette::WindowText), QColor(192, 0, 192));

    QTest::mouseMove(page, QPoint(2, 2));
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(header->palette().color(QPalette::WindowText), QColor(0, 0, 192));
    EXPECT_EQ(footer->palette().color(QPalette::WindowText), QColor(0, 0, 192));

    reshow(false);
    QTest::mouseMove(control<QWidget>("cmdbrowsefailure"));
    EXPECT_EQ(
        hint->text(), QStringLiteral(" The script will show this page if one or more fields contain invalid values"));
    control<QLineEdit>("txtSuccess")->setText(QStringLiteral("t")); // typing explains the box too
    EXPECT_EQ(hint->text(), QStringLiteral(" The script will show this page once the form is successfully processed"));
    QTest::mouseClick(control<QFrame>("result_pages"), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(hint->isVisible());
}

TEST_F(OutputPage, CancelAlwaysOffersToSave)
{
    int saved = 0;
    WizardFrame::instance().set_save_project([&saved] { ++saved; });
    click(page, "cmdCancel");
    EXPECT_EQ(last_message(), QStringLiteral("Do you really want to exit!? "));
    EXPECT_FALSE(program_ended());

    globals::project_saved = true; // saved or not, the question comes
    answer(1);
    answer(1);
    page->close();
    EXPECT_EQ(last_message(), QStringLiteral("Do you want to save this project to work on later?"));
    EXPECT_EQ(saved, 1);
    EXPECT_TRUE(program_ended());
    WizardFrame::instance().set_save_project({});
}

TEST_F(OutputPage, BackGoesToTheFieldRulesWithoutActions)
{
    click(page, "cmdBack");
    EXPECT_FALSE(page->isVisible());
    EXPECT_TRUE(WizardFrame::instance().window(WizardPage::frmStep2)->isVisible());
}

TEST_F(OutputPage, ChooserLeftWithoutAScriptPathLeavesTheBox)
{
    globals::prefs()->php_des = QStringLiteral("/site/form.txt"); // as a project may hold it
    on_next_modal([](QWidget *chooser) { click(chooser, "cancel"); });
    click(page, "Browse");
    EXPECT_EQ(last_message(), QStringLiteral("You must select a destination folder before proceeding"));
    EXPECT_EQ(control<QLineEdit>("txtdestination")->text(), QString());
}

} // namespace
