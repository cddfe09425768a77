#pragma once
// What the Java editor and the HTML, XML and Jython views share: a coloured editor control on a
// CSourceDocument with the settings of its creation, the typed-character step (Tab, the
// language's after-character step, then the caret line's colouring), the caret status, the
// editing commands (indent, line breaks, find, print, Go to Line) and the context menu, and the
// aids beside the text (line numbers, compiler marks, the brace pair; EditorAids.h). The indent
// unit follows the indentation found in the document's file.
//
// Typing recolours the caret's line as each character is typed. Any other change of the text
// that did not come through a colouring pass (a paste, an undo, a drop, a replace) has the lines
// it touched recoloured the same way once control returns to the event loop, so no edit leaves
// text in stale colours.

#include "core/editor/Colourer.h"
#include "core/editor/TextCommands.h"
#include "gui/editor/ScintillaEdit.h"
#include "gui/framework/CommandMap.h"

#include <QPointer>

class QMenu;

namespace tovin {

class CFindReplace;
class CSourceDocument;
class CViewAids;
struct SEditorContext;

// The command map holds the commands the window carries out itself; the application fills it.
class CSourceView : public CScintillaEdit, public CCommandTarget {
    Q_OBJECT
public:
    CSourceView(CSourceDocument& document, ELanguage language, QWidget* parent);
    ~CSourceView() override;

    CSourceDocument& Document() const { return m_document; }
    const SEditorContext& Context() const;
    const CSettings& Settings() const;
    ELanguage Language() const { return m_colourer.Language(); }

    // Takes the font, tab width and colours from the settings again (they changed in the
    // Preferences); the text keeps its colouring.
    void ApplySettingsAppearance();

    // The first display: call once the view is in its frame.
    virtual void OnInitialUpdate();
    // The document's text was replaced from the file.
    virtual void OnTextReloaded();

    // ---- colouring
    virtual void ColourAll(bool suspendRedraw);
    void ColourLine();

    // ---- caret
    // "Line: %d" and "Col: %d" for the selection's end (a tab counts one column).
    QString LineStatusText() const;
    QString ColumnStatusText() const;
    void UpdateCaretStatus();
    // Selects the line without its line break, and shows it with some of the text around it.
    void SelectLine(int line);
    // Scrolls a line that is not well inside the view to a third of the way down it.
    void ShowWithContext(int line);

    // ---- commands
    void OnIncreaseIndent();
    void OnDecreaseIndent();
    void OnConvertLinebreaks();
    virtual void OnSyntaxColourUpdate();
    void OnFind();
    void OnReplace();
    void OnRepeat();
    void OnPrint();
    void OnPrintPreview();
    void OnJdkHelp();
    CFindReplace& Finder() const { return *m_finder; }
    // The pop-up of the text: undo, clipboard, select all, colour update.
    QMenu* CreateTextPopup();

    // ---- editing aids
    // The indent unit, following the file's own indentation.
    const CIndentUnit& IndentUnit() const { return m_indentUnit; }
    // "Spaces: 4" or "Tabs": how new levels are indented.
    QString IndentStatusText() const;
    // Line numbers, compiler marks and the brace pair.
    CViewAids& Aids() const { return *m_aids; }
    // "Go to Line...": asks for a line number, then GoToLine.
    void OnGoToLine();
    // Puts the caret at the start of the zero-based line and shows it.
    void GoToLine(int line);

signals:
    void CaretStatusChanged(const QString& line, const QString& column);
    // A key press has been dealt with; typed is the character it typed ('\r' for a line
    // break), 0 when it typed none.
    void KeyHandled(char typed);

protected:
    // Tab and Shift+Tab; true when the key was dealt with.
    bool HandleTab(bool shift);
    // After the control handled a typed character ('\r' for Enter).
    virtual void OnCharTyped(char typed) = 0;

    const CColourer& Colourer() const { return m_colourer; }
    // The selection is not empty.
    bool HasSelection() const;

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void ShareDocumentText();
    // Called before each insertion or deletion (the control reports no others).
    void OnTextModified(int position, int type, int length);
    void ScheduleRecolour();
    // Colours the lines changed outside the typed-character step.
    void RecolourChangedLines();
    void ClearChangedLines();

    CSourceDocument& m_document;
    // The document may go first when the application ends; the view then leaves it alone.
    QPointer<CSourceDocument> m_documentAlive;
    CColourer m_colourer;
    CFindReplace* m_finder;
    CIndentUnit m_indentUnit;
    CViewAids* m_aids = nullptr;
    // The text changed outside a colouring pass lies in [m_changedStart, m_changedEnd] (byte
    // positions, kept in step with later edits); -1 when nothing changed.
    int m_changedStart = -1;
    int m_changedEnd = -1;
    bool m_recolourScheduled = false;
    bool m_inColouringPass = false;
};

} // namespace tovin
