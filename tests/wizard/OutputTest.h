#pragma once

#include "WizardTest.h"

#include "GeneratedForm.h"
#include "PhpRunner.h"

#include "wizard/frmStep7.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// The output page over a chosen form of one text field `name` that is
// required, with the pages before it standing in as plain windows.
class OutputTest : public WizardTest
{
protected:
    void SetUp() override;
    void TearDown() override;

public:
    template<typename T> T *control(const char *name) const { return page->findChild<T *>(QString::fromLatin1(name)); }

    // A button's caption.
    QString caption(const char *name) const;

    // Browse, then `folder` and `name` in the folder chooser and its input
    // box. `in_chooser` runs once OK was pressed while the chooser may still
    // be open (after a question answered No).
    void choose_destination(const QString &folder, const QString &name = QStringLiteral("index.php"),
        std::function<void(QWidget *)> in_chooser = {});
    // A file in the folder of source pages; returns its path.
    QString source(const QString &name, const QByteArray &content);
    // Generate, expecting the task report; `look` sees it before OK.
    void generate(std::function<void(QWidget *)> look = {});
    // Generate, expecting no task report.
    void generate_stopped();
    // Sets the success message box.
    void set_message(const QString &text);

    static QByteArray read(const QString &path);
    static void write(const QString &path, const QByteArray &content);

    frmStep7 *page = nullptr;
    std::unique_ptr<GeneratedForm> form;
    std::unique_ptr<PhpRunner> php;
    QTemporaryDir sources;
};
