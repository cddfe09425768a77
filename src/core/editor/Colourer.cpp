#include "core/editor/Colourer.h"

#include "core/app/UiHost.h"

#include <algorithm>
#include <optional>

namespace tovin {

namespace {

// The steps around a whole-text pass, undone in reverse order even when the pass throws.
class CWholeTextFrame {
public:
    CWholeTextFrame(CTextControl& control, bool suspendRedraw, CUiHost* host)
        : m_control(control), m_suspendRedraw(suspendRedraw), m_host(host),
          m_modified(control.GetModify()), m_firstVisibleLine(control.GetFirstVisibleLine()) {
        if (m_host) {
            m_host->SetWaitCursor(true);
        }
        m_control.GetSel(m_selStart, m_selEnd);
        m_control.HideSelection(true);
        if (m_suspendRedraw) {
            m_control.SetRedraw(false);
        }
    }
    ~CWholeTextFrame() {
        if (m_suspendRedraw) {
            m_control.SetRedraw(true);
        }
        m_control.HideSelection(false);
        m_control.SetModify(m_modified);
        int start = 0;
        int end = 0;
        m_control.GetSel(start, end);
        if (start != m_selStart || end != m_selEnd) {
            m_control.SetSel(m_selStart, m_selEnd);
        }
        if (m_control.GetFirstVisibleLine() != m_firstVisibleLine) {
            m_control.SetFirstVisibleLine(m_firstVisibleLine);
        }
        if (m_host) {
            m_host->SetWaitCursor(false);
        }
    }
    CWholeTextFrame(const CWholeTextFrame&) = delete;
    CWholeTextFrame& operator=(const CWholeTextFrame&) = delete;

private:
    CTextControl& m_control;
    bool m_suspendRedraw;
    CUiHost* m_host;
    bool m_modified;
    int m_firstVisibleLine;
    int m_selStart = 0;
    int m_selEnd = 0;
};

// Reads a control's lines one after the other from blocks of its text, so working out the
// states of many lines copies the text once and asks the control for no line's bounds. A line
// ends at CR LF, a lone CR or a lone LF, as the control's lines do.
class CLineWalker {
public:
    CLineWalker(const CTextControl& control, int line)
        : m_control(control), m_length(control.GetLength()),
          m_position(std::clamp(control.LineIndex(line), 0, m_length)) {}

    // Where the line Next gives next starts.
    int Position() const { return m_position; }

