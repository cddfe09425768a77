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
