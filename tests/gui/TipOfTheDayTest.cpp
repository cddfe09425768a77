// The Tip of the Day: reading the tips file through the real dialog, the remembered position,
// the start-up check, and the tips we ship.

#include "app/TipOfTheDay.h"
#include "ShellTestSupport.h"
#include "app/AcceleratorTables.h"
#include "app/SettingsStore.h"
#include "dialogs/TipOfTheDayDialog.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <set>

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

    // The tips we ship: enough of them, each one line, and every key they name really is one.
    void shippedTipsNameRealShortcuts() {
        const std::string path = TipsFilePath(DataFolder());
        std::optional<std::string> content = ReadWholeFile(path);
        QVERIFY(content);
        std::set<QString> known;
        for (EMenuKind kind : {EMenuKind::NoDocument, EMenuKind::JavaSource, EMenuKind::Project,
                               EMenuKind::Html, EMenuKind::Xml, EMenuKind::Jython}) {
            for (const SAccelerator& accelerator : AcceleratorsFor(kind)) {
                known.insert(QKeySequence(QString::fromLatin1(accelerator.keys))
                                 .toString(QKeySequence::PortableText));
            }
        }
        static const QRegularExpression shortcut(
            QStringLiteral(R"((?<![\w+])((?:(?:Ctrl|Shift|Alt)\+)+(?:F\d{1,2}|[A-Z]|\[|\]|)"
                           R"(Insert|Delete|Backspace)|F\d{1,2})(?![\w+]))"));
        int tipCount = 0;
        int shortcutCount = 0;
        for (const QString& line : QString::fromStdString(*content).split('\n')) {
            if (line.isEmpty() || line.front() == ';' || line.front().isSpace()) {
                continue;
            }
            ++tipCount;
            QVERIFY2(line.toUtf8().size() < kMaxTipPiece, qPrintable(line));
            for (const QRegularExpressionMatch& match : shortcut.globalMatch(line)) {
                const QString keys =
                    QKeySequence(match.captured(1)).toString(QKeySequence::PortableText);
                QVERIFY2(known.count(keys), qPrintable(match.captured(1) + " in: " + line));
                ++shortcutCount;
            }
        }
        QVERIFY(tipCount >= 30);
        QVERIFY(shortcutCount >= 15);
    }
};

QTEST_MAIN(TipOfTheDayTest)
#include "TipOfTheDayTest.moc"
