// The "Find in Files..." dialog: its controls, the focus, and the entries it keeps.

#include "gui/process/FindInFilesDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <functional>

using namespace tovin;

namespace {

// The entries as one comparable text.
QString Describe(const std::optional<SFindOptions>& options) {
    if (!options) {
        return QStringLiteral("cancelled");
    }
    return QStringLiteral("%1 case=%2 word=%3")
        .arg(QString::fromStdString(options->text))
        .arg(options->caseSensitive)
        .arg(options->wholeWord);
}

} // namespace

class FindInFilesDialogTest : public QObject {
    Q_OBJECT

    // Runs Ask() while `answer` fills in and closes the dialog once it is shown.
    std::optional<SFindOptions> AskAnswering(CFindInFilesDialog& dialog,
                                             std::function<void()> answer) {
        QTimer::singleShot(0, &dialog, [&dialog, answer] {
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            answer();
        });
        return dialog.Ask();
    }

private slots:
    void showsTheProductTexts() {
        CFindInFilesDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Find in Files..."));
        QStringList labels;
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            labels << label->text();
        }
        QCOMPARE(labels, QStringList{QStringLiteral("&Find what:")});
        QCOMPARE(dialog.CaseBox()->text(), QStringLiteral("Case &sensitive search"));
        QCOMPARE(dialog.WordBox()->text(), QStringLiteral("Match &whole word only"));
    }

    void okGivesTheEntriesAndTheNextShowingStartsWithThem() {
        CFindInFilesDialog dialog;
        bool focused = false;
        auto query = AskAnswering(dialog, [&] {
            focused = dialog.FindEdit()->hasFocus();
            QTest::keyClicks(dialog.FindEdit(), QStringLiteral("main"));
            dialog.WordBox()->setChecked(true);
            dialog.accept();
        });
        QVERIFY(focused);
        QCOMPARE(Describe(query), QStringLiteral("main case=0 word=1"));

        QString shownText;
        bool shownWord = false;
        query = AskAnswering(dialog, [&] {
            shownText = dialog.FindEdit()->text();
            shownWord = dialog.WordBox()->isChecked();
            dialog.CaseBox()->setChecked(true);
            dialog.reject();
        });
        QCOMPARE(Describe(query), QStringLiteral("cancelled"));
        QCOMPARE(shownText, QStringLiteral("main"));
        QVERIFY(shownWord);
        // Cancel keeps the entries of the last OK.
        QCOMPARE(Describe(dialog.LastQuery()), QStringLiteral("main case=0 word=1"));

        query = AskAnswering(dialog, [&] { dialog.accept(); });
        QCOMPARE(Describe(query), QStringLiteral("main case=0 word=1"));
    }
};

QTEST_MAIN(FindInFilesDialogTest)
#include "FindInFilesDialogTest.moc"