    // The next line without its line break.
    std::string_view Next() {
        for (;;) {
            const std::string_view block(m_block);
            const auto from = static_cast<size_t>(m_position - m_blockStart);
            const bool lastBlock = m_blockStart + static_cast<int>(block.size()) >= m_length;
            const size_t end = FindLineBreak(block, from);
            // A CR at the end of the block may be the first half of a CR LF.
            if (end != std::string_view::npos && (end + 1 < block.size() || lastBlock)) {
                const bool crLf = block.compare(end, 2, "\r\n") == 0;
                m_position = m_blockStart + static_cast<int>(end + (crLf ? 2 : 1));
                return block.substr(from, end - from);
            }
            if (lastBlock) {
                m_position = m_length;
                return block.substr(from);
            }
            m_blockSize = std::max(m_blockSize, 2 * static_cast<int>(block.size() - from));
            m_blockStart = m_position;
            m_block = m_control.GetTextRange(m_position, m_position + m_blockSize);
        }
    }

private:
    const CTextControl& m_control;
    int m_length;
    int m_position;
    int m_blockSize = 1 << 16;
    std::string m_block;
    int m_blockStart = 0;
};

// Line `line` starts in `context`, found from the line before it; true when the state kept
// for it was another (its colours were then made for another context). When the control kept
// the same for a line whose followers are known from it, every line is known again.
bool KeepLineContext(CTextControl& control, int line, const SLineContext& context, int count) {
    SLineStateValidity& known = control.LineStateValidity();
    if (line <= 0 || line >= count) {
        return false;
    }
    const int state = LineStateOf(context);
    const bool changed = control.GetLineState(line) != state;
    if (!changed && line <= known.validThrough) {
        return false;
    }
    if (!changed && line >= count - known.tailLines) {
        known.Confirm(count - 1, count);
        return false;
    }
    if (changed) {
        control.SetLineState(line, state);
    }
    known.Confirm(line, count);
    return changed;
}

} // namespace

// Lines whose kept state turns out to be wrong on the way were coloured for another context, so
// they are coloured again as they are passed.
SLineContext CColourer::ContextOfLine(CTextControl& control, int line) const {
    if (line <= 0) {
        return {};
    }
    SLineStateValidity& known = control.LineStateValidity();
    const int count = control.GetLineCount();
    line = std::min(line, count - 1);
    if (known.validThrough < line) {
        int passed = std::max(known.validThrough, 0);
        SLineContext context =
            passed == 0 ? SLineContext{} : LineContextOfState(control.GetLineState(passed));
        CLineWalker lines(control, passed);
        std::string_view text = lines.Next();
        while (known.validThrough < line && passed < line) {
            context = NextLineContext(m_language, text, context);
            ++passed;
            const bool changed = KeepLineContext(control, passed, context, count);
            text = lines.Next();
            if (changed && passed < line) {
                ColourLineText(control, control.LineIndex(passed), text, context);
            }
        }
    }
    return LineContextOfState(control.GetLineState(line));
}

void CColourer::ColourAll(CTextControl& control, bool suspendRedraw, CUiHost* host) const {
    std::optional<CWholeTextFrame> frame;
    if (m_language != ELanguage::Jython) {
        frame.emplace(control, suspendRedraw, host);
    }
    const std::string text = control.GetText();
    std::vector<int> states;
    const CClassBuffer classes = ClassifyText(m_language, text, &states);
    ApplyRuns(control, 0, classes);
    const int count = std::min(control.GetLineCount(), static_cast<int>(states.size()));
    for (int line = 1; line < count; ++line) {
        if (control.GetLineState(line) != states[static_cast<size_t>(line)]) {
            control.SetLineState(line, states[static_cast<size_t>(line)]);
        }
    }
    control.LineStateValidity().Confirm(count - 1, count);
}

void CColourer::ColourLine(CTextControl& control) const {
    int selStart = 0;
    int selEnd = 0;
    control.GetSel(selStart, selEnd);
    const int line = control.LineFromChar(selStart);
    ColourLines(control, line, line);
}

void CColourer::ColourLines(CTextControl& control, int first, int last) const {
    const int count = control.GetLineCount();
    first = std::clamp(first, 0, count - 1);
    last = std::clamp(last, first, count - 1);
    SLineContext context = ContextOfLine(control, first);
    for (int line = first; line <= last; ++line) {
        int start = 0;
        int end = 0;
        LineBounds(control, line, start, end);
        context = ColourLineText(control, start, control.GetTextRange(start, end), context);
        if (!KeepLineContext(control, line + 1, context, count) && line == last) {
            return;
        }
    }
    ColourFollowingLines(control, last + 1, context);
}

// A typed "/*" may reach the end of a large file: the lines are read in blocks of the text and
// their runs applied at once, rather than asking the control about every line.
void CColourer::ColourFollowingLines(CTextControl& control, int line, SLineContext context) const {
    const int count = control.GetLineCount();
    if (line >= count) {
        return;
    }
    CLineWalker lines(control, line);
    const int base = lines.Position();
    CClassBuffer classes;
    for (; line < count; ++line) {
        const std::string_view text = lines.Next();
        const size_t at = classes.size();
        classes.resize(at + text.size(), ETokenClass::Normal);
        context = ClassifyLine(m_language, text, context,
                               std::span<ETokenClass>(classes).subspan(at, text.size()));
        if (!KeepLineContext(control, line + 1, context, count)) {
            break;
        }
        // The line break, which the line passes leave normal.
        classes.resize(static_cast<size_t>(lines.Position() - base), ETokenClass::Normal);
    }
    ApplyRuns(control, base, classes);
}

SLineContext CColourer::ColourLineText(CTextControl& control, int start, std::string_view text,
                                       const SLineContext& context) const {
    CClassBuffer classes(text.size(), ETokenClass::Normal);
    const SLineContext next = ClassifyLine(m_language, text, context, classes);
    ApplyRuns(control, start, classes);
    return next;
}

void CColourer::LineBounds(const CTextControl& control, int line, int& start, int& end) {
    start = std::max(0, control.LineIndex(line));
    int next = control.LineIndex(line + 1);
    if (next < 0) {
        end = control.GetLength();
        return;
    }
    std::string breakText = control.GetTextRange(std::max(start, next - 2), next);
    end = std::max(start,
                   next - LineBreakLengthBefore(breakText, static_cast<int>(breakText.size())));
}

// The present classes are read at once: asking the control run by run cost more than the
// classifying on a long line of many short runs.
void CColourer::ApplyRuns(CTextControl& control, int base, std::span<const ETokenClass> classes) {
    const int n = static_cast<int>(classes.size());
    const std::vector<ETokenClass> present = control.GetClasses(base, base + n);
    const auto hasClass = [&](int start, int end, ETokenClass cls) {
        // Positions beyond the text (never given by the passes) are left to the control.
        if (base < 0 || end > static_cast<int>(present.size())) {
            return control.IsRangeClass(base + start, base + end, cls);
        }
        return std::all_of(present.begin() + start, present.begin() + end,
                           [cls](ETokenClass at) { return at == cls; });
    };
    int runStart = 0;
    for (int i = 1; i <= n; ++i) {
        if (i == n || classes[static_cast<size_t>(i)] != classes[static_cast<size_t>(runStart)]) {
            const ETokenClass cls = classes[static_cast<size_t>(runStart)];
            if (!hasClass(runStart, i, cls)) {
                control.SetRangeClass(base + runStart, base + i, cls);
            }
            runStart = i;
        }
    }
}

void CColourer::ApplyClassFormat(CTextControl& control, int base, ETokenClass cls, int start,
                                 int end) {
    if (!control.IsRangeClass(base + start, base + end, cls)) {
        control.SetRangeClass(base + start, base + end, cls);
    }
}

} // namespace tovin
