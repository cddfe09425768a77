// The Java editor on a file of some megabytes: the control reports a change only before it
// happens, so the deferred recolouring of pasted, deleted and undone text, the modified flag,
// the caret panes and the function list are checked where they are far from the start; and a
// screen reader still receives the control's text events.

#include "EditorTestSupport.h"
#include "core/javamodel/JavaList.h"
#include "gui/editor/SyntaxWindowView.h"

#include <QAccessible>
#include <QAccessibleEvent>
#include <QClipboard>
#include <QSignalSpy>

using namespace tovin;
using namespace tovin::test;

namespace {

using Window = SEditorWindow<CSyntaxWindowDoc, CSyntaxWindowView>;
using Sci = QsciScintillaBase;

constexpr size_t kFileBytes = size_t(2) << 20;

// Methods with comments and strings, to `bytes` bytes, closed by the class's brace.
std::string LargeJava(size_t bytes) {
    std::string text = "package big;\r\n\r\npublic class Big {\r\n";
    for (int m = 0; text.size() < bytes; ++m) {
        const std::string n = std::to_string(m);
        text += "    /* method " + n + " */\r\n    public int method" + n +
                "(int v) {\r\n        return v + \"" + n + "\".length(); // end\r\n    }\r\n";
    }
    return text + "}\r\n";
}

int LastLineStart(const CTextControl& control) {
    return control.LineIndex(control.GetLineCount() - 1);
}

void PasteAt(CSyntaxWindowView& view, int position, const QString& text) {
    PlaceCaret(view, position);
    QApplication::clipboard()->setText(text);
    view.paste();
}

// The text events an accessibility client would receive.
std::vector<std::pair<int, QString>> g_insertions;

void RecordTextEvent(QAccessibleEvent* event) {
    if (event->type() == QAccessible::TextInserted) {
        auto* insert = static_cast<QAccessibleTextInsertEvent*>(event);
        g_insertions.emplace_back(insert->changePosition(), insert->textInserted());
    }
}

} // namespace

// Qt's platform layer, as far as the test needs it. On the offscreen platform the application's
// accessibility state is kept by the platform's default accessibility object, which only a
// platform bridge (AT-SPI on the desktop) switches on when a screen reader connects. Its
// headers are not part of Qt's public development files, hence these declarations.
class QPlatformAccessibility {
public:
    void setActive(bool active);
};
class QPlatformIntegration {
public:
    QPlatformAccessibility* accessibility() const;
};
class QGuiApplicationPrivate {
public:
    static QPlatformIntegration* platform_integration;
};

namespace {

// Switches accessibility on or off as a screen reader's bridge does; false when it cannot.
bool SetScreenReaderActive(bool active) {
    QPlatformIntegration* integration = QGuiApplicationPrivate::platform_integration;
    QPlatformAccessibility* accessibility = integration ? integration->accessibility() : nullptr;
    if (!accessibility) {
        return false;
    }
    accessibility->setActive(active);
    return QAccessible::isActive() == active;
}

} // namespace

class EditorLargeFileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void openedFileIsColouredWithItsFunctions();
    void pastesBeforeTheRecolouringAreAllColoured();
    void undoneDeletionIsColouredAgain();
    void modifiedFlagFollowsTypingAndUndo();
    void caretPanesFollowTypingAtTheEnd();
    void screenReaderReceivesTextInsertions();
    void changeDeepInALongLineRecoloursTheRestOfIt();

private:
    std::unique_ptr<SEditorFixture> m_fixture;
    std::string m_path;
};

void EditorLargeFileTest::initTestCase() {
    m_fixture = std::make_unique<SEditorFixture>();
    m_path = m_fixture->dir.Write("Big.java", LargeJava(kFileBytes));
}

