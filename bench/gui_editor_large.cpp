// The Java editor on large files, each figure beside a bare QScintilla control doing the same in
// the same run: a key press with its Backspace at the end of the text (also a ")", whose partner
// the editor looks for), a 1 KB paste at the end, its undo, the typed line's recolouring, and
// the open of the file until it is shown fully coloured with its function list. The texts are
// generated Java of 1, 4 and 16 MB (size 0 is an empty file, the editor's own yardstick), in
// UTF-8 and in an 8-bit code page, a 1 MB single-line file, and a 16 MB file whose only comments
// are line comments (no block comment anywhere, so nothing before the caret tells the colouring
// a line's context), typed into at its end and in its middle.
//
// With TOVIN_BENCH_ENGINE set, each editor window is attached to the Java engine as the
// application attaches it (its text sent once typing pauses for TOVIN_BENCH_CHECK_DELAY ms,
// 400 unless set; 0 sends it after every key), so the figures show what checking costs typing.
//
// The bare control has CR LF line ends, and for the open QScintilla's own Java lexer styling
// the whole text. At the end a table gives each editor figure with its bare peer and the
// ratio, and for the typing figures the editor's own ratio to its empty-file figure.

#include "core/app/Settings.h"
#include "core/platform/Files.h"
#include "core/platform/JdkDetection.h"
#include "core/platform/Paths.h"
#include "core/process/SilentUiHost.h"
#include "core/project/EngineCommand.h"
#include "gui/editor/SyntaxWindowDoc.h"
#include "gui/editor/SyntaxWindowView.h"
#include "language/LanguageClient.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTimer>
#include <Qsci/qscilexerjava.h>
#include <Qsci/qsciscintilla.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace tovin;

