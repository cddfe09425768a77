// A language server of a few behaviours, for the client's tests. Usage:
//   fake_language_server STATEFILE MODE[,MODE...]
// The n-th start (counted in STATEFILE) behaves as the n-th MODE, the last one repeating:
//   ok        answers initialize, keeps the documents by applying the client's changes, and
//             publishes one error per line holding "bad" (its message is the line as the server
//             sees it), between progress "begin" and "end"; "test/echo" is answered after
//             params.delay ms, cancelled or not
//   slow:N    as ok, each diagnostics list N ms late
//   die       exits at the first message
//   silent    reads everything, answers nothing
//   garbage   as ok, after writing what no client can use first
//   crash-on-change   as ok, but exits at the first didChange

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <thread>

namespace {

void Write(const QByteArray& body) {
    std::cout << "Content-Length: " << body.size() << "\r\n\r\n"
              << body.toStdString() << std::flush;
}

void Send(const QJsonObject& message) {
    QJsonObject full = message;
    full.insert("jsonrpc", "2.0");
    Write(QJsonDocument(full).toJson(QJsonDocument::Compact));
}

bool Read(QJsonObject& message) {
    long long length = -1;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            break;
        }
        if (line.rfind("Content-Length:", 0) == 0) {
            length = std::stoll(line.substr(15));
        }
    }
    if (!std::cin || length < 0) {
        return false;
    }
    std::string body(static_cast<size_t>(length), '\0');
    std::cin.read(body.data(), length);
    message = QJsonDocument::fromJson(QByteArray::fromStdString(body)).object();
    return static_cast<bool>(std::cin);
}

qsizetype OffsetOf(const QString& text, const QJsonObject& position) {
    qsizetype offset = 0;
    for (int line = position.value("line").toInt(); line > 0; --line) {
        offset = text.indexOf('\n', offset) + 1;
    }
    return offset + position.value("character").toInt();
}

void Publish(const QString& uri, int version, const QString& text, int delay) {
    Send({{"method", "$/progress"},
          {"params",
           QJsonObject{{"token", "tovin/check"},
                       {"value", QJsonObject{{"kind", "begin"}, {"title", "Checking"}}}}}});
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    QJsonArray diagnostics;
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const qsizetype at = lines[i].indexOf("bad");
        if (at < 0) {
            continue;
        }
        const int column = static_cast<int>(at);
        diagnostics.append(QJsonObject{
            {"range", QJsonObject{{"start", QJsonObject{{"line", i}, {"character", column}}},
                                  {"end", QJsonObject{{"line", i}, {"character", column + 3}}}}},
            {"severity", lines[i].contains("warn") ? 2 : 1},
            {"source", "fake"},
            {"code", "fake.bad"},
            {"message", "bad: " + lines[i]},
            {"data", QJsonObject{{"line", i + 1}, {"column", column + 1}}}});
    }
    Send({{"method", "textDocument/publishDiagnostics"},
          {"params",
           QJsonObject{{"uri", uri}, {"version", version}, {"diagnostics", diagnostics}}}});
    Send({{"method", "$/progress"},
          {"params",
           QJsonObject{{"token", "tovin/check"},
                       {"value", QJsonObject{{"kind", "end"},
                                             {"message", QString("%1 errors, 0 warnings")
                                                             .arg(diagnostics.size())}}}}}});
}

void WriteGarbage() {
    std::cout << "this is no header\r\n\r\n" << std::flush;
    std::cout << "X-Other: 1\r\n\r\n" << std::flush;
    Write("{not json");
    Write("[1, 2]");
    Send({{"id", 4242}, {"result", "an answer to nothing"}});
    Send({{"method", "$/progress"},
          {"params",
           QJsonObject{{"token", "nobody's"}, {"value", QJsonObject{{"kind", "begin"}}}}}});
    std::cout << "stray text before a header " << std::flush;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: fake_language_server STATEFILE MODE[,MODE...]\n";
        return 2;
    }
    QFile state(QString::fromLocal8Bit(argv[1]));
    int start = 0;
    if (state.open(QIODevice::ReadOnly)) {
        start = state.readAll().trimmed().toInt();
        state.close();
    }
    if (state.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        state.write(QByteArray::number(start + 1));
        state.close();
    }
    const QStringList modes = QString::fromLocal8Bit(argv[2]).split(',');
    QString mode = modes[std::min<qsizetype>(start, modes.size() - 1)];
    int delay = 0;
    if (mode.startsWith("slow:")) {
        delay = mode.mid(5).toInt();
        mode = "ok";
    }
    if (mode == "garbage") {
        WriteGarbage();
        mode = "ok";
    }

    std::map<QString, QString> documents;
    QJsonObject message;
    while (Read(message)) {
        const QString method = message.value("method").toString();
        const QJsonObject params = message.value("params").toObject();
        const QJsonObject document = params.value("textDocument").toObject();
        const QString uri = document.value("uri").toString();
        if (mode == "die") {
            return 3;
        }
        if (mode == "silent") {
            continue;
        }
        if (method == "initialize") {
            Send({{"id", message.value("id")},
                  {"result", QJsonObject{{"capabilities", QJsonObject{{"textDocumentSync", 2}}}}}});
        } else if (method == "initialized") {
            Send({{"id", "create-1"},
                  {"method", "window/workDoneProgress/create"},
                  {"params", QJsonObject{{"token", "tovin/check"}}}});
        } else if (method == "textDocument/didOpen") {
            documents[uri] = document.value("text").toString();
            Publish(uri, document.value("version").toInt(), documents[uri], delay);
        } else if (method == "textDocument/didChange") {
            if (mode == "crash-on-change") {
                return 4;
            }
            QString& text = documents[uri];
            for (const QJsonValue& value : params.value("contentChanges").toArray()) {
                const QJsonObject change = value.toObject();
                const QJsonObject range = change.value("range").toObject();
                const qsizetype from = OffsetOf(text, range.value("start").toObject());
                const qsizetype to = OffsetOf(text, range.value("end").toObject());
                text.replace(from, to - from, change.value("text").toString());
            }
            Publish(uri, document.value("version").toInt(), text, delay);
        } else if (method == "test/echo") {
            std::this_thread::sleep_for(std::chrono::milliseconds(params.value("delay").toInt()));
            Send({{"id", message.value("id")}, {"result", params.value("value")}});
        } else if (method == "shutdown") {
            Send({{"id", message.value("id")}, {"result", QJsonValue()}});
        } else if (method == "exit") {
            return 0;
        } else if (message.contains("id") && !method.isEmpty()) {
            Send({{"id", message.value("id")},
                  {"error", QJsonObject{{"code", -32601}, {"message", "unknown " + method}}}});
        }
    }
    return 0;
}
