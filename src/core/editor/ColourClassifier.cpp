#include "core/editor/ColourClassifier.h"

#include "core/editor/KeywordMatcher.h"
#include "core/javamodel/JavaLexicalPass.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace tovin {

namespace {

constexpr size_t npos = std::string_view::npos;

void Fill(std::span<ETokenClass> classes, size_t from, size_t to, ETokenClass cls) {
    std::fill(classes.begin() + static_cast<std::ptrdiff_t>(from),
              classes.begin() + static_cast<std::ptrdiff_t>(to), cls);
}

// Whether the quote at k (never the first character of a string) closes it.
bool ClosesString(std::string_view text, size_t k, EEscapeRule rule) {
    if (text[k - 1] != '\\') {
        return true;
    }
    return rule == EEscapeRule::Double && k >= 2 && text[k - 2] == '\\';
}

size_t FindClosingQuote(std::string_view text, size_t from, EEscapeRule rule) {
    size_t quote = text.find('"', from);
    while (quote != npos && !ClosesString(text, quote, rule)) {
        quote = text.find('"', quote + 1);
    }
    return quote;
}

// Every "<" up to the next ">" (or to the end) is tag; the next search starts after the range.
// A tag left open by an earlier line (openAtStart) takes the text up to its ">" first.
void MarkTags(std::string_view text, std::span<ETokenClass> classes, bool openAtStart = false) {
    size_t from = 0;
    for (;;) {
        size_t open = openAtStart ? 0 : text.find('<', from);
        openAtStart = false;
        if (open == npos) {
            return;
        }
        size_t close = text.find('>', open);
        size_t end = close == npos ? text.size() : close + 1;
        Fill(classes, open, end, ETokenClass::Tag);
        from = end;
    }
}

// Markup whole-text strings: an unterminated string stays uncoloured, a closing quote that is
// the last character stays uncoloured, and the next search skips one character.
void MarkMarkupStrings(std::string_view text, std::span<ETokenClass> classes) {
    const size_t last = text.empty() ? 0 : text.size() - 1;
    size_t from = 0;
    do {
        size_t open = text.find('"', from);
        if (open == npos) {
            return;
        }
        size_t close = FindClosingQuote(text, open + 1, EEscapeRule::Double);
        size_t end = std::min(close == npos ? open : close + 1, last);
        if (open < end) {
            Fill(classes, open, end, ETokenClass::String);
        }
        from = end + 1;
    } while (from < last);
}

// Markup whole-text comments: an unclosed "<!--" runs to one before the end.
void MarkMarkupComments(std::string_view text, std::span<ETokenClass> classes) {
    size_t from = 0;
    for (;;) {
        size_t open = text.find("<!--", from);
        if (open == npos) {
            return;
        }
        size_t close = text.find("-->", open);
        size_t end = close == npos ? text.size() - 1 : close + 3;
        if (open < end) {
            Fill(classes, open, end, ETokenClass::Comment);
        }
        from = end + 1;
    }
}

// Line strings: an unterminated string runs to the end of the line; the next search skips one
// character after a string.
void MarkLineStrings(std::string_view line, std::span<ETokenClass> classes, EEscapeRule rule) {
    size_t open = line.find('"');
    while (open != npos) {
        size_t close = FindClosingQuote(line, open + 1, rule);
        size_t end = close == npos ? line.size() : close + 1;
        Fill(classes, open, end, ETokenClass::String);
        open = line.find('"', end + 1);
    }
}

// Block comments of one line; the search after a closed comment resumes at its closer, and a
// closer with no opener before it ends a comment that was open at the line start.
void MarkLineBlockComments(std::string_view line, std::span<ETokenClass> classes,
                           std::string_view open, std::string_view close, bool inComment) {
    if (inComment && line.find(close) == npos) {
        Fill(classes, 0, line.size(), ETokenClass::Comment);
    }
    size_t from = 0;
    for (;;) {
        size_t opener = line.find(open, from);
        if (opener == npos) {
            size_t closer = line.find(close);
            if (closer != npos && inComment) {
                Fill(classes, 0, closer + close.size(), ETokenClass::Comment);
            }
            return;
        }
        size_t closer = line.find(close, opener);
        Fill(classes, opener, closer == npos ? line.size() : closer + close.size(),
             ETokenClass::Comment);
        if (closer == npos) {
            return;
        }
        from = closer;
    }
}

EJavaLineStart JavaLineStartOf(const SLineContext& context) {
    return context.inTextBlock      ? EJavaLineStart::TextBlock
           : context.inBlockComment ? EJavaLineStart::BlockComment
                                    : EJavaLineStart::Code;
}

SLineContext JavaContextOf(EJavaLineStart start) {
    return SLineContext{.inBlockComment = start == EJavaLineStart::BlockComment,
                        .inTextBlock = start == EJavaLineStart::TextBlock};
}

// The Java line passes (classes empty: only the next line's context is wanted): keywords, then
// the literals and comments the Java lexer finds, which no keyword survives.
SLineContext JavaLinePasses(std::string_view line, const SLineContext& context,
                            std::span<ETokenClass> classes) {
    if (classes.empty()) {
        return JavaContextOf(JavaNextLineStart(line, JavaLineStartOf(context)));
    }
    CKeywordMatcher::For(ELanguage::Java).Mark(line, classes, false);
    CJavaLineLexer lexer(line, JavaLineStartOf(context));
    SJavaLexeme lexeme;
    while (lexer.Next(lexeme)) {
        const bool comment =
            lexeme.kind == EJavaLexeme::LineComment || lexeme.kind == EJavaLexeme::BlockComment;
        Fill(classes, lexeme.start, lexeme.end,
             comment ? ETokenClass::Comment : ETokenClass::String);
    }
    return JavaContextOf(lexer.NextLineStart());
}

// Just past the closing triple quote of a Jython string whose content starts at `from`, or
// npos; a backslash escapes the character after it.
size_t EndOfTripleQuoted(std::string_view line, size_t from, char quote) {
    const char closer[] = {quote, quote, quote};
    for (size_t i = from; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
        } else if (line.compare(i, 3, std::string_view(closer, 3)) == 0) {
            return i + 3;
        }
    }
    return npos;
}

