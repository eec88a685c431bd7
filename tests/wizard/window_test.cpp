// Every window as a person meets it: hints that follow the pointer and the
// keyboard without moving anything, pages that open where the last one was,
// Enter and Escape in every dialog, and texts that show whole.
#include "MessageTexts.h"
#include "PageDriver.h"
#include "WizardTest.h"

#include "wizard/DirListBox.h"
#include "wizard/FontChooser.h"
#include "wizard/FrmManyforms.h"
#include "wizard/FrmMultipleRecipients.h"
#include "wizard/WizardWindow.h"
#include "wizard/frmAbout.h"
#include "wizard/frmAction.h"
#include "wizard/frmFields.h"
#include "wizard/frmFolder.h"
#include "wizard/frmIP.h"
#include "wizard/frmInput.h"
#include "wizard/frmMessage.h"
#include "wizard/frmSaveOption.h"
#include "wizard/frmStart.h"
#include "wizard/frmStep1.h"
#include "wizard/frmStep3.h"
#include "wizard/frmStep4.h"
#include "wizard/frmWait.h"

#include "controls/gxButtons_H.h"
#include "model/Cprefrences.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

namespace {

// The controls Tab (or Shift+Tab) visits in turn from the one with the
// focus, by name (a button without one by its caption), once round.
QStringList walk(Qt::Key key)
{
    const auto name = [](const QWidget *widget) {
        const auto *button = qobject_cast<const QAbstractButton *>(widget);
        return !widget->objectName().isEmpty() || !button ? widget->objectName() : button->text().remove('&');
    };
    QWidget *const start = QApplication::focusWidget();
    QStringList visited { name(start) };
    QWidget *now = start;
    for (int presses = 0; presses < 100; ++presses) {
        QTest::keyClick(now, key);
        // A grid moves from cell to cell before it lets the focus go.
        if ((now = QApplication::focusWidget()) == start)
            break;
        if (name(now) != visited.constLast())
            visited << name(now);
    }
    return visited;
}

// What Tab visits in each window from the control it opens with: the
// controls as they stand, left to right, then top to bottom; disabled ones
// and choices not taken are passed over.
const std::map<QString, const char *> kTabOrders = {
    { "frmStep1",
        "optLoadHtml txtdestination Browse chkMail chkAutoResponde chkDB chkCSV chkEmbed chkdate cmbdate cmdAbout "
        "cmdNext cmdCancel cmdHelp" },
    { "frmStep2", "lstfields cmbvalidation chknull main Browse cmdBack cmdNext cmdCancel cmdHelp" },
    { "frmStep3",
        "txtTo cmdMultipleRecipient cmbfields txtSubject txtMessage chkIP cmdBack cmdNext cmdCancel cmdHelp" },
    { "frmStep4", "txtsender cmbfields txtSubject txtMessage personalize cmdBack cmdNext cmdCancel cmdHelp" },
    { "frmstep5",
        "lstfields txtfilename cmbtypes cmbDelimiter cmbendline cmdSelectAll CmdselectNone cmdBack cmdNext cmdCancel "
        "cmdHelp" },
    { "frmstep6a", "txtHost txtport txtUser txtpassword cmdConnect create cells cmdBack cmdNext cmdCancel cmdHelp" },
    { "frmstep6b", "cells cmbfields cmdBack cmdNext cmdCancel cmdHelp" },
    { "frmStep7", "txtdestination Browse main format chkHeader chkFooter cmdIP cmdBack cmdNext cmdCancel cmdHelp" },
    { "frmStart", "chkhide cmdNext" },
    { "FrmManyforms", "cmbForm CmdOk" },
    { "FrmMultipleRecipients", "txtEmail cmdAdd lstemails CmdOk cmdCancel" },
    { "frmIP", "txtIP cmdAdd lstIps CmdOk" },
    { "frmInput", "Text1 CmdOk cmdCancel" },
    { "frmFolder", "txtpath ok folder cancel NewFolder drive" },
    { "frmAction", "cmdOK cmdsave" },
    { "frmSaveOption", "optNew CmdOk" },
    { "frmFields", "lstfields cmdAdd cmdCancel" },
    { "FontChooser", "family size color Bold Italic Underline Strikeout OK Cancel" },
    { "frmMessage", "cmdYes CmdNo" },
};

// Tab through the window as the table says, and Shift+Tab back the same way.
void expect_tab_order(const QWidget *window, const QStringList &forward)
{
    const auto order = kTabOrders.find(window->objectName());
    ASSERT_NE(order, kTabOrders.end()) << window->objectName().toStdString();
    EXPECT_EQ(forward.join(' '), QString::fromLatin1(order->second)) << window->objectName().toStdString();
    QStringList back = walk(Qt::Key_Backtab);
    std::reverse(back.begin() + 1, back.end());
    EXPECT_EQ(back, forward) << window->objectName().toStdString();
}

// A run whose first page has taken a form; the rules page is passed over.
class Windows : public WizardTest
{
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        take(make_form({ { "email", "text" }, { "visitors_postal_address", "text" }, { "photo", "file" } }));
    }
};

