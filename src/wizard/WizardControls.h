#pragma once

#include <QStringList>

class QComboBox;
class QWidget;

// An editable combo box whose typed text is never added to its list. It is
// editable from the start, so that its edit box stands in the keyboard's
// order where the combo box was made.
QComboBox *make_editable_combo(
    QWidget *parent, const char *name, const QStringList &items = {}, const QString &text = {});

// A combo box of fixed choices that takes no typed text. Until an entry is
// chosen it shows `placeholder`.
QComboBox *make_choice_combo(
    QWidget *parent, const char *name, const QStringList &items = {}, const QString &placeholder = {});

// Shows the entry reading `text` as the choice; a text that is no entry
// leaves the box as it was.
void show_choice(QComboBox *combo, const QString &text);
