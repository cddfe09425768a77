#include "core/project/CommandHelpers.h"

#include "core/app/Settings.h"
#include "core/app/UiHost.h"
#include "core/platform/CommandLine.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/platform/Spawn.h"
#include "core/process/ProcessRunner.h"
#include "core/project/JavaProjectDoc.h"
#include "core/project/ToolLocator.h"

#include <algorithm>
#include <memory>

namespace tovin {

namespace {

// The folder the folder browser opens at; kept until the program ends.
std::string& RememberedFolder() {
    static std::string folder;
    return folder;
}

// `" -classpath "CP:." "` for a non-empty class path: the current folder is always appended.
std::string ClassPathOption(const std::string& classPath) {
    if (classPath.empty()) {
        return {};
    }
    return "-classpath " + CToolLocator::Quote(classPath + kPathListSeparator + ".") + " ";
}

} // namespace

void ShowMessage(CUiHost& host, const std::string& text) {
    host.MessageBox(text, kProductCaption, EMsgButtons::Ok, EMsgIcon::Warning);
}

void ShowSystemError(CUiHost& host, const std::string& text) {
    host.MessageBox(text, kErrorCaption, EMsgButtons::Ok, EMsgIcon::Information);
}

CWaitCursor::CWaitCursor(CUiHost& host) : m_host(host) {
    m_host.SetWaitCursor(true);
}

CWaitCursor::~CWaitCursor() {
    m_host.SetWaitCursor(false);
}

std::string GetMainFilePath(CJavaProjectDoc& project) {
    const std::string name = project.GetMainFileName();
    if (name.empty()) {
        ShowMessage(project.Host(), kNoMainFileMessage);
        return {};
    }
    project.RebaseEntries();
    std::string path = project.GetFullPath(name);
    if (path == CJavaProjectDoc::kNoFile) {
        ShowMessage(project.Host(), "The main file \"" + name + "\"" +
                                        " is no longer in the project. " + kNoMainFileMessage +
                                        ".");
        return {};
    }
    return path;
}

std::string GetClassRoot(const std::string& folder, const std::string& package) {
    if (package.empty()) {
        return folder;
    }
    std::string packagePath = package;
    std::replace(packagePath.begin(), packagePath.end(), '.', kPathSeparator);
    // Only whole folder names count: the package com.acme is not found in ".../telecom/acme".
    for (std::size_t at = folder.find(packagePath); at != std::string::npos;
         at = folder.find(packagePath, at + 1)) {
        const std::size_t end = at + packagePath.size();
        const bool startsName = at == 0 || folder[at - 1] == kPathSeparator;
        const bool endsName = end == folder.size() || folder[end] == kPathSeparator;
        if (startsName && endsName) {
            return at == 0 ? std::string() : folder.substr(0, at - 1);
        }
    }
    return folder;
}

std::string GetCompileOptions(const CJavaProjectDoc& project, const std::string& addedClassPath) {
    std::string options = " ";
    if (!project.GetCompileOptions().empty()) {
        options += project.GetCompileOptions() + " ";
    }
    std::string classPath = project.GetClassPath();
    if (!addedClassPath.empty()) {
        classPath += (classPath.empty() ? "" : std::string(1, kPathListSeparator)) + addedClassPath;
    }
    options += ClassPathOption(classPath);
    if (!project.GetCompileDir().empty()) {
        options += "-d " + CToolLocator::Quote(project.GetCompileDir()) + " ";
    }
    return options;
}

std::string GetRunOptions(const CJavaProjectDoc& project) {
    std::string options = " ";
    if (!project.GetRunOptions().empty()) {
        options += project.GetRunOptions() + " ";
    }
    return options + ClassPathOption(project.GetClassPath());
}

std::string GetClassNameOf(const std::string& fileName) {
    return fileName.substr(0, fileName.rfind('.'));
}

std::string GetQualifiedMainClass(const CJavaProjectDoc& project) {
    const std::string& package = project.GetMainPackage();
    const std::string name = GetClassNameOf(project.GetMainFileName());
    return package.empty() ? name : package + "." + name;
}

std::string GetRunCommandLine(const CJavaProjectDoc& project) {
    return CToolLocator(project.Settings()).GetJavaName() + tovin::GetRunOptions(project) +
           GetQualifiedMainClass(project);
}

std::string WithLauncherPath(const CJavaProjectDoc& project, const std::string& command) {
    const CToolLocator locator(project.Settings());
    const std::string name = locator.GetJavaName();
    if (!command.starts_with(name)) {
        return command;
    }
    return CToolLocator::QuoteProgram(locator.GetJavaPath()) + command.substr(name.size());
}

std::string GetRunFolder(const CJavaProjectDoc& project, const std::string& mainPath) {
    if (!project.GetWorkingDir().empty()) {
        return project.GetWorkingDir();
    }
    return GetClassRoot(GetFolder(mainPath), project.GetMainPackage());
}

bool LaunchTool(CUiHost& host, const std::string& toolPath, const std::string& commandLine,
                const std::string& folder) {
    auto runner = std::make_unique<CProcessRunner>(&host);
    if (!runner->Start(toolPath, commandLine, folder)) {
        return false;
    }
    host.AttachRunner(std::move(runner));
    return true;
}

bool StartDetached(CUiHost& host, const std::string& toolPath, const std::string& commandLine,
                   const std::string& folder) {
    const std::string expandIn = folder.empty() ? CurrentFolder() : folder;
    const auto arguments = ExpandWildcards(SplitCommandLine(commandLine), expandIn);
    std::string error = SpawnDetached(toolPath, arguments, folder);
    if (!error.empty()) {
        ShowSystemError(host, StartFailureText(toolPath, arguments, folder, error));
        return false;
    }
    return true;
}

std::string ConsoleScriptPath() {
    const std::string cache = CacheFolder();
    return cache.empty() ? std::string() : cache + kPathSeparator + kConsoleScriptName;
}

std::string ShellCommandLine(const std::string& commandLine, const std::string& folder) {
    const std::string expandIn = folder.empty() ? CurrentFolder() : folder;
    return ShellJoin(ExpandWildcards(SplitCommandLine(commandLine), expandIn));
}

std::string ConsoleScriptText(const std::string& commandLine, const std::string& folder) {
    return std::string("#!/bin/sh\n") + ShellCommandLine(commandLine, folder) + "\n" + kPauseLine +
           "\n";
}

bool RunInConsole(CUiHost& host, const std::string& commandLine, const std::string& folder) {
    const std::string script = ConsoleScriptPath();
    if (script.empty() ||
        !WriteFileAtomic(script, ConsoleScriptText(commandLine, folder)).empty()) {
        ShowMessage(host, kScriptNotWrittenMessage);
        return false;
    }
    std::string error = host.OpenTerminal(script, folder);
    if (!error.empty()) {
        ShowSystemError(host, error);
        return false;
    }
    return true;
}

std::string BrowseForFolder(const CJavaProjectDoc& project, const std::string& title) {
    std::string& remembered = RememberedFolder();
    if (!project.GetWorkingDir().empty()) {
        remembered = project.GetWorkingDir();
    }
    std::string chosen = project.Host().BrowseForFolder(title, remembered);
    while (chosen.size() > 1 && chosen.back() == kPathSeparator) {
        chosen.pop_back();
    }
    if (!chosen.empty()) {
        remembered = chosen;
    }
    return chosen;
}

const std::string& GetRememberedFolder() {
    return RememberedFolder();
}

void SetRememberedFolder(std::string folder) {
    RememberedFolder() = std::move(folder);
}

namespace {
std::string& CurrentDialogFolder() {
    static std::string folder;
    return folder;
}
} // namespace

const std::string& GetCurrentDialogFolder() {
    return CurrentDialogFolder();
}

void SetCurrentDialogFolder(std::string folder) {
    CurrentDialogFolder() = std::move(folder);
}

std::optional<std::string> AskArguments(CJavaProjectDoc& project) {
    if (CSettingsStore* store = project.SettingsStore()) {
        return AskProgramArguments(project.Host(), *store);
    }
    return project.Host().AskArguments({});
}

bool AppendArguments(CJavaProjectDoc& project, std::string& command) {
    if (project.Settings().showArgs == 0) {
        return true;
    }
    std::optional<std::string> arguments = AskArguments(project);
    if (!arguments) {
        return false;
    }
    command += " " + *arguments;
    return true;
}

} // namespace tovin
