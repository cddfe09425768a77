#pragma once
// The colouring classifiers: they give every position of a text one token class.
//
// ClassifyLine is the per-keystroke classifier of one line (without its line break); what the
// text before the line leaves open (a block comment, a text block or triple-quoted string, a
// tag or a markup comment) comes in as an SLineContext, and what the line leaves open for the
// next one comes out as one. A line's context follows from the previous line's context and
// text alone (NextLineContext), so an editor that keeps the context of each line never reads
// the text before the line it colours.
//
// ClassifyText is the whole-text classifier of a language. For Java and Jython it is the line
// passes on every line in the context of the lines before, so a line typed on is always
// coloured as the whole text colours it. Java's literals and comments are those the Java lexer
// (JavaLexicalPass.h) finds, the same the structure reader skips. Jython's strings are quoted
// by either quote; a triple quote opens a string that goes on over lines to the same triple
// quote; a "#" outside strings comments out the rest of the line; a backslash escapes the
// character after it.
//
// HTML and XML colour the whole text by search passes (tags, keywords inside tags, strings,
// comments), with the quirks the markup editors have always had: an unterminated string stays
// uncoloured and the next search starts one character after a coloured range. Their line
// passes carry a tag or a markup comment open at the line's start on to the line.

#include "core/editor/ColourLanguage.h"
#include "core/editor/TextControl.h"
#include "core/javamodel/SourceLines.h"

#include <span>
#include <string_view>
#include <vector>

namespace tovin {

using CClassBuffer = std::vector<ETokenClass>;

// What the text before a line tells the line passes.
struct SLineContext {
    bool inBlockComment = false; // Java: a "/*" is open at the line start
    bool inTextBlock = false;    // Java: a text block, Jython: a """ string is open there
    bool inTag = false;          // markup: a "<" is open at the line start
    bool inHtmlComment = false;  // markup: a "<!--" is open at the line start
    bool inTripleSingle = false; // Jython: a ''' string is open at the line start

    bool operator==(const SLineContext&) const = default;
};

// A context as the number an editor control keeps for a line (0 when nothing is open), and
// back.
int LineStateOf(const SLineContext& context);
SLineContext LineContextOfState(int state);

// The context the next line starts in, when `line` (without its line break) starts in context.
SLineContext NextLineContext(ELanguage language, std::string_view line,
                             const SLineContext& context);

// Length the position tests first look back from a position; the window grows until a marker
// is found or the text start is reached, so the cost follows the distance to the nearest one.
inline constexpr int kMarkerSearchWindow = 4096;

// Position tests on the text before position (clamped to the text), by the markers alone (the
// colouring itself goes by GetLineContext, which for Java also knows strings and line comments):
// true when the last "/*" before position starts after the last "*/" before it;
bool IsInBlockComment(std::string_view text, int position, int window = kMarkerSearchWindow);
// true when the last "<" before position comes after the last ">" before it;
bool IsInTag(std::string_view text, int position, int window = kMarkerSearchWindow);
// true when the last "<!--" before position ends after the last "-->" before it.
bool IsInHtmlComment(std::string_view text, int position, int window = kMarkerSearchWindow);

// The context at a position of a text, worked out line by line from the start; for markup it
// is what IsInTag and IsInHtmlComment say.
SLineContext GetLineContext(ELanguage language, std::string_view text, int position);

// Whole-text classifier of the language; lineStates (optional) gets the LineStateOf of every
// line's context, by the line passes' rules.
CClassBuffer ClassifyText(ELanguage language, std::string_view text,
                          std::vector<int>* lineStates = nullptr);

// Line passes of the language over one line without its line break. The second form also
// returns the context the next line starts in (as NextLineContext does).
CClassBuffer ClassifyLine(ELanguage language, std::string_view line, const SLineContext& context);
SLineContext ClassifyLine(ELanguage language, std::string_view line, const SLineContext& context,
                          std::span<ETokenClass> classes);

// Length of the line break that ends just before position next (a line's successor start):
// 2 for CR LF, 1 for a lone CR or LF, 0 otherwise.
int LineBreakLengthBefore(std::string_view text, int next);

} // namespace tovin
