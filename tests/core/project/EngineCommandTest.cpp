#include "core/project/EngineCommand.h"

#include "core/app/Settings.h"
#include "core/platform/Paths.h"
#include "core/project/JavaProjectDoc.h"
#include "core/project/TestCommands.h"

#include "FakeUiHost.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace tovin;
using namespace tovin::test;

namespace {

TEST(EngineCommandTest, ReadsTheJdksMajorVersionFromItsReleaseFile) {
    const struct {
        const char* name;
        const char* release; // nullptr: no release file
        int major;
    } rows[] = {
        {"current scheme", "IMPLEMENTOR=\"Debian\"\nJAVA_VERSION=\"17.0.8\"\n", 17},
        {"bare feature release", "JAVA_VERSION=\"21\"\n", 21},
        {"old scheme", "JAVA_VERSION=\"1.8.0_392\"\n", 8},
        {"unquoted", "JAVA_VERSION=25.0.1\n", 25},
        {"no version line", "JAVA_RUNTIME_VERSION=\"17\"\n", 0},
        {"garbage", "JAVA_VERSION=\"beta\"\n", 0},
        {"no release file", nullptr, 0},
    };
    for (const auto& row : rows) {
        CTempDir dir;
        if (row.release) {
            dir.Write("jdk/release", row.release);
        }
        EXPECT_EQ(JdkMajorVersion(dir.File("jdk")), row.major) << row.name;
    }
}

TEST(EngineCommandTest, TheUsersOwnServerIsSplitAndNeedsNoJdk) {
    CSettings settings;
    settings.javaBin = "/nowhere";
    settings.languageServer = "\"/opt/my server/bin/serve\" --stdio -v";
    const SEngineCommand command = ComposeEngineCommand(settings, nullptr, "/cache");
    EXPECT_EQ(command.error, "");
    EXPECT_EQ(command.program, "/opt/my server/bin/serve");
    EXPECT_EQ(command.arguments, (std::vector<std::string>{"--stdio", "-v"}));
}

TEST(EngineCommandTest, AJdkOlderThanSeventeenOrNoneTurnsTheEngineOff) {
    for (const char* release : {"JAVA_VERSION=\"11.0.2\"\n", ""}) {
        CTempDir dir;
        dir.Write("jdk/release", release);
        CSettings settings;
        settings.javaBin = dir.File("jdk");
        const SEngineCommand command = ComposeEngineCommand(settings, nullptr, "/cache");
        EXPECT_NE(command.error, "") << release;
        EXPECT_EQ(command.program, "") << release;
    }
}

// The engine compiles what Build compiles: the project's class path and compile folder (relative
// ones from the main file's class root, where Build runs the compiler) and its own switches,
// with every source root of its files on the source path; the installed JUnit archives come
// last, so a test file written later is checked as Build compiles it.
TEST(EngineCommandTest, TheProjectIsDescribedAsBuildSeesIt) {
    CTempDir dir;
    const std::string junitFolder = GetJUnitFolder();
    const std::string junitApi = dir.Write("junit/junit-jupiter-api.jar", "");
    SetJUnitFolder(GetFolder(junitApi));
    CSettings settings;
    CFakeUiHost host;
    CJavaProjectDoc project(settings, host);
    const std::string main =
        dir.Write("src/com/acme/Main.java", "package com.acme;\nclass Main {}\n");
    const std::string util = dir.Write("lib-src/util/Util.java", "package util;\nclass Util {}\n");
    const std::string loose = dir.Write("Loose.java", "class Loose {}\n");
    project.AddFile(main);
    project.AddFile(util);
    project.AddFile(loose);
    project.SetMainFile("Main.java");
    project.SetClassPath("lib/a.jar:/opt/b.jar");
    project.SetCompileDir("out");
    project.SetCompileOptions("-Xlint:all -encoding \"UTF-8\"");

    const SEngineProject seen = EngineProjectOf(project);
    const std::string src = dir.File("src");
    const std::string top = GetFolder(loose);
    EXPECT_EQ(seen.sourcePath, src + ":" + dir.File("lib-src") + ":" + top);
    EXPECT_EQ(seen.classPath, src + "/lib/a.jar:/opt/b.jar:" + src + ":" + junitApi);
    EXPECT_EQ(seen.outputDir, src + "/out");
    EXPECT_EQ(seen.javacOptions, (std::vector<std::string>{"-Xlint:all", "-encoding", "UTF-8"}));
    EXPECT_EQ(seen.projectFiles, (std::vector<std::string>{main, util, loose}));
    SetJUnitFolder(junitFolder);
}

} // namespace
