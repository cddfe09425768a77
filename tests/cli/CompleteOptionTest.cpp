// tovin --complete run as a script would run it, with the real Java engine: the lines it prints
// for a place in a file, and the messages and exit codes of places and files that are wrong.

#include <QTemporaryDir>
#include <QtTest>

#include "RunTovin.h"

using tovin::test::RunTovin;
using tovin::test::SRunResult;

class CompleteOptionTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    QString Write(const QString& name, const QByteArray& text) {
        QFile file(m_dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(text);
        return file.fileName();
    }
    SRunResult Run(const QStringList& arguments) {
        return RunTovin(QStringList{"--settings", m_dir.filePath("Tovin.conf")} + arguments);
    }

private slots:
    void printsTheListOrSaysWhatIsWrong_data() {
        QTest::addColumn<QString>("place");
        QTest::addColumn<int>("exitCode");
        // Lines that must be printed (whole lines), and a text the error must hold.
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("error");
        // Line 4 is a tab and "ä".le; column 7 follows "le", counted in characters (not bytes).
        QTest::newRow("members after a dot, filtered")
            << "A.java:4:7" << 0 << QStringList{"length()\tmethod\tint"} << QString();
        QTest::newRow("members of a generic type")
            << "A.java:6:15" << 0
            << QStringList{"add(String e)\tmethod\tboolean", "size()\tmethod\tint",
                           "equals(Object o)\tmethod\tboolean"}
            << QString();
        QTest::newRow("a type to import")
            << "A.java:5:10" << 0 << QStringList{"ArrayDeque\tclass\tjava.util.ArrayDeque"}
            << QString();
        QTest::newRow("line past the end")
            << "A.java:40:1" << 2 << QStringList() << "has 9 lines; there is no line 40";
        QTest::newRow("column past the line's end")
            << "A.java:4:10" << 2 << QStringList() << "has 8 characters; there is no column 10";
        QTest::newRow("no column") << "A.java:4" << 2 << QStringList() << "needs FILE:LINE:COLUMN";
        QTest::newRow("column zero")
            << "A.java:4:0" << 2 << QStringList() << "needs FILE:LINE:COLUMN";
        QTest::newRow("missing file")
            << "Missing.java:1:1" << 3 << QStringList() << "Missing.java does not exist";
    }
    void printsTheListOrSaysWhatIsWrong() {
        QFETCH(QString, place);
        QFETCH(int, exitCode);
        QFETCH(QStringList, lines);
        QFETCH(QString, error);
        Write("A.java", "import java.util.List;\n"
                        "class A {\n"
                        "    void f(String s, List<String> names) {\n"
                        "\t\"\u00e4\".le;\n"
                        "  ArrayDe;\n"
                        "        names.\n"
                        "    }\n"
                        "}\n");
        QDir::setCurrent(m_dir.path());
        const SRunResult result = Run({"--complete", place});
        QVERIFY2(result.exitCode == exitCode, result.err.constData());
        const QStringList printed = QString::fromUtf8(result.out).split('\n', Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            QVERIFY2(printed.contains(line), qPrintable(line + " not in:\n" + printed.join('\n')));
        }
        if (exitCode != 0) {
            QVERIFY(printed.isEmpty());
            QVERIFY2(QString::fromUtf8(result.err).contains(error), result.err.constData());
        }
    }

    // Every line is label, kind and detail; the kinds are words.
    void everyLineHasThreeFields() {
        Write("B.java",
              "class B { void f() { java.util.Map.Entry<String, Integer> e = null; e. } }\n");
        QDir::setCurrent(m_dir.path());
        const SRunResult result = Run({"--complete", "B.java:1:72"});
        QCOMPARE(result.exitCode, 0);
        const QStringList printed = QString::fromUtf8(result.out).split('\n', Qt::SkipEmptyParts);
        QVERIFY(printed.contains("getKey()\tmethod\tString"));
        for (const QString& line : printed) {
            const QStringList fields = line.split('\t');
            QCOMPARE(fields.size(), 3);
            QVERIFY2(!fields[1].isEmpty() && fields[1].front().isLower(), qPrintable(line));
        }
    }
};

QTEST_GUILESS_MAIN(CompleteOptionTest)
#include "CompleteOptionTest.moc"
