#include "core/platform/Spawn.h"

#include "core/platform/Files.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <linux/close_range.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace tovin {

namespace {

// Owns one descriptor; everything Spawn opens is close-on-exec and above the standard three,
// so a dup2 onto 0, 1 or 2 in the child always clears close-on-exec on the copy.
class CDescriptor {
public:
    CDescriptor() = default;
    explicit CDescriptor(int fd) : m_fd(fd) { MoveAboveStandard(); }
    ~CDescriptor() { Reset(); }
    CDescriptor(const CDescriptor&) = delete;
    CDescriptor& operator=(const CDescriptor&) = delete;
    CDescriptor& operator=(CDescriptor&& other) noexcept {
        if (this != &other) {
            Reset();
            m_fd = other.Release();
        }
        return *this;
    }

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    int Release() {
        int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void Reset() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

private:
    void MoveAboveStandard() {
        if (m_fd >= 0 && m_fd <= STDERR_FILENO) {
            int moved = ::fcntl(m_fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
            ::close(m_fd);
            m_fd = moved;
        }
    }

    int m_fd = -1;
};

// What a child reports through the error pipe before it gives up.
struct SChildFailure {
    int error;
};

// Everything the child needs, prepared before fork: between fork and exec the child may only
// make async-signal-safe calls, so no allocation happens there.
struct SExecPlan {
    std::vector<std::string> candidates; // paths handed to execv in turn
    std::vector<std::string> arguments;
    std::vector<char*> argv;
    std::string folder;
    int input = -1;  // becomes standard input
    int output = -1; // becomes standard output and standard error; -1 keeps the IDE's
};

const char* SearchPath() {
    const char* path = std::getenv("PATH");
    return path ? path : "/bin:/usr/bin";
}

std::vector<std::string> PathFolders() {
    std::vector<std::string> folders;
    std::string path = SearchPath();
    std::size_t start = 0;
    for (;;) {
        auto end = path.find(':', start);
        std::string folder = path.substr(start, end - start);
        folders.push_back(folder.empty() ? "." : folder);
        if (end == std::string::npos) {
            return folders;
        }
        start = end + 1;
    }
}

// Fills plan in place: argv points into plan.arguments, which must not move afterwards.
void PreparePlan(SExecPlan& plan, const std::string& executable,
                 const std::vector<std::string>& arguments, const std::string& folder) {
    plan.folder = folder;
    plan.arguments = arguments.empty() ? std::vector<std::string>{executable} : arguments;
    const std::string& name = plan.arguments[0];
    if (!executable.empty()) {
        // The child changes folder before exec; a relative path means the caller's folder.
        plan.candidates.push_back(executable[0] == '/' ? executable
                                                       : CurrentFolder() + "/" + executable);
    } else if (name.find('/') != std::string::npos) {
        plan.candidates.push_back(name);
    } else if (!name.empty()) {
        for (const auto& dir : PathFolders()) {
            plan.candidates.push_back(dir + "/" + name);
        }
    }
    for (auto& argument : plan.arguments) {
        plan.argv.push_back(argument.data());
    }
    plan.argv.push_back(nullptr);
}

[[noreturn]] void FailChild(int errorPipe, int error) {
    SChildFailure failure{error};
    ssize_t ignored = ::write(errorPipe, &failure, sizeof failure);
    (void)ignored;
    ::_exit(127);
}

// Runs in the forked child: only async-signal-safe calls from here on.
[[noreturn]] void RunChild(const SExecPlan& plan, int errorPipe) {
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    for (int signal = 1; signal < NSIG; ++signal) {
        ::sigaction(signal, &standard, nullptr); // SIGKILL, SIGSTOP and reserved ones refuse
    }
    ::setsid();
    if (!plan.folder.empty() && ::chdir(plan.folder.c_str()) != 0) {
        FailChild(errorPipe, errno);
    }
    if (::dup2(plan.input, STDIN_FILENO) < 0) {
        FailChild(errorPipe, errno);
    }
    if (plan.output >= 0 &&
        (::dup2(plan.output, STDOUT_FILENO) < 0 || ::dup2(plan.output, STDERR_FILENO) < 0)) {
        FailChild(errorPipe, errno);
    }
    // Descriptors other code of the IDE opened without close-on-exec must not reach the tool.
    // Failure (an old kernel) only loses this protection.
    ::close_range(STDERR_FILENO + 1, ~0U, CLOSE_RANGE_CLOEXEC);

    // The same search rules as execvp: a missing candidate moves on, a denied one is remembered.
    int error = ENOENT;
    bool denied = false;
    for (const auto& candidate : plan.candidates) {
        ::execv(candidate.c_str(), plan.argv.data());
        error = errno;
        if (error == EACCES) {
            denied = true;
        } else if (error != ENOENT && error != ENOTDIR && error != ESTALE && error != ENODEV &&
                   error != ETIMEDOUT) {
            FailChild(errorPipe, error);
        }
    }
    FailChild(errorPipe, denied ? EACCES : error);
}

// Blocks until the child has exec'd (end of file) or reported its failure. 0 on success.
int ReadChildFailure(int errorPipe) {
    SChildFailure failure{};
    for (;;) {
        ssize_t n = ::read(errorPipe, &failure, sizeof failure);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return n == static_cast<ssize_t>(sizeof failure) ? failure.error : 0;
    }
}

pid_t WaitForPid(pid_t pid, int* status, int options) {
    pid_t result;
    do {
        result = ::waitpid(pid, status, options);
    } while (result < 0 && errno == EINTR);
    return result;
}

long long NowMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

SExitStatus DecodeWaitStatus(int status) {
    if (WIFEXITED(status)) {
        return {EExitState::Exited, WEXITSTATUS(status)};
    }
    if (WIFSIGNALED(status)) {
        return {EExitState::Exited, -WTERMSIG(status)};
    }
    return {EExitState::Unavailable, 0};
}

// Drains the output pipe (non-blocking) until the child exits, then reaps it and closes both.
// A process descriptor tells of the exit even while a grandchild still holds the pipe; without
// one (an old kernel) the pipe is drained to its end first.
void DrainAndReap(pid_t pid, int output) {
    const int exited = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    pollfd fds[2] = {{output, POLLIN, 0}, {exited, POLLIN, 0}};
    const nfds_t count = exited >= 0 ? 2 : 1;
    char buffer[4096];
    while (fds[0].fd >= 0 && fds[1].revents == 0) {
        if (::poll(fds, count, -1) < 0 && errno != EINTR) {
            break;
        }
        if (fds[0].revents != 0) {
            ssize_t n = ::read(fds[0].fd, buffer, sizeof buffer);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
                ::close(fds[0].fd);
                fds[0].fd = -1;
            }
        }
    }
    int status = 0;
    WaitForPid(pid, &status, 0);
    if (fds[0].fd >= 0) {
        ::close(fds[0].fd);
    }
    if (exited >= 0) {
        ::close(exited);
    }
}

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

} // namespace

std::string FindExecutableOnPath(const std::string& name) {
    if (name.empty()) {
        return {};
    }
    if (name.find('/') != std::string::npos) {
        return IsExecutableFile(name) ? name : std::string();
    }
    for (const auto& folder : PathFolders()) {
        std::string candidate = folder + "/" + name;
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
    }
    return {};
}

CChildProcess::~CChildProcess() {
    if (m_pid > 0 && !m_reaped) {
        ::killpg(m_pid, SIGKILL);
        int status = 0;
        WaitForPid(m_pid, &status, 0);
    }
    CloseOutput();
    CloseInput();
    if (m_wake >= 0) {
        ::close(m_wake);
    }
}

std::string CChildProcess::Start(const std::string& executable,
                                 const std::vector<std::string>& arguments,
                                 const std::string& folder) {
    if (m_pid > 0) {
        return SystemErrorText(EALREADY);
    }
    SExecPlan plan;
    PreparePlan(plan, executable, arguments, folder);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return SystemErrorText(errno);
    }
    CDescriptor outputRead(fds[0]), outputWrite(fds[1]);
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return SystemErrorText(errno);
    }
    CDescriptor errorRead(fds[0]), errorWrite(fds[1]);
    if (!outputRead.Valid() || !outputWrite.Valid() || !errorRead.Valid() || !errorWrite.Valid() ||
        ::fcntl(outputRead.Get(), F_SETFL, O_NONBLOCK) != 0) {
        return SystemErrorText(errno);
    }
    // The owner's input reaches the child through a socket pair rather than a pipe: a write to
    // a child that has gone then fails with EPIPE instead of raising SIGPIPE in the IDE.
    CDescriptor input, inputOwner;
    if (m_wantInput) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) {
            return SystemErrorText(errno);
        }
        input = CDescriptor(fds[0]);
        inputOwner = CDescriptor(fds[1]);
        if (!input.Valid() || !inputOwner.Valid() ||
            ::fcntl(inputOwner.Get(), F_SETFL, O_NONBLOCK) != 0) {
            return SystemErrorText(errno);
        }
    } else {
        input = CDescriptor(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    }
    if (!input.Valid()) {
        return SystemErrorText(errno);
    }
    CDescriptor wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!wake.Valid()) {
        return SystemErrorText(errno);
    }
    plan.input = input.Get();
    plan.output = outputWrite.Get();

    pid_t pid = ::fork();
    if (pid < 0) {
        return SystemErrorText(errno);
    }
    if (pid == 0) {
        RunChild(plan, errorWrite.Get());
    }
    // Only the child may hold the write ends now, or end of file would never come.
    errorWrite.Reset();
    outputWrite.Reset();
    input.Reset();
    if (int error = ReadChildFailure(errorRead.Get())) {
        int status = 0;
        WaitForPid(pid, &status, 0);
        return SystemErrorText(error);
    }
    m_pid = pid;
    m_output = outputRead.Release();
    m_wake = wake.Release();
    m_input = inputOwner.Release();
    return {};
}

