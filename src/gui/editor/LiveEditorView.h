#pragma once
// What the HTML, XML and Jython views share: Tab inserts a tab character, or a step of spaces
// in a file indented with spaces (with a selection it indents or, with Shift, unindents the
// lines; Shift+Tab alone outdents the caret's line), Enter indents the new line by the language's
// rule, and "Add Window to Project" needs a saved file. Each language view supplies its colouring
// language, its after-character step and its project commands.

#include "gui/editor/SourceView.h"

namespace tovin {

class CLiveEditorDoc;

class CLiveEditorView : public CSourceView {
    Q_OBJECT
public:
    CLiveEditorDoc& LiveDocument() const;

    virtual void OnAddWindowToProject() = 0;

protected:
    CLiveEditorView(CLiveEditorDoc& document, ELanguage language, QWidget* parent);

    void OnCharTyped(char typed) override;
    // For "Add Window to Project": the document's path, or, for a document never saved, the
    // message (and the document marked modified) and an empty path.
    std::string SavedPathOrAsk();
    // The project's model of an XML or Jython file follows the file as it is shown first.
    void RefreshProjectOutline();
    // "Add Window to Project" of the XML and Jython views: the file joins the project's files
    // (its targets or outline read at once) and the project is marked modified.
    void AddAsProjectFile();
};

} // namespace tovin
