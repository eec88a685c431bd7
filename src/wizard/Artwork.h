#pragma once

#include <QPixmap>

// The product's picture: a web form with a check mark, `size` pixels square.
QPixmap tressel_logo(int size);

// The message box's pictures: 1 question, 2 exclamation, 3 information.
QPixmap message_icon(int icon);
