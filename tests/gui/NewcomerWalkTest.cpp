// A newcomer's day in one go, through the real windows and the real JDK: the preferences, a new
// application project, typing a method, Build and Run, an error and its line, Find in Files, a
// second main class, a compile folder, the jar run outside the program, and closing with an
// unsaved change and coming back to it.

#include "ModalAnswers.h"
#include "ShellTestSupport.h"
#include "UserClicks.h"
#include "core/platform/Files.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/dialogs/NewDocumentDialog.h"
#include "gui/dialogs/NewProjectWizard.h"
#include "gui/editor/EditorDocument.h"
#include "gui/editor/SourceView.h"
#include "gui/prefs/FormatPage.h"
#include "gui/prefs/IDEPage.h"
#include "gui/prefs/PrefsSheet.h"
#include "gui/process/FindInFilesDialog.h"
#include "gui/process/ProcessOutput.h"
#include "gui/process/ProcessWindow.h"
#include "gui/project/ClassPathList.h"
#include "gui/project/ProjectDocument.h"
#include "gui/project/ProjectFormView.h"
#include "gui/project/ProjectTree.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBlock>
#include <QTreeWidget>

using namespace tovin;
using namespace tovin::test;

namespace {

constexpr int kWaitMs = 120000;

// Triggers the menu item of the command, as a click on it does.
void ChooseFromMenu(CMainFrame& frame, ECommand command) {
    frame.UpdateCommandUi();
    QAction* action = frame.Action(command);
    QVERIFY2(action->isEnabled(), qPrintable(action->text()));
    action->trigger();
}

// The text with its line ends as one LF each.
std::string Lf(std::string text) {
    std::erase(text, '\r');
    return text;
}

// The tree's texts as indented lines.
QString Dump(QTreeWidgetItem* parent, int depth = 0) {
    QString text;
    for (int i = 0; i < parent->childCount(); ++i) {
        text += QString(depth * 2, ' ') + parent->child(i)->text(0) + '\n';
        text += Dump(parent->child(i), depth + 1);
    }
    return text;
}

// With TOVIN_WALK_PICTURES naming a folder, the walk leaves pictures of what the user sees
// there (scripts/screenshot asks for them).
void Picture(QWidget& widget, const char* name) {
    const QString folder = qEnvironmentVariable("TOVIN_WALK_PICTURES");
    if (!folder.isEmpty()) {
        QVERIFY(widget.grab().save(folder + '/' + name + QStringLiteral(".png")));
    }
}

// Answers a message box with Yes after checking its text.
FAnswer AnswerYes(const QString& text) {
    return [text](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        const QString shown = box->text();
        // Answered first, so a wrong question cannot leave the walk waiting.
        box->button(QMessageBox::Yes)->click();
        QCOMPARE(shown, text);
    };
}

// Selects the first occurrence of `from` and types `to` over it.
void TypeOver(CSourceView& view, const std::string& from, const std::string& to) {
    const int start = static_cast<int>(view.GetText().find(from));
    QVERIFY2(start >= 0, from.c_str());
    view.SetSel(start, start + static_cast<int>(from.size()));
    QTest::keyClicks(&view, QString::fromStdString(to));
}

// The one-based number of the line holding the text's first occurrence.
int LineOf(const CSourceView& view, const std::string& text) {
    return view.LineFromChar(static_cast<int>(view.GetText().find(text))) + 1;
}

// The caret's line, one-based.
int CaretLine(const CSourceView& view) {
    int start = 0;
    int end = 0;
    view.GetSel(start, end);
    return view.LineFromChar(start) + 1;
}

// Picks a folder in the folder browser.
FAnswer ChooseFolder(const std::string& path) {
    return [path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
        dialog->setDirectory(QString::fromStdString(path));
        dialog->selectFile(QString::fromStdString(path));
        static_cast<QDialog*>(dialog)->accept();
    };
}

// Runs the entry of the item's context menu.
void ChooseFromContextMenu(CProjectTree& tree, const QStringList& path, const QString& entry) {
    QTreeWidgetItem* item = Find(tree.Tree(), path);
    QVERIFY2(item, qPrintable(path.join('/')));
    tree.Tree()->setCurrentItem(item);
    QMenu menu;
    QVERIFY(tree.FillContextMenu(item, menu));
    for (QAction* action : menu.actions()) {
        if (action->text() == entry) {
            action->trigger();
            return;
        }
    }
    QFAIL(qPrintable("no " + entry));
}

QPushButton* Button(QWidget& parent, const QString& text) {
    for (QPushButton* button : parent.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

const char* const kHelper = "package tools;\n"
                            "\n"
                            "public class Helper\n"
                            "{\n"
                            "\tpublic static void main(String args[])\n"
                            "\t{\n"
                            "\t\tSystem.out.println(\"Hello from Helper\");\n"
                            "\t}\n"
                            "}\n";

} // namespace

class NewcomerWalkTest : public QObject {
    Q_OBJECT

    CTempDir dir;
    std::unique_ptr<CEditorApp> app; // with its own, real host
    std::string projectFolder;

    std::string SettingsFile() const { return dir.File("Tovin.conf"); }
    CMainFrame& Frame() const { return *app->MainFrame(); }
    CProcessWindow& Process() const { return *app->ProcessWindow(); }
    CSourceView* ActiveView() const {
        return qobject_cast<CSourceView*>(Frame().ActiveFrame()->View());
    }
    std::string InProject(const std::string& name) const { return projectFolder + '/' + name; }
    // Runs the project command and waits for the Process Window to finish; its text.
    QString RunToEnd(ECommand command, std::vector<FAnswer> answers = {}) {
        const size_t expected = answers.size();
        [&] {
            QCOMPARE(WithModals(std::move(answers), [&] { ChooseFromMenu(Frame(), command); }),
                     static_cast<int>(expected));
        }();
        // Attaching the run empties the progress bar; only its end fills it.
        QProgressBar* progress = Process().Progress();
        [&] {
            QTRY_COMPARE_WITH_TIMEOUT(progress->value(), progress->maximum(), kWaitMs);
            QCOMPARE(Frame().PaneText(0), QStringLiteral("External process complete"));
        }();
        return QString::fromStdString(Lf(Process().Text()));
    }
    CProjectFormView* Form() const {
        for (CDocumentFrame* child : Frame().DocumentFrames()) {
            if (auto* form = qobject_cast<CProjectFormView*>(child->View())) {
                return form;
            }
        }
        return nullptr;
    }
    CProjectTree& Tree() {
        CProjectDocument* project = app->CurrentProject();
        if (!project->ProjectTree()) {
            project->OnProjectWindow();
        }
        return *project->ProjectTree();
    }

private slots:
    void initTestCase() {
        const QString home = QString::fromStdString(dir.File("home"));
        QDir().mkpath(home);
        qputenv("HOME", home.toLocal8Bit());
        projectFolder = dir.File("home/Greeter");
    }

    void cleanupTestCase() {
        app.reset();
        CShellFixture::Settle();
    }

    void preferencesShowTheJdkAndTakeTheTabWidth() {
        app = std::make_unique<CEditorApp>(SettingsFile());
        app->SetStartupTip([] {});
        QVERIFY(app->Start({}));
        Frame().show();
        QString jdk;
        WithModal(
            [&](QWidget* modal) {
                auto* sheet = qobject_cast<CPrefsSheet*>(modal);
                QVERIFY(sheet);
                jdk = sheet->IdePage()->JdkFolder()->text();
                sheet->FormatPage()->TabWidth()->setText(QStringLiteral("4"));
                Picture(*sheet, "walk-preferences");
                sheet->accept();
            },
            [&] { ChooseFromMenu(Frame(), ECommand::Preferences); });
        QVERIFY2(FileExists(jdk.toStdString() + "/bin/javac"), qPrintable(jdk));
        QCOMPARE(app->Settings().tabWidth, 4);
    }

    void newApplicationProjectOpensItsClass() {
        auto chooseProject = [](QWidget* modal) {
            auto* dialog = qobject_cast<CNewDocumentDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->List()->item(CNewDocumentDialog::Project)->text(),
                     QStringLiteral("Tovin Project"));
            dialog->List()->setCurrentRow(CNewDocumentDialog::Project);
            dialog->accept();
        };
        auto nameGreeter = [](QWidget* modal) {
            auto* wizard = qobject_cast<CNewProjectDialog*>(modal);
            QVERIFY(wizard);
            wizard->ClassNameEdit()->setText(QStringLiteral("Greeter"));
            wizard->KindButtons()->button(1)->click();
            wizard->accept();
        };
        // The user makes the folder from the save dialog.
        auto saveInNewFolder = [this](QWidget* modal) {
            QVERIFY(QDir().mkpath(QString::fromStdString(projectFolder)));
            ChooseFile(InProject("Greeter.jpr"))(modal);
        };
        QCOMPARE(WithModals({chooseProject, nameGreeter, saveInNewFolder},
                            [&] { ChooseFromMenu(Frame(), ECommand::FileNew); }),
                 3);
        QVERIFY(FileExists(InProject("Greeter.jpr")));
        QVERIFY(FileExists(InProject("Greeter.java")));
        QVERIFY(FrameTitles(Frame()).contains(QStringLiteral("Greeter.java")));
    }

    void typedMethodIndentsAndShowsInTheTree() {
        CSourceView* view = ActiveView();
        QVERIFY(view);
        // The new method goes after main, the last one.
        const std::string text = view->GetText();
        const int end = static_cast<int>(text.rfind('}'));
        const int afterMain = static_cast<int>(text.rfind('}', end - 1)) + 1;
        view->SetSel(afterMain, afterMain);
        QTest::keyClick(view, Qt::Key_Return);
        QTest::keyClick(view, Qt::Key_Return);
        QTest::keyClicks(view, "static void greet()");
        QTest::keyClick(view, Qt::Key_Return);
        QTest::keyClicks(view, "{");
        QTest::keyClick(view, Qt::Key_Return);
        QTest::keyClicks(view, "System.out.println(\"Hello from Greeter\");");
        QTest::keyClick(view, Qt::Key_Return);
        QTest::keyClicks(view, "}");
        QVERIFY2(Lf(view->GetText())
                         .find("\n\t\n\tstatic void greet()\n\t{\n\t\tSystem.out.println("
                               "\"Hello from Greeter\");\n\t}\n}") != std::string::npos,
                 view->GetText().c_str());
        // main calls it instead of opening the frame.
        const std::string now = view->GetText();
        const int from = static_cast<int>(now.find("Greeter f ="));
        const int to = static_cast<int>(now.find("f.show();")) + 9;
        view->SetSel(from, to);
        QTest::keyClicks(view, "greet();");
        ChooseFromMenu(Frame(), ECommand::FileSave);
        const std::string saved = ReadFile(InProject("Greeter.java"));
        // The file keeps the line ends it was written with.
        QCOMPARE(saved, Lf(view->GetText()));
        QVERIFY(Lf(saved).find("\t\tgreet();\n\t}") != std::string::npos);

        CProjectTree& tree = Tree();
        QTRY_VERIFY2(Find(tree.Tree(), {"Greeter.java", "Greeter", "greet()"}),
                     qPrintable(Dump(tree.Tree()->invisibleRootItem())));
        QVERIFY(Find(tree.Tree(), {"Greeter.java", "Greeter", "main(String args[])"}));
        QCOMPARE(Frame().ProjectDock()->windowTitle(), QStringLiteral("Greeter.jpr"));
        tree.Tree()->expandAll();
        Picture(Frame(), "walk-editor");
    }

    void buildSaysNoErrorsAndRunPrints() {
        QVERIFY(RunToEnd(ECommand::Build).contains(QStringLiteral("No Errors")));
        QVERIFY(FileExists(InProject("Greeter.class")));
        const QString run = RunToEnd(ECommand::RunApplication);
        QVERIFY2(run.contains(QStringLiteral("Starting App\nHello from Greeter")), qPrintable(run));
    }

    void buildErrorLeadsToItsLine() {
        CSourceView* view = ActiveView();
        TypeOver(*view, "greet();", "greet(1);");
        const int line = LineOf(*view, "greet(1);");
        view->SetSel(0, 0);
        // With "Save all files before compiling" on, Build saves the file without asking.
        const QString build = RunToEnd(ECommand::Build);
        QVERIFY2(build.endsWith(QStringLiteral("There were errors")), qPrintable(build));
        QVERIFY(ReadFile(InProject("Greeter.java")).find("greet(1);") != std::string::npos);
        const QString message = QString::fromStdString(InProject("Greeter.java")) + ':' +
                                QString::number(line) + QStringLiteral(": error");
        QVERIFY2(DoubleClickLineWith(*Process().Output(), message), qPrintable(build));
        QTRY_COMPARE(CaretLine(*ActiveView()), line);
        Picture(Frame(), "walk-error");
        QVERIFY(Lf(ActiveView()->GetSelText()).find("greet(1);") != std::string::npos);
    }

    void fixedProgramRunsAndFindInFilesLeadsToTheMethod() {
        CSourceView* view = ActiveView();
        TypeOver(*view, "greet(1);", "greet();");
        Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Frame()));
        view->setFocus();
        QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(ReadFile(InProject("Greeter.java")).find("greet();") != std::string::npos);
        QVERIFY(RunToEnd(ECommand::Build).endsWith(QStringLiteral("No Errors")));
        QVERIFY(RunToEnd(ECommand::RunApplication).contains(QStringLiteral("Hello from Greeter")));