// The events that show a control's hint, as the pages' hint tables list
// them; Caption is the pointer over the caption the hint colours.
enum Event { Move = 1, Focus = 2, Key = 4, Typed = 8, Change = 16, Choice = 32, Caption = 64 };

struct Hint
{
    const char *control;
    int events;
    const char *highlighted; // the caption coloured; none when null
    const char *sentence; // a part of the sentence shown
};

struct PageHints
{
    const char *name;
    WizardPage page;
    std::vector<Hint> hints;
};

void PrintTo(const PageHints &page, std::ostream *out)
{
    *out << page.name;
}

const PageHints kPageHints[] = {
    { "Source", WizardPage::frmStep1,
        {
            { "chkMail", Move, "chkMail", "send you an email with all fields values" },
            { "chkAutoResponde", Move, "chkAutoResponde", "like an auto responder" },
            { "chkDB", Move, "chkDB", "in a MySQL database" },
            { "chkCSV", Move, "chkCSV", "in a text file on your server" },
            { "chkEmbed", Move, "chkEmbed", "create this result page for you?" },
            { "chkdate", Move, "chkdate", "don't have any date fields" },
            { "lbldate", Move, "lbldate", "Select date Format used in your HTML Form" },
        } },
    { "OwnerMail", WizardPage::frmStep3,
        {
            { "txtTo", Move | Focus | Key | Caption, "Label1", "Type your Email address" },
            { "txtSubject", Move | Focus | Key | Typed | Caption, "Label2", "the subject you want for the email" },
            { "txtMessage", Move | Focus | Typed | Caption, "Label3", "The body of the message" },
            { "cmbfields", Focus | Key | Typed | Caption, "Label4", "You can type any valid email address" },
            { "chkIP", Move, "chkIP", "receive the IP address of your visitor" },
            { "cmdMultipleRecipient", Move, nullptr, "as many people as you wish" },
        } },
    { "AutoResponder", WizardPage::frmStep4,
        {
            { "txtsender", Move | Focus | Change | Caption, "Label4", "Type your Email address" },
            { "cmbfields", Focus | Choice | Caption, "Label1", "Select the field which include" },
            { "txtSubject", Move | Focus | Change | Caption, "Label2", "subject you want for the confirmation email" },
            { "txtMessage", Move | Focus | Change | Caption, "Label3", "the Message that you like to be sent" },
            { "personalize", Move, nullptr, "then press 'Add'" },
        } },
    { "MySQL", WizardPage::frmstep6a, { { "grd", Move | Focus, nullptr, "Please connect your MySQL server first" } } },
    { "Output", WizardPage::frmStep7,
        {
            { "chkHeader", Move, "chkHeader", "insert the template header here." },
            { "lblheader", Move, nullptr, "insert the template header here." },
            { "txtHeader", Move, nullptr, "insert the template header here." },
            { "chkFooter", Move, "chkFooter", "insert the template footer here." },
            { "browsefooter", Move, nullptr, "insert the template footer here." },
            { "txtSuccess", Change, nullptr, "once the form is successfully processed" },
        } },
};

class HintLines : public Windows, public ::testing::WithParamInterface<PageHints>
{
protected:
    // Moves the pointer over the page's own background (a move to where it
    // already is would be none).
    static void leave(QWidget *page)
    {
        QTest::mouseMove(page, QPoint(4, 4));
        QTest::mouseMove(page, QPoint(3, 3));
    }

