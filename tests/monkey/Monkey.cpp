// The monkey: the real application, in this process, on a copy of the example project, under a
// seeded random user for a given number of actions. After every action nothing may have crashed,
// no sanitizer may have spoken and no unexpected message may have shown; after every Save All
// each open document's text is its file's, and the project file reloads with the files the
// project window shows; at the end nothing outside the run's folder was written. A failure
// prints the seed and the last actions, so `scripts/monkey --seed S --actions N` repeats it.
//
//   tovin_monkey [--actions N] [--seed S] [--keep] [--verbose]
//
// Without --seed the seed is TOVIN_MONKEY_SEED, else a random one; it is printed first.

#include "DialogWatcher.h"
#include "MonkeyHost.h"
#include "Random.h"
#include "WidgetPoker.h"
#include "World.h"

#include "core/app/Settings.h"
#include "core/editor/TextFile.h"
#include "core/platform/Files.h"
#include "core/process/SilentUiHost.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/app/EditorApp.h"
#include "gui/app/MainFrame.h"
#include "gui/desktop/InstanceChannel.h"
#include "gui/dialogs/TipOfTheDayDialog.h"
#include "gui/editor/EditorDocument.h"
#include "gui/editor/SourceDocument.h"
#include "gui/framework/CommandIds.h"
#include "gui/framework/DocTemplate.h"
#include "gui/framework/Document.h"
#include "gui/framework/DocumentFrame.h"
#include "gui/process/ProcessWindow.h"
#include "gui/project/ProjectDocument.h"
#include "gui/project/ProjectTree.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <Qsci/qsciscintilla.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iostream>
#include <pwd.h>
#include <random>
#include <set>
#include <thread>
#include <unistd.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOVIN_MONKEY_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TOVIN_MONKEY_ASAN 1
#endif

extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace tovin::monkey {

namespace {

constexpr int kReportedActions = 50;
// A tool still running after this long is stopped, as a user waiting for it would.
constexpr int kToolPatienceMs = 30000;

// ---------------------------------------------------------------- the failure report

// The report a crash or a sanitizer prints: kept ready as plain bytes, because a signal
// handler may not build it.
std::string g_crashReport;

void WriteCrashReport() {
    if (!g_crashReport.empty()) {
        (void)!::write(STDERR_FILENO, g_crashReport.data(), g_crashReport.size());
    }
}

extern "C" void OnFatalSignal(int signal) {
    WriteCrashReport();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void InstallCrashReport() {
    if (__sanitizer_set_death_callback) {
        __sanitizer_set_death_callback(WriteCrashReport);
    }
    std::signal(SIGABRT, OnFatalSignal);
#ifndef TOVIN_MONKEY_ASAN
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) {
        std::signal(signal, OnFatalSignal);
    }
#endif
}

// Qt's own warnings go into the action log, where they explain a failure; the offscreen
// platform's note that it cannot size windows to their hints says nothing about the program.
std::function<void(const QString&)> g_logQtMessage;

void OnQtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.contains(QLatin1String("This plugin does not support"))) {
        return;
    }
    if (g_logQtMessage && type != QtFatalMsg) {
        g_logQtMessage("    Qt: " + message);
        return;
    }
    std::cerr << message.toStdString() << std::endl;
}

struct SOptions {
    int actions = 2000;
    std::uint64_t seed = 0;
    bool keep = false;
    bool verbose = false;
};

