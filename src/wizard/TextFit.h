#pragma once

class QComboBox;
class QListWidget;
class QString;
class QWidget;

// Sizes taken from the texts a window shows, so that none is cut.

// A window at least as wide as its title bar needs to show the whole title
// beside the window manager's buttons.
void fit_title(QWidget *window);

// An editable combo box at least as wide as `text` needs to show whole.
void fit_edit_text(QComboBox *combo, const QString &text);

// The widest a list of typed names grows; wider names scroll.
constexpr int kMostEntriesWidth = 400;

// A list at least as wide as its widest entry, up to `most` pixels (0: no
// bound). Call again when the entries change.
void fit_entries(QListWidget *list, int most = kMostEntriesWidth);
