#include "core/platform/Files.h"
#include "core/platform/JdkDetection.h"

#include "TempDir.h"

#include <algorithm>
#include <climits>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tovin;
using tovin::test::CTempDir;
using tovin::test::ReadFile;

namespace {

int CountEntries(const std::string& folder) {
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        (void)e;
        ++entries;
    }
    return entries;
}

} // namespace

TEST(Files, AtomicWriteKeepsTheReplacedModeAndGivesANewFileTheUmasksMode) {
    struct Row {
        const char* name;
        int oldMode; // -1: no file yet
        mode_t umask;
        mode_t expected;
    };
    // The temporary file starts as 0600, so only other modes show that the mode is set.
    const Row rows[] = {
        {"private file", 0600, 022, 0600},
        {"script", 0755, 077, 0755},
        {"new file", -1, 022, 0644},
        {"new file under a group mask", -1, 027, 0640},
    };
    for (const auto& row : rows) {
        CTempDir dir;
        const std::string path = dir.File("a.sh");
        if (row.oldMode >= 0) {
            dir.Write("a.sh", "old");
            ASSERT_EQ(::chmod(path.c_str(), static_cast<mode_t>(row.oldMode)), 0);
        }
        const mode_t saved = ::umask(row.umask);
        const std::string error = WriteFileAtomic(path, std::string("new\0bytes", 9));
        ::umask(saved);
        EXPECT_EQ(error, "") << row.name;
        EXPECT_EQ(ReadFile(path), std::string("new\0bytes", 9)) << row.name;
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, row.expected) << row.name;
    }
}

TEST(Files, FailedAtomicWriteKeepsWhatWasThereAndSaysWhyAlsoForRoot) {
    struct Row {
        const char* name;
        const char* target; // the first path component is written beforehand with "old"
        rlim_t sizeLimit;
        int error;
    };
    const Row rows[] = {
        {"the write goes past the file size limit", "a.txt", 2, EFBIG},
        {"the folder is a file", "a.txt/b.txt", RLIM_INFINITY, ENOTDIR},
    };
    // Past the limit the system sends SIGXFSZ, which would end the test instead of the write.
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    for (const auto& row : rows) {
        CTempDir dir;
        const std::string old = dir.Write("a.txt", "old");
        rlimit saved{};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit limit = saved;
        limit.rlim_cur = std::min(row.sizeLimit, saved.rlim_max);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        const std::string error = WriteFileAtomic(dir.File(row.target), "new content");
        ::setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_EQ(error, SystemErrorText(row.error)) << row.name;
        EXPECT_EQ(ReadFile(old), "old") << row.name;
        EXPECT_EQ(CountEntries(dir.Path()), 1) << row.name << ": no temporary file is left";
    }
    std::signal(SIGXFSZ, oldHandler);
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
    // The longest name a file may have leaves no room to add to it for the temporary file.
    for (const std::string& name : {std::string("a.txt"), std::string(NAME_MAX, 'n')}) {
        CTempDir dir;
        ASSERT_EQ(WriteFileAtomic(dir.File(name), "x"), "") << name.size();
        EXPECT_EQ(ReadFile(dir.File(name)), "x");
        EXPECT_EQ(CountEntries(dir.Path()), 1);
    }
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

// The same for every user, root included: a mode that lets no one write keeps the file as it
// is, whatever the folder allows.
TEST(Files, ReadOnlyIsAModeThatLetsNoOneWrite) {
    const std::pair<mode_t, bool> rows[] = {{0444, true},  {0400, true},  {0555, true},
                                            {0644, false}, {0600, false}, {0664, false}};
    CTempDir dir;
    const std::string path = dir.Write("R.java", "class R {}\n");
    for (const auto& [mode, readOnly] : rows) {
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        EXPECT_EQ(IsReadOnlyFile(path), readOnly) << std::oct << mode;
    }
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
