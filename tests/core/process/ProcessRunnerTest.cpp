#include "core/process/ProcessRunner.h"

#include "FakeUiHost.h"
#include "TempDir.h"
#include "core/platform/CommandLine.h"
#include "core/platform/Files.h"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>

using namespace tovin;
using tovin::test::CFakeUiHost;
using tovin::test::CTempDir;

namespace {

template <typename Predicate> bool WaitUntil(Predicate predicate) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool StartShell(CProcessRunner& runner, const std::string& script,
                const std::string& folder = "/") {
    return runner.Start("/bin/sh", "sh -c " + QuoteWindowsArgument(script), folder);
}

std::string WaitForOutput(CProcessRunner& runner) {
    EXPECT_TRUE(WaitUntil([&] { return runner.IsFinished(); })) << "the run did not end";
    return runner.GetOutput();
}

std::string RunShell(const std::string& script, std::size_t chunkSize = 2046) {
    CProcessRunner runner;
    runner.SetReadChunkSize(chunkSize);
    EXPECT_TRUE(StartShell(runner, script)) << script;
    return WaitForOutput(runner);
}

// Waits until the output holds `lines` complete lines and returns them.
std::vector<std::string> WaitForLines(CProcessRunner& runner, std::size_t lines) {
    std::vector<std::string> result;
    EXPECT_TRUE(WaitUntil([&] {
        result.clear();
        std::string text = runner.GetOutput();
        for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            result.push_back(text.substr(start, end - start));
        }
        return result.size() >= lines;
    }));
    return result;
}

bool IsGone(pid_t pid) {
    std::string stat = tovin::test::ReadFile("/proc/" + std::to_string(pid) + "/stat");
    auto close = stat.rfind(')');
    return stat.empty() || (close != std::string::npos && stat.compare(close + 2, 1, "Z") == 0);
}

bool NoChildLeft() {
    int status = 0;
    return ::waitpid(-1, &status, WNOHANG) < 0 && errno == ECHILD;
}

int CountEntries(const char* folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++count;
    }
    return count;
}

const std::string kNoErrors = "Exit code: 0\r\nNo Errors";

TEST(ProcessRunner, LineEndsBecomeCrLfWhateverTheReadSize) {
    const std::pair<const char*, std::string> rows[] = {
        {"printf 'a\\nb\\n'", "a\r\nb\r\n"}, {"printf 'a\\r\\nb\\r\\n'", "a\r\nb\r\n"},
        {"printf 'a\\rb'", "a\rb"},          {"printf '\\n\\n'", "\r\n\r\n"},
        {"printf 'x\\r\\r\\n'", "x\r\r\n"},  {"echo out; echo err >&2", "out\r\nerr\r\n"},
    };
    for (std::size_t chunk : {std::size_t(1), std::size_t(2), std::size_t(3), std::size_t(2046)}) {
        for (const auto& [script, text] : rows) {
            EXPECT_EQ(RunShell(script, chunk), text + kNoErrors) << script << ", chunk " << chunk;
        }
    }
}

TEST(ProcessRunner, ZeroByteEndsTheTextOfItsRead) {
    CTempDir dir;
    // cat writes the file with one write, so every read of 4 bytes is full.
    std::string file = dir.Write("out.bin", std::string("ab\0c"
                                                        "d\nef",
                                                        8));
    EXPECT_EQ(RunShell("cat '" + file + "'", 4), "abd\r\nef" + kNoErrors);
}

TEST(ProcessRunner, ExitCodesAndReports) {
    const std::pair<const char*, std::string> rows[] = {
        {"true", kNoErrors},
        {"exit 1", "Exit code: 1\r\nThere were errors"},
        {"exit 11", "Exit code: 11\r\nProcess terminated by user."},
        {"printf hi; exit 2", "hiExit code: 2\r\nThere were errors"},
        {"kill -9 $$", "Exit code: -9\r\nThere were errors"},
        {"kill -TERM $$", "Exit code: -15\r\nThere were errors"},
    };
    for (const auto& [script, expected] : rows) {
        EXPECT_EQ(RunShell(script), expected) << script;
    }
}

