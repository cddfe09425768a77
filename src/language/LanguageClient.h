#pragma once
// The client side of one language server: it owns the server's process and speaks the
// Language Server Protocol with it over its standard input and output.
//
// Contract:
//  - Nothing here blocks. Requests are answered through their handler, later, on the thread
//    that owns the client; an answer to a request that was cancelled is dropped, as is anything
//    the server sends that cannot be read (broken framing, bad JSON, an answer to no request):
//    such messages are logged and the connection carries on.
//  - Documents are kept here with their text and version. Until the server has answered
//    `initialize` nothing but that request is sent; the documents opened meanwhile are opened as
//    soon as it has. A change is sent as one ranged edit covering what differs from the text
//    last sent, so a key typed costs the server one small change, not the file.
//  - A server that exits, fails to start, breaks the framing beyond repair or leaves a request
//    unanswered for kAnswerTimeoutMs (hearing nothing else from it meanwhile) has failed, as has
//    one that owes a document's diagnostics that long when it promises them for every change. The
//    first failure restarts it, with every open document opened again; after the second its
//    features are off until the client is made again. Both are told through Note, as is a file
//    too large to be sent.
//  - Progress the server reports for checks drives the model's "checking" state.

#include "language/DiagnosticsModel.h"

#include "language/MessageFrames.h"

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <map>

namespace tovin {

struct SServerCommand {
    QString program;
    QStringList arguments;
    QString folder;   // the working folder; empty: the current one
    QString rootPath; // the project's folder, told to the server as its root; may be empty
    // The server answers every opened or changed document with its diagnostics (the built-in
    // engine does): one that falls silent while owing them has failed too.
    bool publishesEveryChange = false;
};

class CLanguageClient : public QObject {
    Q_OBJECT
public:
    // How long a request may stay unanswered while the server says nothing at all.
    static constexpr int kAnswerTimeoutMs = 10000;
    // Larger documents are not sent.
    static constexpr qint64 kMaxDocumentBytes = 2LL << 20;

    enum class EState { Idle, Starting, Ready, Off };

    // result is the answer's result; error is non-empty when the server answered with an error
    // (or the request was lost in a restart: code kLostRequest).
    using Handler = std::function<void(const QJsonValue& result, const QJsonObject& error)>;
    static constexpr int kLostRequest = -32097;

    explicit CLanguageClient(SServerCommand command, QObject* parent = nullptr);
    ~CLanguageClient() override;

    void Start();
    EState State() const { return m_state; }
    CDiagnosticsModel& Model() { return m_model; }
    void SetAnswerTimeout(int milliseconds) { m_answerTimeout.setInterval(milliseconds); }

    // Returns the request's id.
    int Request(const QString& method, const QJsonValue& params, Handler handler);
    // The handler is not called; the server is asked to stop working on the request.
    void Cancel(int id);
    void Notify(const QString& method, const QJsonValue& params);

    // Documents by their absolute path; the text with any line ends. False when the document is
    // too large to be sent (a note says so) or the features are off.
    bool OpenDocument(const QString& path, const QString& text,
                      const QString& languageId = QStringLiteral("java"));
    void ChangeDocument(const QString& path, const QString& text);
    void SaveDocument(const QString& path);
    void CloseDocument(const QString& path);
    bool IsOpen(const QString& path) const { return m_documents.contains(path); }

    // Asks the server to end (shutdown, then exit); Finished follows when it has.
    void Shutdown();

    static QString UriOf(const QString& path);
    static QString PathOf(const QString& uri);
    // The absolute, clean form of a path by which documents and diagnostics are known.
    static QString NormalPath(const QString& path);

signals:
    // A short text for the status bar (restarted, turned off, file too large, server's message).
    void Note(const QString& text);
    // The server has answered initialize: requests now go out.
    void Ready();
    // A check ended; the server's summary ("2 errors, 1 warning").
    void CheckEnded(const QString& summary);
    // The server ended after Shutdown, or the features went off.
    void Finished();

private:
    struct SDocument {
        QString languageId;
        QString text; // LF line ends, as last sent
        int version = 0;
    };

    void Send(const QJsonObject& message);
    void SendNow(const QJsonObject& message);
    void SendInitialize();
    void OnReadyRead();
    void OnMessage(const QByteArray& body);
    void OnAnswer(const QJsonObject& message);
    void OnServerRequest(const QJsonObject& message);
    void OnNotification(const QString& method, const QJsonObject& params);
    void OnProcessEnded();
    void Fail(const QString& why);
    void StopProcess();
    void SendDidOpen(const QString& path, const SDocument& document);
    void Owe(const QString& path, int version);
    void UpdateAnswerTimer();

    SServerCommand m_command;
    CDiagnosticsModel m_model;
    QPointer<QProcess> m_process;
    EState m_state = EState::Idle;
    int m_failures = 0;
    bool m_shuttingDown = false;
    CMessageFrames m_frames;
    int m_nextId = 1;
    std::map<int, Handler> m_pending;
    QSet<int> m_cancelled;
    QList<QJsonObject> m_queued; // sent once the server has answered initialize
    QHash<QString, SDocument> m_documents;
    QSet<QString> m_progressTokens;
    QHash<QString, int> m_owed; // documents whose diagnostics are due, with the version sent
    QTimer m_answerTimeout;
};

} // namespace tovin