namespace {

using Sci = QsciScintillaBase;

constexpr long long kMegabyte = 1 << 20;
const std::vector<long long> kSizes = {1, 4, 16};

enum class EText { Utf8, EightBit, LongLine, LineComments };

// A class of methods with comments, strings and keywords, repeated to `bytes` bytes (CR LF).
// The 8-bit form has a Latin-1 letter in each method's comment, so it is not UTF-8; the
// line-comment form has "//" comments where the others have block comments.
std::string GeneratedJava(long long bytes, EText form) {
    if (bytes == 0) {
        return {};
    }
    if (form == EText::LongLine) {
        std::string line = "var data = [";
        for (int i = 0; static_cast<long long>(line.size()) < bytes; ++i) {
            line += "{\"id\":" + std::to_string(i) + ",\"name\":\"item" + std::to_string(i) +
                    "\",\"ok\":true},";
        }
        return line + "];";
    }
    const char* letter = form == EText::EightBit ? "\xe9" : "e";
    const bool blocks = form != EText::LineComments;
    const std::string tail = blocks ? "/* tail */" : "// tail";
    std::string text = "package bench.generated;\r\n\r\nimport java.util.List;\r\n\r\n";
    for (int cls = 0; static_cast<long long>(text.size()) < bytes; ++cls) {
        const std::string number = std::to_string(cls);
        text += blocks ? "/**\r\n * A generated class, number " + number + ".\r\n */\r\n"
                       : "// A generated class, number " + number + ".\r\n";
        text += "public class Generated" + std::to_string(cls) + " extends Object {\r\n";
        for (int m = 0; m < 20; ++m) {
            const std::string n = std::to_string(m);
            text += "    // Method " + n + " r" + letter + "turns a value.\r\n";
            text += "    public static int method" + n + "(int value, String name) {\r\n";
            text += "        if (value > " + n + " && name != null) {\r\n";
            text += "            return value * 31 + \"text " + n + "\".length(); " + tail + "\r\n";
            text += "        }\r\n        return 0;\r\n    }\r\n\r\n";
        }
        text += "}\r\n\r\n";
    }
    return text;
}

// The generated file on disk, written once; empty when it could not be.
const std::string& GeneratedFile(long long megabytes, EText form) {
    static std::map<std::pair<long long, EText>, std::string> paths;
    auto found = paths.find({megabytes, form});
    if (found != paths.end()) {
        return found->second;
    }
    static const std::string folder = [] {
        char name[] = "/tmp/tovin-bench-XXXXXX";
        return ::mkdtemp(name) ? std::string(name) : std::string();
    }();
    std::string path = folder + "/Generated" + std::to_string(megabytes) +
                       (form == EText::EightBit       ? "-8bit"
                        : form == EText::LongLine     ? "-line"
                        : form == EText::LineComments ? "-linecomments"
                                                      : "") +
                       ".java";
    if (folder.empty() ||
        !WriteFileAtomic(path, GeneratedJava(megabytes * kMegabyte, form)).empty()) {
        path.clear();
    }
    return paths.emplace(std::make_pair(megabytes, form), path).first->second;
}

struct SEditorSetup {
    CSettings settings;
    tovin::CSilentUiHost host;
    SEditorContext context;
    SEditorSetup() {
        context.settings = &settings;
        context.host = &host;
    }
};

SEditorSetup& Setup() {
    static SEditorSetup setup;
    return setup;
}

// The view goes before its document, and the engine before both.
struct SOpenWindow {
    std::unique_ptr<CSyntaxWindowDoc> document;
    std::unique_ptr<CSyntaxWindowView> view;
    std::unique_ptr<CLanguageClient> engine;
    std::unique_ptr<QTimer> pause;
    ~SOpenWindow() {
        engine.reset();
        view.reset();
    }
    SOpenWindow() = default;
    SOpenWindow(SOpenWindow&&) = default;
    SOpenWindow& operator=(SOpenWindow&&) = default;
};

// The engine on the window's document, wired as the application wires it: a change restarts the
// pause, the pause's end sends the text. Null (and a message) when the engine cannot run.
void AttachEngine(SOpenWindow& window, const std::string& path) {
    CSettings settings;
    settings.javaBin = DetectJdkFolder();
    const SEngineCommand command = ComposeEngineCommand(settings, nullptr, CacheFolder());
    if (!command.error.empty()) {
        std::fprintf(stderr, "no engine: %s\n", command.error.c_str());
        return;
    }
    SServerCommand server;
    server.program = QString::fromStdString(command.program);
    for (const std::string& argument : command.arguments) {
        server.arguments << QString::fromStdString(argument);
    }
    window.engine = std::make_unique<CLanguageClient>(server);
    window.engine->Start();
    const QString file = CLanguageClient::NormalPath(QString::fromStdString(path));
    window.engine->OpenDocument(file, QString::fromStdString(window.document->Text()));
    window.pause = std::make_unique<QTimer>();
    window.pause->setSingleShot(true);
    window.pause->setInterval(qEnvironmentVariableIsSet("TOVIN_BENCH_CHECK_DELAY")
                                  ? qEnvironmentVariableIntValue("TOVIN_BENCH_CHECK_DELAY")
                                  : 400);
    CLanguageClient* engine = window.engine.get();
    CSyntaxWindowDoc* document = window.document.get();
    QObject::connect(window.pause.get(), &QTimer::timeout, engine, [engine, document, file] {
        engine->ChangeDocument(file, QString::fromStdString(document->Text()));
    });
    QTimer* pause = window.pause.get();
    QObject::connect(window.view.get(), &QsciScintillaBase::SCN_MODIFIED, pause,
                     [pause](int, int type, const char*, int, int, int, int, int, int, int) {
                         if (type & (Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE)) {
                             pause->start();
                         }
                     });
}

// The file opened as the application opens it: read, shown, fully coloured, function list.
SOpenWindow OpenInEditor(const std::string& path) {
    SOpenWindow window;
    window.document = std::make_unique<CSyntaxWindowDoc>(Setup().context);
    if (!window.document->OnOpenDocument(path)) {
        return {};
    }
    window.view = std::make_unique<CSyntaxWindowView>(*window.document, nullptr);
    window.view->resize(900, 700);
    window.view->show();
    window.view->OnInitialUpdate();
    if (qEnvironmentVariableIsSet("TOVIN_BENCH_ENGINE")) {
        AttachEngine(window, path);
    }
    return window;
}

std::unique_ptr<QsciScintilla> OpenInBareControl(const std::string& path, bool lexer) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    auto editor = std::make_unique<QsciScintilla>();
    editor->SendScintilla(Sci::SCI_SETEOLMODE, Sci::SC_EOL_CRLF);
    if (lexer) {
        editor->setLexer(new QsciLexerJava(editor.get()));
    }
    const bool utf8 = QUtf8StringView(*bytes).isValidUtf8();
    editor->setUtf8(utf8);
    editor->setText(
        utf8 ? QString::fromUtf8(bytes->data(), static_cast<qsizetype>(bytes->size()))
             : QString::fromLatin1(bytes->data(), static_cast<qsizetype>(bytes->size())));
    editor->resize(900, 700);
    editor->show();
    if (lexer) {
        editor->SendScintilla(Sci::SCI_COLOURISE, 0, -1);
    }
    return editor;
}

