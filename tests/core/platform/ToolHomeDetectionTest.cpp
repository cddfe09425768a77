// Ant and Jython folders found without a settings file: the environment first, then the
// packaged installation when its archive is really there.

#include "core/platform/JdkDetection.h"

#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tovin::test {
namespace {

struct SDetectionRow {
    const char* name;
    // Relative paths are inside the fake tree; "" is an unset variable or nothing found.
    const char* home; // the environment variable
    const char* fallback;
    const char* expected;
};

// A fake tree: a packaged Ant with its archive, a packaged Jython archive, a half-removed Ant
// (folder without lib/ant.jar), an Ant whose archive is a dangling link, and a folder holding an
// unrelated archive.
class ToolHomeDetection : public ::testing::Test {
protected:
    ToolHomeDetection() {
        dir.Write("usr/share/ant/lib/ant.jar", "PK");
        dir.Write("usr/share/java/jython.jar", "PK");
        dir.Write("usr/share/java/other.jar", "PK");
        dir.Write("removed/ant/bin/ant", "#!/bin/sh\n");
        std::filesystem::create_directories(dir.File("dangling/ant/lib"));
        ::symlink(dir.File("nowhere.jar").c_str(), dir.File("dangling/ant/lib/ant.jar").c_str());
        dir.Write("empty/readme", "");
    }

    std::string InTree(const char* relative) const {
        if (*relative == '\0' || *relative == '/') {
            return relative;
        }
        return dir.File(relative);
    }

    void Check(const SDetectionRow& row, std::string (*detect)(const SToolHomeEnvironment&)) const {
        EXPECT_EQ(detect({InTree(row.home), InTree(row.fallback)}), InTree(row.expected))
            << row.name;
    }

    CTempDir dir;
};

TEST_F(ToolHomeDetection, AntFolder) {
    const SDetectionRow rows[] = {
        {"PackagedAnt", "", "usr/share/ant", "usr/share/ant"},
        {"PackagedAntWithTrailingSlash", "", "usr/share/ant/", "usr/share/ant"},
        {"AntHomeWinsOverThePackage", "/opt/ant", "usr/share/ant", "/opt/ant"},
        {"AntHomeTrailingSlashDropped", "/opt/ant/", "usr/share/ant", "/opt/ant"},
        {"FolderWithoutAntJar", "", "removed/ant", ""},
        {"DanglingAntJar", "", "dangling/ant", ""},
        {"NoPackage", "", "missing/ant", ""},
        {"JythonFolderIsNoAntHome", "", "usr/share/java", ""},
    };
    for (const auto& row : rows) {
        Check(row, DetectAntFolder);
    }
}

TEST_F(ToolHomeDetection, JythonFolder) {
    const SDetectionRow rows[] = {
        {"PackagedJython", "", "usr/share/java", "usr/share/java"},
        {"JythonHomeWinsOverThePackage", "/opt/jython", "usr/share/java", "/opt/jython"},
        {"JythonHomeTrailingSlashDropped", "/opt/jython//", "usr/share/java", "/opt/jython"},
        {"FolderWithoutJythonJar", "", "empty", ""},
        {"AntHomeIsNoJythonFolder", "", "usr/share/ant", ""},
        {"NoPackage", "", "missing", ""},
    };
    for (const auto& row : rows) {
        Check(row, DetectJythonFolder);
    }
}

// The machine's own detection reads ANT_HOME and JYTHON_HOME.
TEST_F(ToolHomeDetection, EnvironmentVariablesAreRead) {
    setenv("ANT_HOME", dir.File("usr/share/ant").c_str(), 1);
    setenv("JYTHON_HOME", dir.File("usr/share/java").c_str(), 1);
    EXPECT_EQ(DetectAntFolder(), dir.File("usr/share/ant"));
    EXPECT_EQ(DetectJythonFolder(), dir.File("usr/share/java"));
    unsetenv("ANT_HOME");
    unsetenv("JYTHON_HOME");
    const bool antInstalled = std::filesystem::exists("/usr/share/ant/lib/ant.jar");
    EXPECT_EQ(DetectAntFolder(), antInstalled ? kDefaultAntFolder : "");
    const bool jythonInstalled = std::filesystem::exists("/usr/share/java/jython.jar");
    EXPECT_EQ(DetectJythonFolder(), jythonInstalled ? kDefaultJythonFolder : "");
}

} // namespace
} // namespace tovin::test
