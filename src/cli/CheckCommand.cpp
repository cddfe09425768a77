#include "cli/CheckCommand.h"

#include "cli/BatchCommand.h"
#include "cli/HeadlessUiHost.h"
#include "core/app/Settings.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/project/EngineCommand.h"
#include "core/project/JavaProjectDoc.h"
#include "language/LanguageClient.h"
#include "settings/IniSettingsStore.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>

namespace tovin {

namespace {

struct SLanguageOptions {
    bool check = false;
    bool server = false;
    std::string target;                 // --check's file or project, --language-server's project
    std::vector<std::string> moreFiles; // --check's files after the first
    std::string settings;               // --settings
    std::string error;
};

SLanguageOptions ParseLanguageOptions(const std::vector<std::string>& arguments) {
    SLanguageOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (word == "--check") {
            options.check = true;
            if (!hasValue) {
                options.error = "--check needs a Java file or a project file (.jpr).";
                return options;
            }
            options.target = arguments[++i];
        } else if (word == "--language-server") {
            options.server = true;
        } else if (word == "--project") {
            if (!hasValue) {
                options.error = "--project needs a project file (.jpr).";
                return options;
            }
            options.target = arguments[++i];
        } else if (options.check && !options.target.empty() && word.rfind("--", 0) != 0) {
            options.moreFiles.push_back(word);
        } else if (word == "--settings") {
            if (!hasValue) {
                options.error = "--settings needs a file.";
                return options;
            }
            options.settings = arguments[++i];
        } else {
            options.error = "unknown argument " + word;
            return options;
        }
    }
    if (options.check && options.server) {
        options.error = "Give only one of --check and --language-server.";
    }
    return options;
}

std::string AbsolutePath(const std::string& path) {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    return absolute.empty() ? path : absolute.lexically_normal().string();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n' || c == '\r') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            line += c;
        }
    }
    lines.push_back(std::move(line));
    return lines;
}

// The files checked and the names they are printed by.
struct SCheckTarget {
    std::vector<std::string> files;
    std::vector<std::string> shownAs;
    bool project = false;
};

