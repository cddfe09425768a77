#pragma once
// The application's CUiHost: the desktop's dialogs, with the Arguments dialog, documents
// opened through the application and the Process Window in the main window's dock.

#include "gui/desktop/QtUiHost.h"

namespace tovin {

class CEditorApp;

class CAppUiHost : public CQtUiHost {
public:
    explicit CAppUiHost(CEditorApp& app) : m_app(app) {}

    std::optional<std::string> AskArguments(const std::string& initial) override;
    COpenDocument* OpenDocument(const std::string& path) override;
    SOpenResult TryOpenDocument(const std::string& path) override;
    bool SaveModifiedFiles() override;
    void SetProcessCaption(const std::string& caption) override;
    void AttachRunner(std::unique_ptr<CProcessRunner> runner) override;
    void ShowOutputWindow() override;
    void ClearOutput() override;
    void AppendOutput(const std::string& text) override;
    bool OffersInput() const override { return true; }

private:
    CEditorApp& m_app;
};

} // namespace tovin
