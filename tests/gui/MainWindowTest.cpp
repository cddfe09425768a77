#include "gui/app/MainFrame.h"

#include <QMdiArea>
#include <QProcess>
#include <QtTest>

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensTitledWindowWithEmptyMdiArea() {
        tovin::CMainFrame frame;
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QCOMPARE(frame.windowTitle(), QStringLiteral("Tovin"));
        QVERIFY(frame.MdiArea() != nullptr);
        QCOMPARE(frame.MdiArea()->subWindowList().size(), 0);
    }

    void executablePrintsItsVersion() {
        QProcess process;
        process.start(QStringLiteral(TOVIN_EXECUTABLE), {QStringLiteral("--version")});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(process.readAllStandardOutput().startsWith("Tovin 3."));
    }

    void executableWithoutDisplaySaysSo() {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TOVIN_EXECUTABLE), {});
        QVERIFY(process.waitForFinished(30000));
        QVERIFY(process.exitCode() != 0);
        QVERIFY(process.readAllStandardError().contains("no display"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
