#include "TextFit.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QListWidget>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>

namespace {

// The window manager's buttons, the window icon and the title's margins.
constexpr int kTitleBarRoom = 130;

} // namespace

void fit_title(QWidget *window)
{
    // Title bars mostly use a bold face of the desktop's font.
    QFont title = QApplication::font();
    title.setBold(true);
    const int needed = QFontMetrics(title).horizontalAdvance(window->windowTitle()) + kTitleBarRoom;
    window->setMinimumWidth(std::max(window->minimumWidth(), needed));
}

void fit_edit_text(QComboBox *combo, const QString &text)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = true;
    // The edit box's own margins come on top of what the style adds.
    constexpr int kEditMargins = 8;
    const QSize content(combo->fontMetrics().horizontalAdvance(text) + kEditMargins, combo->fontMetrics().height());
    const int needed = combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, content, combo).width();
    combo->setMinimumWidth(std::max(combo->minimumWidth(), needed));
}

void fit_entries(QListWidget *list, int most)
{
    const int frame = 2 * list->frameWidth();
    const int scroll_bar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    int width = list->sizeHintForColumn(0) + frame + scroll_bar + 4;
    if (most > 0)
        width = std::min(width, most);
    list->setMinimumWidth(std::max(width, 0));
}
