#include "CommandFixture.h"

using namespace tovin;
using namespace tovin::test;

namespace {

class BuildCommands : public CommandTest {};

} // namespace

TEST_F(BuildCommands, BuildPassesEveryJavaEntryWithTheOptions) {
    const std::string a = AddJava("src/A.java");
    const std::string b = AddJava("src/B.java");
    project->SetCompileOptions("-g");
    project->SetClassPath("/lib");
    project->SetCompileDir("/out");
    project->SetMainFile("A.java");
    project->Build();
    const CProcessRunner& runner = LastRunner();
    EXPECT_EQ(runner.GetApplicationPath(), Tool("javac"));
    EXPECT_EQ(runner.GetCommandLine(),
              "javac -g -classpath \"/lib:.\" -d \"/out\" \"" + a + "\" \"" + b + "\"");
    EXPECT_EQ(runner.GetWorkingDirectory(), dir.File("src"));
    EXPECT_EQ(CurrentFolder(), dir.File("src"));
    EXPECT_EQ(host.captions, std::vector<std::string>{"Building \"A.java\""});
    EXPECT_EQ(host.waitCursorDepth, 0);
}

TEST_F(BuildCommands, BuildSkipsFilesTheCompilerDoesNotTake) {
    const std::string upper = AddJava("p/Foo.JAVA");
    AddJava("p/script.py");
    AddJava("p/build.xml");
    const std::string main = AddJava("p/Main.java");
    project->Build();
    // No main file was set: the last ".java" entry is chosen.
    EXPECT_EQ(project->GetMainFileName(), "Main.java");
    EXPECT_EQ(LastRunner().GetCommandLine(), "javac \"" + upper + "\" \"" + main + "\"");
}

TEST_F(BuildCommands, BuildOfOnlyScriptsEndsWithTheOptions) {
    AddJava("p/a.py");
    project->SetMainFile("a.py");
    project->Build();
    EXPECT_EQ(LastRunner().GetCommandLine(), "javac ");
}

TEST_F(BuildCommands, BuildCompilesFromTheMainPackagesClassRoot) {
    AddJava("p/src/com/acme/App.java", "com.acme");
    project->SetMainFile("App.java");
    project->Build();
    EXPECT_EQ(LastRunner().GetWorkingDirectory(), dir.File("p/src"));
}

TEST_F(BuildCommands, BuildWithoutFilesSaysSo) {
    project->Build();
    EXPECT_EQ(host.MessageTexts(),
              std::vector<std::string>{"You must add a file to the project in order to build."});
    EXPECT_TRUE(host.runners.empty());
}

TEST_F(BuildCommands, BuildOfARemovedMainFileSaysSo) {
    AddJava("p/A.java");
    project->SetMainFile("Gone.java");
    project->Build();
    EXPECT_EQ(host.MessageTexts(),
              std::vector<std::string>{"The main file \"Gone.java\" is no longer in the project. "
                                       "Please specify a main Java file first."});
    EXPECT_TRUE(host.runners.empty());
}

TEST_F(BuildCommands, SaveCompSavesFirstAndAFailedSaveStopsTheCompile) {
    AddJava("p/A.java");
    project->Build();
    EXPECT_EQ(host.saveAllCount, 0);
    LastRunner();
    settings.saveComp = 1;
    project->Build();
    EXPECT_EQ(host.saveAllCount, 1);
    LastRunner();
    // A save that failed (the host has said why) leaves every compile command unstarted.
    host.saveResult = false;
    host.runners.clear();
    project->Build();
    project->CompileFile(dir.File("p/A.java"), "");
    host.folderAnswers = {Folder("p")};
    project->CompileFolder();
    EXPECT_EQ(host.saveAllCount, 4);
    EXPECT_TRUE(host.runners.empty());
}

TEST_F(BuildCommands, MovedProjectBuildsWhereItNowIs) {
    Folder("old");
    {
        CJavaProjectDoc original(settings, host);
        ASSERT_EQ(original.Save(dir.File("old/p.jpr")), "");
        original.AddFile(dir.File("old/src/com/x/A.java"));
        original.JavaFiles().Item(0)->SetPackage("com.x");
        original.SetMainFile("A.java");
        ASSERT_EQ(original.Save(dir.File("old/p.jpr")), "");
    }
    dir.Write("new/p.jpr", ReadFile(dir.File("old/p.jpr")));
    const std::string moved = dir.Write("new/src/com/x/A.java", "");
    ASSERT_EQ(project->Load(dir.File("new/p.jpr")), "");
    project->Build();
    const CProcessRunner& runner = LastRunner();
    EXPECT_EQ(runner.GetCommandLine(), "javac \"" + moved + "\"");
    EXPECT_EQ(runner.GetWorkingDirectory(), dir.File("new/src"));
    EXPECT_TRUE(project->IsModified());
}

TEST_F(BuildCommands, CompileFileUsesThePackageGiven) {
    const std::string path = dir.Write("p/src/com/acme/X.java", "");
    project->SetClassPath("/lib");
    project->CompileFile(path, "com.acme");
    const CProcessRunner& runner = LastRunner();
    EXPECT_EQ(runner.GetCommandLine(), "javac -classpath \"/lib:.\" \"" + path + "\"");
    EXPECT_EQ(runner.GetWorkingDirectory(), dir.File("p/src"));
    EXPECT_EQ(host.captions, std::vector<std::string>{"Compiling \"" + path + "\""});
}

TEST_F(BuildCommands, CompileFolderAsksForTheFolder) {
    project->CompileFolder();
    EXPECT_TRUE(host.runners.empty());
    const std::string folder = Folder("lib");
    host.folderAnswers = {folder};
    project->CompileFolder();
    const CProcessRunner& runner = LastRunner();
    EXPECT_EQ(runner.GetCommandLine(), "javac *.java");
    EXPECT_EQ(runner.GetWorkingDirectory(), folder);
    ASSERT_EQ(host.folderRequests.size(), 2u);
    EXPECT_EQ(host.folderRequests[1].first, "Choose a folder to compile:");
    EXPECT_EQ(host.captions, std::vector<std::string>{"Compiling \"" + folder + "\""});
}

TEST_F(BuildCommands, SdkFamilyCompilesWithItsCompiler) {
    settings.javaVersion = 1;
    settings.msJavaBin = settings.javaBin;
    std::filesystem::create_symlink("/bin/true", Tool("jvc"));
    const std::string path = AddJava("p/A.java");
    project->Build();
    EXPECT_EQ(LastRunner().GetApplicationPath(), Tool("jvc"));
    EXPECT_EQ(LastRunner().GetCommandLine(), "jvc \"" + path + "\"");
}
