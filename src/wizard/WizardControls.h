#pragma once

#include <QStringList>

class QComboBox;
class QWidget;

// An editable combo box whose typed text is never added to its list. It is
// editable from the start, so that its edit box stands in the keyboard's
// order where the combo box was made.
QComboBox *make_editable_combo(
    QWidget *parent, const char *name, const QStringList &items = {}, const QString &text = {});
