// Files through real editor documents and views: byte-identical round trips of LF, CR LF, CR,
// mixed and Latin-1 files, Convert Linebreaks, refused binary files, failed reads and writes,
// read-only files, changes by another program, and a second window on the same document.

#include "EditorTestSupport.h"
#include "ReadOnlyFile.h"
#include "gui/editor/LiveHTMLView.h"
#include "gui/editor/SyntaxWindowView.h"

#include <QKeyEvent>
#include <QSignalSpy>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace tovin;
using namespace tovin::test;

namespace {

using Window = SEditorWindow<CSyntaxWindowDoc, CSyntaxWindowView>;

// Types characters a key of its own gives (a euro sign, an arrow), one key event each.
void TypeCharacters(QWidget& widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&widget, &release);
    }
}
using HtmlWindow = SEditorWindow<CLiveEditorDoc, CLiveHTMLView>;

} // namespace

class EditorFileTest : public QObject {
    Q_OBJECT

private slots:
    void untouchedFilesSaveByteIdentical_data();
    void untouchedFilesSaveByteIdentical();
    void editedFilesKeepTheirLineEnds_data();
    void editedFilesKeepTheirLineEnds();
    void eightBitFileTakesTypedCharactersItCannotHoldOnlyAsUtf8();
    void convertLinebreaksMakesTheFileCrLf();
    void binaryFileIsRefused();
    void unreadableFileSaysWhy();
    void failedSaveKeepsTheOldFileAndTheChanges();
    void readOnlyFileOpensReadOnly();
    void changeOnDiskAsksToReload();
    void secondWindowSharesTheText();
};

void EditorFileTest::untouchedFilesSaveByteIdentical_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("LF") << QByteArray("class A {\n\tint a;\n}\n");
    QTest::newRow("CR LF") << QByteArray("class A {\r\n\tint a;\r\n}\r\n");
    QTest::newRow("CR") << QByteArray("class A {\r\tint a;\r}\r");
    QTest::newRow("mixed") << QByteArray("class A {\r\n\tint a;\n}\r");
    QTest::newRow("Latin-1") << QByteArray("// caf\xE9 \xA9 na\xEFve\nclass A {}\n");
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF// \xC3\xA9\nclass A {}");
    QTest::newRow("no final break") << QByteArray("class A {}");
}

void EditorFileTest::untouchedFilesSaveByteIdentical() {
    QFETCH(QByteArray, bytes);
    SEditorFixture f;
    const std::string original(bytes.constData(), static_cast<size_t>(bytes.size()));
    Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("A.java", original);
    QVERIFY(w.view);
    QVERIFY(!w.Doc().IsModified());
    // Colouring, moving about and refreshing the function list change no byte.
    QTest::keyClick(&w.View(), Qt::Key_Down);
    w.View().OnSyntaxColourUpdate();
    w.View().OnRefreshFunctionList();
    QVERIFY(!w.Doc().IsModified());
    const std::string copy = f.dir.File("Copy.java");
    QVERIFY(w.Doc().OnSaveDocument(copy));
    QCOMPARE(ReadFile(copy), original);
    QVERIFY(w.Doc().OnSaveDocument(w.Doc().PathName()));
    QCOMPARE(ReadFile(w.Doc().PathName()), original);
}

void EditorFileTest::editedFilesKeepTheirLineEnds_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("LF") << QByteArray("a\nb\n") << QByteArray("x\na\nb\n");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QByteArray("x\r\na\r\nb\r\n");
    QTest::newRow("CR") << QByteArray("a\rb\r") << QByteArray("x\ra\rb\r");
    QTest::newRow("mixed, mostly LF") << QByteArray("a\nb\nc\r\n") << QByteArray("x\na\nb\nc\n");
    QTest::newRow("Latin-1") << QByteArray("\xE9\n") << QByteArray("x\n\xE9\n");
}

void EditorFileTest::editedFilesKeepTheirLineEnds() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);
    SEditorFixture f;
    Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>(
        "A.java", std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
    QTest::keyClicks(&w.View(), "x");
    QTest::keyClick(&w.View(), Qt::Key_Return);
    QVERIFY(w.Doc().IsModified());
    QVERIFY(w.Doc().OnSaveDocument(w.Doc().PathName()));
    QVERIFY(!w.Doc().IsModified());
    QCOMPARE(QByteArray::fromStdString(ReadFile(w.Doc().PathName())), expected);
}

