#pragma once
// A straightforward classifier written step by step from the colouring rules, as the product
// first did it: one search per keyword, reversed copies of the text for the position tests,
// selections in the control for the line frame. It is slow on purpose and only checks the fast
// engine (tests and fuzz targets); see Comparable for the texts it still answers for.

#include "core/editor/ColourLanguage.h"
#include "core/editor/TextBuffer.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tovin::reference {

using Classes = std::vector<ETokenClass>;
constexpr size_t npos = std::string::npos;

inline void Set(Classes& c, size_t from, size_t to, ETokenClass cls) {
    for (size_t i = from; i < to; ++i) {
        c[i] = cls;
    }
}

// Whether the reference still colours the text as the editors do. Java's literals and comments
// and Jython's strings are now read as the languages read them (the quirks of these steps are
// gone), so such texts are compared only when they hold none of them: for Java no quote, slash
// or contextual keyword (the keywords are compared), for Jython no single quote, no two double
// quotes in a row and no backslash.
inline bool Comparable(ELanguage language, const std::string& text) {
    static const std::vector<std::string> kJava = {"\"",     "'",       "/",    "record",
                                                   "sealed", "permits", "yield"};
    static const std::vector<std::string> kJython = {"'", "\"\"", "\\"};
    static const std::vector<std::string> kMarkup;
    const std::vector<std::string>& later = language == ELanguage::Java     ? kJava
                                            : language == ELanguage::Jython ? kJython
                                                                            : kMarkup;
    for (const std::string& piece : later) {
        if (text.find(piece) != npos) {
            return false;
        }
    }
    return true;
}

inline std::string Reversed(std::string text) {
    std::reverse(text.begin(), text.end());
    return text;
}

