#pragma once
// `tovin --debug-adapter`: the debugger of the engine's jar for any client of the debug
// protocol. The tovin process becomes the JDK's launcher running the adapter, so the client's
// standard input and output are the adapter's own and ending tovin ends the adapter. The
// command is the one the window's debugger starts (ComposeDebugAdapterCommand).

#include <ostream>

namespace tovin {

struct CSettings;

// Runs the adapter in place of this process. Returns only when it could not be started: the
// reason goes to err and the result is the exit code (3).
int RunDebugAdapter(const CSettings& settings, std::ostream& err);

} // namespace tovin
