#pragma once
// The machine's registered JDK: the folder that holds bin/javac.

#include <functional>
#include <string>

namespace tovin {

inline constexpr const char* kDefaultJdkFolder = "/usr/lib/jvm/default-java";

struct SJdkEnvironment {
    std::string javaHome;   // $JAVA_HOME
    std::string searchPath; // $PATH
};

// JAVA_HOME when it holds bin/javac; else the JDK owning the first javac on PATH (symlinks
// resolved, "/bin/javac" cut off); else kDefaultJdkFolder.
std::string DetectJdkFolder(const SJdkEnvironment& environment);
std::string DetectJdkFolder();

} // namespace tovin
