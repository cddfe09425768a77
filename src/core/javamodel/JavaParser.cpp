#include "javamodel/JavaParser.h"

#include "javamodel/SourceLines.h"
#include "platform/Files.h"

#include <climits>
#include <memory>

namespace tovin {

namespace {

constexpr size_t kNone = std::string_view::npos;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view TrimRight(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && IsSpace(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

std::string_view Trim(std::string_view text) {
    text = TrimRight(text);
    size_t start = 0;
    while (start < text.size() && IsSpace(text[start])) {
        ++start;
    }
    return text.substr(start);
}

// Position of the last LF before `before` (kNone when there is none).
size_t LastLineFeedBefore(std::string_view text, size_t before) {
    return before == 0 ? kNone : text.rfind('\n', before - 1);
}

// Finds the first occurrence of a pattern at or after a position. The last answer is kept and
// reused while it still lies at or after the position asked for, so a rising sequence of
// questions scans the text once.
class CForwardFinder {
public:
    CForwardFinder(std::string_view text, std::string_view pattern)
        : m_text(text), m_pattern(pattern) {}

    size_t Next(size_t from) {
        if (m_asked > from || (m_found != kNone && m_found < from)) {
            m_asked = from;
            m_found = m_text.find(m_pattern, from);
        }
        return m_found;
    }

private:
    std::string_view m_text;
    std::string_view m_pattern;
    size_t m_asked = kNone; // position of the last search; kNone before the first
    size_t m_found = kNone;
};

// The finders of one structure parse, all over the same text.
struct SFinders {
    explicit SFinders(std::string_view text)
        : open(text, "{"), close(text, "}"), blockStart(text, "/*"), blockEnd(text, "*/"),
          lineComment(text, "//"), lineFeed(text, "\n") {}
    CForwardFinder open, close, blockStart, blockEnd, lineComment, lineFeed;
};

// True when `at` comes before the first opening brace and before the first closing brace.
bool BeforeBothBraces(SFinders& find, size_t at, size_t from) {
    size_t open = find.open.Next(from);
    size_t close = find.close.Next(from);
    return open != kNone && at < open && close != kNone && at < close;
}

// Skips comments that come before the next brace; returns the new start of the rest.
size_t SkipLeadingComments(SFinders& find, size_t from) {
    for (;;) {
        size_t comment = find.blockStart.Next(from);
        if (comment == kNone || !BeforeBothBraces(find, comment, from)) {
            break;
        }
        size_t end = find.blockEnd.Next(from);
        if (end == kNone) {
            break;
        }
        from = end + 2;
    }
    for (;;) {
        size_t comment = find.lineComment.Next(from);
        if (comment == kNone || !BeforeBothBraces(find, comment, from)) {
            break;
        }
        size_t lineFeed = find.lineFeed.Next(comment);
        if (lineFeed == kNone) {
            break;
        }
        from = lineFeed; // the LF itself stays
    }
    return from;
}

void ReplaceAllInPlace(std::string& text, std::string_view from, std::string_view to) {
    std::string result;
    size_t done = 0;
    for (size_t at = text.find(from); at != kNone; at = text.find(from, done)) {
        result.append(text, done, at - done).append(to);
        done = at + from.size();
    }
    if (done == 0) {
        return;
    }
    result.append(text, done, kNone);
    text.swap(result);
}

int ToPosition(long long value) {
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

} // namespace

std::string CJavaParser::SourceTextOf(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 32);
    ForEachSourceLine(bytes, [&text](std::string_view line) {
        if (line.size() > kMaxLineLength) {
            return false;
        }
        text.append(line).append("\r\n");
        return true;
    });
    return text;
}

bool CJavaParser::ParseFile(std::string* error) {
    auto bytes = ReadWholeFile(m_file.GetFullPath(), error);
    if (!bytes) {
        return false;
    }
    ParseText(SourceTextOf(*bytes));
    return true;
}

void CJavaParser::ParseText(std::string_view text) {
    m_file.SetPackage(FindPackage(text));
    ParseStructure(text);
}

std::string CJavaParser::FindPackage(std::string_view text) {
    bool inBlock = false;
    bool inLine = false;
    for (size_t i = 0; i + 8 < text.size(); ++i) {
        // The two comment states are independent: a "/*" inside a line comment opens a block.
        if (!inBlock) {
            inBlock = text[i] == '/' && text[i + 1] == '*';
        } else {
            inBlock = !(text[i] == '*' && text[i + 1] == '/');
        }
        if (!inLine) {
            inLine = text[i] == '/' && text[i + 1] == '/';
        } else {
            inLine = !(text[i] == '\r' && text[i + 1] == '\n');
        }
        if (inBlock || inLine) {
            continue;
        }
        if (text[i] == '{') {
            return {};
        }
        if (text.compare(i, 8, "package ") == 0) {
            size_t semicolon = text.find(';', i);
            if (semicolon == kNone) {
                return {};
            }
            return std::string(Trim(text.substr(i + 8, semicolon - (i + 8))));
        }
    }
    return {};
}

void CJavaParser::ParseStructure(std::string_view text) {
    m_file.Classes().Clear();
    m_className.clear();
    m_inInnerClass = false;
    SFinders find(text);
    int depth = 0;
    size_t from = 0; // the rest of the text still to parse starts here
    while (find.open.Next(from) != kNone) {
        from = SkipLeadingComments(find, from);
        size_t open = find.open.Next(from);
        size_t close = find.close.Next(from);
        if (open != kNone && close != kNone && open < close) {
            ++depth;
            if (depth <= 2) {
                m_inInnerClass = false;
            }
            if (depth <= 2 || (depth == 3 && m_inInnerClass)) {
                HandleDeclaration(text.substr(from, open - from), depth,
                                  static_cast<long long>(open) + 1);
            }
            from = open + 1;
        } else {
            // With no closing brace left the depth would only fall until it goes below zero.
            if (close == kNone || --depth < 0) {
                break;
            }
            from = close + 1;
        }
    }
}

void CJavaParser::HandleDeclaration(std::string_view declaration, int depth, long long afterBrace) {
    std::string_view text = TrimRight(declaration);
    size_t lineFeed = text.rfind('\n');
    if (lineFeed != kNone) {
        // A declaration spread over several lines starts at the line of its keyword or of
        // its last opening parenthesis.
        size_t paren = text.rfind('(');
        if (paren == kNone) {
            size_t keyword = text.find("class ");
            if (keyword != kNone && keyword < lineFeed) {
                lineFeed = LastLineFeedBefore(text, keyword);
            }
        } else if (paren < lineFeed) {
            lineFeed = LastLineFeedBefore(text, paren);
        }
    }
    size_t lineStart = lineFeed == kNone ? 0 : lineFeed + 1;
    long long position =
        afterBrace + static_cast<long long>(lineStart) - static_cast<long long>(text.size());
    std::string_view line = text.substr(lineStart);
    size_t first = line.find_first_not_of(" \t\r\n");
    if (first == kNone) {
        return;
    }
    Classify(std::string(line.substr(first)), depth, ToPosition(position));
}

void CJavaParser::Classify(std::string line, int depth, int position) {
    ReplaceAllInPlace(line, "\r\n", " ");
    for (char& c : line) {
        if (c == '\t') {
            c = ' ';
        }
    }
    for (int pass = 0; pass < 5; ++pass) {
        ReplaceAllInPlace(line, "  ", " ");
    }
    size_t keyword = line.find("class ");
    if (keyword == kNone) {
        keyword = line.find("interface ");
    }
    if (keyword == kNone) {
        size_t paren = line.find('(');
        if (paren == kNone || paren == 0) {
            return;
        }
        size_t nameStart = TrimRight(std::string_view(line).substr(0, paren)).rfind(' ');
        nameStart = nameStart == kNone ? 0 : nameStart + 1;
        size_t close = line.rfind(')');
        if (close == kNone) {
            return;
        }
        // A ")" before the name gives an empty signature, and the method is still recorded.
        std::string signature =
            close >= nameStart ? line.substr(nameStart, close - nameStart + 1) : std::string();
        AddMethod(signature, depth, position);
        return;
    }
    size_t nameStart = line.find(' ', keyword) + 1;
    size_t nameEnd = line.find_first_of(" \t\r\n", nameStart);
    AddClass(line.substr(nameStart, nameEnd == kNone ? kNone : nameEnd - nameStart), depth,
             position);
}

void CJavaParser::AddMethod(const std::string& signature, int depth, int position) {
    CJavaClass* owner = m_file.Classes().FindClass(m_className);
    if (owner && depth > 2) {
        owner = owner->FindInnerClass(m_innerClassName);
    }
    if (owner && !owner->ContainsMethod(signature)) {
        owner->AddMethod(signature, position);
    }
}

void CJavaParser::AddClass(const std::string& name, int depth, int position) {
    if (depth > 1) {
        m_innerClassName = name;
        m_inInnerClass = true;
        CJavaClass* outer = m_file.Classes().FindClass(m_className);
        if (outer && !outer->ContainsInnerClass(name)) {
            outer->InnerClasses().Add(std::make_unique<CJavaClass>(name, position));
        }
        return;
    }
    m_className = name;
    if (!m_file.Classes().ContainsClass(name)) {
        m_file.AddClass(name, position);
    }
}

} // namespace tovin
