#include "WizardGrid.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

// Where a data cell keeps its kind.
constexpr int kKindRole = Qt::UserRole + 1;

const QString kTrue = QStringLiteral("True");
const QString kFalse = QStringLiteral("False");

// The editor's cell and the text it opened with, kept on the editor.
const char *const kRowProperty = "gridRow";
const char *const kColumnProperty = "gridColumn";
const char *const kChosenProperty = "gridChosen";

// The keys that open a drop-down cell's list: F4, and Alt with an arrow.
bool opens_list(const QKeyEvent &key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (key.key() == Qt::Key_F4)
        return modifiers == Qt::NoModifier;
    return (key.key() == Qt::Key_Down || key.key() == Qt::Key_Up) && modifiers == Qt::AltModifier;
}

// Whether a key pressed in an open editor moves to another cell: the arrow
// keys, except that left and right (and Home and End) move the caret where
// text is typed.
bool moves_between_cells(const QKeyEvent &key, const QComboBox *combo)
{
    if ((key.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) != Qt::NoModifier)
        return false;
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        return combo && !combo->isEditable();
    default:
        return false;
    }
}

// A key that types a character, with nothing but Shift held.
bool types_text(const QKeyEvent &key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    return modifiers == Qt::NoModifier && !key.text().isEmpty() && key.text().at(0).isPrint();
}

} // namespace

// Opens a line box or the shared list on the cells that offer one, writes
// back what the user changed, and tells the grid when editing starts and
// ends.
class WizardGrid::Delegate final : public QStyledItemDelegate
{
public:
    explicit Delegate(WizardGrid &grid)
        : QStyledItemDelegate(&grid)
        , m_grid(grid)
    {
        connect(this, &QAbstractItemDelegate::closeEditor, &grid, [this](QWidget *editor) { closed(editor); });
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        const int kind = index.data(kKindRole).toInt();
        if (kind != DropDown && kind != Text)
            return nullptr;
        const int row = index.row() + 1;
        emit m_grid.CellEntered(row, index.column());
        QWidget *editor = nullptr;
        if (kind == DropDown) {
            auto *combo = new QComboBox(parent);
            combo->addItems(m_grid.m_items);
            combo->setEditable(m_grid.m_typing);
            combo->setInsertPolicy(QComboBox::NoInsert);
            // A typed name is taken as typed, not completed to an entry.
            if (combo->isEditable())
                combo->setCompleter(nullptr);
            // Only what the user picks in the open list or types replaces the
            // cell's text; a pick ends the editing at once.
            auto *self = const_cast<Delegate *>(this);
            connect(combo, &QComboBox::activated, self, [self, combo] {
                combo->setProperty(kChosenProperty, true);
                self->leave(combo);
            });
            if (combo->lineEdit()) {
                connect(combo->lineEdit(), &QLineEdit::textEdited, combo,
                    [combo] { combo->setProperty(kChosenProperty, true); });
            }
            m_open_list = combo;
            editor = combo;
        } else {
            editor = new QLineEdit(parent);
        }
        m_open_editor = editor;
        editor->setObjectName(QStringLiteral("editor"));
        editor->setProperty(kRowProperty, row);
        editor->setProperty(kColumnProperty, index.column());
        return editor;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        const QString text = index.data(Qt::EditRole).toString();
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            const int listed = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
            const int choice = m_grid.m_choice;
            combo->setCurrentIndex(listed >= 0 ? listed : (choice >= 0 && choice < combo->count() ? choice : -1));
            if (listed < 0 && combo->isEditable())
                combo->setEditText(text);
            // The placeholder is not typed on: what the user types replaces
            // it, and a second click of a double click finds no word in it.
            if (QLineEdit *line = combo->lineEdit()) {
                line->setPlaceholderText(m_grid.m_placeholder);
                if (!text.isEmpty() && text == m_grid.m_placeholder)
                    line->clear();
            }
            combo->setProperty(kChosenProperty, false);
        } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
            line->setText(text);
        }
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            // Entering a cell whose text is not listed and leaving it leaves
            // the text as it is.
            if (combo->property(kChosenProperty).toBool())
                model->setData(index, combo->currentText(), Qt::EditRole);
        } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
            model->setData(index, line->text(), Qt::EditRole);
        }
    }

    QComboBox *open_list() const { return m_open_list; }
    // Whether a cell's editor is open.
    bool editing() const { return m_open_editor && m_open_editor->isVisible(); }

    // Ends the editing of `editor` as leaving the cell does.
    void leave(QWidget *editor)
    {
        emit commitData(editor);
        emit closeEditor(editor);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *editor = qobject_cast<QWidget *>(watched);
        auto *combo = qobject_cast<QComboBox *>(watched);
        if (editor && event->type() == QEvent::KeyPress && !(combo && combo->view()->isVisible())) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (moves_between_cells(*key, combo)) {
                // The arrow keys go to the grid: the cell is left as it is
                // and the next one becomes current.
                QKeyEvent move(QEvent::KeyPress, key->key(), key->modifiers());
                leave(editor);
                QCoreApplication::sendEvent(m_grid.m_table, &move);
                return true;
            }
            // A closed list changes its choice by nothing but a pick.
            if (combo && !combo->isEditable() && !opens_list(*key) && key->key() != Qt::Key_Escape
                && key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter && key->key() != Qt::Key_Tab
                && key->key() != Qt::Key_Backtab)
                return true;
        } else if (combo && event->type() == QEvent::Wheel) {
            return true;
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        // No focus rectangle in the cells.
        option->state &= ~QStyle::State_HasFocus;
    }

