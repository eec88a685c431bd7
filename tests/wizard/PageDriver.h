#pragma once

#include "wizard/CommonDialog.h"
#include "wizard/Startup.h"
#include "wizard/WizardFrame.h"
#include "wizard/WizardGrid.h"
#include "wizard/frmStart.h"

#include "model/globals.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

// Works the wizard's pages as a person would, and reads them as a person
// sees them.
namespace drive {

// Chooses `text` from a list as a click on it does: the box shows it, also
// when it was the list's current entry.
inline void choose(QComboBox *list, const QString &text)
{
    const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    ASSERT_GE(index, 0) << text.toStdString() << " is not listed";
    list->setCurrentIndex(index);
    if (list->isEditable())
        list->setEditText(text);
    emit list->activated(index);
}

// Replaces the text of a line box as typing does, any letter as a key.
inline void retype(QLineEdit *line, const QString &text)
{
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Backspace);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// A control as it shows: "name=text" for boxes and lists, "name+" or
// "name-" for ticks and choices, a list's selection as "name chose a, b";
// any other control by its name alone.
inline QString shown(const QWidget *control)
{
    const QString name = control->objectName();
    if (const auto *box = qobject_cast<const QAbstractButton *>(control))
        return name + (box->isChecked() ? "+" : "-");
    if (const auto *line = qobject_cast<const QLineEdit *>(control))
        return name + '=' + line->text();
    if (const auto *combo = qobject_cast<const QComboBox *>(control)) {
        // A list of fixed choices shows its placeholder until one is chosen.
        const bool none = !combo->isEditable() && combo->currentIndex() < 0;
        return name + '=' + (none ? combo->placeholderText() : combo->currentText());
    }
    if (const auto *text = qobject_cast<const QPlainTextEdit *>(control))
        return name + '=' + text->toPlainText();
    if (const auto *list = qobject_cast<const QListWidget *>(control)) {
        QStringList chosen;
        for (const QListWidgetItem *item : list->selectedItems())
            chosen << item->text();
        return name + " chose " + chosen.join(", ");
    }
    return name;
}

// A new run of the program with `command_line`, its introduction seen.
inline void restart(const QString &command_line)
{
    WizardFrame::instance().reset();
    globals::reset();
    CommonDialog::clear_script();
    frmStart::is_shown = true;
    register_pages();
    start_wizard(command_line);
}

} // namespace drive

// Works a page's grid: clicks a cell, chooses from its list or types into
// it, and leaves it with Enter.
struct GridDriver
{
    WizardGrid *grid;

    QTableWidget *cells() const { return grid->findChild<QTableWidget *>(QStringLiteral("cells")); }

    // The cell's centre, scrolled into view.
    QPoint centre(int row, int column) const
    {
        QTableWidgetItem *item = cells()->item(row - 1, column);
        cells()->scrollToItem(item);
        return cells()->visualItemRect(item).center();
    }

    // Clicks the cell; its editor, if it has one. A click on the cell already
    // current opens it only after the double-click time; a double click does
    // at once.
    QWidget *enter(int row, int column) const
    {
        const bool current = cells()->currentRow() == row - 1 && cells()->currentColumn() == column;
        const QPoint at = centre(row, column);
        if (current && grid->CellKind(row, column) != WizardGrid::CheckBox)
            QTest::mouseDClick(cells()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        else
            QTest::mouseClick(cells()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        for (QWidget *editor : cells()->viewport()->findChildren<QWidget *>(QStringLiteral("editor"))) {
            if (editor->isVisible())
                return editor;
        }
        return nullptr;
    }

    // Chooses `text` in a drop-down cell, or types it where the list takes
    // typing or in a text cell.
    void set(int row, int column, const QString &text) const
    {
        QWidget *editor = enter(row, column);
        ASSERT_TRUE(editor) << "no editor in " << row << "," << column;
        auto *list = qobject_cast<QComboBox *>(editor);
        if (list && !list->isEditable())
            drive::choose(list, text);
        else if (auto *line = list ? list->lineEdit() : qobject_cast<QLineEdit *>(editor))
            drive::retype(line, text);
        // A pick in a list ends the editing by itself.
        if (editor->isVisible())
            QTest::keyClick(editor, Qt::Key_Return);
        // The view writes the cell and closes the editor once events run.
        QCoreApplication::processEvents();
    }

    // Turns a check box cell to `checked` with the Space key.
    void tick(int row, int column, bool checked) const
    {
        enter(row, column);
        if ((grid->CellText(row, column) == QLatin1String("True")) != checked)
            QTest::keyClick(cells(), Qt::Key_Space);
    }

    // The texts of a column's data rows.
    QStringList column(int column) const
    {
        QStringList texts;
        for (int row = 1; row < grid->Rows(); ++row)
            texts << grid->CellText(row, column);
        return texts;
    }
};
