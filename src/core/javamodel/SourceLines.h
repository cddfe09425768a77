#pragma once
// Reading a source file line by line as a text-mode stream would: lines end at LF, a CR just
// before the LF is dropped with it, and a last line without a line end still counts. The
// readers that built on such streams also stopped at the first line longer than their buffer,
// so the caller gets each line and decides when to stop.

#include <cstring>
#include <string_view>

namespace tovin {

inline bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// The offset of the first line break at or after `from` (an LF, or a lone CR before it), or npos.
inline size_t FindLineBreak(std::string_view text, size_t from) {
    const size_t lf = text.find('\n', from);
    const size_t limit = lf == std::string_view::npos ? text.size() : lf;
    const void* cr = from < limit ? std::memchr(text.data() + from, '\r', limit - from) : nullptr;
    return cr ? static_cast<size_t>(static_cast<const char*>(cr) - text.data()) : lf;
}

// Calls visit(line) for every line of bytes, in order, until it returns false.
template <class Visit> void ForEachSourceLine(std::string_view bytes, Visit visit) {
    size_t start = 0;
    while (start < bytes.size()) {
        size_t lf = bytes.find('\n', start);
        size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        size_t textEnd =
            lf != std::string_view::npos && end > start && bytes[end - 1] == '\r' ? end - 1 : end;
        if (!visit(bytes.substr(start, textEnd - start))) {
            return;
        }
        start = end + 1;
    }
}

} // namespace tovin
