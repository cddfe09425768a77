#pragma once
// The breakpoints of a project's files, kept in a file beside the project file ("Hello.jpr"
// keeps them in "Hello.breakpoints"), so they survive a restart while the project file stays as
// it is. One breakpoint a line, "path:line": the path relative to the project file's folder
// when the file lies below it (a moved project keeps its breakpoints), else absolute; the line
// counted from 1. A first line "# Tovin breakpoints" names the file's kind.

#include <map>
#include <string>
#include <vector>

namespace tovin {

// Lines (1-based, ascending, no repeats) by absolute file path.
using BreakpointMap = std::map<std::string, std::vector<int>>;

std::string BreakpointFilePath(const std::string& projectPath);

struct SBreakpointRead {
    BreakpointMap breakpoints;
    int damagedLines = 0; // lines that name no breakpoint; they are left out
    std::string error;    // the file exists but cannot be read; empty when it is missing
};

// Reads the file of a project whose file lies in projectFolder. A missing file is no error.
SBreakpointRead ReadBreakpointFile(const std::string& path, const std::string& projectFolder);

// Writes the breakpoints atomically; with none, an existing file is emptied and no new one is
// made. Returns the system's reason on failure (the old file is then kept), else empty.
[[nodiscard]] std::string WriteBreakpointFile(const std::string& path,
                                              const std::string& projectFolder,
                                              const BreakpointMap& breakpoints);

} // namespace tovin
