#include "core/project/JavaProjectDoc.h"

#include "core/app/Settings.h"
#include "core/process/ProcessRunner.h"

#include "FakeUiHost.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tovin;
using namespace tovin::test;

namespace {

// A project file holding the entries as given: full path and the project path each records
// (an empty one, as older project files and the wizard's pages have it).
std::string WriteProject(const CTempDir& dir, const std::string& name,
                         const std::vector<std::pair<std::string, std::string>>& javaFiles,
                         const std::vector<std::pair<std::string, std::string>>& pages = {}) {
    SProjectContents contents;
    for (const auto& [file, recorded] : javaFiles) {
        auto entry = std::make_unique<CJavaFile>();
        entry->SetPath(file);
        entry->SetProjectPath(recorded);
        contents.javaFiles.Add(std::move(entry));
    }
    for (const auto& [file, recorded] : pages) {
        auto entry = std::make_unique<CFreeJavaFile>();
        entry->SetPath(file);
        entry->SetProjectPath(recorded);
        contents.freeFiles.Add(std::move(entry));
    }
    return dir.Write(name, WriteProjectBytes(contents));
}

} // namespace

// A project file that was moved or copied with its folder uses the files beside it; one that
// was copied alone, or never moved, keeps the files it recorded.
TEST(RebaseEntries, FollowsAProjectFolderThatWasMovedOrCopied) {
    struct SRow {
        const char* name;
        std::string from, to;
        bool filesCopied;
        bool originalsRemoved;
        bool rebased;
    } rows[] = {
        {"moved with its files", "old", "new", true, true, true},
        {"copied with its files, the original kept", "Hello", "Hello2", true, false, true},
        {"copied to a folder named like the original and more", "Hello", "Hello copy", true, false,
         true},
        {"only the project file copied", "Hello", "Hello2", false, false, false},
    };
    for (const auto& row : rows) {
        CTempDir dir;
        CSettings settings;
        CFakeUiHost host;
        const std::vector<std::string> files = {"src/com/x/A.java", "Hello.java"};
        {
            // As the new-project wizard makes it: saved first, then filled and saved again.
            CJavaProjectDoc original(settings, host);
            std::filesystem::create_directories(dir.File(row.from));
            ASSERT_EQ(original.Save(dir.File(row.from + "/p.jpr")), "");
            for (const auto& file : files) {
                original.AddFile(dir.Write(row.from + "/" + file, "class A {}"));
            }
            original.AddFreeFile(dir.Write(row.from + "/Hello.html", "<applet>"));
            original.AddFile("/elsewhere/lib/B.java");
            ASSERT_EQ(original.Save(dir.File(row.from + "/p.jpr")), "");
        }
        dir.Write(row.to + "/p.jpr", ReadFile(dir.File(row.from + "/p.jpr")));
        if (row.filesCopied) {
            for (const auto& file : files) {
                dir.Write(row.to + "/" + file, "class A {}");
            }
            dir.Write(row.to + "/Hello.html", "<applet>");
        }
        if (row.originalsRemoved) {
            std::filesystem::remove_all(dir.File(row.from + "/src"));
            std::filesystem::remove(dir.File(row.from + "/Hello.java"));
            std::filesystem::remove(dir.File(row.from + "/Hello.html"));
        }

        CJavaProjectDoc project(settings, host);
        ASSERT_EQ(project.Load(dir.File(row.to + "/p.jpr")), "") << row.name;
        int notices = 0;
        project.SetNoticeCallback([&](const std::string&) { ++notices; });
        EXPECT_EQ(project.RebaseEntries(), row.rebased) << row.name;
        EXPECT_EQ(project.IsModified(), row.rebased) << row.name;
        EXPECT_EQ(notices, row.rebased ? 1 : 0) << row.name;
        const std::string used = dir.File(row.rebased ? row.to : row.from);
        EXPECT_EQ(project.GetFullPath("A.java"), used + "/src/com/x/A.java") << row.name;
        EXPECT_EQ(project.GetFullPath("Hello.java"), used + "/Hello.java") << row.name;
        EXPECT_EQ(project.GetFreeFilePath("Hello.html"), used + "/Hello.html") << row.name;
        // A file outside the project's folder does not move with it.
        EXPECT_EQ(project.GetFullPath("B.java"), "/elsewhere/lib/B.java") << row.name;

        // Once re-based, the project is where its entries say: nothing happens again.
        project.SetModifiedFlag(false);
        EXPECT_FALSE(project.RebaseEntries()) << row.name;
        EXPECT_FALSE(project.IsModified()) << row.name;
    }
}

