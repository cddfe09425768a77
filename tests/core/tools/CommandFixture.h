#pragma once
// A project, a scripted host and a stand-in JDK whose tools all exit at once, so each command
// test checks what a command handed to the runner (tool path, command line, folder) or to the
// console, without depending on what the real tools print.

#include "core/app/Settings.h"
#include "core/platform/Files.h"
#include "core/process/ProcessRunner.h"
#include "core/project/JavaProjectDoc.h"

#include "FakeUiHost.h"
#include "TempDir.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace tovin::test {

class CommandTest : public ::testing::Test {
protected:
    CommandTest() : m_startFolder(CurrentFolder()) {
        for (const char* tool : {"java", "javac", "jar", "appletviewer", "jdb"}) {
            std::filesystem::create_directories(dir.File("jdk/bin"));
            std::filesystem::create_symlink("/bin/true", dir.File("jdk/bin/") + tool);
        }
        settings.javaBin = dir.File("jdk");
        settings.jython = "/jy";
        settings.saveComp = 0;
        setenv("XDG_CACHE_HOME", dir.File("cache").c_str(), 1);
        project = std::make_unique<CJavaProjectDoc>(settings, host);
        project->SetClassPath("");
        project->SetWorkingDir("");
        project->SetRunOptions("");
        project->SetCompileOptions("");
    }
    ~CommandTest() override { SetCurrentFolder(m_startFolder); }

    std::string Tool(const std::string& name) const { return dir.File("jdk/bin/" + name); }

    // A folder under the test's folder, created.
    std::string Folder(const std::string& name) const {
        std::filesystem::create_directories(dir.File(name));
        return dir.File(name);
    }

    // Adds a file (created empty, with its folders) to the project with a package.
    std::string AddJava(const std::string& name, const std::string& package = "") {
        const std::string path = dir.Write(name, "");
        project->AddFile(path);
        project->JavaFiles().FindByFullPath(path)->SetPackage(package);
        return path;
    }

    // The runner the last command started, once its tool has ended (the next command may then
    // start one).
    const CProcessRunner& LastRunner() {
        EXPECT_FALSE(host.runners.empty()) << "no tool was started";
        if (host.runners.empty()) {
            static const CProcessRunner none;
            return none;
        }
        const CProcessRunner& runner = *host.runners.back();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!runner.IsFinished() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return runner;
    }

    std::string ConsoleScript() const { return ReadFile(dir.File("cache/tovin/tovinrun.sh")); }

    CTempDir dir;
    CSettings settings;
    CFakeUiHost host;
    std::unique_ptr<CJavaProjectDoc> project;

private:
    std::string m_startFolder;
};

} // namespace tovin::test
