// tovin --check and --language-server run as a script would run them, on a fake language
// server named by the "Java language server command" setting (the real engine's answers are
// compared with javac's in the end-to-end tests).

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "RunTovin.h"

using tovin::test::RunTovin;
using tovin::test::SRunResult;

class CheckOptionTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    QString Settings(const QString& server) {
        const QString path = m_dir.filePath(QStringLiteral("Tovin.conf"));
        QFile::remove(path);
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(QStringLiteral("OPTIONS/LANGSERVER"), server);
        settings.setValue(QStringLiteral("PATHS/JAVABIN"), m_dir.filePath("no-jdk"));
        return path;
    }
    QString FakeServer() const {
        return QStringLiteral("\"%1\" \"%2\" ok")
            .arg(QStringLiteral(TOVIN_FAKE_SERVER), m_dir.filePath(QStringLiteral("starts")));
    }
    QString Write(const QString& name, const QByteArray& text) {
        QFile file(m_dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(text);
        return file.fileName();
    }

private slots:
    void printsDiagnosticsAndFailsOnErrors_data() {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QByteArray>("printed");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("error and warning")
            << QByteArray("class A {\r\n  bad one\r\n\tbad warn\r\n}\r\n")
            << QByteArray("A.java:2: error: bad:   bad one\n  bad one\n  ^\n"
                          "A.java:3: warning: bad: \tbad warn\n\tbad warn\n\t^\n"
                          "1 error\n1 warning\n")
            << 1;
        QTest::newRow("warnings only")
            << QByteArray("class A { /* bad warn */ }\n")
            << QByteArray("A.java:1: warning: bad: class A { /* bad warn */ }\n"
                          "class A { /* bad warn */ }\n"
                          "             ^\n1 warning\n")
            << 0;
        QTest::newRow("clean") << QByteArray("class A {}\n") << QByteArray() << 0;
    }
    void printsDiagnosticsAndFailsOnErrors() {
        QFETCH(QByteArray, source);
        QFETCH(QByteArray, printed);
        QFETCH(int, exitCode);
        const QString file = Write(QStringLiteral("A.java"), source);
        QDir::setCurrent(m_dir.path());
        const SRunResult result =
            RunTovin({"--check", "A.java", "--settings", Settings(FakeServer())});
        QCOMPARE(result.out, printed);
        QCOMPARE(result.exitCode, exitCode);
    }

    void withoutAJdkNothingRunsAndTheReasonIsGiven() {
        const QString file = Write(QStringLiteral("B.java"), "class B {}\n");
        const SRunResult result = RunTovin({"--check", file, "--settings", Settings(QString())});
        QCOMPARE(result.exitCode, 3);
        QVERIFY2(result.err.contains("needs a JDK"), result.err.constData());
        QCOMPARE(result.out, QByteArray());
    }

    // The server speaks to tovin's own caller: what goes in reaches it, its answers come out.
    void languageServerPassesTheStreamsThrough() {
        const QByteArray body = R"({"jsonrpc":"2.0","id":7,"method":"initialize","params":{}})";
        const QByteArray exit = R"({"jsonrpc":"2.0","method":"exit"})";
        const SRunResult result =
            RunTovin({"--language-server", "--settings", Settings(FakeServer())},
                     "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body +
                         "Content-Length: " + QByteArray::number(exit.size()) + "\r\n\r\n" + exit);
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.out.startsWith("Content-Length: ") && result.out.contains("\"id\":7") &&
                     result.out.contains("capabilities"),
                 result.out.constData());
    }
};

QTEST_GUILESS_MAIN(CheckOptionTest)
#include "CheckOptionTest.moc"
