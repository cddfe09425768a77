#include "gui/editor/SyntaxWindowView.h"

#include "core/app/Settings.h"
#include "core/app/UiHost.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/editor/SyntaxWindowDoc.h"

namespace tovin {

CSyntaxWindowView::CSyntaxWindowView(CSyntaxWindowDoc& document, QWidget* parent)
    : CSourceView(document, ELanguage::Java, parent) {}

CSyntaxWindowDoc& CSyntaxWindowView::JavaDocument() const {
    return static_cast<CSyntaxWindowDoc&>(Document());
}

void CSyntaxWindowView::OnInitialUpdate() {
    CSourceView::OnInitialUpdate();
    RefreshFunctionList();
}

void CSyntaxWindowView::OnSyntaxColourUpdate() {
    ColourAll(true);
}

void CSyntaxWindowView::RefreshFunctionList() {
    JavaDocument().RefreshFromText(GetText());
    emit FunctionListChanged(FunctionNames());
}

QStringList CSyntaxWindowView::FunctionNames() const {
    QStringList names;
    for (const auto& function : JavaDocument().Info().Functions()) {
        names.append(QString::fromStdString(function.name));
    }
    return names;
}

void CSyntaxWindowView::OnRefreshFunctionList() {
    RefreshFunctionList();
}

void CSyntaxWindowView::OnFunctionListDropDown() {
    RefreshFunctionList();
}

void CSyntaxWindowView::OnFunctionChosen(int index) {
    const auto& functions = JavaDocument().Info().Functions();
    if (index < 0 || index >= static_cast<int>(functions.size())) {
        return;
    }
    SelectLine(LineFromChar(functions[static_cast<size_t>(index)].position));
    setFocus();
}

void CSyntaxWindowView::OnAddWindowToProject() {
    CSyntaxWindowDoc& document = JavaDocument();
    if (document.PathName().empty()) {
        // Marked modified, so that closing the window asks to save it.
        document.SetModified(true);
        Context().host->MessageBox("Please save the document first", "Tovin", EMsgButtons::Ok,
                                   EMsgIcon::Warning);
        return;
    }
    CJavaProjectDoc* project = Context().Project();
    if (!project) {
        return;
    }
    project->AddFile(document.PathName());
    project->SetModifiedFlag(true);
    RefreshFunctionList();
    project->RefreshViews();
}

void CSyntaxWindowView::OnCompile() {
    if (CJavaProjectDoc* project = Context().Project()) {
        project->CompileFile(Document().PathName(), JavaDocument().PackageName());
    }
}

void CSyntaxWindowView::OnJdkHelp() {
    if (Context().jdkHelp) {
        // The selected word without the blanks a double-click or a drag may take along.
        std::string keyword = GetSelText();
        const size_t first = keyword.find_first_not_of(" \t\r\n");
        const size_t last = keyword.find_last_not_of(" \t\r\n");
        Context().jdkHelp(first == std::string::npos ? std::string()
                                                     : keyword.substr(first, last - first + 1));
    }
}

void CSyntaxWindowView::OnConvertTabsToSpaces() {
    if (IsReadOnly()) {
        return;
    }
    ConvertTabsToSpaces(*this, IndentUnit().Spaces());
    ColourAll(false);
}

void CSyntaxWindowView::OnCharTyped(char typed) {
    if (typed == '\r') {
        AutoIndentNewLine(*this, typed, EAutoIndentForm::Java, IndentUnit().SpaceStep());
    } else if (typed == '}') {
        AlignClosingBrace(*this, IndentUnit().SpaceStep());
    }
}

} // namespace tovin
