// The Process Window with real child processes: output order, completion, stop, close,
// large outputs, saving and the font.

#include "gui/process/ProcessWindow.h"
#include "gui/process/ProcessBar.h"
#include "gui/process/ProcessOutput.h"

#include "core/app/Settings.h"
#include "core/app/SettingsStore.h"
#include "core/platform/CommandLine.h"
#include "core/process/ProcessRunner.h"
#include "gui/prefs/PrefsSheet.h"

#include "FakeUiHost.h"
#include "TempDir.h"

#include <QDockWidget>
#include <QFontInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

using namespace tovin;
using namespace tovin::test;

namespace {

constexpr int kWaitMs = 60000;
const QString kComplete = QStringLiteral("External process complete");

std::unique_ptr<CProcessRunner> StartShell(const std::string& script, std::size_t chunk = 2046) {
    auto runner = std::make_unique<CProcessRunner>();
    runner->SetReadChunkSize(chunk);
    if (!runner->Start("/bin/sh", "sh -c " + QuoteWindowsArgument(script), "/")) {
        return nullptr;
    }
    return runner;
}

// The application's host lets the user type a tool's input; the scripted one does not.
class CInputHost : public CFakeUiHost {
public:
    bool OffersInput() const override { return true; }
};

// A main frame with the Process Window in its bottom dock, as the application makes it.
struct CBarFixture {
    QMainWindow frame;
    QDockWidget* dock;
    CProcessWindow* window;
    CProcessBar* bar;

    CBarFixture(CSettings& settings, CSettingsStore& store, CUiHost& host)
        : dock(new QDockWidget(QStringLiteral("Process Window"), &frame)),
          window(new CProcessWindow(settings, store, host, dock)) {
        frame.setCentralWidget(new QWidget);
        frame.resize(800, 600);
        dock->setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
        dock->setWidget(window);
        frame.addDockWidget(Qt::BottomDockWidgetArea, dock);
        bar = new CProcessBar(*dock, *window, settings, store);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
    }
};

} // namespace

class ProcessWindowTest : public QObject {
    Q_OBJECT

    CSettings settings;
    CMemorySettingsStore store;
    std::unique_ptr<CFakeUiHost> host;
    std::unique_ptr<CProcessWindow> window;
    QStringList statusTexts;

    QString Shown() const { return window->Output()->toPlainText(); }

    void Attach(std::unique_ptr<CProcessRunner> runner) {
        QVERIFY(runner);
        window->Attach(std::move(runner), QStringLiteral("Building \"A.java\""));
    }

