#include "core/editor/TextCommands.h"
#include "FakeUiHost.h"
#include "core/editor/Colourer.h"
#include "core/editor/Indentation.h"
#include "core/editor/TextBuffer.h"
#include "core/process/ProcessRunner.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tovin;

namespace {

// Texts in these tests mark the selection with '[' and ']', or the caret with '|'.
CTextBuffer Load(const std::string& marked) {
    std::string text;
    int start = -1, end = -1;
    for (char c : marked) {
        if (c == '[' || c == '|') {
            start = static_cast<int>(text.size());
        }
        if (c == ']' || c == '|') {
            end = static_cast<int>(text.size());
        }
        if (c != '[' && c != ']' && c != '|') {
            text += c;
        }
    }
    CTextBuffer buffer(text);
    buffer.SetSel(start, end);
    return buffer;
}

std::string Show(const CTextControl& text) {
    int start = 0, end = 0;
    text.GetSel(start, end);
    std::string shown = text.GetText();
    if (start == end) {
        return shown.insert(static_cast<size_t>(start), "|");
    }
    shown.insert(static_cast<size_t>(end), "]");
    return shown.insert(static_cast<size_t>(start), "[");
}

// Forwards to a buffer and counts edits made outside an undo group.
class CUndoCheckingText : public CTextControl {
public:
    explicit CUndoCheckingText(CTextBuffer& inner) : m_inner(inner) {}
    int editsOutsideGroup = 0;
    int edits = 0;
    int groups = 0;

    std::string GetText() const override { return m_inner.GetText(); }
    int GetLength() const override { return m_inner.GetLength(); }
    std::string GetTextRange(int s, int e) const override { return m_inner.GetTextRange(s, e); }
    void SetText(const std::string& t) override {
        Edit([&] { m_inner.SetText(t); });
    }
    void GetSel(int& s, int& e) const override { m_inner.GetSel(s, e); }
    void SetSel(int s, int e) override { m_inner.SetSel(s, e); }
    std::string GetSelText() const override { return m_inner.GetSelText(); }
    void ReplaceSel(const std::string& t) override {
        Edit([&] { m_inner.ReplaceSel(t); });
    }
    int LineFromChar(int p) const override { return m_inner.LineFromChar(p); }
    int LineIndex(int l) const override { return m_inner.LineIndex(l); }
    int GetLineCount() const override { return m_inner.GetLineCount(); }
    ETokenClass GetClassAt(int p) const override { return m_inner.GetClassAt(p); }
    bool IsRangeClass(int s, int e, ETokenClass c) const override {
        return m_inner.IsRangeClass(s, e, c);
    }
    void SetRangeClass(int s, int e, ETokenClass c) override { m_inner.SetRangeClass(s, e, c); }
    int GetLineState(int l) const override { return m_inner.GetLineState(l); }
    void SetLineState(int l, int s) override { m_inner.SetLineState(l, s); }
    SLineStateValidity& LineStateValidity() override { return m_inner.LineStateValidity(); }
    bool GetModify() const override { return m_inner.GetModify(); }
    void SetModify(bool m) override { m_inner.SetModify(m); }
    bool IsReadOnly() const override { return m_inner.IsReadOnly(); }
    void SetReadOnly(bool r) override { m_inner.SetReadOnly(r); }
    void HideSelection(bool h) override { m_inner.HideSelection(h); }
    void SetRedraw(bool on) override { m_inner.SetRedraw(on); }
    int GetFirstVisibleLine() const override { return m_inner.GetFirstVisibleLine(); }
    void SetFirstVisibleLine(int l) override { m_inner.SetFirstVisibleLine(l); }
    void BeginUndoAction() override {
        ++m_depth;
        ++groups;
    }
    void EndUndoAction() override { --m_depth; }

private:
    template <class F> void Edit(F edit) {
        ++edits;
        if (m_depth == 0) {
            ++editsOutsideGroup;
        }
        edit();
    }
    CTextBuffer& m_inner;
    int m_depth = 0;
};

struct SCommandCase {
    const char* name;
    std::string before;
    std::string after;
};

void RunCases(const std::vector<SCommandCase>& cases,
              const std::function<void(CTextControl&)>& command) {
    for (const auto& row : cases) {
        CTextBuffer buffer = Load(row.before);
        CUndoCheckingText text(buffer);
        command(text);
        EXPECT_EQ(Show(buffer), row.after) << row.name;
        if (text.edits > 1) {
            EXPECT_EQ(text.editsOutsideGroup, 0) << row.name << ": edits not one undo step";
        }
    }
}

} // namespace

