#include "gui/app/EditorApp.h"

#include "gui/app/AppDebugger.h"
#include "gui/app/DocumentTypes.h"
#include "gui/desktop/Icons.h"
#include "gui/framework/CommandIds.h"

#include "core/app/SettingsKeys.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/process/ProcessRunner.h"
#include "core/project/ErrorNavigation.h"
#include "core/project/JavaProjectDoc.h"
#include "core/project/ToolLocator.h"
#include "gui/app/AppUiHost.h"
#include "gui/app/ChildFrame.h"
#include "gui/app/EditorWindows.h"
#include "gui/app/JavaChecks.h"
#include "gui/app/MainFrame.h"
#include "gui/app/WebFrame.h"
#include "gui/desktop/DesktopRequests.h"
#include "gui/desktop/HelpLocations.h"
#include "gui/desktop/InstanceChannel.h"
#include "gui/editor/EditorAids.h"
#include "gui/editor/EditorDocument.h"
#include "gui/editor/SourceDocument.h"
#include "gui/framework/RecentFileList.h"
#include "gui/process/ProcessBar.h"
#include "gui/process/ProcessWindow.h"
#include "gui/project/ProjectDocument.h"
#include "gui/project/ProjectFormView.h"
#include "gui/project/ProjectFrame.h"
#include "gui/testing/TestResultsWindow.h"
#include "gui/testing/TestSession.h"
#include "settings/IniSettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <utility>

namespace tovin {

namespace {

constexpr const char* kCaption = "Tovin";
// The main window's place and size beside WINDOWSTATE, which only says whether it was
// maximised: Qt's own encoding of the geometry, in base64.
constexpr const char* kKeyWindowGeometry = "WINDOWGEOMETRY";

std::string AbsolutePath(const std::string& path) {
    return QDir::cleanPath(QFileInfo(QString::fromStdString(path)).absoluteFilePath())
        .toStdString();
}

} // namespace

CEditorApp::CEditorApp(const std::string& settingsFile, CUiHost* host)
    : m_store(settingsFile.empty() ? std::make_unique<CIniSettingsStore>()
                                   : std::make_unique<CIniSettingsStore>(settingsFile)),
      m_ownHost(host ? nullptr : std::make_unique<CAppUiHost>(*this)),
      m_host(host ? host : m_ownHost.get()), m_editorAids(std::make_unique<CEditorAids>(true)),
      m_javaChecks(new CJavaChecks(*this)), m_debugger(new CAppDebugger(*this)) {
    RegisterCommands();
    m_debugger->RegisterCommands(CommandMap());
}

CEditorApp::~CEditorApp() {
    // The servers go first: the windows closing below tell them nothing more.
    delete std::exchange(m_javaChecks, nullptr);
    delete std::exchange(m_mainFrame, nullptr);
    // Documents refer to their types, which go with this object's members.
    qDeleteAll(findChildren<CDocument*>(Qt::FindDirectChildrenOnly));
}

bool CEditorApp::Start(const std::vector<std::string>& files) {
    m_applicationFolder = tovin::ApplicationFolder();
    QCoreApplication::setOrganizationName(QStringLiteral("Verrimond"));
    QCoreApplication::setApplicationName(QStringLiteral("Tovin"));
    m_recentFiles = std::make_unique<CRecentFileList>(*m_store);
    m_settings = LoadSettings(*m_store);
    m_editorAids->SetLineNumbers(ReadLineNumbers(*m_store));
    RegisterDocumentTypes();
    CreateMainFrame();
    for (const std::string& file : files) {
        if (!OpenDocumentFile(file)) {
            return false;
        }
    }
    const std::string geometry = m_store->GetString(kSectionSettings, kKeyWindowGeometry, {});
    if (!geometry.empty()) {
        m_mainFrame->restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(geometry)));
    }
    if (ReadWindowState(*m_store) != 0) {
        m_mainFrame->showMaximized();
    } else {
        m_mainFrame->show();
    }
    if (m_settings.loadLast == 1 && !m_settings.lastOpen.empty()) {
        OpenDocumentFile(m_settings.lastOpen);
    }
    if (files.empty() && m_startupTip) {
        m_startupTip();
    }
    return true;
}

