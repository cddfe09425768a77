#pragma once
// A scripted CUiHost for tests: answers come from queues the test fills beforehand, and every
// call is recorded so the test can check what the core asked for.

#include "core/app/UiHost.h"
#include "core/process/ProcessRunner.h"

#include <deque>
#include <functional>
#include <map>

namespace tovin::test {

struct SMessageCall {
    std::string text;
    std::string caption;
    EMsgButtons buttons;
    EMsgIcon icon;
};

class CFakeOpenDocument : public COpenDocument {
public:
    EDocumentKind kind = EDocumentKind::JavaSource;
    std::vector<int> shownLines;
    std::vector<int> shownPositions;
    std::map<std::string, int> functionPositions;
    std::string package;

    EDocumentKind Kind() const override { return kind; }
    void ShowLine(int line) override { shownLines.push_back(line); }
    void ShowPosition(int position) override { shownPositions.push_back(position); }
    int FindFunctionPosition(const std::string& name) const override {
        auto it = functionPositions.find(name);
        return it == functionPositions.end() ? -1 : it->second;
    }
    std::string PackageName() const override { return package; }
};

class CFakeUiHost : public CUiHost {
public:
    // Scripted answers; when a queue is empty the default answer is used.
    std::deque<EMsgAnswer> messageAnswers;                  // default: Ok
    std::deque<std::vector<std::string>> fileAnswers;       // default: cancelled
    std::deque<std::string> folderAnswers;                  // default: cancelled
    std::deque<std::optional<std::string>> argumentAnswers; // default: cancelled
    // Documents by path; a path not listed fails to open unless openAnyAs is set.
    std::map<std::string, CFakeOpenDocument> documents;
    std::optional<EDocumentKind> openAnyAs;
    std::string terminalError; // returned by OpenTerminal
    bool desktopResult = true;

    // Recorded calls.
    std::vector<SMessageCall> messages;
    std::vector<SFileDialogRequest> fileRequests;
    std::vector<std::pair<std::string, std::string>> folderRequests; // title, preselected
    std::vector<std::string> argumentRequests;
    std::vector<std::string> openedPaths;
    std::vector<std::string> captions;
    std::vector<std::unique_ptr<CProcessRunner>> runners;
    std::vector<std::string> desktopOpened;
    std::vector<std::pair<std::string, std::string>> terminals; // script, folder
    int saveAllCount = 0;                                       // SaveModifiedFiles calls
    bool saveResult = true;                                     // what SaveModifiedFiles answers
    int showOutputCount = 0;
    int waitCursorDepth = 0;
    std::string output;
    std::function<void()> onSaveAll;

    ~CFakeUiHost() override;

    EMsgAnswer MessageBox(const std::string& text, const std::string& caption, EMsgButtons buttons,
                          EMsgIcon icon) override;
    std::vector<std::string> FileDialog(const SFileDialogRequest& request) override;
    std::string BrowseForFolder(const std::string& title, const std::string& preselected) override;
    std::optional<std::string> AskArguments(const std::string& initial) override;
    COpenDocument* OpenDocument(const std::string& path) override;
    bool SaveModifiedFiles() override;
    void SetProcessCaption(const std::string& caption) override { captions.push_back(caption); }
    void AttachRunner(std::unique_ptr<CProcessRunner> runner) override;
    void ShowOutputWindow() override { ++showOutputCount; }
    void ClearOutput() override { output.clear(); }
    void AppendOutput(const std::string& text) override { output += text; }
    bool OpenWithDesktop(const std::string& pathOrUrl) override;
    std::string OpenTerminal(const std::string& scriptPath, const std::string& folder) override;
    void SetWaitCursor(bool on) override { waitCursorDepth += on ? 1 : -1; }

    // Texts of all messages shown so far.
    std::vector<std::string> MessageTexts() const;
};

} // namespace tovin::test
