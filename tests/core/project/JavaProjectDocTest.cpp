#include "core/project/JavaProjectDoc.h"

#include "core/app/Settings.h"
#include "core/platform/Files.h"
#include "core/process/ProcessRunner.h"

#include "ArchiveBytes.h"
#include "FakeUiHost.h"
#include "ReadOnlyFile.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tovin;
using namespace tovin::test;

namespace {

class JavaProjectDocTest : public ::testing::Test {
protected:
    JavaProjectDocTest() {
        settings.classPath = "/usr/share/java/junit.jar";
        settings.workingDir = "/tmp/run";
        settings.javaOptions = "-ea";
        settings.javac = "-g";
        doc = std::make_unique<CJavaProjectDoc>(settings, host);
        doc->SetRefreshCallback([this] { ++refreshes; });
    }

    std::vector<std::string> JavaPaths() const {
        std::vector<std::string> paths;
        for (const auto& entry : doc->JavaFiles()) {
            paths.push_back(entry->GetFullPath());
        }
        return paths;
    }

    std::vector<std::string> FreePaths() const {
        std::vector<std::string> paths;
        for (const auto& entry : doc->FreeFiles()) {
            paths.push_back(entry->GetFullPath());
        }
        return paths;
    }

    // A saved project at dir/p.jpr (so entries get a project path).
    void SaveAt(const std::string& path) { ASSERT_EQ(doc->Save(path), ""); }

    CSettings settings;
    CFakeUiHost host;
    std::unique_ptr<CJavaProjectDoc> doc;
    int refreshes = 0;
    CTempDir dir;
};

using Paths = std::vector<std::string>;

} // namespace

TEST_F(JavaProjectDocTest, StartsWithTheSettingsOptions) {
    EXPECT_EQ(doc->GetClassPath(), "/usr/share/java/junit.jar");
    EXPECT_EQ(doc->GetWorkingDir(), "/tmp/run");
    EXPECT_EQ(doc->GetRunOptions(), "-ea");
    EXPECT_EQ(doc->GetCompileOptions(), "-g");
    EXPECT_EQ(doc->GetCompileDir(), "");
    EXPECT_EQ(doc->GetMainFileName(), "");
    EXPECT_EQ(doc->GetPath(), "");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), "Untitled");
}

TEST_F(JavaProjectDocTest, AddFileReplacesSameNameAndIgnoresSamePath) {
    EXPECT_EQ(doc->AddFile("/b/Foo.java"), 1);
    EXPECT_TRUE(doc->IsModified());
    doc->SetModifiedFlag(false);
    EXPECT_EQ(doc->AddFile("/b/Foo.java"), 0);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(JavaPaths(), (Paths{"/b/Foo.java"}));

    EXPECT_EQ(doc->AddFile("/a/Foo.java"), 1);
    EXPECT_EQ(JavaPaths(), (Paths{"/a/Foo.java"}));
    EXPECT_EQ(doc->JavaFiles().Item(0)->GetFileName(), "Foo.java");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(JavaProjectDocTest, AddFileSendsHtmlPagesToTheFreeFiles) {
    EXPECT_EQ(doc->AddFile("/w/page.htm"), 1);
    EXPECT_EQ(doc->AddFile("/w/page.html"), 1);
    EXPECT_EQ(doc->AddFile("/w/INDEX.HTML"), 1);
    EXPECT_EQ(JavaPaths(), (Paths{"/w/page.htm"}));
    EXPECT_EQ(FreePaths(), (Paths{"/w/page.html", "/w/INDEX.HTML"}));
}

TEST_F(JavaProjectDocTest, AddFileRecordsTheProjectPath) {
    SaveAt(dir.File("p.jpr"));
    doc->AddFile(dir.File("src/A.java"));
    doc->AddHtmlFile(dir.File("a.html"));
    doc->AddFreeFile(dir.File("b.html"));
    EXPECT_EQ(doc->JavaFiles().Item(0)->GetProjectPath(), dir.File("p.jpr"));
    EXPECT_EQ(doc->FreeFiles().Item(0)->GetProjectPath(), dir.File("p.jpr"));
    EXPECT_EQ(doc->FreeFiles().Item(1)->GetProjectPath(), dir.File("p.jpr"))
        << "the wizard's pages move with a copied project too";
}

TEST_F(JavaProjectDocTest, AddFileToAFullListChangesNothing) {
    for (int i = 0; i < kJavaListCapacity; ++i) {
        ASSERT_EQ(doc->AddFile("/src/F" + std::to_string(i) + ".java"), 1);
    }
    doc->SetModifiedFlag(false);
    EXPECT_EQ(doc->AddFile("/src/Extra.java"), 0);
    EXPECT_EQ(doc->JavaFiles().GetCount(), 255);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(doc->AddFile("/other/F3.java"), 1) << "a known name is still re-pointed";
}

TEST_F(JavaProjectDocTest, AddHtmlFileRefusesDuplicates) {
    doc->AddHtmlFile("/w/page.html");
    EXPECT_EQ(refreshes, 1);
    doc->AddHtmlFile("/w/page.html");
    doc->AddHtmlFile("/x/page.html");
    EXPECT_EQ(FreePaths(), (Paths{"/w/page.html"}));
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text, "File is already in project.");
    EXPECT_EQ(host.messages[1].text, "You cannot add two files with the same name to a project.");
    EXPECT_EQ(host.messages[0].caption, "Tovin");
    EXPECT_EQ(refreshes, 1);
}

