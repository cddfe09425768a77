// Fuzzes the command-line splitter and the wildcard matcher with arbitrary bytes.
// Invariants: no crash or runaway time; argument zero is always there; no argument holds a
// zero byte; joining the split arguments and splitting again gives the same texts; a path
// quoted the way the project commands compose it comes back intact; a quoted wildcard pattern
// matches its own text.

#include "core/platform/CommandLine.h"
#include "core/project/ToolLocator.h"

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

void CheckSplitRoundTrip(std::string_view line) {
    auto arguments = SplitCommandLine(line);
    Check(!arguments.empty());
    std::vector<std::string> texts;
    for (const auto& argument : arguments) {
        Check(argument.text.find('\0') == std::string::npos);
        texts.push_back(argument.text);
    }
    // Argument zero cannot hold a double quote; JoinCommandLine drops them.
    std::erase(texts[0], '"');
    auto again = SplitCommandLine(JoinCommandLine(texts));
    Check(again.size() == texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        Check(again[i].text == texts[i]);
    }
}

// The input as a path (up to its first zero byte, where a command line ends) in the shapes the
// commands compose: a whole argument, the tail of an option word, and the tool's path.
void CheckComposedPath(std::string_view input) {
    const std::string path(input.substr(0, input.find('\0')));
    const std::string line = CToolLocator::QuoteProgram(path) + " -d " + CToolLocator::Quote(path) +
                             " " + CToolLocator::Quote("-Dhome=" + path) + " -x" +
                             CToolLocator::Quote(path) + " " + CToolLocator::Quote(path);
    auto arguments = SplitCommandLine(line);
    Check(arguments.size() == 6);
    std::string program = path;
    std::erase(program, '"');
    Check(arguments[0].text == program);
    Check(arguments[1].text == "-d");
    Check(arguments[2].text == path && arguments[2].quoted);
    Check(arguments[3].text == "-Dhome=" + path);
    Check(arguments[4].text == "-x" + path);
    Check(arguments[5].text == path && arguments[5].quoted);
}

void CheckWildcard(std::string_view data) {
    auto cut = data.find('\n');
    if (cut == std::string_view::npos) {
        return;
    }
    std::string_view pattern = data.substr(0, cut);
    std::string_view name = data.substr(cut + 1);
    MatchWildcard(pattern, name);
    if (pattern.find_first_of("*?") == std::string_view::npos) {
        Check(MatchWildcard(pattern, name) == (pattern == name));
    }
    Check(MatchWildcard(name, name) || name.find_first_of("*?") != std::string_view::npos);
    Check(MatchWildcard("*", name));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckSplitRoundTrip(input);
    CheckComposedPath(input);
    CheckWildcard(input);
    ShellQuote(input);
    return 0;
}
