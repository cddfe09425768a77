#include "CommandFixture.h"

#include "core/app/SettingsKeys.h"
#include "core/app/SettingsStore.h"

using namespace tovin;
using namespace tovin::test;

namespace {

class RunCommands : public CommandTest {};

const char* const kPause = "printf 'Press Enter to continue . . . '; read _\n";

} // namespace

TEST_F(RunCommands, PlainMainClassRunsWithTheSingleBlankOfTheOptions) {
    AddJava("p/Hello.java");
    project->Run(true);
    const CProcessRunner& runner = LastRunner();
    EXPECT_EQ(runner.GetApplicationPath(), Tool("java"));
    EXPECT_EQ(runner.GetCommandLine(), "java Hello");
    EXPECT_EQ(runner.GetWorkingDirectory(), dir.File("p"));
    EXPECT_EQ(host.captions, std::vector<std::string>{"java Hello"});
}

TEST_F(RunCommands, PackagedMainClassRunsFromItsClassRoot) {
    AddJava("p/src/com/acme/App.java", "com.acme");
    project->SetMainFile("App.java");
    project->SetRunOptions("-Xmx64m");
    project->SetClassPath("/lib");
    project->Run(true);
    const CProcessRunner& runner = LastRunner();
    EXPECT_EQ(runner.GetCommandLine(), "java -Xmx64m -classpath \"/lib:.\" com.acme.App");
    EXPECT_EQ(runner.GetWorkingDirectory(), dir.File("p/src"));
}

TEST_F(RunCommands, OnlyTheLastExtensionIsCut) {
    AddJava("p/Foo.bar.java");
    project->Run(true);
    EXPECT_EQ(LastRunner().GetCommandLine(), "java Foo.bar");
}

TEST_F(RunCommands, WorkingDirectoryReplacesTheClassRoot) {
    AddJava("p/Hello.java");
    project->SetWorkingDir(Folder("run"));
    project->Run(true);
    EXPECT_EQ(LastRunner().GetWorkingDirectory(), dir.File("run"));
    EXPECT_EQ(CurrentFolder(), dir.File("run"));
}

TEST_F(RunCommands, ArgumentsDialogAppendsTheEnteredText) {
    CMemorySettingsStore store;
    store.SetString(kSectionOptions, kKeyLastLaunch, "before");
    project->SetSettingsStore(&store);
    settings.showArgs = 1;
    AddJava("p/Hello.java");
    host.argumentAnswers = {std::string(""), std::string("a \"b c\""), std::nullopt};

    project->Run(true);
    EXPECT_EQ(LastRunner().GetCommandLine(), "java Hello ");
    project->Run(true);
    EXPECT_EQ(LastRunner().GetCommandLine(), "java Hello a \"b c\"");
    project->Run(true); // cancelled
    EXPECT_EQ(host.runners.size(), 2u);
    EXPECT_EQ(host.argumentRequests, (std::vector<std::string>{"before", "", "a \"b c\""}));
    EXPECT_EQ(store.GetString(kSectionOptions, kKeyLastLaunch, "?"), "a \"b c\"");
    // The caption is the command before the arguments, also for the cancelled run.
    EXPECT_EQ(host.captions, std::vector<std::string>(3, "java Hello"));
}

TEST_F(RunCommands, ConsoleRunWritesTheScriptAndOpensATerminal) {
    AddJava("p/src/com/acme/App.java", "com.acme");
    project->SetMainFile("App.java");
    project->SetClassPath("/my lib");
    project->Run(false);
    EXPECT_TRUE(host.runners.empty());
    ASSERT_EQ(host.terminals.size(), 1u);
    EXPECT_EQ(host.terminals[0].first, dir.File("cache/tovin/tovinrun.sh"));
    EXPECT_EQ(host.terminals[0].second, dir.File("p/src"));
    // The chosen JDK's launcher, not whichever "java" the terminal's PATH finds first.
    EXPECT_EQ(ConsoleScript(),
              "#!/bin/sh\n" + Tool("java") + " -classpath '/my lib:.' com.acme.App\n" + kPause);
}

TEST_F(RunCommands, ConsoleRunReportsATerminalThatDoesNotOpen) {
    AddJava("p/Hello.java");
    host.terminalError = "No terminal emulator found";
    project->Run(false);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "No terminal emulator found");
    EXPECT_EQ(host.messages[0].caption, "Error");
}

TEST_F(RunCommands, NoMainFileIsReported) {
    project->Run(true);
    EXPECT_EQ(host.MessageTexts(),
              std::vector<std::string>{"Please specify a main Java file first"});
}

