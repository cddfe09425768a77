#include "core/platform/Paths.h"

#include "TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tovin;

TEST(Paths, FolderAndFileNameSplitAtTheLastSeparator) {
    struct Row {
        const char* path;
        const char* folder;
        const char* name;
    };
    const Row rows[] = {
        {"/src/com/acme/App.java", "/src/com/acme", "App.java"},
        {"App.java", "App.java", "App.java"},
        {"/App.java", "", "App.java"},
        {"/src/dir/", "/src/dir", ""},
        {"", "", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(GetFolder(row.path), row.folder) << row.path;
        EXPECT_EQ(GetFileName(row.path), row.name) << row.path;
    }
}

TEST(Paths, ExtensionIsTheLowerCasedTextAfterTheLastDotOfTheWholePath) {
    EXPECT_EQ(GetExtension("/src/App.JAVA"), "java");
    EXPECT_EQ(GetExtension("/my.dir/Makefile"), "dir/makefile");
    EXPECT_EQ(GetExtension("README"), "readme");
    EXPECT_EQ(GetExtension("a.tar.GZ"), "gz");
    EXPECT_EQ(GetExtension("trailing."), "");
}

TEST(Paths, PlatformConventions) {
    EXPECT_EQ(kPathSeparator, '/');
    EXPECT_EQ(kPathListSeparator, ':');
    EXPECT_STREQ(kExecutableSuffix, "");
}

TEST(Paths, UserFoldersFollowTheXdgVariables) {
    ::setenv("XDG_CACHE_HOME", "/tmp/tovin-paths-test/cache", 1);
    ::setenv("XDG_CONFIG_HOME", "/tmp/tovin-paths-test/config", 1);
    EXPECT_EQ(CacheFolder(), "/tmp/tovin-paths-test/cache/tovin");
    struct stat st {};
    EXPECT_EQ(::stat("/tmp/tovin-paths-test/cache/tovin", &st), 0);
    EXPECT_EQ(ConfigFilePath(), "/tmp/tovin-paths-test/config/Verrimond/Tovin.conf");
    ::unsetenv("XDG_CACHE_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
}

TEST(Paths, ApplicationAndDataFolders) {
    std::string app = ApplicationFolder();
    ASSERT_FALSE(app.empty());
    EXPECT_EQ(app.front(), '/');
    EXPECT_NE(app.back(), '/');
    // The test binary is not installed, so data comes from the source tree's resources.
    struct stat st {};
    EXPECT_EQ(::stat((DataFolder() + "/icons/tovin.svg").c_str(), &st), 0) << DataFolder();
}

TEST(Paths, DataFilesComeFromTheDataFolderAndOnlyFromTheOverrideWhenSet) {
    EXPECT_EQ(FindDataFile("icons/tovin.svg"), DataFolder() + "/icons/tovin.svg");
    EXPECT_EQ(FindDataFile("icons/no-such-icon.svg"), "");

    tovin::test::CTempDir dir;
    dir.Write("appletviewer/viewer.jar", "PK");
    setenv("TOVIN_DATA_DIR", dir.Path().c_str(), 1);
    EXPECT_EQ(FindDataFile("appletviewer/viewer.jar"), dir.File("appletviewer/viewer.jar"));
    // With the override set, no other folder is looked in.
    EXPECT_EQ(FindDataFile("icons/tovin.svg"), "");
    unsetenv("TOVIN_DATA_DIR");
}
