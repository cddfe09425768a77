// The project form in a real application: what it shows, the "Update" rule, the resets and
// their questions, the working-directory browser, the main file and page boxes, and the
// class-path buttons as they reach the project.

#include "project/ProjectFormView.h"

#include "ShellTestSupport.h"
#include "project/ClassPathList.h"
#include "project/JavaProjectDoc.h"
#include "project/ProjectDocument.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace tovin;
using namespace tovin::test;

namespace {

struct CFormFixture {
    CShellFixture shell;
    CProjectDocument* document = nullptr;
    CProjectFormView* form = nullptr;

    explicit CFormFixture(const std::function<void(CShellFixture&)>& settings = {}) {
        shell.Start();
        if (settings) {
            settings(shell);
        }
        document = static_cast<CProjectDocument*>(
            shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr")));
        shell.Frame().show();
        form = qobject_cast<CProjectFormView*>(shell.Frame().ActiveFrame()->View());
    }
    CJavaProjectDoc& Project() { return document->Project(); }
    QPushButton* Button(const QString& text) const {
        for (QPushButton* button : form->findChildren<QPushButton*>()) {
            if (button->text() == text) {
                return button;
            }
        }
        qFatal("no button %s", qPrintable(text));
    }
    // The field the label with this text names.
    template <class T> T* Field(const QString& label) const {
        for (QLabel* caption : form->findChildren<QLabel*>()) {
            if (caption->text() == label && caption->buddy()) {
                return qobject_cast<T*>(caption->buddy());
            }
        }
        return nullptr;
    }
    QStringList Items(QComboBox* box) const {
        QStringList items;
        for (int i = 0; i < box->count(); ++i) {
            items << box->itemText(i);
        }
        return items;
    }
    void SelectRow(int row) {
        CClassPathList* list = form->ClassPathList();
        list->setCurrentItem(list->topLevelItem(row));
    }
    QList<QPlainTextEdit*> Switches() const { return form->findChildren<QPlainTextEdit*>(); }
    QLineEdit* WorkingDir() const {
        return form->findChild<QPushButton*>("browseWorkingDirectory")
            ->parentWidget()
            ->findChild<QLineEdit*>();
    }
};

} // namespace

class ProjectFormTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheProjectAndMaximisesItsFrame() {
        CFormFixture f;
        QVERIFY(f.form);
        QVERIFY(f.shell.Frame().ActiveFrame()->isMaximized());
        QVERIFY(f.document->ProjectTree()); // the form shows the project window
        f.Project().AddFile(f.shell.dir.Write("Zeta.java", ""));
        f.Project().AddFile(f.shell.dir.Write("Alpha.java", ""));
        f.Project().AddHtmlFile(f.shell.dir.Write("old.htm", ""));
        f.Project().SetMainFile("Zeta.java");
        QCOMPARE(f.Field<QLineEdit>("File Path:")->text(),
                 QString::fromStdString(f.shell.dir.File("P.jpr")));
        auto* mainFile = f.Field<QComboBox>("Main Java File:");
        QCOMPARE(f.Items(mainFile), (QStringList{"Alpha.java", "Zeta.java"}));
        QCOMPARE(mainFile->currentText(), QStringLiteral("Zeta.java"));
        auto* mainHtml = f.Field<QComboBox>("Main HTML File:");
        QVERIFY(mainHtml->isEnabled());
        QCOMPARE(f.Items(mainHtml), QStringList{}); // ".htm" is not offered
        f.Project().AddHtmlFile(f.shell.dir.Write("Page.html", ""));
        f.Project().RefreshViews();
        QCOMPARE(f.Items(mainHtml), QStringList{"Page.html"});

        // Choosing in the boxes reaches the project at once.
        mainFile->setCurrentIndex(0);
        emit mainFile->activated(0);
        QCOMPARE(f.Project().GetMainFileName(), std::string("Alpha.java"));
        emit mainHtml->activated(0);
        QCOMPARE(f.Project().GetMainHtmlFile(), std::string("Page.html"));
    }

    void withoutFilesTheBoxesAreDisabled() {
        CFormFixture f;
        QVERIFY(!f.Field<QComboBox>("Main Java File:")->isEnabled());
        QVERIFY(!f.Field<QComboBox>("Main HTML File:")->isEnabled());
    }

