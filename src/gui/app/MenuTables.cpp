#include "gui/app/MenuTables.h"

namespace tovin {

namespace {

using C = ECommand;

constexpr const char* kCodeMenuTitle = "&Code";

SMenuItem Item(ECommand command, const char* text) {
    return {EMenuItemType::Command, command, text};
}

const SMenuItem kSeparator{EMenuItemType::Separator, ECommand::None, ""};
const SMenuItem kRecentFiles{EMenuItemType::RecentFiles, ECommand::None, ""};

SMenuBar NoDocumentMenus() {
    return {
        {"&File",
         {Item(C::FileNew, "&New\tCtrl+N"), Item(C::FileOpen, "&Open...\tCtrl+O"), kSeparator,
          Item(C::Preferences, "Pre&ferences..."), kSeparator,
          Item(C::PrintSetup, "P&rint Setup..."), kSeparator,
          Item(C::RecentProjects, "R&ecent Projects..."), kSeparator, kRecentFiles, kSeparator,
          Item(C::Exit, "E&xit")}},
        {"&Project",
         {Item(C::NewProject, "&New Project..."), Item(C::OpenProject, "&Open Project...")}},
        {"&View",
         {Item(C::ViewToolbar, "&Toolbar"), Item(C::ViewStatusBar, "&Status Bar"),
          Item(C::ViewLineNumbers, "&Line Numbers")}},
        {kHelpMenuTitle,
         {Item(C::About, "&About Tovin"), Item(C::Help, "&Help..."),
          Item(C::JdkHelp, "&JDK Help\tF1")}},
    };
}

SMenuBar JavaSourceMenus() {
    return {
        {"&File",
         {Item(C::FileNew, "&New\tCtrl+N"), Item(C::FileOpen, "&Open...\tCtrl+O"),
          Item(C::FileClose, "&Close"), Item(C::FileSave, "&Save\tCtrl+S"),
          Item(C::FileSaveAs, "Save &As..."), Item(C::SaveAll, "Save A&ll"), kSeparator,
          Item(C::Preferences, "Pre&ferences..."), kSeparator, Item(C::Print, "&Print...\tCtrl+P"),
          Item(C::PrintPreview, "Print Pre&view"), Item(C::PrintSetup, "P&rint Setup..."),
          kSeparator, Item(C::RecentProjects, "R&ecent Projects..."), kSeparator, kRecentFiles,
          kSeparator, Item(C::Exit, "E&xit")}},
        {"&Edit",
         {Item(C::Undo, "&Undo\tCtrl+Z"),
          Item(C::Redo, "&Redo\tCtrl+Y"),
          kSeparator,
          Item(C::Cut, "Cu&t\tCtrl+X"),
          Item(C::Copy, "&Copy\tCtrl+C"),
          Item(C::Paste, "&Paste\tCtrl+V"),
          kSeparator,
          Item(C::SelectAll, "Select &All"),
          kSeparator,
          Item(C::IncreaseIndent, "&Increase Indent"),
          Item(C::DecreaseIndent, "&Decrease Indent"),
          kSeparator,
          Item(C::Find, "&Find...\tCtrl+F"),
          Item(C::Replace, "R&eplace...\tCtrl+H"),
          Item(C::GoToLine, "&Go to Line...\tCtrl+L"),
          Item(C::FindInFiles, "Find i&n Files..."),
          kSeparator,
          Item(C::ConvertLinebreaks, "Convert &Linebreaks"),
          Item(C::ConvertTabs, "Convert Ta&bs to Spaces"),
          Item(C::InsertApplet, "In&sert Applet"),
          kSeparator,
          Item(C::SyntaxColourUpdate, "S&yntax Colour Update\tF3"),
          Item(C::RefreshFunctionList, "Refresh Functi&on List\tF2")}},
        {kCodeMenuTitle,
         {Item(C::Complete, "&Complete\tCtrl+Space"),
          Item(C::ParameterInfo, "&Parameter Info\tCtrl+Shift+Space"),
          Item(C::ShowDocumentation, "Show &Documentation\tCtrl+Q"), kSeparator,
          Item(C::GoToDefinition, "&Go to Definition\tF12"),
          Item(C::FindUsages, "Find &Usages\tShift+F12")}},
        {"&View",
         {Item(C::ViewToolbar, "&Toolbar"), Item(C::ViewStatusBar, "&Status Bar"),
          Item(C::ViewLineNumbers, "&Line Numbers"),
          Item(C::ProjectWindow, "&Project Window\tF4")}},
        {"&Project",
         {Item(C::NewProject, "&New Project..."), Item(C::OpenProject, "&Open Project..."),
          Item(C::CloseProject, "&Close Project"), kSeparator, Item(C::AddFiles, "&Add Files..."),
          kSeparator, Item(C::AddWindowToProject, "Add &Window to Project"), kSeparator,
          Item(C::RunTests, "Run &Tests\tCtrl+T"),
          Item(C::RerunFailedTests, "Run &Failed Tests Again")}},
        {"&Build",
         {Item(C::Build, "&Build\tF7"), Item(C::Compile, "&Compile\tCtrl+M"), kSeparator,
          Item(C::RunApplication, "&Run Application\tF5"),
          Item(C::RunApplet, "Run &Applet\tShift+F5"), Item(C::RunWithConsole, "Run &with Console"),
          kSeparator, Item(C::DebugApplication, "&Debug Application\tCtrl+F5"),
          Item(C::ToggleBreakpoint, "Toggle Brea&kpoint\tF9"), kSeparator,
          Item(C::RunAnt, "Run A&nt..."), kSeparator,
          Item(C::OpenInWebBrowser, "&Open In Web Browser")}},
        {"&Tools",
         {Item(C::JarMainFolder, "&Jar Main Folder..."),
          Item(C::JarAnyFolder, "Jar An&y Folder..."),
          Item(C::ShowArchiveContents, "Show Archive Co&ntents..."), kSeparator,
          Item(C::CompileFolder, "&Compile Folder..."), kSeparator,
          Item(C::CreateBatchFile, "Create &Batch File..."),
          Item(C::CreateShortcut, "Create &Shortcut..."), kSeparator,
          Item(C::JavadocProjectFiles, "Javadoc Project &Files..."),
          Item(C::JavadocProjectPackages, "Javadoc Project &Packages..."), kSeparator,
          Item(C::SerialVer, "Se&rialVer..."), kSeparator,
          Item(C::CreateAntScript, "Create &Ant Script...")}},
        {"&Window",
         {Item(C::WindowNew, "&New Window"), Item(C::WindowCascade, "&Cascade"),
          Item(C::WindowTile, "&Tile"), Item(C::WindowArrange, "&Arrange Icons"), kSeparator,
          Item(C::CloseAllSourceWindows, "Close A&ll Souce Windows")}},
        {kHelpMenuTitle,
         {Item(C::About, "&About Tovin"), Item(C::Help, "&Help..."),
          Item(C::JdkHelp, "&JDK Help\tF1")}},
    };
}

SMenu* FindMenu(SMenuBar& bar, const std::string& title) {
    for (SMenu& menu : bar) {
        if (menu.title == title) {
            return &menu;
        }
    }
    return nullptr;
}

void Retext(SMenuBar& bar, ECommand command, const char* text) {
    for (SMenu& menu : bar) {
        for (SMenuItem& item : menu.items) {
            if (item.type == EMenuItemType::Command && item.command == command) {
                item.text = text;
            }
        }
    }
}

void Recommand(SMenuBar& bar, ECommand from, ECommand to) {
    for (SMenu& menu : bar) {
        for (SMenuItem& item : menu.items) {
            if (item.type == EMenuItemType::Command && item.command == from) {
                item.command = to;
            }
        }
    }
}

// The project and the colouring editors share the Java menus with small differences of text.
// Every item keeps its Alt+letter in every kind of window, so a key learnt in one works in all.
SMenuBar OtherDocumentMenus(EMenuKind kind) {
    SMenuBar bar = JavaSourceMenus();
    // The Java engine's help is for Java windows only.
    std::erase_if(bar, [](const SMenu& menu) { return menu.title == kCodeMenuTitle; });
    Retext(bar, C::IncreaseIndent, "&Increase Indent\tCtrl+]");
    Retext(bar, C::DecreaseIndent, "&Decrease Indent\tCtrl+[");
    if (kind == EMenuKind::Project) {
        Retext(bar, C::CreateBatchFile, "Create Run &Batch File...");
        return bar;
    }
    Recommand(bar, C::RunApplet, C::RunPageApplet);
    Retext(bar, C::About, "&About Tovin...");
    SMenu* window = FindMenu(bar, "&Window");
    window->items.resize(window->items.size() - 2); // the separator and Close All Souce Windows
    if (kind == EMenuKind::Xml || kind == EMenuKind::Jython) {
        auto& build = FindMenu(bar, "&Build")->items;
        build.push_back(kSeparator);
        build.push_back(Item(C::RunJython, "Run &Jython"));
        if (kind == EMenuKind::Jython) {
            build.push_back(Item(C::RunJythonWithConsole, "Run Jython w&ith Console"));
            build.push_back(Item(C::CompileJythonFile, "Compile Jython &File"));
        }
    }
    return bar;
}

} // namespace

EMenuKind MenuKindFor(EDocumentKind kind) {
    switch (kind) {
    case EDocumentKind::JavaSource:
        return EMenuKind::JavaSource;
    case EDocumentKind::Project:
        return EMenuKind::Project;
    case EDocumentKind::Html:
        return EMenuKind::Html;
    case EDocumentKind::Xml:
        return EMenuKind::Xml;
    case EDocumentKind::Jython:
        return EMenuKind::Jython;
    case EDocumentKind::None:
    case EDocumentKind::Other:
        break;
    }
    return EMenuKind::NoDocument;
}

SMenuBar MenuBarFor(EMenuKind kind) {
    switch (kind) {
    case EMenuKind::NoDocument:
        return NoDocumentMenus();
    case EMenuKind::JavaSource:
        return JavaSourceMenus();
    case EMenuKind::Project:
    case EMenuKind::Html:
    case EMenuKind::Xml:
    case EMenuKind::Jython:
        return OtherDocumentMenus(kind);
    }
    return NoDocumentMenus();
}

} // namespace tovin