void CEditorApp::RegisterDocumentTypes() {
    for (const SDocumentTypeRow& row : DocumentTypeRows()) {
        const bool project = row.documentKind == EDocumentKind::Project;
        const bool javaSource = row.documentKind == EDocumentKind::JavaSource;
        auto createDocument = [this, project](CDocTemplate& docTemplate) -> CDocument* {
            if (project) {
                return new CProjectDocument(*this, docTemplate, this);
            }
            return CreateEditorDocument(*this, docTemplate);
        };
        auto createFrame = [this, project, javaSource](CDocument& document) -> CDocumentFrame* {
            if (javaSource) {
                return new CChildFrame(document, m_settings.showDrops != 0);
            }
            if (project) {
                return new CProjectFrame(document);
            }
            return new CWebFrame(document);
        };
        auto createView = [this, project](CDocument& document, QWidget* parent) -> QWidget* {
            if (project) {
                return new CProjectFormView(static_cast<CProjectDocument&>(document), parent);
            }
            return CreateEditorView(*this, document, parent);
        };
        m_templates.Add(std::make_unique<CDocTemplate>(
            *SDocTypeStrings::Parse(row.resourceString), row.documentKind,
            OwnIcon(QLatin1String(row.iconName)), createDocument, createFrame, createView));
    }
}

void CEditorApp::CreateMainFrame() {
    m_mainFrame = new CMainFrame;
    m_mainFrame->SetApplicationTarget(this);
    m_debugger->AttachMainFrame(*m_mainFrame);
    m_mainFrame->SetCloseHandler([this] { return OnMainFrameClose(); });
    m_mainFrame->SetRecentFiles([this] { return m_recentFiles->Entries(); },
                                [this](int index) { OpenRecentFile(index); });
    m_mainFrame->UpdateCommandUi();
}

QPrinter& CEditorApp::Printer() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Half an inch on every side, as the editors have always printed.
        m_printer->setPageMargins(QMarginsF(12.7, 12.7, 12.7, 12.7), QPageLayout::Millimeter);
    }
    return *m_printer;
}

CProcessWindow* CEditorApp::ProcessWindow() {
    QDockWidget* dock = m_mainFrame->ProcessDock();
    auto* window = qobject_cast<CProcessWindow*>(dock->widget());
    if (window) {
        return window;
    }
    window = new CProcessWindow(m_settings, *m_store, *m_host, dock);
    window->StatusField()->setText(QString::fromStdString(m_processCaption));
    dock->setWidget(window);
    new CProcessBar(*dock, *window, m_settings, *m_store);
    connect(window, &CProcessWindow::statusTextChanged, m_mainFrame,
            [this](const QString& text) { m_mainFrame->SetPaneText(0, text); });
    // The compiler's runs mark their messages in the source windows.
    m_editorAids->FollowCompiles(*window, [this](const CProcessRunner& runner) {
        return runner.GetApplicationPath() == CToolLocator(m_settings).GetJavacPath();
    });
    // A message line leads into the project that is open when it is double-clicked.
    connect(window, &CProcessWindow::messageLineActivated, this, [this](const QString& line) {
        if (m_currentProject) {
            NavigateToMessage(m_currentProject->Project(), line.toStdString());
        }
    });
    return window;
}

CTestSession& CEditorApp::TestSession() {
    if (m_testSession) {
        return *m_testSession;
    }
    auto* dock = new QDockWidget(QStringLiteral("Test Results"), m_mainFrame);
    dock->setObjectName(QStringLiteral("TestResultsDock"));
    dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea |
                          Qt::BottomDockWidgetArea);
    m_testResults = new CTestResultsWindow(dock);
    dock->setWidget(m_testResults);
    m_mainFrame->addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->hide();
    CTestSession::SHooks hooks;
    hooks.project = [this]() -> CJavaProjectDoc* {
        return m_currentProject ? &m_currentProject->Project() : nullptr;
    };
    hooks.processWindow = [this] { return ProcessWindow(); };
    hooks.showResults = [dock] {
        dock->show();
        dock->raise();
    };
    m_testSession = new CTestSession(*m_host, *m_testResults, std::move(hooks), this);
    return *m_testSession;
}

void CEditorApp::OnRunTestsOfFile(const std::string& path) {
    TestSession().RunTests({path});
}

void CEditorApp::SetCurrentProject(CProjectDocument* project) {
    m_currentProject = project;
    if (project) {
        connect(project, &CProjectDocument::RunTestsRequested, this, &CEditorApp::OnRunTestsOfFile,
                Qt::UniqueConnection);
    }
    if (m_mainFrame) {
        m_mainFrame->UpdateCommandUi();
    }
    if (m_javaChecks) {
        m_javaChecks->ProjectChanged();
    }
}