std::size_t CChildProcess::WriteInput(const char* bytes, std::size_t size) {
    std::size_t sent = 0;
    while (m_input >= 0 && sent < size) {
        ssize_t n = ::send(m_input, bytes + sent, size - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break; // the child has not read what it was sent before
        } else {
            CloseInput();
        }
    }
    return sent;
}

void CChildProcess::CloseInput() {
    if (m_input >= 0) {
        ::close(m_input);
        m_input = -1;
    }
}

std::size_t CChildProcess::ReadOutput(char* buffer, std::size_t size) {
    if (m_output < 0 || size == 0) {
        return 0;
    }
    for (;;) {
        if (!m_stopping && m_stopRequested.load()) {
            m_stopping = true;
            m_stopDeadline = NowMilliseconds() + kStopGraceMilliseconds;
        }
        long long left = m_stopping ? m_stopDeadline - NowMilliseconds() : -1;
        if (m_stopping && left <= 0) {
            return 0;
        }
        ssize_t n = ::read(m_output, buffer, size);
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
            return 0;
        }
        if (errno == EINTR) {
            continue;
        }
        // Once stopping, the wake-up descriptor stays readable, so only the pipe is watched.
        pollfd fds[2] = {{m_output, POLLIN, 0}, {m_wake, POLLIN, 0}};
        int ready = ::poll(fds, m_stopping ? 1 : 2, m_stopping ? static_cast<int>(left) : -1);
        if (ready < 0 && errno != EINTR) {
            return 0;
        }
    }
}