TEST_F(JavaProjectDocTest, AddFreeFileDoesNoChecks) {
    doc->AddFreeFile("/w/a.html");
    doc->AddFreeFile("/w/a.html");
    EXPECT_EQ(FreePaths(), (Paths{"/w/a.html", "/w/a.html"}));
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(JavaProjectDocTest, RemoveFileKeepsTheMainFileName) {
    doc->AddFile("/s/A.java");
    doc->AddFile("/s/B.java");
    doc->AddHtmlFile("/s/A.html");
    doc->SetMainFile("A.java");
    doc->SetMainHtmlFile("A.html");
    doc->SetModifiedFlag(false);

    doc->RemoveFile("/s/A.java");
    doc->RemoveFile("/s/A.html");
    doc->RemoveFile("/s/none.java");
    EXPECT_EQ(JavaPaths(), (Paths{"/s/B.java"}));
    EXPECT_EQ(FreePaths(), Paths{});
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetMainFile(), "A.java");
    EXPECT_EQ(doc->GetMainHtmlFile(), "A.html");
    EXPECT_EQ(doc->GetFullPath("A.java"), "NOFILE");
}

TEST_F(JavaProjectDocTest, SetMainFileTakesThePackageOfItsEntry) {
    doc->AddFile("/s/com/x/App.java");
    doc->JavaFiles().Item(0)->SetPackage("com.x");
    doc->SetMainFile("App.java");
    EXPECT_EQ(doc->GetMainPackage(), "com.x");
    EXPECT_EQ(doc->IsMainFile("App.java"), 1);
    EXPECT_EQ(doc->IsMainFile("app.java"), 0);
    doc->SetMainFile("Gone.java");
    EXPECT_EQ(doc->GetMainPackage(), "");
}

TEST_F(JavaProjectDocTest, GetMainFileChoosesTheLastJavaFile) {
    EXPECT_EQ(doc->GetMainFile(), "");
    doc->AddFile("/s/A.java");
    doc->AddFile("/s/notes.txt");
    doc->AddFile("/s/B.JAVA");
    doc->AddFile("/s/tool.py");
    EXPECT_EQ(doc->GetMainFile(), "B.JAVA");
    doc->AddFile("/s/C.java");
    EXPECT_EQ(doc->GetMainFile(), "B.JAVA") << "a chosen main file stays";
}

