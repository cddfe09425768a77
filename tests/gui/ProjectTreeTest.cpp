// The project window's tree in a real application: what it shows for the project's files and
// models, how a refresh updates it, its context menus, its commands and their messages, and
// the keys and the "Project Window" command that reach it.

#include "gui/project/ProjectTree.h"

#include "ModalAnswers.h"
#include "ShellTestSupport.h"
#include "UserClicks.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/framework/CommandIds.h"
#include "gui/project/ClassPathList.h"
#include "gui/project/FilePropertiesDialog.h"
#include "gui/project/ProjectDocument.h"
#include "gui/project/ProjectFormView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <optional>

using namespace tovin;
using namespace tovin::test;

namespace {

// The tree as indented lines of "text icon".
QString Dump(QTreeWidgetItem* parent, int depth = 0) {
    QString text;
    for (int i = 0; i < parent->childCount(); ++i) {
        QTreeWidgetItem* item = parent->child(i);
        text += QString(depth * 2, ' ') + item->text(0) + ' ' +
                QString::number(item->data(0, CProjectTree::kIconRole).toInt()) + '\n';
        text += Dump(item, depth + 1);
    }
    return text;
}

// Menu entries as text, "-" for a separator, the default entry in asterisks.
QStringList Entries(QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions()) {
        texts << (action->isSeparator()            ? QStringLiteral("-")
                  : action == menu.defaultAction() ? '*' + action->text() + '*'
                                                   : action->text());
    }
    return texts;
}

const char* const kMain = "public class Main {\n"
                          "    public static void main(String args[]) {\n    }\n"
                          "    void draw(int x) {\n    }\n"
                          "    void draw(int x, int y) {\n    }\n"
                          "    class Inner {\n        void paint() {\n        }\n    }\n"
                          "}\n"
                          "class Helper {\n    void help() {\n    }\n}\n";

const char* const kBuild = "<project name=\"p\" default=\"compile\">\n"
                           "<target name=\"init\"/>\n<target name=\"compile\"/>\n"
                           "<target name=\"dist\"/>\n</project>\n";

struct CProjectFixture {
    CShellFixture shell;
    CProjectDocument* document = nullptr;
    CProjectTree* tree = nullptr;

    CProjectFixture() {
        shell.Start();
        document = static_cast<CProjectDocument*>(
            shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr")));
        shell.Frame().show();
    }
    CJavaProjectDoc& Project() { return document->Project(); }
    std::string Add(const std::string& name, const std::string& text) {
        const std::string path = shell.dir.Write(name, text);
        if (name.ends_with(".html") || name.ends_with(".htm")) {
            Project().AddHtmlFile(path);
        } else {
            Project().AddFile(path);
        }
        return path;
    }
    // Reads every file's model and shows the project window.
    CProjectTree& ShowTree() {
        Project().RebuildClassInformation();
        if (!document->ProjectTree()) {
            document->OnProjectWindow();
        }
        tree = document->ProjectTree();
        return *tree;
    }
    void Select(const QStringList& path) {
        QTreeWidgetItem* item = Find(tree->Tree(), path);
        QVERIFY2(item, qPrintable(path.join('/')));
        tree->Tree()->setCurrentItem(item);
    }
    std::vector<std::string> Messages() const { return shell.host.MessageTexts(); }
};

} // namespace

class ProjectTreeTest : public QObject {
    Q_OBJECT
private slots:
    void filesWithoutClassesFormAFlatSortedListWithIconsByKind() {
        CProjectFixture p;
        p.Add("b.py", "");
        p.Add("Zed.java", "");
        p.Add("a.xml", "");
        p.Add("Page.html", "");
        p.Add("Main.java", "");
        p.Add("Odd.JAVA", "");
        p.Project().AddFreeFile(p.shell.dir.File("Zed.java")); // in both lists
        p.Project().SetMainFile("Main.java");
        CProjectTree& tree = p.ShowTree();
        QCOMPARE(Dump(tree.Tree()->invisibleRootItem()),
                 QStringLiteral("Main.java 2\nOdd.JAVA 0\nPage.html 4\nZed.java 0\na.xml 10\n"
                                "b.py 14\n"));
        p.Project().SetMainFile("b.py");
        QCOMPARE(Find(tree.Tree(), {"b.py"})->data(0, CProjectTree::kIconRole).toInt(),
                 int(CProjectTree::MainJythonFileIcon));
        QCOMPARE(Find(tree.Tree(), {"Main.java"})->data(0, CProjectTree::kIconRole).toInt(),
                 int(CProjectTree::JavaFileIcon));
    }

