#include "cli/HeadlessMain.h"

#include "cli/BatchCommand.h"
#include "cli/CheckCommand.h"
#include "cli/CompleteCommand.h"
#include "cli/DebugAdapterCommand.h"
#include "cli/FindCommand.h"
#include "cli/HighlightCommand.h"
#include "cli/OutlineCommand.h"
#include "cli/TestCommand.h"
#include "core/app/Settings.h"
#include "settings/IniSettingsStore.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <memory>

namespace tovin {

namespace {

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) {
    g_interrupted = true;
}

// A batch run stops its tool when it is interrupted, instead of leaving it running in its own
// session; a closed standard output is noticed as a failed write rather than a fatal signal.
void CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

// The user's settings, or those of the file named by --settings, for the options that only
// read them.
CSettings LoadUserSettings(const std::vector<std::string>& arguments) {
    auto option = std::find(arguments.begin(), arguments.end(), "--settings");
    if (option != arguments.end() && option + 1 != arguments.end()) {
        return LoadSettings(CIniSettingsStore(*(option + 1)));
    }
    return LoadSettings(CIniSettingsStore());
}

} // namespace

std::string HelpText() {
    return "Usage: tovin [options] [FILE...]\n"
           "       tovin --build PROJECT.jpr [--settings FILE]\n"
           "       tovin --run PROJECT.jpr [--settings FILE] [-- ARGUMENTS...]\n"
           "       tovin --check FILE...|PROJECT.jpr [--settings FILE]\n"
           "       tovin --language-server [--project PROJECT.jpr] [--settings FILE]\n"
           "       tovin --complete FILE:LINE:COLUMN [--project PROJECT.jpr] [--settings FILE]\n"
           "A small integrated development environment for Java.\n"
           "\n"
           "Without --build or --run, Tovin opens its window with the FILEs (sources or a\n"
           "project).\n"
           "\n"
           "Options:\n"
           "  --build PROJECT   compile every Java file of the project, as Build does, without a\n"
           "                    window; the compiler's output goes to standard output\n"
           "  --run PROJECT     run the project's main class (or main script), as Run "
           "Application\n"
           "                    does, without a window; the program's output goes to standard\n"
           "                    output\n"
           "  -- ARGUMENTS...   with --run: the program's arguments (they take the place of the\n"
           "                    Arguments dialog)\n"
           "  --settings FILE   read and write the settings in FILE instead of the user's own\n"
           "  --outline FILE... print the classes, methods and functions of each file, one\n"
           "                    item a line, tab-separated, and exit\n"
           "  --highlight [--runs] FILE\n"
           "                    print FILE with syntax colours (ANSI) from the user's colour\n"
           "                    settings, or with --runs one line per run: START, END and\n"
           "                    CLASS, positions in the CR LF text\n" +
           FindCommandHelp() + TestCommandHelp() + CheckCommandHelp() + CompleteCommandHelp() +
           "  --debug-adapter   serve the debugger's protocol (DAP) on standard input and\n"
           "                    output, for any client; the settings name the JDK\n"
           "  --version         print the version and exit\n"
           "  --help            print this help and exit\n"
           "\n"
           "--build and --run end with the tool's exit code (a tool ended by signal N gives\n"
           "128+N); 2 means the command line was wrong, 3 that the project could not be loaded\n"
           "or no tool was started. Messages go to standard error. --check ends with 1 when\n"
           "the compiler found an error, 3 when no language server could be started.\n"
           "--complete ends with 2 when the place is not in the file, 3 when the file is\n"
           "missing or no language server answered.\n";
}

std::optional<int> RunHeadless(const std::vector<std::string>& arguments, std::ostream& out,
                               std::ostream& err) {
    // Everything after --outline names files to outline; everything after -- is a program's.
    const auto separator = std::find(arguments.begin(), arguments.end(), "--");
    const auto outline = std::find(arguments.begin(), separator, "--outline");
    const bool outlining = outline != separator;
    if (!outlining && std::find(arguments.begin(), separator, "--test") != separator) {
        CatchInterrupts();
        return RunTestCommand(arguments, out, err, &g_interrupted);
    }
    if (!outlining && std::find(arguments.begin(), separator, "--find") != separator) {
        return RunFindCommand(arguments, out, err);
    }
    if (!outlining && std::find(arguments.begin(), separator, "--debug-adapter") != separator) {
        return RunDebugAdapter(LoadUserSettings(arguments), err);
    }
    if (const auto highlight = std::find(arguments.begin(), separator, "--highlight");
        !outlining && highlight != separator) {
        return RunHighlightCommand({highlight + 1, arguments.end()}, LoadUserSettings(arguments),
                                   out, err);
    }
    if (!outlining) {
        if (auto code = RunCompleteCommand({arguments.begin(), separator}, out, err)) {
            return code;
        }
        if (auto code = RunLanguageCommand({arguments.begin(), separator}, out, err)) {
            return code;
        }
    }
    const SBatchOptions options = ParseBatchOptions(
        outlining ? std::vector<std::string>(arguments.begin(), outline) : arguments);
    if (options.help) {
        out << HelpText();
        return 0;
    }
    if (options.version) {
        out << "Tovin " << TOVIN_VERSION << "\n";
        return 0;
    }
    std::string error = options.error;
    if (error.empty() && outlining && options.action != EBatchAction::None) {
        error = "Give only one of --build, --run and --outline.";
    }
    if (!error.empty()) {
        err << "tovin: " << error << "\nTry 'tovin --help'.\n";
        return kBatchUsageError;
    }
    if (outlining) {
        return RunOutline({outline + 1, arguments.end()}, out, err);
    }
    if (options.action == EBatchAction::None) {
        return std::nullopt;
    }
    CatchInterrupts();
    auto store = options.settingsFile.empty()
                     ? std::make_unique<CIniSettingsStore>()
                     : std::make_unique<CIniSettingsStore>(options.settingsFile);
    return RunBatchCommand(options, *store, out, err, &g_interrupted);
}

} // namespace tovin
