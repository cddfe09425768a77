#pragma once
// The completion list beside the caret: one row per item with its kind (a small lettered badge,
// the word in the row's tool tip), its label and, set apart on the right, its detail (a return
// type, a field's type, a qualified class name). It never takes the keyboard focus: the editor
// keeps it and hands the list its moving keys (see CCodeAssist).

#include "language/AssistMessages.h"

#include <QFrame>

class QTreeWidget;

namespace tovin {

class CCompletionPopup : public QFrame {
    Q_OBJECT
public:
    // The editor owns the pop-up; it is a window of its own so it may reach past the editor.
    explicit CCompletionPopup(QWidget* editor);

    // The items in the server's order of sortText; none shown until Filter.
    void SetItems(const QList<SCompletionItem>& items);
    // Shows the items whose filter text starts with the prefix (case-insensitive), the first of
    // them selected; returns how many there are.
    int Filter(const QString& prefix);
    // The selected item; null when none is shown.
    const SCompletionItem* Current() const;
    // Moves the selection by rows (negative: up), stopping at the ends.
    void MoveSelection(int rows);
    int PageRows() const;
    // Places the pop-up under the text at the point (global), or above it when the screen
    // has no room below.
    void ShowAt(const QPoint& below, const QPoint& above);
    // The labels shown, in order.
    QStringList Labels() const;

signals:
    // An item was double-clicked.
    void Activated();

private:
    void FitSize();

    QTreeWidget* m_list;
    QList<SCompletionItem> m_items;
};

} // namespace tovin
