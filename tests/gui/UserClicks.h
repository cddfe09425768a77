#pragma once
// What the GUI tests do as a user does it: find a tree item by its texts, double-click a line of
// the Process Window.

#include "gui/process/ProcessOutput.h"

#include <QStringList>
#include <QTextBlock>
#include <QTreeWidget>
#include <QtTest>

namespace tovin::test {

// The item reached from the top by the texts of `path`, or nullptr.
inline QTreeWidgetItem* Find(QTreeWidget* tree, const QStringList& path) {
    QTreeWidgetItem* item = tree->invisibleRootItem();
    for (const QString& text : path) {
        QTreeWidgetItem* found = nullptr;
        for (int i = 0; item && i < item->childCount() && !found; ++i) {
            if (item->child(i)->text(0) == text) {
                found = item->child(i);
            }
        }
        item = found;
    }
    return item;
}

// Double-clicks the first output line that holds the marker; false when none does.
inline bool DoubleClickLineWith(CProcessOutput& output, const QString& marker) {
    for (QTextBlock block = output.document()->firstBlock(); block.isValid();
         block = block.next()) {
        if (block.text().contains(marker)) {
            QTextCursor cursor(block);
            output.setTextCursor(cursor);
            output.ensureCursorVisible();
            QTest::mouseDClick(output.viewport(), Qt::LeftButton, Qt::NoModifier,
                               output.cursorRect(cursor).center() + QPoint(4, 0));
            return true;
        }
    }
    return false;
}

} // namespace tovin::test
