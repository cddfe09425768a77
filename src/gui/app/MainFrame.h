#pragma once
// The main window: menu bar, toolbar, status bar, the area in which the document frames live,
// and the two dock areas (project window left or right, Process Window bottom or top).
//
// The menu bar and the accelerators follow the kind of the active document. Every command is
// one QAction (Action()); triggering it, from a menu, the toolbar or a key, sends it along the
// command route: the active view, its document, its frame, this window, the application.

#include "gui/app/AcceleratorTables.h"
#include "gui/app/MenuTables.h"
#include "gui/framework/CommandMap.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QAction;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QShortcut;
class QToolBar;

namespace tovin {

class CDocumentFrame;
class CKeyboardIndicators;

class CMainFrame : public QMainWindow, public CCommandTarget {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    QMdiArea* MdiArea() const { return m_mdiArea; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QAction* Action(ECommand id) const { return m_actions[static_cast<size_t>(id)]; }

    // The last target of every route (the application); not owned.
    void SetApplicationTarget(CCommandTarget* target) { m_applicationTarget = target; }
    // Decides whether the window may close; it runs the application's closing steps.
    void SetCloseHandler(std::function<bool()> handler) { m_closeHandler = std::move(handler); }
    // Where the recent-file entries of the File menu come from and what choosing one does.
    void SetRecentFiles(std::function<std::vector<std::string>()> entries,
                        std::function<void(int)> open);

    // ---- commands
    CCommandRoute Route() const;
    SCommandState CommandState(ECommand id) const { return Route().State(id); }
    bool ExecuteCommand(ECommand id);
    // Refreshes the enabled and checked states of every action.
    void UpdateCommandUi();

    // ---- menus and accelerators
    EMenuKind MenuKind() const { return m_menuKind; }
    void ShowMenusFor(EMenuKind kind);
    // Places "Ti&p of the Day..." at the top of "&Help" (once), or appends a shared "&Help"
    // holding it to a menu bar that has none.
    void InitMenu();
    QAction* TipOfTheDayAction() const { return Action(ECommand::TipOfTheDay); }
    // The command a key sequence runs in the active window, or None.
    ECommand AcceleratorCommand(const QKeySequence& keys) const;
    // Lets a key run another command than its table's for a while (the debugger's F5).
    void SetKeyCommandFilter(std::function<ECommand(ECommand)> filter) {
        m_keyFilter = std::move(filter);
    }

    // ---- document frames
    void AddDocumentFrame(CDocumentFrame* frame);
    void ActivateDocumentFrame(CDocumentFrame* frame);
    CDocumentFrame* ActiveFrame() const;
    std::vector<CDocumentFrame*> DocumentFrames() const;

    // ---- status bar: pane 0 the message, 1 and 2 line and column, 3-5 CAP, NUM, SCRL, and
    // the indentation of the active source window, shown after the column
    static constexpr int kIndentPane = 6;
    // Whether the Java files are being checked, and what the last check found.
    static constexpr int kCheckPane = 7;
    static constexpr const char* kReadyText = "Ready";
    void SetPaneText(int pane, const QString& text);
    QString PaneText(int pane) const;
    CKeyboardIndicators* KeyboardIndicators() const { return m_indicators; }

    // ---- docks, made when first asked for
    QDockWidget* ProjectDock();
    QDockWidget* ProcessDock();
    bool HasProjectDock() const { return m_projectDock != nullptr; }
    bool HasProcessDock() const { return m_processDock != nullptr; }

signals:
    void ActiveFrameChanged(CDocumentFrame* frame);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateActions();
    void CreateToolBar();
    void CreateStatusBar();
    void RegisterCommands();
    const std::vector<QMenu*>& MenusFor(EMenuKind kind);
    void ApplyMenuTexts(EMenuKind kind);
    void InstallAccelerators(EMenuKind kind);
    void FillRecentFiles(QMenu* menu);
    void FillWindowList(QMenu* menu);
    void ChooseFromAllWindows();
    void UpdateTitle();
    void OnSubWindowActivated(QMdiSubWindow* window);
    void UpdateIndicatorPanes();
    void MovePaneFocus(int step);
    void ArrangeIcons();
    void NewWindowOnActiveDocument();
    void PlaceFrame(CDocumentFrame* frame, int order);
    void InstallWindowSwitchKeys();

    QMdiArea* m_mdiArea;
    QToolBar* m_toolBar = nullptr;
    std::array<QAction*, kCommandCount> m_actions{};
    std::array<QLabel*, 8> m_panes{};
    CKeyboardIndicators* m_indicators;
    CCommandTarget* m_applicationTarget = nullptr;
    std::function<bool()> m_closeHandler;
    std::function<std::vector<std::string>()> m_recentEntries;
    std::function<void(int)> m_openRecent;

    EMenuKind m_menuKind = EMenuKind::NoDocument;
    std::map<EMenuKind, std::vector<QMenu*>> m_menus;
    std::map<QMenu*, QAction*> m_recentAnchors; // File menu -> its separator after the list
    std::vector<QAction*> m_recentActions;
    std::vector<QAction*> m_windowListActions;
    QMenu* m_sharedHelpMenu = nullptr;
    std::map<EMenuKind, std::vector<QShortcut*>> m_shortcuts;
    std::function<ECommand(ECommand)> m_keyFilter;

    QDockWidget* m_projectDock = nullptr;
    // The document window that was active when the focus went into the project window.
    QPointer<CDocumentFrame> m_beforeProjectDock;
    QDockWidget* m_processDock = nullptr;
    bool m_placedOnFirstShow = false;
};

} // namespace tovin
