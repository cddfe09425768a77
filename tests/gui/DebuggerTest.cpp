// The window's debugger with the real JDK and debug adapter: F9 and the margin set and clear a
// breakpoint that outlives a restart; Debug Application builds, stops at the breakpoint, shows
// the stack and a variable, steps with F10, goes on with F5 to the program's output and end;
// Stop (Shift+F5) ends a stopped program and leaves no process behind; the program's exit, its
// uncaught exception, a breakpoint outside the project and a missing debugger each end with a
// message in the Process Window.

#include "TempDir.h"
#include "core/platform/Files.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/app/AppDebugger.h"
#include "gui/app/EditorApp.h"
#include "gui/app/MainFrame.h"
#include "gui/debug/DebugWindow.h"
#include "gui/editor/DebugMarks.h"
#include "gui/editor/EditorDocument.h"
#include "gui/editor/SourceDocument.h"
#include "gui/editor/SourceView.h"
#include "gui/framework/DocumentFrame.h"
#include "gui/process/ProcessWindow.h"
#include "gui/project/ProjectDocument.h"
#include "language/DebugSession.h"

#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QListWidget>
#include <QMenuBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace tovin;
using namespace tovin::test;

namespace {

constexpr int kSessionTimeoutMs = 60000;

// Line 4 (count++) is where the breakpoint goes; line 5 is the next.
constexpr const char* kHello = "public class Hello {\n"
                               "    public static void main(String[] args) {\n"
                               "        int count = 41;\n"
                               "        count++;\n"
                               "        System.out.println(\"count \" + count);\n"
                               "    }\n"
                               "}\n";

// The debugger's processes (the adapter and the program under it) working in the folder, as
// both do once Debug has made it the current one.
int ProcessesIn(const QString& folder) {
    const QString wanted = QFileInfo(folder).canonicalFilePath();
    int count = 0;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        pid.toInt(&number);
        if (!number ||
            QFileInfo(QStringLiteral("/proc/%1/cwd").arg(pid)).symLinkTarget() != wanted) {
            continue;
        }
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!cmdline.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray words = cmdline.readAll();
        if (words.contains("-agentlib:jdwp") || words.contains("tovin.engine.DebugAdapter")) {
            ++count;
        }
    }
    return count;
}

class CDebugFixture {
public:
    CTempDir dir;
    std::unique_ptr<CEditorApp> app;
    QString hello;

    CDebugFixture() {
        hello = QString::fromStdString(dir.Write("Hello.java", kHello));
        // The adapter's jar where an installation keeps it.
        const QString data = QString::fromStdString(dir.File("data"));
        QDir().mkpath(data + "/engine");
        QFile::copy(QStringLiteral(TOVIN_DEBUG_ADAPTER_JAR), data + "/engine/tovin-engine.jar");
        qputenv("TOVIN_DATA_DIR", data.toUtf8());
        const std::string project = dir.Write("Hello.jpr", std::string(16, '\0'));
        Start();
        CProjectDocument* opened = dynamic_cast<CProjectDocument*>(app->OpenDocumentFile(project));
        opened->Project().AddFile(hello.toStdString());
        opened->Project().SetMainFile("Hello.java");
        opened->Project().SetModifiedFlag(false);
    }
    ~CDebugFixture() {
        app.reset();
        qunsetenv("TOVIN_DATA_DIR");
    }

    void Start() {
        app = std::make_unique<CEditorApp>(dir.File("Tovin.conf"));
        app->SetStartupTip([] {});
        app->Start({});
    }
    CMainFrame& Frame() const { return *app->MainFrame(); }
    CAppDebugger& Debugger() const { return app->Debugger(); }

    CSourceView* OpenHello() const {
        auto* document = dynamic_cast<CEditorDocument*>(app->OpenDocumentFile(hello.toStdString()));
        return document ? document->Source().FirstView() : nullptr;
    }
    static CDebugMarks* Marks(CSourceView* view) { return view->findChild<CDebugMarks*>(); }
    void PressOn(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const {
        Frame().UpdateCommandUi();
        QTest::keyClick(widget, key, modifiers);
    }
    QString Output() const { return QString::fromStdString(app->ProcessWindow()->Text()); }
};

} // namespace

