#pragma once
// How the Java engine is started: the command line the window, `tovin --check` and
// `tovin --language-server` all use, composed from the settings and the open project. The engine
// is the compiler of the JDK the settings name, so it sees the project as Build does: the same
// class path, compile folder and javac switches, with the source roots of the project's files
// as its source path.

#include <string>
#include <vector>

namespace tovin {

class CJavaProjectDoc;
struct CSettings;

// Where the engine's jar lies below the data folder, and Debian's Gson.
inline constexpr const char* kEngineJar = "engine/tovin-engine.jar";
inline constexpr const char* kGsonJar = "/usr/share/java/gson.jar";
// The oldest JDK whose compiler the engine is built for.
inline constexpr int kEngineMinJdk = 17;
// Files larger than this are never sent to a server.
inline constexpr long long kMaxCheckedFileBytes = 2LL << 20;

// The project as the engine is told about it. Paths are absolute; relative entries of the class
// path and compile folder are taken from the folder Build compiles in.
struct SEngineProject {
    std::string sourcePath; // source roots, ':'-separated
    std::string classPath;
    std::string outputDir;
    std::vector<std::string> javacOptions; // one switch or value each
    std::vector<std::string> projectFiles; // the project's .java files
};
SEngineProject EngineProjectOf(const CJavaProjectDoc& project);

struct SEngineCommand {
    std::string program;
    std::vector<std::string> arguments;
    std::string error; // why nothing can be started; then the rest is empty
};

// The major version of the JDK in javaBin as its release file names it (JAVA_VERSION="17.0.8"
// gives 17, "1.8.0_392" gives 8); 0 when there is no such file or it names none.
int JdkMajorVersion(const std::string& javaBin);

// The command that starts a language server: the user's own ("Java language server command",
// split as every command line is) when the settings name one, else the built-in engine on
// JAVABIN with the project's settings (none without a project) and the cache folder. The error
// says why the built-in engine cannot run (no JDK 17 or later, no jar).
SEngineCommand ComposeEngineCommand(const CSettings& settings, const CJavaProjectDoc* project,
                                    const std::string& cacheFolder);

// The debug adapter of the engine's jar (engineJar: its path, empty when it is not installed) on
// the settings' JDK. The program is <JAVABIN>/bin/java; the arguments follow it.
SEngineCommand ComposeDebugAdapterCommand(const CSettings& settings, const std::string& engineJar);

} // namespace tovin
