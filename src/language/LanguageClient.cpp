#include "language/LanguageClient.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QUrl>

#include <algorithm>

namespace tovin {

namespace {

Q_LOGGING_CATEGORY(lcLanguage, "tovin.language")

// Protocol names.
constexpr const char* kJsonRpc = "jsonrpc";
constexpr const char* kId = "id";
constexpr const char* kMethod = "method";
constexpr const char* kParams = "params";
constexpr const char* kResult = "result";
constexpr const char* kError = "error";
constexpr const char* kUri = "uri";
constexpr const char* kVersion = "version";
constexpr const char* kTextDocument = "textDocument";
constexpr const char* kInitialize = "initialize";
constexpr const char* kInitialized = "initialized";
constexpr const char* kShutdown = "shutdown";
constexpr const char* kExit = "exit";
constexpr const char* kCancelRequest = "$/cancelRequest";
constexpr const char* kProgress = "$/progress";
constexpr const char* kDidOpen = "textDocument/didOpen";
constexpr const char* kDidChange = "textDocument/didChange";
constexpr const char* kDidSave = "textDocument/didSave";
constexpr const char* kDidClose = "textDocument/didClose";
constexpr const char* kPublishDiagnostics = "textDocument/publishDiagnostics";
constexpr const char* kCreateProgress = "window/workDoneProgress/create";
constexpr const char* kShowMessage = "window/showMessage";
constexpr const char* kLogMessage = "window/logMessage";
constexpr int kMethodNotFound = -32601;
// A header block longer than this without its blank line is not a header.

QString Normalized(const QString& text) {
    QString lf = text;
    lf.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return lf;
}

// The protocol's position of a character offset: line and UTF-16 character in the line.
QJsonObject PositionAt(const QString& text, qsizetype offset) {
    const qsizetype lineStart = offset == 0 ? 0 : text.lastIndexOf('\n', offset - 1) + 1;
    const qsizetype line = QStringView(text).left(lineStart).count('\n');
    return {{"line", static_cast<int>(line)}, {"character", static_cast<int>(offset - lineStart)}};
}

qint64 Utf8Size(const QString& text) {
    // Three bytes at most per UTF-16 unit: only texts that might be too large are measured.
    if (text.size() * 3 <= CLanguageClient::kMaxDocumentBytes) {
        return text.size();
    }
    return text.toUtf8().size();
}

SDiagnostic ReadDiagnostic(const QJsonObject& object) {
    SDiagnostic diagnostic;
    const QJsonObject range = object.value("range").toObject();
    const QJsonObject start = range.value("start").toObject();
    const QJsonObject end = range.value("end").toObject();
    diagnostic.line = start.value("line").toInt();
    diagnostic.character = start.value("character").toInt();
    diagnostic.endLine = end.value("line").toInt(diagnostic.line);
    diagnostic.endCharacter = end.value("character").toInt(diagnostic.character);
    diagnostic.severity = object.value("severity").toInt(SDiagnostic::Error);
    const QJsonValue code = object.value("code");
    diagnostic.code = code.isDouble() ? QString::number(code.toInt()) : code.toString();
    diagnostic.source = object.value("source").toString();
    diagnostic.message = object.value("message").toString();
    const QJsonObject data = object.value("data").toObject();
    diagnostic.caretLine = data.value("line").toInt();
    diagnostic.caretColumn = data.value("column").toInt();
    return diagnostic;
}

} // namespace

CLanguageClient::CLanguageClient(SServerCommand command, QObject* parent)
    : QObject(parent), m_command(std::move(command)) {
    m_answerTimeout.setSingleShot(true);
    m_answerTimeout.setInterval(kAnswerTimeoutMs);
    connect(&m_answerTimeout, &QTimer::timeout, this, [this] {
        Fail(tr("The Java language server fell silent for %1 s")
                 .arg(m_answerTimeout.interval() / 1000.0));
    });
}

CLanguageClient::~CLanguageClient() {
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->disconnect(this);
        SendNow({{kJsonRpc, "2.0"}, {kMethod, kExit}});
        m_process->closeWriteChannel();
        // The server is killed rather than waited for; reaping a killed process takes no time.
        m_process->kill();
        m_process->waitForFinished(1000);
    }
    StopProcess();
}

