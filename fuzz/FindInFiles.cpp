// Find in files over arbitrary file contents: the block search, read through small blocks to
// cross many seams, must report exactly what the plain per-line loop over FindInLine reports.
// The first input byte picks the flags and the length of the find text taken from the next
// bytes; the rest is the file.

#include "core/project/FindInFiles.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

std::vector<tovin::SFindMatch> SearchLines(const std::string& bytes, const std::string& text,
                                           bool wholeWord, bool caseSensitive) {
    std::vector<tovin::SFindMatch> matches;
    if (text.empty() || text.find('\n') != std::string::npos) {
        return matches;
    }
    size_t start = 0;
    for (int number = 1; start < bytes.size(); ++number) {
        size_t lineFeed = bytes.find('\n', start);
        size_t end = lineFeed == std::string::npos ? bytes.size() : lineFeed;
        std::string line = bytes.substr(start, end - start);
        if (line.size() > 1023) {
            break;
        }
        int position = 0;
        while (position < static_cast<int>(line.size())) {
            int i = tovin::FindInLine(line, text, position, wholeWord, caseSensitive);
            if (i < 0) {
                ++position;
            } else {
                position = i + static_cast<int>(text.size());
                matches.push_back({number, i, position});
            }
        }
        start = end + 1;
    }
    return matches;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    bool wholeWord = data[0] & 1;
    bool caseSensitive = data[0] & 2;
    size_t textLength = std::min<size_t>((data[0] >> 2) % 8, size - 1);
    std::string text(reinterpret_cast<const char*>(data + 1), textLength);
    std::string bytes(reinterpret_cast<const char*>(data + 1 + textLength), size - 1 - textLength);

    int fd = ::memfd_create("search.java", MFD_CLOEXEC);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        if (fd >= 0) {
            ::close(fd);
        }
        return 0;
    }
    std::string path = "/proc/self/fd/" + std::to_string(fd);
    auto expected = SearchLines(bytes, text, wholeWord, caseSensitive);
    for (size_t block : {size_t{1}, size_t{7}, size_t{4096}}) {
        if (tovin::SearchFile(text, path, wholeWord, caseSensitive, block) != expected) {
            __builtin_trap();
        }
    }
    ::close(fd);
    return 0;
}
