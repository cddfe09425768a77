#include "editor/LiveEditorDoc.h"

#include "editor/LiveOutline.h"
#include "editor/SourceView.h"
#include "project/JavaProjectDoc.h"

namespace tovin {

CLiveEditorDoc::CLiveEditorDoc(const SEditorContext& context, EDocumentKind kind, QObject* parent)
    : CSourceDocument(context, kind, parent) {}

bool CLiveEditorDoc::OnSaveDocument(const std::string& path) {
    if (!CSourceDocument::OnSaveDocument(path)) {
        return false;
    }
    RefreshProjectOutline();
    return true;
}

void CLiveEditorDoc::RefreshProjectOutline() {
    if (CJavaProjectDoc* project = Context().Project()) {
        RefreshLiveOutline(*project, PathName());
        project->RefreshViews();
    }
}

void CLiveEditorDoc::ShowLine(int line) {
    CSourceView* view = FirstView();
    if (view && Kind() != EDocumentKind::Html) {
        view->SelectLine(line);
    }
}

} // namespace tovin
