// The application's commands: those it carries out itself, and the project commands it hands
// on to the open project so that they work from every window.

#include "gui/app/EditorApp.h"

#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/process/ProcessRunner.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/app/MainFrame.h"
#include "gui/desktop/DesktopRequests.h"
#include "gui/desktop/HelpLocations.h"
#include "gui/dialogs/AboutDialog.h"
#include "gui/dialogs/NewDocumentDialog.h"
#include "gui/dialogs/NewProjectWizard.h"
#include "gui/dialogs/NewTestCase.h"
#include "gui/dialogs/RecentProjectsDialog.h"
#include "gui/dialogs/TipOfTheDayDialog.h"
#include "gui/editor/EditorAids.h"
#include "gui/prefs/PrefsSheet.h"
#include "gui/project/ProjectDocument.h"
#include "gui/testing/TestSession.h"

#include <QPageSetupDialog>

namespace tovin {

namespace {

constexpr const char* kCaption = "Tovin";

// When a project command may run: with a project open, and for the commands that start a
// tool also only while no other tool runs.
enum class EProjectRule { Open, OpenAndIdle };

struct SProjectForward {
    ECommand command;
    void (CProjectDocument::*handler)(); // null: the rule only (an editor carries it out)
    EProjectRule rule;
};

constexpr SProjectForward kProjectForwards[] = {
    {ECommand::Build, &CProjectDocument::OnBuild, EProjectRule::OpenAndIdle},
    {ECommand::Compile, nullptr, EProjectRule::OpenAndIdle},
    {ECommand::RunApplication, &CProjectDocument::OnRunApplication, EProjectRule::OpenAndIdle},
    {ECommand::RunWithConsole, &CProjectDocument::OnRunWithConsole, EProjectRule::Open},
    {ECommand::AddFiles, &CProjectDocument::OnAddFiles, EProjectRule::Open},
    {ECommand::AddHtmlFile, &CProjectDocument::OnAddHtmlFile, EProjectRule::Open},
    {ECommand::ProjectWindow, &CProjectDocument::OnProjectWindow, EProjectRule::Open},
    {ECommand::JarMainFolder, &CProjectDocument::OnJarMainFolder, EProjectRule::Open},
    {ECommand::ShowArchiveContents, &CProjectDocument::OnShowArchiveContents, EProjectRule::Open},
    {ECommand::FindInFiles, &CProjectDocument::OnFindInFiles, EProjectRule::Open},
};

} // namespace

void CEditorApp::RegisterCommands() {
    CCommandMap& map = CommandMap();
    map.OnCommand(ECommand::FileNew, [this] { OnFileNew(); });
    map.OnCommand(ECommand::FileOpen, [this] { OnFileOpen(); });
    map.OnCommand(ECommand::OpenProject, [this] { OnOpenProject(); });
    map.OnCommand(ECommand::CloseProject, [this] { OnCloseProject(); });
    map.OnEnable(ECommand::CloseProject, [this] { return m_currentProject != nullptr; });
    map.OnCommand(ECommand::RecentProjects, [this] { OnRecentProjects(); });
    map.OnCommand(ECommand::SaveAll, [this] { SaveAll(); });
    map.OnCommand(ECommand::PrintSetup, [this] { OnPrintSetup(); });
    map.OnCommand(ECommand::Exit, [this] { OnExit(); });
    map.OnCommand(ECommand::Help, [this] { OnHelp(); });
    map.OnCommand(ECommand::JdkHelp, [this] { OpenJdkHelp({}); });
    map.OnCommand(ECommand::About, [this] { OnAbout(); });
    map.OnCommand(ECommand::CloseAllSourceWindows, [this] { CloseAllSourceWindows(); });
    map.OnCommand(ECommand::RunApplet, [this] { OnRunApplet(); });
    map.OnEnable(ECommand::RunApplet, [this] {
        return m_currentProject && !CProcessRunner::IsProcessRunning() &&
               !m_currentProject->Project().GetMainHtmlFile().empty();
    });
    map.OnCommand(ECommand::Preferences, [this] { RunPreferencesSheet(*this, 0); });
    map.OnCommand(ECommand::NewProject, [this] { RunNewProjectWizard(*this); });
    map.OnCommand(ECommand::TipOfTheDay, [this] { ShowTipOfTheDay(*this, ApplicationTipsFile()); });
    map.OnCommand(ECommand::ViewLineNumbers, [this] { OnViewLineNumbers(); });
    map.OnUpdate(ECommand::ViewLineNumbers, [this] {
        return SCommandState{true, m_editorAids->LineNumbers()};
    });
    map.OnCommand(ECommand::RunTests, [this] { TestSession().RunTests(); });
    map.OnEnable(ECommand::RunTests,
                 [this] { return m_currentProject && !CProcessRunner::IsProcessRunning(); });
    map.OnCommand(ECommand::RerunFailedTests, [this] { TestSession().RunFailedAgain(); });
    map.OnEnable(ECommand::RerunFailedTests, [this] {
        return m_currentProject && m_testSession && m_testSession->HasFailedTests() &&
               !CProcessRunner::IsProcessRunning();
    });
    RegisterProjectForwarding();
}

void CEditorApp::RegisterProjectForwarding() {
    CCommandMap& map = CommandMap();
    for (const SProjectForward& forward : kProjectForwards) {
        if (forward.handler) {
            map.OnCommand(forward.command, [this, handler = forward.handler] {
                if (m_currentProject) {
                    (m_currentProject->*handler)();
                }
            });
        }
        const bool needsIdle = forward.rule == EProjectRule::OpenAndIdle;
        map.OnEnable(forward.command, [this, needsIdle] {
            return m_currentProject && !(needsIdle && CProcessRunner::IsProcessRunning());
        });
    }
}

void CEditorApp::OnFileNew() {
    CNewDocumentDialog dialog(m_mainFrame);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (dialog.Chosen() == CNewDocumentDialog::TestCase) {
        RunNewTestCase(*this);
        return;
    }
    const std::string documentName = DocumentNameOfEntry(dialog.Chosen());
    if (documentName.empty()) {
        m_mainFrame->ExecuteCommand(ECommand::NewProject);
    } else {
        CreateNewDocumentOfType(documentName);
    }
}

void CEditorApp::OnFileOpen() {
    SFileDialogRequest request;
    request.title = "Open";
    request.filter = m_templates.OpenDialogFilter();
    std::vector<std::string> chosen = m_host->FileDialog(request);
    if (!chosen.empty()) {
        OpenDocumentFile(chosen.front());
    }
}

void CEditorApp::OnOpenProject() {
    SFileDialogRequest request;
    request.title = "Open a Tovin Project";
    request.filter = m_templates.FindByDocumentName("JavaProject")->DialogFilter() + "|";
    std::vector<std::string> chosen = m_host->FileDialog(request);
    if (!chosen.empty()) {
        OpenDocumentFile(chosen.front());
    }
}

void CEditorApp::OnCloseProject() {
    CloseCurrentProject();
}

void CEditorApp::OnRecentProjects() {
    CRecentProjectsDialog dialog(m_settings, *m_host, m_mainFrame);
    if (dialog.exec() == QDialog::Accepted) {
        OpenDocumentFile(dialog.ChosenPath());
    }
}

void CEditorApp::OnPrintSetup() {
    QPageSetupDialog dialog(&Printer(), m_mainFrame);
    dialog.exec();
}

void CEditorApp::OnExit() {
    m_mainFrame->close();
}

void CEditorApp::OnHelp() {
    const std::string path = OwnHelpPath(DataFolder());
    if (!FileExists(path)) {
        m_host->MessageBox("Tovin's help pages were not found at \"" + path + "\".", kCaption,
                           EMsgButtons::Ok, EMsgIcon::Warning);
        return;
    }
    OpenWithDesktopOrSay(*m_host, path);
}

void CEditorApp::OnAbout() {
    CAboutDialog dialog([this](const std::string& url) { OpenWithDesktopOrSay(*m_host, url); },
                        m_mainFrame);
    dialog.exec();
}

void CEditorApp::OnViewLineNumbers() {
    m_editorAids->SetLineNumbers(!m_editorAids->LineNumbers());
    (void)WriteLineNumbers(*m_store,
                           m_editorAids->LineNumbers()); // write failures are not reported
}

void CEditorApp::OnRunApplet() {
    if (!m_currentProject) {
        return;
    }
    const CJavaProjectDoc& project = m_currentProject->Project();
    if (project.GetMainHtmlFile().empty()) {
        return;
    }
    const std::string page = project.GetFreeFilePath(project.GetMainHtmlFile());
    if (page.empty()) {
        m_host->MessageBox("Unable to open the HTML file.", kCaption, EMsgButtons::Ok,
                           EMsgIcon::Warning);
        return;
    }
    m_currentProject->RunApplet(page);
}

} // namespace tovin
