#pragma once
// CTextControl is the editor control as the editors' algorithms see it. The text always holds
// CR LF line breaks and positions are byte offsets in which a line break counts two. The
// in-memory CTextBuffer implements it for tests, benchmarks and headless use; the GUI
// implements it over QScintilla.

#include <algorithm>
#include <string>
#include <vector>

namespace tovin {

// Token classes of the colouring engine with the codes its class buffers hold.
enum class ETokenClass : signed char {
    Keyword = -1,
    Comment = -2,
    Normal = -3,
    String = -4,
    Tag = -5,
};

// How far the numbers a control keeps per line for the colouring (SetLineState) still hold for
// its text: those of lines 0 to validThrough, and those of the last tailLines lines as long as
// the first of these is confirmed. An edit leaves what lies before it as it was, and the lines
// after it too, except that they may now start in another state; so the colouring works out
// the states from the edited line on only until one agrees with what was kept.
struct SLineStateValidity {
    int validThrough = 0;
    int tailLines = 0;

    // Before an edit of lines [first, last] of a text of lineCount lines.
    void BeforeChange(int first, int last, int lineCount) {
        validThrough = std::min(validThrough, std::max(first, 0));
        tailLines = std::min(tailLines, std::max(lineCount - 1 - last, 0));
    }
    // Line `line` of lineCount lines now holds, and so does every line before it.
    void Confirm(int line, int lineCount) {
        validThrough = line;
        // The lines after it hold as long as it does.
        tailLines = line >= lineCount - 1 ? lineCount : std::min(tailLines, lineCount - 1 - line);
    }
};

class CTextControl {
public:
    virtual ~CTextControl() = default;

    virtual std::string GetText() const = 0;
    virtual int GetLength() const = 0;
    // Text of [start, end), clamped to the text.
    virtual std::string GetTextRange(int start, int end) const = 0;
    // Replaces the whole text (undoable); the selection becomes 0, 0. Marks the text modified.
    virtual void SetText(const std::string& text) = 0;

    virtual void GetSel(int& start, int& end) const = 0;
    // Selects [start, end); -1 as end means the end of the text. Values are clamped.
    virtual void SetSel(int start, int end) = 0;
    virtual std::string GetSelText() const = 0;
    // Replaces the selection (undoably) and leaves the caret after the new text.
    virtual void ReplaceSel(const std::string& text) = 0;

    // Zero-based line of a position (positions past the end give the last line).
    virtual int LineFromChar(int position) const = 0;
    // First position of a line; -1 when the line is past the last line.
    virtual int LineIndex(int line) const = 0;
    virtual int GetLineCount() const = 0;

    // Token class at a position (Normal outside the text).
    virtual ETokenClass GetClassAt(int position) const = 0;
    // True when every position of [start, end) has the class.
    virtual bool IsRangeClass(int start, int end, ETokenClass cls) const = 0;
    // Gives [start, end) the class's colour. Never changes text, selection or scroll position.
    virtual void SetRangeClass(int start, int end, ETokenClass cls) = 0;
    // The class of each position of [start, end) (within the text), read at once; a position
    // whose colour is no class's gets a value no class has, so it never counts as coloured.
    virtual std::vector<ETokenClass> GetClasses(int start, int end) const {
        std::vector<ETokenClass> classes;
        for (int i = std::max(start, 0); i < std::min(end, GetLength()); ++i) {
            classes.push_back(IsRangeClass(i, i + 1, GetClassAt(i)) ? GetClassAt(i)
                                                                    : ETokenClass{0});
        }
        return classes;
    }

    // A number the colouring keeps for a line of the text (0 until set); an edit moves each
    // line's number with its line. Which of them still hold says LineStateValidity, which the
    // control narrows before every edit.
    virtual int GetLineState(int line) const = 0;
    virtual void SetLineState(int line, int state) = 0;
    virtual SLineStateValidity& LineStateValidity() = 0;

    virtual bool GetModify() const = 0;
    virtual void SetModify(bool modified) = 0;
    virtual bool IsReadOnly() const = 0;
    virtual void SetReadOnly(bool readOnly) = 0;

    // Selection display and redraw suspension for whole-text passes; no effect on content.
    virtual void HideSelection(bool hide) = 0;
    virtual void SetRedraw(bool on) = 0;
    // First visible line, for restoring the scroll position after a whole-text pass.
    virtual int GetFirstVisibleLine() const = 0;
    virtual void SetFirstVisibleLine(int line) = 0;
    // Groups the edits between the two calls into one undo step.
    virtual void BeginUndoAction() = 0;
    virtual void EndUndoAction() = 0;
};

} // namespace tovin
