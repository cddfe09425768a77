// Unit tests in the window, with the real JDK and Debian's JUnit: a learner writes a test case
// from the New dialog, presses Ctrl+T and reads the tree; a double-click on a failure opens its
// line; the failed tests run again alone; the project window runs one file's tests.

#include "ModalAnswers.h"
#include "ShellTestSupport.h"
#include "core/app/Settings.h"
#include "core/platform/Files.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/dialogs/NewDocumentDialog.h"
#include "gui/editor/SourceView.h"
#include "gui/process/ProcessWindow.h"
#include "gui/project/ProjectDocument.h"
#include "gui/project/ProjectTree.h"
#include "gui/testing/TestResultsWindow.h"
#include "gui/testing/TestSession.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>

using namespace tovin;
using namespace tovin::test;

namespace {

constexpr int kWaitMs = 180000;

QStringList TopLevelTexts(const QTreeWidget& tree) {
    QStringList texts;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        texts << tree.topLevelItem(i)->text(0);
    }
    return texts;
}

int CaretLine(const CSourceView& view) {
    int start = 0;
    int end = 0;
    view.GetSel(start, end);
    return view.LineFromChar(start) + 1;
}

int LineOf(const CSourceView& view, const std::string& text) {
    return view.LineFromChar(static_cast<int>(view.GetText().find(text))) + 1;
}

} // namespace

class TestResultsTest : public QObject {
    Q_OBJECT

    CTempDir dir;
    std::unique_ptr<CEditorApp> app; // with its own, real host

    CMainFrame& Frame() const { return *app->MainFrame(); }
    std::string Source(const std::string& name) const {
        return dir.File("src/shop/" + name + ".java");
    }
    // Starts a command that runs tests and waits until their results are shown.
    void RunToResults(const std::function<void()>& start) {
        start();
        QVERIFY(app->TestSession().IsBusy());
        QTRY_VERIFY_WITH_TIMEOUT(!app->TestSession().IsBusy(), kWaitMs);
    }

private slots:
    void initTestCase() {
        std::filesystem::copy(std::string(TOVIN_TEST_DATA) + "/junit", dir.Path(),
                              std::filesystem::copy_options::recursive);
        CSettings settings;
        CFakeUiHost host;
        CJavaProjectDoc project(settings, host);
        for (const char* name : {"Basket", "BasketTest", "LegacyBasketTest"}) {
            project.AddFile(Source(name));
        }
        project.SetMainFile("Basket.java");
        project.SetMainPackage("shop");
        QCOMPARE(project.Save(dir.File("Shop.jpr")), std::string());
        app = std::make_unique<CEditorApp>(dir.File("Tovin.conf"));
        app->SetStartupTip([] {});
        QVERIFY(app->Start({dir.File("Shop.jpr")}));
    }

    void cleanupTestCase() { app.reset(); }

    // File > New > JUnit Test Case, then Ctrl+T: the tree of every test class.
    void newTestCaseThenRunTests() {
        const auto chooseTestCase = [](QWidget* modal) {
            auto* dialog = qobject_cast<CNewDocumentDialog*>(modal);
            QVERIFY(dialog);
            dialog->List()->setCurrentRow(CNewDocumentDialog::TestCase);
            dialog->accept();
        };
        const auto namePrice = [](QWidget* modal) {
            auto* dialog = qobject_cast<QInputDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->textValue(), QStringLiteral("Basket"));
            dialog->setTextValue(QStringLiteral("Price"));
            dialog->accept();
        };
        const std::string path = Source("PriceTest");
        const auto saveThere = [path](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            dialog->selectFile(QString::fromStdString(path));
            static_cast<QDialog*>(dialog)->accept();
        };
        QCOMPARE(WithModals({chooseTestCase, namePrice, saveThere},
                            [&] { Frame().ExecuteCommand(ECommand::FileNew); }),
                 3);
        QVERIFY(FileExists(path));
        CJavaProjectDoc& project = app->CurrentProject()->Project();
        QVERIFY(project.ContainsJavaFile(path));

