#include "gui/editor/LiveXMLView.h"

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

} // namespace tovin