QString CLanguageClient::UriOf(const QString& path) {
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

QString CLanguageClient::PathOf(const QString& uri) {
    const QUrl url(uri);
    return url.isLocalFile() ? NormalPath(url.toLocalFile()) : uri;
}

QString CLanguageClient::NormalPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// ---------------------------------------------------------------- the process

void CLanguageClient::Start() {
    if (m_state == EState::Off) {
        return;
    }
    StopProcess();
    m_state = EState::Starting;
    m_frames.Clear();
    m_progressTokens.clear();
    m_process = new QProcess(this);
    m_process->setProgram(m_command.program);
    m_process->setArguments(m_command.arguments);
    if (!m_command.folder.isEmpty()) {
        m_process->setWorkingDirectory(m_command.folder);
    }
    // The server's own log goes where ours goes.
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(m_process, &QProcess::readyReadStandardOutput, this, &CLanguageClient::OnReadyRead);
    connect(m_process, &QProcess::finished, this, &CLanguageClient::OnProcessEnded);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart && m_process) {
            Fail(tr("The Java language server did not start (%1)").arg(m_process->errorString()));
        }
    });
    m_process->start();
    SendInitialize();
}

void CLanguageClient::StopProcess() {
    m_answerTimeout.stop();
    if (!m_process) {
        return;
    }
    QProcess* process = m_process;
    m_process = nullptr;
    process->disconnect(this);
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        // Reaped once it has gone; a killed process takes no time to do so.
        connect(process, &QProcess::finished, process, &QObject::deleteLater);
    } else {
        process->deleteLater();
    }
}

void CLanguageClient::OnProcessEnded() {
    if (m_shuttingDown) {
        StopProcess();
        m_state = EState::Idle;
        emit Finished();
        return;
    }
    Fail(tr("The Java language server stopped (exit code %1)").arg(m_process->exitCode()));
}

void CLanguageClient::Fail(const QString& why) {
    if (m_state == EState::Off) {
        return;
    }
    qCWarning(lcLanguage).noquote() << why;
    StopProcess();
    ++m_failures;
    // What was asked of the lost server is lost; its callers hear so and may ask again.
    std::map<int, Handler> lost;
    lost.swap(m_pending);
    m_cancelled.clear();
    m_queued.clear();
    m_owed.clear();
    m_model.SetChecking(false);
    if (m_failures >= 2 || m_shuttingDown) {
        m_state = EState::Off;
        m_model.Clear();
        emit Note(why + tr(" again; checking is off until Tovin is started again."));
        emit Finished();
    } else {
        emit Note(why + tr("; it was started again."));
        // Not from inside the dying process's own signal.
        m_state = EState::Starting;
        QTimer::singleShot(0, this, &CLanguageClient::Start);
    }
    const QJsonObject error{{"code", kLostRequest}, {"message", why}};
    for (auto& [id, handler] : lost) {
        if (handler) {
            handler(QJsonValue(), error);
        }
    }
}

// ---------------------------------------------------------------- sending

void CLanguageClient::SendNow(const QJsonObject& message) {
    if (!m_process) {
        return;
    }
    const QByteArray body = QJsonDocument(message).toJson(QJsonDocument::Compact);
    m_process->write(CMessageFrames::Frame(body));
}

void CLanguageClient::Send(const QJsonObject& message) {
    if (m_state == EState::Ready) {
        SendNow(message);
    } else if (m_state == EState::Starting) {
        m_queued.append(message);
    }
}

