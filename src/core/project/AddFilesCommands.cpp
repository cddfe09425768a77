// "Add Files..." and "Add an HTML file to launch an applet": the project's two file dialogs.

#include "core/app/UiHost.h"
#include "core/platform/Paths.h"
#include "core/project/JavaProjectDoc.h"

namespace tovin {

// The dialog opens where this project's files were last chosen (or in its folder), never where
// another project's dialog was left.
std::vector<std::string> CJavaProjectDoc::AskForFiles(SFileDialogRequest request) {
    request.initialFolder = GetDialogFolder();
    std::vector<std::string> paths = m_host.FileDialog(request);
    if (!paths.empty()) {
        SetDialogFolder(GetFolder(paths.front()));
    }
    return paths;
}

void CJavaProjectDoc::AddFilesCommand() {
    SFileDialogRequest request;
    request.multiSelect = true;
    request.defaultExtension = "txt";
    request.filter = "Source Files (.java;.py;.html;.xml)|*.jav;*.java;*.py;*.html;*.xml|"
                     "All Files (*.*)|*.*||";
    const std::vector<std::string> paths = AskForFiles(request);
    if (paths.empty()) {
        return;
    }
    bool added = false;
    for (const std::string& path : paths) {
        if (AddFile(path) == 1) {
            added = true;
            m_host.OpenDocument(path);
        }
    }
    // With several names the project is marked and refreshed whatever happened; with one, only
    // when it was taken.
    if (paths.size() > 1 || added) {
        SetModifiedFlag();
        RefreshViews();
    }
}

void CJavaProjectDoc::AddAppletPageCommand() {
    SFileDialogRequest request;
    request.defaultExtension = "html";
    request.filter = "HTML Files (*.htm;*.html)|*.htm;*.html||";
    const std::vector<std::string> paths = AskForFiles(request);
    if (!paths.empty()) {
        AddHtmlFile(paths.front());
    }
}

} // namespace tovin
