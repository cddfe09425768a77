#pragma once
// CHeadlessUiHost: the host of the window-less batch runs. Messages and process captions go to
// the message stream; every dialog is answered as if cancelled, except the Arguments dialog,
// which gets the argument text the batch run was given. A started runner is kept for the batch
// run to stream its output; nothing is opened on the desktop or in a terminal.

#include "core/app/UiHost.h"

#include <iosfwd>
#include <memory>

namespace tovin {

class CHeadlessUiHost : public CUiHost {
public:
    // Both streams must outlive the host. output receives the text of AppendOutput.
    CHeadlessUiHost(std::ostream& output, std::ostream& messages);
    ~CHeadlessUiHost() override;

    // The Arguments dialog's answer; nullopt (the start) answers it as cancelled.
    void SetArguments(std::optional<std::string> arguments) { m_arguments = std::move(arguments); }
    // The runner of the last started tool, or null.
    CProcessRunner* Runner() const { return m_runner.get(); }

    // Writes "caption: text"; the answer is OK for an OK box, else No or Cancel.
    EMsgAnswer MessageBox(const std::string& text, const std::string& caption, EMsgButtons buttons,
                          EMsgIcon icon) override;
    std::vector<std::string> FileDialog(const SFileDialogRequest& request) override;
    std::string BrowseForFolder(const std::string& title, const std::string& preselected) override;
    std::optional<std::string> AskArguments(const std::string& initial) override;
    COpenDocument* OpenDocument(const std::string& path) override;
    bool SaveModifiedFiles() override { return true; }
    void SetProcessCaption(const std::string& caption) override;
    void AttachRunner(std::unique_ptr<CProcessRunner> runner) override;
    void ShowOutputWindow() override {}
    void ClearOutput() override {}
    void AppendOutput(const std::string& text) override;
    bool OpenWithDesktop(const std::string& pathOrUrl) override;
    std::string OpenTerminal(const std::string& scriptPath, const std::string& folder) override;
    void SetWaitCursor(bool) override {}

private:
    std::ostream& m_output;
    std::ostream& m_messages;
    std::optional<std::string> m_arguments;
    std::unique_ptr<CProcessRunner> m_runner;
};

} // namespace tovin
