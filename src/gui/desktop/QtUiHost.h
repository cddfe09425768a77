#pragma once
// The desktop's part of CUiHost: Qt message boxes, file and folder dialogs, the desktop's
// default programs, a terminal and the wait cursor. What only the application can do (the
// Arguments dialog, its documents, the Process Window) its own host adds.

#include "core/app/UiHost.h"

namespace tovin {

class CQtUiHost : public CUiHost {
public:
    EMsgAnswer MessageBox(const std::string& text, const std::string& caption, EMsgButtons buttons,
                          EMsgIcon icon) override;
    std::vector<std::string> FileDialog(const SFileDialogRequest& request) override;
    std::string BrowseForFolder(const std::string& title, const std::string& preselected) override;
    bool OpenWithDesktop(const std::string& pathOrUrl) override;
    std::string OpenTerminal(const std::string& scriptPath, const std::string& folder) override;
    void SetWaitCursor(bool on) override;
};

} // namespace tovin
