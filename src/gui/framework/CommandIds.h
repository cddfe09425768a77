#pragma once
// Every command of the menus, the toolbar and the accelerator tables. One QAction exists per
// command (CCommandActions); handlers and enabling rules are registered per command in the
// command maps of the views, documents, frames and the application (CommandMap.h).

namespace tovin {

enum class ECommand {
    None,
    // File
    FileNew,
    FileOpen,
    FileClose,
    FileSave,
    FileSaveAs,
    SaveAll,
    Preferences,
    Print,
    PrintPreview,
    PrintSetup,
    RecentProjects,
    Exit,
    // Edit
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    SelectAll,
    IncreaseIndent,
    DecreaseIndent,
    Find,
    Replace,
    Repeat,
    GoToLine,
    FindInFiles,
    ConvertLinebreaks,
    ConvertTabs,
    InsertApplet,
    SyntaxColourUpdate,
    RefreshFunctionList,
    // View
    ViewToolbar,
    ViewStatusBar,
    ViewLineNumbers,
    ProjectWindow,
    // Project
    NewProject,
    OpenProject,
    CloseProject,
    AddFiles,
    AddHtmlFile,
    AddWindowToProject,
    RemoveFromProject,
    SetMainClass,
    // Build
    Build,
    Compile,
    RunApplication,
    RunApplet,     // the project's applet page (Shift+F5 everywhere)
    RunPageApplet, // the HTML, XML and Jython menus' "Run Applet": the page in the window
    RunWithConsole,
    RunWithJdb,
    RunAnt,
    OpenInWebBrowser,
    RunJython,
    RunJythonWithConsole,
    CompileJythonFile,
    // Tools
    JarMainFolder,
    JarAnyFolder,
    ShowArchiveContents,
    CompileFolder,
    CreateBatchFile,
    CreateShortcut,
    JavadocProjectFiles,
    JavadocProjectPackages,
    SerialVer,
    CreateAntScript,
    // Window
    WindowNew,
    WindowCascade,
    WindowTile,
    WindowArrange,
    CloseAllSourceWindows,
    NextPane,
    PreviousPane,
    // Help
    About,
    Help,
    JdkHelp,
    TipOfTheDay,
    // The Java editor's, on no menu, toolbar or key: Preferences at the Editor page
    SourceFont,
    // Unit tests: the project's, and the failed ones of the last run again
    RunTests,
    RerunFailedTests,
    // The debugger: breakpoints and the session's commands
    ToggleBreakpoint,
    DebugApplication,
    DebugContinue,
    DebugStepOver,
    DebugStepInto,
    DebugStepOut,
    DebugStop,
    // The Java engine's help in a Java window
    Complete,
    ParameterInfo,
    ShowDocumentation,
    GoToDefinition,
    FindUsages,

    Count
};

inline constexpr int kCommandCount = static_cast<int>(ECommand::Count);

} // namespace tovin
