#pragma once
// The Debug window's content: the call stack of the stopped thread and the variables of the
// chosen frame as a tree. It draws the session's model and asks it for more as the user looks:
// a frame's scopes when the frame is chosen, a value's parts when its branch is opened. The
// first scope (the frame's locals) opens by itself.

#include "language/DebugSession.h"

#include <QPointer>
#include <QWidget>

class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tovin {

class CDebugWindow : public QWidget {
    Q_OBJECT
public:
    explicit CDebugWindow(QWidget* parent = nullptr);

    // The session to draw; null empties the window.
    void SetSession(CDebugSession* session);

    QListWidget* Stack() const { return m_stack; }
    QTreeWidget* Variables() const { return m_variables; }

signals:
    // A frame was chosen in the call stack: its file and line (1-based), to be shown.
    void FrameChosen(const QString& path, int line);

private:
    void OnStopped();
    void OnRunning();
    void ChooseFrame(int row);
    void OnScopes(int frameId, const QList<SDebugScope>& scopes);
    void OnVariables(int reference, const QList<SDebugVariable>& variables);
    void OnExpanded(QTreeWidgetItem* item);
    QTreeWidgetItem* AddValue(QTreeWidgetItem* parent, const QString& name, const QString& value,
                              const QString& type, int reference);

    QPointer<CDebugSession> m_session;
    QListWidget* m_stack;
    QTreeWidget* m_variables;
    int m_frameId = 0;
};

} // namespace tovin
