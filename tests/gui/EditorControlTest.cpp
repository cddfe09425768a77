// The QScintilla editor control as the editors' algorithms see it: CR LF text, byte positions,
// token classes as coloured styles, the modified flag, 8-bit text, printing.

#include "core/app/Settings.h"
#include "gui/editor/ScintillaEdit.h"

#include "TempDir.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <Qsci/qsciprinter.h>

using namespace tovin;

class EditorControlTest : public QObject {
    Q_OBJECT

private slots:
    void typedEnterInsertsCrLf();
    void pastedLineFeedsBecomeCrLf();
    void linePositionsCountABreakAsTwo();
    void classesAreStylesInTheSettingsColours();
    void colouringKeepsSelectionAndScrollPosition();
    void appearanceComesFromTheSettings();
    void missingFontFallsBackToMonospace();
    void eightBitTextKeepsItsBytes();
    void utf8PositionsAreBytes();
    void modifiedFlagCanBeSetWithoutAnEdit();
    void undoIsMultiLevel();
    void readOnlyControlRefusesEdits();
    void printsToPdf();
};

void EditorControlTest::typedEnterInsertsCrLf() {
    CScintillaEdit edit;
    edit.show();
    QTest::keyClicks(&edit, "ab");
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, "c");
    QCOMPARE(edit.GetText(), std::string("ab\r\nc"));
}

void EditorControlTest::pastedLineFeedsBecomeCrLf() {
    CScintillaEdit edit;
    QApplication::clipboard()->setText(QStringLiteral("x\ny\rz"));
    edit.paste();
    QCOMPARE(edit.GetText(), std::string("x\r\ny\r\nz"));
}

void EditorControlTest::linePositionsCountABreakAsTwo() {
    CScintillaEdit edit;
    edit.LoadText("ab\r\ncd\r\n");
    QCOMPARE(edit.GetLineCount(), 3);
    QCOMPARE(edit.LineIndex(0), 0);
    QCOMPARE(edit.LineIndex(1), 4);
    QCOMPARE(edit.LineIndex(2), 8);
    QCOMPARE(edit.LineIndex(3), -1);
    QCOMPARE(edit.LineFromChar(3), 0);
    QCOMPARE(edit.LineFromChar(4), 1);
    QCOMPARE(edit.LineFromChar(99), 2);
    edit.SetSel(1, -1);
    QCOMPARE(edit.GetSelText(), std::string("b\r\ncd\r\n"));
    edit.ReplaceSel("X");
    QCOMPARE(edit.GetText(), std::string("aX"));
    int start = 0, end = 0;
    edit.GetSel(start, end);
    QCOMPARE(start, 2);
    QCOMPARE(end, 2);
}

void EditorControlTest::classesAreStylesInTheSettingsColours() {
    CSettings settings;
    settings.keyColor = 0x00112233;
    settings.commentColor = 0x00445566;
    settings.stringColor = 0x00778899;
    settings.tagColor = 0x00AABBCC;
    CScintillaEdit edit;
    edit.ApplyAppearance(SEditorAppearance::FromSettings(settings));
    edit.LoadText("int x; // c");
    edit.SetRangeClass(0, 3, ETokenClass::Keyword);
    edit.SetRangeClass(7, 11, ETokenClass::Comment);
    QCOMPARE(edit.GetClassAt(0), ETokenClass::Keyword);
    QCOMPARE(edit.GetClassAt(3), ETokenClass::Normal);
    QCOMPARE(edit.GetClassAt(10), ETokenClass::Comment);
    QCOMPARE(edit.GetClassAt(11), ETokenClass::Normal); // past the end
    QVERIFY(edit.IsRangeClass(0, 3, ETokenClass::Keyword));
    QVERIFY(!edit.IsRangeClass(0, 4, ETokenClass::Keyword));
    const std::pair<ETokenClass, long> colours[] = {
        {ETokenClass::Keyword, 0x112233},
        {ETokenClass::Comment, 0x445566},
        {ETokenClass::String, 0x778899},
        {ETokenClass::Tag, 0xAABBCC},
        {ETokenClass::Normal,
         static_cast<long>(ColourReference(QApplication::palette().color(QPalette::WindowText)))},
    };
    for (const auto& [cls, colour] : colours) {
        QCOMPARE(edit.Send(QsciScintillaBase::SCI_STYLEGETFORE,
                           static_cast<unsigned long>(StyleOfClass(cls))),
                 colour);
    }
}

void EditorControlTest::colouringKeepsSelectionAndScrollPosition() {
    CScintillaEdit edit;
    edit.resize(300, 100);
    edit.show();
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += "line " + std::to_string(i) + "\r\n";
    }
    edit.LoadText(text);
    edit.SetSel(500, 520);
    edit.SetFirstVisibleLine(40);
    edit.SetRangeClass(0, edit.GetLength(), ETokenClass::String);
    int start = 0, end = 0;
    edit.GetSel(start, end);
    QCOMPARE(start, 500);
    QCOMPARE(end, 520);
    QCOMPARE(edit.GetFirstVisibleLine(), 40);
    QVERIFY(!edit.GetModify());
}

