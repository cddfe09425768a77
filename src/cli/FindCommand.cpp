#include "cli/FindCommand.h"

#include "core/app/Settings.h"
#include "core/process/ProcessRunner.h"
#include "core/process/SilentUiHost.h"
#include "core/project/FindInFiles.h"
#include "core/project/JavaProjectDoc.h"

#include <algorithm>

namespace tovin {

namespace {

struct SFindArguments {
    SFindOptions options;
    std::string project;
    std::string error; // empty when the arguments are complete
};

SFindArguments ParseFindArguments(const std::vector<std::string>& arguments) {
    SFindArguments parsed;
    auto find = std::find(arguments.begin(), arguments.end(), "--find");
    if (find == arguments.end() || find + 1 == arguments.end()) {
        parsed.error = "--find needs the text to find";
        return parsed;
    }
    // The text is taken as it is, even when it begins with a dash.
    parsed.options.text = *(find + 1);
    std::vector<std::string> rest;
    for (auto it = find + 2; it != arguments.end(); ++it) {
        if (*it == "--case") {
            parsed.options.caseSensitive = true;
        } else if (*it == "--word") {
            parsed.options.wholeWord = true;
        } else if (*it == "--settings" && it + 1 != arguments.end()) {
            ++it;
        } else {
            rest.push_back(*it);
        }
    }
    if (rest.size() != 1) {
        parsed.error = rest.empty() ? "--find needs a project file"
                                    : "--find takes one project file, not " + rest[1];
        return parsed;
    }
    parsed.project = rest[0];
    return parsed;
}

// The Process Window's text with LF line ends, ending with a line end.
std::string ToTerminalText(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            out += text[i];
        }
    }
    if (out.empty() || out.back() != '\n') {
        out += '\n';
    }
    return out;
}

} // namespace

std::string FindCommandHelp() {
    return "  --find TEXT [--case] [--word] PROJECT.jpr\n"
           "                    list the lines of the project's files that hold TEXT; exit\n"
           "                    status 0 when something matched, 1 when nothing did\n";
}

int RunFindCommand(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err) {
    SFindArguments parsed = ParseFindArguments(arguments);
    if (!parsed.error.empty()) {
        err << "tovin: " << parsed.error << "\n"
            << "Usage: tovin --find TEXT [--case] [--word] PROJECT.jpr\n";
        return kFindUsageError;
    }
    CSettings settings;
    CSilentUiHost host;
    CJavaProjectDoc project(settings, host);
    std::string error = project.Load(parsed.project);
    if (!error.empty()) {
        err << "tovin: " << error << "\n";
        return kFindUsageError;
    }
    // A project folder that was moved or copied still finds its files; nothing is saved.
    project.RebaseEntries();
    SFindResult result = FindInPaths(GetSearchPaths(project), parsed.options);
    out << ToTerminalText("\r\n" + result.text);
    return result.matchCount > 0 ? kFindMatched : kFindNoMatch;
}

} // namespace tovin
