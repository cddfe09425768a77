// The modal watchdog every GUI test has: a dialog left open by a failed check, or never
// answered, fails its test with the dialog's title, and the run goes on to the next test.

#include "ShellTestSupport.h"

#include <QMessageBox>
#include <QProcess>

using namespace tovin::test;

namespace {

int AskStuckQuestion(const QString& title) {
    QMessageBox box(QMessageBox::Question, title, QStringLiteral("Go on?"),
                    QMessageBox::Yes | QMessageBox::No);
    return box.exec();
}

} // namespace

// The tests a faulty test program would hold; run as a child by ModalWatchdogTest.
class StuckDialogs : public QObject {
    Q_OBJECT
private slots:
    void failedCheckInsideDialog() {
        WithModal([](QWidget* modal) { QCOMPARE(modal->windowTitle(), QStringLiteral("other")); },
                  [] { AskStuckQuestion(QStringLiteral("Stuck question")); });
    }
    void unansweredDialog() { AskStuckQuestion(QStringLiteral("Never answered")); }
    void laterTestRuns() { QVERIFY(true); }
};

class ModalWatchdogTest : public QObject {
    Q_OBJECT
private slots:
    void stuckDialogsFailTheirTestsAndTheRunGoesOn() {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TOVIN_WATCHDOG_CHILD"), QStringLiteral("1"));
        environment.insert(QStringLiteral("TOVIN_TEST_MODAL_LIMIT_MS"), QStringLiteral("300"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(120000));
        const QString output = QString::fromUtf8(child.readAll());
        QCOMPARE(child.exitCode(), 2);
        const QStringList expected = {
            "FAIL!  : StuckDialogs::failedCheckInsideDialog()",
            "modal dialog \"Stuck question\" saying \"Go on?\" was left open by a failed check",
            "FAIL!  : StuckDialogs::unansweredDialog() modal dialog \"Never answered\" saying "
            "\"Go on?\" was not answered within 300 ms",
            "PASS   : StuckDialogs::laterTestRuns()",
        };
        for (const QString& line : expected) {
            QVERIFY2(output.contains(line), qPrintable(output));
        }
    }
};

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (qEnvironmentVariableIsSet("TOVIN_WATCHDOG_CHILD")) {
        StuckDialogs stuck;
        return QTest::qExec(&stuck, argc, argv);
    }
    ModalWatchdogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ModalWatchdogTest.moc"
