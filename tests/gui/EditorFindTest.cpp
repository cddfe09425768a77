// Find, Replace and Repeat on the editor control and through the dialog's buttons.

#include "gui/editor/FindDialog.h"
#include "gui/editor/FindReplace.h"
#include "gui/editor/ScintillaEdit.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace tovin;

namespace {

struct SFinderFixture {
    CScintillaEdit edit;
    std::vector<std::string> messages;
    CFindReplace finder{edit, [this](const std::string& text) { messages.push_back(text); }};

    std::pair<int, int> Selection() const {
        int start = 0, end = 0;
        edit.GetSel(start, end);
        return {start, end};
    }
};

SFindRequest Request(const char* text, bool down = true, bool matchCase = false,
                     bool wholeWord = false) {
    SFindRequest request;
    request.text = QString::fromUtf8(text);
    request.down = down;
    request.matchCase = matchCase;
    request.wholeWord = wholeWord;
    return request;
}

QPushButton* Button(QWidget* dialog, const QString& text) {
    for (auto* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

} // namespace

class EditorFindTest : public QObject {
    Q_OBJECT

private slots:
    void findsInBothDirectionsAndWrapsOnce();
    void caseAndWholeWordOptions();
    void notFoundSaysSoAndKeepsTheSelection();
    void repeatUsesTheLastSearch();
    void replaceReplacesOnlyAMatchingSelection();
    void replaceAllIsOneUndoStep();
    void eightBitTextIsSearchedByItsBytes();
    void dialogButtonsDriveTheSearch();
};

void EditorFindTest::findsInBothDirectionsAndWrapsOnce() {
    SFinderFixture f;
    f.edit.LoadText("one two\r\none two");
    f.edit.SetSel(0, 0);
    QVERIFY(f.finder.FindNext(Request("two")));
    QCOMPARE(f.Selection(), std::make_pair(4, 7));
    QVERIFY(f.finder.FindNext(Request("two")));
    QCOMPARE(f.Selection(), std::make_pair(13, 16));
    QVERIFY(f.finder.FindNext(Request("two"))); // wraps to the start
    QCOMPARE(f.Selection(), std::make_pair(4, 7));
    QVERIFY(f.finder.FindNext(Request("one", false))); // upwards from the selection
    QCOMPARE(f.Selection(), std::make_pair(0, 3));
    QVERIFY(f.finder.FindNext(Request("one", false))); // wraps to the end
    QCOMPARE(f.Selection(), std::make_pair(9, 12));
    QVERIFY(f.messages.empty());
}

void EditorFindTest::caseAndWholeWordOptions() {
    struct SRow {
        const char* name;
        bool matchCase;
        bool wholeWord;
        std::pair<int, int> expected;
    };
    const SRow rows[] = {
        {"AnyCaseAnyPart", false, false, {0, 3}},
        {"MatchCase", true, false, {9, 12}},
        {"WholeWord", false, true, {5, 8}},
        {"Both", true, true, {14, 17}},
    };
    for (const auto& row : rows) {
        SFinderFixture f;
        f.edit.LoadText("INTs Int int0 int");
        f.edit.SetSel(0, 0);
        QVERIFY2(f.finder.FindNext(Request("int", true, row.matchCase, row.wholeWord)), row.name);
        QCOMPARE(f.Selection(), row.expected);
    }
}

void EditorFindTest::notFoundSaysSoAndKeepsTheSelection() {
    SFinderFixture f;
    f.edit.LoadText("abc");
    f.edit.SetSel(1, 2);
    QVERIFY(!f.finder.FindNext(Request("zz")));
    QCOMPARE(f.messages, std::vector<std::string>{"Cannot find \"zz\"."});
    QCOMPARE(f.Selection(), std::make_pair(1, 2));
}

void EditorFindTest::repeatUsesTheLastSearch() {
    SFinderFixture f;
    f.edit.LoadText("x a x a");
    QVERIFY(!f.finder.Repeat()); // nothing to repeat: the dialog opens instead
    QVERIFY(f.finder.Dialog() && f.finder.Dialog()->isVisible());
    f.edit.SetSel(0, 0);
    QVERIFY(f.finder.FindNext(Request("a")));
    QVERIFY(f.finder.Repeat());
    QCOMPARE(f.Selection(), std::make_pair(6, 7));
}

void EditorFindTest::replaceReplacesOnlyAMatchingSelection() {
    SFinderFixture f;
    f.edit.LoadText("cat cat cat");
    f.edit.SetSel(0, 2); // "ca" is no match: nothing is replaced, the first match is found
    QVERIFY(f.finder.ReplaceCurrent(Request("cat"), QStringLiteral("dog")));
    QCOMPARE(f.edit.GetText(), std::string("cat cat cat"));
    QCOMPARE(f.Selection(), std::make_pair(4, 7));
    QVERIFY(f.finder.ReplaceCurrent(Request("cat"), QStringLiteral("dog")));
    QCOMPARE(f.edit.GetText(), std::string("cat dog cat"));
    QCOMPARE(f.Selection(), std::make_pair(8, 11));
}

void EditorFindTest::replaceAllIsOneUndoStep() {
    SFinderFixture f;
    f.edit.LoadText("a-a-a\r\na");
    QCOMPARE(f.finder.ReplaceAll(Request("a"), QStringLiteral("aa")), 4);
    QCOMPARE(f.edit.GetText(), std::string("aa-aa-aa\r\naa"));
    f.edit.undo();
    QCOMPARE(f.edit.GetText(), std::string("a-a-a\r\na"));
    QCOMPARE(f.finder.ReplaceAll(Request("q"), QStringLiteral("z")), 0);
    QCOMPARE(f.messages.size(), size_t(1));
}

void EditorFindTest::eightBitTextIsSearchedByItsBytes() {
    SFinderFixture f;
    f.edit.SetEightBit(true);
    f.edit.LoadText("na\xEFve caf\xE9");
    f.edit.SetSel(0, 0);
    QVERIFY(f.finder.FindNext(Request("caf\xC3\xA9")));
    QCOMPARE(f.Selection(), std::make_pair(6, 10));
    QCOMPARE(f.finder.ReplaceAll(Request("\xC3\xAF"), QStringLiteral("i")), 1);
    QCOMPARE(f.edit.GetText(), std::string("naive caf\xE9"));
}

void EditorFindTest::dialogButtonsDriveTheSearch() {
    SFinderFixture f;
    f.edit.LoadText("alpha beta alpha");
    f.edit.SetSel(0, 0);
    f.finder.ShowReplaceDialog();
    CFindDialog* dialog = f.finder.Dialog();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Replace"));
    dialog->FindEdit()->setText(QStringLiteral("alpha"));
    dialog->ReplaceEdit()->setText(QStringLiteral("gamma"));
    QTest::mouseClick(Button(dialog, QStringLiteral("Replace &All")), Qt::LeftButton);
    QCOMPARE(f.edit.GetText(), std::string("gamma beta gamma"));
    f.edit.SetSel(0, 5); // a one-line selection is offered as the text to find
    f.finder.ShowFindDialog();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Find"));
    QCOMPARE(dialog->FindEdit()->text(), QStringLiteral("gamma"));
    QTest::mouseClick(Button(dialog, QStringLiteral("&Find Next")), Qt::LeftButton);
    QCOMPARE(f.Selection(), std::make_pair(11, 16));
}

QTEST_MAIN(EditorFindTest)
#include "EditorFindTest.moc"
