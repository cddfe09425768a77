#include "core/editor/TextBuffer.h"

#include <gtest/gtest.h>

using namespace tovin;

TEST(TextBuffer, LinesCountCrLfAsOneBreakOfTwoPositions) {
    CTextBuffer text("ab\r\ncd\r\n\r\nef");
    EXPECT_EQ(text.GetLineCount(), 4);
    EXPECT_EQ(text.LineIndex(0), 0);
    EXPECT_EQ(text.LineIndex(1), 4);
    EXPECT_EQ(text.LineIndex(2), 8);
    EXPECT_EQ(text.LineIndex(3), 10);
    EXPECT_EQ(text.LineIndex(4), -1);
    EXPECT_EQ(text.LineFromChar(0), 0);
    EXPECT_EQ(text.LineFromChar(2), 0); // the CR
    EXPECT_EQ(text.LineFromChar(3), 0); // the LF
    EXPECT_EQ(text.LineFromChar(4), 1);
    EXPECT_EQ(text.LineFromChar(12), 3);
    EXPECT_EQ(text.LineFromChar(99), 3);
}

TEST(TextBuffer, TrailingBreakOpensAnEmptyLastLine) {
    CTextBuffer text("a\r\n");
    EXPECT_EQ(text.GetLineCount(), 2);
    EXPECT_EQ(text.LineIndex(1), 3);
    CTextBuffer empty;
    EXPECT_EQ(empty.GetLineCount(), 1);
    EXPECT_EQ(empty.LineIndex(0), 0);
}

TEST(TextBuffer, ReplaceSelectionMovesCaretAndShiftsClasses) {
    CTextBuffer text("int x;");
    text.SetRangeClass(0, 3, ETokenClass::Keyword);
    text.SetSel(4, 5);
    text.ReplaceSel("yy\r\nz");
    EXPECT_EQ(text.GetText(), "int yy\r\nz;");
    int s = 0, e = 0;
    text.GetSel(s, e);
    EXPECT_EQ(s, 9);
    EXPECT_EQ(e, 9);
    EXPECT_TRUE(text.GetModify());
    EXPECT_EQ(text.GetClassAt(2), ETokenClass::Keyword);
    EXPECT_EQ(text.GetClassAt(4), ETokenClass::Normal);
    EXPECT_EQ(text.LineFromChar(9), 1);
}

TEST(TextBuffer, SelectionIsClampedAndMinusOneMeansTheEnd) {
    CTextBuffer text("hello");
    text.SetSel(2, -1);
    EXPECT_EQ(text.GetSelText(), "llo");
    text.SetSel(-4, 99);
    EXPECT_EQ(text.GetSelText(), "hello");
    text.SetSel(4, 1);
    EXPECT_EQ(text.GetSelText(), "ell");
}

TEST(TextBuffer, SettingAnUnchangedClassIsNotAChange) {
    CTextBuffer text("abcdef");
    text.SetRangeClass(0, 3, ETokenClass::Comment);
    text.SetRangeClass(0, 3, ETokenClass::Comment);
    text.SetRangeClass(2, 2, ETokenClass::String);
    EXPECT_EQ(text.ClassChangeCount(), 1);
    EXPECT_TRUE(text.IsRangeClass(0, 3, ETokenClass::Comment));
    EXPECT_FALSE(text.IsRangeClass(0, 4, ETokenClass::Comment));
    EXPECT_EQ(text.GetClassAt(-1), ETokenClass::Normal);
}

TEST(TextBuffer, ReadOnlyTextRefusesEdits) {
    CTextBuffer text("abc");
    text.SetReadOnly(true);
    text.SetSel(0, 1);
    text.ReplaceSel("x");
    text.SetText("new");
    EXPECT_EQ(text.GetText(), "abc");
    EXPECT_FALSE(text.GetModify());
}
