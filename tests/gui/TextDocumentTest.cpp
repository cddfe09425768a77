// Source files keep their bytes: line ends and encoding survive opening and saving.

#include "app/TextDocument.h"
#include "ShellTestSupport.h"

#include <QTextCursor>
#include <QTextDocument>

using namespace tovin;
using namespace tovin::test;

namespace {

CTextDocument* OpenText(CShellFixture& shell, const std::string& name, const std::string& bytes) {
    return static_cast<CTextDocument*>(shell.app->OpenDocumentFile(shell.dir.Write(name, bytes)));
}

} // namespace

class TextDocumentTest : public QObject {
    Q_OBJECT
private slots:
    void unchangedSaveWritesTheSameBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("LF") << QByteArray("a\nb\n");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n");
        QTest::newRow("CR") << QByteArray("a\rb\r");
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc\r\nd");
        QTest::newRow("8-bit bytes") << QByteArray("caf\xe9\n\xff\x80\n");
        QTest::newRow("UTF-8") << QByteArray("gr\xc3\xbc\xc3\x9f\n");
        QTest::newRow("empty") << QByteArray();
    }
    void unchangedSaveWritesTheSameBytes() {
        QFETCH(QByteArray, bytes);
        CShellFixture shell;
        shell.Start();
        CTextDocument* document = OpenText(shell, "A.java", bytes.toStdString());
        QVERIFY(document);
        QVERIFY(!document->IsModified());
        QVERIFY(document->DoFileSave());
        QCOMPARE(QByteArray::fromStdString(ReadFile(shell.dir.File("A.java"))), bytes);
    }

    void editedFileKeepsItsLineEndAndEncoding_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QByteArray("//\r\na\r\nb\r\n");
        QTest::newRow("mostly LF") << QByteArray("a\nb\r\nc\n") << QByteArray("//\na\nb\nc\n");
        QTest::newRow("8-bit") << QByteArray("\xe9\r") << QByteArray("//\r\xe9\r");
    }
    void editedFileKeepsItsLineEndAndEncoding() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, saved);
        CShellFixture shell;
        shell.Start();
        CTextDocument* document = OpenText(shell, "A.java", bytes.toStdString());
        QTextCursor(document->TextDocument()).insertText("//\n");
        QVERIFY(document->IsModified());
        QVERIFY(document->DoFileSave());
        QVERIFY(!document->IsModified());
        QCOMPARE(QByteArray::fromStdString(ReadFile(shell.dir.File("A.java"))), saved);
    }

    void characterAn8BitFileCannotHoldIsRefused() {
        CShellFixture shell;
        shell.Start();
        CTextDocument* document = OpenText(shell, "A.java", "\xe9\n");
        QTextCursor(document->TextDocument()).insertText(QString::fromUtf8("\u20ac"));
        QVERIFY(!document->DoFileSave());
        QCOMPARE(ReadFile(shell.dir.File("A.java")), std::string("\xe9\n"));
        QCOMPARE(shell.host.messages.size(), size_t(1));
        QVERIFY(document->IsModified());
    }

    void failedWriteKeepsWhatIsThereAndSaysSo() {
        CShellFixture shell;
        shell.Start();
        CTextDocument* document = OpenText(shell, "A.java", "old\n");
        QTextCursor(document->TextDocument()).insertText("new ");
        // Saving over a folder fails at the last step, after the new text was written aside.
        const std::string folder = shell.dir.File("taken");
        shell.dir.Write("taken/inside.txt", "kept");
        QVERIFY(!document->DoSave(folder));
        QCOMPARE(ReadFile(shell.dir.File("taken/inside.txt")), std::string("kept"));
        QCOMPARE(ReadFile(shell.dir.File("A.java")), std::string("old\n"));
        QCOMPARE(shell.host.messages.size(), size_t(1));
        QVERIFY(shell.host.messages[0].text.find("not changed") != std::string::npos);
        QVERIFY(document->IsModified());
        QCOMPARE(document->PathName(), shell.dir.File("A.java"));
    }

    void closingAModifiedWindowAsksAndNoDiscards() {
        CShellFixture shell;
        shell.Start();
        CTextDocument* document = OpenText(shell, "A.java", "a\n");
        QTextCursor(document->TextDocument()).insertText("x");
        shell.host.messageAnswers = {EMsgAnswer::No};
        QVERIFY(shell.Frame().ActiveFrame()->close());
        QCOMPARE(shell.host.MessageTexts(), std::vector<std::string>{"Save changes to A.java?"});
        QCOMPARE(shell.host.messages[0].buttons, EMsgButtons::YesNoCancel);
        QCOMPARE(ReadFile(shell.dir.File("A.java")), std::string("a\n"));
        QVERIFY(shell.Frame().DocumentFrames().empty());
    }

    void binaryFileOpensWithoutLoss() {
        CShellFixture shell;
        shell.Start();
        std::string bytes("\x00\x01\x02\xff\r\n\x00", 7);
        CTextDocument* document = OpenText(shell, "data.java", bytes);
        QVERIFY(document);
        QCOMPARE(document->EncodedText(), bytes);
    }
};

QTEST_MAIN(TextDocumentTest)
#include "TextDocumentTest.moc"