// A project of model and utility classes with one runnable class: the runnable one is taken,
// wherever it stands; without any main method, the last Java file as before.
TEST_F(JavaProjectDocTest, GetMainFilePrefersTheLastFileWithAMainMethod) {
    using SFiles = std::vector<std::pair<const char*, const char*>>; // path, its one method
    const std::pair<SFiles, const char*> rows[] = {
        {{{"/s/App.java", "main(String[] args)"}, {"/s/Texts.java", "get(int i)"}}, "App.java"},
        {{{"/s/A.java", "main(String a[])"}, {"/s/B.java", "main(String[] b)"}, {"/s/C.java", ""}},
         "B.java"},
        {{{"/s/A.java", "mainly()"}, {"/s/B.java", ""}}, "B.java"},
        {{{"/s/tool.py", "main(x)"}, {"/s/B.java", "run()"}}, "B.java"}};
    for (const auto& [files, expected] : rows) {
        CJavaProjectDoc project(settings, host);
        for (const auto& [path, method] : files) {
            project.AddFile(path);
            if (*method) {
                CJavaFile& entry = *project.JavaFiles().Item(project.JavaFiles().GetCount() - 1);
                entry.AddClass("K", 0);
                entry.Classes().Item(0)->AddMethod(method, 1);
            }
        }
        // What enables Build is the choice Run makes, and asking stores nothing.
        EXPECT_EQ(project.ChooseMainFile(), expected) << files.front().first;
        EXPECT_EQ(project.GetMainFileName(), "") << files.front().first;
        EXPECT_EQ(project.GetMainFile(), expected) << files.front().first;
    }
}

TEST_F(JavaProjectDocTest, GetFullPathAndFreeFilePath) {
    doc->AddFile("/s/A.java");
    doc->AddHtmlFile("/w/A.java"); // not an HTML extension, but lists are searched in order
    doc->AddHtmlFile("/w/page.html");
    EXPECT_EQ(doc->GetFullPath("A.java"), "/s/A.java");
    EXPECT_EQ(doc->GetFullPath("page.html"), "/w/page.html");
    EXPECT_EQ(doc->GetFullPath("missing.java"), "NOFILE");
    EXPECT_EQ(doc->GetFreeFilePath("page.html"), "/w/page.html");
    EXPECT_EQ(doc->GetFreeFilePath("missing.html"), "");
    EXPECT_EQ(doc->ContainsJavaFile("/s/A.java"), 1);
    EXPECT_EQ(doc->ContainsJavaFile("/w/page.html"), 0);
}

TEST_F(JavaProjectDocTest, GetFullPathFollowsAMovedProject) {
    CTempDir moved;
    SaveAt(dir.File("p.jpr"));
    doc->AddFile(dir.File("src/App.java"));
    doc->AddFile("/opt/lib/Util.java");
    SaveAt(dir.File("p.jpr"));

    CJavaProjectDoc reopened(settings, host);
    ASSERT_EQ(::rename(dir.File("p.jpr").c_str(), moved.File("p.jpr").c_str()), 0);
    ASSERT_EQ(reopened.Load(moved.File("p.jpr")), "");
    EXPECT_EQ(reopened.GetFullPath("App.java"), moved.File("src/App.java"));
    EXPECT_EQ(reopened.GetFullPath("Util.java"), "/opt/lib/Util.java");
}

// Save As writes the project file elsewhere and leaves the files where they are: reopened, the
// new file finds them there, not beside itself.
TEST_F(JavaProjectDocTest, ProjectSavedUnderAnotherNameKeepsItsFiles) {
    const std::string app = dir.Write("p/src/App.java", "class App {}\n");
    SaveAt(dir.File("p/p.jpr"));
    doc->AddFile(app);
    SaveAt(dir.File("p/p.jpr"));
    SaveAt(dir.File("p/src/q.jpr"));

    CJavaProjectDoc reopened(settings, host);
    ASSERT_EQ(reopened.Load(dir.File("p/src/q.jpr")), "");
    EXPECT_EQ(reopened.GetFullPath("App.java"), app);
    EXPECT_FALSE(reopened.RebaseEntries());
}

TEST_F(JavaProjectDocTest, WindowsProjectLoadsAndResolvesBelowItsFolder) {
    const std::string bytes = Int32(1) + Str("App.java") + Str("C:\\work\\app\\src\\App.java") +
                              Str("C:\\work\\app\\app.jpr") + Int32(0) + Str("") + Int32(0) +
                              Str("App.java") + Str("C:\\work\\app") + std::string(6, '\0');
    const std::string path = dir.Write("app.jpr", bytes);
    ASSERT_EQ(doc->Load(path), "");
    EXPECT_EQ(doc->JavaFiles().Item(0)->GetFullPath(), "C:\\work\\app\\src\\App.java");
    EXPECT_EQ(doc->GetWorkingDir(), "C:\\work\\app");
    EXPECT_EQ(doc->GetFullPath("App.java"), dir.File("src/App.java"));
}

