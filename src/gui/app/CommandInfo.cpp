#include "gui/app/CommandInfo.h"

#include <array>

namespace tovin {

namespace {

using C = ECommand;

// In ECommand order; CommandInfo() checks that each row sits at its command's index.
constexpr SCommandInfo kCommands[] = {
    {C::None, "None", ""},
    {C::FileNew, "FileNew", "Create a new document or project\nNew", "document-new", "new"},
    {C::FileOpen, "FileOpen", "Open an existing document or project\nOpen", "document-open",
     "open"},
    {C::FileClose, "FileClose", "Close the active document\nClose"},
    {C::FileSave, "FileSave", "Save the active document\nSave", "document-save", "save"},
    {C::FileSaveAs, "FileSaveAs", "Save the active document under a new name\nSave As"},
    {C::SaveAll, "SaveAll", "Save every modified document\nSave All"},
    {C::Preferences, "Preferences",
     "Change the paths, fonts, colours and tool options\nPreferences"},
    {C::Print, "Print", "Print the active document\nPrint", "document-print", "print"},
    {C::PrintPreview, "PrintPreview", "Show the pages as they will be printed\nPrint Preview"},
    {C::PrintSetup, "PrintSetup", "Choose the printer and the page\nPrint Setup"},
    {C::RecentProjects, "RecentProjects", "Open one of the projects used lately\nRecent Projects"},
    {C::Exit, "Exit", "Save what you choose to keep and quit Tovin\nExit"},
    {C::Undo, "Undo", "Undo the last change\nUndo"},
    {C::Redo, "Redo", "Do again the last change undone\nRedo"},
    {C::Cut, "Cut", "Cut the selection and put it on the clipboard\nCut", "edit-cut", "cut"},
    {C::Copy, "Copy", "Copy the selection to the clipboard\nCopy", "edit-copy", "copy"},
    {C::Paste, "Paste", "Insert the clipboard's text\nPaste", "edit-paste", "paste"},
    {C::SelectAll, "SelectAll", "Select the whole text\nSelect All"},
    {C::IncreaseIndent, "IncreaseIndent", "Indent the selected lines one step\nIncrease Indent",
     "format-indent-more", "indent-more"},
    {C::DecreaseIndent, "DecreaseIndent",
     "Move the selected lines one step to the left\nDecrease Indent", "format-indent-less",
     "indent-less"},
    {C::Find, "Find", "Find a text\nFind"},
    {C::Replace, "Replace", "Replace a text with another\nReplace"},
    {C::Repeat, "Repeat", "Find the next occurrence of the text\nFind Next"},
    {C::GoToLine, "GoToLine", "Move to the start of a line given by its number\nGo to Line"},
    {C::FindInFiles, "FindInFiles", "Search every file of the project for a text\nFind in Files"},
    {C::ConvertLinebreaks, "ConvertLinebreaks",
     "Give every line the same line break\nConvert Linebreaks"},
    {C::ConvertTabs, "ConvertTabs", "Replace each tab by spaces\nConvert Tabs to Spaces"},
    {C::InsertApplet, "InsertApplet",
     "Insert an applet element for the project's main class\nInsert Applet"},
    {C::SyntaxColourUpdate, "SyntaxColourUpdate", "Colour the whole text again\nColour Update"},
    {C::RefreshFunctionList, "RefreshFunctionList",
     "Read the methods of this file into the drop-down list\nRefresh Function List"},
    {C::ViewToolbar, "ViewToolbar", "Show or hide the toolbar\nToggle Toolbar"},
    {C::ViewStatusBar, "ViewStatusBar", "Show or hide the status bar\nToggle Status Bar"},
    {C::ViewLineNumbers, "ViewLineNumbers",
     "Show or hide the line numbers of the source windows\nToggle Line Numbers"},
    {C::ProjectWindow, "ProjectWindow", "Show or hide the project window\nShow/Hide Project Window",
     nullptr, "project-window"},
    {C::NewProject, "NewProject", "Create a new project\nNew Project"},
    {C::OpenProject, "OpenProject", "Open an existing project\nOpen Project"},
    {C::CloseProject, "CloseProject", "Close the open project\nClose Project"},
    {C::AddFiles, "AddFiles", "Add files to the project\nAdd Files"},
    {C::AddHtmlFile, "AddHtmlFile",
     "Add an HTML page that launches the project's applet\nAdd HTML File"},
    {C::AddWindowToProject, "AddWindowToProject",
     "Add the file of the active window to the project\nAdd Window to Project"},
    {C::RemoveFromProject, "RemoveFromProject",
     "Remove the selected file from the project\nRemove from Project"},
    {C::SetMainClass, "SetMainClass",
     "Make the selected file hold the project's main class\nSet Main Class"},
    {C::Build, "Build", "Compile every Java file of the project\nBuild Project", "run-build",
     "build"},
    {C::Compile, "Compile", "Compile the current file\nCompile File", nullptr, "compile"},
    {C::RunApplication, "RunApplication", "Run the project's main class\nRun Application",
     "media-playback-start", "run"},
    {C::RunApplet, "RunApplet", "Show the project's applet page in the applet viewer\nRun Applet",
     nullptr, "run-applet"},
    {C::RunPageApplet, "RunPageApplet", "Show this page's applet in the applet viewer\nRun Applet"},
    {C::RunWithConsole, "RunWithConsole",
     "Run the project's main class in a terminal window\nRun with Console"},
    {C::RunWithJdb, "RunWithJdb", "Run the project's main class in the debugger\nRun with JDB"},
    {C::RunAnt, "RunAnt", "Run Ant on the build file\nRun Ant"},
    {C::OpenInWebBrowser, "OpenInWebBrowser",
     "Show the page in the web browser\nOpen In Web Browser", "internet-web-browser",
     "web-browser"},
    {C::RunJython, "RunJython", "Run this script with Jython\nRun Jython"},
    {C::RunJythonWithConsole, "RunJythonWithConsole",
     "Run this script with Jython in a terminal window\nRun Jython with Console"},
    {C::CompileJythonFile, "CompileJythonFile",
     "Compile this script to Java classes with Jython\nCompile Jython File"},
    {C::JarMainFolder, "JarMainFolder",
     "Pack the main class's folder into a jar archive\nJar Main Folder"},
    {C::JarAnyFolder, "JarAnyFolder",
     "Pack a folder of your choice into a jar archive\nJar Folder"},
    {C::ShowArchiveContents, "ShowArchiveContents",
     "List the files of a jar archive\nShow Archive Contents"},
    {C::CompileFolder, "CompileFolder", "Compile every Java file of a folder\nCompile Folder"},
    {C::CreateBatchFile, "CreateBatchFile",
     "Write a shell script that runs the project\nCreate Batch File"},
    {C::CreateShortcut, "CreateShortcut",
     "Put a desktop entry that runs the project where you choose\nCreate Shortcut"},
    {C::JavadocProjectFiles, "JavadocProjectFiles",
     "Generate documentation for the project's files\nJavadoc Files"},
    {C::JavadocProjectPackages, "JavadocProjectPackages",
     "Generate documentation for the project's packages\nJavadoc Packages"},
    {C::SerialVer, "SerialVer", "Show the serial version of the main class\nSerialVer"},
    {C::CreateAntScript, "CreateAntScript",
     "Write an Ant build file for the project\nCreate Ant Script"},
    {C::WindowNew, "WindowNew", "Open another window on the active document\nNew Window"},
    {C::WindowCascade, "WindowCascade", "Arrange the windows so that they overlap\nCascade"},
    {C::WindowTile, "WindowTile", "Arrange the windows side by side\nTile"},
    {C::WindowArrange, "WindowArrange", "Line up the minimised windows\nArrange Icons"},
    {C::CloseAllSourceWindows, "CloseAllSourceWindows",
     "Close every Java source window\nClose Java Windows"},
    {C::NextPane, "NextPane", "Move to the next pane\nNext Pane"},
    {C::PreviousPane, "PreviousPane", "Move to the previous pane\nPrevious Pane"},
    {C::About, "About", "Show the program's version\nAbout"},
    {C::Help, "Help", "Open Tovin's help pages\nHelp"},
    {C::JdkHelp, "JdkHelp", "Look up the selected word in the JDK documentation\nJDK Help"},
    {C::TipOfTheDay, "TipOfTheDay", "Show a tip about Tovin\nTip of the Day"},
    {C::SourceFont, "SourceFont", "Set the font and size for source windows\nSource Font"},
    {C::RunTests, "RunTests", "Build the project and run its JUnit tests\nRun Tests"},
    {C::RerunFailedTests, "RerunFailedTests",
     "Run the tests that failed in the last test run again\nRun Failed Tests Again"},
    {C::ToggleBreakpoint, "ToggleBreakpoint",
     "Set or clear a breakpoint on the caret's line\nToggle Breakpoint"},
    {C::DebugApplication, "DebugApplication",
     "Build the project and run its main class in the debugger\nDebug Application", nullptr,
     "debug"},
    {C::DebugContinue, "DebugContinue", "Let the program run on\nContinue", nullptr,
     "debug-continue"},
    {C::DebugStepOver, "DebugStepOver", "Run to the next line of this method\nStep Over", nullptr,
     "debug-step-over"},
    {C::DebugStepInto, "DebugStepInto", "Run into the method called on this line\nStep Into",
     nullptr, "debug-step-into"},
    {C::DebugStepOut, "DebugStepOut", "Run until this method returns\nStep Out", nullptr,
     "debug-step-out"},
    {C::DebugStop, "DebugStop", "End the program being debugged\nStop Debugging", nullptr,
     "debug-stop"},
    {C::Complete, "Complete", "List what may be written at the caret\nComplete"},
    {C::ParameterInfo, "ParameterInfo",
     "Show the parameters of the method called at the caret\nParameter Info"},
    {C::ShowDocumentation, "ShowDocumentation",
     "Show the declaration and documentation of the name at the caret\nShow Documentation"},
    {C::GoToDefinition, "GoToDefinition",
     "Open the declaration of the name at the caret\nGo to Definition"},
    {C::FindUsages, "FindUsages",
     "List every use of the name at the caret in the Process Window\nFind Usages"},
};

constexpr bool RowsInCommandOrder() {
    for (size_t i = 0; i < std::size(kCommands); ++i) {
        if (static_cast<size_t>(kCommands[i].id) != i) {
            return false;
        }
    }
    return std::size(kCommands) == kCommandCount;
}
static_assert(RowsInCommandOrder(), "one row per command, in ECommand order");

std::string Field(const char* prompt, bool second) {
    std::string text = prompt;
    auto pos = text.find('\n');
    if (pos == std::string::npos) {
        return second ? std::string() : text;
    }
    return second ? text.substr(pos + 1) : text.substr(0, pos);
}

} // namespace

const SCommandInfo& CommandInfo(ECommand id) {
    return kCommands[static_cast<size_t>(id)];
}

std::string PromptStatusText(const SCommandInfo& info) {
    return Field(info.prompt, false);
}

std::string PromptToolTip(const SCommandInfo& info) {
    return Field(info.prompt, true);
}

} // namespace tovin
