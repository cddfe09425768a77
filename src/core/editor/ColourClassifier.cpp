#include "editor/ColourClassifier.h"

#include "editor/KeywordMatcher.h"

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

// The Java scan with its four states. The first three positions take their class from how the
// text begins; openers and closers are looked at from the fourth position on.
void ScanJava(std::string_view text, std::span<ETokenClass> classes) {
    const size_t n = text.size();
    bool inString = false;
    bool inLineComment = text.starts_with("//");
    bool inBlockComment = text.starts_with("/*");
    bool justOpened = false;
    const size_t head = std::min<size_t>(3, n);
    if (n > 0 && text[0] == '"') {
        inString = true;
        Fill(classes, 0, head, ETokenClass::String);
    }
    if (inLineComment || inBlockComment) {
        Fill(classes, 0, head, ETokenClass::Comment);
    }
    for (size_t i = 3; i < n; ++i) {
        if (inBlockComment) {
            inBlockComment = !(text[i - 2] == '*' && text[i - 1] == '/');
        } else if (inLineComment) {
            inLineComment = !(text[i - 1] == '\r' && text[i] == '\n');
        } else if (inString) {
            if (!justOpened && text[i - 1] == '"' && (text[i - 2] != '\\' || text[i - 3] == '\\')) {
                inString = false;
            }
            justOpened = false;
        } else if (text[i] == '"') {
            inString = true;
            justOpened = true;
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

// Which marker ends last in the text before position: true for open. The text is read
// backwards in chunks that grow fourfold and overlap by one character less than the longer
// marker, so every marker lies wholly inside some chunk; the first chunk that holds one
// decides. A marker found wholly inside a chunk ends after any marker that starts before the
// chunk, as long as the two markers end in different characters and differ in length by at
// most one, which holds for every pair used here.
template <class ReadRange>
bool OpenerIsLast(ReadRange&& read, int length, int position, const SMarker& open,
                  const SMarker& close, int window) {
    const auto overlap =
        static_cast<std::int64_t>(std::max(open.text.size(), close.text.size()) - 1);
    std::int64_t high = std::clamp(position, 0, length);
    std::int64_t size = std::max<std::int64_t>(window, overlap + 1);
    for (;;) {
        std::int64_t low = std::max<std::int64_t>(0, high - size);
        std::string_view seen = read(static_cast<int>(low), static_cast<int>(high));
        size_t opener = FindLast(seen, open);
        size_t closer = FindLast(seen, close);
        if (opener != npos || closer != npos) {
            auto end = [](size_t at, size_t markerLength) {
                return at == npos ? std::int64_t{-1} : static_cast<std::int64_t>(at + markerLength);
            };
            return end(opener, open.text.size()) > end(closer, close.text.size());
        }
        if (low == 0) {
            return false;
        }
        high = low + overlap;
        size *= 4;
    }
}

bool OpenerIsLast(std::string_view text, int position, const SMarker& open, const SMarker& close,
                  int window) {
    auto read = [text](int low, int high) {
        return text.substr(static_cast<size_t>(low), static_cast<size_t>(high - low));
    };
    return OpenerIsLast(read, static_cast<int>(text.size()), position, open, close, window);
}

bool OpenerIsLast(const CTextControl& control, int position, const SMarker& open,
                  const SMarker& close, int window) {
    std::string storage;
    auto read = [&control, &storage](int low, int high) {
        storage = control.GetTextRange(low, high);
        return std::string_view(storage);
    };
    return OpenerIsLast(read, control.GetLength(), position, open, close, window);
}

template <class Source>
SLineContext LineContextOf(ELanguage language, const Source& source, int lineStart) {
    SLineContext context;
    if (language == ELanguage::Java) {
        context.inBlockComment = IsInBlockComment(source, lineStart);
    } else if (GetLanguageRules(language).markup) {
        context.inTag = IsInTag(source, lineStart);
        context.inHtmlComment = IsInHtmlComment(source, lineStart);
    }
    return context;
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

bool IsInBlockComment(std::string_view text, int position, int window) {
    return OpenerIsLast(text, position, kBlockOpen, kBlockClose, window);
}

bool IsInTag(std::string_view text, int position, int window) {
    return OpenerIsLast(text, position, kTagOpen, kTagClose, window);
}

bool IsInHtmlComment(std::string_view text, int position, int window) {
    return OpenerIsLast(text, position, kMarkupCommentOpen, kMarkupCommentClose, window);
}

bool IsInBlockComment(const CTextControl& control, int position, int window) {
    return OpenerIsLast(control, position, kBlockOpen, kBlockClose, window);
}

bool IsInTag(const CTextControl& control, int position, int window) {
    return OpenerIsLast(control, position, kTagOpen, kTagClose, window);
}

bool IsInHtmlComment(const CTextControl& control, int position, int window) {
    return OpenerIsLast(control, position, kMarkupCommentOpen, kMarkupCommentClose, window);
}

SLineContext GetLineContext(ELanguage language, std::string_view text, int lineStart) {
    return LineContextOf(language, text, lineStart);
}

SLineContext GetLineContext(ELanguage language, const CTextControl& control, int lineStart) {
    return LineContextOf(language, control, lineStart);
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

void ClassifyLine(ELanguage language, std::string_view line, const SLineContext& context,
                  std::span<ETokenClass> classes) {
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
        bool open = rules.markup ? context.inHtmlComment : context.inBlockComment;
        MarkLineBlockComments(line, classes, rules.blockOpen, rules.blockClose, open);
    }
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