TEST_F(RunCommands, ScriptAndBuildFileMainFilesRunWithTheirTools) {
    const std::string script = AddJava("p/script.py");
    project->SetMainFile("script.py");
    project->Run(true);
    EXPECT_EQ(LastRunner().GetCommandLine(),
              "\"" + Tool("java") +
                  "\" \"-Dpython.home=/jy\" -classpath \"/jy/jython.jar\" "
                  "org.python.util.jython \"" +
                  script + "\"");

    std::vector<std::pair<std::string, std::string>> antRuns;
    project->SetRunAntHook([&](const std::string& file, const std::string& target) {
        antRuns.emplace_back(file, target);
    });
    const std::string build = AddJava("p/tool.xml");
    project->SetMainFile("tool.xml");
    project->Run(true);
    EXPECT_EQ(antRuns, (std::vector<std::pair<std::string, std::string>>{{build, ""}}));
    EXPECT_EQ(host.runners.size(), 1u);
}

TEST_F(RunCommands, RunJythonComposesTheInterpreterLine) {
    const std::string script = dir.Write("py/x.py", "");
    project->SetClassPath("/lib");
    project->RunJython(script, false, "a b");
    const CProcessRunner& runner = LastRunner();
    EXPECT_EQ(runner.GetApplicationPath(), Tool("java"));
    EXPECT_EQ(runner.GetCommandLine(),
              "\"" + Tool("java") +
                  "\" \"-Dpython.home=/jy\" -classpath \"/jy/jython.jar:/lib\" "
                  "org.python.util.jython \"" +
                  script + "\" a b");
    EXPECT_EQ(runner.GetWorkingDirectory(), dir.File("py"));
    EXPECT_EQ(host.captions, std::vector<std::string>{"Jython: \"" + script + "\""});

    project->RunJython(script, true, "");
    EXPECT_EQ(ConsoleScript(), "#!/bin/sh\n" + Tool("java") +
                                   " -Dpython.home=/jy -classpath /jy/jython.jar:/lib "
                                   "org.python.util.jython " +
                                   script + "\n" + kPause);
}

TEST_F(RunCommands, CompileJythonRunsTheCompilerScript) {
    const std::string script = dir.Write("py/x.py", "");
    project->CompileJython(script);
    EXPECT_EQ(LastRunner().GetCommandLine(),
              "\"" + Tool("java") +
                  "\" \"-Dpython.home=/jy\" -classpath \"/jy/jython.jar\" "
                  "org.python.util.jython \"/jy/Tools/jythonc/jythonc.py\" \"" +
                  script + "\"");
    EXPECT_EQ(LastRunner().GetWorkingDirectory(), dir.File("py"));
    EXPECT_EQ(host.captions, std::vector<std::string>{"Compiling \"" + script + "\""});
}

TEST_F(RunCommands, RunAppletShowsThePageFromItsFolder) {
    const std::string page = dir.Write("web/my page.html", "");
    project->RunApplet(page);
    const CProcessRunner& runner = LastRunner();
    EXPECT_EQ(runner.GetApplicationPath(), Tool("appletviewer"));
    EXPECT_EQ(runner.GetCommandLine(), "appletviewer \"my page.html\"");
    EXPECT_EQ(runner.GetWorkingDirectory(), dir.File("web"));
    EXPECT_EQ(host.captions, std::vector<std::string>{"AppletViewer: \"" + page + "\""});
}

