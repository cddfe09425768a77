// Double-clicks in the Process Window's output lead to the project file and line that real
// tools name: javac's messages, a Java stack trace, a Jython traceback, a find in files result.

#include "gui/process/ProcessOutput.h"
#include "gui/process/ProcessWindow.h"

#include "core/app/Settings.h"
#include "core/app/SettingsStore.h"
#include "core/platform/CommandLine.h"
#include "core/process/ProcessRunner.h"
#include "core/project/ErrorNavigation.h"
#include "core/project/JavaProjectDoc.h"

#include "FakeUiHost.h"
#include "TempDir.h"

#include <QTextBlock>
#include <QtTest>

using namespace tovin;
using namespace tovin::test;

namespace {

constexpr int kWaitMs = 120000;

const char* const kJavaSource = "public class A {\n"
                                "    public static void main(String[] args) {\n"
                                "        int[] x = new int[1];\n"
                                "        x[2] = 1;\n"
                                "    }\n"
                                "}\n";
const char* const kBrokenSource = "class B {\n"
                                  "    void f() {\n"
                                  "        int x = ;\n"
                                  "    }\n"
                                  "}\n";
const char* const kJythonSource = "def f():\n"
                                  "    return 1 / 0\n"
                                  "\n"
                                  "f()\n";

} // namespace

class ProcessWindowNavigationTest : public QObject {
    Q_OBJECT

    CTempDir dir;
    CSettings settings;
    CMemorySettingsStore store;
    std::unique_ptr<CFakeUiHost> host;
    std::unique_ptr<CJavaProjectDoc> project;
    std::unique_ptr<CProcessWindow> window;
    QString lastStatus;

    // Runs a tool in the window until its run is complete.
    void RunInWindow(const std::string& program, const std::string& commandLine) {
        auto runner = std::make_unique<CProcessRunner>();
        QVERIFY2(runner->Start(program, commandLine, dir.Path()), commandLine.c_str());
        lastStatus.clear();
        window->Attach(std::move(runner), QStringLiteral("Running"));
        QTRY_COMPARE_WITH_TIMEOUT(lastStatus, QStringLiteral("External process complete"), kWaitMs);
    }

    // Double-clicks the first output line that holds the marker; -1 when none does.
    int DoubleClickLineWith(const QString& marker) {
        CProcessOutput* output = window->Output();
        for (QTextBlock block = output->document()->firstBlock(); block.isValid();
             block = block.next()) {
            if (!block.text().contains(marker)) {
                continue;
            }
            QTextCursor cursor(block);
            output->setTextCursor(cursor);
            output->ensureCursorVisible();
            const QPoint at = output->cursorRect(cursor).center() + QPoint(4, 0);
            QTest::mouseDClick(output->viewport(), Qt::LeftButton, Qt::NoModifier, at);
            return block.blockNumber();
        }
        return -1;
    }

    std::vector<int> ShownLines(const std::string& name) {
        return host->documents[dir.File(name)].shownLines;
    }

private slots:
    void initTestCase() {
        dir.Write("A.java", kJavaSource);
        dir.Write("B.java", kBrokenSource);
        dir.Write("s.py", kJythonSource);
        CProcessRunner compile;
        QVERIFY(compile.Start("/usr/bin/javac", "javac A.java", dir.Path()));
        QTRY_VERIFY_WITH_TIMEOUT(compile.IsFinished(), kWaitMs);
        QVERIFY2(compile.GetOutput() == "Exit code: 0\r\nNo Errors", compile.GetOutput().c_str());
    }