// The editor windows and bare controls the editing benchmarks share, opened once per file and
// closed before the application ends.
struct SSharedEditors {
    std::map<std::pair<long long, EText>, SOpenWindow> windows;
    std::map<std::pair<long long, EText>, std::unique_ptr<QsciScintilla>> bare;
    std::map<std::pair<long long, EText>, std::unique_ptr<QsciScintilla>> bareMasked;
};
SSharedEditors g_shared;

SOpenWindow& EditorOn(long long megabytes, EText form) {
    SOpenWindow& window = g_shared.windows[{megabytes, form}];
    if (!window.view) {
        window = OpenInEditor(GeneratedFile(megabytes, form));
    }
    return window;
}

QsciScintilla& BareOn(long long megabytes, EText form) {
    std::unique_ptr<QsciScintilla>& editor = g_shared.bare[{megabytes, form}];
    if (!editor) {
        editor = OpenInBareControl(GeneratedFile(megabytes, form), false);
    }
    return *editor;
}

// The bare control told to report only the notifications before a change, as the editor's
// control is: what QScintilla itself costs without its accessibility events.
QsciScintilla& BareMaskedOn(long long megabytes, EText form) {
    std::unique_ptr<QsciScintilla>& editor = g_shared.bareMasked[{megabytes, form}];
    if (!editor) {
        editor = OpenInBareControl(GeneratedFile(megabytes, form), false);
        editor->SendScintilla(Sci::SCI_SETMODEVENTMASK,
                              Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE);
    }
    return *editor;
}

void SendKey(QWidget& target, int key, const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &event);
}

void GoToEnd(QsciScintilla& editor) {
    const long end = editor.SendScintilla(Sci::SCI_GETLENGTH);
    editor.SendScintilla(Sci::SCI_GOTOPOS, static_cast<unsigned long>(end));
}

// The end of the middle line.
void GoToMiddle(QsciScintilla& editor) {
    const long line = editor.SendScintilla(Sci::SCI_GETLINECOUNT) / 2;
    editor.SendScintilla(Sci::SCI_GOTOPOS,
                         static_cast<unsigned long>(editor.SendScintilla(
                             Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line))));
}

// The recolouring the editor leaves to the event loop (pasted and undone lines), without the
// painting.
void RunDeferredWork() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

// Paints and other posted work, outside the timed part; their mean time is the counter
// settle_us.
void Settle(benchmark::State& state, double& settleSeconds) {
    state.PauseTiming();
    const auto start = std::chrono::steady_clock::now();
    QCoreApplication::processEvents();
    settleSeconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.ResumeTiming();
}

using FEditor = QsciScintilla& (*)(long long megabytes, EText form);

QsciScintilla& TovinEditor(long long megabytes, EText form) {
    return *EditorOn(megabytes, form).view;
}

bool Opened(benchmark::State& state, long long megabytes, EText form) {
    if (GeneratedFile(megabytes, form).empty()) {
        state.SkipWithError("the generated file could not be written to /tmp");
        return false;
    }
    return true;
}

// `closer` types ")" instead of "q": the editor then looks back for its partner, which the
// balanced text before it never holds, as far as it looks. That happens as the view paints, so
// settle_us holds it.
void TypeAndErase(benchmark::State& state, FEditor open, EText form, bool middle, bool closer) {
    if (!Opened(state, state.range(0), form)) {
        return;
    }
    QsciScintilla& editor = open(state.range(0), form);
    if (middle) {
        GoToMiddle(editor);
    } else {
        GoToEnd(editor);
    }
    const long length = editor.SendScintilla(Sci::SCI_GETLENGTH);
    double settle = 0;
    for (auto _ : state) {
        if (closer) {
            SendKey(editor, Qt::Key_ParenRight, QStringLiteral(")"));
            // The partner is looked for as the view paints with the caret after the ")".
            RunDeferredWork();
            Settle(state, settle);
        } else {
            SendKey(editor, Qt::Key_Q, QStringLiteral("q"));
        }
        SendKey(editor, Qt::Key_Backspace);
        RunDeferredWork();
        Settle(state, settle);
    }
    state.counters["settle_us"] = 1e6 * settle / static_cast<double>(state.iterations());
    if (editor.SendScintilla(Sci::SCI_GETLENGTH) != length) {
        state.SkipWithError("the typed characters were not removed again");
    }
}

void KeyPressAt(benchmark::State& state, FEditor open, EText form, bool middle) {
    TypeAndErase(state, open, form, middle, false);
}

