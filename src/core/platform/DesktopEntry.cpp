#include "core/platform/DesktopEntry.h"

namespace tovin {

std::string EscapeDesktopString(std::string_view value) {
    std::string escaped;
    escaped.reserve(value.size());
    // Blanks after the '=' are not part of the value, so a leading one needs its escape.
    if (value.starts_with(' ')) {
        escaped += "\\s";
        value.remove_prefix(1);
    }
    for (char c : value) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\r':
            escaped += "\\r";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string QuoteDesktopExecWord(std::string_view word) {
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    bool quote = word.empty() || word.find_first_of(kReserved) != std::string_view::npos;
    std::string quoted = quote ? "\"" : "";
    for (char c : word) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            quoted += '\\';
        } else if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    if (quote) {
        quoted += '"';
    }
    return quoted;
}

std::string ComposeDesktopEntry(const SDesktopEntry& entry) {
    std::string exec = QuoteDesktopExecWord(entry.program);
    for (const auto& argument : entry.arguments) {
        exec += ' ';
        exec += QuoteDesktopExecWord(argument);
    }
    std::string text = "[Desktop Entry]\nType=Application\n";
    text += "Name=" + EscapeDesktopString(entry.name) + "\n";
    if (!entry.comment.empty()) {
        text += "Comment=" + EscapeDesktopString(entry.comment) + "\n";
    }
    text += "Exec=" + EscapeDesktopString(exec) + "\n";
    if (!entry.workingDirectory.empty()) {
        text += "Path=" + EscapeDesktopString(entry.workingDirectory) + "\n";
    }
    if (!entry.icon.empty()) {
        text += "Icon=" + EscapeDesktopString(entry.icon) + "\n";
    }
    text += "Terminal=false\n";
    return text;
}

} // namespace tovin
