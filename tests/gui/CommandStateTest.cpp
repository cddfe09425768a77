// Which commands are enabled: the project commands follow the open project, the main HTML
// file and the running tool; help commands open what they should.

#include "ShellTestSupport.h"
#include "core/process/ProcessRunner.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/app/CommandInfo.h"
#include "gui/framework/CommandMap.h"
#include "gui/project/ProjectDocument.h"

using namespace tovin;
using namespace tovin::test;

namespace {

// The commands whose enabled state the open project decides, with their state without a
// project and with one that has no main HTML file.
struct SRule {
    ECommand command;
    bool withProject;
};
const SRule kProjectRules[] = {
    {ECommand::Compile, true},        {ECommand::Build, true},
    {ECommand::RunApplication, true}, {ECommand::RunWithConsole, true},
    {ECommand::AddFiles, true},       {ECommand::ProjectWindow, true},
    {ECommand::JarMainFolder, true},  {ECommand::ShowArchiveContents, true},
    {ECommand::FindInFiles, true},    {ECommand::CloseProject, true},
    {ECommand::RunApplet, false},
};

QString Name(ECommand id) {
    return QLatin1String(CommandInfo(id).name);
}

} // namespace

class CommandStateTest : public QObject {
    Q_OBJECT
private slots:
    void projectCommandsFollowTheOpenProject() {
        CShellFixture shell;
        shell.Start();
        shell.app->OpenDocumentFile(shell.dir.Write("A.java", "class A {}\n"));
        for (const SRule& rule : kProjectRules) {
            QVERIFY2(!shell.Frame().CommandState(rule.command).enabled,
                     qPrintable(Name(rule.command)));
            QVERIFY2(!shell.Frame().Action(rule.command)->isEnabled(),
                     qPrintable(Name(rule.command)));
        }
        shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr"));
        shell.app->OpenDocumentFile(shell.dir.File("A.java")); // the Java window again
        QCOMPARE(shell.Frame().MenuKind(), EMenuKind::JavaSource);
        for (const SRule& rule : kProjectRules) {
            QCOMPARE(shell.Frame().CommandState(rule.command).enabled, rule.withProject);
            QCOMPARE(shell.Frame().Action(rule.command)->isEnabled(), rule.withProject);
        }
    }

