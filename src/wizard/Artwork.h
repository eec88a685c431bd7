#pragma once

#include <QPixmap>

class QLabel;
class QWidget;

// The product's picture: a web form with a check mark, `size` pixels square.
QPixmap tressel_logo(int size);

// The message box's pictures: 1 question, 2 exclamation, 3 information.
QPixmap message_icon(int icon);

// The product's picture ("Image1") and its name in large type ("Label2"), as
// the introduction page and the About box show them.
QLabel *logo_label(QWidget *parent, int size);
QLabel *product_name_label(QWidget *parent);