// A JDK without appletviewer (every one since 11) shows the page with our own viewer when the
// data folder has it, on the JDK's launcher with the project's run options and class path.
TEST_F(RunCommands, RunAppletWithoutTheJdksViewerUsesOurOwn) {
    struct SRow {
        const char* name;
        bool jdkViewer;
        bool ownViewer;
        const char* runOptions;
        const char* classPath;
        std::string tool;    // relative to the fake JDK's bin folder
        std::string command; // {jar} stands for our viewer's path
    };
    const SRow rows[] = {
        {"JdkViewerWins", true, true, "-ea", "/lib", "appletviewer", "appletviewer \"a b.html\""},
        {"OwnViewer", false, true, "", "", "java",
         "java -classpath \"{jar}\" TovinAppletViewer \"a b.html\""},
        {"OwnViewerWithOptionsAndClassPath", false, true, "-ea -Dx=1", "/lib:/more", "java",
         "java -ea -Dx=1 -classpath \"{jar}:/lib:/more\" TovinAppletViewer \"a b.html\""},
    };
    const std::string page = dir.Write("web/a b.html", "");
    for (const auto& row : rows) {
        const std::string data = Folder(std::string("data-") + row.name);
        const std::string jar = data + "/appletviewer/TovinAppletViewer.jar";
        if (row.ownViewer) {
            dir.Write(std::string("data-") + row.name + "/appletviewer/TovinAppletViewer.jar",
                      "PK");
        }
        setenv("TOVIN_DATA_DIR", data.c_str(), 1);
        std::filesystem::remove(Tool("appletviewer"));
        if (row.jdkViewer) {
            std::filesystem::create_symlink("/bin/true", Tool("appletviewer"));
        }
        project->SetRunOptions(row.runOptions);
        project->SetClassPath(row.classPath);
        host.runners.clear();
        host.captions.clear();
        project->RunApplet(page);
        unsetenv("TOVIN_DATA_DIR");
        EXPECT_EQ(host.captions, std::vector<std::string>{"AppletViewer: \"" + page + "\""})
            << row.name;
        const CProcessRunner& runner = LastRunner();
        std::string command = row.command;
        if (auto at = command.find("{jar}"); at != std::string::npos) {
            command.replace(at, 5, jar);
        }
        EXPECT_EQ(runner.GetApplicationPath(), Tool(row.tool)) << row.name;
        EXPECT_EQ(runner.GetCommandLine(), command) << row.name;
        EXPECT_EQ(runner.GetWorkingDirectory(), dir.File("web")) << row.name;
    }
}

TEST_F(RunCommands, MainAppletNeedsItsPageInTheProject) {
    project->SetMainHtmlFile("page.html");
    project->RunMainApplet();
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Unable to open the HTML file."});
    const std::string page = dir.Write("web/page.html", "");
    project->AddHtmlFile(page);
    project->RunMainApplet();
    EXPECT_EQ(LastRunner().GetCommandLine(), "appletviewer \"page.html\"");
}

TEST_F(RunCommands, DebuggerRunsInATerminal) {
    AddJava("p/src/com/acme/App.java", "com.acme");
    project->SetMainFile("App.java");
    project->SetRunOptions("-ea");
    project->RunWithJdb();
    EXPECT_TRUE(host.runners.empty());
    EXPECT_EQ(host.captions, std::vector<std::string>{"jdb -ea com.acme.App"});
    ASSERT_EQ(host.terminals.size(), 1u);
    EXPECT_EQ(host.terminals[0].second, dir.File("p/src"));
    EXPECT_EQ(ConsoleScript(), "#!/bin/sh\n" + Tool("jdb") + " -ea com.acme.App\n" + kPause);
}

TEST_F(RunCommands, MissingDebuggerIsReported) {
    AddJava("p/App.java");
    project->SetMainFile("App.java");
    settings.javaBin = dir.File("nowhere");
    project->RunWithJdb();
    EXPECT_TRUE(host.terminals.empty());
    EXPECT_EQ(host.MessageTexts(),
              (std::vector<std::string>{"Cannot run \"" + dir.File("nowhere/bin/jdb") +
                                            "\": " + SystemErrorText(ENOENT),
                                        "Couldn't locate Java."}));
    EXPECT_EQ(host.messages[0].caption, "Error");
}

// An applet has no main method: the launcher would only fail with "Main method not found".
TEST_F(RunCommands, AnAppletMainClassPointsToRunApplet) {
    struct SRow {
        const char* name;
        const char* text;
        bool applet;
    } rows[] = {
        {"Applet",
         "import java.applet.Applet;\npublic class Bouncer extends Applet {\n"
         "  public void init() {}\n}\n",
         true},
        {"JApplet, qualified", "public class Bouncer extends javax.swing.JApplet {}\n", true},
        {"an applet with its own main",
         "public class Bouncer extends Applet {\n"
         "  public static void main(String[] a) {}\n}\n",
         false},
        {"an application", "public class Bouncer extends Object {\n  void init() {}\n}\n", false},
    };
    for (const auto& row : rows) {
        host.messages.clear();
        host.runners.clear();
        dir.Write("a/Bouncer.java", row.text);
        project->AddFile(dir.File("a/Bouncer.java"));
        project->SetMainFile("Bouncer.java");
        project->Run(true);
        EXPECT_EQ(host.runners.empty(), row.applet) << row.name;
        if (row.applet) {
            ASSERT_EQ(host.messages.size(), 1u) << row.name;
            EXPECT_NE(host.messages[0].text.find("Run Applet (Shift+F5)"), std::string::npos)
                << row.name;
        } else {
            LastRunner();
        }
    }
}
