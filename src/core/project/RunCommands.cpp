// The commands that start the project's program: the main class captured or in a terminal, an
// applet page, the debugger, and Jython scripts.

#include "core/app/Settings.h"
#include "core/app/UiHost.h"
#include "core/javamodel/JavaParser.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/platform/Spawn.h"
#include "core/project/CommandHelpers.h"
#include "core/project/JavaProjectDoc.h"
#include "core/project/ToolLocator.h"

#include <cerrno>
#include <regex>

namespace tovin {

namespace {

constexpr const char* kJythonMainClass = "org.python.util.jython";

// Our own applet viewer (in the data folder) and its main class, for the JDKs that have none:
// every JDK since 11.
constexpr const char* kOwnAppletViewerJar = "appletviewer/TovinAppletViewer.jar";
constexpr const char* kOwnAppletViewerClass = "TovinAppletViewer";

// `"-Dpython.home=J" -classpath "J/jython.jar[:CP]"`: the options every Jython start shares.
std::string JythonOptions(const CJavaProjectDoc& project) {
    const CToolLocator locator(project.Settings());
    std::string classPath = locator.GetJythonJarPath();
    if (!project.GetClassPath().empty()) {
        classPath += kPathListSeparator + project.GetClassPath();
    }
    return CToolLocator::Quote("-Dpython.home=" + project.Settings().jython) + " -classpath " +
           CToolLocator::Quote(classPath);
}

// The launcher's path as the first word of a command line. Quoted, so a JDK folder holding a
// blank still gives one argument zero; the quotes are not part of it.
std::string LauncherWord(const CJavaProjectDoc& project) {
    return CToolLocator::QuoteProgram(CToolLocator(project.Settings()).GetJavaPath());
}

// Whether the file declares an applet (a class that extends Applet or JApplet) and no main
// method: the launcher could only say "Main method not found" for it.
bool IsAppletWithoutMain(const std::string& path) {
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        return false;
    }
    CJavaFile file;
    file.SetPath(path);
    const std::string text = CJavaParser::SourceTextOf(*bytes);
    CJavaParser(file).ParseText(text);
    for (const auto& javaClass : file.Classes()) {
        for (const auto& method : javaClass->Methods()) {
            if (method->GetName().starts_with("main(")) {
                return false;
            }
        }
    }
    static const std::regex kExtendsApplet(
        R"(\bextends\s+(java\s*\.\s*applet\s*\.\s*|javax\s*\.\s*swing\s*\.\s*)?J?Applet\b)");
    return std::regex_search(text, kExtendsApplet);
}

} // namespace

void CJavaProjectDoc::Run(bool captured) {
    ApplyPendingEdits();
    if (GetMainFile().empty()) {
        ShowMessage(m_host, kNoMainFileMessage);
        return;
    }
    const std::string path = GetMainFilePath(*this);
    if (path.empty()) {
        return;
    }
    const std::string extension = GetExtension(path);
    if (extension == "py") {
        RunJython(path, !captured, {});
        return;
    }
    if (extension == "xml") {
        if (m_runAnt) {
            m_runAnt(path, {});
        }
        return;
    }
    if (IsAppletWithoutMain(path)) {
        ShowMessage(m_host, "\"" + GetClassNameOf(m_data.mainFile) +
                                "\" is an applet: it has no main method that Java could run. "
                                "Use Run Applet (Shift+F5) to show it with its HTML page.");
        return;
    }
    const std::string folder = GetRunFolder(*this, path);
    SetCurrentFolder(folder);
    std::string command = GetRunCommandLine(*this);
    m_host.SetProcessCaption(command);
    if (!AppendArguments(*this, command)) {
        return;
    }
    if (captured) {
        LaunchTool(m_host, CToolLocator(m_settings).GetJavaPath(), command, folder);
    } else {
        RunInConsole(m_host, WithLauncherPath(*this, command), folder);
    }
}

