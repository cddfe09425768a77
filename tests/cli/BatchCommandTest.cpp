#include "cli/BatchCommand.h"

#include "cli/HeadlessUiHost.h"
#include "core/app/Settings.h"
#include "core/app/SettingsKeys.h"
#include "core/app/SettingsStore.h"
#include "core/platform/CommandLine.h"
#include "core/process/ProcessRunner.h"
#include "core/project/JavaProjectDoc.h"

#include "FakeUiHost.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

using namespace tovin;
using namespace tovin::test;

namespace {

using Words = std::vector<std::string>;

struct SParseRow {
    const char* name;
    Words arguments;
    EBatchAction action;
    std::string project;
    std::optional<Words> programArguments;
    std::string error;
};

class ParseBatch : public ::testing::TestWithParam<SParseRow> {};

} // namespace

TEST_P(ParseBatch, ReadsTheBatchOptions) {
    const SParseRow& row = GetParam();
    const SBatchOptions options = ParseBatchOptions(row.arguments);
    EXPECT_EQ(options.action, row.action);
    EXPECT_EQ(options.projectPath, row.project);
    EXPECT_EQ(options.programArguments, row.programArguments);
    EXPECT_EQ(options.error, row.error);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParseBatch,
    ::testing::Values(
        SParseRow{"Nothing", {}, EBatchAction::None, "", std::nullopt, ""},
        SParseRow{"FilesForTheWindow",
                  {"A.java", "--settings", "s.conf"},
                  EBatchAction::None,
                  "",
                  std::nullopt,
                  ""},
        SParseRow{"Build", {"--build", "p.jpr"}, EBatchAction::Build, "p.jpr", std::nullopt, ""},
        SParseRow{"RunWithArguments",
                  {"--run", "p.jpr", "--", "a b", "--build"},
                  EBatchAction::Run,
                  "p.jpr",
                  Words{"a b", "--build"},
                  ""},
        SParseRow{"RunWithEmptyArguments",
                  {"--run", "p.jpr", "--"},
                  EBatchAction::Run,
                  "p.jpr",
                  Words{},
                  ""},
        SParseRow{"BuildWithoutProject",
                  {"--build"},
                  EBatchAction::None,
                  "",
                  std::nullopt,
                  "--build needs a project file (.jpr)."},
        SParseRow{"RunThenSeparator",
                  {"--run", "--"},
                  EBatchAction::None,
                  "",
                  std::nullopt,
                  "--run needs a project file (.jpr)."},
        SParseRow{"TwoActions",
                  {"--build", "a.jpr", "--run", "b.jpr"},
                  EBatchAction::Build,
                  "a.jpr",
                  std::nullopt,
                  "Give only one of --build and --run."},
        SParseRow{"ArgumentsForBuild",
                  {"--build", "a.jpr", "--", "x"},
                  EBatchAction::Build,
                  "a.jpr",
                  std::nullopt,
                  "Program arguments after -- need --run."},
        SParseRow{"SettingsWithoutFile",
                  {"--settings"},
                  EBatchAction::None,
                  "",
                  std::nullopt,
                  "--settings needs a file."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParseBatchOptions, SettingsHelpAndVersion) {
    const SBatchOptions options =
        ParseBatchOptions({"--settings", "/s.conf", "--build", "p.jpr", "--help", "--version"});
    EXPECT_EQ(options.settingsFile, "/s.conf");
    EXPECT_TRUE(options.help);
    EXPECT_TRUE(options.version);
}

TEST(BatchExitCode, MapsTheToolsCode) {
    EXPECT_EQ(BatchExitCode(0), 0);
    EXPECT_EQ(BatchExitCode(1), 1);
    EXPECT_EQ(BatchExitCode(255), 255);
    EXPECT_EQ(BatchExitCode(-9), 137);
    EXPECT_EQ(BatchExitCode(CProcessRunner::kStillActiveCode), kBatchProcessError);
    EXPECT_EQ(BatchExitCode(std::nullopt), kBatchProcessError);
}

TEST(StreamRunnerOutput, WritesLineFeedsAndKeepsLoneReturns) {
    CProcessRunner runner;
    // Small reads split the CR LF pairs between pieces.
    runner.SetReadChunkSize(1);
    const std::string script = "printf 'one\\r\\ntwo\\nbar\\rx\\n'; exit 3";
    ASSERT_TRUE(runner.Start("/bin/sh", "sh -c " + QuoteWindowsArgument(script), "/"));
    std::ostringstream out;
    StreamRunnerOutput(runner, out, std::chrono::milliseconds(1));
    EXPECT_EQ(out.str(), "one\ntwo\nbar\rx\nExit code: 3\nThere were errors\n");
    EXPECT_EQ(runner.ExitCode(), 3);
}

TEST(StreamRunnerOutput, InterruptTerminatesTheTool) {
    CProcessRunner runner;
    ASSERT_TRUE(runner.Start("/bin/sleep", "sleep 60", "/"));
    std::atomic<bool> interrupted{true};
    std::ostringstream out;
    StreamRunnerOutput(runner, out, std::chrono::milliseconds(1), &interrupted);
    EXPECT_EQ(out.str(), "Exit code: 11\nProcess terminated by user.\n");
}

TEST(HeadlessUiHost, AnswersDialogsAsCancelledAndReportsToTheMessageStream) {
    std::ostringstream out, err;
    CHeadlessUiHost host(out, err);
    EXPECT_EQ(host.MessageBox("Saved.", "Tovin", EMsgButtons::Ok, EMsgIcon::None), EMsgAnswer::Ok);
    EXPECT_EQ(host.MessageBox("Sure?", "Tovin", EMsgButtons::OkCancel, EMsgIcon::Question),
              EMsgAnswer::Cancel);
    EXPECT_EQ(host.MessageBox("Save?", "", EMsgButtons::YesNo, EMsgIcon::Question), EMsgAnswer::No);
    EXPECT_EQ(host.MessageBox("Save?", "", EMsgButtons::YesNoCancel, EMsgIcon::Question),
              EMsgAnswer::Cancel);
    host.SetProcessCaption("Building \"A.java\"");
    EXPECT_EQ(err.str(), "Tovin: Saved.\nTovin: Sure?\ntovin: Save?\ntovin: Save?\n"
                         "tovin: Building \"A.java\"\n");
    EXPECT_TRUE(host.FileDialog({}).empty());
    EXPECT_EQ(host.BrowseForFolder("t", "/"), "");
    EXPECT_EQ(host.AskArguments("x"), std::nullopt);
    host.SetArguments("a b");
    EXPECT_EQ(host.AskArguments("x"), "a b");
    EXPECT_FALSE(host.OpenTerminal("/s.sh", "/").empty());
    host.AppendOutput("found\r\n");
    EXPECT_EQ(out.str(), "found\r\n");
}

namespace {

// A project whose stand-in compiler and launcher print their arguments and exit with a code.
class BatchRun : public ::testing::Test {
protected:
    BatchRun() : m_startFolder(std::filesystem::current_path()) {
        dir.Write("jdk/bin/javac", "#!/bin/sh\nfor a; do echo \"[$a]\"; done\nexit 4\n");
        dir.Write("jdk/bin/java", "#!/bin/sh\nfor a; do echo \"[$a]\"; done\n");
        for (const char* tool : {"javac", "java"}) {
            std::filesystem::permissions(dir.File("jdk/bin/") + tool,
                                         std::filesystem::perms::owner_all);
        }
        store.SetString(kSectionPaths, kKeyJavaBin, dir.File("jdk"));
        store.SetString(kSectionOptions, kKeyLastLaunch, "stored");
        store.SetInt(kSectionOptions, kKeyShowArgs, 1);
        dir.Write("p/src/App.java", "");
        CSettings settings;
        CFakeUiHost host;
        CJavaProjectDoc project(settings, host);
        EXPECT_EQ(project.Save(dir.File("p/p.jpr")), "");
        project.AddFile(dir.File("p/src/App.java"));
        EXPECT_EQ(project.Save(dir.File("p/p.jpr")), "");
        m_projectBytes = ReadFile(dir.File("p/p.jpr"));
    }
    ~BatchRun() override { std::filesystem::current_path(m_startFolder); }

    int Run(const Words& arguments) {
        return RunBatchCommand(ParseBatchOptions(arguments), store, out, err);
    }

    CTempDir dir;
    CMemorySettingsStore store;
    std::ostringstream out, err;
    std::string m_projectBytes;

private:
    std::filesystem::path m_startFolder;
};

} // namespace

TEST_F(BatchRun, BuildStreamsTheCompilerAndEndsWithItsCode) {
    EXPECT_EQ(Run({"--build", dir.File("p/p.jpr")}), 4);
    EXPECT_EQ(out.str(), "[" + dir.File("p/src/App.java") + "]\nExit code: 4\nThere were errors\n");
    EXPECT_EQ(err.str(), "tovin: Building \"App.java\"\n");
    // The batch run never writes the project, though choosing the main file changed it.
    EXPECT_EQ(ReadFile(dir.File("p/p.jpr")), m_projectBytes);
}

TEST_F(BatchRun, RunPassesTheArgumentsAfterTheSeparatorWordForWord) {
    EXPECT_EQ(Run({"--run", dir.File("p/p.jpr"), "--", "a b", "\"q\"", ""}), 0);
    EXPECT_EQ(out.str(), "[App]\n[a b]\n[\"q\"]\n[]\nExit code: 0\nNo Errors\n");
    // Given no arguments, the stored SHOWARGS does not ask for any.
    out.str("");
    EXPECT_EQ(Run({"--run", dir.File("p/p.jpr")}), 0);
    EXPECT_EQ(out.str(), "[App]\nExit code: 0\nNo Errors\n");
    EXPECT_EQ(store.GetString(kSectionOptions, kKeyLastLaunch, ""), "stored");
}

TEST_F(BatchRun, RelativeProjectPathIsTakenFromTheCurrentFolder) {
    std::filesystem::current_path(dir.Path());
    EXPECT_EQ(Run({"--build", "p/../p/p.jpr"}), 4);
    EXPECT_EQ(out.str().substr(0, out.str().find('\n')), "[" + dir.File("p/src/App.java") + "]");
}

TEST_F(BatchRun, UnreadableProjectOrNoToolIsReported) {
    EXPECT_EQ(Run({"--build", dir.File("none.jpr")}), kBatchNotStarted);
    EXPECT_NE(err.str().find("Cannot open the project file"), std::string::npos);
    err.str("");
    store.SetString(kSectionPaths, kKeyJavaBin, dir.File("nowhere"));
    EXPECT_EQ(Run({"--build", dir.File("p/p.jpr")}), kBatchNotStarted);
    EXPECT_NE(err.str().find("Error: Cannot run \"" + dir.File("nowhere") +
                             "/bin/javac\": No such file or directory"),
              std::string::npos)
        << err.str();
    EXPECT_NE(err.str().find("tovin: no tool was started."), std::string::npos);
}

// With no main file stored, the window chooses the last file with a main method; the batch
// run reads the files to choose the same, not merely the last file.
TEST_F(BatchRun, ChoosesTheMainFileAsTheWindowDoes) {
    dir.Write("q/Main.java", "class Main {\n  public static void main(String[] a) {}\n}\n");
    dir.Write("q/Util.java", "class Util {\n  static int twice(int x) { return 2 * x; }\n}\n");
    {
        CSettings settings;
        CFakeUiHost host;
        CJavaProjectDoc project(settings, host);
        ASSERT_EQ(project.Save(dir.File("q/q.jpr")), "");
        project.AddFile(dir.File("q/Main.java"));
        project.AddFile(dir.File("q/Util.java"));
        ASSERT_EQ(project.Save(dir.File("q/q.jpr")), "");
    }
    EXPECT_EQ(Run({"--run", dir.File("q/q.jpr")}), 0);
    EXPECT_EQ(out.str(), "[Main]\nExit code: 0\nNo Errors\n");
}
