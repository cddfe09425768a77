// The "Find in Files..." dialog: its controls, the focus, and the entries it keeps.

#include "process/FindInFilesDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <functional>

using namespace tovin;

class FindInFilesDialogTest : public QObject {
    Q_OBJECT

    // Runs Ask() while `answer` fills in and closes the dialog once it is shown.
    std::optional<SFindInFilesQuery> AskAnswering(CFindInFilesDialog& dialog,
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
        QCOMPARE(labels, QStringList{QStringLiteral("Find what:")});
        QCOMPARE(dialog.CaseBox()->text(), QStringLiteral("Case sensitive search"));
        QCOMPARE(dialog.WordBox()->text(), QStringLiteral("Match whole word only"));
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
        QCOMPARE(query, std::optional<SFindInFilesQuery>(SFindInFilesQuery{"main", false, true}));

        QString shownText;
        bool shownWord = false;
        query = AskAnswering(dialog, [&] {
            shownText = dialog.FindEdit()->text();
            shownWord = dialog.WordBox()->isChecked();
            dialog.CaseBox()->setChecked(true);
            dialog.reject();
        });
        QCOMPARE(query, std::nullopt);
        QCOMPARE(shownText, QStringLiteral("main"));
        QVERIFY(shownWord);
        // Cancel keeps the entries of the last OK.
        QCOMPARE(dialog.LastQuery(), (SFindInFilesQuery{"main", false, true}));

        query = AskAnswering(dialog, [&] { dialog.accept(); });
        QCOMPARE(query, std::optional<SFindInFilesQuery>(SFindInFilesQuery{"main", false, true}));
    }
};

QTEST_MAIN(FindInFilesDialogTest)
#include "FindInFilesDialogTest.moc"
