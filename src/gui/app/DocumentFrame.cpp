#include "app/DocumentFrame.h"

#include "app/DocTemplate.h"
#include "app/Document.h"
#include "app/SvgIcon.h"

#include <QCloseEvent>

namespace tovin {

namespace {

const char* IconFor(EDocumentKind kind) {
    switch (kind) {
    case EDocumentKind::JavaSource:
        return "java-file";
    case EDocumentKind::Project:
        return "project";
    case EDocumentKind::Html:
        return "html-file";
    case EDocumentKind::Xml:
        return "xml-file";
    case EDocumentKind::Jython:
        return "jython-file";
    case EDocumentKind::None:
    case EDocumentKind::Other:
        break;
    }
    return "new";
}

} // namespace

CDocumentFrame::CDocumentFrame(CDocument& document)
    : m_document(&document), m_menuKind(document.Template().MenuKind()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(OwnIcon(QLatin1String(IconFor(document.Template().DocumentKind()))));
}

CDocumentFrame::~CDocumentFrame() {
    if (m_document) {
        m_document->DetachFrame(this);
    }
}

void CDocumentFrame::SetView(QWidget* view) {
    m_view = view;
    PlaceView(view);
}

void CDocumentFrame::PlaceView(QWidget* view) {
    setWidget(view);
}

void CDocumentFrame::CloseByDocument() {
    m_closingByDocument = true;
    close();
}

void CDocumentFrame::closeEvent(QCloseEvent* event) {
    if (m_closingByDocument || !m_document) {
        QMdiSubWindow::closeEvent(event);
        return;
    }
    if (!m_document->CanCloseFrame(this)) {
        event->ignore();
        return;
    }
    CDocument* document = m_document;
    const bool last = document->Frames().size() <= 1;
    m_closingByDocument = true;
    document->DetachFrame(this);
    m_document = nullptr;
    if (last) {
        document->OnCloseDocument();
    }
    QMdiSubWindow::closeEvent(event);
}

} // namespace tovin
