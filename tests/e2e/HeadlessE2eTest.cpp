// The tovin executable's batch build and run on a fresh copy of the examples, as scripts and CI
// use it.

#include "E2eFixture.h"

#include "core/platform/Spawn.h"

using namespace tovin;
using namespace tovin::test;

#ifdef TOVIN_EXECUTABLE

namespace {

struct SProgramResult {
    int exitCode = -1;
    std::string output; // standard output and standard error together
};

class HeadlessE2e : public E2eTest {
protected:
    // Runs tovin with its own settings file (none yet: the JDK is detected) in folder.
    SProgramResult Tovin(std::vector<std::string> arguments, const std::string& folder) {
        arguments.insert(arguments.begin(), {TOVIN_EXECUTABLE, "--settings", dir.File("t.conf")});
        CChildProcess child;
        SProgramResult result;
        const std::string error = child.Start(TOVIN_EXECUTABLE, arguments, folder);
        EXPECT_EQ(error, "");
        if (!error.empty()) {
            return result;
        }
        char buffer[4096];
        for (std::size_t n; (n = child.ReadOutput(buffer, sizeof buffer)) > 0;) {
            result.output.append(buffer, n);
        }
        result.exitCode = child.Wait().code;
        return result;
    }
};

} // namespace

TEST_F(HeadlessE2e, BuildAndRunAFreshCopyByItsRelativePath) {
    const std::string folder = CopyExample("HelloApp");
    SProgramResult build = Tovin({"--build", "HelloApp/HelloApp.jpr"}, dir.Path());
    EXPECT_EQ(build.exitCode, 0) << build.output;
    // The copy's project file names the installed files: the run says it takes the copies.
    const std::string copied =
        "tovin: The project was moved or copied: its files are used from \"" + folder + "\".\n";
    EXPECT_EQ(build.output,
              copied + "tovin: Building \"HelloApp.java\"\nExit code: 0\nNo Errors\n");
    EXPECT_TRUE(FileExists(folder + "/src/com/example/hello/HelloApp.class"));

    SProgramResult run = Tovin({"--run", "HelloApp.jpr", "--", "Ann", "Bo Lee"}, folder);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, copied + "tovin: java com.example.hello.HelloApp\n"
                                   "Hello, Ann!\nHello, Bo Lee!\nExit code: 0\nNo Errors\n");
    // Batch runs leave the settings and the project file as they were.
    EXPECT_FALSE(FileExists(dir.File("t.conf")));
    EXPECT_EQ(ReadFile(folder + "/HelloApp.jpr"),
              ReadFile(std::string(TOVIN_SOURCE_DIR) + "/examples/HelloApp/HelloApp.jpr"));
}

// A project that stayed where it was saved builds and runs its own files, whatever lies beside
// the project file, and nothing is said about a move.
TEST_F(HeadlessE2e, AProjectWhereItWasSavedRunsItsOwnFiles) {
    const auto source = [](const char* text) {
        return std::string("public class Main {\n  public static void main(String[] a) {\n"
                           "    System.out.println(\"") +
               text + "\");\n  }\n}\n";
    };
    dir.Write("src/Main.java", source("the project's Main"));
    dir.Write("proj/Main.java", source("a Main beside the project file"));
    {
        CSettings settings;
        CFakeUiHost host;
        CJavaProjectDoc project(settings, host);
        ASSERT_EQ(project.Save(dir.Write("proj/p.jpr", "")), "");
        project.AddFile(dir.File("src/Main.java"));
        ASSERT_EQ(project.Save(dir.File("proj/p.jpr")), "");
    }
    SProgramResult build = Tovin({"--build", "proj/p.jpr"}, dir.Path());
    EXPECT_EQ(build.exitCode, 0) << build.output;
    SProgramResult run = Tovin({"--run", "proj/p.jpr"}, dir.Path());
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, "tovin: java Main\nthe project's Main\nExit code: 0\nNo Errors\n");
}

TEST_F(HeadlessE2e, BrokenBuildEndsWithTheCompilersCode) {
    const std::string folder = CopyExample("BrokenApp");
    SProgramResult build = Tovin({"--build", folder + "/BrokenApp.jpr"}, dir.Path());
    EXPECT_EQ(build.exitCode, 1);
    EXPECT_NE(build.output.find(folder + "/src/BrokenApp.java:4: error:"), std::string::npos)
        << build.output;
    EXPECT_TRUE(build.output.ends_with("Exit code: 1\nThere were errors\n")) << build.output;
}

TEST_F(HeadlessE2e, WrongCommandLinesAndMissingProjectsAreSaidSo) {
    SProgramResult usage = Tovin({"--build"}, dir.Path());
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_NE(usage.output.find("--build needs a project file"), std::string::npos);
    SProgramResult missing = Tovin({"--run", "none.jpr"}, dir.Path());
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_NE(missing.output.find("Cannot open the project file"), std::string::npos);
    SProgramResult help = Tovin({"--help"}, dir.Path());
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--build", "--run", "--settings", "--version", "--help", "-- "}) {
        EXPECT_NE(help.output.find(option), std::string::npos) << option;
    }
}

#endif
