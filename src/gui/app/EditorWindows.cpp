#include "gui/app/EditorWindows.h"

#include "core/javamodel/JavaParser.h"
#include "core/process/ProcessRunner.h"
#include "gui/app/AppCodeAssist.h"
#include "gui/app/AppDebugger.h"
#include "gui/app/ChildFrame.h"
#include "gui/app/EditorApp.h"
#include "gui/app/JavaChecks.h"
#include "gui/app/MainFrame.h"
#include "gui/editor/EditorAids.h"
#include "gui/editor/EditorDocument.h"
#include "gui/editor/LiveEditorDoc.h"
#include "gui/editor/LiveHTMLView.h"
#include "gui/editor/LivePythonView.h"
#include "gui/editor/LiveXMLView.h"
#include "gui/editor/SyntaxWindowDoc.h"
#include "gui/editor/SyntaxWindowView.h"
#include "gui/framework/DocumentFrame.h"
#include "gui/prefs/PrefsSheet.h"
#include "gui/project/ProjectDocument.h"

#include <QKeyEvent>
#include <QPointer>
#include <QRegularExpression>
#include <algorithm>

namespace tovin {

namespace {

// A read-only window ignores the keys that would change its text. The first such key after the
// window got the focus says why in the status bar, once, so the silence is not taken for a
// fault.
class CReadOnlyExplainer : public QObject {
public:
    CReadOnlyExplainer(CSourceView& view, CMainFrame& mainFrame)
        : QObject(&view), m_view(view), m_mainFrame(mainFrame) {
        view.installEventFilter(this);
    }

    static bool WouldEdit(const QKeyEvent& key) {
        switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return true;
        default:
            break;
        }
        if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) {
            return false;
        }
        const QString text = key.text();
        return !text.isEmpty() && text.front().isPrint();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            m_explained = false;
        } else if (event->type() == QEvent::KeyPress && m_view.IsReadOnly() && !m_explained &&
                   WouldEdit(*static_cast<QKeyEvent*>(event))) {
            m_explained = true;
            const std::string& path = m_view.Document().PathName();
            m_mainFrame.SetPaneText(
                0, QStringLiteral("\"%1\" is read-only: its text cannot be changed here. Save As "
                                  "writes a copy that can be edited.")
                       .arg(QString::fromStdString(path)));
        }
        return false;
    }

private:
    CSourceView& m_view;
    CMainFrame& m_mainFrame;
    bool m_explained = false;
};

// The window whose compiler message pane 0 shows, if any: another window that becomes active
// takes it away, so the pane never speaks of a file that is not in front.
QPointer<CSourceView>& MessageShownFor() {
    static QPointer<CSourceView> view;
    return view;
}

// The indentation pane of a read-only window tells that instead: nothing can be indented.
QString IndentPaneText(const CSourceView& view) {
    return view.IsReadOnly() ? QStringLiteral("Read-only") : view.IndentStatusText();
}

// With a project open and, for a command that starts a tool, no other tool running.
bool ProjectOpen(const CEditorApp& app) {
    return app.CurrentProject() != nullptr;
}
bool ProjectIdle(const CEditorApp& app) {
    return ProjectOpen(app) && !CProcessRunner::IsProcessRunning();
}

