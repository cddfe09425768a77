#include "gui/desktop/InstanceChannel.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace tovin {

namespace {

// A request larger than this is no list of file names; the connection is dropped.
constexpr qsizetype kLargestRequest = 1 << 20;
const QByteArray kReply = QByteArrayLiteral("OK\n");

} // namespace

QString CInstanceChannel::NameFor(const std::string& settingsFile) {
    QByteArray path = QFileInfo(QString::fromStdString(settingsFile)).absoluteFilePath().toUtf8();
    QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("tovin-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

CInstanceChannel::CInstanceChannel(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name)) {}

CInstanceChannel::~CInstanceChannel() = default;

bool CInstanceChannel::SendToRunning(const QStringList& files, int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    QByteArray request;
    for (const QString& file : files) {
        request += file.toUtf8();
        request += '\0';
    }
    request += '\0';
    socket.write(request);
    if (!socket.waitForBytesWritten(timeoutMs)) {
        return false;
    }
    QByteArray reply;
    while (reply.size() < kReply.size() && socket.waitForReadyRead(timeoutMs)) {
        reply += socket.readAll();
    }
    return reply.startsWith(kReply);
}

bool CInstanceChannel::Listen() {
    if (m_server) {
        return m_server->isListening();
    }
    {
        QLocalSocket probe;
        probe.connectToServer(m_name);
        if (probe.waitForConnected(500)) {
            return false; // another instance listens; this one runs on its own
        }
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // Left behind by an instance that ended without closing it.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name)) {
            return false;
        }
    }
    connect(m_server, &QLocalServer::newConnection, this, &CInstanceChannel::OnConnection);
    return true;
}

bool CInstanceChannel::IsListening() const {
    return m_server && m_server->isListening();
}

void CInstanceChannel::OnConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
            *buffer += socket->readAll();
            if (buffer->size() > kLargestRequest) {
                socket->abort();
                return;
            }
            if (!buffer->endsWith(QByteArrayLiteral("\0\0")) && *buffer != QByteArray(1, '\0')) {
                return; // more to come
            }
            QStringList files;
            for (const QByteArray& part : buffer->split('\0')) {
                if (!part.isEmpty()) {
                    files << QString::fromUtf8(part);
                }
            }
            buffer->clear();
            // The request is done with the connection before anything is opened: opening may
            // ask a question, and the event loop of its dialog would otherwise see the sender
            // leave and delete the socket whose signal is still being handled.
            socket->disconnect(this);
            socket->write(kReply);
            socket->flush();
            socket->disconnectFromServer();
            socket->deleteLater();
            QMetaObject::invokeMethod(
                this, [this, files] { emit FilesReceived(files); }, Qt::QueuedConnection);
        });
    }
}

} // namespace tovin
