#pragma once
// Runs one external tool with standard output and standard error captured into one text.
//
// Contract:
// - Only one tool runs at a time in the whole application: Start claims the application-wide
//   process-running flag (IsProcessRunning) and fails at once, without a message, while it is
//   held. The flag is released by the reader thread after the final report, or by a failed Start.
// - The command line is split by SplitCommandLine and unquoted wildcards are expanded against
//   the working folder; nothing is ever handed to a shell.
// - Output is read on a reader thread in chunks of at most kReadChunk bytes. Each chunk's text
//   ends at its first zero byte. Line ends become CR LF: a lone LF gains a CR, a CR LF pair split
//   between two reads is joined again, a lone CR stays. The text only ever grows, so a viewer
//   may fetch just the part it has not shown yet (GetOutputFrom).
// - Reading stops at end of file (the child and everything that inherited its output have
//   exited), or as soon as the text contains kStopMarker. Then the text ends with
//   "Exit code: N" and a report: "\r\nNo Errors" for 0, "\r\nProcess terminated by user." for
//   kAbortExitCode, "\r\nError - process still active!" for kStillActiveCode (the child was
//   still running when the marker stopped the reading), "\r\nThere were errors" otherwise; or
//   "Warning! There were process errors" when the exit status cannot be had. A child killed by
//   a signal reports minus the signal number; one stopped through Terminate the code given.
// - Beyond kOutputLimit bytes the text gets kOutputLimitNote once and further output is read
//   but dropped; the run ends as usual with its exit code.
// - After end of file the reader waits for the child to exit, so a child that closed its output
//   but runs on keeps the runner running until it exits or is terminated.
// - Standard input is /dev/null, unless the host offers input (CUiHost::OffersInput): then the
//   child reads what WriteInput sends, and end of file once CloseInput was called or the run
//   has ended. Input is handled on the owner's thread and never blocks it: what the child does
//   not take at once waits for FlushInput.
//
// Release: the runner may be destroyed at any time on the thread that owns it. A runner whose
// reader thread still runs is terminated first (as Terminate(kAbortExitCode) does) and the
// destructor joins the thread, so the thread never touches a destroyed runner. A child still
// running after its report (the stop-marker case) is left running: a background thread drains
// its output and reaps it when it exits, whenever the runner is destroyed or started again.
// Owners that must not block wait for IsFinished() before destroying it; the join is then
// immediate.

#include "core/process/OutputText.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace tovin {

class CChildProcess;
class CUiHost;
struct SExitStatus;

class CProcessRunner {
public:
    static constexpr std::size_t kReadChunk = 2046;
    static constexpr const char* kStopMarker = "GetModuleHandleA";
    static constexpr int kAbortExitCode = 11;
    static constexpr int kStillActiveCode = 259;
    // Output kept at most (roughly: the chunk that crosses it is kept whole). A tool that
    // prints without end would otherwise exhaust the IDE's memory.
    static constexpr std::size_t kOutputLimit = std::size_t(256) << 20;
    static constexpr const char* kOutputLimitNote =
        "\r\n*** Output limit reached: the rest of the output is discarded ***\r\n";

    // host (may be null) shows the "Error" box when a start fails.
    explicit CProcessRunner(CUiHost* host = nullptr);
    virtual ~CProcessRunner();
    CProcessRunner(const CProcessRunner&) = delete;
    CProcessRunner& operator=(const CProcessRunner&) = delete;

    // Starts the tool at applicationPath (empty: argument zero is looked up on $PATH) with the
    // Windows-style commandLine in workingDirectory (empty: the current folder). True when the
    // child runs and its output is being read. False without a message when another tool runs;
    // false with the system's text in an "Error" box when the child cannot be started.
    bool Start(const std::string& applicationPath, const std::string& commandLine,
               const std::string& workingDirectory);

    // What the last Start was given, also when the child then failed to start (not when Start
    // was refused because another tool runs).
    const std::string& GetApplicationPath() const { return m_applicationPath; }
    const std::string& GetCommandLine() const { return m_commandLine; }
    const std::string& GetWorkingDirectory() const { return m_workingDirectory; }

    std::string GetOutput() const;
    // The text from offset on (empty when offset is at or past its end).
    std::string GetOutputFrom(std::size_t offset) const;
    // At most count bytes of the text from offset on, and the text's size: a viewer of a large
    // output copies only the part it shows.
    std::string GetOutputRange(std::size_t offset, std::size_t count) const;
    std::size_t GetOutputSize() const { return OutputSize(); }
    // Appends text (up to its first zero byte) with line ends normalised as described above.
    void AppendOutput(std::string_view text);

    // Kills the child's whole process group if the run has not ended, and reports exitCode as
    // the exit code. The group is killed, not only the child, so a grandchild that holds the
    // output pipe cannot keep the reader waiting; a process that left the group is waited for
    // at most a short grace period. Does nothing once the run has ended.
    void Terminate(int exitCode);

    // True when no reader thread of this runner can still touch it: never started, start failed,
    // or the final report has been appended.
    bool IsFinished() const { return m_finished.load(); }
    // The code of the "Exit code" line once the run has ended (at the latest when IsFinished
    // turns true); nullopt before, and when the report is "Warning! There were process errors".
    std::optional<int> ExitCode() const;

    // ---- standard input (owner's thread only)
    // True while the run goes on and its input is open.
    bool AcceptsInput() const;
    // Sends the bytes to the child's input, after any still waiting.
    void WriteInput(std::string_view bytes);
    // Ends the child's input once everything waiting is sent.
    void CloseInput();
    // Sends what the child did not take before; closes the input of a run that has ended.
    void FlushInput();

    // Read size per chunk, between 1 and kReadChunk; tests lower it to hit the seams between
    // reads. Takes effect at the next Start.
    void SetReadChunkSize(std::size_t size);
    // Output limit in bytes (default kOutputLimit); takes effect at the next Start.
    void SetOutputLimit(std::size_t bytes);

    // The application-wide process-running flag.
    static bool IsProcessRunning() { return s_processRunning.load(); }

private:
    void ReadOutput(std::size_t chunkSize, std::size_t outputLimit);
    std::size_t OutputSize() const;
    // Appends and tells whether the stop marker arrived with this text.
    bool AppendAndFindMarker(std::string_view text);
    // The final "Exit code" line and report; a Terminate that came first decides the code.
    std::string Report(const SExitStatus& status);

    static std::atomic<bool> s_processRunning;

    CUiHost* m_host;
    std::string m_applicationPath;
    std::string m_commandLine;
    std::string m_workingDirectory;
    mutable std::mutex m_outputLock;
    COutputText m_output;
    std::string m_scratch; // the normalised form of the text being appended
    std::size_t m_chunkSize = kReadChunk;
    std::size_t m_outputLimit = kOutputLimit;
    std::unique_ptr<CChildProcess> m_child;
    std::thread m_reader;
    std::atomic<bool> m_finished{true};
    // Decides between the child's own status and a Terminate: whichever comes first wins.
    mutable std::mutex m_endLock;
    bool m_endDecided = false;
    std::optional<int> m_abortCode;
    std::optional<int> m_exitCode; // set with the report
    std::string m_pendingInput;
    bool m_closeInputPending = false;
};

} // namespace tovin
