#pragma once
// Hands files named on a second start to the Tovin that already runs for the same user and
// settings file, as opening a file from the desktop's file manager expects.
//
// The running instance listens on a local socket only its user may open. A second start sends
// the absolute paths, each followed by a NUL byte, then one more NUL; the listener answers
// "OK\n" once it has them, and only then does the second start end. The listener closes the
// connection before it reports the files, so whatever opening them asks runs with no request
// still in hand.

#include <QObject>
#include <QStringList>
#include <string>

class QLocalServer;

namespace tovin {

class CInstanceChannel : public QObject {
    Q_OBJECT
public:
    // The channel of this user and settings file.
    static QString NameFor(const std::string& settingsFile);

    explicit CInstanceChannel(QString name, QObject* parent = nullptr);
    ~CInstanceChannel() override;

    // True when a running instance took the files.
    bool SendToRunning(const QStringList& files, int timeoutMs = 5000) const;
    // Starts listening unless another instance already does; false when it does not listen.
    bool Listen();
    bool IsListening() const;

signals:
    // Emitted from the event loop after the request's connection is closed.
    void FilesReceived(const QStringList& files);

private:
    void OnConnection();

    QString m_name;
    QLocalServer* m_server = nullptr;
};

} // namespace tovin
