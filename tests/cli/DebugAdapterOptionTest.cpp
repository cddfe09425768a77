// The tovin executable's --debug-adapter option, run as a client of the debug protocol runs it:
// the JDK the settings name, the engine's jar found in the data folder, the protocol on the
// process's own standard input and output.

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class DebugAdapterOptionTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    QString WriteSettings(const QString& name, const QString& javaBin) {
        QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            return {};
        }
        file.write(QStringLiteral("[PATHS]\nJAVABIN=%1\n").arg(javaBin).toUtf8());
        return path;
    }

    // A process of tovin with the data folder given (where the engine's jar is looked for).
    static void Start(QProcess& process, const QString& settings, const QString& dataFolder) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TOVIN_DATA_DIR"), dataFolder);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TOVIN_EXECUTABLE),
                      {QStringLiteral("--debug-adapter"), QStringLiteral("--settings"), settings});
    }

private slots:
    void servesTheProtocolOnItsStandardStreams() {
#ifndef TOVIN_DEBUG_ADAPTER_JAR
        QSKIP("no JDK 17 at build time: the adapter is not built");
#else
        // The engine's jar where an installation keeps it, in a data folder of the test's own.
        QString data = m_dir.filePath(QStringLiteral("data"));
        QVERIFY(QDir().mkpath(data + QStringLiteral("/engine")));
        QVERIFY(QFile::copy(QStringLiteral(TOVIN_DEBUG_ADAPTER_JAR),
                            data + QStringLiteral("/engine/tovin-engine.jar")));

        QProcess adapter;
        Start(adapter, WriteSettings(QStringLiteral("jdk.conf"), QStringLiteral(TOVIN_TEST_JDK)),
              data);
        QVERIFY(adapter.waitForStarted(30000));
        QByteArray body = R"({"seq":1,"type":"request","command":"initialize",)"
                          R"("arguments":{"adapterID":"test"}})";
        adapter.write("Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        // One whole message: its header, then as many bytes as the header says.
        auto complete = [](const QByteArray& r) {
            const qsizetype end = r.indexOf("\r\n\r\n");
            return end >= 0 && r.size() >= end + 4 + r.mid(16, end - 16).trimmed().toLongLong();
        };
        QByteArray received;
        while (!complete(received)) {
            QVERIFY2(adapter.waitForReadyRead(60000), adapter.readAllStandardError().constData());
            received += adapter.readAllStandardOutput();
        }
        QVERIFY(received.startsWith("Content-Length: "));
        QJsonObject answer =
            QJsonDocument::fromJson(received.mid(received.indexOf("\r\n\r\n") + 4)).object();
        QCOMPARE(answer.value(QStringLiteral("command")).toString(), QStringLiteral("initialize"));
        QVERIFY(answer.value(QStringLiteral("success")).toBool());
        QVERIFY(answer.value(QStringLiteral("body"))
                    .toObject()
                    .value(QStringLiteral("supportsConfigurationDoneRequest"))
                    .toBool());
        // The client going away ends the adapter.
        adapter.closeWriteChannel();
        QVERIFY(adapter.waitForFinished(60000));
        QCOMPARE(adapter.exitStatus(), QProcess::NormalExit);
        QCOMPARE(adapter.exitCode(), 0);
#endif
    }

    void saysWhyItCannotStart_data() {
        QTest::addColumn<QString>("javaBin");
        QTest::addColumn<bool>("withJar");
        QTest::addColumn<QString>("message");
        QTest::newRow("no jar") << QStringLiteral("/usr") << false
                                << QStringLiteral("engine/tovin-engine.jar is missing");
        QTest::newRow("no JDK set") << QString() << true << QStringLiteral("no JDK is set");
        QTest::newRow("no java in the JDK")
            << m_dir.filePath(QStringLiteral("empty")) << true << QStringLiteral("cannot run");
    }

    void saysWhyItCannotStart() {
        QFETCH(QString, javaBin);
        QFETCH(bool, withJar);
        QFETCH(QString, message);
        QString data = m_dir.filePath(withJar ? QStringLiteral("fake") : QStringLiteral("none"));
        QVERIFY(QDir().mkpath(data + QStringLiteral("/engine")));
        if (withJar) {
            QFile jar(data + QStringLiteral("/engine/tovin-engine.jar"));
            QVERIFY(jar.open(QIODevice::WriteOnly));
        }
        QProcess adapter;
        Start(adapter, WriteSettings(QStringLiteral("bad.conf"), javaBin), data);
        QVERIFY(adapter.waitForFinished(30000));
        QCOMPARE(adapter.exitCode(), 3);
        QByteArray err = adapter.readAllStandardError();
        QVERIFY2(err.contains(message.toUtf8()), err.constData());
        QCOMPARE(adapter.readAllStandardOutput(), QByteArray());
    }
};

QTEST_MAIN(DebugAdapterOptionTest)
#include "DebugAdapterOptionTest.moc"
