// A first start on today's Debian: no settings file at all, Debian's JDK 17 (which has no applet
// viewer), ant and jython packages. Every run command must work out of the box.

#include "E2eFixture.h"

#include "core/app/SettingsStore.h"
#include "core/platform/Paths.h"
#include "core/platform/Spawn.h"

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tovin;
using namespace tovin::test;

namespace {

// An X server of the test's own for the applet windows. It picks a free display itself and
// reports it through -displayfd once it accepts connections, so nothing waits for a guessed time.
class CXvfb {
public:
    CXvfb() {
        int fds[2];
        if (::pipe(fds) != 0) {
            return;
        }
        const std::string fd = std::to_string(fds[1]);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(fds[0]);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
                     "640x480x24", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        char c;
        while (m_pid > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n') {
            m_display += c;
        }
        ::close(fds[0]);
        if (!m_display.empty()) {
            m_display.insert(0, ":");
        }
    }
    ~CXvfb() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            int status = 0;
            ::waitpid(m_pid, &status, 0);
        }
    }
    CXvfb(const CXvfb&) = delete;
    CXvfb& operator=(const CXvfb&) = delete;

    // ":N", or empty when the server did not start.
    const std::string& Display() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

class FreshSetupE2e : public E2eTest {
protected:
    FreshSetupE2e() {
        // Exactly what the program reads at its first start: an empty store and the machine.
        const CMemorySettingsStore empty;
        settings = LoadSettings(empty);
    }

    // A project in the test folder holding the one file, which is its main file.
    void ProjectWithMainFile(const std::string& name, const std::string& content) {
        const std::string path = dir.Write("fresh/" + name, content);
        project->AddFile(path);
        project->SetMainFile(name);
        ASSERT_EQ(project->Save(dir.File("fresh/Fresh.jpr")), "");
    }
};

TEST_F(FreshSetupE2e, AntRunsWithAnEmptySettingsStore) {
    if (!FileExists("/usr/share/ant/lib/ant.jar") && !std::getenv("ANT_HOME")) {
        GTEST_SKIP() << "Ant is not installed";
    }
    ProjectWithMainFile("build.xml", "<project name=\"fresh\" default=\"hello\">\n"
                                     "  <target name=\"hello\"><echo message=\"ant: hello\"/>"
                                     "</target>\n"
                                     "</project>\n");
    project->Run(true);
    const std::string output = ToolOutput();
    EXPECT_NE(output.find("[echo] ant: hello"), std::string::npos) << output;
    EXPECT_NE(output.find("BUILD SUCCESSFUL"), std::string::npos) << output;
    EXPECT_TRUE(output.ends_with("Exit code: 0\r\nNo Errors")) << output;
}

TEST_F(FreshSetupE2e, JythonRunsWithAnEmptySettingsStore) {
    if (!FileExists(std::string(kJythonFolder) + "/jython.jar") && !std::getenv("JYTHON_HOME")) {
        GTEST_SKIP() << "jython is not installed";
    }
    ProjectWithMainFile("hello.py", "print('jython: ' + str(6 * 7))\n");
    project->Run(true);
    const std::vector<std::string> lines = OutputLines(ToolOutput());
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3], "jython: 42");
    EXPECT_EQ(lines.back(), "No Errors");
}