TEST(ProcessRunner, FlagIsSetFromStartUntilTheReport) {
    CProcessRunner runner;
    EXPECT_FALSE(CProcessRunner::IsProcessRunning());
    ASSERT_TRUE(StartShell(runner, "echo started; exec sleep 1000"));
    EXPECT_TRUE(CProcessRunner::IsProcessRunning());
    EXPECT_FALSE(runner.IsFinished());
    WaitForLines(runner, 1);
    runner.Terminate(CProcessRunner::kAbortExitCode);
    WaitForOutput(runner);
    EXPECT_FALSE(CProcessRunner::IsProcessRunning());
}

TEST(ProcessRunner, StopMarkerWithALiveChildReportsStillActiveAndLetsItRunOn) {
    for (std::size_t chunk : {std::size_t(3), std::size_t(2046)}) {
        CTempDir dir;
        auto runner = std::make_unique<CProcessRunner>();
        runner->SetReadChunkSize(chunk);
        // After the marker the child waits for a go file, then still writes to its output.
        ASSERT_TRUE(StartShell(*runner,
                               "echo $$; printf GetModuleHandleA; while [ ! -e go ]; do sleep "
                               "0.01; done; echo more output; echo ok > ran-on",
                               dir.Path()));
        std::string output = WaitForOutput(*runner);
        pid_t child = std::stoi(output);
        EXPECT_EQ(output.substr(output.find('\n') + 1),
                  "GetModuleHandleAExit code: 259\r\nError - process still active!")
            << "chunk " << chunk;
        EXPECT_FALSE(CProcessRunner::IsProcessRunning());
        runner->Terminate(CProcessRunner::kAbortExitCode);
        EXPECT_EQ(runner->GetOutput(), output) << "a finished run is not reported again";
        runner.reset();
        EXPECT_FALSE(IsGone(child)) << "destroying the runner leaves the child running";

        dir.Write("go", "");
        const std::string proc = "/proc/" + std::to_string(child);
        EXPECT_TRUE(WaitUntil([&] { return !std::filesystem::exists(proc); }))
            << "the child is reaped once it exits, not left a zombie";
        EXPECT_EQ(tovin::test::ReadFile(dir.File("ran-on")), "ok\n") << "chunk " << chunk;
    }
    EXPECT_TRUE(NoChildLeft());
}

TEST(ProcessRunner, TerminateReportsTheGivenCode) {
    const std::pair<int, std::string> rows[] = {
        {11, "Exit code: 11\r\nProcess terminated by user."},
        {3, "Exit code: 3\r\nThere were errors"},
    };
    for (const auto& [code, report] : rows) {
        CProcessRunner runner;
        ASSERT_TRUE(StartShell(runner, "echo started; exec sleep 1000"));
        WaitForLines(runner, 1);
        runner.Terminate(code);
        EXPECT_EQ(WaitForOutput(runner), "started\r\n" + report);
        runner.Terminate(code);
        EXPECT_EQ(runner.GetOutput(), "started\r\n" + report) << "terminating twice is harmless";
    }
}

TEST(ProcessRunner, GrandchildHoldingThePipeKeepsTheRunUntilTerminated) {
    CProcessRunner runner;
    ASSERT_TRUE(StartShell(runner, "echo $$; sleep 1000 & echo $!"));
    auto lines = WaitForLines(runner, 2);
    pid_t shell = std::stoi(lines[0]);
    pid_t grandchild = std::stoi(lines[1]);
    ASSERT_TRUE(WaitUntil([&] { return IsGone(shell); }));
    EXPECT_FALSE(runner.IsFinished()) << "the output pipe is still open";
    EXPECT_TRUE(CProcessRunner::IsProcessRunning());

    runner.Terminate(CProcessRunner::kAbortExitCode);
    EXPECT_EQ(WaitForOutput(runner),
              lines[0] + "\r\n" + lines[1] + "\r\nExit code: 11\r\nProcess terminated by user.");
    EXPECT_TRUE(WaitUntil([&] { return IsGone(grandchild); }));
}

