#include "cli/OutlineCommand.h"
#include "TempDir.h"
#include "core/javamodel/JavaParser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace tovin;

// Each tests/data/outline/NAME.java has its hand-checked model in NAME.outline.
TEST(OutlineCommand, RealSourcesMatchTheirReviewedOutlines) {
    int checked = 0;
    for (const auto& item :
         std::filesystem::directory_iterator(std::string(TOVIN_TEST_DATA) + "/outline")) {
        if (item.path().extension() != ".java") {
            continue;
        }
        std::filesystem::path golden = item.path();
        golden.replace_extension(".outline");
        CJavaFile file;
        file.SetPath(item.path().string());
        ASSERT_TRUE(CJavaParser(file).ParseFile()) << item.path();
        EXPECT_EQ(OutlineOf(file, ESourceKind::Java), test::ReadFile(golden.string()))
            << item.path();
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

TEST(OutlineCommand, PrintsEachFileByItsKind) {
    test::CTempDir dir;
    std::string java =
        dir.Write("A.java", "package p;\nclass A {\n class B {\n  void f() {}\n }\n}\n");
    std::string python = dir.Write("s.PY", "def main(args):\n");
    std::string ant = dir.Write("build.xml", "<project default=\"x\"/>\n");
    std::ostringstream out, err;
    EXPECT_EQ(RunOutline({java, python, ant}, out, err), 0);
    EXPECT_EQ(out.str(), "file\t" + java + "\npackage\tp\nclass\tA\t14\ninner\tA\tB\t25\n" +
                             "method\tA.B\tf()\t37\n" + "file\t" + python +
                             "\nfunction\tmain(args)\t0\n" + "file\t" + ant + "\n");
    EXPECT_EQ(err.str(), "");
}

TEST(OutlineCommand, AnUnreadableFileIsReportedAndTheOthersStillPrinted) {
    test::CTempDir dir;
    std::string good = dir.Write("B.java", "class B {}");
    std::ostringstream out, err;
    EXPECT_EQ(RunOutline({dir.File("missing.java"), dir.Path(), good}, out, err), 1);
    EXPECT_EQ(out.str(), "file\t" + good + "\npackage\t\nclass\tB\t2\n");
    EXPECT_NE(err.str().find("cannot read " + dir.File("missing.java") + ": "), std::string::npos);
    EXPECT_NE(err.str().find("cannot read " + dir.Path() + ": "), std::string::npos);
}

TEST(OutlineCommand, NeedsAFile) {
    std::ostringstream out, err;
    EXPECT_EQ(RunOutline({}, out, err), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(err.str().empty());
}
