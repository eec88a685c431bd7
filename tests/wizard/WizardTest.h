#pragma once

#include "support/QtPrinters.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

class QTemporaryDir;
class QWidget;

// A fresh run of the wizard for each test: shared objects, pages and
// settings start anew; messages are answered by the test and recorded;
// wizard.ini lives in a test folder; ending the program is recorded.
class WizardTest : public ::testing::Test
{
protected:
    WizardTest();
    ~WizardTest() override;
    void SetUp() override;
    void TearDown() override;

    // Answers for the next questions, in order; notices are answered Ok and
    // unanswered questions No.
    void answer(int code) { m_answers.push_back(code); }
    const QStringList &messages() const { return m_messages; }
    QString last_message() const { return m_messages.isEmpty() ? QString() : m_messages.back(); }

    bool program_ended() const { return m_ended; }

    // Runs `action` on the next modal dialog once it is open.
    static void on_next_modal(std::function<void(QWidget *)> action);
    // Lets queued events (deferred work, timers due now) run.
    static void settle(int milliseconds = 50);
    // Clicks a button found by object name inside `window`.
    static void click(QWidget *window, const char *name);
    static void save_picture(QWidget *window, const QString &name);

    QList<int> m_buttons;
    QList<int> m_icons;

private:
    QStringList m_messages;
    std::deque<int> m_answers;
    bool m_ended = false;
    std::unique_ptr<QTemporaryDir> m_config;
};
