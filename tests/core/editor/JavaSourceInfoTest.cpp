#include "core/editor/JavaSourceInfo.h"

#include "FakeUiHost.h"
#include "core/app/Settings.h"
#include "core/javamodel/JavaModel.h"
#include "core/process/ProcessRunner.h"
#include "core/project/JavaProjectDoc.h"

#include <gtest/gtest.h>

using namespace tovin;
using namespace tovin::test;

namespace {

struct SPackageRow {
    const char* name;
    std::string text;
    std::string expected;
};

class PackageExtraction : public ::testing::TestWithParam<SPackageRow> {};

TEST_P(PackageExtraction, FirstDeclarationOutsideComments) {
    EXPECT_EQ(ExtractPackageName(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PackageExtraction,
    ::testing::Values(
        SPackageRow{"Plain", "package a.b;\r\nclass A {}", "a.b"},
        SPackageRow{"Trimmed", "package   a.b  ;\r\nclass A {}", "a.b"},
        SPackageRow{"AfterBlockComment", "/* package x; */\r\npackage a;\r\nclass A {}", "a"},
        SPackageRow{"AfterLineComment", "// package x;\r\npackage a;\r\nclass A {}", "a"},
        SPackageRow{"LineCommentHoldingBlockOpener", "// see /* here\r\npackage a;\r\nclass A {}",
                    "a"},
        SPackageRow{"BlockCommentHoldingLineOpener", "/* // */ package a;\r\nclass A {}", "a"},
        SPackageRow{"AfterFirstBrace", "class A {\r\npackage a;\r\n}", ""},
        SPackageRow{"WithinLastEightCharacters", "\r\npackage ", ""},
        SPackageRow{"ExactlyFitting", "package a;", "a"},
        SPackageRow{"WithoutSemicolon", "package a\r\nclass A {}", ""},
        SPackageRow{"None", "class A {}", ""}, SPackageRow{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JavaSourceInfo, RemovedDeclarationKeepsTheOldPackage) {
    CJavaSourceInfo info;
    info.UpdatePackageName("package one;\r\nclass A {}");
    info.UpdatePackageName("class A {}");
    EXPECT_EQ(info.PackageName(), "one");
    info.UpdatePackageName("package two;\r\n");
    EXPECT_EQ(info.PackageName(), "two");
}

const char* const kSource = "package p;\r\n"
                            "public class A {\r\n"
                            "    void first() {\r\n"
                            "    }\r\n"
                            "    class Inner {\r\n"
                            "        int inner(int x) {\r\n"
                            "            return x;\r\n"
                            "        }\r\n"
                            "    }\r\n"
                            "    void last(String s) {\r\n"
                            "    }\r\n"
                            "}\r\n"
                            "class B {\r\n"
                            "    void b() {\r\n"
                            "    }\r\n"
                            "}\r\n";

std::vector<std::string> Names(const std::vector<SFunctionEntry>& functions) {
    std::vector<std::string> names;
    for (const auto& function : functions) {
        names.push_back(function.name);
    }
    return names;
}

TEST(JavaSourceInfo, FunctionsOfEveryClassInTextOrder) {
    CJavaSourceInfo info;
    EXPECT_FALSE(info.Reparse(kSource, "/nowhere/A.java", nullptr));
    EXPECT_EQ(Names(info.Functions()),
              (std::vector<std::string>{"first()", "inner(int x)", "last(String s)", "b()"}));
    int previous = -1;
    for (const auto& function : info.Functions()) {
        EXPECT_GT(function.position, previous) << function.name;
        previous = function.position;
        EXPECT_EQ(info.FindFunctionPosition(function.name), function.position);
    }
    EXPECT_EQ(info.FindFunctionPosition("missing()"), -1);
    EXPECT_EQ(info.FindFunctionPosition("first"), -1); // exact comparison
}

TEST(JavaSourceInfo, FunctionListIsCappedAtAModelListsSize) {
    std::string text = "class Big {\r\n";
    for (int i = 0; i < 300; ++i) {
        text += "void m" + std::to_string(i) + "() {\r\n}\r\n";
    }
    text += "}\r\n";
    CJavaSourceInfo info;
    info.Reparse(text, "", nullptr);
    ASSERT_EQ(info.Functions().size(), size_t(CJavaSourceInfo::kMaxFunctions));
    EXPECT_EQ(info.Functions().front().name, "m0()");
}

TEST(JavaSourceInfo, ProjectFileIsReparsedIntoItsEntry) {
    CSettings settings;
    CFakeUiHost host;
    CJavaProjectDoc project(settings, host);
    ASSERT_EQ(project.AddFile("/src/A.java"), 1);
    CJavaSourceInfo info;
    EXPECT_TRUE(info.Reparse(kSource, "/src/A.java", &project));
    CJavaFile* entry = project.JavaFiles().FindByFullPath("/src/A.java");
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->Classes().GetCount(), 2);
    EXPECT_EQ(entry->Classes().Item(0)->GetName(), "A");
    EXPECT_EQ(info.Functions().size(), size_t(4));
    // A second parse replaces what the first one found.
    EXPECT_TRUE(info.Reparse("class C {\r\n void c() {\r\n }\r\n}\r\n", "/src/A.java", &project));
    EXPECT_EQ(entry->Classes().GetCount(), 1);
    EXPECT_EQ(Names(info.Functions()), std::vector<std::string>{"c()"});
    // A file outside the project leaves the project alone.
    EXPECT_FALSE(info.Reparse(kSource, "/other/A.java", &project));
    EXPECT_EQ(entry->Classes().GetCount(), 1);
}

} // namespace
