#pragma once
// CUiHost is how the core asks the user or the desktop for anything interactive. The GUI
// implements it with Qt dialogs and windows; tests use a scripted fake (tests/support).
// Core code never shows anything itself: it composes the texts and calls the host.

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tovin {

class CProcessRunner;

// YesNoDefaultNo: Yes and No with No as the default button, for a question whose Yes throws
// the user's work away.
enum class EMsgButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo };
enum class EMsgIcon { None, Information, Question, Warning, Error };
enum class EMsgAnswer { Ok, Cancel, Yes, No };

// A file dialog request. The filter uses the product's "Name (*.a;*.b)|*.a;*.b|...||" form.
struct SFileDialogRequest {
    bool save = false;             // save dialog (else open)
    bool multiSelect = false;      // open dialog only
    bool confirmOverwrite = false; // save dialog asks before replacing a file
    bool hideReadOnly = false;
    std::string title; // empty: the dialog's default title
    std::string filter;
    std::string defaultExtension; // without the dot; added when the name has none
    std::string proposedName;
    std::string initialFolder;
};

// A save dialog that hides the read-only box and asks before replacing a file, as every save
// dialog of the product does.
inline SFileDialogRequest SaveFileRequest(std::string filter, std::string defaultExtension,
                                          std::string proposedName = {},
                                          std::string initialFolder = {}) {
    SFileDialogRequest request;
    request.save = true;
    request.confirmOverwrite = true;
    request.hideReadOnly = true;
    request.filter = std::move(filter);
    request.defaultExtension = std::move(defaultExtension);
    request.proposedName = std::move(proposedName);
    request.initialFolder = std::move(initialFolder);
    return request;
}

// The kinds of document an open request can end in.
enum class EDocumentKind { None, JavaSource, Project, Html, Xml, Jython, Other };

// A document the host opened (or activated) for the core; valid until the next host call.
class COpenDocument {
public:
    virtual ~COpenDocument() = default;
    virtual EDocumentKind Kind() const = 0;
    // Selects the zero-based line (Java, Jython and XML editors; nothing for others).
    virtual void ShowLine(int line) = 0;
    // Selects the line that holds the character position (Java editor).
    virtual void ShowPosition(int position) = 0;
    // The Java editor's position for a function or class name, or -1.
    virtual int FindFunctionPosition(const std::string& name) const = 0;
    // The package the Java editor's text declares (re-extracted from its text).
    virtual std::string PackageName() const = 0;
};

// How an open request ended. `declined`: nothing was opened because the user answered a
// question of the open with Cancel (keeping the open project); the command that asked ends
// there, without looking for the file elsewhere and without a further word.
struct SOpenResult {
    COpenDocument* document = nullptr;
    bool declined = false;
};

class CUiHost {
public:
    virtual ~CUiHost() = default;

    // A modal message box; caption "Tovin" unless the product names another (or none).
    virtual EMsgAnswer MessageBox(const std::string& text, const std::string& caption,
                                  EMsgButtons buttons, EMsgIcon icon) = 0;
    // Chosen paths; empty when cancelled.
    virtual std::vector<std::string> FileDialog(const SFileDialogRequest& request) = 0;
    // The chosen folder without trailing separator, or empty when cancelled.
    virtual std::string BrowseForFolder(const std::string& title,
                                        const std::string& preselected) = 0;
    // The "Arguments" dialog pre-filled with initial; nullopt when cancelled.
    virtual std::optional<std::string> AskArguments(const std::string& initial) = 0;

    // Opens (or activates) a document in an editor; nullptr when it could not be opened.
    virtual COpenDocument* OpenDocument(const std::string& path) = 0;
    // As OpenDocument, telling an open the user declined from one that failed. Hosts whose
    // opens never ask anything keep this.
    virtual SOpenResult TryOpenDocument(const std::string& path) { return {OpenDocument(path)}; }
    // The save step before compiling: every modified document that has a file is saved, without
    // a question; documents never saved stay as they are. False when a save failed (the host
    // has said why), and the compile must not run.
    virtual bool SaveModifiedFiles() = 0;

    // The process caption: the text a command sets before it starts a tool.
    virtual void SetProcessCaption(const std::string& caption) = 0;
    // Shows the Process Window and hands it a started runner, which it then owns.
    virtual void AttachRunner(std::unique_ptr<CProcessRunner> runner) = 0;
    // Shows the Process Window without a runner (find in files), creating it when needed.
    virtual void ShowOutputWindow() = 0;
    virtual void ClearOutput() = 0;
    virtual void AppendOutput(const std::string& text) = 0;
    // Whether the Process Window lets the user type a captured tool's standard input; a tool
    // started without it reads end of file at once.
    virtual bool OffersInput() const { return false; }

    // Opens a path or URL with the desktop's default application; false when it failed.
    virtual bool OpenWithDesktop(const std::string& pathOrUrl) = 0;
    // Opens a terminal running the script in the folder; empty on success, else the reason.
    virtual std::string OpenTerminal(const std::string& scriptPath, const std::string& folder) = 0;
    virtual void SetWaitCursor(bool on) = 0;
};

} // namespace tovin