TEST_F(JavaProjectDocTest, FindInProjectFolderRepointsTheEntry) {
    SaveAt(dir.File("p.jpr"));
    doc->AddFile("/lost/App.java");
    doc->AddFile("/lost/page.htm");
    doc->SetModifiedFlag(false);
    host.documents[dir.File("App.java")].kind = EDocumentKind::JavaSource;
    host.documents[dir.File("page.htm")].kind = EDocumentKind::Html;

    EXPECT_EQ(doc->FindInProjectFolder("App.java"), 1);
    EXPECT_EQ(doc->GetFullPath("App.java"), dir.File("App.java"));
    EXPECT_TRUE(doc->IsModified());

    EXPECT_EQ(doc->FindInProjectFolder("page.htm"), 0);
    EXPECT_EQ(doc->FindInProjectFolder("Unknown.java"), 0);
    EXPECT_EQ(doc->FindInProjectFolder("Gone.java"), 0);
    EXPECT_EQ(host.openedPaths, (Paths{dir.File("App.java"), dir.File("page.htm")}));
}

TEST_F(JavaProjectDocTest, FindInProjectFolderNeedsASavedProject) {
    doc->AddFile("/lost/App.java");
    host.openAnyAs = EDocumentKind::JavaSource;
    EXPECT_EQ(doc->FindInProjectFolder("App.java"), 0);
    EXPECT_TRUE(host.openedPaths.empty());
}

TEST_F(JavaProjectDocTest, OpenFileAtLineByDocumentKind) {
    struct Row {
        const char* path;
        EDocumentKind kind;
        int result;
        bool showsPosition;
        bool showsLine;
    };
    const Row rows[] = {
        {"/s/App.java", EDocumentKind::JavaSource, 1, true, false},
        {"/s/tool.py", EDocumentKind::Jython, 1, false, true},
        {"/s/build.xml", EDocumentKind::Xml, 1, false, true},
        {"/s/page.htm", EDocumentKind::Html, 1, false, true},
        {"/s/notes.txt", EDocumentKind::Other, 0, false, false},
    };
    for (const auto& row : rows) {
        doc->AddFile(row.path);
        host.documents[row.path].kind = row.kind;
    }
    for (const auto& row : rows) {
        const std::string name = std::string(row.path).substr(3);
        EXPECT_EQ(doc->OpenFileAtLine(name, 42), row.result) << row.path;
        const auto& opened = host.documents[row.path];
        EXPECT_EQ(opened.shownPositions,
                  row.showsPosition ? std::vector<int>{42} : std::vector<int>{})
            << row.path;
        EXPECT_EQ(opened.shownLines, row.showsLine ? std::vector<int>{42} : std::vector<int>{})
            << row.path;
    }
    EXPECT_EQ(doc->OpenFileAtLine("Missing.java", 1), 0);
    doc->AddFile("/s/Unopenable.java");
    EXPECT_EQ(doc->OpenFileAtLine("Unopenable.java", 1), 0);
}

TEST_F(JavaProjectDocTest, ShowClassTriesOnlyTheFirstFileHoldingTheClass) {
    doc->AddFile("/s/A.java");
    doc->AddFile("/s/B.java");
    doc->JavaFiles().Item(0)->AddClass("Shared", 0);
    doc->JavaFiles().Item(1)->AddClass("Shared", 0);
    doc->JavaFiles().Item(1)->AddClass("Only", 0);
    doc->JavaFiles().Item(1)->Classes().Item(0)->InnerClasses().Add(
        std::make_unique<CJavaClass>("Inner", 0));
    host.documents["/s/A.java"].functionPositions["Other"] = 3;
    host.documents["/s/B.java"].functionPositions = {{"Shared", 7}, {"Only", 0}, {"Inner", 9}};

    EXPECT_EQ(doc->ShowClass("Shared"), 0) << "A.java does not know the position";
    EXPECT_EQ(host.openedPaths, (Paths{"/s/A.java"}));
    EXPECT_EQ(doc->ShowClass("Only"), 1);
    EXPECT_EQ(host.documents["/s/B.java"].shownPositions, (std::vector<int>{0}));
    EXPECT_EQ(doc->ShowClass("Inner"), 0) << "inner classes are not searched";
    EXPECT_EQ(doc->ShowClass("Nowhere"), 0);
}

