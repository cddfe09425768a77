#include "cli/BatchCommand.h"

#include "cli/HeadlessUiHost.h"
#include "core/app/Settings.h"
#include "core/platform/CommandLine.h"
#include "core/process/ProcessRunner.h"
#include "core/project/JavaProjectDoc.h"

#include <filesystem>
#include <ostream>
#include <thread>

namespace tovin {

namespace {

constexpr std::chrono::milliseconds kPollInterval{100};

// Sets the action once; a second action word is an error.
bool TakeAction(SBatchOptions& options, EBatchAction action, const std::vector<std::string>& words,
                std::size_t& i) {
    if (options.action != EBatchAction::None) {
        options.error = "Give only one of --build and --run.";
        return false;
    }
    if (i + 1 >= words.size() || words[i + 1] == "--") {
        options.error = words[i] + " needs a project file (.jpr).";
        return false;
    }
    options.action = action;
    options.projectPath = words[++i];
    return true;
}

std::string AbsolutePath(const std::string& path) {
    std::error_code ignored;
    std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    return absolute.empty() ? path : absolute.lexically_normal().string();
}

// The program's arguments as one argument text that the command-line splitting gives back
// word for word.
std::string JoinProgramArguments(const std::vector<std::string>& words) {
    std::string text;
    for (const auto& word : words) {
        text += (text.empty() ? "" : " ") + QuoteWindowsArgument(word);
    }
    return text;
}

} // namespace

SBatchOptions ParseBatchOptions(const std::vector<std::string>& arguments) {
    SBatchOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "--") {
            if (options.action != EBatchAction::Run) {
                options.error = "Program arguments after -- need --run.";
                return options;
            }
            options.programArguments.emplace(arguments.begin() + static_cast<long>(i) + 1,
                                             arguments.end());
            break;
        }
        if (word == "--help" || word == "-h") {
            options.help = true;
        } else if (word == "--version") {
            options.version = true;
        } else if (word == "--settings") {
            if (i + 1 >= arguments.size()) {
                options.error = "--settings needs a file.";
                return options;
            }
            options.settingsFile = arguments[++i];
        } else if (word == "--build" || word == "--run") {
            const auto action = word == "--build" ? EBatchAction::Build : EBatchAction::Run;
            if (!TakeAction(options, action, arguments, i)) {
                return options;
            }
        }
    }
    return options;
}

int BatchExitCode(std::optional<int> toolExitCode) {
    if (!toolExitCode) {
        return kBatchProcessError;
    }
    if (*toolExitCode < 0) {
        return 128 + -*toolExitCode;
    }
    // Codes a process cannot exit with (the still-active report) still mean failure.
    return *toolExitCode <= 255 ? *toolExitCode : kBatchProcessError;
}

void StreamRunnerOutput(CProcessRunner& runner, std::ostream& out,
                        std::chrono::milliseconds interval, const std::atomic<bool>* interrupted) {
    std::size_t offset = 0;
    bool pendingReturn = false; // a CR whose LF may come with the next piece
    bool stopped = false;
    for (;;) {
        // Asked before the text is fetched, so the last piece is never missed.
        const bool finished = runner.IsFinished();
        const std::string piece = runner.GetOutputFrom(offset);
        offset += piece.size();
        std::string text;
        text.reserve(piece.size() + 1);
        for (char c : piece) {
            if (pendingReturn && c != '\n') {
                text += '\r';
            }
            pendingReturn = c == '\r';
            if (!pendingReturn) {
                text += c;
            }
        }
        out << text << std::flush;
        if (finished) {
            break;
        }
        if (!stopped && (!out || (interrupted && interrupted->load()))) {
            runner.Terminate(CProcessRunner::kAbortExitCode);
            stopped = true;
        }
        std::this_thread::sleep_for(interval);
    }
    out << (pendingReturn ? "\r\n" : "\n") << std::flush;
}

int RunBatchCommand(const SBatchOptions& options, CSettingsStore& store, std::ostream& out,
                    std::ostream& err, const std::atomic<bool>* interrupted) {
    CSettings settings = LoadSettings(store);
    // The Arguments dialog is shown exactly when the run was given arguments.
    settings.showArgs = options.programArguments ? 1 : 0;
    CHeadlessUiHost host(out, err);
    if (options.programArguments) {
        host.SetArguments(JoinProgramArguments(*options.programArguments));
    }
    CJavaProjectDoc project(settings, host);
    // A moved or copied project builds the files beside it; the run says so.
    project.SetNoticeCallback(
        [&err](const std::string& text) { err << "tovin: " << text << '\n'; });
    const std::string error = project.Load(AbsolutePath(options.projectPath));
    if (!error.empty()) {
        err << "tovin: " << error << std::endl;
        return kBatchNotStarted;
    }
    // The project file stores no methods: the files are read, as the window reads them when it
    // shows the project, so that both choose the same main file when none is stored.
    project.RebaseEntries();
    project.RebuildClassInformation();
    if (options.action == EBatchAction::Build) {
        project.Build();
    } else {
        project.Run(true);
    }
    CProcessRunner* runner = host.Runner();
    if (!runner) {
        err << "tovin: no tool was started." << std::endl;
        return kBatchNotStarted;
    }
    StreamRunnerOutput(*runner, out, kPollInterval, interrupted);
    return BatchExitCode(runner->ExitCode());
}

} // namespace tovin
