// Fuzzes error navigation over arbitrary tool output and file names.
// Input: file names separated by '\n', a zero byte, then the output text.
// Invariants: no crash or runaway time; a match names one of the given files, and that file
// occurs in the line at a place the rule allows; the line found for n never holds a CR LF.

#include "core/project/ErrorNavigation.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace tovin;

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::vector<std::string> SplitNames(std::string_view names) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start <= names.size() && result.size() < 8) {
        std::size_t end = names.find('\n', start);
        if (end == std::string_view::npos) {
            end = names.size();
        }
        result.emplace_back(names.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

void CheckTarget(std::string_view line, const std::vector<std::string>& names,
                 const SMessageTarget& target) {
    bool listed = false;
    for (const std::string& name : names) {
        listed = listed || name == target.fileName;
    }
    Check(listed && !target.fileName.empty());
    const std::size_t at = line.find(target.fileName);
    Check(at != std::string_view::npos);
    Check(at == 0 || line[at - 1] == '/' || line[at - 1] == '\\' || line[at - 1] == '(');
    Check(target.javaLine >= -1);
    Check(!target.scriptLine || *target.scriptLine >= -1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::vector<std::string> names =
        SplitNames(split == std::string_view::npos ? std::string_view() : input.substr(0, split));
    const std::string_view text = split == std::string_view::npos ? input : input.substr(split + 1);
    for (std::size_t n = 0; n < 16; ++n) {
        const std::optional<std::string_view> line = OutputLine(text, n);
        if (!line) {
            Check(!FindMessageTarget(text, n, names));
            break;
        }
        Check(line->find("\r\n") == std::string_view::npos);
        const std::optional<SMessageTarget> target = MatchMessageLine(*line, names);
        Check(FindMessageTarget(text, n, names) == target);
        if (target) {
            CheckTarget(*line, names, *target);
        }
    }
    return 0;
}
