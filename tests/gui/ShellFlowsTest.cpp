// Opening, activating and closing documents and projects through the application, with the
// questions they ask, and what the settings file keeps across a restart.

#include "ShellTestSupport.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/dialogs/RecentProjectsDialog.h"
#include "gui/editor/EditorDocument.h"
#include "gui/editor/SourceDocument.h"
#include "gui/editor/SourceView.h"
#include "gui/framework/CommandIds.h"
#include "gui/project/ProjectDocument.h"

#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <sys/stat.h>

using namespace tovin;
using namespace tovin::test;

namespace {

const std::string kCloseQuestion = "Do you really want to close this project?";

void Type(CDocument* document, const QString& text) {
    CSourceView* view = static_cast<CEditorDocument*>(document)->Source().FirstView();
    view->SetSel(0, 0);
    view->ReplaceSel(text.toStdString());
}

std::string CurrentProjectPath(CEditorApp& app) {
    return app.CurrentProject() ? app.CurrentProject()->PathName() : "<none>";
}

} // namespace

class ShellFlowsTest : public QObject {
    Q_OBJECT
private slots:
    void openProjectOnTheOpenProjectOnlyBringsItForward() {
        CShellFixture shell;
        shell.Start();
        const std::string project = WriteEmptyProject(shell.dir, "P.jpr");
        CDocument* opened = shell.app->OpenDocumentFile(project);
        shell.app->OpenDocumentFile(shell.dir.Write("A.java", "class A {}\n"));
        QCOMPARE(shell.Frame().MenuKind(), EMenuKind::JavaSource);

        // The caller gets the open project: an open that brings it forward did not fail.
        QCOMPARE(shell.app->OpenDocumentFile(project), opened);
        QCOMPARE(shell.app->CurrentProject(), opened);
        QCOMPARE(shell.Frame().ActiveFrame()->Document(), opened);
        QVERIFY(shell.host.messages.empty());
        QCOMPARE(FrameTitles(shell.Frame()), (QStringList{"P.jpr", "A.java"}));
    }

    void openingAnotherProjectClosesTheFirstWhenTheUserAgrees() {
        CShellFixture shell;
        shell.Start();
        const std::string first = WriteEmptyProject(shell.dir, "First.jpr");
        const std::string second = WriteEmptyProject(shell.dir, "Second.jpr");
        shell.app->OpenDocumentFile(first);

        shell.host.messageAnswers = {EMsgAnswer::Cancel};
        QCOMPARE(shell.app->OpenDocumentFile(second), nullptr);
        QCOMPARE(CurrentProjectPath(*shell.app), first);
        QCOMPARE(shell.host.MessageTexts(), std::vector<std::string>{kCloseQuestion});

        shell.host.messageAnswers = {EMsgAnswer::Ok};
        QVERIFY(shell.app->OpenDocumentFile(second));
        CShellFixture::Settle();
        QCOMPARE(CurrentProjectPath(*shell.app), second);
        QCOMPARE(FrameTitles(shell.Frame()), QStringList{"Second.jpr"});
        QCOMPARE(shell.Stored("OPTIONS", "LASTOPEN"), first);
        QCOMPARE(shell.Stored("OPTIONS", "RECENT0"), first);
        QCOMPARE(shell.Stored("OPTIONS", "RECENTSIZE"), std::string("1"));
    }

    // An upper-case project file is a project: it replaces the open one.
    void upperCaseProjectExtensionReplacesTheOpenProject() {
        CShellFixture shell;
        shell.Start();
        shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr"));
        const std::string upper = WriteEmptyProject(shell.dir, "Q.JPR");
        QVERIFY(shell.app->OpenDocumentFile(upper));
        CShellFixture::Settle();
        QCOMPARE(shell.host.MessageTexts(), std::vector<std::string>{kCloseQuestion});
        QCOMPARE(CurrentProjectPath(*shell.app), upper);
        QCOMPARE(FrameTitles(shell.Frame()), QStringList{"Q.JPR"});
        QCOMPARE(shell.Frame().MenuKind(), EMenuKind::Project);
    }

