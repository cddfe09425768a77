// The Process Window inside the application: a build started through the host shows in the
// bottom dock with its caption and the status-bar texts, a double-clicked message opens the file
// through the application's own open path, and "Find in Files..." lists its results there.

#include "ShellTestSupport.h"
#include "UserClicks.h"
#include "gui/process/FindInFilesDialog.h"
#include "gui/process/ProcessOutput.h"
#include "gui/process/ProcessWindow.h"

#include "core/platform/CommandLine.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/project/ProjectDocument.h"

#include <QDockWidget>
#include <QLineEdit>
#include <QTextBlock>

using namespace tovin;
using namespace tovin::test;

namespace {

constexpr int kWaitMs = 120000;

const char* const kBrokenSource = "class B {\n"
                                  "    void f() {\n"
                                  "        int x = ;\n"
                                  "    }\n"
                                  "}\n";

} // namespace

class ProcessWindowAppTest : public QObject {
    Q_OBJECT

    CTempDir dir;
    std::unique_ptr<CEditorApp> app; // with its own, real host
    std::string source;

    CProcessOutput& Output() const { return *app->ProcessWindow()->Output(); }

private slots:
    void init() {
        CIniSettingsStore store(dir.File("Tovin.conf"));
        store.SetInt("OPTIONS", "DLG_LEFT", 10);
        store.SetInt("OPTIONS", "DLG_TOP", 400);
        store.SetInt("OPTIONS", "DLG_RIGHT", 610);
        store.SetInt("OPTIONS", "DLG_BOTTOM", 620);
        QCOMPARE(store.Flush(), std::string());
        app = std::make_unique<CEditorApp>(dir.File("Tovin.conf"));
        QVERIFY(app->Start({}));
        QVERIFY(app->OpenDocumentFile(WriteEmptyProject(dir, "P.jpr")));
        QVERIFY(app->CurrentProject());
        source = dir.Write("B.java", kBrokenSource);
        app->CurrentProject()->Project().AddFile(source);
    }

    void cleanup() {
        app.reset();
        CShellFixture::Settle();
    }

    void buildShowsInTheDockAndItsMessageOpensTheFile() {
        auto runner = std::make_unique<CProcessRunner>();
        QVERIFY(
            runner->Start("/usr/bin/javac", "javac " + QuoteWindowsArgument(source), dir.Path()));
        app->Host().SetProcessCaption("Building \"B.java\"");
        app->Host().AttachRunner(std::move(runner));

        QDockWidget* dock = app->MainFrame()->ProcessDock();
        QVERIFY(dock->isVisible());
        QCOMPARE(app->MainFrame()->dockWidgetArea(dock), Qt::BottomDockWidgetArea);
        // The stored rectangle gives the docked bar its height.
        QTRY_COMPARE(dock->height(), 220);
        QCOMPARE(app->ProcessWindow()->StatusField()->text(),
                 QStringLiteral("Building \"B.java\""));
        QTRY_COMPARE_WITH_TIMEOUT(app->MainFrame()->PaneText(0),
                                  QStringLiteral("External process complete"), kWaitMs);
        QVERIFY(Output().toPlainText().endsWith(QStringLiteral("There were errors")));

        QVERIFY(!FrameTitles(*app->MainFrame()).contains(QStringLiteral("B.java")));
        QVERIFY2(DoubleClickLineWith(Output(), QString::fromStdString(source) + ":3: error"),
                 qPrintable(Output().toPlainText()));
        QTRY_VERIFY(FrameTitles(*app->MainFrame()).contains(QStringLiteral("B.java")));
    }

    void findInFilesListsResultsThatOpenTheFile() {
        WithModal(
            [](QWidget* modal) {
                auto* dialog = qobject_cast<CFindInFilesDialog*>(modal);
                QVERIFY(dialog);
                dialog->FindEdit()->setText(QStringLiteral("int x"));
                dialog->accept();
            },
            [&] { app->MainFrame()->ExecuteCommand(ECommand::FindInFiles); });
        QVERIFY(app->MainFrame()->ProcessDock()->isVisible());
        QTRY_COMPARE(Output().toPlainText(),
                     "\n" + QString::fromStdString(source) + ":3: at char 8 \n");

        QVERIFY(DoubleClickLineWith(Output(), QStringLiteral(":3: at char 8")));
        QTRY_VERIFY(FrameTitles(*app->MainFrame()).contains(QStringLiteral("B.java")));

        // The project keeps the dialog: it offers the last search again; Cancel changes nothing.
        QString offered;
        WithModal(
            [&](QWidget* modal) {
                offered = qobject_cast<CFindInFilesDialog*>(modal)->FindEdit()->text();
                static_cast<QDialog*>(modal)->reject();
            },
            [&] { app->MainFrame()->ExecuteCommand(ECommand::FindInFiles); });
        QCOMPARE(offered, QStringLiteral("int x"));
        QCOMPARE(Output().toPlainText(),
                 "\n" + QString::fromStdString(source) + ":3: at char 8 \n");
    }
};

QTEST_MAIN(ProcessWindowAppTest)
#include "ProcessWindowAppTest.moc"
