#include "core/project/AntCommands.h"

#include "core/app/Settings.h"
#include "core/process/ProcessRunner.h"
#include "core/project/JavaProjectDoc.h"

#include "FakeUiHost.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace tovin;
using namespace tovin::test;

namespace {

// The generated file for project name N, base folder B, class path C and build folder D,
// written out in full so that every byte is pinned.
std::string ExpectedScript(const std::string& n, const std::string& b, const std::string& c,
                           const std::string& d) {
    return "<?xml version=\"1.0\"?>\n"
           "<project name=\"" +
           n + "\" basedir=\"" + b + "\" default=\"compile\">\n" + "\n" +
           "\t<property name=\"cpath\" value=\"" + c + "\"/>\n" + "\n" +
           "\t<property name=\"build.dir\" value=\"" + d + "\"/>\n" +
           "\n"
           "\t<target name=\"compile\">\n"
           "\t\t<javac srcdir=\"${basedir}\" destdir=\"${build.dir}\" classpath=\"${cpath}\" />\n"
           "\t</target>\n"
           "\n"
           "\t<target name=\"clean\">\n"
           "\t\t<delete>\n"
           "\t\t\t<fileset dir=\"${basedir}\">\n"
           "\t\t\t\t<include name=\"**/*.class\"/>\n"
           "\t\t\t\t<include name=\"docs/api/**\"/>\n"
           "\t\t\t</fileset>\n"
           "\t\t</delete>\n"
           "\t</target>\n"
           "\n"
           "\t<target name=\"jar\" depends=\"compile\">\n"
           "\t\t<jar destfile=\"" +
           n +
           ".jar\">\n"
           "\t\t\t<fileset dir=\"${build.dir}\">\n"
           "\t\t\t\t<include name=\"**/*.class\"/>\n"
           "\t\t\t</fileset>\n"
           "\t\t</jar>\n"
           "\t</target>\n"
           "\n"
           "\t<target name=\"docs\" depends=\"compile\">\n"
           "\t<!-- NOTE: This will not work if your classes are not in packages! -->\n"
           "\t\t<javadoc destdir=\"docs/api\">\n"
           "\t\t\t<fileset dir=\"${basedir}\">\n"
           "\t\t\t\t<include name=\"**/*.java\"/>\n"
           "\t\t\t</fileset>\n"
           "\t\t</javadoc>\n"
           "\t</target>\n"
           "</project>\n";
}

class AntScriptTest : public ::testing::Test {
protected:
    AntScriptTest() : doc(settings, host) {}

    void SetProject(const std::string& mainFile, const std::string& workingDir,
                    const std::string& classPath, const std::string& compileDir) {
        if (!mainFile.empty()) {
            doc.AddFile(dir.Write(mainFile, "class X {}\n"));
            doc.SetMainFile(mainFile);
        }
        doc.SetWorkingDir(workingDir);
        doc.SetClassPath(classPath);
        doc.SetCompileDir(compileDir);
    }

    CSettings settings;
    CFakeUiHost host;
    CJavaProjectDoc doc;
    CTempDir dir;
};

} // namespace

TEST_F(AntScriptTest, GeneratedTextIsExact) {
    struct Row {
        const char* name;
        std::string mainFile, workingDir, classPath, compileDir;
        std::string n, b, c, d;
    };
    const Row rows[] = {
        {"empty values give dots", "Hello.java", "", "", "", "Hello", ".", ".", "."},
        {"working directory with backslashes", "App.java", "C:\\work\\app", "C:\\lib;x.jar",
         "C:\\out", "App", "C:/work/app", "C:\\lib;x.jar", "C:\\out"},
        {"every .java is removed", "My.javaTool.java", "/home/u/app", "/opt/a.jar:/opt/b", "bin",
         "MyTool", "/home/u/app", "/opt/a.jar:/opt/b", "bin"},
        {"XML specials are escaped", "A&B.java", "/tmp/\"q\"", "<cp>", "", "A&amp;B",
         "/tmp/&quot;q&quot;", "&lt;cp&gt;", "."},
    };
    for (const auto& row : rows) {
        CFakeUiHost rowHost;
        CJavaProjectDoc project(settings, rowHost);
        project.AddFile(dir.Write(row.mainFile, "class X {}\n"));
        project.SetMainFile(row.mainFile);
        project.SetWorkingDir(row.workingDir);
        project.SetClassPath(row.classPath);
        project.SetCompileDir(row.compileDir);
        const std::string text = ComposeAntScript(GetAntScriptValues(project));
        EXPECT_EQ(text, ExpectedScript(row.n, row.b, row.c, row.d)) << row.name;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 37) << row.name;
    }
}

