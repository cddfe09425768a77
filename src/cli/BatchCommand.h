#pragma once
// The window-less batch runs of the tovin executable, for scripts and CI:
//   tovin --build PROJECT.jpr
//   tovin --run PROJECT.jpr [-- ARGS...]
// load the project with the stored settings, run the project's Build or captured Run command
// exactly as the window would, stream the Process Window text to standard output as it arrives
// (LF line ends) and end with the tool's exit code. The project file is never written.

#include <atomic>
#include <chrono>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace tovin {

class CProcessRunner;
class CSettingsStore;

enum class EBatchAction { None, Build, Run };

// Exit codes of a batch run that did not come from the tool.
inline constexpr int kBatchUsageError = 2;   // the command line is wrong
inline constexpr int kBatchNotStarted = 3;   // the project could not be loaded or no tool started
inline constexpr int kBatchProcessError = 1; // the tool's exit status could not be had

struct SBatchOptions {
    EBatchAction action = EBatchAction::None;
    std::string projectPath;
    std::string settingsFile; // --settings FILE; empty: the user's own settings
    bool help = false;
    bool version = false;
    // The words after "--": the program's arguments (they replace the Arguments dialog).
    std::optional<std::vector<std::string>> programArguments;
    std::string error; // why the command line is wrong; empty when it is right
};

// Reads the options that concern batch runs; other words (files to open, options of the
// window) are left to the desktop program.
SBatchOptions ParseBatchOptions(const std::vector<std::string>& arguments);

// Runs the batch action. Messages (and the process caption) go to err, the tool's output to out.
// interrupted (may be null) asks to stop: the tool is terminated as the Process Window's stop
// button does. Returns the tool's exit code (a signal N gives 128 + N), or one of the codes
// above.
int RunBatchCommand(const SBatchOptions& options, CSettingsStore& store, std::ostream& out,
                    std::ostream& err, const std::atomic<bool>* interrupted = nullptr);

// Writes the runner's text to out as it grows, CR LF as LF, until the run has ended; the final
// report gets a line end of its own. Polls every interval, as the Process Window does. A failed
// write to out or a set interrupted flag terminates the tool.
void StreamRunnerOutput(CProcessRunner& runner, std::ostream& out,
                        std::chrono::milliseconds interval,
                        const std::atomic<bool>* interrupted = nullptr);

// The exit code of the process for the run's exit code (nullopt: the status was not had).
int BatchExitCode(std::optional<int> toolExitCode);

} // namespace tovin
