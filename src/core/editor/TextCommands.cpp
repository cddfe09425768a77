#include "core/editor/TextCommands.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace tovin {

namespace {

// A tab width beyond this is a damaged setting; the cap keeps the spaces string small.
constexpr int kMaxTabWidth = 256;
// Brackets are looked for outwards in steps of this many bytes.
constexpr int kPartnerChunk = 16 << 10;

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

// Gives a line the indentation `wanted` in place of its own (`indent`) as one undo step; the
// caret keeps its place relative to the text after the indentation.
void ReindentLine(CTextControl& text, int line, const std::string& indent,
                  const std::string& wanted) {
    if (wanted == indent) {
        return;
    }
    int start = 0, end = 0;
    text.GetSel(start, end);
    const int textStart = text.LineIndex(line) + static_cast<int>(indent.size());
    CUndoStep step(text);
    text.HideSelection(true);
    ReplaceIndent(text, line, indent, wanted);
    const int moved = static_cast<int>(wanted.size()) - static_cast<int>(indent.size());
    const int caret = start >= textStart ? start + moved : std::min(start, textStart + moved);
    text.SetSel(caret, caret);
    text.HideSelection(false);
}

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_' || c == ':' ||
           c == '.' || static_cast<unsigned char>(c) >= 0x80;
}

// The element name a tag's text starts with (after "<" or "</"); empty when it starts with none.
std::string_view TagName(std::string_view tag) {
    size_t length = 0;
    while (length < tag.size() && IsNameChar(tag[length])) {
        ++length;
    }
    return tag.substr(0, length);
}

// The position of the "<" of the nearest opening tag of `name` before `before` that no closing
// tag of the same name between them closes; -1 when there is none within kMaxPartnerDistance.
int FindOpeningTag(const CTextControl& text, int before, std::string_view name) {
    const int from = std::max(0, before - kMaxPartnerDistance);
    const std::string region = text.GetTextRange(from, before);
    const std::vector<ETokenClass> classes = text.GetClasses(from, before);
    int depth = 0;
    // Where the tag after the one looked at starts: a tag's text ends at its ">" or there.
    size_t limit = region.size();
    for (size_t at = region.rfind('<'); at != std::string::npos;
         at = at == 0 ? std::string::npos : region.rfind('<', at - 1)) {
        const ETokenClass cls = classes[at];
        if (cls == ETokenClass::Comment || cls == ETokenClass::String) {
            continue;
        }
        // A tag ends at its ">", or where the next one starts when it is left open.
        const size_t close = region.find('>', at);
        const bool ended = close != std::string::npos && close < limit;
        const std::string_view tag =
            std::string_view(region).substr(at + 1, (ended ? close : limit) - at - 1);
        limit = at;
        const bool closing = tag.starts_with('/');
        if (TagName(closing ? tag.substr(1) : tag) != name) {
            continue;
        }
        if (closing) {
            ++depth;
        } else if (ended && tag.ends_with('/')) {
            continue; // an empty element closes itself
        } else if (depth-- == 0) {
            return from + static_cast<int>(at);
        }
    }
    return -1;
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
    if (m_fileStyle) {
        return m_fileStyle->UsesSpaces()
                   ? std::string(static_cast<size_t>(m_fileStyle->spaceStep), ' ')
                   : std::string("\t");
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

void UnindentCaretLine(CTextControl& text, int spaceStep) {
    int start = 0, end = 0;
    text.GetSel(start, end);
    const int line = text.LineFromChar(end);
    const std::string indent = Leading(LineText(text, line));
    std::string wanted = indent;
    if (spaceStep > 0) {
        wanted = OneLevelLess(indent, spaceStep);
    } else if (!indent.empty()) {
        // The first character, as UnindentLines takes it; the rest of the indentation stays.
        wanted.erase(0, 1);
    }
    ReindentLine(text, line, indent, wanted);
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
    const int current = text.LineFromChar(start);
    // A key that broke no line (Ctrl+Enter in mid-line) leaves the caret inside its line.
    if (current < 1 || start != end || text.LineIndex(current) != start) {
        return;
    }
    std::string line = LineText(text, current - 1);
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
    int start = 0, end = 0;
    text.GetSel(start, end);
    const int line = text.LineFromChar(start);
    const std::string current = LineText(text, line);
    const std::string indent = Leading(current);
    if (indent.size() == current.size() || current[indent.size()] != '}') {
        return;
    }
    const int open = FindBracePartner(text, text.LineIndex(line) + static_cast<int>(indent.size()));
    std::string wanted;
    if (open >= 0) {
        wanted = Leading(LineText(text, text.LineFromChar(open)));
    } else if (spaceStep > 0) {
        wanted = OneLevelLess(indent, spaceStep);
    } else if (line > 0) {
        wanted = Leading(LineText(text, line - 1));
        if (!wanted.empty()) {
            wanted.pop_back();
        }
    } else {
        return;
    }
    ReindentLine(text, line, indent, wanted);
}

void AlignClosingTag(CTextControl& text) {
    int start = 0, end = 0;
    text.GetSel(start, end);
    const int line = text.LineFromChar(start);
    const int lineStart = text.LineIndex(line);
    const std::string current = LineText(text, line);
    const std::string indent = Leading(current);
    const std::string_view rest = std::string_view(current).substr(indent.size());
    // Only the ">" just typed ends the line's first tag, and that tag closes an element.
    const size_t close = rest.find('>');
    if (!rest.starts_with("</") || close == std::string_view::npos ||
        lineStart + static_cast<int>(indent.size() + close) + 1 != start) {
        return;
    }
    const std::string_view name = TagName(rest.substr(2, close - 2));
    if (name.empty()) {
        return;
    }
    const int open = FindOpeningTag(text, lineStart, name);
    if (open >= 0) {
        ReindentLine(text, line, indent, Leading(LineText(text, text.LineFromChar(open))));
    }
}

int FindBracePartner(const CTextControl& text, int at, int maxDistance) {
    static constexpr std::string_view kPairs = "()[]{}";
    const std::string atText = text.GetTextRange(at, at + 1);
    const size_t index = atText.empty() ? std::string_view::npos : kPairs.find(atText[0]);
    if (index == std::string_view::npos) {
        return kNoPartner;
    }
    const char brace = kPairs[index];
    const char partner = kPairs[index ^ 1];
    const bool forward = index % 2 == 0;
    const int length = text.GetLength();
    const int from = forward ? at + 1 : at;
    int depth = 0;
    for (int done = from; forward ? done < length : done > 0;) {
        if (std::abs(done - from) >= maxDistance) {
            return kPartnerTooFar;
        }
        const int start = forward ? done : std::max(0, done - kPartnerChunk);
        const int end = forward ? std::min(length, done + kPartnerChunk) : done;
        const std::string chunk = text.GetTextRange(start, end);
        const std::vector<ETokenClass> classes = text.GetClasses(start, end);
        for (int n = 0; n < end - start; ++n) {
            const auto i = static_cast<size_t>(forward ? n : end - start - 1 - n);
            if ((chunk[i] != brace && chunk[i] != partner) || classes[i] != ETokenClass::Normal) {
                continue;
            }
            if (chunk[i] == brace) {
                ++depth;
            } else if (depth-- == 0) {
                return start + static_cast<int>(i);
            }
        }
        done = forward ? end : start;
    }
    return kNoPartner;
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
