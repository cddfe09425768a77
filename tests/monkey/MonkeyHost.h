#pragma once
// The application's own host (Qt dialogs, the Process Window, documents), except for what
// leaves the program: a request to the desktop or a terminal is written in the action log and
// answered as done, so a run never opens a browser or a terminal.

#include "World.h"
#include "gui/app/AppUiHost.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <utility>

namespace tovin::monkey {

class CMonkeyHost : public CUiHost {
public:
    CMonkeyHost(const SWorld& world, std::function<void(const QString&)> log)
        : m_world(world), m_log(std::move(log)) {}

    // The application exists only after its host: the Qt host is made for it then.
    void Bind(CEditorApp& app) { m_qt = std::make_unique<CAppUiHost>(app); }
    QStringList TakeFailures() { return std::exchange(m_failures, {}); }

    EMsgAnswer MessageBox(const std::string& text, const std::string& caption, EMsgButtons buttons,
                          EMsgIcon icon) override {
        return m_qt->MessageBox(text, caption, buttons, icon);
    }
    std::vector<std::string> FileDialog(const SFileDialogRequest& request) override {
        return m_qt->FileDialog(request);
    }
    std::string BrowseForFolder(const std::string& title, const std::string& preselected) override {
        return m_qt->BrowseForFolder(title, preselected);
    }
    std::optional<std::string> AskArguments(const std::string& initial) override {
        return m_qt->AskArguments(initial);
    }
    COpenDocument* OpenDocument(const std::string& path) override {
        return m_qt->OpenDocument(path);
    }
    SOpenResult TryOpenDocument(const std::string& path) override {
        return m_qt->TryOpenDocument(path);
    }
    bool SaveModifiedFiles() override { return m_qt->SaveModifiedFiles(); }
    void SetProcessCaption(const std::string& caption) override {
        m_qt->SetProcessCaption(caption);
    }
    void AttachRunner(std::unique_ptr<CProcessRunner> runner) override {
        m_qt->AttachRunner(std::move(runner));
    }
    void ShowOutputWindow() override { m_qt->ShowOutputWindow(); }
    void ClearOutput() override { m_qt->ClearOutput(); }
    void AppendOutput(const std::string& text) override { m_qt->AppendOutput(text); }
    bool OffersInput() const override { return m_qt->OffersInput(); }
    void SetWaitCursor(bool on) override { m_qt->SetWaitCursor(on); }

    bool OpenWithDesktop(const std::string& pathOrUrl) override {
        m_log("    desktop asked to open " + QString::fromStdString(pathOrUrl));
        return true;
    }
    std::string OpenTerminal(const std::string& scriptPath, const std::string& folder) override {
        m_log("    terminal asked to run " + QString::fromStdString(scriptPath) + " in " +
              QString::fromStdString(folder));
        if (!m_world.Inside(scriptPath)) {
            m_failures << "the console script was written outside the run's folder: " +
                              QString::fromStdString(scriptPath);
        }
        return {};
    }

private:
    const SWorld& m_world;
    std::function<void(const QString&)> m_log;
    std::unique_ptr<CAppUiHost> m_qt;
    QStringList m_failures;
};

} // namespace tovin::monkey
