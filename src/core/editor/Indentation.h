#pragma once
// How a file is indented: with tabs, or with spaces in steps of 2, 3, 4 or 8. It is found once,
// when the file is opened, from the file's own indented lines, so that the editing aids
// (TextCommands.h) indent new lines the way the rest of the file already is.

#include <optional>
#include <string>
#include <string_view>

namespace tovin {

struct SIndentStyle {
    // Spaces per level; 0 when a level is a tab.
    int spaceStep = 0;

    bool UsesSpaces() const { return spaceStep > 0; }
    bool operator==(const SIndentStyle&) const = default;
};

// What the status bar says of a style: "Tabs" or "Spaces: 4".
std::string IndentStyleText(SIndentStyle style);

// The style of the text's indented lines; nullopt when no line is indented, or when spaces
// indent it in no step of 2, 3, 4 or 8.
//
// Blank lines and the lines of a block comment that start with "*" are not looked at. A line
// indented with a tab first counts for tabs, one indented with spaces only for spaces; the
// larger count wins (tabs on a tie). The step of a space-indented text is the difference
// between the indentations of neighbouring lines that occurs most often among 2, 3, 4 and 8
// (the smaller on a tie). Only the first lines of a very large text are read.
std::optional<SIndentStyle> DetectIndentation(std::string_view text);

} // namespace tovin
