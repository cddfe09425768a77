#pragma once
// The editor control: a QsciScintilla that is the editors' CTextControl. It holds the text with
// CR LF line breaks (typed and pasted breaks included), positions are byte offsets, and the
// token classes are Scintilla styles 0..4 whose foreground is the class colour, so colouring a
// range never moves the selection or scrolls. The text is UTF-8, or 8-bit for files that are
// not valid UTF-8: the control's text is always read and written as raw bytes, so such a file's
// bytes round-trip unchanged.
//
// Appearance comes from the settings once, when the control is configured: font (FONTNAME,
// FONTSIZE in tenths of a point, falling back to a monospace face), tab width, the class
// colours, and the palette's window-text colour for normal text. No word wrap; an 8-pixel
// left margin; multi-level undo.
//
// The colouring's per-line states are Scintilla's line states (moved with their lines by the
// control); which of them still hold is narrowed before each insertion and deletion, and is
// shared by the controls that show one text.
//
// Text changes are reported only as the "before insert" and "before delete" modifications
// (position and length; the text too for an insertion), and QScintilla's textChanged() and
// linesChanged() are not emitted. QScintilla turns every "inserted" or "deleted"
// notification into an accessibility event whose offset is counted in characters from the
// start of the text, which makes each key press cost time in proportion to the file's size.
// For the same reason the control's accessibility object is a plain widget's until a client
// is active (QScintilla's counts up to the caret on every caret move). While an accessibility
// client is active every modification is reported again and QScintilla's object is used, so a
// screen reader still receives its text and caret events (at that cost).

#include "core/editor/TextControl.h"

#include <QAccessible>
#include <Qsci/qsciscintilla.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QPrinter;
class QsciPrinter;

namespace tovin {

struct CSettings;

// What a control shows, taken from the settings when a view is created.
struct SEditorAppearance {
    std::string fontName = "Courier New";
    int fontSizeTenths = 100;
    int tabWidth = 3;
    // Colour references (0x00BBGGRR), Scintilla's own colour form.
    std::uint32_t normalColour = 0;
    std::uint32_t keywordColour = 0;
    std::uint32_t commentColour = 0;
    std::uint32_t stringColour = 0;
    std::uint32_t tagColour = 0;

    // The settings' font, tab width and colours; normal text in the palette's window-text
    // colour.
    static SEditorAppearance FromSettings(const CSettings& settings);
};

// The Scintilla style that shows a token class.
int StyleOfClass(ETokenClass cls);
// A QColor as a colour reference.
std::uint32_t ColourReference(const QColor& colour);

class CScintillaEdit : public QsciScintilla, public CTextControl, QAccessible::ActivationObserver {
    Q_OBJECT
public:
    explicit CScintillaEdit(QWidget* parent = nullptr);
    ~CScintillaEdit() override;

    // Font, tab width and class colours. Styling already applied is kept.
    void ApplyAppearance(const SEditorAppearance& appearance);
    const SEditorAppearance& Appearance() const { return m_appearance; }
    // 8-bit mode takes every byte as one character (Latin-1 on screen); else UTF-8.
    void SetEightBit(bool eightBit);
    bool IsEightBit() const { return !isUtf8(); }
    // Replaces the text without an undo step, unstyled, unmodified, caret at 0: a file's
    // content as it was read.
    void LoadText(const std::string& text);
    // Shows the other control's text: edits, styles and undo become common to both.
    void ShareTextOf(const CScintillaEdit& other);
    // The family the font resolved to (the settings' face, or a monospace fallback).
    QString ResolvedFontFamily() const;

    // ---- CTextControl
    std::string GetText() const override;
    int GetLength() const override;
    std::string GetTextRange(int start, int end) const override;
    void SetText(const std::string& text) override;
    void GetSel(int& start, int& end) const override;
    void SetSel(int start, int end) override;
    std::string GetSelText() const override;
    void ReplaceSel(const std::string& text) override;
    int LineFromChar(int position) const override;
    int LineIndex(int line) const override;
    int GetLineCount() const override;
    ETokenClass GetClassAt(int position) const override;
    bool IsRangeClass(int start, int end, ETokenClass cls) const override;
    void SetRangeClass(int start, int end, ETokenClass cls) override;
    std::vector<ETokenClass> GetClasses(int start, int end) const override;
    int GetLineState(int line) const override;
    void SetLineState(int line, int state) override;
    SLineStateValidity& LineStateValidity() override { return *m_lineStateValidity; }
    bool GetModify() const override;
    void SetModify(bool modified) override;
    bool IsReadOnly() const override;
    void SetReadOnly(bool readOnly) override;
    void HideSelection(bool hide) override;
    void SetRedraw(bool on) override;
    int GetFirstVisibleLine() const override;
    void SetFirstVisibleLine(int line) override;
    void BeginUndoAction() override;
    void EndUndoAction() override;

    // ---- printing: the text on pages with half-inch margins
    // Sets the printer's margins and prints every page; false when printing failed.
    bool PrintTo(QsciPrinter& printer);
    // The print dialog, then the pages. With `setup` (the application's printer of Print
    // Setup) the printer and page start as chosen there, and the choices go back to it.
    void PrintWithDialog(QPrinter* setup = nullptr);
    void ShowPrintPreview(QPrinter* setup = nullptr);

    // Sends a Scintilla message; shorthand for the many integer messages.
    long Send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const {
        return SendScintilla(message, wParam, lParam);
    }

signals:
    // The modified flag changed (also when set or cleared through SetModify).
    void ModifiedChanged(bool modified);

private:
    void ConfigureControl();
    // Sizes the position cache for the longest line of `text`.
    void FitPositionCache(const std::string& text);
    void RemoveConflictingKeys();
    void EmitModifiedIfChanged();
    // Before an insertion or deletion: the line states from its line on are in doubt.
    void BeforeTextChange(int position, int type, int length);
    // The modifications Scintilla reports: all of them while an accessibility client is
    // active, else only those before a change.
    void SetModificationEvents();
    void SetModificationEvents(bool accessible);
    void accessibilityActiveChanged(bool active) override;

    SEditorAppearance m_appearance;
    // Scintilla knows "modified" only as "away from the save point"; a document can also be
    // marked modified without an edit (a never-saved window added to a project).
    bool m_markedModified = false;
    bool m_lastModified = false;
    mutable std::vector<char> m_styledText;
    std::shared_ptr<SLineStateValidity> m_lineStateValidity =
        std::make_shared<SLineStateValidity>();
};

} // namespace tovin
