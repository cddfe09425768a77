#pragma once
// Finds every keyword hit of one language in a single left-to-right scan. A hit is an
// occurrence of a keyword with the text's edge or a non-word character on each side; in markup
// only hits inside a tag (after a "<" that no ">" has closed yet) count. The result is the same
// as searching the text once per keyword, which is what the scan replaces.
//
// A contextual keyword of the language (Java's record, sealed, non-sealed, permits, yield) counts
// only where what follows it on its line (for yield also what precedes it) shows it acting as
// a keyword; anywhere else it is a name like any other.

#include "core/editor/ColourLanguage.h"
#include "core/editor/TextControl.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tovin {

class CKeywordMatcher {
public:
    explicit CKeywordMatcher(const SLanguageRules& rules);

    // The matcher of a language, built on first use.
    static const CKeywordMatcher& For(ELanguage language);

    // Sets every position of every hit in text to keyword. classes has one entry per position
    // of text. tagOpenAtStart says whether the text before this text leaves a tag open (markup
    // lines); it is false for a whole text.
    void Mark(std::string_view text, std::span<ETokenClass> classes, bool tagOpenAtStart) const;

    const std::vector<std::string>& Keywords() const { return m_keywords; }
    bool IsWordCharacter(char c) const { return m_word[static_cast<unsigned char>(c)]; }

private:
    std::string_view WordAt(size_t k) const {
        return k < m_keywords.size() ? std::string_view(m_keywords[k])
                                     : m_contextual[k - m_keywords.size()].word;
    }
    bool MatchesAt(std::string_view text, size_t position, std::string_view keyword) const;
    bool ActsAsKeyword(std::string_view text, size_t position,
                       const SContextualKeyword& keyword) const;

    std::vector<std::string> m_keywords;
    std::array<bool, 256> m_word{};
    std::array<unsigned char, 256> m_fold{};
    bool m_markup = false;
    std::span<const SContextualKeyword> m_contextual;
    // Word indices grouped by first character: bucket c is m_order[m_bucket[c], m_bucket[c+1]).
    // Index k is m_keywords[k], or past those m_contextual[k - m_keywords.size()].
    std::array<std::uint16_t, 257> m_bucket{};
    std::vector<std::uint16_t> m_order;
};

} // namespace tovin
