#pragma once
// Where a Java text's string literals, character literals, text blocks and comments are, so
// that the steps reading its structure see only code: braces, quotes and comment markers
// inside them are no structure.
//
// Every span starts with the character that opens it (a quote, or the "/" of a comment) and
// ends just past what closes it. A string or character literal that is not closed ends at its
// line's end, as the compiler would complain there; an unclosed text block or block comment
// runs to the end of the text. Inside a text block a backslash escapes the next character,
// so \""" does not close it.

#include <string>
#include <string_view>
#include <vector>

namespace tovin {

struct SJavaSpan {
    size_t start = 0;
    size_t end = 0; // just past the span
};

// The spans in text order; they do not overlap.
std::vector<SJavaSpan> FindJavaLiteralsAndComments(std::string_view text);

// Sets `code` to text[from, to) with every character that lies in one of the spans turned
// into a blank, except CR and LF: the same length and lines, only code left.
void MaskJavaLiteralsAndComments(std::string_view text, const std::vector<SJavaSpan>& spans,
                                 size_t from, size_t to, std::string& code);

} // namespace tovin
