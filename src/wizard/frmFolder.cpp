#include "frmFolder.h"

#include "DialogKeys.h"
#include "DirListBox.h"
#include "MyMessage.h"
#include "TextFit.h"
#include "WizardButtons.h"
#include "frmInput.h"

#include "model/Cprefrences.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cerrno>
#include <sys/stat.h>

namespace {

void notice(const QString &text)
{
    MyMessage::show_message(text, 1, 3);
}

} // namespace

frmFolder::frmFolder(QWidget *parent)
    : QDialog(parent)
    , drive(new QComboBox(this))
    , folder(new DirListBox(start_folder(), this))
    , txtpath(new QLineEdit(this))
    , ok(make_button(this, "ok", QStringLiteral("Ok")))
    , cancel(make_button(this, "cancel", QStringLiteral("Cancel")))
    , NewFolder(make_button(this, "NewFolder", QStringLiteral("New Folder")))
{
    setObjectName(QStringLiteral("frmFolder"));
    setWindowTitle(QStringLiteral("Select output folder"));
    fit_title(this);
    drive->setObjectName(QStringLiteral("drive"));
    folder->setObjectName(QStringLiteral("folder"));
    txtpath->setObjectName(QStringLiteral("txtpath"));

    // The list starts in a folder of the user's; the drive list shows the
    // place that holds it.
    drive->addItems(drives());
    const QString home = QDir::homePath();
    const QString start = folder->Path();
    drive->setCurrentIndex(start == home || start.startsWith(home + QLatin1Char('/')) ? drive->count() - 1 : 0);
    txtpath->setText(folder->Path());

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addSpacing(12);
    buttons->addWidget(NewFolder);
    buttons->addStretch(1);
    auto *grid = new QGridLayout(this);
    grid->addWidget(txtpath, 0, 0);
    grid->addWidget(folder, 1, 0);
    grid->addWidget(drive, 2, 0);
    grid->addLayout(buttons, 0, 1, 3, 1);
    folder->setMinimumSize(320, 240);

    // A place picked again goes there again.
    connect(drive, &QComboBox::activated, this, &frmFolder::drive_Change);
    connect(folder, &DirListBox::Change, this, &frmFolder::folder_Change);
    connect(folder, &QListWidget::itemClicked, this, &frmFolder::folder_Click);
    connect(folder, &QListWidget::itemActivated, this, &frmFolder::folder_Click);
    connect(cancel, &gxButtons_H::Click, this, &frmFolder::cancel_Click);
    connect(NewFolder, &gxButtons_H::Click, this, &frmFolder::NewFolder_Click);
    connect(ok, &gxButtons_H::Click, this, &frmFolder::ok_Click);

    auto *keys = new DialogKeys(this, ok, cancel);
    // A path typed into the box is gone to; Enter in the list opens the
    // folder chosen there.
    keys->on_enter_in(txtpath, [this] { txtpath_Enter(); });
    keys->on_enter_in(folder, std::function<void()>());
}

QStringList frmFolder::drives()
{
    QStringList places { QDir::rootPath() };
    if (QDir::homePath() != QDir::rootPath())
        places << QDir::homePath();
    return places;
}

QString frmFolder::start_folder()
{
    const Cprefrences &prefs = *globals::prefs();
    const webpage &page = *globals::web_page();
    QStringList places;
    if (!prefs.des_folder.isEmpty())
        places << prefs.des_folder;
    if (page.pagetype == 0 && !page.path.isEmpty())
        places << QFileInfo(page.path).absolutePath();
    for (const QString &place : std::as_const(places)) {
        if (QFileInfo(place).isDir())
            return place;
    }
    return QDir::homePath();
}

QString frmFolder::script_file_name(const QString &typed)
{
    return typed.contains(QLatin1String(".php")) ? typed : typed + QStringLiteral(".php");
}

QString frmFolder::destination_folder(const QString &path)
{
    QString folder = path + QLatin1Char('/');
    while (folder.contains(QLatin1String("//")))
        folder.replace(QLatin1String("//"), QLatin1String("/"));
    return folder;
}

void frmFolder::drive_Change()
{
    folder->set_Path(drive->currentText());
    txtpath->setText(folder->Path());
}

void frmFolder::folder_Change()
{
    txtpath->setText(folder->Path());
}

void frmFolder::folder_Click(QListWidgetItem *item)
{
    txtpath->setText(folder->Path());
    folder->set_Path(DirListBox::entry_path(item));
}

void frmFolder::txtpath_Enter()
{
    QString typed = txtpath->text().trimmed();
    if (typed == QLatin1String("~") || typed.startsWith(QLatin1String("~/")))
        typed.replace(0, 1, QDir::homePath());
    const QString path = QDir(folder->Path()).absoluteFilePath(typed);
    if (!QFileInfo(path).isDir()) {
        notice(QStringLiteral("The folder ") + path + QStringLiteral(" does not exist"));
        txtpath->setFocus();
        return;
    }
    folder->set_Path(path);
    txtpath->setText(folder->Path());
}

void frmFolder::cancel_Click()
{
    reject();
}

void frmFolder::NewFolder_Click()
{
    const QString name = frmInput::ask(this, QStringLiteral("New Folder name"));
    if (name.isEmpty()) {
        notice(QStringLiteral("invalid Folder Name"));
        return;
    }
    const QString path = QDir(folder->Path()).filePath(name);
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0) {
        const int error = errno;
        if (error == EEXIST)
            notice(name + QStringLiteral(" already exist"));
        else
            notice(QStringLiteral("The folder ") + path + QStringLiteral(" cannot be created (")
                + qt_error_string(error) + QLatin1Char(')'));
        return;
    }
    folder->Refresh();
    folder->set_Path(path);
}

void frmFolder::ok_Click()
{
    if (txtpath->text().trimmed().isEmpty()) {
        notice(QStringLiteral("You must select a destination folder before proceeding"));
        txtpath->setFocus();
        return;
    }
    const QString name
        = frmInput::ask(this, QStringLiteral("Enter a name for the result script file"), QStringLiteral("index.php"));
    if (name.isEmpty())
        return;
    Cprefrences &prefs = *globals::prefs();
    prefs.script_name = script_file_name(name);
    prefs.des_folder = destination_folder(txtpath->text());
    prefs.php_des = prefs.des_folder + prefs.script_name;
    // The old script stays until a generation has a complete new one to put
    // in its place.
    if (QFileInfo(prefs.php_des).isFile()
        && MyMessage::show_message(
               prefs.script_name + QStringLiteral("  already exists, do you want to overwrite it?"), 3, 1)
            != 1)
        return;
    accept();
}
