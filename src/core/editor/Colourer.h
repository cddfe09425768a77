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
// markup comment) is kept in the control, one state per line, and every line's colours are
// those of its kept state. Colouring a line therefore goes on to the lines after it for as long
// as what it leaves open differs from what the next line was kept with: a typed "/*" colours
// the lines down to the next "*/" at once, and deleting it gives them back their colours, at a
// cost bounded by what really changed. Where an edit left states in doubt, they are worked out
// again line by line from the last one known, up to the line wanted (lines found with a wrong
// state on the way are coloured again), and no further than to the first line whose kept state
// is confirmed: a key typed anywhere costs the same in any file.

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
    // first visible line are kept. host (optional) shows the wait cursor meanwhile (not for
    // Jython, which neither shows it nor suspends redraw). Every line's state is kept.
    void ColourAll(CTextControl& control, bool suspendRedraw, CUiHost* host = nullptr) const;

    // Classifies and colours the line holding the selection start, without its line break,
    // and the lines after it that now start in another context.
    void ColourLine(CTextControl& control) const;
    // Colours the lines first to last (an edit's lines) and the lines after them that now
    // start in another context.
    void ColourLines(CTextControl& control, int first, int last) const;

    // Gives each maximal run of classes (positions base + i) its class.
    static void ApplyRuns(CTextControl& control, int base, std::span<const ETokenClass> classes);
    // Gives [base + start, base + end) the class unless it already has it throughout.
    static void ApplyClassFormat(CTextControl& control, int base, ETokenClass cls, int start,
                                 int end);

private:
    // The context line `line` starts in, from the states the control keeps (worked out first
    // where edits left them in doubt).
    SLineContext ContextOfLine(CTextControl& control, int line) const;
    // Colours the lines from `line` on, the first starting in `context`, for as long as each
    // leaves the next another context than the one it was kept with.
    void ColourFollowingLines(CTextControl& control, int line, SLineContext context) const;
    // Colours the line at start with the text given; returns the next line's context.
    SLineContext ColourLineText(CTextControl& control, int start, std::string_view text,
                                const SLineContext& context) const;
    // The line's [start, end) without its line break.
    static void LineBounds(const CTextControl& control, int line, int& start, int& end);

    ELanguage m_language;
};

} // namespace tovin
