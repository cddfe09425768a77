#include "core/process/ProcessRunner.h"

#include "core/app/UiHost.h"
#include "core/platform/CommandLine.h"
#include "core/platform/Files.h"
#include "core/platform/Spawn.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace tovin {

std::atomic<bool> CProcessRunner::s_processRunning{false};

CProcessRunner::CProcessRunner(CUiHost* host) : m_host(host) {}

CProcessRunner::~CProcessRunner() {
    if (m_reader.joinable()) {
        Terminate(kAbortExitCode);
        m_reader.join();
    }
}

bool CProcessRunner::Start(const std::string& applicationPath, const std::string& commandLine,
                           const std::string& workingDirectory) {
    bool idle = false;
    if (!s_processRunning.compare_exchange_strong(idle, true)) {
        return false;
    }
    // The flag was clear, so an earlier run of this runner has ended; its thread is done.
    if (m_reader.joinable()) {
        m_reader.join();
    }
    m_child.reset();
    m_applicationPath = applicationPath;
    m_commandLine = commandLine;
    m_workingDirectory = workingDirectory;
    {
        std::lock_guard lock(m_outputLock);
        m_output.Clear();
    }
    {
        std::lock_guard lock(m_endLock);
        m_endDecided = false;
        m_abortCode.reset();
        m_exitCode.reset();
    }
    std::string folder = workingDirectory.empty() ? CurrentFolder() : workingDirectory;
    auto arguments = ExpandWildcards(SplitCommandLine(commandLine), folder);
    auto child = std::make_unique<CChildProcess>();
    m_pendingInput.clear();
    m_closeInputPending = false;
    if (m_host && m_host->OffersInput()) {
        child->EnableInput();
    }
    std::string error = child->Start(applicationPath, arguments, workingDirectory);
    if (error.empty()) {
        m_child = std::move(child);
        m_finished = false;
        try {
            m_reader = std::thread(
                [this, chunk = m_chunkSize, limit = m_outputLimit] { ReadOutput(chunk, limit); });
            return true;
        } catch (const std::system_error& e) {
            error = e.code().message();
            m_finished = true;
            m_child.reset();
        }
    }
    s_processRunning = false;
    if (m_host) {
        m_host->MessageBox(StartFailureText(applicationPath, arguments, workingDirectory, error),
                           "Error", EMsgButtons::Ok, EMsgIcon::Information);
    }
    return false;
}

std::string CProcessRunner::GetOutput() const {
    return GetOutputFrom(0);
}

std::string CProcessRunner::GetOutputFrom(std::size_t offset) const {
    std::lock_guard lock(m_outputLock);
    return m_output.CopyFrom(offset);
}

std::string CProcessRunner::GetOutputRange(std::size_t offset, std::size_t count) const {
    std::lock_guard lock(m_outputLock);
    return m_output.CopyRange(offset, count);
}

void CProcessRunner::AppendOutput(std::string_view text) {
    AppendAndFindMarker(text);
}

bool CProcessRunner::AppendAndFindMarker(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::lock_guard lock(m_outputLock);
    // The stored text is already normalised, and normalising is local (an LF gains a CR unless
    // one precedes it), so only the new text needs the work; the stored last byte decides for
    // an LF at its start.
    std::string& added = m_scratch;
    added.clear();
    const char before = m_output.Back();
    std::size_t start = 0;
    while (start < text.size()) {
        const void* hit = std::memchr(text.data() + start, '\n', text.size() - start);
        std::size_t lineFeed =
            hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data())
                : text.size();
        added.append(text.data() + start, lineFeed - start);
        if (lineFeed == text.size()) {
            break;
        }
        if ((lineFeed > 0 ? text[lineFeed - 1] : before) != '\r') {
            added += '\r';
        }
        added += '\n';
        start = lineFeed + 1;
    }
    // A marker that arrives now ends in the added text; it may begin in the stored tail.
    const std::string_view marker = kStopMarker;
    std::size_t tailSize = std::min(m_output.Size(), marker.size() - 1);
    std::string seam = m_output.CopyFrom(m_output.Size() - tailSize);
    seam.append(added, 0, std::min(added.size(), marker.size() - 1));
    bool found = seam.find(marker) != std::string::npos || added.find(marker) != std::string::npos;
    m_output.Append(added);
    return found;
}