    void closeProjectCommandRecordsTheLastProject() {
        CShellFixture shell;
        shell.Start();
        const std::string project = WriteEmptyProject(shell.dir, "P.jpr");
        shell.app->OpenDocumentFile(project);
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::CloseProject));
        CShellFixture::Settle();
        QCOMPARE(shell.app->CurrentProject(), nullptr);
        QVERIFY(shell.Frame().DocumentFrames().empty());
        QCOMPARE(shell.host.MessageTexts(), std::vector<std::string>{kCloseQuestion});
        QCOMPARE(shell.Stored("OPTIONS", "LASTOPEN"), project);
        QCOMPARE(shell.app->Settings().recentProjects, std::vector<std::string>{project});
        QVERIFY(!shell.Frame().CommandState(ECommand::CloseProject).enabled);
    }

    void closingTheProjectWindowAsksFirst() {
        CShellFixture shell;
        shell.Start();
        shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr"));
        shell.Frame().ExecuteCommand(ECommand::WindowNew);
        QVERIFY(shell.Frame().ActiveFrame()->close()); // a second window goes without a word
        QVERIFY(shell.host.messages.empty());
        shell.host.messageAnswers = {EMsgAnswer::Cancel};
        QVERIFY(!shell.Frame().ActiveFrame()->close());
        QVERIFY(shell.app->CurrentProject());
        shell.host.messageAnswers = {EMsgAnswer::Ok};
        QVERIFY(shell.Frame().ActiveFrame()->close());
        CShellFixture::Settle();
        QCOMPARE(shell.app->CurrentProject(), nullptr);
    }

    // A second window on the project must not let the whole project go without the question
    // and the save, whichever way it is closed.
    void closingAProjectWithTwoWindowsAsksAndSaves_data() {
        QTest::addColumn<bool>("byOpeningAnother");
        QTest::newRow("Close Project") << false;
        QTest::newRow("opening another project") << true;
    }
    void closingAProjectWithTwoWindowsAsksAndSaves() {
        QFETCH(bool, byOpeningAnother);
        CShellFixture shell;
        shell.Start();
        const std::string project = WriteEmptyProject(shell.dir, "P.jpr");
        const std::string other = WriteEmptyProject(shell.dir, "Other.jpr");
        shell.app->OpenDocumentFile(project);
        shell.Frame().ExecuteCommand(ECommand::WindowNew);
        shell.host.fileAnswers = {{shell.dir.Write("A.java", "class A {}\n")}};
        shell.Frame().ExecuteCommand(ECommand::AddFiles);

        if (byOpeningAnother) {
            QVERIFY(shell.app->OpenDocumentFile(other));
        } else {
            QVERIFY(shell.Frame().ExecuteCommand(ECommand::CloseProject));
        }
        CShellFixture::Settle();
        QCOMPARE(shell.host.MessageTexts(), std::vector<std::string>{kCloseQuestion});
        CFakeUiHost quiet;
        CJavaProjectDoc reread(shell.app->Settings(), quiet);
        QCOMPARE(reread.Load(project), std::string());
        QVERIFY(reread.JavaFiles().FindByFileName("A.java"));
    }

    void damagedProjectFileKeepsTheOpenProject() {
        CShellFixture shell;
        shell.Start();
        const std::string project = WriteEmptyProject(shell.dir, "P.jpr");
        shell.app->OpenDocumentFile(project);
        const std::string damaged = shell.dir.Write("Damaged.jpr", "not a project");

        QCOMPARE(shell.app->OpenDocumentFile(damaged), nullptr);
        CShellFixture::Settle();
        QCOMPARE(shell.host.messages.size(), size_t{1}); // the error, not the close question
        QVERIFY(shell.host.messages.front().text.find(damaged) != std::string::npos);
        QCOMPARE(shell.host.messages.front().icon, EMsgIcon::Error);
        QCOMPARE(CurrentProjectPath(*shell.app), project);
        QCOMPARE(FrameTitles(shell.Frame()), QStringList{"P.jpr"});
    }

    void argumentsDialogOffersWhatWasTypedLastTime() {
        CShellFixture shell;
        shell.Store("OPTIONS", "LASTLAUNCH", "earlier");
        shell.Start();
        shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr"));
        CJavaProjectDoc& project = shell.app->CurrentProject()->Project();
        project.AddFile(shell.dir.Write("Main.java", "class Main {}\n"));
        project.SetMainFile("Main.java");
        shell.app->Settings().showArgs = 1;
        shell.host.argumentAnswers = {std::string("one two")};
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::RunApplication));
        QCOMPARE(shell.host.argumentRequests, std::vector<std::string>{"earlier"});
        QCOMPARE(shell.Stored("OPTIONS", "LASTLAUNCH"), std::string("one two"));
    }

    void mainWindowPlaceIsRestored() {
        CShellFixture shell;
        shell.Start();
        shell.Frame().setGeometry(40, 50, 640, 480);
        const QRect placed = shell.Frame().geometry();
        QVERIFY(shell.Close());
        shell.Restart();
        QCOMPARE(shell.Frame().geometry(), placed);
    }

    void exitAsksNothingAboutFilesChangedOnDisk() {
        CShellFixture shell;
        shell.Start();
        CDocument* document = shell.app->OpenDocumentFile(shell.dir.Write("A.java", "a\n"));
        QVERIFY(QTest::qWaitForWindowActive(&shell.Frame()));
        shell.dir.Write("A.java", "changed elsewhere\n");
        shell.Frame().ActiveFrame()->View()->clearFocus();
        shell.Frame().ActiveFrame()->View()->setFocus(); // queues the check of the file
        QVERIFY(document);
        QVERIFY(shell.app->MainFrame()->close());
        QCoreApplication::processEvents();
        QVERIFY(shell.host.messages.empty());
    }

    void recentProjectsDialogRemovesAndOpens() {
        CShellFixture shell;
        const std::string alpha = WriteEmptyProject(shell.dir, "Alpha.jpr");
        const std::string beta = shell.dir.File("Beta.jpr");
        shell.Store("OPTIONS", "RECENTSIZE", "2");
        shell.Store("OPTIONS", "RECENT0", beta);
        shell.Store("OPTIONS", "RECENT1", alpha);
        shell.Start();

        QStringList shownNames;
        WithModal(
            [&](QWidget* modal) {
                auto* dialog = qobject_cast<CRecentProjectsDialog*>(modal);
                QTreeWidget* list = dialog->List();
                for (int i = 0; i < list->topLevelItemCount(); ++i) {
                    shownNames << list->topLevelItem(i)->text(0);
                }
                dialog->accept(); // nothing chosen: a message, and the dialog stays
                QVERIFY(dialog->isVisible());
                list->setCurrentItem(list->topLevelItem(1)); // Beta.jpr, second by name
                auto buttons = dialog->findChildren<QPushButton*>();
                for (QPushButton* button : buttons) {
                    if (button->text() == "&Remove") {
                        button->click();
                    }
                }
                list->setCurrentItem(list->topLevelItem(0));
                dialog->accept();
            },
            [&] { shell.Frame().ExecuteCommand(ECommand::RecentProjects); });

        QCOMPARE(shownNames, (QStringList{"Alpha.jpr", "Beta.jpr"}));
        QCOMPARE(shell.host.MessageTexts(),
                 std::vector<std::string>{"Please choose an item from the list"});
        QCOMPARE(CurrentProjectPath(*shell.app), alpha);
        QCOMPARE(shell.app->Settings().recentProjects, std::vector<std::string>{alpha});
    }

    void saveAllCancelSkipsTheRestOfThatTypeOnly() {
        CShellFixture shell;
        shell.Start();
        CDocument* one = shell.app->OpenDocumentFile(shell.dir.Write("One.java", "one\n"));
        CDocument* two = shell.app->OpenDocumentFile(shell.dir.Write("Two.java", "two\n"));
        CDocument* page = shell.app->OpenDocumentFile(shell.dir.Write("page.html", "page\n"));
        for (CDocument* document : {one, two, page}) {
            Type(document, "edited ");
        }
        shell.host.messageAnswers = {EMsgAnswer::Cancel, EMsgAnswer::Yes};
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::SaveAll));
        QCOMPARE(
            shell.host.MessageTexts(),
            (std::vector<std::string>{"Save changes to One.java?", "Save changes to page.html?"}));
        QCOMPARE(ReadFile(shell.dir.File("One.java")), std::string("one\n"));
        QCOMPARE(ReadFile(shell.dir.File("Two.java")), std::string("two\n"));
        QCOMPARE(ReadFile(shell.dir.File("page.html")), std::string("edited page\n"));
        QVERIFY(!page->IsModified());
        QVERIFY(two->IsModified());
    }

    // Build's save step (SAVECOMP): every modified file is saved without a question, untitled
    // documents stay as they are, and a file that cannot be saved stops the build with why.
    void buildSavesFilesWithoutAskingAndNotAfterAFailedSave() {
        CShellFixture shell;
        shell.Start();
        std::filesystem::create_directories(shell.dir.File("jdk/bin"));
        std::filesystem::create_symlink("/bin/true", shell.dir.File("jdk/bin/javac"));
        shell.app->Settings().javaBin = shell.dir.File("jdk");
        // The scripted host hands the save step to the application, as the real one does.
        shell.host.onSaveAll = [&] { shell.host.saveResult = shell.app->SaveModifiedFiles(); };
        shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr"));
        const std::string main = shell.dir.Write("Main.java", "main\n");
        shell.app->CurrentProject()->Project().AddFile(main);
        CDocument* source = shell.app->OpenDocumentFile(main);
        const std::string locked = shell.dir.Write("Locked.java", "locked\n");
        CDocument* lockedSource = shell.app->OpenDocumentFile(locked);
        QVERIFY(shell.app->CreateNewDocumentOfType("JavaDocument"));
        CDocument* scratch = shell.Frame().ActiveFrame()->Document();
        Type(source, "edited ");
        Type(scratch, "scratch");
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::Build));
        QVERIFY(shell.host.messages.empty());
        QCOMPARE(ReadFile(main), std::string("edited main\n"));
        QVERIFY(!shell.app->CurrentProject()->IsModified());
        QVERIFY(scratch->IsModified());
        QCOMPARE(shell.host.runners.size(), size_t(1));
        QTRY_VERIFY(shell.host.runners[0]->IsFinished());

        Type(lockedSource, "edited ");
        QCOMPARE(::chmod(locked.c_str(), 0444), 0);
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::Build));
        QCOMPARE(shell.host.MessageTexts(),
                 std::vector<std::string>{"Cannot save \"" + locked +
                                          "\": the file is read-only. Save it under another "
                                          "name, then compile again."});
        QCOMPARE(shell.host.runners.size(), size_t(1));
        QVERIFY(lockedSource->IsModified());
    }

    // A read-only file says so in its title and in the status bar, explains a refused key once,
    // and Save says why it asks for another name before asking.
    void readOnlyFileSaysSoBeforeTheUserWonders() {
        CShellFixture shell;
        shell.Start();
        shell.Frame().show();
        const std::string path = shell.dir.Write("R.java", "class R {}\n");
        QCOMPARE(::chmod(path.c_str(), 0444), 0);
        CDocument* document = shell.app->OpenDocumentFile(path);
        QVERIFY(document);
        QCOMPARE(FrameTitles(shell.Frame()), QStringList{"R.java (read-only)"});
        QCOMPARE(shell.Frame().PaneText(CMainFrame::kIndentPane), QStringLiteral("Read-only"));

        CSourceView* view = static_cast<CEditorDocument*>(document)->Source().FirstView();
        view->setFocus();
        shell.Frame().SetPaneText(0, CMainFrame::kReadyText);
        QTest::keyClick(view, Qt::Key_X);
        QVERIFY2(shell.Frame().PaneText(0).contains(QStringLiteral("is read-only")),
                 qPrintable(shell.Frame().PaneText(0)));
        shell.Frame().SetPaneText(0, CMainFrame::kReadyText);
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(shell.Frame().PaneText(0), QString(CMainFrame::kReadyText)); // said once
        QVERIFY(!document->IsModified());

        shell.host.messageAnswers = {EMsgAnswer::Cancel};
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::FileSave));
        QCOMPARE(shell.host.messages.size(), size_t(1));
        QVERIFY(shell.host.messages[0].text.find("read-only") != std::string::npos);
        QVERIFY(shell.host.fileRequests.empty());
        shell.host.messageAnswers = {EMsgAnswer::Ok};
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::FileSave));
        QCOMPARE(shell.host.fileRequests.size(), size_t(1));
        QCOMPARE(shell.host.fileRequests[0].title, std::string("Save As"));
        ::chmod(path.c_str(), 0644);
    }

    void closeAllSourceWindowsClosesOnlyJavaWindows() {
        CShellFixture shell;
        shell.Start();
        shell.app->OpenDocumentFile(shell.dir.Write("page.html", "<p>\n"));
        shell.app->OpenDocumentFile(shell.dir.Write("A.java", "a\n"));
        CDocument* kept = shell.app->OpenDocumentFile(shell.dir.Write("B.java", "b\n"));
        shell.app->OpenDocumentFile(shell.dir.Write("C.java", "c\n"));
        Type(kept, "x");
        shell.host.messageAnswers = {EMsgAnswer::Cancel};
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::CloseAllSourceWindows));
        CShellFixture::Settle();
        QCOMPARE(FrameTitles(shell.Frame()), (QStringList{"page.html", "B.java"}));
    }

    void windowStateSurvivesARestart() {
        CShellFixture shell;
        shell.Start();
        QVERIFY(!shell.Frame().isMaximized());
        shell.Frame().showMaximized();
        QVERIFY(shell.Close());
        QCOMPARE(shell.Stored("SETTINGS", "WINDOWSTATE"), std::string("1"));

        shell.Restart();
        QVERIFY(shell.Frame().isMaximized());
        shell.Frame().showNormal();
        QVERIFY(shell.Close());
        QCOMPARE(shell.Stored("SETTINGS", "WINDOWSTATE"), std::string("0"));
        shell.Restart();
        QVERIFY(!shell.Frame().isMaximized());
    }

    void lastProjectReopensAtStartUp() {
        CShellFixture shell;
        shell.Start();
        const std::string project = WriteEmptyProject(shell.dir, "P.jpr");
        shell.app->OpenDocumentFile(project);
        QVERIFY(shell.Close());
        QCOMPARE(shell.Stored("OPTIONS", "LASTOPEN"), project);
        QVERIFY(shell.host.messages.empty()); // quitting saves the project without asking

        shell.Restart();
        QCOMPARE(CurrentProjectPath(*shell.app), project);
        QCOMPARE(shell.tipsShown, 1);

        shell.app->CloseCurrentProject();
        QVERIFY(shell.Close());
        QCOMPARE(shell.Stored("OPTIONS", "LASTOPEN"), std::string()); // closed with none open
    }

    void commandLineProjectIsReplacedByTheLastProject() {
        CShellFixture shell;
        const std::string named = WriteEmptyProject(shell.dir, "Named.jpr");
        const std::string last = WriteEmptyProject(shell.dir, "Last.jpr");
        shell.Store("OPTIONS", "LASTOPEN", last);
        shell.Start({named});
        QVERIFY(shell.started);
        QCOMPARE(CurrentProjectPath(*shell.app), last);
        QCOMPARE(shell.host.MessageTexts(), std::vector<std::string>{kCloseQuestion});
        QCOMPARE(shell.tipsShown, 0);
    }

    void javaFileOnTheCommandLineStillOpensTheLastProject() {
        CShellFixture shell;
        const std::string last = WriteEmptyProject(shell.dir, "Last.jpr");
        shell.Store("OPTIONS", "LASTOPEN", last);
        shell.Store("OPTIONS", "LOADLAST", "1");
        shell.Start({shell.dir.Write("Main.java", "class Main {}\n")});
        QCOMPARE(FrameTitles(shell.Frame()), (QStringList{"Main.java", "Last.jpr"}));
        QCOMPARE(shell.tipsShown, 0);
    }

    void loadLastOffLeavesTheLastProjectClosed() {
        CShellFixture shell;
        shell.Store("OPTIONS", "LASTOPEN", WriteEmptyProject(shell.dir, "Last.jpr"));
        shell.Store("OPTIONS", "LOADLAST", "0");
        shell.Start();
        QCOMPARE(shell.app->CurrentProject(), nullptr);
    }

    void startFailsWhenANamedFileCannotBeOpened() {
        CShellFixture shell;
        shell.Start({shell.dir.File("missing.java")});
        QVERIFY(!shell.started);
        QCOMPARE(shell.host.messages.size(), size_t(1));
        QVERIFY(shell.host.messages[0].text.find("missing.java") != std::string::npos);
    }

    void quittingWithACancelledSaveQuestionKeepsEverything() {
        CShellFixture shell;
        shell.Start();
        Type(shell.app->OpenDocumentFile(shell.dir.Write("A.java", "a\n")), "x");
        shell.host.messageAnswers = {EMsgAnswer::Cancel};
        QVERIFY(!shell.Close());
        QCOMPARE(FrameTitles(shell.Frame()), QStringList{"A.java"});
        QCOMPARE(ReadFile(shell.dir.File("A.java")), std::string("a\n"));
    }

    void newDocumentsOfATypeAreNumberedUntitled() {
        CShellFixture shell;
        shell.Start();
        QVERIFY(shell.app->CreateNewDocumentOfType("JavaDocument"));
        QVERIFY(shell.app->CreateNewDocumentOfType("JavaDocument"));
        QVERIFY(shell.app->CreateNewDocumentOfType("XMLDocument"));
        QVERIFY(!shell.app->CreateNewDocumentOfType("javadocument"));
        QCOMPARE(FrameTitles(shell.Frame()),
                 (QStringList{"JavaDocument1", "JavaDocument2", "XMLDocument1"}));
        QCOMPARE(shell.Frame().MenuKind(), EMenuKind::Xml);
    }

    void newProjectReplacesTheOpenProjectOnlyWhenItMayClose() {
        CShellFixture shell;
        shell.Start();
        shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr"));
        shell.host.messageAnswers = {EMsgAnswer::Cancel};
        QVERIFY(!shell.app->CreateNewDocumentOfType("JavaProject"));
        QCOMPARE(shell.app->Templates().FindByDocumentName("JavaProject")->Documents().size(),
                 size_t(1));
    }

    void savingAnUntitledDocumentAsksForAName() {
        CShellFixture shell;
        shell.Start();
        shell.app->CreateNewDocumentOfType("HTMLDocument");
        CDocument* page = shell.Frame().ActiveFrame()->Document();
        Type(page, "<html>");
        const std::string target = shell.dir.File("saved.html");
        shell.host.fileAnswers = {{target}};
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::FileSave));
        QCOMPARE(shell.host.fileRequests.at(0).defaultExtension, std::string("html"));
        QCOMPARE(shell.host.fileRequests.at(0).proposedName, std::string("HTMLDocument1"));
        QCOMPARE(ReadFile(target), std::string("<html>"));
        QCOMPARE(FrameTitles(shell.Frame()), QStringList{"saved.html"});
        QCOMPARE(shell.app->RecentFiles().Entries().front(), target);
    }
};

QTEST_MAIN(ShellFlowsTest)
#include "ShellFlowsTest.moc"
