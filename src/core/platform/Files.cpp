#include "core/platform/Files.h"

#include "core/platform/Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace tovin {

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool IsDirectoryPath(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsReadOnlyFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return false;
    }
    // Root may write any file, so its access check says nothing; a mode that lets no one write
    // is the owner's wish that the file stay as it is, and counts for root as well.
    return ::access(path.c_str(), W_OK) != 0 || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

std::optional<std::time_t> ModificationTime(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return st.st_mtime;
}

std::string StatusChangeTimeText(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return {};
    }
    char buffer[64];
    std::time_t t = st.st_ctime;
    if (!::ctime_r(&t, buffer)) {
        return {};
    }
    std::string text(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\r' ||
                             text.back() == '\t')) {
        text.pop_back();
    }
    return text;
}

namespace {

// The file-creation mask, read without setting it: setting it to learn it would, for a moment,
// give the files that other threads create the wrong mode.
mode_t CurrentUmask() {
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status)) {
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        }
        std::fclose(status);
        if (found) {
            return static_cast<mode_t>(mask);
        }
    }
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

std::string SystemErrorText(int error) {
    char buffer[256];
    // GNU strerror_r may return a static string instead of filling the buffer.
    const char* text = ::strerror_r(error, buffer, sizeof buffer);
    return text ? std::string(text) : std::string("Unknown error");
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::string* error) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error) {
            *error = SystemErrorText(errno);
        }
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        if (error) {
            *error = SystemErrorText(EISDIR);
        }
        return std::nullopt;
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) {
            break;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            int saved = errno;
            ::close(fd);
            if (error) {
                *error = SystemErrorText(saved);
            }
            return std::nullopt;
        }
        content.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return content;
}

std::string WriteFileAtomic(const std::string& path, const std::string& bytes) {
    // The temporary file lives beside the target so the rename stays within one file system.
    // Its name is the target's, shortened when needed, so a target whose name is as long as the
    // file system allows can still be written.
    constexpr std::string_view kTemporarySuffix = ".tovin-XXXXXX";
    std::string name = GetFileName(path);
    name.resize(std::min(name.size(), std::size_t(NAME_MAX) - 1 - kTemporarySuffix.size()));
    size_t slash = path.rfind('/');
    std::string tmpl =
        (slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1)) + "." + name +
        std::string(kTemporarySuffix);
    int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0) {
        return SystemErrorText(errno);
    }
    // The temporary file is created 0600; the file it replaces gives its mode, a new file gets
    // what a plain create would give it.
    struct stat old {};
    mode_t mode = 0644;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        mode &= ~CurrentUmask();
    }
    auto fail = [&](int error) {
        ::close(fd);
        ::unlink(tmpl.c_str());
        return SystemErrorText(error);
    };
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(errno);
        }
        done += static_cast<size_t>(n);
    }
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) {
        return fail(errno);
    }
    if (::close(fd) != 0) {
        int saved = errno;
        ::unlink(tmpl.c_str());
        return SystemErrorText(saved);
    }
    if (::rename(tmpl.c_str(), path.c_str()) != 0) {
        int saved = errno;
        ::unlink(tmpl.c_str());
        return SystemErrorText(saved);
    }
    return {};
}

bool SetCurrentFolder(const std::string& folder) {
    return !folder.empty() && ::chdir(folder.c_str()) == 0;
}

std::string CurrentFolder() {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

} // namespace tovin
