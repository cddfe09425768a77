// The HTML, XML and Jython views typed into as a user would (offscreen): colours, Tab, Enter,
// the page, Ant and Jython commands and the project's model of Ant and Jython files.

#include "EditorTestSupport.h"
#include "gui/editor/LiveHTMLView.h"
#include "gui/editor/LivePythonView.h"
#include "gui/editor/LiveXMLView.h"

#include <functional>

using namespace tovin;
using namespace tovin::test;

namespace {

using HtmlWindow = SEditorWindow<CLiveEditorDoc, CLiveHTMLView>;
using XmlWindow = SEditorWindow<CLiveEditorDoc, CLiveXMLView>;
using PythonWindow = SEditorWindow<CLiveEditorDoc, CLivePythonView>;

std::vector<std::string> FunctionNames(const CJavaFunctionList& list) {
    std::vector<std::string> names;
    for (const auto& function : list) {
        names.push_back(function->GetName());
    }
    return names;
}

} // namespace

class EditorLiveTest : public QObject {
    Q_OBJECT

private slots:
    void htmlIsColouredOnOpenAndWhileTyping();
    void xmlColoursAntTasksOnlyInsideTags();
    void jythonIsColouredLineByLine();
    void tabInsertsATabCharacterInEveryView();
    void tabWithSelectionIndentsInTabForm();
    void enterIndentsByTheLanguagesRule();
    void addWindowToProjectMessages();
    void savingKeepsTheJythonOutlineCurrent();
    void openingAnAntFileReadsItsTargets();
    void runAntPicksTheBuildFile();
    void pageAndJythonCommandsNeedAProject();
    void insertAppletNeedsAMainFile();
    void showLineSelectsInJythonAndXmlOnly();
};

void EditorLiveTest::htmlIsColouredOnOpenAndWhileTyping() {
    SEditorFixture f;
    HtmlWindow w = f.OpenText<CLiveEditorDoc, CLiveHTMLView>(
        "p.html", "<TABLE b=\"1\">table</TABLE><!-- c -->\n", EDocumentKind::Html);
    auto& v = w.View();
    // Tag names are keywords inside tags only, the b of an attribute too.
    QCOMPARE(ClassDump(v, 0, 38), std::string("tkkkkktktssstnnnnnttkkkkktccccccccccnn"));
    PlaceCaret(v, v.GetLength());
    QTest::keyClicks(&v, "<b>x");
    const int line = v.LineIndex(1);
    QCOMPARE(ClassDump(v, line), std::string("tktn"));
}

void EditorLiveTest::xmlColoursAntTasksOnlyInsideTags() {
    SEditorFixture f;
    XmlWindow w = f.OpenText<CLiveEditorDoc, CLiveXMLView>(
        "build.xml", "<project default=\"x\"><javac/> javac </project>\n", EDocumentKind::Xml);
    auto& v = w.View();
    QCOMPARE(ClassDump(v, 0, 9), std::string("tkkkkkkkt"));
    const int inTag = static_cast<int>(v.GetText().find("javac"));
    QCOMPARE(ClassDump(v, inTag, inTag + 5), std::string("kkkkk"));
    const int inText = static_cast<int>(v.GetText().find(" javac ")) + 1;
    QCOMPARE(ClassDump(v, inText, inText + 5), std::string("nnnnn"));
}

void EditorLiveTest::jythonIsColouredLineByLine() {
    SEditorFixture f;
    PythonWindow w = f.OpenText<CLiveEditorDoc, CLivePythonView>(
        "t.py", "def f(x):\n    print \"a\\\"b\" # c\n", EDocumentKind::Jython);
    auto& v = w.View();
    QCOMPARE(ClassDump(v, 0, 9), std::string("kkknnnnnn"));
    const int line = v.LineIndex(1);
    // A quote right after a backslash never closes a Jython string.
    QCOMPARE(ClassDump(v, line, v.LineIndex(2) - 2), std::string("nnnnkkkkknssssssnccc"));
    PlaceCaret(v, v.GetLength());
    QTest::keyClicks(&v, "return # done");
    QCOMPARE(ClassDump(v, v.LineIndex(2)), std::string("kkkkkkncccccc"));
}

