#pragma once
// The next occurrence of one character at or after a position in a text. The last answer is
// kept for as long as it still lies ahead of the position asked for, so a rising sequence of
// questions scans the text once, with memchr.

#include <cstring>
#include <string_view>

namespace tovin {

class CNextOf {
public:
    CNextOf(std::string_view text, char c) : m_text(text), m_c(c) {}

    // The offset of the next occurrence at or after `at`; npos when there is none.
    size_t From(size_t at) {
        const bool known = m_asked <= at && (m_found == std::string_view::npos || m_found >= at);
        if (!known) {
            m_asked = at;
            const void* hit = at < m_text.size()
                                  ? std::memchr(m_text.data() + at, m_c, m_text.size() - at)
                                  : nullptr;
            m_found = hit ? static_cast<size_t>(static_cast<const char*>(hit) - m_text.data())
                          : std::string_view::npos;
        }
        return m_found;
    }

private:
    std::string_view m_text;
    char m_c;
    size_t m_asked = std::string_view::npos; // where the kept answer was searched from
    size_t m_found = std::string_view::npos;
};

} // namespace tovin
