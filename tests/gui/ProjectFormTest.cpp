// The project form in a real application: what it shows, the "Update" rule, the resets and
// their questions, the working-directory browser, the main file and page boxes, and the
// class-path buttons as they reach the project.

#include "gui/project/ProjectFormView.h"

#include "ShellTestSupport.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/editor/EditorDocument.h"
#include "gui/editor/SourceDocument.h"
#include "gui/editor/SourceView.h"
#include "gui/framework/CommandIds.h"
#include "gui/project/ClassPathList.h"
#include "gui/project/ProjectDocument.h"
#include "gui/project/ProjectTree.h"

#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

using namespace tovin;
using namespace tovin::test;

namespace {

struct CFormFixture {
    CShellFixture shell;
    CProjectDocument* document = nullptr;
    CProjectFormView* form = nullptr;

    explicit CFormFixture(const std::function<void(CShellFixture&)>& settings = {}) {
        shell.Start();
        if (settings) {
            settings(shell);
        }
        document = static_cast<CProjectDocument*>(
            shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr")));
        shell.Frame().show();
        form = qobject_cast<CProjectFormView*>(shell.Frame().ActiveFrame()->View());
    }
    CJavaProjectDoc& Project() { return document->Project(); }
    QPushButton* Button(const QString& text, CProjectFormView* on = nullptr) const {
        for (QPushButton* button : (on ? on : form)->findChildren<QPushButton*>()) {
            if (button->text() == text) {
                return button;
            }
        }
        qFatal("no button %s", qPrintable(text));
    }
    // The field the label with this text names.
    template <class T> T* Field(const QString& label) const {
        for (QLabel* caption : form->findChildren<QLabel*>()) {
            if (caption->text() == label && caption->buddy()) {
                return qobject_cast<T*>(caption->buddy());
            }
        }
        return nullptr;
    }
    QStringList Items(QComboBox* box) const {
        QStringList items;
        for (int i = 0; i < box->count(); ++i) {
            items << box->itemText(i);
        }
        return items;
    }
    void SelectRow(int row) {
        CClassPathList* list = form->ClassPathList();
        list->setCurrentItem(list->topLevelItem(row));
    }
    QList<QPlainTextEdit*> Switches(CProjectFormView* on = nullptr) const {
        return (on ? on : form)->findChildren<QPlainTextEdit*>();
    }
    QPlainTextEdit* JavacSwitches(CProjectFormView* on = nullptr) const {
        return Switches(on).at(1);
    }
    // A Java file of the project, made its main file, and a stand-in compiler that ends at once.
    std::string AddMainFile(const std::string& name, const std::string& text = {}) {
        std::filesystem::create_directories(shell.dir.File("jdk/bin"));
        std::filesystem::create_symlink("/bin/true", shell.dir.File("jdk/bin/javac"));
        shell.app->Settings().javaBin = shell.dir.File("jdk");
        const std::string path = shell.dir.Write(name, text);
        Project().AddFile(path);
        Project().SetMainFile(name);
        return path;
    }
    QLineEdit* WorkingDir() const {
        return form->findChild<QPushButton*>("browseWorkingDirectory")
            ->parentWidget()
            ->findChild<QLineEdit*>();
    }
};

} // namespace

class ProjectFormTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheProjectAndMaximisesItsFrame() {
        CFormFixture f;
        QVERIFY(f.form);
        QVERIFY(f.shell.Frame().ActiveFrame()->isMaximized());
        QVERIFY(f.document->ProjectTree()); // the form shows the project window
        f.Project().AddFile(f.shell.dir.Write("Zeta.java", ""));
        f.Project().AddFile(f.shell.dir.Write("Alpha.java", ""));
        f.Project().AddHtmlFile(f.shell.dir.Write("old.htm", ""));
        f.Project().SetMainFile("Zeta.java");
        QCOMPARE(f.Field<QLineEdit>("File Path:")->text(),
                 QString::fromStdString(f.shell.dir.File("P.jpr")));
        auto* mainFile = f.Field<QComboBox>("Main Java File:");
        QCOMPARE(f.Items(mainFile), (QStringList{"Alpha.java", "Zeta.java"}));
        QCOMPARE(mainFile->currentText(), QStringLiteral("Zeta.java"));
        auto* mainHtml = f.Field<QComboBox>("Main HTML File:");
        QVERIFY(mainHtml->isEnabled());
        QCOMPARE(f.Items(mainHtml), QStringList{}); // ".htm" is not offered
        f.Project().AddHtmlFile(f.shell.dir.Write("Page.html", ""));
        f.Project().RefreshViews();
        QCOMPARE(f.Items(mainHtml), QStringList{"Page.html"});

