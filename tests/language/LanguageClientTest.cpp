// The language client against a fake server (FakeServer.cpp), a real child process that dies,
// falls silent, sends garbage or answers late on request.

#include "language/LanguageClient.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace tovin {

namespace {

constexpr int kWait = 20000;
const QString kFile = QStringLiteral("/tmp/fake-project/A.java");

class CClientTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_serial = 0;

    // A client of a fake server whose starts follow modes (one per start, the last repeating).
    std::unique_ptr<CLanguageClient> MakeClient(const QString& modes) {
        SServerCommand command;
        command.program = QStringLiteral(TOVIN_FAKE_SERVER);
        command.arguments = {m_dir.filePath(QString("starts%1").arg(++m_serial)), modes};
        auto client = std::make_unique<CLanguageClient>(command);
        client->SetAnswerTimeout(1000);
        return client;
    }

    static QString MessageOf(CLanguageClient& client, int line) {
        for (const SDiagnostic& d : client.Model().Diagnostics(kFile)) {
            if (d.line == line) {
                return d.message;
            }
        }
        return {};
    }

private slots:
    // Each edit reaches the server as one ranged change; the server's copy of the text, which
    // it sends back in its messages, must equal the editor's after each of them.
    void editsReachTheServerIntact_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("message");
        QTest::newRow("typed in a line") << "a\nbad one x\nc\n" << 1 << "bad: bad one x";
        QTest::newRow("line inserted above") << "new\na\nbad one x\nc\n" << 2 << "bad: bad one x";
        QTest::newRow("lines joined") << "new\na bad one x\nc\n" << 1 << "bad: a bad one x";
        QTest::newRow("CR LF breaks") << "new\r\na bad two\r\nc\r\n" << 1 << "bad: a bad two";
        QTest::newRow("beyond the BMP") << "new\na \U0001F600bad\U0001F601\nc\n"
                                        << 1 << "bad: a \U0001F600bad\U0001F601";
        QTest::newRow("surrogate replaced") << "new\na \U0001F602bad\U0001F601\nc\n"
                                            << 1 << "bad: a \U0001F602bad\U0001F601";
        QTest::newRow("all deleted but one") << "bad" << 0 << "bad: bad";
        QTest::newRow("emptied") << "" << -1 << "";
    }
    void editsReachTheServerIntact() {
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(QString, message);
        static std::unique_ptr<CLanguageClient> client;
        if (!client) {
            client = MakeClient("ok");
            client->Start();
            QVERIFY(client->OpenDocument(kFile, "a\nb\nc\n"));
            QTRY_VERIFY_WITH_TIMEOUT(client->Model().Diagnostics(kFile).isEmpty() &&
                                         client->State() == CLanguageClient::EState::Ready,
                                     kWait);
        }
        QSignalSpy ended(client.get(), &CLanguageClient::CheckEnded);
        client->ChangeDocument(kFile, text);
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kWait);
        QCOMPARE(client->Model().Checking(), false);
        if (line >= 0) {
            QCOMPARE(MessageOf(*client, line), message);
        } else {
            QVERIFY(client->Model().Diagnostics(kFile).isEmpty());
        }
        if (QByteArray(QTest::currentDataTag()) == "emptied") {
            client.reset();
        }
    }

    // A failure restarts the server once, with the documents opened again at their latest text;
    // a second turns its features off. Each says so in a note.
    void failuresRestartOnceThenTurnOff_data() {
        QTest::addColumn<QString>("modes");
        QTest::addColumn<bool>("changeFirst");
        QTest::addColumn<bool>("off");
        QTest::newRow("death at start") << "die,ok" << false << false;
        QTest::newRow("silence") << "silent,ok" << false << false;
        QTest::newRow("death while editing") << "crash-on-change,ok" << true << false;
        QTest::newRow("death twice") << "die,die,ok" << false << true;
        QTest::newRow("silence, then death") << "silent,die,ok" << false << true;
        QTest::newRow("no such program") << "" << false << true;
    }
    void failuresRestartOnceThenTurnOff() {
        QFETCH(QString, modes);
        QFETCH(bool, changeFirst);
        QFETCH(bool, off);
        std::unique_ptr<CLanguageClient> client = MakeClient(modes);
        if (modes.isEmpty()) {
            SServerCommand missing;
            missing.program = m_dir.filePath("no-such-server");
            client = std::make_unique<CLanguageClient>(missing);
        }
        QSignalSpy notes(client.get(), &CLanguageClient::Note);
        client->Start();
        QVERIFY(client->OpenDocument(kFile, "ok\n"));
        if (changeFirst) {
            QTRY_COMPARE_WITH_TIMEOUT(client->State(), CLanguageClient::EState::Ready, kWait);
            client->ChangeDocument(kFile, "ok\nbad now\n");
        }
        if (off) {
            QTRY_COMPARE_WITH_TIMEOUT(client->State(), CLanguageClient::EState::Off, kWait);
            QCOMPARE(notes.count(), 2);
            QVERIFY2(notes.last().first().toString().contains("off"),
                     qPrintable(notes.last().first().toString()));
            QVERIFY(!client->OpenDocument(kFile + "x", "bad\n"));
            bool answered = false;
            client->Request(
                "test/echo", QJsonObject{},
                [&](const QJsonValue&, const QJsonObject& e) { answered = !e.isEmpty(); });
            QVERIFY(answered);
            return;
        }
        if (changeFirst) {
            QTRY_COMPARE_WITH_TIMEOUT(MessageOf(*client, 1), QString("bad: bad now"), kWait);
        }
        QTRY_COMPARE_WITH_TIMEOUT(client->State(), CLanguageClient::EState::Ready, kWait);
        QCOMPARE(notes.count(), 1);
        QVERIFY2(notes.first().first().toString().contains("started again"),
                 qPrintable(notes.first().first().toString()));
        client->ChangeDocument(kFile, "bad\n");
        QTRY_COMPARE_WITH_TIMEOUT(MessageOf(*client, 0), QString("bad: bad"), kWait);
    }

    // Unreadable messages, an answer to no request and progress of an unknown token are dropped;
    // the connection carries on as if they had not come.
    void garbageIsDroppedAndTheConnectionCarriesOn() {
        std::unique_ptr<CLanguageClient> client = MakeClient("garbage");
        QSignalSpy notes(client.get(), &CLanguageClient::Note);
        client->Start();
        QVERIFY(client->OpenDocument(kFile, "x\nbad\n"));
        QTRY_COMPARE_WITH_TIMEOUT(MessageOf(*client, 1), QString("bad: bad"), kWait);
        QCOMPARE(client->State(), CLanguageClient::EState::Ready);
        QCOMPARE(client->Model().Checking(), false);
        QCOMPARE(notes.count(), 0);
    }

    // A cancelled request's answer, coming late, reaches no handler, and the next request is
    // answered as usual.
    void lateAnswerToACancelledRequestIsDropped() {
        std::unique_ptr<CLanguageClient> client = MakeClient("ok");
        QSignalSpy notes(client.get(), &CLanguageClient::Note);
        client->Start();
        QStringList answers;
        auto record = [&answers](const QJsonValue& result, const QJsonObject&) {
            answers << result.toString();
        };
        const int first =
            client->Request("test/echo", QJsonObject{{"delay", 300}, {"value", "first"}}, record);
        QTRY_COMPARE_WITH_TIMEOUT(client->State(), CLanguageClient::EState::Ready, kWait);
        QTest::qWait(50); // the request is at the server before it is cancelled
        client->Cancel(first);
        client->Request("test/echo", QJsonObject{{"delay", 0}, {"value", "second"}}, record);
        QTRY_COMPARE_WITH_TIMEOUT(answers, QStringList{"second"}, kWait);
        QCOMPARE(notes.count(), 0);
    }

    void staleDiagnosticsAreDropped() {
        CDiagnosticsModel model;
        QSignalSpy changed(&model, &CDiagnosticsModel::DiagnosticsChanged);
        SDiagnostic one;
        one.message = "one";
        SDiagnostic two;
        two.message = "two";
        model.SetSentVersion(kFile, 3);
        QVERIFY(!model.Publish(kFile, 2, {one}));
        QVERIFY(model.Publish(kFile, 3, {one}));
        QVERIFY(!model.Publish(kFile, 2, {two}));
        QVERIFY(model.Publish(kFile, -1, {two}));
        QCOMPARE(model.Diagnostics(kFile), QList<SDiagnostic>{two});
        QCOMPARE(changed.count(), 2);
    }

    void largeFilesAreNotSent() {
        std::unique_ptr<CLanguageClient> client = MakeClient("ok");
        QSignalSpy notes(client.get(), &CLanguageClient::Note);
        client->Start();
        const QString large(CLanguageClient::kMaxDocumentBytes + 1, 'x');
        QVERIFY(!client->OpenDocument(kFile, large));
        QVERIFY(!client->IsOpen(kFile));
        QVERIFY(client->OpenDocument(kFile, "small"));
        client->ChangeDocument(kFile, large);
        QVERIFY(!client->IsOpen(kFile));
        QCOMPARE(notes.count(), 2);
        QVERIFY(notes.first().first().toString().contains("2 MB"));
    }
};

} // namespace

} // namespace tovin

QTEST_GUILESS_MAIN(tovin::CClientTest)
#include "LanguageClientTest.moc"
