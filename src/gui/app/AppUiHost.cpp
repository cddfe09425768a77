#include "gui/app/AppUiHost.h"

#include "core/process/ProcessRunner.h"
#include "gui/app/EditorApp.h"
#include "gui/app/MainFrame.h"
#include "gui/dialogs/ArgumentsDialog.h"
#include "gui/framework/Document.h"
#include "gui/process/ProcessWindow.h"

#include <QApplication>
#include <QDockWidget>

namespace tovin {

std::optional<std::string> CAppUiHost::AskArguments(const std::string& initial) {
    CArgumentsDialog dialog(QString::fromStdString(initial), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Arguments().toStdString();
}

COpenDocument* CAppUiHost::OpenDocument(const std::string& path) {
    return m_app.OpenDocumentFile(path);
}

SOpenResult CAppUiHost::TryOpenDocument(const std::string& path) {
    bool declined = false;
    CDocument* document = m_app.OpenDocumentFile(path, &declined);
    return {document, declined};
}

bool CAppUiHost::SaveModifiedFiles() {
    return m_app.SaveModifiedFiles();
}

void CAppUiHost::SetProcessCaption(const std::string& caption) {
    m_app.SetProcessCaption(caption);
}

void CAppUiHost::AttachRunner(std::unique_ptr<CProcessRunner> runner) {
    ShowOutputWindow();
    m_app.ProcessWindow()->Attach(std::move(runner),
                                  QString::fromStdString(m_app.ProcessCaption()));
}

void CAppUiHost::ShowOutputWindow() {
    m_app.ProcessWindow();
    m_app.MainFrame()->ProcessDock()->show();
}

void CAppUiHost::ClearOutput() {
    m_app.ProcessWindow()->ClearOutput();
}

void CAppUiHost::AppendOutput(const std::string& text) {
    m_app.ProcessWindow()->AppendLine(text);
}

} // namespace tovin
