#include "WizardTest.h"

#include "wizard/CommonDialog.h"
#include "wizard/MyMessage.h"
#include "wizard/Startup.h"
#include "wizard/WizardFrame.h"
#include "wizard/frmStart.h"

#include "model/globals.h"
#include "model/ini_variables.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

WizardTest::WizardTest() = default;
WizardTest::~WizardTest() = default;

void WizardTest::SetUp()
{
    // wizard.ini of this test alone: test programs run side by side.
    m_config = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_config->path().toLocal8Bit());
    ini_variables::hide_start = 0;
    frmStart::is_shown = false;
    globals::reset();
    CommonDialog::clear_script();
    WizardFrame::instance().reset();
    register_pages();
    WizardFrame::instance().set_end_handler([this] { m_ended = true; });
    MyMessage::set_responder([this](const QString &text, int buttons, int icon) {
        m_messages << text;
        m_buttons << buttons;
        m_icons << icon;
        if (buttons == 1)
            return 4;
        if (m_answers.empty())
            return 2;
        const int code = m_answers.front();
        m_answers.pop_front();
        return code;
    });
}

void WizardTest::TearDown()
{
    MyMessage::set_responder({});
    WizardFrame::instance().set_end_handler({});
    WizardFrame::instance().reset();
    EXPECT_TRUE(m_answers.empty()) << "answers left unused";
}

void WizardTest::on_next_modal(std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer;
    auto *waited = new QElapsedTimer;
    waited->start();
    QObject::connect(timer, &QTimer::timeout, [timer, waited, action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && waited->elapsed() < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        delete waited;
        if (modal)
            action(modal);
        else
            ADD_FAILURE() << "no modal dialog opened";
    });
    timer->start(10);
}

void WizardTest::settle(int milliseconds)
{
    QTest::qWait(milliseconds);
}

void WizardTest::click(QWidget *window, const char *name)
{
    auto *target = window->findChild<QWidget *>(QString::fromLatin1(name));
    ASSERT_TRUE(target) << name;
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->rect().center());
}

void WizardTest::save_picture(QWidget *window, const QString &name)
{
    const QString folder = qEnvironmentVariable("TRESSEL_TEST_OUTPUT", QDir::tempPath());
    EXPECT_TRUE(window->grab().save(QDir(folder).filePath(name)));
}
