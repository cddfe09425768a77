// The New Tovin Document dialog and the New Project wizard: what they ask, what they write
// (byte for byte) and what they leave when the user stops half-way.

#include "ModalAnswers.h"
#include "ShellTestSupport.h"
#include "core/platform/Files.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/dialogs/NewDocumentDialog.h"
#include "gui/dialogs/NewProjectWizard.h"
#include "gui/project/ProjectDocument.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDir>
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
                                     "Jython File", "JUnit Test Case"}));
        dialog.List()->clearSelection();
        dialog.accept(); // nothing chosen: it stays open
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.Chosen(), -1);
    }

    // Each entry makes its own kind of document through File > New; the first is chosen from
    // the start, so Enter alone makes a Java source file.
    void newDocumentEntriesMakeTheirKinds() {
        using K = EDocumentKind; // the entry chosen (-1: none), the kind it makes
        const std::pair<int, K> rows[] = {
            {-1, K::JavaSource}, {1, K::Project}, {2, K::Html}, {3, K::Xml}, {4, K::Jython}};
        for (const auto& [row, kind] : rows) {
            CShellFixture shell;
            shell.Start();
            auto choose = [row = row](QWidget* modal) {
                auto* dialog = qobject_cast<CNewDocumentDialog*>(modal);
                QVERIFY(dialog);
                if (row >= 0) {
                    dialog->List()->setCurrentRow(row);
                }
                QTest::keyClick(dialog->List(), Qt::Key_Return);
                if (dialog->isVisible()) {
                    dialog->reject(); // Enter chose nothing: the test fails below, not hangs
                }
            };
            bool wizardShown = false;
            auto cancelWizard = [&wizardShown](QWidget* modal) {
                wizardShown = qobject_cast<CNewProjectDialog*>(modal) != nullptr;
                modal->close();
            };
            WithModals({choose, cancelWizard},
                       [&] { shell.Frame().ExecuteCommand(ECommand::FileNew); });
            if (kind == EDocumentKind::Project) {
                QVERIFY(wizardShown);
            } else {
                QVERIFY(shell.Frame().ActiveFrame());
                QCOMPARE(int(shell.Frame().ActiveFrame()->Document()->Kind()), int(kind));
            }
        }
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
        QCOMPARE(kinds, (QStringList{"&Empty Project", "A&pplication Project", "Applet Pro&ject",
                                     "&HttpServlet Project"}));

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

    // Only a Java class's name makes a class: anything else is refused with the reason, the
    // dialog stays open with the name as typed; the empty project takes any title.
    void classNameMustNameAJavaClass() {
        // The name, the kind, whether the dialog takes it.
        const std::tuple<QString, int, bool> rows[] = {
            {"Hello", 1, true},     {"$Money_2", 2, true},  {QString::fromUtf8("Größe"), 1, true},
            {"Bad Name", 1, false}, {"../Hello", 3, false}, {"9Lives", 1, false},
            {"class", 2, false},    {"record", 1, false},   {"Bad Name", 0, true}};
        for (const auto& [className, kind, accepted] : rows) {
            CFakeUiHost host;
            CNewProjectDialog dialog(host);
            dialog.KindButtons()->button(kind)->click();
            dialog.ClassNameEdit()->setText(className);
            dialog.accept();
            QCOMPARE(dialog.result(), int(accepted ? QDialog::Accepted : QDialog::Rejected));
            QCOMPARE(dialog.ClassNameEdit()->text(), className);
            QCOMPARE(host.MessageTexts(),
                     accepted ? std::vector<std::string>()
                              : std::vector<std::string>{
                                    "\"" + className.toStdString() +
                                    "\" cannot be the name of a Java class. Use letters, digits, _ "
                                    "and $ only, do not start with a digit, and do not use a word "
                                    "that Java reserves (such as class or int)."});
        }
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

    void wizardKeepsExistingFiles() {
        CShellFixture shell;
        CEditorApp& app = shell.Start();
        const std::string kept = shell.dir.Write("Hello.java", "// mine\n");
        const std::string keptPage = shell.dir.Write("Example1.html", "<p>mine</p>\n");
        shell.host.fileAnswers.push_back({shell.dir.File("Hello.jpr")});
        WithModals({AnswerProject("Hello", EProjectKind::Applet)},
                   [&] { shell.Frame().ExecuteCommand(ECommand::NewProject); });
        QCOMPARE(ReadFile(kept), std::string("// mine\n"));
        QCOMPARE(ReadFile(keptPage), std::string("<p>mine</p>\n"));
        QCOMPARE(app.CurrentProject()->Project().GetMainFile(), std::string("Hello.java"));
        QVERIFY(FileExists(shell.dir.File("Hello.jpr")));
        QVERIFY(shell.host.messages.empty());
    }

    // A file that cannot be written is named, with the reason; the saved project stays.
    void unwritableSourceIsReported() {
        CShellFixture shell;
        CEditorApp& app = shell.Start();
        QVERIFY(QDir().mkpath(QString::fromStdString(shell.dir.File("Hello.java"))));
        shell.host.fileAnswers.push_back({shell.dir.File("Hello.jpr")});
        WithModals({AnswerProject("Hello", EProjectKind::Application)},
                   [&] { shell.Frame().ExecuteCommand(ECommand::NewProject); });
        QCOMPARE(shell.host.MessageTexts(),
                 std::vector<std::string>{"Cannot create the file \"" +
                                          shell.dir.File("Hello.java") + "\": Is a directory."});
        QCOMPARE(app.CurrentProject()->PathName(), shell.dir.File("Hello.jpr"));
        QCOMPARE(app.CurrentProject()->Project().JavaFiles().GetCount(), 0);
    }

    // The servlet compiles against the servlet API: its archive goes on the class path when it
    // is installed; otherwise the user learns which package brings it.
    void servletProjectGetsTheServletApi() {
        for (const bool installed : {true, false}) {
            CShellFixture shell;
            CEditorApp& app = shell.Start();
            app.Settings().classPath = "/std.jar";
            const std::string archive = installed ? shell.dir.Write("java/servlet-api.jar", "jar")
                                                  : shell.dir.File("none.jar");
            shell.host.fileAnswers.push_back({shell.dir.File("Hello.jpr")});
            WithModals({AnswerProject("Hello", EProjectKind::Servlet)},
                       [&] { RunNewProjectWizard(app, archive); });
            CJavaProjectDoc saved(app.Settings(), shell.host);
            QCOMPARE(saved.Load(shell.dir.File("Hello.jpr")), std::string());
            QCOMPARE(saved.GetClassPath(), installed ? "/std.jar:" + archive : "/std.jar");
            QCOMPARE(shell.host.MessageTexts(),
                     installed ? std::vector<std::string>()
                               : std::vector<std::string>{
                                     "The servlet compiles only with the servlet API on the "
                                     "project's class path. Install Debian's package "
                                     "libservlet-api-java, then add " +
                                     archive +
                                     " to the class path with \"Add Jar...\" on the project's "
                                     "form."});
        }
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

    // Cancel on "Save changes" (after the close was confirmed) keeps the project and ends the
    // wizard before its dialog.
    void keptProjectEndsTheWizard() {
        CShellFixture shell;
        CEditorApp& app = shell.Start();
        QVERIFY(app.CreateNewDocumentOfType("JavaProject"));
        CProjectDocument* open = app.CurrentProject();
        open->Project().AddFile(shell.dir.Write("A.java", "class A {}\n"));
        open->Project().SetModifiedFlag();
        shell.host.messageAnswers = {EMsgAnswer::Ok, EMsgAnswer::Cancel};
        const int shown = WithModals({[](QWidget* modal) { modal->close(); }},
                                     [&] { shell.Frame().ExecuteCommand(ECommand::NewProject); });
        QCOMPARE(shown, 0);
        QCOMPARE(shell.host.MessageTexts(),
                 (std::vector<std::string>{"Do you really want to close this project?",
                                           "Save changes to " + open->Project().GetTitle() + "?"}));
        QVERIFY(shell.host.messageAnswers.empty());
        QCOMPARE(app.CurrentProject(), open);
    }
};

QTEST_MAIN(WizardTest)
#include "WizardTest.moc"
