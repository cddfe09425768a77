#include "language/DebugSession.h"

#include <QFileInfo>
#include <QJsonArray>

namespace tovin {

CDebugSession::CDebugSession(QObject* parent) : QObject(parent), m_client(new CDebugClient(this)) {
    connect(m_client, &CDebugClient::Event, this, &CDebugSession::OnEvent);
    connect(m_client, &CDebugClient::Ended, this, [this](const QString& why) {
        if (m_stopAsked) {
            End(tr("The program was stopped by the user."));
        } else if (!why.isEmpty()) {
            End(why);
        } else if (m_exited) {
            End(tr("Exit code: %1").arg(m_exitCode));
        } else {
            End(tr("The debugger has ended."));
        }
    });
    connect(m_client, &CDebugClient::ErrorText, this, [this](const QString& text) {
        // The adapter's own faults; the session goes on unless the adapter ends.
        emit Output(tr("[debugger] %1").arg(text));
    });
}

CDebugSession::~CDebugSession() = default;

void CDebugSession::SetState(EState state) {
    if (m_state != state) {
        m_state = state;
        emit StateChanged(state);
    }
}

void CDebugSession::End(const QString& message) {
    if (m_state == EState::Ended) {
        return;
    }
    ++m_stop;
    m_frames.clear();
    SetState(EState::Ended);
    emit Ended(message);
}

void CDebugSession::Launch(const SDebugLaunch& launch) {
    m_launch = launch;
    m_client->Start(launch.program, launch.programArguments);
    m_client->Request(QStringLiteral("initialize"),
                      {{"clientID", "tovin"},
                       {"adapterID", "java"},
                       {"linesStartAt1", true},
                       {"columnsStartAt1", true},
                       {"pathFormat", "path"}},
                      [this](bool ok, const QJsonObject&, const QString& message) {
                          if (!ok) {
                              End(tr("The debugger refused to start: %1").arg(message));
                          }
                      });
    m_client->Request(
        QStringLiteral("launch"),
        {{"mainClass", launch.mainClass},
         {"classPaths", QJsonArray::fromStringList(launch.classPath)},
         {"cwd", launch.folder},
         {"args", launch.arguments},
         {"vmArgs", launch.vmArguments},
         {"javaExecutable", launch.javaExecutable},
         {"sourcePaths", QJsonArray::fromStringList(launch.sourcePaths)}},
        [this](bool ok, const QJsonObject&, const QString& message) {
            if (!ok) {
                m_client->Stop();
                End(tr("The program could not be started under the debugger: %1").arg(message));
                return;
            }
            // As under Run, the program reads an empty standard input.
            m_client->Request(QStringLiteral("input"), {{"eof", true}});
        });
}

// The adapter is ready for the breakpoints once the program is launched and waiting.
void CDebugSession::Configure() {
    m_configured = true;
    for (auto file = m_launch.breakpoints.constBegin(); file != m_launch.breakpoints.constEnd();
         ++file) {
        SendBreakpoints(file.key(), file.value());
    }
    m_client->Request(QStringLiteral("setExceptionBreakpoints"),
                      {{"filters", QJsonArray{QStringLiteral("uncaught")}}});
    m_client->Request(QStringLiteral("configurationDone"), {},
                      [this](bool ok, const QJsonObject&, const QString&) {
                          if (ok && m_state == EState::Starting) {
                              SetState(EState::Running);
                          }
                      });
}

void CDebugSession::SendBreakpoints(const QString& path, const QList<int>& numbers) {
    QJsonArray lines;
    for (int line : numbers) {
        lines.append(QJsonObject{{"line", line}});
    }
    m_client->Request(
        QStringLiteral("setBreakpoints"),
        {{"source", QJsonObject{{"path", path}, {"name", QFileInfo(path).fileName()}}},
         {"breakpoints", lines}},
        [this, path](bool ok, const QJsonObject& body, const QString& message) {
            if (!ok) {
                emit Output(tr("Breakpoints in %1 were not set: %2\n").arg(path, message));
                return;
            }
            // A breakpoint still waiting for its class is reported when it is placed.
            for (const QJsonValue& value : body.value("breakpoints").toArray()) {
                const QString note = value.toObject().value("message").toString();
                if (!note.isEmpty() && value.toObject().value("verified").toBool()) {
                    emit Output(QStringLiteral("%1: %2\n").arg(QFileInfo(path).fileName(), note));
                }
            }
        });
}

void CDebugSession::SetBreakpoints(const QString& path, const QList<int>& lines) {
    if (m_state == EState::Ended) {
        return;
    }
    // Before the adapter is ready they go with the others.
    m_launch.breakpoints[path] = lines;
    if (m_configured) {
        SendBreakpoints(path, lines);
    }
}

void CDebugSession::OnEvent(const QString& event, const QJsonObject& body) {
    if (event == QLatin1String("initialized")) {
        Configure();
    } else if (event == QLatin1String("output")) {
        const QString category = body.value("category").toString();
        if (category != QLatin1String("telemetry")) {
            emit Output(body.value("output").toString());
        }
    } else if (event == QLatin1String("breakpoint")) {
        const QJsonObject breakpoint = body.value("breakpoint").toObject();
        const QString note = breakpoint.value("message").toString();
        if (!note.isEmpty()) {
            const QString name = breakpoint.value("source").toObject().value("name").toString();
            emit Output(name.isEmpty() ? note + '\n' : QStringLiteral("%1: %2\n").arg(name, note));
        }
    } else if (event == QLatin1String("stopped")) {
        OnStopped(body);
    } else if (event == QLatin1String("continued")) {
        ++m_stop;
        SetState(EState::Running);
    } else if (event == QLatin1String("exited")) {
        m_exited = true;
        m_exitCode = body.value("exitCode").toInt();
    } else if (event == QLatin1String("terminated")) {
        // The program has gone: the adapter is asked to end, and its end ends the session.
        m_client->Stop();
        ++m_stop;
        m_frames.clear();
        if (m_state != EState::Ended) {
            SetState(EState::Running);
        }
    }
}

void CDebugSession::OnStopped(const QJsonObject& body) {
    const int stop = ++m_stop;
    m_threadId = body.value("threadId").toInt();
    m_stopReason = body.value("reason").toString();
    if (m_stopReason == QLatin1String("exception")) {
        emit Output(tr("The program stopped on an uncaught exception: %1\n")
                        .arg(body.value("description").toString()));
    }
    m_client->Request(QStringLiteral("stackTrace"), {{"threadId", m_threadId}},
                      [this, stop](bool ok, const QJsonObject& answer, const QString& message) {
                          if (stop != m_stop || m_state == EState::Ended) {
                              return;
                          }
                          m_frames.clear();
                          if (!ok) {
                              emit Output(tr("The stack could not be read: %1\n").arg(message));
                          }
                          for (const QJsonValue& value : answer.value("stackFrames").toArray()) {
                              const QJsonObject frame = value.toObject();
                              m_frames.append(
                                  {frame.value("id").toInt(), frame.value("name").toString(),
                                   frame.value("source").toObject().value("path").toString(),
                                   frame.value("line").toInt()});
                          }
                          SetState(EState::Stopped);
                          emit Stopped();
                      });
}

void CDebugSession::FetchScopes(int frameId) {
    const int stop = m_stop;
    m_client->Request(QStringLiteral("scopes"), {{"frameId", frameId}},
                      [this, stop, frameId](bool ok, const QJsonObject& body, const QString&) {
                          if (!ok || stop != m_stop) {
                              return;
                          }
                          QList<SDebugScope> scopes;
                          for (const QJsonValue& value : body.value("scopes").toArray()) {
                              const QJsonObject scope = value.toObject();
                              scopes.append({scope.value("name").toString(),
                                             scope.value("variablesReference").toInt()});
                          }
                          emit ScopesArrived(frameId, scopes);
                      });
}

void CDebugSession::FetchVariables(int reference) {
    const int stop = m_stop;
    m_client->Request(QStringLiteral("variables"), {{"variablesReference", reference}},
                      [this, stop, reference](bool ok, const QJsonObject& body, const QString&) {
                          if (!ok || stop != m_stop) {
                              return;
                          }
                          QList<SDebugVariable> variables;
                          for (const QJsonValue& value : body.value("variables").toArray()) {
                              const QJsonObject variable = value.toObject();
                              variables.append({variable.value("name").toString(),
                                                variable.value("value").toString(),
                                                variable.value("type").toString(),
                                                variable.value("variablesReference").toInt()});
                          }
                          emit VariablesArrived(reference, variables);
                      });
}

void CDebugSession::Resume(const QString& command) {
    if (m_state != EState::Stopped) {
        return;
    }
    ++m_stop;
    m_frames.clear();
    SetState(EState::Running);
    m_client->Request(command, {{"threadId", m_threadId}},
                      [this](bool ok, const QJsonObject&, const QString& message) {
                          if (!ok && m_state != EState::Ended) {
                              emit Output(tr("The debugger could not go on: %1\n").arg(message));
                          }
                      });
}

void CDebugSession::Continue() {
    Resume(QStringLiteral("continue"));
}

void CDebugSession::StepOver() {
    Resume(QStringLiteral("next"));
}

void CDebugSession::StepInto() {
    Resume(QStringLiteral("stepIn"));
}

void CDebugSession::StepOut() {
    Resume(QStringLiteral("stepOut"));
}

void CDebugSession::Stop() {
    if (m_state == EState::Ended || m_stopAsked) {
        return;
    }
    m_stopAsked = true;
    // The adapter ends the program; the session ends when the adapter has gone.
    m_client->Stop();
}

} // namespace tovin
