#include "core/project/TestCommands.h"

#include "core/app/UiHost.h"
#include "core/javamodel/JavaLexicalPass.h"
#include "core/javamodel/JavaParser.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/project/CommandHelpers.h"
#include "core/project/JavaProjectDoc.h"
#include "core/project/ToolLocator.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <dirent.h>
#include <map>
#include <unistd.h>

namespace tovin {

namespace {

// The line the launcher prints once every engine has ended and its reports are written.
constexpr const char* kLauncherSummary = "Test run finished after";

std::string& JUnitFolder() {
    static std::string folder = kJUnitFolder;
    return folder;
}

// The archives of each kind: the first is the one whose absence means the package is missing.
constexpr const char* kJupiterJars[] = {"junit-jupiter-api.jar", "junit-jupiter-params.jar",
                                        "opentest4j.jar", "apiguardian-api.jar",
                                        "junit-platform-commons.jar"};
constexpr const char* kLegacyJars[] = {"junit4.jar", "hamcrest-core.jar"};

void AppendPath(std::string& list, const std::string& path) {
    if (path.empty()) {
        return;
    }
    // The same folder twice would only lengthen the command line.
    std::size_t start = 0;
    while (start <= list.size() && !list.empty()) {
        std::size_t end = list.find(kPathListSeparator, start);
        if (end == std::string::npos) {
            end = list.size();
        }
        if (list.compare(start, end - start, path) == 0) {
            return;
        }
        start = end + 1;
    }
    list += (list.empty() ? "" : std::string(1, kPathListSeparator)) + path;
}

// A relative folder names a place below the folder the build ran in.
std::string Anchored(const std::string& path, const std::string& buildFolder) {
    if (path.empty() || path.front() == kPathSeparator || buildFolder.empty()) {
        return path;
    }
    return buildFolder + kPathSeparator + path;
}

std::string ClassNameOfPath(const std::string& path) {
    return GetClassNameOf(GetFileName(path));
}

// The simple name and the package of a binary class name (nested classes after '$').
std::string OuterClassOf(const std::string& binaryName) {
    return binaryName.substr(0, binaryName.find('$'));
}

std::string PackageOf(const std::string& qualifiedName) {
    const std::size_t dot = qualifiedName.rfind('.');
    return dot == std::string::npos ? std::string() : qualifiedName.substr(0, dot);
}

void RemoveOldReports(const std::string& folder) {
    if (DIR* dir = ::opendir(folder.c_str())) {
        std::vector<std::string> names;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.starts_with("TEST-") && name.ends_with(".xml")) {
                names.push_back(name);
            }
        }
        ::closedir(dir);
        for (const std::string& name : names) {
            ::unlink((folder + kPathSeparator + name).c_str());
        }
    }
}

// The launcher option that selects one failed test again, or empty when it cannot be named.
std::string RerunSelector(const STestCase& test) {
    if (test.className.empty() || test.name.empty()) {
        return {};
    }
    // A parameterized test's invocation: "name(types)[n]", which the launcher counts from 0.
    const std::size_t bracket = test.name.rfind('[');
    if (bracket != std::string::npos && test.name.back() == ']' && bracket > 0 &&
        test.name[bracket - 1] == ')') {
        int index = 0;
        const char* first = test.name.data() + bracket + 1;
        const char* last = test.name.data() + test.name.size() - 1;
        const auto parsed = std::from_chars(first, last, index);
        if (parsed.ec == std::errc() && parsed.ptr == last && index > 0) {
            return "--select-iteration " + CToolLocator::Quote("method:" + test.className + "#" +
                                                               test.name.substr(0, bracket) + "[" +
                                                               std::to_string(index - 1) + "]");
        }
    }
    return "--select-method " + CToolLocator::Quote(test.className + "#" + test.name);
}

struct SFrame {
    std::string className;
    std::string fileName;
    int line = 0;
};

// "\tat [module/]pkg.Class.method(File.java:12)"
std::optional<SFrame> ParseFrame(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        line.remove_prefix(1);
    }
    if (!line.starts_with("at ")) {
        return std::nullopt;
    }
    const std::size_t open = line.find('(');
    const std::size_t colon = line.rfind(':');
    const std::size_t close = line.rfind(')');
    if (open == std::string_view::npos || colon == std::string_view::npos ||
        close == std::string_view::npos || !(open < colon && colon < close)) {
        return std::nullopt;
    }
    SFrame frame;
    std::string_view method = line.substr(3, open - 3);
    if (const std::size_t slash = method.rfind('/'); slash != std::string_view::npos) {
        method.remove_prefix(slash + 1);
    }
    const std::size_t dot = method.rfind('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    frame.className = method.substr(0, dot);
    frame.fileName = line.substr(open + 1, colon - open - 1);
    const auto parsed = std::from_chars(line.data() + colon + 1, line.data() + close, frame.line);
    if (parsed.ec != std::errc() || parsed.ptr != line.data() + close || frame.line <= 0) {
        return std::nullopt;
    }
    return frame;
}

} // namespace

