// A newcomer's first program, from an empty settings file: File > New > "Tovin Project",
// "Application Project" named Hello, saved; then Build and Run Application from the menus, with
// the real JDK. A new servlet project builds as created, against Debian's servlet API.

#include "ModalAnswers.h"
#include "ShellTestSupport.h"
#include "core/platform/Files.h"
#include "gui/dialogs/NewDocumentDialog.h"
#include "gui/dialogs/NewProjectWizard.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QListWidget>

using namespace tovin;
using namespace tovin::test;

namespace {

// Triggers the menu item of the command, as a click on it does.
void ChooseFromMenu(CMainFrame& frame, ECommand command) {
    frame.UpdateCommandUi();
    QAction* action = frame.Action(command);
    QVERIFY(action->isEnabled());
    action->trigger();
}

FAnswer NameHello(EProjectKind kind) {
    return [kind](QWidget* modal) {
        auto* wizard = qobject_cast<CNewProjectDialog*>(modal);
        QVERIFY(wizard);
        wizard->ClassNameEdit()->setText(QStringLiteral("Hello"));
        wizard->KindButtons()->button(int(kind))->click();
        wizard->accept();
    };
}

void BuildsWithoutErrors(CShellFixture& shell) {
    ChooseFromMenu(shell.Frame(), ECommand::Build);
    QCOMPARE(shell.host.runners.size(), size_t(1));
    CProcessRunner& build = *shell.host.runners.back();
    QTRY_VERIFY_WITH_TIMEOUT(build.IsFinished(), 120000);
    QVERIFY2(build.GetOutput().find("No Errors") != std::string::npos, build.GetOutput().c_str());
    QVERIFY(FileExists(shell.dir.File("Hello.class")));
}

} // namespace

class WizardBuildRunTest : public QObject {
    Q_OBJECT
private slots:
    void newApplicationBuildsAndRuns() {
        CShellFixture shell;
        shell.Start();
        shell.host.fileAnswers.push_back({shell.dir.File("Hello.jpr")});
        auto chooseProject = [](QWidget* modal) {
            auto* dialog = qobject_cast<CNewDocumentDialog*>(modal);
            QVERIFY(dialog);
            dialog->List()->setCurrentRow(CNewDocumentDialog::Project);
            dialog->accept();
        };
        QCOMPARE(WithModals({chooseProject, NameHello(EProjectKind::Application)},
                            [&] { ChooseFromMenu(shell.Frame(), ECommand::FileNew); }),
                 2);
        QVERIFY(FileExists(shell.dir.File("Hello.java")));
        BuildsWithoutErrors(shell);
        if (QTest::currentTestFailed()) {
            return;
        }

        ChooseFromMenu(shell.Frame(), ECommand::RunApplication);
        QCOMPARE(shell.host.runners.size(), size_t(2));
        CProcessRunner& run = *shell.host.runners.back();
        // Without a display the frame cannot open; with one it stays open: either way the
        // program has started when it says so.
        QTRY_VERIFY_WITH_TIMEOUT(run.GetOutput().find("Starting App") != std::string::npos, 120000);
        if (!run.IsFinished()) {
            run.Terminate(0);
        }
        QTRY_VERIFY_WITH_TIMEOUT(run.IsFinished(), 30000);
    }

    void newServletBuilds() {
        QVERIFY2(FileExists(kServletApiArchive),
                 "the servlet API is missing: scripts/install-deps installs libservlet-api-java");
        CShellFixture shell;
        shell.Start();
        shell.host.fileAnswers.push_back({shell.dir.File("Hello.jpr")});
        QCOMPARE(WithModals({NameHello(EProjectKind::Servlet)},
                            [&] { ChooseFromMenu(shell.Frame(), ECommand::NewProject); }),
                 1);
        BuildsWithoutErrors(shell);
    }
};

QTEST_MAIN(WizardBuildRunTest)
#include "WizardBuildRunTest.moc"
