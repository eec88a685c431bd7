#pragma once

#include <QDialog>

class DirListBox;
class QComboBox;
class QLineEdit;
class QListWidgetItem;
class gxButtons_H;

// Chooses the folder that receives the generated script and the script's
// file name; stores name, folder and full path in the preferences. It can
// also create a folder. An existing script is only replaced later, by a
// complete new one, once the user agreed here.
class frmFolder final : public QDialog
{
    Q_OBJECT

public:
    explicit frmFolder(QWidget *parent = nullptr);

    // The places to start from: the file system's root and the user's home.
    static QStringList drives();
    // Where the chooser opens: the folder of the script chosen last, else
    // that of the HTML page read from a file, else the user's home.
    static QString start_folder();

    // The script's file name as the user typed it, completed with ".php".
    static QString script_file_name(const QString &typed);
    // The chosen folder as the preferences keep it: ending with one "/".
    static QString destination_folder(const QString &path);

private:
    void drive_Change();
    void folder_Change();
    void folder_Click(QListWidgetItem *item);
    // Goes to the folder typed into the path box.
    void txtpath_Enter();
    void cancel_Click();
    void NewFolder_Click();
    void ok_Click();

    QComboBox *drive;
    DirListBox *folder;
    QLineEdit *txtpath;
    gxButtons_H *ok;
    gxButtons_H *cancel;
    gxButtons_H *NewFolder;
};
