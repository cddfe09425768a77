#include "gui/framework/DocTemplate.h"

#include "core/platform/Paths.h"
#include "gui/framework/Document.h"

#include <algorithm>

namespace tovin {

std::optional<SDocTypeStrings> SDocTypeStrings::Parse(const std::string& resourceString) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t end = resourceString.find('\n', start);
        fields.push_back(resourceString.substr(start, end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    if (fields.size() != 7) {
        return std::nullopt;
    }
    return SDocTypeStrings{fields[0], fields[1], fields[2], fields[3],
                           fields[4], fields[5], fields[6]};
}

CDocTemplate::CDocTemplate(SDocTypeStrings strings, EDocumentKind documentKind, QIcon icon,
                           FCreateDocument createDocument, FCreateFrame createFrame,
                           FCreateView createView)
    : m_strings(std::move(strings)), m_documentKind(documentKind), m_icon(std::move(icon)),
      m_createDocument(std::move(createDocument)), m_createFrame(std::move(createFrame)),
      m_createView(std::move(createView)) {}

bool CDocTemplate::MatchesExtension(const std::string& path) const {
    const std::string& extension = m_strings.filterExtension;
    auto dot = path.rfind('.');
    return !extension.empty() && dot != std::string::npos &&
           ToLowerAscii(path.substr(dot)) == ToLowerAscii(extension);
}

std::string CDocTemplate::DialogFilter() const {
    return m_strings.filterName + "|*" + m_strings.filterExtension + "|";
}

std::string CDocTemplate::DefaultExtension() const {
    const std::string& extension = m_strings.filterExtension;
    return extension.empty() || extension[0] != '.' ? extension : extension.substr(1);
}

void CDocTemplate::AddDocument(CDocument* document) {
    m_documents.push_back(document);
}

void CDocTemplate::RemoveDocument(CDocument* document) {
    m_documents.erase(std::remove(m_documents.begin(), m_documents.end(), document),
                      m_documents.end());
}

std::string CDocTemplate::NextUntitledTitle() {
    return m_strings.documentName + std::to_string(++m_untitledCount);
}

void CDocTemplateRegistry::Add(std::unique_ptr<CDocTemplate> docTemplate) {
    m_templates.push_back(std::move(docTemplate));
}

CDocTemplate* CDocTemplateRegistry::FindByDocumentName(const std::string& documentName) const {
    for (const auto& docTemplate : m_templates) {
        if (docTemplate->DocumentName() == documentName) {
            return docTemplate.get();
        }
    }
    return nullptr;
}

CDocTemplate* CDocTemplateRegistry::TemplateForPath(const std::string& path) const {
    for (const auto& docTemplate : m_templates) {
        if (docTemplate->MatchesExtension(path)) {
            return docTemplate.get();
        }
    }
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

CDocument* CDocTemplateRegistry::FindOpenDocument(const std::string& path) const {
    for (CDocument* document : AllDocuments()) {
        if (!document->PathName().empty() && document->PathName() == path) {
            return document;
        }
    }
    return nullptr;
}

std::string CDocTemplateRegistry::OpenDialogFilter() const {
    std::string filter;
    for (const auto& docTemplate : m_templates) {
        filter += docTemplate->DialogFilter();
    }
    return filter + "All Files (*.*)|*.*||";
}

std::vector<CDocument*> CDocTemplateRegistry::AllDocuments() const {
    std::vector<CDocument*> documents;
    for (const auto& docTemplate : m_templates) {
        documents.insert(documents.end(), docTemplate->Documents().begin(),
                         docTemplate->Documents().end());
    }
    return documents;
}

} // namespace tovin
