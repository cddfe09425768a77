#include "core/project/CommandHelpers.h"

#include "core/app/Settings.h"
#include "core/app/SettingsKeys.h"
#include "core/app/SettingsStore.h"
#include "core/platform/Files.h"
#include "core/process/ProcessRunner.h"
#include "core/project/JavaProjectDoc.h"

#include "FakeUiHost.h"
#include "TempDir.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

using namespace tovin;
using namespace tovin::test;

namespace {

struct SClassRootRow {
    const char* name;
    const char* folder;
    const char* package;
    const char* expected;
};

class ClassRootTable : public ::testing::TestWithParam<SClassRootRow> {};

} // namespace

TEST_P(ClassRootTable, CutsThePackagePath) {
    EXPECT_EQ(GetClassRoot(GetParam().folder, GetParam().package), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ClassRootTable,
    ::testing::Values(
        SClassRootRow{"NoPackage", "/src/com/acme", "", "/src/com/acme"},
        SClassRootRow{"PackageFolder", "/src/com/acme", "com.acme", "/src"},
        SClassRootRow{"Deeper", "/w/src/com/acme/util", "com.acme.util", "/w/src"},
        SClassRootRow{"NotThere", "/src/other", "com.acme", "/src/other"},
        SClassRootRow{"StartsWithPackage", "com/acme", "com.acme", ""},
        SClassRootRow{"BelowPackage", "/src/com/acme/impl", "com.acme", "/src"},
        // A package name inside a longer folder name is no package folder.
        SClassRootRow{"InsideFolderName", "/src/telecom/acme", "com.acme", "/src/telecom/acme"},
        SClassRootRow{"PrefixOfFolderName", "/src/com/acmes", "com.acme", "/src/com/acmes"},
        SClassRootRow{"SecondOccurrenceIsWhole", "/x/telecom/acme/y/com/acme", "com.acme",
                      "/x/telecom/acme/y"}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

class CommandHelpersTest : public ::testing::Test {
protected:
    CommandHelpersTest() {
        settings.javaBin = "/jdk";
        project = std::make_unique<CJavaProjectDoc>(settings, host);
        project->SetCompileOptions("");
        project->SetRunOptions("");
        project->SetClassPath("");
        project->SetWorkingDir("");
    }

    CSettings settings;
    CFakeUiHost host;
    std::unique_ptr<CJavaProjectDoc> project;
    CTempDir dir;
};

} // namespace

TEST_F(CommandHelpersTest, CompileOptionsPieces) {
    EXPECT_EQ(GetCompileOptions(*project), " ");
    project->SetCompileOptions("-g");
    project->SetClassPath("/lib");
    project->SetCompileDir("/out");
    EXPECT_EQ(GetCompileOptions(*project), " -g -classpath \"/lib:.\" -d \"/out\" ");
    // The current folder is appended even after a trailing list separator.
    project->SetClassPath("/lib:");
    project->SetCompileOptions("");
    project->SetCompileDir("");
    EXPECT_EQ(GetCompileOptions(*project), " -classpath \"/lib::.\" ");
}

TEST_F(CommandHelpersTest, RunCommandLines) {
    project->SetMainFile("Hello.java");
    EXPECT_EQ(GetRunCommandLine(*project), "java Hello");
    project->SetRunOptions("-Xmx64m");
    project->SetClassPath("/lib");
    project->SetMainPackage("com.acme");
    project->SetMainFile("App.java");
    project->SetMainPackage("com.acme");
    EXPECT_EQ(GetRunOptions(*project), " -Xmx64m -classpath \"/lib:.\" ");
    EXPECT_EQ(GetRunCommandLine(*project), "java -Xmx64m -classpath \"/lib:.\" com.acme.App");
    project->SetMainFile("Foo.bar.java");
    project->SetMainPackage("");
    EXPECT_EQ(GetQualifiedMainClass(*project), "Foo.bar");
    settings.javaVersion = 1;
    EXPECT_EQ(GetRunCommandLine(*project), "jview -Xmx64m -classpath \"/lib:.\" Foo.bar");
}

TEST_F(CommandHelpersTest, RunFolderIsClassRootUnlessWorkingDirectory) {
    project->SetMainPackage("com.acme");
    EXPECT_EQ(GetRunFolder(*project, "/p/src/com/acme/App.java"), "/p/src");
    project->SetWorkingDir("/run/here");
    EXPECT_EQ(GetRunFolder(*project, "/p/src/com/acme/App.java"), "/run/here");
}

TEST_F(CommandHelpersTest, ShellLineQuotesEveryArgument) {
    EXPECT_EQ(ShellCommandLine("java -classpath \"/my lib:.\" App", dir.Path()),
              "java -classpath '/my lib:.' App");
    EXPECT_EQ(ShellCommandLine("java App \"$HOME\" 'x' `id`;rm", dir.Path()),
              "java App '$HOME' ''\\''x'\\''' '`id`;rm'");
    // Unquoted wildcards reach the program expanded, as the runner would pass them.
    dir.Write("a.txt", "");
    dir.Write("b.txt", "");
    EXPECT_EQ(ShellCommandLine("java App *.txt \"*.txt\"", dir.Path()),
              "java App a.txt b.txt '*.txt'");
}

TEST_F(CommandHelpersTest, ConsoleScriptEndsWithThePauseLine) {
    EXPECT_EQ(ConsoleScriptText("java Hello", dir.Path()),
              "#!/bin/sh\njava Hello\nprintf 'Press Enter to continue . . . '; read _\n");
}

TEST_F(CommandHelpersTest, RunInConsoleWritesTheScriptAndOpensATerminal) {
    setenv("XDG_CACHE_HOME", dir.Path().c_str(), 1);
    EXPECT_TRUE(RunInConsole(host, "java \"A B\"", "/work"));
    const std::string script = dir.Path() + "/tovin/tovinrun.sh";
    ASSERT_EQ(host.terminals.size(), 1u);
    EXPECT_EQ(host.terminals[0].first, script);
    EXPECT_EQ(host.terminals[0].second, "/work");
    EXPECT_EQ(ReadFile(script), ConsoleScriptText("java \"A B\"", "/work"));
    EXPECT_TRUE(host.messages.empty());

    host.terminalError = "No terminal emulator found";
    EXPECT_FALSE(RunInConsole(host, "java A", "/work"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "No terminal emulator found");
    EXPECT_EQ(host.messages[0].caption, "Error");
    EXPECT_EQ(host.messages[0].icon, EMsgIcon::Information);
}

TEST_F(CommandHelpersTest, RunInConsoleSaysWhenTheScriptCannotBeWritten) {
    // A cache "folder" that is a file cannot hold the script.
    dir.Write("tovin", "a file in the way");
    setenv("XDG_CACHE_HOME", dir.Path().c_str(), 1);
    EXPECT_FALSE(RunInConsole(host, "java A", "/work"));
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Unable to write batch file"});
    EXPECT_TRUE(host.terminals.empty());
}

TEST_F(CommandHelpersTest, FolderBrowserRemembersTheChoice) {
    SetRememberedFolder("");
    host.folderAnswers = {"/chosen/", "", "/second"};
    EXPECT_EQ(BrowseForFolder(*project, "Pick:"), "/chosen");
    EXPECT_EQ(BrowseForFolder(*project, "Pick:"), ""); // cancelled: the choice stays
    project->SetWorkingDir("/wd");
    EXPECT_EQ(BrowseForFolder(*project, "Pick:"), "/second");
    using Requests = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(host.folderRequests,
              (Requests{{"Pick:", ""}, {"Pick:", "/chosen"}, {"Pick:", "/wd"}}));
    EXPECT_EQ(GetRememberedFolder(), "/second");
}

TEST_F(CommandHelpersTest, ArgumentsComeFromAndGoToTheStore) {
    CMemorySettingsStore store;
    store.SetString(kSectionOptions, kKeyLastLaunch, "old args");
    project->SetSettingsStore(&store);
    settings.showArgs = 1;
    host.argumentAnswers = {std::string("new args"), std::nullopt, std::string("")};

    std::string command = "java App";
    EXPECT_TRUE(AppendArguments(*project, command));
    EXPECT_EQ(command, "java App new args");
    EXPECT_EQ(store.GetString(kSectionOptions, kKeyLastLaunch, ""), "new args");
    // Cancel ends the command and stores nothing.
    EXPECT_FALSE(AppendArguments(*project, command));
    // An empty entry still adds the blank.
    command = "java App";
    EXPECT_TRUE(AppendArguments(*project, command));
    EXPECT_EQ(command, "java App ");
    EXPECT_EQ(host.argumentRequests,
              (std::vector<std::string>{"old args", "new args", "new args"}));

    settings.showArgs = 0;
    EXPECT_TRUE(AppendArguments(*project, command));
    EXPECT_EQ(host.argumentRequests.size(), 3u);
}

TEST_F(CommandHelpersTest, LaunchToolAttachesAStartedRunner) {
    EXPECT_TRUE(LaunchTool(host, "/bin/echo", "echo \"two words\"", dir.Path()));
    ASSERT_EQ(host.runners.size(), 1u);
    CProcessRunner& runner = *host.runners[0];
    for (int i = 0; i < 1000 && !runner.IsFinished(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(runner.GetOutput(), "two words\r\nExit code: 0\r\nNo Errors");
}

TEST_F(CommandHelpersTest, LaunchToolShowsWhyAToolDoesNotStart) {
    EXPECT_FALSE(LaunchTool(host, dir.File("missing"), "missing", dir.Path()));
    EXPECT_TRUE(host.runners.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Error");
    EXPECT_EQ(host.messages[0].text,
              "Cannot run \"" + dir.File("missing") + "\": " + SystemErrorText(ENOENT));
}

TEST_F(CommandHelpersTest, StartDetachedRunsUnwatchedOrShowsTheReason) {
    const std::string marker = dir.File("started");
    EXPECT_TRUE(StartDetached(host, "/usr/bin/touch", "touch \"" + marker + "\"", dir.Path()));
    for (int i = 0; i < 1000 && !FileExists(marker); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(FileExists(marker));
    EXPECT_TRUE(host.messages.empty());

    EXPECT_FALSE(StartDetached(host, dir.File("nothing"), "nothing", dir.Path()));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Error");
    EXPECT_EQ(host.messages[0].text,
              "Cannot run \"" + dir.File("nothing") + "\": " + SystemErrorText(ENOENT));
}