void CChildProcess::CloseOutput() {
    if (m_output >= 0) {
        ::close(m_output);
        m_output = -1;
    }
}

void CChildProcess::StopReading() {
    m_stopRequested = true;
    if (m_wake >= 0) {
        std::uint64_t one = 1;
        ssize_t ignored = ::write(m_wake, &one, sizeof one);
        (void)ignored;
    }
}

SExitStatus CChildProcess::Wait() {
    if (m_pid <= 0) {
        return {EExitState::Unavailable, 0};
    }
    {
        std::lock_guard lock(m_reapLock);
        if (m_reaped) {
            return m_status;
        }
    }
    // Wait without reaping, so KillGroup may still signal the group until Reap takes the lock.
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOWAIT) != 0 &&
           errno == EINTR) {
    }
    return Reap(WNOHANG);
}

SExitStatus CChildProcess::Poll() {
    if (m_pid <= 0) {
        return {EExitState::Unavailable, 0};
    }
    return Reap(WNOHANG);
}

SExitStatus CChildProcess::Reap(int options) {
    std::lock_guard lock(m_reapLock);
    if (m_reaped) {
        return m_status;
    }
    int status = 0;
    pid_t result = WaitForPid(m_pid, &status, options);
    if (result == 0) {
        return {EExitState::Running, 0};
    }
    m_reaped = true;
    m_status = result < 0 ? SExitStatus{EExitState::Unavailable, 0} : DecodeWaitStatus(status);
    return m_status;
}

