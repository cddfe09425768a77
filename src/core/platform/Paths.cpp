#include "core/platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tovin {

std::string GetFolder(const std::string& path) {
    auto pos = path.rfind(kPathSeparator);
    return pos == std::string::npos ? path : path.substr(0, pos);
}

std::string GetFileName(const std::string& path) {
    auto pos = path.rfind(kPathSeparator);
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string ToLowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string GetExtension(const std::string& path) {
    auto pos = path.rfind('.');
    return ToLowerAscii(pos == std::string::npos ? path : path.substr(pos + 1));
}

std::string ApplicationFolder() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) {
        return ".";
    }
    return GetFolder(std::string(buffer, static_cast<size_t>(n)));
}

namespace {

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string HomeRelative(const char* xdgVariable, const char* fallback) {
    const char* xdg = std::getenv(xdgVariable);
    if (xdg && *xdg == '/') {
        return xdg;
    }
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/" + fallback;
}

bool MakeFolders(const std::string& path) {
    for (size_t pos = 1; pos != std::string::npos; pos = path.find('/', pos + 1)) {
        std::string part = path.substr(0, pos);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

} // namespace

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home && *home ? home : "/";
}

std::string DataFolder() {
    if (const char* overridden = std::getenv("TOVIN_DATA_DIR"); overridden && *overridden) {
        return overridden;
    }
    std::string installed = GetFolder(ApplicationFolder()) + "/share/tovin";
    if (IsDirectory(installed)) {
        return installed;
    }
#ifdef TOVIN_INSTALL_DATADIR
    if (IsDirectory(TOVIN_INSTALL_DATADIR) && !IsDirectory(TOVIN_SOURCE_RESOURCES)) {
        return TOVIN_INSTALL_DATADIR;
    }
#endif
    return TOVIN_SOURCE_RESOURCES;
}

std::string FindDataFile(const std::string& relativePath) {
    const std::string inData = DataFolder() + "/" + relativePath;
    struct stat st {};
    if (::stat(inData.c_str(), &st) == 0) {
        return inData;
    }
#ifdef TOVIN_BUILD_DATA
    const char* overridden = std::getenv("TOVIN_DATA_DIR");
    const std::string built = std::string(TOVIN_BUILD_DATA) + "/" + relativePath;
    if (!(overridden && *overridden) && ::stat(built.c_str(), &st) == 0) {
        return built;
    }
#endif
    return {};
}

std::string CacheFolder() {
    std::string folder = HomeRelative("XDG_CACHE_HOME", ".cache") + "/tovin";
    return MakeFolders(folder) ? folder : std::string();
}

std::string ConfigFilePath() {
    return HomeRelative("XDG_CONFIG_HOME", ".config") + "/Verrimond/Tovin.conf";
}

} // namespace tovin
