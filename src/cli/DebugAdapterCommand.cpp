#include "cli/DebugAdapterCommand.h"

#include "cli/BatchCommand.h"
#include "core/app/Settings.h"
#include "core/platform/Paths.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace tovin {

SDebugAdapterCommand ComposeDebugAdapterCommand(const CSettings& settings,
                                                const std::string& engineJar) {
    SDebugAdapterCommand command;
    if (engineJar.empty()) {
        command.error = std::string("the debugger is not installed (") + kEngineJar +
                        " is missing from the data folder)";
        return command;
    }
    if (settings.javaBin.empty()) {
        command.error = "no JDK is set (JAVABIN); choose one in Preferences";
        return command;
    }
    command.executable = settings.javaBin + kPathSeparator + "bin" + kPathSeparator + "java";
    // A small heap and the serial collector: the adapter holds little and starts often.
    command.arguments = {command.executable,
                         "-XX:+UseSerialGC",
                         "-Xmx96m",
                         "-cp",
                         engineJar + kPathListSeparator + kGsonJar,
                         "tovin.engine.DebugAdapter"};
    return command;
}

int RunDebugAdapter(const CSettings& settings, std::ostream& err) {
    const SDebugAdapterCommand command =
        ComposeDebugAdapterCommand(settings, FindDataFile(kEngineJar));
    if (!command.error.empty()) {
        err << "tovin: " << command.error << '\n';
        return kBatchNotStarted;
    }
    std::vector<char*> argv;
    for (const auto& argument : command.arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    err.flush();
    ::execv(command.executable.c_str(), argv.data());
    err << "tovin: cannot run " << command.executable << ": " << std::strerror(errno) << '\n';
    return kBatchNotStarted;
}

} // namespace tovin
