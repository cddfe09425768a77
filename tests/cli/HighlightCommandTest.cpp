#include "cli/HighlightCommand.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace tovin;
using tovin::test::CTempDir;

namespace {

struct SRun {
    int exitCode;
    std::string out;
    std::string err;
};

SRun Highlight(const std::vector<std::string>& arguments, const CSettings& settings = CSettings{}) {
    std::ostringstream out;
    std::ostringstream err;
    int code = RunHighlightCommand(arguments, settings, out, err);
    return {code, out.str(), err.str()};
}

} // namespace

TEST(HighlightCommand, RunsArePositionsInTheCrLfText) {
    CTempDir dir;
    std::string path = dir.Write("A.java", "int x;\n// c\n");
    SRun run = Highlight({"--runs", path});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "0\t3\tkeyword\n"
                       "3\t8\tnormal\n"
                       "8\t12\tcomment\n"
                       "12\t14\tnormal\n");
    EXPECT_EQ(run.err, "");
}

TEST(HighlightCommand, RunsNameEveryClass) {
    CTempDir dir;
    std::string path = dir.Write("p.HTML", "<!-- c -->\r<a href=\"x\">");
    SRun run = Highlight({path, "--runs"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "0\t10\tcomment\n"
                       "10\t12\tnormal\n"
                       "12\t13\ttag\n"
                       "13\t14\tkeyword\n"
                       "14\t20\ttag\n"
                       "20\t23\tstring\n"
                       "23\t24\ttag\n");
}

TEST(HighlightCommand, ColoursWithTheColourSettingsAndClosesBeforeLineBreaks) {
    CTempDir dir;
    std::string path = dir.Write("s.py", "if x: # a\r\n\"s\"\n");
    CSettings settings;
    settings.keyColor = 0x00030201;     // red 1, green 2, blue 3
    settings.commentColor = 0x00FF0000; // blue
    settings.stringColor = 0x000000FF;  // red
    SRun run = Highlight({path}, settings);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "\x1b[38;2;1;2;3mif\x1b[0m x: \x1b[38;2;0;0;255m# a\x1b[0m\n"
                       "\x1b[38;2;255;0;0m\"s\"\x1b[0m\n");
}

TEST(HighlightCommand, MultiLineCommentIsColouredLineByLine) {
    CTempDir dir;
    std::string path = dir.Write("C.java", "x; /* a\nb */");
    SRun run = Highlight({path});
    EXPECT_EQ(run.out, "x; \x1b[38;2;221;0;0m/* a\x1b[0m\n\x1b[38;2;221;0;0mb */\x1b[0m");
}

TEST(HighlightCommand, FailuresSayWhyWithExitCodes) {
    CTempDir dir;
    std::string text = dir.Write("notes.txt", "hello");
    std::string binary = dir.Write("b.java", std::string("int\0x", 5));
    struct SRow {
        std::vector<std::string> arguments;
        int exitCode;
        std::string errorPart;
    } rows[] = {
        {{dir.File("missing.java")}, 1, "cannot read " + dir.File("missing.java")},
        {{dir.Path() + "/"}, 1, "no syntax colouring"},
        {{text}, 1, "no syntax colouring for this kind of file"},
        {{binary}, 1, "binary file"},
        {{}, 2, "needs exactly one FILE"},
        {{text, text}, 2, "needs exactly one FILE"},
        {{"--colour", text}, 2, "unknown option"},
    };
    for (const auto& row : rows) {
        SRun run = Highlight(row.arguments);
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
        EXPECT_NE(run.err.find(row.errorPart), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(Highlight({"--runs", binary}).out, "0\t3\tkeyword\n3\t5\tnormal\n");
}

TEST(HighlightCommand, FolderNamedLikeASourceIsUnreadable) {
    CTempDir dir;
    dir.Write("src.java/A.java", "x");
    SRun run = Highlight({dir.File("src.java")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot read"), std::string::npos) << run.err;
}

TEST(HighlightCommand, LineBreaksBecomeCrLf) {
    EXPECT_EQ(ToCrLfText("a\nb\rc\r\nd\n\r"), "a\r\nb\r\nc\r\nd\r\n\r\n");
    EXPECT_EQ(ToCrLfText(""), "");
}