    void classesMethodsAndTargetsUpdateInPlace() {
        CProjectFixture p;
        const std::string main = p.Add("Main.java", kMain);
        p.Add("build.xml", kBuild);
        CProjectTree& tree = p.ShowTree();
        QCOMPARE(Dump(tree.Tree()->invisibleRootItem()),
                 QStringLiteral("Main.java 0\n"
                                "  Helper 6\n    help() 8\n"
                                "  Main 6\n    Inner 6\n      paint() 8\n    draw(int x) 8\n"
                                "    draw(int x, int y) 8\n    main(String args[]) 8\n"
                                "build.xml 10\n  compile 8\n  dist 8\n  init 8\n"));
        QTreeWidgetItem* helper = Find(tree.Tree(), {"Main.java", "Helper"});
        QTreeWidgetItem* paint = Find(tree.Tree(), {"Main.java", "Main", "Inner", "paint()"});
        p.Select({"Main.java", "Main", "Inner", "paint()"});

        // A method renamed and saved: the old item goes, the new one comes, the rest stay.
        std::string renamed = kMain;
        renamed.replace(renamed.find("help()"), 6, "assist()");
        p.shell.dir.Write("Main.java", renamed);
        p.Project().RebuildClassInformation();
        QCOMPARE(Find(tree.Tree(), {"Main.java", "Helper", "help()"}), nullptr);
        QVERIFY(Find(tree.Tree(), {"Main.java", "Helper", "assist()"}));
        QCOMPARE(Find(tree.Tree(), {"Main.java", "Helper"}), helper);
        QCOMPARE(Find(tree.Tree(), {"Main.java", "Main", "Inner", "paint()"}), paint);
        QCOMPARE(tree.Tree()->currentItem(), paint);

        // The file leaves the project: its branch goes and nothing stays selected.
        p.Project().RemoveFile(main);
        QCOMPARE(Dump(tree.Tree()->invisibleRootItem()).section('\n', 0, 0),
                 QStringLiteral("build.xml 10"));
        QCOMPARE(tree.Tree()->currentItem(), nullptr);
    }

    void contextMenusByKindOfItem_data() {
        QTest::addColumn<QStringList>("item");
        QTest::addColumn<QStringList>("entries");
        const QStringList tail{"Remove", "Properties...", "-", "Add Files..."};
        QTest::newRow("java file")
            << QStringList{"Other.java"} << QStringList{"*Open*", "Compile", "Set as Main"} + tail;
        QTest::newRow("main java file")
            << QStringList{"Main.java"}
            << QStringList{"*Open*", "Compile", "Set as Main", "Run with JDB"} + tail;
        QTest::newRow("page") << QStringList{"Page.html"}
                              << QStringList{"*Open*", "Run Applet", "Open in Web Browser"} + tail;
        QTest::newRow("jython") << QStringList{"s.py"}
                                << QStringList{"*Open*", "Run Jython", "Run Jython with console",
                                               "Compile Jython"} +
                                       tail;
        QTest::newRow("build file")
            << QStringList{"build.xml"}
            << QStringList{"Open", "-", "Run Ant...", "init", "*compile*", "dist", "-"} + tail;
        QTest::newRow("unreadable build file")
            << QStringList{"gone.xml"} << QStringList{"*Open*"} + tail;
        QTest::newRow("target") << QStringList{"build.xml", "dist"}
                                << QStringList{"*Open*", "Run ant dist", "-", "Add Files..."};
        QTest::newRow("method") << QStringList{"Main.java", "Main", "draw(int x)"}
                                << QStringList{"*Open*", "-", "Add Files..."};
    }
    void contextMenusByKindOfItem() {
        QFETCH(QStringList, item);
        QFETCH(QStringList, entries);
        CProjectFixture p;
        p.Add("Main.java", kMain);
        p.Add("Other.java", "class Other {}\n");
        p.Add("Page.html", "");
        p.Add("s.py", "def f():\n    pass\n");
        p.Add("build.xml", kBuild);
        const std::string gone = p.Add("gone.xml", "");
        p.Project().SetMainFile("Main.java");
        CProjectTree& tree = p.ShowTree();
        QFile::remove(QString::fromStdString(gone));
        QMenu menu;
        QVERIFY(tree.FillContextMenu(Find(tree.Tree(), item), menu));
        QCOMPARE(Entries(menu), entries);
        QCOMPARE(tree.Tree()->currentItem()->text(0), item.last());
        for (QAction* action : menu.actions()) {
            if (action->text() == "dist" && item.size() == 1) {
                QCOMPARE(action->data().toInt(), CProjectTree::kFirstTarget + 2);
            }
        }
        QMenu none;
        QCOMPARE(tree.FillContextMenu(nullptr, none), false);
    }

