#pragma once

#include <QListWidget>
#include <QString>

// A folder list as a directory list box shows it: the folders on the way
// from the root down to the current folder, then the current folder's
// subfolders, each one step further in. The current folder is marked.
class DirListBox final : public QListWidget
{
    Q_OBJECT

public:
    // Starts in `path`.
    explicit DirListBox(const QString &path, QWidget *parent = nullptr);

    // The current folder. Setting a folder that does not exist (any more)
    // takes the nearest one above it that does.
    QString Path() const { return m_path; }
    void set_Path(const QString &path);

    // Reads the current folder's subfolders again.
    void Refresh();

    // The folder an entry stands for.
    static QString entry_path(const QListWidgetItem *item);
    // The entry of a folder, or null when it is not listed.
    QListWidgetItem *entry(const QString &path) const;

signals:
    // The current folder changed.
    void Change();

protected:
    // One click opens a folder; a double click must not open a second one
    // from the list the first click has just rebuilt.
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void add_entry(const QString &path, const QString &text, int depth, bool open);

    QString m_path;
};
