#include "process/ProcessRunner.h"

namespace tovin {

bool CProcessRunner::Start(const std::string&, const std::string&, const std::string&) {
    (void)m_host;
    return false;
}

std::string CProcessRunner::GetOutput() const {
    return {};
}

void CProcessRunner::Terminate(int) {}

bool CProcessRunner::IsProcessRunning() {
    return false;
}

} // namespace tovin