TEST_F(JavaProjectDocTest, OnSourceReparsedUpdatesPackages) {
    doc->AddFile("/s/App.java");
    doc->AddFile("/s/Util.java");
    doc->SetMainFile("App.java");
    CFakeOpenDocument parsed;

    parsed.package = "com.acme";
    doc->OnSourceReparsed("/s/App.java", parsed);
    EXPECT_EQ(doc->GetMainPackage(), "com.acme");
    EXPECT_EQ(doc->JavaFiles().Item(0)->GetPackage(), "com.acme");

    parsed.package = "";
    doc->OnSourceReparsed("/s/App.java", parsed);
    EXPECT_EQ(doc->GetMainPackage(), "com.acme") << "an empty package keeps the main package";
    EXPECT_EQ(doc->JavaFiles().Item(0)->GetPackage(), "");

    parsed.package = "org.util";
    const int before = refreshes;
    doc->OnSourceReparsed("/s/Util.java", parsed);
    EXPECT_EQ(doc->GetMainPackage(), "com.acme");
    EXPECT_EQ(doc->JavaFiles().Item(1)->GetPackage(), "org.util");
    EXPECT_EQ(refreshes, before + 1);
}

TEST_F(JavaProjectDocTest, RebuildClassInformationPicksTheScannerByExtension) {
    for (const char* path : {"/s/App.java", "/s/tool.PY", "/s/build.xml", "/s/notes.txt"}) {
        doc->AddFile(path);
    }
    Paths calls;
    doc->SetSourceScanners({
        [&](CJavaFile& f) { calls.push_back("java " + f.GetFileName()); },
        [&](CJavaFile& f) { calls.push_back("ant " + f.GetFileName()); },
        [&](CJavaFile& f) { calls.push_back("jython " + f.GetFileName()); },
    });
    const int before = refreshes;
    doc->RebuildClassInformation();
    EXPECT_EQ(calls, (Paths{"java App.java", "jython tool.PY", "ant build.xml", "java notes.txt"}));
    EXPECT_EQ(refreshes, before + 1);

    doc->SetSourceScanners({});
    doc->RebuildClassInformation(); // no scanners: nothing happens, nothing breaks
}

TEST_F(JavaProjectDocTest, SaveAndLoadKeepEverything) {
    doc->AddFile(dir.File("src/App.java"));
    doc->AddFile(dir.File("build.xml"));
    doc->AddHtmlFile(dir.File("app.html"));
    doc->JavaFiles().Item(0)->AddClass("App", 10);
    doc->JavaFiles().Item(0)->SetPackage("com.acme");
    doc->SetMainFile("App.java");
    doc->SetMainHtmlFile("app.html");
    doc->SetCompileDir(dir.File("classes"));
    const std::string path = dir.File("app.jpr");
    ASSERT_EQ(doc->Save(path), "");
    EXPECT_EQ(doc->GetPath(), path);
    EXPECT_EQ(doc->GetTitle(), "app.jpr");
    EXPECT_FALSE(doc->IsModified());

    CJavaProjectDoc loaded(settings, host);
    loaded.SetModifiedFlag();
    ASSERT_EQ(loaded.Load(path), "");
    EXPECT_FALSE(loaded.IsModified());
    EXPECT_EQ(loaded.GetPath(), path);
    EXPECT_EQ(loaded.GetMainFileName(), "App.java");
    EXPECT_EQ(loaded.GetMainPackage(), "com.acme");
    EXPECT_EQ(loaded.GetMainHtmlFile(), "app.html");
    EXPECT_EQ(loaded.GetClassPath(), "/usr/share/java/junit.jar");
    EXPECT_EQ(loaded.GetCompileDir(), dir.File("classes"));
    EXPECT_EQ(loaded.JavaFiles().Item(0)->Classes().Item(0)->GetName(), "App");
    EXPECT_EQ(loaded.JavaFiles().Item(0)->Classes().Item(0)->GetPosition(), 0);
    EXPECT_EQ(loaded.FreeFiles().GetCount(), 1);

    const std::string written = ReadFile(path);
    ASSERT_EQ(loaded.Save(path), "");
    EXPECT_EQ(Hex(ReadFile(path)), Hex(written));
}

