// The menu bar shown for each kind of active document, item by item, against the menus as
// the product defines them; and the Help menu's tip item.

#include "ShellTestSupport.h"
#include "gui/app/MenuTables.h"

using namespace tovin;
using namespace tovin::test;

namespace {

struct SMenuExpectation {
    QString title;
    QStringList items;
};
using SBarExpectation = QList<SMenuExpectation>;

const QString kTip = QStringLiteral("Ti&p of the Day...");

SBarExpectation NoDocumentBar() {
    return {
        {"&File",
         {"&New\tCtrl+N", "&Open...\tCtrl+O", "-", "Pre&ferences...", "-", "P&rint Setup...", "-",
          "R&ecent Projects...", "-", "Recent File", "-", "E&xit"}},
        {"&Project", {"&New Project...", "&Open Project..."}},
        {"&View", {"&Toolbar", "&Status Bar", "&Line Numbers"}},
        {"&Help", {kTip, "-", "&About Tovin", "&Help...", "&JDK Help\tF1"}},
    };
}

// The menus the Java, project and page windows have in common.
SBarExpectation SharedBar() {
    return {
        {"&File",
         {"&New\tCtrl+N", "&Open...\tCtrl+O", "&Close", "&Save\tCtrl+S", "Save &As...", "Save A&ll",
          "-", "Pre&ferences...", "-", "&Print...\tCtrl+P", "Print Pre&view", "P&rint Setup...",
          "-", "R&ecent Projects...", "-", "Recent File", "-", "E&xit"}},
        {"&Edit",
         {"&Undo\tCtrl+Z",
          "&Redo\tCtrl+Y",
          "-",
          "Cu&t\tCtrl+X",
          "&Copy\tCtrl+C",
          "&Paste\tCtrl+V",
          "-",
          "Select &All",
          "-",
          "&Increase Indent",
          "&Decrease Indent",
          "-",
          "&Find...\tCtrl+F",
          "R&eplace...\tCtrl+H",
          "&Go to Line...\tCtrl+L",
          "Find i&n Files...",
          "-",
          "Convert &Linebreaks",
          "Convert Ta&bs to Spaces",
          "In&sert Applet",
          "-",
          "S&yntax Colour Update\tF3",
          "Refresh Functi&on List\tF2"}},
        {"&View", {"&Toolbar", "&Status Bar", "&Line Numbers", "&Project Window\tF4"}},
        {"&Project",
         {"&New Project...", "&Open Project...", "&Close Project", "-", "&Add Files...", "-",
          "Add &Window to Project", "-", "Run &Tests\tCtrl+T", "Run &Failed Tests Again"}},
        {"&Build",
         {"&Build\tF7", "&Compile\tCtrl+M", "-", "&Run Application\tF5", "Run &Applet\tShift+F5",
          "Run &with Console", "-", "&Debug Application\tCtrl+F5", "Toggle Brea&kpoint\tF9", "-",
          "Run A&nt...", "-", "&Open In Web Browser"}},
        {"&Tools",
         {"&Jar Main Folder...", "Jar An&y Folder...", "Show Archive Co&ntents...", "-",
          "&Compile Folder...", "-", "Create &Batch File...", "Create &Shortcut...", "-",
          "Javadoc Project &Files...", "Javadoc Project &Packages...", "-", "Se&rialVer...", "-",
          "Create &Ant Script..."}},
        {"&Window",
         {"&New Window", "&Cascade", "&Tile", "&Arrange Icons", "-", "Close A&ll Souce Windows"}},
        {"&Help", {kTip, "-", "&About Tovin", "&Help...", "&JDK Help\tF1"}},
    };
}

// Replaces item `from` of the menu titled `title` by `to`.
void Replace(SBarExpectation& bar, const QString& title, const QString& from, const QString& to) {
    for (SMenuExpectation& menu : bar) {
        if (menu.title == title) {
            qsizetype at = menu.items.indexOf(from);
            QVERIFY2(at >= 0, qPrintable(from));
            menu.items[at] = to;
        }
    }
}

// Java windows have the Code menu beside Edit.
SBarExpectation JavaBar() {
    SBarExpectation bar = SharedBar();
    bar.insert(2, {"&Code",
                   {"&Complete\tCtrl+Space", "&Parameter Info\tCtrl+Shift+Space",
                    "Show &Documentation\tCtrl+Q", "-", "&Go to Definition\tF12",
                    "Find &Usages\tShift+F12"}});
    return bar;
}

SBarExpectation ProjectBar() {
    SBarExpectation bar = SharedBar();
    Replace(bar, "&Edit", "&Increase Indent", "&Increase Indent\tCtrl+]");
    Replace(bar, "&Edit", "&Decrease Indent", "&Decrease Indent\tCtrl+[");
    Replace(bar, "&Tools", "Create &Batch File...", "Create Run &Batch File...");
    return bar;
}

SBarExpectation HtmlBar() {
    SBarExpectation bar = SharedBar();
    Replace(bar, "&Edit", "&Increase Indent", "&Increase Indent\tCtrl+]");
    Replace(bar, "&Edit", "&Decrease Indent", "&Decrease Indent\tCtrl+[");
    Replace(bar, "&Help", "&About Tovin", "&About Tovin...");
    bar[6].items = {"&New Window", "&Cascade", "&Tile", "&Arrange Icons"};
    return bar;
}

SBarExpectation XmlBar() {
    SBarExpectation bar = HtmlBar();
    bar[4].items << "-"
                 << "Run &Jython";
    return bar;
}

SBarExpectation JythonBar() {
    SBarExpectation bar = XmlBar();
    bar[4].items << "Run Jython w&ith Console"
                 << "Compile Jython &File";
    return bar;
}

void CompareBar(CMainFrame& frame, const SBarExpectation& expected) {
    const QList<QAction*> menus = frame.menuBar()->actions();
    QCOMPARE(menus.size(), expected.size());
    for (qsizetype i = 0; i < menus.size(); ++i) {
        QCOMPARE(menus[i]->text(), expected[i].title);
        QStringList items = MenuItems(menus[i]->menu());
        // The list of open windows that ends the Window menu is FramesTest's matter.
        if (expected[i].title == "&Window" && items.size() > expected[i].items.size()) {
            QVERIFY(items[expected[i].items.size()] == "-");
            items = items.mid(0, expected[i].items.size());
        }
        QCOMPARE(items, expected[i].items);
    }
}

// The letter after the text's '&' (an "&&" is a plain ampersand), lower-cased; empty for none.
QString Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '&') {
            if (text[i + 1] != '&') {
                return text[i + 1].toLower();
            }
            ++i;
        }
    }
    return {};
}

