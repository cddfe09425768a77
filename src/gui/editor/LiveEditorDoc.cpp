#include "gui/editor/LiveEditorDoc.h"

#include "core/editor/LiveOutline.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/editor/SourceView.h"

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