TEST(ProcessRunner, SecondStartWhileOneRunsIsRefusedSilently) {
    CFakeUiHost host;
    CProcessRunner first(&host);
    CProcessRunner second(&host);
    ASSERT_TRUE(StartShell(first, "echo started; exec sleep 1000"));
    WaitForLines(first, 1);
    EXPECT_FALSE(StartShell(second, "echo second"));
    EXPECT_FALSE(StartShell(first, "echo again"));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(second.GetOutput(), "");
    EXPECT_TRUE(second.IsFinished());
    EXPECT_EQ(first.GetOutput(), "started\r\n");
    EXPECT_FALSE(first.IsFinished());
    EXPECT_TRUE(CProcessRunner::IsProcessRunning());

    first.Terminate(CProcessRunner::kAbortExitCode);
    WaitForOutput(first);
    EXPECT_TRUE(StartShell(second, "echo second")) << "free again once the first has ended";
    EXPECT_EQ(WaitForOutput(second), "second\r\n" + kNoErrors);
}

TEST(ProcessRunner, StartFailureNamesTheProgramWithTheSystemsTextAndClearsTheFlag) {
    CTempDir dir;
    struct SRow {
        const char* name;
        std::string path;
        std::string folder;
        std::string message;
    };
    const std::string reason = SystemErrorText(ENOENT);
    const SRow rows[] = {
        {"MissingExecutable", dir.File("javac"), "/",
         "Cannot run \"" + dir.File("javac") + "\": " + reason},
        {"MissingFolder", "/bin/sh", dir.File("missing"),
         "Cannot run \"/bin/sh\" in \"" + dir.File("missing") + "\": " + reason},
        {"NotOnPath", "", "/", "Cannot run \"tovin-no-such-tool\": " + reason},
    };
    for (const auto& row : rows) {
        CFakeUiHost host;
        CProcessRunner runner(&host);
        EXPECT_FALSE(runner.Start(row.path, "tovin-no-such-tool -version", row.folder)) << row.name;
        ASSERT_EQ(host.messages.size(), 1u) << row.name;
        EXPECT_EQ(host.messages[0].text, row.message) << row.name;
        EXPECT_EQ(host.messages[0].caption, "Error");
        EXPECT_EQ(host.messages[0].buttons, EMsgButtons::Ok);
        EXPECT_EQ(host.messages[0].icon, EMsgIcon::Information);
        EXPECT_FALSE(CProcessRunner::IsProcessRunning()) << row.name;
        EXPECT_TRUE(runner.IsFinished()) << row.name;
    }
    CProcessRunner withoutHost;
    EXPECT_FALSE(withoutHost.Start(dir.File("javac"), "javac", "/"));
    EXPECT_TRUE(NoChildLeft());
}

TEST(ProcessRunner, EmptyPathLooksTheToolUpOnPath) {
    CProcessRunner runner;
    ASSERT_TRUE(runner.Start("", "sh -c \"echo found\"", "/"));
    EXPECT_EQ(WaitForOutput(runner), "found\r\n" + kNoErrors);
}

TEST(ProcessRunner, UnquotedWildcardsAreExpandedInTheWorkingFolder) {
    CTempDir dir;
    dir.Write("b.txt", "");
    dir.Write("a.txt", "");
    CProcessRunner runner;
    ASSERT_TRUE(runner.Start("/bin/echo", "echo *.txt \"*.txt\" *.none", dir.Path()));
    EXPECT_EQ(WaitForOutput(runner), "a.txt b.txt *.txt *.none\r\n" + kNoErrors);
}

