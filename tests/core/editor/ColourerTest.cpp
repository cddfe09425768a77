#include "core/editor/Colourer.h"

#include "ColourTestSupport.h"
#include "FakeUiHost.h"
#include "core/process/ProcessRunner.h"

#include <gtest/gtest.h>

using namespace tovin;
using tovin::test::Letters;

namespace {

void Select(CTextBuffer& control, int start, int end) {
    control.SetSel(start, end);
}

std::pair<int, int> Selection(const CTextBuffer& control) {
    int start = 0;
    int end = 0;
    control.GetSel(start, end);
    return {start, end};
}

} // namespace

TEST(ColourAll, ColoursTheWholeTextAndKeepsSelectionScrollAndModifiedFlag) {
    CTextBuffer control("int x; // note\r\nString s = \"a\";");
    control.SetModify(false);
    control.SetFirstVisibleLine(1);
    Select(control, 3, 9);
    tovin::test::CFakeUiHost host;
    CColourer(ELanguage::Java).ColourAll(control, true, &host);
    EXPECT_EQ(Letters(control), "KKKNNNNCCCCCCCNNNNNNNNNNNNNSSSN");
    EXPECT_EQ(Selection(control), std::make_pair(3, 9));
    EXPECT_FALSE(control.GetModify());
    EXPECT_EQ(control.GetFirstVisibleLine(), 1);
    EXPECT_TRUE(control.IsRedrawOn());
    EXPECT_FALSE(control.IsSelectionHidden());
    EXPECT_EQ(host.waitCursorDepth, 0);
}

TEST(ColourAll, KeepsAModifiedFlagThatWasSet) {
    CTextBuffer control("<p>x</p>");
    control.SetModify(true);
    CColourer(ELanguage::Html).ColourAll(control, false);
    EXPECT_TRUE(control.GetModify());
    EXPECT_EQ(Letters(control), "TKTNTTKT");
}

TEST(ColourAll, FormatsOnlyRunsThatDiffer) {
    CTextBuffer control("public class A { /* c */ String s = \"x\"; }\r\n");
    CColourer colourer(ELanguage::Java);
    colourer.ColourAll(control, true);
    int first = control.ClassChangeCount();
    EXPECT_GT(first, 0);
    colourer.ColourAll(control, true);
    EXPECT_EQ(control.ClassChangeCount(), first) << "an unchanged text changed formats";
}

TEST(ColourAll, EmptyTextAppliesNothing) {
    for (ELanguage language :
         {ELanguage::Java, ELanguage::Html, ELanguage::Xml, ELanguage::Jython}) {
        CTextBuffer control;
        CColourer(language).ColourAll(control, true);
        CColourer(language).ColourLine(control);
        EXPECT_EQ(control.ClassChangeCount(), 0);
    }
}

TEST(ColourAll, JythonColoursEveryLineAndKeepsTheSelection) {
    CTextBuffer control("def f():\r\n    return \"x\" # r\r\n\r\nprint f()");
    control.SetRangeClass(8, 10, ETokenClass::Tag); // stale colour on the first line break
    Select(control, 12, 14);
    CColourer(ELanguage::Jython).ColourAll(control, true);
    EXPECT_EQ(Letters(control), "KKKNNNNNNNNNNNKKKKKKNSSSNCCCNNNNKKKKKNNNN");
    EXPECT_EQ(Selection(control), std::make_pair(12, 14));
}

// The line before is not coloured; the line after is, as the typed "/*" reaches it.
TEST(ColourLine, ColoursTheSelectionStartsLineAndTheLinesItsContextReaches) {
    CTextBuffer control("int a;\r\nint b; /* c\r\nint d;");
    Select(control, 10, 12);
    CColourer(ELanguage::Java).ColourLine(control);
    EXPECT_EQ(Letters(control), "NNNNNNNNKKKNNNNCCCCNNCCCCCC");
    EXPECT_EQ(Selection(control), std::make_pair(10, 12));
}

TEST(ColourLine, TypingInsideABlockCommentColoursTheWholeLine) {
    CTextBuffer control("/* open\r\nint x\r\n*/ int y");
    CColourer colourer(ELanguage::Java);
    colourer.ColourAll(control, true);
    Select(control, 14, 14);
    control.ReplaceSel("z");
    colourer.ColourLine(control);
    EXPECT_EQ(Letters(control).substr(9, 6), "CCCCCC");
    Select(control, control.GetLength(), control.GetLength());
    colourer.ColourLine(control);
    EXPECT_EQ(Letters(control).substr(17), "CCNKKKNN");
}

TEST(ColourLine, DeletingAnOpenerGivesTheLinesAfterItTheirColoursBack) {
    CTextBuffer control("int a; /*\r\nint b;\r\n*/ int c;\r\nint d;");
    CColourer colourer(ELanguage::Java);
    colourer.ColourAll(control, true);
    Select(control, 7, 9);
    control.ReplaceSel("");
    colourer.ColourLine(control);
    EXPECT_EQ(Letters(control), "KKKNNNNNNKKKNNNNNNNNKKKNNNNNKKKNNN");
}

TEST(ColourLine, RecoloursAKeywordThatStoppedBeingOne) {
    CTextBuffer control("x = new Y();");
    CColourer colourer(ELanguage::Java);
    colourer.ColourAll(control, true);
    EXPECT_EQ(Letters(control), "NNNNKKKNNNNN");
    Select(control, 7, 7);
    control.ReplaceSel("s");
    colourer.ColourLine(control);
    EXPECT_EQ(Letters(control), "NNNNNNNNNNNNN");
}

// A text that uses lone line breaks still colours each line without its break.
TEST(ColourLine, LoneLineBreaksAreNotPartOfTheLine) {
    CTextBuffer control("int\nfor\rif");
    CColourer colourer(ELanguage::Java);
    for (int at : {0, 4, 8}) {
        Select(control, at, at);
        colourer.ColourLine(control);
    }
    EXPECT_EQ(Letters(control), "KKKNKKKNKK");
}

TEST(ColourLine, MarkupLineKnowsTheOpenTagAndCommentBeforeIt) {
    CTextBuffer control("<table\r\nborder=1 b>\r\n<!-- x\r\ny <b> -->");
    CColourer colourer(ELanguage::Html);
    Select(control, 9, 9);
    colourer.ColourLine(control);
    EXPECT_EQ(Letters(control).substr(8, 11), "TTTTTTTTTKT");
    Select(control, control.GetLength(), control.GetLength());
    colourer.ColourLine(control);
    EXPECT_EQ(Letters(control).substr(29), "CCCCCCCCC");
}
