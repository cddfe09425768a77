#pragma once
// CSilentUiHost: a host for runs that must ask nothing (window-less loads, benchmarks, fuzz
// targets). Every question is answered as cancelled, nothing is shown or opened, and a started
// runner is dropped.

#include "core/app/UiHost.h"
#include "core/process/ProcessRunner.h"

namespace tovin {

class CSilentUiHost : public CUiHost {
public:
    EMsgAnswer MessageBox(const std::string&, const std::string&, EMsgButtons, EMsgIcon) override {
        return EMsgAnswer::Cancel;
    }
    std::vector<std::string> FileDialog(const SFileDialogRequest&) override { return {}; }
    std::string BrowseForFolder(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> AskArguments(const std::string&) override { return std::nullopt; }
    COpenDocument* OpenDocument(const std::string&) override { return nullptr; }
    bool SaveModifiedFiles() override { return true; }
    void SetProcessCaption(const std::string&) override {}
    void AttachRunner(std::unique_ptr<CProcessRunner>) override {}
    void ShowOutputWindow() override {}
    void ClearOutput() override {}
    void AppendOutput(const std::string&) override {}
    bool OpenWithDesktop(const std::string&) override { return false; }
    std::string OpenTerminal(const std::string&, const std::string&) override {
        return "No terminal is available in a window-less run.";
    }
    void SetWaitCursor(bool) override {}
};

} // namespace tovin
