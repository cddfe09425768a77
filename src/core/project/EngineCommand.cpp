#include "core/project/EngineCommand.h"

#include "core/app/Settings.h"
#include "core/javamodel/JavaParser.h"
#include "core/platform/CommandLine.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/project/CommandHelpers.h"
#include "core/project/JavaProjectDoc.h"
#include "core/project/TestCommands.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

namespace tovin {

namespace {

std::string Absolute(const std::string& path, const std::string& base) {
    if (path.empty()) {
        return path;
    }
    std::filesystem::path resolved(path);
    if (resolved.is_relative() && !base.empty()) {
        resolved = std::filesystem::path(base) / resolved;
    }
    return resolved.lexically_normal().string();
}

std::string AbsoluteList(const std::string& list, const std::string& base) {
    std::string result;
    std::istringstream entries(list);
    for (std::string entry; std::getline(entries, entry, kPathListSeparator);) {
        if (entry.empty()) {
            continue;
        }
        std::string path = Absolute(entry, base);
        // "a/." normalises to "a/"; the compiler takes both, a reader of the command prefers "a".
        if (path.size() > 1 && path.back() == kPathSeparator) {
            path.pop_back();
        }
        result += (result.empty() ? "" : std::string(1, kPathListSeparator)) + path;
    }
    return result;
}

void AddOption(std::vector<std::string>& arguments, const char* option, const std::string& value) {
    if (!value.empty()) {
        arguments.push_back(option);
        arguments.push_back(value);
    }
}

} // namespace

SEngineProject EngineProjectOf(const CJavaProjectDoc& project) {
    SEngineProject result;
    std::vector<std::string> roots;
    std::string buildFolder;
    for (const auto& entry : project.JavaFiles()) {
        if (entry->GetExtension() != "java") {
            continue;
        }
        const std::string& path = entry->GetFullPath();
        result.projectFiles.push_back(path);
        // A project whose files were never parsed (just added, not yet shown in the tree) knows
        // no package for them: the file says.
        std::string package = entry->GetPackage();
        if (package.empty()) {
            package = CJavaParser::FindPackage(ReadWholeFile(path).value_or(std::string()));
        }
        const std::string root = GetClassRoot(GetFolder(path), package);
        if (std::find(roots.begin(), roots.end(), root) == roots.end()) {
            roots.push_back(root);
        }
        // Build compiles in the main file's class root; relative entries mean that folder.
        if (entry->GetFileName() == project.GetMainFileName()) {
            buildFolder = root;
        }
    }
    if (buildFolder.empty() && !roots.empty()) {
        buildFolder = roots.front();
    }
    for (const std::string& root : roots) {
        result.sourcePath += (result.sourcePath.empty() ? "" : std::string(1, kPathListSeparator)) +
                             (root.empty() ? std::string(1, kPathSeparator) : root);
    }

    // Build's own compiler options, taken apart: what it passes as class path and compile folder
    // the engine is told by name, the rest are the project's switches.
    const std::vector<SCommandArgument> words =
        SplitCommandLine("javac" + GetCompileOptions(project));
    std::string classPath;
    bool classPathGiven = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i].text;
        const bool hasValue = i + 1 < words.size();
        if ((word == "-classpath" || word == "-cp" || word == "--class-path") && hasValue) {
            classPath = words[++i].text;
            classPathGiven = true;
        } else if (word == "-d" && hasValue) {
            result.outputDir = Absolute(words[++i].text, buildFolder);
        } else {
            result.javacOptions.push_back(word);
        }
    }
    // Without -classpath the compiler looks in the folder it runs in.
    result.classPath = AbsoluteList(classPathGiven ? classPath : ".", buildFolder);
    // Build adds the installed JUnit archives once a file uses JUnit; the engine has them from
    // the start, so a test file written while the project is open is checked as Build will
    // compile it (code that names no JUnit class is checked the same either way).
    const std::string junit = JUnitClassPath({true, true}, GetJUnitFolder()).classPath;
    if (!junit.empty()) {
        result.classPath += std::string(1, kPathListSeparator) + junit;
    }
    return result;
}

