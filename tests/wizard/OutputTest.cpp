#include "OutputTest.h"

#include "controls/gxButtons_H.h"
#include "wizard/CommonDialog.h"
#include "wizard/DirListBox.h"
#include "wizard/WizardFrame.h"
#include "wizard/WizardWindow.h"
#include "wizard/frmStep7.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

void OutputTest::SetUp()
{
    WizardTest::SetUp();
    form = std::make_unique<GeneratedForm>();
    Field &name = form->add(QStringLiteral("name"));
    name.required = true;
    php = std::make_unique<PhpRunner>();
    // The page before the output page, as far as Back needs one.
    WizardFrame::instance().set_factory(WizardPage::frmStep2, [] { return new WizardWindow(WizardPage::frmStep2, 2); });
    page = static_cast<frmStep7 *>(WizardFrame::instance().window(WizardPage::frmStep7));
    page->show();
    settle();
}

void OutputTest::TearDown()
{
    WizardTest::TearDown();
    php.reset();
    form.reset();
}

void OutputTest::choose_destination(
    const QString &folder, const QString &name, std::function<void(QWidget *)> in_chooser)
{
    on_next_modal([=](QWidget *chooser) {
        chooser->findChild<DirListBox *>(QStringLiteral("folder"))->set_Path(folder);
        on_next_modal([=](QWidget *input) {
            input->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(name);
            click(input, "CmdOk");
        });
        click(chooser, "ok");
        if (in_chooser) {
            in_chooser(chooser);
        } else if (chooser->isVisible()) {
            ADD_FAILURE() << "the folder chooser stayed open";
            chooser->close();
        }
    });
    click(page, "Browse");
}

QString OutputTest::caption(const char *name) const
{
    return control<gxButtons_H>(name)->Caption();
}

QString OutputTest::source(const QString &name, const QByteArray &content)
{
    const QString path = sources.filePath(name);
    write(path, content);
    return path;
}

void OutputTest::generate(std::function<void(QWidget *)> look)
{
    bool shown = false;
    on_next_modal([&shown, look](QWidget *report) {
        shown = report->objectName() == QLatin1String("frmAction");
        if (look)
            look(report);
        click(report, "cmdOK");
    });
    click(page, "cmdNext");
    EXPECT_TRUE(shown) << "the task report was not shown; last message: " << last_message().toStdString();
}

void OutputTest::generate_stopped()
{
    // A report that opens all the same is recorded and closed, not waited on.
    bool reported = false;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&reported] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            reported = true;
            modal->close();
        }
    });
    guard.start(10);
    click(page, "cmdNext");
    guard.stop();
    EXPECT_FALSE(reported) << "the task report was shown";
}

void OutputTest::set_message(const QString &text)
{
    control<QPlainTextEdit>("main")->setPlainText(text);
}

QByteArray OutputTest::read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void OutputTest::write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}
