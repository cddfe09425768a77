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
