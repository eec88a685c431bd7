#pragma once

#include "support/QtPrinters.h"

#include "wizard/PageOrder.h"
#include "wizard/WizardFrame.h"

#include "model/Collection.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <utility>

#include <gtest/gtest.h>

class CForm;
class QListWidget;
class WizardWindow;

// A fresh run of the wizard for each test: shared objects, pages and
// settings start anew; messages are answered by the test and recorded;
// wizard.ini lives in a test folder; ending the program is recorded.
class WizardTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Answers for the next questions, in order; notices are answered Ok and
    // unanswered questions No.
    void answer(int code) { m_answers.push_back(code); }
    const QStringList &messages() const { return m_messages; }
    QString last_message() const { return m_messages.isEmpty() ? QString() : m_messages.back(); }
    bool program_ended() const { return m_ended; }

    using FieldList = std::initializer_list<std::pair<const char *, const char *>>;
    // A form of named fields (name, HTML type), as the page reader gives it.
    static std::shared_ptr<CForm> make_form(FieldList fields);
    // Has the first page take `form` as Browse does; its notice is forgotten.
    void take(const std::shared_ptr<CForm> &form);
    // Plain windows for pages other programs test, so moves have somewhere to go.
    static void stand_in(std::initializer_list<WizardPage> pages);
    static WizardWindow *window(WizardPage page) { return WizardFrame::instance().window(page); }
    // The one page on screen, or None.
    static WizardPage visible_page();
    static void show_page(QWidget *page);

    template<typename T> static T *find(QWidget *window, const char *name)
    {
        T *found = window->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            ADD_FAILURE() << "no control " << name;
        return found;
    }
    // Clicks the entry of a list that shows `text`.
    static void click_entry(QListWidget *list, const char *text);
    // Runs `action` on the next modal dialog once it is open; a dialog the
    // action leaves open (a failed assertion) is closed, so no test waits.
    static void on_next_modal(std::function<void(QWidget *)> action);
    // Lets queued events (deferred work, timers due now) run.
    static void settle(int milliseconds = 50) { QTest::qWait(milliseconds); }
    // Clicks a control found by object name inside `window`.
    static void click(QWidget *window, const char *name);
    // A key pressed where the focus is (in the open dialog first), as the keyboard sends it.
    static void press(Qt::Key key);
    static void save_picture(QWidget *window, const QString &name);
    // The texts of `window` that do not show whole at its present size,
    // each as "control: text"; the title counts as well.
    static QStringList cut_texts(QWidget *window);
    static QByteArray read_file(const QString &path);
    static QStringList texts(const StringCollection &entries);
    static void write_file(const QString &path, const QByteArray &content);

    QList<int> m_buttons;
    QList<int> m_icons;

private:
    QStringList m_messages;
    std::deque<int> m_answers;
    bool m_ended = false;
    QTemporaryDir m_config;
};
