#pragma once
// The machine's registered JDK (the folder that holds bin/javac), and the Ant and Jython
// installations found the same way: from the environment first, then where Debian installs them.

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

// Where Debian's ant package keeps its home (lib/ant.jar) and its jython package jython.jar.
inline constexpr const char* kDefaultAntFolder = "/usr/share/ant";
inline constexpr const char* kDefaultJythonFolder = "/usr/share/java";

struct SToolHomeEnvironment {
    std::string home;     // $ANT_HOME or $JYTHON_HOME
    std::string fallback; // the packaged installation's folder
};

// ANT_HOME when set, as Ant's own launcher takes it; else the fallback when it holds
// lib/ant.jar; else empty (nothing found: the setting's own default).
std::string DetectAntFolder(const SToolHomeEnvironment& environment);
std::string DetectAntFolder();
// JYTHON_HOME when set; else the fallback when it holds jython.jar; else empty.
std::string DetectJythonFolder(const SToolHomeEnvironment& environment);
std::string DetectJythonFolder();

} // namespace tovin
