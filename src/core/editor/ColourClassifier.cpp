#include "core/editor/ColourClassifier.h"

#include "core/editor/KeywordMatcher.h"

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
void MarkTags(std::string_view text, std::span<ETokenClass> classes) {
    size_t from = 0;
    for (;;) {
        size_t open = text.find('<', from);
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

// The first line-comment opener that does not start inside a string comments out the rest.
void MarkLineComment(std::string_view line, std::span<ETokenClass> classes,
                     std::string_view opener) {
    size_t at = line.find(opener);
    while (at != npos && classes[at] == ETokenClass::String) {
        at = line.find(opener, at + 1);
    }
    if (at != npos) {
        Fill(classes, at, line.size(), ETokenClass::Comment);
    }
}

// A stretch of a line in which comment delimiters do not count (a text block).
struct SSpan {
    size_t start;
    size_t end;
};

// The first `what` at or after `from` that lies outside every skipped stretch.
size_t FindOutside(std::string_view line, std::string_view what, size_t from,
                   std::span<const SSpan> skipped) {
    for (;;) {
        const size_t at = line.find(what, from);
        const auto inside = std::find_if(skipped.begin(), skipped.end(), [at](const SSpan& span) {
            return at >= span.start && at < span.end;
        });
        if (at == npos || inside == skipped.end()) {
            return at;
        }
        from = inside->end;
    }
}

// Block comments of one line; the search after a closed comment resumes at its closer, and a
// closer with no opener before it ends a comment that was open at the line start.
void MarkLineBlockComments(std::string_view line, std::span<ETokenClass> classes,
                           std::string_view open, std::string_view close, bool inComment,
                           std::span<const SSpan> skipped = {}) {
    if (inComment && FindOutside(line, close, 0, skipped) == npos) {
        Fill(classes, 0, line.size(), ETokenClass::Comment);
    }
    size_t from = 0;
    for (;;) {
        size_t opener = FindOutside(line, open, from, skipped);
        if (opener == npos) {
            size_t closer = FindOutside(line, close, 0, skipped);
            if (closer != npos && inComment) {
                Fill(classes, 0, closer + close.size(), ETokenClass::Comment);
            }
            return;
        }
        size_t closer = FindOutside(line, close, opener, skipped);
        Fill(classes, opener, closer == npos ? line.size() : closer + close.size(),
             ETokenClass::Comment);
        if (closer == npos) {
            return;
        }
        from = closer;
    }
}

constexpr std::string_view kTextBlockQuote = "\"\"\"";

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Start of the first triple quote at or after `from` whose first quote no backslash escapes (an
// escaping backslash is one of an odd number in a row), or npos.
size_t FindTextBlockEnd(std::string_view text, size_t from) {
    for (size_t at = text.find(kTextBlockQuote, from); at != npos;
         at = text.find(kTextBlockQuote, at + 1)) {
        size_t backslashes = 0;
        while (backslashes < at && text[at - 1 - backslashes] == '\\') {
            ++backslashes;
        }
        if (backslashes % 2 == 0) {
            return at;
        }
    }
    return npos;
}

// Length of the character literal that starts at `at` ('a', '\n', '\'', '\\', '\u0022',
// '\101', a letter of several UTF-8 bytes), or 0 when the quote there starts none.
size_t CharLiteralLength(std::string_view text, size_t at) {
    size_t i = at + 1;
    if (i >= text.size() || text[i] == '\'' || IsLineBreak(text[i])) {
        return 0;
    }
    if (text[i] != '\\') {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) {
            ++i;
        }
    } else if (++i >= text.size() || IsLineBreak(text[i])) {
        return 0;
    } else if (text[i] == 'u') {
        while (i < text.size() && text[i] == 'u') {
            ++i;
        }
        for (size_t digit = 0; digit < 4; ++digit, ++i) {
            if (i >= text.size() || !IsHexDigit(text[i])) {
                return 0;
            }
        }
    } else if (text[i] >= '0' && text[i] <= '7') {
        const size_t digits = text[i] <= '3' ? 3 : 2;
        for (size_t digit = 0;
             digit < digits && i < text.size() && text[i] >= '0' && text[i] <= '7'; ++digit) {
            ++i;
        }
    } else {
        ++i;
    }
    return i < text.size() && text[i] == '\'' ? i + 1 - at : 0;
}

// Length of the text block or character literal that starts at `at`, or 0. A text block that
// is never closed runs to the end of the text.
size_t JavaStringAt(std::string_view text, size_t at) {
    if (text.compare(at, kTextBlockQuote.size(), kTextBlockQuote) == 0) {
        const size_t close = FindTextBlockEnd(text, at + kTextBlockQuote.size());
        return (close == npos ? text.size() : close + kTextBlockQuote.size()) - at;
    }
    return text[at] == '\'' ? CharLiteralLength(text, at) : 0;
}

// The Java scan with its four states. The first three positions take their class from how the
// text begins; openers and closers are looked at from the fourth position on. Text blocks and
// character literals are passed over whole where the scan meets them outside strings and
// comments (at the very start too).
void ScanJava(std::string_view text, std::span<ETokenClass> classes) {
    const size_t n = text.size();
    bool inString = false;
    bool inLineComment = text.starts_with("//");
    bool inBlockComment = text.starts_with("/*");
    bool justOpened = false;
    const size_t head = std::min<size_t>(3, n);
    size_t start = 3;
    if (const size_t length = n > 0 ? JavaStringAt(text, 0) : 0; length > 0) {
        Fill(classes, 0, length, ETokenClass::String);
        start = std::max(start, length);
    } else if (n > 0 && text[0] == '"') {
        inString = true;
        Fill(classes, 0, head, ETokenClass::String);
    }
    if (inLineComment || inBlockComment) {
        Fill(classes, 0, head, ETokenClass::Comment);
    }
    for (size_t i = start; i < n; ++i) {
        if (inBlockComment) {
            inBlockComment = !(text[i - 2] == '*' && text[i - 1] == '/');
        } else if (inLineComment) {
            inLineComment = !(text[i - 1] == '\r' && text[i] == '\n');
        } else if (inString) {
            if (!justOpened && text[i - 1] == '"' && (text[i - 2] != '\\' || text[i - 3] == '\\')) {
                inString = false;
            }
            justOpened = false;
        } else if (text[i] == '"' || text[i] == '\'') {
            if (const size_t length = JavaStringAt(text, i); length > 0) {
                Fill(classes, i, i + length, ETokenClass::String);
                i += length - 1;
                continue;
            }
            inString = text[i] == '"';
            justOpened = inString;
        } else if (text[i] == '/' && i + 1 < n) {
            inLineComment = text[i + 1] == '/';
            inBlockComment = text[i + 1] == '*';
        }
        if (inString) {
            classes[i] = ETokenClass::String;
        }
        if (inLineComment || inBlockComment) {
            classes[i] = ETokenClass::Comment;
        }
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

// Whether a block comment is open after the "/*" and "*/" of a line read so far, from what was
// open at the line's start; stretches of it can be passed over (text blocks).
class CBlockCommentTracker {
public:
    CBlockCommentTracker(std::string_view line, bool open) : m_line(line), m_open(open) {}

    // After the markers that end at or before `to`.
    bool OpenAt(size_t to) {
        for (; m_next + 2 <= to; ++m_next) {
            if (m_line[m_next] == '/' && m_line[m_next + 1] == '*') {
                m_open = true;
            } else if (m_line[m_next] == '*' && m_line[m_next + 1] == '/') {
                m_open = false;
            }
        }
        return m_open;
    }
    // No marker before `to` counts any more.
    void Skip(size_t to) { m_next = std::max(m_next, to); }

private:
    std::string_view m_line;
    bool m_open;
    size_t m_next = 0;
};

bool BlockCommentOpenAtEnd(std::string_view line, bool open, std::span<const SSpan> textBlocks) {
    if (textBlocks.empty()) {
        return LastOpens(line, kBlockOpen, kBlockClose, open);
    }
    CBlockCommentTracker comment(line, open);
    for (const SSpan& block : textBlocks) {
        comment.OpenAt(block.start);
        comment.Skip(block.end);
    }
    return comment.OpenAt(line.size());
}

struct SJavaLineStrings {
    std::vector<SSpan> textBlocks;
    bool textBlockOpen = false; // the last text block runs on to the next line
};

// The strings pass of a Java line (classes empty: only the text blocks are wanted).
// Double-quoted strings are found as the line passes have always found them: an unterminated
// one runs to the line's end, and the search after one starts a character past its end.
// Character literals are strings. A triple quote opens a text block only where the line is no
// comment: after no "//" outside strings, and where the "/*" and "*/" before it leave no block
// comment open (text blocks passed over, strings not, as in the comment pass).
SJavaLineStrings ScanJavaLineStrings(std::string_view line, bool inComment,
                                     std::span<ETokenClass> classes) {
    const bool marking = !classes.empty();
    const auto markString = [&](size_t start, size_t end) {
        if (marking) {
            Fill(classes, start, end, ETokenClass::String);
        }
    };
    SJavaLineStrings strings;
    CBlockCommentTracker comment(line, inComment);
    size_t slashes = line.find("//");
    bool lineComment = false;
    size_t plain = 0; // where the stretch outside strings before the next quote starts
    size_t from = 0;
    while (from < line.size()) {
        const auto quote = std::find_if(line.begin() + static_cast<std::ptrdiff_t>(from),
                                        line.end(), [](char c) { return c == '"' || c == '\''; });
        if (quote == line.end()) {
            break;
        }
        const auto at = static_cast<size_t>(quote - line.begin());
        if (!lineComment) {
            if (slashes != npos && slashes < plain) {
                slashes = line.find("//", plain);
            }
            lineComment = slashes < at;
        }
        if (line[at] == '\'') {
            const size_t length = CharLiteralLength(line, at);
            if (length > 0) {
                markString(at, at + length);
                plain = at + length;
            }
            from = at + std::max<size_t>(length, 1);
            continue;
        }
        if (line.compare(at, kTextBlockQuote.size(), kTextBlockQuote) == 0 && !lineComment &&
            !comment.OpenAt(at)) {
            const size_t close = FindTextBlockEnd(line, at + kTextBlockQuote.size());
            const size_t end = close == npos ? line.size() : close + kTextBlockQuote.size();
            markString(at, end);
            strings.textBlocks.push_back({at, end});
            comment.Skip(end);
            strings.textBlockOpen = close == npos;
            from = plain = end;
            continue;
        }
        const size_t close = FindClosingQuote(line, at + 1, EEscapeRule::Double);
        const size_t end = close == npos ? line.size() : close + 1;
        markString(at, end);
        plain = end;
        from = end + 1;
    }
    return strings;
}

// The Java line passes (classes empty: only the next line's context is wanted). A line that
// starts in a text block is string up to its closing triple quote, and the rest is a line of
// its own.
SLineContext JavaLinePasses(std::string_view line, SLineContext context,
                            std::span<ETokenClass> classes) {
    const bool marking = !classes.empty();
    if (context.inTextBlock) {
        const size_t close = FindTextBlockEnd(line, 0);
        const size_t end = close == npos ? line.size() : close + kTextBlockQuote.size();
        if (marking) {
            Fill(classes, 0, end, ETokenClass::String);
            classes = classes.subspan(end);
        }
        if (close == npos) {
            return context;
        }
        line.remove_prefix(end);
        context = SLineContext{};
    }
    if (marking) {
        CKeywordMatcher::For(ELanguage::Java).Mark(line, classes, false);
    }
    SJavaLineStrings strings;
    if (marking || line.find(kTextBlockQuote) != npos) {
        strings = ScanJavaLineStrings(line, context.inBlockComment, classes);
    }
    if (marking) {
        MarkLineComment(line, classes, "//");
        MarkLineBlockComments(line, classes, "/*", "*/", context.inBlockComment,
                              strings.textBlocks);
    }
    SLineContext next;
    next.inTextBlock = strings.textBlockOpen;
    next.inBlockComment = !next.inTextBlock &&
                          BlockCommentOpenAtEnd(line, context.inBlockComment, strings.textBlocks);
    return next;
}

void ClassifyMarkupText(ELanguage language, std::string_view text, std::span<ETokenClass> classes) {
    MarkTags(text, classes);
    CKeywordMatcher::For(language).Mark(text, classes, false);
    MarkMarkupStrings(text, classes);
    MarkMarkupComments(text, classes);
}

void ClassifyEveryLine(ELanguage language, std::string_view text, std::span<ETokenClass> classes) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == npos) {
            end = text.size();
        }
        ClassifyLine(language, text.substr(start, end - start), SLineContext{},
                     classes.subspan(start, end - start));
        if (end == text.size()) {
            return;
        }
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

} // namespace

int LineStateOf(const SLineContext& context) {
    return (context.inBlockComment ? 1 : 0) | (context.inTextBlock ? 2 : 0) |
           (context.inTag ? 4 : 0) | (context.inHtmlComment ? 8 : 0);
}

SLineContext LineContextOfState(int state) {
    return SLineContext{.inBlockComment = (state & 1) != 0,
                        .inTextBlock = (state & 2) != 0,
                        .inTag = (state & 4) != 0,
                        .inHtmlComment = (state & 8) != 0};
}

bool HasLineContext(ELanguage language) {
    return language != ELanguage::Jython;
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
        break;
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

CClassBuffer ClassifyText(ELanguage language, std::string_view text) {
    CClassBuffer classes(text.size(), ETokenClass::Normal);
    switch (language) {
    case ELanguage::Java:
        CKeywordMatcher::For(language).Mark(text, classes, false);
        ScanJava(text, classes);
        break;
    case ELanguage::Html:
    case ELanguage::Xml:
        ClassifyMarkupText(language, text, classes);
        break;
    case ELanguage::Jython:
        ClassifyEveryLine(language, text, classes);
        break;
    }
    return classes;
}

SLineContext ClassifyLine(ELanguage language, std::string_view line, const SLineContext& context,
                          std::span<ETokenClass> classes) {
    if (language == ELanguage::Java) {
        return JavaLinePasses(line, context, classes);
    }
    const SLanguageRules& rules = GetLanguageRules(language);
    if (rules.markup) {
        MarkTags(line, classes);
    }
    CKeywordMatcher::For(language).Mark(line, classes, context.inTag);
    MarkLineStrings(line, classes, rules.escapeRule);
    if (!rules.lineComment.empty()) {
        MarkLineComment(line, classes, rules.lineComment);
    }
    if (!rules.blockOpen.empty()) {
        MarkLineBlockComments(line, classes, rules.blockOpen, rules.blockClose,
                              context.inHtmlComment);
    }
    return NextLineContext(language, line, context);
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