TEST(ProcessRunner, LargeOutputArrivesWhole) {
    std::string output = RunShell("yes abc | head -n 100000");
    ASSERT_EQ(output.size(), 100000 * 5 + kNoErrors.size());
    EXPECT_EQ(output.substr(0, 10), "abc\r\nabc\r\n");
    EXPECT_EQ(output.substr(output.size() - kNoErrors.size()), kNoErrors);
}

TEST(ProcessRunner, OutputBeyondTheLimitIsDrainedAndDropped) {
    CProcessRunner runner;
    runner.SetReadChunkSize(100);
    runner.SetOutputLimit(1000);
    ASSERT_TRUE(StartShell(runner, "yes abc | head -n 100000; exit 3"));
    std::string output = WaitForOutput(runner);
    const std::string note = CProcessRunner::kOutputLimitNote;
    std::size_t kept = output.find(note);
    ASSERT_NE(kept, std::string::npos);
    EXPECT_GE(kept, 1000u);
    EXPECT_LT(kept, 1000u + 200u) << "at most one normalised chunk crosses the limit";
    EXPECT_EQ(output.substr(kept + note.size()), "Exit code: 3\r\nThere were errors")
        << "the tool ran to its end";
}

TEST(ProcessRunner, RunnerCanBeStartedAgainAfterItsRunEnded) {
    CProcessRunner runner;
    ASSERT_TRUE(StartShell(runner, "echo one"));
    EXPECT_EQ(WaitForOutput(runner), "one\r\n" + kNoErrors);
    ASSERT_TRUE(StartShell(runner, "echo two; exit 1"));
    EXPECT_EQ(WaitForOutput(runner), "two\r\nExit code: 1\r\nThere were errors");
}

// Commands that run tools one after another start the next as soon as the last is seen to
// have finished: by then the one-tool-at-a-time flag must be clear too.
TEST(ProcessRunner, TheNextToolStartsTheMomentTheLastIsSeenFinished) {
    CProcessRunner runners[2];
    for (int i = 0; i < 200; ++i) {
        CProcessRunner& runner = runners[i % 2];
        ASSERT_TRUE(runner.Start("/bin/true", "true", "/")) << "run " << i;
        while (!runner.IsFinished()) {
        }
    }
}

TEST(ProcessRunner, DestroyingARunningRunnerEndsTheChildAndTheThread) {
    pid_t child = 0;
    {
        CProcessRunner runner;
        ASSERT_TRUE(StartShell(runner, "echo $$; exec sleep 1000"));
        child = std::stoi(WaitForLines(runner, 1)[0]);
    }
    EXPECT_FALSE(CProcessRunner::IsProcessRunning());
    EXPECT_TRUE(IsGone(child));
    EXPECT_TRUE(NoChildLeft());
}

TEST(ProcessRunner, HostReleasesAttachedRunnersSafely) {
    pid_t child = 0;
    {
        CFakeUiHost host;
        auto runner = std::make_unique<CProcessRunner>(&host);
        ASSERT_TRUE(StartShell(*runner, "echo $$; exec sleep 1000"));
        child = std::stoi(WaitForLines(*runner, 1)[0]);
        host.AttachRunner(std::move(runner));
    }
    EXPECT_FALSE(CProcessRunner::IsProcessRunning());
    EXPECT_TRUE(IsGone(child));
}

TEST(ProcessRunner, HundredStartsLeakNoDescriptorsThreadsOrChildren) {
    int descriptors = CountEntries("/proc/self/fd");
    int threads = CountEntries("/proc/self/task");
    for (int i = 0; i < 100; ++i) {
        CProcessRunner runner;
        ASSERT_TRUE(StartShell(runner, "exit " + std::to_string(i % 3)));
        std::string output = WaitForOutput(runner);
        ASSERT_EQ(output.substr(0, 12), "Exit code: " + std::to_string(i % 3)) << i;
    }
    EXPECT_EQ(CountEntries("/proc/self/fd"), descriptors);
    EXPECT_EQ(CountEntries("/proc/self/task"), threads);
    EXPECT_TRUE(NoChildLeft());
}

