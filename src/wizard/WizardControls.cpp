#include "WizardControls.h"

#include "named.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// While the box shows a text that is none of its entries (a prompt, or a
// name typed), the entry Qt keeps current behind it is no place to step
// from: Down goes to the first entry and Up to the last, as on any desktop.
class FromTypedText final : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *combo = static_cast<QComboBox *>(watched);
        if (event->type() != QEvent::KeyPress || combo->count() == 0)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Down && key->key() != Qt::Key_Up) || key->modifiers() != Qt::NoModifier
            || combo->findText(combo->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0)
            return false;
        const int index = key->key() == Qt::Key_Down ? 0 : combo->count() - 1;
        // Setting the index the box already has would leave its text.
        combo->setCurrentIndex(-1);
        combo->setCurrentIndex(index);
        return true;
    }
};

} // namespace

QComboBox *make_editable_combo(QWidget *parent, const char *name, const QStringList &items, const QString &text)
{
    auto *combo = named(new QComboBox(parent), name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    combo->setEditText(text);
    combo->installEventFilter(new FromTypedText(combo));
    return combo;
}

QComboBox *make_choice_combo(QWidget *parent, const char *name, const QStringList &items, const QString &placeholder)
{
    auto *combo = named(new QComboBox(parent), name);
    combo->addItems(items);
    combo->setPlaceholderText(placeholder);
    combo->setCurrentIndex(-1);
    return combo;
}

void show_choice(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        combo->setCurrentIndex(index);
}
