#pragma once
// tovin --check FILE|PROJECT.jpr: the language server's diagnostics of a file or of every Java
// file of a project, printed as the compiler prints its own, and exit code 1 when there is an
// error. tovin --language-server [--project PROJECT.jpr]: the server itself, speaking over this
// process's standard input and output, for any client.

#include "language/DiagnosticsModel.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tovin {

// The options' help lines.
std::string CheckCommandHelp();

// nullopt when the arguments ask for neither command.
std::optional<int> RunLanguageCommand(const std::vector<std::string>& arguments, std::ostream& out,
                                      std::ostream& err);

// One diagnostic as the compiler prints it: "PATH:LINE: error: " and the message's first line,
// the source line and a caret under the column, then the message's other lines. A diagnostic
// without a position is "error: " and the message; a note is "Note: " and the message. Every
// line ends with '\n'. sourceLines are the file's lines without their line ends.
std::string FormatDiagnostic(const std::string& path, const std::vector<std::string>& sourceLines,
                             const SDiagnostic& diagnostic);
// The compiler's closing lines: "1 error", "N errors", then "1 warning", "N warnings"; nothing
// for a count of zero.
std::string FormatCounts(int errors, int warnings);

} // namespace tovin