void CLanguageClient::SendInitialize() {
    if (!m_process) {
        return; // it failed to start, and Fail has seen to it
    }
    const QJsonObject capabilities{
        {"textDocument",
         QJsonObject{
             {"synchronization", QJsonObject{{"didSave", true}, {"dynamicRegistration", false}}},
             {"publishDiagnostics", QJsonObject{{"versionSupport", true}}},
         }},
        {"window", QJsonObject{{"workDoneProgress", true}}},
    };
    QJsonObject params{
        {"processId", static_cast<qint64>(QCoreApplication::applicationPid())},
        {"clientInfo", QJsonObject{{"name", "Tovin"}}},
        {"capabilities", capabilities},
        {"rootUri", m_command.rootPath.isEmpty() ? QJsonValue() : UriOf(m_command.rootPath)},
    };
    const int id = m_nextId++;
    m_pending[id] = [this](const QJsonValue&, const QJsonObject& error) {
        if (!error.isEmpty()) {
            if (error.value("code").toInt() != kLostRequest) {
                Fail(tr("The Java language server refused to start (%1)")
                         .arg(error.value("message").toString()));
            }
            return;
        }
        m_state = EState::Ready;
        SendNow({{kJsonRpc, "2.0"}, {kMethod, kInitialized}, {kParams, QJsonObject()}});
        for (auto document = m_documents.constBegin(); document != m_documents.constEnd();
             ++document) {
            SendDidOpen(document.key(), document.value());
        }
        const QList<QJsonObject> queued = std::exchange(m_queued, {});
        for (const QJsonObject& message : queued) {
            SendNow(message);
        }
        emit Ready();
    };
    SendNow({{kJsonRpc, "2.0"}, {kId, id}, {kMethod, kInitialize}, {kParams, params}});
    UpdateAnswerTimer();
}

int CLanguageClient::Request(const QString& method, const QJsonValue& params, Handler handler) {
    const int id = m_nextId++;
    if (m_state == EState::Off) {
        if (handler) {
            handler(QJsonValue(), {{"code", kLostRequest}, {"message", "the server is off"}});
        }
        return id;
    }
    m_pending[id] = std::move(handler);
    Send({{kJsonRpc, "2.0"}, {kId, id}, {kMethod, method}, {kParams, params}});
    UpdateAnswerTimer();
    return id;
}

void CLanguageClient::Cancel(int id) {
    if (m_pending.erase(id) == 0) {
        return;
    }
    // Still queued: it never goes out.
    const auto queued = std::find_if(m_queued.begin(), m_queued.end(), [id](const QJsonObject& m) {
        return m.value(kId).toInt(-1) == id && m.contains(kMethod);
    });
    if (queued != m_queued.end()) {
        m_queued.erase(queued);
    } else {
        m_cancelled.insert(id);
        Notify(kCancelRequest, QJsonObject{{kId, id}});
    }
    UpdateAnswerTimer();
}

void CLanguageClient::Notify(const QString& method, const QJsonValue& params) {
    Send({{kJsonRpc, "2.0"}, {kMethod, method}, {kParams, params}});
}

// The timer runs while a request waits and restarts whenever the server is heard from, so a
// server busy with a long first check (sending progress and diagnostics) is not taken for dead.
void CLanguageClient::UpdateAnswerTimer() {
    if ((m_pending.empty() && m_owed.isEmpty()) || !m_process) {
        m_answerTimeout.stop();
    } else {
        m_answerTimeout.start();
    }
}

void CLanguageClient::Shutdown() {
    m_documents.clear();
    if (!m_process || m_state == EState::Off) {
        emit Finished();
        return;
    }
    m_shuttingDown = true;
    Request(kShutdown, QJsonValue(), [this](const QJsonValue&, const QJsonObject&) {
        SendNow({{kJsonRpc, "2.0"}, {kMethod, kExit}});
        if (m_process) {
            m_process->closeWriteChannel();
        }
    });
}

// ---------------------------------------------------------------- documents

void CLanguageClient::Owe(const QString& path, int version) {
    if (m_command.publishesEveryChange) {
        m_owed[path] = version;
        UpdateAnswerTimer();
    }
}

