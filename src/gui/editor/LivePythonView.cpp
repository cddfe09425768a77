#include "gui/editor/LivePythonView.h"

#include "core/editor/TextCommands.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/editor/LiveEditorDoc.h"

namespace tovin {

CLivePythonView::CLivePythonView(CLiveEditorDoc& document, QWidget* parent)
    : CLiveEditorView(document, ELanguage::Jython, parent) {}

void CLivePythonView::OnInitialUpdate() {
    CLiveEditorView::OnInitialUpdate();
    RefreshProjectOutline();
}

void CLivePythonView::OnCharTyped(char typed) {
    AutoIndentNewLine(*this, typed, EAutoIndentForm::Jython, IndentUnit().SpaceStep());
}

void CLivePythonView::OnAddWindowToProject() {
    AddAsProjectFile();
}

void CLivePythonView::RunJython(bool console) {
    if (CJavaProjectDoc* project = Context().Project()) {
        project->RunJython(Document().PathName(), console, "");
    }
}

void CLivePythonView::OnRunJython() {
    RunJython(false);
}

void CLivePythonView::OnRunJythonWithConsole() {
    RunJython(true);
}

void CLivePythonView::OnCompileJythonFile() {
    if (CJavaProjectDoc* project = Context().Project()) {
        project->CompileJython(Document().PathName());
    }
}

} // namespace tovin