void EditorControlTest::appearanceComesFromTheSettings() {
    CSettings settings;
    settings.tabWidth = 7;
    settings.fontSize = 125;
    CScintillaEdit edit;
    edit.ApplyAppearance(SEditorAppearance::FromSettings(settings));
    using Sci = QsciScintillaBase;
    QCOMPARE(edit.Send(Sci::SCI_GETTABWIDTH), 7L);
    QCOMPARE(edit.Send(Sci::SCI_STYLEGETSIZEFRACTIONAL, Sci::STYLE_DEFAULT), 1250L);
    QCOMPARE(edit.Send(Sci::SCI_STYLEGETSIZEFRACTIONAL, 1), 1250L);
    QCOMPARE(edit.Send(Sci::SCI_GETWRAPMODE), static_cast<long>(Sci::SC_WRAP_NONE));
    QCOMPARE(edit.Send(Sci::SCI_GETMARGINLEFT), 8L);
    QCOMPARE(edit.Send(Sci::SCI_GETEOLMODE), static_cast<long>(Sci::SC_EOL_CRLF));
}

void EditorControlTest::missingFontFallsBackToMonospace() {
    SEditorAppearance appearance;
    appearance.fontName = "No Such Face At All";
    CScintillaEdit edit;
    edit.ApplyAppearance(appearance);
    // What the user sees: a narrow and a wide letter take the same room. (Some monospace
    // families do not call themselves fixed-pitch, so QFontInfo::fixedPitch() cannot tell.)
    const QFontMetricsF metrics{QFont(edit.ResolvedFontFamily())};
    QVERIFY2(qFuzzyCompare(metrics.horizontalAdvance(QLatin1Char('i')),
                           metrics.horizontalAdvance(QLatin1Char('M'))),
             qPrintable(edit.ResolvedFontFamily()));
}

void EditorControlTest::eightBitTextKeepsItsBytes() {
    CScintillaEdit edit;
    edit.show();
    edit.SetEightBit(true);
    const std::string latin1 = "caf\xE9 \xFC\r\n\xA9";
    edit.LoadText(latin1);
    QCOMPARE(edit.GetLength(), static_cast<int>(latin1.size()));
    QCOMPARE(edit.GetText(), latin1);
    edit.SetSel(4, 4);
    QTest::keyClicks(&edit, "!");
    QCOMPARE(edit.GetText(), std::string("caf\xE9! \xFC\r\n\xA9"));
}

void EditorControlTest::utf8PositionsAreBytes() {
    CScintillaEdit edit;
    edit.show();
    edit.LoadText("\xC3\xA9t\xC3\xA9");
    QCOMPARE(edit.GetLength(), 5);
    edit.SetSel(5, 5);
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\xE2\x82\xAC"));
    QApplication::sendEvent(&edit, &press);
    QCOMPARE(edit.GetText(), std::string("\xC3\xA9t\xC3\xA9\xE2\x82\xAC"));
}

void EditorControlTest::modifiedFlagCanBeSetWithoutAnEdit() {
    CScintillaEdit edit;
    QSignalSpy changes(&edit, &CScintillaEdit::ModifiedChanged);
    edit.LoadText("abc");
    QVERIFY(!edit.GetModify());
    edit.SetModify(true);
    QVERIFY(edit.GetModify());
    edit.SetModify(false);
    QVERIFY(!edit.GetModify());
    edit.SetSel(3, 3);
    edit.ReplaceSel("d");
    QVERIFY(edit.GetModify());
    QCOMPARE(changes.count(), 3);
}

void EditorControlTest::undoIsMultiLevel() {
    CScintillaEdit edit;
    edit.LoadText("a");
    QVERIFY(!edit.isUndoAvailable()); // loading is no undo step
    edit.SetSel(1, 1);
    edit.ReplaceSel("b");
    edit.SetSel(2, 2);
    edit.ReplaceSel("c");
    edit.SetText("xyz");
    edit.undo();
    QCOMPARE(edit.GetText(), std::string("abc"));
    edit.undo();
    QCOMPARE(edit.GetText(), std::string("ab"));
    edit.undo();
    QCOMPARE(edit.GetText(), std::string("a"));
    QVERIFY(!edit.GetModify());
}

void EditorControlTest::readOnlyControlRefusesEdits() {
    CScintillaEdit edit;
    edit.show();
    edit.LoadText("fixed");
    edit.SetReadOnly(true);
    QTest::keyClicks(&edit, "zz");
    edit.SetSel(0, 5);
    edit.ReplaceSel("other");
    edit.SetText("gone");
    QCOMPARE(edit.GetText(), std::string("fixed"));
    edit.LoadText("reloaded"); // a reload from disk still reaches a read-only window
    QCOMPARE(edit.GetText(), std::string("reloaded"));
    QVERIFY(edit.IsReadOnly());
}

void EditorControlTest::printsToPdf() {
    tovin::test::CTempDir dir;
    CScintillaEdit edit;
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += "public static final int VALUE_" + std::to_string(i) + " = " + std::to_string(i) +
                ";\r\n";
    }
    edit.LoadText(text);
    QsciPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = QString::fromStdString(dir.File("out.pdf"));
    printer.setOutputFileName(path);
    QVERIFY(edit.PrintTo(printer));
    QVERIFY(QFileInfo(path).size() > 0);
    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Inch);
    QCOMPARE(margins, QMarginsF(0.5, 0.5, 0.5, 0.5));
}

QTEST_MAIN(EditorControlTest)
#include "EditorControlTest.moc"
