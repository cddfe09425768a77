#pragma once
// Opening a terminal emulator for console runs: Tovin writes a shell script and shows it
// running in a terminal window of its own, which the IDE does not wait for.

#include <string>

namespace tovin {

// The terminal emulator to use: the first of $TERMINAL, x-terminal-emulator and xterm that is
// an executable on $PATH (or, for a name holding '/', that path). Empty when there is none.
std::string FindTerminal();

// Starts `TERMINAL -e /bin/sh SCRIPT` detached, with folder as its working folder. Every
// terminal of the list understands -e as "run the rest of the words". Returns an empty text on
// success, else the reason: no terminal found, or the system's text for why it did not start.
// A terminal that starts and then fails (no display, say) is not noticed.
std::string OpenTerminal(const std::string& scriptPath, const std::string& folder);

} // namespace tovin
