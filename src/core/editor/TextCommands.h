#pragma once
// The editing aids the source editors offer beyond plain typing: block indent and unindent, the
// Tab key's indent unit, automatic indentation after Enter, re-indenting a typed closing brace,
// line-break and tab conversion, and the applet element for HTML pages.
//
// Every command works on a CTextControl (CR LF line breaks, a break counts two positions) and
// handles lines of any length. A command that edits the text is one undo step. None of them
// recolours: ConvertLinebreaks, ConvertTabsToSpaces and InsertApplet change text the colouring
// engine has not seen, so their caller runs a whole-text colouring pass afterwards.
//
// Indentation follows the file (Indentation.h). The indenting commands take a space step: 0
// for a file indented with tabs, whose levels are tabs exactly as they always were; else the
// number of spaces of one level, which a new level adds after the indentation it copies and
// which one step back removes, so that no tab ever enters a file indented with spaces.

#include "core/app/Settings.h"
#include "core/app/UiHost.h"
#include "core/editor/Indentation.h"
#include "core/editor/TextControl.h"

#include <optional>
#include <string>

namespace tovin {

// An editor's indent unit. The spaces string holds the tab width of the moment the editor was
// created; SPACETABS is read from the settings at each use, so a change in the preferences
// applies at once. The settings must outlive the unit.
//
// A file that is indented already keeps its own habit whatever the settings say: its own step of
// spaces, or a tab for a file indented with tabs (spaces added to tab-indented lines would give
// mixed lines that Enter, Decrease Indent and the status bar see as tabs). Only a new file, or
// one with no indented lines, follows the setting: the Java editor's unit (followsSpaceTabs) is
// the spaces string while SPACETABS is set, else a tab; the other editors' unit is a tab.
class CIndentUnit {
public:
    explicit CIndentUnit(const CSettings& settings, bool followsSpaceTabs = true);

    const std::string& Spaces() const { return m_spaces; }
    // The indentation found in the file when it was read (nullopt: it has no indented lines).
    void SetFileStyle(std::optional<SIndentStyle> style) { m_fileStyle = style; }
    // What Tab and Increase Indent insert.
    std::string Text() const;
    // The space step of the indenting commands (0: levels are tabs).
    int SpaceStep() const;
    // The style new levels get, for the status bar.
    SIndentStyle Style() const { return SIndentStyle{SpaceStep()}; }

private:
    const CSettings& m_settings;
    std::string m_spaces;
    bool m_followsSpaceTabs;
    std::optional<SIndentStyle> m_fileStyle;
};

// The spaces string for a tab width (negative widths give none; absurd widths are capped).
std::string MakeSpaces(int tabWidth);

// Which editor's rule AutoIndentNewLine follows.
enum class EAutoIndentForm {
    Basic,  // HTML and XML: repeat the previous line's leading tabs and spaces
    Java,   // also one tab per trailing "{" and "* " inside a block comment
    Jython, // also one tab after a line that ends in ":"
};

// Inserts a tab at the start of every line the selection touches (tab form) and selects the
// lines. A selection ending at the very start of a line does not touch that line.
void IndentLines(CTextControl& text);
// The same with the indent unit (the Java editor's form).
void IndentLines(CTextControl& text, const CIndentUnit& unit);
// Removes one level from every line the selection touches and selects the lines up to the end
// of the last one's text. With space step 0 a level is one leading tab or space; else it is a
// leading tab, or the leading spaces back to the previous multiple of the step.
void UnindentLines(CTextControl& text, int spaceStep = 0);
// Removes one level, as UnindentLines does, from the caret's line only (Shift+Tab without a
// selection); the caret keeps its place in the text, or the end of the indentation when it
// stood inside the part removed.
void UnindentCaretLine(CTextControl& text, int spaceStep = 0);
// Replaces the selection by the indent unit.
void InsertIndentUnit(CTextControl& text, const CIndentUnit& unit);

// Runs after the control inserted the line break typed with Enter (typed is '\r'; any other
// character does nothing): indents the new line after the line just ended. Only a caret at the
// start of a line follows a line break; anywhere else nothing is inserted. With a space step
// the line just ended's indentation is copied as it is, each new level adds the step's spaces
// after it, and a block comment goes on aligned under its first star.
void AutoIndentNewLine(CTextControl& text, char typed, EAutoIndentForm form, int spaceStep = 0);

// Runs after a typed "}": when the brace is the first non-blank character of its line, the
// line takes the indentation of the line that holds the brace's "{" (FindBracePartner), so the
// brace lines up with its block's start whatever the lines in between look like (a
// continuation line, a deeper nesting). Without a "{" the brace moves one level out: with space
// step 0 (not on the first line) the line's indentation becomes the previous line's minus its
// last character; else the line loses one level of its own indentation as UnindentLines removes
// it. Text after the brace is kept, and the caret keeps its place relative to the brace.
void AlignClosingBrace(CTextControl& text, int spaceStep = 0);

// Runs after a typed ">" in XML: when it ends a closing tag "</name>" that starts its line
// (after blanks), the line takes the indentation of the line holding the element's opening tag
// "<name ...>", as a typed "}" does in Java. Tags in comments and strings (by their colouring
// class) and empty elements "<name/>" do not count; nothing changes when no opening tag is
// found within a megabyte.
void AlignClosingTag(CTextControl& text);

// The position of the partner of the bracket ("()[]{}") at `at`, kNoPartner when it has none,
// or kPartnerTooFar when none lies within maxDistance bytes. Only brackets of code count: those
// in strings, character literals and comments have another colouring class than Normal. The
// text is read in chunks outwards from the bracket, so a near partner costs little.
constexpr int kNoPartner = -1;
constexpr int kPartnerTooFar = -2;
constexpr int kMaxPartnerDistance = 1 << 20;
int FindBracePartner(const CTextControl& text, int at, int maxDistance = kMaxPartnerDistance);

// Makes every line break CR LF (bare CR and bare LF included) and marks the text modified. The
// conversions leave a read-only text alone.
void ConvertLinebreaks(CTextControl& text);
// Replaces every tab by the spaces string (a fixed count, not the distance to the next tab
// stop) and marks the text modified.
void ConvertTabsToSpaces(CTextControl& text, const std::string& spaces);

// Replaces the selection by an applet element for the project's main file. With no main file
// it tells the user through the host, inserts nothing and returns false.
bool InsertApplet(CTextControl& text, const std::string& mainFileName, CUiHost& host);

} // namespace tovin
