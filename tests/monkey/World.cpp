#include "World.h"

#include "core/app/Settings.h"
#include "core/process/SilentUiHost.h"
#include "core/project/JavaProjectDoc.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tovin::monkey {

namespace {

[[noreturn]] void Abandon(const std::string& what) {
    std::cerr << "monkey: cannot prepare its folder: " << what << "\n";
    std::exit(2);
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out) {
        Abandon("cannot write " + path.string());
    }
}

// One more file of each kind beside the example's two classes: a class that reads its
// (empty) input, a program that never ends, an applet page, an Ant build file, a Jython
// script and an 8-bit XML file with CR LF line ends.
struct SExtraFile {
    const char* name;
    const char* bytes;
};
const SExtraFile kExtraFiles[] = {
    {"src/com/example/extra/Counter.java",
     "package com.example.extra;\r\n"
     "\r\n"
     "import java.io.BufferedReader;\r\n"
     "import java.io.InputStreamReader;\r\n"
     "\r\n"
     "// Z\xC3\xA4hler: counts the lines of its input.\r\n"
     "public class Counter {\r\n"
     "    private int count;\r\n"
     "\r\n"
     "    public void add(String line) {\r\n"
     "        count++;\r\n"
     "    }\r\n"
     "\r\n"
     "    static class Total {\r\n"
     "        int value() { return 0; }\r\n"
     "    }\r\n"
     "\r\n"
     "    public static void main(String[] args) throws Exception {\r\n"
     "        BufferedReader in = new BufferedReader(new InputStreamReader(System.in));\r\n"
     "        Counter counter = new Counter();\r\n"
     "        for (String line = in.readLine(); line != null; line = in.readLine()) {\r\n"
     "            counter.add(line);\r\n"
     "        }\r\n"
     "        System.out.println(\"lines: \" + counter.count);\r\n"
     "    }\r\n"
     "}\r\n"},
    {"src/com/example/extra/Spinner.java",
     "package com.example.extra;\n"
     "\n"
     "public class Spinner {\n"
     "\tpublic static void main(String[] args) throws InterruptedException {\n"
     "\t\tSystem.out.println(\"spinning\");\n"
     "\t\twhile (true) {\n"
     "\t\t\tThread.sleep(100);\n"
     "\t\t}\n"
     "\t}\n"
     "}\n"},
    {"page.html", "<html>\n"
                  "<head><title>Greeting</title></head>\n"
                  "<body>\n"
                  "<h1>Greeting</h1>\n"
                  "<applet code=\"com.example.hello.HelloApp.class\" width=\"200\" height=\"80\">\n"
                  "</applet>\n"
                  "</body>\n"
                  "</html>\n"},
    {"tasks.xml", "<?xml version=\"1.0\"?>\n"
                  "<project name=\"tasks\" default=\"hello\" basedir=\".\">\n"
                  "    <target name=\"hello\">\n"
                  "        <echo message=\"Hello from Ant\"/>\n"
                  "    </target>\n"
                  "    <target name=\"later\" depends=\"hello\">\n"
                  "        <echo message=\"and later\"/>\n"
                  "    </target>\n"
                  "</project>\n"},
    {"script.py", "# Greets the monkey.\n"
                  "def greet(name):\n"
                  "    return \"Hello, \" + name\n"
                  "\n"
                  "class Greeter:\n"
                  "    def say(self):\n"
                  "        print greet(\"monkey\")\n"
                  "\n"
                  "Greeter().say()\n"},
    {"legacy.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
                   "<!-- caf\xE9 -->\r\n"
                   "<project name=\"legacy\" default=\"show\">\r\n"
                   "  <target name=\"show\"><echo message=\"old\"/></target>\r\n"
                   "</project>\r\n"},
};

std::string MakeFolder(const fs::path& path) {
    std::error_code error;
    fs::create_directories(path, error);
    if (error) {
        Abandon(path.string() + ": " + error.message());
    }
    return path.string();
}

} // namespace

bool SWorld::Inside(const std::string& path) const {
    const std::string normal = fs::path(path).lexically_normal().string();
    return normal == root || normal.rfind(root + "/", 0) == 0;
}

