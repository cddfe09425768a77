#pragma once
// Starting child processes: a captured child whose two output streams arrive on one pipe
// (CChildProcess), and a detached one the IDE never waits for (SpawnDetached).
//
// Both start the child with fork and exec: standard input is /dev/null (a captured child may
// have its input from the owner instead, see EnableInput), the child leads a new
// session (so it has no controlling terminal and its process group id is its pid), signal
// dispositions and the signal mask are reset to the defaults, and every descriptor of the IDE
// other than 0, 1 and 2 is closed at exec. A failure of chdir or exec in the child travels back
// through a close-on-exec error pipe, so the caller gets the system's text for the real cause.

#include <atomic>
#include <csignal>
#include <cstddef>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tovin {

enum class EExitState { Running, Exited, Unavailable };

struct SExitStatus {
    EExitState state = EExitState::Running;
    // The exit code, or minus the signal number when a signal ended the child.
    int code = 0;
};

// The full path of the first executable file named `name` in the folders of $PATH, or name
// itself when it holds a '/' and is executable; empty when there is none.
std::string FindExecutableOnPath(const std::string& name);

// The message of a start that failed with the system's text `reason`, naming the program the
// user has to look for: `Cannot run "PROGRAM": REASON`, the program being the executable's
// path, or argument zero when the path was empty (a PATH look-up). When it is the working folder
// that is not there, the folder is named as well: `Cannot run "PROGRAM" in "FOLDER": REASON`.
std::string StartFailureText(const std::string& executable,
                             const std::vector<std::string>& arguments, const std::string& folder,
                             const std::string& reason);

// One child process with standard output and standard error on one pipe, read by the owner.
//
// Threads: ReadOutput, CloseOutput, Wait and RunOnInBackground are meant for one reading thread;
// KillGroup, StopReading and Poll may be called from any other thread at the same time.
class CChildProcess {
public:
    CChildProcess() = default;
    // A child that has not been waited for is killed with its process group and reaped, so a
    // discarded child never stays behind as a zombie.
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // Starts `executable` with `arguments` (argument zero is passed as written) in `folder` (the
    // current folder when empty). An empty executable looks argument zero up on $PATH as execvp
    // does; a relative executable is taken relative to the current folder of the caller.
    // Returns an empty text on success, else the system's text for the cause (strerror).
    // A process is started at most once.
    //
    // After EnableInput, standard input comes from this object: WriteInput sends, CloseInput
    // ends it (the child then reads end of file).
    void EnableInput() { m_wantInput = true; }
    std::string Start(const std::string& executable, const std::vector<std::string>& arguments,
                      const std::string& folder);

    pid_t Pid() const { return m_pid; }

    // Whether the child's standard input is still open for WriteInput.
    bool HasInput() const { return m_input >= 0; }
    // Sends as much of the bytes as the child's input takes now without waiting; the number
    // sent. A child that no longer reads (it ended, or closed its input) takes none, and its
    // input is closed.
    std::size_t WriteInput(const char* bytes, std::size_t size);
    void CloseInput();

    // Blocks until output arrives and reads at most size bytes of it. Returns the number of
    // bytes read, or 0 once there is no more: end of file (every process holding the pipe has
    // closed it), a read error, or StopReading followed by a quiet pipe (see there).
    std::size_t ReadOutput(char* buffer, std::size_t size);
    // Closes the read end; a child that still writes then gets SIGPIPE.
    void CloseOutput();
    // Asks ReadOutput to give up even though the pipe is still open: what is already in the pipe
    // and what arrives within a short grace period is still delivered. This keeps the reader
    // from blocking forever on a process that escaped the child's process group.
    void StopReading();

    // Blocks until the child has exited and reaps it.
    SExitStatus Wait();
    // Reaps the child when it has exited; Running when it has not.
    SExitStatus Poll();
    // Lets a child that is still running run on without this object: a background thread keeps
    // draining its output (a write to a closed pipe would end it with SIGPIPE) and reaps it when
    // it exits, so it is neither killed nor left a zombie. Afterwards the object owns nothing and
    // KillGroup, Wait and Poll behave as for a reaped child. False (nothing changes) when the
    // child was already reaped or the thread cannot be started.
    bool RunOnInBackground();

    // Sends the signal to the child's whole process group (the child and everything it started
    // that stayed in its group). True when the signal was sent: false once the child is reaped,
    // because its process group id may then belong to somebody else.
    bool KillGroup(int signal = SIGKILL);

    static constexpr int kStopGraceMilliseconds = 2000;

private:
    SExitStatus Reap(int options);

    pid_t m_pid = -1;
    int m_output = -1;
    bool m_wantInput = false;
    int m_input = -1; // the owner's end of the child's standard input
    int m_wake = -1;  // eventfd that interrupts a ReadOutput blocked in poll
    std::atomic<bool> m_stopRequested{false};
    bool m_stopping = false; // reader side: the grace period has started
    long long m_stopDeadline = 0;
    // Guards reaping against KillGroup: while the child is unreaped its pid cannot be reused,
    // so signalling its group is safe exactly until m_reaped is set.
    std::mutex m_reapLock;
    bool m_reaped = false;
    SExitStatus m_status;
};

// Starts a process the caller never waits for (a double fork: the intermediate process is
// reaped at once and the child is adopted by the system). Standard output and standard error
// are those of the IDE. Returns an empty text on success, else the system's text for the cause.
std::string SpawnDetached(const std::string& executable, const std::vector<std::string>& arguments,
                          const std::string& folder);

} // namespace tovin