    void init() {
        host = std::make_unique<CFakeUiHost>();
        project = std::make_unique<CJavaProjectDoc>(settings, *host);
        for (const char* name : {"A.java", "B.java", "s.py"}) {
            project->AddFile(dir.File(name));
        }
        host->documents[dir.File("A.java")].kind = EDocumentKind::JavaSource;
        host->documents[dir.File("B.java")].kind = EDocumentKind::JavaSource;
        host->documents[dir.File("s.py")].kind = EDocumentKind::Jython;

        window = std::make_unique<CProcessWindow>(settings, store, *host);
        connect(window.get(), &CProcessWindow::statusTextChanged, this,
                [this](const QString& text) { lastStatus = text; });
        connect(window.get(), &CProcessWindow::messageLineActivated, this,
                [this](const QString& line) { NavigateToMessage(*project, line.toStdString()); });
        window->resize(900, 400);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup() {
        window.reset();
        project.reset();
        host.reset();
    }

    void javacMessageOpensTheFileAtTheLine() {
        RunInWindow("/usr/bin/javac", "javac " + QuoteWindowsArgument(dir.File("B.java")));
        const QString message = QString::fromStdString(dir.File("B.java")) + ":3: error";
        QVERIFY2(DoubleClickLineWith(message) >= 0, qPrintable(window->Output()->toPlainText()));
        QCOMPARE(host->openedPaths, std::vector<std::string>{dir.File("B.java")});
        QCOMPARE(ShownLines("B.java"), std::vector<int>{2});
    }

    void stackTraceLineOpensTheFileAtTheLine() {
        RunInWindow("/usr/bin/java", "java -cp . A");
        QVERIFY2(DoubleClickLineWith(QStringLiteral("at A.main(A.java:4)")) >= 0,
                 qPrintable(window->Output()->toPlainText()));
        QCOMPARE(ShownLines("A.java"), std::vector<int>{3});
    }

    void jythonTracebackOpensTheScriptAtTheLine() {
        if (!QFile::exists(QStringLiteral("/usr/bin/jython"))) {
            QSKIP("jython is not installed");
        }
        RunInWindow("/usr/bin/jython", "jython " + QuoteWindowsArgument(dir.File("s.py")));
        QVERIFY2(DoubleClickLineWith(QStringLiteral("line 2, in f")) >= 0,
                 qPrintable(window->Output()->toPlainText()));
        QCOMPARE(ShownLines("s.py"), std::vector<int>{1});
    }

    void findInFilesResultOpensTheFileAtTheLine() {
        window->ClearOutput();
        window->AppendLine("\r\n");
        window->AppendLine(dir.File("A.java") + ":3: at char 8 \r\n");
        window->AppendLine(dir.File("B.java") + ":2: at char 4 \r\n");
        QTRY_COMPARE(window->Output()->document()->blockCount(), 4);
        QVERIFY(DoubleClickLineWith(QStringLiteral("B.java:2:")) >= 0);
        QCOMPARE(ShownLines("B.java"), std::vector<int>{1});
        QCOMPARE(ShownLines("A.java"), std::vector<int>{});
    }

    void lineNamingAFileOutsideTheProjectDoesNothing() {
        window->AppendLine("/elsewhere/C.java:3: error: cannot find symbol\r\nmore\r\n");
        QTRY_COMPARE(window->Output()->document()->blockCount(), 3);
        QVERIFY(DoubleClickLineWith(QStringLiteral("C.java")) >= 0);
        QCOMPARE(host->openedPaths, std::vector<std::string>{});
    }

    void lastLineWithoutLineEndDoesNothing() {
        window->AppendLine("first\r\n" + dir.File("A.java") + ":3: error");
        QTRY_COMPARE(window->Output()->document()->blockCount(), 2);
        QCOMPARE(DoubleClickLineWith(QStringLiteral("A.java:3")), 1);
        QCOMPARE(host->openedPaths, std::vector<std::string>{});
        // The same line is used once a line end follows it.
        window->AppendLine("\r\n");
        QTRY_COMPARE(window->Output()->document()->blockCount(), 3);
        DoubleClickLineWith(QStringLiteral("A.java:3"));
        QCOMPARE(ShownLines("A.java"), std::vector<int>{2});
    }
};

QTEST_MAIN(ProcessWindowNavigationTest)
#include "ProcessWindowNavigationTest.moc"