// The commands every source window carries out itself.
void RegisterTextCommands(CSourceView& view, CEditorApp& app) {
    CCommandMap& map = view.CommandMap();
    auto hasSelection = [&view] { return view.hasSelectedText(); };
    auto writable = [&view] { return !view.IsReadOnly(); };
    map.OnCommand(ECommand::Undo, [&view] { view.undo(); });
    map.OnEnable(ECommand::Undo, [&view] { return view.isUndoAvailable() && !view.IsReadOnly(); });
    map.OnCommand(ECommand::Redo, [&view] { view.redo(); });
    map.OnEnable(ECommand::Redo, [&view] { return view.isRedoAvailable() && !view.IsReadOnly(); });
    map.OnCommand(ECommand::Cut, [&view] { view.cut(); });
    map.OnEnable(ECommand::Cut, [&view] { return view.hasSelectedText() && !view.IsReadOnly(); });
    map.OnCommand(ECommand::Copy, [&view] { view.copy(); });
    map.OnEnable(ECommand::Copy, hasSelection);
    map.OnCommand(ECommand::Paste, [&view] { view.paste(); });
    map.OnEnable(ECommand::Paste, writable);
    map.OnCommand(ECommand::SelectAll, [&view] { view.SetSel(0, -1); });
    map.OnCommand(ECommand::IncreaseIndent, [&view] { view.OnIncreaseIndent(); });
    map.OnEnable(ECommand::IncreaseIndent, writable);
    map.OnCommand(ECommand::DecreaseIndent, [&view] { view.OnDecreaseIndent(); });
    map.OnEnable(ECommand::DecreaseIndent, writable);
    map.OnCommand(ECommand::ConvertLinebreaks, [&view] { view.OnConvertLinebreaks(); });
    map.OnEnable(ECommand::ConvertLinebreaks, writable);
    map.OnCommand(ECommand::SyntaxColourUpdate, [&view] { view.OnSyntaxColourUpdate(); });
    map.OnCommand(ECommand::Find, [&view] { view.OnFind(); });
    map.OnCommand(ECommand::Replace, [&view] { view.OnReplace(); });
    map.OnCommand(ECommand::Repeat, [&view] { view.OnRepeat(); });
    map.OnCommand(ECommand::GoToLine, [&view] { view.OnGoToLine(); });
    map.OnCommand(ECommand::Print, [&view, &app] { view.PrintWithDialog(&app.Printer()); });
    map.OnCommand(ECommand::PrintPreview, [&view, &app] { view.ShowPrintPreview(&app.Printer()); });
    map.OnCommand(ECommand::CreateAntScript, [&app] {
        if (CProjectDocument* project = app.CurrentProject()) {
            project->OnCreateAntScript();
        }
    });
}

void RegisterJavaCommands(CSyntaxWindowView& view, CEditorApp& app) {
    CCommandMap& map = view.CommandMap();
    map.OnCommand(ECommand::ConvertTabs, [&view] { view.OnConvertTabsToSpaces(); });
    map.OnEnable(ECommand::ConvertTabs, [&view] { return !view.IsReadOnly(); });
    map.OnCommand(ECommand::RefreshFunctionList, [&view] { view.OnRefreshFunctionList(); });
    map.OnCommand(ECommand::AddWindowToProject, [&view] { view.OnAddWindowToProject(); });
    map.OnEnable(ECommand::AddWindowToProject, [&app] { return ProjectOpen(app); });
    // Enabled by the application's rule: a project open and no tool running.
    map.OnCommand(ECommand::Compile, [&view] { view.OnCompile(); });
    map.OnCommand(ECommand::JdkHelp, [&view] { view.OnJdkHelp(); });
    map.OnCommand(ECommand::SourceFont, [&app] { RunPreferencesSheet(app, CPrefsSheet::Editor); });
    map.OnCommand(ECommand::ToggleBreakpoint,
                  [&view, &app] { app.Debugger().ToggleAtCaret(view); });
    using FProjectCommand = void (CProjectDocument::*)();
    const std::pair<ECommand, FProjectCommand> tools[] = {
        {ECommand::JavadocProjectFiles, &CProjectDocument::OnJavadocProjectFiles},
        {ECommand::JavadocProjectPackages, &CProjectDocument::OnJavadocProjectPackages},
        {ECommand::CompileFolder, &CProjectDocument::OnCompileFolder},
        {ECommand::JarAnyFolder, &CProjectDocument::OnJarAnyFolder},
        {ECommand::CreateShortcut, &CProjectDocument::OnCreateShortcut},
        {ECommand::CreateBatchFile, &CProjectDocument::OnCreateBatchFile},
        {ECommand::SerialVer, &CProjectDocument::OnSerialVer},
    };
    for (const auto& [id, handler] : tools) {
        map.OnCommand(id, [&app, handler = handler] {
            if (CProjectDocument* project = app.CurrentProject()) {
                (project->*handler)();
            }
        });
    }
}

