#include "core/process/ProcessRunner.h"

#include "core/platform/CommandLine.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace tovin;

namespace {

bool WaitFinished(const CProcessRunner& runner) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!runner.IsFinished()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

struct SExitRow {
    const char* name;
    const char* script;
    int expected;
};

class RunnerExitCode : public ::testing::TestWithParam<SExitRow> {};

} // namespace

TEST_P(RunnerExitCode, MatchesTheReportLine) {
    CProcessRunner runner;
    EXPECT_EQ(runner.ExitCode(), std::nullopt);
    ASSERT_TRUE(runner.Start("/bin/sh", "sh -c " + QuoteWindowsArgument(GetParam().script), "/"));
    ASSERT_TRUE(WaitFinished(runner));
    EXPECT_EQ(runner.ExitCode(), GetParam().expected);
    EXPECT_NE(runner.GetOutput().find("Exit code: " + std::to_string(GetParam().expected)),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Codes, RunnerExitCode,
                         ::testing::Values(SExitRow{"Zero", "exit 0", 0},
                                           SExitRow{"Three", "echo x; exit 3", 3},
                                           SExitRow{"Signal", "kill -TERM $$", -15}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RunnerExitCodeAbort, TerminateGivesTheAbortCodeAndARestartForgetsIt) {
    CProcessRunner runner;
    ASSERT_TRUE(runner.Start("/bin/sleep", "sleep 30", "/"));
    runner.Terminate(CProcessRunner::kAbortExitCode);
    ASSERT_TRUE(WaitFinished(runner));
    EXPECT_EQ(runner.ExitCode(), CProcessRunner::kAbortExitCode);

    ASSERT_TRUE(runner.Start("/bin/sleep", "sleep 30", "/"));
    EXPECT_EQ(runner.ExitCode(), std::nullopt);
    runner.Terminate(7);
    ASSERT_TRUE(WaitFinished(runner));
    EXPECT_EQ(runner.ExitCode(), 7);
}

TEST(RunnerStartRecord, KeepsWhatStartWasGivenEvenWhenItFails) {
    CProcessRunner runner;
    EXPECT_FALSE(runner.Start("/no/such/tool", "tool \"a b\"", "/tmp"));
    EXPECT_EQ(runner.GetApplicationPath(), "/no/such/tool");
    EXPECT_EQ(runner.GetCommandLine(), "tool \"a b\"");
    EXPECT_EQ(runner.GetWorkingDirectory(), "/tmp");
}