// Every title of the bar and every item of each menu has an Alt+letter, none twice in one place.
void CheckMnemonics(CMainFrame& frame) {
    QStringList titles;
    for (QAction* top : frame.menuBar()->actions()) {
        const QString title = top->text();
        QVERIFY2(!Mnemonic(title).isEmpty(), qPrintable(title));
        QVERIFY2(!titles.contains(Mnemonic(title)), qPrintable("twice in the menu bar: " + title));
        titles << Mnemonic(title);
        QStringList letters;
        for (const QString& item : MenuItems(top->menu())) {
            if (item == "-" || item == "Recent File") { // the empty list's disabled line
                continue;
            }
            const QString letter = Mnemonic(item);
            QVERIFY2(!letter.isEmpty(), qPrintable(title + " > " + item));
            QVERIFY2(!letters.contains(letter), qPrintable("twice in " + title + ": " + item));
            letters << letter;
        }
    }
}

} // namespace

class MenuBarTest : public QObject {
    Q_OBJECT
private slots:
    void menuBarFollowsTheActiveDocument_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("kind");
        QTest::newRow("no document") << QString() << int(EMenuKind::NoDocument);
        QTest::newRow("Java source") << "A.java" << int(EMenuKind::JavaSource);
        QTest::newRow("project") << "P.jpr" << int(EMenuKind::Project);
        QTest::newRow("HTML page") << "page.html" << int(EMenuKind::Html);
        QTest::newRow("XML file") << "build.xml" << int(EMenuKind::Xml);
        QTest::newRow("Jython script") << "run.py" << int(EMenuKind::Jython);
    }
    void menuBarFollowsTheActiveDocument() {
        QFETCH(QString, file);
        QFETCH(int, kind);
        CShellFixture shell;
        shell.Start();
        if (!file.isEmpty()) {
            std::string path = file.endsWith(".jpr")
                                   ? WriteEmptyProject(shell.dir, file.toStdString())
                                   : shell.dir.Write(file.toStdString(), "text\n");
            QVERIFY(shell.app->OpenDocumentFile(path));
        }
        QCOMPARE(int(shell.Frame().MenuKind()), kind);
        const SBarExpectation bars[] = {NoDocumentBar(), JavaBar(), ProjectBar(),
                                        HtmlBar(),       XmlBar(),  JythonBar()};
        SBarExpectation expected = bars[kind];
        if (!file.isEmpty()) { // the opened file heads the recent-file list
            Replace(expected, "&File", "Recent File",
                    "&1 " + QString::fromStdString(shell.dir.File(file.toStdString())));
        }
        CompareBar(shell.Frame(), expected);
    }

    // Keyboard-only use: the same rows, with two windows in the Window menu's list.
    void everyMenuAndItemHasItsOwnAltLetter_data() { menuBarFollowsTheActiveDocument_data(); }
    void everyMenuAndItemHasItsOwnAltLetter() {
        QFETCH(QString, file);
        CShellFixture shell;
        shell.Start();
        shell.app->OpenDocumentFile(shell.dir.Write("Other.java", "class Other {}\n"));
        if (file.isEmpty()) {
            shell.app->CloseAllSourceWindows();
        } else {
            std::string path = file.endsWith(".jpr")
                                   ? WriteEmptyProject(shell.dir, file.toStdString())
                                   : shell.dir.Write(file.toStdString(), "text\n");
            QVERIFY(shell.app->OpenDocumentFile(path));
        }
        CheckMnemonics(shell.Frame());
    }

    void switchingWindowsSwitchesMenusBackAndForth() {
        CShellFixture shell;
        shell.Start();
        CDocument* java = shell.app->OpenDocumentFile(shell.dir.Write("A.java", "class A {}\n"));
        CDocument* page = shell.app->OpenDocumentFile(shell.dir.Write("a.html", "<p>\n"));
        QCOMPARE(shell.Frame().MenuKind(), EMenuKind::Html);
        auto withRecent = [&](SBarExpectation bar) {
            Replace(bar, "&File", "Recent File", "&1 " + QString::fromStdString(page->PathName()));
            for (SMenuExpectation& menu : bar) {
                qsizetype at = menu.items.indexOf("&1 " + QString::fromStdString(page->PathName()));
                if (at >= 0) {
                    menu.items.insert(at + 1, "&2 " + QString::fromStdString(java->PathName()));
                }
            }
            return bar;
        };
        java->ActivateFirstFrame();
        QCOMPARE(shell.Frame().MenuKind(), EMenuKind::JavaSource);
        CompareBar(shell.Frame(), withRecent(JavaBar()));
        page->ActivateFirstFrame();
        CompareBar(shell.Frame(), withRecent(HtmlBar()));
        shell.app->CloseAllSourceWindows();
        page->OnCloseDocument();
        QCOMPARE(shell.Frame().MenuKind(), EMenuKind::NoDocument);
        CompareBar(shell.Frame(), withRecent(NoDocumentBar()));
    }

    void tipItemIsPlacedOnceHoweverOftenTheMenuOpens() {
        CShellFixture shell;
        shell.Start();
        for (int i = 0; i < 3; ++i) {
            shell.Frame().InitMenu();
        }
        QMenu* help = shell.Frame().menuBar()->actions().back()->menu();
        const QStringList items = MenuItems(help);
        QCOMPARE(items.count(kTip), 1);
        QCOMPARE(items.mid(0, 2), (QStringList{kTip, "-"}));
    }

    void menuBarWithoutHelpGetsOneSharedHelpMenu() {
        CShellFixture shell;
        shell.Start();
        QMenuBar* bar = shell.Frame().menuBar();
        bar->removeAction(bar->actions().back()); // the "&Help" menu
        shell.Frame().InitMenu();
        QAction* appended = bar->actions().back();
        QCOMPARE(appended->text(), QStringLiteral("&Help"));
        QCOMPARE(MenuItems(appended->menu()), QStringList{kTip});
        QMenu* shared = appended->menu();
        bar->removeAction(appended);
        shell.Frame().InitMenu();
        QCOMPARE(bar->actions().back()->menu(), shared);
    }

    void recentFilesAppearNewestFirstBetweenTheirSeparators() {
        CShellFixture shell;
        shell.Start();
        shell.app->OpenDocumentFile(shell.dir.Write("A.java", "class A {}\n"));
        shell.app->OpenDocumentFile(shell.dir.Write("B & C.py", "pass\n"));
        QMenu* file = shell.Frame().menuBar()->actions().front()->menu();
        QStringList items = MenuItems(file);
        const qsizetype first = items.indexOf("R&ecent Projects...") + 2;
        QCOMPARE(items.mid(first, 3),
                 (QStringList{"&1 " + QString::fromStdString(shell.dir.File("B && C.py")),
                              "&2 " + QString::fromStdString(shell.dir.File("A.java")), "-"}));
    }

    void toolbarHoldsTheButtonsInOrder() {
        CShellFixture shell;
        shell.Start();
        QStringList tips;
        for (QAction* action : shell.Frame().ToolBar()->actions()) {
            tips << (action->isSeparator() ? QStringLiteral("|") : action->toolTip());
        }
        QCOMPARE(tips, (QStringList{"New",
                                    "Open",
                                    "Save",
                                    "|",
                                    "Cut",
                                    "Copy",
                                    "Paste",
                                    "|",
                                    "Print",
                                    "|",
                                    "Increase Indent",
                                    "Decrease Indent",
                                    "|",
                                    "Compile File",
                                    "Build Project",
                                    "Run Application",
                                    "Run Applet",
                                    "Open In Web Browser",
                                    "|",
                                    "Show/Hide Project Window"}));
        QCOMPARE(shell.Frame().Action(ECommand::Compile)->statusTip(),
                 QStringLiteral("Compile the current file"));
        for (QAction* action : shell.Frame().ToolBar()->actions()) {
            QVERIFY2(action->isSeparator() || !action->icon().isNull(),
                     qPrintable(action->toolTip()));
        }
    }
};

QTEST_MAIN(MenuBarTest)
#include "MenuBarTest.moc"
