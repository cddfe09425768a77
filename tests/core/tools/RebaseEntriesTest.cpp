#include "core/project/JavaProjectDoc.h"

#include "core/app/Settings.h"
#include "core/process/ProcessRunner.h"

#include "FakeUiHost.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace tovin;
using namespace tovin::test;

TEST(RebaseEntries, MovedProjectFindsItsFilesWhereTheyNowAre) {
    CTempDir dir;
    CSettings settings;
    CFakeUiHost host;
    dir.Write("old/src/com/x/A.java", "");
    {
        CJavaProjectDoc original(settings, host);
        ASSERT_EQ(original.Save(dir.File("old/p.jpr")), "");
        original.AddFile(dir.File("old/src/com/x/A.java"));
        original.AddFile("/elsewhere/lib/B.java");
        original.AddHtmlFile(dir.File("old/web/page.html"));
        ASSERT_EQ(original.Save(dir.File("old/p.jpr")), "");
    }
    dir.Write("new/p.jpr", ReadFile(dir.File("old/p.jpr")));

    CJavaProjectDoc moved(settings, host);
    ASSERT_EQ(moved.Load(dir.File("new/p.jpr")), "");
    EXPECT_TRUE(moved.RebaseEntries());
    EXPECT_TRUE(moved.IsModified());
    EXPECT_EQ(moved.JavaFiles().Item(0)->GetFullPath(), dir.File("new/src/com/x/A.java"));
    // A file outside the project folder does not move with it.
    EXPECT_EQ(moved.JavaFiles().Item(1)->GetFullPath(), "/elsewhere/lib/B.java");
    EXPECT_EQ(moved.FreeFiles().Item(0)->GetFullPath(), dir.File("new/web/page.html"));
    EXPECT_EQ(moved.GetFreeFilePath("page.html"), dir.File("new/web/page.html"));

    moved.SetModifiedFlag(false);
    EXPECT_FALSE(moved.RebaseEntries());
    EXPECT_FALSE(moved.IsModified());
}

// A project whose entries carry no project path (files added before it was first saved) is
// known as a copy only by its files: the same places below the project file's folder.
TEST(RebaseEntries, CopiedProjectTakesTheFilesBesideIt) {
    const std::vector<std::string> files = {"src/a/A.java", "src/b/B.java", "web/page.html"};
    // What the row shows, the files beside the project file, its folder, whether it is a copy.
    const std::tuple<const char*, std::vector<std::string>, std::string, bool> rows[] = {
        {"a copy of the whole folder", files, "copy", true},
        {"only the project file copied", {}, "copy", false},
        {"one file missing in the copy", {"src/a/A.java", "web/page.html"}, "copy", false},
        {"the original itself", files, "orig", false}};
    for (const auto& [name, beside, folder, copied] : rows) {
        CTempDir dir;
        CSettings settings;
        CFakeUiHost host;
        const std::string projectPath = dir.Write(folder + "/p.jpr", "");
        {
            CJavaProjectDoc original(settings, host);
            for (const auto& file : files) {
                original.AddFile(dir.Write("orig/" + file, ""));
            }
            ASSERT_EQ(original.Save(projectPath), "");
        }
        for (const auto& file : beside) {
            dir.Write(folder + "/" + file, "");
        }
        CJavaProjectDoc project(settings, host);
        ASSERT_EQ(project.Load(projectPath), "");
        int notices = 0;
        project.SetNoticeCallback([&](const std::string&) { ++notices; });
        EXPECT_EQ(project.RebaseEntries(), copied) << name;
        EXPECT_EQ(project.IsModified(), copied) << name;
        EXPECT_EQ(notices, copied ? 1 : 0) << name;
        const std::string used = dir.File(copied ? folder : "orig");
        EXPECT_EQ(project.GetFullPath("A.java"), used + "/src/a/A.java") << name;
        EXPECT_EQ(project.GetFreeFilePath("page.html"), used + "/web/page.html") << name;
    }
}