QDockWidget* CEditorApp::ProjectDock() {
    return m_mainFrame ? m_mainFrame->ProjectDock() : nullptr;
}

bool CEditorApp::HasProjectDock() const {
    return m_mainFrame && m_mainFrame->HasProjectDock();
}

QWidget* CEditorApp::MainWindow() const {
    return m_mainFrame;
}

void CEditorApp::SetStatusText(const std::string& text) {
    if (m_mainFrame) {
        m_mainFrame->SetPaneText(0, QString::fromStdString(text));
    }
}

void CEditorApp::OnProjectClosed(const std::string& path) {
    m_debugger->ProjectClosed(path);
    AddRecentProject(m_settings, path);
    (void)SaveLastProject(m_settings, *m_store, path); // write failures are not reported
}

CDocument* CEditorApp::OpenDocumentFile(const std::string& path) {
    return OpenDocumentFile(path, nullptr);
}

CDocument* CEditorApp::OpenDocumentFile(const std::string& path, bool* declined) {
    if (declined) {
        *declined = false;
    }
    if (path.empty()) {
        return nullptr;
    }
    const std::string full = AbsolutePath(path);
    CDocTemplate* docTemplate = m_templates.TemplateForPath(full);
    if (!docTemplate) {
        return nullptr;
    }
    // A project file in any case ("P.JPR") replaces the open project: never two at once.
    if (docTemplate->DocumentKind() == EDocumentKind::Project) {
        // A damaged project file must not cost the user the project that is open: it is read
        // and checked before the open one closes.
        // The project that is open is only brought forward; the caller has its document.
        if (m_currentProject && m_currentProject->PathName() == full) {
            m_currentProject->ActivateFirstFrame();
            return m_currentProject;
        }
        CJavaProjectDoc probe(m_settings, *m_host);
        if (std::string error = probe.Load(full); !error.empty()) {
            m_host->MessageBox(error, kCaption, EMsgButtons::Ok, EMsgIcon::Error);
            return nullptr;
        }
        if (!CloseCurrentProject(&full)) {
            if (declined) {
                *declined = true;
            }
            return nullptr;
        }
    }
    if (CDocument* open = m_templates.FindOpenDocument(full)) {
        open->ActivateFirstFrame();
        return open;
    }
    CDocument* document = docTemplate->CreateDocument();
    if (!document->OnOpenDocument(full)) {
        delete document;
        return nullptr;
    }
    docTemplate->AddDocument(document);
    document->SetPathName(full);
    document->NewFrame();
    return document;
}

bool CEditorApp::CloseCurrentProject(const std::string* path) {
    CProjectDocument* project = m_currentProject;
    if (!project) {
        return true;
    }
    if (path && *path == project->PathName()) {
        project->ActivateFirstFrame();
        return false;
    }
    // No frame: the whole project closes, however many windows show it, so it always asks
    // and saves.
    if (!project->CanCloseFrame(nullptr)) {
        return false;
    }
    project->OnCloseDocument();
    return true;
}

bool CEditorApp::CreateNewDocumentOfType(const std::string& documentName) {
    CDocTemplate* docTemplate = m_templates.FindByDocumentName(documentName);
    if (!docTemplate) {
        return false;
    }
    // One project at a time: a new one replaces the open one, if the user lets it go.
    if (docTemplate->DocumentKind() == EDocumentKind::Project && !CloseCurrentProject()) {
        return false;
    }
    CDocument* document = docTemplate->CreateDocument();
    if (!document->OnNewDocument()) {
        delete document;
        return false;
    }
    docTemplate->AddDocument(document);
    document->NewFrame();
    return true;
}

void CEditorApp::SaveAll() {
    for (const auto& docTemplate : m_templates.Templates()) {
        const std::vector<CDocument*> documents = docTemplate->Documents();
        for (CDocument* document : documents) {
            if (!document->SaveModified()) {
                break; // a Cancel ends this type; the next type is still visited
            }
        }
    }
}

bool CEditorApp::SaveModifiedFiles() {
    for (CDocument* document : m_templates.AllDocuments()) {
        const std::string path = document->PathName();
        if (path.empty() || !document->IsModified()) {
            continue;
        }
        // Saving under another name would need a question; the compile waits for the user.
        if (IsReadOnlyFile(path)) {
            m_host->MessageBox("Cannot save \"" + path +
                                   "\": the file is read-only. Save it under another name, "
                                   "then compile again.",
                               kCaption, EMsgButtons::Ok, EMsgIcon::Error);
            return false;
        }
        if (!document->DoSave(path)) {
            return false; // the document has said why
        }
    }
    return true;
}