// Just past a one-line Jython string opened at `open`, or the line's end when it is not closed.
size_t EndOfJythonQuoted(std::string_view line, size_t open) {
    size_t i = open + 1;
    while (i < line.size() && line[i] != line[open]) {
        i += line[i] == '\\' ? 2 : 1;
    }
    return std::min(i + 1, line.size());
}

// The Jython line passes (classes empty: only the next line's context is wanted): keywords,
// then strings of either quote, one-line or triple-quoted (which go on over lines), and a "#"
// outside them comments out the rest of the line.
SLineContext JythonLinePasses(std::string_view line, SLineContext context,
                              std::span<ETokenClass> classes) {
    const bool marking = !classes.empty();
    if (marking) {
        CKeywordMatcher::For(ELanguage::Jython).Mark(line, classes, false);
    }
    const auto mark = [&](size_t start, size_t end, ETokenClass cls) {
        if (marking) {
            Fill(classes, start, end, cls);
        }
    };
    size_t at = 0;
    if (context.inTextBlock || context.inTripleSingle) {
        const size_t end = EndOfTripleQuoted(line, 0, context.inTextBlock ? '"' : '\'');
        mark(0, end == npos ? line.size() : end, ETokenClass::String);
        if (end == npos) {
            return context;
        }
        at = end;
    }
    context = SLineContext{};
    for (;;) {
        at = line.find_first_of("#\"'", at);
        if (at == npos) {
            return context;
        }
        if (line[at] == '#') {
            mark(at, line.size(), ETokenClass::Comment);
            return context;
        }
        const char quote = line[at];
        size_t end = 0;
        if (at + 2 < line.size() && line[at + 1] == quote && line[at + 2] == quote) {
            end = EndOfTripleQuoted(line, at + 3, quote);
            if (end == npos) {
                mark(at, line.size(), ETokenClass::String);
                context.inTextBlock = quote == '"';
                context.inTripleSingle = quote == '\'';
                return context;
            }
        } else {
            end = EndOfJythonQuoted(line, at);
        }
        mark(at, end, ETokenClass::String);
        at = end;
    }
}

// A delimiter the position tests look for, with the index of its rarest character in the
// texts it occurs in; that character is what memrchr looks for.
struct SMarker {
    std::string_view text;
    size_t anchor;
};

