#include "gui/editor/LiveHTMLView.h"

#include "core/app/UiHost.h"
#include "core/editor/TextCommands.h"
#include "core/platform/Paths.h"
#include "core/project/AntCommands.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/desktop/DesktopRequests.h"
#include "gui/editor/LiveEditorDoc.h"

namespace tovin {

CLiveHTMLView::CLiveHTMLView(CLiveEditorDoc& document, QWidget* parent)
    : CLiveHTMLView(document, ELanguage::Html, parent) {}

CLiveHTMLView::CLiveHTMLView(CLiveEditorDoc& document, ELanguage language, QWidget* parent)
    : CLiveEditorView(document, language, parent) {}

void CLiveHTMLView::OnAddWindowToProject() {
    const std::string path = SavedPathOrAsk();
    CJavaProjectDoc* project = Context().Project();
    if (!path.empty() && project) {
        project->AddHtmlFile(path);
    }
}

void CLiveHTMLView::OnInsertApplet() {
    CJavaProjectDoc* project = Context().Project();
    if (!project || IsReadOnly()) {
        return;
    }
    if (InsertApplet(*this, project->GetMainFileName(), *Context().host)) {
        ColourAll(false);
    }
}

void CLiveHTMLView::OnOpenInWebBrowser() {
    // The browser shows the page as saved; a window never saved has nothing to show.
    if (!Document().PathName().empty()) {
        OpenWithDesktopOrSay(*Context().host, Document().PathName());
    }
}

void CLiveHTMLView::OnRunApplet() {
    if (CJavaProjectDoc* project = Context().Project()) {
        project->RunApplet(Document().PathName());
    }
}

void CLiveHTMLView::OnRunAnt() {
    CJavaProjectDoc* project = Context().Project();
    if (!project) {
        return;
    }
    const std::string& path = Document().PathName();
    if (GetExtension(path) == "xml") {
        RunAnt(*project, path, "");
    } else {
        RunProjectAnt(*project);
    }
}

} // namespace tovin
