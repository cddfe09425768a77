// The tovin executable's --highlight option, run as a user or script would run it.

#include <QTemporaryDir>
#include <QtTest>

#include "RunTovin.h"

using tovin::test::RunTovin;
using tovin::test::SRunResult;

class HighlightOptionTest : public QObject {
    Q_OBJECT
private slots:
    void printsRunsOfAJavaFile() {
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("A.java"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("class A { /* c */ }\n");
        file.close();
        SRunResult result =
            RunTovin({QStringLiteral("--highlight"), QStringLiteral("--runs"), path});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray("0\t5\tkeyword\n5\t10\tnormal\n10\t17\tcomment\n"
                                        "17\t21\tnormal\n"));
        QCOMPARE(result.err, QByteArray());
    }

    void printsColouredText() {
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("b.xml"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<jar/>");
        file.close();
        SRunResult result = RunTovin({QStringLiteral("--highlight"), path});
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.out.contains("jar") && result.out.contains("\x1b[38;2;"),
                 result.out.constData());
    }

    void unreadableFileFailsWithAMessage() {
        SRunResult result =
            RunTovin({QStringLiteral("--highlight"), QStringLiteral("/no/such/A.java")});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains("cannot read /no/such/A.java"), result.err.constData());
        QCOMPARE(result.out, QByteArray());
    }

    void helpNamesTheOption() {
        SRunResult result = RunTovin({QStringLiteral("--help")});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains("--highlight [--runs] FILE"));
    }
};

QTEST_MAIN(HighlightOptionTest)
#include "HighlightOptionTest.moc"
