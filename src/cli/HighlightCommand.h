#pragma once
// The window-less colouring of a file (tovin --highlight): the file is converted to CR LF line
// breaks, as the editor holds it, and classified by the whole-text classifier of its language
// (chosen by extension). The result is printed either as the text with ANSI 24-bit colours from
// the colour settings (normal text uncoloured, line breaks as LF) or as one line per run,
// START<TAB>END<TAB>CLASS, with positions in the CR LF text.

#include "core/app/Settings.h"
#include "core/editor/ColourClassifier.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tovin {

// Name of a class in the runs output: normal, keyword, comment, string or tag.
std::string_view TokenClassName(ETokenClass cls);

// LF and lone CR become CR LF; CR LF stays.
std::string ToCrLfText(std::string_view text);

// One line per maximal run of equal class.
void WriteClassRuns(const CClassBuffer& classes, std::ostream& out);
// The CR LF text with each non-normal run in its class colour; CR LF is written as LF, and
// colours are closed before each line break so every output line stands on its own.
void WriteColouredText(std::string_view text, const CClassBuffer& classes,
                       const CSettings& settings, std::ostream& out);

// Prints the file coloured, or its runs. Returns an empty string, or why nothing was printed.
std::string HighlightFile(const std::string& path, bool runs, const CSettings& settings,
                          std::ostream& out);

// The arguments after --highlight: [--runs] FILE. Returns the exit code: 0, 1 when the file
// cannot be coloured, 2 for wrong arguments; messages go to err.
int RunHighlightCommand(const std::vector<std::string>& arguments, const CSettings& settings,
                        std::ostream& out, std::ostream& err);

} // namespace tovin
