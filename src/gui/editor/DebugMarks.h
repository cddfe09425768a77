#pragma once
// The debugger's marks in a source window: breakpoints as red dots in a margin of their own
// (a click there toggles one), and the line where the program stands as an arrow with the
// line's background tinted. The marks are Scintilla markers, so a breakpoint moves with its
// line as the text is edited, and the views of one document share them.

#include <QObject>
#include <vector>

namespace tovin {

class CSourceView;

class CDebugMarks : public QObject {
    Q_OBJECT
public:
    static constexpr int kMargin = 2;
    static constexpr int kBreakpointMarker = 20;
    static constexpr int kCurrentMarker = 21;
    static constexpr int kCurrentLineMarker = 22;

    // Gives the view its breakpoint margin; owned by the view.
    explicit CDebugMarks(CSourceView& view);

    // Lines are zero-based.
    bool HasBreakpoint(int line) const;
    // True when the line has a breakpoint afterwards.
    bool ToggleBreakpoint(int line);
    std::vector<int> BreakpointLines() const;
    void SetBreakpointLines(const std::vector<int>& lines);
    // -1 takes the mark away.
    void ShowCurrentLine(int line);
    int CurrentLine() const;

signals:
    // The user clicked the margin beside a line; the owner decides what a breakpoint means.
    void MarginClicked(int line);

private:
    CSourceView& m_view;
};

} // namespace tovin
