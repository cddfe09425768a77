#include "cli/FindCommand.h"

#include "core/app/Settings.h"
#include "core/process/ProcessRunner.h"
#include "core/project/FindInFiles.h"
#include "core/project/JavaProjectDoc.h"

#include "FakeUiHost.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

using namespace tovin;
using namespace tovin::test;

namespace {

class FindInProjectTest : public ::testing::Test {
protected:
    FindInProjectTest() : doc(settings, host) {
        a = dir.Write("src/A.java", "class A {\n  int foo;\n}\n");
        page = dir.Write("web/page.html", "<p>foo</p>\n");
        build = dir.Write("src/build.xml", "<target name=\"foo\"/>\n");
        doc.AddFile(a);
        doc.AddFile(page);
        doc.AddFile(build);
        project = dir.File("p.jpr");
        EXPECT_EQ(doc.Save(project), "");
    }

    struct SRun {
        int code;
        std::string out, err;
    };
    SRun Run(const std::vector<std::string>& arguments) {
        std::ostringstream out, err;
        int code = RunFindCommand(arguments, out, err);
        return {code, out.str(), err.str()};
    }

    CSettings settings;
    CFakeUiHost host;
    CJavaProjectDoc doc;
    CTempDir dir;
    std::string a, page, build, project;
};

} // namespace

TEST_F(FindInProjectTest, SearchesJavaFilesThenPagesIntoTheOutputWindow) {
    host.output = "old output";
    SFindResult result = FindInFiles(doc, {"foo", true, true}, host);
    EXPECT_EQ(result.matchCount, 3);
    EXPECT_EQ(host.showOutputCount, 1);
    EXPECT_EQ(host.waitCursorDepth, 0);
    EXPECT_EQ(host.output, "\r\n" + a + ":2: at char 6 \r\n" + build + ":1: at char 14 \r\n" +
                               page + ":1: at char 3 \r\n");

    FindInFiles(doc, {"nothing", false, false}, host);
    EXPECT_EQ(host.output, "\r\nNo matches found for \"nothing\"");
}

TEST_F(FindInProjectTest, CommandPrintsTheSameTextWithLineFeeds) {
    SRun found = Run({"--find", "FOO", "--word", project});
    EXPECT_EQ(found.code, 0);
    EXPECT_EQ(found.out, "\n" + a + ":2: at char 6 \n" + build + ":1: at char 14 \n" + page +
                             ":1: at char 3 \n");
    EXPECT_EQ(found.err, "");

    SRun none = Run({"--settings", "x.conf", "--find", "FOO", "--case", project});
    EXPECT_EQ(none.code, 1);
    EXPECT_EQ(none.out, "\nNo matches found for \"FOO\"\n");

    // The text is taken as given, even when it looks like an option.
    SRun dashed = Run({"--find", "--case", project});
    EXPECT_EQ(dashed.code, 1);
    EXPECT_EQ(dashed.out, "\nNo matches found for \"--case\"\n");
}

TEST_F(FindInProjectTest, CommandArgumentErrors) {
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        std::string errorStart;
    };
    const Row rows[] = {
        {"no text", {"--find"}, "tovin: --find needs the text to find\n"},
        {"no project", {"--find", "x"}, "tovin: --find needs a project file\n"},
        {"two projects",
         {"--find", "x", "a.jpr", "b.jpr"},
         "tovin: --find takes one project file, not b.jpr\n"},
        {"missing project file",
         {"--find", "x", "/nonexistent/p.jpr"},
         "tovin: Cannot open the project file \"/nonexistent/p.jpr\""},
    };
    for (const auto& row : rows) {
        SRun run = Run(row.arguments);
        EXPECT_EQ(run.code, kFindUsageError) << row.name;
        EXPECT_EQ(run.out, "") << row.name;
        EXPECT_EQ(run.err.substr(0, row.errorStart.size()), row.errorStart) << row.name;
    }
    // A file that is not a project.
    SRun damaged = Run({"--find", "x", dir.Write("bad.jpr", "\xff\xff\xff")});
    EXPECT_EQ(damaged.code, kFindUsageError);
    EXPECT_NE(damaged.err.find("damaged"), std::string::npos) << damaged.err;
}

// A project copied elsewhere with its files searches the copies, where its entries now point.
TEST_F(FindInProjectTest, MovedProjectSearchesItsFilesWhereTheyAreNow) {
    CTempDir old;
    {
        CJavaProjectDoc saved(settings, host);
        ASSERT_EQ(saved.Save(old.File("q.jpr")), ""); // entries added now record the project path
        saved.AddFile(old.Write("src/A.java", "class A {\n  int foo;\n}\n"));
        ASSERT_EQ(saved.Save(old.File("q.jpr")), "");
    }
    CTempDir other;
    std::filesystem::copy(old.Path(), other.Path(), std::filesystem::copy_options::recursive);
    std::filesystem::remove_all(old.Path() + "/src");
    SRun found = Run({"--find", "int foo", other.File("q.jpr")});
    EXPECT_EQ(found.code, 0);
    EXPECT_EQ(found.out, "\n" + other.File("src/A.java") + ":2: at char 2 \n");

    CJavaProjectDoc moved(settings, host);
    ASSERT_EQ(moved.Load(other.File("q.jpr")), "");
    FindInFiles(moved, {"int foo", false, true}, host);
    EXPECT_EQ(host.output, "\r\n" + other.File("src/A.java") + ":2: at char 2 \r\n");
}
