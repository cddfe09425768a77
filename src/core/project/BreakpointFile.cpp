#include "core/project/BreakpointFile.h"

#include "core/platform/Files.h"
#include "core/platform/Paths.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <sstream>

namespace tovin {

namespace {

constexpr const char* kHeader = "# Tovin breakpoints";
constexpr const char* kExtension = ".breakpoints";
// Lines beyond this are not breakpoints a person set.
constexpr int kMaxLine = 10'000'000;

std::string FolderPrefix(const std::string& folder) {
    return folder.empty() || folder.back() == kPathSeparator ? folder : folder + kPathSeparator;
}

} // namespace

std::string BreakpointFilePath(const std::string& projectPath) {
    const std::string name = GetFileName(projectPath);
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    return projectPath.substr(0, projectPath.size() - name.size()) + stem + kExtension;
}

SBreakpointRead ReadBreakpointFile(const std::string& path, const std::string& projectFolder) {
    SBreakpointRead read;
    if (!FileExists(path)) {
        return read;
    }
    std::string error;
    const std::optional<std::string> content = ReadWholeFile(path, &error);
    if (!content) {
        read.error = "The breakpoints in \"" + path + "\" could not be read: " + error;
        return read;
    }
    std::istringstream lines(*content);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::size_t colon = line.rfind(':');
        int number = 0;
        const char* first = line.data() + (colon == std::string::npos ? 0 : colon + 1);
        const char* last = line.data() + line.size();
        const auto [end, status] = std::from_chars(first, last, number);
        if (colon == std::string::npos || colon == 0 || status != std::errc() || end != last ||
            number < 1 || number > kMaxLine) {
            ++read.damagedLines;
            continue;
        }
        std::string file = line.substr(0, colon);
        if (file.front() != kPathSeparator) {
            file = FolderPrefix(projectFolder) + file;
        }
        read.breakpoints[file].push_back(number);
    }
    for (auto& [file, numbers] : read.breakpoints) {
        std::sort(numbers.begin(), numbers.end());
        numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    }
    return read;
}

std::string WriteBreakpointFile(const std::string& path, const std::string& projectFolder,
                                const BreakpointMap& breakpoints) {
    const bool none = std::all_of(breakpoints.begin(), breakpoints.end(),
                                  [](const auto& entry) { return entry.second.empty(); });
    if (none && !FileExists(path)) {
        return {};
    }
    const std::string prefix = FolderPrefix(projectFolder);
    std::string text = std::string(kHeader) + '\n';
    for (const auto& [file, numbers] : breakpoints) {
        const bool below = !prefix.empty() && file.size() > prefix.size() &&
                           file.compare(0, prefix.size(), prefix) == 0;
        const std::string shown = below ? file.substr(prefix.size()) : file;
        for (int number : numbers) {
            text += shown + ':' + std::to_string(number) + '\n';
        }
    }
    return WriteFileAtomic(path, text);
}

} // namespace tovin
