#include "core/project/ErrorNavigation.h"

#include "core/app/UiHost.h"
#include "core/project/JavaProjectDoc.h"

#include <algorithm>
#include <climits>

namespace tovin {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kLineWord = "line";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The leading decimal digits of text as a number; 0 without digits. Numbers too big for an int
// are held at INT_MAX, where no editor has a line.
int LeadingNumber(std::string_view text) {
    long long value = 0;
    for (char c : text) {
        if (!IsDigit(c)) {
            break;
        }
        value = value * 10 + (c - '0');
        if (value > INT_MAX) {
            return INT_MAX;
        }
    }
    return static_cast<int>(value);
}

std::string_view TextFrom(std::string_view text, std::size_t offset) {
    return offset < text.size() ? text.substr(offset) : std::string_view();
}

// Where the name first occurs, when that occurrence may start a file name in a message.
std::optional<std::size_t> MatchingOccurrence(std::string_view line, std::string_view name) {
    const std::size_t at = line.find(name);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    if (at == 0) {
        return at;
    }
    const char before = line[at - 1];
    if (before == '/' || before == '\\' || before == '(') {
        return at;
    }
    return std::nullopt;
}

std::optional<int> LineAfterWord(std::string_view line, std::size_t from) {
    const std::size_t at = line.find(kLineWord, from);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    // The word and the one character after it ("line 4") are skipped.
    std::string_view rest = TextFrom(line, at + kLineWord.size() + 1);
    while (!rest.empty() && IsBlank(rest.front())) {
        rest.remove_prefix(1);
    }
    return LeadingNumber(rest) - 1;
}

// The message of one output line, when it is "path:digits: error: ..." or "...: warning: ...".
std::optional<SCompilerMessage> CompilerMessage(std::string_view line, const std::string& folder) {
    for (const std::string_view kind :
         {std::string_view(": error: "), std::string_view(": warning: ")}) {
        const std::size_t at = line.find(kind);
        if (at == std::string_view::npos) {
            continue;
        }
        std::size_t digits = at;
        while (digits > 0 && IsDigit(line[digits - 1])) {
            --digits;
        }
        // At least one digit, after a colon that ends a path of at least one character.
        if (digits == at || digits < 2 || line[digits - 1] != ':') {
            return std::nullopt;
        }
        SCompilerMessage message;
        message.path = std::string(line.substr(0, digits - 1));
        if (message.path.front() != '/' && !folder.empty()) {
            message.path = folder + (folder.back() == '/' ? "" : "/") + message.path;
        }
        message.line = LeadingNumber(line.substr(digits)) - 1;
        message.error = kind == ": error: ";
        message.text = std::string(line.substr(at + 2));
        return message;
    }
    return std::nullopt;
}

} // namespace

std::vector<SCompilerMessage> CompilerMessages(std::string_view output, const std::string& folder) {
    std::vector<SCompilerMessage> messages;
    while (!output.empty()) {
        const std::size_t end = std::min(output.find('\n'), output.size());
        std::string_view line = output.substr(0, end);
        output.remove_prefix(std::min(end + 1, output.size()));
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (auto message = CompilerMessage(line, folder); message && message->line >= 0) {
            messages.push_back(std::move(*message));
        }
    }
    return messages;
}

std::optional<std::string_view> OutputLine(std::string_view text, std::size_t n) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t end = text.find(kLineBreak, start);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        start = end + kLineBreak.size();
    }
    const std::size_t end = text.find(kLineBreak, start);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    return text.substr(start, end - start);
}

std::optional<SMessageTarget> MatchMessageLine(std::string_view line,
                                               const std::vector<std::string>& fileNames) {
    if (line.empty()) {
        return std::nullopt;
    }
    for (const std::string& name : fileNames) {
        // An empty name would "occur" at position 0 of every line.
        if (name.empty()) {
            continue;
        }
        const std::optional<std::size_t> at = MatchingOccurrence(line, name);
        if (!at) {
            continue;
        }
        const std::size_t nameEnd = *at + name.size();
        SMessageTarget target;
        target.fileName = name;
        // One character (the colon or the parenthesis) lies between the name and the number.
        target.javaLine = LeadingNumber(TextFrom(line, nameEnd + 1)) - 1;
        target.scriptLine = LineAfterWord(line, nameEnd);
        return target;
    }
    return std::nullopt;
}

std::optional<SMessageTarget> FindMessageTarget(std::string_view text, std::size_t n,
                                                const std::vector<std::string>& fileNames) {
    const std::optional<std::string_view> line = OutputLine(text, n);
    if (!line) {
        return std::nullopt;
    }
    return MatchMessageLine(*line, fileNames);
}

std::vector<std::string> ProjectFileNames(const CJavaProjectDoc& project) {
    std::vector<std::string> names;
    for (const auto& entry : project.JavaFiles()) {
        names.push_back(entry->GetFileName());
    }
    return names;
}

bool NavigateToMessage(CJavaProjectDoc& project, std::string_view line) {
    const std::optional<SMessageTarget> target = MatchMessageLine(line, ProjectFileNames(project));
    if (!target) {
        return false;
    }
    const std::string path = project.GetFullPath(target->fileName);
    if (path == CJavaProjectDoc::kNoFile) {
        return false;
    }
    COpenDocument* document = project.Host().OpenDocument(path);
    if (!document) {
        return false;
    }
    switch (document->Kind()) {
    case EDocumentKind::JavaSource:
        document->ShowLine(target->javaLine);
        break;
    case EDocumentKind::Jython:
    case EDocumentKind::Xml: {
        // A number right after the name is the script's line (Ant's "build.xml:9: Compile
        // failed", also inside a task's "[javac] ..." line), whatever words follow; else the
        // word "line" of a traceback says it.
        const std::string_view after =
            TextFrom(line, line.find(target->fileName) + target->fileName.size());
        const bool numbered = after.size() > 1 && after[0] == ':' && IsDigit(after[1]);
        if (const std::optional<int> scriptLine =
                numbered ? target->javaLine : target->scriptLine) {
            document->ShowLine(*scriptLine);
        }
        break;
    }
    default:
        break;
    }
    return true;
}

} // namespace tovin