void RegisterPageCommands(CLiveHTMLView& view, CEditorApp& app) {
    CCommandMap& map = view.CommandMap();
    map.OnCommand(ECommand::InsertApplet, [&view] { view.OnInsertApplet(); });
    map.OnEnable(ECommand::InsertApplet,
                 [&view, &app] { return app.CurrentProject() && !view.IsReadOnly(); });
    map.OnCommand(ECommand::OpenInWebBrowser, [&view] { view.OnOpenInWebBrowser(); });
    map.OnCommand(ECommand::RunPageApplet, [&view] { view.OnRunApplet(); });
    map.OnEnable(ECommand::RunPageApplet, [&app] { return ProjectIdle(app); });
    map.OnCommand(ECommand::RunAnt, [&view] { view.OnRunAnt(); });
    map.OnEnable(ECommand::RunAnt, [&app] { return ProjectIdle(app); });
    map.OnCommand(ECommand::AddWindowToProject, [&view] { view.OnAddWindowToProject(); });
}

void RegisterJythonCommands(CLivePythonView& view, CEditorApp& app) {
    CCommandMap& map = view.CommandMap();
    map.OnCommand(ECommand::RunJython, [&view] { view.OnRunJython(); });
    map.OnEnable(ECommand::RunJython, [&app] { return ProjectIdle(app); });
    // In a terminal of its own, beside whatever runs in the Process Window.
    map.OnCommand(ECommand::RunJythonWithConsole, [&view] { view.OnRunJythonWithConsole(); });
    map.OnEnable(ECommand::RunJythonWithConsole, [&app] { return ProjectOpen(app); });
    map.OnCommand(ECommand::CompileJythonFile, [&view] { view.OnCompileJythonFile(); });
    map.OnEnable(ECommand::CompileJythonFile, [&app] { return ProjectIdle(app); });
    map.OnCommand(ECommand::AddWindowToProject, [&view] { view.OnAddWindowToProject(); });
}

// The caret's line and column in the main window's panes 1 and 2 and the indentation in the
// pane beside them, also when the window is activated; the compiler's messages of the caret's
// line in pane 0.
void ShowCaretStatus(CSourceView& view, CEditorApp& app, QWidget* frame) {
    CMainFrame* mainFrame = app.MainFrame();
    if (!mainFrame) {
        return;
    }
    QObject::connect(&view, &CSourceView::CaretStatusChanged, mainFrame,
                     [mainFrame, &view](const QString& line, const QString& column) {
                         mainFrame->SetPaneText(1, line);
                         mainFrame->SetPaneText(2, column);
                         mainFrame->SetPaneText(CMainFrame::kIndentPane, IndentPaneText(view));
                     });
    new CReadOnlyExplainer(view, *mainFrame);
    QObject::connect(mainFrame, &CMainFrame::ActiveFrameChanged, &view,
                     [&view, frame, mainFrame](CDocumentFrame* active) {
                         if (active && active == frame) {
                             QPointer<CSourceView>& shown = MessageShownFor();
                             if (shown && shown != &view) {
                                 mainFrame->SetPaneText(0, CMainFrame::kReadyText);
                                 shown = nullptr;
                             }
                             view.UpdateCaretStatus();
                         }
                     });
    // Every move of the caret, also by Find Next or a jump to a line, not only by keys and
    // clicks.
    QObject::connect(&view, &QsciScintilla::cursorPositionChanged, &view,
                     [&view, frame, mainFrame] {
                         if (static_cast<QWidget*>(mainFrame->ActiveFrame()) == frame) {
                             view.UpdateCaretStatus();
                         }
                     });
    QObject::connect(&view.Aids(), &CViewAids::StatusMessage, mainFrame,
                     [mainFrame, &view](const QString& text) {
                         MessageShownFor() = text.isEmpty() ? nullptr : &view;
                         mainFrame->SetPaneText(0, text.isEmpty() ? CMainFrame::kReadyText : text);
                     });
}

