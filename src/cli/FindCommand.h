#pragma once
// The window-less find in files: `tovin --find TEXT [--case] [--word] PROJECT.jpr` prints what
// "Find in Files..." would show in the Process Window, with LF line ends, and tells by its exit
// code whether anything matched, as grep does.

#include <ostream>
#include <string>
#include <vector>

namespace tovin {

inline constexpr int kFindMatched = 0;
inline constexpr int kFindNoMatch = 1;
inline constexpr int kFindUsageError = 2; // bad arguments or an unreadable project file

// The --help line of the option.
std::string FindCommandHelp();

// Runs the option. arguments are the program's arguments after its name; the option's own
// begin at "--find". Other options given before it (such as --settings FILE) are skipped.
int RunFindCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace tovin
