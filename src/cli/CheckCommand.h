#pragma once
// tovin --check FILE...|PROJECT.jpr: the language server's diagnostics of files (each checked
// alone, as the compiler given that file alone would) or of every Java file of a project (checked
// together, as Build compiles them), printed as the compiler prints its own, and exit code 1 when
// there is an error. tovin --language-server [--project PROJECT.jpr]: the server itself, speaking
// over this process's standard input and output, for any client.

#include "language/DiagnosticsModel.h"
#include "language/LanguageClient.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

class QCoreApplication;

namespace tovin {

struct CSettings;
struct SEngineCommand;

// The CLI's own event loop: the client is asynchronous, and no window made one for it.
QCoreApplication& CliEventLoop();
// The language server's command as the client starts it.
SServerCommand ServerCommandOf(const SEngineCommand& command, const CSettings& settings);

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
