#include "cli/DebugAdapterCommand.h"

#include "cli/BatchCommand.h"
#include "core/platform/Paths.h"
#include "core/project/EngineCommand.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace tovin {

int RunDebugAdapter(const CSettings& settings, std::ostream& err) {
    const SEngineCommand command = ComposeDebugAdapterCommand(settings, FindDataFile(kEngineJar));
    if (!command.error.empty()) {
        err << "tovin: " << command.error << '\n';
        return kBatchNotStarted;
    }
    std::vector<std::string> words = {command.program};
    words.insert(words.end(), command.arguments.begin(), command.arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    err.flush();
    ::execv(command.program.c_str(), argv.data());
    err << "tovin: cannot run " << command.program << ": " << std::strerror(errno) << '\n';
    return kBatchNotStarted;
}

} // namespace tovin