void EditorLiveTest::tabInsertsATabCharacterInEveryView() {
    SEditorFixture f;
    f.settings.spaceTabs = 1;
    f.settings.tabWidth = 3;
    HtmlWindow html = f.Open<CLiveEditorDoc, CLiveHTMLView>("", EDocumentKind::Html);
    XmlWindow xml = f.Open<CLiveEditorDoc, CLiveXMLView>("", EDocumentKind::Xml);
    PythonWindow python = f.Open<CLiveEditorDoc, CLivePythonView>("", EDocumentKind::Jython);
    for (CSourceView* view :
         std::initializer_list<CSourceView*>{&html.View(), &xml.View(), &python.View()}) {
        QTest::keyClick(view, Qt::Key_Tab);
        QTest::keyClick(view, Qt::Key_Tab);
        // Shift+Tab without a selection outdents (the key arrives as Backtab).
        QTest::keyClick(view, Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClicks(view, "a");
        QCOMPARE(view->GetText(), std::string("\ta"));
    }
}

void EditorLiveTest::tabWithSelectionIndentsInTabForm() {
    SEditorFixture f;
    f.settings.spaceTabs = 1;
    PythonWindow w =
        f.OpenText<CLiveEditorDoc, CLivePythonView>("i.py", "a\n b\nc\n", EDocumentKind::Jython);
    auto& v = w.View();
    v.SetSel(0, v.LineIndex(1) + 1);
    QTest::keyClick(&v, Qt::Key_Tab);
    QCOMPARE(v.GetText(), std::string("\ta\r\n\t b\r\nc\r\n"));
    QTest::keyClick(&v, Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(&v, Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(v.GetText(), std::string("a\r\nb\r\nc\r\n"));
    v.SetSel(0, 0);
    v.OnIncreaseIndent(); // an empty selection at a line's start touches no line
    QCOMPARE(v.GetText(), std::string("a\r\nb\r\nc\r\n"));
}

void EditorLiveTest::enterIndentsByTheLanguagesRule() {
    SEditorFixture f;
    PythonWindow python = f.Open<CLiveEditorDoc, CLivePythonView>("", EDocumentKind::Jython);
    QTest::keyClick(&python.View(), Qt::Key_Tab);
    QTest::keyClicks(&python.View(), "  def f(self):  ");
    QTest::keyClick(&python.View(), Qt::Key_Return);
    QCOMPARE(python.View().GetText(), std::string("\t  def f(self):  \r\n\t\t  "));

    HtmlWindow html = f.Open<CLiveEditorDoc, CLiveHTMLView>("", EDocumentKind::Html);
    QTest::keyClicks(&html.View(), "  <ul>");
    QTest::keyClick(&html.View(), Qt::Key_Return);
    QTest::keyClicks(&html.View(), "{:");
    QTest::keyClick(&html.View(), Qt::Key_Return);
    QCOMPARE(html.View().GetText(), std::string("  <ul>\r\n  {:\r\n  "));
}

void EditorLiveTest::addWindowToProjectMessages() {
    SEditorFixture f;
    HtmlWindow unsaved = f.Open<CLiveEditorDoc, CLiveHTMLView>("", EDocumentKind::Html);
    unsaved.View().OnAddWindowToProject();
    QCOMPARE(f.host.MessageTexts(), std::vector<std::string>{"Please save the document first"});
    QVERIFY(unsaved.Doc().IsModified());

    CJavaProjectDoc& project = f.OpenProject();
    HtmlWindow page =
        f.OpenText<CLiveEditorDoc, CLiveHTMLView>("a.html", "<p>\n", EDocumentKind::Html);
    page.View().OnAddWindowToProject();
    QVERIFY(project.FreeFiles().FindByFullPath(page.Doc().PathName()));
    page.View().OnAddWindowToProject();
    const std::string other = f.dir.Write("sub/a.html", "<p>\n");
    HtmlWindow samename = f.Open<CLiveEditorDoc, CLiveHTMLView>(other, EDocumentKind::Html);
    samename.View().OnAddWindowToProject();
    QCOMPARE(
        f.host.MessageTexts(),
        (std::vector<std::string>{"Please save the document first", "File is already in project.",
                                  "You cannot add two files with the same name to a "
                                  "project."}));

    project.SetModifiedFlag(false);
    PythonWindow script = f.OpenText<CLiveEditorDoc, CLivePythonView>(
        "s.py", "def top():\n    pass\n", EDocumentKind::Jython);
    script.View().OnAddWindowToProject();
    CJavaFile* entry = project.JavaFiles().FindByFullPath(script.Doc().PathName());
    QVERIFY(entry);
    QCOMPARE(FunctionNames(entry->Functions()), std::vector<std::string>{"top()"});
    QVERIFY(project.IsModified());
}

void EditorLiveTest::savingKeepsTheJythonOutlineCurrent() {
    SEditorFixture f;
    CJavaProjectDoc& project = f.OpenProject();
    const std::string path = f.dir.Write("tool.py", "class Tool:\n    def run(self):\n"
                                                    "        pass\n");
    project.AddFile(path);
    int refreshed = 0;
    project.SetRefreshCallback([&refreshed] { ++refreshed; });
    PythonWindow w = f.Open<CLiveEditorDoc, CLivePythonView>(path, EDocumentKind::Jython);
    CJavaFile* entry = project.JavaFiles().FindByFullPath(path);
    QCOMPARE(entry->Classes().GetCount(), 1);
    QVERIFY(refreshed > 0);
    auto& v = w.View();
    PlaceCaret(v, v.GetLength());
    QTest::keyClicks(&v, "def helper():\r");
    QVERIFY(w.Doc().OnSaveDocument(path));
    QVERIFY(w.Doc().OnSaveDocument(path));
    QCOMPARE(entry->Classes().GetCount(), 1);
    QCOMPARE(FunctionNames(entry->Classes().Item(0)->Methods()),
             std::vector<std::string>{"run(self)"});
    QCOMPARE(FunctionNames(entry->Functions()), std::vector<std::string>{"helper()"});
    // An upper-case extension is an XML file all the same.
    const std::string upper =
        f.dir.Write("B.XML", "<project default=\"t\"><target name=\"t\"/></project>\n");
    project.AddFile(upper);
    XmlWindow xml = f.Open<CLiveEditorDoc, CLiveXMLView>(upper, EDocumentKind::Xml);
    QVERIFY(xml.Doc().OnSaveDocument(upper));
    QCOMPARE(FunctionNames(project.JavaFiles().FindByFullPath(upper)->Functions()),
             std::vector<std::string>{"t"});
}

void EditorLiveTest::openingAnAntFileReadsItsTargets() {
    SEditorFixture f;
    CJavaProjectDoc& project = f.OpenProject();
    const std::string path = f.dir.Write(
        "build.xml", "<project default=\"b\">\n<target name=\"a\"/>\n<target name=\"b\"/>\n"
                     "</project>\n");
    project.AddFile(path);
    XmlWindow w = f.Open<CLiveEditorDoc, CLiveXMLView>(path, EDocumentKind::Xml);
    QCOMPARE(FunctionNames(project.JavaFiles().FindByFullPath(path)->Functions()),
             (std::vector<std::string>{"a", "b"}));
}

void EditorLiveTest::runAntPicksTheBuildFile() {
    SEditorFixture f;
    f.InstallToolStandIns();
    HtmlWindow page =
        f.OpenText<CLiveEditorDoc, CLiveHTMLView>("a.html", "<p>\n", EDocumentKind::Html);
    XmlWindow build =
        f.OpenText<CLiveEditorDoc, CLiveXMLView>("other.xml", "<project/>\n", EDocumentKind::Xml);
    page.View().OnRunAnt(); // no project: nothing
    f.OpenProject("proj.jpr");
    page.View().OnRunAnt();
    QTRY_VERIFY_WITH_TIMEOUT(!CProcessRunner::IsProcessRunning(), 10000);
    build.View().OnRunAnt();
    const std::vector<std::string> calls = f.ToolCalls(2);
    QCOMPARE(calls.size(), size_t(2));
    // A page runs the project's own build file; an XML file runs itself, default target.
    QVERIFY2(calls[0].ends_with(" -buildfile " + f.dir.File("build.xml")), calls[0].c_str());
    QVERIFY2(calls[1].ends_with(" -buildfile " + build.Doc().PathName()), calls[1].c_str());
}

void EditorLiveTest::pageAndJythonCommandsNeedAProject() {
    SEditorFixture f;
    f.InstallToolStandIns();
    HtmlWindow page =
        f.OpenText<CLiveEditorDoc, CLiveHTMLView>("a.html", "<p>\n", EDocumentKind::Html);
    PythonWindow script =
        f.OpenText<CLiveEditorDoc, CLivePythonView>("s.py", "pass\n", EDocumentKind::Jython);
    const std::vector<std::function<void()>> commands = {
        [&] { page.View().OnRunApplet(); },
        [&] { script.View().OnRunJython(); },
        [&] { script.View().OnCompileJythonFile(); },
        [&] { script.View().OnRunJythonWithConsole(); },
    };
    for (const auto& command : commands) {
        command(); // no project: nothing
    }
    QVERIFY(f.host.captions.empty());
    QVERIFY(f.host.terminals.empty());
    page.View().OnOpenInWebBrowser(); // the desktop needs no project
    QCOMPARE(f.host.desktopOpened, std::vector<std::string>{page.Doc().PathName()});
    f.OpenProject();
    // One tool runs at a time, as the application's menus allow.
    for (const auto& command : commands) {
        command();
        QTRY_VERIFY_WITH_TIMEOUT(!CProcessRunner::IsProcessRunning(), 10000);
    }
    const std::vector<std::string> calls = f.ToolCalls(3);
    QCOMPARE(calls.size(), size_t(3));
    const std::string& py = script.Doc().PathName();
    QCOMPARE(calls[0], std::string("appletviewer a.html"));
    QVERIFY2(calls[1].starts_with("java ") && calls[1].ends_with("org.python.util.jython " + py),
             calls[1].c_str());
    QVERIFY2(calls[2].starts_with("java ") && calls[2].ends_with("jythonc.py " + py),
             calls[2].c_str());
    // With a console, Jython runs in a terminal of its own.
    QCOMPARE(f.host.terminals.size(), size_t(1));
    QVERIFY(ReadFile(f.host.terminals[0].first).find(py) != std::string::npos);
}

void EditorLiveTest::insertAppletNeedsAMainFile() {
    SEditorFixture f;
    HtmlWindow w = f.OpenText<CLiveEditorDoc, CLiveHTMLView>("a.html", "<body>\n</body>\n",
                                                             EDocumentKind::Html);
    auto& v = w.View();
    v.OnInsertApplet(); // no project: nothing
    CJavaProjectDoc& project = f.OpenProject();
    v.OnInsertApplet();
    QCOMPARE(f.host.MessageTexts(),
             std::vector<std::string>{"Please set the applet class as main."});
    project.SetMainFile("Demo.java");
    PlaceCaret(v, v.LineIndex(1));
    v.OnInsertApplet();
    QCOMPARE(v.GetText(), std::string("<body>\r\n\r\n<APPLET CODE=\"Demo.class\" \r\n\tWIDTH=300"
                                      "\r\n\tHEIGHT=300>\r\nApplet Demo.class\r\n</APPLET>\r\n"
                                      "</body>\r\n"));
    const int tag = static_cast<int>(v.GetText().find("<APPLET"));
    QCOMPARE(ClassDump(v, tag, tag + 7), std::string("tkkkkkk"));
}

void EditorLiveTest::showLineSelectsInJythonAndXmlOnly() {
    SEditorFixture f;
    PythonWindow script = f.OpenText<CLiveEditorDoc, CLivePythonView>("s.py", "a = 1\nb = 2\n",
                                                                      EDocumentKind::Jython);
    HtmlWindow page =
        f.OpenText<CLiveEditorDoc, CLiveHTMLView>("a.html", "<p>\n<b>\n", EDocumentKind::Html);
    static_cast<COpenDocument&>(script.Doc()).ShowLine(1);
    QCOMPARE(script.View().GetSelText(), std::string("b = 2"));
    static_cast<COpenDocument&>(page.Doc()).ShowLine(1);
    QCOMPARE(page.View().GetSelText(), std::string());
}

QTEST_MAIN(EditorLiveTest)
#include "EditorLiveTest.moc"