TEST_F(JavaProjectDocTest, FailedLoadNamesTheFileAndKeepsTheProject) {
    doc->AddFile("/s/Keep.java");
    doc->SetMainFile("Keep.java");
    struct Row {
        const char* name;
        std::string bytes;
        const char* reasonPart;
    };
    const Row rows[] = {
        {"damaged.jpr", Int32(1) + Str("A.java") + Str("/s/A.java"), "is damaged or is not"},
        {"huge-count.jpr", Int32(1000), "a list count of 1000,"},
    };
    for (const auto& row : rows) {
        const std::string path = dir.Write(row.name, row.bytes);
        const std::string error = doc->Load(path);
        EXPECT_NE(error.find("\"" + path + "\""), std::string::npos) << error;
        EXPECT_NE(error.find(row.reasonPart), std::string::npos) << error;
        EXPECT_EQ(ReadFile(path), row.bytes) << "the file is never touched";
    }
    const std::string missing = doc->Load(dir.File("missing.jpr"));
    EXPECT_NE(missing.find("No such file or directory"), std::string::npos) << missing;
    EXPECT_NE(missing.find(dir.File("missing.jpr")), std::string::npos) << missing;

    EXPECT_EQ(JavaPaths(), (Paths{"/s/Keep.java"}));
    EXPECT_EQ(doc->GetMainFileName(), "Keep.java");
    EXPECT_EQ(doc->GetPath(), "");
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(JavaProjectDocTest, FailedSaveKeepsWhatWasThere) {
    // A folder of that name cannot be replaced by the project file, also not by root.
    const std::string path = dir.File("p.jpr");
    dir.Write("p.jpr/keep.txt", "kept");
    doc->AddFile("/s/B.java");
    const std::string error = doc->Save(path);
    EXPECT_NE(error.find("\"" + path + "\""), std::string::npos) << error;
    EXPECT_NE(error.find("Is a directory"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(path + "/keep.txt"), "kept");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetPath(), "");
}

TEST_F(JavaProjectDocTest, ClosingAsksFirstAndThenSavesWithoutAsking) {
    const std::string path = dir.File("p.jpr");
    SaveAt(path);
    const std::string saved = ReadFile(path);
    ASSERT_EQ(::truncate(path.c_str(), 0), 0);
    EXPECT_FALSE(doc->IsModified());

    host.messageAnswers = {EMsgAnswer::Cancel};
    EXPECT_FALSE(doc->CanCloseFrame());
    EXPECT_EQ(ReadFile(path), "") << "Cancel keeps the project open and unsaved";

    host.messageAnswers = {EMsgAnswer::Ok};
    EXPECT_TRUE(doc->CanCloseFrame());
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].text, "Do you really want to close this project?");
    EXPECT_EQ(host.messages[1].caption, "Tovin");
    EXPECT_EQ(host.messages[1].buttons, EMsgButtons::OkCancel);
    EXPECT_EQ(host.messages[1].icon, EMsgIcon::Question);
    EXPECT_EQ(Hex(ReadFile(path)), Hex(saved)) << "saved although it was not modified";
}

TEST_F(JavaProjectDocTest, NeverSavedProjectAsksWhetherToSave) {
    doc->SetTitle("Shop.jpr");
    EXPECT_TRUE(doc->SaveModified()) << "nothing to ask while unmodified";
    EXPECT_TRUE(host.messages.empty());

    doc->AddFile("/s/A.java");
    host.messageAnswers = {EMsgAnswer::Cancel, EMsgAnswer::No};
    EXPECT_FALSE(doc->SaveModified());
    EXPECT_TRUE(doc->SaveModified());
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text, "Save changes to Shop.jpr?");
    EXPECT_EQ(host.messages[0].buttons, EMsgButtons::YesNoCancel);
    EXPECT_TRUE(host.fileRequests.empty());

    host.messageAnswers = {EMsgAnswer::Yes};
    EXPECT_FALSE(doc->SaveModified()) << "the file dialog was cancelled";
    ASSERT_EQ(host.fileRequests.size(), 1u);
    EXPECT_TRUE(host.fileRequests[0].save);
    EXPECT_EQ(host.fileRequests[0].defaultExtension, "jpr");
    EXPECT_EQ(host.fileRequests[0].proposedName, "Shop.jpr");

    host.messageAnswers = {EMsgAnswer::Yes};
    host.fileAnswers = {{dir.File("Shop.jpr")}};
    EXPECT_TRUE(doc->SaveModified());
    EXPECT_EQ(doc->GetPath(), dir.File("Shop.jpr"));
    EXPECT_TRUE(FileExists(dir.File("Shop.jpr")));
}