// Typing into a Latin-1 file: a character Latin-1 holds is saved in 8 bits without a word; one it
// cannot hold (the euro sign, an arrow) is never written as '?': the save names it and offers
// UTF-8, and Cancel writes nothing.
void EditorFileTest::eightBitFileTakesTypedCharactersItCannotHoldOnlyAsUtf8() {
    SEditorFixture f;
    Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("A.java", "// caf\xE9\n");
    const std::string path = w.Doc().PathName();
    TypeCharacters(w.View(), QString::fromUtf8("\xC3\xBC"));
    QVERIFY(w.Doc().OnSaveDocument(path));
    QCOMPARE(ReadFile(path), std::string("\xFC// caf\xE9\n"));
    QVERIFY(f.host.messages.empty());

    TypeCharacters(w.View(), QString::fromUtf8("\xE2\x82\xAC\xE2\x86\x92"));
    f.host.messageAnswers = {EMsgAnswer::Cancel};
    QVERIFY(!w.Doc().OnSaveDocument(path));
    QCOMPARE(ReadFile(path), std::string("\xFC// caf\xE9\n"));
    QVERIFY(w.Doc().IsModified());
    QCOMPARE(f.host.messages.size(), size_t(1));
    QVERIFY2(f.host.messages[0].text.find("\xE2\x82\xAC \xE2\x86\x92") != std::string::npos,
             f.host.messages[0].text.c_str());
    QCOMPARE(f.host.messages[0].buttons, EMsgButtons::OkCancel);

    f.host.messageAnswers = {EMsgAnswer::Ok};
    QVERIFY(w.Doc().OnSaveDocument(path));
    QCOMPARE(ReadFile(path), std::string("\xC3\xBC\xE2\x82\xAC\xE2\x86\x92// caf\xC3\xA9\n"));
    // Saved as UTF-8 from now on: no more questions.
    TypeCharacters(w.View(), QString::fromUtf8("\xE2\x82\xAC"));
    QVERIFY(w.Doc().OnSaveDocument(path));
    QCOMPARE(f.host.messages.size(), size_t(2));
}

void EditorFileTest::convertLinebreaksMakesTheFileCrLf() {
    SEditorFixture f;
    HtmlWindow w =
        f.OpenText<CLiveEditorDoc, CLiveHTMLView>("a.html", "<p>\n<b>\r<i>\n", EDocumentKind::Html);
    w.View().OnConvertLinebreaks();
    QVERIFY(w.Doc().IsModified());
    QVERIFY(w.Doc().OnSaveDocument(w.Doc().PathName()));
    QCOMPARE(ReadFile(w.Doc().PathName()), std::string("<p>\r\n<b>\r\n<i>\r\n"));
    QCOMPARE(ClassDump(w.View(), 0, 3), std::string("tkt"));
}

void EditorFileTest::binaryFileIsRefused() {
    SEditorFixture f;
    const std::string path = f.dir.Write("A.class", std::string("\xCA\xFE\xBA\xBE\0\0\0\x3D", 8));
    Window w = f.OpenJava<CSyntaxWindowView>(path);
    QVERIFY(!w.document);
    QCOMPARE(f.host.messages.size(), size_t(1));
    QVERIFY(f.host.messages[0].text.find("binary") != std::string::npos);
    QCOMPARE(f.host.messages[0].icon, EMsgIcon::Error);
}

void EditorFileTest::unreadableFileSaysWhy() {
    SEditorFixture f;
    Window w = f.OpenJava<CSyntaxWindowView>(f.dir.File("Missing.java"));
    QVERIFY(!w.document);
    QCOMPARE(f.host.messages.size(), size_t(1));
    QVERIFY(f.host.messages[0].text.find("No such file") != std::string::npos);
}

void EditorFileTest::failedSaveKeepsTheOldFileAndTheChanges() {
    SEditorFixture f;
    Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("A.java", "old\n");
    QTest::keyClicks(&w.View(), "new ");
    // A folder in the way makes the write fail whoever runs the test.
    const std::string blocked = f.dir.File("Blocked.java");
    std::filesystem::create_directories(blocked + "/inside");
    QVERIFY(!w.Doc().OnSaveDocument(blocked));
    QCOMPARE(f.host.messages.size(), size_t(1));
    QVERIFY(f.host.messages[0].text.find("Cannot save") != std::string::npos);
    QVERIFY(w.Doc().IsModified());
    QCOMPARE(w.Doc().PathName(), f.dir.File("A.java"));
    QCOMPARE(ReadFile(f.dir.File("A.java")), std::string("old\n"));
}

