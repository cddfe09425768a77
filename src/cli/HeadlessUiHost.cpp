#include "cli/HeadlessUiHost.h"

#include "core/process/ProcessRunner.h"

#include <ostream>

namespace tovin {

CHeadlessUiHost::CHeadlessUiHost(std::ostream& output, std::ostream& messages)
    : m_output(output), m_messages(messages) {}

// Out of line: destroying the runner needs CProcessRunner complete. A runner still running is
// terminated and joined by its destructor.
CHeadlessUiHost::~CHeadlessUiHost() = default;

EMsgAnswer CHeadlessUiHost::MessageBox(const std::string& text, const std::string& caption,
                                       EMsgButtons buttons, EMsgIcon) {
    m_messages << (caption.empty() ? "tovin" : caption) << ": " << text << std::endl;
    switch (buttons) {
    case EMsgButtons::Ok:
        return EMsgAnswer::Ok;
    case EMsgButtons::YesNo:
    case EMsgButtons::YesNoDefaultNo:
        return EMsgAnswer::No;
    default:
        return EMsgAnswer::Cancel;
    }
}

std::vector<std::string> CHeadlessUiHost::FileDialog(const SFileDialogRequest&) {
    return {};
}

std::string CHeadlessUiHost::BrowseForFolder(const std::string&, const std::string&) {
    return {};
}

std::optional<std::string> CHeadlessUiHost::AskArguments(const std::string&) {
    return m_arguments;
}

COpenDocument* CHeadlessUiHost::OpenDocument(const std::string&) {
    return nullptr;
}

void CHeadlessUiHost::SetProcessCaption(const std::string& caption) {
    m_messages << "tovin: " << caption << std::endl;
}

void CHeadlessUiHost::AttachRunner(std::unique_ptr<CProcessRunner> runner) {
    m_runner = std::move(runner);
}

void CHeadlessUiHost::AppendOutput(const std::string& text) {
    m_output << text;
}

bool CHeadlessUiHost::OpenWithDesktop(const std::string&) {
    return false;
}

std::string CHeadlessUiHost::OpenTerminal(const std::string&, const std::string&) {
    return "A batch run opens no terminal.";
}

} // namespace tovin