        // The new test case's editor is active: Ctrl+T is Run Tests there.
        QCOMPARE(Frame().AcceleratorCommand(QKeySequence(QStringLiteral("Ctrl+T"))),
                 ECommand::RunTests);
        RunToResults([&] { QVERIFY(Frame().ExecuteCommand(ECommand::RunTests)); });
        CTestResultsWindow& results = *app->TestResults();
        QVERIFY(results.isVisible());
        QCOMPARE(TopLevelTexts(*results.Tree()), (QStringList{"BasketTest", "BasketTest.WhenEmpty",
                                                              "LegacyBasketTest", "PriceTest"}));
        QVERIFY2(
            results.Counts()->text().startsWith("Tests: 13   Passed: 6   Failed: 5   Skipped: 2"),
            qPrintable(results.Counts()->text()));
        QVERIFY(results.Bar()->styleSheet().contains("#d33c2f"));
    }

    // A failed test's double-click opens its file at the line that failed.
    void doubleClickOpensTheFailingLine() {
        CTestResultsWindow& results = *app->TestResults();
        QTreeWidgetItem* item = results.FindTest("shop.BasketTest$WhenEmpty", "countIsZero()");
        QVERIFY(item);
        results.Tree()->setCurrentItem(item);
        QVERIFY(results.Details()->toPlainText().startsWith("expected: <0> but was: <1>"));
        emit results.Tree()->itemActivated(item, 0);
        auto* view = qobject_cast<CSourceView*>(Frame().ActiveFrame()->View());
        QVERIFY(view);
        QVERIFY(view->GetText().find("class BasketTest") != std::string::npos);
        QCOMPARE(CaretLine(*view), LineOf(*view, "assertEquals(0, basket.count())"));
    }

    // "Run Failed Tests Again" runs the five failures alone, which fail again.
    void rerunOfTheFailed() {
        RunToResults([&] { QVERIFY(Frame().ExecuteCommand(ECommand::RerunFailedTests)); });
        CTestResultsWindow& results = *app->TestResults();
        QVERIFY2(
            results.Counts()->text().startsWith("Tests: 5   Passed: 0   Failed: 5   Skipped: 0"),
            qPrintable(results.Counts()->text()));
        QVERIFY(results.FindTest("shop.BasketTest", "aSinglePriceIsTheTotal(int)[3]"));
        QVERIFY(results.FindTest("shop.LegacyBasketTest", "totalOfNothing"));
    }

    // The project window's "Run Tests" on one file runs that class only.
    void projectWindowRunsOneFile() {
        QVERIFY(Frame().ExecuteCommand(ECommand::ProjectWindow));
        CProjectTree* tree = app->CurrentProject()->ProjectTree();
        QVERIFY(tree);
        QTreeWidgetItem* item = nullptr;
        for (int i = 0; i < tree->Tree()->topLevelItemCount(); ++i) {
            if (tree->Tree()->topLevelItem(i)->text(0) == "PriceTest.java") {
                item = tree->Tree()->topLevelItem(i);
            }
        }
        QVERIFY(item);
        QMenu menu;
        QVERIFY(tree->FillContextMenu(item, menu));
        QAction* run = nullptr;
        for (QAction* action : menu.actions()) {
            if (action->text() == "Run Tests") {
                run = action;
            }
        }
        QVERIFY(run);
        RunToResults([&] { run->trigger(); });
        CTestResultsWindow& results = *app->TestResults();
        QCOMPARE(TopLevelTexts(*results.Tree()), QStringList{"PriceTest"});
        QVERIFY(results.Bar()->styleSheet().contains("#2e9e45"));
    }

    // Stop in the Process Window ends a test that never ends; the tree shows what finished and
    // the test that was running as failed.
    void stopShowsWhatFinished() {
        const std::string path =
            dir.Write("src/shop/SlowTest.java",
                      "package shop;\nimport org.junit.jupiter.api.*;\n"
                      "@TestMethodOrder(MethodOrderer.MethodName.class)\nclass SlowTest {\n"
                      "    @Test void a() {}\n"
                      "    @Test void b() throws Exception { Thread.sleep(600000); }\n"
                      "}\n");
        app->CurrentProject()->Project().AddFile(path);
        app->TestSession().RunTests({path});
        QVERIFY(app->TestSession().IsBusy());
        CProcessWindow& process = *app->ProcessWindow();
        QTRY_VERIFY_WITH_TIMEOUT(process.Text().find("[method:b()]") != std::string::npos, kWaitMs);
        const auto abort = [](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            box->button(QMessageBox::Ok)->click();
        };
        QCOMPARE(WithModals({abort}, [&] { process.RequestStop(); }), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!app->TestSession().IsBusy(), kWaitMs);
        CTestResultsWindow& results = *app->TestResults();
        QVERIFY2(
            results.Counts()->text().startsWith("Tests: 2   Passed: 1   Failed: 1   Skipped: 0\n"),
            qPrintable(results.Counts()->text()));
        QVERIFY(results.FindTest("shop.SlowTest", "a()"));
        QTreeWidgetItem* running = results.FindTest("shop.SlowTest", "b()");
        QVERIFY(running);
        results.Tree()->setCurrentItem(running);
        QCOMPARE(results.Details()->toPlainText(),
                 QStringLiteral("the run ended while this test ran"));
    }
};

QTEST_MAIN(TestResultsTest)
#include "TestResultsTest.moc"
