#pragma once
// The document of a Java source window: the text, the package it declares and the methods its
// function drop-down lists. Before every save the first view refreshes the function list, which
// re-parses the text into the project's model when the file belongs to the open project.

#include "core/editor/JavaSourceInfo.h"
#include "gui/editor/SourceDocument.h"

namespace tovin {

class CSyntaxWindowView;

class CSyntaxWindowDoc : public CSourceDocument {
    Q_OBJECT
public:
    explicit CSyntaxWindowDoc(const SEditorContext& context, QObject* parent = nullptr);

    bool OnSaveDocument(const std::string& path) override;

    // Takes the package from the text, re-parses it into the project when the file belongs to
    // it (the project then takes the package from this document) and fills the function list.
    void RefreshFromText(const std::string& text);
    const CJavaSourceInfo& Info() const { return m_info; }

    // ---- COpenDocument
    void ShowLine(int line) override;
    void ShowPosition(int position) override;
    int FindFunctionPosition(const std::string& name) const override;
    std::string PackageName() const override { return m_info.PackageName(); }

private:
    CSyntaxWindowView* FirstJavaView() const;

    CJavaSourceInfo m_info;
};

} // namespace tovin
