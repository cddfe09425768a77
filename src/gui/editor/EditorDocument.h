#pragma once
// A source file as a document of the application's framework: the editors' document (text,
// file, views) inside the framework's life cycle (open, save, the question before closing,
// frames, recent files). The framework's calls go to the editors' document, and its modified
// flag shows in the frames' titles.

#include "gui/editor/EditorContext.h"
#include "gui/framework/Document.h"

#include <memory>

namespace tovin {

class CSourceDocument;

class CEditorDocument : public CDocument {
    Q_OBJECT
public:
    // A Java document for the Java type, else an HTML, XML or Jython one; the editors get
    // what they need of the application through the context.
    CEditorDocument(CDocumentHost& host, CDocTemplate& docTemplate, const SEditorContext& context,
                    QObject* parent);
    ~CEditorDocument() override;

    CSourceDocument& Source() const { return *m_source; }

    bool IsModified() const override;
    void SetModified(bool modified) override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;

    void ShowLine(int line) override;
    void ShowPosition(int position) override;
    int FindFunctionPosition(const std::string& name) const override;
    std::string PackageName() const override;

private:
    std::unique_ptr<CSourceDocument> m_source;
};

} // namespace tovin
