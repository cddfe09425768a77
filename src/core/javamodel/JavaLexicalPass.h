#pragma once
// Where a Java text's string literals, character literals, text blocks and comments are. This
// is the one reading of Java's literals and comments: the structure reader uses it so that
// braces, quotes and comment markers inside them are no structure, and the colouring uses it
// line by line (while typing) and over the whole text, so both always agree.
//
// A text is read one line at a time. What a line starts in is all it needs from the lines
// before it: code, or a block comment or text block that an earlier line left open. Inside a
// line the rules are the compiler's: "//" comments out the rest of the line; "/*" opens a
// comment that the first "*/" after it closes ("/*/" does not close itself); """ opens a text
// block that the first """ no backslash escapes closes, over any number of lines; a double or
// single quote opens a string or character literal that the same quote closes, a backslash
// escaping the character after it, and that ends at its line's end when not closed, as the
// compiler would complain there. Nothing opens inside what is already open: "/*" in a string
// or a line comment, "//" in a block comment and quotes in comments are plain text.

#include <string>
#include <string_view>
#include <vector>

namespace tovin {

// What a line of Java starts in.
enum class EJavaLineStart : unsigned char { Code, BlockComment, TextBlock };

enum class EJavaLexeme : unsigned char { String, Character, TextBlock, LineComment, BlockComment };

// One literal or comment, or the part of it on one line.
struct SJavaLexeme {
    size_t start = 0;
    size_t end = 0; // just past it, or the line's end when it goes on
    EJavaLexeme kind = EJavaLexeme::String;
};

// Reads the literals and comments of one line (without its line break) in order.
class CJavaLineLexer {
public:
    CJavaLineLexer(std::string_view line, EJavaLineStart start) : m_line(line), m_state(start) {}

    // The next literal or comment; false at the line's end. A line that starts inside a block
    // comment or text block gives that one's part first, from position 0 (maybe empty).
    bool Next(SJavaLexeme& lexeme);
    // Once Next has returned false: what the next line starts in.
    EJavaLineStart NextLineStart() const { return m_state; }

private:
    std::string_view m_line;
    EJavaLineStart m_state;
    size_t m_at = 0;
    bool m_continued = false;
};

// What the line after `line` starts in.
EJavaLineStart JavaNextLineStart(std::string_view line, EJavaLineStart start);

struct SJavaSpan {
    size_t start = 0;
    size_t end = 0; // just past the span
};

// The literals and comments of a whole text, in text order, not overlapping. Every span starts
// with the character that opens it and ends just past what closes it; an unclosed text block
// or block comment runs to the end of the text.
std::vector<SJavaSpan> FindJavaLiteralsAndComments(std::string_view text);

// Sets `code` to text[from, to) with every character that lies in one of the spans turned
// into a blank, except CR and LF: the same length and lines, only code left.
void MaskJavaLiteralsAndComments(std::string_view text, const std::vector<SJavaSpan>& spans,
                                 size_t from, size_t to, std::string& code);

} // namespace tovin
