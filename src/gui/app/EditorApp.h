#pragma once
// The application object: it starts the program in its fixed order, owns the settings, the
// document types, the main window and the one open project, and carries out the commands that
// work whichever window is active (new and open, projects, Save All, help, About) and the
// project commands it hands on to the open project.

#include "core/app/Settings.h"
#include "gui/framework/CommandMap.h"
#include "gui/framework/DocTemplate.h"
#include "gui/project/ProjectHost.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPrinter;

namespace tovin {

class CAppDebugger;
class CDocument;
class CEditorAids;
class CInstanceChannel;
class CJavaChecks;
class CMainFrame;
class CProcessWindow;
class CProjectDocument;
class CRecentFileList;
class CSettingsStore;
class CTestResultsWindow;
class CTestSession;
class CUiHost;

class CEditorApp : public QObject, public CCommandTarget, public CProjectHost {
    Q_OBJECT
public:
    // The settings live in the INI file settingsFile (empty: the user's own file). Without a
    // host the application makes its own with Qt dialogs; tests pass a scripted one.
    explicit CEditorApp(const std::string& settingsFile = {}, CUiHost* host = nullptr);
    ~CEditorApp() override;

    // The start-up sequence from the settings load to the Tip of the Day. The files are
    // those named on the command line. False when the start failed (a named file could not be
    // opened); the program then ends.
    bool Start(const std::vector<std::string>& files);

    CMainFrame* MainFrame() const { return m_mainFrame; }
    CUiHost& Host() const override { return *m_host; }
    CSettings& Settings() override { return m_settings; }
    CSettingsStore& Store() const override { return *m_store; }
    CDocTemplateRegistry& Templates() { return m_templates; }
    const std::string& ApplicationFolder() const { return m_applicationFolder; }
    QPrinter& Printer();
    // The Process Window in the main frame's process dock, made when first asked for.
    CProcessWindow* ProcessWindow();
    // Line numbers and compiler marks of every source window.
    CEditorAids& EditorAids() const { return *m_editorAids; }
    // Run Tests and its "Test Results" dock, made when first asked for.
    CTestSession& TestSession();
    CTestResultsWindow* TestResults() const { return m_testResults; }
    // The checks of the Java source windows while they are typed in.
    CJavaChecks& JavaChecks() const { return *m_javaChecks; }
    // Breakpoints and the debug session.
    CAppDebugger& Debugger() const { return *m_debugger; }

    // ---- CProjectHost: the open project
    CProjectDocument* CurrentProject() const override { return m_currentProject; }
    void SetCurrentProject(CProjectDocument* project) override;
    bool CloseCurrentProject(const std::string* path = nullptr) override;
    void OnProjectClosed(const std::string& path) override;
    QDockWidget* ProjectDock() override;
    bool HasProjectDock() const override;

    // ---- CApplicationServices
    QWidget* MainWindow() const override;
    void SetStatusText(const std::string& text) override;
    CDocument* OpenDocumentFile(const std::string& path) override;
    // As above; *declined tells whether nothing was opened because the user answered a
    // question of the open with Cancel (the open project stays), rather than a failure.
    CDocument* OpenDocumentFile(const std::string& path, bool* declined);
    bool CreateNewDocumentOfType(const std::string& documentName) override;

    // ---- operations offered to the rest of the program
    void SaveAll();
    // The save step before compiling: saves every modified document that has a file, without a
    // question, and leaves documents never saved alone. False after saying why a save failed.
    bool SaveModifiedFiles();
    void CloseAllSourceWindows();
    void SetProcessCaption(const std::string& caption) { m_processCaption = caption; }
    const std::string& ProcessCaption() const { return m_processCaption; }
    void AddToRecentFileList(const std::string& path) override;

    // ---- CDocumentHost
    std::string MessageCaption() const override { return "Tovin"; }
    void DocumentCreated(CDocument& document) override;
    void AddDocumentFrame(CDocumentFrame* frame) override;
    void ActivateDocumentFrame(CDocumentFrame* frame) override;
    const CRecentFileList& RecentFiles() const { return *m_recentFiles; }
    // Opens the JDK documentation (HELPPATH), at its search for the keyword when there is one.
    void OpenJdkHelp(const std::string& keyword);

    // The main window's closing steps: window state, last project, save questions, closing
    // every document. False when the user cancelled a question; nothing is closed then.
    bool OnMainFrameClose();

    // Opens the files a second start of the program hands over through the channel, each once
    // the channel is done with the request, and brings the main window forward.
    void AcceptHandOver(CInstanceChannel& channel);
    void OpenHandedOver(const QStringList& files);

    // Shows the Tip of the Day at start-up when it is due; the tip's own work sets it.
    void SetStartupTip(std::function<void()> showTip) { m_startupTip = std::move(showTip); }

private:
    void RegisterDocumentTypes();
    void RegisterCommands();
    void RegisterProjectForwarding();
    void CreateMainFrame();
    void OpenRecentFile(int index);
    bool SaveAllModified();
    void CloseAllDocuments();

    // Command handlers, one per command.
    void OnFileNew();
    void OnFileOpen();
    void OnOpenProject();
    void OnCloseProject();
    void OnRecentProjects();
    void OnPrintSetup();
    void OnExit();
    void OnHelp();
    void OnAbout();
    void OnRunApplet();
    void OnViewLineNumbers();
    void OnRunTestsOfFile(const std::string& path);

    std::unique_ptr<CSettingsStore> m_store;
    std::unique_ptr<CUiHost> m_ownHost;
    CUiHost* m_host;
    CSettings m_settings;
    std::string m_applicationFolder;
    std::string m_processCaption;
    CDocTemplateRegistry m_templates;
    std::unique_ptr<CRecentFileList> m_recentFiles;
    CMainFrame* m_mainFrame = nullptr;
    CProjectDocument* m_currentProject = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<CEditorAids> m_editorAids;
    CJavaChecks* m_javaChecks;          // a child: it goes with the application
    CAppDebugger* m_debugger = nullptr; // a child
    std::function<void()> m_startupTip;
    CTestSession* m_testSession = nullptr;
    CTestResultsWindow* m_testResults = nullptr;
};

} // namespace tovin