int RunCheck(const SLanguageOptions& options, const CSettings& settings, std::ostream& out,
             std::ostream& err) {
    CHeadlessUiHost host(err, err);
    CSettings projectSettings = settings;
    CJavaProjectDoc project(projectSettings, host);
    project.SetNoticeCallback(
        [&err](const std::string& text) { err << "tovin: " << text << '\n'; });
    SCheckTarget target;
    if (ToLowerAscii(GetExtension(options.target)) == "jpr" && options.moreFiles.empty()) {
        const std::string error = project.Load(AbsolutePath(options.target));
        if (!error.empty()) {
            err << "tovin: " << error << std::endl;
            return kBatchNotStarted;
        }
        // A moved or copied project checks the files beside it, as it builds them.
        project.RebaseEntries();
        target.project = true;
        target.files = EngineProjectOf(project).projectFiles;
        target.shownAs = target.files;
        if (target.files.empty()) {
            return 0; // nothing to check, nothing wrong
        }
    } else {
        target.shownAs = {options.target};
        target.shownAs.insert(target.shownAs.end(), options.moreFiles.begin(),
                              options.moreFiles.end());
        for (const std::string& file : target.shownAs) {
            if (!FileExists(file)) {
                err << "tovin: " << file << " does not exist." << std::endl;
                return kBatchNotStarted;
            }
            target.files.push_back(AbsolutePath(file));
        }
    }
    const SEngineCommand command =
        ComposeEngineCommand(settings, target.project ? &project : nullptr, CacheFolder());
    if (!command.error.empty()) {
        err << "tovin: " << command.error << "." << std::endl;
        return kBatchNotStarted;
    }
    QCoreApplication& loop = CliEventLoop();
    SServerCommand server = ServerCommandOf(command, settings);
    server.folder = QString::fromStdString(GetFolder(target.files.front()));
    server.rootPath =
        target.project ? QString::fromStdString(GetFolder(project.GetPath())) : QString();
    CLanguageClient client(server);
    QObject::connect(&client, &CLanguageClient::Note, &client, [&err](const QString& text) {
        err << "tovin: " << text.toStdString() << std::endl;
    });
    std::vector<std::string> texts;
    QStringList waiting;
    for (const std::string& file : target.files) {
        texts.push_back(ReadWholeFile(file).value_or(std::string()));
        waiting << CLanguageClient::NormalPath(QString::fromStdString(file));
    }
    // The built-in engine checks the project's files on its own; a single file, and the files
    // of a project checked by another server, are sent as open documents.
    if (!target.project || !settings.languageServer.empty()) {
        for (std::size_t i = 0; i < target.files.size(); ++i) {
            client.OpenDocument(waiting[static_cast<qsizetype>(i)],
                                QString::fromStdString(texts[i]));
        }
    }
    int exitCode = -1;
    auto finishWhenDone = [&] {
        if (exitCode < 0 && waiting.isEmpty() && !client.Model().Checking()) {
            exitCode = 0;
            loop.quit();
        }
    };
    QObject::connect(&client.Model(), &CDiagnosticsModel::Published, &client,
                     [&](const QString& path) {
                         waiting.removeAll(path);
                         finishWhenDone();
                     });
    QObject::connect(&client.Model(), &CDiagnosticsModel::CheckingChanged, &client, finishWhenDone);
    QObject::connect(&client, &CLanguageClient::Finished, &client, [&] {
        if (exitCode < 0) {
            exitCode = kBatchNotStarted;
            loop.quit();
        }
    });
    client.Start();
    loop.exec();
    if (exitCode != 0) {
        return exitCode;
    }

    int errors = 0;
    int warnings = 0;
    for (std::size_t i = 0; i < target.files.size(); ++i) {
        const std::vector<std::string> lines = Lines(texts[i]);
        const QString path = CLanguageClient::NormalPath(QString::fromStdString(target.files[i]));
        const QString shownAs = QString::fromStdString(target.shownAs[i]);
        for (SDiagnostic diagnostic : client.Model().Diagnostics(path)) {
            // The compiler names a file as its command line did ("Note: A.java uses ..."); the
            // server knows it by its full path.
            diagnostic.message.replace(path, shownAs);
            out << FormatDiagnostic(target.shownAs[i], lines, diagnostic);
            errors += diagnostic.severity == SDiagnostic::Error;
            warnings += diagnostic.severity == SDiagnostic::Warning;
        }
    }
    out << FormatCounts(errors, warnings) << std::flush;
    client.Shutdown();
    return errors > 0 ? 1 : 0;
}

int RunServer(const SLanguageOptions& options, const CSettings& settings, std::ostream& err) {
    CHeadlessUiHost host(err, err);
    CSettings projectSettings = settings;
    CJavaProjectDoc project(projectSettings, host);
    if (!options.target.empty()) {
        const std::string error = project.Load(AbsolutePath(options.target));
        if (!error.empty()) {
            err << "tovin: " << error << std::endl;
            return kBatchNotStarted;
        }
        project.RebaseEntries();
    }
    const SEngineCommand command =
        ComposeEngineCommand(settings, options.target.empty() ? nullptr : &project, CacheFolder());
    if (!command.error.empty()) {
        err << "tovin: " << command.error << "." << std::endl;
        return kBatchNotStarted;
    }
    CliEventLoop();
    QProcess server;
    server.setProgram(QString::fromStdString(command.program));
    QStringList arguments;
    for (const std::string& argument : command.arguments) {
        arguments << QString::fromStdString(argument);
    }
    server.setArguments(arguments);
    // The server speaks straight to whoever started tovin.
    server.setInputChannelMode(QProcess::ForwardedInputChannel);
    server.setProcessChannelMode(QProcess::ForwardedChannels);
    server.start();
    if (!server.waitForStarted(-1)) {
        err << "tovin: cannot run \"" << command.program
            << "\": " << server.errorString().toStdString() << std::endl;
        return kBatchNotStarted;
    }
    server.waitForFinished(-1);
    return server.exitStatus() == QProcess::NormalExit ? server.exitCode() : kBatchProcessError;
}

} // namespace

