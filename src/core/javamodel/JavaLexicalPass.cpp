#include "core/javamodel/JavaLexicalPass.h"

#include "core/javamodel/NextOf.h"
#include "core/javamodel/SourceLines.h"

#include <algorithm>

namespace tovin {

namespace {

constexpr size_t kNone = std::string_view::npos;

// The offset of the first line break at or after `from`, or the text's size.
size_t LineEnd(std::string_view text, size_t from) {
    return std::min(FindLineBreak(text, from), text.size());
}

// Just past the "*/" closing a block comment whose content starts at `from`, or the text's
// size. A comment has fewer slashes than stars, so the slashes are looked for.
size_t EndOfBlockComment(std::string_view text, size_t from) {
    for (size_t slash = text.find('/', from); slash != kNone; slash = text.find('/', slash + 1)) {
        if (slash > from && text[slash - 1] == '*') {
            return slash + 1;
        }
    }
    return text.size();
}

// Just past a string or character literal whose opening quote is at `open`; an unclosed one
// ends before the line break (or at the text end) where it stops.
size_t EndOfQuoted(std::string_view text, size_t open) {
    const char quote = text[open];
    size_t i = open + 1;
    while (i < text.size() && text[i] != quote && !IsLineBreak(text[i])) {
        // An escape takes the next character with it, unless that is a line break.
        i += text[i] == '\\' && i + 1 < text.size() && !IsLineBreak(text[i + 1]) ? 2 : 1;
    }
    return i < text.size() && text[i] == quote ? i + 1 : i;
}

// Just past the closing """ of a text block whose content starts at `from`, or the text's
// size.
size_t EndOfTextBlock(std::string_view text, size_t from) {
    size_t i = from;
    while (i < text.size()) {
        if (text[i] == '\\') {
            i += 2;
        } else if (text.compare(i, 3, R"(""")") == 0) {
            return i + 3;
        } else {
            ++i;
        }
    }
    return text.size();
}

} // namespace

std::vector<SJavaSpan> FindJavaLiteralsAndComments(std::string_view text) {
    std::vector<SJavaSpan> spans;
    const size_t size = text.size();
    // Only these three characters can open a literal or a comment.
    CNextOf slash(text, '/'), quote(text, '"'), apostrophe(text, '\'');
    size_t i = 0;
    for (;;) {
        i = std::min({slash.From(i), quote.From(i), apostrophe.From(i)});
        if (i == kNone) {
            return spans;
        }
        const char next = i + 1 < size ? text[i + 1] : '\0';
        size_t end = kNone;
        if (text[i] == '/') {
            end = next == '/'   ? LineEnd(text, i + 2)
                  : next == '*' ? EndOfBlockComment(text, i + 2)
                                : kNone;
        } else if (text.compare(i, 3, R"(""")") == 0) {
            end = EndOfTextBlock(text, i + 3);
        } else {
            end = EndOfQuoted(text, i);
        }
        if (end == kNone) {
            ++i; // a division
            continue;
        }
        spans.push_back({i, end});
        i = end;
    }
}

void MaskJavaLiteralsAndComments(std::string_view text, const std::vector<SJavaSpan>& spans,
                                 size_t from, size_t to, std::string& mask) {
    to = std::min(to, text.size());
    mask.assign(text.substr(from, to > from ? to - from : 0));
    // The first span that ends after `from`.
    auto span = std::upper_bound(spans.begin(), spans.end(), from,
                                 [](size_t at, const SJavaSpan& s) { return at < s.end; });
    for (; span != spans.end() && span->start < to; ++span) {
        for (size_t i = std::max(span->start, from); i < std::min(span->end, to); ++i) {
            if (!IsLineBreak(text[i])) {
                mask[i - from] = ' ';
            }
        }
    }
}

} // namespace tovin
