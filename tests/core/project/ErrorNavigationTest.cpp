#include "core/project/ErrorNavigation.h"

#include "core/app/Settings.h"
#include "core/process/ProcessRunner.h"
#include "core/project/JavaProjectDoc.h"

#include "FakeUiHost.h"

#include <gtest/gtest.h>

using namespace tovin;
using namespace tovin::test;

namespace {

using Names = std::vector<std::string>;

struct SLineRow {
    const char* name;
    std::string line;
    Names files;
    std::optional<SMessageTarget> expected;
};

SMessageTarget Target(std::string file, int javaLine, std::optional<int> scriptLine = {}) {
    return {std::move(file), javaLine, scriptLine};
}

class MatchMessageLineTest : public ::testing::TestWithParam<SLineRow> {};

TEST_P(MatchMessageLineTest, FindsFileAndLine) {
    const SLineRow& row = GetParam();
    EXPECT_EQ(MatchMessageLine(row.line, row.files), row.expected);
}

const Names kProject = {"A.java", "Helper.java", "s.py", "build.xml"};

INSTANTIATE_TEST_SUITE_P(
    Rules, MatchMessageLineTest,
    ::testing::Values(
        SLineRow{"JavacAbsolutePath", "/home/u/p/A.java:12: error: ';' expected", kProject,
                 Target("A.java", 11)},
        SLineRow{"JavacBarePathAtStart", "A.java:3: error: cannot find symbol", kProject,
                 Target("A.java", 2)},
        SLineRow{"WindowsBackslashPath", "C:\\p\\Helper.java:7: warning", kProject,
                 Target("Helper.java", 6)},
        SLineRow{"StackTrace", "\tat p.A.main(A.java:12)", kProject, Target("A.java", 11)},
        SLineRow{"FindInFilesResult", "/p/A.java:3: at char 0 ", kProject, Target("A.java", 2)},
        SLineRow{"JythonTraceback", "  File \"/p/s.py\", line 4, in <module>", kProject,
                 Target("s.py", -1, 3)},
        SLineRow{"LineWordInFolderBeforeName", "  File \"/home/caroline/s.py\", line 17, in f",
                 kProject, Target("s.py", -1, 16)},
        SLineRow{"LineWordWithoutNumber", "/p/s.py: deadline", kProject, Target("s.py", -1, -1)},
        SLineRow{"LineWordAtEndOfLine", "/p/s.py:2: line", kProject, Target("s.py", 1, -1)},
        SLineRow{"NoDigitsGiveLineMinusOne", "/p/A.java: error", kProject, Target("A.java", -1)},
        SLineRow{"NameAtEndOfLine", "see /p/A.java", kProject, Target("A.java", -1)},
        SLineRow{"HugeNumberHeld", "/p/A.java:99999999999999999999:", kProject,
                 Target("A.java", 2147483646)},
        SLineRow{"NameInsideLongerName", "/p/BA.java:4: error", kProject, std::nullopt},
        SLineRow{"FirstOccurrenceDecidesEvenIfLaterMatches", "xA.java and /p/A.java:4:", kProject,
                 std::nullopt},
        SLineRow{"NameAfterBlankDoesNotMatch", "error in A.java:4", kProject, std::nullopt},
        SLineRow{"NonProjectFile", "/p/Other.java:4: error", kProject, std::nullopt},
        SLineRow{"EarlierListEntryWins", "(Helper.java:5) /p/A.java:9:",
                 Names{"A.java", "Helper.java"}, Target("A.java", 8)},
        SLineRow{"LaterEntryWhenEarlierDoesNotMatch", "(Helper.java:5) xA.java:9:",
                 Names{"A.java", "Helper.java"}, Target("Helper.java", 4)},
        SLineRow{"EmptyLine", "", kProject, std::nullopt},
        SLineRow{"EmptyNameNeverMatches", "anything:4:", Names{""}, std::nullopt}),
    [](const ::testing::TestParamInfo<SLineRow>& info) { return info.param.name; });

struct STextRow {
    const char* name;
    std::string text;
    std::size_t n;
    std::optional<std::string> expected;
};

class OutputLineTest : public ::testing::TestWithParam<STextRow> {};

TEST_P(OutputLineTest, TakesTheTextBetweenLineBreaks) {
    const STextRow& row = GetParam();
    std::optional<std::string_view> line = OutputLine(row.text, row.n);
    EXPECT_EQ(line ? std::optional<std::string>(std::string(*line)) : std::nullopt, row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, OutputLineTest,
    ::testing::Values(STextRow{"FirstLine", "one\r\ntwo\r\nthree", 0, "one"},
                      STextRow{"MiddleLine", "one\r\ntwo\r\nthree", 1, "two"},
                      STextRow{"LastLineWithoutBreakIsNeverUsed", "one\r\ntwo\r\nthree", 2,
                               std::nullopt},
                      STextRow{"BeyondTheText", "one\r\n", 5, std::nullopt},
                      STextRow{"EmptyLineIsFound", "\r\nA.java:1:\r\n", 0, ""},
                      STextRow{"LoneLineFeedDoesNotBreak", "a\nb\r\nc", 0, "a\nb"},
                      STextRow{"LoneCarriageReturnDoesNotBreak", "a\rb\r\n", 0, "a\rb"},
                      STextRow{"EmptyText", "", 0, std::nullopt}),
    [](const ::testing::TestParamInfo<STextRow>& info) { return info.param.name; });

TEST(FindMessageTargetTest, UsesLineNOfTheText) {
    const std::string text = "\r\n/p/A.java:3: at char 0 \r\n/p/Helper.java:8: at char 2 \r\n";
    EXPECT_EQ(FindMessageTarget(text, 0, kProject), std::nullopt);
    EXPECT_EQ(FindMessageTarget(text, 2, kProject), Target("Helper.java", 7));
    EXPECT_EQ(FindMessageTarget(text, 3, kProject), std::nullopt);
}

TEST(FindMessageTargetTest, LastLineIsNotUsedEvenWhenItNamesAFile) {
    EXPECT_EQ(FindMessageTarget("x\r\n/p/A.java:3: error", 1, kProject), std::nullopt);
}

// ---------------------------------------------------------------- through the project

class NavigateToMessageTest : public ::testing::Test {
protected:
    NavigateToMessageTest() : project(settings, host) {
        project.AddFile("/src/p/A.java");
        project.AddFile("/src/p/s.py");
        project.AddFile("/src/build.xml");
        host.documents["/src/p/A.java"].kind = EDocumentKind::JavaSource;
        host.documents["/src/p/s.py"].kind = EDocumentKind::Jython;
        host.documents["/src/build.xml"].kind = EDocumentKind::Xml;
    }

    std::vector<int> Shown(const std::string& path) { return host.documents[path].shownLines; }

    CSettings settings;
    CFakeUiHost host;
    CJavaProjectDoc project;
};

TEST_F(NavigateToMessageTest, JavaMessageOpensTheFileAtTheLine) {
    EXPECT_TRUE(NavigateToMessage(project, "/tmp/build/A.java:12: error: ';' expected"));
    EXPECT_EQ(host.openedPaths, std::vector<std::string>{"/src/p/A.java"});
    EXPECT_EQ(Shown("/src/p/A.java"), std::vector<int>{11});
}

TEST_F(NavigateToMessageTest, JythonTracebackUsesTheLineWord) {
    EXPECT_TRUE(NavigateToMessage(project, "  File \"/src/p/s.py\", line 4, in <module>"));
    EXPECT_EQ(Shown("/src/p/s.py"), std::vector<int>{3});
}

// Ant names its build file's line as the compiler does, also inside a task's own output.
TEST_F(NavigateToMessageTest, AntMessagesGoToTheBuildFilesLine) {
    const char* const lines[] = {
        "/src/build.xml:9: Compile failed; see the compiler error output for details.",
        "    [javac] /src/build.xml:9: warning: 'includeantruntime' was not set",
        "/src/build.xml:9: the deadline line 3 passed"};
    for (const char* line : lines) {
        host.documents["/src/build.xml"].shownLines.clear();
        EXPECT_TRUE(NavigateToMessage(project, line)) << line;
        EXPECT_EQ(Shown("/src/build.xml"), std::vector<int>{8}) << line;
    }
    host.documents["/src/build.xml"].shownLines.clear();
    EXPECT_TRUE(NavigateToMessage(project, "/src/build.xml: Target \"x\" does not exist"));
    EXPECT_EQ(Shown("/src/build.xml"), std::vector<int>{}) << "no line: only opened";
}

TEST_F(NavigateToMessageTest, OtherDocumentKindIsOnlyOpened) {
    host.documents["/src/p/A.java"].kind = EDocumentKind::Other;
    EXPECT_TRUE(NavigateToMessage(project, "A.java:2: line 7"));
    EXPECT_EQ(Shown("/src/p/A.java"), std::vector<int>{});
}

TEST_F(NavigateToMessageTest, NonProjectFileOpensNothing) {
    EXPECT_FALSE(NavigateToMessage(project, "/src/p/B.java:12: error"));
    EXPECT_EQ(host.openedPaths, std::vector<std::string>{});
}

TEST_F(NavigateToMessageTest, DocumentThatDoesNotOpenGivesFalse) {
    host.documents.erase("/src/p/A.java");
    EXPECT_FALSE(NavigateToMessage(project, "/src/p/A.java:12: error"));
    EXPECT_EQ(host.openedPaths, std::vector<std::string>{"/src/p/A.java"});
}

} // namespace

TEST(CompilerMessagesTest, TakesTheErrorAndWarningLinesOfTheOutput) {
    const std::string output =
        "/p/A.java:3: error: incompatible types: String cannot be converted to int\r\n"
        "        int x = \"text\";\r\n"
        "                ^\r\n"
        "src/B.java:12: warning: [removal] Integer(int) in Integer has been deprecated\n"
        "Note: /p/C.java:4: uses unchecked or unsafe operations.\r\n"
        "\tat A.main(A.java:7)\r\n"
        "/p/D.java:0: error: no line\r\n"
        ":5: error: no file\r\n"
        "/p/E.java:x: error: no number\r\n"
        "1 error\r\n"
        "Exit code: 1\r\n"
        "There were errors";
    const std::vector<SCompilerMessage> messages = CompilerMessages(output, "/work");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].path, "/p/A.java");
    EXPECT_EQ(messages[0].line, 2);
    EXPECT_TRUE(messages[0].error);
    EXPECT_EQ(messages[0].text, "error: incompatible types: String cannot be converted to int");
    EXPECT_EQ(messages[1].path, "/work/src/B.java");
    EXPECT_EQ(messages[1].line, 11);
    EXPECT_FALSE(messages[1].error);
    EXPECT_EQ(messages[1].text, "warning: [removal] Integer(int) in Integer has been deprecated");
}