// The work folder's regular files or its folders (with itself), sorted.
std::vector<std::string> SWorld::Entries(bool folders) const {
    std::vector<std::string> found;
    if (folders) {
        found.push_back(work);
    }
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(work, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (folders ? it->is_directory(error) : it->is_regular_file(error)) {
            found.push_back(it->path().string());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

SWorld PrepareWorld(const std::string& sourceDir) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tovin-monkey-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        Abandon(pattern);
    }
    SWorld world;
    world.root = fs::canonical(pattern).string();
    const fs::path root = world.root;
    const std::pair<const char*, const char*> folders[] = {
        {"HOME", "home"},          {"XDG_CONFIG_HOME", "config"}, {"XDG_CACHE_HOME", "cache"},
        {"XDG_DATA_HOME", "data"}, {"XDG_STATE_HOME", "state"},   {"XDG_RUNTIME_DIR", "runtime"},
        {"TMPDIR", "tmp"},
    };
    for (const auto& [variable, name] : folders) {
        ::setenv(variable, MakeFolder(root / name).c_str(), 1);
    }
    fs::permissions(root / "runtime", fs::perms::owner_all);
    // No terminal is ever opened (the host stands in for it), and the windows are offscreen.
    ::unsetenv("TERMINAL");
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);

    world.work = MakeFolder(root / "work");
    world.settings = (root / "config" / "Tovin.conf").string();
    const fs::path project = root / "work" / "HelloApp";
    std::error_code error;
    fs::copy(fs::path(sourceDir) / "examples" / "HelloApp", project, fs::copy_options::recursive,
             error);
    if (error) {
        Abandon("copy of examples/HelloApp: " + error.message());
    }
    fs::permissions(project, fs::perms::owner_write, fs::perm_options::add);
    for (const SExtraFile& file : kExtraFiles) {
        WriteBytes(project / file.name, file.bytes);
    }
    world.project = (project / "HelloApp.jpr").string();
    for (auto it = fs::recursive_directory_iterator(project);
         it != fs::recursive_directory_iterator(); ++it) {
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add);
    }

    // The copied project takes its own files, then the extra ones.
    CSettings settings;
    CSilentUiHost host;
    CJavaProjectDoc document(settings, host);
    if (std::string problem = document.Load(world.project); !problem.empty()) {
        Abandon(problem);
    }
    document.RebaseEntries();
    for (const SExtraFile& file : kExtraFiles) {
        document.AddFile((project / file.name).string());
    }
    if (std::string problem = document.Save(world.project); !problem.empty()) {
        Abandon(problem);
    }
    world.pristine = (root / "pristine").string();
    fs::copy(project, world.pristine, fs::copy_options::recursive, error);
    if (error) {
        Abandon("copy of the project: " + error.message());
    }
    if (::chdir(world.work.c_str()) != 0) {
        Abandon("cannot enter " + world.work);
    }
    return world;
}

void RemoveWorld(const SWorld& world) {
    std::error_code error;
    fs::remove_all(world.root, error);
}

bool WrittenByRun(const std::string& path, const std::string& tovinSettings,
                  const std::string& runRoot) {
    if (path == tovinSettings) {
        return true;
    }
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return !runRoot.empty() && text.find(runRoot) != std::string::npos;
}

COutsideWatch::COutsideWatch(std::vector<std::string> roots, std::vector<std::string> skip,
                             std::vector<std::string> shared,
                             std::function<bool(const std::string&)> counts)
    : m_roots(std::move(roots)), m_skip(std::move(skip)), m_shared(std::move(shared)),
      m_counts(std::move(counts)) {
    m_roots.insert(m_roots.end(), m_shared.begin(), m_shared.end());
    m_start = Snapshot();
}

bool COutsideWatch::Counts(const std::string& path) const {
    for (const std::string& root : m_shared) {
        if (path == root || path.rfind(root + "/", 0) == 0) {
            return !m_counts || m_counts(path);
        }
    }
    return true;
}

std::map<std::string, COutsideWatch::SState> COutsideWatch::Snapshot() const {
    std::map<std::string, SState> states;
    std::error_code error;
    auto take = [&states, &error](const fs::path& path) {
        const auto status = fs::symlink_status(path, error);
        if (error || fs::is_symlink(status) || !fs::exists(status)) {
            return;
        }
        const auto size = fs::is_regular_file(status) ? fs::file_size(path, error) : 0;
        const auto time = fs::last_write_time(path, error);
        if (!error) {
            states[path.string()] = {size, time};
        }
    };
    for (const std::string& root : m_roots) {
        take(root);
        if (!fs::is_directory(root, error)) {
            continue;
        }
        for (auto it = fs::recursive_directory_iterator(root, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (it->is_directory(error) &&
                std::find(m_skip.begin(), m_skip.end(), name) != m_skip.end()) {
                it.disable_recursion_pending();
                continue;
            }
            take(it->path());
        }
    }
    return states;
}

std::vector<std::string> COutsideWatch::Changes() const {
    const std::map<std::string, SState> now = Snapshot();
    std::vector<std::string> changes;
    for (const auto& [path, state] : now) {
        auto before = m_start.find(path);
        if (before == m_start.end() && Counts(path)) {
            changes.push_back("created: " + path);
        } else if (before != m_start.end() && !(before->second == state) && Counts(path)) {
            changes.push_back("changed: " + path);
        }
    }
    for (const auto& [path, state] : m_start) {
        if (!now.count(path) && Counts(path)) {
            changes.push_back("removed: " + path);
        }
    }
    return changes;
}

} // namespace tovin::monkey