bool CChildProcess::RunOnInBackground() {
    std::lock_guard lock(m_reapLock);
    if (m_pid <= 0 || m_reaped) {
        return false;
    }
    try {
        std::thread([pid = m_pid, output = m_output] { DrainAndReap(pid, output); }).detach();
    } catch (const std::system_error&) {
        return false;
    }
    m_output = -1;
    m_reaped = true;
    m_status = {EExitState::Running, 0};
    return true;
}

bool CChildProcess::KillGroup(int signal) {
    std::lock_guard lock(m_reapLock);
    if (m_pid <= 0 || m_reaped) {
        return false;
    }
    ::killpg(m_pid, signal);
    return true;
}

std::string SpawnDetached(const std::string& executable, const std::vector<std::string>& arguments,
                          const std::string& folder) {
    SExecPlan plan;
    PreparePlan(plan, executable, arguments, folder);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return SystemErrorText(errno);
    }
    CDescriptor errorRead(fds[0]), errorWrite(fds[1]);
    if (!errorRead.Valid() || !errorWrite.Valid()) {
        return SystemErrorText(errno);
    }
    CDescriptor input(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (!input.Valid()) {
        return SystemErrorText(errno);
    }
    plan.input = input.Get();

    pid_t intermediate = ::fork();
    if (intermediate < 0) {
        return SystemErrorText(errno);
    }
    if (intermediate == 0) {
        // The intermediate process has one thread; _Fork skips the fork handlers, which are
        // not async-signal-safe.
        pid_t child = ::_Fork();
        if (child < 0) {
            FailChild(errorWrite.Get(), errno);
        }
        if (child == 0) {
            RunChild(plan, errorWrite.Get());
        }
        ::_exit(0);
    }
    errorWrite.Reset();
    input.Reset();
    int status = 0;
    WaitForPid(intermediate, &status, 0);
    // The pipe ends when the child has exec'd or failed, whichever the intermediate left behind.
    if (int error = ReadChildFailure(errorRead.Get())) {
        return SystemErrorText(error);
    }
    return {};
}

std::string StartFailureText(const std::string& executable,
                             const std::vector<std::string>& arguments, const std::string& folder,
                             const std::string& reason) {
    const std::string program =
        !executable.empty() || arguments.empty() ? executable : arguments.front();
    std::string text = "Cannot run \"" + program + "\"";
    if (!folder.empty() && !IsDirectoryPath(folder)) {
        text += " in \"" + folder + "\"";
    }
    return text + ": " + reason;
}

} // namespace tovin
