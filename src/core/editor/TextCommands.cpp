#include "core/editor/TextCommands.h"

#include <algorithm>

namespace tovin {

namespace {

// A tab width beyond this is a damaged setting; the cap keeps the spaces string small.
constexpr int kMaxTabWidth = 256;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Position just past the text of a line, before its line break (the end of the text for the
// last line).
int LineEnd(const CTextControl& text, int line) {
    int next = text.LineIndex(line + 1);
    if (next < 0) {
        return text.GetLength();
    }
    std::string brk = text.GetTextRange(next - 2, next);
    return brk == "\r\n" ? next - 2 : next - 1;
}

std::string LineText(const CTextControl& text, int line) {
    return text.GetTextRange(text.LineIndex(line), LineEnd(text, line));
}

// First and last line a selection touches; last < first when none is touched (an empty
// selection at the very start of a line ends on the line before).
void SelectedLines(const CTextControl& text, int& first, int& last) {
    int start = 0, end = 0;
    text.GetSel(start, end);
    first = text.LineFromChar(start);
    last = end > 0 ? text.LineFromChar(end - 1) : -1;
}

class CUndoStep {
public:
    explicit CUndoStep(CTextControl& text) : m_text(text) { m_text.BeginUndoAction(); }
    ~CUndoStep() { m_text.EndUndoAction(); }
    CUndoStep(const CUndoStep&) = delete;
    CUndoStep& operator=(const CUndoStep&) = delete;

private:
    CTextControl& m_text;
};

void IndentLinesWith(CTextControl& text, const std::string& indent) {
    int first = 0, last = 0;
    SelectedLines(text, first, last);
    CUndoStep step(text);
    for (int line = first; line <= last; ++line) {
        int start = text.LineIndex(line);
        text.SetSel(start, start);
        text.ReplaceSel(indent);
    }
    text.SetSel(text.LineIndex(first), text.LineIndex(last + 1));
}

struct SLeadingScan {
    int tabs = 0;
    int spaces = 0;
    bool star = false;
};

SLeadingScan ScanLeading(const std::string& line, bool java) {
    SLeadingScan scan;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        char next = i + 1 < line.size() ? line[i + 1] : '\0';
        if (c == '\t') {
            ++scan.tabs;
        } else if (c == ' ') {
            ++scan.spaces;
        } else {
            // Inside a block comment the new line continues it with "* ".
            if (java && ((c == '*' && next != '/') || (c == '/' && next == '*'))) {
                scan.star = true;
            }
            break;
        }
    }
    return scan;
}

// Levels the line's end adds: one for a trailing ":" (Jython), one per trailing "{" (Java).
// Characters before `lowest` are not looked at (the tab form never looks at the first one).
int TrailingTabs(const std::string& line, EAutoIndentForm form, size_t lowest = 1) {
    int tabs = 0;
    for (size_t i = line.size(); i-- > lowest;) {
        char c = line[i];
        if (IsBlank(c)) {
            continue;
        }
        if (form == EAutoIndentForm::Jython) {
            return c == ':' ? 1 : 0;
        }
        if (form == EAutoIndentForm::Java && c == '{') {
            ++tabs;
            continue;
        }
        break;
    }
    return tabs;
}

// Replaces every occurrence of a text in one left-to-right pass.
std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
    std::string result;
    size_t done = 0;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, done)) {
        result.append(text, done, at - done).append(to);
        done = at + from.size();
    }
    return result.append(text, done, std::string::npos);
}

// The leading run of blanks of a line.
std::string Leading(const std::string& line) {
    return line.substr(0, std::min(line.find_first_not_of(" \t"), line.size()));
}

// An indentation one level less: without its last tab, or without its trailing spaces back to
// the previous multiple of the step.
std::string OneLevelLess(std::string indent, int spaceStep) {
    if (!indent.empty() && indent.back() == '\t') {
        indent.pop_back();
        return indent;
    }
    const size_t spaces = indent.size() - std::min(indent.find_last_not_of(' ') + 1, indent.size());
    if (spaces > 0) {
        indent.resize(indent.size() - ((spaces - 1) % static_cast<size_t>(spaceStep) + 1));
    }
    return indent;
}

