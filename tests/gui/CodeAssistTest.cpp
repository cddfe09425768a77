// The Java engine's help in a Java window of the real application, offscreen, with the real
// engine on a project of two files: completion after '.' and on Ctrl+Space (the list, Enter,
// an import, Escape, a stale answer), Show Documentation with the JDK's Javadoc, Go to
// Definition into the project and into the JDK's sources, and Find Usages in the Process Window.

#include "gui/editor/CodeAssist.h"
#include "ShellTestSupport.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/app/JavaChecks.h"
#include "gui/editor/CompletionPopup.h"
#include "gui/editor/EditorDocument.h"
#include "gui/editor/SourceDocument.h"
#include "gui/editor/SourceView.h"
#include "gui/framework/DocumentFrame.h"
#include "gui/process/ProcessWindow.h"
#include "gui/project/ProjectDocument.h"

#include <QFile>

using namespace tovin;
using namespace tovin::test;

namespace {

constexpr int kWaitMs = 60000;

constexpr const char* kShapes = "public class Shapes {\n"
                                "    static int area(int side) {\n"
                                "        return side * side;\n"
                                "    }\n"
                                "}\n";
// Line 3 (from 0) is where the tests type.
constexpr const char* kMain = "public class Main {\n"
                              "    public static void main(String[] args) {\n"
                              "        int a = Shapes.area(3);\n"
                              "        \n"
                              "    }\n"
                              "}\n";

class CAssistFixture : public CShellFixture {
public:
    CSourceView* main = nullptr;
    CCodeAssist* assist = nullptr;

    // The project open, Main.java in front with the caret on its empty line and the engine up.
    bool Open() {
        const std::string shapes = dir.Write("Shapes.java", kShapes);
        const std::string mainFile = dir.Write("Main.java", kMain);
        Start();
        auto* project = dynamic_cast<CProjectDocument*>(
            app->OpenDocumentFile(WriteEmptyProject(dir, "Shapes.jpr")));
        if (!project) {
            return false;
        }
        project->Project().AddFile(shapes);
        project->Project().AddFile(mainFile);
        project->Project().SetModifiedFlag(false);
        main = View(mainFile);
        if (!main) {
            return false;
        }
        assist = main->findChild<CCodeAssist*>();
        if (!QTest::qWaitForWindowActive(&Frame())) {
            return false;
        }
        main->setFocus();
        main->SetSel(main->LineIndex(3) + 8, main->LineIndex(3) + 8);
        return assist && QTest::qWaitFor([this] { return assist->EngineUp(); }, kWaitMs);
    }
    CSourceView* View(const std::string& path) const {
        auto* document = dynamic_cast<CEditorDocument*>(app->OpenDocumentFile(path));
        return document ? document->Source().FirstView() : nullptr;
    }
    CSourceView* Active() const {
        return qobject_cast<CSourceView*>(Frame().ActiveFrame()->View());
    }
    QString Line(int line) const {
        const int next = main->LineIndex(line + 1);
        return QString::fromStdString(
                   main->GetTextRange(main->LineIndex(line), next < 0 ? main->GetLength() : next))
            .trimmed();
    }
    int CaretColumn() const {
        int start = 0, end = 0;
        main->GetSel(start, end);
        return end - main->LineIndex(main->LineFromChar(end));
    }
    void Press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const {
        Frame().UpdateCommandUi();
        QTest::keyClick(widget, key, modifiers);
    }
    // Puts the caret inside the first occurrence of the word on the line.
    void CaretInto(CSourceView* view, int line, const QString& word) const {
        const QString text = QString::fromStdString(
            view->GetTextRange(view->LineIndex(line), view->LineIndex(line + 1)));
        const int at = view->LineIndex(line) + static_cast<int>(text.indexOf(word)) + 1;
        view->SetSel(at, at);
    }
};

} // namespace