void CProcessRunner::Terminate(int exitCode) {
    if (m_finished || !m_child) {
        return;
    }
    std::lock_guard lock(m_endLock);
    if (m_endDecided) {
        return;
    }
    if (m_child->KillGroup()) {
        m_abortCode = exitCode;
        m_child->StopReading();
    }
}

bool CProcessRunner::AcceptsInput() const {
    return !m_finished && m_child && m_child->HasInput() && !m_closeInputPending;
}

void CProcessRunner::WriteInput(std::string_view bytes) {
    if (!AcceptsInput()) {
        return;
    }
    m_pendingInput.append(bytes);
    FlushInput();
}

void CProcessRunner::CloseInput() {
    if (!m_child || !m_child->HasInput()) {
        return;
    }
    m_closeInputPending = true;
    FlushInput();
}

void CProcessRunner::FlushInput() {
    if (!m_child || !m_child->HasInput()) {
        m_pendingInput.clear();
        return;
    }
    if (m_finished) {
        m_pendingInput.clear();
        m_child->CloseInput();
        return;
    }
    const std::size_t sent = m_child->WriteInput(m_pendingInput.data(), m_pendingInput.size());
    m_pendingInput.erase(0, sent);
    if (m_pendingInput.empty() && m_closeInputPending) {
        m_child->CloseInput();
    }
}

std::optional<int> CProcessRunner::ExitCode() const {
    std::lock_guard lock(m_endLock);
    return m_exitCode;
}

void CProcessRunner::SetReadChunkSize(std::size_t size) {
    m_chunkSize = std::clamp<std::size_t>(size, 1, kReadChunk);
}

void CProcessRunner::SetOutputLimit(std::size_t bytes) {
    m_outputLimit = bytes;
}

void CProcessRunner::ReadOutput(std::size_t chunkSize, std::size_t outputLimit) {
    char buffer[kReadChunk + 2];
    bool markerSeen = false;
    bool limitReached = false;
    while (!markerSeen && s_processRunning) {
        std::size_t n = m_child->ReadOutput(buffer, chunkSize);
        if (n == 0) {
            break;
        }
        // Past the limit the pipe is still drained, so the tool runs to its end and its exit
        // code is reported; only its text is dropped.
        if (!limitReached && OutputSize() >= outputLimit) {
            limitReached = true;
            AppendOutput(kOutputLimitNote);
        }
        if (!limitReached) {
            markerSeen = AppendAndFindMarker(std::string_view(buffer, n));
        }
    }
    // After end of file the child is about to exit (or was killed); after the marker it may
    // well run on, and is then reported as still active.
    SExitStatus status = markerSeen ? m_child->Poll() : m_child->Wait();
    AppendOutput(Report(status));
    // A child still running after its report is the user's program, not ours to end: it runs
    // on and is reaped in the background instead of being killed when the runner goes.
    if (status.state == EExitState::Running) {
        m_child->RunOnInBackground();
    }
    m_child->CloseOutput();
    // The flag first: whoever sees this run finished may start the next tool at once.
    s_processRunning = false;
    m_finished = true;
}

std::size_t CProcessRunner::OutputSize() const {
    std::lock_guard lock(m_outputLock);
    return m_output.Size();
}

std::string CProcessRunner::Report(const SExitStatus& status) {
    std::optional<int> code;
    {
        std::lock_guard lock(m_endLock);
        m_endDecided = true;
        code = m_abortCode;
    }
    if (!code && status.state == EExitState::Running) {
        code = kStillActiveCode;
    } else if (!code && status.state == EExitState::Exited) {
        code = status.code;
    }
    if (!code) {
        return "Warning! There were process errors";
    }
    {
        std::lock_guard lock(m_endLock);
        m_exitCode = code;
    }
    char line[32];
    std::snprintf(line, sizeof line, "Exit code: %d", *code);
    std::string text = line;
    if (*code == 0) {
        text += "\r\nNo Errors";
    } else if (*code == kAbortExitCode) {
        text += "\r\nProcess terminated by user.";
    } else if (*code == kStillActiveCode) {
        text += "\r\nError - process still active!";
    } else {
        text += "\r\nThere were errors";
    }
    return text;
}

} // namespace tovin