// Replaces the leading blanks of a line (which are `indent.size()` long) by `replacement`.
void ReplaceIndent(CTextControl& text, int line, const std::string& indent,
                   const std::string& replacement) {
    const int start = text.LineIndex(line);
    text.SetSel(start, start + static_cast<int>(indent.size()));
    text.ReplaceSel(replacement);
}

// The block comment a line opens or goes on with: what the next line starts with after the
// copied indentation ("" when the line is no such comment, or closes it).
std::string StarContinuation(const std::string& line) {
    const std::string rest = line.substr(Leading(line).size());
    const bool closes = rest.size() >= 2 && rest.compare(rest.size() - 2, 2, "*/") == 0;
    if (rest.starts_with("/*") && !closes) {
        return " * ";
    }
    if (rest.starts_with("*") && !rest.starts_with("*/") && !closes) {
        return "* ";
    }
    return {};
}

void AutoIndentWithSpaces(CTextControl& text, const std::string& line, EAutoIndentForm form,
                          int spaceStep) {
    std::string indent = Leading(line);
    indent.append(static_cast<size_t>(TrailingTabs(line, form, 0) * spaceStep), ' ');
    if (form == EAutoIndentForm::Java) {
        indent += StarContinuation(line);
    }
    if (indent.empty()) {
        return;
    }
    text.HideSelection(true);
    text.ReplaceSel(indent);
    text.HideSelection(false);
}

void AlignClosingBraceWithSpaces(CTextControl& text, int spaceStep) {
    int start = 0, end = 0;
    text.GetSel(start, end);
    const int line = text.LineFromChar(start);
    const std::string current = LineText(text, line);
    const std::string indent = Leading(current);
    if (indent.size() == current.size() || current[indent.size()] != '}') {
        return;
    }
    const std::string less = OneLevelLess(indent, spaceStep);
    if (less == indent) {
        return;
    }
    CUndoStep step(text);
    text.HideSelection(true);
    ReplaceIndent(text, line, indent, less);
    const int caret = start - static_cast<int>(indent.size() - less.size());
    text.SetSel(caret, caret);
    text.HideSelection(false);
}

void PutBackModified(CTextControl& text, const std::string& converted) {
    if (text.IsReadOnly()) {
        return;
    }
    CUndoStep step(text);
    text.SetText(converted);
    text.SetModify(true);
}

} // namespace

std::string MakeSpaces(int tabWidth) {
    return std::string(static_cast<size_t>(std::clamp(tabWidth, 0, kMaxTabWidth)), ' ');
}

CIndentUnit::CIndentUnit(const CSettings& settings, bool followsSpaceTabs)
    : m_settings(settings), m_spaces(MakeSpaces(settings.tabWidth)),
      m_followsSpaceTabs(followsSpaceTabs) {}

std::string CIndentUnit::Text() const {
    if (m_fileStyle && m_fileStyle->UsesSpaces()) {
        return std::string(static_cast<size_t>(m_fileStyle->spaceStep), ' ');
    }
    return m_followsSpaceTabs && m_settings.spaceTabs ? m_spaces : std::string("\t");
}

int CIndentUnit::SpaceStep() const {
    if (m_fileStyle) {
        return m_fileStyle->spaceStep;
    }
    return m_followsSpaceTabs && m_settings.spaceTabs ? static_cast<int>(m_spaces.size()) : 0;
}

void IndentLines(CTextControl& text) {
    IndentLinesWith(text, "\t");
}

void IndentLines(CTextControl& text, const CIndentUnit& unit) {
    IndentLinesWith(text, unit.Text());
}

void UnindentLines(CTextControl& text, int spaceStep) {
    int first = 0, last = 0;
    SelectedLines(text, first, last);
    CUndoStep step(text);
    for (int line = first; line <= last; ++line) {
        int start = text.LineIndex(line);
        if (spaceStep > 0) {
            const std::string indent = Leading(LineText(text, line));
            const std::string less = OneLevelLess(indent, spaceStep);
            if (less != indent) {
                ReplaceIndent(text, line, indent, less);
            }
            continue;
        }
        std::string c = text.GetTextRange(start, start + 1);
        if (c == "\t" || c == " ") {
            text.SetSel(start, start + 1);
            text.ReplaceSel("");
        }
    }
    // Up to the end of the last line's text: a selection never ends inside a CR LF break.
    int end = last >= first ? LineEnd(text, last) : text.LineIndex(first);
    text.SetSel(text.LineIndex(first), end);
}

