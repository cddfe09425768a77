#pragma once
// tovin --complete FILE:LINE:COLUMN [--project PROJECT.jpr]: what the Java engine offers at a
// place of a file, as the window's completion list would, one item a line:
// "label<TAB>kind<TAB>detail" in the engine's order, the kind as a word ("method", "enum
// constant"). LINE and COLUMN are 1-based, COLUMN counted in characters as the status bar
// counts them (a tab is one). With a project the engine knows its files and class path.
//
// Exit 0 with the list (possibly empty); 2 when the command line or the place is wrong; 3 when
// the file or project cannot be read or no engine could answer.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tovin {

std::string CompleteCommandHelp();

// nullopt when the arguments do not ask for --complete.
std::optional<int> RunCompleteCommand(const std::vector<std::string>& arguments, std::ostream& out,
                                      std::ostream& err);

// FILE:LINE:COLUMN split at its last two colons (a file name may hold colons); nullopt when
// LINE or COLUMN is not a number of at least 1.
struct SFilePlace {
    std::string file;
    int line = 0;
    int column = 0;
};
std::optional<SFilePlace> ParseFilePlace(const std::string& text);

} // namespace tovin
