#pragma once
// Stand-ins for the JDK's tools in unit tests: each prints its arguments (each followed by
// '|'), a line end and its working folder, so a test sees exactly what a command started.

#include "core/process/ProcessRunner.h"

#include "FakeUiHost.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace tovin::test {

class CToolScripts {
public:
    // Creates folder/bin/<name> for each name.
    void Install(const std::string& folder, const std::vector<std::string>& names) {
        std::filesystem::create_directories(folder + "/bin");
        for (const auto& name : names) {
            const std::string path = folder + "/bin/" + name;
            std::ofstream(path) << "#!/bin/sh\nprintf '%s|' \"$@\"\necho\npwd\n";
            std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        }
    }
};

// Waits for the host's last runner to finish and gives its output before the exit-code report
// ("" when no runner was attached or it did not finish within a minute).
inline std::string WaitForOutput(const CFakeUiHost& host) {
    if (host.runners.empty()) {
        return {};
    }
    const CProcessRunner& runner = *host.runners.back();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!runner.IsFinished() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const std::string output = runner.GetOutput();
    return output.substr(0, output.find("Exit code:"));
}

} // namespace tovin::test
