#include "gui/editor/SyntaxWindowDoc.h"

#include "core/project/JavaProjectDoc.h"
#include "gui/editor/SyntaxWindowView.h"

namespace tovin {

CSyntaxWindowDoc::CSyntaxWindowDoc(const SEditorContext& context, QObject* parent)
    : CSourceDocument(context, EDocumentKind::JavaSource, parent) {}

CSyntaxWindowView* CSyntaxWindowDoc::FirstJavaView() const {
    return dynamic_cast<CSyntaxWindowView*>(FirstView());
}

bool CSyntaxWindowDoc::OnSaveDocument(const std::string& path) {
    if (CSyntaxWindowView* view = FirstJavaView()) {
        view->RefreshFunctionList();
    } else {
        RefreshFromText(Text());
    }
    return CSourceDocument::OnSaveDocument(path);
}

void CSyntaxWindowDoc::RefreshFromText(const std::string& text) {
    m_info.UpdatePackageName(text);
    CJavaProjectDoc* project = Context().Project();
    if (m_info.Reparse(text, PathName(), project)) {
        project->OnSourceReparsed(PathName(), *this);
    }
}

void CSyntaxWindowDoc::ShowLine(int line) {
    if (CSourceView* view = FirstView()) {
        view->SelectLine(line);
    }
}

void CSyntaxWindowDoc::ShowPosition(int position) {
    if (CSourceView* view = FirstView()) {
        view->SelectLine(view->LineFromChar(position));
    }
}

int CSyntaxWindowDoc::FindFunctionPosition(const std::string& name) const {
    return m_info.FindFunctionPosition(name);
}

} // namespace tovin