    void editsWaitForUpdate() {
        CFormFixture f;
        QPushButton* update = f.form->UpdateButton();
        QVERIFY(!update->isEnabled());
        f.Switches().at(0)->setPlainText("-Xmx64m");
        f.Switches().at(1)->setPlainText("-g");
        QVERIFY(update->isEnabled());
        QCOMPARE(f.Project().GetRunOptions(), std::string());
        update->click();
        QCOMPARE(f.Project().GetRunOptions(), std::string("-Xmx64m"));
        QCOMPARE(f.Project().GetCompileOptions(), std::string("-g"));
        QVERIFY(!update->isEnabled());

        f.shell.host.folderAnswers = {"", "/work/dir"};
        f.Button("...")->click(); // cancelled
        QVERIFY(!update->isEnabled());
        f.Button("...")->click();
        QCOMPARE(f.shell.host.folderRequests.back().first, std::string("Locate Working Directory"));
        QCOMPARE(f.WorkingDir()->text(), QStringLiteral("/work/dir"));
        QVERIFY(update->isEnabled());
        QCOMPARE(f.Project().GetWorkingDir(), std::string());
    }

    void resetToDefaultsAsksFirst() {
        CFormFixture f([](CShellFixture& shell) {
            shell.app->Settings().javaOptions = "-server";
            shell.app->Settings().javac = "-O";
            shell.app->Settings().workingDir = "/wd";
        });
        f.Project().SetRunOptions("-own");
        f.Project().RefreshViews();
        f.shell.host.messageAnswers = {EMsgAnswer::Cancel};
        f.Button("Reset to Defaults")->click();
        QCOMPARE(f.shell.host.messages.back().text,
                 std::string("Reset switches to application defaults?"));
        QCOMPARE(f.shell.host.messages.back().caption, std::string("Reset to Defaults"));
        QCOMPARE(f.Switches().at(0)->toPlainText(), QStringLiteral("-own"));
        QCOMPARE(f.Project().GetRunOptions(), std::string("-own"));

        f.Button("Reset to Defaults")->click();
        QCOMPARE(f.Project().GetRunOptions(), std::string("-server"));
        QCOMPARE(f.Project().GetCompileOptions(), std::string("-O"));
        QCOMPARE(f.Project().GetWorkingDir(), std::string("/wd"));
        QVERIFY(!f.form->UpdateButton()->isEnabled());
    }

    // The list's own rules are the list's test; here, that its changes reach the project.
    void classPathButtonsReachTheProject() {
        CFormFixture f([](CShellFixture& shell) { shell.app->Settings().classPath = "/std.jar"; });
        f.Project().SetClassPath("/a/b.jar:/c/d");
        f.Project().RefreshViews();
        QCOMPARE(f.form->ClassPathList()->topLevelItemCount(), 2);

        f.SelectRow(1);
        f.Button("Set Compile Dir")->click();
        QCOMPARE(f.Project().GetCompileDir(), std::string("/c/d"));
        f.Button("Remove")->click();
        QCOMPARE(f.Project().GetClassPath(), std::string("/a/b.jar"));
        QCOMPARE(f.Project().GetCompileDir(), std::string());

        f.shell.host.fileAnswers = {{"/lib/x.jar"}};
        f.shell.host.folderAnswers = {"/classes"};
        f.Button("Add Jar...")->click();
        f.Button("Add Folder...")->click();
        QCOMPARE(f.Project().GetClassPath(), std::string("/a/b.jar:/lib/x.jar:/classes"));

        f.shell.host.messageAnswers = {EMsgAnswer::Cancel};
        f.Button("Reset to Default")->click();
        QCOMPARE(f.shell.host.messages.back().text,
                 std::string("Reset classpaths to application defaults?"));
        QCOMPARE(f.Project().GetClassPath(), std::string("/a/b.jar:/lib/x.jar:/classes"));
        f.SelectRow(2);
        f.Button("Set Compile Dir")->click();
        f.Button("Reset to Default")->click();
        QCOMPARE(f.Project().GetClassPath(), std::string("/std.jar"));
        QCOMPARE(f.Project().GetCompileDir(), std::string());
        QCOMPARE(f.form->ClassPathList()->Text(), std::string("/std.jar"));
    }
};

QTEST_MAIN(ProjectFormTest)
#include "ProjectFormTest.moc"
