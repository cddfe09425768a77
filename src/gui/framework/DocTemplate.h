#pragma once
// A document type: its names, its file filter and extension, and how its documents, frames
// and views are made. The registry keeps the types in registration order, which is the order
// of the open dialog's filters, of matching a file to a type, and of Save All.

#include "core/app/UiHost.h"

#include <QIcon>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace tovin {

class CDocument;
class CDocumentFrame;

// The fields of a document type's resource string, separated by "\n" in that string.
struct SDocTypeStrings {
    std::string windowTitle;
    std::string documentName; // the key for "create new document of type"
    std::string newName;
    std::string filterName;
    std::string filterExtension; // with its dot: ".java"
    std::string typeId;
    std::string typeDescription;

    static std::optional<SDocTypeStrings> Parse(const std::string& resourceString);
};

class CDocTemplate {
public:
    using FCreateDocument = std::function<CDocument*(CDocTemplate&)>;
    using FCreateFrame = std::function<CDocumentFrame*(CDocument&)>;
    using FCreateView = std::function<QWidget*(CDocument&, QWidget* parent)>;

    CDocTemplate(SDocTypeStrings strings, EDocumentKind documentKind, QIcon icon,
                 FCreateDocument createDocument, FCreateFrame createFrame, FCreateView createView);

    const SDocTypeStrings& Strings() const { return m_strings; }
    const std::string& DocumentName() const { return m_strings.documentName; }
    EDocumentKind DocumentKind() const { return m_documentKind; }
    // The icon of the type's windows.
    const QIcon& Icon() const { return m_icon; }

    // True when the path ends in this type's extension, in any case: "Index.HTML" is a page
    // like "index.html", whatever the file system thinks of their names.
    bool MatchesExtension(const std::string& path) const;
    // "Java Source Files (*.java)|*.java|": this type's part of a dialog filter.
    std::string DialogFilter() const;
    // The extension without its dot.
    std::string DefaultExtension() const;

    // A new document object of this type, not yet opened or initialised; owned by the caller
    // until AddDocument.
    CDocument* CreateDocument() { return m_createDocument(*this); }
    CDocumentFrame* CreateFrame(CDocument& document) { return m_createFrame(document); }
    QWidget* CreateView(CDocument& document, QWidget* parent) {
        return m_createView(document, parent);
    }

    const std::vector<CDocument*>& Documents() const { return m_documents; }
    void AddDocument(CDocument* document);
    void RemoveDocument(CDocument* document);
    // The title of the next untitled document: the document name and a running number.
    std::string NextUntitledTitle();

private:
    SDocTypeStrings m_strings;
    EDocumentKind m_documentKind;
    QIcon m_icon;
    FCreateDocument m_createDocument;
    FCreateFrame m_createFrame;
    FCreateView m_createView;
    std::vector<CDocument*> m_documents;
    int m_untitledCount = 0;
};

class CDocTemplateRegistry {
public:
    void Add(std::unique_ptr<CDocTemplate> docTemplate);
    const std::vector<std::unique_ptr<CDocTemplate>>& Templates() const { return m_templates; }

    CDocTemplate* FindByDocumentName(const std::string& documentName) const;
    // The type whose extension the path has; a file of no known type opens as the first type.
    CDocTemplate* TemplateForPath(const std::string& path) const;
    // The open document with exactly this path, or null.
    CDocument* FindOpenDocument(const std::string& path) const;
    // The filter of the open dialog: every type in order, then all files.
    std::string OpenDialogFilter() const;
    // Every open document, type by type in registration order.
    std::vector<CDocument*> AllDocuments() const;

private:
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
};

} // namespace tovin
