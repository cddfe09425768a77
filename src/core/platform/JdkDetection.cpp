#include "core/platform/JdkDetection.h"

#include "core/platform/Files.h"

#include <cstdlib>
#include <limits.h>
#include <unistd.h>

namespace tovin {

namespace {

bool IsExecutable(const std::string& path) {
    return ::access(path.c_str(), X_OK) == 0;
}

std::string WithoutTrailingSlashes(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

// The environment's folder when set, else the fallback when it holds the marker file.
std::string DetectToolHome(const SToolHomeEnvironment& environment, const char* marker) {
    if (!environment.home.empty()) {
        return WithoutTrailingSlashes(environment.home);
    }
    const std::string fallback = WithoutTrailingSlashes(environment.fallback);
    if (!fallback.empty() && FileExists(fallback + "/" + marker)) {
        return fallback;
    }
    return {};
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
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
    const std::string home = WithoutTrailingSlashes(environment.javaHome);
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
    return DetectJdkFolder({Environment("JAVA_HOME"), Environment("PATH")});
}

std::string DetectAntFolder(const SToolHomeEnvironment& environment) {
    return DetectToolHome(environment, "lib/ant.jar");
}

std::string DetectAntFolder() {
    return DetectAntFolder({Environment("ANT_HOME"), kDefaultAntFolder});
}

std::string DetectJythonFolder(const SToolHomeEnvironment& environment) {
    return DetectToolHome(environment, "jython.jar");
}

std::string DetectJythonFolder() {
    return DetectJythonFolder({Environment("JYTHON_HOME"), kDefaultJythonFolder});
}

} // namespace tovin