private:
    void closed(QWidget *editor)
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            m_grid.m_choice = combo->currentIndex();
            m_open_list = nullptr;
        }
        m_open_editor = nullptr;
        emit m_grid.CellLeft(editor->property(kRowProperty).toInt(), editor->property(kColumnProperty).toInt());
    }

    WizardGrid &m_grid;
    mutable QPointer<QComboBox> m_open_list;
    mutable QPointer<QWidget> m_open_editor;
};

const QColor WizardGrid::kHeaderText(255, 255, 255);
const QColor WizardGrid::kHeaderBack(55, 135, 208);
const QColor WizardGrid::kDataText(0, 0, 0);
const QColor WizardGrid::kDataBack(255, 255, 255);

WizardGrid::WizardGrid(QWidget *parent)
    : QWidget(parent)
    , m_table(new QTableWidget(this))
    , m_delegate(new Delegate(*this))
{
    m_table->setObjectName(QStringLiteral("cells"));
    m_table->setItemDelegate(m_delegate);
    // The keyboard moves between cells without opening them; a click on a
    // cell opens its editor (see below), F2 too, and the grid's own keys
    // open a list or start typing.
    m_table->setEditTriggers(
        QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setShowGrid(true);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setVisible(false);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Rows as high as a cell's editor: the grid's room holds as many rows
    // as it can.
    m_table->verticalHeader()->setMinimumSectionSize(0);
    m_table->verticalHeader()->setDefaultSectionSize(
        std::max(QLineEdit().sizeHint().height(), QComboBox().sizeHint().height()) + (m_table->showGrid() ? 1 : 0));
    // Columns keep the widths the pages give them, widened where a text
    // needs more.
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->horizontalHeader()->setSectionsClickable(false);
    // The area without cells shows the system's button-shadow colour.
    m_table->viewport()->setBackgroundRole(QPalette::Dark);
    setFocusProxy(m_table);

    m_table->viewport()->setMouseTracking(true);
    m_table->horizontalHeader()->setMouseTracking(true);
    for (QObject *part : { static_cast<QObject *>(m_table), static_cast<QObject *>(m_table->viewport()),
             static_cast<QObject *>(m_table->horizontalHeader()) })
        part->installEventFilter(this);

    // A text that changes may need a wider column: fitted once the changes
    // of a turn of the event loop are in, as a page fills its rows cell by
    // cell.
    m_fit_later.setSingleShot(true);
    m_fit_later.setInterval(0);
    connect(&m_fit_later, &QTimer::timeout, this, [this] {
        for (const int column : std::exchange(m_unfitted, {}))
            fit_column(column);
    });
    connect(m_table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        m_unfitted.insert(item->column());
        m_fit_later.start();
    });

    // A click that makes a cell current opens it, as the cell a person
    // points at is the one they mean to change.
    connect(m_table, &QTableWidget::clicked, this, [this](const QModelIndex &index) {
        const int kind = index.data(kKindRole).toInt();
        if (index != m_pressed_current && (kind == DropDown || kind == Text) && !m_delegate->editing())
            m_table->edit(index);
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table);

    set_Cols(2);
    set_Rows(1);
}

WizardGrid::~WizardGrid() = default;

bool WizardGrid::eventFilter(QObject *watched, QEvent *event)
{
    // The pointer over any part of the grid, and the focus reaching its
    // cells, are the grid's own.
    if (event->type() == QEvent::MouseMove && watched != m_table) {
        const auto *move = static_cast<QMouseEvent *>(event);
        const auto *part = static_cast<QWidget *>(watched);
        QMouseEvent own(QEvent::MouseMove, mapFromGlobal(part->mapToGlobal(move->position())), move->globalPosition(),
            move->button(), move->buttons(), move->modifiers());
        QCoreApplication::sendEvent(this, &own);
    } else if (event->type() == QEvent::FocusIn && watched == m_table) {
        QFocusEvent own(QEvent::FocusIn, static_cast<QFocusEvent *>(event)->reason());
        QCoreApplication::sendEvent(this, &own);
    } else if (event->type() == QEvent::Resize && watched == m_table->viewport()) {
        spread_columns();
    } else if (event->type() == QEvent::MouseButtonPress && watched == m_table->viewport()) {
        m_pressed_current = m_table->currentIndex();
    } else if (event->type() == QEvent::KeyPress && watched == m_table && !m_delegate->editing()) {
        return cell_key(*static_cast<QKeyEvent *>(event));
    }
    return QWidget::eventFilter(watched, event);
}

bool WizardGrid::cell_key(const QKeyEvent &key)
{
    const QModelIndex index = m_table->currentIndex();
    const int kind = index.data(kKindRole).toInt();
    if (!index.isValid() || (kind != DropDown && kind != Text))
        return false;
    if (kind == DropDown && opens_list(key)) {
        m_table->edit(index);
        if (QComboBox *open = m_delegate->open_list())
            open->showPopup();
        return true;
    }
    // A list's choice is not typed: the key neither changes nor moves.
    if (kind == DropDown && !m_typing && types_text(key))
        return true;
    // Where names are typed, the first key starts the typing and the text
    // typed replaces the cell's.
    if ((kind == Text || m_typing) && types_text(key)) {
        m_table->edit(index);
        QWidget *editor = m_table->indexWidget(index);
        auto *line = qobject_cast<QLineEdit *>(editor);
        if (auto *combo = qobject_cast<QComboBox *>(editor))
            line = combo->lineEdit();
        if (!line)
            return false;
        line->clear();
        QKeyEvent typed(QEvent::KeyPress, key.key(), key.modifiers(), key.text());
        QCoreApplication::sendEvent(line, &typed);
        return true;
    }
    return false;
}

int WizardGrid::Cols() const
{
    return m_table->columnCount();
}

void WizardGrid::set_Cols(int count)
{
    if (count < 0)
        return;
    const int before = m_table->columnCount();
    m_table->setColumnCount(count);
    for (int column = before; column < count; ++column) {
        header(column);
        for (int row = 1; row < Rows(); ++row)
            cell(row, column);
    }
    spread_columns();
}

int WizardGrid::Rows() const
{
    return m_table->rowCount() + 1;
}

void WizardGrid::set_Rows(int count)
{
    if (count < 1)
        return;
    const int before = Rows();
    m_table->setRowCount(count - 1);
    for (int row = before; row < count; ++row) {
        for (int column = 0; column < Cols(); ++column)
            cell(row, column);
    }
}

int WizardGrid::ColWidth(int column) const
{
    return m_table->columnWidth(column);
}

void WizardGrid::set_ColWidth(int column, int width)
{
    if (column < 0 || column >= Cols())
        return;
    if (m_widths.size() <= column)
        m_widths.resize(column + 1);
    m_widths[column] = width;
    fit_column(column);
}

void WizardGrid::fit_column(int column)
{
    if (column < 0 || column >= Cols())
        return;
    // The width the page gives, or more where a cell's or the header's text
    // needs it to show whole.
    const int given
        = column < m_widths.size() ? m_widths.at(column) : m_table->horizontalHeader()->defaultSectionSize();
    int needed = m_table->horizontalHeader()->sectionSizeHint(column);
    QStyleOptionViewItem option;
    option.initFrom(m_table);
    option.widget = m_table;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        // A cell also gives a pixel to the grid line on its right.
        const int cell = m_delegate->sizeHint(option, m_table->model()->index(row, column)).width();
        needed = std::max(needed, cell + (m_table->showGrid() ? 1 : 0));
    }
    if (m_natural.size() <= column)
        m_natural.resize(column + 1, 0);
    m_natural[column] = std::max(given, needed);
    spread_columns();
}

