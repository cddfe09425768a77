#include "cli/HighlightCommand.h"

#include "core/platform/Files.h"

#include <climits>
#include <cstdint>

namespace tovin {

namespace {

// Positions of the editor are ints; bigger files are refused rather than miscounted.
constexpr size_t kMaxColouredSize = INT_MAX / 2;

std::uint32_t ColourOf(ETokenClass cls, const CSettings& settings) {
    switch (cls) {
    case ETokenClass::Keyword:
        return settings.keyColor;
    case ETokenClass::Comment:
        return settings.commentColor;
    case ETokenClass::String:
        return settings.stringColor;
    case ETokenClass::Tag:
        return settings.tagColor;
    case ETokenClass::Normal:
        break;
    }
    return 0;
}

// A colour reference holds red in the lowest byte.
void WriteColourStart(std::uint32_t colour, std::ostream& out) {
    out << "\x1b[38;2;" << (colour & 0xFF) << ';' << ((colour >> 8) & 0xFF) << ';'
        << ((colour >> 16) & 0xFF) << 'm';
}

constexpr std::string_view kColourEnd = "\x1b[0m";

} // namespace

std::string_view TokenClassName(ETokenClass cls) {
    switch (cls) {
    case ETokenClass::Keyword:
        return "keyword";
    case ETokenClass::Comment:
        return "comment";
    case ETokenClass::String:
        return "string";
    case ETokenClass::Tag:
        return "tag";
    case ETokenClass::Normal:
        break;
    }
    return "normal";
}

std::string ToCrLfText(std::string_view text) {
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            result += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (c == '\n') {
            result += "\r\n";
        } else {
            result += c;
        }
    }
    return result;
}

void WriteClassRuns(const CClassBuffer& classes, std::ostream& out) {
    size_t runStart = 0;
    for (size_t i = 1; i <= classes.size(); ++i) {
        if (i == classes.size() || classes[i] != classes[runStart]) {
            out << runStart << '\t' << i << '\t' << TokenClassName(classes[runStart]) << '\n';
            runStart = i;
        }
    }
}

void WriteColouredText(std::string_view text, const CClassBuffer& classes,
                       const CSettings& settings, std::ostream& out) {
    bool coloured = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        bool wanted = text[i] != '\n' && classes[i] != ETokenClass::Normal;
        bool changes = i > 0 && classes[i] != classes[i - 1];
        if (coloured && (!wanted || changes)) {
            out << kColourEnd;
            coloured = false;
        }
        if (wanted && !coloured) {
            WriteColourStart(ColourOf(classes[i], settings), out);
            coloured = true;
        }
        out << text[i];
    }
    if (coloured) {
        out << kColourEnd;
    }
}

std::string HighlightFile(const std::string& path, bool runs, const CSettings& settings,
                          std::ostream& out) {
    std::optional<ELanguage> language = LanguageFromPath(path);
    if (!language) {
        return path + ": no syntax colouring for this kind of file "
                      "(known: .java, .html, .htm, .xml, .py)";
    }
    std::string error;
    std::optional<std::string> content = ReadWholeFile(path, &error);
    if (!content) {
        return "cannot read " + path + ": " + error;
    }
    if (content->size() > kMaxColouredSize) {
        return path + ": the file is too large to colour";
    }
    if (!runs && content->find('\0') != std::string::npos) {
        return path + ": binary file (it holds NUL bytes); use --runs to list its classes";
    }
    std::string text = ToCrLfText(*content);
    CClassBuffer classes = ClassifyText(*language, text);
    if (runs) {
        WriteClassRuns(classes, out);
    } else {
        WriteColouredText(text, classes, settings, out);
    }
    return {};
}

int RunHighlightCommand(const std::vector<std::string>& arguments, const CSettings& settings,
                        std::ostream& out, std::ostream& err) {
    bool runs = false;
    std::vector<std::string> files;
    for (const auto& argument : arguments) {
        if (argument == "--runs") {
            runs = true;
        } else if (argument.starts_with("--")) {
            err << "tovin: unknown option for --highlight: " << argument << "\n";
            return 2;
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() != 1) {
        err << "tovin: --highlight needs exactly one FILE (tovin --highlight [--runs] FILE)\n";
        return 2;
    }
    std::string error = HighlightFile(files.front(), runs, settings, out);
    out.flush();
    if (!error.empty()) {
        err << "tovin: " << error << "\n";
        return 1;
    }
    return 0;
}

} // namespace tovin