    bool WaitForCompletion() {
        return QTest::qWaitFor(
            [&] { return !statusTexts.isEmpty() && statusTexts.last() == kComplete; }, kWaitMs);
    }

private slots:
    void init() {
        settings = CSettings();
        store = CMemorySettingsStore();
        host = std::make_unique<CFakeUiHost>();
        window = std::make_unique<CProcessWindow>(settings, store, *host);
        statusTexts.clear();
        connect(window.get(), &CProcessWindow::statusTextChanged, this,
                [this](const QString& text) { statusTexts << text; });
        window->resize(700, 300);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup() {
        window.reset();
        host.reset();
    }

    void outputInPiecesShowsInOrderWithoutGaps() {
        // Seven-byte reads split lines, CR LF pairs and the two-byte "é" between reads.
        Attach(StartShell("i=1; while [ $i -le 300 ]; do printf 'line %d é\\n' $i; "
                          "if [ $((i % 50)) -eq 0 ]; then sleep 0.05; fi; i=$((i+1)); done",
                          7));
        QCOMPARE(window->StatusField()->text(), QStringLiteral("Building \"A.java\""));
        QVERIFY(WaitForCompletion());
        QString expected;
        for (int i = 1; i <= 300; ++i) {
            expected += QStringLiteral("line %1 é\n").arg(i);
        }
        expected += QStringLiteral("Exit code: 0\nNo Errors");
        QCOMPARE(Shown(), expected);
        QCOMPARE(window->Output()->textCursor().position(),
                 window->Output()->document()->characterCount() - 1);
        QVERIFY(!window->StopButton()->isEnabled());
        QCOMPARE(window->Progress()->value(), 100);
    }

    void silentProcessEndsWithItsReport() {
        Attach(StartShell("exit 3"));
        QVERIFY(WaitForCompletion());
        QCOMPARE(Shown(), QStringLiteral("Exit code: 3\nThere were errors"));
        QVERIFY(!window->IsRunning());
    }

    void statusBarAlternatesWhileRunning() {
        Attach(StartShell("sleep 0.7"));
        QVERIFY(window->StopButton()->isEnabled());
        QVERIFY(WaitForCompletion());
        QVERIFY2(statusTexts.size() >= 3, qPrintable(statusTexts.join('|')));
        QCOMPARE(statusTexts[0], QStringLiteral("External process in progress --"));
        QCOMPARE(statusTexts[1], QStringLiteral("External process in progress +"));
    }

    void stopAndCancelLeavesItRunningStopAndOkEndsIt() {
        Attach(StartShell("echo started; sleep 30; echo never"));
        QTRY_VERIFY_WITH_TIMEOUT(Shown().startsWith(QStringLiteral("started")), kWaitMs);

        host->messageAnswers = {EMsgAnswer::Cancel};
        QTest::mouseClick(window->StopButton(), Qt::LeftButton);
        QCOMPARE(host->MessageTexts(), std::vector<std::string>{CProcessWindow::kStopQuestion});
        QCOMPARE(host->messages[0].buttons, EMsgButtons::OkCancel);
        QVERIFY(window->IsRunning());

        host->messageAnswers = {EMsgAnswer::Ok};
        QTest::mouseClick(window->StopButton(), Qt::LeftButton);
        QVERIFY(WaitForCompletion());
        QCOMPARE(Shown(), QStringLiteral("started\nExit code: 11\nProcess terminated by user."));
    }

    // The commonest first program asks for a line: what is typed reaches it, shown where the
    // output stands, and Ctrl+D (as End Input) lets it read the end of its input.
    void typedLinesReachTheProgramAndEndOfInputEndsIt() {
        CInputHost inputHost;
        auto runner = std::make_unique<CProcessRunner>(&inputHost);
        QVERIFY(runner->Start("/bin/sh",
                              "sh -c " + QuoteWindowsArgument("printf 'Name? '; read name; "
                                                              "echo \"Hello, $name\"; cat; "
                                                              "echo done"),
                              "/"));
        Attach(std::move(runner));
        QVERIFY(window->InputLine()->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(Shown(), QStringLiteral("Name? "), kWaitMs);
        QTest::keyClicks(window->InputLine(), QStringLiteral("Ada"));
        QTest::keyClick(window->InputLine(), Qt::Key_Return);
        QCOMPARE(window->InputLine()->text(), QString());
        QTRY_COMPARE_WITH_TIMEOUT(Shown(), QStringLiteral("Name? Ada\nHello, Ada\n"), kWaitMs);
        QTest::keyClicks(window->InputLine(), QStringLiteral("more"));
        QTest::keyClick(window->InputLine(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(Shown(), QStringLiteral("Name? Ada\nHello, Ada\nmore\nmore\n"),
                                  kWaitMs);
        QVERIFY(window->IsRunning());
        QTest::keyClick(window->InputLine(), Qt::Key_D, Qt::ControlModifier);
        QVERIFY(WaitForCompletion());
        QCOMPARE(Shown(), QStringLiteral("Name? Ada\nHello, Ada\nmore\nmore\ndone\n"
                                         "Exit code: 0\nNo Errors"));
        QVERIFY(!window->InputLine()->isVisible());

        // A tool started without the input line reads end of file, and no line is offered.
        statusTexts.clear();
        Attach(StartShell("read line; echo \"[$line]\""));
        QVERIFY(!window->InputLine()->isVisible());
        QVERIFY(WaitForCompletion());
        QCOMPARE(Shown(), QStringLiteral("[]\nExit code: 0\nNo Errors"));
    }

    void stopWithoutProcessAsksNothing() {
        window->RequestStop();
        QCOMPARE(host->messages.size(), std::size_t(0));
    }

    void attachReplacesTheEarlierOutput() {
        window->AppendLine("\r\nold result\r\n");
        QTRY_VERIFY(Shown().contains(QStringLiteral("old result")));
        Attach(StartShell("echo new"));
        QVERIFY(WaitForCompletion());
        QCOMPARE(Shown(), QStringLiteral("new\nExit code: 0\nNo Errors"));
    }

    void appendAndClearListResults() {
        window->ClearOutput();
        window->AppendLine("\r\n");
        window->AppendLine("/p/A.java:3: at char 0 \r\n");
        window->AppendLine("No matches found for \"x\"");
        QTRY_COMPARE(Shown(),
                     QStringLiteral("\n/p/A.java:3: at char 0 \nNo matches found for \"x\""));
        window->ClearOutput();
        QCOMPARE(Shown(), QString());
        QCOMPARE(window->Text(), std::string());
    }

    void appendWhileRunningKeepsArrivalOrder() {
        CTempDir dir;
        const std::string flag = dir.File("go");
        Attach(StartShell("echo first; while [ ! -e " + flag +
                          " ]; do sleep 0.01; done; echo second"));
        QTRY_VERIFY_WITH_TIMEOUT(Shown().startsWith(QStringLiteral("first\n")), kWaitMs);
        window->AppendLine("found\r\n");
        dir.Write("go", "");
        QVERIFY(WaitForCompletion());
        QCOMPARE(Shown(), QStringLiteral("first\nfound\nsecond\nExit code: 0\nNo Errors"));
        QCOMPARE(window->Text(),
                 std::string("first\r\nfound\r\nsecond\r\nExit code: 0\r\nNo Errors"));
    }

    void completedRunStaysSavableUntilCleared() {
        CTempDir dir;
        Attach(StartShell("printf 'a\\nb\\n'"));
        QVERIFY(WaitForCompletion());
        host->fileAnswers = {{dir.File("run.txt")}};
        window->SaveOutput();
        QCOMPARE(ReadFile(dir.File("run.txt")), std::string("a\nb\nExit code: 0\nNo Errors"));

        window->ClearOutput();
        window->AppendLine("\r\nresult\r\n");
        QCOMPARE(window->Text(), std::string("\r\nresult\r\n"));
        QTRY_COMPARE(Shown(), QStringLiteral("\nresult\n"));
    }

    // A small shown limit: the control keeps a note and the tail, the end is always there, and
    // the window's text keeps everything for saving.
    void largeOutputKeepsTheEndAndAllOfTheText() {
        window->SetShownLimit(4000);
        Attach(StartShell("i=1; while [ $i -le 3000 ]; do echo \"row $i\"; i=$((i+1)); done"));
        QVERIFY(WaitForCompletion());
        const QString shown = Shown();
        QVERIFY(shown.startsWith(QString::fromLatin1(CProcessWindow::kTrimmedNote) + "\n"));
        QVERIFY(shown.endsWith(QStringLiteral("row 2999\nrow 3000\nExit code: 0\nNo Errors")));
        QVERIFY2(shown.size() <= 4000 + 200, qPrintable(QString::number(shown.size())));
        // Every shown line after the note is whole and in order.
        const QStringList lines = shown.split('\n');
        int previous = 0;
        for (int i = 1; i < lines.size() - 2; ++i) {
            QVERIFY2(lines[i].startsWith(QStringLiteral("row ")), qPrintable(lines[i]));
            const int row = lines[i].mid(4).toInt();
            QVERIFY(previous == 0 || row == previous + 1);
            previous = row;
        }
        const std::string text = window->Text();
        QVERIFY(text.rfind("row 1\r\nrow 2\r\n", 0) == 0);
        QVERIFY(text.find("row 3000\r\nExit code: 0\r\nNo Errors") != std::string::npos);
    }

    void appendedTextBeyondTheLimitKeepsTheEnd() {
        window->SetShownLimit(100);
        for (int i = 0; i < 200; ++i) {
            window->AppendLine("entry " + std::to_string(i) + "\r\n");
        }
        QTRY_VERIFY(Shown().endsWith(QStringLiteral("entry 199\n")));
        QVERIFY(Shown().startsWith(QString::fromLatin1(CProcessWindow::kTrimmedNote)));
    }

    void saveOutputWritesLfLineEndsAtomically() {
        CTempDir dir;
        window->AppendLine("one\r\ntwo\rthree\r\n");
        host->fileAnswers = {{dir.File("out.txt")}};
        window->SaveOutput();
        QCOMPARE(host->fileRequests.size(), std::size_t(1));
        const SFileDialogRequest& request = host->fileRequests[0];
        QVERIFY(request.save && request.confirmOverwrite);
        QCOMPARE(request.defaultExtension, std::string("txt"));
        QCOMPARE(request.filter, std::string("Text Files (*.txt)|*.txt||"));
        QCOMPARE(ReadFile(dir.File("out.txt")), std::string("one\ntwo\rthree\n"));
        QCOMPARE(host->messages.size(), std::size_t(0));
    }

    void saveOutputFailureSaysSo() {
        window->AppendLine("text\r\n");
        host->fileAnswers = {{"/nonexistent-folder/out.txt"}};
        window->SaveOutput();
        QCOMPARE(host->MessageTexts(), std::vector<std::string>{"Can't save file!"});
    }

    void saveOutputCancelledWritesNothing() {
        window->SaveOutput();
        QCOMPARE(host->messages.size(), std::size_t(0));
    }

    void fontComesFromAndGoesToTheSettings() {
        settings.dlgFontName = "DejaVu Sans Mono";
        settings.dlgFontSize = 110;
        CProcessWindow fresh(settings, store, *host);
        QCOMPARE(fresh.Output()->font().family(), QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(fresh.Output()->font().pointSizeF(), 11.0);

        QFont chosen(QStringLiteral("Liberation Mono"));
        chosen.setPointSizeF(12.5);
        fresh.SetFontChooser([&](const QFont&) { return std::optional<QFont>(chosen); });
        fresh.ChooseFont();
        QCOMPARE(fresh.Output()->font().pointSizeF(), 12.5);
        QCOMPARE(settings.dlgFontName, std::string("Liberation Mono"));
        QCOMPARE(settings.dlgFontSize, 125);
        QCOMPARE(store.GetString("OPTIONS", "DLGFONTNAME", ""), std::string("Liberation Mono"));
        QCOMPARE(store.GetInt("OPTIONS", "DLGFONTSIZE", 0), 125);

        fresh.SetFontChooser([](const QFont&) { return std::optional<QFont>(); });
        fresh.ChooseFont();
        QCOMPARE(settings.dlgFontSize, 125);
    }

    // A size chosen in the font dialog stays within what the Preferences accept, so their OK
    // is never refused over the Process Window page the user did not touch.
    void fontDialogSizesStayWithinThePreferencesRange_data() {
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("stored");
        QTest::newRow("too big") << 28.0 << 240;
        QTest::newRow("too small") << 4.0 << 60;
        QTest::newRow("in range") << 13.0 << 130;
    }
    void fontDialogSizesStayWithinThePreferencesRange() {
        QFETCH(double, points);
        QFETCH(int, stored);
        CProcessWindow fresh(settings, store, *host);
        QFont chosen(QStringLiteral("DejaVu Sans Mono"));
        chosen.setPointSizeF(points);
        fresh.SetFontChooser([&](const QFont&) { return std::optional<QFont>(chosen); });
        fresh.ChooseFont();
        QCOMPARE(settings.dlgFontSize, stored);
        QCOMPARE(fresh.Output()->font().pointSizeF(), stored / 10.0);
        CFakeUiHost sheetHost;
        CPrefsSheet sheet(sheetHost, 0);
        sheet.Load(settings);
        sheet.accept();
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QVERIFY(sheetHost.messages.empty());
    }

    void fontDialogOpensOnTheShownFaceAndASizeChangeKeepsIt() {
        settings.dlgFontName = "No Such Face Anywhere";
        settings.dlgFontSize = 110;
        CProcessWindow fresh(settings, store, *host);
        QFont offered;
        fresh.SetFontChooser([&](const QFont& current) {
            offered = current;
            QFont bigger = current;
            bigger.setPointSizeF(14);
            return std::optional<QFont>(bigger);
        });
        fresh.ChooseFont();
        QCOMPARE(offered.family(), QFontInfo(fresh.Output()->font()).family());
        QCOMPARE(offered.pointSizeF(), 11.0);
        QCOMPARE(settings.dlgFontName, std::string("No Such Face Anywhere"));
        QCOMPARE(settings.dlgFontSize, 140);
    }

    void contextMenuOffersSaveAndFont() {
        QStringList texts;
        QTimer::singleShot(0, this, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu) {
                for (QAction* action : menu->actions()) {
                    texts << action->text();
                }
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                window->Output()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(window->Output()->viewport(), &event);
        QVERIFY2(texts.contains(QStringLiteral("Save Output...")), qPrintable(texts.join('|')));
        QVERIFY(texts.contains(QStringLiteral("Font...")));
    }

    // ---------------------------------------------------------------- the bar

    void zeroRectangleKeepsTheDockedSize() {
        CBarFixture plain(settings, store, *host);
        QVERIFY(plain.bar->StoredRect().isNull());
        QVERIFY(!plain.dock->isFloating());
        QVERIFY(plain.dock->height() > 0);
    }

    void storedRectangleSizesTheBarAndClosingStoresIt() {
        settings.dlgLeft = 40;
        settings.dlgTop = 50;
        settings.dlgRight = 540;
        settings.dlgBottom = 300;
        CBarFixture bar(settings, store, *host);
        QTRY_COMPARE(bar.dock->height(), 250);

        bar.dock->setFloating(true);
        QTRY_COMPARE(bar.dock->geometry(), QRect(40, 50, 500, 250));
        QVERIFY(bar.dock->close());
        QVERIFY(!bar.dock->isVisible());
        QCOMPARE(store.GetInt("OPTIONS", "DLG_LEFT", -1), settings.dlgLeft);
        QCOMPARE(settings.dlgRight - settings.dlgLeft, 500);
        QCOMPARE(settings.dlgBottom - settings.dlgTop, 250);
    }

    void closingWhileRunningAsksAndKeepsTheBar() {
        CBarFixture bar(settings, store, *host);
        QStringList texts;
        connect(bar.window, &CProcessWindow::statusTextChanged, this,
                [&](const QString& text) { texts << text; });
        bar.window->Attach(StartShell("sleep 30"), QStringLiteral("Running"));

        host->messageAnswers = {EMsgAnswer::Cancel};
        QVERIFY(!bar.dock->close());
        QVERIFY(bar.dock->isVisible());
        QVERIFY(bar.window->IsRunning());

        host->messageAnswers = {EMsgAnswer::Ok};
        QVERIFY(!bar.dock->close());
        QVERIFY(bar.dock->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!texts.isEmpty() && texts.last() == kComplete, kWaitMs);
        QVERIFY(bar.window->Output()->toPlainText().endsWith(
            QStringLiteral("Process terminated by user.")));
        QCOMPARE(host->messages.size(), std::size_t(2));

        QVERIFY(bar.dock->close());
        QVERIFY(!bar.dock->isVisible());
    }

    void reopenedBarTakesTheSettingsFont() {
        CBarFixture bar(settings, store, *host);
        QVERIFY(bar.dock->close());
        settings.dlgFontName = "DejaVu Sans Mono";
        settings.dlgFontSize = 140;
        QCOMPARE(bar.window->Output()->font().pointSizeF(), 9.0);
        bar.dock->show();
        QCOMPARE(bar.window->Output()->font().pointSizeF(), 14.0);
    }

    void destroyingTheBarStoresItsRectangle() {
        { CBarFixture bar(settings, store, *host); }
        QVERIFY(settings.dlgRight > settings.dlgLeft);
        QVERIFY(settings.dlgBottom > settings.dlgTop);
        QCOMPARE(store.GetInt("OPTIONS", "DLG_BOTTOM", 0), settings.dlgBottom);
    }

    void barNeverShownStoresNothing() {
        {
            QDockWidget dock;
            auto* bare = new CProcessWindow(settings, store, *host, &dock);
            dock.setWidget(bare);
            new CProcessBar(dock, *bare, settings, store);
        }
        QCOMPARE(store.Exists("OPTIONS", "DLG_LEFT"), false);
    }
};

QTEST_MAIN(ProcessWindowTest)
#include "ProcessWindowTest.moc"