void EditorFileTest::readOnlyFileOpensReadOnly() {
    SEditorFixture f;
    const std::string path = f.dir.Write("R.java", "class R {}\n");
    CReadOnlyFile readOnly(path);
    if (!readOnly.Works()) {
        QSKIP("the file cannot be made read-only for this user");
    }
    Window w = f.OpenJava<CSyntaxWindowView>(path);
    QVERIFY(w.View().IsReadOnly());
    QTest::keyClicks(&w.View(), "x");
    QTest::keyClick(&w.View(), Qt::Key_Tab);
    QTest::keyClick(&w.View(), Qt::Key_Return);
    w.View().OnConvertTabsToSpaces();
    QCOMPARE(w.View().GetText(), std::string("class R {}\r\n"));
    QVERIFY(!w.Doc().IsModified());
}

void EditorFileTest::changeOnDiskAsksToReload() {
    SEditorFixture f;
    Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("A.java", "int a;\n");
    w.Doc().CheckDiskChange(); // unchanged: nothing asked
    QVERIFY(f.host.messages.empty());

    f.dir.Write("A.java", "int b;\r\n");
    f.host.messageAnswers.push_back(EMsgAnswer::No);
    w.Doc().CheckDiskChange();
    QCOMPARE(f.host.messages.size(), size_t(1));
    QVERIFY(f.host.messages[0].text.find("changed by another program") != std::string::npos);
    QCOMPARE(w.View().GetText(), std::string("int a;\r\n"));
    // The kept text is not the file's: it counts as a change to save.
    QVERIFY(w.Doc().IsModified());
    w.Doc().CheckDiskChange(); // the same change is asked about once
    QCOMPARE(f.host.messages.size(), size_t(1));

    f.dir.Write("A.java", "long c;\r\n");
    f.host.messageAnswers.push_back(EMsgAnswer::Yes);
    // Activating the window checks the file.
    w.View().clearFocus();
    w.View().activateWindow();
    w.View().setFocus();
    QTRY_COMPARE(f.host.messages.size(), size_t(2));
    QCOMPARE(w.View().GetText(), std::string("long c;\r\n"));
    QCOMPARE(ClassDump(w.View(), 0, 4), std::string("kkkk"));
    QVERIFY(!w.Doc().IsModified());
    QVERIFY(w.Doc().OnSaveDocument(w.Doc().PathName()));
    QCOMPARE(ReadFile(w.Doc().PathName()), std::string("long c;\r\n"));

    std::filesystem::remove(w.Doc().PathName());
    w.Doc().CheckDiskChange(); // removed: closing will ask to save
    QVERIFY(w.Doc().IsModified());
    QCOMPARE(f.host.messages.size(), size_t(2));
}

void EditorFileTest::secondWindowSharesTheText() {
    SEditorFixture f;
    Window w = f.OpenText<CSyntaxWindowDoc, CSyntaxWindowView>("A.java", "int a;\n");
    auto second = std::make_unique<CSyntaxWindowView>(w.Doc(), nullptr);
    second->show();
    second->OnInitialUpdate();
    QCOMPARE(second->GetText(), std::string("int a;\r\n"));
    QCOMPARE(ClassDump(*second, 0, 3), std::string("kkk"));
    QTest::keyClicks(second.get(), "long ");
    QCOMPARE(w.View().GetText(), std::string("long int a;\r\n"));
    QCOMPARE(ClassDump(w.View(), 0, 4), std::string("kkkk"));
    QVERIFY(w.Doc().IsModified());
    // Closing the second window keeps the document as it is.
    second.reset();
    QVERIFY(w.Doc().IsModified());
    QVERIFY(w.Doc().OnSaveDocument(w.Doc().PathName()));
    QCOMPARE(ReadFile(w.Doc().PathName()), std::string("long int a;\n"));
}

QTEST_MAIN(EditorFileTest)
#include "EditorFileTest.moc"
