#include "core/editor/ColourClassifier.h"

#include "ColourTestSupport.h"

#include <gtest/gtest.h>

using namespace tovin;
using tovin::test::Letters;
using tovin::test::Visible;

namespace {

struct SClassRow {
    const char* name;
    ELanguage language;
    std::string text;
    std::string expected; // one letter per position: K C N S T
};

template <class Row> std::string RowName(const testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

} // namespace

class WholeText : public testing::TestWithParam<SClassRow> {};

TEST_P(WholeText, ClassifiesEveryPosition) {
    const auto& row = GetParam();
    ASSERT_EQ(row.text.size(), row.expected.size()) << "bad row";
    EXPECT_EQ(Letters(ClassifyText(row.language, row.text)), row.expected) << Visible(row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Markup, WholeText,
    testing::Values(
        SClassRow{"TagNameWithDigitColoursItsLetter", ELanguage::Html, "<b1>", "TKTT"},
        SClassRow{"TagNamesOnlyInsideTagsInAnyCase", ELanguage::Html, "table <TABLE>",
                  "NNNNNNTKKKKKT"},
        SClassRow{"UnclosedTagRunsToTheEnd", ELanguage::Html, "x <p a", "NNTKTK"},
        SClassRow{"UnterminatedStringStaysNormal", ELanguage::Html, "<p>\"abc", "TKTNNNN"},
        SClassRow{"StringRightAfterAStringIsMissed", ELanguage::Html, "\"a\"\"b\"x", "SSSNNNN"},
        SClassRow{"ClosingQuoteAtTheEndStaysNormal", ELanguage::Html, "x \"ab\"", "NNSSSN"},
        SClassRow{"SecondCommentRightAfterTheFirstIsMissed", ELanguage::Html, "<!--a--><!--b-->",
                  "CCCCCCCCTTTTKTTT"},
        SClassRow{"UnclosedCommentLeavesTheLastCharacter", ELanguage::Html, "<!-- x", "CCCCCT"},
        SClassRow{"MarkupWordCharactersBound", ELanguage::Html, "<$b b$ b-b>", "TTTTTTTKTKT"},
        SClassRow{"AntTaskWithStringAttribute", ELanguage::Xml, "<target name=\"x\"/>",
                  "TKKKKKKTTTTTTSSSTT"},
        SClassRow{"OverlappingKeywordsBothCount", ELanguage::Xml, "<javadoc2>", "TKKKKKKKKT"},
        SClassRow{"HtmlNamesAreNotAntNames", ELanguage::Xml, "<table>", "TTTTTTT"}),
    RowName<SClassRow>);

// Java and Jython colour every line as the whole text colours it: each row as a whole text and
// line by line in the context of the lines before.
class EveryLineAsTheWholeText : public testing::TestWithParam<SClassRow> {};

TEST_P(EveryLineAsTheWholeText, WholeTextAndEveryLineClassifyAlike) {
    const auto& row = GetParam();
    ASSERT_EQ(row.text.size(), row.expected.size()) << "bad row";
    EXPECT_EQ(Letters(ClassifyText(row.language, row.text)), row.expected) << Visible(row.text);
    for (size_t start = 0, end = 0; start <= row.text.size();
         start = end + (row.text.compare(end, 2, "\r\n") == 0 ? 2 : 1)) {
        end = std::min(FindLineBreak(row.text, start), row.text.size());
        const std::string line = row.text.substr(start, end - start);
        EXPECT_EQ(Letters(ClassifyLine(row.language, line,
                                       GetLineContext(row.language, row.text, int(start)))),
                  row.expected.substr(start, end - start))
            << Visible(line);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Java, EveryLineAsTheWholeText,
    testing::Values(
        SClassRow{"KeywordsOnlyBetweenNonWordCharacters", ELanguage::Java, "x intValue my_int int2",
                  "NNNNNNNNNNNNNNNNNNKKKN"},
        SClassRow{"CaseMatters", ELanguage::Java, "x Int int", "NNNNNNKKK"},
        SClassRow{"UnclosedStringEndsAtItsLine", ELanguage::Java, "int s = \"b\r\nc;",
                  "KKKNNNNNSSNNNN"},
        SClassRow{"SlashesInStringAreNoComment", ELanguage::Java, "s = \"//x\"; // c",
                  "NNNNSSSSSNNCCCC"},
        SClassRow{"LineCommentEndsAtItsLineBreak", ELanguage::Java, "x; // a\r\nint",
                  "NNNCCCCNNKKK"},
        SClassRow{"BlockCommentIncludesItsCloser", ELanguage::Java, "xy; /* if */ if",
                  "NNNNCCCCCCCCNKK"},
        SClassRow{"CloserDoesNotReopenOnItsLastSlash", ELanguage::Java, "/* a */* b */",
                  "CCCCCCCNNNNNN"},
        SClassRow{"OpenerDoesNotCloseOnItsStar", ELanguage::Java, "/*/ x */y", "CCCCCCCCN"},
        SClassRow{"CloserWithoutOpenerIsCode", ELanguage::Java, "x */ int", "NNNNNKKK"},
        SClassRow{"LinesInsideABlockComment", ELanguage::Java,
                  "/* start\r\n middle int\r\n end */ int x;",
                  "CCCCCCCCNN" + std::string(11, 'C') + "NN" + "CCCCCCCNKKKNNN"},
        SClassRow{"QuoteAfterTwoBackslashesCloses", ELanguage::Java, "x = \"a\\\\\" if",
                  "NNNNSSSSSNKK"},
        SClassRow{"QuoteAfterOneBackslashDoesNot", ELanguage::Java, "x = \"a\\\" if\"",
                  "NNNNSSSSSSSS"},
        SClassRow{"EmptyString", ELanguage::Java, "x = \"\"+1", "NNNNSSNN"},
        SClassRow{"StringRightAfterAString", ELanguage::Java, "\"a\"\"b\" x", "SSSSSSNN"},
        SClassRow{"CommentRightAfterAString", ELanguage::Java, "xy \"a\"/* c */ d",
                  "NNNSSSCCCCCCCNN"},
        SClassRow{"CommentAtTheSecondCharacter", ELanguage::Java, "a//b", "NCCC"},
        SClassRow{"TextStartingWithAComment", ELanguage::Java, "/*a*/ x", "CCCCCNN"},
        SClassRow{"EmptyStringAtTheStart", ELanguage::Java, "\"\"x", "SSN"},
        SClassRow{"QuotesInCommentsAreIgnored", ELanguage::Java, "x; /* \" */ int",
                  "NNNCCCCCCCNKKK"},
        SClassRow{"BlockOpenerInAStringOpensNothing", ELanguage::Java,
                  "@WebFilter(\"/*\")\r\nint x;", std::string(11, 'N') + "SSSSNNNKKKNNN"},
        SClassRow{"CloserAndOpenerInAString", ELanguage::Java, "s = \"*/*\";\r\nint",
                  "NNNNSSSSSNNNKKK"},
        SClassRow{"GlobInAString", ELanguage::Java, "\"src/**/*.java\"; int",
                  std::string(15, 'S') + "NNKKK"},
        SClassRow{"BlockOpenerInALineCommentOpensNothing", ELanguage::Java,
                  "// see src/*.java\r\nint", std::string(17, 'C') + "NNKKK"},
        SClassRow{"LineOpenerInABlockCommentIsPartOfIt", ELanguage::Java,
                  "/* http://x */ String s = \"\"\"\r\n a\r\n \"\"\";",
                  std::string(14, 'C') + std::string(12, 'N') + "SSSNNSSNNSSSSN"},
        SClassRow{"Empty", ELanguage::Java, "", ""}),
    RowName<SClassRow>);

INSTANTIATE_TEST_SUITE_P(
    Jython, EveryLineAsTheWholeText,
    testing::Values(
        SClassRow{"StringsAndComment", ELanguage::Jython, "print \"a\" # c \"d\"",
                  "KKKKKNSSSNCCCCCCC"},
        SClassRow{"HashInStringIsNoComment", ELanguage::Jython, "s = \"#x\" # y", "NNNNSSSSNCCC"},
        SClassRow{"UnclosedStringEndsAtItsLine", ELanguage::Jython, "print \"a\r\nif # x",
                  "KKKKKNSSNNKKNCCC"},
        SClassRow{"LoneBreaksEndLinesToo", ELanguage::Jython, "\"a\rin\n#", "SSNKKNC"},
        SClassRow{"SingleQuotedStrings", ELanguage::Jython, "s = 'a # b' # c", "NNNNSSSSSSSNCCC"},
        SClassRow{"TripleQuotedStringsOverLines", ELanguage::Jython,
                  "\"\"\"doc\r\nif ' x\"\"\"\r\nif '''a\r\n'''",
                  "SSSSSSNN" + std::string(9, 'S') + "NNKKNSSSSNNSSS"},
        SClassRow{"TripleQuoteOfTheOtherKindDoesNotClose", ELanguage::Jython, "'''a\"\"\"\r\nb'''c",
                  "SSSSSSSNNSSSSN"},
        SClassRow{"BackslashEscapesTheNextCharacter", ELanguage::Jython, "\"a\\\\\"b\" in",
                  "SSSSSNSSSS"}),
    RowName<SClassRow>);

// Today's Java: character literals, text blocks, later reserved words, contextual keywords.
INSTANTIATE_TEST_SUITE_P(
    LaterJava, EveryLineAsTheWholeText,
    testing::Values(
        SClassRow{"CharLiteralsOfEveryForm", ELanguage::Java,
                  "x = f('\\'', '\\\\', '{', '\\u0022') // y",
                  "NNNNNNSSSSNNSSSSNNSSSNNSSSSSSSSNNCCCC"},
        SClassRow{"OctalCharLiterals", ELanguage::Java, "c('\\300', '\\377', '\\101') + x",
                  "NNSSSSSSNNSSSSSSNNSSSSSSNNNNN"},
        SClassRow{"CharLiteralOfTwoLettersIsQuotedToo", ELanguage::Java, "x = 'ab' + \"s\";",
                  "NNNNSSSSNNNSSSN"},
        SClassRow{"TextBlockOverLines", ELanguage::Java,
                  "s = \"\"\"\r\n  a \"b\" /* c short\r\n  \\\"\"\" d\r\n  \"\"\"; int x;",
                  "NNNNSSSNN" + std::string(18, 'S') + "NN" + std::string(8, 'S') +
                      "NNSSSSSNNKKKNNN"},
        SClassRow{"DoubledBackslashLetsTheQuotesClose", ELanguage::Java,
                  "s = \"\"\"\r\nx\\\\\"\"\"; int y;", "NNNNSSSNNSSSSSSNNKKKNNN"},
        SClassRow{"TripleQuoteInALineCommentOpensNothing", ELanguage::Java,
                  "x; // \"\"\"\r\nint y;", "NNNCCCCCCNNKKKNNN"},
        SClassRow{"TripleQuoteInABlockCommentOpensNothing", ELanguage::Java,
                  "x; /* \"\"\"\r\n */ int y;", "NNNCCCCCCNNCCCNKKKNNN"},
        SClassRow{"CharLiteralThenTextBlock", ELanguage::Java, "c = '\"'; s = \"\"\"\r\nx",
                  "NNNNSSSNNNNNNSSSNNS"},
        SClassRow{"TextBlockAfterACommentHoldsACloser", ELanguage::Java,
                  "/* a\r\n b */ s = \"\"\"\r\n x */ /*\r\n \"\"\";\r\n",
                  "CCCCNNCCCCCNNNNNSSSNNSSSSSSSSNNSSSSNNN"},
        SClassRow{"LaterReservedWords", ELanguage::Java, "x; assert enum strictfp;",
                  "NNNKKKKKKNKKKKNKKKKKKKKN"},
        SClassRow{"RecordDeclared", ELanguage::Java, "x; record Point(int x) {}",
                  "NNNKKKKKKNNNNNNNKKKNNNNNN"},
        SClassRow{"RecordWithTypeParameters", ELanguage::Java, "x; record Pair<A>(A a)",
                  "NNNKKKKKKNNNNNNNNNNNNN"},
        SClassRow{"RecordAsAName", ELanguage::Java, "LogRecord record = r; record.x();",
                  std::string(33, 'N')},
        SClassRow{"SealedInterfacePermits", ELanguage::Java,
                  "public sealed interface S permits A, B {}",
                  "KKKKKKNKKKKKKNKKKKKKKKKNNNKKKKKKKNNNNNNNN"},
        SClassRow{"NonSealedClass", ELanguage::Java, "x; non-sealed class C",
                  "NNNKKKKKKKKKKNKKKKKNN"},
        SClassRow{"SealedAndPermitsAsNames", ELanguage::Java, "x; boolean sealed = permits;",
                  "NNNKKKKKKK" + std::string(18, 'N')},
        SClassRow{"YieldStatements", ELanguage::Java, "x; yield x; yield -1; yield \"s\";",
                  "NNNKKKKKNNNNKKKKKNNNNNKKKKKNSSSN"},
        SClassRow{"YieldAsAName", ELanguage::Java, "x; Thread.yield(); int yield = 1; yield += 2;",
                  std::string(19, 'N') + "KKK" + std::string(23, 'N')},
        SClassRow{"WhenStaysAName", ELanguage::Java, "x; when (a) when", std::string(16, 'N')}),
    RowName<SClassRow>);

struct SLineRow {
    const char* name;
    ELanguage language;
    std::string text;
    int line;
    std::string expected;
};

class LinePasses : public testing::TestWithParam<SLineRow> {};

// The line is found in the CR LF text the way the editor finds it, and classified with the
// context of the text before it.
TEST_P(LinePasses, ClassifyTheLineInItsContext) {
    const auto& row = GetParam();
    CTextBuffer control(row.text);
    int start = control.LineIndex(row.line);
    int next = control.LineIndex(row.line + 1);
    int end = next < 0 ? control.GetLength() : next - 2;
    std::string line =
        row.text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
    auto classes = ClassifyLine(row.language, line, GetLineContext(row.language, row.text, start));
    EXPECT_EQ(Letters(classes), row.expected) << Visible(line);
}

INSTANTIATE_TEST_SUITE_P(Java, LinePasses,
                         testing::Values(SLineRow{"UnterminatedStringRunsToTheLineEnd",
                                                  ELanguage::Java, "x \"abc\r\ny", 0, "NNSSSS"},
                                         SLineRow{"EmptyLine", ELanguage::Java, "a\r\n\r\nb", 1,
                                                  ""}),
                         RowName<SLineRow>);

INSTANTIATE_TEST_SUITE_P(
    Markup, LinePasses,
    testing::Values(
        SLineRow{"TagOpenOnAnEarlierLineGoesOnToItsCloser", ELanguage::Html, "<a\r\nhref b>x", 1,
                 "TTTTTKTN"},
        SLineRow{"TagOverThreeLines", ELanguage::Xml,
                 "<target name=\"a\"\r\n depends=\"b\"\r\n if=\"c\">x", 2, "TTTTSSSTN"},
        SLineRow{"LineInsideAMarkupComment", ELanguage::Html, "<!-- a\r\nb c\r\n-->x", 1, "CCC"},
        SLineRow{"LineClosingAMarkupComment", ELanguage::Html, "<!-- a\r\nb c\r\n-->x", 2, "CCCN"},
        SLineRow{"UnterminatedStringRunsToTheLineEnd", ELanguage::Html, "<p>\"abc", 0, "TKTSSSS"},
        SLineRow{"UpperCaseTagOnALine", ELanguage::Xml, "x\r\n<Target>", 1, "TKKKKKKT"}),
    RowName<SLineRow>);

struct SPositionRow {
    const char* name;
    bool (*test)(std::string_view, int, int);
    std::string text;
    int position;
    bool expected;
};

class PositionTests : public testing::TestWithParam<SPositionRow> {};

// Every window size gives the answer of the whole text, the control's backward reading too.
TEST_P(PositionTests, LookAtTheTextBeforeThePosition) {
    const auto& row = GetParam();
    for (int window : {1, 2, 3, 4, 5, 7, kMarkerSearchWindow}) {
        EXPECT_EQ(row.test(row.text, row.position, window), row.expected)
            << Visible(row.text) << " window " << window;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PositionTests,
    testing::Values(
        SPositionRow{"BlockOpen", IsInBlockComment, "/* x", 4, true},
        SPositionRow{"BlockClosed", IsInBlockComment, "/* x */ y", 9, false},
        SPositionRow{"BlockOverlappingCloserWins", IsInBlockComment, "/*/", 3, false},
        SPositionRow{"BlockOpenerMustBeWhollyBefore", IsInBlockComment, "x /* y", 3, false},
        SPositionRow{"BlockOpenerJustBefore", IsInBlockComment, "x /* y", 4, true},
        SPositionRow{"BlockReopened", IsInBlockComment, "/* */ a /* b", 12, true},
        SPositionRow{"BlockAtStart", IsInBlockComment, "/* x", 0, false},
        SPositionRow{"BlockPastTheEndIsClamped", IsInBlockComment, "/* x", 99, true},
        SPositionRow{"BlockOpenerInStringCounts", IsInBlockComment, "s = \"/*\";\r\n", 11, true},
        SPositionRow{"TagOpen", IsInTag, "<a", 2, true},
        SPositionRow{"TagClosed", IsInTag, "<a>", 3, false},
        SPositionRow{"TagLastOpenerWins", IsInTag, "a>b<c", 5, true},
        SPositionRow{"TagBeforeTheOpener", IsInTag, "a>b<c", 3, false},
        SPositionRow{"TagAtStart", IsInTag, "<a", 0, false},
        SPositionRow{"TagOpenerJustBefore", IsInTag, "<", 1, true},
        SPositionRow{"CommentOpen", IsInHtmlComment, "<!-- a", 6, true},
        SPositionRow{"CommentClosed", IsInHtmlComment, "<!-- a -->", 10, false},
        SPositionRow{"CommentCloserSharingDashes", IsInHtmlComment, "<!-->", 5, false},
        SPositionRow{"CommentCloserNotYetWhole", IsInHtmlComment, "<!-->", 4, true},
        SPositionRow{"CommentOpenerNotYetWhole", IsInHtmlComment, "<!-", 3, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LineBreakLength, CountsTheBreakBeforeTheNextLine) {
    EXPECT_EQ(LineBreakLengthBefore("a\r\nb", 3), 2);
    EXPECT_EQ(LineBreakLengthBefore("a\nb", 2), 1);
    EXPECT_EQ(LineBreakLengthBefore("a\rb", 2), 1);
    EXPECT_EQ(LineBreakLengthBefore("ab", 1), 0);
    EXPECT_EQ(LineBreakLengthBefore("\n", 1), 1);
    EXPECT_EQ(LineBreakLengthBefore("", 0), 0);
}
