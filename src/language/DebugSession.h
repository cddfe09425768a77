#pragma once
// One program under the debugger, as the windows see it: the adapter's client, the launch
// sequence, and a small model of the debug state that the windows draw — whether the program
// runs or stands, the stopped thread's frames, the scopes and variables asked for so far, the
// program's output and the end. The windows never speak the protocol themselves.
//
// Contract:
//  - Launch starts the adapter, launches the program, sets the breakpoints, stops on uncaught
//    exceptions and lets the program run. The program's standard input is empty, as under Run:
//    a program that reads it sees its end at once rather than waiting for ever.
//  - When the program stops, its frames are fetched and Stopped follows; scopes and variables
//    are fetched only when asked for (FetchScopes, FetchVariables) and arrive by signal. Every
//    answer belongs to the stop it was asked in: one that arrives after the program has moved
//    on is dropped, never shown.
//  - Ended comes once, with a message for the Process Window: the exit code, or why the
//    session failed (the adapter's fault, a launch refused, Stop).

#include "language/DebugClient.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace tovin {

struct SDebugLaunch {
    QString program; // the adapter's command
    QStringList programArguments;
    QString mainClass;
    QStringList classPath;
    QString folder;    // the program's working folder
    QString arguments; // the program's, as one command line the adapter splits
    QString vmArguments;
    QString javaExecutable;
    QStringList sourcePaths;
    // Lines (1-based) by absolute file path.
    QMap<QString, QList<int>> breakpoints;
};

struct SDebugFrame {
    int id = 0;
    QString name;
    QString path; // empty when the frame's source is not known
    int line = 0; // 1-based
};

struct SDebugScope {
    QString name;
    int reference = 0;
};

struct SDebugVariable {
    QString name;
    QString value;
    QString type;
    int reference = 0; // > 0: it has parts, fetched with FetchVariables
};

class CDebugSession : public QObject {
    Q_OBJECT
public:
    enum class EState { Starting, Running, Stopped, Ended };

    explicit CDebugSession(QObject* parent = nullptr);
    ~CDebugSession() override;

    void Launch(const SDebugLaunch& launch);
    EState State() const { return m_state; }
    bool IsActive() const { return m_state != EState::Ended; }

    // ---- while stopped
    const QList<SDebugFrame>& Frames() const { return m_frames; }
    QString StopReason() const { return m_stopReason; }
    void FetchScopes(int frameId);
    void FetchVariables(int reference);
    void Continue();
    void StepOver();
    void StepInto();
    void StepOut();
    // Ends the program (running or stopped) and the adapter.
    void Stop();
    // A file's breakpoints changed while the program runs or stands (lines 1-based).
    void SetBreakpoints(const QString& path, const QList<int>& lines);

signals:
    void StateChanged(EState state);
    // The program stands; Frames() holds the stopped thread's frames (top first).
    void Stopped();
    void ScopesArrived(int frameId, const QList<SDebugScope>& scopes);
    void VariablesArrived(int reference, const QList<SDebugVariable>& variables);
    // The program's output (its standard output and error) and the debugger's own notes.
    void Output(const QString& text);
    void Ended(const QString& message);

private:
    void OnEvent(const QString& event, const QJsonObject& body);
    void Configure();
    void SendBreakpoints(const QString& path, const QList<int>& numbers);
    void OnStopped(const QJsonObject& body);
    void Resume(const QString& command);
    void SetState(EState state);
    void End(const QString& message);

    CDebugClient* m_client;
    SDebugLaunch m_launch;
    EState m_state = EState::Starting;
    int m_threadId = 0;
    // Counts the program's stops; an answer asked for in an earlier one is stale.
    int m_stop = 0;
    QList<SDebugFrame> m_frames;
    QString m_stopReason;
    int m_exitCode = 0;
    bool m_exited = false;
    bool m_stopAsked = false;
    bool m_configured = false;
};

} // namespace tovin