inline std::string Lowered(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

inline bool IsInBlockComment(const std::string& text, size_t p) {
    std::string r = Reversed(text.substr(0, p));
    size_t a = r.find("*/");
    size_t b = r.find("/*");
    return a != npos && (b == npos || a < b);
}

inline bool IsInTag(const std::string& reversed, size_t p) {
    size_t n = reversed.size();
    size_t a = reversed.find('<', n - p);
    size_t b = reversed.find('>', n - p);
    return a != npos && (b == npos || a < b);
}

inline bool IsInHtmlComment(const std::string& reversed, size_t p) {
    size_t n = reversed.size();
    size_t a = reversed.find("--!<", n - p);
    size_t b = reversed.find(">--", n - p);
    return a != npos && (b == npos || a < b);
}

inline bool Rejected(const std::string& t, size_t k, EEscapeRule rule) {
    if (rule == EEscapeRule::Single) {
        return t[k - 1] == '\\';
    }
    return k > 1 && t[k - 1] == '\\' && t[k - 2] != '\\';
}

inline size_t NextClosingQuote(const std::string& t, size_t from, EEscapeRule rule) {
    size_t c = t.find('"', from);
    while (c != npos && Rejected(t, c, rule)) {
        c = t.find('"', c + 1);
    }
    return c;
}

// Step 3. reversedWhole is empty for languages without tags; base is the text's position in
// the whole text.
inline void Keywords(const SLanguageRules& rules, const std::string& t, Classes& c,
                     const std::string& reversedWhole, size_t base) {
    auto word = [&](char ch) { return rules.wordCharacters.find(ch) != std::string_view::npos; };
    for (const std::string& k : SplitKeywordList(rules.keywordList)) {
        size_t i = t.find(k, 0);
        while (i != npos) {
            bool counts = (i == 0 || !word(t[i - 1])) &&
                          (i + k.size() >= t.size() || !word(t[i + k.size()])) &&
                          (!rules.markup || IsInTag(reversedWhole, base + i));
            if (counts) {
                Set(c, i, i + k.size(), ETokenClass::Keyword);
            }
            i = t.find(k, i + 1);
        }
    }
}

// base: where t lies in the text that c classifies.
inline void Tags(const std::string& t, Classes& c, size_t base = 0) {
    size_t s = 0;
    for (;;) {
        size_t a = t.find('<', s);
        if (a == npos) {
            return;
        }
        size_t g = t.find('>', a);
        size_t end = g == npos ? t.size() : g + 1;
        Set(c, base + a, base + end, ETokenClass::Tag);
        s = end;
    }
}

// Step 4 for HTML and XML.
inline Classes MarkupWholeText(const SLanguageRules& rules, const std::string& text) {
    std::string reversed = Reversed(text);
    std::string t = Lowered(text);
    Classes c(t.size(), ETokenClass::Normal);
    size_t n = t.size();
    Tags(t, c);
    Keywords(rules, t, c, reversed, 0);
    size_t s = 0;
    do {
        size_t o = t.find('"', s);
        if (o == npos) {
            break;
        }
        size_t close = NextClosingQuote(t, o + 1, EEscapeRule::Double);
        size_t e = close != npos ? close + 1 : o;
        if (e > n - 1) {
            e = n - 1;
        }
        if (o < e) {
            Set(c, o, e, ETokenClass::String);
        }
        s = e + 1;
    } while (n >= 1 && s < n - 1);
    s = 0;
    for (;;) {
        size_t b = t.find("<!--", s);
        if (b == npos) {
            break;
        }
        size_t f = t.find("-->", b);
        size_t e = f != npos ? f + 3 : n - 1;
        if (b < e) {
            Set(c, b, e, ETokenClass::Comment);
        }
        s = e + 1;
    }
    return c;
}

// Step 6 for Java.
inline Classes JavaWholeText(const std::string& t) {
    Classes c(t.size(), ETokenClass::Normal);
    Keywords(GetLanguageRules(ELanguage::Java), t, c, "", 0);
    size_t n = t.size();
    bool inString = false, inLine = false, inBlock = false, justOpened = false;
    if (t.rfind("//", 0) == 0) {
        inLine = true;
    }
    if (t.rfind("/*", 0) == 0) {
        inBlock = true;
    }
    if (n > 0 && t[0] == '"') {
        inString = true;
        Set(c, 0, std::min<size_t>(3, n), ETokenClass::String);
    }
    if (inLine || inBlock) {
        Set(c, 0, std::min<size_t>(3, n), ETokenClass::Comment);
    }
    for (size_t i = 3; i < n; ++i) {
        if (inBlock) {
            if (t.compare(i - 2, 2, "*/") == 0) {
                inBlock = false;
            }
        } else if (inLine) {
            if (t.compare(i - 1, 2, "\r\n") == 0) {
                inLine = false;
            }
        } else if (inString) {
            if (!justOpened && t[i - 1] == '"' && (t[i - 2] != '\\' || t[i - 3] == '\\')) {
                inString = false;
            }
            justOpened = false;
        } else {
            if (t[i] == '"') {
                inString = true;
                justOpened = true;
            }
            if (t.compare(i, 2, "//") == 0) {
                inLine = true;
            }
            if (t.compare(i, 2, "/*") == 0) {
                inBlock = true;
            }
        }
        if (inString) {
            c[i] = ETokenClass::String;
        }
        if (inLine || inBlock) {
            c[i] = ETokenClass::Comment;
        }
    }
    return c;
}

inline void LineStrings(const std::string& t, Classes& c, EEscapeRule rule) {
    size_t o = t.find('"');
    while (o != npos) {
        size_t close = NextClosingQuote(t, o + 1, rule);
        size_t e = close != npos ? close + 1 : t.size();
        if (o < e) {
            Set(c, o, e, ETokenClass::String);
        }
        o = t.find('"', e + 1);
    }
}

inline void LineComment(const std::string& t, Classes& c, const std::string& opener) {
    size_t f = t.find(opener);
    while (f != npos && c[f] == ETokenClass::String) {
        f = t.find(opener, f + 1);
    }
    if (f != npos) {
        Set(c, f, t.size(), ETokenClass::Comment);
    }
}

inline void BlockLoop(const std::string& t, Classes& c, const std::string& open,
                      const std::string& close, size_t allowance, bool inComment) {
    if (t.find(close) == npos && inComment) {
        Set(c, 0, t.size(), ETokenClass::Comment);
    }
    size_t h = 0;
    for (;;) {
        size_t a = t.find(open, h);
        if (a != npos) {
            h = t.find(close, a);
            Set(c, a, h != npos ? h + allowance : t.size(), ETokenClass::Comment);
            if (h == npos) {
                break;
            }
        } else {
            h = t.find(close, 0);
            if (h != npos && inComment) {
                Set(c, 0, h + allowance, ETokenClass::Comment);
            }
            break;
        }
    }
}

// Step 5: the line [lineStart, lineStart + |line|) of whole.
inline Classes LinePasses(ELanguage language, const std::string& whole, size_t lineStart,
                          const std::string& line) {
    const SLanguageRules& rules = GetLanguageRules(language);
    Classes c(line.size(), ETokenClass::Normal);
    if (rules.markup) {
        std::string t = Lowered(line);
        std::string reversed = Reversed(whole);
        // A tag open at the line start goes on to its ">".
        if (IsInTag(reversed, lineStart)) {
            size_t g = t.find('>');
            Set(c, 0, g == npos ? t.size() : g + 1, ETokenClass::Tag);
            Tags(t.substr(g == npos ? t.size() : g + 1), c, g == npos ? t.size() : g + 1);
        } else {
            Tags(t, c);
        }
        Keywords(rules, t, c, reversed, lineStart);
        LineStrings(t, c, EEscapeRule::Double);
        BlockLoop(t, c, "<!--", "-->", 3, IsInHtmlComment(reversed, lineStart));
        return c;
    }
    Keywords(rules, line, c, "", 0);
    LineStrings(line, c, rules.escapeRule);
    if (language == ELanguage::Java) {
        LineComment(line, c, "//");
        BlockLoop(line, c, "/*", "*/", 2, IsInBlockComment(whole, lineStart));
    } else {
        LineComment(line, c, "#");
    }
    return c;
}

// Step 7 and 8 on the in-memory control: select each run and format it when it differs.
inline void ApplyRuns(CTextBuffer& control, int base, const Classes& c) {
    int n = static_cast<int>(c.size());
    if (n == 0) {
        return;
    }
    auto apply = [&](ETokenClass cls, int start, int end) {
        control.SetSel(base + start, base + end);
        if (!control.IsRangeClass(base + start, base + end, cls)) {
            control.SetRangeClass(base + start, base + end, cls);
        }
    };
    ETokenClass cur = c[0];
    int runStart = 0;
    for (int i = 0; i < n; ++i) {
        if (c[static_cast<size_t>(i)] != cur && i > runStart) {
            apply(cur, runStart, i);
            cur = c[static_cast<size_t>(i)];
            runStart = i;
        }
    }
    if (runStart >= n) {
        runStart = n - 1;
    }
    apply(c[static_cast<size_t>(n - 1)], runStart, n);
}

// Step 2: the line frame, selecting the line to take its text.
inline void ColourLine(ELanguage language, CTextBuffer& control) {
    control.HideSelection(true);
    int selStart = 0, selEnd = 0;
    control.GetSel(selStart, selEnd);
    int line = control.LineFromChar(selStart);
    int lineStart = std::max(0, control.LineIndex(line));
    int next = control.LineIndex(line + 1);
    control.SetSel(lineStart, next < 0 ? -1 : next - 2);
    std::string text = control.GetSelText();
    // Jython's line passes never look outside the line; skipping the copy keeps long texts quick.
    std::string whole = language == ELanguage::Jython ? text : control.GetText();
    size_t base = language == ELanguage::Jython ? 0 : static_cast<size_t>(lineStart);
    Classes c = LinePasses(language, whole, base, text);
    ApplyRuns(control, lineStart, c);
    control.SetSel(selStart, selEnd);
    control.HideSelection(false);
}

// Steps 1 and 9: the whole-text frame, or ColourLine with the caret on every line for Jython.
inline void ColourAll(ELanguage language, CTextBuffer& control) {
    int selStart = 0, selEnd = 0;
    control.GetSel(selStart, selEnd);
    if (language == ELanguage::Jython) {
        for (int line = 0; line < control.GetLineCount(); ++line) {
            int at = control.LineIndex(line);
            control.SetSel(at, at);
            ColourLine(language, control);
        }
    } else {
        bool modified = control.GetModify();
        std::string text = control.GetText();
        Classes c = language == ELanguage::Java ? JavaWholeText(text)
                                                : MarkupWholeText(GetLanguageRules(language), text);
        ApplyRuns(control, 0, c);
        control.SetModify(modified);
    }
    control.SetSel(selStart, selEnd);
}

} // namespace tovin::reference