// The example applet and the page and source the New Project wizard writes for an applet, shown
// by Run Applet. The JDK has no appletviewer, so our own viewer shows them; its check mode
// (switched on through the project's run options) starts each applet in its window, reports it
// and ends.
TEST_F(FreshSetupE2e, AppletPagesRunWithoutTheJdksAppletViewer) {
    if (!FindExecutableOnPath(settings.javaBin + "/bin/appletviewer").empty()) {
        GTEST_SKIP() << "this JDK still has its own applet viewer";
    }
    ASSERT_NE(FindDataFile("appletviewer/TovinAppletViewer.jar"), "")
        << "the build did not make the applet viewer";
    if (FindExecutableOnPath("Xvfb").empty()) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    CXvfb xvfb;
    ASSERT_NE(xvfb.Display(), "") << "Xvfb did not start";
    setenv("DISPLAY", xvfb.Display().c_str(), 1);

    LoadExample("AppletDemo");
    BuildOk(); // the applet classes are deprecated but still compile
    project->SetRunOptions("-Dtovin.appletviewer.check=true");
    host.runners.clear();
    project->RunMainApplet();
    std::string output = ToolOutput();
    EXPECT_NE(output.find("Applet AppletDemo started 300x80\r\n"), std::string::npos) << output;
    EXPECT_TRUE(output.ends_with("Exit code: 0\r\nNo Errors")) << output;

    const std::string source =
        dir.Write("wizard/Hello.java", "import java.awt.*;\nimport java.applet.*;\n\n"
                                       "public class Hello extends Applet\n{\n"
                                       "\tpublic void paint(Graphics g)\n\t{\n"
                                       "\t\tg.drawString(\"Hello World\", 20, 20);\n\t}\n}\t");
    const std::string page =
        dir.Write("wizard/Example1.html",
                  "<HTML>\n\t<HEAD>\n\t\t<TITLE>MyApplet Example1</TITLE>\n\t</HEAD>\n\t<BODY>\n"
                  "\t\t<H1>MyApplet</H1>\n\t\t<HR>\n\t\t<P>\n"
                  "\t\t\t<APPLET CODE=\"Hello.class\" WIDTH=\"300\" HEIGHT=\"300\">\n"
                  "\t\t\t</APPLET>\n\t\t</P>\n\t\t<HR>\n\t</BODY>\n</HTML>");
    ASSERT_TRUE(RunJdkTool("javac", "-nowarn \"" + source + "\"", dir.File("wizard"))
                    .ends_with("No Errors"));
    host.runners.clear();
    project->RunApplet(page);
    output = ToolOutput();
    EXPECT_NE(output.find("Applet Hello started 300x300\r\n"), std::string::npos) << output;
    EXPECT_TRUE(output.ends_with("Exit code: 0\r\nNo Errors")) << output;

    // What a page may say in its applet tags: a class in a package under a code base, an archive,
    // parameters in any case with character references, unquoted values, two applets.
    dir.Write("site/src/demo/Echo.java",
              "package demo;\n"
              "public class Echo extends java.applet.Applet {\n"
              "    public void init() {\n"
              "        System.out.println(\"Echo greeting=\" + getParameter(\"GREETING\")\n"
              "            + \" base=\" + getCodeBase().getPath().endsWith(\"/site/classes/\"));\n"
              "    }\n"
              "}\n");
    dir.Write("site/src/Packed.java", "public class Packed extends java.applet.Applet {}\n");
    ASSERT_TRUE(RunJdkTool("javac", "-nowarn -d classes src/demo/Echo.java src/Packed.java",
                           dir.File("site"))
                    .ends_with("No Errors"));
    std::filesystem::create_directories(dir.File("site/lib"));
    const std::string jarOutput =
        RunJdkTool("jar", "cf lib/packed.jar -C classes Packed.class", dir.File("site"));
    ASSERT_TRUE(jarOutput.ends_with("No Errors")) << jarOutput;
    std::filesystem::remove(dir.File("site/classes/Packed.class"));
    const std::string tags =
        dir.Write("site/tags.html",
                  "<!-- <applet code=Commented.class width=1 height=1></applet> -->\n"
                  "<applet code=\"demo/Echo.class\" codebase=\"classes\" width=120 height='40'>\n"
                  "  <PARAM NAME=\"Greeting\" VALUE=\"a &amp; b\">\n"
                  "</applet>\n"
                  "<APPLET CODE=Packed ARCHIVE=\"lib/packed.jar\" CODEBASE=.></APPLET>\n");
    host.runners.clear();
    project->RunApplet(tags);
    const std::vector<std::string> lines = OutputLines(ToolOutput());
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Echo greeting=a & b base=true", "Applet demo.Echo started 120x40",
                         "Applet Packed started 100x100", "Exit code: 0", "No Errors"}));
    unsetenv("DISPLAY");
}

} // namespace
