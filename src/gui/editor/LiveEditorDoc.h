#pragma once
// The document of an HTML, XML or Jython window. Saving a file that belongs to the open project
// refreshes the project's model of it (an Ant file's targets, a Jython file's classes and
// functions) and the project's views.

#include "gui/editor/SourceDocument.h"

namespace tovin {

class CLiveEditorDoc : public CSourceDocument {
    Q_OBJECT
public:
    // kind: Html, Xml or Jython.
    CLiveEditorDoc(const SEditorContext& context, EDocumentKind kind, QObject* parent = nullptr);

    bool OnSaveDocument(const std::string& path) override;
    // With a project open: re-reads the project's entry for this file (XML and Jython files)
    // and refreshes the project's views.
    void RefreshProjectOutline();

    // ---- COpenDocument: a Jython function or an Ant target is shown by its line.
    void ShowLine(int line) override;
};

} // namespace tovin
