#include "ActionPageTest.h"

#include "wizard/WizardWindow.h"
#include "wizard/frmStart.h"
#include "wizard/frmStep1.h"

#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/globals.h"

#include <QApplication>
#include <QTest>

namespace {

// A page made elsewhere in the wizard: here only its place in the order.
class StandInPage final : public WizardWindow
{
public:
    explicit StandInPage(WizardPage page)
        : WizardWindow(page, 0)
    { }
};

const QList<WizardPage> kAllPages { WizardPage::frmStep1, WizardPage::frmStep2, WizardPage::frmStep3,
    WizardPage::frmStep4, WizardPage::frmstep5, WizardPage::frmstep6a, WizardPage::frmstep6b, WizardPage::frmStep7 };

} // namespace

void PrintTo(WizardPage page, std::ostream *out)
{
    static const char *const names[]
        = { "frmStep1", "frmStep2", "frmStep3", "frmStep4", "frmstep5", "frmstep6a", "frmstep6b", "frmStep7", "None" };
    *out << names[static_cast<int>(page)];
}

void ActionPageTest::SetUp()
{
    WizardTest::SetUp();
    frmStart::is_shown = true;
    for (WizardPage page : { WizardPage::frmStep2, WizardPage::frmstep6a, WizardPage::frmStep7 })
        WizardFrame::instance().set_factory(page, [page] { return new StandInPage(page); });
    form = take_form(
        { { QStringLiteral("email"), QStringLiteral("text") }, { QStringLiteral("name"), QStringLiteral("text") },
            { QStringLiteral("city"), QStringLiteral("text") }, { QStringLiteral("photo"), QStringLiteral("file") } });
}

std::shared_ptr<CForm> ActionPageTest::take_form(const QList<QPair<QString, QString>> &fields)
{
    auto taken = std::make_shared<CForm>();
    taken->set_Method(QStringLiteral("POST"));
    for (const auto &[name, type] : fields) {
        Field field;
        field.name = name;
        field.post_name = name;
        field.field_type = type;
        taken->fields()->Add(field, name);
    }
    auto *first = static_cast<frmStep1 *>(window(WizardPage::frmStep1));
    first->select_form(taken);
    EXPECT_EQ(last_message(), QStringLiteral("HTML Form is successfully loaded "));
    m_seen = messages().size();
    return taken;
}

void ActionPageTest::set_actions(bool email, bool autoresponder, bool csv, bool mysql)
{
    Cprefrences &prefs = *globals::prefs();
    prefs.is_email = email;
    prefs.is_autoresponde = autoresponder;
    prefs.is_csv = csv;
    prefs.is_mysql = mysql;
}

WizardPage ActionPageTest::visible_page()
{
    WizardPage shown = WizardPage::None;
    for (WizardPage page : kAllPages) {
        if (WizardFrame::instance().exists(page) && window(page)->isVisible()) {
            EXPECT_EQ(shown, WizardPage::None) << "two pages visible";
            shown = page;
        }
    }
    return shown;
}

void ActionPageTest::show_page(WizardWindow *page)
{
    page->show();
    page->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(page));
}

void ActionPageTest::in_next_modal(std::function<void(QWidget *)> action)
{
    on_next_modal([action](QWidget *dialog) {
        action(dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog stayed open";
            dialog->close();
        }
    });
}

void ActionPageTest::move_over_background(QWidget *page)
{
    static int step = 0;
    QTest::mouseMove(page, QPoint(page->width() / 2 + (++step % 2), page->height() - 3));
}

bool ActionPageTest::has_focus(QWidget *window, QWidget *control)
{
    QWidget *focus = window->focusWidget();
    return focus && (focus == control || control->isAncestorOf(focus));
}

QStringList ActionPageTest::texts(const StringCollection &lines)
{
    QStringList result;
    for (const auto &entry : lines)
        result << entry.value;
    return result;
}