TEST(TextCommands, IndentLinesTabForm) {
    RunCases(
        {
            {"three lines", "a\r\n[b\r\nc]\r\nd", "a\r\n[\tb\r\n\tc\r\n]d"},
            {"selection ends at a line start", "[a\r\n]b", "[\ta\r\n]b"},
            {"partial lines", "ab[c\r\nd]e\r\nf", "[\tabc\r\n\tde\r\n]f"},
            {"caret inside the last line", "x\r\na|b", "x\r\n[\tab]"},
            {"caret at a line start indents nothing", "a\r\n|b", "a\r\n|b"},
            {"caret at the very start", "|ab", "|ab"},
            {"empty line inside", "[a\r\n\r\nb]", "[\ta\r\n\t\r\n\tb]"},
        },
        [](CTextControl& text) { IndentLines(text); });
}

TEST(TextCommands, IndentUnitReadsSpaceTabsAtEachUseButKeepsItsTabWidth) {
    CSettings settings;
    settings.tabWidth = 3;
    settings.spaceTabs = 1;
    CIndentUnit unit(settings);
    CTextBuffer text = Load("[a\r\nb]");
    IndentLines(text, unit);
    EXPECT_EQ(Show(text), "[   a\r\n   b]");

    settings.spaceTabs = 0;
    settings.tabWidth = 8;
    text.SetSel(0, 0);
    InsertIndentUnit(text, unit);
    EXPECT_EQ(Show(text), "\t|   a\r\n   b");

    settings.spaceTabs = 1;
    InsertIndentUnit(text, unit);
    EXPECT_EQ(Show(text), "\t   |   a\r\n   b");
}

TEST(TextCommands, InsertIndentUnitReplacesTheSelection) {
    CSettings settings;
    CIndentUnit unit(settings);
    CTextBuffer text = Load("a[bc]d");
    InsertIndentUnit(text, unit);
    EXPECT_EQ(Show(text), "a\t|d");
}

TEST(TextCommands, SpacesStringGuardsItsWidth) {
    EXPECT_EQ(MakeSpaces(3), "   ");
    EXPECT_EQ(MakeSpaces(-2), "");
    EXPECT_EQ(MakeSpaces(2000000000).size(), 256u);
}

TEST(TextCommands, UnindentLinesRemovesOneBlankPerLine) {
    RunCases(
        {
            {"tab and spaces", "[\tab\r\n  cd\r\nef]", "[ab\r\n cd\r\nef]"},
            {"selection ends before the break", "[\ta\r\n\tb]\r\n\tc", "[a\r\nb]\r\n\tc"},
            {"selection ends at a line start", "[\ta\r\n]\tb", "[a]\r\n\tb"},
            {"empty line is left alone", "[ a\r\n\r\n b]", "[a\r\n\r\nb]"},
            {"caret at a line start touches nothing", "\ta\r\n|\tb", "\ta\r\n|\tb"},
            {"other first character", "[x\r\n\ty]", "[x\r\ny]"},
        },
        [](CTextControl& text) { UnindentLines(text); });
}

// Shift+Tab without a selection: the caret's line loses a level wherever the caret stands.
TEST(TextCommands, UnindentCaretLineKeepsTheCaretInItsText) {
    const struct {
        const char* name;
        int spaceStep;
        std::string before;
        std::string after;
    } rows[] = {
        {"tab, caret in the text", 0, "x\r\n\t\tab|c\r\ny", "x\r\n\tab|c\r\ny"},
        {"tab, caret at the line start", 0, "x\r\n|\t\tabc", "x\r\n|\tabc"},
        {"space in a tab file", 0, "  a|", " a|"},
        {"step, back to the previous multiple", 4, "      a|b", "    a|b"},
        {"step, tab and spaces", 4, "\t    |a", "\t|a"},
        {"unindented line", 4, "a|b", "a|b"},
        {"last line without a break", 2, "x\r\n  |", "x\r\n|"},
    };
    for (const auto& row : rows) {
        RunCases({{row.name, row.before, row.after}},
                 [&](CTextControl& text) { UnindentCaretLine(text, row.spaceStep); });
    }
}

