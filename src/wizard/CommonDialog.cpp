#include "CommonDialog.h"

#include "FontChooser.h"
#include "ScreenPlace.h"
#include "gui_globals.h"

#include <QFileDialog>
#include <QFileInfo>

#include <array>

namespace {

std::deque<CommonDialog::Answer> &answers()
{
    static std::deque<CommonDialog::Answer> queue;
    return queue;
}

std::deque<CommonDialog::Kind> &asked_kinds()
{
    static std::deque<CommonDialog::Kind> kinds;
    return kinds;
}

QString &started_in()
{
    static QString folder;
    return folder;
}

QString &started_at()
{
    static QString path;
    return path;
}

// The folder where a file of each kind was last chosen.
QString &used_folder(CommonDialog::Files files)
{
    static std::array<QString, 3> folders;
    return folders.at(static_cast<std::size_t>(files));
}

} // namespace

void CommonDialog::script(Answer answer)
{
    answers().push_back(std::move(answer));
}

void CommonDialog::clear_script()
{
    answers().clear();
    asked_kinds().clear();
    started_in().clear();
    started_at().clear();
    // A test's run starts as a new run does, with no folder used.
    for (const auto files : { Files::Pages, Files::Projects, Files::Reports })
        used_folder(files).clear();
}

const std::deque<CommonDialog::Kind> &CommonDialog::asked()
{
    return asked_kinds();
}

const QString &CommonDialog::last_folder()
{
    return started_in();
}

const QString &CommonDialog::last_start()
{
    return started_at();
}

QString CommonDialog::start_path() const
{
    const QString &used = used_folder(m_files);
    if (used.isEmpty())
        return m_file.isEmpty() ? globals::page_folder() : m_file;
    return !m_file.isEmpty() && QFileInfo(m_file).absolutePath() == used ? m_file : used;
}

void CommonDialog::take_file(const QString &file)
{
    m_file = file;
    if (!file.isEmpty())
        used_folder(m_files) = QFileInfo(file).absolutePath();
}

QWidget *CommonDialog::parent_window() const
{
    // A dialog opens over the window it is asked from: its owner, or, while
    // that is hidden (the output page's Save as asked for by the exit
    // question of another page), the window the person works in.
    if (m_owner && m_owner->window()->isVisible())
        return m_owner;
    return working_window();
}

CommonDialog::CommonDialog(QWidget *owner, Files files)
    : m_owner(owner)
    , m_files(files)
{ }

QString CommonDialog::qt_filter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList choices;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        patterns.removeDuplicates();
        choices << parts.at(i) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return choices.join(QStringLiteral(";;"));
}

bool CommonDialog::take_script(Kind kind, bool *accepted)
{
    asked_kinds().push_back(kind);
    if (kind != Kind::Font) {
        started_at() = start_path();
        const QFileInfo start(started_at());
        started_in() = started_at() == m_file ? start.absolutePath() : start.filePath();
    }
    if (answers().empty())
        return false;
    const Answer answer = answers().front();
    answers().pop_front();
    if (accepted)
        *accepted = answer.accepted;
    if (answer.accepted) {
        if (kind == Kind::Font) {
            m_font = answer.font;
            m_color = answer.color;
        } else {
            take_file(kind == Kind::Save ? with_default_ext(answer.file) : answer.file);
        }
    }
    return true;
}

bool CommonDialog::ShowOpen()
{
    bool accepted = false;
    if (take_script(Kind::Open, &accepted))
        return accepted;
    const QString file = QFileDialog::getOpenFileName(parent_window(), QString(), start_path(), qt_filter(m_filter));
    if (file.isEmpty())
        return false;
    take_file(file);
    return true;
}

QString CommonDialog::with_default_ext(const QString &name) const
{
    if (name.isEmpty() || m_default_ext.isEmpty() || !QFileInfo(name).suffix().isEmpty())
        return name;
    return name + QLatin1Char('.') + m_default_ext;
}

bool CommonDialog::ShowSave()
{
    bool accepted = false;
    if (take_script(Kind::Save, &accepted))
        return accepted;
    // The dialog adds the extension itself, so that its question about
    // replacing a file asks about the file that will be written.
    QFileDialog dialog(parent_window(), QString(), start_path(), qt_filter(m_filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(m_default_ext);
    if (!(m_flags & 2))
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    take_file(with_default_ext(dialog.selectedFiles().constFirst()));
    return true;
}

void CommonDialog::ShowFont()
{
    if (take_script(Kind::Font))
        return;
    FontChooser chooser(parent_window());
    chooser.set_sizes(m_min_size, m_max_size);
    chooser.set_choice(m_font, m_color);
    if (chooser.exec() == QDialog::Accepted) {
        m_font = chooser.font_choice();
        m_color = chooser.color_choice();
    }
}
