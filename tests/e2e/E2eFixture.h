#pragma once
// End-to-end tests drive the project commands with the machine's real JDK, jar and Jython on
// copies of the example projects in a temporary folder (examples/ itself is never written).

#include "core/app/Settings.h"
#include "core/platform/Files.h"
#include "core/platform/JdkDetection.h"
#include "core/process/ProcessRunner.h"
#include "core/project/CommandHelpers.h"
#include "core/project/JavaProjectDoc.h"

#include "FakeUiHost.h"
#include "TempDir.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace tovin::test {

// Debian's jython package keeps jython.jar here.
inline constexpr const char* kJythonFolder = "/usr/share/java";

// Lines of a Process Window text (CR LF line ends).
inline std::vector<std::string> OutputLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

class E2eTest : public ::testing::Test {
protected:
    E2eTest() : m_startFolder(CurrentFolder()) {
        settings.javaBin = DetectJdkFolder();
        settings.jython = kJythonFolder;
        settings.saveComp = 0;
        setenv("XDG_CACHE_HOME", dir.File("cache").c_str(), 1);
        project = std::make_unique<CJavaProjectDoc>(settings, host);
    }
    ~E2eTest() override { SetCurrentFolder(m_startFolder); }

    // Copies examples/<name> without anything a build left there; returns the copy's folder.
    std::string CopyExample(const std::string& name) const {
        namespace fs = std::filesystem;
        const fs::path from = fs::path(TOVIN_SOURCE_DIR) / "examples" / name;
        const fs::path to = dir.File(name);
        for (const auto& item : fs::recursive_directory_iterator(from)) {
            const std::string extension = item.path().extension().string();
            if (!item.is_regular_file() || extension == ".class" || extension == ".jar" ||
                item.path().filename() == "manifest.txt") {
                continue;
            }
            fs::create_directories(to / fs::relative(item.path().parent_path(), from));
            fs::copy_file(item.path(), to / fs::relative(item.path(), from));
        }
        return to.string();
    }

    // Loads a copy of an example project; returns the copy's folder.
    std::string LoadExample(const std::string& name) {
        const std::string folder = CopyExample(name);
        EXPECT_EQ(project->Load(folder + "/" + name + ".jpr"), "");
        return folder;
    }

    // The text of the tool the last command started, once it has ended.
    std::string ToolOutput() {
        if (host.runners.empty()) {
            ADD_FAILURE() << "no tool was started; messages: "
                          << ::testing::PrintToString(host.MessageTexts());
            return {};
        }
        const CProcessRunner& runner = *host.runners.back();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
        while (!runner.IsFinished() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_TRUE(runner.IsFinished()) << "the tool did not end";
        return runner.GetOutput();
    }

    // Builds the loaded project and expects the compiler to succeed.
    void BuildOk() {
        project->Build();
        const std::string output = ToolOutput();
        ASSERT_TRUE(output.ends_with("Exit code: 0\r\nNo Errors")) << output;
    }

    // Runs a program of this machine's JDK with the runner, as the commands do.
    std::string RunJdkTool(const std::string& tool, const std::string& commandLine,
                           const std::string& folder) {
        EXPECT_TRUE(
            LaunchTool(host, settings.javaBin + "/bin/" + tool, tool + " " + commandLine, folder));
        return ToolOutput();
    }

    CTempDir dir;
    CSettings settings;
    CFakeUiHost host;
    std::unique_ptr<CJavaProjectDoc> project;

private:
    std::string m_startFolder;
};

} // namespace tovin::test
