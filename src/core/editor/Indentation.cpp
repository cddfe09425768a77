#include "core/editor/Indentation.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace tovin {

namespace {

// Enough lines to know a file's habit; opening a file of megabytes reads no more than these.
constexpr int kMaxLinesRead = 4000;
constexpr std::array<int, 4> kSteps = {2, 3, 4, 8};

} // namespace

std::string IndentStyleText(SIndentStyle style) {
    return style.UsesSpaces() ? "Spaces: " + std::to_string(style.spaceStep) : "Tabs";
}

std::optional<SIndentStyle> DetectIndentation(std::string_view text) {
    int tabLines = 0;
    int spaceLines = 0;
    std::array<int, kSteps.size()> votes{};
    // Indentation of the last line looked at, when it was made of spaces alone; -1 otherwise.
    int previous = 0;
    int read = 0;
    for (std::size_t start = 0; start < text.size() && read < kMaxLinesRead;) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t indent = std::min(line.find_first_not_of(" \t"), line.size());
        const std::string_view rest = line.substr(indent);
        if (rest.empty() || rest == "\r" || rest.front() == '*') {
            continue;
        }
        ++read;
        const std::string_view leading = line.substr(0, indent);
        if (leading.find('\t') != std::string_view::npos) {
            tabLines += leading.front() == '\t' ? 1 : 0;
            previous = -1;
            continue;
        }
        const int width = static_cast<int>(indent);
        spaceLines += width > 0 ? 1 : 0;
        if (previous >= 0) {
            const int difference = std::abs(width - previous);
            for (std::size_t i = 0; i < kSteps.size(); ++i) {
                votes[i] += difference == kSteps[i] ? 1 : 0;
            }
        }
        previous = width;
    }
    if (tabLines == 0 && spaceLines == 0) {
        return std::nullopt;
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < kSteps.size(); ++i) {
        best = votes[i] > votes[best] ? i : best;
    }
    if (tabLines >= spaceLines || votes[best] == 0) {
        return tabLines > 0 ? std::optional<SIndentStyle>(SIndentStyle{}) : std::nullopt;
    }
    return SIndentStyle{kSteps[best]};
}

} // namespace tovin