    static void cause(QWidget *page, QWidget *control, QWidget *caption, Event event)
    {
        switch (event) {
        case Move:
        case Caption:
            QTest::mouseMove(event == Move ? control : caption);
            break;
        case Focus:
            control->clearFocus();
            control->setFocus(Qt::TabFocusReason);
            break;
        case Key:
        case Typed:
            // Keys reach the focused control with the hint already gone.
            control->setFocus(Qt::TabFocusReason);
            leave(page);
            QTest::keyClick(QApplication::focusWidget(), event == Key ? Qt::Key_End : Qt::Key_A);
            break;
        case Change:
            if (auto *edit = qobject_cast<QLineEdit *>(control))
                edit->setText(edit->text() + QLatin1Char('x'));
            else
                static_cast<QPlainTextEdit *>(control)->insertPlainText(QStringLiteral("x"));
            break;
        case Choice:
            emit static_cast<QComboBox *>(control)->activated(0);
            break;
        }
    }
};

TEST_P(HintLines, FollowThePointerAndTheKeysAndMoveNothing)
{
    QWidget *page = window(GetParam().page);
    show_page(page);
    auto *hint = find<QLabel>(page, "lblHelp");
    const QRect next = find<QWidget>(page, "cmdNext")->geometry();
    const QSize size = page->size();
    for (const Hint &h : GetParam().hints) {
        auto *control = find<QWidget>(page, h.control);
        QWidget *highlighted = h.highlighted ? find<QWidget>(page, h.highlighted) : nullptr;
        for (const Event event : { Move, Focus, Key, Typed, Change, Choice, Caption }) {
            if (!(h.events & event))
                continue;
            SCOPED_TRACE(std::string(h.control) + " event " + std::to_string(event));
            leave(page);
            ASSERT_FALSE(hint->isVisible());
            if (highlighted) {
                EXPECT_EQ(highlighted->palette().color(QPalette::WindowText), WizardWindow::kRestColor);
            }
            cause(page, control, highlighted, event);
            EXPECT_TRUE(hint->isVisible());
            EXPECT_TRUE(hint->text().contains(QString::fromUtf8(h.sentence))) << hint->text().toStdString();
            if (highlighted) {
                EXPECT_EQ(highlighted->palette().color(QPalette::WindowText), WizardWindow::kHintColor);
            }
            // Nothing moves, and the sentence shows whole above the buttons.
            EXPECT_EQ(page->size(), size);
            EXPECT_EQ(find<QWidget>(page, "cmdNext")->geometry(), next);
            EXPECT_EQ(cut_texts(page), QStringList());
            EXPECT_LE(hint->geometry().bottom(), next.top());
        }
    }
    save_picture(page, QStringLiteral("hint-%1.png").arg(QString::fromLatin1(GetParam().name)));
}

INSTANTIATE_TEST_SUITE_P(Pages, HintLines, ::testing::ValuesIn(kPageHints));

// The panels of the first page are its background too; focus on the
// owner-mail page's IP box hides the hint.
TEST_F(Windows, HintsGoOverThePagesBackground)
{
    QWidget *first = window(WizardPage::frmStep1);
    show_page(first);
    auto *actions = find<QWidget>(first, "fraActions");
    auto *mail = find<QWidget>(first, "chkMail");
    for (const char *panel : { "fraActions", "fraSource" }) {
        QTest::mouseMove(mail);
        ASSERT_TRUE(find<QLabel>(first, "lblHelp")->isVisible());
        // Right of the boxes, clear of every control.
        auto *area = find<QWidget>(first, panel);
        QTest::mouseMove(area, QPoint(area->width() - 4, area == actions ? mail->geometry().bottom() + 2 : 4));
        EXPECT_FALSE(find<QLabel>(first, "lblHelp")->isVisible()) << panel;
        EXPECT_EQ(mail->palette().color(QPalette::WindowText), WizardWindow::kRestColor);
    }

    QWidget *owner = window(WizardPage::frmStep3);
    show_page(owner);
    find<QWidget>(owner, "txtTo")->setFocus();
    ASSERT_TRUE(find<QLabel>(owner, "lblHelp")->isVisible());
    find<QWidget>(owner, "chkIP")->setFocus();
    EXPECT_FALSE(find<QLabel>(owner, "lblHelp")->isVisible());
}

// Records when windows are shown and hidden, in order.
struct ShowsAndHides final : QObject
{
    QStringList order;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
            order << (event->type() == QEvent::Show ? "show " : "hide ") + watched->objectName();
        return false;
    }
};