void WizardGrid::spread_columns()
{
    const int count = Cols();
    QList<int> widths;
    int total = 0;
    for (int column = 0; column < count; ++column) {
        const int natural = column < m_natural.size() && m_natural.at(column) > 0
            ? m_natural.at(column)
            : m_table->horizontalHeader()->defaultSectionSize();
        widths << natural;
        total += natural;
    }
    // The room beyond what the columns need is shared in proportion to
    // their widths, the last column taking what rounding leaves.
    const int extra = std::max(0, m_table->viewport()->width() - total);
    int left = extra;
    for (int column = 0; column < count; ++column) {
        const int share = column + 1 < count ? extra * widths.at(column) / std::max(total, 1) : left;
        left -= share;
        m_table->setColumnWidth(column, widths.at(column) + share);
    }
}

void WizardGrid::set_FixedCols(int count)
{
    m_table->verticalHeader()->setVisible(count > 0);
}

QTableWidgetItem *WizardGrid::header(int column) const
{
    QTableWidgetItem *item = m_table->horizontalHeaderItem(column);
    if (!item) {
        item = new QTableWidgetItem;
        m_table->setHorizontalHeaderItem(column, item);
    }
    return item;
}

QTableWidgetItem *WizardGrid::cell(int row, int column) const
{
    QTableWidgetItem *item = m_table->item(row - 1, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setData(kKindRole, Plain);
        apply_kind(item, Plain);
        m_table->setItem(row - 1, column, item);
    }
    return item;
}

