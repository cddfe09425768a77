#pragma once
// Runs one external tool with standard output and standard error captured into one text.
// (Interface in place; the runner itself is being built.)

#include <string>

namespace tovin {

class CUiHost;

class CProcessRunner {
public:
    explicit CProcessRunner(CUiHost* host = nullptr) : m_host(host) {}
    virtual ~CProcessRunner() = default;

    bool Start(const std::string& applicationPath, const std::string& commandLine,
               const std::string& workingDirectory);
    std::string GetOutput() const;
    void Terminate(int exitCode);

    // The application-wide process-running flag.
    static bool IsProcessRunning();

private:
    CUiHost* m_host;
};

} // namespace tovin
