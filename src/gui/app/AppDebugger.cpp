#include "gui/app/AppDebugger.h"

#include "core/app/Settings.h"
#include "core/platform/Paths.h"
#include "core/process/ProcessRunner.h"
#include "core/project/CommandHelpers.h"
#include "core/project/EngineCommand.h"
#include "core/project/JavaProjectDoc.h"
#include "core/project/ToolLocator.h"
#include "gui/app/EditorApp.h"
#include "gui/app/MainFrame.h"
#include "gui/debug/DebugWindow.h"
#include "gui/editor/DebugMarks.h"
#include "gui/editor/EditorDocument.h"
#include "gui/editor/SourceDocument.h"
#include "gui/editor/SourceView.h"
#include "gui/framework/CommandMap.h"
#include "gui/framework/DocumentFrame.h"
#include "gui/process/ProcessWindow.h"
#include "gui/project/ProjectDocument.h"
#include "language/DebugSession.h"

#include <QDockWidget>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <algorithm>

namespace tovin {

namespace {

struct SDebugItem {
    ECommand command;
    const char* text;
};

// The Debug menu and tool bar of a running session.
constexpr SDebugItem kDebugItems[] = {
    {ECommand::DebugContinue, "&Continue\tF5"},
    {ECommand::DebugStepOver, "Step &Over\tF10"},
    {ECommand::DebugStepInto, "Step &Into\tF11"},
    {ECommand::DebugStepOut, "Step O&ut\tShift+F11"},
    {ECommand::DebugStop, "&Stop Debugging\tShift+F5"},
};

constexpr const char* kDebugMenuTitle = "&Debug";

// Text with the Process Window's line ends.
std::string ProcessText(const QString& text) {
    QString crlf = text;
    crlf.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    crlf.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return crlf.toStdString();
}

QStringList SplitList(const std::string& list) {
    QStringList parts;
    for (const QString& part :
         QString::fromStdString(list).split(QLatin1Char(kPathListSeparator), Qt::SkipEmptyParts)) {
        parts << part;
    }
    return parts;
}

// Watches a view's hiding (its window closes): the breakpoints are read before its text goes.
class CHideWatch : public QObject {
public:
    CHideWatch(QObject* parent, std::function<void()> onHide)
        : QObject(parent), m_onHide(std::move(onHide)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide) {
            m_onHide();
        }
        return false;
    }

private:
    std::function<void()> m_onHide;
};

} // namespace

CAppDebugger::CAppDebugger(CEditorApp& app) : QObject(&app), m_app(app) {}

CAppDebugger::~CAppDebugger() {
    // The session's client ends the adapter and with it the program.
    delete m_session;
}

CDebugSession* CAppDebugger::Session() const {
    return m_session;
}

bool CAppDebugger::IsDebugging() const {
    return m_session && m_session->IsActive();
}

std::string CAppDebugger::ProjectPath() const {
    CProjectDocument* project = m_app.CurrentProject();
    return project ? project->Project().GetPath() : std::string();
}

ECommand CAppDebugger::KeyCommand(ECommand command) const {
    if (!IsDebugging()) {
        return command;
    }
    switch (command) {
    case ECommand::RunApplication:
        return ECommand::DebugContinue;
    case ECommand::RunApplet:
    case ECommand::RunPageApplet:
        return ECommand::DebugStop;
    default:
        return command;
    }
}

void CAppDebugger::RegisterCommands(CCommandMap& map) {
    map.OnCommand(ECommand::DebugApplication, [this] { StartDebugging(); });
    map.OnEnable(ECommand::DebugApplication, [this] {
        return m_app.CurrentProject() && !CProcessRunner::IsProcessRunning() && !IsDebugging() &&
               !m_building;
    });
    auto stopped = [this] {
        return IsDebugging() && m_session->State() == CDebugSession::EState::Stopped;
    };
    map.OnCommand(ECommand::DebugContinue, [this] { m_session->Continue(); });
    map.OnEnable(ECommand::DebugContinue, stopped);
    map.OnCommand(ECommand::DebugStepOver, [this] { m_session->StepOver(); });
    map.OnEnable(ECommand::DebugStepOver, stopped);
    map.OnCommand(ECommand::DebugStepInto, [this] { m_session->StepInto(); });
    map.OnEnable(ECommand::DebugStepInto, stopped);
    map.OnCommand(ECommand::DebugStepOut, [this] { m_session->StepOut(); });
    map.OnEnable(ECommand::DebugStepOut, stopped);
    map.OnCommand(ECommand::DebugStop, [this] { m_session->Stop(); });
    map.OnEnable(ECommand::DebugStop, [this] { return IsDebugging(); });
}