TEST_F(Windows, EachPageOpensWhereTheLastOneWas)
{
    auto *first = static_cast<frmStep1 *>(window(WizardPage::frmStep1));
    QWidget *rules = window(WizardPage::frmStep2);
    QWidget *owner = window(WizardPage::frmStep3);
    show_page(first);
    const QRect placed(90, 70, 780, 590);
    first->setGeometry(placed);
    click(first, "cmdNext");
    ASSERT_EQ(visible_page(), WizardPage::frmStep2);
    EXPECT_EQ(rules->geometry(), placed);
    WizardFrame::instance().move(*static_cast<WizardWindow *>(rules), WizardPage::frmStep3);
    EXPECT_EQ(owner->geometry(), placed);

    // Back shows the page it goes to before it hides the one it leaves; a
    // maximised window stays maximised, and keeps its place for later.
    ShowsAndHides seen;
    rules->installEventFilter(&seen);
    owner->installEventFilter(&seen);
    owner->showMaximized();
    settle();
    seen.order.clear();
    click(owner, "cmdBack");
    EXPECT_EQ(seen.order, (QStringList { "show frmStep2", "hide frmStep3" }));
    EXPECT_TRUE(rules->isMaximized());
    rules->showNormal();
    settle();
    click(rules, "cmdBack");
    EXPECT_FALSE(first->isMaximized());
    EXPECT_EQ(first->geometry(), placed);
}

// Enter and Escape in the task report and the About box; the other dialogs
// are pressed in their own tests (the message box, the introduction, the
// form picker, the recipients, the field picker, the banned addresses, the
// input box and the folder chooser).
TEST_F(Windows, TaskReportAndAboutBoxCloseOnEnterAndEscape)
{
    // Both close on either key; the About button opens its box from the
    // keyboard too.
    QWidget *about = find<QWidget>(window(WizardPage::frmStep1), "cmdAbout");
    show_page(window(WizardPage::frmStep1));
    for (const Qt::Key key : { Qt::Key_Return, Qt::Key_Escape }) {
        on_next_modal([key](QWidget *) { press(key); });
        frmAction().exec();
        int opened = 0;
        on_next_modal([key, &opened](QWidget *box) {
            opened += box->objectName() == QLatin1String("frmAbout");
            press(key);
        });
        about->setFocus();
        QTest::keyClick(about, Qt::Key_Space);
        EXPECT_EQ(opened, 1);
    }
    EXPECT_TRUE(messages().isEmpty()) << last_message().toStdString();
}

// Enter on a focused button of a page does what Space does there; in a box
// it keeps the box's meaning (here none, so nothing happens).
TEST_F(Windows, EnterPressesTheFocusedButtonOfAPage)
{
    const std::tuple<WizardPage, const char *, const char *> rows[] = {
        // page, control with the focus, what follows: the page shown, the
        // dialog opened or the message shown
        { WizardPage::frmStep1, "cmdNext", "page frmStep2" },
        { WizardPage::frmStep2, "cmdBack", "page frmStep1" },
        { WizardPage::frmStep1, "cmdAbout", "dialog frmAbout" },
        { WizardPage::frmStep3, "cmdMultipleRecipient", "dialog FrmMultipleRecipients" },
        { WizardPage::frmStep4, "personalize", "dialog frmFields" },
        { WizardPage::frmStep3, "cmdCancel", "message Do you really want to exit!? " },
        { WizardPage::frmStep3, "cmdNext",
            "message You must specify a valid email address to send this email message to" },
        { WizardPage::frmStep3, "txtTo", "page frmStep3" },
    };
    for (const auto &[page, control, outcome] : rows) {
        SCOPED_TRACE(control);
        if (visible_page() != page) {
            if (visible_page() != WizardPage::None)
                window(visible_page())->hide();
            show_page(window(page));
        }
        ASSERT_TRUE(QTest::qWaitForWindowActive(window(page)));
        find<QWidget>(window(page), control)->setFocus(Qt::TabFocusReason);
        QString dialog;
        if (QLatin1String(outcome).startsWith(QLatin1String("dialog"))) {
            on_next_modal([&dialog](QWidget *box) {
                dialog = box->objectName();
                static_cast<QDialog *>(box)->reject();
            });
        }
        const qsizetype before = messages().size();
        press(Qt::Key_Return);
        settle();
        const QString seen = !dialog.isEmpty() ? QStringLiteral("dialog ") + dialog
            : messages().size() > before       ? QStringLiteral("message ") + last_message()
                                               : QStringLiteral("page ") + window(visible_page())->objectName();
        EXPECT_EQ(seen, QString::fromUtf8(outcome));
    }

    // Add on the rules page acts as its button goes down, and on Enter.
    QWidget *rules = window(WizardPage::frmStep2);
    window(visible_page())->hide();
    show_page(rules);
    click_entry(find<QListWidget>(rules, "lstfields"), "email");
    drive::choose(find<QComboBox>(rules, "cmbvalidation"), QStringLiteral("List of values"));
    find<QLineEdit>(rules, "txtValue")->setText(QStringLiteral("red"));
    find<QWidget>(rules, "cmdAdd")->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Enter);
    EXPECT_EQ(find<QListWidget>(rules, "lstValues")->count(), 1);
}

