#include "E2eFixture.h"

using namespace tovin;
using namespace tovin::test;

namespace {

class JarE2e : public E2eTest {
protected:
    // Names listed by "jar tf", in the archive's order.
    std::vector<std::string> Entries(const std::string& archive) {
        std::vector<std::string> lines =
            OutputLines(RunJdkTool("jar", "tf \"" + archive + "\"", dir.Path()));
        lines.resize(lines.size() >= 2 ? lines.size() - 2 : 0); // the exit report
        return lines;
    }
};

} // namespace

TEST_F(JarE2e, MainFolderArchiveOfACompileDirectoryRuns) {
    LoadExample("HelloApp");
    project->SetCompileDir(dir.File("classes"));
    std::filesystem::create_directories(dir.File("classes"));
    BuildOk();
    const std::string archive = dir.File("dist/hello.jar");
    std::filesystem::create_directories(dir.File("dist"));
    host.fileAnswers = {{archive}};
    project->JarMainFolder();
    const std::string output = ToolOutput();
    ASSERT_TRUE(output.ends_with("No Errors")) << output;
    EXPECT_EQ(ReadFile(dir.File("dist/manifest.txt")), "Main-Class: com.example.hello.HelloApp\n");
    EXPECT_EQ(RunJdkTool("java", "-jar \"" + archive + "\" Jo", dir.Path()),
              "Hello, Jo!\r\nExit code: 0\r\nNo Errors");
}

TEST_F(JarE2e, MainFolderArchiveOfClassesBesideTheSourcesHoldsOnlyTheClasses) {
    LoadExample("HelloApp");
    dir.Write("HelloApp/src/com/example/notes.txt", "not for the archive\n");
    BuildOk();
    const std::string archive = dir.File("hello.jar");
    host.fileAnswers = {{archive}};
    project->JarMainFolder();
    ASSERT_TRUE(ToolOutput().ends_with("No Errors"));
    EXPECT_EQ(Entries(archive), (std::vector<std::string>{"META-INF/", "META-INF/MANIFEST.MF",
                                                          "com/example/hello/HelloApp.class",
                                                          "com/example/util/Greeting.class"}));
    EXPECT_EQ(RunJdkTool("java", "-jar \"" + archive + "\"", dir.Path()),
              "Hello, world!\r\nExit code: 0\r\nNo Errors");
}

TEST_F(JarE2e, MainFolderArchiveWithoutPackageRuns) {
    const std::string main =
        dir.Write("plain/Plain.java", "public class Plain {\n"
                                      "    public static void main(String[] a) {\n"
                                      "        System.out.println(\"plain\");\n"
                                      "    }\n"
                                      "}\n");
    ASSERT_EQ(project->Save(dir.File("plain/plain.jpr")), "");
    project->AddFile(main);
    BuildOk();
    host.fileAnswers = {{dir.File("plain/Plain.jar")}};
    project->JarMainFolder();
    ASSERT_TRUE(ToolOutput().ends_with("No Errors"));
    EXPECT_EQ(Entries(dir.File("plain/Plain.jar")),
              (std::vector<std::string>{"META-INF/", "META-INF/MANIFEST.MF", "Plain.class"}));
    EXPECT_EQ(RunJdkTool("java", "-jar Plain.jar", dir.File("plain")),
              "plain\r\nExit code: 0\r\nNo Errors");
}

TEST_F(JarE2e, AnyFolderAndArchiveContentsListTheFolderUnderItsName) {
    const std::string folder = CopyExample("HelloApp") + "/src/com/example/util";
    const std::string archive = dir.File("my util.jar");
    host.folderAnswers = {folder};
    host.fileAnswers = {{archive}};
    project->JarAnyFolder();
    ASSERT_TRUE(ToolOutput().ends_with("No Errors"));
    EXPECT_EQ(Entries(archive), (std::vector<std::string>{"META-INF/", "META-INF/MANIFEST.MF",
                                                          "util/", "util/Greeting.java"}));

    host.fileAnswers = {{archive}};
    project->ShowArchiveContents();
    const std::string listing = ToolOutput();
    EXPECT_NE(listing.find(" util/Greeting.java\r\n"), std::string::npos) << listing;
    EXPECT_TRUE(listing.ends_with("No Errors")) << listing;
}