    void runAppletNeedsTheMainHtmlFileAndSaysWhenItIsGone() {
        CShellFixture shell;
        shell.Start();
        shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr"));
        CJavaProjectDoc& project = shell.app->CurrentProject()->Project();
        project.SetMainHtmlFile("Example1.html"); // named, but not among the project's pages
        QVERIFY(shell.Frame().CommandState(ECommand::RunApplet).enabled);
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::RunApplet));
        QCOMPARE(shell.host.MessageTexts(),
                 std::vector<std::string>{"Unable to open the HTML file."});
    }

    void projectFormEnablesBuildOnlyWithAMainFile() {
        CShellFixture shell;
        shell.Start();
        shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr"));
        QCOMPARE(shell.Frame().MenuKind(), EMenuKind::Project);
        QVERIFY(!shell.Frame().CommandState(ECommand::Build).enabled);
        QVERIFY(!shell.Frame().CommandState(ECommand::RunWithJdb).enabled);
        shell.app->CurrentProject()->Project().SetMainFile("Main.java");
        QVERIFY(shell.Frame().CommandState(ECommand::Build).enabled);
        QVERIFY(shell.Frame().CommandState(ECommand::RunWithConsole).enabled);
        // A running tool holds Build back, not the commands that open a terminal.
        CProcessRunner runner;
        QVERIFY(runner.Start("", "sleep 30", shell.dir.Path()));
        QVERIFY(!shell.Frame().CommandState(ECommand::Build).enabled);
        QVERIFY(shell.Frame().CommandState(ECommand::RunWithConsole).enabled);
        QVERIFY(shell.Frame().CommandState(ECommand::RunWithJdb).enabled);
        runner.Terminate(CProcessRunner::kAbortExitCode);
        QTRY_VERIFY_WITH_TIMEOUT(runner.IsFinished(), 30000);
    }

    void toolCommandsWaitWhileAToolRuns() {
        CShellFixture shell;
        shell.Start();
        shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr"));
        shell.app->CurrentProject()->Project().SetMainHtmlFile("page.html");
        shell.app->OpenDocumentFile(shell.dir.Write("A.java", "class A {}\n"));
        const ECommand waiting[] = {ECommand::Compile, ECommand::Build, ECommand::RunApplication,
                                    ECommand::RunApplet};
        const ECommand unaffected[] = {ECommand::RunWithConsole, ECommand::AddFiles,
                                       ECommand::ProjectWindow, ECommand::JarMainFolder};
        CProcessRunner runner;
        QVERIFY(runner.Start("", "sleep 30", shell.dir.Path()));
        for (ECommand id : waiting) {
            QVERIFY2(!shell.Frame().CommandState(id).enabled, qPrintable(Name(id)));
        }
        for (ECommand id : unaffected) {
            QVERIFY2(shell.Frame().CommandState(id).enabled, qPrintable(Name(id)));
        }
        runner.Terminate(CProcessRunner::kAbortExitCode);
        QTRY_VERIFY_WITH_TIMEOUT(runner.IsFinished(), 30000);
        for (ECommand id : waiting) {
            QVERIFY2(shell.Frame().CommandState(id).enabled, qPrintable(Name(id)));
        }
    }

    void toolsCommandsReachTheProjectFromASourceWindow() {
        CShellFixture shell;
        shell.Start();
        shell.app->OpenDocumentFile(shell.dir.Write("A.java", "class A {}\n"));
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::CreateAntScript)); // no project: nothing
        QVERIFY(shell.host.messages.empty());
        shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr"));
        shell.app->OpenDocumentFile(shell.dir.File("A.java"));
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::CreateAntScript));
        QCOMPARE(shell.host.MessageTexts(),
                 std::vector<std::string>{"Please specify a main Java file first"});
    }

    void buildAndRunFromTheMenusUseTheRealJdk() {
        CShellFixture shell;
        shell.Start();
        const std::string source = shell.dir.Write(
            "src/Hello.java", "public class Hello {\n  public static void main(String[] args) {\n"
                              "    System.out.println(\"hello from Hello\");\n  }\n}\n");
        {
            CJavaProjectDoc project(shell.app->Settings(), shell.host);
            project.AddFile(source);
            project.SetMainFile("Hello.java");
            QCOMPARE(project.Save(shell.dir.File("src/Hello.jpr")), std::string());
        }
        shell.app->OpenDocumentFile(shell.dir.File("src/Hello.jpr"));
        auto runTool = [&](ECommand command) -> std::string {
            const size_t before = shell.host.runners.size();
            if (!shell.Frame().ExecuteCommand(command) || shell.host.runners.size() != before + 1) {
                return "<no tool started>";
            }
            CProcessRunner& runner = *shell.host.runners.back();
            if (!QTest::qWaitFor([&] { return runner.IsFinished(); }, 60000)) {
                return "<tool did not finish>";
            }
            return runner.GetOutput();
        };
        const std::string built = runTool(ECommand::Build);
        QVERIFY2(built.find("No Errors") != std::string::npos, built.c_str());
        QVERIFY(QFileInfo::exists(QString::fromStdString(shell.dir.File("src/Hello.class"))));
        const std::string ran = runTool(ECommand::RunApplication);
        QVERIFY2(ran.find("hello from Hello") != std::string::npos, ran.c_str());
    }

    void commandsNobodyCarriesOutAreGreyed() {
        CShellFixture shell;
        shell.Start();
        QVERIFY(!shell.Frame().CommandState(ECommand::Undo).enabled);
        QVERIFY(shell.Frame().CommandState(ECommand::FileOpen).enabled);
        QVERIFY(shell.Frame().CommandState(ECommand::SaveAll).enabled);
        QCOMPARE(shell.Frame().CommandState(ECommand::ViewToolbar).checked,
                 std::optional<bool>(true));
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::ViewToolbar));
        QCOMPARE(shell.Frame().CommandState(ECommand::ViewToolbar).checked,
                 std::optional<bool>(false));
        // The project's window does not compile; the Java editor does.
        shell.app->OpenDocumentFile(WriteEmptyProject(shell.dir, "P.jpr"));
        QVERIFY(!shell.Frame().CommandState(ECommand::Compile).enabled);
        QVERIFY(!shell.Frame().Action(ECommand::Compile)->isEnabled());
    }

    void routeAsksTheMostSpecificTargetFirst() {
        CCommandTarget view, document, application;
        std::vector<std::string> ran;
        document.CommandMap().OnCommand(ECommand::Copy, [&] { ran.push_back("document"); });
        application.CommandMap().OnCommand(ECommand::Copy, [&] { ran.push_back("application"); });
        application.CommandMap().OnEnable(ECommand::Copy, [] { return true; });
        view.CommandMap().OnEnable(ECommand::Copy, [] { return false; });
        CCommandRoute route({&view, nullptr, &document, &application});
        QVERIFY(!route.State(ECommand::Copy).enabled); // the view's rule comes first
        QVERIFY(!route.Execute(ECommand::Copy));
        view.CommandMap().OnEnable(ECommand::Copy, [] { return true; });
        QVERIFY(route.Execute(ECommand::Copy));
        QCOMPARE(ran, std::vector<std::string>{"document"});
        QVERIFY(!route.State(ECommand::Paste).enabled); // no handler anywhere
        application.CommandMap().OnEnable(ECommand::Paste, [] { return true; });
        QVERIFY(!route.State(ECommand::Paste).enabled); // a rule alone does nothing
    }

    // Whatever the desktop cannot open is named in a message, not only on standard error.
    void desktopFailuresAreReported() {
        CShellFixture shell;
        shell.Start();
        shell.host.desktopResult = false;
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::Help));
        CDocument* page = shell.app->OpenDocumentFile(shell.dir.Write("a.html", "<html>\n"));
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::OpenInWebBrowser));
        const std::vector<std::string> texts = shell.host.MessageTexts();
        QCOMPARE(texts.size(), size_t(2));
        QVERIFY(QString::fromStdString(texts[0]).contains("/help/index.html"));
        QCOMPARE(texts[1], "The desktop could not open \"" + page->PathName() + "\".");
    }

    void helpOpensTheOwnPagesAndJdkHelpSearches() {
        CShellFixture shell;
        shell.Start();
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::Help));
        QCOMPARE(shell.host.desktopOpened.size(), size_t(1));
        QVERIFY(QString::fromStdString(shell.host.desktopOpened[0]).endsWith("/help/index.html"));
        QVERIFY(QFileInfo::exists(QString::fromStdString(shell.host.desktopOpened[0])));

        shell.app->Settings().helpPath = shell.dir.File("nothing/index.html");
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::JdkHelp));
        QCOMPARE(shell.host.messages.size(), size_t(1));
        QCOMPARE(shell.host.desktopOpened.size(), size_t(1));

        const std::string index = shell.dir.Write("api/index.html", "<html>");
        shell.app->Settings().helpPath = index;
        QVERIFY(shell.Frame().ExecuteCommand(ECommand::JdkHelp));
        QCOMPARE(shell.host.desktopOpened.back(), index);
        shell.app->OpenJdkHelp("String");
        QCOMPARE(shell.host.desktopOpened.back(),
                 "file://" + shell.dir.File("api/search.html") + "?q=String");
    }
};

QTEST_MAIN(CommandStateTest)
#include "CommandStateTest.moc"
