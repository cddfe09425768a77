#pragma once
// The client side of one debug adapter: it owns the adapter's process and speaks the Debug
// Adapter Protocol with it over the adapter's standard input and output.
//
// Contract:
//  - Nothing here blocks. A request's handler is called later, on the thread that owns the
//    client, with the answer's body (success) or its message (failure). When the adapter ends
//    or breaks the framing, every request still waiting hears so through its handler, with the
//    reason as its message, and Ended follows once.
//  - Events reach Event in the order the adapter sent them.
//  - Ending: Stop asks the adapter to end its program and itself; an adapter that has not gone
//    after kStopGraceMs is terminated (its own shutdown ends the program) and then killed. The
//    destructor does the same at once, so no program outlives the client.

#include "language/MessageFrames.h"

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <map>

namespace tovin {

class CDebugClient : public QObject {
    Q_OBJECT
public:
    static constexpr int kStopGraceMs = 4000;

    // ok: the adapter answered with success; body its body, else message why not.
    using Handler = std::function<void(bool ok, const QJsonObject& body, const QString& message)>;

    explicit CDebugClient(QObject* parent = nullptr);
    ~CDebugClient() override;

    // Starts the adapter; Ended follows (with the system's reason) when it cannot start.
    void Start(const QString& program, const QStringList& arguments);
    bool IsRunning() const { return m_process != nullptr; }

    // Returns the request's sequence number.
    int Request(const QString& command, const QJsonObject& arguments, Handler handler = {});
    // Disconnect with the program ended, then the grace period described above.
    void Stop();

signals:
    void Event(const QString& event, const QJsonObject& body);
    // The adapter has gone; why is empty when it ended as asked.
    void Ended(const QString& why);
    // What the adapter printed on its error stream (its faults).
    void ErrorText(const QString& text);

private:
    void OnReadyRead();
    void OnMessage(const QByteArray& body);
    void Finish(const QString& why);

    QPointer<QProcess> m_process;
    CMessageFrames m_frames;
    int m_nextSeq = 1;
    std::map<int, Handler> m_pending;
    bool m_stopping = false;
    bool m_ended = false;
    QTimer m_grace;
};

} // namespace tovin
