#include "CommonDialog.h"

#include "FontChooser.h"

#include <QFileDialog>

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

} // namespace

void CommonDialog::script(Answer answer)
{
    answers().push_back(std::move(answer));
}

void CommonDialog::clear_script()
{
    answers().clear();
    asked_kinds().clear();
}

const std::deque<CommonDialog::Kind> &CommonDialog::asked()
{
    return asked_kinds();
}

CommonDialog::CommonDialog(QWidget *owner)
    : m_owner(owner)
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
            m_file = answer.file;
        }
    }
    return true;
}

void CommonDialog::ShowOpen()
{
    if (take_script(Kind::Open))
        return;
    const QString file = QFileDialog::getOpenFileName(m_owner, QString(), m_file, qt_filter(m_filter));
    if (!file.isEmpty())
        m_file = file;
}

bool CommonDialog::ShowSave()
{
    bool accepted = false;
    if (take_script(Kind::Save, &accepted))
        return accepted;
    const QFileDialog::Options options = (m_flags & 2) ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    const QString file
        = QFileDialog::getSaveFileName(m_owner, QString(), m_file, qt_filter(m_filter), nullptr, options);
    if (file.isEmpty())
        return false;
    m_file = file;
    return true;
}

void CommonDialog::ShowFont()
{
    if (take_script(Kind::Font))
        return;
    FontChooser chooser(m_owner);
    chooser.set_sizes(m_min_size, m_max_size);
    chooser.set_choice(m_font, m_color);
    if (chooser.exec() == QDialog::Accepted) {
        m_font = chooser.font_choice();
        m_color = chooser.color_choice();
    }
}
