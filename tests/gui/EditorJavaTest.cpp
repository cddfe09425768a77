// The Java editor typed into as a user would (offscreen): colours, indentation, Tab, the caret
// status, the function drop-down and the commands that need the window's file.

#include "EditorTestSupport.h"
#include "gui/editor/FindReplace.h"
#include "gui/editor/SyntaxWindowView.h"

#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QSignalSpy>

using namespace tovin;
using namespace tovin::test;

namespace {

using Window = SEditorWindow<CSyntaxWindowDoc, CSyntaxWindowView>;
using Sci = QsciScintillaBase;

int Find(const CTextControl& control, const std::string& what, int from = 0) {
    return static_cast<int>(control.GetText().find(what, static_cast<size_t>(from)));
}

} // namespace

class EditorJavaTest : public QObject {
    Q_OBJECT

private slots:
    void openingColoursTheWholeText();
    void classesShowInTheSettingsColours();
    void typingColoursTheCaretLine();
    void pastedLinesAreColoured();
    void enterIndentsAfterABrace();
    void enterContinuesABlockComment();
    void closingBraceIsAligned();
    void tabInsertsTheIndentUnit_data();
    void tabInsertsTheIndentUnit();
    void tabWithSelectionIndentsAndShiftTabUnindents();
    void caretStatusShowsLineAndColumn();
    void functionDropDownListsMethodsAndJumps();
    void addWindowToProjectMessages();
    void savingReparsesIntoTheProject();
    void compileAndHelpGoToTheProject();
    void convertTabsToSpacesUsesTheCreationTabWidth();
    void typedOpenerColoursItsLineAndLaterTypingFollows_data();
    void typedOpenerColoursItsLineAndLaterTypingFollows();
    void contextMenuHoldsTheTextCommands();
};

void EditorJavaTest::openingColoursTheWholeText() {
    SEditorFixture f;
    Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>(
        "A.java", "public class A {\n  String s = \"x // y\"; // note\n  /* a\n  b */ int i;\n}\n");
    auto& v = w.View();
    QCOMPARE(ClassDump(v, 0, 12), std::string("kkkkkknkkkkk"));
    const int string = Find(v, "\"x // y\"");
    QCOMPARE(ClassDump(v, string, string + 8), std::string("ssssssss"));
    const int comment = Find(v, "// note");
    QCOMPARE(ClassDump(v, comment, comment + 7), std::string("ccccccc"));
    const int block = Find(v, "/* a");
    QCOMPARE(ClassDump(v, block, Find(v, "b */") + 4), std::string(12, 'c'));
    const int afterBlock = Find(v, " int i");
    QCOMPARE(ClassDump(v, afterBlock, afterBlock + 6), std::string("nkkknn"));
    QVERIFY(!w.Doc().IsModified());
}

void EditorJavaTest::classesShowInTheSettingsColours() {
    SEditorFixture f;
    f.settings.keyColor = 0x0000AA00;
    f.settings.commentColor = 0x00BB0000;
    f.settings.stringColor = 0x000000CC;
    Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("A.java", "int a; // x\n");
    auto& v = w.View();
    auto colourAt = [&v](int position) {
        long style = v.Send(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(position));
        return v.Send(Sci::SCI_STYLEGETFORE, static_cast<unsigned long>(style));
    };
    QCOMPARE(colourAt(0), 0x00AA00L);
    QCOMPARE(colourAt(8), 0xBB0000L);
    QCOMPARE(colourAt(4), static_cast<long>(ColourReference(
                              QApplication::palette().color(QPalette::WindowText))));
    // Colours are read when the view is created: later settings reach only new windows.
    f.settings.keyColor = 0x00123456;
    QCOMPARE(colourAt(0), 0x00AA00L);
}