        // Choosing in the boxes reaches the project at once.
        mainFile->setCurrentIndex(0);
        emit mainFile->activated(0);
        QCOMPARE(f.Project().GetMainFileName(), std::string("Alpha.java"));
        emit mainHtml->activated(0);
        QCOMPARE(f.Project().GetMainHtmlFile(), std::string("Page.html"));
    }

    void withoutFilesTheBoxesAreDisabled() {
        CFormFixture f;
        QVERIFY(!f.Field<QComboBox>("Main Java File:")->isEnabled());
        QVERIFY(!f.Field<QComboBox>("Main HTML File:")->isEnabled());
    }

    void editsWaitForUpdate() {
        CFormFixture f;
        QPushButton* update = f.form->UpdateButton();
        QVERIFY(!update->isEnabled());
        f.Switches().at(0)->setPlainText("-Xmx64m");
        f.Switches().at(1)->setPlainText("-g");
        QVERIFY(update->isEnabled());
        QCOMPARE(f.Project().GetRunOptions(), std::string());
        update->click();
        QCOMPARE(f.Project().GetRunOptions(), std::string("-Xmx64m"));
        QCOMPARE(f.Project().GetCompileOptions(), std::string("-g"));
        QVERIFY(!update->isEnabled());

        f.shell.host.folderAnswers = {"", "/work/dir"};
        f.Button("...")->click(); // cancelled
        QVERIFY(!update->isEnabled());
        f.Button("...")->click();
        QCOMPARE(f.shell.host.folderRequests.back().first, std::string("Locate Working Directory"));
        QCOMPARE(f.WorkingDir()->text(), QStringLiteral("/work/dir"));
        QVERIFY(update->isEnabled());
        QCOMPARE(f.Project().GetWorkingDir(), std::string());
    }

    void resetToDefaultsAsksFirst() {
        CFormFixture f([](CShellFixture& shell) {
            shell.app->Settings().javaOptions = "-server";
            shell.app->Settings().javac = "-O";
            shell.app->Settings().workingDir = "/wd";
        });
        f.Project().SetRunOptions("-own");
        f.Project().RefreshViews();
        f.shell.host.messageAnswers = {EMsgAnswer::Cancel};
        f.Button("Reset to Defaults")->click();
        QCOMPARE(f.shell.host.messages.back().text,
                 std::string("Reset switches to application defaults?"));
        QCOMPARE(f.shell.host.messages.back().caption, std::string("Reset to Defaults"));
        QCOMPARE(f.Switches().at(0)->toPlainText(), QStringLiteral("-own"));
        QCOMPARE(f.Project().GetRunOptions(), std::string("-own"));

        f.Button("Reset to Defaults")->click();
        QCOMPARE(f.Project().GetRunOptions(), std::string("-server"));
        QCOMPARE(f.Project().GetCompileOptions(), std::string("-O"));
        QCOMPARE(f.Project().GetWorkingDir(), std::string("/wd"));
        QVERIFY(!f.form->UpdateButton()->isEnabled());
    }

    // The list's own rules are the list's test; here, that its changes reach the project.
    void classPathButtonsReachTheProject() {
        CFormFixture f([](CShellFixture& shell) { shell.app->Settings().classPath = "/std.jar"; });
        f.Project().SetClassPath("/a/b.jar:/c/d");
        f.Project().RefreshViews();
        QCOMPARE(f.form->ClassPathList()->topLevelItemCount(), 2);

        f.SelectRow(1);
        f.Button("Set Compile Dir")->click();
        QCOMPARE(f.Project().GetCompileDir(), std::string("/c/d"));
        f.Button("Remove")->click();
        QCOMPARE(f.Project().GetClassPath(), std::string("/a/b.jar"));
        QCOMPARE(f.Project().GetCompileDir(), std::string());

        f.shell.host.fileAnswers = {{"/lib/x.jar"}};
        f.shell.host.folderAnswers = {"/classes"};
        f.Button("Add Jar...")->click();
        f.Button("Add Folder...")->click();
        QCOMPARE(f.Project().GetClassPath(), std::string("/a/b.jar:/lib/x.jar:/classes"));

        f.shell.host.messageAnswers = {EMsgAnswer::Cancel};
        f.Button("Reset to Default")->click();
        QCOMPARE(f.shell.host.messages.back().text,
                 std::string("Reset classpaths to application defaults?"));
        QCOMPARE(f.Project().GetClassPath(), std::string("/a/b.jar:/lib/x.jar:/classes"));
        f.SelectRow(2);
        f.Button("Set Compile Dir")->click();
        f.Button("Reset to Default")->click();
        QCOMPARE(f.Project().GetClassPath(), std::string("/std.jar"));
        QCOMPARE(f.Project().GetCompileDir(), std::string());
        QCOMPARE(f.form->ClassPathList()->Text(), std::string("/std.jar"));
    }

