#pragma once
// The small table in which the colouring languages differ: which characters make up a word,
// whether the text is lower-cased before keywords are matched, the keyword list, and the
// comment, string and tag rules the classifiers apply.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tovin {

enum class ELanguage { Java, Html, Xml, Jython };

// How a backslash before a candidate closing quote keeps a string open.
enum class EEscapeRule {
    // A quote right after a backslash never closes the string.
    Single,
    // A quote right after one backslash does not close the string; after two it does.
    Double,
};

// Where a contextual keyword acts as one; elsewhere it is an ordinary name.
enum class EKeywordContext {
    // "record Point(" and "record Pair<": the word, blanks, a name, then "(" or "<".
    RecordDeclaration,
    // "sealed interface", "non-sealed class": followed by "class", "interface" or a modifier.
    ClassModifier,
    // "permits A, B": followed by blanks and a name.
    PermitsList,
    // "yield x;": after no ".", followed by blanks and the start of an expression other than "(".
    YieldStatement,
};

struct SContextualKeyword {
    std::string_view word;
    EKeywordContext context;
};

struct SLanguageRules {
    ELanguage language;
    std::string_view wordCharacters;
    // Keywords are matched in a lower-cased copy of the text (markup tag names in any case).
    bool foldCase;
    // The language's keywords separated by ';' (see SplitKeywordList).
    std::string_view keywordList;
    // Words that are keywords only where the context says so (looked at on their own line).
    std::span<const SContextualKeyword> contextualKeywords;
    EEscapeRule escapeRule;
    // Markup: a tag pass first, keywords count only inside tags, "<!--" "-->" comments.
    bool markup;
    // Line comment opener ("//" for Java, "#" for Jython); empty when there is none.
    std::string_view lineComment;
    // Block comment delimiters ("/*" "*/" or "<!--" "-->"); empty when there are none.
    std::string_view blockOpen;
    std::string_view blockClose;
};

const SLanguageRules& GetLanguageRules(ELanguage language);

// The language of a file by its extension (java, html, htm, xml, py; any case).
std::optional<ELanguage> LanguageFromPath(const std::string& path);

// Splits a ';'-separated keyword list: while the rest is longer than one character, the part
// before the next ';' is one keyword; a rest without ';' is dropped.
std::vector<std::string> SplitKeywordList(std::string_view list);

} // namespace tovin
