#pragma once
// Helpers shared by the project commands that start a tool, open a console or write a script
// for one: the class root, the option strings, the run command line, launching a tool into the
// Process Window, the folder browser with its remembered folder, the console script, the
// Arguments dialog and the detached start.
//
// Command lines are composed in the product's Windows-style form (the tool's bare name first,
// paths in double quotes); the runner and the script writer are the only places that split
// them. Messages go through the host; nothing here shows anything itself.

#include <optional>
#include <string>

namespace tovin {

class CJavaProjectDoc;
class CUiHost;

// Captions of the commands' message boxes: the product's own messages, and system texts.
inline constexpr const char* kProductCaption = "Tovin";
inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kNoMainFileMessage = "Please specify a main Java file first";
inline constexpr const char* kSaveProjectFirstMessage = "Please save the project first";
inline constexpr const char* kScriptNotWrittenMessage = "Unable to write batch file";
// The last line of a console script: the window stays open until the user has read it.
inline constexpr const char* kPauseLine = "printf 'Press Enter to continue . . . '; read _";
// File name of the console script in the cache folder, rewritten by every console run.
inline constexpr const char* kConsoleScriptName = "tovinrun.sh";

// A product message: caption "Tovin", OK, warning icon.
void ShowMessage(CUiHost& host, const std::string& text);
// A system text (why a start failed): caption "Error", OK, information icon.
void ShowSystemError(CUiHost& host, const std::string& text);

// Shows the wait cursor for the lifetime of the object.
class CWaitCursor {
public:
    explicit CWaitCursor(CUiHost& host);
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    CUiHost& m_host;
};

// The resolved full path of the project's main file (entries re-based first). Empty after
// telling the user: kNoMainFileMessage when there is no main file name, or that the main file
// is no longer in the project (a removed main file would otherwise send tools to a folder
// named after the "NOFILE" marker).
std::string GetMainFilePath(CJavaProjectDoc& project);

// ---- composing

// The folder from which the package's classes are addressed: the folder without the separator
// before the first occurrence of the package path (dots as separators) as whole folder names,
// and without everything after it. An empty package, or a package path not found in the
// folder, gives the folder; an occurrence at the very start gives an empty text.
std::string GetClassRoot(const std::string& folder, const std::string& package);
// The compiler's options, starting and ending with a blank: the project's compile options,
// then -classpath with the class path and ":." in double quotes, then -d with the compile
// directory in double quotes, each only when set. Nothing set gives a single blank. Archives
// the build adds itself (JUnit) follow the project's class path.
std::string GetCompileOptions(const CJavaProjectDoc& project,
                              const std::string& addedClassPath = {});
// The launcher's options, built the same way from the run options and the class path.
std::string GetRunOptions(const CJavaProjectDoc& project);
// The file name up to its last "." (Foo.bar.java gives Foo.bar).
std::string GetClassNameOf(const std::string& fileName);
// The main class qualified with the main package when there is one.
std::string GetQualifiedMainClass(const CJavaProjectDoc& project);
// The launcher's bare name, GetRunOptions and the qualified main class.
std::string GetRunCommandLine(const CJavaProjectDoc& project);
// The command with its launcher's bare name replaced by the chosen JDK's launcher path. A
// script or terminal would otherwise find whatever "java" comes first on the PATH, which need
// not be the JDK that built the classes.
std::string WithLauncherPath(const CJavaProjectDoc& project, const std::string& command);
// Where the project's program runs: the class root of the main file's folder, or the project's
// working directory when that is set.
std::string GetRunFolder(const CJavaProjectDoc& project, const std::string& mainPath);

// ---- starting tools

// Starts the tool with its output captured and hands the runner to the host's Process Window.
// False when it did not start (another tool runs: silently; otherwise the runner has shown in an
// "Error" box which program did not start and the system's text).
bool LaunchTool(CUiHost& host, const std::string& toolPath, const std::string& commandLine,
                const std::string& folder);

// Starts a program outside the Process Window, not watched. The command line is split and its
// wildcards expanded as for LaunchTool; an empty tool path looks argument zero up on $PATH. On
// failure the program and the system's text are shown in an "Error" box and false is returned.
bool StartDetached(CUiHost& host, const std::string& toolPath, const std::string& commandLine,
                   const std::string& folder);

// ---- console scripts

// The console script's path in the cache folder; empty when there is no cache folder.
std::string ConsoleScriptPath();
// The command line as one shell line: the arguments the runner would pass for it in folder
// (split, unquoted wildcards expanded there), each shell-quoted, so the shell interprets none.
std::string ShellCommandLine(const std::string& commandLine, const std::string& folder);
// "#!/bin/sh", the shell form of the command line, and the pause line, each ending with LF.
std::string ConsoleScriptText(const std::string& commandLine, const std::string& folder);
// Writes the console script for the command line and opens it in a terminal in folder. Shows
// "Unable to write batch file" when the script cannot be written, and the reason in an "Error"
// box when no terminal opens. True when the terminal was started.
bool RunInConsole(CUiHost& host, const std::string& commandLine, const std::string& folder);

// ---- dialogs

// The folder browser with the remembered folder preselected: the project's working directory
// when that is set, else the folder last chosen. A chosen folder is remembered until the program
// ends. Empty when cancelled.
std::string BrowseForFolder(const CJavaProjectDoc& project, const std::string& title);
const std::string& GetRememberedFolder();
void SetRememberedFolder(std::string folder);

// The folder the tool commands make current (javadoc's output folder, the run folder of
// serialver, batch file and shortcut, the build file's folder after Ant), in which the next
// save dialog opens. Kept here rather than by changing the process's current folder, which
// relative paths elsewhere depend on. Empty until a command sets it.
const std::string& GetCurrentDialogFolder();
void SetCurrentDialogFolder(std::string folder);

// The Arguments dialog, pre-filled with LASTLAUNCH as the project's settings store holds it at
// this moment; the entered text is stored as LASTLAUNCH. Without a store the dialog starts empty
// and nothing is stored. nullopt when cancelled.
std::optional<std::string> AskArguments(CJavaProjectDoc& project);
// With SHOWARGS on, asks for the arguments and appends one blank and the text to the command
// (also for an empty text). False when the user cancelled; with SHOWARGS off, true unchanged.
bool AppendArguments(CJavaProjectDoc& project, std::string& command);

} // namespace tovin
