#pragma once
// In-memory CTextControl: the text, one token class per position, a selection, the modified
// and read-only flags. Line starts are cached and rebuilt after a text change.

#include "core/editor/TextControl.h"

#include <vector>

namespace tovin {

class CTextBuffer final : public CTextControl {
public:
    CTextBuffer() = default;
    explicit CTextBuffer(std::string text);

    std::string GetText() const override { return m_text; }
    int GetLength() const override { return static_cast<int>(m_text.size()); }
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

    int GetLineState(int line) const override;
    void SetLineState(int line, int state) override;
    SLineStateValidity& LineStateValidity() override { return m_lineStateValidity; }

    bool GetModify() const override { return m_modified; }
    void SetModify(bool modified) override { m_modified = modified; }
    bool IsReadOnly() const override { return m_readOnly; }
    void SetReadOnly(bool readOnly) override { m_readOnly = readOnly; }

    void HideSelection(bool hide) override { m_selectionHidden = hide; }
    void SetRedraw(bool on) override { m_redraw = on; }
    int GetFirstVisibleLine() const override { return m_firstVisibleLine; }
    void SetFirstVisibleLine(int line) override { m_firstVisibleLine = line < 0 ? 0 : line; }
    void BeginUndoAction() override {}
    void EndUndoAction() override {}

    // For tests: how many SetRangeClass calls changed at least one position.
    int ClassChangeCount() const { return m_classChanges; }
    bool IsSelectionHidden() const { return m_selectionHidden; }
    bool IsRedrawOn() const { return m_redraw; }

private:
    int Clamp(int position) const;
    void RebuildLines() const;

    std::string m_text;
    std::vector<ETokenClass> m_classes;
    int m_selStart = 0;
    int m_selEnd = 0;
    bool m_modified = false;
    bool m_readOnly = false;
    bool m_selectionHidden = false;
    bool m_redraw = true;
    int m_firstVisibleLine = 0;
    int m_classChanges = 0;
    // One number per line, moved with the lines an edit leaves after it.
    std::vector<int> m_lineStates;
    SLineStateValidity m_lineStateValidity;
    mutable std::vector<int> m_lineStarts;
    mutable bool m_linesValid = false;
};

} // namespace tovin