const std::string& GetJUnitFolder() {
    return JUnitFolder();
}

void SetJUnitFolder(std::string folder) {
    JUnitFolder() = std::move(folder);
}

SJUnitUse FindJUnitUse(std::string_view javaText) {
    std::string code;
    MaskJavaLiteralsAndComments(javaText, FindJavaLiteralsAndComments(javaText), 0, javaText.size(),
                                code);
    SJUnitUse use;
    for (std::size_t at = code.find("junit"); at != std::string::npos;
         at = code.find("junit", at + 1)) {
        const std::string_view rest = std::string_view(code).substr(at);
        const bool qualified = at >= 4 && code.compare(at - 4, 4, "org.") == 0;
        const bool word = at == 0 || !(std::isalnum(static_cast<unsigned char>(code[at - 1])) ||
                                       code[at - 1] == '_' || code[at - 1] == '$');
        if (qualified &&
            (rest.starts_with("junit.jupiter") || rest.starts_with("junit.platform"))) {
            use.jupiter = true;
        } else if ((qualified && rest.starts_with("junit.")) ||
                   (word && !qualified && rest.starts_with("junit.framework."))) {
            use.legacy = true;
        }
    }
    return use;
}

SJUnitClassPath JUnitClassPath(SJUnitUse use, const std::string& folder) {
    SJUnitClassPath result;
    const auto add = [&](const auto& jars, const char* package) {
        bool first = true;
        for (const char* jar : jars) {
            const std::string path = folder + kPathSeparator + jar;
            if (FileExists(path)) {
                AppendPath(result.classPath, path);
            } else if (first && result.missingPackage.empty()) {
                result.missingPackage = package;
            }
            first = false;
        }
    };
    if (use.jupiter) {
        add(kJupiterJars, kJUnit5Package);
    }
    if (use.legacy) {
        add(kLegacyJars, kJUnit4Package);
    }
    return result;
}

std::string JUnitMissingMessage(const std::string& package) {
    return "The project's tests need JUnit, which is not installed here (" + GetJUnitFolder() +
           "). Install the package " + package + " (sudo apt install " + package + ").";
}

std::vector<STestClass> FindTestClasses(CJavaProjectDoc& project) {
    std::vector<STestClass> classes;
    for (const auto& entry : project.JavaFiles()) {
        if (entry->GetExtension() != "java") {
            continue;
        }
        const auto text = ReadWholeFile(entry->GetFullPath());
        if (!text) {
            continue;
        }
        const SJUnitUse use = FindJUnitUse(*text);
        if (!use.Any()) {
            continue;
        }
        const std::string package = CJavaParser::FindPackage(*text);
        const std::string name = ClassNameOfPath(entry->GetFullPath());
        classes.push_back({entry->GetFullPath(), package.empty() ? name : package + "." + name,
                           GetClassRoot(GetFolder(entry->GetFullPath()), package), use});
    }
    return classes;
}

namespace {

SJUnitUse UseOf(const std::vector<STestClass>& classes) {
    SJUnitUse use;
    for (const STestClass& test : classes) {
        use.jupiter = use.jupiter || test.use.jupiter;
        use.legacy = use.legacy || test.use.legacy;
    }
    return use;
}

} // namespace

std::optional<std::string> JUnitClassPathForBuild(CJavaProjectDoc& project,
                                                  const std::string& singleFile) {
    SJUnitUse use = UseOf(FindTestClasses(project));
    SJUnitUse own;
    if (!singleFile.empty()) {
        if (const auto text = ReadWholeFile(singleFile)) {
            own = FindJUnitUse(*text);
        }
        use.jupiter = use.jupiter || own.jupiter;
        use.legacy = use.legacy || own.legacy;
    }
    if (!use.Any()) {
        return std::string();
    }
    SJUnitClassPath jars = JUnitClassPath(use, GetJUnitFolder());
    if (!jars.missingPackage.empty() && !singleFile.empty() && !own.Any()) {
        return jars.classPath;
    }
    if (!jars.missingPackage.empty()) {
        ShowMessage(project.Host(), JUnitMissingMessage(jars.missingPackage));
        return std::nullopt;
    }
    return jars.classPath;
}

