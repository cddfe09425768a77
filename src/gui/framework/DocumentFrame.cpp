#include "gui/framework/DocumentFrame.h"

#include "gui/framework/DocTemplate.h"
#include "gui/framework/Document.h"

#include <QCloseEvent>

namespace tovin {

CDocumentFrame::CDocumentFrame(CDocument& document)
    : m_document(&document), m_documentKind(document.Template().DocumentKind()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(document.Template().Icon());
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
