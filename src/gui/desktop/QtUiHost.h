#pragma once
// CUiHost for the desktop: Qt message boxes and file dialogs, the Arguments dialog, documents
// opened through the application, the Process Window, and the desktop's default programs.

#include "core/app/UiHost.h"

namespace tovin {

class CEditorApp;

class CQtUiHost : public CUiHost {
public:
    explicit CQtUiHost(CEditorApp& app) : m_app(app) {}

    EMsgAnswer MessageBox(const std::string& text, const std::string& caption, EMsgButtons buttons,
                          EMsgIcon icon) override;
    std::vector<std::string> FileDialog(const SFileDialogRequest& request) override;
    std::string BrowseForFolder(const std::string& title, const std::string& preselected) override;
    std::optional<std::string> AskArguments(const std::string& initial) override;
    COpenDocument* OpenDocument(const std::string& path) override;
    bool SaveModifiedFiles() override;
    void SetProcessCaption(const std::string& caption) override;
    void AttachRunner(std::unique_ptr<CProcessRunner> runner) override;
    void ShowOutputWindow() override;
    void ClearOutput() override;
    void AppendOutput(const std::string& text) override;
    bool OpenWithDesktop(const std::string& pathOrUrl) override;
    std::string OpenTerminal(const std::string& scriptPath, const std::string& folder) override;
    void SetWaitCursor(bool on) override;

private:
    CEditorApp& m_app;
};

} // namespace tovin
