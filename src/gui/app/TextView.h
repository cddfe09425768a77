#pragma once
// The plain-text view of a CTextDocument: the stand-in for the source editors' views until
// those exist. It edits, prints, reports the caret's line and column in the status bar and
// carries the commands a text window answers itself.

#include "app/CommandMap.h"

#include <QPlainTextEdit>

namespace tovin {

class CTextDocument;
class CEditorApp;

class CTextView : public QPlainTextEdit, public CCommandTarget {
    Q_OBJECT
public:
    CTextView(CTextDocument& document, QWidget* parent);

    CTextDocument& Document() const { return m_document; }
    // The caret's line and column, both from 1, as the status bar shows them.
    int CaretLine() const;
    int CaretColumn() const;

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    void RegisterCommands();
    void RegisterProjectCommands();
    void UpdateCaretStatus();
    void PrintDocument();
    void PreviewDocument();

    CTextDocument& m_document;
    CEditorApp& m_app;
};

} // namespace tovin
