// The Tip of the Day: reading the tips file through the real dialog, the remembered position,
// the start-up check, and the tips we ship.

#include "app/TipOfTheDay.h"
#include "ShellTestSupport.h"
#include "UserClicks.h"
#include "app/AcceleratorTables.h"
#include "app/MenuTables.h"
#include "app/SettingsStore.h"
#include "dialogs/TipOfTheDayDialog.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "prefs/PrefsSheet.h"
#include "project/JavaProjectDoc.h"
#include "project/ProjectDocument.h"
#include "project/ProjectTree.h"

#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTreeWidget>
#include <map>

using namespace tovin;
using namespace tovin::test;

namespace {

// The tips a dialog shows on opening and after each "Next Tip", joined with "|".
QString ShownTips(CSettingsStore& store, CUiHost& host, const std::string& path, int nextClicks) {
    CTipOfTheDay tips(store, host, path);
    CTipOfTheDayDialog dialog(tips);
    QStringList shown{dialog.TipLabel()->text()};
    for (int i = 0; i < nextClicks; ++i) {
        dialog.NextButton()->click();
        shown << dialog.TipLabel()->text();
    }
    return shown.join('|');
}

const std::vector<EMenuKind> kDocumentKinds = {EMenuKind::JavaSource, EMenuKind::Project,
                                               EMenuKind::Html, EMenuKind::Xml, EMenuKind::Jython};

// The window a tip names: "of a Jython window".
std::vector<EMenuKind> KindsNamed(const QString& window) {
    static const std::map<QString, EMenuKind> kinds = {{"Java", EMenuKind::JavaSource},
                                                       {"HTML", EMenuKind::Html},
                                                       {"XML", EMenuKind::Xml},
                                                       {"Jython", EMenuKind::Jython}};
    const auto found = kinds.find(window);
    return found == kinds.end() ? std::vector<EMenuKind>{} : std::vector{found->second};
}

// A menu text as the user reads it: no mnemonic, no shortcut.
QString Plain(const std::string& text) {
    return QString::fromStdString(text.substr(0, text.find('\t'))).remove('&');
}

// The words a tip uses for what a command does.
QString SaidAs(ECommand command) {
    static const std::map<ECommand, QString> words = {
        {ECommand::Build, "build"},
        {ECommand::Compile, "compile"},
        {ECommand::RunApplication, "run the project's main class"},
        {ECommand::RunApplet, "applet page"},
        {ECommand::RunPageApplet, "applet page"},
        {ECommand::ProjectWindow, "show or hide the Project Window"},
        {ECommand::RefreshFunctionList, "refresh the function list"},
        {ECommand::SyntaxColourUpdate, "recolour"},
        {ECommand::JdkHelp, "JDK documentation"},
        {ECommand::Find, "find text"},
        {ECommand::Repeat, "find the next match"},
        {ECommand::Replace, "replace"},
        {ECommand::IncreaseIndent, "indent"},
        {ECommand::DecreaseIndent, "unindent"},
        {ECommand::Paste, "paste"},
        {ECommand::Copy, "cop"},
        {ECommand::Cut, "cut"},
        {ECommand::NextPane, "next pane"},
        {ECommand::PreviousPane, "move back"},
        {ECommand::FileNew, "new"},
    };
    const auto found = words.find(command);
    return found == words.end() ? QString() : found->second;
}

// The tip lines of the tips file we ship.
QStringList ShippedTips() {
    std::optional<std::string> content = ReadWholeFile(TipsFilePath(DataFolder()));
    QStringList tips;
    for (const QString& line : QString::fromStdString(content.value_or("")).split('\n')) {
        if (!line.isEmpty() && line.front() != ';' && !line.front().isSpace()) {
            tips << line;
        }
    }
    return tips;
}

// Presses the key in the Project Window on the item the tip names ("the selected Java file",
// "the selected class") and checks that it did what the tip says.
void CheckProjectWindowKey(const QKeySequence& key, const QString& tip) {
    static const QRegularExpression selected(QStringLiteral(R"(selected (Java file|class|page))"));
    const QRegularExpressionMatch object = selected.match(tip);
    QVERIFY2(object.hasMatch(), qPrintable("which item? " + tip));
    CShellFixture shell;
    shell.Start();
    auto* document = static_cast<CProjectDocument*>(
        shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr")));
    CJavaProjectDoc& project = document->Project();
    const std::string other = shell.dir.Write("Other.java", "class Other {\n}\n");
    project.AddFile(shell.dir.Write("Main.java", "class Main {\n}\n"));
    project.AddFile(other);
    project.AddHtmlFile(shell.dir.Write("Page.html", ""));
    project.RebuildClassInformation();
    document->OnProjectWindow();
    QTreeWidget* tree = document->ProjectTree()->Tree();
    const QStringList path = object.captured(1) == "class"  ? QStringList{"Other.java", "Other"}
                             : object.captured(1) == "page" ? QStringList{"Page.html"}
                                                            : QStringList{"Other.java"};
    tree->setCurrentItem(Find(tree, path));
    QTest::keyClick(tree, key[0].key(), key[0].keyboardModifiers());
    if (tip.contains(QStringLiteral(" main "))) {
        QVERIFY2(project.GetMainFileName() == "Other.java", qPrintable(tip));
    } else if (tip.contains(QStringLiteral("remove"), Qt::CaseInsensitive)) {
        QVERIFY2(!project.ContainsJavaFile(other), qPrintable(tip));
    } else {
        QVERIFY2(false, qPrintable("what should it do? " + tip));
    }
    QVERIFY2(shell.host.messages.empty(), qPrintable(tip));
}

} // namespace

class TipOfTheDayTest : public QObject {
    Q_OBJECT
private slots:
    void tipsAreReadInTurn_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("nextClicks");
        QTest::addColumn<QString>("expected");
        QTest::newRow("wraps to the first after the last")
            << QByteArray("one\ntwo\nthree\n") << 3 << "one|two|three|one";
        QTest::newRow("comments, indented and empty lines skipped")
            << QByteArray("; note\none\n  indented\n\ttabbed\n\n\r\ntwo\n") << 2 << "one|two|one";
        QTest::newRow("last line without line end, CR LF dropped")
            << QByteArray("one\r\ntwo") << 2 << "one|two|one";
        QTest::newRow("only comments give no tip and no endless loop")
            << QByteArray(";a\n b\n\n") << 1 << "|";
        QTest::newRow("empty file") << QByteArray() << 1 << "|";
        QTest::newRow("a long line gives pieces of 999 bytes")
            << QByteArray(999, 'a') + QByteArray(501, 'b') + "\nc\n"
            << 2 << QString(999, 'a') + "|" + QString(501, 'b') + "|c";
    }
    void tipsAreReadInTurn() {
        QFETCH(QByteArray, content);
        QFETCH(int, nextClicks);
        QFETCH(QString, expected);
        CTempDir dir;
        const std::string path = dir.Write("tips.dat", content.toStdString());
        CMemorySettingsStore store;
        CFakeUiHost host;
        QCOMPARE(ShownTips(store, host, path, nextClicks), expected);
        QVERIFY(host.messages.empty());
    }

