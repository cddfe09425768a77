#include "core/javamodel/JavaLexicalPass.h"

#include "core/javamodel/SourceLines.h"

#include <algorithm>
#include <cstring>

namespace tovin {

namespace {

constexpr size_t kNone = std::string_view::npos;
constexpr std::string_view kTextBlockQuote = R"(""")";

// Just past the "*/" closing a block comment whose content starts at `from`, or kNone. A
// comment has fewer slashes than stars, so the slashes are looked for.
size_t EndOfBlockComment(std::string_view line, size_t from) {
    for (size_t slash = line.find('/', from); slash != kNone; slash = line.find('/', slash + 1)) {
        if (slash > from && line[slash - 1] == '*') {
            return slash + 1;
        }
    }
    return kNone;
}

// Just past the closing """ of a text block whose content starts at `from`, or kNone.
size_t EndOfTextBlock(std::string_view line, size_t from) {
    for (size_t i = from; i < line.size();) {
        const void* hit = std::memchr(line.data() + i, '"', line.size() - i);
        const void* escape = std::memchr(line.data() + i, '\\', line.size() - i);
        if (escape && (!hit || escape < hit)) {
            i = static_cast<size_t>(static_cast<const char*>(escape) - line.data()) + 2;
            continue;
        }
        if (!hit) {
            return kNone;
        }
        i = static_cast<size_t>(static_cast<const char*>(hit) - line.data());
        if (line.compare(i, kTextBlockQuote.size(), kTextBlockQuote) == 0) {
            return i + kTextBlockQuote.size();
        }
        ++i;
    }
    return kNone;
}

// Just past a string or character literal whose opening quote is at `open`; an unclosed one
// ends at the line's end.
size_t EndOfQuoted(std::string_view line, size_t open) {
    const char quote = line[open];
    size_t i = open + 1;
    while (i < line.size() && line[i] != quote) {
        i += line[i] == '\\' ? 2 : 1;
    }
    return std::min(i + 1, line.size());
}

} // namespace

bool CJavaLineLexer::Next(SJavaLexeme& lexeme) {
    if (!m_continued && m_state != EJavaLineStart::Code) {
        m_continued = true;
        const bool comment = m_state == EJavaLineStart::BlockComment;
        const size_t end = comment ? EndOfBlockComment(m_line, 0) : EndOfTextBlock(m_line, 0);
        lexeme = {0, end == kNone ? m_line.size() : end,
                  comment ? EJavaLexeme::BlockComment : EJavaLexeme::TextBlock};
        if (end != kNone) {
            m_state = EJavaLineStart::Code;
        }
        m_at = lexeme.end;
        return true;
    }
    m_continued = true;
    for (;;) {
        const size_t at = m_line.find_first_of("/\"'", m_at);
        if (at == kNone) {
            m_at = m_line.size();
            return false;
        }
        const char next = at + 1 < m_line.size() ? m_line[at + 1] : '\0';
        if (m_line[at] == '/') {
            if (next == '/') {
                lexeme = {at, m_line.size(), EJavaLexeme::LineComment};
            } else if (next == '*') {
                const size_t end = EndOfBlockComment(m_line, at + 2);
                lexeme = {at, end == kNone ? m_line.size() : end, EJavaLexeme::BlockComment};
                if (end == kNone) {
                    m_state = EJavaLineStart::BlockComment;
                }
            } else {
                m_at = at + 1; // a division
                continue;
            }
        } else if (m_line.compare(at, kTextBlockQuote.size(), kTextBlockQuote) == 0) {
            const size_t end = EndOfTextBlock(m_line, at + kTextBlockQuote.size());
            lexeme = {at, end == kNone ? m_line.size() : end, EJavaLexeme::TextBlock};
            if (end == kNone) {
                m_state = EJavaLineStart::TextBlock;
            }
        } else {
            lexeme = {at, EndOfQuoted(m_line, at),
                      m_line[at] == '"' ? EJavaLexeme::String : EJavaLexeme::Character};
        }
        m_at = lexeme.end;
        return true;
    }
}

EJavaLineStart JavaNextLineStart(std::string_view line, EJavaLineStart start) {
    CJavaLineLexer lexer(line, start);
    SJavaLexeme lexeme;
    while (lexer.Next(lexeme)) {
    }
    return lexer.NextLineStart();
}

// The line's parts of a comment or text block that goes on over lines make one span, with the
// line breaks between them.
std::vector<SJavaSpan> FindJavaLiteralsAndComments(std::string_view text) {
    std::vector<SJavaSpan> spans;
    EJavaLineStart start = EJavaLineStart::Code;
    for (size_t lineStart = 0;;) {
        const size_t lineEnd = std::min(FindLineBreak(text, lineStart), text.size());
        CJavaLineLexer lexer(text.substr(lineStart, lineEnd - lineStart), start);
        SJavaLexeme lexeme;
        bool first = true;
        while (lexer.Next(lexeme)) {
            if (first && start != EJavaLineStart::Code && !spans.empty()) {
                spans.back().end = lineStart + lexeme.end;
            } else {
                spans.push_back({lineStart + lexeme.start, lineStart + lexeme.end});
            }
            first = false;
        }
        start = lexer.NextLineStart();
        if (lineEnd == text.size()) {
            return spans;
        }
        lineStart = lineEnd + (text.compare(lineEnd, 2, "\r\n") == 0 ? 2 : 1);
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
