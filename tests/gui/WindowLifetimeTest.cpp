// Commands that end the window they were started from: the window goes only once the command
// has returned. Each case is a sequence the monkey found, cut down to its steps.

#include "ModalAnswers.h"
#include "ShellTestSupport.h"
#include "UserClicks.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/project/ProjectDocument.h"
#include "gui/project/ProjectTree.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <cstdio>

using namespace tovin;
using namespace tovin::test;

namespace {

// Presses the button of a message box after checking that the text starts as expected.
FAnswer Press(QMessageBox::StandardButton which, const QString& start) {
    return [which, start](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        const QString text = box->text();
        box->button(which)->click();
        QVERIFY2(text.startsWith(start), qPrintable(text));
    };
}

FAnswer ChooseEntry(const QString& entry) {
    return [entry](QWidget* popup) {
        auto* menu = qobject_cast<QMenu*>(popup);
        QVERIFY(menu);
        for (QAction* action : menu->actions()) {
            if (action->text() == entry) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        }
        QFAIL(qPrintable("no entry " + entry));
    };
}

} // namespace

class WindowLifetimeTest : public QObject {
    Q_OBJECT
private slots:
    // "Open" from the tree's context menu on a file that is gone asks for files to add;
    // adding a project file opens that project, which closes the one whose tree the menu
    // belongs to.
    void treeMenuCommandThatClosesItsProject() {
        CTempDir dir;
        const std::string gone = dir.Write("Gone.java", "class Gone {}\n");
        const std::string other = WriteEmptyProject(dir, "Other.jpr");
        const std::string first = dir.File("First.jpr");
        {
            CSettings settings;
            CFakeUiHost host;
            CJavaProjectDoc project(settings, host);
            project.AddFile(gone);
            QCOMPARE(project.Save(first), std::string());
        }
        std::remove(gone.c_str());

        CEditorApp app(dir.File("Tovin.conf")); // with its own, real host
        app.SetStartupTip([] {});
        QVERIFY(app.Start({}));
        auto* project = static_cast<CProjectDocument*>(app.OpenDocumentFile(first));
        QVERIFY(project);
        project->OnProjectWindow();
        CProjectTree* tree = project->ProjectTree();
        QTreeWidgetItem* item = Find(tree->Tree(), {"Gone.java"});
        QVERIFY(item);
        const QPoint point = tree->Tree()->visualItemRect(item).center();

        const int answered =
            WithModals({ChooseEntry("Open"),
                        // the file's path, then the same name in the project's folder
                        Press(QMessageBox::Ok, "Cannot open the file"),
                        Press(QMessageBox::Ok, "Cannot open the file"),
                        Press(QMessageBox::Ok, "Unable to locate this item"), ChooseFile(other),
                        Press(QMessageBox::Ok, "Do you really want to close this project?")},
                       [&] { tree->ShowContextMenu(point, false); });
        QCOMPARE(answered, 6);
        QVERIFY(app.CurrentProject());
        QCOMPARE(app.CurrentProject()->PathName(), other);
    }
};

QTEST_MAIN(WindowLifetimeTest)
#include "WindowLifetimeTest.moc"
