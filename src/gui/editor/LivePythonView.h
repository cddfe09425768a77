#pragma once
// The Jython view: Jython colouring (line by line), Enter indents one more tab after a line
// ending in ":", and the Jython commands of the project: Run Jython (with or without a
// console), Compile Jython File, Add Window to Project.

#include "gui/editor/LiveEditorView.h"

namespace tovin {

class CLivePythonView : public CLiveEditorView {
    Q_OBJECT
public:
    CLivePythonView(CLiveEditorDoc& document, QWidget* parent);

    void OnInitialUpdate() override;
    void OnAddWindowToProject() override;
    void OnRunJython();
    void OnRunJythonWithConsole();
    void OnCompileJythonFile();

protected:
    void OnCharTyped(char typed) override;

private:
    void RunJython(bool console);
};

} // namespace tovin