std::optional<STestRunPlan> PlanTestRun(CJavaProjectDoc& project,
                                        const std::vector<std::string>& classNames) {
    project.ApplyPendingEdits();
    if (project.GetMainFile().empty()) {
        ShowMessage(project.Host(), kNoTestsMessage);
        return std::nullopt;
    }
    const std::string mainPath = GetMainFilePath(project);
    if (mainPath.empty()) {
        return std::nullopt;
    }
    STestRunPlan plan;
    plan.classes = FindTestClasses(project);
    if (plan.classes.empty()) {
        ShowMessage(project.Host(), kNoTestsMessage);
        return std::nullopt;
    }
    std::vector<const STestClass*> chosen;
    for (const std::string& name : classNames) {
        const auto named =
            std::find_if(plan.classes.begin(), plan.classes.end(), [&](const STestClass& test) {
                return test.qualifiedName == name || ClassNameOfPath(test.path) == name ||
                       test.path == name;
            });
        if (named == plan.classes.end()) {
            ShowMessage(project.Host(), "\"" + name + "\" is not a test class of this project.");
            return std::nullopt;
        }
        chosen.push_back(&*named);
    }
    if (classNames.empty()) {
        for (const STestClass& test : plan.classes) {
            chosen.push_back(&test);
        }
    }
    SJUnitUse use;
    for (const STestClass* test : chosen) {
        use.jupiter = use.jupiter || test->use.jupiter;
        use.legacy = use.legacy || test->use.legacy;
        plan.selectors.push_back("--select-class " + CToolLocator::Quote(test->qualifiedName));
    }
    // The launcher runs JUnit 4 tests too, so junit5 is needed whichever the tests use.
    const std::string folder = GetJUnitFolder();
    if (!FileExists(folder + kPathSeparator + kJUnitLauncherJar)) {
        ShowMessage(project.Host(), JUnitMissingMessage(kJUnit5Package));
        return std::nullopt;
    }
    const SJUnitClassPath jars = JUnitClassPath(UseOf(plan.classes), folder);
    if (!jars.missingPackage.empty()) {
        ShowMessage(project.Host(), JUnitMissingMessage(jars.missingPackage));
        return std::nullopt;
    }
    const std::string buildFolder = GetClassRoot(GetFolder(mainPath), project.GetMainPackage());
    if (!project.GetCompileDir().empty()) {
        AppendPath(plan.classPath, Anchored(project.GetCompileDir(), buildFolder));
    } else {
        AppendPath(plan.classPath, buildFolder);
        for (const STestClass& test : plan.classes) {
            AppendPath(plan.classPath, test.classRoot);
        }
    }
    std::string projectClassPath = project.GetClassPath();
    std::size_t start = 0;
    while (start < projectClassPath.size()) {
        std::size_t end = projectClassPath.find(kPathListSeparator, start);
        if (end == std::string::npos) {
            end = projectClassPath.size();
        }
        AppendPath(plan.classPath,
                   Anchored(projectClassPath.substr(start, end - start), buildFolder));
        start = end + 1;
    }
    AppendPath(plan.classPath, jars.classPath);
    plan.folder = GetRunFolder(project, mainPath);
    const std::string cache = CacheFolder();
    if (cache.empty()) {
        ShowMessage(project.Host(), "The test reports need a cache folder, and none could be made "
                                    "(HOME or XDG_CACHE_HOME).");
        return std::nullopt;
    }
    plan.reportsFolder = cache + kPathSeparator + "test-reports";
    plan.caption = "Testing \"" +
                   (chosen.size() == 1 ? GetFileName(chosen.front()->path) : project.GetTitle()) +
                   "\"";
    return plan;
}

STestRunPlan PlanRerun(STestRunPlan plan, const std::vector<STestCase>& failed) {
    plan.selectors.clear();
    for (const STestCase& test : failed) {
        std::string selector = RerunSelector(test);
        if (!selector.empty() && std::find(plan.selectors.begin(), plan.selectors.end(),
                                           selector) == plan.selectors.end()) {
            plan.selectors.push_back(std::move(selector));
        }
    }
    plan.caption = "Testing the failed tests again";
    return plan;
}

