#pragma once
// The project's unit tests: which of its files are tests, the JUnit archives that compile and
// run them, the test launcher's command line, and reading its results back.
//
// A test is a Java file of the project whose code names JUnit: org.junit.jupiter (JUnit 5) or
// org.junit / junit.framework (JUnit 4, run through the launcher's engine for it). The archives
// are Debian's, in one folder (/usr/share/java): junit5 gives the launcher and the JUnit 5 API,
// junit4 the JUnit 4 API. The user never adds them to a class path: Build adds those the
// project's files need, and says which package to install when they are missing.
//
// Run Tests is two tools in turn: Build, then, when it succeeded, the launcher on the compiled
// classes with its XML reports written to a scratch folder in the per-user cache. Both run in
// the Process Window; the caller starts the second when the first has ended (PlanTestRun first,
// then Build, then StartTestRun), then reads the results with CollectTestResults.

#include "core/project/TestReport.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovin {

struct CSettings;
class CJavaProjectDoc;

inline constexpr const char* kJUnitFolder = "/usr/share/java";
inline constexpr const char* kJUnitLauncherJar = "junit-platform-console-standalone.jar";
inline constexpr const char* kJUnit5Package = "junit5";
inline constexpr const char* kJUnit4Package = "junit4";
inline constexpr const char* kNoTestsMessage =
    "There are no tests in this project. A test is a Java file that uses JUnit; "
    "File > New > JUnit Test Case writes one.";

// The folder the JUnit archives are taken from (kJUnitFolder; tests point it elsewhere).
const std::string& GetJUnitFolder();
void SetJUnitFolder(std::string folder);

struct SJUnitUse {
    bool jupiter = false; // JUnit 5
    bool legacy = false;  // JUnit 4 (or 3)
    bool Any() const { return jupiter || legacy; }
};

// Which JUnit the code of a Java text names (comments and literals do not count).
SJUnitUse FindJUnitUse(std::string_view javaText);

// The archives that compile code of that use, joined with ':', and the Debian package to
// install when one of them is missing (empty when none is).
struct SJUnitClassPath {
    std::string classPath;
    std::string missingPackage;
};
SJUnitClassPath JUnitClassPath(SJUnitUse use, const std::string& folder);
// What to tell a user whose tests need a package that is not installed.
std::string JUnitMissingMessage(const std::string& package);

struct STestClass {
    std::string path;
    std::string qualifiedName; // package and class name (the file's name)
    std::string classRoot;     // the folder its package starts in
    SJUnitUse use;
};
// The project's ".java" entries that use JUnit, in list order. Files that cannot be read are
// not tests.
std::vector<STestClass> FindTestClasses(CJavaProjectDoc& project);

// The JUnit archives a compile needs: those the project's files use, and, when one file is
// compiled, those it uses itself (empty when nothing uses JUnit). Nullopt after telling the user
// which package to install. A single file that does not use JUnit compiles with the archives
// that are there, so one missing package does not stop the rest of the project.
std::optional<std::string> JUnitClassPathForBuild(CJavaProjectDoc& project,
                                                  const std::string& singleFile = {});

struct STestRunPlan {
    std::vector<std::string> selectors; // launcher options choosing what runs, quoted
    std::string classPath;              // compiled classes, the project's class path, JUnit
    std::string folder;                 // where the launcher runs
    std::string reportsFolder;
    std::string caption;
    std::vector<STestClass> classes; // the project's test classes
};

// What Run Tests runs: every test class, or those named (qualified, or by class name alone).
// Nullopt after telling the user why nothing can run: no main file, no tests, a named class
// that is not a test of the project, JUnit missing, no cache folder for the reports.
std::optional<STestRunPlan> PlanTestRun(CJavaProjectDoc& project,
                                        const std::vector<std::string>& classNames = {});
// The plan narrowed to the failed tests of a run.
STestRunPlan PlanRerun(STestRunPlan plan, const std::vector<STestCase>& failed);

// "java [run options] -jar LAUNCHER --class-path ... --reports-dir ... SELECTORS".
std::string TestLauncherCommandLine(const CJavaProjectDoc& project, const STestRunPlan& plan);
// Empties the reports folder and starts the launcher into the Process Window. False when it did
// not start (the runner has said why).
bool StartTestRun(CJavaProjectDoc& project, const STestRunPlan& plan);

struct STestResults {
    std::vector<STestCase> cases;
    // Why the results may be incomplete (the launcher wrote no report, a report is damaged).
    std::string note;
};
// The launcher's reports, or, when it wrote none, the tests its output shows ended.
STestResults CollectTestResults(const STestRunPlan& plan, std::string_view launcherOutput);

// Where a failed test failed: the first frame of its stack trace in a file of the project.
struct SFailureLocation {
    std::string path;
    int line = 0; // one-based
};
std::optional<SFailureLocation> FindFailureLocation(CJavaProjectDoc& project,
                                                    const STestCase& test);

// "BasketTest.WhenEmpty.countIsZero()": the class without its package, nested classes joined
// with '.', and the test's name.
std::string TestTitle(const STestCase& test);
// The message's first line.
std::string FirstLine(const std::string& text);
// "path:line: test failed: TITLE: message" (without ":line" when the trace names no line of
// the project; the test class's file then stands for the path).
std::string FailureLine(const std::vector<STestClass>& classes, CJavaProjectDoc& project,
                        const STestCase& test);
// "N passed, N failed, N skipped".
std::string SummaryLine(const STestCounts& counts);

} // namespace tovin
