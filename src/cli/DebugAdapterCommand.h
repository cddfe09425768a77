#pragma once
// `tovin --debug-adapter`: the debugger of the engine's jar for any client of the debug
// protocol. The tovin process becomes the JDK's launcher running the adapter, so the client's
// standard input and output are the adapter's own and ending tovin ends the adapter.

#include <ostream>
#include <string>
#include <vector>

namespace tovin {

struct CSettings;

// Where Debian's Gson is; the engine's jar needs it beside it on the class path.
inline constexpr const char* kGsonJar = "/usr/share/java/gson.jar";
// The engine's jar, relative to the data folder.
inline constexpr const char* kEngineJar = "engine/tovin-engine.jar";

struct SDebugAdapterCommand {
    std::string executable;             // <JAVABIN>/bin/java
    std::vector<std::string> arguments; // argument zero first
    std::string error;                  // why there is no command; the rest is empty then
};

// The adapter's command line from the settings' JDK and the engine's jar (empty: not found).
SDebugAdapterCommand ComposeDebugAdapterCommand(const CSettings& settings,
                                                const std::string& engineJar);

// Runs the adapter in place of this process. Returns only when it could not be started: the
// reason goes to err and the result is the exit code (3).
int RunDebugAdapter(const CSettings& settings, std::ostream& err);

} // namespace tovin
