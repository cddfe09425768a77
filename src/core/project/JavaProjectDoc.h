#pragma once
// CJavaProjectDoc: the open project. It holds the file lists, the main file, the options used
// to build and run, and its project file path; it loads and saves the project file and carries
// out every file-list operation. Interactive needs (messages, opening documents in editors,
// choosing a file name) go through the CUiHost; views refresh through a callback.
//
// Names (main file, main HTML file) are file names without folder; they are resolved through
// the lists (GetFullPath, GetFreeFilePath). Functions that return int return 1 or 0 as the
// project's callers expect. Everything runs on the user-interface thread.

#include "core/project/ProjectFile.h"

#include <functional>
#include <string>
#include <vector>

namespace tovin {

struct CSettings;
struct SFileDialogRequest;
class CUiHost;
class CSettingsStore;
class COpenDocument;

// The readers that fill a file's model entry from its source. A new document reads Ant build
// files with CAntFileReader; the other readers are supplied by their owners. Empty members do
// nothing.
struct SSourceScanners {
    std::function<void(CJavaFile&)> parseJava;      // Java source parser
    std::function<void(CJavaFile&)> readAntTargets; // Ant build file: its targets
    std::function<void(CJavaFile&)> scanJython;     // Jython outline scanner
};

class CJavaProjectDoc {
public:
    // The text GetFullPath gives for a name that is in neither list.
    static constexpr const char* kNoFile = "NOFILE";

    // Class path, working directory, run and compile options start as the settings' CLASSPATH,
    // WORKING_DIR, JAVAOPTIONS and JAVAC. Both references must outlive the document.
    CJavaProjectDoc(CSettings& settings, CUiHost& host);
    CJavaProjectDoc(const CJavaProjectDoc&) = delete;
    CJavaProjectDoc& operator=(const CJavaProjectDoc&) = delete;

    CSettings& Settings() const { return m_settings; }
    CUiHost& Host() const { return m_host; }
    // The store the Arguments dialog reads LASTLAUNCH from and writes it to. Null (the start)
    // means nothing is remembered: the dialog starts empty and nothing is stored.
    void SetSettingsStore(CSettingsStore* store) { m_store = store; }
    CSettingsStore* SettingsStore() const { return m_store; }

    // ---- the project file
    // Reads the project file. On success the document holds its contents, takes the path and
    // is unmodified; returns an empty string. On failure returns a message naming the file and
    // the document is unchanged (nothing half-loaded); the file is never written.
    [[nodiscard]] std::string Load(const std::string& path);
    // Writes the project file atomically. On success the document takes the path and is
    // unmodified; returns an empty string. On failure the old file is kept and the message
    // naming the file is returned.
    [[nodiscard]] std::string Save(const std::string& path);
    // Full path of the project file; empty while the project was never saved.
    const std::string& GetPath() const { return m_path; }
    // The title shown in questions: the file name of the path, else the title set, else
    // "Untitled".
    std::string GetTitle() const;
    void SetTitle(std::string title) { m_title = std::move(title); }

    bool IsModified() const { return m_modified; }
    // Tells the modified callback when the flag changes.
    void SetModifiedFlag(bool modified = true);

    // Edits the user made in a view but did not apply yet (the project form's fields before
    // "Update") reach the project here. Everything that saves the project or hands its options
    // to a tool calls it first, so no typed setting is lost or ignored.
    void ApplyPendingEdits();
    // The folder the project's file dialogs open in: the folder last chosen in one of them for
    // this project, else the project file's folder, else (never saved) the home folder.
    std::string GetDialogFolder() const;
    void SetDialogFolder(std::string folder) { m_dialogFolder = std::move(folder); }

