// The New Tovin Document dialog and the New Project wizard: what they ask, what they write
// (byte for byte) and what they leave when the user stops half-way.

#include "ModalAnswers.h"
#include "ShellTestSupport.h"
#include "dialogs/NewDocumentDialog.h"
#include "dialogs/NewProjectWizard.h"
#include "platform/Files.h"
#include "project/JavaProjectDoc.h"
#include "project/ProjectDocument.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

using namespace tovin;
using namespace tovin::test;

namespace {

// Fills in the New Project dialog and presses OK.
FAnswer AnswerProject(const QString& className, EProjectKind kind) {
    return [className, kind](QWidget* modal) {
        auto* dialog = qobject_cast<CNewProjectDialog*>(modal);
        QVERIFY(dialog);
        dialog->ClassNameEdit()->setText(className);
        dialog->KindButtons()->button(static_cast<int>(kind))->click();
        dialog->accept();
    };
}

std::string Golden(const std::string& name) {
    return ReadFile(std::string(TOVIN_TEST_DATA) + "/wizard/" + name);
}

} // namespace

class WizardTest : public QObject {
    Q_OBJECT
private slots:
    void newDocumentDialogOffersFiveKinds() {
        CNewDocumentDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("New Tovin Document"));
        QStringList texts;
        for (int i = 0; i < dialog.List()->count(); ++i) {
            texts << dialog.List()->item(i)->text();
            QVERIFY(!dialog.List()->item(i)->icon().isNull());
        }
        QCOMPARE(texts, (QStringList{"Java Source File", "Tovin Project", "HTML Page", "XML File",
                                     "Jython File"}));
        dialog.accept(); // nothing chosen: it stays open
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.Chosen(), -1);
        dialog.List()->setCurrentRow(3);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Chosen(), 3);
    }

    void projectDialogNeedsANameExceptForAnEmptyProject() {
        CFakeUiHost host;
        CNewProjectDialog dialog(host);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("New Project"));
        QCOMPARE(dialog.ClassName(), std::string("MyApp"));
        QCOMPARE(dialog.ClassNameEdit()->selectedText(), QStringLiteral("MyApp"));
        QCOMPARE(dialog.Kind(), EProjectKind::Empty);
        QStringList kinds;
        for (QAbstractButton* button : dialog.KindButtons()->buttons()) {
            kinds << button->text();
        }
        QCOMPARE(kinds, (QStringList{"Empty Project", "Application Project", "Applet Project",
                                     "HttpServlet Project"}));

        dialog.KindButtons()->button(1)->click();
        dialog.ClassNameEdit()->clear();
        dialog.accept();
        QCOMPARE(host.MessageTexts(),
                 std::vector<std::string>{"Please enter a name for your class"});
        QCOMPARE(dialog.ClassName(), std::string("MyApp"));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));

        dialog.KindButtons()->button(0)->click();
        dialog.ClassNameEdit()->clear();
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(host.messages.size(), size_t(1));
    }

    void wizardWritesTheKindsFiles_data() {
        QTest::addColumn<QString>("className");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("projectName");
        QTest::addColumn<QString>("sourceGolden");
        QTest::addColumn<QString>("pageGolden"); // empty: no page
        QTest::newRow("application") << "Hello" << 1 << "Hello.jpr"
                                     << "Application-Hello.java"
                                     << "";
        QTest::newRow("applet with its page") << "Hello" << 2 << "Hello.jpr"
                                              << "Applet-Hello.java"
                                              << "Applet-Example1.html";
        QTest::newRow("servlet") << "Hello" << 3 << "Hello.jpr"
                                 << "Servlet-Hello.java"
                                 << "";
    }
    void wizardWritesTheKindsFiles() {
        QFETCH(QString, className);
        QFETCH(int, kind);
        QFETCH(QString, projectName);
        QFETCH(QString, sourceGolden);
        QFETCH(QString, pageGolden);
        CShellFixture shell;
        CEditorApp& app = shell.Start();
        const std::string projectPath = shell.dir.File(projectName.toStdString());
        shell.host.fileAnswers.push_back({projectPath});
        QCOMPARE(WithModals({AnswerProject(className, EProjectKind(kind))},
                            [&] { shell.Frame().ExecuteCommand(ECommand::NewProject); }),
                 1);

        QCOMPARE(shell.host.fileRequests.size(), size_t(1));
        const SFileDialogRequest& request = shell.host.fileRequests.front();
        QVERIFY(request.save && request.hideReadOnly && request.confirmOverwrite);
        QCOMPARE(request.filter, std::string("Java Projects (*.jpr)|*.jpr||"));
        QCOMPARE(request.defaultExtension, std::string("jpr"));
        QCOMPARE(request.proposedName, projectName.toStdString());
        QCOMPARE(request.initialFolder, CurrentFolder());

        const std::string mainFile = className.toStdString() + ".java";
        const std::string sourcePath = shell.dir.File(mainFile);
        QCOMPARE(ReadFile(sourcePath), Golden(sourceGolden.toStdString()));
        const std::string pagePath = shell.dir.File("Example1.html");
        QCOMPARE(FileExists(pagePath), !pageGolden.isEmpty());
        if (!pageGolden.isEmpty()) {
            QCOMPARE(ReadFile(pagePath), Golden(pageGolden.toStdString()));
        }

        // The project was saved with the files, and the source is open in an editor.
        QCOMPARE(FrameTitles(shell.Frame()).filter(QString::fromStdString(mainFile)).size(), 1);
        CJavaProjectDoc saved(app.Settings(), shell.host);
        QCOMPARE(saved.Load(projectPath), std::string());
        QCOMPARE(saved.GetMainFile(), mainFile);
        QCOMPARE(saved.GetFullPath(mainFile), sourcePath);
        QCOMPARE(saved.GetFreeFilePath("Example1.html"), pageGolden.isEmpty() ? "" : pagePath);
        QVERIFY(!app.CurrentProject()->IsModified());
    }

    void wizardKeepsExistingFilesAndNamesAsGiven() {
        CShellFixture shell;
        CEditorApp& app = shell.Start();
        const std::string kept = shell.dir.Write("Hello.jpr.java", "// mine\n");
        const std::string keptPage = shell.dir.Write("Example1.html", "<p>mine</p>\n");
        shell.host.fileAnswers.push_back({shell.dir.File("Hello.jpr")});
        WithModals({AnswerProject("Hello.jpr", EProjectKind::Applet)},
                   [&] { shell.Frame().ExecuteCommand(ECommand::NewProject); });
        QCOMPARE(shell.host.fileRequests.front().proposedName, std::string("Hello.jpr"));
        QCOMPARE(ReadFile(kept), std::string("// mine\n"));
        QCOMPARE(ReadFile(keptPage), std::string("<p>mine</p>\n"));
        QCOMPARE(app.CurrentProject()->Project().GetMainFile(), std::string("Hello.jpr.java"));
        QVERIFY(FileExists(shell.dir.File("Hello.jpr")));
    }

    void emptyProjectOrCancelledSaveWritesNothing_data() {
        QTest::addColumn<QString>("className");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::newRow("empty project") << "MyApp" << 0 << "MyApp.jpr";
        QTest::newRow("empty project without a name") << "" << 0 << ".jpr";
        QTest::newRow("save dialog cancelled") << "Hello" << 1 << "";
    }
    void emptyProjectOrCancelledSaveWritesNothing() {
        QFETCH(QString, className);
        QFETCH(int, kind);
        QFETCH(QString, title);
        CShellFixture shell;
        CEditorApp& app = shell.Start();
        WithModals({AnswerProject(className, EProjectKind(kind))},
                   [&] { shell.Frame().ExecuteCommand(ECommand::NewProject); });
        QVERIFY(app.CurrentProject());
        QVERIFY(app.CurrentProject()->PathName().empty());
        if (!title.isEmpty()) {
            QCOMPARE(app.CurrentProject()->Title(), title);
            QVERIFY(shell.host.fileRequests.empty());
        }
        QCOMPARE(QDir(QString::fromStdString(shell.dir.Path())).entryList(QDir::Files),
                 QStringList());
    }

    void keptProjectEndsTheWizard() {
        CShellFixture shell;
        CEditorApp& app = shell.Start();
        QVERIFY(app.CreateNewDocumentOfType("JavaProject"));
        CProjectDocument* open = app.CurrentProject();
        open->Project().AddFile(shell.dir.Write("A.java", "class A {}\n"));
        open->Project().SetModifiedFlag();
        shell.host.messageAnswers = {EMsgAnswer::Yes, EMsgAnswer::Cancel};
        const int shown = WithModals({[](QWidget* modal) { modal->close(); }},
                                     [&] { shell.Frame().ExecuteCommand(ECommand::NewProject); });
        QCOMPARE(shown, 0);
        QVERIFY(!shell.host.messages.empty());
        QCOMPARE(app.CurrentProject(), open);
    }
};

QTEST_MAIN(WizardTest)
#include "WizardTest.moc"
