#include "editor/Colourer.h"

#include "app/UiHost.h"

#include <algorithm>

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

} // namespace

void CColourer::ColourAll(CTextControl& control, bool suspendRedraw, CUiHost* host) const {
    if (m_language == ELanguage::Jython) {
        ColourEveryLine(control);
        return;
    }
    CWholeTextFrame frame(control, suspendRedraw, host);
    std::string text = control.GetText();
    CClassBuffer classes = ClassifyText(m_language, text);
    ApplyRuns(control, 0, classes);
}

void CColourer::ColourLine(CTextControl& control) const {
    int selStart = 0;
    int selEnd = 0;
    control.GetSel(selStart, selEnd);
    int start = 0;
    int end = 0;
    LineBounds(control, control.LineFromChar(selStart), start, end);
    std::string line = control.GetTextRange(start, end);
    CClassBuffer classes =
        ClassifyLine(m_language, line, GetLineContext(m_language, control, start));
    ApplyRuns(control, start, classes);
}

// Every line is classified once from one copy of the text; the line passes of Jython need
// nothing beyond the line itself.
void CColourer::ColourEveryLine(CTextControl& control) const {
    std::string text = control.GetText();
    std::string_view view(text);
    CClassBuffer classes(text.size(), ETokenClass::Normal);
    const int length = static_cast<int>(text.size());
    const int lines = control.GetLineCount();
    for (int line = 0; line < lines; ++line) {
        int start = std::clamp(control.LineIndex(line), 0, length);
        int next = control.LineIndex(line + 1);
        int end = next < 0 ? length : next - LineBreakLengthBefore(view, next);
        end = std::clamp(end, start, length);
        auto count = static_cast<size_t>(end - start);
        std::span<ETokenClass> lineClasses(classes.data() + start, count);
        ClassifyLine(m_language, view.substr(static_cast<size_t>(start), count), SLineContext{},
                     lineClasses);
        ApplyRuns(control, start, lineClasses);
    }
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