TEST_F(JavaProjectDocTest, ReadOnlyProjectFileIsLeftAloneOrSavedUnderANewName) {
    // An installed example: it opens and closes without a word; changes made to it are offered
    // to be saved elsewhere, and the file itself is never touched.
    const std::string path = dir.File("ro.jpr");
    SaveAt(path);
    const std::string stored = ReadFile(path);
    CReadOnlyFile readOnly(path);
    if (!readOnly.Works()) {
        GTEST_SKIP() << "cannot make a file read-only here";
    }
    doc = std::make_unique<CJavaProjectDoc>(settings, host);
    ASSERT_EQ(doc->Load(path), "");
    EXPECT_TRUE(doc->SaveModified()) << "an unmodified project closes";
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.fileRequests.empty());

    doc->AddFile("/s/A.java");
    host.messageAnswers = {EMsgAnswer::Cancel};
    EXPECT_FALSE(doc->SaveModified()) << "Cancel keeps the project open";
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].buttons, EMsgButtons::YesNoCancel);
    EXPECT_NE(host.messages[0].text.find("read-only"), std::string::npos);
    EXPECT_TRUE(host.fileRequests.empty());

    host.messageAnswers = {EMsgAnswer::Yes};
    EXPECT_FALSE(doc->SaveModified()) << "the file dialog was cancelled: the project stays open";
    EXPECT_EQ(doc->GetPath(), path);

    host.messageAnswers = {EMsgAnswer::Yes};
    host.fileAnswers = {{dir.File("rw.jpr")}};
    EXPECT_TRUE(doc->SaveModified());
    ASSERT_EQ(host.fileRequests.size(), 2u);
    EXPECT_EQ(host.fileRequests[1].proposedName, "ro.jpr");
    EXPECT_EQ(doc->GetPath(), dir.File("rw.jpr"));
    CJavaProjectDoc copy(settings, host);
    ASSERT_EQ(copy.Load(dir.File("rw.jpr")), "");
    ASSERT_EQ(copy.JavaFiles().GetCount(), 1);
    EXPECT_EQ(copy.JavaFiles().Item(0)->GetFullPath(), "/s/A.java");

    ASSERT_EQ(doc->Load(path), "");
    doc->AddFile("/s/B.java");
    host.messageAnswers = {EMsgAnswer::No};
    EXPECT_TRUE(doc->SaveModified()) << "Don't Save closes without writing";
    EXPECT_EQ(host.fileRequests.size(), 2u);
    EXPECT_EQ(ReadFile(path), stored);
}

TEST_F(JavaProjectDocTest, SaveFailureWhileClosingIsShownAndKeepsTheProjectOpen) {
    const std::string path = dir.File("sub/p.jpr");
    dir.Write("sub/p.jpr", "");
    SaveAt(path);
    // The folder disappears under the project: the save cannot create its temporary file.
    std::filesystem::remove_all(dir.File("sub"));
    EXPECT_FALSE(doc->SaveModified());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].icon, EMsgIcon::Error);
    EXPECT_NE(host.messages[0].text.find(path), std::string::npos) << host.messages[0].text;
}

TEST_F(JavaProjectDocTest, OnCloseDocumentReportsThePath) {
    Paths closed;
    doc->SetClosedCallback([&](const std::string& path) { closed.push_back(path); });
    doc->OnCloseDocument();
    SaveAt(dir.File("p.jpr"));
    doc->OnCloseDocument();
    EXPECT_EQ(closed, (Paths{"", dir.File("p.jpr")}));
}