// The folder chooser opens in a folder of the user's; a path typed into it
// goes there with Enter; OK with the path emptied asks for a folder, not for
// a name; Escape leaves as Cancel does, without a word.
TEST_F(Windows, FolderChooserStartsInTheUsersFolderAndGoesWhereTyped)
{
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("site/forms"));
    const QString site = QDir(folder.path()).filePath(QStringLiteral("site"));
    const auto starts_in = [](const QString &path) {
        frmFolder chooser;
        EXPECT_EQ(find<QLineEdit>(&chooser, "txtpath")->text(), path);
    };
    starts_in(QDir::homePath());
    globals::web_page()->path = QDir(site).filePath(QStringLiteral("forms/contact.html"));
    starts_in(QDir(site).filePath(QStringLiteral("forms")));
    globals::prefs()->des_folder = site + QLatin1Char('/');
    starts_in(site);

    bool named = false;
    qsizetype told = 0;
    on_next_modal([&](QWidget *chooser) {
        auto *path = find<QLineEdit>(chooser, "txtpath");
        path->setFocus();
        path->setText(QStringLiteral("forms"));
        press(Qt::Key_Return);
        EXPECT_EQ(find<DirListBox>(chooser, "folder")->Path(), QDir(site).filePath(QStringLiteral("forms")));
        path->setText(QStringLiteral("/no/such/folder"));
        press(Qt::Key_Return);
        EXPECT_TRUE(chooser->isVisible());
        path->setText(QStringLiteral(" "));
        // The name would be asked at once, in the click.
        QTimer::singleShot(0, chooser, [&named] {
            QWidget *input = QApplication::activeModalWidget();
            if (input && input->objectName() == QLatin1String("frmInput")) {
                named = true;
                input->close();
            }
        });
        click(chooser, "ok");
        EXPECT_EQ(last_message(), QStringLiteral("You must select a destination folder before proceeding"));
        EXPECT_TRUE(chooser->isVisible());
        told = messages().size();
        press(Qt::Key_Escape);
    });
    frmFolder().exec();
    EXPECT_EQ(messages().size(), told); // Escape said nothing
    EXPECT_FALSE(named);
    EXPECT_EQ(messages(),
        (QStringList {
            "The folder /no/such/folder does not exist", "You must select a destination folder before proceeding" }));
}

// A page is built long before it shows: its buttons draw only then.
TEST_F(WizardTest, ButtonsOfAPageDrawOnlyOnceItShows)
{
    QWidget *output = window(WizardPage::frmStep7);
    const auto buttons = output->findChildren<gxButtons_H *>();
    ASSERT_FALSE(buttons.isEmpty());
    for (const gxButtons_H *button : buttons)
        EXPECT_TRUE(button->MemDC().isNull()) << button->objectName().toStdString();
    output->show();
    for (const gxButtons_H *button : buttons)
        EXPECT_EQ(button->MemDC().isNull(), !button->isVisible()) << button->objectName().toStdString();
}