void CLanguageClient::SendDidOpen(const QString& path, const SDocument& document) {
    m_model.SetSentVersion(path, document.version);
    Owe(path, document.version);
    SendNow({{kJsonRpc, "2.0"},
             {kMethod, kDidOpen},
             {kParams, QJsonObject{{kTextDocument, QJsonObject{{kUri, UriOf(path)},
                                                               {"languageId", document.languageId},
                                                               {kVersion, document.version},
                                                               {"text", document.text}}}}}});
}

bool CLanguageClient::OpenDocument(const QString& path, const QString& text,
                                   const QString& languageId) {
    if (m_state == EState::Off) {
        return false;
    }
    if (Utf8Size(text) > kMaxDocumentBytes) {
        emit Note(tr("%1 is larger than 2 MB; it is not checked.").arg(QFileInfo(path).fileName()));
        return false;
    }
    if (m_documents.contains(path)) {
        ChangeDocument(path, text);
        return true;
    }
    SDocument& document = m_documents[path];
    document.languageId = languageId;
    document.text = Normalized(text);
    document.version = 1;
    if (m_state == EState::Ready) {
        SendDidOpen(path, document);
    }
    return true;
}

void CLanguageClient::ChangeDocument(const QString& path, const QString& text) {
    const auto found = m_documents.find(path);
    if (found == m_documents.end()) {
        return;
    }
    if (Utf8Size(text) > kMaxDocumentBytes) {
        CloseDocument(path);
        emit Note(tr("%1 is larger than 2 MB; it is not checked.").arg(QFileInfo(path).fileName()));
        return;
    }
    SDocument& document = *found;
    const QString now = Normalized(text);
    const QString& before = document.text;
    const qsizetype shorter = std::min(before.size(), now.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == now[prefix]) {
        ++prefix;
    }
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == now[now.size() - 1 - suffix]) {
        ++suffix;
    }
    if (prefix == before.size() && prefix == now.size()) {
        return;
    }
    // A surrogate pair is never split: the edit starts before its first half.
    if (prefix > 0 && before[prefix - 1].isHighSurrogate()) {
        --prefix;
    }
    if (suffix > 0 && before[before.size() - suffix].isLowSurrogate()) {
        --suffix;
    }
    const QJsonObject change{
        {"range", QJsonObject{{"start", PositionAt(before, prefix)},
                              {"end", PositionAt(before, before.size() - suffix)}}},
        {"text", now.mid(prefix, now.size() - suffix - prefix)},
    };
    document.text = now;
    ++document.version;
    if (m_state == EState::Ready) {
        m_model.SetSentVersion(path, document.version);
        Owe(path, document.version);
        SendNow({{kJsonRpc, "2.0"},
                 {kMethod, kDidChange},
                 {kParams, QJsonObject{{kTextDocument, QJsonObject{{kUri, UriOf(path)},
                                                                   {kVersion, document.version}}},
                                       {"contentChanges", QJsonArray{change}}}}});
    }
}

void CLanguageClient::SaveDocument(const QString& path) {
    if (m_documents.contains(path)) {
        Notify(kDidSave, QJsonObject{{kTextDocument, QJsonObject{{kUri, UriOf(path)}}}});
    }
}

void CLanguageClient::CloseDocument(const QString& path) {
    m_owed.remove(path);
    if (m_documents.remove(path) > 0) {
        Notify(kDidClose, QJsonObject{{kTextDocument, QJsonObject{{kUri, UriOf(path)}}}});
    }
}

// ---------------------------------------------------------------- receiving

void CLanguageClient::OnReadyRead() {
    if (!m_process) {
        return;
    }
    m_frames.Append(m_process->readAllStandardOutput());
    while (m_process) {
        CMessageFrames::SNext next = m_frames.Next();
        switch (next.kind) {
        case CMessageFrames::EKind::Body:
            OnMessage(next.body);
            break;
        case CMessageFrames::EKind::DroppedBytes:
            qCWarning(lcLanguage).noquote() << next.note;
            break;
        case CMessageFrames::EKind::TooLarge:
            Fail(tr("The Java language server sent a message too large to read"));
            return;
        case CMessageFrames::EKind::NeedMore:
            return;
        }
    }
}

