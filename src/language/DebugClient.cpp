#include "language/DebugClient.h"

#include <QJsonDocument>
#include <QLoggingCategory>

namespace tovin {

namespace {

Q_LOGGING_CATEGORY(lcDebug, "tovin.debug")

// After SIGTERM the adapter's own shutdown ends its program; this long it may take.
constexpr int kTerminateGraceMs = 3000;

} // namespace

CDebugClient::CDebugClient(QObject* parent) : QObject(parent) {
    m_grace.setSingleShot(true);
    connect(&m_grace, &QTimer::timeout, this, [this] {
        if (!m_process) {
            return;
        }
        if (m_process->state() == QProcess::NotRunning) {
            return;
        }
        if (m_stopping) {
            // The first expiry terminates, the second kills.
            m_stopping = false;
            m_process->terminate();
            m_grace.start(kTerminateGraceMs);
        } else {
            m_process->kill();
        }
    });
}

CDebugClient::~CDebugClient() {
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->disconnect(this);
        // Closing the adapter's input ends its program and then itself; SIGTERM does the same
        // through its shutdown, should it be busy. Tovin is closing: a short wait is fine.
        m_process->closeWriteChannel();
        m_process->terminate();
        if (!m_process->waitForFinished(kTerminateGraceMs + 1000)) {
            m_process->kill();
            m_process->waitForFinished(1000);
        }
    }
}

void CDebugClient::Start(const QString& program, const QStringList& arguments) {
    m_process = new QProcess(this);
    m_process->setProgram(program);
    m_process->setArguments(arguments);
    connect(m_process, &QProcess::readyReadStandardOutput, this, &CDebugClient::OnReadyRead);
    connect(m_process, &QProcess::readyReadStandardError, this, [this] {
        const QString text = QString::fromLocal8Bit(m_process->readAllStandardError());
        qCWarning(lcDebug).noquote() << text.trimmed();
        emit ErrorText(text);
    });
    connect(m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        OnReadyRead();
        if (m_stopping || m_grace.isActive()) {
            Finish({});
        } else if (status == QProcess::CrashExit) {
            Finish(tr("The debugger stopped unexpectedly."));
        } else {
            Finish(tr("The debugger ended unexpectedly (exit code %1).").arg(code));
        }
    });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart && m_process) {
            Finish(tr("The debugger could not be started: %1").arg(m_process->errorString()));
        }
    });
    m_process->start();
}

int CDebugClient::Request(const QString& command, const QJsonObject& arguments, Handler handler) {
    const int seq = m_nextSeq++;
    if (!m_process || m_ended) {
        if (handler) {
            handler(false, {}, tr("The debugger is not running."));
        }
        return seq;
    }
    QJsonObject message{{"seq", seq}, {"type", "request"}, {"command", command}};
    if (!arguments.isEmpty()) {
        message.insert("arguments", arguments);
    }
    m_pending[seq] = std::move(handler);
    const QByteArray body = QJsonDocument(message).toJson(QJsonDocument::Compact);
    m_process->write(CMessageFrames::Frame(body));
    return seq;
}

void CDebugClient::Stop() {
    if (!m_process || m_ended || m_stopping) {
        return;
    }
    Request(QStringLiteral("disconnect"), {{"terminateDebuggee", true}});
    m_process->closeWriteChannel();
    m_stopping = true;
    m_grace.start(kStopGraceMs);
}

void CDebugClient::OnReadyRead() {
    if (!m_process) {
        return;
    }
    m_frames.Append(m_process->readAllStandardOutput());
    while (!m_ended) {
        CMessageFrames::SNext next = m_frames.Next();
        switch (next.kind) {
        case CMessageFrames::EKind::Body:
            OnMessage(next.body);
            break;
        case CMessageFrames::EKind::DroppedBytes:
            Finish(tr("The debugger sent something that is not its protocol."));
            return;
        case CMessageFrames::EKind::TooLarge:
            Finish(tr("The debugger sent a message too large to read."));
            return;
        case CMessageFrames::EKind::NeedMore:
            return;
        }
    }
}

void CDebugClient::OnMessage(const QByteArray& body) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        qCWarning(lcDebug) << "dropped a message that is no JSON object";
        return;
    }
    const QJsonObject message = document.object();
    const QString type = message.value("type").toString();
    if (type == QLatin1String("event")) {
        emit Event(message.value("event").toString(), message.value("body").toObject());
    } else if (type == QLatin1String("response")) {
        const auto found = m_pending.find(message.value("request_seq").toInt(-1));
        if (found == m_pending.end()) {
            qCWarning(lcDebug) << "dropped an answer to no request";
            return;
        }
        Handler handler = std::move(found->second);
        m_pending.erase(found);
        if (handler) {
            handler(message.value("success").toBool(), message.value("body").toObject(),
                    message.value("message").toString());
        }
    }
}

void CDebugClient::Finish(const QString& why) {
    if (m_ended) {
        return;
    }
    m_ended = true;
    m_grace.stop();
    if (m_process) {
        QProcess* process = m_process;
        m_process = nullptr;
        process->disconnect(this);
        if (process->state() != QProcess::NotRunning) {
            // Broken framing: its input closed, the adapter ends its program and itself.
            process->closeWriteChannel();
            process->terminate();
            QTimer::singleShot(kTerminateGraceMs, process, &QProcess::kill);
            connect(process, &QProcess::finished, process, &QObject::deleteLater);
        } else {
            process->deleteLater();
        }
    }
    std::map<int, Handler> lost;
    lost.swap(m_pending);
    const QString reason = why.isEmpty() ? tr("The debugger has ended.") : why;
    for (auto& [seq, handler] : lost) {
        if (handler) {
            handler(false, {}, reason);
        }
    }
    emit Ended(why);
}

} // namespace tovin
