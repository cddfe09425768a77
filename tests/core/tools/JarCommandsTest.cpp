#include "CommandFixture.h"

using namespace tovin;
using namespace tovin::test;

namespace {

class JarCommands : public CommandTest {};

} // namespace

TEST_F(JarCommands, MainFolderManifestNamesThePackagedMainClass) {
    const std::string main = AddJava("p/src/com/acme/App.java", "com.acme");
    for (const char* file : {"p/src/com/acme/App.class", "p/src/com/acme/notes.txt",
                             "p/src/com/zz/Z.class", "p/src/com/b/B.class", "p/src/Top.class"}) {
        dir.Write(file, "");
    }
    project->SetMainFile("App.java");
    project->SetClassPath("/lib");
    const std::string archive = dir.File("out/com.acme.App.jar");
    Folder("out");
    host.fileAnswers = {{archive}};
    project->JarMainFolder();

    ASSERT_EQ(host.fileRequests.size(), 1u);
    const SFileDialogRequest& request = host.fileRequests[0];
    EXPECT_TRUE(request.save);
    EXPECT_TRUE(request.confirmOverwrite);
    EXPECT_TRUE(request.hideReadOnly);
    EXPECT_EQ(request.proposedName, "com.acme.App.jar");
    EXPECT_EQ(request.defaultExtension, "jar");
    EXPECT_EQ(request.filter, "Java Archives (*.jar)|*.jar||");
    EXPECT_EQ(request.initialFolder, dir.File("p/src/com/acme"));

    EXPECT_EQ(ReadFile(dir.File("out/manifest.txt")),
              "Main-Class: com.acme.App\nClasspath: /lib\n");
    const CProcessRunner& runner = LastRunner();
    EXPECT_EQ(runner.GetApplicationPath(), Tool("jar"));
    // The classes lie beside the sources: the class files below the top package folder are
    // named from the class root, so the archive keeps the folders the launcher looks the class
    // up in, and holds neither the sources nor other files.
    const std::string root = " -C \"" + dir.File("p/src") + "\" ";
    EXPECT_EQ(runner.GetCommandLine(), "jar cmfv \"" + dir.File("out/manifest.txt") + "\" \"" +
                                           archive + "\" " + root + "\"com/acme/App.class\"" +
                                           root + "\"com/b/B.class\"" + root +
                                           "\"com/zz/Z.class\"");
    EXPECT_EQ(runner.GetWorkingDirectory(), dir.File("p/src/com/acme"));
    EXPECT_EQ(host.captions, std::vector<std::string>{"Creating jar " + archive});
    EXPECT_EQ(host.waitCursorDepth, 0);
    (void)main;
}

TEST_F(JarCommands, MainFolderNotYetCompiledNamesTheMainClassFile) {
    AddJava("p/src/com/acme/App.java", "com.acme");
    project->SetMainFile("App.java");
    host.fileAnswers = {{dir.File("p/app.jar")}};
    project->JarMainFolder();
    EXPECT_TRUE(LastRunner().GetCommandLine().ends_with("\"  -C \"" + dir.File("p/src") +
                                                        "\" \"com/acme/App.class\""));
}

TEST_F(JarCommands, MainFolderWithoutPackageArchivesItsClassFiles) {
    AddJava("p/App.java");
    project->SetMainFile("App.java");
    host.fileAnswers = {{dir.File("p/App.jar")}};
    project->JarMainFolder();
    EXPECT_EQ(host.fileRequests.at(0).proposedName, "App.jar");
    EXPECT_EQ(ReadFile(dir.File("p/manifest.txt")), "Main-Class: App\n");
    EXPECT_EQ(LastRunner().GetCommandLine(), "jar cmfv \"" + dir.File("p/manifest.txt") + "\" \"" +
                                                 dir.File("p/App.jar") + "\" *.class");
}

TEST_F(JarCommands, MainFolderTakesTheCompiledClassesFromTheCompileDirectory) {
    AddJava("p/src/com/acme/App.java", "com.acme");
    project->SetMainFile("App.java");
    project->SetCompileDir(Folder("classes"));
    host.fileAnswers = {{dir.File("p/app.jar")}};
    project->JarMainFolder();
    EXPECT_EQ(LastRunner().GetCommandLine(), "jar cmfv \"" + dir.File("p/manifest.txt") + "\" \"" +
                                                 dir.File("p/app.jar") + "\"  -C \"" +
                                                 dir.File("classes") + "\" .");
}

TEST_F(JarCommands, EveryJavaSuffixLeavesTheMainClassName) {
    AddJava("p/A.java.java");
    project->SetMainFile("A.java.java");
    host.fileAnswers = {{dir.File("p/x.jar")}};
    project->JarMainFolder();
    EXPECT_EQ(host.fileRequests.at(0).proposedName, "A.jar");
    EXPECT_EQ(ReadFile(dir.File("p/manifest.txt")), "Main-Class: A\n");
}

TEST_F(JarCommands, UnwritableManifestIsReportedAndTheToolStillRuns) {
    AddJava("p/App.java");
    project->SetMainFile("App.java");
    // A folder where the manifest should go cannot be replaced by it (also not by root).
    Folder("out/manifest.txt");
    host.fileAnswers = {{dir.File("out/App.jar")}};
    project->JarMainFolder();
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Unable to create manifest."});
    EXPECT_EQ(host.runners.size(), 1u);
}

TEST_F(JarCommands, MainFolderNeedsAMainFileAndAnArchiveName) {
    project->JarMainFolder();
    EXPECT_EQ(host.MessageTexts(),
              std::vector<std::string>{"Please specify a main Java file first"});
    AddJava("p/App.java");
    project->SetMainFile("App.java");
    project->JarMainFolder(); // the dialog is cancelled
    EXPECT_TRUE(host.runners.empty());
    EXPECT_FALSE(FileExists(dir.File("p/manifest.txt")));
}

TEST_F(JarCommands, AnyFolderArchivesTheFolderUnderItsName) {
    const std::string lib = Folder("work/lib");
    host.folderAnswers = {lib};
    host.fileAnswers = {{dir.File("untitled.jar")}};
    project->JarAnyFolder();
    EXPECT_EQ(host.folderRequests.at(0).first, "Choose a folder to jar:");
    EXPECT_EQ(host.fileRequests.at(0).proposedName, "untitled.jar");
    EXPECT_EQ(host.fileRequests.at(0).initialFolder, lib);
    const CProcessRunner& runner = LastRunner();
    EXPECT_EQ(runner.GetCommandLine(), "jar cfv \"" + dir.File("untitled.jar") + "\" \"lib\"");
    EXPECT_EQ(runner.GetWorkingDirectory(), dir.File("work"));
    EXPECT_EQ(host.captions, std::vector<std::string>{"Creating jar " + dir.File("untitled.jar")});
}

TEST_F(JarCommands, ArchiveContentsListsTheChosenArchive) {
    const std::string archive = dir.Write("libs/my lib.jar", "");
    host.fileAnswers = {{archive}};
    project->ShowArchiveContents();
    EXPECT_FALSE(host.fileRequests.at(0).save);
    EXPECT_EQ(host.fileRequests.at(0).filter, "Java Archives (*.jar)|*.jar||");
    const CProcessRunner& runner = LastRunner();
    // Quoted: a name with blanks reaches the tool as one name.
    EXPECT_EQ(runner.GetCommandLine(), "jar tvf \"my lib.jar\"");
    EXPECT_EQ(runner.GetWorkingDirectory(), dir.File("libs"));
    EXPECT_EQ(host.captions, std::vector<std::string>{"Listing jar " + archive});
}
