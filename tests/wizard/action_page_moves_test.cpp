// Where Next and Back lead from the action pages for the chosen actions.
#include "ActionPageTest.h"

#include "wizard/WizardWindow.h"
#include "wizard/frmStep3.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

enum Action { Email = 1, Auto = 2, Csv = 4, Mysql = 8 };

struct MoveCase
{
    WizardPage from;
    int actions;
    const char *button;
    WizardPage to;
};

void PrintTo(const MoveCase &c, std::ostream *out)
{
    PrintTo(c.from, out);
    *out << " actions " << c.actions << ' ' << c.button;
}

class ActionPageMoves : public ActionPageTest, public ::testing::WithParamInterface<MoveCase>
{
};

TEST_P(ActionPageMoves, ShowsTheNextChosenPageAndHidesThisOne)
{
    const MoveCase &c = GetParam();
    set_actions(c.actions & Email, c.actions & Auto, c.actions & Csv, c.actions & Mysql);
    if (c.from == WizardPage::frmStep3) {
        auto *owner = static_cast<frmStep3 *>(window(c.from));
        owner->txtTo->setText(QStringLiteral("owner@example.com"));
        owner->cmbfields->setEditText(QStringLiteral("email"));
        owner->txtSubject->setText(QStringLiteral("s"));
    }
    show_page(window(c.from));
    click(window(c.from), c.button);
    EXPECT_EQ(visible_page(), c.to);
    EXPECT_TRUE(new_messages().isEmpty());
}

using P = WizardPage;

INSTANTIATE_TEST_SUITE_P(Table, ActionPageMoves,
    ::testing::Values(MoveCase { P::frmStep3, Email | Auto | Csv, "cmdNext", P::frmStep4 },
        MoveCase { P::frmStep3, Email | Csv | Mysql, "cmdNext", P::frmstep5 },
        MoveCase { P::frmStep3, Email | Mysql, "cmdNext", P::frmstep6a },
        MoveCase { P::frmStep3, Email, "cmdNext", P::frmStep7 },
        MoveCase { P::frmStep3, Email | Auto, "cmdBack", P::frmStep2 },
        MoveCase { P::frmStep4, Auto | Csv | Mysql, "cmdNext", P::frmstep5 },
        MoveCase { P::frmStep4, Email | Auto | Mysql, "cmdNext", P::frmstep6a },
        MoveCase { P::frmStep4, Auto, "cmdNext", P::frmStep7 },
        MoveCase { P::frmStep4, Email | Auto, "cmdBack", P::frmStep3 },
        MoveCase { P::frmStep4, Auto | Csv, "cmdBack", P::frmStep2 },
        MoveCase { P::frmstep5, Csv | Mysql, "cmdNext", P::frmstep6a },
        MoveCase { P::frmstep5, Email | Auto | Csv, "cmdNext", P::frmStep7 },
        MoveCase { P::frmstep5, Email | Auto | Csv, "cmdBack", P::frmStep4 },
        MoveCase { P::frmstep5, Email | Csv | Mysql, "cmdBack", P::frmStep3 },
        MoveCase { P::frmstep5, Csv, "cmdBack", P::frmStep2 }));

class ActionPageExit : public ActionPageTest, public ::testing::WithParamInterface<WizardPage>
{
};

TEST_P(ActionPageExit, CancelAndTheCloseBoxAskBeforeEnding)
{
    set_actions(true, true, true, false);
    WizardWindow *page = window(GetParam());
    EXPECT_EQ(page->help_context(), static_cast<int>(GetParam()) + 1); // pages 3 to 5 open topics 3 to 5
    show_page(page);
    click(page, "cmdCancel");
    page->close();
    EXPECT_EQ(new_messages(), (QStringList { "Do you really want to exit!? ", "Do you really want to exit!? " }));
    EXPECT_TRUE(page->isVisible());
    EXPECT_FALSE(program_ended());

    answer(1);
    answer(2);
    click(page, "cmdCancel");
    EXPECT_EQ(last_message(), QStringLiteral("Do you want to save this project to work on later?"));
    EXPECT_TRUE(program_ended());
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ActionPageExit, ::testing::Values(WizardPage::frmStep3, WizardPage::frmStep4, WizardPage::frmstep5));

} // namespace