    void rightClickInEmptySpaceUsesTheSelectedItemOrShowsNothing() {
        CProjectFixture p;
        p.Add("A.java", "");
        CProjectTree& tree = p.ShowTree();
        QTreeWidget* control = tree.Tree();
        control->setCurrentItem(nullptr);
        QTest::qWait(10);
        const QPoint empty(5, control->viewport()->height() - 5);
        QVERIFY(!control->itemAt(empty));
        std::optional<QPoint> shownAt;
        auto closeMenu = [&shownAt] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                shownAt = popup->pos();
                popup->close();
            }
        };
        tree.ShowContextMenu(empty, false);
        closeMenu();
        QVERIFY(!shownAt);

        p.Select({"A.java"});
        QTimer::singleShot(0, closeMenu);
        tree.ShowContextMenu(empty, false);
        QVERIFY(shownAt);
        const QRect rect = control->visualItemRect(control->currentItem());
        QCOMPARE(*shownAt,
                 control->viewport()->mapToGlobal(QPoint(rect.left() + 10, rect.bottom())));
    }

    // The launcher is a stand-in that exits at once; the command lines say what would run.
    void antEntriesRunTheirTargets() {
        CProjectFixture p;
        const std::string build = p.Add("build.xml", kBuild);
        QDir().mkpath(QString::fromStdString(p.shell.dir.File("jdk/bin")));
        QFile::link("/bin/true", QString::fromStdString(p.shell.dir.File("jdk/bin/java")));
        p.Project().Settings().javaBin = p.shell.dir.File("jdk");
        CProjectTree& tree = p.ShowTree();
        std::vector<std::string> commands;
        // One tool runs at a time: each run ends before the next entry is chosen.
        auto choose = [&](const QStringList& item, const QString& entry) {
            QMenu menu;
            QVERIFY(tree.FillContextMenu(Find(tree.Tree(), item), menu));
            for (QAction* action : menu.actions()) {
                if (action->text() == entry) {
                    action->trigger();
                }
            }
            QCOMPARE(p.shell.host.runners.size(), std::size_t(1));
            QTRY_VERIFY_WITH_TIMEOUT(p.shell.host.runners.back()->IsFinished(), 60000);
            commands.push_back(p.shell.host.runners.back()->GetCommandLine());
            p.shell.host.runners.clear();
        };
        choose({"build.xml"}, "dist");
        choose({"build.xml", "init"}, "Run ant init");
        choose({"build.xml"}, "Run Ant...");
        const std::string file = "-buildfile \"" + build + "\"";
        QCOMPARE(commands.size(), std::size_t(3));
        QVERIFY2(commands[0].ends_with(file + " dist"), commands[0].c_str());
        QVERIFY2(commands[1].ends_with(file + " init"), commands[1].c_str());
        QVERIFY2(commands[2].ends_with(file), commands[2].c_str());
    }

    void commandsActOnFilesAndExplainThemselvesOtherwise() {
        CProjectFixture p;
        const std::string main = p.Add("Main.java", kMain);
        const std::string other = p.Add("Other.java", "");
        p.Add("Page.html", "");
        CProjectTree& tree = p.ShowTree();

        p.Select({"Main.java", "Main"});
        tree.OnSetAsMain();
        p.Select({"Page.html"});
        tree.OnSetAsMain(); // a page is a project file, yet it cannot be main
        p.Select({"Main.java", "Main", "draw(int x)"});
        tree.OnRemove();
        p.Select({"Page.html"});
        tree.OnCompile();
        QCOMPARE(p.Messages(),
                 (std::vector<std::string>{"Only Java files can be set as main",
                                           "Only Java files can be set as main",
                                           "No files to remove.", "Can't compile HTML File!"}));
        QCOMPARE(p.Project().GetMainFileName(), std::string());
        QCOMPARE(p.Project().JavaFiles().GetCount(), 2);

        p.Select({"Other.java"});
        tree.OnSetAsMain();
        QCOMPARE(p.Project().GetMainFileName(), std::string("Other.java"));
        QCOMPARE(Find(tree.Tree(), {"Other.java"})->data(0, CProjectTree::kIconRole).toInt(),
                 int(CProjectTree::MainJavaFileIcon));
        p.Select({"Main.java"});
        tree.OnRemove();
        QCOMPARE(p.Project().ContainsJavaFile(main), 0);
        QCOMPARE(Find(tree.Tree(), {"Main.java"}), nullptr);
        QVERIFY(p.Project().IsModified());

        p.Select({"Page.html"});
        tree.OnOpenInWebBrowser();
        QCOMPARE(p.shell.host.desktopOpened,
                 std::vector<std::string>{p.shell.dir.File("Page.html")});
        p.shell.host.desktopResult = false;
        tree.OnOpenInWebBrowser();
        QCOMPARE(p.Messages().back(),
                 "The desktop could not open \"" + p.shell.dir.File("Page.html") + "\".");
        (void)other;
    }

    // F8 on a file that becomes main, or is main already, leaves its branch open and selected.
    void settingTheMainFileKeepsTheItemOpenAndSelected() {
        CProjectFixture p;
        p.Add("Main.java", kMain);
        p.Add("Other.java", "class Other {\n    void run() {\n    }\n}\n");
        CProjectTree& tree = p.ShowTree();
        for (const QString name : {"Main.java", "Other.java"}) {
            Find(tree.Tree(), {name})->setExpanded(true);
            Find(tree.Tree(), {name})->child(0)->setExpanded(true);
        }
        for (const QString name : {"Main.java", "Main.java", "Other.java"}) {
            p.Select({name});
            QTest::keyClick(tree.Tree(), Qt::Key_F8);
            QCOMPARE(p.Project().GetMainFileName(), name.toStdString());
            QTreeWidgetItem* item = Find(tree.Tree(), {name});
            QCOMPARE(tree.Tree()->currentItem(), item);
            QVERIFY(item->isExpanded() && item->child(0)->isExpanded());
            QCOMPARE(item->data(0, CProjectTree::kIconRole).toInt(),
                     int(CProjectTree::MainJavaFileIcon));
        }
        QCOMPARE(Find(tree.Tree(), {"Main.java"})->data(0, CProjectTree::kIconRole).toInt(),
                 int(CProjectTree::JavaFileIcon));
        QVERIFY(p.Messages().empty());
    }

    void openingFallsBackAndReports() {
        CProjectFixture p;
        const std::string main = p.Add("Main.java", kMain);
        CProjectTree& tree = p.ShowTree();
        QCOMPARE(tree.OpenSelected(), false);
        QCOMPARE(p.Messages(), std::vector<std::string>{"Item is NULL"});

        // Neither the file nor its copy in the project folder opens.
        p.Select({"Main.java"});
        QCOMPARE(tree.OpenSelected(), true);
        QCOMPARE(p.Messages().back(),
                 std::string("Unable to locate this item - try adding the file to the project "
                             "again."));
        QCOMPARE(p.shell.host.fileRequests.size(), std::size_t(1)); // "Add Files..."

        CFakeOpenDocument& document = p.shell.host.documents[main];
        p.Select({"Main.java", "Main", "draw(int x)"});
        QCOMPARE(tree.OpenSelected(), true);
        QCOMPARE(document.shownPositions.size(), std::size_t(1));
        QCOMPARE(document.shownPositions.back(),
                 Find(tree.Tree(), {"Main.java", "Main", "draw(int x)"})
                     ->data(0, CProjectTree::kLineRole)
                     .toInt());
    }

    // A project file listed in the tree opens as a project: the open one must close first, and
    // a Cancel to that question ends the double-click (no search, no message, no dialog).
    void anotherProjectInTheTreeOpensOnlyWhenTheOpenOneMayClose() {
        CTempDir dir;
        CEditorApp app(dir.File("Tovin.conf")); // the real dialogs
        app.SetStartupTip([] {});
        QVERIFY(app.Start({}));
        const std::string first = WriteEmptyProject(dir, "P.jpr");
        const std::string other = WriteEmptyProject(dir, "Other.jpr");
        auto* document = static_cast<CProjectDocument*>(app.OpenDocumentFile(first));
        QVERIFY(document);
        document->Project().AddFile(other);
        document->Project().RefreshViews();
        CProjectTree* tree = document->ProjectTree();
        QVERIFY(tree);
        tree->Tree()->setCurrentItem(Find(tree->Tree(), {"Other.jpr"}));

        QStringList questions;
        auto answer = [&questions](QMessageBox::StandardButton button) -> FAnswer {
            return [&questions, button](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                questions << (box ? box->text() : modal->windowTitle());
                if (box && box->button(button)) {
                    box->button(button)->click();
                } else {
                    static_cast<QDialog*>(modal)->reject();
                }
            };
        };
        // A second answer is there only to catch anything that would follow the Cancel.
        WithModals({answer(QMessageBox::Cancel), answer(QMessageBox::Cancel)},
                   [&] { QTest::keyClick(tree->Tree(), Qt::Key_Return); });
        QCOMPARE(questions, QStringList{"Do you really want to close this project?"});
        QCOMPARE(app.CurrentProject(), document);

        // The project was changed (the file added), so letting it go asks to save it: No.
        questions.clear();
        WithModals({answer(QMessageBox::Ok), answer(QMessageBox::No)},
                   [&] { QTest::keyClick(tree->Tree(), Qt::Key_Return); });
        CShellFixture::Settle();
        QVERIFY(app.CurrentProject());
        QCOMPARE(app.CurrentProject()->PathName(), other);
        QCOMPARE(questions.front(), QStringLiteral("Do you really want to close this project?"));
    }

    // The project window is a step aside: hiding it with F4 goes back to the window the user
    // came from (not to another one, such as a file of the same name), and Ctrl+Tab and Ctrl+F6
    // switch document windows from the tree as from anywhere.
    void projectWindowGivesTheKeyboardBack() {
        CProjectFixture p;
        CMainFrame& frame = p.shell.Frame();
        QApplication::setActiveWindow(&frame);
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        std::filesystem::create_directories(p.shell.dir.File("a"));
        std::filesystem::create_directories(p.shell.dir.File("b"));
        CDocument* first = p.shell.app->OpenDocumentFile(p.shell.dir.Write("a/Same.java", "a\n"));
        CDocument* second = p.shell.app->OpenDocumentFile(p.shell.dir.Write("b/Same.java", "b\n"));
        QVERIFY(first && second);
        first->ActivateFirstFrame();
        // F4 makes the window the first time, then shows and focuses it.
        auto focusTree = [&] {
            for (int i = 0;
                 i < 2 && !(p.document->ProjectTree() && p.document->ProjectTree()->HasKeyFocus());
                 ++i) {
                QVERIFY(frame.ExecuteCommand(ECommand::ProjectWindow));
            }
            QTRY_VERIFY(p.document->ProjectTree()->HasKeyFocus());
        };
        focusTree();

        QTest::keyClick(p.document->ProjectTree()->Tree(), Qt::Key_Tab, Qt::ControlModifier);
        QVERIFY(frame.ActiveFrame()->Document() != first);
        QTRY_VERIFY(QApplication::focusWidget() == frame.ActiveFrame()->View());

        first->ActivateFirstFrame();
        focusTree();
        QTest::keyClick(p.document->ProjectTree()->Tree(), Qt::Key_F6, Qt::ControlModifier);
        QVERIFY(frame.ActiveFrame()->Document() != first);

        second->ActivateFirstFrame();
        focusTree();
        frame.ExecuteCommand(ECommand::ProjectWindow); // hidden
        QVERIFY(!frame.ProjectDock()->isVisible());
        QCOMPARE(frame.ActiveFrame()->Document(), second);
        QTRY_VERIFY(QApplication::focusWidget() == frame.ActiveFrame()->View());
    }

    void keysAndProjectWindowCommand() {
        CProjectFixture p;
        p.Add("Main.java", "");
        p.Add("Other.java", "");
        p.Project().RefreshViews();
        QDockWidget* dock = p.shell.Frame().ProjectDock();
        p.shell.Frame().ExecuteCommand(ECommand::ProjectWindow);
        QVERIFY(dock->isVisible());
        QCOMPARE(dock->windowTitle(), QStringLiteral("P.jpr*")); // files were added
        QCOMPARE(p.shell.Frame().dockWidgetArea(dock), Qt::LeftDockWidgetArea);
        p.tree = p.document->ProjectTree();
        QVERIFY(p.tree);

        p.Select({"Other.java"});
        QTest::keyClick(p.tree->Tree(), Qt::Key_F8);
        QCOMPARE(p.Project().GetMainFileName(), std::string("Other.java"));
        p.Select({"Main.java"});
        QTest::keyClick(p.tree->Tree(), Qt::Key_Return);
        QCOMPARE(p.shell.host.openedPaths.back(), p.shell.dir.File("Main.java"));
        QTest::keyClick(p.tree->Tree(), Qt::Key_Delete);
        QCOMPARE(p.Project().ContainsJavaFile(p.shell.dir.File("Main.java")), 0);
        QCOMPARE(p.Project().ContainsJavaFile(p.shell.dir.File("Other.java")), 1);
        QCOMPARE(Find(p.tree->Tree(), {"Main.java"}), nullptr);
        QVERIFY(Find(p.tree->Tree(), {"Other.java"}));

        // F4 hides the window that has the focus, and shows it again.
        QApplication::setActiveWindow(&p.shell.Frame());
        p.tree->Tree()->setFocus();
        QCOMPARE(QApplication::focusWidget(), p.tree->Tree());
        p.shell.Frame().ExecuteCommand(ECommand::ProjectWindow);
        QVERIFY(dock->isHidden());
        p.shell.Frame().ExecuteCommand(ECommand::ProjectWindow);
        QVERIFY(dock->isVisible());
    }

    // Delete in the project's window removes a project file only from the tree with the focus;
    // in the class-path list it removes the selected class-path entry; elsewhere nothing.
    void deleteActsWhereTheFocusIs() {
        CProjectFixture p;
        const std::string main = p.Add("Main.java", "");
        p.Project().SetClassPath("/a.jar:/b");
        p.Project().RefreshViews();
        CProjectTree& tree = p.ShowTree();
        p.Select({"Main.java"});
        QApplication::setActiveWindow(&p.shell.Frame());
        auto* form = qobject_cast<CProjectFormView*>(p.shell.Frame().ActiveFrame()->View());
        QVERIFY(form);
        form->ClassPathList()->setCurrentItem(form->ClassPathList()->topLevelItem(0));
        for (QWidget* focus : {static_cast<QWidget*>(form->ClassPathList()),
                               static_cast<QWidget*>(form->findChild<QComboBox*>()),
                               static_cast<QWidget*>(form->findChild<QPushButton*>())}) {
            focus->setFocus();
            QCOMPARE(QApplication::focusWidget(), focus);
            QTest::keyClick(focus, Qt::Key_Delete);
            // The window's own Delete, as its shortcut would run it with this focus.
            p.shell.Frame().ExecuteCommand(ECommand::RemoveFromProject);
            QCOMPARE(p.Project().ContainsJavaFile(main), 1);
        }
        QCOMPARE(p.Project().GetClassPath(), std::string("/b"));

        tree.Tree()->setFocus();
        p.shell.Frame().ExecuteCommand(ECommand::RemoveFromProject);
        QCOMPARE(p.Project().ContainsJavaFile(main), 0);
        QVERIFY(p.Messages().empty());
    }

    void propertiesShowTheFileAndOpenItsFolder() {
        CShellFixture shell;
        const std::string path = shell.dir.Write("A.java", "class A {}\n");
        CFilePropertiesDialog dialog("A.java", "com.x", path, shell.host, nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Properties"));
        QCOMPARE(dialog.findChild<QLineEdit*>("fileName")->text(), QStringLiteral("A.java"));
        QCOMPARE(dialog.findChild<QLineEdit*>("package")->text(), QStringLiteral("com.x"));
        QVERIFY(!dialog.findChild<QLineEdit*>("lastModified")->text().isEmpty());
        QCOMPARE(dialog.findChild<QPlainTextEdit*>("fullPath")->toPlainText(),
                 QString::fromStdString(path));
        QCheckBox* readOnly = dialog.findChild<QCheckBox*>("readOnly");
        QVERIFY(!readOnly->isEnabled());
        QVERIFY(!readOnly->isChecked());
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == "Open Folder") {
                button->click();
            }
        }
        QCOMPARE(shell.host.desktopOpened, std::vector<std::string>{"file://" + shell.dir.Path()});
        QVERIFY(shell.host.messages.empty());
        shell.host.desktopResult = false; // no file manager
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == "Open Folder") {
                button->click();
            }
        }
        QCOMPARE(shell.host.MessageTexts(),
                 std::vector<std::string>{"The desktop could not open \"file://" +
                                          shell.dir.Path() + "\"."});
        QCOMPARE(CFilePropertiesDialog::ModificationTime(shell.dir.File("missing")), QString());
    }
};

QTEST_MAIN(ProjectTreeTest)
#include "ProjectTreeTest.moc"
