#pragma once

#include "wizard/WizardGrid.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

// Works a page's grid as a person would: clicks a cell, chooses from its
// list or types into it, and leaves it with Enter.
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

    QWidget *open_editor() const
    {
        for (QWidget *editor : cells()->viewport()->findChildren<QWidget *>(QStringLiteral("editor"))) {
            if (editor->isVisible())
                return editor;
        }
        return nullptr;
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
        return open_editor();
    }

    // Replaces the text of a line box as typing does.
    static void retype(QLineEdit *line, const QString &text)
    {
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Backspace);
        QTest::keyClicks(line, text);
    }

    // Chooses `text` in a drop-down cell, or types it where the list takes
    // typing or in a text cell.
    void set(int row, int column, const QString &text) const
    {
        QWidget *editor = enter(row, column);
        ASSERT_TRUE(editor) << "no editor in " << row << "," << column;
        if (auto *list = qobject_cast<QComboBox *>(editor)) {
            if (list->isEditable()) {
                retype(list->lineEdit(), text);
            } else {
                const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
                ASSERT_GE(index, 0) << text.toStdString() << " is not listed";
                list->setCurrentIndex(index);
                emit list->activated(index);
            }
        } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
            retype(line, text);
        }
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
