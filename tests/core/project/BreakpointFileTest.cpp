// The file beside the project file that keeps its breakpoints: what is written reads back the
// same, paths below the project's folder are kept relative, and a damaged file costs only its
// damaged lines.

#include "core/project/BreakpointFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tovin;
using namespace tovin::test;

TEST(BreakpointFileTest, SitsBesideTheProjectFile) {
    EXPECT_EQ(BreakpointFilePath("/p/Hello.jpr"), "/p/Hello.breakpoints");
    EXPECT_EQ(BreakpointFilePath("/p.d/Hello"), "/p.d/Hello.breakpoints");
}

TEST(BreakpointFileTest, RoundTripKeepsPathsBelowTheProjectRelative) {
    CTempDir dir;
    const std::string folder = dir.Path() + "/project";
    const BreakpointMap written = {
        {folder + "/Hello.java", {3, 12}},
        {folder + "/src/a:b/Odd.java", {1}}, // a colon in a folder's name
        {"/elsewhere/Lib.java", {40}},
    };
    const std::string path = dir.File("Hello.breakpoints");
    ASSERT_EQ(WriteBreakpointFile(path, folder, written), "");
    EXPECT_EQ(ReadFile(path), "# Tovin breakpoints\n"
                              "/elsewhere/Lib.java:40\n"
                              "Hello.java:3\nHello.java:12\n"
                              "src/a:b/Odd.java:1\n");
    const SBreakpointRead read = ReadBreakpointFile(path, folder);
    EXPECT_EQ(read.breakpoints, written);
    EXPECT_EQ(read.damagedLines, 0);
    EXPECT_EQ(read.error, "");
    // A moved project finds its files' breakpoints in its new folder.
    EXPECT_EQ(ReadBreakpointFile(path, "/moved").breakpoints.count("/moved/Hello.java"), 1u);
}

TEST(BreakpointFileTest, DamagedLinesAreLeftOutAndCounted) {
    CTempDir dir;
    const std::string path = dir.Write("P.breakpoints", "# Tovin breakpoints\r\n"
                                                        "A.java:7\r\n"
                                                        "A.java:x\n"
                                                        "A.java:0\n"
                                                        ":5\n"
                                                        "no colon\n"
                                                        "A.java:99999999999999\n"
                                                        "\n"
                                                        "A.java:7\n"
                                                        "A.java:2\n"
                                                        "\x01\xff:3");
    const SBreakpointRead read = ReadBreakpointFile(path, "/p");
    const BreakpointMap expected = {{"/p/A.java", {2, 7}}, {"/p/\x01\xff", {3}}};
    EXPECT_EQ(read.breakpoints, expected);
    EXPECT_EQ(read.damagedLines, 5);
}

TEST(BreakpointFileTest, MissingUnreadableAndEmpty) {
    CTempDir dir;
    const SBreakpointRead missing = ReadBreakpointFile(dir.File("none.breakpoints"), dir.Path());
    EXPECT_TRUE(missing.breakpoints.empty());
    EXPECT_EQ(missing.error, "");

    // No breakpoints make no new file; an old one is emptied.
    const std::string path = dir.File("P.breakpoints");
    ASSERT_EQ(WriteBreakpointFile(path, dir.Path(), {{dir.File("A.java"), {}}}), "");
    EXPECT_NE(::access(path.c_str(), F_OK), 0);
    ASSERT_EQ(WriteBreakpointFile(path, dir.Path(), {{dir.File("A.java"), {4}}}), "");
    ASSERT_EQ(WriteBreakpointFile(path, dir.Path(), {}), "");
    EXPECT_TRUE(ReadBreakpointFile(path, dir.Path()).breakpoints.empty());

    if (::geteuid() != 0) {
        ::chmod(path.c_str(), 0);
        EXPECT_NE(ReadBreakpointFile(path, dir.Path()).error, "");
        ::chmod(path.c_str(), 0644);
    }
}
