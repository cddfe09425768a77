#include "core/platform/Terminal.h"
#include "core/platform/Files.h"

#include "TempDir.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <thread>

using namespace tovin;
using tovin::test::CTempDir;
using tovin::test::ReadFile;

namespace {

// Each test gets a PATH of its own folder only and no TERMINAL; the environment is restored.
class TerminalTest : public testing::Test {
protected:
    void SetUp() override {
        Save("PATH", m_path);
        Save("TERMINAL", m_terminal);
        ::setenv("PATH", m_bin.Path().c_str(), 1);
        ::unsetenv("TERMINAL");
    }
    void TearDown() override {
        Restore("PATH", m_path);
        Restore("TERMINAL", m_terminal);
    }

    // A stand-in terminal that records its arguments and working folder.
    std::string FakeTerminal(const std::string& name) {
        std::string record = m_work.File(name + ".record");
        std::string path = m_bin.Write(name, "#!/bin/sh\n"
                                             "{ printf '%s\\n' \"$@\"; pwd -P; } > '" +
                                                 record + ".tmp'\n/bin/mv '" + record + ".tmp' '" +
                                                 record + "'\n");
        ::chmod(path.c_str(), 0755);
        return record;
    }

    static std::string WaitForFile(const std::string& path) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!FileExists(path) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return ReadFile(path);
    }

    std::string Canonical(const std::string& path) {
        return std::filesystem::canonical(path).string();
    }

    CTempDir m_bin;
    CTempDir m_work;

private:
    static void Save(const char* name, std::optional<std::string>& value) {
        const char* current = std::getenv(name);
        value = current ? std::optional<std::string>(current) : std::nullopt;
    }
    static void Restore(const char* name, const std::optional<std::string>& value) {
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    std::optional<std::string> m_path;
    std::optional<std::string> m_terminal;
};

TEST_F(TerminalTest, RunsTheScriptWithShInTheFolder) {
    std::string record = FakeTerminal("xterm");
    EXPECT_EQ(OpenTerminal("/tmp/tovinrun.sh", m_work.Path()), "");
    EXPECT_EQ(WaitForFile(record),
              "-e\n/bin/sh\n/tmp/tovinrun.sh\n" + Canonical(m_work.Path()) + "\n");
}

TEST_F(TerminalTest, ChoosesTheFirstAvailableInOrder) {
    FakeTerminal("xterm");
    FakeTerminal("x-terminal-emulator");
    EXPECT_EQ(FindTerminal(), m_bin.File("x-terminal-emulator"));

    ::setenv("TERMINAL", "my-term", 1);
    EXPECT_EQ(FindTerminal(), m_bin.File("x-terminal-emulator")) << "a missing TERMINAL is passed";
    FakeTerminal("my-term");
    EXPECT_EQ(FindTerminal(), m_bin.File("my-term"));

    std::string elsewhere = m_work.Write("term", "#!/bin/sh\n");
    ::chmod(elsewhere.c_str(), 0755);
    ::setenv("TERMINAL", elsewhere.c_str(), 1);
    EXPECT_EQ(FindTerminal(), elsewhere) << "TERMINAL may name a path";
}

TEST_F(TerminalTest, NoTerminalIsAClearError) {
    EXPECT_EQ(FindTerminal(), "");
    EXPECT_EQ(OpenTerminal("/tmp/tovinrun.sh", m_work.Path()),
              "No terminal emulator found: set TERMINAL, or install x-terminal-emulator or xterm.");
}

TEST_F(TerminalTest, TerminalThatCannotStartGivesTheSystemsReason) {
    std::string broken = m_bin.Write("xterm", "not a program");
    ::chmod(broken.c_str(), 0755);
    EXPECT_EQ(OpenTerminal("/tmp/tovinrun.sh", m_work.Path()),
              broken + ": " + SystemErrorText(ENOEXEC));
}

} // namespace
