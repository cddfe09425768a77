#include "gui/process/ProcessOutput.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPalette>
#include <memory>

namespace tovin {

CProcessOutput::CProcessOutput(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Read-only text is usually drawn greyed on some styles; tool output must stay readable.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Active, QPalette::Base));
    colours.setColor(QPalette::Text, colours.color(QPalette::Active, QPalette::Text));
    setPalette(colours);
    // Keyboard selection and copying still work on read-only text.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void CProcessOutput::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    emit lineDoubleClicked(textCursor().blockNumber());
}

void CProcessOutput::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    if (!m_contextActions.empty()) {
        menu->addSeparator();
        for (QAction* action : m_contextActions) {
            menu->addAction(action);
        }
    }
    menu->exec(event->globalPos());
}

} // namespace tovin