void ConnectFunctionList(CSyntaxWindowView& view, CChildFrame& frame) {
    QObject::connect(&view, &CSyntaxWindowView::FunctionListChanged, &frame,
                     [&frame](const QStringList& names) {
                         frame.ClearFunctions();
                         for (const QString& name : names) {
                             frame.AddFunction(name.toStdString());
                         }
                     });
    QObject::connect(&frame, &CChildFrame::FunctionListDropDown, &view,
                     &CSyntaxWindowView::OnFunctionListDropDown);
    QObject::connect(&frame, &CChildFrame::FunctionChosen, &view,
                     &CSyntaxWindowView::OnFunctionChosen);
}

// The editors' context of the running application: its settings, host, open project and help.
SEditorContext EditorContextOf(CEditorApp& app) {
    SEditorContext context;
    context.settings = &app.Settings();
    context.host = &app.Host();
    context.project = [&app]() -> CJavaProjectDoc* {
        CProjectDocument* project = app.CurrentProject();
        return project ? &project->Project() : nullptr;
    };
    context.jdkHelp = [&app](const std::string& keyword) { app.OpenJdkHelp(keyword); };
    return context;
}

CSourceView* CreateView(CEditorApp& app, CEditorDocument& document, QWidget* frame) {
    switch (document.Kind()) {
    case EDocumentKind::JavaSource: {
        auto* view =
            new CSyntaxWindowView(static_cast<CSyntaxWindowDoc&>(document.Source()), frame);
        RegisterJavaCommands(*view, app);
        if (auto* childFrame = qobject_cast<CChildFrame*>(frame)) {
            ConnectFunctionList(*view, *childFrame);
        }
        return view;
    }
    case EDocumentKind::Xml: {
        auto* view = new CLiveXMLView(static_cast<CLiveEditorDoc&>(document.Source()), frame);
        RegisterPageCommands(*view, app);
        return view;
    }
    case EDocumentKind::Jython: {
        auto* view = new CLivePythonView(static_cast<CLiveEditorDoc&>(document.Source()), frame);
        RegisterJythonCommands(*view, app);
        return view;
    }
    default: {
        auto* view = new CLiveHTMLView(static_cast<CLiveEditorDoc&>(document.Source()), frame);
        RegisterPageCommands(*view, app);
        return view;
    }
    }
}

} // namespace

CDocument* CreateEditorDocument(CEditorApp& app, CDocTemplate& docTemplate) {
    return new CEditorDocument(app, docTemplate, EditorContextOf(app), &app);
}

std::string JavaFileNameFor(const std::string& text) {
    // The parser knows which declarations are real (not in a comment or a string); the text
    // says which of them is public.
    CJavaFile file;
    CJavaParser(file).ParseText(text);
    std::vector<std::string> types;
    for (const auto& type : file.Classes()) {
        const std::string& name = type->GetName();
        types.push_back(name.substr(0, name.find('<')));
    }
    if (types.empty()) {
        return {};
    }
    static const QRegularExpression publicType(QStringLiteral(
        R"(\bpublic\s+(?:(?:abstract|final|sealed|non-sealed|strictfp|static)\s+)*)"
        R"((?:class|interface|enum|record|@\s*interface)\s+([A-Za-z_$][A-Za-z0-9_$]*))"));
    auto matches = publicType.globalMatch(QString::fromStdString(text));
    while (matches.hasNext()) {
        const std::string name = matches.next().captured(1).toStdString();
        if (std::find(types.begin(), types.end(), name) != types.end()) {
            return name + ".java";
        }
    }
    return types.front() + ".java";
}

QWidget* CreateEditorView(CEditorApp& app, CDocument& document, QWidget* frame) {
    CSourceView* view = CreateView(app, static_cast<CEditorDocument&>(document), frame);
    RegisterTextCommands(*view, app);
    ShowCaretStatus(*view, app, frame);
    view->OnInitialUpdate();
    app.EditorAids().AddView(*view);
    app.JavaChecks().AddView(*view);
    if (document.Kind() == EDocumentKind::JavaSource) {
        app.Debugger().AddView(*view);
        AttachCodeAssist(app, *view);
    }
    return view;
}

} // namespace tovin