void CAppDebugger::AttachMainFrame(CMainFrame& frame) {
    frame.SetKeyCommandFilter([this](ECommand command) { return KeyCommand(command); });
    connect(&frame, &CMainFrame::ActiveFrameChanged, this, [this] {
        FollowProject();
        EnsureDebugMenu();
    });
}

// ---------------------------------------------------------------- breakpoints

void CAppDebugger::AddView(CSourceView& view) {
    FollowProject();
    auto* marks = new CDebugMarks(view);
    m_views.push_back({&view, marks});
    connect(marks, &CDebugMarks::MarginClicked, this,
            [this, &view](int line) { Toggle(view, line); });
    view.installEventFilter(new CHideWatch(marks, [this, &view] {
        // Its window closes; while the main window itself goes, nothing is read.
        if (!m_app.MainFrame()) {
            return;
        }
        Harvest(view);
        SaveBreakpoints();
    }));
    const std::string& path = view.Document().PathName();
    const auto known = m_breakpoints.find(path);
    if (known != m_breakpoints.end()) {
        std::vector<int> lines;
        for (int line : known->second) {
            lines.push_back(line - 1);
        }
        marks->SetBreakpointLines(lines);
    }
}

void CAppDebugger::ToggleAtCaret(CSourceView& view) {
    int start = 0;
    int end = 0;
    view.GetSel(start, end);
    Toggle(view, view.LineFromChar(end));
}

void CAppDebugger::Toggle(CSourceView& view, int line) {
    const auto found = std::find_if(m_views.begin(), m_views.end(),
                                    [&view](const SView& entry) { return entry.view == &view; });
    if (found == m_views.end()) {
        return;
    }
    found->marks->ToggleBreakpoint(line);
    Harvest(view);
    SaveBreakpoints();
    // A running session takes the file's breakpoints at once.
    CProjectDocument* project = m_app.CurrentProject();
    const std::string& path = view.Document().PathName();
    if (IsDebugging() && project && project->Project().ContainsJavaFile(path)) {
        QList<int> lines;
        for (int number : found->marks->BreakpointLines()) {
            lines.append(number + 1);
        }
        m_session->SetBreakpoints(QString::fromStdString(path), lines);
    }
}

void CAppDebugger::Harvest(CSourceView& view) {
    const std::string& path = view.Document().PathName();
    const auto found = std::find_if(m_views.begin(), m_views.end(),
                                    [&view](const SView& entry) { return entry.view == &view; });
    if (path.empty() || found == m_views.end()) {
        return;
    }
    std::vector<int> lines;
    for (int line : found->marks->BreakpointLines()) {
        lines.push_back(line + 1);
    }
    if (lines.empty()) {
        m_breakpoints.erase(path);
    } else {
        m_breakpoints[path] = std::move(lines);
    }
}

void CAppDebugger::HarvestAll() {
    std::erase_if(m_views, [](const SView& entry) { return entry.view.isNull(); });
    for (const SView& entry : m_views) {
        Harvest(*entry.view);
    }
}

const BreakpointMap& CAppDebugger::Breakpoints() {
    HarvestAll();
    return m_breakpoints;
}

// The breakpoints of the project that is open are read when it opens and written as they change.
void CAppDebugger::FollowProject() {
    const std::string current = ProjectPath();
    if (current == m_project) {
        return;
    }
    m_project = current;
    if (current.empty()) {
        return;
    }
    const SBreakpointRead read =
        ReadBreakpointFile(BreakpointFilePath(current), GetFolder(current));
    if (!read.error.empty()) {
        m_app.SetStatusText(read.error);
    } else if (read.damagedLines > 0) {
        m_app.SetStatusText("Some lines of \"" + BreakpointFilePath(current) +
                            "\" name no breakpoint; they were left out.");
    }
    for (const auto& [path, lines] : read.breakpoints) {
        m_breakpoints[path] = lines;
    }
    std::erase_if(m_views, [](const SView& entry) { return entry.view.isNull(); });
    for (const SView& entry : m_views) {
        const auto known = read.breakpoints.find(entry.view->Document().PathName());
        if (known != read.breakpoints.end()) {
            std::vector<int> lines;
            for (int line : known->second) {
                lines.push_back(line - 1);
            }
            entry.marks->SetBreakpointLines(lines);
        }
    }
}

void CAppDebugger::SaveBreakpoints() {
    CProjectDocument* project = m_app.CurrentProject();
    if (!project || m_project.empty() || project->Project().GetPath() != m_project) {
        return;
    }
    // Only the project's own files: a breakpoint elsewhere lasts as long as Tovin runs.
    BreakpointMap own;
    for (const auto& [path, lines] : m_breakpoints) {
        if (project->Project().ContainsJavaFile(path)) {
            own[path] = lines;
        }
    }
    const std::string error =
        WriteBreakpointFile(BreakpointFilePath(m_project), GetFolder(m_project), own);
    if (!error.empty()) {
        m_app.SetStatusText("The breakpoints could not be saved: " + error);
    }
}