void EditorJavaTest::typingColoursTheCaretLine() {
    SEditorFixture f;
    Window w = f.OpenJava<CSyntaxWindowView>("");
    auto& v = w.View();
    QTest::keyClicks(&v, "int x = \"a\"; // c");
    QCOMPARE(v.GetText(), std::string("int x = \"a\"; // c"));
    QCOMPARE(ClassDump(v), std::string("kkknnnnnsssnncccc"));
    QTest::keyClick(&v, Qt::Key_Backspace); // a removed character recolours too
    QTest::keyClick(&v, Qt::Key_Home);
    QTest::keyClick(&v, Qt::Key_Delete);
    QCOMPARE(ClassDump(v, 0, 3), std::string("nnn")); // "nt" is no keyword
    QVERIFY(w.Doc().IsModified());
}

void EditorJavaTest::pastedLinesAreColoured() {
    SEditorFixture f;
    Window w = f.OpenJava<CSyntaxWindowView>("");
    auto& v = w.View();
    QApplication::clipboard()->setText(QStringLiteral("int a;\nint b;\nint c;"));
    v.paste();
    ProcessQueuedEvents();
    QCOMPARE(v.GetText(), std::string("int a;\r\nint b;\r\nint c;"));
    for (int line = 0; line < 3; ++line) {
        const int start = v.LineIndex(line);
        QCOMPARE(ClassDump(v, start, start + 3), std::string("kkk"));
    }
    v.undo();
    v.redo();
    ProcessQueuedEvents();
    QCOMPARE(ClassDump(v, v.LineIndex(2), v.LineIndex(2) + 3), std::string("kkk"));
}

void EditorJavaTest::enterIndentsAfterABrace() {
    SEditorFixture f;
    Window w = f.OpenJava<CSyntaxWindowView>("");
    auto& v = w.View();
    QTest::keyClicks(&v, "    if (a) {");
    QTest::keyClick(&v, Qt::Key_Return);
    QCOMPARE(v.GetText(), std::string("    if (a) {\r\n\t    "));
    QTest::keyClicks(&v, "b();");
    QTest::keyClick(&v, Qt::Key_Return);
    QCOMPARE(v.GetText(), std::string("    if (a) {\r\n\t    b();\r\n\t    "));
}

void EditorJavaTest::enterContinuesABlockComment() {
    SEditorFixture f;
    Window w = f.OpenJava<CSyntaxWindowView>("");
    auto& v = w.View();
    QTest::keyClick(&v, Qt::Key_Tab);
    QTest::keyClicks(&v, "/** doc");
    QTest::keyClick(&v, Qt::Key_Return);
    QCOMPARE(v.GetText(), std::string("\t/** doc\r\n\t* "));
    // The line is inside the comment: typing on it colours it as comment.
    QTest::keyClicks(&v, "int");
    QCOMPARE(ClassDump(v, v.LineIndex(1)), std::string("cccccc"));
}

void EditorJavaTest::closingBraceIsAligned() {
    SEditorFixture f;
    Window w = f.OpenJava<CSyntaxWindowView>("");
    auto& v = w.View();
    QTest::keyClick(&v, Qt::Key_Tab);
    QTest::keyClick(&v, Qt::Key_Tab);
    QTest::keyClicks(&v, "call();");
    QTest::keyClick(&v, Qt::Key_Return);
    QCOMPARE(v.GetText(), std::string("\t\tcall();\r\n\t\t"));
    QTest::keyClicks(&v, "}");
    QCOMPARE(v.GetText(), std::string("\t\tcall();\r\n\t}"));
    int start = 0, end = 0;
    v.GetSel(start, end);
    QCOMPARE(start, v.GetLength());
    // A brace that is not the first character of its line stays where it was typed.
    QTest::keyClick(&v, Qt::Key_Return);
    QTest::keyClicks(&v, "x }");
    QCOMPARE(v.GetText(), std::string("\t\tcall();\r\n\t}\r\n\tx }"));
}

void EditorJavaTest::tabInsertsTheIndentUnit_data() {
    QTest::addColumn<int>("spaceTabs");
    QTest::addColumn<QString>("expected");
    QTest::newRow("tab") << 0 << QStringLiteral("\tx");
    QTest::newRow("spaces of the tab width") << 1 << QStringLiteral("   x");
}

