#include "gui/editor/LiveXMLView.h"

#include "core/editor/TextCommands.h"
#include "gui/editor/LiveEditorDoc.h"

namespace tovin {

CLiveXMLView::CLiveXMLView(CLiveEditorDoc& document, QWidget* parent)
    : CLiveHTMLView(document, ELanguage::Xml, parent) {}

void CLiveXMLView::OnInitialUpdate() {
    CLiveHTMLView::OnInitialUpdate();
    RefreshProjectOutline();
}

void CLiveXMLView::OnAddWindowToProject() {
    AddAsProjectFile();
}

void CLiveXMLView::OnCharTyped(char typed) {
    CLiveEditorView::OnCharTyped(typed);
    if (typed == '>') {
        AlignClosingTag(*this);
    }
}

} // namespace tovin