void InsertIndentUnit(CTextControl& text, const CIndentUnit& unit) {
    text.ReplaceSel(unit.Text());
}

void AutoIndentNewLine(CTextControl& text, char typed, EAutoIndentForm form, int spaceStep) {
    if (typed != '\r') {
        return;
    }
    int start = 0, end = 0;
    text.GetSel(start, end);
    int previous = text.LineFromChar(start) - 1;
    if (previous < 0) {
        return;
    }
    std::string line = LineText(text, previous);
    if (spaceStep > 0) {
        AutoIndentWithSpaces(text, line, form, spaceStep);
        return;
    }
    SLeadingScan scan = ScanLeading(line, form == EAutoIndentForm::Java);
    scan.tabs += TrailingTabs(line, form);
    if (scan.tabs == 0 && scan.spaces == 0) {
        return;
    }
    std::string indent = std::string(static_cast<size_t>(scan.tabs), '\t') +
                         std::string(static_cast<size_t>(scan.spaces), ' ');
    if (scan.star) {
        indent += "* ";
    }
    text.HideSelection(true);
    text.ReplaceSel(indent);
    text.HideSelection(false);
}

void AlignClosingBrace(CTextControl& text, int spaceStep) {
    if (spaceStep > 0) {
        AlignClosingBraceWithSpaces(text, spaceStep);
        return;
    }
    int start = 0, end = 0;
    text.GetSel(start, end);
    int line = text.LineFromChar(start);
    if (line <= 0) {
        return;
    }
    std::string current = LineText(text, line);
    size_t brace = current.find_first_not_of(" \t");
    if (brace == std::string::npos || current[brace] != '}') {
        return;
    }
    std::string above = LineText(text, line - 1);
    std::string indent = above.substr(0, std::min(above.find_first_not_of(" \t"), above.size()));
    if (!indent.empty()) {
        indent.pop_back();
    }
    int lineStart = text.LineIndex(line);
    int caretAfterBrace = start - (lineStart + static_cast<int>(brace));
    CUndoStep step(text);
    text.HideSelection(true);
    text.SetSel(lineStart, LineEnd(text, line));
    text.ReplaceSel(indent + current.substr(brace));
    int caret = lineStart + static_cast<int>(indent.size()) + std::max(caretAfterBrace, 0);
    text.SetSel(caret, caret);
    text.HideSelection(false);
}

void ConvertLinebreaks(CTextControl& text) {
    std::string source = text.GetText();
    std::string converted;
    converted.reserve(source.size() + source.size() / 16);
    for (size_t i = 0; i < source.size(); ++i) {
        char c = source[i];
        if (c == '\r' || c == '\n') {
            converted += "\r\n";
            if (c == '\r' && i + 1 < source.size() && source[i + 1] == '\n') {
                ++i;
            }
        } else {
            converted += c;
        }
    }
    PutBackModified(text, converted);
}

void ConvertTabsToSpaces(CTextControl& text, const std::string& spaces) {
    PutBackModified(text, ReplaceAll(text.GetText(), "\t", spaces));
}

bool InsertApplet(CTextControl& text, const std::string& mainFileName, CUiHost& host) {
    if (mainFileName.empty()) {
        host.MessageBox("Please set the applet class as main.", "Tovin", EMsgButtons::Ok,
                        EMsgIcon::Warning);
        return false;
    }
    std::string classFile = ReplaceAll(mainFileName, ".java", ".class");
    text.ReplaceSel("\r\n<APPLET CODE=\"" + classFile + "\" \r\n\tWIDTH=300\r\n\tHEIGHT=300>\r\n" +
                    "Applet " + classFile + "\r\n</APPLET>\r\n");
    return true;
}

} // namespace tovin
