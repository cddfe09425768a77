#include "core/platform/Terminal.h"

#include "core/platform/Spawn.h"

#include <cstdlib>

namespace tovin {

std::string FindTerminal() {
    const char* preferred = std::getenv("TERMINAL");
    for (std::string name : {std::string(preferred ? preferred : ""),
                             std::string("x-terminal-emulator"), std::string("xterm")}) {
        std::string path = FindExecutableOnPath(name);
        if (!path.empty()) {
            return path;
        }
    }
    return {};
}

std::string OpenTerminal(const std::string& scriptPath, const std::string& folder) {
    std::string terminal = FindTerminal();
    if (terminal.empty()) {
        return "No terminal emulator found: set TERMINAL, or install x-terminal-emulator or "
               "xterm.";
    }
    std::string error = SpawnDetached(terminal, {terminal, "-e", "/bin/sh", scriptPath}, folder);
    return error.empty() ? error : terminal + ": " + error;
}

} // namespace tovin
