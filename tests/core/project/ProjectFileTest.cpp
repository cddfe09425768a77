#include "core/project/ProjectFile.h"

#include "ArchiveBytes.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace tovin;
using namespace tovin::test;

namespace {

const std::string kEightEmptyStrings(8, '\0');

std::string FileRecord(const std::string& name, const std::string& path,
                       const std::string& project) {
    return Str(name) + Str(path) + Str(project);
}

// A class record without extra strings.
std::string ClassRecord(const std::string& name, const std::string& innerRecords = {},
                        int innerCount = 0) {
    return Bytes({0, 0}) + Int32(innerCount) + innerRecords + Str(name);
}

// A project of Java, Jython, XML and HTML files with classes and inner classes, written byte by
// byte from the format: this is what the Windows program stores for such a project.
std::string MixedProjectBytes() {
    const std::string project = "/home/ann/shop/shop.jpr";
    std::string longClassPath = "/usr/share/java/a.jar";
    while (longClassPath.size() < 300) {
        longClassPath += ":/usr/share/java/lib.jar";
    }
    std::string bytes = Int32(4);
    bytes += FileRecord("Shop.java", "/home/ann/shop/src/Shop.java", project) + Int32(2) +
             ClassRecord("Shop", ClassRecord("Cart") + ClassRecord("Item"), 2) +
             ClassRecord("Register") + Str("com.ann.shop");
    bytes += FileRecord("tool.py", "/home/ann/shop/scripts/tool.py", project) + Int32(1) +
             ClassRecord("Tool") + Str("");
    bytes += FileRecord("build.xml", "/home/ann/shop/build.xml", project) + Int32(0) + Str("");
    bytes += FileRecord("old.htm", "/home/ann/shop/old.htm", "") + Int32(0) + Str("");
    bytes += Int32(1) + FileRecord("shop.html", "/home/ann/shop/web/shop.html", project);
    bytes += Str("Shop.java") + Str("/home/ann/shop") + Str("com.ann.shop") + Str("shop.html") +
             Str("-Xmx64m") + Str("-g -deprecation");
    bytes += Bytes({0xFF}) +
             Bytes({static_cast<int>(longClassPath.size() & 0xFF),
                    static_cast<int>(longClassPath.size() >> 8)}) +
             longClassPath;
    bytes += Str("/home/ann/shop/classes");
    return bytes;
}

std::string ReadError(const std::string& bytes) {
    SProjectContents contents;
    return ReadProjectBytes(bytes, contents);
}

} // namespace

TEST(ProjectFile, EmptyProjectIsSixteenBytes) {
    SProjectContents empty;
    const std::string bytes = WriteProjectBytes(empty);
    EXPECT_EQ(Hex(bytes), Hex(Int32(0) + Int32(0) + kEightEmptyStrings));

    SProjectContents read;
    EXPECT_EQ(ReadProjectBytes(bytes, read), "");
    EXPECT_EQ(read.javaFiles.GetCount(), 0);
    EXPECT_EQ(read.freeFiles.GetCount(), 0);
}

TEST(ProjectFile, StringsAreStoredInTheirOrder) {
    SProjectContents contents;
    contents.mainFile = "1";
    contents.workingDir = "2";
    contents.mainPackage = "3";
    contents.mainHtmlFile = "4";
    contents.runOptions = "5";
    contents.compileOptions = "6";
    contents.classPath = "7";
    contents.compileDir = "8";
    const std::string expected = Int32(0) + Int32(0) + Str("1") + Str("2") + Str("3") + Str("4") +
                                 Str("5") + Str("6") + Str("7") + Str("8");
    EXPECT_EQ(Hex(WriteProjectBytes(contents)), Hex(expected));
}

TEST(ProjectFile, MixedProjectRoundTripsByteForByte) {
    const std::string bytes = MixedProjectBytes();
    SProjectContents contents;
    ASSERT_EQ(ReadProjectBytes(bytes, contents), "");

    ASSERT_EQ(contents.javaFiles.GetCount(), 4);
    const CJavaFile& shop = *contents.javaFiles.Item(0);
    EXPECT_EQ(shop.GetFullPath(), "/home/ann/shop/src/Shop.java");
    EXPECT_EQ(shop.GetPackage(), "com.ann.shop");
    ASSERT_EQ(shop.Classes().GetCount(), 2);
    EXPECT_EQ(shop.Classes().Item(0)->InnerClasses().GetCount(), 2);
    EXPECT_EQ(shop.Classes().Item(0)->FindInnerClass("Item")->GetName(), "Item");
    EXPECT_EQ(contents.javaFiles.Item(1)->Classes().Item(0)->GetName(), "Tool");
    EXPECT_EQ(contents.javaFiles.Item(3)->GetProjectPath(), "");
    ASSERT_EQ(contents.freeFiles.GetCount(), 1);
    EXPECT_EQ(contents.freeFiles.Item(0)->GetFileName(), "shop.html");
    EXPECT_EQ(contents.mainFile, "Shop.java");
    EXPECT_EQ(contents.mainHtmlFile, "shop.html");
    EXPECT_EQ(contents.compileOptions, "-g -deprecation");
    EXPECT_GE(contents.classPath.size(), 300u);
    EXPECT_EQ(contents.compileDir, "/home/ann/shop/classes");

    EXPECT_EQ(Hex(WriteProjectBytes(contents)), Hex(bytes));
}

