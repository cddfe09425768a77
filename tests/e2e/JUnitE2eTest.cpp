// Unit tests of a project with the real compiler and Debian's JUnit: `tovin --test` against the
// launcher's own summary, the lines its failures name, a test that never ends or ends the
// program, a build that fails and JUnit that is missing.

#include "E2eFixture.h"

#include "core/app/TestCaseTemplate.h"
#include "core/platform/Spawn.h"
#include "core/project/TestCommands.h"

#include <map>
#include <regex>

using namespace tovin;
using namespace tovin::test;

#ifdef TOVIN_EXECUTABLE

namespace {

struct SProgramResult {
    int exitCode = -1;
    std::string output; // standard output and standard error together
};

SProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& folder) {
    CChildProcess child;
    SProgramResult result;
    const std::string error = child.Start(program, arguments, folder);
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

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

class JUnitE2e : public E2eTest {
protected:
    // The shop project of tests/data/junit copied to the temporary folder, with a test case
    // written from the New dialog's template, saved as Shop.jpr.
    void MakeShopProject(const std::vector<std::pair<std::string, std::string>>& extra = {}) {
        namespace fs = std::filesystem;
        const fs::path from = fs::path(TOVIN_TEST_DATA) / "junit";
        fs::copy(from, dir.Path(), fs::copy_options::recursive);
        dir.Write("src/shop/PriceTest.java",
                  TestCaseText(TestCaseClassName("Price"), "Price", "shop"));
        for (const auto& [name, text] : extra) {
            dir.Write(name, text);
        }
        for (const char* name : {"Basket", "BasketTest", "LegacyBasketTest", "PriceTest"}) {
            project->AddFile(Source(name));
        }
        for (const auto& [name, text] : extra) {
            project->AddFile(dir.File(name));
        }
        project->SetMainFile("Basket.java");
        project->SetMainPackage("shop");
        ASSERT_EQ(project->Save(dir.File("Shop.jpr")), "");
    }

    std::string Source(const std::string& className) const {
        return dir.File("src/shop/" + className + ".java");
    }

    SProgramResult Tovin(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(),
                         {TOVIN_EXECUTABLE, "--settings", dir.File("t.conf"), "--test"});
        return RunProgram(TOVIN_EXECUTABLE, arguments, dir.Path());
    }

    // The launcher's own summary for the classes: "passed, failed, skipped" as --test counts.
    std::string LauncherSummary(const std::vector<std::string>& classes) {
        std::vector<std::string> arguments = {"java",
                                              "-jar",
                                              std::string(kJUnitFolder) + "/" + kJUnitLauncherJar,
                                              "--disable-banner",
                                              "--details=none",
                                              "--class-path",
                                              dir.File("src")};
        for (const std::string& name : classes) {
            arguments.push_back("--select-class=" + name);
        }
        const SProgramResult run =
            RunProgram(settings.javaBin + "/bin/java", arguments, dir.Path());
        std::map<std::string, int> counts;
        const std::regex line(R"(\[\s*(\d+) tests (\w+)\s*\])");
        for (std::sregex_iterator it(run.output.begin(), run.output.end(), line), end; it != end;
             ++it) {
            counts[(*it)[2]] = std::stoi((*it)[1]);
        }
        return SummaryLine(
            {counts["successful"], counts["failed"], counts["skipped"] + counts["aborted"]});
    }

    // Waits until the runner's output holds the text (the test launcher prints as it goes).
    bool WaitForOutput(const CProcessRunner& runner, const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (runner.GetOutput().find(text) == std::string::npos && !runner.IsFinished() &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return runner.GetOutput().find(text) != std::string::npos;
    }
};

} // namespace