    void positionCarriesOverUntilTheFileChanges() {
        CTempDir dir;
        const std::string path = dir.Write("tips.dat", "one\ntwo\nthree\n");
        CMemorySettingsStore store;
        CFakeUiHost host;
        QCOMPARE(ShownTips(store, host, path, 1), QStringLiteral("one|two"));
        QCOMPARE(store.GetInt("Tip", "FilePos", -1), 8);
        QCOMPARE(store.GetString("Tip", "TimeStamp", {}), StatusChangeTimeText(path));
        QCOMPARE(ShownTips(store, host, path, 0), QStringLiteral("three"));

        // Another stamp stands for a replaced file: its first tip, whatever the position said.
        store.SetInt("Tip", "FilePos", 5000);
        store.SetString("Tip", "TimeStamp", "Thu Jan  1 00:00:00 1970");
        QCOMPARE(ShownTips(store, host, path, 0), QStringLiteral("one"));
        QCOMPARE(store.GetString("Tip", "TimeStamp", {}), StatusChangeTimeText(path));
    }

    void missingFileIsSaidAndNothingStored() {
        CTempDir dir;
        CMemorySettingsStore store;
        CFakeUiHost host;
        {
            CTipOfTheDay tips(store, host, dir.File("none.dat"));
            CTipOfTheDayDialog dialog(tips);
            QCOMPARE(dialog.TipLabel()->text(),
                     QStringLiteral("The tips file is missing from the Tovin application folder."));
            QVERIFY(!dialog.NextButton()->isEnabled());
        }
        QCOMPARE(store.Size(), size_t(0));
    }

