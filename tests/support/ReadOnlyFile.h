#pragma once
// Makes a file read-only for this process, also for root (through the immutable flag, which
// root cannot write past either). Undone when the guard goes.

#include <fcntl.h>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tovin::test {

class CReadOnlyFile {
public:
    explicit CReadOnlyFile(std::string path) : m_path(std::move(path)) {
        ::chmod(m_path.c_str(), 0444);
        if (::geteuid() == 0) {
            m_immutable = SetImmutable(true);
        }
    }
    ~CReadOnlyFile() {
        if (m_immutable) {
            SetImmutable(false);
        }
        ::chmod(m_path.c_str(), 0644);
    }
    CReadOnlyFile(const CReadOnlyFile&) = delete;
    CReadOnlyFile& operator=(const CReadOnlyFile&) = delete;
    bool Works() const { return ::access(m_path.c_str(), W_OK) != 0; }

private:
    bool SetImmutable(bool on) {
        int fd = ::open(m_path.c_str(), O_RDONLY);
        if (fd < 0) {
            return false;
        }
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }

    std::string m_path;
    bool m_immutable = false;
};

} // namespace tovin::test
