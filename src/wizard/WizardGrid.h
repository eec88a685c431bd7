#pragma once

#include <QColor>
#include <QPersistentModelIndex>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QWidget>

class QKeyEvent;
class QTableWidget;
class QTableWidgetItem;

// The grid of the MySQL and new-table pages: rows and columns of cells, each
// with its text, colours, boldness and kind (plain, check box, text, or a
// drop-down list that all drop-down cells share). Row 0 is the fixed header
// row; data rows count from 1. The grid tells when the user starts and ends
// editing a cell, and passes the pointer moving over its cells and its
// getting the focus on as its own, so a page can explain it as one control.
class WizardGrid final : public QWidget
{
    Q_OBJECT

public:
    // What a cell offers for editing.
    enum CellKind { Plain = 0, CheckBox = 1, Text = 3, DropDown = 4 };

    // The pages' cell colours: white on blue in the header row, black on
    // white in the data rows.
    static const QColor kHeaderText;
    static const QColor kHeaderBack;
    static const QColor kDataText;
    static const QColor kDataBack;

    explicit WizardGrid(QWidget *parent = nullptr);
    ~WizardGrid() override;

    int Cols() const;
    void set_Cols(int count);
    // The rows, the fixed header row included.
    int Rows() const;
    void set_Rows(int count);
    // In pixels. A column is never narrower than its texts need to show
    // whole: it widens when a text grows. The columns share the room the
    // grid has beyond their widths.
    int ColWidth(int column) const;
    void set_ColWidth(int column, int width);
    // The number of fixed columns left of the data, shown as a row header;
    // 0 shows none.
    void set_FixedCols(int count);

    // A check box cell reads and takes the words True and False.
    QString CellText(int row, int column) const;
    void set_CellText(int row, int column, const QString &text);
    void set_CellForeColor(int row, int column, const QColor &color);
    void set_CellBackColor(int row, int column, const QColor &color);
    void set_CellBold(int row, int column, bool bold);
    int CellKind(int row, int column) const;
    void set_CellKind(int row, int column, int kind);

    // The one list of every drop-down cell.
    void ComboClear();
    void ComboAddItem(const QString &text);
    QStringList ComboItems() const { return m_items; }
    // The drop-down choice: the open list's, or the last one made. Set when
    // a cell is entered, it is the choice an opening list starts from when
    // the cell's text is not in the list.
    int ComboIndex() const;
    void set_ComboIndex(int index);
    // Whether a drop-down cell also takes a typed text.
    bool ComboTyping() const { return m_typing; }
    void set_ComboTyping(bool typing);
    // The text a drop-down cell shows while it holds no name. It is no part
    // of a name: where names are typed, such a cell opens empty, showing the
    // text greyed, however the editing starts.
    QString ComboPlaceholder() const { return m_placeholder; }
    void set_ComboPlaceholder(const QString &text);

    // Makes a data cell the current one, as the keyboard leaves it.
    void set_CurrentCell(int row, int column);

signals:
    // The user starts editing a cell: its editor is about to open.
    void CellEntered(int row, int column);
    // The user has finished editing a cell (whether or not it changed).
    void CellLeft(int row, int column);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class Delegate;
    friend class Delegate;

    // A key on a cell that no editor has open: F4 or Alt with an arrow opens
    // a drop-down list; a typed character starts typing where names are
    // typed. True when the key was used.
    bool cell_key(const QKeyEvent &key);
    // Gives the column the width set for it, or what its texts need.
    void fit_column(int column);
    // The columns fill the grid's width, each as wide as it needs at least.
    void spread_columns();
    QTableWidgetItem *header(int column) const;
    // The data cell of a grid row from 1; created when missing.
    QTableWidgetItem *cell(int row, int column) const;
    void apply_kind(QTableWidgetItem *item, int kind) const;

    QTableWidget *m_table;
    Delegate *m_delegate;
    QStringList m_items;
    // The width the page gave each column.
    QList<int> m_widths;
    // The width each column needs: its width given, or more for its texts.
    QList<int> m_natural;
    // Columns whose texts changed since they were last fitted.
    QSet<int> m_unfitted;
    QTimer m_fit_later;
    int m_choice = -1;
    bool m_typing = false;
    QString m_placeholder;
    // The current cell when the mouse button went down on the cells.
    QPersistentModelIndex m_pressed_current;
};