void CAppDebugger::ProjectClosed(const std::string& projectPath) {
    if (projectPath == m_project) {
        HarvestAll();
        SaveBreakpoints();
        m_project.clear();
    }
}

// ---------------------------------------------------------------- the session

void CAppDebugger::Say(const QString& text) {
    CProcessWindow* window = m_app.ProcessWindow();
    m_app.Host().ShowOutputWindow();
    std::string bytes = ProcessText(text);
    if (!window->Text().empty() && window->Text().back() != '\n') {
        bytes.insert(0, "\r\n");
    }
    window->AppendLine(bytes + "\r\n");
}

void CAppDebugger::StartDebugging() {
    CProjectDocument* project = m_app.CurrentProject();
    if (!project || IsDebugging() || m_building) {
        return;
    }
    CJavaProjectDoc& doc = project->Project();
    doc.ApplyPendingEdits();
    const std::string main = doc.GetMainFile();
    if (!main.empty() && GetExtension(main) != "java") {
        Say(tr("Only a Java main class can be debugged; %1 is not one.")
                .arg(QString::fromStdString(main)));
        return;
    }
    const SEngineCommand adapter =
        ComposeDebugAdapterCommand(m_app.Settings(), FindDataFile(kEngineJar));
    if (!adapter.error.empty()) {
        Say(tr("The debugger cannot start: %1.").arg(QString::fromStdString(adapter.error)));
        return;
    }
    // The build first, as Build does it; the program starts once it has succeeded.
    CProcessWindow* window = m_app.ProcessWindow();
    bool started = false;
    const QMetaObject::Connection attached =
        connect(window, &CProcessWindow::runAttached, this, [&started] { started = true; });
    // The locals show only in classes compiled with their tables: the build adds -g unless
    // the project's own options already ask for debugging information.
    const std::string options = doc.GetCompileOptions();
    const bool debugInfo = (" " + options + " ").find(" -g") != std::string::npos;
    if (!debugInfo) {
        doc.SetCompileOptions(options.empty() ? "-g" : options + " -g");
    }
    project->OnBuild();
    doc.SetCompileOptions(options);
    disconnect(attached);
    if (!started) {
        return; // Build said why (no main file, a save that failed)
    }
    m_building = true;
    connect(
        window, &CProcessWindow::runCompleted, this,
        [this, window] {
            m_building = false;
            const CProcessRunner* runner = window->Runner();
            if (runner && runner->ExitCode() == 0) {
                Launch();
            } else {
                Say(tr("The build did not succeed; the program is not debugged."));
            }
        },
        Qt::SingleShotConnection);
}

void CAppDebugger::Launch() {
    CProjectDocument* project = m_app.CurrentProject();
    if (!project) {
        return;
    }
    CJavaProjectDoc& doc = project->Project();
    const std::string mainPath = GetMainFilePath(doc);
    if (mainPath.empty()) {
        return;
    }
    std::string arguments;
    if (m_app.Settings().showArgs != 0) {
        const std::optional<std::string> asked = AskArguments(doc);
        if (!asked) {
            return;
        }
        arguments = *asked;
    }
    const SEngineCommand adapter =
        ComposeDebugAdapterCommand(m_app.Settings(), FindDataFile(kEngineJar));
    SDebugLaunch launch;
    launch.program = QString::fromStdString(adapter.program);
    for (const std::string& argument : adapter.arguments) {
        launch.programArguments << QString::fromStdString(argument);
    }
    launch.mainClass = QString::fromStdString(GetQualifiedMainClass(doc));
    // As Run gives it: the project's class path, then the run folder itself.
    launch.classPath = SplitList(doc.GetClassPath());
    launch.classPath << QStringLiteral(".");
    launch.folder = QString::fromStdString(GetRunFolder(doc, mainPath));
    launch.arguments = QString::fromStdString(arguments);
    launch.vmArguments = QString::fromStdString(doc.GetRunOptions());
    launch.javaExecutable = QString::fromStdString(CToolLocator(m_app.Settings()).GetJavaPath());
    launch.sourcePaths = SplitList(EngineProjectOf(doc).sourcePath);
    for (const auto& [path, lines] : Breakpoints()) {
        if (!doc.ContainsJavaFile(path)) {
            Say(tr("The breakpoints in %1 are not used: the file is not in the project.")
                    .arg(QString::fromStdString(path)));
            continue;
        }
        QList<int>& set = launch.breakpoints[QString::fromStdString(path)];
        set.append(QList<int>(lines.begin(), lines.end()));
    }
    Say(tr("Debugging %1").arg(launch.mainClass));
    m_app.ProcessWindow()->StatusField()->setText(tr("Debugging %1").arg(launch.mainClass));
    auto* session = new CDebugSession(this);
    m_session = session;
    connect(session, &CDebugSession::Output, this,
            [this](const QString& text) { m_app.ProcessWindow()->AppendLine(ProcessText(text)); });
    connect(session, &CDebugSession::Stopped, this, &CAppDebugger::OnStopped);
    connect(session, &CDebugSession::StateChanged, this, [this](CDebugSession::EState state) {
        if (state == CDebugSession::EState::Running) {
            ClearCurrentLine();
        }
        m_app.MainFrame()->UpdateCommandUi();
    });
    connect(session, &CDebugSession::Ended, this, &CAppDebugger::OnSessionEnded);
    ShowSessionParts(true);
    m_window->SetSession(session);
    session->Launch(launch);
}