SOptions ParseOptions(int argc, char** argv) {
    SOptions options;
    bool seeded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::cerr << "monkey: " << argument << " needs a value\n";
                std::exit(2);
            }
            return argv[++i];
        };
        if (argument == "--actions") {
            options.actions = std::stoi(value());
        } else if (argument == "--seed") {
            options.seed = std::stoull(value());
            seeded = true;
        } else if (argument == "--keep") {
            options.keep = true;
        } else if (argument == "--verbose") {
            options.verbose = true;
        } else if (argument.rfind("-platform", 0) != 0 && argument.rfind("-style", 0) != 0) {
            std::cerr << "usage: tovin_monkey [--actions N] [--seed S] [--keep] [--verbose]\n";
            std::exit(2);
        }
    }
    if (!seeded) {
        const char* fromEnvironment = std::getenv("TOVIN_MONKEY_SEED");
        options.seed = fromEnvironment && *fromEnvironment
                           ? std::stoull(fromEnvironment)
                           : (std::uint64_t(std::random_device{}()) << 16) ^ std::random_device{}();
        options.seed %= 1000000000;
    }
    return options;
}

// The places outside the run's folder the program could write to by mistake: the example it
// copies and its read-only data (any change there is the run's), and the user's real settings,
// caches and Java preferences (shared with the rest of the desktop; see WrittenByRun).
std::string RealHome() {
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

std::vector<std::string> HomePlaces() {
    std::vector<std::string> places;
    if (const std::string home = RealHome(); !home.empty()) {
        for (const char* name : {"/.config/Verrimond", "/.config/QtProject.conf", "/.cache/tovin",
                                 "/.local/share/Verrimond", "/.java", "/tovinrun.sh"}) {
            places.push_back(home + name);
        }
    }
    return places;
}

COutsideWatch WatchOutside(const std::string& sourceDir, const std::string& runRoot) {
    const std::string settings = RealHome() + "/.config/Verrimond/Tovin.conf";
    return COutsideWatch({sourceDir + "/examples", sourceDir + "/resources"}, {".git"},
                         HomePlaces(), [settings, runRoot](const std::string& path) {
                             return WrittenByRun(path, settings, runRoot);
                         });
}

QString Name(const std::string& path) {
    return QString::fromStdString(path.substr(path.find_last_of('/') + 1));
}

// ---------------------------------------------------------------- the monkey

class CMonkey : public QObject {
public:
    CMonkey(const SOptions& options, const SWorld& world)
        : m_options(options), m_world(world), m_random(options.seed),
          m_poker(m_random, [this] { return TypedText(); }),
          m_watcher(
              world, options.seed + 1, [this](const QString& line) { Log(line); },
              [this] { return OpenPaths(); }),
          m_host(world, [this](const QString& line) { Log(line); }),
          m_outside(WatchOutside(TOVIN_SOURCE_DIR, world.root)) {}

    void Begin() {
        g_logQtMessage = [this](const QString& line) { Log(line); };
        m_watcher.SetJudge([this](const QString& text) { return JudgeMessage(text); });
        m_clock.start();
        m_watcher.Start();
        m_channel = std::make_unique<CInstanceChannel>(CInstanceChannel::NameFor(m_world.settings));
        if (!m_channel->Listen()) {
            Fail({"the run's hand-over channel does not listen"});
        }
        StartApplication();
        Log("open the project");
        m_app->OpenDocumentFile(m_world.project);
        QTimer::singleShot(0, this, [this] { AfterStep(); });
    }

    int Result() const { return m_result; }

private:
    // ---------------------------------------------------------------- log and failures

    void Log(const QString& line) {
        if (m_options.verbose) {
            std::cout << m_step << ": " << line.toStdString() << std::endl;
        }
        m_recent.emplace_back(m_step, line);
        while (m_recent.front().first <= m_step - kReportedActions) {
            m_recent.pop_front();
        }
        g_crashReport = Report("crashed");
    }

    // The last kReportedActions actions with the answers given in between.
    std::string Report(const std::string& what) const {
        std::string text = "\nmonkey: " + what + " during action " + std::to_string(m_step) +
                           " of " + std::to_string(m_options.actions) + " (seed " +
                           std::to_string(m_options.seed) + ")\nThe last actions:\n";
        for (const auto& [step, line] : m_recent) {
            text += "  " + std::to_string(step) + ": " + line.toStdString() + "\n";
        }
        text += "Replay: scripts/monkey --seed " + std::to_string(m_options.seed) + " --actions " +
                std::to_string(m_step) + "\nThe run's folder is kept: " + m_world.root + "\n";
        return text;
    }

    [[noreturn]] void Fail(const QStringList& reasons) {
        std::string what = "FAILED: " + reasons.join("; ").toStdString();
        std::cerr << Report(what) << std::flush;
        // No leak report after a failure: the run was abandoned mid-way.
        std::_Exit(1);
    }

    // ---------------------------------------------------------------- the application

    void StartApplication() {
        m_app = std::make_unique<CEditorApp>(m_world.settings, &m_host);
        m_host.Bind(*m_app);
        CEditorApp* app = m_app.get();
        app->SetStartupTip([app] {
            QTimer::singleShot(0, app, [app] { ShowStartupTip(*app, ApplicationTipsFile()); });
        });
        if (!app->Start({})) {
            Fail({"the application did not start"});
        }
        app->AcceptHandOver(*m_channel);
        ++m_starts;
    }

    CMainFrame& Frame() const { return *m_app->MainFrame(); }

    std::set<std::string> OpenPaths() const {
        std::set<std::string> paths;
        if (m_app) {
            for (CDocument* document : m_app->Templates().AllDocuments()) {
                if (!document->PathName().empty()) {
                    paths.insert(document->PathName());
                }
            }
        }
        return paths;
    }

    QString TypedText() {
        static const std::vector<QString> words = {"Main", "hello", "x", "-g", "42", "a b", ""};
        return m_random.Chance(0.8) ? m_random.Pick(words)
                                    : QString::fromStdString(m_random.Pick(m_world.Folders()));
    }

    CProcessWindow* ProcessWindow() const {
        if (!Frame().HasProcessDock()) {
            return nullptr;
        }
        return qobject_cast<CProcessWindow*>(Frame().ProcessDock()->widget());
    }

    bool ToolRunning() const {
        CProcessWindow* window = ProcessWindow();
        return window && window->IsRunning();
    }

    // Lets the program work until `done` holds or the time is up; whether it held.
    static bool WaitFor(const std::function<bool()>& done, int milliseconds) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > milliseconds) {
                return false;
            }
            QEventLoop loop;
            QTimer::singleShot(10, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return true;
    }

    bool Trigger(ECommand command) {
        Frame().UpdateCommandUi();
        QAction* action = Frame().Action(command);
        if (!action || !action->isEnabled()) {
            return false;
        }
        Log("  " + action->text().remove('&').section('\t', 0, 0));
        action->trigger();
        return true;
    }

    // ---------------------------------------------------------------- one step

    void Step() {
        // The user acts only once the program has no question open (a dialog that came from a
        // queued start, such as the tip at start-up, is answered first).
        if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
            QTimer::singleShot(5, this, [this] { Step(); });
            return;
        }
        if (m_step >= m_options.actions) {
            Finish();
            return;
        }
        ++m_step;
        if (!m_app || !m_app->MainFrame() || !Frame().isVisible()) {
            Log("start the program again");
            m_app.reset();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            StartApplication();
        } else {
            QApplication::setActiveWindow(&Frame());
            Act();
        }
        QTimer::singleShot(0, this, [this] { AfterStep(); });
    }

    void AfterStep() {
        QStringList failures = m_watcher.TakeFailures() + m_host.TakeFailures();
        if (!failures.isEmpty()) {
            Fail(failures);
        }
        if (m_app && m_app->MainFrame() && Frame().isVisible()) {
            MindTheTool();
        }
        QTimer::singleShot(0, this, [this] { Step(); });
    }

    // Most of the time the user waits for a tool the last action started, which keeps a run
    // repeatable by its seed; now and then they go on working while it runs. A tool that has
    // run too long is stopped through the Process Window, as a user would.
    void MindTheTool() {
        if (!ToolRunning()) {
            m_toolClock.invalidate();
            return;
        }
        if (!m_toolClock.isValid()) {
            m_toolClock.start();
            if (m_random.Chance(0.75)) {
                WaitFor([this] { return !ToolRunning(); }, kToolPatienceMs);
            }
        }
        if (ToolRunning() && m_toolClock.elapsed() > kToolPatienceMs) {
            StopTool();
        }
    }

    void StopTool() {
        Log("stop the tool that runs too long");
        m_watcher.SetStopping(true);
        ProcessWindow()->RequestStop();
        const bool stopped = WaitFor([this] { return !ToolRunning(); }, 30000);
        m_watcher.SetStopping(false);
        if (!stopped) {
            Fail({"the tool did not stop when asked"});
        }
        m_toolClock.invalidate();
    }

    enum EAction {
        MenuCommand,
        ShortcutKey,
        Typing,
        ProjectWindow,
        ProjectForm,
        AnyWidget,
        SwitchWindow,
        BuildAndRun,
        Save,
        CloseWindow,
        OpenFile,
        ProjectCloseOrOpen,
        ChangeOnDisk,
        CloseProgram,
        HandOver,
        kActionCount
    };

    void Act() {
        static const std::vector<int> weights = {
            24, // MenuCommand
            8,  // ShortcutKey
            24, // Typing
            7,  // ProjectWindow
            7,  // ProjectForm
            5,  // AnyWidget
            6,  // SwitchWindow
            2,  // BuildAndRun
            6,  // Save
            4,  // CloseWindow
            5,  // OpenFile
            2,  // ProjectCloseOrOpen
            2,  // ChangeOnDisk
            1,  // CloseProgram
            2,  // HandOver
        };
        switch (static_cast<EAction>(m_random.Weighted(weights))) {
        case MenuCommand:
            return ChooseMenuCommand();
        case ShortcutKey:
            return PressShortcut();
        case Typing:
            return TypeInEditor();
        case ProjectWindow:
            return WorkProjectWindow();
        case ProjectForm:
            return WorkProjectForm();
        case AnyWidget:
            return WorkAnyWidget();
        case SwitchWindow:
            return SwitchWindows();
        case BuildAndRun:
            return BuildAndRunProject();
        case Save:
            return SaveSomething();
        case CloseWindow:
            return CloseActiveWindow();
        case OpenFile:
            return OpenSomeFile();
        case ProjectCloseOrOpen:
            return CloseOrOpenProject();
        case ChangeOnDisk:
            return ChangeFileOnDisk();
        case CloseProgram:
            Log("close the main window");
            Frame().close();
            return;
        case HandOver:
            return HandOverFiles();
        case kActionCount:
            break;
        }
    }

    // Every enabled item of the active window's menus, as the menus show them now.
    std::vector<std::pair<QString, QAction*>> MenuItems() {
        Frame().UpdateCommandUi();
        std::vector<std::pair<QString, QAction*>> items;
        std::function<void(QMenu*, const QString&)> collect = [&](QMenu* menu,
                                                                  const QString& path) {
            emit menu->aboutToShow();
            for (QAction* action : menu->actions()) {
                if (action->isSeparator() || !action->isVisible()) {
                    continue;
                }
                const QString name = path + " > " + action->text().remove('&').section('\t', 0, 0);
                if (action->menu()) {
                    collect(action->menu(), name);
                } else if (action->isEnabled()) {
                    items.emplace_back(name, action);
                }
            }
            emit menu->aboutToHide();
        };
        for (QAction* top : Frame().menuBar()->actions()) {
            if (top->menu() && top->isVisible()) {
                collect(top->menu(), top->text().remove('&'));
            }
        }
        return items;
    }

    void ChooseMenuCommand() {
        const auto items = MenuItems();
        if (items.empty()) {
            Log("menus: nothing enabled");
            return;
        }
        const auto& [name, action] = m_random.Pick(items);
        Log("menu " + name);
        action->trigger();
    }

    // A shortcut the menus name, or another key a user presses now and then.
    void PressShortcut() {
        std::vector<QKeySequence> keys = {
            QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_F6),
            QKeySequence(Qt::CTRL | Qt::Key_F4),  QKeySequence(Qt::Key_F6),
            QKeySequence(Qt::Key_Escape),         QKeySequence(Qt::CTRL | Qt::Key_Y),
            QKeySequence(Qt::CTRL | Qt::Key_G),   QKeySequence(Qt::Key_Delete),
        };
        for (const auto& item : MenuItems()) {
            const QString shortcut = item.second->text().section('\t', 1);
            if (!shortcut.isEmpty()) {
                keys.push_back(QKeySequence::fromString(shortcut));
            }
            if (!item.second->shortcut().isEmpty()) {
                keys.push_back(item.second->shortcut());
            }
        }
        const QKeySequence sequence = m_random.Pick(keys);
        if (sequence.isEmpty()) {
            return;
        }
        QWidget* target = QApplication::focusWidget();
        if (!target || target->window() != &Frame()) {
            target = &Frame();
        }
        Log("key " + sequence.toString() + " in " + Describe(target));
        const QKeyCombination combination = sequence[0];
        QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
    }

    QsciScintilla* ActiveEditor() const {
        CDocumentFrame* frame = Frame().ActiveFrame();
        return frame ? qobject_cast<QsciScintilla*>(frame->View()) : nullptr;
    }

    void TypeInEditor() {
        QsciScintilla* editor = ActiveEditor();
        if (!editor) {
            return WorkAnyWidget();
        }
        const int count = 1 + m_random.Below(4);
        Log(QStringLiteral("type in %1").arg(Frame().ActiveFrame()->windowTitle()));
        for (int i = 0; i < count && ActiveEditor() == editor; ++i) {
            Log("  " + m_poker.Type(editor));
        }
    }

    void Poke(const std::vector<QWidget*>& widgets, const QString& where) {
        if (widgets.empty()) {
            Log(where + ": nothing to work");
            return;
        }
        QWidget* widget = m_random.Pick(widgets);
        Log(where + ": " + Describe(widget));
        Log("  " + m_poker.Poke(widget));
    }

    void WorkProjectWindow() {
        if (!Frame().HasProjectDock() || !Frame().ProjectDock()->isVisible()) {
            return ChooseMenuCommand();
        }
        std::vector<QWidget*> widgets = CWidgetPoker::Workable(Frame().ProjectDock());
        // The tree is what the project window is for: it gets most of the clicks.
        std::vector<QWidget*> trees;
        for (QWidget* widget : widgets) {
            if (qobject_cast<QTreeWidget*>(widget)) {
                trees.push_back(widget);
            }
        }
        Poke(!trees.empty() && m_random.Chance(0.8) ? trees : widgets, "project window");
    }

    void WorkProjectForm() {
        CDocumentFrame* form = nullptr;
        for (CDocumentFrame* frame : Frame().DocumentFrames()) {
            if (frame->DocumentKind() == EDocumentKind::Project) {
                form = frame;
            }
        }
        if (!form) {
            return WorkProjectWindow();
        }
        if (Frame().ActiveFrame() != form) {
            Log("activate the project's form");
            Frame().MdiArea()->setActiveSubWindow(form);
        }
        Poke(CWidgetPoker::Workable(form), "project form");
    }

    void WorkAnyWidget() { Poke(CWidgetPoker::Workable(&Frame()), "main window"); }

    void SwitchWindows() {
        const std::vector<CDocumentFrame*> frames = Frame().DocumentFrames();
        if (frames.empty()) {
            return OpenSomeFile();
        }
        if (m_random.Chance(0.3)) {
            Log("key Ctrl+F6 in the window area");
            QTest::keyClick(Frame().MdiArea(), Qt::Key_F6, Qt::ControlModifier);
            return;
        }
        CDocumentFrame* frame = m_random.Pick(frames);
        Log("activate " + frame->windowTitle());
        Frame().MdiArea()->setActiveSubWindow(frame);
    }

    // Starts the command's tool and waits for it a while; one still running then is stopped.
    void RunTool(ECommand command, int patienceMs) {
        if (!Trigger(command)) {
            return;
        }
        ++m_runs;
        if (!WaitFor([this] { return !ToolRunning(); }, patienceMs)) {
            StopTool();
        }
        if (CProcessWindow* window = ProcessWindow()) {
            const QString text = QString::fromStdString(window->Text()).trimmed();
            Log("  the Process Window ends with: " + text.section('\n', -1).trimmed());
        }
    }

    void BuildAndRunProject() {
        Log("build and run the project");
        if (ToolRunning()) {
            StopTool();
        }
        RunTool(ECommand::Build, 120000);
        RunTool(ECommand::RunApplication, 10000);
    }

    void SaveSomething() {
        if (m_random.Chance(0.4) && Trigger(ECommand::FileSave)) {
            return;
        }
        Log("save all, then compare every window with its file");
        m_watcher.SetMode(CDialogWatcher::EMode::SaveEverything);
        const bool saved = Trigger(ECommand::SaveAll);
        m_watcher.SetMode(CDialogWatcher::EMode::Play);
        if (saved) {
            ++m_saveAlls;
            CheckDocumentsMatchFiles();
            CheckProjectReloads();
        }
    }

    void CloseActiveWindow() {
        CDocumentFrame* frame = Frame().ActiveFrame();
        if (!frame) {
            return OpenSomeFile();
        }
        Log("close the window " + frame->windowTitle());
        frame->close();
    }

    void OpenSomeFile() {
        static const std::set<QString> sources = {"java", "html", "xml", "py", "jpr"};
        std::vector<std::string> files;
        for (const std::string& file : m_world.Files()) {
            if (sources.count(QFileInfo(QString::fromStdString(file)).suffix()) ||
                m_random.Chance(0.05)) {
                files.push_back(file);
            }
        }
        if (files.empty()) {
            return;
        }
        const std::string path = m_random.Pick(files);
        Log("open " + QString::fromStdString(path));
        m_app->OpenDocumentFile(path);
    }

    // A second start of the program hands files over, as a double-click in the file manager
    // does: sources, the project, or a file that is not there. Opening them may ask (closing the
    // project) or fail with a message while the second start has already gone.
    void HandOverFiles() {
        static const std::set<QString> sources = {"java", "html", "xml", "py", "jpr"};
        std::vector<std::string> candidates;
        for (const std::string& file : m_world.Files()) {
            if (sources.count(QFileInfo(QString::fromStdString(file)).suffix())) {
                candidates.push_back(file);
            }
        }
        QStringList files;
        for (int i = 0, count = 1 + m_random.Below(2); i < count && !candidates.empty(); ++i) {
            files << QString::fromStdString(m_random.Pick(candidates));
        }
        if (files.isEmpty() || m_random.Chance(0.2)) {
            files << QString::fromStdString(m_world.work + "/Missing.java");
        }
        Log("a second start hands over " + files.join(", "));
        std::atomic<int> delivered{-1};
        std::thread sender([&delivered, files, name = CInstanceChannel::NameFor(m_world.settings)] {
            delivered = CInstanceChannel(name).SendToRunning(files, 30000) ? 1 : 0;
        });
        WaitFor([&delivered] { return delivered.load() != -1; }, 60000);
        sender.join();
        if (delivered != 1) {
            Fail({"the running program did not take the handed-over files"});
        }
    }

    void CloseOrOpenProject() {
        if (m_app->CurrentProject() && m_random.Chance(0.5)) {
            Log("close the project");
            Trigger(ECommand::CloseProject);
            return;
        }
        Log("open the project " + Name(m_world.project));
        m_app->OpenDocumentFile(m_world.project);
    }

    // Another program writes one of the project's files: back to how the run found it, or
    // with a line added. Its window, if open, asks whether to reload when next activated.
    void ChangeFileOnDisk() {
        std::vector<std::string> files;
        const std::string project = m_world.work + "/HelloApp/";
        for (const std::string& file : m_world.Files()) {
            if (file.rfind(project, 0) == 0 &&
                QFileInfo::exists(
                    QString::fromStdString(m_world.pristine + "/" + file.substr(project.size())))) {
                files.push_back(file);
            }
        }
        if (files.empty()) {
            return;
        }
        const std::string path = m_random.Pick(files);
        std::string bytes =
            ReadWholeFile(m_world.pristine + "/" + path.substr(project.size())).value_or("");
        const bool restore = m_random.Chance(0.5);
        if (!restore) {
            bytes =
                ReadWholeFile(path).value_or("") + "\n<!-- // # changed by another program -->\n";
        }
        Log((restore ? "another program restores " : "another program adds a line to ") +
            QString::fromStdString(path));
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }

    // ---------------------------------------------------------------- what must hold

    // The run never removes a file, so a project file that cannot be found was lost by the
    // program (a missing file beside the project file is only the project's second guess).
    QString JudgeMessage(const QString& text) const {
        static const QRegularExpression missing(
            QStringLiteral("^Cannot open the file \"(.*)\": No such file or directory\\.$"));
        const QRegularExpressionMatch match = missing.match(text);
        CProjectDocument* project = m_app ? m_app->CurrentProject() : nullptr;
        if (!match.hasMatch() || !project) {
            return {};
        }
        const std::string path = match.captured(1).toStdString();
        for (const auto& entry : project->Project().JavaFiles()) {
            if (entry->GetFullPath() == path) {
                return "the project's file " + match.captured(1) +
                       " is not where the project "
                       "says it is";
            }
        }
        return {};
    }

    // After Save All every document that is not marked modified holds its file's text, unless
    // another program changed the file since (its window asks when it is next activated).
    void CheckDocumentsMatchFiles() {
        QStringList failures;
        for (CDocument* document : m_app->Templates().AllDocuments()) {
            auto* editor = qobject_cast<CEditorDocument*>(document);
            const std::string path = document->PathName();
            if (!editor || path.empty() || document->IsModified()) {
                continue;
            }
            CSourceDocument& source = editor->Source();
            if (source.File().CheckDisk(path) != CTextFile::EDiskState::Unchanged) {
                continue;
            }
            const std::optional<SDecodedText> decoded =
                DecodeTextFile(ReadWholeFile(path).value_or(""));
            const std::string text = source.Text();
            if (!decoded || decoded->text != text) {
                size_t at = 0;
                while (decoded && at < text.size() && at < decoded->text.size() &&
                       text[at] == decoded->text[at]) {
                    ++at;
                }
                failures << QStringLiteral("after Save All the window of %1 is unmodified but "
                                           "its text differs from the file (from offset %2)")
                                .arg(QString::fromStdString(path))
                                .arg(at);
            }
        }
        if (!failures.isEmpty()) {
            Fail(failures);
        }
        ++m_documentChecks;
    }

    // A saved project's file reloads, with the files the project (and its window) lists.
    void CheckProjectReloads() {
        CProjectDocument* project = m_app->CurrentProject();
        if (!project || project->IsModified() || project->PathName().empty()) {
            return;
        }
        CSettings settings;
        CSilentUiHost silent;
        CJavaProjectDoc reloaded(settings, silent);
        if (std::string problem = reloaded.Load(project->PathName()); !problem.empty()) {
            Fail({"the saved project does not reload: " + QString::fromStdString(problem)});
        }
        auto names = [](CJavaProjectDoc& document) {
            std::set<QString> files;
            for (const auto& file : document.JavaFiles()) {
                files.insert(QString::fromStdString(file->GetFileName()));
            }
            for (const auto& file : document.FreeFiles()) {
                files.insert(QString::fromStdString(file->GetFileName()));
            }
            return files;
        };
        const std::set<QString> stored = names(reloaded);
        if (stored != names(project->Project())) {
            Fail({"the saved project file lists other files than the open project"});
        }
        if (CProjectTree* tree = project->ProjectTree()) {
            std::set<QString> shown;
            for (int i = 0; i < tree->Tree()->topLevelItemCount(); ++i) {
                shown.insert(tree->Tree()->topLevelItem(i)->text(0));
            }
            if (shown != stored) {
                QStringList a(stored.begin(), stored.end()), b(shown.begin(), shown.end());
                Fail({"the project window shows " + b.join(", ") + " but the saved project lists " +
                      a.join(", ")});
            }
        }
        ++m_projectChecks;
    }

    // ---------------------------------------------------------------- the end

    void Finish() {
        Log("finish: stop any tool, close the program without saving");
        if (m_app && m_app->MainFrame() && Frame().isVisible()) {
            if (ToolRunning()) {
                StopTool();
            }
            m_watcher.SetMode(CDialogWatcher::EMode::Shutdown);
            if (!Frame().close()) {
                Fail({"the main window did not close at the end"});
            }
        }
        m_app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QStringList failures = m_watcher.TakeFailures() + m_host.TakeFailures();
        for (const std::string& change : m_outside.Changes()) {
            failures << "written outside the run's folder: " + QString::fromStdString(change);
        }
        if (!failures.isEmpty()) {
            Fail(failures);
        }
        std::cout << "monkey: " << m_step << " actions passed (seed " << m_options.seed << ") in "
                  << m_clock.elapsed() / 1000 << " s: " << m_watcher.DialogsAnswered()
                  << " dialogs answered, " << m_saveAlls << " Save All checked ("
                  << m_documentChecks << " document and " << m_projectChecks << " project checks), "
                  << m_runs << " runs, " << m_starts << " program starts" << std::endl;
        m_result = 0;
        g_logQtMessage = nullptr;
        QCoreApplication::exit(0);
    }

    SOptions m_options;
    const SWorld& m_world;
    CRandom m_random;
    CWidgetPoker m_poker;
    CDialogWatcher m_watcher;
    CMonkeyHost m_host;
    COutsideWatch m_outside;
    std::unique_ptr<CInstanceChannel> m_channel;
    std::unique_ptr<CEditorApp> m_app;
    std::deque<std::pair<int, QString>> m_recent;
    QElapsedTimer m_clock;
    QElapsedTimer m_toolClock;
    int m_step = 0;
    int m_result = 1;
    int m_starts = 0;
    int m_runs = 0;
    int m_saveAlls = 0;
    int m_documentChecks = 0;
    int m_projectChecks = 0;
};

} // namespace

} // namespace tovin::monkey

int main(int argc, char** argv) {
    using namespace tovin::monkey;
    const SOptions options = ParseOptions(argc, argv);
    std::cout << "monkey: seed " << options.seed << ", " << options.actions << " actions"
              << std::endl;
    const SWorld world = PrepareWorld(TOVIN_SOURCE_DIR);
    InstallCrashReport();
    qInstallMessageHandler(OnQtMessage);
    int result = 1;
    {
        QApplication application(argc, argv);
        // The program's end is one of the monkey's actions; the run goes on with a new start.
        QApplication::setQuitOnLastWindowClosed(false);
        CMonkey monkey(options, world);
        QTimer::singleShot(0, &monkey, &CMonkey::Begin);
        application.exec();
        result = monkey.Result();
    }
    if (result == 0 && !options.keep) {
        RemoveWorld(world);
    }
    return result;
}
