#include "gui/editor/EditorDocument.h"

#include "gui/editor/LiveEditorDoc.h"
#include "gui/editor/SyntaxWindowDoc.h"
#include "gui/framework/DocTemplate.h"

namespace tovin {

CEditorDocument::CEditorDocument(CDocumentHost& host, CDocTemplate& docTemplate,
                                 const SEditorContext& context, QObject* parent)
    : CDocument(host, docTemplate, parent) {
    if (docTemplate.DocumentKind() == EDocumentKind::JavaSource) {
        m_source = std::make_unique<CSyntaxWindowDoc>(context);
    } else {
        m_source = std::make_unique<CLiveEditorDoc>(context, docTemplate.DocumentKind());
    }
    // The framework's flag follows the text's, so the frames' titles show it.
    connect(m_source.get(), &CSourceDocument::ModifiedChanged, this,
            [this](bool modified) { CDocument::SetModified(modified); });
}

CEditorDocument::~CEditorDocument() = default;

bool CEditorDocument::IsModified() const {
    return m_source->IsModified();
}

void CEditorDocument::SetModified(bool modified) {
    m_source->SetModified(modified);
    CDocument::SetModified(modified);
}

bool CEditorDocument::OnNewDocument() {
    return m_source->OnNewDocument() && CDocument::OnNewDocument();
}

bool CEditorDocument::OnOpenDocument(const std::string& path) {
    return m_source->OnOpenDocument(path);
}

bool CEditorDocument::OnSaveDocument(const std::string& path) {
    return m_source->OnSaveDocument(path);
}

void CEditorDocument::ShowLine(int line) {
    m_source->ShowLine(line);
}

void CEditorDocument::ShowPosition(int position) {
    m_source->ShowPosition(position);
}

int CEditorDocument::FindFunctionPosition(const std::string& name) const {
    return m_source->FindFunctionPosition(name);
}

std::string CEditorDocument::PackageName() const {
    return m_source->PackageName();
}

} // namespace tovin
