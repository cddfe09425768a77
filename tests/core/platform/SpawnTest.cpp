#include "core/platform/Spawn.h"
#include "core/platform/Files.h"

#include "TempDir.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace tovin;
using tovin::test::CTempDir;

namespace {

std::string ReadAll(CChildProcess& child) {
    std::string output;
    char buffer[4096];
    while (std::size_t n = child.ReadOutput(buffer, sizeof buffer)) {
        output.append(buffer, n);
    }
    return output;
}

// Runs a shell command and returns everything it wrote, with its exit status.
std::pair<std::string, SExitStatus> RunShell(const std::string& script,
                                             const std::string& folder = "/") {
    CChildProcess child;
    std::string error = child.Start("/bin/sh", {"sh", "-c", script}, folder);
    EXPECT_EQ(error, "");
    std::string output = ReadAll(child);
    return {output, child.Wait()};
}

int CountOpenDescriptors() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

// True when no child of this process is left unreaped.
bool NoChildLeft() {
    int status = 0;
    return ::waitpid(-1, &status, WNOHANG) < 0 && errno == ECHILD;
}

bool IsGone(pid_t pid) {
    std::string stat = tovin::test::ReadFile("/proc/" + std::to_string(pid) + "/stat");
    auto close = stat.rfind(')');
    return stat.empty() || (close != std::string::npos && stat.compare(close + 2, 1, "Z") == 0);
}

template <typename Predicate> bool WaitUntil(Predicate predicate) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

TEST(Spawn, BothStreamsShareOnePipeInOrder) {
    auto [output, status] = RunShell("echo out; echo err >&2; echo out2");
    EXPECT_EQ(output, "out\nerr\nout2\n");
    EXPECT_EQ(status.state, EExitState::Exited);
    EXPECT_EQ(status.code, 0);
}

TEST(Spawn, InputIsEmpty) {
    EXPECT_EQ(RunShell("cat; echo done").first, "done\n");
}

TEST(Spawn, ChildLeadsItsOwnSessionWithoutTerminal) {
    CChildProcess child;
    ASSERT_EQ(child.Start("/bin/cat", {"cat", "/proc/self/stat"}, "/"), "");
    std::string stat = ReadAll(child);
    child.Wait();
    // Fields after the command name: state ppid pgrp session tty_nr.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string state;
    long ppid = 0, group = 0, session = 0, tty = -1;
    fields >> state >> ppid >> group >> session >> tty;
    EXPECT_EQ(group, child.Pid());
    EXPECT_EQ(session, child.Pid());
    EXPECT_EQ(tty, 0);
}

TEST(Spawn, ArgumentZeroIsPassedAsWritten) {
    CChildProcess child;
    ASSERT_EQ(child.Start("/bin/cat", {"any name", "/proc/self/cmdline"}, "/"), "");
    EXPECT_EQ(ReadAll(child), std::string("any name\0/proc/self/cmdline\0", 28));
}

TEST(Spawn, RunsInTheWorkingFolder) {
    CTempDir dir;
    std::string real = std::filesystem::canonical(dir.Path()).string();
    EXPECT_EQ(RunShell("pwd -P", dir.Path()).first, real + "\n");
}

TEST(Spawn, EmptyPathSearchesArgumentZeroOnPath) {
    CChildProcess child;
    ASSERT_EQ(child.Start("", {"sh", "-c", "echo found"}, ""), "");
    EXPECT_EQ(ReadAll(child), "found\n");
}

TEST(Spawn, RelativePathIsTakenFromTheCallersFolder) {
    CTempDir dir;
    std::string script = dir.Write("tool.sh", "#!/bin/sh\necho tool\n");
    ::chmod(script.c_str(), 0755);
    std::string before = CurrentFolder();
    ASSERT_TRUE(SetCurrentFolder(dir.Path()));
    CChildProcess child;
    std::string error = child.Start("./tool.sh", {"tool.sh"}, "/");
    SetCurrentFolder(before);
    ASSERT_EQ(error, "");
    EXPECT_EQ(ReadAll(child), "tool\n");
}

TEST(Spawn, StartFailuresGiveTheSystemsReason) {
    CTempDir dir;
    std::string plain = dir.Write("plain.txt", "not a program");
    struct SRow {
        const char* name;
        std::string executable;
        std::vector<std::string> arguments;
        std::string folder;
        int error;
    };
    const SRow rows[] = {
        {"MissingExecutable", dir.File("nothing"), {"nothing"}, "/", ENOENT},
        {"MissingFolder", "/bin/sh", {"sh"}, dir.File("no-folder"), ENOENT},
        {"FolderIsAFile", "/bin/sh", {"sh"}, plain, ENOTDIR},
        {"NotExecutable", plain, {"plain.txt"}, "/", EACCES},
        {"NotOnPath", "", {"tovin-no-such-tool"}, "/", ENOENT},
        {"EmptyProgramName", "", {""}, "/", ENOENT},
    };
    int descriptors = CountOpenDescriptors();
    for (const auto& row : rows) {
        CChildProcess child;
        EXPECT_EQ(child.Start(row.executable, row.arguments, row.folder),
                  SystemErrorText(row.error))
            << row.name;
        EXPECT_EQ(CountOpenDescriptors(), descriptors) << row.name;
        EXPECT_TRUE(NoChildLeft()) << row.name;
    }
}

TEST(Spawn, ExitStatusIsTheCodeOrMinusTheSignal) {
    const std::pair<const char*, int> rows[] = {{"exit 0", 0},
                                                {"exit 3", 3},
                                                {"exit 255", 255},
                                                {"kill -TERM $$", -15},
                                                {"kill -9 $$", -9}};
    for (const auto& [script, code] : rows) {
        auto status = RunShell(script).second;
        EXPECT_EQ(status.state, EExitState::Exited) << script;
        EXPECT_EQ(status.code, code) << script;
    }
}

TEST(Spawn, ChildSeesOnlyTheStandardDescriptors) {
    // A descriptor the IDE opened without close-on-exec must not reach the tool either.
    int leaky = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(leaky, 0);
    auto [output, status] = RunShell("ls /proc/$$/fd");
    ::close(leaky);
    EXPECT_EQ(output, "0\n1\n2\n");
}

TEST(Spawn, NothingLeaksAfterRuns) {
    int descriptors = CountOpenDescriptors();
    for (int i = 0; i < 20; ++i) {
        auto [output, status] = RunShell("echo " + std::to_string(i));
        EXPECT_EQ(output, std::to_string(i) + "\n");
    }
    EXPECT_EQ(CountOpenDescriptors(), descriptors);
    EXPECT_TRUE(NoChildLeft());
}

TEST(Spawn, PollSaysRunningUntilTheChildExits) {
    CChildProcess child;
    ASSERT_EQ(child.Start("/bin/sh", {"sh", "-c", "read x; exit 4"}, "/"), "");
    // stdin is /dev/null, so read fails at once and the shell exits with 4.
    EXPECT_EQ(ReadAll(child), "");
    EXPECT_EQ(child.Wait().code, 4);
    EXPECT_EQ(child.Poll().code, 4);

    CChildProcess sleeper;
    ASSERT_EQ(sleeper.Start("/bin/sleep", {"sleep", "1000"}, "/"), "");
    EXPECT_EQ(sleeper.Poll().state, EExitState::Running);
    EXPECT_TRUE(sleeper.KillGroup());
    EXPECT_EQ(sleeper.Wait().code, -SIGKILL);
    EXPECT_FALSE(sleeper.KillGroup()) << "a reaped child's group must not be signalled";
}

TEST(Spawn, GrandchildHoldingThePipeDelaysEndOfFile) {
    CChildProcess child;
    ASSERT_EQ(child.Start("/bin/sh", {"sh", "-c", "sleep 1000 & echo $!"}, "/"), "");
    std::string line;
    char buffer[64];
    while (line.find('\n') == std::string::npos) {
        std::size_t n = child.ReadOutput(buffer, sizeof buffer);
        ASSERT_GT(n, 0u);
        line.append(buffer, n);
    }
    pid_t grandchild = std::stoi(line);
    EXPECT_EQ(child.Wait().code, 0) << "the shell itself ends at once";
    // Reaped: the group may no longer be signalled through the child; the grandchild still
    // holds the pipe, so the next read would block. Kill it by its own group id instead.
    EXPECT_FALSE(IsGone(grandchild));
    ::kill(grandchild, SIGKILL);
    EXPECT_EQ(ReadAll(child), "");
    EXPECT_TRUE(WaitUntil([&] { return IsGone(grandchild); }));
}

TEST(Spawn, KillGroupBeforeReapingEndsTheWholeGroup) {
    CChildProcess child;
    ASSERT_EQ(child.Start("/bin/sh", {"sh", "-c", "sleep 1000 & echo $!; exec sleep 1000"}, "/"),
              "");
    std::string line;
    char buffer[64];
    while (line.find('\n') == std::string::npos) {
        std::size_t n = child.ReadOutput(buffer, sizeof buffer);
        ASSERT_GT(n, 0u);
        line.append(buffer, n);
    }
    pid_t grandchild = std::stoi(line);
    EXPECT_TRUE(child.KillGroup());
    EXPECT_EQ(ReadAll(child), "") << "end of file once every holder of the pipe is gone";
    EXPECT_EQ(child.Wait().code, -SIGKILL);
    EXPECT_TRUE(WaitUntil([&] { return IsGone(grandchild); }));
}

TEST(Spawn, StopReadingGivesUpOnAPipeHeldOutsideTheGroup) {
    CChildProcess child;
    // setsid moves the sleeper out of the child's group, so killing the group cannot end it.
    ASSERT_EQ(child.Start("/bin/sh", {"sh", "-c", "setsid sleep 1000 & echo $!; wait"}, "/"), "");
    std::string line;
    char buffer[64];
    while (line.find('\n') == std::string::npos) {
        std::size_t n = child.ReadOutput(buffer, sizeof buffer);
        ASSERT_GT(n, 0u);
        line.append(buffer, n);
    }
    pid_t escaped = std::stoi(line);
    EXPECT_TRUE(child.KillGroup());
    child.StopReading();
    EXPECT_EQ(ReadAll(child), "");
    EXPECT_EQ(child.Wait().code, -SIGKILL);
    ::kill(escaped, SIGKILL);
}

TEST(Spawn, DestroyingARunningChildKillsAndReapsIt) {
    pid_t pid = 0;
    {
        CChildProcess child;
        ASSERT_EQ(child.Start("/bin/sleep", {"sleep", "1000"}, "/"), "");
        pid = child.Pid();
    }
    EXPECT_TRUE(IsGone(pid));
    EXPECT_TRUE(NoChildLeft());
}

TEST(Spawn, DetachedChildRunsWithoutBeingWaitedFor) {
    CTempDir dir;
    int descriptors = CountOpenDescriptors();
    EXPECT_EQ(
        SpawnDetached("/bin/sh", {"sh", "-c", "pwd -P > out.txt; mv out.txt done.txt"}, dir.Path()),
        "");
    EXPECT_TRUE(NoChildLeft()) << "the intermediate process is reaped at once";
    EXPECT_EQ(CountOpenDescriptors(), descriptors);
    ASSERT_TRUE(WaitUntil([&] { return FileExists(dir.File("done.txt")); }));
    EXPECT_EQ(tovin::test::ReadFile(dir.File("done.txt")),
              std::filesystem::canonical(dir.Path()).string() + "\n");
}

TEST(Spawn, DetachedStartFailureGivesTheReason) {
    CTempDir dir;
    EXPECT_EQ(SpawnDetached(dir.File("none"), {"none"}, "/"), SystemErrorText(ENOENT));
    EXPECT_EQ(SpawnDetached("/bin/sh", {"sh"}, dir.File("none")), SystemErrorText(ENOENT));
    EXPECT_TRUE(NoChildLeft());
}

TEST(Spawn, FindExecutableOnPath) {
    EXPECT_EQ(FindExecutableOnPath("/bin/sh"), "/bin/sh");
    EXPECT_EQ(FindExecutableOnPath("/etc/passwd"), "");
    EXPECT_EQ(FindExecutableOnPath(""), "");
    EXPECT_EQ(FindExecutableOnPath("tovin-no-such-tool"), "");
    std::string sh = FindExecutableOnPath("sh");
    EXPECT_FALSE(sh.empty());
    EXPECT_EQ(sh.substr(sh.size() - 3), "/sh");
}

} // namespace