    // A switch typed and not applied with "Update" still counts: every use of the project and
    // every save applies it first.
    void typedSwitchesReachEveryUseAndSave() {
        for (const QString use : {"Build", "Save", "Close Project", "another project", "Exit"}) {
            CFormFixture f;
            f.AddMainFile("A.java");
            QTest::keyClicks(f.JavacSwitches(), "-Xlint:all");
            if (use == "Exit") {
                QVERIFY(f.shell.Close());
            } else if (use == "another project") {
                f.shell.app->OpenDocumentFile(WriteEmptyProject(f.shell.dir, "Other.jpr"));
            } else {
                f.shell.Frame().ExecuteCommand(use == "Build"  ? ECommand::Build
                                               : use == "Save" ? ECommand::FileSave
                                                               : ECommand::CloseProject);
            }
            CJavaProjectDoc saved(f.shell.app->Settings(), f.shell.host);
            QCOMPARE(saved.Load(f.shell.dir.File("P.jpr")), std::string());
            QVERIFY2(use == "Build" ? f.shell.host.runners.size() == 1 &&
                                          f.shell.host.runners[0]->GetCommandLine().starts_with(
                                              "javac -Xlint:all ")
                                    : saved.GetCompileOptions() == "-Xlint:all",
                     qPrintable(use));
        }
    }

    // Saving a source refreshes the form: the field being edited keeps what was typed, the
    // others show the project.
    void refreshKeepsTheFieldBeingEdited() {
        CFormFixture f;
        const std::string main = f.AddMainFile("A.java", "package p;\nclass A {}\n");
        auto* source = static_cast<CEditorDocument*>(f.shell.app->OpenDocumentFile(main));
        QTest::keyClicks(f.JavacSwitches(), "-Xlint:all");
        f.Project().SetRunOptions("-ea");
        QTest::keyClicks(source->Source().FirstView(), " ");
        QVERIFY(source->DoFileSave());
        QCOMPARE(f.JavacSwitches()->toPlainText(), QStringLiteral("-Xlint:all"));
        QCOMPARE(f.Switches().at(0)->toPlainText(), QStringLiteral("-ea"));
        QCOMPARE(f.Field<QLineEdit>("Main Package:")->text(), QStringLiteral("p"));
        QVERIFY(f.form->UpdateButton()->isEnabled());
        f.form->UpdateButton()->click();
        QCOMPARE(f.Project().GetCompileOptions(), std::string("-Xlint:all"));
        QCOMPARE(f.Project().GetRunOptions(), std::string("-ea"));
    }

    // Every change made through the form marks the project, and its windows say so.
    void everyFormChangeMarksTheProject() {
        CFormFixture f;
        f.Project().AddFile(f.shell.dir.Write("A.java", ""));
        f.Project().AddFile(f.shell.dir.Write("B.java", ""));
        f.Project().RefreshViews();
        f.shell.host.fileAnswers = {{"/lib/x.jar"}};
        f.shell.host.folderAnswers = {"/classes"};
        // The button or box, and the class-path row it needs selected.
        const std::pair<QString, int> changes[] = {
            {"Update", -1},           {"Reset to Defaults", -1}, {"Add Jar...", -1},
            {"Add Folder...", -1},    {"Set Compile Dir", 1},    {"Remove", 0},
            {"Reset to Default", -1}, {"Main Java File:", -1}};
        CDocumentFrame* frame = f.document->Frames().front();
        for (const auto& [name, row] : changes) {
            QVERIFY(f.document->DoFileSave());
            QVERIFY(!frame->isWindowModified());
            if (row >= 0) {
                f.SelectRow(row);
            }
            if (name == "Main Java File:") {
                emit f.Field<QComboBox>(name)->activated(1);
            } else {
                QTest::keyClicks(f.Switches().at(0), name == "Update" ? "-ea" : "");
                f.Button(name)->click();
            }
            QVERIFY2(f.Project().IsModified(), qPrintable(name));
            QVERIFY2(frame->isWindowModified(), qPrintable(name));
            QVERIFY2(f.shell.Frame().ProjectDock()->windowTitle() == "P.jpr*", qPrintable(name));
        }
    }