class CodeAssistTest : public QObject {
    Q_OBJECT

private slots:
    // "abc".le offers length(), Enter inserts it; a java.util type chosen brings its import;
    // Escape closes the list and leaves the text alone.
    void completionListsInsertsAndImports() {
        CAssistFixture fixture;
        QVERIFY(fixture.Open());
        QTest::keyClicks(fixture.main, "String s = \"abc\".le");
        // Typed at once, whatever the engine is doing.
        QCOMPARE(fixture.Line(3), QStringLiteral("String s = \"abc\".le"));
        QTRY_VERIFY_WITH_TIMEOUT(fixture.assist->PopupShown(), kWaitMs);
        QVERIFY2(fixture.assist->Popup().Labels().contains("length()"),
                 qPrintable(fixture.assist->Popup().Labels().join(' ')));
        QVERIFY(!fixture.assist->Popup().Labels().contains("isEmpty()"));
        QTest::keyClick(fixture.main, Qt::Key_Return);
        QVERIFY(!fixture.assist->PopupShown());
        QCOMPARE(fixture.Line(3), QStringLiteral("String s = \"abc\".length()"));
        QCOMPARE(fixture.CaretColumn(), fixture.Line(3).size() + 8);

        QTest::keyClicks(fixture.main, ";");
        QTest::keyClick(fixture.main, Qt::Key_Return);
        QTest::keyClicks(fixture.main, "ArrayLi");
        fixture.Press(fixture.main, Qt::Key_Space, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(fixture.assist->PopupShown(), kWaitMs);
        QCOMPARE(fixture.assist->Popup().Current()->label, QStringLiteral("ArrayList"));
        QTest::keyClick(fixture.main, Qt::Key_Tab);
        QCOMPARE(fixture.Line(0), QStringLiteral("import java.util.ArrayList;"));
        QCOMPARE(fixture.Line(6), QStringLiteral("ArrayList"));

        QTest::keyClicks(fixture.main, "<String> list = new ArrayList<>(); list.");
        QTRY_VERIFY_WITH_TIMEOUT(fixture.assist->PopupShown(), kWaitMs);
        QVERIFY(fixture.assist->Popup().Labels().contains("add(String e)"));
        QTest::keyClick(fixture.main, Qt::Key_Escape);
        QVERIFY(!fixture.assist->PopupShown());
        QCOMPARE(fixture.Line(6),
                 QStringLiteral("ArrayList<String> list = new ArrayList<>(); list."));
    }

    // The question asked after '.' goes stale when the '.' is taken back: its answer never
    // shows, while the next question's does.
    void aStaleAnswerIsDropped() {
        CAssistFixture fixture;
        QVERIFY(fixture.Open());
        QStringList shown;
        connect(fixture.assist, &CCodeAssist::CompletionShown, this,
                [&shown](const QStringList& labels) { shown << labels; });
        QTest::keyClicks(fixture.main, "\"abc\".");
        QVERIFY(fixture.assist->CompletionPending());
        QTest::keyClick(fixture.main, Qt::Key_Backspace);
        QVERIFY(!fixture.assist->CompletionPending());
        QTest::keyClicks(fixture.main, "; Sha");
        fixture.Press(fixture.main, Qt::Key_Space, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(fixture.assist->PopupShown(), kWaitMs);
        QVERIFY2(shown.contains("Shapes") && !shown.contains("length()"),
                 qPrintable(shown.join(' ')));
    }

    // A method chosen shows its parameters with the caret between its parentheses, and the
    // ')' typed there steps over the one it came with; '(' shows them too, ')' ends them.
    void parameterHintsFollowTheCall() {
        CAssistFixture fixture;
        QVERIFY(fixture.Open());
        QTest::keyClicks(fixture.main, "char c = \"abc\".charA");
        QTRY_VERIFY_WITH_TIMEOUT(fixture.assist->PopupShown(), kWaitMs);
        QTest::keyClick(fixture.main, Qt::Key_Return);
        QCOMPARE(fixture.Line(3), QStringLiteral("char c = \"abc\".charAt()"));
        QTRY_COMPARE_WITH_TIMEOUT(fixture.assist->LastTip(), QStringLiteral("charAt(int index)"),
                                  kWaitMs);
        QTest::keyClicks(fixture.main, "0);");
        QCOMPARE(fixture.Line(3), QStringLiteral("char c = \"abc\".charAt(0);"));

        QTest::keyClicks(fixture.main, " String t = String.valueOf(");
        QTRY_VERIFY_WITH_TIMEOUT(fixture.main->Send(QsciScintillaBase::SCI_CALLTIPACTIVE) != 0,
                                 kWaitMs);
        QVERIFY2(fixture.assist->LastTip().contains("valueOf(char[] data, int offset, int count)"),
                 qPrintable(fixture.assist->LastTip()));
        QTest::keyClicks(fixture.main, "new char[0])");
        QTRY_VERIFY_WITH_TIMEOUT(fixture.main->Send(QsciScintillaBase::SCI_CALLTIPACTIVE) == 0,
                                 kWaitMs);
    }

    void showDocumentationGivesTheJavadoc() {
        if (!QFile::exists("/usr/lib/jvm/java-17-openjdk-amd64/lib/src.zip") &&
            !QFile::exists("/usr/lib/jvm/default-java/lib/src.zip")) {
            QSKIP("the JDK's sources (openjdk-17-source) are not installed");
        }
        CAssistFixture fixture;
        QVERIFY(fixture.Open());
        QTest::keyClicks(fixture.main, "int n = \"abc\".length();");
        fixture.CaretInto(fixture.main, 3, "length");
        fixture.Press(fixture.main, Qt::Key_Q, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(fixture.assist->DocumentationShown(), kWaitMs);
        QVERIFY2(fixture.assist->LastTip().contains("int java.lang.String.length()") &&
                     fixture.assist->LastTip().contains("Returns the length of this string."),
                 qPrintable(fixture.assist->LastTip()));

        // On nothing at all: said so.
        fixture.main->SetSel(fixture.main->LineIndex(3) + 2, fixture.main->LineIndex(3) + 2);
        fixture.Press(fixture.main, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!fixture.assist->DocumentationShown());
        QCOMPARE(fixture.Frame().PaneText(0), QStringLiteral("No documentation"));
    }

    // F12 on a project method goes to its declaration's line; on a JDK method to its source,
    // read-only; Shift+F12 lists the uses in the Process Window as "path:line:".
    void definitionAndUsages() {
        CAssistFixture fixture;
        QVERIFY(fixture.Open());
        // An edit first: the engine answers about the text as it is now.
        QTest::keyClicks(fixture.main, "String s = \"x\".trim(); int b = Shapes.area(a);");
        fixture.CaretInto(fixture.main, 2, "area");
        fixture.Press(fixture.main, Qt::Key_F12);
        QTRY_COMPARE_WITH_TIMEOUT(
            QFileInfo(QString::fromStdString(fixture.Active()->Document().PathName())).fileName(),
            QStringLiteral("Shapes.java"), kWaitMs);
        int start = 0, end = 0;
        fixture.Active()->GetSel(start, end);
        QCOMPARE(fixture.Active()->LineFromChar(end), 1);

        fixture.Press(fixture.Active(), Qt::Key_F12, Qt::ShiftModifier);
        const QString dir = QString::fromStdString(fixture.dir.Path());
        QTRY_VERIFY_WITH_TIMEOUT(
            QString::fromStdString(fixture.app->ProcessWindow()->Text()).contains("usages of"),
            kWaitMs);
        QCOMPARE(QString::fromStdString(fixture.app->ProcessWindow()->Text()),
                 QStringLiteral("%1/Main.java:3: int a = Shapes.area(3);\r\n"
                                "%1/Main.java:4: String s = \"x\".trim(); int b = "
                                "Shapes.area(a);\r\n"
                                "2 usages of \"area\"\r\n")
                     .arg(dir));

        fixture.main->setFocus();
        fixture.CaretInto(fixture.main, 3, "trim");
        fixture.Press(fixture.main, Qt::Key_F12);
        QTRY_COMPARE_WITH_TIMEOUT(fixture.Frame().ActiveFrame()->windowTitle(),
                                  QStringLiteral("String.java (JDK source, read-only)[*]"),
                                  kWaitMs);
        QVERIFY(fixture.Active()->IsReadOnly());
        // Not checked: alone, the JDK's sources are full of errors that are none.
        const QString jdkFile = CLanguageClient::NormalPath(
            QString::fromStdString(fixture.Active()->Document().PathName()));
        for (CLanguageClient* client : fixture.app->JavaChecks().Clients()) {
            QVERIFY(!client->IsOpen(jdkFile));
        }
    }
};

QTEST_MAIN(CodeAssistTest)
#include "CodeAssistTest.moc"
