// A second start with file names hands them to the running Tovin of the same settings file.

#include "gui/desktop/InstanceChannel.h"
#include "ModalAnswers.h"
#include "ShellTestSupport.h"
#include "gui/editor/EditorDocument.h"
#include "gui/editor/SourceDocument.h"
#include "gui/editor/SourceView.h"
#include "gui/project/ProjectDocument.h"

#include <QDir>
#include <QLocalSocket>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <atomic>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace tovin;
using namespace tovin::test;

namespace {

// Hands the files over from another thread, as a second program would, and waits until the
// running one has answered.
class CSecondStart {
public:
    CSecondStart(const QString& name, QStringList files)
        : m_thread(
              [this, name, files] { m_delivered = CInstanceChannel(name).SendToRunning(files); }) {}
    ~CSecondStart() { m_thread.join(); }
    bool Done() const { return m_delivered != -1; }
    bool Delivered() const { return m_delivered == 1; }

private:
    std::atomic<int> m_delivered{-1};
    std::thread m_thread;
};

// Answers a message box only once the second start has ended and the listener has let go of
// its connection, so the question outlives the request it came from.
FAnswer AnswerAfter(const CSecondStart& second, const CInstanceChannel& channel,
                    QMessageBox::StandardButton button, QStringList& texts) {
    return [&second, &channel, button, &texts](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        texts << box->text();
        QTRY_VERIFY_WITH_TIMEOUT(second.Done() && channel.findChildren<QLocalSocket*>().isEmpty(),
                                 20000);
        box->button(button)->click();
    };
}

} // namespace

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

    // A file handed over may ask a question (closing the open project) or fail with a message;
    // the program stays up through both and keeps the edits of its windows.
    void handedOverFilesMayAskAndFailWhileTheSenderIsGone() {
        CTempDir dir;
        const std::string settings = dir.File("Tovin.conf");
        CEditorApp app(settings);
        app.SetStartupTip([] {});
        QVERIFY(app.Start({}));
        const QString name = CInstanceChannel::NameFor(settings);
        CInstanceChannel channel(name);
        QVERIFY(channel.Listen());
        app.AcceptHandOver(channel);
        QVERIFY(app.OpenDocumentFile(WriteEmptyProject(dir, "P.jpr")));
        auto* source = static_cast<CEditorDocument*>(
            app.OpenDocumentFile(dir.Write("A.java", "class A {}\n")));
        QVERIFY(source);
        source->Source().FirstView()->ReplaceSel("// edited\r\n");
        QVERIFY(source->IsModified());

        const QString other = QString::fromStdString(WriteEmptyProject(dir, "Other.jpr"));
        QStringList texts;
        {
            CSecondStart second(name, {other});
            WithModals({AnswerAfter(second, channel, QMessageBox::Ok, texts)}, [&] {
                QTRY_VERIFY_WITH_TIMEOUT(app.CurrentProject() && app.CurrentProject()->PathName() ==
                                                                     other.toStdString(),
                                         30000);
            });
            QVERIFY(second.Delivered());
        }
        const QString missing = QString::fromStdString(dir.File("missing.java"));
        {
            CSecondStart second(name, {missing});
            QCOMPARE(WithModals({AnswerAfter(second, channel, QMessageBox::Ok, texts)},
                                [&] { QTRY_COMPARE_WITH_TIMEOUT(texts.size(), 2, 30000); }),
                     1);
            QVERIFY(second.Delivered());
        }
        QCOMPARE(texts.front(), QStringLiteral("Do you really want to close this project?"));
        QVERIFY2(texts.back().startsWith("Cannot open the file \"" + missing + "\""),
                 qPrintable(texts.back()));
        // The window of the edited file is still there, with its edit.
        QVERIFY(source->IsModified());
        QVERIFY(source->Source().Text().starts_with("// edited"));
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