TEST(TextCommands, IndentThenUnindentRoundTripsOverLongLines) {
    std::string longLine(5000, 'x');
    CTextBuffer text = Load("[" + longLine + "\r\n" + longLine + "]");
    IndentLines(text);
    EXPECT_EQ(text.GetText(), "\t" + longLine + "\r\n\t" + longLine);
    UnindentLines(text);
    EXPECT_EQ(text.GetText(), longLine + "\r\n" + longLine);
    UnindentLines(text);
    EXPECT_EQ(text.GetText(), longLine + "\r\n" + longLine);
}

TEST(TextCommands, AutoIndentNewLineJavaForm) {
    RunCases(
        {
            {"four spaces and a brace", "    if (x) {\r\n|", "    if (x) {\r\n\t    |"},
            {"block comment opener", "\t/*\r\n|", "\t/*\r\n\t* |"},
            {"comment opener in the first column", "/**\r\n|", "/**\r\n|"},
            {"inside a comment", " * text\r\n|", " * text\r\n * |"},
            {"comment closer", " */\r\n|", " */\r\n |"},
            {"two trailing braces and blanks", "\tx {{ \t\r\n|", "\tx {{ \t\r\n\t\t\t|"},
            {"brace in the first column alone", "{\r\n|", "{\r\n|"},
            {"brace after one blank", " {\r\n|", " {\r\n\t |"},
            {"plain statement", "\t\tx = 1;\r\n|y", "\t\tx = 1;\r\n\t\t|y"},
            {"unindented line", "x;\r\n|", "x;\r\n|"},
            {"first line", "|abc", "|abc"},
            {"no line break before the caret", "\tx {\r\n\tvoid f(|) {", "\tx {\r\n\tvoid f(|) {"},
        },
        [](CTextControl& text) { AutoIndentNewLine(text, '\r', EAutoIndentForm::Java); });
}

TEST(TextCommands, AutoIndentNewLineJythonAndBasicForms) {
    RunCases(
        {
            {"def with trailing blanks", "\tdef f(self):  \r\n|", "\tdef f(self):  \r\n\t\t|"},
            {"tabs come before spaces", "  def f(self):\r\n|", "  def f(self):\r\n\t  |"},
            {"no colon", "  x = 1\r\n|", "  x = 1\r\n  |"},
            {"colon in the first column only", ":\r\n|", ":\r\n|"},
            {"star is not special", " *\r\n|", " *\r\n |"},
        },
        [](CTextControl& text) { AutoIndentNewLine(text, '\r', EAutoIndentForm::Jython); });
    RunCases(
        {
            {"leading blanks repeated", "\t <p>{\r\n|", "\t <p>{\r\n\t |"},
            {"nothing to repeat", "<p>:\r\n|", "<p>:\r\n|"},
        },
        [](CTextControl& text) { AutoIndentNewLine(text, '\r', EAutoIndentForm::Basic); });
}

TEST(TextCommands, AutoIndentIgnoresOtherCharacters) {
    CTextBuffer text = Load("\tx {\r\n|");
    AutoIndentNewLine(text, 'a', EAutoIndentForm::Java);
    AutoIndentNewLine(text, '\n', EAutoIndentForm::Java);
    EXPECT_EQ(Show(text), "\tx {\r\n|");
    EXPECT_FALSE(text.IsSelectionHidden());
}