QString WizardGrid::CellText(int row, int column) const
{
    if (row < 0 || row >= Rows() || column < 0 || column >= Cols())
        return QString();
    if (row == 0)
        return header(column)->text();
    const QTableWidgetItem *item = cell(row, column);
    if (item->data(kKindRole).toInt() == CheckBox)
        return item->checkState() == Qt::Checked ? kTrue : kFalse;
    return item->text();
}

void WizardGrid::set_CellText(int row, int column, const QString &text)
{
    if (row < 0 || row >= Rows() || column < 0 || column >= Cols())
        return;
    if (row == 0) {
        header(column)->setText(text);
        fit_column(column);
        return;
    }
    QTableWidgetItem *item = cell(row, column);
    if (item->data(kKindRole).toInt() == CheckBox)
        item->setCheckState(text.compare(kTrue, Qt::CaseInsensitive) == 0 ? Qt::Checked : Qt::Unchecked);
    else
        item->setText(text);
}

void WizardGrid::set_CellForeColor(int row, int column, const QColor &color)
{
    if (row < 0 || row >= Rows() || column < 0 || column >= Cols())
        return;
    (row == 0 ? header(column) : cell(row, column))->setForeground(color);
}

void WizardGrid::set_CellBackColor(int row, int column, const QColor &color)
{
    if (row < 0 || row >= Rows() || column < 0 || column >= Cols())
        return;
    (row == 0 ? header(column) : cell(row, column))->setBackground(color);
}

void WizardGrid::set_CellBold(int row, int column, bool bold)
{
    if (row < 0 || row >= Rows() || column < 0 || column >= Cols())
        return;
    QTableWidgetItem *item = row == 0 ? header(column) : cell(row, column);
    QFont font = item->font();
    font.setBold(bold);
    item->setFont(font);
    if (row == 0)
        fit_column(column);
}

int WizardGrid::CellKind(int row, int column) const
{
    if (row < 1 || row >= Rows() || column < 0 || column >= Cols())
        return Plain;
    return cell(row, column)->data(kKindRole).toInt();
}

void WizardGrid::set_CellKind(int row, int column, int kind)
{
    // The header row offers no editing whatever it is given.
    if (row < 1 || row >= Rows() || column < 0 || column >= Cols())
        return;
    if (kind != Plain && kind != CheckBox && kind != Text && kind != DropDown)
        return;
    QTableWidgetItem *item = cell(row, column);
    const QString text = CellText(row, column);
    const int before = item->data(kKindRole).toInt();
    item->setData(kKindRole, kind);
    apply_kind(item, kind);
    // A check box shows its word as its state, and gives it back as text.
    if (kind == CheckBox && before != CheckBox) {
        item->setText(QString());
        item->setCheckState(text.compare(kTrue, Qt::CaseInsensitive) == 0 ? Qt::Checked : Qt::Unchecked);
    } else if (kind != CheckBox && before == CheckBox) {
        item->setData(Qt::CheckStateRole, QVariant());
        item->setText(text);
    }
}

void WizardGrid::apply_kind(QTableWidgetItem *item, int kind) const
{
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (kind == CheckBox)
        flags |= Qt::ItemIsUserCheckable;
    else if (kind == Text || kind == DropDown)
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
}

void WizardGrid::ComboClear()
{
    m_items.clear();
    m_choice = -1;
}

void WizardGrid::ComboAddItem(const QString &text)
{
    m_items << text;
}

int WizardGrid::ComboIndex() const
{
    if (const QComboBox *open = m_delegate->open_list())
        return open->currentIndex();
    return m_choice;
}

void WizardGrid::set_ComboIndex(int index)
{
    m_choice = index;
    if (QComboBox *open = m_delegate->open_list())
        open->setCurrentIndex(index);
}

void WizardGrid::set_ComboTyping(bool typing)
{
    m_typing = typing;
}

void WizardGrid::set_ComboPlaceholder(const QString &text)
{
    m_placeholder = text;
}

void WizardGrid::set_CurrentCell(int row, int column)
{
    if (row < 1 || row >= Rows() || column < 0 || column >= Cols())
        return;
    m_table->setCurrentCell(row - 1, column);
}