TEST_F(JUnitE2e, CountsAndFailureLinesAgreeWithTheLauncher) {
    MakeShopProject();
    const SProgramResult all = Tovin({"Shop.jpr"});
    EXPECT_EQ(all.exitCode, 1) << all.output;
    const std::vector<std::string> lines = Lines(all.output);
    ASSERT_FALSE(lines.empty()) << all.output;
    EXPECT_EQ(lines.back(),
              LauncherSummary({"shop.BasketTest", "shop.LegacyBasketTest", "shop.PriceTest"}));
    EXPECT_EQ(lines.back(), "6 passed, 5 failed, 2 skipped");

    // Each failure names the first line of its trace in a project file: the source line there
    // is the one that failed.
    struct SRow {
        const char* title;
        const char* file;
        const char* code; // what that line of the file holds
    } rows[] = {
        {"BasketTest.negativePricesAreRefused(): negative price -2", "Basket",
         "throw new IllegalArgumentException"},
        {"BasketTest.countIsTheNumberOfPrices(): one price in the basket ==> expected: <1> but "
         "was: <2>",
         "BasketTest", "assertEquals(1, basket.count()"},
        {"BasketTest.aSinglePriceIsTheTotal(int)[3]: expected: <13> but was: <12>", "BasketTest",
         "assertEquals(price == 12 ? 13 : price"},
        {"BasketTest.WhenEmpty.countIsZero(): expected: <0> but was: <1>", "BasketTest",
         "assertEquals(0, basket.count())"},
        {"LegacyBasketTest.totalOfNothing: expected:<1> but was:<0>", "LegacyBasketTest",
         "assertEquals(1, new Basket().total())"},
    };
    const std::regex failure(R"((.*):(\d+): test failed: (.*))");
    std::map<std::string, std::pair<std::string, int>> failures; // title: path, line
    for (const std::string& line : lines) {
        std::smatch match;
        if (std::regex_match(line, match, failure)) {
            failures[match[3]] = {match[1], std::stoi(match[2])};
        }
    }
    EXPECT_EQ(failures.size(), std::size(rows)) << all.output;
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.title);
        const auto found = failures.find(row.title);
        ASSERT_NE(found, failures.end()) << all.output;
        EXPECT_EQ(found->second.first, Source(row.file));
        const std::vector<std::string> source = Lines(ReadFile(Source(row.file)));
        ASSERT_LE(found->second.second, static_cast<int>(source.size()));
        EXPECT_NE(source[found->second.second - 1].find(row.code), std::string::npos)
            << source[found->second.second - 1];
    }

    const SProgramResult legacy = Tovin({"Shop.jpr", "LegacyBasketTest"});
    EXPECT_EQ(legacy.exitCode, 1);
    EXPECT_TRUE(legacy.output.ends_with(LauncherSummary({"shop.LegacyBasketTest"}) + "\n"))
        << legacy.output;

    const SProgramResult passing = Tovin({"Shop.jpr", "shop.PriceTest"});
    EXPECT_EQ(passing.exitCode, 0) << passing.output;
    // The captions of the two tools, on standard error as those of --build, then the summary.
    EXPECT_EQ(passing.output, "tovin: Building \"Basket.java\"\ntovin: Testing \"PriceTest.java\"\n"
                              "1 passed, 0 failed, 0 skipped\n");
}

TEST_F(JUnitE2e, NothingToTestOrABrokenBuildRunsNoTests) {
    MakeShopProject({{"src/shop/Broken.java", "package shop;\nclass Broken { int x = ; }\n"}});
    const SProgramResult broken = Tovin({"Shop.jpr"});
    EXPECT_EQ(broken.exitCode, 3);
    EXPECT_NE(broken.output.find(Source("Broken") + ":2: error:"), std::string::npos)
        << broken.output;
    EXPECT_EQ(broken.output.find("passed,"), std::string::npos) << broken.output;

    const SProgramResult unknown = Tovin({"Shop.jpr", "Basket"});
    EXPECT_EQ(unknown.exitCode, 3);
    EXPECT_NE(unknown.output.find("\"Basket\" is not a test class of this project."),
              std::string::npos)
        << unknown.output;

    CJavaProjectDoc plain(settings, host);
    plain.AddFile(Source("Basket"));
    ASSERT_EQ(plain.Save(dir.File("Plain.jpr")), "");
    const SProgramResult none = Tovin({"Plain.jpr"});
    EXPECT_EQ(none.exitCode, 3);
    EXPECT_NE(none.output.find(kNoTestsMessage), std::string::npos) << none.output;
}