    // ---- file lists
    // Adds a file that is not an HTML page to the Java files; an ".html" path goes to
    // AddHtmlFile and gives 1. Gives 0 when the path is already in the Java files or the list
    // is full; a file with the name of an entry re-points that entry to the path.
    int AddFile(const std::string& path);
    // Adds an applet page to the free files, or says why not ("File is already in project.",
    // "You cannot add two files with the same name to a project.").
    void AddHtmlFile(const std::string& path);
    // Adds to the free files without any check (used by the new-project wizard).
    void AddFreeFile(const std::string& path);
    // Removes the first free-file and the first Java-file entry with this full path. The main
    // file name and main HTML file name stay as they are.
    void RemoveFile(const std::string& path);
    void SetMainFile(const std::string& name);
    void SetMainHtmlFile(const std::string& name);
    // The main file name; when it is empty, one is chosen first: the last ".java" entry whose
    // model has a method main, else the last ".java" entry (it may stay empty).
    std::string GetMainFile();
    // The name GetMainFile gives, without storing a choice: what Build and Run would use.
    std::string ChooseMainFile() const;
    int IsMainFile(const std::string& name) const { return name == m_data.mainFile ? 1 : 0; }
    // Full path of the first Java-file, else free-file entry with the name, after
    // RebaseEntries; kNoFile when there is none.
    std::string GetFullPath(const std::string& name);
    // Stored full path of the first free-file entry with the name, or empty.
    std::string GetFreeFilePath(const std::string& name) const;
    int ContainsJavaFile(const std::string& path) const;
    // Opens <project folder>/<name> for a Java-file entry of that name; when it opens as a
    // Java source, the entry is re-pointed there and 1 is returned.
    int FindInProjectFolder(const std::string& name);
    // Opens the file with the name: a Java source shows the line holding character position
    // `place`, a Jython, XML or HTML editor line number `place`. 0 when not opened or another
    // kind of document.
    int OpenFileAtLine(const std::string& name, int place);
    // Opens the first Java file whose top-level classes hold the name and shows the class.
    int ShowClass(const std::string& className);
    // A Java editor re-parsed the file at `documentPath`: the main package follows it when it
    // is the main file, and every entry of that path takes its package. Refreshes.
    void OnSourceReparsed(const std::string& documentPath, const COpenDocument& document);
    // "Add Files...": asks for files (several at once) and adds each with AddFile, opening every
    // file that joined the project.
    void AddFilesCommand();
    // "Add an HTML file to launch an applet": asks for one page and adds it with AddHtmlFile.
    void AddAppletPageCommand();
    // Re-reads every Java-file entry with its scanner ("py" Jython, "xml" Ant, else Java).
    void RebuildClassInformation();
    // Asks the views to show the current lists and options.
    void RefreshViews();
    // Re-bases the entries of a project that was moved or copied, and only of such a one. An
    // entry that records another project file is re-based on the project's current path (see
    // CFreeJavaFile::ResolvePath: the files in that project's folder, when the copies exist or
    // the originals are gone). A project whose entries record no project file takes the files
    // beside it only when the recorded files are all gone, every entry lies below one folder
    // outside the project file's own folder, and each entry's place below it exists beside the
    // project file. An entry that records this very project file keeps its path. Commands that
    // read entries' stored paths call it first. Marks the project modified, tells the notice
    // callback, and returns true when a path changed.
    bool RebaseEntries();

    // ---- tool commands. Each composes its command line, caption and working folder, then hands
    // them to the process runner (LaunchTool) or to a console; messages go through the host.
    // (BuildCommands.cpp)
    // Compiles one file from the class root of its package.
    void CompileFile(const std::string& path, const std::string& package);
    // Compiles every ".java" entry of the project from the main file's class root.
    void Build();
    // Compiles every Java file of a folder the user chooses.
    void CompileFolder();
    // (RunCommands.cpp)
    // Runs the main class (a Jython main file with Jython, an Ant main file with Ant), captured
    // in the Process Window or in a terminal of its own.
    void Run(bool captured);
    // Shows an applet page with the applet viewer.
    void RunApplet(const std::string& pagePath);
    // Shows the main HTML page with the applet viewer ("Unable to open the HTML file." when the
    // page is not among the project's pages). Does nothing without a main HTML file name.
    void RunMainApplet();
    // Runs the main class under the debugger in a terminal window.
    void RunWithJdb();
    // Runs a Jython script, captured or in a terminal, with an argument text (may be empty).
    void RunJython(const std::string& scriptPath, bool console, const std::string& arguments);
    void CompileJython(const std::string& scriptPath);
    // (JarCommands.cpp)
    // Archives the compiled classes of the main file with a manifest naming the main class.
    void JarMainFolder();
    // Archives a folder the user chooses, under its own name.
    void JarAnyFolder();
    // Lists an archive the user chooses.
    void ShowArchiveContents();

