#include "platform/JdkDetection.h"

#include <cstdlib>
#include <limits.h>
#include <unistd.h>

namespace tovin {

namespace {

bool IsExecutable(const std::string& path) {
    return ::access(path.c_str(), X_OK) == 0;
}

std::string StripBinJavac(const std::string& resolved) {
    const std::string suffix = "/bin/javac";
    if (resolved.size() > suffix.size() &&
        resolved.compare(resolved.size() - suffix.size(), suffix.size(), suffix) == 0) {
        return resolved.substr(0, resolved.size() - suffix.size());
    }
    return {};
}

} // namespace

std::string DetectJdkFolder(const SJdkEnvironment& environment) {
    std::string home = environment.javaHome;
    while (home.size() > 1 && home.back() == '/') {
        home.pop_back();
    }
    if (!home.empty() && IsExecutable(home + "/bin/javac")) {
        return home;
    }
    const std::string& path = environment.searchPath;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(':', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        std::string folder = path.substr(start, end - start);
        if (!folder.empty()) {
            std::string candidate = folder + "/javac";
            if (IsExecutable(candidate)) {
                char resolved[PATH_MAX];
                if (::realpath(candidate.c_str(), resolved)) {
                    std::string jdk = StripBinJavac(resolved);
                    if (!jdk.empty()) {
                        return jdk;
                    }
                }
            }
        }
        start = end + 1;
    }
    return kDefaultJdkFolder;
}

std::string DetectJdkFolder() {
    const char* home = std::getenv("JAVA_HOME");
    const char* path = std::getenv("PATH");
    return DetectJdkFolder({home ? home : "", path ? path : ""});
}

} // namespace tovin
