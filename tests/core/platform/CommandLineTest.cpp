#include "core/platform/CommandLine.h"
#include "core/platform/Spawn.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace tovin;
using tovin::test::CTempDir;

namespace {

struct SArg {
    std::string text;
    bool quoted;
    bool operator==(const SArg&) const = default;
};

std::ostream& operator<<(std::ostream& out, const SArg& arg) {
    return out << "[" << arg.text << "]" << (arg.quoted ? "q" : "");
}

std::vector<SArg> Split(std::string_view line) {
    std::vector<SArg> result;
    for (const auto& argument : SplitCommandLine(line)) {
        result.push_back({argument.text, argument.quoted});
    }
    return result;
}

struct SSplitCase {
    const char* name;
    std::string line;
    std::vector<SArg> expected;
};

const SSplitCase kSplitCases[] = {
    {"EmptyLineHasEmptyProgram", "", {{"", false}}},
    {"ProgramOnly", "javac", {{"javac", false}}},
    {"PlainWords", "javac -g A.java", {{"javac", false}, {"-g", false}, {"A.java", false}}},
    {"LeadingBlankGivesEmptyProgram", " a b", {{"", false}, {"a", false}, {"b", false}}},
    {"TabsAndRunsOfBlanks", "a\tb  \t c  ", {{"a", false}, {"b", false}, {"c", false}}},
    // Options typed on several lines of a multi-line box.
    {"LineBreaksSeparateLikeBlanks",
     "javac\n-g\r\n-deprecation \r\n\n-d\rout\n",
     {{"javac", false}, {"-g", false}, {"-deprecation", false}, {"-d", false}, {"out", false}}},
    {"LineBreakInsideQuotesStays", "p \"a\nb\"\nc", {{"p", false}, {"a\nb", true}, {"c", false}}},
    {"QuotedProgramWithBlank",
     R"("C:\Program Files\x.exe" y)",
     {{R"(C:\Program Files\x.exe)", true}, {"y", false}}},
    {"ProgramKeepsBackslashBeforeQuote", R"(a\"b c)", {{R"(a\b c)", true}}},
    {"ProgramQuotesToggleMidWord", R"(ab"c d"e f)", {{"abc de", true}, {"f", false}}},
    {"QuotedArgumentWithBlank", R"(p "a b" c)", {{"p", false}, {"a b", true}, {"c", false}}},
    {"EscapedQuoteIsLiteralAndUnquoted", R"(p \"a)", {{"p", false}, {R"("a)", false}}},
    {"TwoBackslashesThenQuoteToggles", R"(p a\\"b c")", {{"p", false}, {R"(a\b c)", true}}},
    {"ThreeBackslashesThenQuoteIsLiteral", R"(p a\\\"b)", {{"p", false}, {R"(a\"b)", false}}},
    {"FourBackslashesThenQuoteToggles", R"(p a\\\\"b")", {{"p", false}, {R"(a\\b)", true}}},
    {"BackslashesElsewhereAreLiteral",
     R"(p C:\dir\sub\ x)",
     {{"p", false}, {R"(C:\dir\sub\)", false}, {"x", false}}},
    {"DoubledTrailingBackslashInQuotes",
     R"(p "C:\dir\\" x)",
     {{"p", false}, {R"(C:\dir\)", true}, {"x", false}}},
    {"DoubledQuoteInsideQuotes", R"(p "a""b" c)", {{"p", false}, {R"(a"b)", true}, {"c", false}}},
    {"DoubledQuoteKeepsQuoting", R"(p "a""b c")", {{"p", false}, {R"(a"b c)", true}}},
    {"FourQuotesGiveOneQuote", R"(p """")", {{"p", false}, {R"(")", true}}},
    {"EmptyQuotedArgument", R"(p "" x)", {{"p", false}, {"", true}, {"x", false}}},
    {"EmptyQuotesInsideWord", R"(p a""b)", {{"p", false}, {"ab", true}}},
    {"UnclosedQuoteRunsToTheEnd", R"(p "a  b)", {{"p", false}, {"a  b", true}}},
    {"QuotedPartOfArgument", R"(p a"*"b)", {{"p", false}, {"a*b", true}}},
    {"ZeroByteEndsTheLine", std::string("p a\0b c", 7), {{"p", false}, {"a", false}}},
    {"ComposedCompilerLine",
     R"(javac -classpath "/lib/a.jar:." -d "/out dir" "/src/A.java")",
     {{"javac", false},
      {"-classpath", false},
      {"/lib/a.jar:.", true},
      {"-d", false},
      {"/out dir", true},
      {"/src/A.java", true}}},
};

class SplitCommandLineTest : public testing::TestWithParam<SSplitCase> {};

TEST_P(SplitCommandLineTest, Splits) {
    EXPECT_EQ(Split(GetParam().line), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, SplitCommandLineTest, testing::ValuesIn(kSplitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MatchWildcard, Rows) {
    struct SRow {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const SRow rows[] = {
        {"*", "", true},
        {"?", "", false},
        {"*.java", "A.java", true},
        {"*.java", "A.javax", false},
        {"*.JAVA", "A.java", false},
        {"a*b*c", "aXXbYYc", true},
        {"a*b", "ab", true},
        {"a*b", "abc", false},
        {"a*bc", "abcbc", true},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"?", "\xC3\xA9", true},   // one two-byte character
        {"??", "\xC3\xA9", false}, // is not two characters
        {"*\xC3\xA9", "x\xC3\xA9", true},
        {"[ab]", "a", false}, // brackets are ordinary characters
        {"[ab]", "[ab]", true},
        {"*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(MatchWildcard(row.pattern, row.name), row.matches)
            << row.pattern << " vs " << row.name;
    }
}

class ExpandWildcardsTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"B.java", "A.java", "b.txt", ".hidden.java", "sub/D.java",
                                 "sub/C.java", "dir.java/x"}) {
            m_dir.Write(name, "");
        }
    }
    std::vector<std::string> Expand(const std::string& line) {
        return ExpandWildcards(SplitCommandLine(line), m_dir.Path());
    }
    CTempDir m_dir;
};

TEST_F(ExpandWildcardsTest, Rows) {
    using V = std::vector<std::string>;
    const std::string abs = m_dir.Path();
    struct SRow {
        const char* name;
        std::string line;
        V expected;
    };
    const SRow rows[] = {
        {"SortedFilesAndFolders", "javac *.java", {"javac", "A.java", "B.java", "dir.java"}},
        {"QuestionMark", "javac ?.java", {"javac", "A.java", "B.java"}},
        {"AllNamesInByteOrder", "ls *", {"ls", "A.java", "B.java", "b.txt", "dir.java", "sub"}},
        {"RelativeFolderKeptInFront", "javac sub/*.java", {"javac", "sub/C.java", "sub/D.java"}},
        {"AbsoluteFolder",
         "javac \"-d\" " + abs + "/sub/*.java",
         {"javac", "-d", abs + "/sub/C.java", abs + "/sub/D.java"}},
        {"QuotedPatternStays", "javac \"*.java\"", {"javac", "*.java"}},
        {"PartlyQuotedPatternStays", "javac *\".java\"", {"javac", "*.java"}},
        {"NoMatchStays", "javac *.cpp", {"javac", "*.cpp"}},
        {"HiddenOnlyWithLeadingDot", "javac .*.java", {"javac", ".hidden.java"}},
        {"WildcardInFolderStays", "javac */C.java", {"javac", "*/C.java"}},
        {"MissingFolderStays", "javac missing/*.java", {"javac", "missing/*.java"}},
        {"ProgramNameNotExpanded", "*.java x", {"*.java", "x"}},
        {"MixedWithOptions",
         "javac -g ?.java -d .",
         {"javac", "-g", "A.java", "B.java", "-d", "."}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Expand(row.line), row.expected) << row.name;
    }
}

TEST(JoinCommandLine, RoundTripsAwkwardArguments) {
    const std::vector<std::string> awkward = {
        "",       "a b",        R"(a"b)", R"(a\)", R"(a\\")",    R"(\\server\share\)",
        "*.java", "tab\there",  R"(")",   R"(\")", "plain",      R"(C:\dir\)",
        "a?",     R"(\\\"x\\)", " ",      "\"\"",  "two\nlines", "\r"};
    for (const auto& argument : awkward) {
        std::string line = JoinCommandLine({"prog", argument});
        auto split = SplitCommandLine(line);
        ASSERT_EQ(split.size(), 2u) << line;
        EXPECT_EQ(split[1].text, argument) << line;
        if (argument.find_first_of("*?") != std::string::npos) {
            EXPECT_TRUE(split[1].quoted) << "a wildcard must not be expanded: " << line;
        }
    }
}

TEST(JoinCommandLine, ProgramNameRoundTrips) {
    for (const std::string name : {"", "java", "/opt/my jdk/bin/java", R"(C:\a\)"}) {
        std::string line = JoinCommandLine({name, "x"});
        auto split = SplitCommandLine(line);
        ASSERT_EQ(split.size(), 2u) << line;
        EXPECT_EQ(split[0].text, name) << line;
        EXPECT_EQ(split[1].text, "x") << line;
    }
}

TEST(ShellQuote, Rows) {
    const std::pair<std::string, std::string> rows[] = {
        {"abc", "abc"},
        {"/usr/bin/java", "/usr/bin/java"},
        {"-Dx=y,z:w@1%+", "-Dx=y,z:w@1%+"},
        {"", "''"},
        {"a b", "'a b'"},
        {"it's", R"('it'\''s')"},
        {"$HOME", "'$HOME'"},
        {"a;rm -rf ~", "'a;rm -rf ~'"},
        {"*.java", "'*.java'"},
    };
    for (const auto& [word, quoted] : rows) {
        EXPECT_EQ(ShellQuote(word), quoted);
    }
    EXPECT_EQ(ShellJoin({"java", "-cp", "a b", ""}), "java -cp 'a b' ''");
}

TEST(ShellQuote, ShellGivesTheWordsBackLiterally) {
    const std::vector<std::string> words = {"plain", "a b", "it's",     "$HOME", "`id`",
                                            "\\n",   "*",   "a\"b",     "",      "!x",
                                            "~",     "'",   "\xC3\xA9", "tab\t", ";|&<>(){}"};
    std::vector<std::string> command = {"printf", "[%s]\\n"};
    command.insert(command.end(), words.begin(), words.end());
    CChildProcess child;
    ASSERT_EQ(child.Start("/bin/sh", {"sh", "-c", ShellJoin(command)}, "/"), "");
    std::string output;
    char buffer[256];
    while (std::size_t n = child.ReadOutput(buffer, sizeof buffer)) {
        output.append(buffer, n);
    }
    std::string expected;
    for (const auto& word : words) {
        expected += "[" + word + "]\n";
    }
    EXPECT_EQ(output, expected);
    EXPECT_EQ(child.Wait().code, 0);
}

} // namespace