TEST_F(JUnitE2e, ATestThatEndsTheProgramShowsWhatFinished) {
    MakeShopProject({{"src/shop/ExitTest.java",
                      "package shop;\nimport org.junit.jupiter.api.*;\n"
                      "@TestMethodOrder(MethodOrderer.MethodName.class)\nclass ExitTest {\n"
                      "    @Test void a() {}\n"
                      "    @Test void b() { System.exit(0); }\n"
                      "}\n"}});
    const SProgramResult run = Tovin({"Shop.jpr", "ExitTest"});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("before it wrote its report"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(Source("ExitTest") +
                              ": test failed: ExitTest.b(): the run ended while this test ran"),
              std::string::npos)
        << run.output;
    EXPECT_TRUE(run.output.ends_with("1 passed, 1 failed, 0 skipped\n")) << run.output;
}

// The launcher counts a class whose set-up failed as a failed container and none of its tests
// as failed; its report, and --test, count each of the tests that could not run as failed, with
// the set-up's line, so the run is not green.
TEST_F(JUnitE2e, AFailingSetUpFailsTheClassesTests) {
    MakeShopProject({{"src/shop/SetupTest.java",
                      "package shop;\nimport org.junit.jupiter.api.*;\nclass SetupTest {\n"
                      "    @BeforeAll static void setUp() { throw new IllegalStateException(\"no "
                      "database\"); }\n"
                      "    @Test void a() {}\n"
                      "}\n"}});
    const SProgramResult run = Tovin({"Shop.jpr", "SetupTest"});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find(Source("SetupTest") + ":4: test failed: SetupTest.a(): no database"),
              std::string::npos)
        << run.output;
    EXPECT_TRUE(run.output.ends_with("0 passed, 1 failed, 0 skipped\n")) << run.output;
}

TEST_F(JUnitE2e, StoppingATestThatNeverEndsKeepsTheFinishedResults) {
    MakeShopProject({{"src/shop/SlowTest.java",
                      "package shop;\nimport org.junit.jupiter.api.*;\n"
                      "@TestMethodOrder(MethodOrderer.MethodName.class)\nclass SlowTest {\n"
                      "    @Test void a() {}\n"
                      "    @Test void b() throws Exception { Thread.sleep(600000); }\n"
                      "}\n"}});
    const auto plan = PlanTestRun(*project, {"SlowTest"});
    ASSERT_TRUE(plan.has_value()) << ::testing::PrintToString(host.MessageTexts());
    BuildOk();
    ASSERT_TRUE(StartTestRun(*project, *plan));
    CProcessRunner& runner = *host.runners.back();
    ASSERT_TRUE(WaitForOutput(runner, "[method:b()]")) << runner.GetOutput();
    runner.Terminate(CProcessRunner::kAbortExitCode);
    const std::string output = ToolOutput();
    EXPECT_TRUE(output.ends_with("Process terminated by user.")) << output;
    const STestResults results = CollectTestResults(*plan, output);
    EXPECT_FALSE(results.note.empty());
    ASSERT_EQ(results.cases.size(), 2u);
    EXPECT_EQ(results.cases[0].name, "a()");
    EXPECT_EQ(results.cases[0].outcome, ETestOutcome::Passed);
    EXPECT_EQ(results.cases[1].name, "b()");
    EXPECT_EQ(results.cases[1].outcome, ETestOutcome::Unfinished);
}

TEST_F(JUnitE2e, MissingJUnitNamesThePackageToInstall) {
    MakeShopProject();
    SetJUnitFolder(dir.File("no-java-libraries"));
    project->Build();
    EXPECT_TRUE(host.runners.empty());
    EXPECT_FALSE(PlanTestRun(*project).has_value());
    project->CompileFile(Source("BasketTest"), "shop");
    EXPECT_TRUE(host.runners.empty());
    // A file that does not use JUnit still compiles on its own.
    project->CompileFile(Source("Basket"), "shop");
    SetJUnitFolder(kJUnitFolder);
    EXPECT_TRUE(ToolOutput().ends_with("Exit code: 0\r\nNo Errors"));
    const std::vector<std::string> messages = host.MessageTexts();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_NE(messages[0].find("sudo apt install junit5"), std::string::npos) << messages[0];
    EXPECT_EQ(messages[1], messages[0]);
    EXPECT_EQ(messages[2], messages[0]);

    // With JUnit there, the build compiles the tests without a class path of the user's.
    BuildOk();
    EXPECT_TRUE(FileExists(dir.File("src/shop/LegacyBasketTest.class")));
}

#endif