TEST_F(AntScriptTest, WritesTheChosenFileAndAddsItToTheProject) {
    SetProject("Hello.java", "", "", "");
    const std::string target = dir.File("build.xml");
    host.fileAnswers.push_back({target});
    int refreshes = 0;
    doc.SetRefreshCallback([&] { ++refreshes; });

    EXPECT_EQ(CreateAntScript(doc), target);

    ASSERT_EQ(host.fileRequests.size(), 1u);
    const SFileDialogRequest& request = host.fileRequests[0];
    EXPECT_TRUE(request.save);
    EXPECT_TRUE(request.confirmOverwrite);
    EXPECT_TRUE(request.hideReadOnly);
    EXPECT_EQ(request.defaultExtension, "xml");
    EXPECT_EQ(request.proposedName, "build.xml");
    EXPECT_EQ(request.filter, "XML Files (*.xml)|*.xml||");
    EXPECT_EQ(ReadFile(target), ExpectedScript("Hello", ".", ".", "."));
    EXPECT_NE(doc.JavaFiles().FindByFullPath(target), nullptr);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(refreshes, 1);
    EXPECT_TRUE(host.messages.empty());

    // The new entry lists its targets when the class information is rebuilt.
    doc.RebuildClassInformation();
    const CJavaFile* entry = doc.JavaFiles().FindByFullPath(target);
    ASSERT_EQ(entry->Functions().GetCount(), 4);
    EXPECT_EQ(entry->Functions().Item(0)->GetName(), "compile");
    EXPECT_EQ(entry->Functions().Item(0)->GetPosition(), 7);
    EXPECT_EQ(entry->Functions().Item(3)->GetName(), "docs");
}

TEST_F(AntScriptTest, RefusalsAndFailures) {
    // No main file: the message, and no dialog.
    EXPECT_EQ(CreateAntScript(doc), "");
    EXPECT_EQ(host.MessageTexts(),
              std::vector<std::string>{"Please specify a main Java file first"});
    EXPECT_TRUE(host.fileRequests.empty());

    // Cancelled dialog: nothing written or added.
    SetProject("Hello.java", "", "", "");
    host.messages.clear();
    EXPECT_EQ(CreateAntScript(doc), "");
    EXPECT_EQ(doc.JavaFiles().GetCount(), 1);
    EXPECT_TRUE(host.messages.empty());

    // A file that cannot be written: the message, the project unchanged.
    host.fileAnswers.push_back({dir.File("missing/build.xml")});
    EXPECT_EQ(CreateAntScript(doc), "");
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Unable to save file."});
    EXPECT_EQ(doc.JavaFiles().GetCount(), 1);
}

TEST_F(AntScriptTest, ReplacingAFileThatIsAlreadyInTheProject) {
    SetProject("Hello.java", "", "", "");
    const std::string target = dir.Write("build.xml", "old");
    doc.AddFile(target);
    host.fileAnswers.push_back({target});
    EXPECT_EQ(CreateAntScript(doc), target);
    EXPECT_EQ(ReadFile(target), ExpectedScript("Hello", ".", ".", "."));
    EXPECT_EQ(doc.JavaFiles().GetCount(), 2);
}
