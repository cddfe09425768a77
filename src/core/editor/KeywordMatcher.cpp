#include "core/editor/KeywordMatcher.h"

#include <algorithm>

namespace tovin {

CKeywordMatcher::CKeywordMatcher(const SLanguageRules& rules)
    : m_keywords(SplitKeywordList(rules.keywordList)), m_markup(rules.markup),
      m_contextual(rules.contextualKeywords) {
    for (char c : rules.wordCharacters) {
        m_word[static_cast<unsigned char>(c)] = true;
    }
    for (int c = 0; c < 256; ++c) {
        bool upper = c >= 'A' && c <= 'Z';
        m_fold[static_cast<size_t>(c)] =
            static_cast<unsigned char>(rules.foldCase && upper ? c - 'A' + 'a' : c);
    }
    // An empty keyword colours nothing, so it gets no bucket.
    std::array<std::vector<std::uint16_t>, 256> buckets;
    for (size_t k = 0; k < m_keywords.size() + m_contextual.size(); ++k) {
        const std::string_view word = WordAt(k);
        if (!word.empty()) {
            buckets[static_cast<unsigned char>(word[0])].push_back(static_cast<std::uint16_t>(k));
        }
    }
    for (size_t c = 0; c < 256; ++c) {
        m_bucket[c] = static_cast<std::uint16_t>(m_order.size());
        m_order.insert(m_order.end(), buckets[c].begin(), buckets[c].end());
    }
    m_bucket[256] = static_cast<std::uint16_t>(m_order.size());
}

const CKeywordMatcher& CKeywordMatcher::For(ELanguage language) {
    static const CKeywordMatcher java(GetLanguageRules(ELanguage::Java));
    static const CKeywordMatcher html(GetLanguageRules(ELanguage::Html));
    static const CKeywordMatcher xml(GetLanguageRules(ELanguage::Xml));
    static const CKeywordMatcher jython(GetLanguageRules(ELanguage::Jython));
    switch (language) {
    case ELanguage::Html:
        return html;
    case ELanguage::Xml:
        return xml;
    case ELanguage::Jython:
        return jython;
    case ELanguage::Java:
        break;
    }
    return java;
}

bool CKeywordMatcher::MatchesAt(std::string_view text, size_t position,
                                std::string_view keyword) const {
    size_t end = position + keyword.size();
    if (end > text.size()) {
        return false;
    }
    for (size_t j = 1; j < keyword.size(); ++j) {
        if (m_fold[static_cast<unsigned char>(text[position + j])] !=
            static_cast<unsigned char>(keyword[j])) {
            return false;
        }
    }
    return end == text.size() || !IsWordCharacter(text[end]);
}

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A character that may start or continue a Java name (bytes of non-ASCII letters included).
bool IsNameCharacter(char c, bool start) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == '$' || u >= 0x80 ||
           (!start && u >= '0' && u <= '9');
}

size_t SkipBlanks(std::string_view text, size_t at) {
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    return at;
}

size_t SkipName(std::string_view text, size_t at) {
    if (at < text.size() && IsNameCharacter(text[at], true)) {
        ++at;
        while (at < text.size() && IsNameCharacter(text[at], false)) {
            ++at;
        }
    }
    return at;
}

// The words after which "sealed" and "non-sealed" are modifiers of a class or interface.
constexpr std::string_view kClassDeclarationWords[] = {
    "class", "interface", "abstract", "static", "strictfp", "public", "protected", "private"};

} // namespace

// The word has been matched at [position, end); what surrounds it on its line decides.
bool CKeywordMatcher::ActsAsKeyword(std::string_view text, size_t position,
                                    const SContextualKeyword& keyword) const {
    const size_t end = position + keyword.word.size();
    const size_t next = SkipBlanks(text, end);
    const bool blank = next > end;
    const char following = next < text.size() ? text[next] : '\0';
    switch (keyword.context) {
    case EKeywordContext::RecordDeclaration: {
        const size_t afterName = SkipName(text, next);
        const size_t bracket = SkipBlanks(text, afterName);
        return blank && afterName > next && bracket < text.size() &&
               (text[bracket] == '(' || text[bracket] == '<');
    }
    case EKeywordContext::ClassModifier: {
        const std::string_view word = text.substr(next, SkipName(text, next) - next);
        return blank &&
               std::find(std::begin(kClassDeclarationWords), std::end(kClassDeclarationWords),
                         word) != std::end(kClassDeclarationWords);
    }
    case EKeywordContext::PermitsList:
        return blank && IsNameCharacter(following, true);
    case EKeywordContext::YieldStatement: {
        size_t before = position;
        while (before > 0 && IsBlank(text[before - 1])) {
            --before;
        }
        if (before > 0 && text[before - 1] == '.') {
            return false; // Thread.yield()
        }
        // A sign starts an expression unless it is part of an assignment (yield -= 1).
        const bool sign = (following == '-' || following == '+') &&
                          (next + 1 >= text.size() || text[next + 1] != '=');
        return blank && (IsNameCharacter(following, false) || following == '"' ||
                         following == '\'' || following == '!' || following == '~' || sign);
    }
    }
    return false;
}

void CKeywordMatcher::Mark(std::string_view text, std::span<ETokenClass> classes,
                           bool tagOpenAtStart) const {
    bool afterWord = false;
    bool inTag = tagOpenAtStart;
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (!afterWord && (inTag || !m_markup)) {
            unsigned char first = m_fold[c];
            for (size_t b = m_bucket[first]; b < m_bucket[first + 1u]; ++b) {
                const size_t k = m_order[b];
                const std::string_view keyword = WordAt(k);
                if (MatchesAt(text, i, keyword) &&
                    (k < m_keywords.size() ||
                     ActsAsKeyword(text, i, m_contextual[k - m_keywords.size()]))) {
                    std::fill_n(classes.begin() + static_cast<std::ptrdiff_t>(i), keyword.size(),
                                ETokenClass::Keyword);
                }
            }
        }
        afterWord = m_word[c];
        if (c == '<') {
            inTag = true;
        } else if (c == '>') {
            inTag = false;
        }
    }
}

} // namespace tovin
