#include "cli/TestCommand.h"

#include "cli/BatchCommand.h"
#include "cli/HeadlessUiHost.h"
#include "core/app/Settings.h"
#include "core/process/ProcessRunner.h"
#include "core/project/JavaProjectDoc.h"
#include "core/project/TestCommands.h"
#include "settings/IniSettingsStore.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>

namespace tovin {

namespace {

constexpr std::chrono::milliseconds kPollInterval{50};

struct STestArguments {
    std::string project;
    std::vector<std::string> classes;
    std::string settingsFile;
    std::string error;
};

STestArguments ParseTestArguments(const std::vector<std::string>& arguments) {
    STestArguments parsed;
    bool testSeen = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "--settings" && i + 1 < arguments.size()) {
            parsed.settingsFile = arguments[++i];
        } else if (word == "--test") {
            testSeen = true;
        } else if (testSeen && parsed.project.empty()) {
            parsed.project = word;
        } else if (testSeen && !word.starts_with("--")) {
            parsed.classes.push_back(word);
        } else if (word.starts_with("--")) {
            parsed.error = "--test takes no option " + word + ".";
            return parsed;
        }
    }
    if (parsed.project.empty()) {
        parsed.error = "--test needs a project file (.jpr).";
    }
    return parsed;
}

std::string AbsolutePath(const std::string& path) {
    std::error_code ignored;
    std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    return absolute.empty() ? path : absolute.lexically_normal().string();
}

// Waits for the tool the host was last given and returns its output with LF line ends.
std::string Finish(CProcessRunner& runner, const std::atomic<bool>* interrupted) {
    std::ostringstream text;
    StreamRunnerOutput(runner, text, kPollInterval, interrupted);
    return text.str();
}

} // namespace

std::string TestCommandHelp() {
    return "  --test PROJECT [CLASS...]\n"
           "                    build the project and run its JUnit tests (or the named test\n"
           "                    classes); print each failed test as path:line: test failed:\n"
           "                    Class.method: message, then N passed, N failed, N skipped.\n"
           "                    Exit code 0: all passed, 1: a test failed, 3: nothing was\n"
           "                    tested (no tests, JUnit missing, the build failed)\n";
}

int RunTestCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                   const std::atomic<bool>* interrupted) {
    const STestArguments parsed = ParseTestArguments(arguments);
    if (!parsed.error.empty()) {
        err << "tovin: " << parsed.error << "\nTry 'tovin --help'.\n";
        return kTestsUsageError;
    }
    auto store = parsed.settingsFile.empty()
                     ? std::make_unique<CIniSettingsStore>()
                     : std::make_unique<CIniSettingsStore>(parsed.settingsFile);
    CSettings settings = LoadSettings(*store);
    settings.showArgs = 0;
    CHeadlessUiHost host(out, err);
    CJavaProjectDoc project(settings, host);
    project.SetNoticeCallback(
        [&err](const std::string& text) { err << "tovin: " << text << '\n'; });
    if (const std::string error = project.Load(AbsolutePath(parsed.project)); !error.empty()) {
        err << "tovin: " << error << std::endl;
        return kTestsNotRun;
    }
    const auto plan = PlanTestRun(project, parsed.classes);
    if (!plan) {
        return kTestsNotRun;
    }
    project.Build();
    CProcessRunner* build = host.Runner();
    if (!build) {
        return kTestsNotRun;
    }
    const std::string buildOutput = Finish(*build, interrupted);
    if (build->ExitCode() != 0) {
        out << buildOutput << std::flush;
        return kTestsNotRun;
    }
    if (!StartTestRun(project, *plan)) {
        return kTestsNotRun;
    }
    const std::string output = Finish(*host.Runner(), interrupted);
    const STestResults results = CollectTestResults(*plan, output);
    if (!results.note.empty()) {
        err << "tovin: " << results.note << std::endl;
    }
    for (const STestCase& test : results.cases) {
        if (IsFailure(test.outcome)) {
            out << FailureLine(plan->classes, project, test) << '\n';
        }
    }
    const STestCounts counts = CountTests(results.cases);
    out << SummaryLine(counts) << std::endl;
    return counts.failed > 0 ? kTestsFailed : kTestsPassed;
}

} // namespace tovin