void EditorJavaTest::tabInsertsTheIndentUnit() {
    QFETCH(int, spaceTabs);
    QFETCH(QString, expected);
    SEditorFixture f;
    f.settings.tabWidth = 3;
    Window w = f.OpenJava<CSyntaxWindowView>("");
    auto& v = w.View();
    f.settings.tabWidth = 8;          // read at creation only
    f.settings.spaceTabs = spaceTabs; // read at each use
    QTest::keyClick(&v, Qt::Key_Tab);
    QTest::keyClicks(&v, "x");
    QCOMPARE(QString::fromStdString(v.GetText()), expected);
    // Shift+Tab (Backtab) without a selection takes the level off the caret's line again.
    QTest::keyClick(&v, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QString::fromStdString(v.GetText()), QStringLiteral("x"));
}

void EditorJavaTest::tabWithSelectionIndentsAndShiftTabUnindents() {
    SEditorFixture f;
    f.settings.spaceTabs = 1;
    f.settings.tabWidth = 2;
    // A file indented with tabs keeps its tabs, whatever SPACETABS says.
    Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("A.java", "a\nb\nc\n\td\n");
    auto& v = w.View();
    v.SetSel(0, v.LineIndex(2)); // lines 0 and 1
    QTest::keyClick(&v, Qt::Key_Tab);
    QCOMPARE(v.GetText(), std::string("\ta\r\n\tb\r\nc\r\n\td\r\n"));
    int start = 0, end = 0;
    v.GetSel(start, end);
    QCOMPARE(start, 0);
    QCOMPARE(end, v.LineIndex(2));
    QTest::keyClick(&v, Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(v.GetText(), std::string("a\r\nb\r\nc\r\n\td\r\n"));
    v.SetSel(0, v.LineIndex(2));
    v.OnDecreaseIndent();
    v.OnDecreaseIndent();
    QCOMPARE(v.GetText(), std::string("a\r\nb\r\nc\r\n\td\r\n"));
}

void EditorJavaTest::caretStatusShowsLineAndColumn() {
    SEditorFixture f;
    Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>(
        "A.java", "class A {\n\tint \xC3\xA9t\xC3\xA9;\n}\n");
    auto& v = w.View();
    QSignalSpy status(&v, &CSourceView::CaretStatusChanged);
    QCOMPARE(v.LineStatusText(), QStringLiteral("Line: 1"));
    QCOMPARE(v.ColumnStatusText(), QStringLiteral("Col: 1"));
    QTest::keyClick(&v, Qt::Key_Down);
    QTest::keyClick(&v, Qt::Key_End);
    QVERIFY(!status.isEmpty());
    const QList<QVariant> last = status.last();
    QCOMPARE(last.at(0).toString(), QStringLiteral("Line: 2"));
    // A tab counts one column, and so does each accented letter.
    QCOMPARE(last.at(1).toString(), QStringLiteral("Col: 10"));
    status.clear();
    // Just right of the margins, at the text's first character.
    const QPoint start(static_cast<int>(v.Send(Sci::SCI_POINTXFROMPOSITION, 0, 0)) + 1, 2);
    QTest::mouseClick(v.viewport(), Qt::LeftButton, Qt::NoModifier, start);
    QVERIFY(!status.isEmpty());
    QCOMPARE(status.last().at(0).toString(), QStringLiteral("Line: 1"));
}

void EditorJavaTest::functionDropDownListsMethodsAndJumps() {
    SEditorFixture f;
    Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("A.java", "package p.q;\n"
                                                                         "class A {\n"
                                                                         "    void run() {\n"
                                                                         "    }\n"
                                                                         "    int size(int x) {\n"
                                                                         "        return x;\n"
                                                                         "    }\n"
                                                                         "}\n");
    auto& v = w.View();
    QComboBox functions;
    QObject::connect(&v, &CSyntaxWindowView::FunctionListChanged, &functions,
                     [&functions](const QStringList& names) {
                         functions.clear();
                         functions.addItems(names);
                     });
    v.OnRefreshFunctionList();
    QCOMPARE(functions.count(), 2);
    QCOMPARE(functions.itemText(0), QStringLiteral("run()"));
    QCOMPARE(functions.itemText(1), QStringLiteral("size(int x)"));
    QCOMPARE(w.Doc().PackageName(), std::string("p.q"));
    v.OnFunctionChosen(1);
    QCOMPARE(v.GetSelText(), std::string("    int size(int x) {"));
    QCOMPARE(v.LineStatusText(), QStringLiteral("Line: 5"));
    // The project's navigation finds the same place through the open document.
    COpenDocument& document = w.Doc();
    const int position = document.FindFunctionPosition("run()");
    QVERIFY(position >= 0);
    document.ShowPosition(position);
    QCOMPARE(v.GetSelText(), std::string("    void run() {"));
    document.ShowLine(0);
    QCOMPARE(v.GetSelText(), std::string("package p.q;"));
    // Editing and refreshing follows the text.
    PlaceCaret(v, v.LineIndex(2));
    QTest::keyClicks(&v, "    void added() {\r}\r");
    v.OnFunctionListDropDown();
    QCOMPARE(functions.count(), 3);
    QCOMPARE(functions.itemText(0), QStringLiteral("added()"));
    v.OnFunctionChosen(-1); // nothing chosen: nothing moves
    v.OnFunctionChosen(7);
}

void EditorJavaTest::addWindowToProjectMessages() {
    SEditorFixture f;
    Window unsaved = f.OpenJava<CSyntaxWindowView>("");
    unsaved.View().OnAddWindowToProject();
    QCOMPARE(f.host.MessageTexts(), std::vector<std::string>{"Please save the document first"});
    QVERIFY(unsaved.Doc().IsModified());

    Window saved = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("B.java", "class B {}\n");
    saved.View().OnAddWindowToProject(); // no project: nothing happens
    QCOMPARE(f.host.messages.size(), size_t(1));

    CJavaProjectDoc& project = f.OpenProject();
    int refreshed = 0;
    project.SetRefreshCallback([&refreshed] { ++refreshed; });
    saved.View().OnAddWindowToProject();
    QVERIFY(project.JavaFiles().FindByFullPath(saved.Doc().PathName()) != nullptr);
    QVERIFY(project.IsModified());
    QVERIFY(refreshed > 0);
    QCOMPARE(project.JavaFiles().FindByFullPath(saved.Doc().PathName())->Classes().GetCount(), 1);
    QCOMPARE(f.host.messages.size(), size_t(1));
}

void EditorJavaTest::savingReparsesIntoTheProject() {
    SEditorFixture f;
    CJavaProjectDoc& project = f.OpenProject();
    const std::string path = f.dir.Write("Main.java", "package app;\nclass Main {\n}\n");
    project.AddFile(path);
    project.SetMainFile("Main.java");
    Window w = f.OpenJava<CSyntaxWindowView>(path);
    auto& v = w.View();
    PlaceCaret(v, v.LineIndex(2));
    QTest::keyClicks(&v, "void go() {\r");
    QVERIFY(w.Doc().OnSaveDocument(path));
    CJavaFile* entry = project.JavaFiles().FindByFullPath(path);
    QVERIFY(entry);
    QCOMPARE(entry->Classes().GetCount(), 1);
    QCOMPARE(entry->Classes().Item(0)->Methods().GetCount(), 1);
    QCOMPARE(entry->GetPackage(), std::string("app"));
    QCOMPARE(project.GetMainPackage(), std::string("app"));
    QCOMPARE(ReadFile(path), std::string("package app;\nclass Main {\nvoid go() {\n\t}\n"));
}

void EditorJavaTest::compileAndHelpGoToTheProject() {
    SEditorFixture f;
    f.InstallToolStandIns();
    Window w =
        f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("C.java", "package z;\nclass C {}\n");
    auto& v = w.View();
    v.OnCompile(); // no project: nothing
    QVERIFY(f.host.captions.empty());
    f.OpenProject();
    v.OnCompile();
    const std::string quoted = "\"" + w.Doc().PathName() + "\"";
    QCOMPARE(f.host.captions, std::vector<std::string>{"Compiling " + quoted});
    const std::vector<std::string> calls = f.ToolCalls(1);
    QCOMPARE(calls.size(), size_t(1));
    QTRY_VERIFY_WITH_TIMEOUT(!CProcessRunner::IsProcessRunning(), 10000);
    QVERIFY2(calls[0].starts_with("javac ") && calls[0].ends_with(" " + w.Doc().PathName()),
             calls[0].c_str());
    v.SetSel(0, 8);
    v.OnJdkHelp();
    PlaceCaret(v, 0);
    v.OnJdkHelp();
    QCOMPARE(f.helpKeywords, (std::vector<std::string>{"package", ""}));
}

void EditorJavaTest::convertTabsToSpacesUsesTheCreationTabWidth() {
    SEditorFixture f;
    f.settings.tabWidth = 4;
    Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("T.java", "\tint a;\n  \tb\n");
    f.settings.tabWidth = 2;
    w.View().OnConvertTabsToSpaces();
    QCOMPARE(w.View().GetText(), std::string("    int a;\r\n      b\r\n"));
    QCOMPARE(ClassDump(w.View(), 4, 7), std::string("kkk"));
    QVERIFY(w.Doc().IsModified());
}

void EditorJavaTest::typedOpenerColoursItsLineAndLaterTypingFollows_data() {
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("opened"); // the class letter of what the opener opens
    QTest::newRow("block comment") << QStringLiteral("/*") << QStringLiteral("c");
    QTest::newRow("text block") << QStringLiteral("\"\"\"") << QStringLiteral("s");
}

void EditorJavaTest::typedOpenerColoursItsLineAndLaterTypingFollows() {
    QFETCH(QString, opener);
    QFETCH(QString, opened);
    const std::string all = opened.toStdString();
    SEditorFixture f;
    Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("D.java", "xyz\nint a;\nint b;\n");
    auto& v = w.View();
    PlaceCaret(v, 3);
    QTest::keyClicks(&v, " " + opener);
    // Typing colours only its own line; what it opened reaches a later line when that line is
    // typed on, and every line with F3.
    QCOMPARE(ClassDump(v, 4, 4 + opener.size()), std::string(opener.size(), all[0]));
    QCOMPARE(ClassDump(v, v.LineIndex(1), v.LineIndex(1) + 3), std::string("kkk"));
    PlaceCaret(v, v.LineIndex(2) - 2);
    QTest::keyClicks(&v, " ");
    QCOMPARE(ClassDump(v, v.LineIndex(1), v.LineIndex(2) - 2), std::string(7, all[0]));
    QCOMPARE(ClassDump(v, v.LineIndex(2), v.LineIndex(2) + 3), std::string("kkk"));
    v.OnSyntaxColourUpdate();
    QCOMPARE(ClassDump(v, v.LineIndex(2), v.LineIndex(2) + 3), std::string(3, all[0]));
}

void EditorJavaTest::contextMenuHoldsTheTextCommands() {
    SEditorFixture f;
    Window w = f.OpenJava<CSyntaxWindowView>("");
    std::unique_ptr<QMenu> menu(w.View().CreateTextPopup());
    QStringList texts;
    for (QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    QCOMPARE(texts, (QStringList{"&Undo", "-", "Cu&t", "&Copy", "&Paste", "-", "Select &All", "-",
                                 "&Syntax Colour Update"}));
}

QTEST_MAIN(EditorJavaTest)
#include "EditorJavaTest.moc"