// Every window as it opens: no text cut, and Tab visiting its controls as
// they stand.
TEST_F(Windows, NoTextIsCutAtTheDefaultSize)
{
    QSet<QRect> next_buttons;
    for (const WizardPage page :
        { WizardPage::frmStep1, WizardPage::frmStep2, WizardPage::frmStep3, WizardPage::frmStep4, WizardPage::frmstep5,
            WizardPage::frmstep6a, WizardPage::frmstep6b, WizardPage::frmStep7 }) {
        QWidget *shown = window(page);
        show_page(shown);
        EXPECT_EQ(cut_texts(shown), QStringList()) << shown->objectName().toStdString();
        // Each page fits the size all of them open at, and has Next where
        // the others have it.
        EXPECT_TRUE(WizardWindow::default_size().expandedTo(shown->minimumSizeHint()) == WizardWindow::default_size());
        next_buttons.insert(find<QWidget>(shown, "cmdNext")->geometry());
        // Tab visits the row of buttons from left to right, and every control
        // as it stands.
        const QStringList visited = walk(Qt::Key_Tab);
        expect_tab_order(shown, visited);
        QList<int> row;
        for (const QString &name : visited) {
            auto *w = shown->findChild<gxButtons_H *>(name);
            if (w && w->y() == find<QWidget>(shown, "cmdNext")->y())
                row << w->x();
        }
        EXPECT_TRUE(std::is_sorted(row.begin(), row.end())) << shown->objectName().toStdString();
        shown->hide();
    }
    EXPECT_EQ(next_buttons.size(), 1);
    frmStart start;
    FrmManyforms forms(static_cast<frmStep1 *>(window(WizardPage::frmStep1)));
    FrmMultipleRecipients recipients(static_cast<frmStep3 *>(window(WizardPage::frmStep3)));
    frmIP ip;
    frmInput input;
    frmFolder folder;
    frmAction report;
    frmAbout about;
    frmSaveOption keep;
    FontChooser font;
    frmMessage message;
    message.prepare(QStringLiteral("Do you really want to exit!? "), 3, 1);
    for (QWidget *dialog : std::initializer_list<QWidget *> { &start, &forms, &recipients, &ip, &input, &folder,
             &report, &about, &keep, static_cast<frmStep4 *>(window(WizardPage::frmStep4))->field_picker(),
             &frmWait::instance(), &font, &message }) {
        show_page(dialog);
        EXPECT_EQ(cut_texts(dialog), QStringList()) << dialog->objectName().toStdString();
        // The About box and the wait window have no control to visit.
        if (dialog != &about && dialog != &frmWait::instance())
            expect_tab_order(dialog, walk(Qt::Key_Tab));
        dialog->hide();
    }
}

// Captions spelt right; the About box names the version the scripts carry.
TEST_F(Windows, CaptionsAreSpeltRight)
{
    frmInput input;
    frmAbout about;
    EXPECT_EQ(find<gxButtons_H>(&input, "CmdOk")->Caption(), QStringLiteral("OK"));
    EXPECT_EQ(find<QLabel>(window(WizardPage::frmstep6a), "Label3")->text(), QStringLiteral("Database"));
    EXPECT_EQ(find<QLabel>(&about, "version")->text(), QStringLiteral("Version : 1.2.6"));
    EXPECT_EQ(find<gxButtons_H>(window(WizardPage::frmStep7), "cmdIP")->Caption(),
        QStringLiteral("Block certain IP addresses"));
}

// Every message of the program shows whole, its buttons below it and inside
// the box, and the box within the screen; so does one word wider than the
// screen (a long file name, a host name), which the box wraps.
TEST_F(WizardTest, MessageBoxShowsEveryMessageWhole)
{
    std::vector<std::pair<int, const char *>> table; // button set (Yes and No, or Ok), text
    for (const char *text : kQuestions)
        table.emplace_back(3, text);
    for (const char *text : kNotices)
        table.emplace_back(1, text);
    const std::string name(240, 'w'), host = "www." + std::string(200, 'x') + ".example.org";
    const std::string words[] = { name + ".php  already exists, do you want to overwrite it?",
        "The page could not be loaded: the server \"" + host + "\" was not found." };
    table.emplace_back(3, words[0].c_str());
    table.emplace_back(1, words[1].c_str());
    size_t longest = 0;
    for (const auto &[buttons, text] : table) {
        SCOPED_TRACE(text);
        frmMessage box;
        box.prepare(QString::fromUtf8(text), buttons, 3);
        box.show();
        EXPECT_EQ(cut_texts(&box), QStringList());
        const QRect label = find<QLabel>(&box, "lblMessage")->geometry();
        EXPECT_TRUE(box.rect().contains(label));
        int shown = 0;
        for (auto *button : box.findChildren<gxButtons_H *>()) {
            if (!button->isVisible())
                continue;
            ++shown;
            EXPECT_TRUE(box.rect().contains(button->geometry())) << button->objectName().toStdString();
            EXPECT_GT(button->y(), label.bottom()) << button->objectName().toStdString();
        }
        EXPECT_EQ(shown, buttons == 3 ? 2 : 1);
        EXPECT_LE(box.width(), box.screen()->availableGeometry().width());
        if (qstrlen(text) > longest) {
            longest = qstrlen(text);
            save_picture(&box, QStringLiteral("message-box-longest.png"));
        }
    }
}

} // namespace
