#include "core/platform/CommandLine.h"

#include <algorithm>
#include <dirent.h>

namespace tovin {

namespace {

// Line breaks separate arguments as blanks do: option texts are edited in multi-line boxes,
// and an option on a line of its own is meant as an argument of its own.
constexpr std::string_view kBlanks = " \t\r\n";

bool IsBlank(char c) {
    return kBlanks.find(c) != std::string_view::npos;
}

// Reads argument zero from the start of line; returns the position after its terminating blank.
std::size_t ReadProgramName(std::string_view line, SCommandArgument& name) {
    bool inQuotes = false;
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
            inQuotes = !inQuotes;
            name.quoted = true;
        } else if (!inQuotes && IsBlank(c)) {
            break;
        } else {
            name.text += c;
        }
    }
    return i;
}

// Reads one argument starting at a non-blank character; returns the position after it.
std::size_t ReadArgument(std::string_view line, std::size_t i, SCommandArgument& argument) {
    bool inQuotes = false;
    while (i < line.size()) {
        std::size_t backslashes = 0;
        while (i < line.size() && line[i] == '\\') {
            ++backslashes;
            ++i;
        }
        bool copy = true;
        if (i < line.size() && line[i] == '"') {
            if (backslashes % 2 == 0) {
                if (inQuotes && i + 1 < line.size() && line[i + 1] == '"') {
                    ++i; // "" inside quotes: the second quote is copied
                } else {
                    copy = false;
                    inQuotes = !inQuotes;
                }
                argument.quoted = true;
            }
            backslashes /= 2;
        }
        argument.text.append(backslashes, '\\');
        if (i >= line.size() || (!inQuotes && IsBlank(line[i]))) {
            break;
        }
        if (copy) {
            argument.text += line[i];
        }
        ++i;
    }
    return i;
}

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

// Length of the UTF-8 sequence that starts at name[i] (at least 1, never past the end).
std::size_t SequenceLength(std::string_view name, std::size_t i) {
    std::size_t n = 1;
    while (i + n < name.size() && (static_cast<unsigned char>(name[i + n]) & 0xC0) == 0x80) {
        ++n;
    }
    return n;
}

// The sorted names in directory that match pattern; nothing when it cannot be read.
std::vector<std::string> MatchingNames(const std::string& directory, std::string_view pattern) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(directory.c_str());
    if (!dir) {
        return names;
    }
    bool showHidden = !pattern.empty() && pattern[0] == '.';
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name == "." || name == ".." || (name[0] == '.' && !showHidden)) {
            continue;
        }
        if (MatchWildcard(pattern, name)) {
            names.emplace_back(name);
        }
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

void ExpandOne(const std::string& argument, const std::string& folder,
               std::vector<std::string>& result) {
    auto slash = argument.rfind('/');
    std::string prefix = slash == std::string::npos ? "" : argument.substr(0, slash + 1);
    std::string_view pattern = std::string_view(argument).substr(prefix.size());
    if (!HasWildcard(pattern) || HasWildcard(prefix)) {
        result.push_back(argument);
        return;
    }
    std::string directory = prefix;
    if (directory.empty() || directory[0] != '/') {
        std::string base = folder.empty() ? "." : folder;
        directory = base + "/" + directory;
    }
    std::vector<std::string> names = MatchingNames(directory, pattern);
    if (names.empty()) {
        result.push_back(argument);
        return;
    }
    for (const auto& name : names) {
        result.push_back(prefix + name);
    }
}

bool IsShellSafe(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("@%+=:,./_-").find(c) != std::string_view::npos;
}

} // namespace

std::vector<SCommandArgument> SplitCommandLine(std::string_view line) {
    line = line.substr(0, line.find('\0'));
    std::vector<SCommandArgument> arguments(1);
    std::size_t i = ReadProgramName(line, arguments[0]);
    for (;;) {
        while (i < line.size() && IsBlank(line[i])) {
            ++i;
        }
        if (i >= line.size()) {
            break;
        }
        arguments.emplace_back();
        i = ReadArgument(line, i, arguments.back());
    }
    return arguments;
}

bool MatchWildcard(std::string_view pattern, std::string_view name) {
    // Greedy matching with one resume point: on a mismatch, the last '*' absorbs one more
    // character. Earlier stars never need to be revisited, which keeps this polynomial.
    std::size_t p = 0, n = 0;
    std::size_t starPattern = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += SequenceLength(name, n);
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            starName += SequenceLength(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

std::vector<std::string> ExpandWildcards(const std::vector<SCommandArgument>& arguments,
                                         const std::string& folder) {
    std::vector<std::string> result;
    result.reserve(arguments.size());
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const auto& argument = arguments[i];
        if (i == 0 || argument.quoted || !HasWildcard(argument.text)) {
            result.push_back(argument.text);
        } else {
            ExpandOne(argument.text, folder, result);
        }
    }
    return result;
}

std::string QuoteWindowsArgument(std::string_view argument) {
    if (!argument.empty() && argument.find_first_of("\"*?") == std::string_view::npos &&
        argument.find_first_of(kBlanks) == std::string_view::npos) {
        return std::string(argument);
    }
    return EncloseWindowsArgument(argument);
}

std::string EncloseWindowsArgument(std::string_view argument) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote itself escaped.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    // Backslashes before the closing quote are doubled so it still closes.
    quoted.append(2 * backslashes, '\\');
    quoted += '"';
    return quoted;
}

std::string JoinCommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) {
            line += ' ';
            line += QuoteWindowsArgument(arguments[i]);
            continue;
        }
        std::string name;
        std::remove_copy(arguments[0].begin(), arguments[0].end(), std::back_inserter(name), '"');
        bool needsQuotes = name.empty() || name.find_first_of(kBlanks) != std::string::npos;
        line += needsQuotes ? "\"" + name + "\"" : name;
    }
    return line;
}

std::string ShellQuote(std::string_view word) {
    if (!word.empty() && std::all_of(word.begin(), word.end(), IsShellSafe)) {
        return std::string(word);
    }
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    quoted += '\'';
    return quoted;
}

std::string ShellJoin(const std::vector<std::string>& words) {
    std::string line;
    for (std::size_t i = 0; i < words.size(); ++i) {
        line += i == 0 ? "" : " ";
        line += ShellQuote(words[i]);
    }
    return line;
}

} // namespace tovin