void CAppDebugger::OnStopped() {
    for (const SDebugFrame& frame : m_session->Frames()) {
        if (!frame.path.isEmpty()) {
            ShowLine(frame.path, frame.line);
            break;
        }
    }
    m_dock->raise();
    m_app.MainFrame()->UpdateCommandUi();
}

void CAppDebugger::ShowLine(const QString& path, int line) {
    ClearCurrentLine();
    auto* document = dynamic_cast<CEditorDocument*>(m_app.OpenDocumentFile(path.toStdString()));
    if (!document) {
        return;
    }
    CSourceView* view = document->Source().FirstView();
    if (!view) {
        return;
    }
    for (const SView& entry : m_views) {
        if (entry.view == view) {
            entry.marks->ShowCurrentLine(line - 1);
        }
    }
    view->GoToLine(line - 1);
}

void CAppDebugger::ClearCurrentLine() {
    std::erase_if(m_views, [](const SView& entry) { return entry.view.isNull(); });
    for (const SView& entry : m_views) {
        if (entry.marks->CurrentLine() >= 0) {
            entry.marks->ShowCurrentLine(-1);
        }
    }
}

void CAppDebugger::OnSessionEnded(const QString& message) {
    Say(message);
    ClearCurrentLine();
    if (m_window) {
        m_window->SetSession(nullptr);
    }
    if (m_session) {
        m_session->deleteLater();
    }
    ShowSessionParts(false);
    m_app.MainFrame()->UpdateCommandUi();
}

void CAppDebugger::ShowSessionParts(bool shown) {
    CMainFrame* frame = m_app.MainFrame();
    if (!m_dock) {
        m_window = new CDebugWindow();
        connect(m_window, &CDebugWindow::FrameChosen, this, &CAppDebugger::ShowLine);
        m_dock = new QDockWidget(tr("Debug"), frame);
        m_dock->setObjectName(QStringLiteral("DebugDock"));
        m_dock->setWidget(m_window);
        frame->addDockWidget(Qt::RightDockWidgetArea, m_dock);
        frame->resizeDocks({m_dock}, {frame->fontMetrics().averageCharWidth() * 58},
                           Qt::Horizontal);
        m_toolBar = new QToolBar(tr("Debug"), frame);
        m_toolBar->setObjectName(QStringLiteral("DebugToolBar"));
        m_toolBar->setIconSize(frame->ToolBar()->iconSize());
        m_menu = new QMenu(QLatin1String(kDebugMenuTitle), frame);
        for (const SDebugItem& item : kDebugItems) {
            QAction* action = frame->Action(item.command);
            action->setText(QLatin1String(item.text));
            m_toolBar->addAction(action);
            m_menu->addAction(action);
        }
        frame->addToolBar(Qt::TopToolBarArea, m_toolBar);
    }
    m_dock->setVisible(shown);
    m_toolBar->setVisible(shown);
    EnsureDebugMenu();
}

// The menu bar is made again when the kind of the active window changes; the Debug menu goes
// before the Window menu while a session runs.
void CAppDebugger::EnsureDebugMenu() {
    if (!m_menu) {
        return;
    }
    QMenuBar* bar = m_app.MainFrame()->menuBar();
    const bool present = bar->actions().contains(m_menu->menuAction());
    if (!IsDebugging()) {
        if (present) {
            bar->removeAction(m_menu->menuAction());
        }
        return;
    }
    if (present) {
        return;
    }
    QAction* before = nullptr;
    for (QAction* top : bar->actions()) {
        if (top->text() == QLatin1String("&Window") || top->text() == QLatin1String("&Help")) {
            before = top;
            break;
        }
    }
    bar->insertMenu(before, m_menu);
}

} // namespace tovin
