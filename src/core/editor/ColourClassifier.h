#pragma once
// The colouring classifiers: they give every position of a text one token class.
//
// ClassifyText is the whole-text classifier of a language: the scanning classifier for Java
// (keywords, then one pass with string and comment states, strings running over line breaks),
// the search passes for HTML and XML (tags, keywords inside tags, strings, comments), and the
// line passes on every line for Jython. ClassifyLine is the per-keystroke classifier of one line
// (without its line break); what the text before the line contributes (an open block comment,
// tag or markup comment) comes in as an SLineContext.
//
// The quirks of the passes are part of the contract, because the editors have always coloured
// this way: in the markup whole-text passes an unterminated string stays uncoloured and the
// next search starts one character after a coloured range; the Java scan looks at comment and
// string openers only from the fourth character on; a "/*" inside a string opens a block comment
// in the line passes.

#include "editor/ColourLanguage.h"
#include "editor/TextControl.h"

#include <span>
#include <string_view>
#include <vector>

namespace tovin {

using CClassBuffer = std::vector<ETokenClass>;

// What the text before a line tells the line passes.
struct SLineContext {
    bool inBlockComment = false; // Java: a "/*" is open at the line start
    bool inTag = false;          // markup: a "<" is open at the line start
    bool inHtmlComment = false;  // markup: a "<!--" is open at the line start
};

// Length the position tests first look back from a position; the window grows until a marker
// is found or the text start is reached, so the cost follows the distance to the nearest one.
inline constexpr int kMarkerSearchWindow = 4096;

// Position tests on the text before position (clamped to the text):
// true when the last "/*" before position starts after the last "*/" before it (strings and
// line comments are not considered);
bool IsInBlockComment(std::string_view text, int position, int window = kMarkerSearchWindow);
// true when the last "<" before position comes after the last ">" before it;
bool IsInTag(std::string_view text, int position, int window = kMarkerSearchWindow);
// true when the last "<!--" before position ends after the last "-->" before it.
bool IsInHtmlComment(std::string_view text, int position, int window = kMarkerSearchWindow);

// The same tests reading the control's text backwards (GetTextRange), never all of it at once.
bool IsInBlockComment(const CTextControl& control, int position, int window = kMarkerSearchWindow);
bool IsInTag(const CTextControl& control, int position, int window = kMarkerSearchWindow);
bool IsInHtmlComment(const CTextControl& control, int position, int window = kMarkerSearchWindow);

// Context of the line starting at lineStart, with only the tests the language uses.
SLineContext GetLineContext(ELanguage language, std::string_view text, int lineStart);
SLineContext GetLineContext(ELanguage language, const CTextControl& control, int lineStart);

// Whole-text classifier of the language.
CClassBuffer ClassifyText(ELanguage language, std::string_view text);

// Line passes of the language over one line without its line break.
CClassBuffer ClassifyLine(ELanguage language, std::string_view line, const SLineContext& context);
void ClassifyLine(ELanguage language, std::string_view line, const SLineContext& context,
                  std::span<ETokenClass> classes);

// Length of the line break that ends just before position next (a line's successor start):
// 2 for CR LF, 1 for a lone CR or LF, 0 otherwise.
int LineBreakLengthBefore(std::string_view text, int next);

} // namespace tovin