void CLanguageClient::OnMessage(const QByteArray& body) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        qCWarning(lcLanguage).noquote()
            << "dropped a message that is no JSON object:" << QString::fromUtf8(body.left(200));
        return;
    }
    // Heard from: a request still waiting gets its full time again.
    UpdateAnswerTimer();
    const QJsonObject message = document.object();
    const QString method = message.value(kMethod).toString();
    if (method.isEmpty()) {
        OnAnswer(message);
    } else if (message.contains(kId)) {
        OnServerRequest(message);
    } else {
        OnNotification(method, message.value(kParams).toObject());
    }
}

void CLanguageClient::OnAnswer(const QJsonObject& message) {
    const int id = message.value(kId).toInt(-1);
    const auto pending = m_pending.find(id);
    if (pending == m_pending.end()) {
        if (!m_cancelled.remove(id)) {
            qCWarning(lcLanguage) << "dropped an answer to no request (id" << message.value(kId)
                                  << ")";
        }
        return;
    }
    Handler handler = std::move(pending->second);
    m_pending.erase(pending);
    UpdateAnswerTimer();
    if (handler) {
        handler(message.value(kResult), message.value(kError).toObject());
    }
}

void CLanguageClient::OnServerRequest(const QJsonObject& message) {
    const QString method = message.value(kMethod).toString();
    QJsonObject answer{{kJsonRpc, "2.0"}, {kId, message.value(kId)}};
    if (method == QLatin1String(kCreateProgress)) {
        const QJsonValue token = message.value(kParams).toObject().value("token");
        m_progressTokens.insert(token.toVariant().toString());
        answer.insert(kResult, QJsonValue());
    } else if (method == QLatin1String("workspace/configuration")) {
        const auto items = message.value(kParams).toObject().value("items").toArray();
        answer.insert(kResult, QJsonArray::fromVariantList(QVariantList(items.size())));
    } else if (method == QLatin1String("client/registerCapability") ||
               method == QLatin1String("client/unregisterCapability")) {
        answer.insert(kResult, QJsonValue());
    } else {
        answer.insert(kError, QJsonObject{{"code", kMethodNotFound},
                                          {"message", "Unknown method " + method}});
    }
    SendNow(answer);
}

void CLanguageClient::OnNotification(const QString& method, const QJsonObject& params) {
    if (method == QLatin1String(kPublishDiagnostics)) {
        const QString path = PathOf(params.value(kUri).toString());
        QList<SDiagnostic> diagnostics;
        for (const QJsonValue& value : params.value("diagnostics").toArray()) {
            diagnostics.append(ReadDiagnostic(value.toObject()));
        }
        const int version = params.value(kVersion).toInt(-1);
        if (const auto owed = m_owed.constFind(path);
            owed != m_owed.constEnd() && version >= owed.value()) {
            m_owed.erase(owed);
            UpdateAnswerTimer();
        }
        if (!m_model.Publish(path, version, std::move(diagnostics))) {
            qCDebug(lcLanguage) << "dropped stale diagnostics of" << path;
        }
    } else if (method == QLatin1String(kProgress)) {
        const QString token = params.value("token").toVariant().toString();
        if (!m_progressTokens.contains(token)) {
            qCWarning(lcLanguage) << "dropped progress of an unknown token" << token;
            return;
        }
        const QJsonObject value = params.value("value").toObject();
        const QString kind = value.value("kind").toString();
        if (kind == QLatin1String("begin")) {
            m_model.SetChecking(true);
        } else if (kind == QLatin1String("end")) {
            m_model.SetChecking(false);
            emit CheckEnded(value.value("message").toString());
        }
    } else if (method == QLatin1String(kShowMessage)) {
        emit Note(params.value("message").toString());
    } else if (method == QLatin1String(kLogMessage)) {
        qCInfo(lcLanguage).noquote() << params.value("message").toString();
    }
}

} // namespace tovin
