// The keyboard accelerators of the main window and of each document kind.

#include "ShellTestSupport.h"
#include "gui/app/CommandInfo.h"
#include "gui/editor/EditorDocument.h"
#include "gui/editor/SourceDocument.h"
#include "gui/editor/SourceView.h"

#include <QShortcut>

using namespace tovin;
using namespace tovin::test;

namespace {

QString CommandName(ECommand id) {
    return QLatin1String(CommandInfo(id).name);
}

std::string OpenOfKind(CShellFixture& shell, const QString& kind) {
    if (kind == "project") {
        return WriteEmptyProject(shell.dir, "P.jpr");
    }
    const std::map<QString, std::string> files = {
        {"java", "A.java"}, {"html", "a.html"}, {"xml", "b.xml"}, {"jython", "c.py"}};
    return shell.dir.Write(files.at(kind), "x\n");
}

} // namespace

class AcceleratorTest : public QObject {
    Q_OBJECT
private slots:
    void keyRunsTheCommandOfTheActiveKind_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("command");
        struct SRow {
            const char* kind;
            const char* keys;
            const char* command;
        };
        const SRow rows[] = {
            // the main window's table, whatever is active
            {"none", "Ctrl+C", "Copy"},
            {"none", "Ctrl+Insert", "Copy"},
            {"none", "Ctrl+X", "Cut"},
            {"none", "Shift+Delete", "Cut"},
            {"none", "Ctrl+V", "Paste"},
            {"none", "Shift+Insert", "Paste"},
            {"none", "Ctrl+Z", "Undo"},
            {"none", "Alt+Backspace", "Undo"},
            {"none", "Ctrl+N", "FileNew"},
            {"none", "Ctrl+O", "FileOpen"},
            {"none", "Ctrl+P", "Print"},
            {"none", "Ctrl+S", "FileSave"},
            {"none", "F1", "JdkHelp"},
            {"none", "F6", "NextPane"},
            {"none", "Shift+F6", "PreviousPane"},
            {"none", "F7", "None"},
            {"none", "F4", "None"},
            {"jython", "Ctrl+N", "FileNew"},
            // Java source windows
            {"java", "Ctrl+[", "DecreaseIndent"},
            {"java", "Ctrl+]", "IncreaseIndent"},
            {"java", "Ctrl+F", "Find"},
            {"java", "Ctrl+G", "Repeat"},
            {"java", "Ctrl+L", "GoToLine"},
            {"java", "Ctrl+Y", "Redo"},
            {"java", "Ctrl+H", "Replace"},
            {"java", "Ctrl+M", "Compile"},
            {"java", "F1", "JdkHelp"},
            {"java", "F2", "RefreshFunctionList"},
            {"java", "F3", "SyntaxColourUpdate"},
            {"java", "F4", "ProjectWindow"},
            {"java", "F5", "RunApplication"},
            {"java", "Shift+F5", "RunApplet"},
            {"java", "F7", "Build"},
            {"java", "Delete", "None"},
            // the project
            {"project", "Ctrl+M", "Compile"},
            {"project", "Delete", "RemoveFromProject"},
            {"project", "F4", "ProjectWindow"},
            {"project", "F5", "RunApplication"},
            {"project", "Shift+F5", "RunApplet"},
            {"project", "F7", "Build"},
            {"project", "F8", "SetMainClass"},
            {"project", "Ctrl+F", "Find"}, // shown in its menu, greyed there
            // HTML pages: the keys their menus show win over the table
            {"html", "Ctrl+[", "DecreaseIndent"},
            {"html", "Ctrl+]", "IncreaseIndent"},
            {"html", "Ctrl+F", "Find"},
            {"html", "Ctrl+H", "Replace"},
            {"html", "Ctrl+G", "Repeat"},
            {"html", "Ctrl+M", "Compile"},
            {"html", "F4", "ProjectWindow"},
            {"html", "Shift+F5", "RunPageApplet"},
            {"html", "F7", "Build"},
            {"html", "F5", "RunApplication"},
            // XML and Jython have no table of their own, only the keys their menus show
            {"xml", "F7", "Build"},
            {"xml", "Ctrl+F", "Find"},
            {"xml", "Ctrl+G", "None"},
            {"jython", "F4", "ProjectWindow"},
            {"jython", "Ctrl+M", "Compile"},
            {"jython", "Ctrl+L", "GoToLine"},
            {"java", "Ctrl+T", "RunTests"},
            {"project", "Ctrl+T", "RunTests"},
        };
        for (const SRow& row : rows) {
            QTest::addRow("%s %s", row.kind, row.keys) << row.kind << row.keys << row.command;
        }
    }
    void keyRunsTheCommandOfTheActiveKind() {
        QFETCH(QString, kind);
        QFETCH(QString, keys);
        QFETCH(QString, command);
        CShellFixture shell;
        shell.Start();
        if (kind != "none") {
            QVERIFY(shell.app->OpenDocumentFile(OpenOfKind(shell, kind)));
        }
        QCOMPARE(CommandName(shell.Frame().AcceleratorCommand(QKeySequence(keys))), command);
    }

    // Every shortcut a menu shows, in every kind of window, is the key of that very item, and
    // only one shortcut listens for it (two would leave the key doing nothing).
    void everyShortcutShownInAMenuRunsItsItem() {
        for (const char* kind : {"none", "java", "project", "html", "xml", "jython"}) {
            CShellFixture shell;
            shell.Start();
            if (QLatin1String(kind) != QLatin1String("none")) {
                QVERIFY(shell.app->OpenDocumentFile(OpenOfKind(shell, kind)));
            }
            int shown = 0;
            for (QAction* top : shell.Frame().menuBar()->actions()) {
                for (QAction* item : top->menu()->actions()) {
                    const qsizetype tab = item->text().indexOf('\t');
                    if (tab < 0) {
                        continue;
                    }
                    ++shown;
                    const QKeySequence keys(item->text().mid(tab + 1));
                    const QString where = QStringLiteral("%1: %2").arg(kind, item->text());
                    QVERIFY2(CommandName(shell.Frame().AcceleratorCommand(keys)) ==
                                 item->objectName(),
                             qPrintable(where));
                    int listening = 0;
                    for (QShortcut* shortcut : shell.Frame().findChildren<QShortcut*>()) {
                        listening += shortcut->isEnabled() && shortcut->key() == keys ? 1 : 0;
                    }
                    QVERIFY2(listening == 1, qPrintable(where));
                }
            }
            QVERIFY(shown >= 3);
        }
    }

    void keysReachTheCommandThroughTheEditor() {
        CShellFixture shell;
        shell.Start();
        CDocument* document = shell.app->OpenDocumentFile(OpenOfKind(shell, "xml"));
        auto* view = static_cast<CEditorDocument*>(document)->Source().FirstView();
        QVERIFY(QTest::qWaitForWindowActive(&shell.Frame()));
        view->setFocus();
        view->SetSel(0, 1);
        const QString before = view->text();
        QTest::keyClick(view, Qt::Key_BracketRight, Qt::ControlModifier);
        QVERIFY2(view->text().startsWith('\t') || view->text().startsWith(' '),
                 qPrintable(view->text()));
        QTest::keyClick(view, Qt::Key_BracketLeft, Qt::ControlModifier);
        QCOMPARE(view->text(), before);
    }

    void pressingAKeyRunsItsCommand() {
        CShellFixture shell;
        shell.Start();
        QVERIFY(QTest::qWaitForWindowActive(&shell.Frame()));
        QTest::keyClick(&shell.Frame(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(shell.host.fileRequests.size(), size_t(1));
        QCOMPARE(shell.host.fileRequests[0].title, std::string("Open"));
        QCOMPARE(shell.host.fileRequests[0].filter,
                 std::string("Java Source Files (*.java)|*.java|Java Project Files (*.jpr)|*.jpr|"
                             "HTML Files (*.html)|*.html|XML Files (*.xml)|*.xml|"
                             "Jython Files (*.py)|*.py|All Files (*.*)|*.*||"));
    }

    void menuShortcutTextsDoNotAddKeysOfTheirOwn() {
        // An accelerator without a "\t" text in the menu (Ctrl+] in Java windows) shows none.
        CShellFixture shell;
        shell.Start();
        shell.app->OpenDocumentFile(shell.dir.Write("A.java", "x\n"));
        QAction* indent = shell.Frame().Action(ECommand::IncreaseIndent);
        QCOMPARE(indent->text(), QStringLiteral("&Increase Indent"));
        QVERIFY(indent->shortcut().isEmpty());
    }
};

QTEST_MAIN(AcceleratorTest)
#include "AcceleratorTest.moc"
