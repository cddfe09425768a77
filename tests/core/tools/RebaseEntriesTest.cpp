#include "project/JavaProjectDoc.h"

#include "app/Settings.h"
#include "process/ProcessRunner.h"

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
    struct Row {
        const char* name;
        std::vector<std::string> beside; // files that exist in the copy's folder
        std::string projectFolder;
        bool copied;
    };
    const std::vector<std::string> files = {"src/a/A.java", "src/b/B.java", "web/page.html"};
    const Row rows[] = {
        {"a copy of the whole folder", files, "copy", true},
        {"only the project file copied", {}, "copy", false},
        {"one file missing in the copy", {"src/a/A.java", "web/page.html"}, "copy", false},
        {"the original itself", files, "orig", false},
    };
    for (const auto& row : rows) {
        CTempDir dir;
        CSettings settings;
        CFakeUiHost host;
        const std::string projectPath = dir.Write(row.projectFolder + "/p.jpr", "");
        {
            CJavaProjectDoc original(settings, host);
            for (const auto& file : files) {
                original.AddFile(dir.Write("orig/" + file, ""));
            }
            ASSERT_EQ(original.Save(projectPath), "");
        }
        for (const auto& file : row.beside) {
            dir.Write(row.projectFolder + "/" + file, "");
        }
        CJavaProjectDoc project(settings, host);
        ASSERT_EQ(project.Load(projectPath), "");
        std::vector<std::string> notices;
        project.SetNoticeCallback([&](const std::string& text) { notices.push_back(text); });
        EXPECT_EQ(project.RebaseEntries(), row.copied) << row.name;
        EXPECT_EQ(project.IsModified(), row.copied) << row.name;
        const std::string used = row.copied ? row.projectFolder : "orig";
        EXPECT_EQ(project.GetFullPath("A.java"), dir.File(used + "/src/a/A.java")) << row.name;
        EXPECT_EQ(project.GetFreeFilePath("page.html"), dir.File(used + "/web/page.html"))
            << row.name;
        EXPECT_EQ(notices.size(), row.copied ? 1u : 0u) << row.name;
    }
}
