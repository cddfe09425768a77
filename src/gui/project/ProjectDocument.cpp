#include "gui/project/ProjectDocument.h"

#include "core/platform/Paths.h"
#include "core/process/ProcessRunner.h"
#include "core/project/AntCommands.h"
#include "core/project/DocCommands.h"
#include "core/project/FindInFiles.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/framework/CommandIds.h"
#include "gui/process/FindInFilesDialog.h"
#include "gui/project/ProjectHost.h"
#include "gui/project/ProjectTree.h"

#include <QApplication>
#include <QDockWidget>

namespace tovin {

CProjectDocument::CProjectDocument(CProjectHost& host, CDocTemplate& docTemplate, QObject* parent)
    : CDocument(host, docTemplate, parent), m_host(host),
      m_project(std::make_unique<CJavaProjectDoc>(host.Settings(), host.Host())) {
    m_project->SetRefreshCallback([this] { RefreshViews(); });
    // Every change of the project, by whatever window, shows in its frames' titles.
    m_project->SetModifiedCallback([this](bool modified) { CDocument::SetModified(modified); });
    m_project->SetPendingEditsCallback([this] { emit ApplyingPendingEdits(); });
    m_project->SetNoticeCallback([this](const std::string& text) { m_host.SetStatusText(text); });
    m_project->SetClosedCallback([this](const std::string& path) { m_host.OnProjectClosed(path); });
    // The Arguments dialog offers what was typed last time (LASTLAUNCH).
    m_project->SetSettingsStore(&host.Store());
    host.SetCurrentProject(this);
    RegisterCommands();
}

CProjectDocument::~CProjectDocument() {
    delete m_findDialog;
    if (m_host.CurrentProject() == this) {
        m_host.SetCurrentProject(nullptr);
    }
}

bool CProjectDocument::IsModified() const {
    return m_project->IsModified();
}

void CProjectDocument::SetModified(bool modified) {
    m_project->SetModifiedFlag(modified);
    CDocument::SetModified(modified);
}

bool CProjectDocument::OnNewDocument() {
    CDocument::OnNewDocument();
    m_project->SetTitle(Title().toStdString());
    return true;
}

bool CProjectDocument::OnOpenDocument(const std::string& path) {
    std::string error = m_project->Load(path);
    if (!error.empty()) {
        ReportError(error);
        return false;
    }
    return true;
}

bool CProjectDocument::OnSaveDocument(const std::string& path) {
    std::string error = m_project->Save(path);
    if (!error.empty()) {
        ReportError(error);
        return false;
    }
    return true;
}

bool CProjectDocument::SaveModified() {
    bool result = m_project->SaveModified();
    SyncPathFromProject();
    return result;
}

bool CProjectDocument::CanCloseFrame(CDocumentFrame* frame) {
    // A second window on the project closes without closing the project; what was typed in
    // the closing one is kept.
    for (CDocumentFrame* other : Frames()) {
        if (frame && other != frame) {
            m_project->ApplyPendingEdits();
            return true;
        }
    }
    bool result = m_project->CanCloseFrame();
    SyncPathFromProject();
    return result;
}

void CProjectDocument::OnCloseDocument() {
    if (m_closed) {
        return;
    }
    m_closed = true;
    m_project->OnCloseDocument();
    if (m_projectWindowCreated && m_host.HasProjectDock() && m_host.ProjectDock()->isVisible()) {
        m_host.ProjectDock()->hide();
    }
    // The tree may be where the closing began (an item opened from its context menu or with
    // Enter ended in another project): it goes once that command has returned.
    if (m_tree) {
        m_tree->hide();
        m_tree->deleteLater();
    }
    if (m_host.CurrentProject() == this) {
        m_host.SetCurrentProject(nullptr);
    }
    CDocument::OnCloseDocument();
}

// The core may have chosen a file name itself (saving a never-saved or read-only project).
void CProjectDocument::SyncPathFromProject() {
    if (m_project->GetPath() != PathName() && !m_project->GetPath().empty()) {
        SetPathName(m_project->GetPath());
    }
    CDocument::SetModified(m_project->IsModified());
}

void CProjectDocument::RefreshViews() {
    emit Refreshed();
    if (m_projectWindowCreated) {
        FillProjectWindow();
    }
}

void CProjectDocument::OnProjectWindow() {
    QDockWidget* dock = m_host.ProjectDock();
    if (!m_projectWindowCreated) {
        // A new project gets its name only when first saved, and a changed project shows an
        // asterisk, as its frame does: the caption follows both.
        auto caption = [this, dock] {
            dock->setWindowTitle(Title() + (IsModified() ? QStringLiteral("*") : QString()));
        };
        caption();
        connect(this, &CDocument::TitleChanged, dock, caption);
        connect(this, &CDocument::ModifiedChanged, dock, caption);
        m_projectWindowCreated = true;
        FillProjectWindow();
        dock->show();
        return;
    }
    QWidget* focus = QApplication::focusWidget();
    const bool focused = focus && (dock == focus || dock->isAncestorOf(focus));
    if (dock->isHidden()) {
        dock->show();
        dock->widget()->setFocus();
    } else if (focused) {
        dock->hide();
    } else {
        dock->raise();
        dock->widget()->setFocus();
    }
}

CProjectTree* CProjectDocument::ProjectTree() const {
    return m_tree;
}

void CProjectDocument::FillProjectWindow() {
    if (!m_tree) {
        QDockWidget* dock = m_host.ProjectDock();
        if (QWidget* previous = dock->widget()) {
            previous->hide();
            previous->deleteLater();
        }
        m_tree = new CProjectTree(*m_project, dock);
        connect(m_tree, &CProjectTree::RunAppletRequested, this,
                [this](const std::string& page) { RunApplet(page); });
        connect(m_tree, &CProjectTree::RunWithJdbRequested, this, [this] { OnRunWithJdb(); });
        connect(m_tree, &CProjectTree::RunTestsRequested, this,
                &CProjectDocument::RunTestsRequested);
        dock->setWidget(m_tree);
    }
    m_tree->Fill();
}

void CProjectDocument::RegisterCommands() {
    CCommandMap& map = CommandMap();
    // Enabled whenever the command would find a main file, chosen or stored.
    auto mainFile = [this] { return !m_project->ChooseMainFile().empty(); };
    auto mainFileAndIdle = [mainFile] { return mainFile() && !CProcessRunner::IsProcessRunning(); };
    map.OnCommand(ECommand::ProjectWindow, [this] { OnProjectWindow(); });
    map.OnCommand(ECommand::Build, [this] { OnBuild(); });
    map.OnEnable(ECommand::Build, mainFileAndIdle);
    map.OnCommand(ECommand::RunWithConsole, [this] { OnRunWithConsole(); });
    // These open a terminal of their own, beside whatever runs in the Process Window.
    map.OnEnable(ECommand::RunWithConsole, mainFile);
    map.OnCommand(ECommand::RunWithJdb, [this] { OnRunWithJdb(); });
    map.OnEnable(ECommand::RunWithJdb, mainFile);
    map.OnCommand(ECommand::AddFiles, [this] { OnAddFiles(); });
    map.OnCommand(ECommand::AddHtmlFile, [this] { OnAddHtmlFile(); });
    map.OnCommand(ECommand::JarMainFolder, [this] { OnJarMainFolder(); });
    map.OnCommand(ECommand::JarAnyFolder, [this] { OnJarAnyFolder(); });
    map.OnCommand(ECommand::ShowArchiveContents, [this] { OnShowArchiveContents(); });
    map.OnCommand(ECommand::CompileFolder, [this] { OnCompileFolder(); });
    map.OnCommand(ECommand::CreateBatchFile, [this] { OnCreateBatchFile(); });
    map.OnCommand(ECommand::CreateShortcut, [this] { OnCreateShortcut(); });
    map.OnCommand(ECommand::JavadocProjectFiles, [this] { OnJavadocProjectFiles(); });
    map.OnCommand(ECommand::JavadocProjectPackages, [this] { OnJavadocProjectPackages(); });
    map.OnCommand(ECommand::SerialVer, [this] { OnSerialVer(); });
    map.OnCommand(ECommand::RunAnt, [this] { OnRunAnt(); });
    map.OnCommand(ECommand::CreateAntScript, [this] { OnCreateAntScript(); });
    map.OnCommand(ECommand::FindInFiles, [this] { OnFindInFiles(); });
    // Delete and F8 act on the file selected in the project window.
    map.OnCommand(ECommand::RemoveFromProject, [this] { m_tree->OnRemove(); });
    // Delete removes a file only while the tree, where the file is chosen, has the focus.
    map.OnEnable(ECommand::RemoveFromProject,
                 [this] { return !m_tree.isNull() && m_tree->HasKeyFocus(); });
    map.OnCommand(ECommand::SetMainClass, [this] { m_tree->OnSetAsMain(); });
    map.OnEnable(ECommand::SetMainClass, [this] { return !m_tree.isNull(); });
}

// The project's commands are the core's; Find in Files asks for its text first.
void CProjectDocument::OnAddFiles() {
    m_project->AddFilesCommand();
}

void CProjectDocument::OnAddHtmlFile() {
    m_project->AddAppletPageCommand();
}

void CProjectDocument::OnFindInFiles() {
    if (!m_findDialog) {
        m_findDialog = new CFindInFilesDialog(m_host.MainWindow());
    }
    if (const std::optional<SFindOptions> options = m_findDialog->Ask()) {
        FindInFiles(*m_project, *options, m_host.Host());
    }
}

void CProjectDocument::OnBuild() {
    m_project->Build();
}

void CProjectDocument::OnRunApplication() {
    m_project->Run(true);
}

void CProjectDocument::OnRunWithConsole() {
    m_project->Run(false);
}

void CProjectDocument::OnRunWithJdb() {
    m_project->RunWithJdb();
}

void CProjectDocument::RunApplet(const std::string& pagePath) {
    m_project->RunApplet(pagePath);
}

void CProjectDocument::OnCompileFolder() {
    m_project->CompileFolder();
}

void CProjectDocument::OnJarMainFolder() {
    m_project->JarMainFolder();
}

void CProjectDocument::OnJarAnyFolder() {
    m_project->JarAnyFolder();
}

void CProjectDocument::OnShowArchiveContents() {
    m_project->ShowArchiveContents();
}

void CProjectDocument::OnCreateBatchFile() {
    CreateBatchFile(*m_project);
}

void CProjectDocument::OnCreateShortcut() {
    CreateShortcut(*m_project);
}

void CProjectDocument::OnJavadocProjectFiles() {
    JavadocFiles(*m_project);
}

void CProjectDocument::OnJavadocProjectPackages() {
    JavadocPackages(*m_project);
}

void CProjectDocument::OnSerialVer() {
    RunSerialver(*m_project);
}

void CProjectDocument::OnRunAnt() {
    RunProjectAnt(*m_project);
}

void CProjectDocument::OnCreateAntScript() {
    CreateAntScript(*m_project);
}

} // namespace tovin
