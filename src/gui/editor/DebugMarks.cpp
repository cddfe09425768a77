#include "gui/editor/DebugMarks.h"

#include "gui/editor/SourceView.h"

#include <algorithm>

namespace tovin {

namespace {

using Sci = QsciScintillaBase;

constexpr long kBreakpointFill = 0x3030D0;  // red (0x00BBGGRR)
constexpr long kBreakpointEdge = 0x101080;  // dark red
constexpr long kCurrentFill = 0x30D8F8;     // yellow
constexpr long kCurrentEdge = 0x206080;     // brown
constexpr long kCurrentLineBack = 0xB8F4FF; // pale yellow
constexpr int kMarginMask =
    (1 << CDebugMarks::kBreakpointMarker) | (1 << CDebugMarks::kCurrentMarker);

} // namespace

CDebugMarks::CDebugMarks(CSourceView& view) : QObject(&view), m_view(view) {
    if (m_view.Send(Sci::SCI_GETMARGINS) <= kMargin) {
        m_view.Send(Sci::SCI_SETMARGINS, kMargin + 1);
    }
    m_view.Send(Sci::SCI_SETMARGINTYPEN, kMargin, Sci::SC_MARGIN_SYMBOL);
    m_view.Send(Sci::SCI_SETMARGINMASKN, kMargin, kMarginMask);
    m_view.Send(Sci::SCI_SETMARGINSENSITIVEN, kMargin, 1);
    m_view.Send(Sci::SCI_SETMARGINCURSORN, kMargin, Sci::SC_CURSORARROW);
    const long width = std::clamp<long>(m_view.Send(Sci::SCI_TEXTHEIGHT, 0), 14, 24);
    m_view.Send(Sci::SCI_SETMARGINWIDTHN, kMargin, width);
    const struct {
        int marker;
        int symbol;
        long fill;
        long edge;
    } markers[] = {
        {kBreakpointMarker, Sci::SC_MARK_CIRCLE, kBreakpointFill, kBreakpointEdge},
        {kCurrentMarker, Sci::SC_MARK_SHORTARROW, kCurrentFill, kCurrentEdge},
        {kCurrentLineMarker, Sci::SC_MARK_BACKGROUND, kCurrentLineBack, kCurrentLineBack},
    };
    for (const auto& marker : markers) {
        const auto number = static_cast<unsigned long>(marker.marker);
        m_view.Send(Sci::SCI_MARKERDEFINE, number, marker.symbol);
        m_view.Send(Sci::SCI_MARKERSETBACK, number, marker.fill);
        m_view.Send(Sci::SCI_MARKERSETFORE, number, marker.edge);
    }
    connect(&m_view, &QsciScintillaBase::SCN_MARGINCLICK, this,
            [this](int position, int, int margin) {
                if (margin == kMargin) {
                    emit MarginClicked(m_view.LineFromChar(position));
                }
            });
}

bool CDebugMarks::HasBreakpoint(int line) const {
    return (m_view.Send(Sci::SCI_MARKERGET, static_cast<unsigned long>(line)) &
            (1 << kBreakpointMarker)) != 0;
}

bool CDebugMarks::ToggleBreakpoint(int line) {
    if (line < 0 || line >= m_view.GetLineCount()) {
        return false;
    }
    if (HasBreakpoint(line)) {
        m_view.Send(Sci::SCI_MARKERDELETE, static_cast<unsigned long>(line), kBreakpointMarker);
        return false;
    }
    m_view.Send(Sci::SCI_MARKERADD, static_cast<unsigned long>(line), kBreakpointMarker);
    return true;
}

std::vector<int> CDebugMarks::BreakpointLines() const {
    std::vector<int> lines;
    for (long line = m_view.Send(Sci::SCI_MARKERNEXT, 0, 1 << kBreakpointMarker); line >= 0;
         line = m_view.Send(Sci::SCI_MARKERNEXT, static_cast<unsigned long>(line + 1),
                            1 << kBreakpointMarker)) {
        lines.push_back(static_cast<int>(line));
    }
    return lines;
}

void CDebugMarks::SetBreakpointLines(const std::vector<int>& lines) {
    m_view.Send(Sci::SCI_MARKERDELETEALL, kBreakpointMarker);
    for (int line : lines) {
        if (line >= 0 && line < m_view.GetLineCount()) {
            m_view.Send(Sci::SCI_MARKERADD, static_cast<unsigned long>(line), kBreakpointMarker);
        }
    }
}

void CDebugMarks::ShowCurrentLine(int line) {
    m_view.Send(Sci::SCI_MARKERDELETEALL, kCurrentMarker);
    m_view.Send(Sci::SCI_MARKERDELETEALL, kCurrentLineMarker);
    if (line >= 0 && line < m_view.GetLineCount()) {
        m_view.Send(Sci::SCI_MARKERADD, static_cast<unsigned long>(line), kCurrentMarker);
        m_view.Send(Sci::SCI_MARKERADD, static_cast<unsigned long>(line), kCurrentLineMarker);
    }
}

int CDebugMarks::CurrentLine() const {
    return static_cast<int>(m_view.Send(Sci::SCI_MARKERNEXT, 0, 1 << kCurrentMarker));
}

} // namespace tovin
