#pragma once
// The HTML view: HTML colouring, and the page commands: Insert Applet, Open In Web Browser,
// Run Applet, Run Ant... and Add Window to Project (as an applet page of the project).

#include "gui/editor/LiveEditorView.h"

namespace tovin {

class CLiveHTMLView : public CLiveEditorView {
    Q_OBJECT
public:
    CLiveHTMLView(CLiveEditorDoc& document, QWidget* parent);

    void OnAddWindowToProject() override;
    void OnInsertApplet();
    void OnOpenInWebBrowser();
    void OnRunApplet();
    // An XML file is run as the build file (its default target); any other page runs the
    // project's own build.xml.
    void OnRunAnt();

protected:
    CLiveHTMLView(CLiveEditorDoc& document, ELanguage language, QWidget* parent);
};

} // namespace tovin