TEST(TextCommands, AlignClosingBrace) {
    RunCases(
        {
            {"two tabs above", "\t\tfoo\r\n\t\t}|", "\t\tfoo\r\n\t}|"},
            {"spaces above", "    x\r\n    }|", "    x\r\n   }|"},
            {"unindented line above", "x\r\n  }|", "x\r\n}|"},
            {"deeper brace moves out", "\tx\r\n\t\t\t}|", "\tx\r\n}|"},
            {"text after the brace is kept", "\t\tx\r\n\t\t}|y;", "\t\tx\r\n\t}|y;"},
            {"next lines untouched", "\t\tx\r\n\t\t}|\r\n\tz", "\t\tx\r\n\t}|\r\n\tz"},
            {"brace not first", "\tx\r\n\ta}|", "\tx\r\n\ta}|"},
            {"first line", "\t}|", "\t}|"},
            {"second brace typed", "\t\tx\r\n\t\t}}|", "\t\tx\r\n\t}}|"},
            {"under its { after a continuation line",
             "\tvoid f() {\r\n\t\tg(a,\r\n\t\t    b);\r\n\t\t    }|",
             "\tvoid f() {\r\n\t\tg(a,\r\n\t\t    b);\r\n\t}|"},
            {"under its { past a nested block", "\tif (a) {\r\n\t\tif (b) {\r\n\t\t}\r\n\t\t}|",
             "\tif (a) {\r\n\t\tif (b) {\r\n\t\t}\r\n\t}|"},
            {"under its { deeper than the brace", "\t\tx {\r\n}|", "\t\tx {\r\n\t\t}|"},
            {"under its { in the first column", "x {\r\n\t\t\ty;\r\n\t\t\t}|y",
             "x {\r\n\t\t\ty;\r\n}|y"},
        },
        [](CTextControl& text) { AlignClosingBrace(text); });
    RunCases(
        {
            {"under its { after sixteen spaces",
             "    if (x) {\r\n                y;\r\n                }|",
             "    if (x) {\r\n                y;\r\n    }|"},
        },
        [](CTextControl& text) { AlignClosingBrace(text, 4); });

    // Braces in strings, character literals and comments are not the block's (as coloured).
    CTextBuffer text = Load("\tvoid f() {\r\n\t\ts = \"{\" + '{'; // {\r\n\t\t/* { */\r\n\t\t}|");
    CColourer(ELanguage::Java).ColourAll(text, false);
    AlignClosingBrace(text);
    EXPECT_EQ(Show(text), "\tvoid f() {\r\n\t\ts = \"{\" + '{'; // {\r\n\t\t/* { */\r\n\t}|");
}

// A typed ">" that ends a closing tag at the start of its line.
TEST(TextCommands, AlignClosingTagUnderItsOpeningTag) {
    RunCases(
        {
            {"under its element", "  <project>\r\n    <target/>\r\n    </project>|",
             "  <project>\r\n    <target/>\r\n  </project>|"},
            {"past a nested element of the same name",
             "<a>\r\n\t<a x=\"1\">\r\n\t</a>\r\n\t\t</a>|",
             "<a>\r\n\t<a x=\"1\">\r\n\t</a>\r\n</a>|"},
            {"empty elements of its name do not count", "\t<a>\r\n\t\t<a/>\r\n\t\t<a />\r\n</a>|",
             "\t<a>\r\n\t\t<a/>\r\n\t\t<a />\r\n\t</a>|"},
            {"other names do not count", "<javac>\r\n  <java>\r\n    </javac>|",
             "<javac>\r\n  <java>\r\n</javac>|"},
            {"opening tag over several lines",
             "  <target name=\"a\"\r\n          depends=\"b\">\r\n\t</target>|",
             "  <target name=\"a\"\r\n          depends=\"b\">\r\n  </target>|"},
            {"text after the tag is kept", "<a>\r\n    </a>|<!-- x -->", "<a>\r\n</a>|<!-- x -->"},
            {"no opening tag", "<b>\r\n    </a>|", "<b>\r\n    </a>|"},
            {"not first on its line", "<a>\r\n  x</a>|", "<a>\r\n  x</a>|"},
            {"an opening tag typed", "<a>\r\n  <a>|", "<a>\r\n  <a>|"},
            {"the > typed is not the tag's", "<a>\r\n  </a> 1>|", "<a>\r\n  </a> 1>|"},
        },
        [](CTextControl& text) { AlignClosingTag(text); });

    // Tags in comments are not the document's (as coloured).
    CTextBuffer text = Load("\t<a>\r\n<!--\r\n  <a>\r\n-->\r\n  </a>|");
    CColourer(ELanguage::Xml).ColourAll(text, false);
    AlignClosingTag(text);
    EXPECT_EQ(Show(text), "\t<a>\r\n<!--\r\n  <a>\r\n-->\r\n\t</a>|");
}