void EditorLargeFileTest::openedFileIsColouredWithItsFunctions() {
    Window w = m_fixture->OpenJava<CSyntaxWindowView>(m_path);
    auto& v = w.View();
    QVERIFY(v.GetLength() > static_cast<int>(kFileBytes));
    const int last = v.LineIndex(v.GetLineCount() - 6);
    // "    /* method N */" then "    public int methodN(...".
    QCOMPARE(ClassDump(v, last, last + 6), std::string("nnnncc"));
    const int next = v.LineIndex(v.GetLineCount() - 5);
    QCOMPARE(ClassDump(v, next, next + 14), std::string("nnnnkkkkkknkkk"));
    const QStringList functions = v.FunctionNames();
    // As many as the model holds.
    QCOMPARE(functions.size(), kJavaListCapacity);
    QCOMPARE(functions.first(), QStringLiteral("method0(int v)"));
    QVERIFY(!w.Doc().IsModified());
}

// Several changes before control returns to the event loop: each one moves the text of the
// ones before it, and all of them are coloured, line by line.
void EditorLargeFileTest::pastesBeforeTheRecolouringAreAllColoured() {
    Window w = m_fixture->OpenJava<CSyntaxWindowView>(m_path);
    auto& v = w.View();
    const int lines = v.GetLineCount();
    PasteAt(v, v.GetLength(), QStringLiteral("int a;\nint b;\n"));
    PasteAt(v, v.LineIndex(lines - 10), QStringLiteral("int c;\n"));
    // A line removed before both.
    v.SetSel(v.LineIndex(lines - 20), v.LineIndex(lines - 19));
    v.ReplaceSel("");
    ProcessQueuedEvents();
    const int c = v.LineIndex(lines - 11);
    QCOMPARE(v.GetTextRange(c, c + 8), std::string("int c;\r\n"));
    QCOMPARE(ClassDump(v, c, c + 6), std::string("kkknnn"));
    const int a = LastLineStart(v) - 16;
    QCOMPARE(v.GetTextRange(a, a + 16), std::string("int a;\r\nint b;\r\n"));
    QCOMPARE(ClassDump(v, a, a + 3) + ClassDump(v, a + 8, a + 11), std::string("kkkkkk"));
    // Undone and redone, the pasted text comes back unstyled and is coloured again.
    for (int step = 0; step < 3; ++step) {
        v.undo();
    }
    for (int step = 0; step < 3; ++step) {
        v.redo();
    }
    ProcessQueuedEvents();
    QCOMPARE(ClassDump(v, a, a + 3) + ClassDump(v, a + 8, a + 11), std::string("kkkkkk"));
    QCOMPARE(ClassDump(v, c, c + 6), std::string("kkknnn"));
}

void EditorLargeFileTest::undoneDeletionIsColouredAgain() {
    Window w = m_fixture->OpenJava<CSyntaxWindowView>(m_path);
    auto& v = w.View();
    const int line = v.GetLineCount() - 4;
    const int start = v.LineIndex(line);
    const int end = v.LineIndex(line + 1) - 2; // without the line break
    const std::string before = ClassDump(v, start, end);
    v.SetSel(start, end + 2);
    QTest::keyClick(&v, Qt::Key_Delete);
    ProcessQueuedEvents();
    v.undo();
    // The restored text comes back unstyled; the recolouring gives it its classes again.
    QVERIFY(ClassDump(v, start, end) != before);
    ProcessQueuedEvents();
    QCOMPARE(ClassDump(v, start, end), before);
}

void EditorLargeFileTest::modifiedFlagFollowsTypingAndUndo() {
    Window w = m_fixture->OpenJava<CSyntaxWindowView>(m_path);
    auto& v = w.View();
    QSignalSpy changes(&w.Doc(), &CSourceDocument::ModifiedChanged);
    PlaceCaret(v, v.GetLength());
    QTest::keyClicks(&v, "int");
    QCOMPARE(ClassDump(v, v.GetLength() - 3), std::string("kkk"));
    QVERIFY(w.Doc().IsModified());
    while (v.isUndoAvailable()) {
        v.undo();
    }
    QVERIFY(!w.Doc().IsModified());
    QCOMPARE(changes.count(), 2);
    QCOMPARE(changes.at(0).at(0).toBool(), true);
    QCOMPARE(changes.at(1).at(0).toBool(), false);
}