void CEditorApp::CloseAllSourceWindows() {
    CDocTemplate* java = m_templates.FindByDocumentName("JavaDocument");
    const std::vector<CDocument*> documents = java->Documents();
    for (CDocument* document : documents) {
        if (document->SaveModified()) {
            document->OnCloseDocument();
        }
    }
}

void CEditorApp::DocumentCreated(CDocument& document) {
    // A new file is saved beside the open project, a Java one under its class's name, as the
    // compiler wants it.
    document.SetSaveProposal([this, &document] {
        CDocument::SSaveProposal proposal;
        if (m_currentProject && !m_currentProject->PathName().empty() &&
            m_currentProject != &document) {
            proposal.folder = GetFolder(m_currentProject->PathName());
        }
        if (auto* editor = qobject_cast<CEditorDocument*>(&document);
            editor && document.Kind() == EDocumentKind::JavaSource) {
            proposal.name = JavaFileNameFor(editor->Source().Text());
        }
        return proposal;
    });
    CCommandMap& map = document.CommandMap();
    map.OnCommand(ECommand::FileClose, [&document] {
        if (document.SaveModified()) {
            document.OnCloseDocument();
        }
    });
    map.OnCommand(ECommand::FileSave, [&document] { document.DoFileSave(); });
    map.OnCommand(ECommand::FileSaveAs, [&document] { document.DoSave({}); });
}

void CEditorApp::AddDocumentFrame(CDocumentFrame* frame) {
    m_mainFrame->AddDocumentFrame(frame);
}

void CEditorApp::ActivateDocumentFrame(CDocumentFrame* frame) {
    m_mainFrame->ActivateDocumentFrame(frame);
}

void CEditorApp::AddToRecentFileList(const std::string& path) {
    if (m_recentFiles) {
        m_recentFiles->Add(path);
    }
}

void CEditorApp::OpenRecentFile(int index) {
    const std::vector<std::string>& entries = m_recentFiles->Entries();
    if (index < 0 || index >= static_cast<int>(entries.size())) {
        return;
    }
    const std::string path = entries[static_cast<size_t>(index)];
    // Only a file that is gone leaves the list; a project the user chose not to close stays.
    bool declined = false;
    if (!OpenDocumentFile(path, &declined) && !declined && !FileExists(path)) {
        m_recentFiles->Remove(index);
    }
}

bool CEditorApp::OnMainFrameClose() {
    m_store->SetString(kSectionSettings, kKeyWindowGeometry,
                       m_mainFrame->saveGeometry().toBase64().toStdString());
    (void)WriteWindowState(*m_store, m_mainFrame->isMaximized());
    if (!m_currentProject) {
        (void)SaveLastProject(m_settings, *m_store, {});
    }
    if (!SaveAllModified()) {
        return false;
    }
    CloseAllDocuments();
    return true;
}

bool CEditorApp::SaveAllModified() {
    for (CDocument* document : m_templates.AllDocuments()) {
        if (!document->SaveModified()) {
            return false;
        }
    }
    return true;
}

void CEditorApp::CloseAllDocuments() {
    for (CDocument* document : m_templates.AllDocuments()) {
        document->OnCloseDocument();
    }
}

void CEditorApp::AcceptHandOver(CInstanceChannel& channel) {
    connect(&channel, &CInstanceChannel::FilesReceived, this, &CEditorApp::OpenHandedOver);
}

void CEditorApp::OpenHandedOver(const QStringList& files) {
    for (const QString& file : files) {
        bool declined = false;
        // Each file that fails has said why; a question answered with Cancel ends the request.
        if (!OpenDocumentFile(file.toStdString(), &declined) && declined) {
            break;
        }
    }
    if (m_mainFrame) {
        m_mainFrame->raise();
        m_mainFrame->activateWindow();
    }
}

void CEditorApp::OpenJdkHelp(const std::string& keyword) {
    const std::string& helpPath = m_settings.helpPath;
    if (helpPath.empty() || !FileExists(helpPath)) {
        m_host->MessageBox(
            "The JDK documentation was not found" +
                (helpPath.empty() ? std::string() : " at \"" + helpPath + "\"") +
                ". Install the package openjdk-17-doc, or choose the documentation's index.html "
                "as the help file in Preferences.",
            kCaption, EMsgButtons::Ok, EMsgIcon::Warning);
        return;
    }
    OpenWithDesktopOrSay(*m_host, JdkHelpAddress(helpPath, keyword));
}

} // namespace tovin
