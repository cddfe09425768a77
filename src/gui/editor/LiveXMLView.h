#pragma once
// The XML view (Ant build files): the HTML view's commands with Ant colouring; "Add Window to
// Project" adds the file as a project file, whose targets the project then lists. A typed
// closing tag lines up with its element's opening tag.

#include "gui/editor/LiveHTMLView.h"

namespace tovin {

class CLiveXMLView : public CLiveHTMLView {
    Q_OBJECT
public:
    CLiveXMLView(CLiveEditorDoc& document, QWidget* parent);

    void OnInitialUpdate() override;
    void OnAddWindowToProject() override;

protected:
    void OnCharTyped(char typed) override;
};

} // namespace tovin
