#pragma once
// Colours an editor control by the rules of one language: the whole text (first display,
// "Syntax Colour Update", after whole-text edits) or the line holding the selection start
// (after every typed character).
//
// Both passes classify a copy of the text and give each maximal run of equal class its class
// with ApplyClassFormat, which touches the control only where the run's class differs, so an
// unchanged text causes no changes. Neither pass moves the selection or scrolls: the control
// is never selected into, so the user's selection (and its direction) stays as it was.
//
// What the lines before a line leave open for it (a block comment, a text block, a tag, a
// markup comment) is kept in the control, one state per line. The line pass reads its line's
// state; where an edit left states in doubt, they are worked out again line by line from the
// last one known, up to the line wanted, and no further than to the first line whose kept
// state is confirmed: a key typed anywhere costs the same in any file, and a typed "/*" or
// triple quote makes the lines after it known to start in the comment or text block, which
// they show once recoloured (typing, "Syntax Colour Update").

#include "core/editor/ColourClassifier.h"
#include "core/editor/ColourLanguage.h"
#include "core/editor/TextControl.h"

#include <span>

namespace tovin {

class CUiHost;

class CColourer {
public:
    explicit CColourer(ELanguage language) : m_language(language) {}

    ELanguage Language() const { return m_language; }

    // Classifies and colours the whole text. The selection display is hidden and, when
    // suspendRedraw is set, redraw is off while the runs are applied; the modified flag and the
    // first visible line are kept. host (optional) shows the wait cursor meanwhile. Jython
    // colours line by line instead, with neither wait cursor nor redraw suspension.
    void ColourAll(CTextControl& control, bool suspendRedraw, CUiHost* host = nullptr) const;

    // Classifies and colours the line holding the selection start, without its line break.
    void ColourLine(CTextControl& control) const;

    // Gives each maximal run of classes (positions base + i) its class.
    static void ApplyRuns(CTextControl& control, int base, std::span<const ETokenClass> classes);
    // Gives [base + start, base + end) the class unless it already has it throughout.
    static void ApplyClassFormat(CTextControl& control, int base, ETokenClass cls, int start,
                                 int end);

private:
    // The context line `line` starts in, from the states the control keeps (worked out first
    // where edits left them in doubt).
    SLineContext ContextOfLine(CTextControl& control, int line) const;
    void ColourEveryLine(CTextControl& control) const;
    // The line's [start, end) without its line break.
    static void LineBounds(const CTextControl& control, int line, int& start, int& end);

    ELanguage m_language;
};

} // namespace tovin