std::string TestLauncherCommandLine(const CJavaProjectDoc& project, const STestRunPlan& plan) {
    std::string command = CToolLocator(project.Settings()).GetJavaName() + " ";
    if (!project.GetRunOptions().empty()) {
        command += project.GetRunOptions() + " ";
    }
    // The verbose details are written out as each test ends, so a run that never ends, or that
    // a test ends with System.exit, still shows what finished.
    command += "-jar " +
               CToolLocator::Quote(GetJUnitFolder() + kPathSeparator + kJUnitLauncherJar) +
               " --disable-banner --disable-ansi-colors --details=verbose --details-theme=ascii "
               "--class-path " +
               CToolLocator::Quote(plan.classPath) + " --reports-dir " +
               CToolLocator::Quote(plan.reportsFolder);
    for (const std::string& selector : plan.selectors) {
        command += " " + selector;
    }
    return command;
}

bool StartTestRun(CJavaProjectDoc& project, const STestRunPlan& plan) {
    RemoveOldReports(plan.reportsFolder);
    project.Host().SetProcessCaption(plan.caption);
    SetCurrentFolder(plan.folder);
    return LaunchTool(project.Host(), CToolLocator(project.Settings()).GetJavaPath(),
                      TestLauncherCommandLine(project, plan), plan.folder);
}

STestResults CollectTestResults(const STestRunPlan& plan, std::string_view launcherOutput) {
    STestResults results;
    bool found = false;
    STestReport report = ReadTestReports(plan.reportsFolder, &found);
    // The summary comes last: without it an engine's report may be missing.
    if (found && launcherOutput.find(kLauncherSummary) != std::string_view::npos) {
        results.cases = std::move(report.cases);
        if (!report.damage.empty()) {
            results.note = "The test report could not be read whole: " + report.damage + ".";
        }
        return results;
    }
    results.cases = ReadTestFeed(launcherOutput);
    results.note = "The test run ended before it wrote its report (stopped, or a test called "
                   "System.exit): only the tests it showed are listed.";
    return results;
}

std::optional<SFailureLocation> FindFailureLocation(CJavaProjectDoc& project,
                                                    const STestCase& test) {
    // The package of each of the project's Java files, read once per call.
    std::map<std::string, std::string> packages;
    const auto packageOf = [&](const std::string& path) -> const std::string& {
        auto found = packages.find(path);
        if (found == packages.end()) {
            const auto text = ReadWholeFile(path);
            found = packages.emplace(path, text ? CJavaParser::FindPackage(*text) : "").first;
        }
        return found->second;
    };
    std::size_t start = 0;
    const std::string& trace = test.trace;
    while (start < trace.size()) {
        std::size_t end = trace.find('\n', start);
        if (end == std::string::npos) {
            end = trace.size();
        }
        std::string_view line(trace.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const auto frame = ParseFrame(line);
        if (!frame) {
            continue;
        }
        const std::string package = PackageOf(OuterClassOf(frame->className));
        for (const auto& entry : project.JavaFiles()) {
            if (entry->GetFileName() == frame->fileName &&
                packageOf(entry->GetFullPath()) == package) {
                return SFailureLocation{entry->GetFullPath(), frame->line};
            }
        }
    }
    return std::nullopt;
}

std::string TestTitle(const STestCase& test) {
    const std::size_t dot = test.className.rfind('.');
    std::string name = dot == std::string::npos ? test.className : test.className.substr(dot + 1);
    std::replace(name.begin(), name.end(), '$', '.');
    return name.empty() ? test.name : name + "." + test.name;
}

std::string FirstLine(const std::string& text) {
    const std::size_t end = text.find_first_of("\r\n");
    return end == std::string::npos ? text : text.substr(0, end);
}

std::string FailureLine(const std::vector<STestClass>& classes, CJavaProjectDoc& project,
                        const STestCase& test) {
    std::string where;
    if (const auto location = FindFailureLocation(project, test)) {
        where = location->path + ":" + std::to_string(location->line);
    } else {
        const std::string outer = OuterClassOf(test.className);
        const auto owner =
            std::find_if(classes.begin(), classes.end(),
                         [&](const STestClass& test) { return test.qualifiedName == outer; });
        where = owner == classes.end() ? outer : owner->path;
    }
    std::string message = FirstLine(test.message);
    if (message.empty()) {
        message = test.failureType.empty() ? "failed" : test.failureType;
    }
    return where + ": test failed: " + TestTitle(test) + ": " + message;
}

std::string SummaryLine(const STestCounts& counts) {
    return std::to_string(counts.passed) + " passed, " + std::to_string(counts.failed) +
           " failed, " + std::to_string(counts.skipped) + " skipped";
}

} // namespace tovin
