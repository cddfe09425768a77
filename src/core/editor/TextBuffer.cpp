#include "core/editor/TextBuffer.h"

#include <algorithm>

namespace tovin {

CTextBuffer::CTextBuffer(std::string text)
    : m_text(std::move(text)), m_classes(m_text.size(), ETokenClass::Normal) {}

int CTextBuffer::Clamp(int position) const {
    return std::clamp(position, 0, GetLength());
}

std::string CTextBuffer::GetTextRange(int start, int end) const {
    start = Clamp(start);
    end = Clamp(end);
    return end > start ? m_text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start))
                       : std::string();
}

void CTextBuffer::SetText(const std::string& text) {
    if (m_readOnly) {
        return;
    }
    m_text = text;
    m_classes.assign(m_text.size(), ETokenClass::Normal);
    m_selStart = m_selEnd = 0;
    m_modified = true;
    m_linesValid = false;
    m_lineStates.clear();
    m_lineStateValidity = {};
}

void CTextBuffer::GetSel(int& start, int& end) const {
    start = m_selStart;
    end = m_selEnd;
}

void CTextBuffer::SetSel(int start, int end) {
    if (end < 0) {
        end = GetLength();
    }
    m_selStart = Clamp(start);
    m_selEnd = Clamp(end);
    if (m_selEnd < m_selStart) {
        std::swap(m_selStart, m_selEnd);
    }
}

std::string CTextBuffer::GetSelText() const {
    return GetTextRange(m_selStart, m_selEnd);
}

void CTextBuffer::ReplaceSel(const std::string& text) {
    if (m_readOnly) {
        return;
    }
    const int firstLine = LineFromChar(m_selStart);
    const int lastLine = LineFromChar(m_selEnd);
    const int lineCount = GetLineCount();
    m_lineStateValidity.BeforeChange(firstLine, lastLine, lineCount);
    auto start = static_cast<size_t>(m_selStart);
    auto count = static_cast<size_t>(m_selEnd - m_selStart);
    m_text.replace(start, count, text);
    m_classes.erase(m_classes.begin() + m_selStart, m_classes.begin() + m_selEnd);
    m_classes.insert(m_classes.begin() + m_selStart, text.size(), ETokenClass::Normal);
    m_selStart = m_selEnd = m_selStart + static_cast<int>(text.size());
    m_modified = true;
    m_linesValid = false;
    // The lines after the edit keep their numbers, counted from the end.
    m_lineStates.resize(static_cast<size_t>(lineCount));
    const auto after = m_lineStates.begin() + lastLine + 1;
    const int added = GetLineCount() - lineCount;
    if (added > 0) {
        m_lineStates.insert(after, static_cast<size_t>(added), 0);
    } else {
        m_lineStates.erase(after + added, after);
    }
}

void CTextBuffer::RebuildLines() const {
    if (m_linesValid) {
        return;
    }
    m_lineStarts.assign(1, 0);
    for (size_t i = 0; i < m_text.size(); ++i) {
        // A line ends at LF; CR LF is one break, a lone CR also ends a line as in the editor.
        if (m_text[i] == '\n' ||
            (m_text[i] == '\r' && (i + 1 >= m_text.size() || m_text[i + 1] != '\n'))) {
            m_lineStarts.push_back(static_cast<int>(i + 1));
        }
    }
    m_linesValid = true;
}

int CTextBuffer::LineFromChar(int position) const {
    RebuildLines();
    position = Clamp(position);
    auto it = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), position);
    return static_cast<int>(it - m_lineStarts.begin()) - 1;
}

int CTextBuffer::LineIndex(int line) const {
    RebuildLines();
    if (line < 0 || line >= static_cast<int>(m_lineStarts.size())) {
        return -1;
    }
    return m_lineStarts[static_cast<size_t>(line)];
}

int CTextBuffer::GetLineCount() const {
    RebuildLines();
    return static_cast<int>(m_lineStarts.size());
}

int CTextBuffer::GetLineState(int line) const {
    return line >= 0 && line < static_cast<int>(m_lineStates.size())
               ? m_lineStates[static_cast<size_t>(line)]
               : 0;
}

void CTextBuffer::SetLineState(int line, int state) {
    if (line < 0 || line >= GetLineCount()) {
        return;
    }
    if (line >= static_cast<int>(m_lineStates.size())) {
        m_lineStates.resize(static_cast<size_t>(GetLineCount()));
    }
    m_lineStates[static_cast<size_t>(line)] = state;
}

ETokenClass CTextBuffer::GetClassAt(int position) const {
    if (position < 0 || position >= GetLength()) {
        return ETokenClass::Normal;
    }
    return m_classes[static_cast<size_t>(position)];
}

bool CTextBuffer::IsRangeClass(int start, int end, ETokenClass cls) const {
    start = Clamp(start);
    end = Clamp(end);
    return std::all_of(m_classes.begin() + start, m_classes.begin() + std::max(start, end),
                       [cls](ETokenClass c) { return c == cls; });
}

void CTextBuffer::SetRangeClass(int start, int end, ETokenClass cls) {
    start = Clamp(start);
    end = Clamp(end);
    if (end <= start || IsRangeClass(start, end, cls)) {
        return;
    }
    std::fill(m_classes.begin() + start, m_classes.begin() + end, cls);
    ++m_classChanges;
}

} // namespace tovin
