#pragma once
// The window's debugger: breakpoints in the Java windows (F9 and the margin), kept per project
// in the file beside the project file; "Debug Application", which builds as Build does and then
// starts the main class under the debug adapter with the main class, class path, working folder
// and arguments Run would use; and, while a session runs, the Debug menu, its tool bar and the
// docked Debug window, with the stopped line marked in its editor. The program's output and
// the session's end go to the Process Window.
//
// Nothing of it shows while no session runs. While one does, F5 continues and Shift+F5 stops.

#include "core/project/BreakpointFile.h"
#include "gui/framework/CommandIds.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <string>
#include <vector>

class QDockWidget;
class QMenu;
class QToolBar;

namespace tovin {

class CCommandMap;
class CDebugMarks;
class CDebugSession;
class CDebugWindow;
class CEditorApp;
class CMainFrame;
class CSourceView;

class CAppDebugger : public QObject {
    Q_OBJECT
public:
    explicit CAppDebugger(CEditorApp& app);
    ~CAppDebugger() override;

    // The application's commands of the debugger.
    void RegisterCommands(CCommandMap& map);
    // Its keys and menu follow the main window's.
    void AttachMainFrame(CMainFrame& frame);
    // A Java window: its breakpoint margin, and the breakpoints known for its file.
    void AddView(CSourceView& view);
    // F9 in a Java window: the caret's line.
    void ToggleAtCaret(CSourceView& view);
    // The project with this file closed: its breakpoints are written.
    void ProjectClosed(const std::string& projectPath);

    // The command a key runs while a session is running: F5 continues, Shift+F5 stops.
    ECommand KeyCommand(ECommand command) const;
    bool IsDebugging() const;
    CDebugSession* Session() const;
    CDebugWindow* Window() const { return m_window; }
    QDockWidget* Dock() const { return m_dock; }
    QToolBar* ToolBar() const { return m_toolBar; }
    // The breakpoints known now, by file (the open windows' marks read first).
    const BreakpointMap& Breakpoints();

private:
    struct SView {
        QPointer<CSourceView> view;
        CDebugMarks* marks;
    };

    void Toggle(CSourceView& view, int line);
    void Harvest(CSourceView& view);
    void HarvestAll();
    void FollowProject();
    void SaveBreakpoints();
    void StartDebugging();
    void Launch();
    void OnSessionEnded(const QString& message);
    void OnStopped();
    void ShowLine(const QString& path, int line);
    void ClearCurrentLine();
    void ShowSessionParts(bool shown);
    void EnsureDebugMenu();
    void Say(const QString& text);
    std::string ProjectPath() const;

    CEditorApp& m_app;
    std::vector<SView> m_views;
    BreakpointMap m_breakpoints;
    std::string m_project; // the project file whose breakpoints are held
    QPointer<CDebugSession> m_session;
    bool m_building = false;
    CDebugWindow* m_window = nullptr;
    QDockWidget* m_dock = nullptr;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_menu = nullptr;
};

} // namespace tovin
