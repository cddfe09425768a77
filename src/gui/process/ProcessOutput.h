#pragma once
// The Process Window's output control: read-only plain text without wrapping, both scroll bars,
// the system's window colours, and a double-click that reports the clicked line after the usual
// word selection. Its context menu carries the window's extra commands after the standard ones.

#include <QPlainTextEdit>

#include <vector>

class QAction;

namespace tovin {

class CProcessOutput : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CProcessOutput(QWidget* parent = nullptr);

    // Actions shown below the standard Copy and Select All of the context menu.
    void AddContextAction(QAction* action) { m_contextActions.push_back(action); }

signals:
    // The zero-based block (line) that holds the caret after a double-click.
    void lineDoubleClicked(int line);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    std::vector<QAction*> m_contextActions;
};

} // namespace tovin
