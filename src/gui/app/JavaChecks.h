#pragma once
// Checking while typing: the Java source windows' documents are handed to a language server
// (one for the open project, one for files outside it), each change a pause in typing after
// the last key, and what the servers answer is marked in the editors and counted in the status
// bar. Nothing here waits for a server.
//
// Without a JDK the engine can run on (and no server of the user's), the checks are off and the
// status bar says why, once; a server that fails twice turns itself off with its own note.

#include "language/LanguageClient.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

namespace tovin {

class CEditorApp;
class CSourceDocument;
class CSourceView;

class CJavaChecks : public QObject {
    Q_OBJECT
public:
    explicit CJavaChecks(CEditorApp& app);
    ~CJavaChecks() override;

    // A Java source view after its first display; its document is checked from now on.
    void AddView(CSourceView& view);
    // The open project changed (opened, closed, another one): its files move to its server.
    void ProjectChanged();

    // The client that has the document, with its text as it is now (sent at once rather than
    // after the pause), when that client is up; else null. For requests about the text.
    CLanguageClient* ClientWithText(const CSourceDocument& document);
    // Whether the document's client is up (sends nothing).
    bool EngineUp(const CSourceDocument& document) const;

    // The clients now running (tests watch them).
    std::vector<CLanguageClient*> Clients() const;

private:
    struct STracked {
        QPointer<CSourceDocument> document;
        QString path;
        QPointer<CLanguageClient> client;
        QTimer* timer = nullptr;
    };

    CLanguageClient* ClientFor(const std::string& path);
    STracked* Tracked(const CSourceDocument& document) const;
    std::unique_ptr<CLanguageClient> MakeClient(bool forProject);
    void SendText(STracked& tracked);
    void Reassign(STracked& tracked);
    void ShowDiagnostics(CLanguageClient& client, const QString& path);
    void UpdateStatus();
    void ShowNote(const QString& text);

    CEditorApp& m_app;
    std::unique_ptr<CLanguageClient> m_projectClient;
    std::string m_projectPath;
    std::unique_ptr<CLanguageClient> m_looseClient;
    std::vector<std::unique_ptr<STracked>> m_tracked;
    bool m_unavailable = false; // the command could not be composed; said once
    bool m_checked = false;     // a check has ended since the start
};

} // namespace tovin
