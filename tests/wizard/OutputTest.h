#pragma once

#include "WizardTest.h"

#include "GeneratedForm.h"
#include "PhpRunner.h"

#include "controls/gxButtons_H.h"
#include "wizard/DirListBox.h"
#include "wizard/WizardWindow.h"
#include "wizard/frmStep7.h"

#include "model/globals.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

// The output page over a chosen form of one required text field `name`,
// with the page before it standing in.
class OutputTest : public WizardTest
{
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        form = std::make_unique<GeneratedForm>(); // after the reset of the shared objects
        form->add(QStringLiteral("name")).required = true;
        stand_in({ WizardPage::frmStep2 });
        page = static_cast<frmStep7 *>(window(WizardPage::frmStep7));
        page->show();
        settle();
    }

public:
    template<typename T> T *control(const char *name) const { return find<T>(page, name); }
    QString caption(const char *name) const { return control<gxButtons_H>(name)->Caption(); }

    // Shows the page anew in a result mode, as a move from the page before does.
    void reshow(bool embedded)
    {
        page->hide();
        globals::prefs()->is_embeded_result_page = embedded;
        page->show();
    }

    // Browse, then `folder` and `name` in the folder chooser and its input box;
    // `in_chooser` sees the chooser after OK (open still after a No).
    void choose_destination(const QString &folder, const QString &name = QStringLiteral("index.php"),
        std::function<void(QWidget *)> in_chooser = {})
    {
        on_next_modal([=](QWidget *chooser) {
            find<DirListBox>(chooser, "folder")->set_Path(folder);
            on_next_modal([=](QWidget *input) {
                find<QLineEdit>(input, "Text1")->setText(name);
                click(input, "CmdOk");
            });
            click(chooser, "ok");
            if (in_chooser)
                in_chooser(chooser);
        });
        click(page, "Browse");
    }

    // A file in the folder of source pages; returns its path.
    QString source(const QString &name, const QByteArray &content)
    {
        write_file(sources.filePath(name), content);
        return sources.filePath(name);
    }

    void set_message(const QString &text) { control<QPlainTextEdit>("main")->setPlainText(text); }

    // Ticks the header or footer box and gives it a file.
    void part(const char *check, const char *box, const QString &path)
    {
        click(page, check);
        control<QLineEdit>(box)->setText(path);
    }

    void result_pages()
    {
        reshow(false);
        control<QLineEdit>("txtSuccess")->setText(source(QStringLiteral("thanks.html"), "THANKS"));
        control<QLineEdit>("txtError")->setText(source(QStringLiteral("sorry.html"), "SORRY"));
    }

    // Generate, expecting the task report; `look` sees it before OK.
    void generate(std::function<void(QWidget *)> look = {})
    {
        bool shown = false;
        on_next_modal([&shown, look](QWidget *report) {
            shown = report->objectName() == QLatin1String("frmAction");
            if (look)
                look(report);
            click(report, "cmdOK");
        });
        click(page, "cmdNext");
        EXPECT_TRUE(shown) << "no task report; last message: " << last_message().toStdString();
    }

    // Generate, expecting no task report; one shown all the same is closed.
    void generate_stopped()
    {
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
        EXPECT_FALSE(reported) << "the task report was shown";
    }

    QStringList folder_files() const
    {
        return QDir(php.folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    std::unique_ptr<GeneratedForm> form;
    PhpRunner php;
    QTemporaryDir sources;
    frmStep7 *page = nullptr;
};