QCoreApplication& CliEventLoop() {
    static int argc = 1;
    static char name[] = "tovin";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* application =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    return application ? *application : *QCoreApplication::instance();
}

SServerCommand ServerCommandOf(const SEngineCommand& command, const CSettings& settings) {
    SServerCommand server;
    server.program = QString::fromStdString(command.program);
    server.publishesEveryChange = settings.languageServer.empty();
    for (const std::string& argument : command.arguments) {
        server.arguments << QString::fromStdString(argument);
    }
    return server;
}

std::string CheckCommandHelp() {
    return "  --check FILE...|PROJECT\n"
           "                    check Java files (each alone), or every Java file of a project,\n"
           "                    with the JDK's compiler and print its errors and warnings as\n"
           "                    javac does; the exit code is 1 when there is an error\n"
           "  --language-server [--project PROJECT]\n"
           "                    run the Java language server on standard input and output, for\n"
           "                    an editor of your choice (the \"Java language server command\"\n"
           "                    setting names another one)\n";
}

std::string FormatDiagnostic(const std::string& path, const std::vector<std::string>& sourceLines,
                             const SDiagnostic& diagnostic) {
    const std::vector<std::string> message = Lines(diagnostic.message.toStdString());
    if (diagnostic.severity >= SDiagnostic::Information && diagnostic.caretLine <= 0) {
        std::string text;
        for (const std::string& line : message) {
            text += "Note: " + line + "\n";
        }
        return text;
    }
    const char* kind = diagnostic.severity == SDiagnostic::Error     ? "error: "
                       : diagnostic.severity == SDiagnostic::Warning ? "warning: "
                                                                     : "note: ";
    std::string text;
    if (diagnostic.caretLine > 0) {
        text += path + ":" + std::to_string(diagnostic.caretLine) + ": ";
    }
    text += kind + message.front() + "\n";
    const auto line = static_cast<std::size_t>(diagnostic.caretLine - 1);
    if (diagnostic.caretLine > 0 && line < sourceLines.size()) {
        const std::string& source = sourceLines[line];
        text += source + "\n";
        // The caret's column counts characters; the line is UTF-8. Tabs stay tabs so the caret
        // lines up however the terminal shows them.
        const QString characters = QString::fromStdString(source);
        const qsizetype column = std::max(1, diagnostic.caretColumn);
        for (qsizetype i = 0; i < column - 1; ++i) {
            text += i < characters.size() && characters[i] == '\t' ? '\t' : ' ';
        }
        text += "^\n";
    }
    for (std::size_t i = 1; i < message.size(); ++i) {
        text += message[i] + "\n";
    }
    return text;
}

std::string FormatCounts(int errors, int warnings) {
    std::string text;
    if (errors > 0) {
        text += std::to_string(errors) + (errors == 1 ? " error\n" : " errors\n");
    }
    if (warnings > 0) {
        text += std::to_string(warnings) + (warnings == 1 ? " warning\n" : " warnings\n");
    }
    return text;
}

std::optional<int> RunLanguageCommand(const std::vector<std::string>& arguments, std::ostream& out,
                                      std::ostream& err) {
    if (std::find(arguments.begin(), arguments.end(), "--check") == arguments.end() &&
        std::find(arguments.begin(), arguments.end(), "--language-server") == arguments.end()) {
        return std::nullopt;
    }
    const SLanguageOptions options = ParseLanguageOptions(arguments);
    if (!options.error.empty()) {
        err << "tovin: " << options.error << "\nTry 'tovin --help'.\n";
        return kBatchUsageError;
    }
    const CSettings settings = options.settings.empty()
                                   ? LoadSettings(CIniSettingsStore())
                                   : LoadSettings(CIniSettingsStore(options.settings));
    return options.check ? RunCheck(options, settings, out, err)
                         : RunServer(options, settings, err);
}

} // namespace tovin
