#include "platform/Files.h"
#include "platform/JdkDetection.h"

#include "TempDir.h"

#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tovin;
using tovin::test::CTempDir;
using tovin::test::ReadFile;

TEST(Files, AtomicWriteReplacesContentAndKeepsPermissions) {
    CTempDir dir;
    std::string path = dir.Write("a.txt", "old");
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(WriteFileAtomic(path, std::string("new\0bytes", 9)), "");
    EXPECT_EQ(ReadFile(path), std::string("new\0bytes", 9));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(Files, FailedAtomicWriteKeepsTheOldFileAndSaysWhy) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write into read-only folders";
    }
    CTempDir dir;
    std::string path = dir.Write("sub/a.txt", "old");
    ::chmod(dir.File("sub").c_str(), 0500);
    std::string error = WriteFileAtomic(path, "new");
    ::chmod(dir.File("sub").c_str(), 0700);
    EXPECT_NE(error, "");
    EXPECT_EQ(ReadFile(path), "old");
}

TEST(Files, WriteIntoMissingFolderFails) {
    CTempDir dir;
    EXPECT_EQ(WriteFileAtomic(dir.File("missing/a.txt"), "x"), SystemErrorText(ENOENT));
}

TEST(Files, NoTemporaryFileIsLeftBehind) {
    CTempDir dir;
    ASSERT_EQ(WriteFileAtomic(dir.File("a.txt"), "x"), "");
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(Files, FactsAndReads) {
    CTempDir dir;
    std::string path = dir.Write("a.txt", "content");
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(dir.File("none")));
    EXPECT_TRUE(IsDirectoryPath(dir.Path()));
    EXPECT_TRUE(ModificationTime(path).has_value());
    EXPECT_FALSE(ModificationTime(dir.File("none")).has_value());
    std::string stamp = StatusChangeTimeText(path);
    ASSERT_FALSE(stamp.empty());
    EXPECT_NE(stamp.back(), '\n');
    EXPECT_EQ(stamp.size(), 24u); // "Wed Jun 30 21:49:08 1993"
    EXPECT_EQ(ReadWholeFile(path), "content");
    std::string error;
    EXPECT_FALSE(ReadWholeFile(dir.File("none"), &error).has_value());
    EXPECT_EQ(error, SystemErrorText(ENOENT));
    EXPECT_FALSE(ReadWholeFile(dir.Path(), &error).has_value());
    EXPECT_FALSE(IsReadOnlyFile(dir.File("none")));
}

TEST(JdkDetection, JavaHomeWinsWhenItHoldsJavac) {
    CTempDir dir;
    dir.Write("jdk/bin/javac", "#!/bin/sh\n");
    ::chmod(dir.File("jdk/bin/javac").c_str(), 0755);
    EXPECT_EQ(DetectJdkFolder({dir.File("jdk") + "/", ""}), dir.File("jdk"));
}

TEST(JdkDetection, FirstJavacOnPathIsResolvedThroughSymlinks) {
    CTempDir dir;
    dir.Write("real/jdk/bin/javac", "#!/bin/sh\n");
    ::chmod(dir.File("real/jdk/bin/javac").c_str(), 0755);
    std::filesystem::create_directories(dir.File("usr/bin"));
    ::symlink(dir.File("real/jdk/bin/javac").c_str(), dir.File("usr/bin/javac").c_str());
    char real[PATH_MAX];
    ASSERT_TRUE(::realpath(dir.File("real/jdk").c_str(), real));
    EXPECT_EQ(DetectJdkFolder({dir.File("nojdk"), dir.File("empty") + ":" + dir.File("usr/bin")}),
              real);
}

TEST(JdkDetection, NothingFoundGivesTheDefaultFolder) {
    CTempDir dir;
    EXPECT_EQ(DetectJdkFolder({"", dir.Path()}), kDefaultJdkFolder);
}

TEST(Files, WriteOverAFolderFailsAndLeavesItAlone) {
    CTempDir dir;
    dir.Write("target/keep.txt", "kept");
    EXPECT_NE(WriteFileAtomic(dir.File("target"), "x"), "");
    EXPECT_EQ(ReadFile(dir.File("target/keep.txt")), "kept");
}
