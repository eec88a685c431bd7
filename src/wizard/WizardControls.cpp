#include "WizardControls.h"

#include "named.h"

#include <QComboBox>

QComboBox *make_editable_combo(QWidget *parent, const char *name, const QStringList &items, const QString &text)
{
    auto *combo = named(new QComboBox(parent), name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    combo->setEditText(text);
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
