// The Tip of the Day: reading the tips file through the real dialog, the remembered position,
// the start-up check, and the tips we ship.

#include "core/app/TipOfTheDay.h"
#include "ShellTestSupport.h"
#include "core/app/SettingsStore.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "gui/app/AcceleratorTables.h"
#include "gui/app/MenuTables.h"
#include "gui/dialogs/TipOfTheDayDialog.h"
#include "gui/prefs/PrefsSheet.h"

#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>

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

// The document windows, as the tips name them ("of a Jython window", "in a Java editor", "in
// the Project Window").
const std::pair<EMenuKind, QString> kWindows[] = {{EMenuKind::JavaSource, "Java"},
                                                  {EMenuKind::Project, "project"},
                                                  {EMenuKind::Html, "HTML"},
                                                  {EMenuKind::Xml, "XML"},
                                                  {EMenuKind::Jython, "Jython"}};

// The words a tip uses for what a command does.
const QMap<ECommand, QString> kSaidAs = {
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
    {ECommand::SetMainClass, "selected Java file the project's main file"},
    {ECommand::ShowDocumentation, "Javadoc"},
    {ECommand::GoToDefinition, "go to its declaration"},
    {ECommand::FindUsages, "every use"}};

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
        QTest::newRow("hidden, ticked again, Escape") << 1 << true << "Escape" << 0;
        QTest::newRow("shown, unticked, window closed") << 0 << false << "window" << 1;
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

    // The tips we ship: enough of them, each one line, and true in the windows they name ("of a
    // Jython window", "in a Java editor"; else in every document window): every menu item they
    // name is on the menu they name, every key they name runs a command they describe, and every
    // Preferences page they name is a page of the sheet.
    void shippedTipsSayWhatIsTrue() {
        static const QRegularExpression onMenu(QStringLiteral("\"([^\"]+)\" on the (\\w+) menu"));
        static const QRegularExpression anyMenu(QStringLiteral(R"(on the \w+ menu)"));
        static const QRegularExpression page(QStringLiteral(R"(Preferences \(([^)]+)\))"));
        static const QRegularExpression shortcut(
            QStringLiteral(R"((?<![\w+])((?:(?:Ctrl|Shift|Alt)\+)+(?:F\d{1,2}|[A-Z]|\[|\]|)"
                           R"(Insert|Delete|Backspace)|F\d{1,2})(?![\w+]))"));
        static const QRegularExpression windows(
            QStringLiteral(R"(\b(?:in|of) (?:an? |the )?(Java|HTML|XML|Jython|Project))"
                           R"((?: and (Java|HTML|XML|Jython))? (?:editors?|window)\b)"),
            QRegularExpression::CaseInsensitiveOption);
        CFakeUiHost host;
        CPrefsSheet sheet(host, 0);
        QStringList pages;
        for (int i = 0; i < sheet.Tabs()->count(); ++i) {
            pages << sheet.Tabs()->tabText(i);
        }
        const std::string content = ReadWholeFile(TipsFilePath(DataFolder())).value_or("");
        // A menu text as the user reads it: no mnemonic, no shortcut.
        auto plain = [](const std::string& text) {
            return QString::fromStdString(text.substr(0, text.find('\t'))).remove('&');
        };
        int tips = 0, items = 0, keys = 0;
        for (const QString& tip : QString::fromStdString(content).split('\n')) {
            if (tip.isEmpty() || tip.front() == ';' || tip.front().isSpace()) {
                continue;
            }
            ++tips;
            QVERIFY2(tip.toUtf8().size() < kMaxTipPiece, qPrintable(tip));
            QVERIFY2(tip.count(anyMenu) == tip.count(onMenu), qPrintable(tip));
            const QRegularExpressionMatch in = windows.match(tip);
            auto named = [&in](const QString& window) {
                return !in.hasMatch() || !window.compare(in.captured(1), Qt::CaseInsensitive) ||
                       !window.compare(in.captured(2), Qt::CaseInsensitive);
            };
            for (const QRegularExpressionMatch& match : onMenu.globalMatch(tip)) {
                bool menuSeen = false;
                for (const auto& [kind, window] : kWindows) {
                    for (const SMenu& menu : MenuBarFor(kind)) {
                        if (named(window) && plain(menu.title) == match.captured(2)) {
                            QStringList texts;
                            for (const SMenuItem& item : menu.items) {
                                texts << plain(item.text);
                            }
                            QVERIFY2(texts.contains(match.captured(1)), qPrintable(tip));
                            menuSeen = true;
                        }
                    }
                }
                QVERIFY2(menuSeen, qPrintable(tip));
                ++items;
            }
            for (const QRegularExpressionMatch& match : page.globalMatch(tip)) {
                QVERIFY2(pages.contains(match.captured(1)), qPrintable(tip));
            }
            for (const QRegularExpressionMatch& match : shortcut.globalMatch(tip)) {
                ++keys;
                const QKeySequence key(match.captured(1));
                for (const auto& [kind, window] : kWindows) {
                    if (!named(window)) {
                        continue;
                    }
                    QStringList bound;
                    bool described = false;
                    for (const SKeyBinding& binding : KeyBindingsFor(kind)) {
                        if (QKeySequence(QString::fromStdString(binding.keys)) == key) {
                            const QString said = kSaidAs.value(binding.command);
                            bound << said;
                            described = described || (!said.isEmpty() &&
                                                      tip.contains(said, Qt::CaseInsensitive));
                        }
                    }
                    const QString where = " in a " + window + " window: " + tip;
                    QVERIFY2(!bound.isEmpty(), qPrintable("no " + match.captured(1) + where));
                    QVERIFY2(described,
                             qPrintable(match.captured(1) + " does " + bound.join('/') + where));
                }
            }
        }
        QVERIFY(tips >= 30 && items >= 8 && keys >= 15);
    }
};

QTEST_MAIN(TipOfTheDayTest)
#include "TipOfTheDayTest.moc"