    // ---- closing
    // Asks "Do you really want to close this project?"; on OK continues with SaveModified.
    bool CanCloseFrame();
    // A project with a path is saved at once, modified or not. An unmodified project on a
    // read-only file is left as it is; a modified one asks whether to save it under another
    // name, as a never-saved modified project asks whether to save. False keeps it open.
    bool SaveModified();
    // Tells the application the project closes (it records it as the last and a recent
    // project, and hides the project's windows); the owner then destroys the document.
    void OnCloseDocument();

    void SetSourceScanners(SSourceScanners scanners) { m_scanners = std::move(scanners); }
    // Runs an Ant build file with a target (empty: the default one); the run command hands a
    // main file with the extension "xml" to it. A new document runs Ant with RunAnt.
    void SetRunAntHook(
        std::function<void(const std::string& buildFile, const std::string& target)> hook) {
        m_runAnt = std::move(hook);
    }
    void SetRefreshCallback(std::function<void()> refresh) { m_refresh = std::move(refresh); }
    void SetModifiedCallback(std::function<void(bool)> onModified) {
        m_onModified = std::move(onModified);
    }
    // Asks the views to apply their pending edits (see ApplyPendingEdits).
    void SetPendingEditsCallback(std::function<void()> apply) { m_applyPending = std::move(apply); }
    // Shows a one-line notice about the project (the window's status bar).
    void SetNoticeCallback(std::function<void(const std::string&)> notice) {
        m_notice = std::move(notice);
    }
    // Called with the project path (empty for a never-saved project).
    void SetClosedCallback(std::function<void(const std::string&)> onClosed) {
        m_onClosed = std::move(onClosed);
    }

    // ---- members. Setters do not mark the project modified; the caller decides.
    CJavaFileList& JavaFiles() { return m_data.javaFiles; }
    const CJavaFileList& JavaFiles() const { return m_data.javaFiles; }
    CFreeJavaFileList& FreeFiles() { return m_data.freeFiles; }
    const CFreeJavaFileList& FreeFiles() const { return m_data.freeFiles; }
    // The stored main file name, without GetMainFile's choice.
    const std::string& GetMainFileName() const { return m_data.mainFile; }
    const std::string& GetMainHtmlFile() const { return m_data.mainHtmlFile; }
    const std::string& GetMainPackage() const { return m_data.mainPackage; }
    void SetMainPackage(std::string value) { m_data.mainPackage = std::move(value); }
    const std::string& GetClassPath() const { return m_data.classPath; }
    void SetClassPath(std::string value) { m_data.classPath = std::move(value); }
    const std::string& GetWorkingDir() const { return m_data.workingDir; }
    void SetWorkingDir(std::string value) { m_data.workingDir = std::move(value); }
    const std::string& GetRunOptions() const { return m_data.runOptions; }
    void SetRunOptions(std::string value) { m_data.runOptions = std::move(value); }
    const std::string& GetCompileOptions() const { return m_data.compileOptions; }
    void SetCompileOptions(std::string value) { m_data.compileOptions = std::move(value); }
    const std::string& GetCompileDir() const { return m_data.compileDir; }
    void SetCompileDir(std::string value) { m_data.compileDir = std::move(value); }

private:
    // Every entry records `path` as its project file; the paths they had, in list order.
    std::vector<std::string> RecordProjectPath(const std::string& path);
    void RestoreProjectPaths(const std::vector<std::string>& previous);
    std::vector<std::string> AskForFiles(SFileDialogRequest request);
    bool SaveAskingForName();
    bool SaveReporting(const std::string& path);

    CSettings& m_settings;
    CUiHost& m_host;
    CSettingsStore* m_store = nullptr;
    SProjectContents m_data;
    std::string m_path;
    std::string m_title;
    bool m_modified = false;
    SSourceScanners m_scanners;
    std::string m_dialogFolder;
    std::function<void()> m_refresh;
    std::function<void(bool)> m_onModified;
    std::function<void()> m_applyPending;
    std::function<void(const std::string&)> m_notice;
    std::function<void(const std::string&)> m_onClosed;
    std::function<void(const std::string&, const std::string&)> m_runAnt;
};

} // namespace tovin