class DebuggerTest : public QObject {
    Q_OBJECT
private slots:
    void f9AndTheMarginToggleABreakpointThatIsKept() {
        CDebugFixture fixture;
        CSourceView* view = fixture.OpenHello();
        QVERIFY(view);
        QVERIFY(QTest::qWaitForWindowActive(&fixture.Frame()));
        view->setFocus();
        view->GoToLine(3);
        fixture.PressOn(view, Qt::Key_F9);
        QVERIFY(CDebugFixture::Marks(view)->HasBreakpoint(3));
        const std::string file = fixture.dir.File("Hello.breakpoints");
        QCOMPARE(ReadFile(file), std::string("# Tovin breakpoints\nHello.java:4\n"));
        fixture.PressOn(view, Qt::Key_F9);
        QVERIFY(!CDebugFixture::Marks(view)->HasBreakpoint(3));

        // A click in the breakpoint margin beside line 5.
        const int x = view->SendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, 0) +
                      view->SendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, 1) + 4;
        const int y =
            view->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, view->LineIndex(4)) +
            2;
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(x, y));
        QVERIFY(CDebugFixture::Marks(view)->HasBreakpoint(4));
        QCOMPARE(ReadFile(file), std::string("# Tovin breakpoints\nHello.java:5\n"));

        // Closed and opened again, the project brings its breakpoint back.
        QVERIFY(fixture.Frame().close());
        fixture.Start();
        fixture.app->OpenDocumentFile(fixture.dir.File("Hello.jpr"));
        view = fixture.OpenHello();
        QVERIFY(view);
        QCOMPARE(CDebugFixture::Marks(view)->BreakpointLines(), std::vector<int>{4});
    }

    void aSessionStopsStepsAndRunsToTheEnd() {
        CDebugFixture fixture;
        CSourceView* view = fixture.OpenHello();
        QVERIFY(QTest::qWaitForWindowActive(&fixture.Frame()));
        CDebugFixture::Marks(view)->ToggleBreakpoint(3);
        QVERIFY(!fixture.Frame().menuBar()->actions().contains(nullptr));
        QVERIFY(!fixture.Debugger().Dock() || fixture.Debugger().Dock()->isHidden());

        fixture.PressOn(view, Qt::Key_F5, Qt::ControlModifier);
        QTRY_VERIFY2_WITH_TIMEOUT(fixture.Debugger().Session() &&
                                      fixture.Debugger().Session()->State() ==
                                          CDebugSession::EState::Stopped,
                                  qPrintable(fixture.Output()), kSessionTimeoutMs);
        QVERIFY2(fixture.Output().contains("No Errors"), qPrintable(fixture.Output()));
        QCOMPARE(CDebugFixture::Marks(view)->CurrentLine(), 3);
        CDebugWindow* window = fixture.Debugger().Window();
        QVERIFY(fixture.Debugger().Dock()->isVisible());
        QVERIFY(fixture.Debugger().ToolBar()->isVisible());
        QVERIFY(window->Stack()->count() >= 1);
        QVERIFY2(window->Stack()->item(0)->text().startsWith("Hello.main"),
                 qPrintable(window->Stack()->item(0)->text()));
        auto value = [window](const QString& name) {
            const QList<QTreeWidgetItem*> found =
                window->Variables()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
            return found.isEmpty() ? QString() : found.front()->text(1);
        };
        QTRY_COMPARE_WITH_TIMEOUT(value("count"), QString("41"), kSessionTimeoutMs);
        QStringList menus;
        for (QAction* menu : fixture.Frame().menuBar()->actions()) {
            menus << menu->text();
        }
        QVERIFY2(menus.contains("&Debug"), qPrintable(menus.join(' ')));

        // A breakpoint set while stopped is where F5 stops next; F10 then steps over its line.
        view->GoToLine(4);
        fixture.PressOn(view, Qt::Key_F9);
        fixture.PressOn(view, Qt::Key_F5);
        QTRY_COMPARE_WITH_TIMEOUT(CDebugFixture::Marks(view)->CurrentLine(), 4, kSessionTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(value("count"), QString("42"), kSessionTimeoutMs);
        fixture.PressOn(view, Qt::Key_F10);
        QTRY_COMPARE_WITH_TIMEOUT(CDebugFixture::Marks(view)->CurrentLine(), 5, kSessionTimeoutMs);

        // F5 while debugging goes on; the program prints and ends.
        fixture.PressOn(view, Qt::Key_F5);
        QTRY_VERIFY_WITH_TIMEOUT(!fixture.Debugger().IsDebugging(), kSessionTimeoutMs);
        QVERIFY2(fixture.Output().contains("count 42\r\n"), qPrintable(fixture.Output()));
        QVERIFY2(fixture.Output().contains("Exit code: 0"), qPrintable(fixture.Output()));
        QCOMPARE(CDebugFixture::Marks(view)->CurrentLine(), -1);
        QVERIFY(fixture.Debugger().Dock()->isHidden());
        QVERIFY(fixture.Debugger().ToolBar()->isHidden());
        menus.clear();
        for (QAction* menu : fixture.Frame().menuBar()->actions()) {
            menus << menu->text();
        }
        QVERIFY(!menus.contains("&Debug"));
    }

    void stopEndsAStoppedProgramAndLeavesNoProcess() {
        CDebugFixture fixture;
        CSourceView* view = fixture.OpenHello();
        QVERIFY(QTest::qWaitForWindowActive(&fixture.Frame()));
        CDebugFixture::Marks(view)->ToggleBreakpoint(3);
        fixture.Frame().ExecuteCommand(ECommand::DebugApplication);
        QTRY_VERIFY2_WITH_TIMEOUT(fixture.Debugger().Session() &&
                                      fixture.Debugger().Session()->State() ==
                                          CDebugSession::EState::Stopped,
                                  qPrintable(fixture.Output()), kSessionTimeoutMs);
        QCOMPARE(ProcessesIn(fixture.dir.Path().c_str()), 2);
        fixture.PressOn(view, Qt::Key_F5, Qt::ShiftModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!fixture.Debugger().IsDebugging(), kSessionTimeoutMs);
        QVERIFY2(fixture.Output().contains("stopped by the user"), qPrintable(fixture.Output()));
        QTRY_COMPARE_WITH_TIMEOUT(ProcessesIn(fixture.dir.Path().c_str()), 0, 10000);
    }

    void faultsEndCleanlyWithAMessage_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("otherFileBreakpoint");
        QTest::addColumn<bool>("adapterMissing");
        QTest::addColumn<QString>("message");
        const QString head = "public class Hello {\n    public static void main(String[] args) {\n";
        QTest::newRow("System.exit") << head + "        System.exit(3);\n    }\n}\n"
                                     << false << false << "Exit code: 3";
        QTest::newRow("uncaught exception")
            << head + "        throw new IllegalStateException(\"broken\");\n    }\n}\n"
            << false << false
            << "stopped on an uncaught exception: java.lang.IllegalStateException: broken";
        QTest::newRow("breakpoint outside the project")
            << QString(kHello) << true << false << "is not in the project";
        QTest::newRow("no debugger installed")
            << QString(kHello) << false << true << "The debugger cannot start";
    }

    void faultsEndCleanlyWithAMessage() {
        QFETCH(QString, program);
        QFETCH(bool, otherFileBreakpoint);
        QFETCH(bool, adapterMissing);
        QFETCH(QString, message);
        CDebugFixture fixture;
        fixture.dir.Write("Hello.java", program.toStdString());
        if (adapterMissing) {
            QFile::remove(QString::fromStdString(fixture.dir.File("data/engine/tovin-engine.jar")));
        }
        if (otherFileBreakpoint) {
            const std::string other = fixture.dir.Write("Other.java", "class Other {\n}\n");
            auto* document = dynamic_cast<CEditorDocument*>(fixture.app->OpenDocumentFile(other));
            QVERIFY(document);
            CDebugFixture::Marks(document->Source().FirstView())->ToggleBreakpoint(0);
        }
        fixture.Frame().ExecuteCommand(ECommand::DebugApplication);
        QTRY_VERIFY2_WITH_TIMEOUT(fixture.Output().contains(message), qPrintable(fixture.Output()),
                                  kSessionTimeoutMs);
        if (fixture.Debugger().IsDebugging()) {
            fixture.Frame().ExecuteCommand(ECommand::DebugStop);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!fixture.Debugger().IsDebugging(), kSessionTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(ProcessesIn(fixture.dir.Path().c_str()), 0, 10000);
    }

    // With TOVIN_DEBUG_PICTURE naming a PNG file, a picture of a stopped session for the README.
    void pictureOfAStoppedSession() {
        const QString picture = qEnvironmentVariable("TOVIN_DEBUG_PICTURE");
        if (picture.isEmpty()) {
            QSKIP("no picture asked for (TOVIN_DEBUG_PICTURE)");
        }
        CDebugFixture fixture;
        fixture.dir.Write("Hello.java",
                          "import java.util.List;\n"
                          "\n"
                          "public class Hello {\n"
                          "    record Pupil(String name, int mark) {}\n"
                          "\n"
                          "    static int best(List<Pupil> pupils) {\n"
                          "        int best = 0;\n"
                          "        for (Pupil pupil : pupils) {\n"
                          "            best = Math.max(best, pupil.mark());\n"
                          "        }\n"
                          "        return best;\n"
                          "    }\n"
                          "\n"
                          "    public static void main(String[] args) {\n"
                          "        List<Pupil> pupils = List.of(new Pupil(\"Ada\", 17),\n"
                          "                new Pupil(\"Linus\", 15), new Pupil(\"Grace\", 19));\n"
                          "        int[] marks = {17, 15, 19};\n"
                          "        System.out.println(\"Best mark: \" + best(pupils));\n"
                          "    }\n"
                          "}\n");
        fixture.Frame().resize(1280, 760);
        CSourceView* view = fixture.OpenHello();
        QVERIFY(QTest::qWaitForWindowActive(&fixture.Frame()));
        fixture.Frame().ActiveFrame()->showMaximized();
        CDebugFixture::Marks(view)->ToggleBreakpoint(8);
        fixture.Frame().ExecuteCommand(ECommand::DebugApplication);
        QTRY_VERIFY_WITH_TIMEOUT(fixture.Debugger().Session() &&
                                     fixture.Debugger().Session()->State() ==
                                         CDebugSession::EState::Stopped,
                                 kSessionTimeoutMs);
        fixture.Frame().ExecuteCommand(ECommand::DebugContinue);
        QTRY_VERIFY_WITH_TIMEOUT(fixture.Debugger().Session()->State() ==
                                     CDebugSession::EState::Stopped,
                                 kSessionTimeoutMs);
        QTreeWidget* tree = fixture.Debugger().Window()->Variables();
        QTRY_VERIFY_WITH_TIMEOUT(
            !tree->findItems("pupil", Qt::MatchExactly | Qt::MatchRecursive).isEmpty(),
            kSessionTimeoutMs);
        QTreeWidgetItem* pupil =
            tree->findItems("pupil", Qt::MatchExactly | Qt::MatchRecursive).front();
        pupil->setExpanded(true);
        QTRY_VERIFY_WITH_TIMEOUT(pupil->childCount() > 1, kSessionTimeoutMs);
        QTest::qWait(300);
        QVERIFY(fixture.Frame().grab().save(picture));
        fixture.Frame().ExecuteCommand(ECommand::DebugStop);
        QTRY_VERIFY_WITH_TIMEOUT(!fixture.Debugger().IsDebugging(), kSessionTimeoutMs);
    }
};

QTEST_MAIN(DebuggerTest)
#include "DebuggerTest.moc"
