#include "core/project/AntCommands.h"

#include "core/app/Settings.h"
#include "core/process/ProcessRunner.h"
#include "core/project/JavaProjectDoc.h"

#include "FakeUiHost.h"
#include "TempDir.h"
#include "ToolScripts.h"

#include <gtest/gtest.h>

using namespace tovin;
using namespace tovin::test;

TEST(AntRun, ArchivesOfTheLibFolderSortedByName) {
    CTempDir dir;
    for (const char* name : {"b.jar", "ant.jar", "notes.txt", "a.jar.txt", "Z.jar"}) {
        dir.Write("lib/" + std::string(name), "x");
    }
    EXPECT_EQ(ListArchives(dir.File("lib")),
              (std::vector<std::string>{"Z.jar", "ant.jar", "b.jar"}));
    EXPECT_EQ(ListArchives(dir.File("missing")), std::vector<std::string>{});
}

TEST(AntRun, CommandLine) {
    CSettings settings;
    settings.javaBin = "/jdk";
    settings.msJavaBin = "/usr/share/ant";
    const std::string classPath = GetAntClassPath(settings, {"ant.jar", "ant-launcher.jar"});
    EXPECT_EQ(classPath, "/jdk/lib/tools.jar:ant.jar:ant-launcher.jar:");
    EXPECT_EQ(GetAntClassPath(settings, {}), "/jdk/lib/tools.jar:");

    const std::string start = " -classpath \"/jdk/lib/tools.jar:ant.jar:ant-launcher.jar:\" "
                              "-Dant.home=\"/usr/share/ant\" org.apache.tools.ant.Main "
                              "-buildfile \"/p/build.xml\"";
    EXPECT_EQ(GetAntCommandLine(settings, classPath, "/p/build.xml", ""), start);
    EXPECT_EQ(GetAntCommandLine(settings, classPath, "/p/build.xml", "jar"), start + " jar");
    EXPECT_EQ(GetAntCommandLine(settings, classPath, "/p/build.xml", "two words"),
              start + " \"two words\"");
}

TEST(AntRun, RunsTheLauncherInTheLibFolder) {
    CTempDir dir;
    CToolScripts tools;
    CSettings settings;
    settings.javaBin = dir.File("jdk");
    settings.msJavaBin = dir.File("ant");
    tools.Install(settings.javaBin, {"java"});
    dir.Write("ant/lib/ant.jar", "x");
    CFakeUiHost host;
    CJavaProjectDoc doc(settings, host);
    ASSERT_EQ(doc.Save(dir.File("p.jpr")), "");

    ASSERT_TRUE(RunAnt(doc, "/b/build.xml", "dist"));
    const std::string lib = dir.File("ant/lib");
    EXPECT_EQ(WaitForOutput(host), "-classpath|" + settings.javaBin +
                                       "/lib/tools.jar:ant.jar:|-Dant.home=" + settings.msJavaBin +
                                       "|org.apache.tools.ant.Main|-buildfile|/b/build.xml|dist|"
                                       "\r\n" +
                                       lib + "\r\n");
    EXPECT_EQ(host.captions, std::vector<std::string>{"Ant: \"/b/build.xml\" dist"});

    // "Run Ant..." takes build.xml beside the project file, without a target.
    ASSERT_TRUE(RunProjectAnt(doc));
    EXPECT_NE(WaitForOutput(host).find("|-buildfile|" + dir.File("build.xml") + "|\r\n"),
              std::string::npos);
    EXPECT_EQ(host.captions, (std::vector<std::string>{"Ant: \"/b/build.xml\" dist",
                                                       "Ant: \"" + dir.File("build.xml") + "\""}));
}

TEST(AntRun, ProjectNeverSavedAsksToBeSavedFirst) {
    CSettings settings;
    settings.javaBin = "/jdk";
    CFakeUiHost host;
    CJavaProjectDoc doc(settings, host);
    EXPECT_FALSE(RunProjectAnt(doc));
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Please save the project first"});
    EXPECT_TRUE(host.runners.empty());
}