// Without a usable project path, a project is taken for a copy only when its files are gone
// from where they were recorded and each one's place below their folder exists beside the
// project file. A file of the same name that merely lies beside it changes nothing.
TEST(RebaseEntries, TakesTheFilesBesideTheProjectOnlyWhenTheRecordedOnesAreGone) {
    struct SRow {
        const char* name;
        bool recordsThisProject; // else no project path
        bool recordedExist;
        bool besideExist;
        bool rebased;
    } rows[] = {
        {"saved here, files in place, another Main.java beside", true, true, true, false},
        {"saved here, files gone", true, false, true, false},
        {"no project path, files in place", false, true, true, false},
        {"no project path, files gone, copies beside", false, false, true, true},
        {"no project path, files gone, nothing beside", false, false, false, false},
    };
    for (const auto& row : rows) {
        CTempDir dir;
        CSettings settings;
        CFakeUiHost host;
        const std::string projectPath = dir.File("proj/p.jpr");
        const std::string recorded = row.recordsThisProject ? projectPath : std::string();
        WriteProject(dir, "proj/p.jpr", {{dir.File("src/Main.java"), recorded}},
                     {{dir.File("src/page.html"), recorded}});
        if (row.recordedExist) {
            dir.Write("src/Main.java", "");
            dir.Write("src/page.html", "");
        }
        if (row.besideExist) {
            dir.Write("proj/Main.java", "");
            dir.Write("proj/page.html", "");
        }
        CJavaProjectDoc project(settings, host);
        ASSERT_EQ(project.Load(projectPath), "") << row.name;
        int notices = 0;
        project.SetNoticeCallback([&](const std::string&) { ++notices; });
        EXPECT_EQ(project.RebaseEntries(), row.rebased) << row.name;
        EXPECT_EQ(project.IsModified(), row.rebased) << row.name;
        EXPECT_EQ(notices, row.rebased ? 1 : 0) << row.name;
        const std::string used = dir.File(row.rebased ? "proj" : "src");
        EXPECT_EQ(project.GetFullPath("Main.java"), used + "/Main.java") << row.name;
        EXPECT_EQ(project.GetFreeFilePath("page.html"), used + "/page.html") << row.name;
    }
}

// A folder renamed to a name that extends its old one is another folder: the project's files
// are taken from the new one, never from the old one's namesake.
TEST(RebaseEntries, AFolderRenamedToALongerNameIsAnotherFolder) {
    for (const char* renamed : {"Hello2", "Hello copy"}) {
        CTempDir dir;
        CSettings settings;
        CFakeUiHost host;
        const std::string to = std::string(renamed) + "/";
        WriteProject(dir, to + "Hello.jpr", {{dir.File("Hello/src/Hello.java"), ""}},
                     {{dir.File("Hello/Hello.html"), ""}});
        dir.Write(to + "src/Hello.java", "");
        dir.Write(to + "Hello.html", "");
        CJavaProjectDoc project(settings, host);
        ASSERT_EQ(project.Load(dir.File(to + "Hello.jpr")), "") << renamed;
        EXPECT_TRUE(project.RebaseEntries()) << renamed;
        EXPECT_EQ(project.GetFullPath("Hello.java"), dir.File(to + "src/Hello.java")) << renamed;
        EXPECT_EQ(project.GetFreeFilePath("Hello.html"), dir.File(to + "Hello.html")) << renamed;
    }
}

// Pages added by the wizard of earlier versions record no project path; they follow the
// project file the other entries record.
TEST(RebaseEntries, APageWithoutProjectPathMovesWithTheOtherEntries) {
    CTempDir dir;
    CSettings settings;
    CFakeUiHost host;
    WriteProject(dir, "copy/p.jpr", {{dir.File("orig/Bouncer.java"), dir.File("orig/p.jpr")}},
                 {{dir.File("orig/Bouncer.html"), ""}});
    for (const char* file : {"Bouncer.java", "Bouncer.html"}) {
        dir.Write(std::string("orig/") + file, "");
        dir.Write(std::string("copy/") + file, "");
    }
    CJavaProjectDoc project(settings, host);
    ASSERT_EQ(project.Load(dir.File("copy/p.jpr")), "");
    EXPECT_TRUE(project.RebaseEntries());
    EXPECT_EQ(project.GetFullPath("Bouncer.java"), dir.File("copy/Bouncer.java"));
    EXPECT_EQ(project.GetFreeFilePath("Bouncer.html"), dir.File("copy/Bouncer.html"));
}