TEST(ProcessRunner, RangesOfTheTextMatchTheWholeText) {
    CProcessRunner runner;
    ASSERT_TRUE(StartShell(runner, "printf 'one\\ntwo\\n'"));
    const std::string text = WaitForOutput(runner);
    EXPECT_EQ(runner.GetOutputSize(), text.size());
    EXPECT_EQ(runner.GetOutputRange(0, 5), "one\r\n");
    EXPECT_EQ(runner.GetOutputRange(5, 1000), text.substr(5));
    EXPECT_EQ(runner.GetOutputRange(text.size(), 3), "");
}

} // namespace

// ---- standard input typed by the user

namespace {

class CInputHost : public CFakeUiHost {
public:
    bool OffersInput() const override { return true; }
};

} // namespace

TEST(ProcessRunnerInput, WithoutAnInputLineTheToolReadsEndOfFileAtOnce) {
    EXPECT_EQ(RunShell("read line; echo \"got[$line] $?\""), "got[] 1\r\n" + kNoErrors);
    CProcessRunner runner;
    ASSERT_TRUE(StartShell(runner, "read line; echo \"got[$line]\""));
    EXPECT_FALSE(runner.AcceptsInput());
    WaitForOutput(runner);
}

TEST(ProcessRunnerInput, LinesReachTheChildAndEndOfInputEndsIt) {
    CInputHost host;
    CProcessRunner runner(&host);
    ASSERT_TRUE(StartShell(runner, "while read line; do echo \"got[$line]\"; done; echo end"));
    ASSERT_TRUE(runner.AcceptsInput());
    runner.WriteInput("a\n");
    EXPECT_EQ(WaitForLines(runner, 1), std::vector<std::string>{"got[a]"});
    runner.WriteInput("b c\n");
    WaitForLines(runner, 2);
    runner.CloseInput();
    EXPECT_FALSE(runner.AcceptsInput());
    EXPECT_EQ(WaitForOutput(runner), "got[a]\r\ngot[b c]\r\nend\r\n" + kNoErrors);
    runner.WriteInput("late\n"); // the run has ended: nothing to send to
    runner.FlushInput();
}

// More than the connection holds waits, without blocking the caller, until the child reads it.
TEST(ProcessRunnerInput, InputTheChildDoesNotTakeAtOnceIsSentLater) {
    CInputHost host;
    CProcessRunner runner(&host);
    ASSERT_TRUE(StartShell(runner, "read go; wc -c"));
    const std::string large(std::size_t(4) << 20, 'x');
    runner.WriteInput("go\n" + large);
    runner.CloseInput();
    EXPECT_TRUE(WaitUntil([&] {
        runner.FlushInput();
        return runner.IsFinished();
    }));
    EXPECT_EQ(runner.GetOutput(), std::to_string(large.size()) + "\r\n" + kNoErrors);
}

// A child that closed its input is written to without harm: the IDE gets no SIGPIPE.
TEST(ProcessRunnerInput, WritingToAChildThatClosedItsInputEndsTheInputOnly) {
    CInputHost host;
    CProcessRunner runner(&host);
    ASSERT_TRUE(StartShell(runner, "exec 0<&-; echo closed; read never; exec sleep 1000"));
    WaitForLines(runner, 1);
    EXPECT_TRUE(WaitUntil([&] {
        runner.WriteInput("x\n");
        return !runner.AcceptsInput();
    }));
    runner.Terminate(CProcessRunner::kAbortExitCode);
    EXPECT_NE(WaitForOutput(runner).find("Process terminated by user."), std::string::npos);
}
