#include "gui/app/JavaChecks.h"

#include "core/platform/Paths.h"
#include "core/project/EngineCommand.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/app/AppCodeAssist.h"
#include "gui/app/EditorApp.h"
#include "gui/app/MainFrame.h"
#include "gui/editor/EditorAids.h"
#include "gui/editor/SourceDocument.h"
#include "gui/editor/SourceView.h"
#include "gui/project/ProjectDocument.h"

#include <algorithm>

namespace tovin {

CJavaChecks::CJavaChecks(CEditorApp& app) : QObject(&app), m_app(app) {}

// The clients go first: no answer of theirs reaches a document being taken down.
CJavaChecks::~CJavaChecks() {
    m_projectClient.reset();
    m_looseClient.reset();
}

std::vector<CLanguageClient*> CJavaChecks::Clients() const {
    std::vector<CLanguageClient*> clients;
    for (const auto* client : {m_projectClient.get(), m_looseClient.get()}) {
        if (client) {
            clients.push_back(const_cast<CLanguageClient*>(client));
        }
    }
    return clients;
}

std::unique_ptr<CLanguageClient> CJavaChecks::MakeClient(bool forProject) {
    CProjectDocument* project = forProject ? m_app.CurrentProject() : nullptr;
    if (project) {
        // A moved or copied project is checked where its files are now, as Build finds them.
        project->Project().RebaseEntries();
    }
    const SEngineCommand command = ComposeEngineCommand(
        m_app.Settings(), project ? &project->Project() : nullptr, CacheFolder());
    if (!command.error.empty()) {
        if (!m_unavailable) {
            m_unavailable = true;
            ShowNote(QString::fromStdString(command.error) +
                     tr("; Java files are checked when they are built."));
        }
        return nullptr;
    }
    SServerCommand server;
    server.program = QString::fromStdString(command.program);
    server.publishesEveryChange = m_app.Settings().languageServer.empty();
    for (const std::string& argument : command.arguments) {
        server.arguments << QString::fromStdString(argument);
    }
    if (project && !project->Project().GetPath().empty()) {
        server.rootPath = QString::fromStdString(GetFolder(project->Project().GetPath()));
        server.folder = server.rootPath;
    }
    auto client = std::make_unique<CLanguageClient>(server);
    CLanguageClient* raw = client.get();
    connect(raw, &CLanguageClient::Note, this, &CJavaChecks::ShowNote);
    connect(&raw->Model(), &CDiagnosticsModel::DiagnosticsChanged, this,
            [this, raw](const QString& path) { ShowDiagnostics(*raw, path); });
    connect(&raw->Model(), &CDiagnosticsModel::CheckingChanged, this, &CJavaChecks::UpdateStatus);
    connect(raw, &CLanguageClient::CheckEnded, this, [this] {
        m_checked = true;
        UpdateStatus();
    });
    connect(raw, &CLanguageClient::Finished, this, &CJavaChecks::UpdateStatus);
    client->Start();
    return client;
}

CLanguageClient* CJavaChecks::ClientFor(const std::string& path) {
    CProjectDocument* project = m_app.CurrentProject();
    CLanguageClient* client = nullptr;
    if (project && project->Project().JavaFiles().FindByFullPath(path)) {
        if (!m_projectClient || m_projectPath != project->Project().GetPath()) {
            m_projectPath = project->Project().GetPath();
            m_projectClient = MakeClient(true);
        }
        client = m_projectClient.get();
    } else {
        if (!m_looseClient) {
            m_looseClient = MakeClient(false);
        }
        client = m_looseClient.get();
    }
    return client && client->State() != CLanguageClient::EState::Off ? client : nullptr;
}

void CJavaChecks::AddView(CSourceView& view) {
    CSourceDocument& document = view.Document();
    // The JDK's own sources are shown for reading: checked alone they are full of errors that
    // are none (they belong to a module the compiler builds only as a whole).
    if (document.Kind() != EDocumentKind::JavaSource || document.FirstView() != &view ||
        IsJdkSourceFile(document.PathName())) {
        return;
    }
    auto owned = std::make_unique<STracked>();
    STracked* tracked = owned.get();
    tracked->document = &document;
    tracked->timer = new QTimer(this);
    tracked->timer->setSingleShot(true);
    tracked->timer->setInterval(m_app.Settings().checkDelay);
    m_tracked.push_back(std::move(owned));
    connect(tracked->timer, &QTimer::timeout, this, [this, tracked] { SendText(*tracked); });
    // A key costs a timer's restart; the text goes out once typing pauses. The views report
    // only the moments before a change (see CScintillaEdit), which is as good.
    connect(&view, &QsciScintillaBase::SCN_MODIFIED, tracked->timer,
            [tracked](int, int type, const char*, int, int, int, int, int, int, int) {
                constexpr int kTextChanges = QsciScintillaBase::SC_MOD_BEFOREINSERT |
                                             QsciScintillaBase::SC_MOD_BEFOREDELETE |
                                             QsciScintillaBase::SC_MOD_INSERTTEXT |
                                             QsciScintillaBase::SC_MOD_DELETETEXT;
                if (type & kTextChanges) {
                    tracked->timer->start();
                }
            });
    connect(&document, &CSourceDocument::ModifiedChanged, this, [this, tracked](bool modified) {
        if (modified || !tracked->document) {
            return;
        }
        SendText(*tracked); // a Save As names another file
        if (tracked->client) {
            tracked->client->SaveDocument(tracked->path);
        }
    });
    connect(&document, &QObject::destroyed, this, [this, tracked] {
        if (tracked->client) {
            tracked->client->CloseDocument(tracked->path);
        }
        delete tracked->timer;
        std::erase_if(m_tracked, [tracked](const auto& entry) { return entry.get() == tracked; });
    });
    Reassign(*tracked);
}

void CJavaChecks::SendText(STracked& tracked) {
    if (!tracked.document || tracked.document->PathName().empty()) {
        return;
    }
    const QString path =
        CLanguageClient::NormalPath(QString::fromStdString(tracked.document->PathName()));
    if (path != tracked.path || !tracked.client) {
        Reassign(tracked);
        return;
    }
    tracked.client->ChangeDocument(path, QString::fromStdString(tracked.document->Text()));
}

// The document goes to the server its file belongs to now, opened there with its current text.
void CJavaChecks::Reassign(STracked& tracked) {
    if (!tracked.document || tracked.document->PathName().empty()) {
        return;
    }
    if (tracked.client) {
        tracked.client->CloseDocument(tracked.path);
    }
    m_app.EditorAids().ShowDiagnostics(*tracked.document, {});
    tracked.path =
        CLanguageClient::NormalPath(QString::fromStdString(tracked.document->PathName()));
    tracked.client = ClientFor(tracked.document->PathName());
    if (tracked.client && tracked.client->OpenDocument(
                              tracked.path, QString::fromStdString(tracked.document->Text()))) {
        ShowDiagnostics(*tracked.client, tracked.path);
    }
}

CJavaChecks::STracked* CJavaChecks::Tracked(const CSourceDocument& document) const {
    for (const auto& tracked : m_tracked) {
        if (tracked->document == &document) {
            return tracked.get();
        }
    }
    return nullptr;
}

bool CJavaChecks::EngineUp(const CSourceDocument& document) const {
    const STracked* tracked = Tracked(document);
    return tracked && tracked->client &&
           tracked->client->State() == CLanguageClient::EState::Ready &&
           tracked->client->IsOpen(tracked->path);
}

CLanguageClient* CJavaChecks::ClientWithText(const CSourceDocument& document) {
    STracked* tracked = Tracked(document);
    if (!tracked) {
        return nullptr;
    }
    tracked->timer->stop();
    SendText(*tracked);
    return EngineUp(document) ? tracked->client.data() : nullptr;
}

void CJavaChecks::ProjectChanged() {
    // The project document tells of itself before it has read its file.
    QTimer::singleShot(0, this, [this] {
        CProjectDocument* project = m_app.CurrentProject();
        if (!project) {
            m_projectClient.reset();
            m_projectPath.clear();
        } else if (!m_projectClient || m_projectPath != project->Project().GetPath()) {
            m_projectPath = project->Project().GetPath();
            // Its server checks every file of the project from the start.
            m_projectClient = MakeClient(true);
        }
        for (const auto& tracked : m_tracked) {
            if (tracked->document && !tracked->document->PathName().empty() &&
                ClientFor(tracked->document->PathName()) != tracked->client) {
                Reassign(*tracked);
            }
        }
        UpdateStatus();
    });
}

void CJavaChecks::ShowDiagnostics(CLanguageClient& client, const QString& path) {
    for (const auto& tracked : m_tracked) {
        if (tracked->document && tracked->client == &client && tracked->path == path) {
            m_app.EditorAids().ShowDiagnostics(*tracked->document,
                                               client.Model().Diagnostics(path));
        }
    }
}

void CJavaChecks::UpdateStatus() {
    CMainFrame* frame = m_app.MainFrame();
    if (!frame) {
        return;
    }
    bool checking = false;
    bool off = false;
    int errors = 0;
    int warnings = 0;
    for (CLanguageClient* client : Clients()) {
        checking = checking || client->Model().Checking();
        off = off || client->State() == CLanguageClient::EState::Off;
        errors += client->Model().Count(SDiagnostic::Error);
        warnings += client->Model().Count(SDiagnostic::Warning);
    }
    QString text;
    if (checking) {
        text = tr("Checking…");
    } else if (off) {
        text = tr("Checks off");
    } else if (m_checked) {
        text = QString("%1 %2, %3 %4")
                   .arg(errors)
                   .arg(errors == 1 ? tr("error") : tr("errors"))
                   .arg(warnings)
                   .arg(warnings == 1 ? tr("warning") : tr("warnings"));
    }
    frame->SetPaneText(CMainFrame::kCheckPane, text);
}

void CJavaChecks::ShowNote(const QString& text) {
    if (CMainFrame* frame = m_app.MainFrame()) {
        frame->SetPaneText(0, text);
    }
}

} // namespace tovin