    // Window > New Window: each form shows every change, so a form never writes an old list
    // back.
    void everyFormOnTheProjectShowsItsState() {
        CFormFixture f;
        QVERIFY(f.shell.Frame().ExecuteCommand(ECommand::WindowNew));
        auto* second = qobject_cast<CProjectFormView*>(f.shell.Frame().ActiveFrame()->View());
        QVERIFY(second && second != f.form);
        f.shell.host.fileAnswers = {{"/lib/a.jar"}};
        f.Button("Add Jar...")->click();
        QCOMPARE(second->ClassPathList()->Text(), std::string("/lib/a.jar"));
        QTest::keyClicks(f.JavacSwitches(), "-g");
        f.form->UpdateButton()->click();
        QCOMPARE(f.JavacSwitches(second)->toPlainText(), QStringLiteral("-g"));
        f.shell.host.folderAnswers = {"/classes"};
        f.Button("Add Folder...", second)->click();
        QCOMPARE(f.Project().GetClassPath(), std::string("/lib/a.jar:/classes"));
        QCOMPARE(f.form->ClassPathList()->Text(), std::string("/lib/a.jar:/classes"));
        // Typed in one window, closed with it: the project keeps it.
        f.JavacSwitches(second)->moveCursor(QTextCursor::End);
        QTest::keyClicks(f.JavacSwitches(second), " -O");
        QVERIFY(f.shell.Frame().ActiveFrame()->close());
        QCOMPARE(f.Project().GetCompileOptions(), std::string("-g -O"));
        QCOMPARE(f.JavacSwitches()->toPlainText(), QStringLiteral("-g -O"));
    }

    // A copy of a project's folder builds its own files, and the window says it took them.
    void copiedProjectUsesTheFilesBesideIt() {
        CFormFixture f;
        {
            CJavaProjectDoc original(f.shell.app->Settings(), f.shell.host);
            original.AddFile(f.shell.dir.Write("orig/src/A.java", "class A {}\n"));
            QCOMPARE(original.Save(f.shell.dir.File("orig/C.jpr")), std::string());
        }
        f.shell.dir.Write("copy/C.jpr", ReadFile(f.shell.dir.File("orig/C.jpr")));
        f.shell.dir.Write("copy/src/A.java", "class A {}\n");
        auto* copy = static_cast<CProjectDocument*>(
            f.shell.app->OpenDocumentFile(f.shell.dir.File("copy/C.jpr")));
        QVERIFY(copy && copy->Frames().front()->isWindowModified());
        QVERIFY(
            f.shell.Frame().PaneText(0).contains(QString::fromStdString(f.shell.dir.File("copy"))));
    }

    // The file choosers open in the open project's folder (or where its files were last
    // chosen), never where a project closed earlier left them.
    void fileChoosersOpenInTheCurrentProject() {
        CFormFixture f;
        f.shell.host.fileAnswers = {{f.shell.dir.File("a/lib/a.jar")}};
        f.Button("Add Jar...")->click();
        const std::string b = WriteEmptyProject(f.shell.dir, "b/B.jpr");
        f.document = static_cast<CProjectDocument*>(f.shell.app->OpenDocumentFile(b));
        f.form = qobject_cast<CProjectFormView*>(f.shell.Frame().ActiveFrame()->View());
        f.Button("Add Folder...")->click();
        QCOMPARE(f.shell.host.folderRequests.back().second, f.shell.dir.File("b"));
        f.document->ProjectTree()->OnAddFiles();
        QCOMPARE(f.shell.host.fileRequests.back().initialFolder, f.shell.dir.File("b"));
        f.shell.host.fileAnswers = {{"/opt/libs/x.jar"}};
        f.Button("Add Jar...")->click();
        QCOMPARE(f.shell.host.fileRequests.back().initialFolder, f.shell.dir.File("b"));
        f.document->ProjectTree()->OnAddFiles();
        QCOMPARE(f.shell.host.fileRequests.back().initialFolder, std::string("/opt/libs"));
    }
};

QTEST_MAIN(ProjectFormTest)
#include "ProjectFormTest.moc"
