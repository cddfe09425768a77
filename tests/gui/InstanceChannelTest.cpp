// A second start with file names hands them to the running Tovin of the same settings file.

#include "gui/desktop/InstanceChannel.h"
#include "ShellTestSupport.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <atomic>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace tovin;
using namespace tovin::test;

class InstanceChannelTest : public QObject {
    Q_OBJECT
private slots:
    void namesDifferBySettingsFile() {
        QCOMPARE(CInstanceChannel::NameFor("/a/Tovin.conf"),
                 CInstanceChannel::NameFor("/a/Tovin.conf"));
        QVERIFY(CInstanceChannel::NameFor("/a/Tovin.conf") !=
                CInstanceChannel::NameFor("/b/Tovin.conf"));
    }

    void filesReachTheListeningInstance() {
        CTempDir dir;
        const QString name = CInstanceChannel::NameFor(dir.File("Tovin.conf"));
        CInstanceChannel running(name);
        QVERIFY(running.Listen());
        CInstanceChannel second(name);
        QVERIFY(!second.Listen()); // one listener per settings file
        QSignalSpy received(&running, &CInstanceChannel::FilesReceived);
        // The sender waits for the answer: it runs beside this thread's event loop, as a
        // second program would.
        std::atomic<int> delivered{-1};
        std::thread sender([&] { delivered = second.SendToRunning({"/p/A.java", "/p/B C.jpr"}); });
        QTRY_VERIFY_WITH_TIMEOUT(delivered != -1, 20000);
        sender.join();
        QCOMPARE(delivered.load(), 1);
        QCOMPARE(received.size(), 1);
        QCOMPARE(received[0][0].toStringList(), (QStringList{"/p/A.java", "/p/B C.jpr"}));
    }

    void nobodyListeningMeansNotDelivered() {
        CTempDir dir;
        CInstanceChannel alone(CInstanceChannel::NameFor(dir.File("Tovin.conf")));
        QVERIFY(!alone.SendToRunning({"/p/A.java"}, 500));
    }

    void leftOverSocketIsTakenOver() {
        CTempDir dir;
        const QString name = CInstanceChannel::NameFor(dir.File("Tovin.conf"));
        // A listener that ended without cleaning up leaves its socket file behind.
        const QByteArray path = QFile::encodeName(QDir::tempPath() + "/" + name);
        int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
        QVERIFY(QFileInfo::exists(QString::fromLocal8Bit(path)));
        CInstanceChannel fresh(name);
        QVERIFY(fresh.Listen());
        QVERIFY(fresh.IsListening());
    }

    void secondStartOfTheProgramHandsOverItsFile() {
        CTempDir dir;
        const QString settings = QString::fromStdString(dir.File("Tovin.conf"));
        const QString file = QString::fromStdString(dir.Write("Hello.java", "class Hello {}\n"));
        QProcess first;
        first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        first.start(QStringLiteral(TOVIN_EXECUTABLE), {"--settings", settings});
        QVERIFY(first.waitForStarted(30000));
        CInstanceChannel probe(CInstanceChannel::NameFor(settings.toStdString()));
        // The first instance listens once its window is up.
        QTRY_VERIFY_WITH_TIMEOUT(probe.SendToRunning({}, 200), 30000);

        QProcess second;
        second.start(QStringLiteral(TOVIN_EXECUTABLE), {"--settings", settings, file});
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitCode(), 0);
        // The first instance opened it: the file heads its recent-file list.
        QTRY_COMPARE_WITH_TIMEOUT(
            QString::fromStdString(CIniSettingsStore(settings.toStdString())
                                       .GetString("Recent File List", "File1", {})),
            file, 30000);
        first.terminate();
        QVERIFY(first.waitForFinished(30000));
    }
};

QTEST_MAIN(InstanceChannelTest)
#include "InstanceChannelTest.moc"
