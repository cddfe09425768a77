#pragma once
// The frame of a document window inside the main window: one view of one document. Closing
// it asks the document first; closing the last frame closes the document.

#include "gui/framework/CommandMap.h"
#include "gui/framework/Document.h"

#include <QMdiSubWindow>
#include <QPointer>

namespace tovin {

class CDocumentFrame : public QMdiSubWindow, public CCommandTarget {
    Q_OBJECT
public:
    explicit CDocumentFrame(CDocument& document);
    ~CDocumentFrame() override;

    CDocument* Document() const { return m_document.data(); }
    // The view: the document's widget in this frame.
    QWidget* View() const { return m_view; }
    virtual void SetView(QWidget* view);
    // The kind of the document it was made for; kept when the document goes first.
    EDocumentKind DocumentKind() const { return m_documentKind; }

    // Closes the frame without asking; the document is closing.
    void CloseByDocument();
    // The document went away first.
    void ForgetDocument() { m_document = nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // The widget that holds the view; frames with bars around the view override it.
    virtual void PlaceView(QWidget* view);

private:
    QPointer<CDocument> m_document;
    QWidget* m_view = nullptr;
    EDocumentKind m_documentKind;
    bool m_closingByDocument = false;
};

} // namespace tovin
