#pragma once
// Freedesktop desktop entries (.desktop files): what stands in for a Windows shell link. A
// desktop entry names a program, its arguments, the folder it starts in and an icon; file
// managers and desktops start it when the file is opened.

#include <string>
#include <string_view>
#include <vector>

namespace tovin {

struct SDesktopEntry {
    std::string name;    // shown by the desktop; required by the format
    std::string comment; // optional description
    std::string program; // the executable's path
    std::vector<std::string> arguments;
    std::string workingDirectory; // empty: none given
    std::string icon;             // an icon name or an absolute image path
};

// A value of type string with the format's escapes: backslash, LF, TAB and CR written as
// \\, \n, \t and \r, and a leading blank as \s.
std::string EscapeDesktopString(std::string_view value);

// One word of the Exec key before the string escapes: a word holding a reserved character (or
// none at all) is put in double quotes with '"', '`', '$' and '\' escaped by a backslash, and
// every '%' is doubled so that it is never read as a field code.
std::string QuoteDesktopExecWord(std::string_view word);

// The whole file: the [Desktop Entry] group with Type=Application, Name, Comment (when given),
// Exec (program and arguments), Path (when given), Icon (when given) and Terminal=false, each
// line ending with LF.
std::string ComposeDesktopEntry(const SDesktopEntry& entry);

} // namespace tovin
