// The frames around documents, the status bar panes and the dock areas.

#include "ShellTestSupport.h"
#include "core/app/UiHost.h"
#include "gui/app/ChildFrame.h"
#include "gui/desktop/KeyboardIndicators.h"
#include "gui/editor/SourceView.h"
#include "gui/process/ProcessOutput.h"
#include "gui/process/ProcessWindow.h"
#include "gui/project/ProjectDocument.h"

#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>

using namespace tovin;
using namespace tovin::test;

class FramesTest : public QObject {
    Q_OBJECT
private slots:
    void statusBarHasItsSixPanes() {
        CShellFixture shell;
        shell.Start();
        QCOMPARE(shell.Frame().PaneText(0), QStringLiteral("Ready"));
        for (int pane : {1, 2}) {
            auto* label = shell.Frame().statusBar()->findChild<QLabel*>(
                QStringLiteral("StatusPane%1").arg(pane));
            QCOMPARE(label->width(), 70);
        }
        shell.Frame().SetPaneText(0, "External process complete");
        QCOMPARE(shell.Frame().PaneText(0), QStringLiteral("External process complete"));
    }

    void caretPositionShowsAsLineAndColumn() {
        CShellFixture shell;
        shell.Start();
        shell.app->OpenDocumentFile(shell.dir.Write("A.java", "class A {\n\tint x;\n}\n"));
        auto* view = qobject_cast<CSourceView*>(shell.Frame().ActiveFrame()->View());
        QVERIFY(view);
        QTest::keyClick(view, Qt::Key_Down);
        QTest::keyClick(view, Qt::Key_Right);
        QTest::keyClick(view, Qt::Key_Right);
        QCOMPARE(shell.Frame().PaneText(1), QStringLiteral("Line: 2"));
        QCOMPARE(shell.Frame().PaneText(2), QStringLiteral("Col: 3"));
    }

    void keyboardIndicatorsLearnFromKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // caps, num, scroll after the key
        using M = Qt::KeyboardModifier;
        QTest::newRow("lower-case letter") << int(Qt::Key_A) << 0 << "a"
                                           << "---";
        QTest::newRow("capital without Shift") << int(Qt::Key_A) << 0 << "A"
                                               << "C--";
        QTest::newRow("small with Shift") << int(Qt::Key_B) << int(M::ShiftModifier) << "b"
                                          << "C--";
        QTest::newRow("capital with Shift") << int(Qt::Key_B) << int(M::ShiftModifier) << "B"
                                            << "---";
        QTest::newRow("Ctrl+letter tells nothing")
            << int(Qt::Key_A) << int(M::ControlModifier) << "A"
            << "---";
        QTest::newRow("keypad digit") << int(Qt::Key_7) << int(M::KeypadModifier) << "7"
                                      << "-N-";
        QTest::newRow("keypad arrow") << int(Qt::Key_Left) << int(M::KeypadModifier) << ""
                                      << "---";
        QTest::newRow("Caps Lock toggles") << int(Qt::Key_CapsLock) << 0 << ""
                                           << "C--";
        QTest::newRow("Scroll Lock toggles") << int(Qt::Key_ScrollLock) << 0 << ""
                                             << "--S";
    }
    void keyboardIndicatorsLearnFromKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        CKeyboardIndicators indicators;
        QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        indicators.Observe(event);
        QString state = QString(indicators.CapsLock() ? "C" : "-") +
                        (indicators.NumLock() ? "N" : "-") + (indicators.ScrollLock() ? "S" : "-");
        QCOMPARE(state, expected);
    }

    void indicatorPanesShowWhatKeysTold() {
        CShellFixture shell;
        shell.Start();
        QVERIFY(QTest::qWaitForWindowActive(&shell.Frame()));
        QTest::keyClick(&shell.Frame(), Qt::Key_CapsLock);
        QCOMPARE(shell.Frame().PaneText(3), QStringLiteral("CAP"));
        QCOMPARE(shell.Frame().PaneText(4), QString());
        QTest::keyClick(&shell.Frame(), Qt::Key_CapsLock);
        QCOMPARE(shell.Frame().PaneText(3), QString());
    }

    void functionBarFollowsShowDropsWhenTheWindowOpens() {
        CShellFixture shell;
        shell.Start();
        shell.app->OpenDocumentFile(shell.dir.Write("A.java", "class A {}\n"));
        auto* first = qobject_cast<CChildFrame*>(shell.Frame().ActiveFrame());
        QVERIFY(first);
        QVERIFY(first->IsFunctionBarVisible());
        shell.app->Settings().showDrops = 0;
        shell.app->OpenDocumentFile(shell.dir.Write("B.java", "class B {}\n"));
        auto* second = qobject_cast<CChildFrame*>(shell.Frame().ActiveFrame());
        QVERIFY(!second->IsFunctionBarVisible());
        QVERIFY(first->IsFunctionBarVisible());

        first->AddFunction("main(String[])");
        first->AddFunction("run()");
        QCOMPARE(first->SelectedFunctionIndex(), -1); // refreshed: nothing chosen yet
        first->ClearFunctions();
        QCOMPARE(first->SelectedFunctionIndex(), -1);
        QSignalSpy chosen(first, &CChildFrame::FunctionChosen);
        first->AddFunction("run()");
        emit first->FunctionList()->activated(0);
        QCOMPARE(chosen.size(), 1);
    }

    // Keys on the closed function list choose nothing; Enter on the open list jumps to the
    // method and gives the keys back to the editor.
    void functionListJumpsOnlyOnARealChoice() {
        CShellFixture shell;
        shell.Start();
        shell.app->OpenDocumentFile(
            shell.dir.Write("A.java", "class A {\n  void run() {}\n  void stop() {}\n}\n"));
        auto* frame = qobject_cast<CChildFrame*>(shell.Frame().ActiveFrame());
        QComboBox* list = frame->FunctionList();
        QVERIFY(QTest::qWaitForWindowActive(&shell.Frame()));
        shell.Frame().ExecuteCommand(ECommand::RefreshFunctionList);
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->currentIndex(), -1);
        QSignalSpy chosen(frame, &CChildFrame::FunctionChosen);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_S);
        QCOMPARE(chosen.size(), 0);
        QCOMPARE(list->currentIndex(), -1);

        list->showPopup();
        QTRY_VERIFY(list->view()->isVisible());
        list->view()->setCurrentIndex(list->model()->index(1, 0));
        QTest::keyClick(list->view(), Qt::Key_Return);
        QCOMPARE(chosen.size(), 1);
        auto* view = static_cast<CSourceView*>(frame->View());
        QCOMPARE(view->selectedText(), QStringLiteral("  void stop() {}"));
        QCOMPARE(QApplication::focusWidget(), view);
    }

    void secondWindowOnADocumentIsNumberedAndClosesAlone() {
        CShellFixture shell;
        shell.Start();
        CDocument* document = shell.app->OpenDocumentFile(shell.dir.Write("A.java", "a\n"));
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::WindowNew));
        QCOMPARE(FrameTitles(shell.Frame()), (QStringList{"A.java:1", "A.java:2"}));
        QVERIFY(shell.Frame().ActiveFrame()->close());
        QCOMPARE(FrameTitles(shell.Frame()), QStringList{"A.java"});
        QCOMPARE(document->Frames().size(), size_t(1));
    }

    void titleNamesTheActiveDocument() {
        CShellFixture shell;
        shell.Start();
        QCOMPARE(shell.Frame().windowTitle(), QStringLiteral("Tovin"));
        shell.app->OpenDocumentFile(shell.dir.Write("Hello.java", "a\n"));
        CDocument* page = shell.app->OpenDocumentFile(shell.dir.Write("a.html", "a\n"));
        QCOMPARE(shell.Frame().windowTitle(), QStringLiteral("Tovin - a.html"));
        QVERIFY(page->DoSave(shell.dir.File("b.html")));
        QCOMPARE(shell.Frame().windowTitle(), QStringLiteral("Tovin - b.html"));
        QVERIFY(shell.Frame().ActiveFrame()->close());
        QCOMPARE(shell.Frame().windowTitle(), QStringLiteral("Tovin - Hello.java"));
        QVERIFY(shell.Frame().ActiveFrame()->close());
        QCOMPARE(shell.Frame().windowTitle(), QStringLiteral("Tovin"));
    }

    // The Window menu lists nine windows by number, the active one checked, and leads to
    // the others through "More Windows...".
    void windowMenuListsTheOpenWindows() {
        CShellFixture shell;
        shell.Start();
        for (int i = 0; i < 10; ++i) {
            shell.app->OpenDocumentFile(shell.dir.Write("F" + std::to_string(i) + ".java", "a\n"));
        }
        shell.Frame().ActiveFrame()->showMaximized();
        QMenu* window = nullptr;
        for (QAction* top : shell.Frame().menuBar()->actions()) {
            window = top->text() == "&Window" ? top->menu() : window;
        }
        QVERIFY(window);
        const QStringList items = MenuItems(window);
        const QStringList list = items.mid(items.lastIndexOf("-") + 1);
        QCOMPARE(list.size(), 10);
        QCOMPARE(list.front(), QStringLiteral("&1 F0.java"));
        QCOMPARE(list[8], QStringLiteral("&9 F8.java"));
        QCOMPARE(list.back(), QStringLiteral("&More Windows..."));
        QList<QAction*> actions = window->actions();
        QAction* first = actions[actions.size() - 10];
        QVERIFY(!first->isChecked());

        first->trigger();
        QCOMPARE(shell.Frame().windowTitle().remove("[*]"), QStringLiteral("Tovin - [F0.java]"));
        MenuItems(window);
        actions = window->actions();
        QVERIFY(actions[actions.size() - 10]->isChecked());

        WithModal(
            [](QWidget* dialog) {
                auto* choices = dialog->findChild<QListWidget*>();
                QCOMPARE(choices->count(), 10);
                choices->setCurrentRow(9);
                static_cast<QDialog*>(dialog)->accept();
            },
            [&] { window->actions().back()->trigger(); });
        QCOMPARE(shell.Frame().windowTitle().remove("[*]"), QStringLiteral("Tovin - [F9.java]"));
        shell.Frame().ActiveFrame()->showNormal();
        QCOMPARE(shell.Frame().windowTitle(), QStringLiteral("Tovin - F9.java"));
    }

    // Two windows on files of the same name show their folders; a changed document shows "*".
    void windowMenuTellsSameNamesAndChangesApart() {
        CShellFixture shell;
        shell.Start();
        const std::string one = shell.dir.Write("one/build.xml", "<project/>\n");
        const std::string two = shell.dir.Write("two/build.xml", "<project/>\n");
        shell.app->OpenDocumentFile(one);
        shell.app->OpenDocumentFile(shell.dir.Write("A.java", "class A {}\n"));
        shell.app->OpenDocumentFile(two);
        QTest::keyClicks(shell.Frame().ActiveFrame()->findChild<CScintillaEdit*>(), "x");
        QMenu* window = nullptr;
        for (QAction* top : shell.Frame().menuBar()->actions()) {
            window = top->text() == "&Window" ? top->menu() : window;
        }
        QVERIFY(window);
        const QStringList items = MenuItems(window);
        QCOMPARE(
            items.mid(items.lastIndexOf("-") + 1),
            (QStringList{"&1 build.xml (" + QString::fromStdString(shell.dir.File("one")) + ")",
                         "&2 A.java",
                         "&3 build.xml* (" + QString::fromStdString(shell.dir.File("two")) + ")"}));
    }

    void docksKeepToTheirSides() {
        CShellFixture shell;
        shell.Start();
        QDockWidget* project = shell.Frame().ProjectDock();
        QDockWidget* process = shell.Frame().ProcessDock();
        QCOMPARE(shell.Frame().dockWidgetArea(project), Qt::LeftDockWidgetArea);
        QCOMPARE(project->allowedAreas(), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
        QCOMPARE(shell.Frame().dockWidgetArea(process), Qt::BottomDockWidgetArea);
        QCOMPARE(process->allowedAreas(), Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
        QCOMPARE(process->windowTitle(), QStringLiteral("Process Window"));
    }

    void processWindowShowsARunnersOutput() {
        CTempDir dir;
        CEditorApp app(dir.File("Tovin.conf")); // with its own, real host
        QVERIFY(app.Start({}));
        auto runner = std::make_unique<CProcessRunner>();
        QVERIFY(runner->Start("", "echo hello from the tool", dir.Path()));
        app.Host().SetProcessCaption("Running echo");
        app.Host().AttachRunner(std::move(runner));
        QVERIFY(app.MainFrame()->ProcessDock()->isVisible());
        QCOMPARE(app.ProcessCaption(), std::string("Running echo"));
        QTRY_VERIFY_WITH_TIMEOUT(app.ProcessWindow()->Output()->toPlainText().contains("No Errors"),
                                 30000);
        QVERIFY(app.ProcessWindow()->Output()->toPlainText().startsWith("hello from the tool"));
        app.Host().AppendOutput("found.java:3:\r\n");
        QVERIFY(app.ProcessWindow()->Output()->toPlainText().endsWith("found.java:3:\n"));
        app.Host().ClearOutput();
        QCOMPARE(app.ProcessWindow()->Output()->toPlainText(), QString());
    }

    void projectWindowCommandShowsFocusesAndHides() {
        CShellFixture shell;
        shell.Start();
        QVERIFY(QTest::qWaitForWindowActive(&shell.Frame()));
        shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr"));
        shell.app->OpenDocumentFile(shell.dir.Write("A.java", "a\n"));
        // The project's form showed the project window when it first appeared.
        QVERIFY(shell.Frame().HasProjectDock());
        QDockWidget* dock = shell.Frame().ProjectDock();
        QVERIFY(dock->isVisible());
        QCOMPARE(dock->windowTitle(), QStringLiteral("P.jpr"));
        shell.Frame().ActiveFrame()->View()->setFocus();
        shell.Frame().ExecuteCommand(ECommand::ProjectWindow); // visible, not focused: focus
        QVERIFY(dock->isVisible());
        QVERIFY(dock->isAncestorOf(QApplication::focusWidget()));
        shell.Frame().ExecuteCommand(ECommand::ProjectWindow); // focused: hide
        QVERIFY(dock->isHidden());
        shell.Frame().ExecuteCommand(ECommand::ProjectWindow); // hidden: show
        QVERIFY(dock->isVisible());
        shell.app->CloseCurrentProject();
        QVERIFY(dock->isHidden());
    }
};

QTEST_MAIN(FramesTest)
#include "FramesTest.moc"
