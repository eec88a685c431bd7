#include "DirListBox.h"

#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;
constexpr int kIndent = 14; // pixels per level

// Draws each entry one step further in per level below the root.
class IndentDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(indent(index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
    }

private:
    static int indent(const QModelIndex &index) { return index.data(kDepthRole).toInt() * kIndent; }
};

QString clean_absolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path.isEmpty() ? QDir::currentPath() : path).absoluteFilePath());
}

} // namespace

DirListBox::DirListBox(const QString &path, QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new IndentDelegate(this));
    set_Path(path);
}

void DirListBox::set_Path(const QString &path)
{
    QString folder = clean_absolute(path);
    while (!QFileInfo(folder).isDir() && !QDir(folder).isRoot())
        folder = QFileInfo(folder).absolutePath();
    if (folder == m_path)
        return;
    m_path = folder;
    Refresh();
    emit Change();
}

void DirListBox::Refresh()
{
    clear();
    // The way down from the root, the current folder last.
    QStringList chain;
    for (QDir dir(m_path);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    int depth = 0;
    for (const QString &folder : std::as_const(chain)) {
        const QString name = QDir(folder).isRoot() ? folder : QFileInfo(folder).fileName();
        add_entry(folder, name, depth++, true);
    }
    QListWidgetItem *current = item(count() - 1);
    QFont bold = current->font();
    bold.setBold(true);
    current->setFont(bold);
    setCurrentItem(current);

    const QDir dir(m_path);
    const QStringList subfolders
        = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QString &name : subfolders)
        add_entry(dir.filePath(name), name, depth, false);
}

QString DirListBox::entry_path(const QListWidgetItem *item)
{
    return item ? item->data(kPathRole).toString() : QString();
}

QListWidgetItem *DirListBox::entry(const QString &path) const
{
    const QString wanted = clean_absolute(path);
    for (int i = 0; i < count(); ++i) {
        if (entry_path(item(i)) == wanted)
            return item(i);
    }
    return nullptr;
}

void DirListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

void DirListBox::add_entry(const QString &path, const QString &text, int depth, bool open)
{
    auto *entry
        = new QListWidgetItem(style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirIcon), text, this);
    entry->setData(kPathRole, path);
    entry->setData(kDepthRole, depth);
    entry->setToolTip(path);
}