int JdkMajorVersion(const std::string& javaBin) {
    const std::optional<std::string> release = ReadWholeFile(javaBin + kPathSeparator + "release");
    if (!release) {
        return 0;
    }
    static constexpr std::string_view kKey = "JAVA_VERSION=";
    std::istringstream lines(*release);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(kKey, 0) != 0) {
            continue;
        }
        std::string value = line.substr(kKey.size());
        std::erase(value, '"');
        if (value.rfind("1.", 0) == 0) {
            value.erase(0, 2);
        }
        int major = 0;
        for (char c : value) {
            if (!std::isdigit(static_cast<unsigned char>(c)) || major > 1000) {
                break;
            }
            major = major * 10 + (c - '0');
        }
        return major;
    }
    return 0;
}

SEngineCommand ComposeEngineCommand(const CSettings& settings, const CJavaProjectDoc* project,
                                    const std::string& cacheFolder) {
    SEngineCommand command;
    if (!settings.languageServer.empty()) {
        const std::vector<SCommandArgument> words = SplitCommandLine(settings.languageServer);
        command.program = words.front().text;
        for (std::size_t i = 1; i < words.size(); ++i) {
            command.arguments.push_back(words[i].text);
        }
        if (command.program.empty()) {
            command.error = "The Java language server command names no program.";
        }
        return command;
    }
    const int version = JdkMajorVersion(settings.javaBin);
    if (version < kEngineMinJdk) {
        command.error = version == 0
                            ? "Checking while typing needs a JDK; none was found in \"" +
                                  settings.javaBin + "\""
                            : "Checking while typing needs JDK " + std::to_string(kEngineMinJdk) +
                                  " or later; \"" + settings.javaBin + "\" holds JDK " +
                                  std::to_string(version);
        return command;
    }
    const std::string jar = FindDataFile(kEngineJar);
    if (jar.empty()) {
        command.error = "The Java engine (tovin-engine.jar) is not installed";
        return command;
    }
    command.program = settings.javaBin + "/bin/java";
    command.arguments = {
        // A small starting heap lets the collector give memory back after a project's check;
        // without performance data the JVM writes nothing under /tmp.
        "-XX:+UseSerialGC", "-Xms32m", "-Xmx384m", "-Xss4m", "-XX:-UsePerfData",
        // The engine gives javac's messages as the javac command prints them, through javac's
        // own formatter, which the compiler's module does not export.
        "--add-exports", "jdk.compiler/com.sun.tools.javac.api=ALL-UNNAMED", "--add-exports",
        "jdk.compiler/com.sun.tools.javac.code=ALL-UNNAMED", "--add-exports",
        "jdk.compiler/com.sun.tools.javac.util=ALL-UNNAMED", "-cp",
        jar + kPathListSeparator + kGsonJar, "tovin.engine.Server"};
    if (project) {
        const SEngineProject options = EngineProjectOf(*project);
        AddOption(command.arguments, "--source-path", options.sourcePath);
        AddOption(command.arguments, "--class-path", options.classPath);
        AddOption(command.arguments, "--output", options.outputDir);
        for (const std::string& option : options.javacOptions) {
            AddOption(command.arguments, "--javac-option", option);
        }
        for (const std::string& file : options.projectFiles) {
            AddOption(command.arguments, "--project-file", file);
        }
    }
    AddOption(command.arguments, "--cache", cacheFolder);
    return command;
}

SEngineCommand ComposeDebugAdapterCommand(const CSettings& settings, const std::string& engineJar) {
    SEngineCommand command;
    if (engineJar.empty()) {
        command.error = std::string("the debugger is not installed (") + kEngineJar +
                        " is missing from the data folder)";
        return command;
    }
    if (settings.javaBin.empty()) {
        command.error = "no JDK is set (JAVABIN); choose one in Preferences";
        return command;
    }
    command.program = settings.javaBin + kPathSeparator + "bin" + kPathSeparator + "java";
    // A small heap and the serial collector: the adapter holds little and starts often.
    command.arguments = {"-XX:+UseSerialGC",
                         "-Xmx96m",
                         "-XX:-UsePerfData",
                         "-cp",
                         engineJar + kPathListSeparator + kGsonJar,
                         "tovin.engine.DebugAdapter"};
    return command;
}

} // namespace tovin
