#include "cli/CompleteCommand.h"

#include "cli/BatchCommand.h"
#include "cli/CheckCommand.h"
#include "cli/HeadlessUiHost.h"
#include "core/app/Settings.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/project/EngineCommand.h"
#include "core/project/JavaProjectDoc.h"
#include "language/AssistMessages.h"
#include "language/LanguageClient.h"
#include "settings/IniSettingsStore.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <charconv>

namespace tovin {

namespace {

struct SCompleteOptions {
    std::string place;
    std::string project;
    std::string settings;
    std::string error;
};

SCompleteOptions ParseCompleteOptions(const std::vector<std::string>& arguments) {
    SCompleteOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        std::string* value = word == "--complete"   ? &options.place
                             : word == "--project"  ? &options.project
                             : word == "--settings" ? &options.settings
                                                    : nullptr;
        if (!value) {
            options.error = "unknown argument " + word;
            return options;
        }
        if (!hasValue) {
            options.error = word == "--complete"  ? "--complete needs FILE:LINE:COLUMN."
                            : word == "--project" ? "--project needs a project file (.jpr)."
                                                  : "--settings needs a file.";
            return options;
        }
        *value = arguments[++i];
    }
    return options;
}

std::optional<int> PositiveNumber(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1) {
        return std::nullopt;
    }
    return value;
}

// The file's lines without their line ends, as the editor breaks them (LF, CR LF or CR).
QStringList LinesOf(const std::string& text) {
    QString decoded = QString::fromStdString(text);
    decoded.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    decoded.replace('\r', '\n');
    return decoded.split('\n');
}

int Complete(const SCompleteOptions& options, const SFilePlace& place, const CSettings& settings,
             std::ostream& out, std::ostream& err) {
    if (!FileExists(place.file)) {
        err << "tovin: " << place.file << " does not exist." << std::endl;
        return kBatchNotStarted;
    }
    std::string readError;
    const std::optional<std::string> text = ReadWholeFile(place.file, &readError);
    if (!text) {
        err << "tovin: " << place.file << ": " << readError << std::endl;
        return kBatchNotStarted;
    }
    const QStringList lines = LinesOf(*text);
    if (place.line > lines.size()) {
        err << "tovin: " << place.file << " has " << lines.size()
            << (lines.size() == 1 ? " line" : " lines") << "; there is no line " << place.line
            << "." << std::endl;
        return kBatchUsageError;
    }
    const QString& line = lines[place.line - 1];
    const int characters = CodePointColumn(line, static_cast<int>(line.size()));
    if (place.column > characters + 1) {
        err << "tovin: line " << place.line << " of " << place.file << " has " << characters
            << (characters == 1 ? " character" : " characters") << "; there is no column "
            << place.column << "." << std::endl;
        return kBatchUsageError;
    }

    CHeadlessUiHost host(err, err);
    CSettings projectSettings = settings;
    CJavaProjectDoc project(projectSettings, host);
    if (!options.project.empty()) {
        const std::string error = project.Load(
            QFileInfo(QString::fromStdString(options.project)).absoluteFilePath().toStdString());
        if (!error.empty()) {
            err << "tovin: " << error << std::endl;
            return kBatchNotStarted;
        }
        project.RebaseEntries();
    }
    const SEngineCommand command =
        ComposeEngineCommand(settings, options.project.empty() ? nullptr : &project, CacheFolder());
    if (!command.error.empty()) {
        err << "tovin: " << command.error << "." << std::endl;
        return kBatchNotStarted;
    }
    const QString path = CLanguageClient::NormalPath(QString::fromStdString(place.file));
    QCoreApplication& loop = CliEventLoop();
    SServerCommand server = ServerCommandOf(command, settings);
    server.folder = QFileInfo(path).absolutePath();
    server.rootPath =
        options.project.empty() ? QString() : QString::fromStdString(GetFolder(project.GetPath()));
    // No diagnostics are waited for: the answer to the one question is all that is wanted.
    server.publishesEveryChange = false;
    CLanguageClient client(server);
    QObject::connect(&client, &CLanguageClient::Note, &client, [&err](const QString& note) {
        err << "tovin: " << note.toStdString() << std::endl;
    });
    int exitCode = -1;
    QObject::connect(&client, &CLanguageClient::Finished, &client, [&] {
        if (exitCode < 0) {
            exitCode = kBatchNotStarted;
            loop.quit();
        }
    });
    client.OpenDocument(path, QString::fromStdString(*text));
    // Asked once started: the question waits for the server's first answer there.
    client.Start();
    client.Request(kCompletionMethod,
                   CompletionParams(path, place.line - 1, Utf16Column(line, place.column - 1), {}),
                   [&](const QJsonValue& result, const QJsonObject& error) {
                       if (!error.isEmpty()) {
                           err << "tovin: the Java engine could not complete: "
                               << error.value("message").toString().toStdString() << std::endl;
                           exitCode = kBatchNotStarted;
                       } else {
                           for (const SCompletionItem& item : ParseCompletion(result).items) {
                               out << item.label.toStdString() << '\t'
                                   << CompletionKindWord(item.kind).toStdString() << '\t'
                                   << item.detail.toStdString() << '\n';
                           }
                           out << std::flush;
                           exitCode = 0;
                       }
                       loop.quit();
                   });
    if (exitCode < 0) {
        loop.exec();
    }
    client.Shutdown();
    return exitCode;
}

} // namespace

std::optional<SFilePlace> ParseFilePlace(const std::string& text) {
    const auto second = text.rfind(':');
    if (second == std::string::npos || second == 0) {
        return std::nullopt;
    }
    const auto first = text.rfind(':', second - 1);
    if (first == std::string::npos || first == 0) {
        return std::nullopt;
    }
    const std::optional<int> line = PositiveNumber(text.substr(first + 1, second - first - 1));
    const std::optional<int> column = PositiveNumber(text.substr(second + 1));
    if (!line || !column) {
        return std::nullopt;
    }
    return SFilePlace{text.substr(0, first), *line, *column};
}

std::string CompleteCommandHelp() {
    return "  --complete FILE:LINE:COLUMN [--project PROJECT]\n"
           "                    print what the Java engine offers to complete at a place of a\n"
           "                    file (LINE and COLUMN from 1, COLUMN in characters), one item\n"
           "                    a line: label, kind and detail, tab-separated\n";
}

std::optional<int> RunCompleteCommand(const std::vector<std::string>& arguments, std::ostream& out,
                                      std::ostream& err) {
    if (std::find(arguments.begin(), arguments.end(), "--complete") == arguments.end()) {
        return std::nullopt;
    }
    const SCompleteOptions options = ParseCompleteOptions(arguments);
    std::optional<SFilePlace> place;
    std::string error = options.error;
    if (error.empty()) {
        place = ParseFilePlace(options.place);
        if (!place) {
            error = "--complete needs FILE:LINE:COLUMN with a line and a column from 1, not \"" +
                    options.place + "\".";
        }
    }
    if (!error.empty()) {
        err << "tovin: " << error << "\nTry 'tovin --help'.\n";
        return kBatchUsageError;
    }
    const CSettings settings = options.settings.empty()
                                   ? LoadSettings(CIniSettingsStore())
                                   : LoadSettings(CIniSettingsStore(options.settings));
    return Complete(options, *place, settings, out, err);
}

} // namespace tovin
