#include "core/project/ToolLocator.h"

#include "core/app/Settings.h"
#include "core/platform/CommandLine.h"

#include <gtest/gtest.h>

using namespace tovin;

namespace {

struct SLocatorRow {
    const char* name;
    int javaVersion;
    std::string (CToolLocator::*operation)() const;
    const char* expected;
};

class ToolLocatorTable : public ::testing::TestWithParam<SLocatorRow> {};

std::string RowName(const ::testing::TestParamInfo<SLocatorRow>& info) {
    return info.param.name;
}

} // namespace

TEST_P(ToolLocatorTable, AnswersFromTheSettings) {
    CSettings settings;
    settings.javaBin = "/jdk";
    settings.msJavaBin = "/sdk";
    settings.jython = "/jy";
    settings.javaVersion = GetParam().javaVersion;
    EXPECT_EQ((CToolLocator(settings).*GetParam().operation)(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Families, ToolLocatorTable,
    ::testing::Values(
        SLocatorRow{"JdkJava", 0, &CToolLocator::GetJavaPath, "/jdk/bin/java"},
        SLocatorRow{"JdkJavac", 0, &CToolLocator::GetJavacPath, "/jdk/bin/javac"},
        SLocatorRow{"JdkAppletViewer", 0, &CToolLocator::GetAppletViewerPath,
                    "/jdk/bin/appletviewer"},
        SLocatorRow{"JdkJavaName", 0, &CToolLocator::GetJavaName, "java"},
        SLocatorRow{"JdkJavacName", 0, &CToolLocator::GetJavacName, "javac"},
        SLocatorRow{"JdkViewerName", 0, &CToolLocator::GetAppletViewerName, "appletviewer"},
        SLocatorRow{"SdkJava", 1, &CToolLocator::GetJavaPath, "/sdk/bin/jview"},
        SLocatorRow{"SdkJavac", 1, &CToolLocator::GetJavacPath, "/sdk/bin/jvc"},
        SLocatorRow{"SdkAppletViewer", 1, &CToolLocator::GetAppletViewerPath,
                    "/sdk/bin/appletviewer"},
        SLocatorRow{"SdkJavaName", 1, &CToolLocator::GetJavaName, "jview"},
        SLocatorRow{"SdkJavacName", 1, &CToolLocator::GetJavacName, "jvc"},
        SLocatorRow{"SdkViewerName", 1, &CToolLocator::GetAppletViewerName, "appletviewer"},
        // The debugger, documentation tool, serialver and jar always come from the JDK.
        SLocatorRow{"SdkJavadoc", 1, &CToolLocator::GetJavadocPath, "/jdk/bin/javadoc"},
        SLocatorRow{"SdkJdb", 1, &CToolLocator::GetJdbPath, "/jdk/bin/jdb"},
        SLocatorRow{"SdkSerialver", 1, &CToolLocator::GetSerialverPath, "/jdk/bin/serialver"},
        SLocatorRow{"SdkJar", 1, &CToolLocator::GetJarPath, "/jdk/bin/jar"},
        // Only the value 1 selects the SDK family.
        SLocatorRow{"Version2IsJdk", 2, &CToolLocator::GetJavacName, "javac"},
        SLocatorRow{"Version2JavaPath", 2, &CToolLocator::GetJavaPath, "/jdk/bin/java"},
        SLocatorRow{"NegativeIsJdk", -1, &CToolLocator::GetJavaName, "java"},
        SLocatorRow{"JythonJar", 0, &CToolLocator::GetJythonJarPath, "/jy/jython.jar"},
        SLocatorRow{"Jythonc", 1, &CToolLocator::GetJythoncScriptPath,
                    "/jy/Tools/jythonc/jythonc.py"}),
    RowName);

TEST(ToolLocator, UsesFoldersExactlyAsStored) {
    CSettings settings;
    settings.javaBin = "/usr/lib/jvm/jdk/";
    settings.msJavaBin = "";
    settings.javaVersion = 1;
    const CToolLocator locator(settings);
    EXPECT_EQ(locator.GetJdbPath(), "/usr/lib/jvm/jdk//bin/jdb");
    EXPECT_EQ(locator.GetJavacPath(), "/bin/jvc");
}

TEST(ToolLocator, FollowsChangedSettingsAtOnce) {
    CSettings settings;
    settings.javaBin = "/old";
    const CToolLocator locator(settings);
    settings.javaBin = "/new";
    EXPECT_EQ(locator.GetJavaPath(), "/new/bin/java");
}

TEST(ToolLocator, QuotedArgumentsComeBackIntactFromTheCommandLine) {
    EXPECT_EQ(CToolLocator::Quote("/a b/C.java"), "\"/a b/C.java\"");
    EXPECT_EQ(CToolLocator::Quote(""), "\"\"");
    EXPECT_EQ(CToolLocator::Quote(R"(dir "x"/Q.java)"), R"("dir \"x\"/Q.java")");
    EXPECT_EQ(CToolLocator::QuoteProgram(R"(/j "k"/java)"), R"("/j k/java")");
    for (const std::string text :
         {"/a b/C.java", R"(dir "x"/Q.java)", R"(C:\out\)", R"(a\"b)", R"(\\")", "*.java", ""}) {
        const std::string line = CToolLocator::QuoteProgram("/opt/a b/javac") + " -d " +
                                 CToolLocator::Quote(text) + " -Dx=" + CToolLocator::Quote(text);
        const auto split = SplitCommandLine(line);
        ASSERT_EQ(split.size(), 4u) << line;
        EXPECT_EQ(split[0].text, "/opt/a b/javac") << line;
        EXPECT_EQ(split[2].text, text) << line;
        EXPECT_TRUE(split[2].quoted) << "never expanded as a wildcard: " << line;
        EXPECT_EQ(split[3].text, "-Dx=" + text) << line;
    }
}