TEST(TextCommands, ConvertLinebreaksMakesEveryBreakCrLf) {
    CTextBuffer text("a\rb\nc\r\nd\r\r\ne\n\r");
    text.SetModify(false);
    ConvertLinebreaks(text);
    EXPECT_EQ(text.GetText(), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\n");
    // Breaks of any kind: \r, \n, \r\n, \r, \r\n, \n, \r = 7.
    EXPECT_EQ(text.GetLineCount(), 8);
    EXPECT_TRUE(text.GetModify());
}

TEST(TextCommands, ConvertTabsToSpacesUsesAFixedCount) {
    CTextBuffer text("\ta\tb\t\t");
    text.SetModify(false);
    ConvertTabsToSpaces(text, "   ");
    EXPECT_EQ(text.GetText(), "   a   b      ");
    EXPECT_TRUE(text.GetModify());
}

TEST(TextCommands, ConversionsLeaveAReadOnlyTextUnmodified) {
    CTextBuffer text("a\tb\n");
    text.SetReadOnly(true);
    ConvertLinebreaks(text);
    ConvertTabsToSpaces(text, "  ");
    EXPECT_EQ(text.GetText(), "a\tb\n");
    EXPECT_FALSE(text.GetModify());
}

TEST(TextCommands, InsertAppletNeedsAMainFile) {
    test::CFakeUiHost host;
    CTextBuffer text = Load("<body>|</body>");
    EXPECT_FALSE(InsertApplet(text, "", host));
    EXPECT_EQ(Show(text), "<body>|</body>");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Please set the applet class as main.");
    EXPECT_EQ(host.messages[0].caption, "Tovin");
}

TEST(TextCommands, InsertAppletReplacesTheSelectionWithTheElement) {
    test::CFakeUiHost host;
    CTextBuffer text = Load("<body>[x]</body>");
    EXPECT_TRUE(InsertApplet(text, "My.java.java", host));
    EXPECT_EQ(Show(text), "<body>\r\n<APPLET CODE=\"My.class.class\" \r\n\tWIDTH=300\r\n"
                          "\tHEIGHT=300>\r\nApplet My.class.class\r\n</APPLET>\r\n|</body>");
    EXPECT_TRUE(host.messages.empty());
}

TEST(Indentation, DetectedFromTheIndentedLines) {
    const struct {
        const char* name;
        const char* text;
        std::optional<SIndentStyle> expected;
    } rows[] = {
        {"tabs", "class A {\n\tint x;\n\tvoid f() {\n\t\tx = 1;\n\t}\n}\n", SIndentStyle{}},
        {"two spaces", "a {\r\n  b {\r\n    c;\r\n  }\r\n}\r\n", SIndentStyle{2}},
        {"three spaces", "a:\n   b:\n      c\n", SIndentStyle{3}},
        {"four spaces, a closing two levels at once", "a {\n    b {\n        c;\n}\n",
         SIndentStyle{4}},
        {"eight spaces", "a {\n        b;\n        c;\n}\n", SIndentStyle{8}},
        {"javadoc stars and blank lines", "  /**\n   * x\n   */\n\n  int y;\n    z;\n",
         SIndentStyle{2}},
        {"mostly spaces", "a\n    b\n\tc\n    d\n", SIndentStyle{4}},
        {"mostly tabs", "a\n\tb\n\tc\n    d\n", SIndentStyle{}},
        // A file indented both ways as often keeps the levels it would get from a tab.
        {"as many tab as space lines", "a\n    b\n\tc\n", SIndentStyle{}},
        {"no indented line", "class A {}\n\nint x;\n", std::nullopt},
        {"spaces in no step", "a\n     b\n", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(DetectIndentation(row.text), row.expected) << row.name;
    }
    EXPECT_EQ(IndentStyleText(SIndentStyle{4}), "Spaces: 4");
    EXPECT_EQ(IndentStyleText(SIndentStyle{}), "Tabs");
}

// The commands as the editors run them in a file of each kind: a space-indented file gets its
// own step, never a tab; a tab-indented file behaves as it always has, SPACETABS included.
TEST(Indentation, CommandsFollowTheFile) {
    enum EOp { Enter, EnterJython, Brace, Tab, Increase, Decrease };
    const struct {
        const char* name;
        const char* file; // the file the unit's style is detected from
        bool java;        // the Java editor's unit (follows SPACETABS)
        EOp op;
        std::string before;
        std::string after;
    } rows[] = {
        {"4: Enter after {", "a {\n    b;\n}", true, Enter, "    if (x) {\r\n|",
         "    if (x) {\r\n        |"},
        {"4: Enter after { alone", "a {\n    b;\n}", true, Enter, "{\r\n|", "{\r\n    |"},
        {"4: Enter keeps the line", "a {\n    b;\n}", true, Enter, "    x;\r\n|y",
         "    x;\r\n    |y"},
        {"4: Enter after /**", "a {\n    b;\n}", true, Enter, "    /**\r\n|",
         "    /**\r\n     * |"},
        {"4: Enter in a comment", "a {\n    b;\n}", true, Enter, "     * a\r\n|",
         "     * a\r\n     * |"},
        {"4: Enter after */", "a {\n    b;\n}", true, Enter, "     */\r\n|", "     */\r\n     |"},
        {"4: Enter after :", "a:\n    b", false, EnterJython, "    def f(s):\r\n|",
         "    def f(s):\r\n        |"},
        {"2: Enter after {", "a {\n  b;\n}", true, Enter, "  x {\r\n|", "  x {\r\n    |"},
        {"4: } after Enter", "a {\n    b;\n}", true, Brace, "    {\r\n        }|",
         "    {\r\n    }|"},
        {"4: } off the step", "a {\n    b;\n}", true, Brace, "x\r\n      }|", "x\r\n    }|"},
        {"4: } keeps the text after it", "a {\n    b;\n}", true, Brace, "x\r\n        }|y",
         "x\r\n    }|y"},
        {"4: } not first", "a {\n    b;\n}", true, Brace, "x\r\n    a}|", "x\r\n    a}|"},
        {"4: Tab", "a {\n    b;\n}", false, Tab, "x|y", "x    |y"},
        {"4: Increase Indent", "a {\n    b;\n}", false, Increase, "[a\r\nb]", "[    a\r\n    b]"},
        {"4: Decrease Indent", "a {\n    b;\n}", true, Decrease,
         "[        a\r\n      b\r\n\tc\r\nd]", "[    a\r\n    b\r\nc\r\nd]"},
        {"tabs: Enter after {", "a {\n\tb;\n}", true, Enter, "\tif (x) {\r\n|",
         "\tif (x) {\r\n\t\t|"},
        {"tabs: }", "a {\n\tb;\n}", true, Brace, "\t\tx\r\n\t\t}|", "\t\tx\r\n\t}|"},
        {"tabs: Tab with SPACETABS", "a {\n\tb;\n}", true, Tab, "\t\t|x", "\t\t\t|x"},
        {"tabs: Decrease Indent", "a {\n\tb;\n}", true, Decrease, "[    a]", "[   a]"},
        {"none: Enter with SPACETABS", "a {}", true, Enter, "x {\r\n|", "x {\r\n   |"},
        {"none: Tab of another editor", "a {}", false, Tab, "|x", "\t|x"},
    };
    CSettings settings;
    settings.tabWidth = 3;
    settings.spaceTabs = 1;
    for (const auto& row : rows) {
        CIndentUnit unit(settings, row.java);
        unit.SetFileStyle(DetectIndentation(row.file));
        const int step = unit.SpaceStep();
        RunCases({{row.name, row.before, row.after}}, [&](CTextControl& text) {
            switch (row.op) {
            case Enter:
            case EnterJython:
                AutoIndentNewLine(text, '\r',
                                  row.op == Enter ? EAutoIndentForm::Java : EAutoIndentForm::Jython,
                                  step);
                break;
            case Brace:
                AlignClosingBrace(text, step);
                break;
            case Tab:
                InsertIndentUnit(text, unit);
                break;
            case Increase:
                IndentLines(text, unit);
                break;
            case Decrease:
                UnindentLines(text, step);
                break;
            }
        });
    }
}
