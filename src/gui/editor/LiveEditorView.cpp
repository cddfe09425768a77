#include "gui/editor/LiveEditorView.h"

#include "core/app/UiHost.h"
#include "core/editor/TextCommands.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/editor/LiveEditorDoc.h"

namespace tovin {

CLiveEditorView::CLiveEditorView(CLiveEditorDoc& document, ELanguage language, QWidget* parent)
    : CSourceView(document, language, parent) {}

CLiveEditorDoc& CLiveEditorView::LiveDocument() const {
    return static_cast<CLiveEditorDoc&>(Document());
}

void CLiveEditorView::OnCharTyped(char typed) {
    AutoIndentNewLine(*this, typed, EAutoIndentForm::Basic, IndentUnit().SpaceStep());
}

std::string CLiveEditorView::SavedPathOrAsk() {
    const std::string& path = Document().PathName();
    if (path.empty()) {
        // Marked modified, so that closing the window asks to save it.
        Document().SetModified(true);
        Context().host->MessageBox("Please save the document first", "Tovin", EMsgButtons::Ok,
                                   EMsgIcon::Warning);
    }
    return path;
}

void CLiveEditorView::AddAsProjectFile() {
    const std::string path = SavedPathOrAsk();
    CJavaProjectDoc* project = Context().Project();
    if (path.empty() || !project) {
        return;
    }
    project->AddFile(path);
    project->SetModifiedFlag(true);
    LiveDocument().RefreshProjectOutline();
}

void CLiveEditorView::RefreshProjectOutline() {
    LiveDocument().RefreshProjectOutline();
}

} // namespace tovin
