#include "FakeUiHost.h"

#include "core/process/ProcessRunner.h"

namespace tovin::test {

// Out of line: the recorded runners need CProcessRunner complete to be destroyed. A runner
// whose child still runs terminates it and joins its reader thread, so no reader thread
// outlives the test's host.
CFakeUiHost::~CFakeUiHost() = default;

EMsgAnswer CFakeUiHost::MessageBox(const std::string& text, const std::string& caption,
                                   EMsgButtons buttons, EMsgIcon icon) {
    messages.push_back({text, caption, buttons, icon});
    if (messageAnswers.empty()) {
        return EMsgAnswer::Ok;
    }
    EMsgAnswer answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

std::vector<std::string> CFakeUiHost::FileDialog(const SFileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) {
        return {};
    }
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::string CFakeUiHost::BrowseForFolder(const std::string& title, const std::string& preselected) {
    folderRequests.emplace_back(title, preselected);
    if (folderAnswers.empty()) {
        return {};
    }
    auto answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

std::optional<std::string> CFakeUiHost::AskArguments(const std::string& initial) {
    argumentRequests.push_back(initial);
    if (argumentAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = argumentAnswers.front();
    argumentAnswers.pop_front();
    return answer;
}

COpenDocument* CFakeUiHost::OpenDocument(const std::string& path) {
    openedPaths.push_back(path);
    auto it = documents.find(path);
    if (it == documents.end()) {
        if (!openAnyAs) {
            return nullptr;
        }
        it = documents.emplace(path, CFakeOpenDocument{}).first;
        it->second.kind = *openAnyAs;
    }
    return &it->second;
}

bool CFakeUiHost::SaveModifiedFiles() {
    ++saveAllCount;
    if (onSaveAll) {
        onSaveAll();
    }
    return saveResult;
}

void CFakeUiHost::AttachRunner(std::unique_ptr<CProcessRunner> runner) {
    runners.push_back(std::move(runner));
}

bool CFakeUiHost::OpenWithDesktop(const std::string& pathOrUrl) {
    desktopOpened.push_back(pathOrUrl);
    return desktopResult;
}

std::string CFakeUiHost::OpenTerminal(const std::string& scriptPath, const std::string& folder) {
    terminals.emplace_back(scriptPath, folder);
    return terminalError;
}

std::vector<std::string> CFakeUiHost::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages) {
        texts.push_back(m.text);
    }
    return texts;
}

} // namespace tovin::test
