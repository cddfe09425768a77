#include "E2eFixture.h"

#include <regex>

using namespace tovin;
using namespace tovin::test;

namespace {

class BuildRunE2e : public E2eTest {};

} // namespace

TEST_F(BuildRunE2e, BuildOfTheApplicationLeavesItsClasses) {
    const std::string folder = LoadExample("HelloApp");
    BuildOk();
    EXPECT_TRUE(FileExists(folder + "/src/com/example/hello/HelloApp.class"));
    EXPECT_TRUE(FileExists(folder + "/src/com/example/util/Greeting.class"));
    // The copy is a moved project: its entries were re-based before the compiler saw them.
    EXPECT_EQ(project->GetFullPath("Greeting.java"),
              folder + "/src/com/example/util/Greeting.java");
}

TEST_F(BuildRunE2e, BuildOfTheBrokenProjectNamesTheFileAndLine) {
    const std::string folder = LoadExample("BrokenApp");
    project->Build();
    const std::vector<std::string> lines = OutputLines(ToolOutput());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.back(), "There were errors");
    const std::string expected = folder + "/src/BrokenApp.java:4: error:";
    const bool named = std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.starts_with(expected);
    });
    EXPECT_TRUE(named) << "no line starts with " << expected;
    EXPECT_FALSE(FileExists(folder + "/src/BrokenApp.class"));
}

TEST_F(BuildRunE2e, RunPrintsTheProgramsOutputThenNoErrors) {
    LoadExample("HelloApp");
    BuildOk();
    project->Run(true);
    EXPECT_EQ(ToolOutput(), "Hello, world!\r\nExit code: 0\r\nNo Errors");

    settings.showArgs = 1;
    host.argumentAnswers = {std::string("Ann \"Bo Lee\"")};
    project->Run(true);
    EXPECT_EQ(ToolOutput(), "Hello, Ann!\r\nHello, Bo Lee!\r\nExit code: 0\r\nNo Errors");
}

TEST_F(BuildRunE2e, StackTraceLinesNameProjectFiles) {
    const std::string main =
        dir.Write("crash/src/demo/Crash.java", "package demo;\n"
                                               "\n"
                                               "public class Crash {\n"
                                               "    public static void main(String[] args) {\n"
                                               "        new Helper().fail();\n"
                                               "    }\n"
                                               "}\n");
    const std::string helper = dir.Write("crash/src/demo/Helper.java",
                                         "package demo;\n"
                                         "\n"
                                         "class Helper {\n"
                                         "    void fail() {\n"
                                         "        throw new IllegalStateException(\"boom\");\n"
                                         "    }\n"
                                         "}\n");
    ASSERT_EQ(project->Save(dir.File("crash/crash.jpr")), "");
    project->AddFile(main);
    project->AddFile(helper);
    for (const auto& entry : project->JavaFiles()) {
        entry->SetPackage("demo");
    }
    project->SetMainFile("Crash.java");
    BuildOk();
    project->Run(true);
    const std::string output = ToolOutput();
    EXPECT_NE(output.find("java.lang.IllegalStateException: boom"), std::string::npos) << output;
    EXPECT_TRUE(output.ends_with("Exit code: 1\r\nThere were errors")) << output;

    std::map<std::string, int> frames;
    const std::regex frame(R"(\((\w+\.java):(\d+)\))");
    for (std::sregex_iterator it(output.begin(), output.end(), frame), end; it != end; ++it) {
        frames[(*it)[1]] = std::stoi((*it)[2]);
        EXPECT_NE(project->GetFullPath((*it)[1]), CJavaProjectDoc::kNoFile) << (*it)[0];
    }
    EXPECT_EQ(frames, (std::map<std::string, int>{{"Crash.java", 5}, {"Helper.java", 5}}));
}

TEST_F(BuildRunE2e, DoubleQuotesInFolderNamesReachTheToolsIntact) {
    // Sources, compile directory and class path all in folders named with double quotes.
    const std::string main =
        dir.Write("dir \"x\"/Q.java", "public class Q {\n"
                                      "    public static void main(String[] args) {\n"
                                      "        System.out.println(\"quoted \" + P.TEXT);\n"
                                      "    }\n"
                                      "}\n");
    const std::string other =
        dir.Write("\"\\\"/P.java", "class P {\n    static final String TEXT = \"ok\";\n}\n");
    const std::string classes = dir.File("out \"y\\\"");
    std::filesystem::create_directories(classes);
    ASSERT_EQ(project->Save(dir.File("dir \"x\"/q.jpr")), "");
    project->AddFile(main);
    project->AddFile(other);
    project->SetMainFile("Q.java");
    project->SetCompileDir(classes);
    project->SetClassPath(classes);

    BuildOk();
    EXPECT_TRUE(FileExists(classes + "/P.class"));
    ASSERT_TRUE(std::filesystem::remove(classes + "/Q.class"));
    project->CompileFile(main, ""); // finds P through the class path
    const std::string output = ToolOutput();
    EXPECT_TRUE(output.ends_with("No Errors")) << output;
    EXPECT_TRUE(FileExists(classes + "/Q.class")) << output;
    project->Run(true);
    EXPECT_EQ(ToolOutput(), "quoted ok\r\nExit code: 0\r\nNo Errors");
}

TEST_F(BuildRunE2e, CompileFolderCompilesEveryJavaFileThere) {
    const std::string folder = CopyExample("HelloApp") + "/src/com/example/util";
    host.folderAnswers = {folder};
    project->CompileFolder();
    const std::string output = ToolOutput();
    EXPECT_TRUE(output.ends_with("No Errors")) << output;
    EXPECT_TRUE(FileExists(folder + "/Greeting.class"));
}

TEST_F(BuildRunE2e, JythonScriptRunsWithTheInstalledJython) {
    if (!FileExists(std::string(kJythonFolder) + "/jython.jar")) {
        GTEST_SKIP() << "jython is not installed";
    }
    const std::string script = dir.Write("py/hello script.py", "import sys\n"
                                                               "print('jython: ' + "
                                                               "' '.join(sys.argv[1:]))\n");
    project->RunJython(script, false, "one \"two three\"");
    const std::vector<std::string> lines = OutputLines(ToolOutput());
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3], "jython: one two three");
    EXPECT_EQ(lines.back(), "No Errors");
}

TEST_F(BuildRunE2e, MissingAppletViewerSaysWhichProgramDidNotStart) {
    LoadExample("AppletDemo");
    BuildOk(); // the applet classes are deprecated but still compile
    // A JDK without appletviewer and a data folder without our own viewer.
    setenv("TOVIN_DATA_DIR", dir.File("no-data").c_str(), 1);
    settings.javaBin = dir.File("jdk-without-tools");
    host.runners.clear();
    project->RunMainApplet();
    unsetenv("TOVIN_DATA_DIR");
    EXPECT_TRUE(host.runners.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Error");
    EXPECT_EQ(host.messages[0].text, "Cannot run \"" + dir.File("jdk-without-tools") +
                                         "/bin/appletviewer\": " + SystemErrorText(ENOENT));
    EXPECT_FALSE(CProcessRunner::IsProcessRunning());
}
