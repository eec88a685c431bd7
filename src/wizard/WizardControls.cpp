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