constexpr SMarker kBlockOpen{"/*", 1};
constexpr SMarker kBlockClose{"*/", 0};
constexpr SMarker kTagOpen{"<", 0};
constexpr SMarker kTagClose{">", 0};
constexpr SMarker kMarkupCommentOpen{"<!--", 1};
constexpr SMarker kMarkupCommentClose{"-->", 0};

// Last start of the marker in text.
size_t FindLast(std::string_view text, const SMarker& marker) {
    const size_t length = marker.text.size();
    if (length > text.size()) {
        return npos;
    }
    // Anchor positions of candidates lie in [anchor, limit).
    size_t limit = text.size() - length + marker.anchor + 1;
    const char anchor = marker.text[marker.anchor];
    while (limit > marker.anchor) {
        const void* hit = ::memrchr(text.data() + marker.anchor, anchor, limit - marker.anchor);
        if (!hit) {
            return npos;
        }
        auto at = static_cast<size_t>(static_cast<const char*>(hit) - text.data());
        size_t start = at - marker.anchor;
        if (text.compare(start, length, marker.text) == 0) {
            return start;
        }
        limit = at;
    }
    return npos;
}

// Where a marker found at `at` ends; -1 for none.
std::int64_t EndOf(size_t at, const SMarker& marker) {
    return at == npos ? -1 : static_cast<std::int64_t>(at + marker.text.size());
}

// Which marker ends last in the text before position: true for open. The text is read
// backwards in chunks that grow fourfold and overlap by one character less than the longer
// marker, so every marker lies wholly inside some chunk; the first chunk that holds one
// decides. A marker found wholly inside a chunk ends after any marker that starts before the
// chunk, as long as the two markers end in different characters and differ in length by at
// most one, which holds for every pair used here.
bool OpenerIsLast(std::string_view text, int position, const SMarker& open, const SMarker& close,
                  int window) {
    const auto overlap =
        static_cast<std::int64_t>(std::max(open.text.size(), close.text.size()) - 1);
    std::int64_t high = std::clamp(position, 0, static_cast<int>(text.size()));
    std::int64_t size = std::max<std::int64_t>(window, overlap + 1);
    for (;;) {
        std::int64_t low = std::max<std::int64_t>(0, high - size);
        std::string_view seen =
            text.substr(static_cast<size_t>(low), static_cast<size_t>(high - low));
        size_t opener = FindLast(seen, open);
        size_t closer = FindLast(seen, close);
        if (opener != npos || closer != npos) {
            return EndOf(opener, open) > EndOf(closer, close);
        }
        if (low == 0) {
            return false;
        }
        high = low + overlap;
        size *= 4;
    }
}

// Whether, of the two markers, the one that ends last in text is the opener; `open` when
// neither occurs (what was open before the text stays open).
bool LastOpens(std::string_view text, const SMarker& opener, const SMarker& closer, bool open) {
    const size_t opens = FindLast(text, opener);
    const size_t closes = FindLast(text, closer);
    if (opens == npos && closes == npos) {
        return open;
    }
    return EndOf(opens, opener) > EndOf(closes, closer);
}

SLineContext NextMarkupContext(std::string_view line, SLineContext context) {
    context.inTag = LastOpens(line, kTagOpen, kTagClose, context.inTag);
    context.inHtmlComment =
        LastOpens(line, kMarkupCommentOpen, kMarkupCommentClose, context.inHtmlComment);
    return context;
}

void ClassifyMarkupText(ELanguage language, std::string_view text, std::span<ETokenClass> classes) {
    MarkTags(text, classes);
    CKeywordMatcher::For(language).Mark(text, classes, false);
    MarkMarkupStrings(text, classes);
    MarkMarkupComments(text, classes);
}