void CJavaProjectDoc::RunApplet(const std::string& pagePath) {
    ApplyPendingEdits();
    const std::string folder = GetFolder(pagePath);
    SetCurrentFolder(folder);
    const CToolLocator locator(m_settings);
    const std::string page = CToolLocator::Quote(GetFileName(pagePath));
    m_host.SetProcessCaption("AppletViewer: \"" + pagePath + "\"");
    const std::string viewer = locator.GetAppletViewerPath();
    const std::string ownViewer =
        FindExecutableOnPath(viewer).empty() ? FindDataFile(kOwnAppletViewerJar) : std::string();
    if (ownViewer.empty()) {
        LaunchTool(m_host, viewer, locator.GetAppletViewerName() + " " + page, folder);
        return;
    }
    // Our viewer runs on the JDK's launcher with the project's run options; the applet's classes
    // come from the page's code base, its libraries from the project's class path.
    std::string classPath = ownViewer;
    if (!GetClassPath().empty()) {
        classPath += kPathListSeparator + GetClassPath();
    }
    std::string command = locator.GetJavaName();
    if (!GetRunOptions().empty()) {
        command += " " + GetRunOptions();
    }
    command +=
        " -classpath " + CToolLocator::Quote(classPath) + " " + kOwnAppletViewerClass + " " + page;
    LaunchTool(m_host, locator.GetJavaPath(), command, folder);
}

void CJavaProjectDoc::RunMainApplet() {
    if (m_data.mainHtmlFile.empty()) {
        return;
    }
    RebaseEntries();
    const std::string page = GetFreeFilePath(m_data.mainHtmlFile);
    if (page.empty()) {
        ShowMessage(m_host, "Unable to open the HTML file.");
        return;
    }
    RunApplet(page);
}

void CJavaProjectDoc::RunWithJdb() {
    ApplyPendingEdits();
    GetMainFile(); // the file Run would choose when none is stored, as the command's enabling says
    const std::string path = GetMainFilePath(*this);
    if (path.empty()) {
        return;
    }
    const std::string folder = GetRunFolder(*this, path);
    SetCurrentFolder(folder);
    const std::string options = tovin::GetRunOptions(*this) + GetQualifiedMainClass(*this);
    std::string command = "jdb" + options;
    m_host.SetProcessCaption(command);
    if (!AppendArguments(*this, command)) {
        return;
    }
    // The debugger reads its commands from a terminal, so it runs in one (a detached debugger
    // could not be used). Its path is checked first so a missing JDK is named as such.
    const std::string jdb = CToolLocator(m_settings).GetJdbPath();
    if (FindExecutableOnPath(jdb).empty()) {
        ShowSystemError(m_host, StartFailureText(jdb, {}, {}, SystemErrorText(ENOENT)));
        ShowMessage(m_host, "Couldn't locate Java.");
        return;
    }
    RunInConsole(m_host, CToolLocator::QuoteProgram(jdb) + command.substr(3), folder);
}

void CJavaProjectDoc::RunJython(const std::string& scriptPath, bool console,
                                const std::string& arguments) {
    ApplyPendingEdits();
    const std::string folder = GetFolder(scriptPath);
    std::string command = LauncherWord(*this) + " " + JythonOptions(*this) + " " +
                          kJythonMainClass + " " + CToolLocator::Quote(scriptPath);
    if (!arguments.empty()) {
        command += " " + arguments;
    }
    m_host.SetProcessCaption("Jython: \"" + scriptPath + "\"");
    if (console) {
        RunInConsole(m_host, command, folder);
    } else {
        LaunchTool(m_host, CToolLocator(m_settings).GetJavaPath(), command, folder);
    }
}

void CJavaProjectDoc::CompileJython(const std::string& scriptPath) {
    ApplyPendingEdits();
    const CToolLocator locator(m_settings);
    const std::string command =
        LauncherWord(*this) + " " + JythonOptions(*this) + " " + kJythonMainClass + " " +
        CToolLocator::Quote(locator.GetJythoncScriptPath()) + " " + CToolLocator::Quote(scriptPath);
    m_host.SetProcessCaption("Compiling \"" + scriptPath + "\"");
    LaunchTool(m_host, locator.GetJavaPath(), command, GetFolder(scriptPath));
}

} // namespace tovin