void KeyPress(benchmark::State& state, FEditor open, EText form) {
    TypeAndErase(state, open, form, false, false);
}

void KeyPressCloser(benchmark::State& state, FEditor open, EText form) {
    TypeAndErase(state, open, form, false, true);
}

const std::string& PastedKilobyte() {
    static const std::string text = [] {
        std::string block;
        while (block.size() < 1024) {
            block += "    int pasted = 42; // \"a pasted line\"\r\n";
        }
        return block;
    }();
    return text;
}

void Paste(benchmark::State& state, FEditor open) {
    if (!Opened(state, state.range(0), EText::Utf8)) {
        return;
    }
    QsciScintilla& editor = open(state.range(0), EText::Utf8);
    QApplication::clipboard()->setText(QString::fromStdString(PastedKilobyte()));
    GoToEnd(editor);
    for (auto _ : state) {
        editor.paste();
        RunDeferredWork();
        state.PauseTiming();
        editor.undo();
        RunDeferredWork();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

void Undo(benchmark::State& state, FEditor open) {
    if (!Opened(state, state.range(0), EText::Utf8)) {
        return;
    }
    QsciScintilla& editor = open(state.range(0), EText::Utf8);
    QApplication::clipboard()->setText(QString::fromStdString(PastedKilobyte()));
    GoToEnd(editor);
    for (auto _ : state) {
        state.PauseTiming();
        editor.paste();
        RunDeferredWork();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        editor.undo();
        RunDeferredWork();
    }
}

// The typed line's colouring: the editor's line pass; the bare control's lexer restyling the
// last line.
void RecolourTovin(benchmark::State& state) {
    if (!Opened(state, state.range(0), EText::Utf8)) {
        return;
    }
    CSyntaxWindowView& view = *EditorOn(state.range(0), EText::Utf8).view;
    GoToEnd(view);
    for (auto _ : state) {
        view.ColourLine();
    }
}

void RecolourBare(benchmark::State& state) {
    if (!Opened(state, state.range(0), EText::Utf8)) {
        return;
    }
    QsciScintilla& editor = BareOn(state.range(0), EText::Utf8);
    if (!editor.lexer()) {
        editor.setLexer(new QsciLexerJava(&editor));
    }
    GoToEnd(editor);
    const long lines = editor.SendScintilla(Sci::SCI_GETLINECOUNT);
    const long start = editor.SendScintilla(Sci::SCI_POSITIONFROMLINE,
                                            static_cast<unsigned long>(std::max(0L, lines - 2)));
    for (auto _ : state) {
        editor.SendScintilla(Sci::SCI_COLOURISE, start, -1);
    }
}

void OpenTovin(benchmark::State& state, EText form) {
    if (!Opened(state, state.range(0), form)) {
        return;
    }
    const std::string& path = GeneratedFile(state.range(0), form);
    for (auto _ : state) {
        SOpenWindow window = OpenInEditor(path);
        window.view->repaint();
        benchmark::DoNotOptimize(window.view->GetClassAt(window.view->GetLength() - 3));
        state.PauseTiming();
        window = {};
        state.ResumeTiming();
    }
}

void OpenBare(benchmark::State& state, EText form) {
    if (!Opened(state, state.range(0), form)) {
        return;
    }
    const std::string& path = GeneratedFile(state.range(0), form);
    for (auto _ : state) {
        auto editor = OpenInBareControl(path, true);
        editor->repaint();
        state.PauseTiming();
        editor.reset();
        state.ResumeTiming();
    }
}

void Register() {
    const auto sizes = [](benchmark::internal::Benchmark* b, bool empty) {
        if (empty) {
            b->Arg(0);
        }
        for (long long size : kSizes) {
            b->Arg(size);
        }
        b->Unit(benchmark::kMicrosecond);
    };
    sizes(benchmark::RegisterBenchmark("KeyPress/Tovin", KeyPress, TovinEditor, EText::Utf8), true);
    sizes(benchmark::RegisterBenchmark("KeyPress/Bare", KeyPress, BareOn, EText::Utf8), true);
    // Its paint after each key still costs up to a tenth of a second, outside the timed part,
    // while the key itself takes microseconds: left to choose, the library would repeat it for
    // many minutes.
    sizes(benchmark::RegisterBenchmark("KeyPress/BareMasked", KeyPress, BareMaskedOn, EText::Utf8)
              ->Iterations(50),
          true);
    sizes(benchmark::RegisterBenchmark("KeyPressCloser/Tovin", KeyPressCloser, TovinEditor,
                                       EText::Utf8),
          true);
    sizes(
        benchmark::RegisterBenchmark("KeyPress8Bit/Tovin", KeyPress, TovinEditor, EText::EightBit),
        false);
    // The file without block comments at its largest only, beside the empty file.
    for (bool middle : {false, true}) {
        const std::string name = middle ? "KeyPressMiddleLineComments" : "KeyPressLineComments";
        for (const auto& [side, open] :
             {std::pair{"/Tovin", FEditor(TovinEditor)}, std::pair{"/Bare", FEditor(BareOn)},
              std::pair{"/BareMasked", FEditor(BareMaskedOn)}}) {
            auto* registered = benchmark::RegisterBenchmark((name + side).c_str(), KeyPressAt, open,
                                                            EText::LineComments, middle);
            registered->Arg(0)->Arg(16)->Unit(benchmark::kMicrosecond);
            if (open == FEditor(BareMaskedOn)) {
                registered->Iterations(50); // as for KeyPress/BareMasked
            }
        }
    }
    sizes(benchmark::RegisterBenchmark("KeyPress8Bit/Bare", KeyPress, BareOn, EText::EightBit),
          false);
    sizes(benchmark::RegisterBenchmark("Paste/Tovin", Paste, TovinEditor), true);
    sizes(benchmark::RegisterBenchmark("Paste/Bare", Paste, BareOn), true);
    sizes(benchmark::RegisterBenchmark("Undo/Tovin", Undo, TovinEditor), true);
    sizes(benchmark::RegisterBenchmark("Undo/Bare", Undo, BareOn), true);
    sizes(benchmark::RegisterBenchmark("Recolour/Tovin", RecolourTovin), true);
    sizes(benchmark::RegisterBenchmark("Recolour/Bare", RecolourBare), true);
    for (EText form : {EText::Utf8, EText::EightBit}) {
        const std::string name = form == EText::Utf8 ? "Open" : "Open8Bit";
        benchmark::RegisterBenchmark((name + "/Tovin").c_str(), OpenTovin, form)
            ->Args({1})
            ->Args({4})
            ->Args({16})
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((name + "/Bare").c_str(), OpenBare, form)
            ->Args({1})
            ->Args({4})
            ->Args({16})
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("LongLineOpen/Tovin", OpenTovin, EText::LongLine)
        ->Arg(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("LongLineOpen/Bare", OpenBare, EText::LongLine)
        ->Arg(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("LongLineKeyPress/Tovin", KeyPress, TovinEditor, EText::LongLine)
        ->Arg(1)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("LongLineKeyPress/Bare", KeyPress, BareOn, EText::LongLine)
        ->Arg(1)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("LongLineKeyPress/BareMasked", KeyPress, BareMaskedOn,
                                 EText::LongLine)
        ->Arg(1)
        ->Unit(benchmark::kMicrosecond);
}

// The console report, then each editor figure beside its bare peer.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override {
        for (const Run& run : reports) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                m_seconds[run.benchmark_name()] = run.GetAdjustedRealTime() * Scale(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(reports);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-28s %14s %14s %12s %12s\n", "benchmark", "tovin", "bare", "bare/tovin",
                    "vs empty");
        for (const auto& [name, seconds] : m_seconds) {
            const size_t at = name.find("/Tovin");
            if (at == std::string::npos) {
                continue;
            }
            std::string peer = name;
            peer.replace(at, 6, "/Bare");
            const auto bare = m_seconds.find(peer);
            std::string empty = name.substr(0, name.rfind('/')) + "/0";
            const auto base = m_seconds.find(empty);
            std::printf("%-28s %12.1fus %12.1fus %11.1fx", name.c_str(), seconds * 1e6,
                        bare == m_seconds.end() ? 0.0 : bare->second * 1e6,
                        bare == m_seconds.end() ? 0.0 : bare->second / seconds);
            if (base != m_seconds.end() && empty != name) {
                std::printf(" %11.2fx", seconds / base->second);
            }
            std::printf("\n");
        }
    }

private:
    static double Scale(benchmark::TimeUnit unit) {
        switch (unit) {
        case benchmark::kNanosecond:
            return 1e-9;
        case benchmark::kMicrosecond:
            return 1e-6;
        case benchmark::kMillisecond:
            return 1e-3;
        case benchmark::kSecond:
            return 1;
        }
        return 1;
    }

    std::map<std::string, double> m_seconds;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    Register();
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    g_shared = {};
    return 0;
}
