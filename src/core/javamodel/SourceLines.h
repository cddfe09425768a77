#pragma once
// Reading a source file line by line as a text-mode stream would: lines end at LF, a CR just
// before the LF is dropped with it, and a last line without a line end still counts. The
// readers that built on such streams also stopped at the first line longer than their buffer,
// so the caller gets each line and decides when to stop.

#include <string_view>

namespace tovin {

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