TEST(ProjectFile, OlderFilesWithoutTheLastTwoStringsLoad) {
    const std::string six = Int32(0) + Int32(0) + Str("Main.java") + std::string(5, '\0');
    struct Row {
        const char* name;
        std::string bytes;
    };
    const Row rows[] = {
        {"six strings", six},
        {"class path cut short", six + Bytes({10, 'a', 'b'})},
        {"only the compile directory missing", six + Str("/lib/x.jar")},
        {"compile directory cut short", six + Str("/lib/x.jar") + Bytes({0xFF, 0x00})},
    };
    for (const auto& row : rows) {
        SProjectContents contents;
        EXPECT_EQ(ReadProjectBytes(row.bytes, contents), "") << row.name;
        EXPECT_EQ(contents.mainFile, "Main.java") << row.name;
        EXPECT_EQ(contents.classPath, "") << row.name;
        EXPECT_EQ(contents.compileDir, "") << row.name;
        EXPECT_EQ(Hex(WriteProjectBytes(contents)), Hex(six + Bytes({0, 0}))) << row.name;
    }
}

TEST(ProjectFile, DamagedFilesAreRefusedWithTheReason) {
    const std::string good = MixedProjectBytes();
    struct Row {
        const char* name;
        std::string bytes;
        const char* reasonPart;
    };
    const Row rows[] = {
        {"empty file", "", "ends inside"},
        {"cut inside the file list", good.substr(0, 40), "ends inside"},
        {"cut before the strings", Int32(0) + Int32(0), "ends inside"},
        {"cut inside the fifth string", Int32(0) + Int32(0) + std::string(4, '\0') + Str("x"),
         "ends inside"},
        {"256 files", Int32(256), "a list count of 256,"},
        {"negative count", Int32(-1), "a list count of -1,"},
        {"free-file count of 300", Int32(0) + Int32(300), "a list count of 300,"},
        {"string longer than the file", Int32(0) + Int32(0) + Bytes({0xFF, 0x00, 0x10}),
         "ends inside a string"},
        {"text file", "<?xml version=\"1.0\"?>\n<project name=\"x\"/>\n", "a list count of"},
    };
    for (const auto& row : rows) {
        const std::string reason = ReadError(row.bytes);
        EXPECT_NE(reason.find(row.reasonPart), std::string::npos) << row.name << ": " << reason;
    }
}

TEST(ProjectFile, BytesAfterTheEighthStringAreIgnored) {
    // A later version may store more after the eight strings; this one reads what it knows.
    const std::string good = MixedProjectBytes();
    for (const std::string& tail :
         {std::string("x"), Int32(3) + Str("extra"), std::string(70000, '\xFF')}) {
        SProjectContents contents;
        EXPECT_EQ(ReadProjectBytes(good + tail, contents), "") << tail.size();
        EXPECT_EQ(contents.compileDir, "/home/ann/shop/classes") << tail.size();
        EXPECT_EQ(Hex(WriteProjectBytes(contents)), Hex(good)) << tail.size();
    }
}

TEST(ProjectFile, WindowsPathsStayAsStored) {
    const std::string bytes =
        Int32(1) + FileRecord("App.java", "C:\\work\\app\\App.java", "C:\\work\\app\\app.jpr") +
        Int32(0) + Str("") + Int32(0) + Str("App.java") + Str("C:\\work\\app") +
        std::string(6, '\0');
    SProjectContents contents;
    ASSERT_EQ(ReadProjectBytes(bytes, contents), "");
    EXPECT_EQ(contents.javaFiles.Item(0)->GetFullPath(), "C:\\work\\app\\App.java");
    EXPECT_EQ(contents.workingDir, "C:\\work\\app");
    EXPECT_EQ(Hex(WriteProjectBytes(contents)), Hex(bytes));
}

TEST(ProjectFile, FuzzSeedsAreReadableProjects) {
    const std::string folder = std::string(TOVIN_SOURCE_DIR) + "/fuzz/corpus/ProjectFile";
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string bytes = ReadFile(entry.path().string());
        SProjectContents contents;
        EXPECT_EQ(ReadProjectBytes(bytes, contents), "") << entry.path();
        ++seeds;
    }
    EXPECT_GE(seeds, 5);
}