// A file of one line of a megabyte: a quote typed far into it changes the classes after it to
// the end of the line and none before it; deleted again, the old classes come back.
void EditorLargeFileTest::changeDeepInALongLineRecoloursTheRestOfIt() {
    const std::string unit = " int y = \"s\"; /* c */";
    std::string line = "int x = 0;";
    while (line.size() < (size_t(1) << 20)) {
        line += unit;
    }
    line += " end";
    Window w = m_fixture->OpenJava<CSyntaxWindowView>(m_fixture->dir.Write("Line.java", line));
    auto& v = w.View();
    const int unitSize = static_cast<int>(unit.size());
    const int deep = 10 + unitSize * (v.GetLength() / 2 / unitSize);
    QCOMPARE(v.GetTextRange(deep, deep + unitSize), unit);
    QCOMPARE(ClassDump(v, deep, deep + unitSize), std::string("nkkknnnnnsssnnccccccc"));
    const std::string before = ClassDump(v);
    QCOMPARE(before.substr(before.size() - 4), std::string("nnnn"));
    PlaceCaret(v, deep + 5);
    QTest::keyClick(&v, '"');
    ProcessQueuedEvents();
    // The new quote pairs with the old string's opener, whose closer now opens a string: every
    // later string is shifted by one quote (the comments between become strings' text), up to
    // the unterminated one at the end.
    const std::string after = ClassDump(v);
    const auto at = static_cast<size_t>(deep);
    QCOMPARE(after.substr(0, at), before.substr(0, at));
    QCOMPARE(after.substr(at, 22), std::string("nkkknssssssnssssssssss"));
    QCOMPARE(after.substr(after.size() - 4), std::string("ssss"));
    QTest::keyClick(&v, Qt::Key_Backspace);
    ProcessQueuedEvents();
    QCOMPARE(ClassDump(v), before);
}

void EditorLargeFileTest::caretPanesFollowTypingAtTheEnd() {
    Window w = m_fixture->OpenJava<CSyntaxWindowView>(m_path);
    auto& v = w.View();
    QSignalSpy status(&v, &CSourceView::CaretStatusChanged);
    PlaceCaret(v, v.GetLength());
    QTest::keyClicks(&v, "ab");
    QVERIFY(!status.isEmpty());
    QCOMPARE(status.last().at(0).toString(), QStringLiteral("Line: %1").arg(v.GetLineCount()));
    QCOMPARE(status.last().at(1).toString(), QStringLiteral("Col: 3"));
}

// The update handler stands in for the platform's accessibility bridge.
void EditorLargeFileTest::screenReaderReceivesTextInsertions() {
    Window w = m_fixture->OpenText<CSyntaxWindowDoc, CSyntaxWindowView>(
        "A.java", "/* \xC3\xA9 */ class A {}\n");
    auto& v = w.View();
    const long usual = v.Send(Sci::SCI_GETMODEVENTMASK);
    QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(RecordTextEvent);
    if (!SetScreenReaderActive(true)) {
        QAccessible::installUpdateHandler(previous);
        QSKIP("this platform's accessibility cannot be switched on");
    }
    g_insertions.clear();
    PlaceCaret(v, 9);
    QTest::keyClicks(&v, "x");
    // A control created while a client listens reports to it as well.
    Window later = m_fixture->OpenJava<CSyntaxWindowView>("");
    QTest::keyClicks(&later.View(), "x");
    const auto insertions = g_insertions;
    SetScreenReaderActive(false);
    QAccessible::installUpdateHandler(previous);
    QCOMPARE(insertions.size(), size_t(2));
    // Offsets count characters: the accented letter before the caret is one.
    QCOMPARE(insertions[0], std::make_pair(8, QStringLiteral("x")));
    QCOMPARE(insertions[1], std::make_pair(0, QStringLiteral("x")));
    // Without a client the costly notifications are off again.
    QCOMPARE(v.Send(Sci::SCI_GETMODEVENTMASK), usual);
    QVERIFY((usual & Sci::SC_MOD_INSERTTEXT) == 0);
}

QTEST_MAIN(EditorLargeFileTest)
#include "EditorLargeFileTest.moc"