// The line passes over every line of the text, each in the context the lines before it leave.
// Line breaks stay normal, as the line passes never colour them.
void ClassifyEveryLine(ELanguage language, std::string_view text, std::span<ETokenClass> classes,
                       std::vector<int>* lineStates) {
    SLineContext context;
    for (size_t start = 0;;) {
        if (lineStates) {
            lineStates->push_back(LineStateOf(context));
        }
        const size_t end = std::min(FindLineBreak(text, start), text.size());
        context = ClassifyLine(language, text.substr(start, end - start), context,
                               classes.subspan(start, end - start));
        if (end == text.size()) {
            return;
        }
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

// The context of every line of a text, by the line passes' rules.
void CollectLineStates(ELanguage language, std::string_view text, std::vector<int>& lineStates) {
    SLineContext context;
    for (size_t start = 0;;) {
        lineStates.push_back(LineStateOf(context));
        const size_t end = std::min(FindLineBreak(text, start), text.size());
        context = NextLineContext(language, text.substr(start, end - start), context);
        if (end == text.size()) {
            return;
        }
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

} // namespace

int LineStateOf(const SLineContext& context) {
    return (context.inBlockComment ? 1 : 0) | (context.inTextBlock ? 2 : 0) |
           (context.inTag ? 4 : 0) | (context.inHtmlComment ? 8 : 0) |
           (context.inTripleSingle ? 16 : 0);
}

SLineContext LineContextOfState(int state) {
    return SLineContext{.inBlockComment = (state & 1) != 0,
                        .inTextBlock = (state & 2) != 0,
                        .inTag = (state & 4) != 0,
                        .inHtmlComment = (state & 8) != 0,
                        .inTripleSingle = (state & 16) != 0};
}

SLineContext NextLineContext(ELanguage language, std::string_view line,
                             const SLineContext& context) {
    switch (language) {
    case ELanguage::Java:
        return JavaLinePasses(line, context, {});
    case ELanguage::Html:
    case ELanguage::Xml:
        return NextMarkupContext(line, context);
    case ELanguage::Jython:
        return JythonLinePasses(line, context, {});
    }
    return {};
}

bool IsInBlockComment(std::string_view text, int position, int window) {
    return OpenerIsLast(text, position, kBlockOpen, kBlockClose, window);
}

bool IsInTag(std::string_view text, int position, int window) {
    return OpenerIsLast(text, position, kTagOpen, kTagClose, window);
}

bool IsInHtmlComment(std::string_view text, int position, int window) {
    return OpenerIsLast(text, position, kMarkupCommentOpen, kMarkupCommentClose, window);
}

SLineContext GetLineContext(ELanguage language, std::string_view text, int position) {
    const std::string_view before =
        text.substr(0, static_cast<size_t>(std::clamp(position, 0, static_cast<int>(text.size()))));
    SLineContext context;
    size_t start = 0;
    for (;;) {
        const size_t end = std::min(FindLineBreak(before, start), before.size());
        context = NextLineContext(language, before.substr(start, end - start), context);
        if (end == before.size()) {
            return context;
        }
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        if (start > before.size()) {
            return context; // the position lies between the CR and the LF of a line break
        }
    }
}

CClassBuffer ClassifyText(ELanguage language, std::string_view text, std::vector<int>* lineStates) {
    CClassBuffer classes(text.size(), ETokenClass::Normal);
    if (lineStates) {
        lineStates->clear();
    }
    if (GetLanguageRules(language).markup) {
        ClassifyMarkupText(language, text, classes);
        if (lineStates) {
            CollectLineStates(language, text, *lineStates);
        }
    } else {
        ClassifyEveryLine(language, text, classes, lineStates);
    }
    return classes;
}

SLineContext ClassifyLine(ELanguage language, std::string_view line, const SLineContext& context,
                          std::span<ETokenClass> classes) {
    if (language == ELanguage::Java) {
        return JavaLinePasses(line, context, classes);
    }
    if (language == ELanguage::Jython) {
        return JythonLinePasses(line, context, classes);
    }
    const SLanguageRules& rules = GetLanguageRules(language);
    MarkTags(line, classes, context.inTag);
    CKeywordMatcher::For(language).Mark(line, classes, context.inTag);
    MarkLineStrings(line, classes, rules.escapeRule);
    MarkLineBlockComments(line, classes, rules.blockOpen, rules.blockClose, context.inHtmlComment);
    return NextMarkupContext(line, context);
}

CClassBuffer ClassifyLine(ELanguage language, std::string_view line, const SLineContext& context) {
    CClassBuffer classes(line.size(), ETokenClass::Normal);
    ClassifyLine(language, line, context, classes);
    return classes;
}

int LineBreakLengthBefore(std::string_view text, int next) {
    auto at = static_cast<size_t>(std::clamp(next, 0, static_cast<int>(text.size())));
    if (at >= 2 && text.compare(at - 2, 2, "\r\n") == 0) {
        return 2;
    }
    return at >= 1 && (text[at - 1] == '\r' || text[at - 1] == '\n') ? 1 : 0;
}

} // namespace tovin
