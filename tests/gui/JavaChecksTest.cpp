// Checking while typing in the real application, offscreen, with a fake language server named
// by the "Java language server command" setting: it reports an error on every line that says
// "bad", with the line as the server sees it for its message.

#include "gui/app/JavaChecks.h"
#include "ShellTestSupport.h"
#include "gui/editor/EditorAids.h"
#include "gui/editor/SourceView.h"

#include <QElapsedTimer>

using namespace tovin;
using namespace tovin::test;

namespace {

using Sci = QsciScintillaBase;
constexpr int kWaitMs = 30000;

long Markers(const CSourceView& view, int line) {
    return view.Send(Sci::SCI_MARKERGET, static_cast<unsigned long>(line));
}

bool Underlined(const CSourceView& view, long position) {
    return view.Send(Sci::SCI_INDICATORVALUEAT, CViewAids::kErrorIndicator, position) != 0;
}

} // namespace

class JavaChecksTest : public QObject {
    Q_OBJECT

private:
    // The application with the fake server in the given mode, and a Java file open in it.
    CSourceView* StartWithServer(CShellFixture& shell, const QString& mode) {
        shell.Store(
            "OPTIONS", "LANGSERVER",
            QStringLiteral("\"%1\" \"%2\" %3")
                .arg(TOVIN_FAKE_SERVER, QString::fromStdString(shell.dir.File("starts")), mode)
                .toStdString());
        shell.Store("OPTIONS", "CHECKDELAY", "100");
        shell.Start();
        shell.app->OpenDocumentFile(shell.dir.Write("A.java", "class A {\n    int x;\n}\n"));
        return qobject_cast<CSourceView*>(shell.Frame().ActiveFrame()->View());
    }

private slots:
    void anErrorTypedIsMarkedAndGoesWhenFixed() {
        CShellFixture shell;
        CSourceView* view = StartWithServer(shell, "ok");
        QVERIFY(view);
        view->SetSel(view->LineIndex(1) + 4, view->LineIndex(1) + 4);
        QTest::keyClicks(view, "bad ");
        QTRY_VERIFY_WITH_TIMEOUT(Markers(*view, 1) & (1 << CViewAids::kErrorMarker), kWaitMs);
        QCOMPARE(view->Aids().MessagesOnLine(1), QStringLiteral("bad:     bad int x;"));
        QCOMPARE(Markers(*view, 0), 0L);
        QVERIFY(Underlined(*view, view->LineIndex(1) + 5));
        QVERIFY(!Underlined(*view, view->LineIndex(1) + 3));
        QTRY_COMPARE_WITH_TIMEOUT(shell.Frame().PaneText(CMainFrame::kCheckPane),
                                  QStringLiteral("1 error, 0 warnings"), kWaitMs);

        // A line typed above moves the marker with its line.
        view->SetSel(0, 0);
        QTest::keyClicks(view, "// a comment");
        QTest::keyClick(view, Qt::Key_Return);
        QVERIFY(Markers(*view, 2) & (1 << CViewAids::kErrorMarker));

        view->SetSel(view->LineIndex(2) + 4, view->LineIndex(2) + 8);
        QTest::keyClick(view, Qt::Key_Delete);
        QTRY_COMPARE_WITH_TIMEOUT(shell.Frame().PaneText(CMainFrame::kCheckPane),
                                  QStringLiteral("0 errors, 0 warnings"), kWaitMs);
        QCOMPARE(Markers(*view, 2), 0L);
        QCOMPARE(view->Aids().MessagesOnLine(2), QString());
        QVERIFY(!Underlined(*view, view->LineIndex(2) + 5));
    }

    // The server takes seconds over each check; the window goes on meanwhile, keys and all.
    void theWindowNeverWaitsForASlowServer() {
        CShellFixture shell;
        CSourceView* view = StartWithServer(shell, "slow:3000");
        QVERIFY(view);
        QTRY_COMPARE_WITH_TIMEOUT(shell.Frame().PaneText(CMainFrame::kCheckPane),
                                  QStringLiteral("Checking…"), kWaitMs);
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        qint64 longest = 0;
        QTimer ticks;
        connect(&ticks, &QTimer::timeout, this, [&] {
            longest = std::max(longest, clock.elapsed() - last);
            last = clock.elapsed();
        });
        ticks.start(10);
        view->SetSel(view->LineIndex(1), view->LineIndex(1));
        QTest::keyClicks(view, "bad");
        QTRY_VERIFY_WITH_TIMEOUT(Markers(*view, 1) & (1 << CViewAids::kErrorMarker), kWaitMs);
        QVERIFY2(clock.elapsed() > 3000, "the server answered sooner than it was told to");
        QVERIFY2(longest < 1500,
                 qPrintable(QString("the window stood still for %1 ms").arg(longest)));
    }

    void withoutAJdkTheChecksAreOffWithANote() {
        CShellFixture shell;
        shell.Store("PATHS", "JAVABIN", shell.dir.File("no-jdk"));
        shell.Start();
        shell.app->OpenDocumentFile(shell.dir.Write("A.java", "class A {}\n"));
        QVERIFY2(shell.Frame().PaneText(0).contains("needs a JDK"),
                 qPrintable(shell.Frame().PaneText(0)));
        QVERIFY(shell.app->JavaChecks().Clients().empty());
    }
};

QTEST_MAIN(JavaChecksTest)
#include "JavaChecksTest.moc"