        const int declaration = LineOf(*view, "static void greet()");
        view->SetSel(0, 0);
        WithModal(
            [](QWidget* modal) {
                auto* dialog = qobject_cast<CFindInFilesDialog*>(modal);
                QVERIFY(dialog);
                dialog->FindEdit()->setText(QStringLiteral("void greet"));
                dialog->accept();
            },
            [&] { ChooseFromMenu(Frame(), ECommand::FindInFiles); });
        const QString result = QString::fromStdString(InProject("Greeter.java")) + ':' +
                               QString::number(declaration) + QStringLiteral(": at char");
        QTRY_VERIFY2(Process().Output()->toPlainText().contains(result),
                     qPrintable(Process().Output()->toPlainText()));
        QVERIFY(DoubleClickLineWith(*Process().Output(), result));
        QTRY_COMPARE(CaretLine(*ActiveView()), declaration);
    }

    void secondMainClassRunsThenLeavesAndClassesGoToTheCompileFolder() {
        const std::string helper = InProject("tools/Helper.java");
        QVERIFY(QDir().mkpath(QString::fromStdString(InProject("tools"))));
        QCOMPARE(WriteFileAtomic(helper, kHelper), std::string());
        QCOMPARE(
            WithModals({ChooseFile(helper)}, [&] { ChooseFromMenu(Frame(), ECommand::AddFiles); }),
            1);
        QVERIFY(FrameTitles(Frame()).contains(QStringLiteral("Helper.java")));
        CProjectTree& tree = Tree();
        QTRY_VERIFY2(Find(tree.Tree(), {"Helper.java", "Helper", "main(String args[])"}),
                     qPrintable(Dump(tree.Tree()->invisibleRootItem())));

        ChooseFromContextMenu(tree, {"Helper.java"}, QStringLiteral("Set as Main"));
        QCOMPARE(app->CurrentProject()->Project().GetMainFile(), std::string("Helper.java"));
        QVERIFY(RunToEnd(ECommand::Build).endsWith(QStringLiteral("No Errors")));
        QVERIFY(FileExists(InProject("tools/Helper.class")));
        const QString run = RunToEnd(ECommand::RunApplication);
        QVERIFY2(run.contains(QStringLiteral("Hello from Helper")), qPrintable(run));
        QVERIFY(!run.contains(QStringLiteral("Greeter")));

        ChooseFromContextMenu(Tree(), {"Greeter.java"}, QStringLiteral("Set as Main"));
        QCOMPARE(app->CurrentProject()->Project().GetMainFile(), std::string("Greeter.java"));
        ChooseFromContextMenu(Tree(), {"Helper.java"}, QStringLiteral("Remove"));
        QTRY_VERIFY(!Find(Tree().Tree(), {"Helper.java"}));
        QVERIFY(Find(Tree().Tree(), {"Greeter.java", "Greeter", "greet()"}));
        QVERIFY(FileExists(helper));

        const std::string classes = InProject("classes");
        QVERIFY(QDir().mkpath(QString::fromStdString(classes)));
        CProjectFormView* form = Form();
        QVERIFY(form);
        CClassPathList* list = form->ClassPathList();
        QCOMPARE(WithModals({ChooseFolder(classes)},
                            [&] { Button(*form, QStringLiteral("Add Folder..."))->click(); }),
                 1);
        QTreeWidgetItem* row = list->topLevelItem(list->topLevelItemCount() - 1);
        QCOMPARE(row->text(1).toStdString(), classes);
        list->setCurrentItem(row);
        Button(*form, QStringLiteral("Set Compile Dir"))->click();
        QCOMPARE(app->CurrentProject()->Project().GetCompileDir(), classes);
        QVERIFY(RunToEnd(ECommand::Build).endsWith(QStringLiteral("No Errors")));
        QVERIFY(FileExists(classes + "/Greeter.class"));
    }

    void jarOfTheMainFolderRunsOutside() {
        // The classes of the earlier builds next to the source stay out of the jar.
        QVERIFY(QFile::remove(QString::fromStdString(InProject("Greeter.class"))));
        const std::string jar = InProject("Greeter.jar");
        const QString made = RunToEnd(ECommand::JarMainFolder, {ChooseFile(jar)});
        QVERIFY2(made.contains(QStringLiteral("Greeter.class")), qPrintable(made));
        QVERIFY(FileExists(jar));

        QProcess java;
        java.setProcessChannelMode(QProcess::MergedChannels);
        java.start(QString::fromStdString(app->Settings().javaBin + "/bin/java"),
                   {QStringLiteral("-jar"), QString::fromStdString(jar)});
        QVERIFY(java.waitForFinished(kWaitMs));
        const QString printed = QString::fromLocal8Bit(java.readAll());
        QCOMPARE(printed, QStringLiteral("Starting App\nHello from Greeter\n"));
        QCOMPARE(java.exitCode(), 0);
    }

    void closingAsksAboutTheChangeAndTheNextStartIsAsLeft() {
        // Add Files opened the second class; its window stays after the file left the project.
        QCOMPARE(FrameTitles(Frame()), QStringList({"Greeter.jpr", "Greeter.java", "Helper.java"}));
        for (CDocumentFrame* child : Frame().DocumentFrames()) {
            if (child->windowTitle().remove(QStringLiteral("[*]")) == "Greeter.java") {
                app->ActivateDocumentFrame(child);
            }
        }
        CSourceView* view = ActiveView();
        QCOMPARE(Frame().ActiveFrame()->windowTitle().remove(QStringLiteral("[*]")),
                 QStringLiteral("Greeter.java"));
        view->SetSel(view->GetLength(), view->GetLength());
        QTest::keyClick(view, Qt::Key_Return);
        QTest::keyClicks(view, "// more tomorrow");
        bool closed = false;
        QCOMPARE(WithModals({AnswerYes(QStringLiteral("Save changes to Greeter.java?"))},
                            [&] { closed = Frame().close(); }),
                 1);
        QVERIFY(closed);
        app.reset();
        CShellFixture::Settle();
        QVERIFY(Lf(ReadFile(InProject("Greeter.java"))).ends_with("}\n// more tomorrow"));

        app = std::make_unique<CEditorApp>(SettingsFile());
        app->SetStartupTip([] {});
        QVERIFY(app->Start({}));
        Frame().show();
        QVERIFY(app->CurrentProject());
        QCOMPARE(app->CurrentProject()->PathName(), InProject("Greeter.jpr"));
        CJavaProjectDoc& project = app->CurrentProject()->Project();
        QCOMPARE(project.GetMainFile(), std::string("Greeter.java"));
        QCOMPARE(project.GetCompileDir(), InProject("classes"));
        QCOMPARE(app->Settings().tabWidth, 4);
        CProjectTree& tree = Tree();
        QTRY_VERIFY2(Find(tree.Tree(), {"Greeter.java", "Greeter", "greet()"}),
                     qPrintable(Dump(tree.Tree()->invisibleRootItem())));
        QVERIFY(!Find(tree.Tree(), {"Helper.java"}));
        tree.Tree()->setCurrentItem(Find(tree.Tree(), {"Greeter.java"}));
        QVERIFY(tree.OpenSelected());
        QTRY_VERIFY(FrameTitles(Frame()).contains(QStringLiteral("Greeter.java")));
        QVERIFY(Lf(ActiveView()->GetText()).ends_with("}\n// more tomorrow"));
    }
};

QTEST_MAIN(NewcomerWalkTest)
#include "NewcomerWalkTest.moc"