    // However the dialog is closed, the box's state is what is stored (inverted).
    void startupChoiceIsStoredInvertedOnClose_data() {
        QTest::addColumn<int>("storedStartUp");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QString>("closing");
        QTest::addColumn<int>("expectedStartUp");
        QTest::newRow("shown, unticked, Close") << 0 << false << "Close" << 1;
        QTest::newRow("hidden, ticked again, Close") << 1 << true << "Close" << 0;
        QTest::newRow("shown, unticked, Escape") << 0 << false << "Escape" << 1;
        QTest::newRow("hidden, ticked again, window closed") << 1 << true << "window" << 0;
        QTest::newRow("shown, untouched, Escape") << 0 << true << "Escape" << 0;
    }
    void startupChoiceIsStoredInvertedOnClose() {
        QFETCH(int, storedStartUp);
        QFETCH(bool, tick);
        QFETCH(QString, closing);
        QFETCH(int, expectedStartUp);
        CTempDir dir;
        const std::string path = dir.Write("tips.dat", "one\n");
        CMemorySettingsStore store;
        store.SetInt("Tip", "StartUp", storedStartUp);
        CFakeUiHost host;
        CTipOfTheDay tips(store, host, path);
        CTipOfTheDayDialog dialog(tips);
        QCOMPARE(dialog.StartupBox()->isChecked(), storedStartUp == 0);
        QCOMPARE(dialog.StartupBox()->text(), QStringLiteral("&Show Tips on StartUp"));
        dialog.StartupBox()->setChecked(tick);
        dialog.show();
        if (closing == "Close") {
            for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
                if (button->text() == "&Close") {
                    button->click();
                }
            }
        } else if (closing == "Escape") {
            QTest::keyClick(&dialog, Qt::Key_Escape);
        } else {
            dialog.close();
        }
        QVERIFY(dialog.isHidden());
        QCOMPARE(store.GetInt("Tip", "StartUp", -1), expectedStartUp);
    }

    // At start-up with tips switched off nothing shows, yet the position moves on.
    void startupWithoutTipsStillAdvances() {
        CShellFixture shell;
        const std::string path = shell.dir.Write("tips.dat", "one\ntwo\n");
        shell.Store("Tip", "StartUp", "1");
        CEditorApp& app = shell.Start();
        ShowStartupTip(app, path);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(shell.Stored("Tip", "FilePos"), std::string("4"));

        QString shown;
        WithModal(
            [&](QWidget* modal) {
                auto* dialog = qobject_cast<CTipOfTheDayDialog*>(modal);
                QVERIFY(dialog);
                shown = dialog->TipLabel()->text();
                dialog->accept();
            },
            [&] { ShowTipOfTheDay(app, path); });
        QCOMPARE(shown, QStringLiteral("two"));
        QCOMPARE(shell.Stored("Tip", "FilePos"), std::string("8"));
        QVERIFY(shell.Frame().CommandState(ECommand::TipOfTheDay).enabled);
    }

    // The tips we ship: enough of them, each one line, and every menu item they name is on the
    // menu they name ("X" on the Build menu, of a Jython window where they say so), every
    // Preferences page they name is a page of the sheet.
    void shippedTipsNameMenuItemsWhereTheyAre() {
        static const QRegularExpression onMenu(
            QStringLiteral("\"([^\"]+)\" on the (\\w+) menu(?: of an? (\\w+) window)?"));
        static const QRegularExpression anyMenu(QStringLiteral(R"(on the \w+ menu)"));
        static const QRegularExpression page(QStringLiteral(R"(Preferences \(([^)]+)\))"));
        CFakeUiHost host;
        CPrefsSheet sheet(host, 0);
        QStringList pages;
        for (int i = 0; i < sheet.Tabs()->count(); ++i) {
            pages << sheet.Tabs()->tabText(i);
        }
        const QStringList tips = ShippedTips();
        QVERIFY(tips.size() >= 30);
        int items = 0;
        for (const QString& tip : tips) {
            QVERIFY2(tip.toUtf8().size() < kMaxTipPiece, qPrintable(tip));
            // Every menu a tip sends the user to comes with the item's quoted text.
            QVERIFY2(tip.count(anyMenu) == tip.count(onMenu), qPrintable(tip));
            for (const QRegularExpressionMatch& match : onMenu.globalMatch(tip)) {
                const QString window = match.captured(3);
                bool menuSeen = false;
                for (EMenuKind kind : window.isEmpty() ? kDocumentKinds : KindsNamed(window)) {
                    for (const SMenu& menu : MenuBarFor(kind)) {
                        if (Plain(menu.title) != match.captured(2)) {
                            continue;
                        }
                        menuSeen = true;
                        QStringList texts;
                        for (const SMenuItem& item : menu.items) {
                            texts << Plain(item.text);
                        }
                        QVERIFY2(texts.contains(match.captured(1)), qPrintable(tip));
                    }
                }
                QVERIFY2(menuSeen, qPrintable(tip));
                ++items;
            }
            for (const QRegularExpressionMatch& match : page.globalMatch(tip)) {
                QVERIFY2(pages.contains(match.captured(1)), qPrintable(tip));
            }
        }
        QVERIFY(items >= 8);
    }

    // Every key a tip names does what the tip says where the tip says: in the windows it
    // names (every document window when it names none) the key runs a command the tip
    // describes; in the Project Window the key acts on the kind of item the tip names.
    void shippedTipsKeysDoWhatTheySay() {
        static const QRegularExpression shortcut(
            QStringLiteral(R"((?<![\w+])((?:(?:Ctrl|Shift|Alt)\+)+(?:F\d{1,2}|[A-Z]|\[|\]|)"
                           R"(Insert|Delete|Backspace)|F\d{1,2})(?![\w+]))"));
        int keys = 0;
        for (const QString& tip : ShippedTips()) {
            for (const QRegularExpressionMatch& match : shortcut.globalMatch(tip)) {
                ++keys;
                const QKeySequence key(match.captured(1));
                if (tip.contains(QStringLiteral("in the Project Window"))) {
                    CheckProjectWindowKey(key, tip);
                    continue;
                }
                const std::vector<EMenuKind> kinds =
                    tip.contains(QStringLiteral("in Java and HTML editors"), Qt::CaseInsensitive)
                        ? std::vector<EMenuKind>{EMenuKind::JavaSource, EMenuKind::Html}
                    : tip.contains(QStringLiteral("in a Java editor"))
                        ? std::vector<EMenuKind>{EMenuKind::JavaSource}
                        : kDocumentKinds;
                for (EMenuKind kind : kinds) {
                    QStringList bound;
                    bool described = false;
                    for (const SKeyBinding& binding : KeyBindingsFor(kind)) {
                        if (QKeySequence(QString::fromStdString(binding.keys)) == key) {
                            const QString said = SaidAs(binding.command);
                            bound << said;
                            described = described || (!said.isEmpty() &&
                                                      tip.contains(said, Qt::CaseInsensitive));
                        }
                    }
                    static const char* const names[] = {"no",      "a Java", "a project",
                                                        "an HTML", "an XML", "a Jython"};
                    const QString where =
                        QStringLiteral(" in %1 window, in: ").arg(names[int(kind)]);
                    QVERIFY2(!bound.isEmpty(), qPrintable("no " + match.captured(1) + where + tip));
                    QVERIFY2(described, qPrintable(match.captured(1) + " does " + bound.join('/') +
                                                   where + tip));
                }
            }
        }
        QVERIFY(keys >= 15);
    }
};

QTEST_MAIN(TipOfTheDayTest)
#include "TipOfTheDayTest.moc"
