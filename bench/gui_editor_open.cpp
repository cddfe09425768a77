// Opening java/lang/Character.java (about 500 KB) in the Java editor until it is shown fully
// coloured (read, line ends converted, loaded, whole-text colouring, function list parsed,
// painted), beside opening the same file in a bare QScintilla with its own Java lexer styling
// the whole text, in the same run; and a character typed at the end of the opened file with the
// caret line's recolouring.
//
// The file is extracted from the JDK's source archive at run time; without the archive (or
// unzip) the benchmarks skip with a message.

#include "core/app/Settings.h"
#include "core/platform/Files.h"
#include "core/process/SilentUiHost.h"
#include "gui/editor/SyntaxWindowDoc.h"
#include "gui/editor/SyntaxWindowView.h"

#include <QApplication>
#include <QKeyEvent>
#include <Qsci/qscilexerjava.h>
#include <Qsci/qsciscintilla.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

using namespace tovin;

namespace {

constexpr const char* kArchive = "/usr/lib/jvm/openjdk-17/lib/src.zip";
constexpr const char* kEntry = "java.base/java/lang/Character.java";

// The file's path in a temporary folder, extracted once; empty when it cannot be.
const std::string& CharacterJavaPath() {
    static const std::string path = [] {
        char folder[] = "/tmp/tovin-bench-XXXXXX";
        if (!::mkdtemp(folder)) {
            return std::string();
        }
        std::string target = std::string(folder) + "/Character.java";
        std::string command = std::string("unzip -p '") + kArchive + "' '" + kEntry + "' > '" +
                              target + "' 2>/dev/null";
        if (std::system(command.c_str()) != 0 || !ReadWholeFile(target) ||
            ReadWholeFile(target)->empty()) {
            return std::string();
        }
        return target;
    }();
    return path;
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

// The view goes before its document.
struct SOpenWindow {
    std::unique_ptr<CSyntaxWindowDoc> document;
    std::unique_ptr<CSyntaxWindowView> view;
};

SOpenWindow OpenInEditor(const SEditorContext& context, const std::string& path) {
    SOpenWindow window;
    window.document = std::make_unique<CSyntaxWindowDoc>(context);
    if (!window.document->OnOpenDocument(path)) {
        return {};
    }
    window.view = std::make_unique<CSyntaxWindowView>(*window.document, nullptr);
    window.view->resize(900, 700);
    window.view->show();
    window.view->OnInitialUpdate();
    return window;
}

void BM_OpenCharacterJava_TovinEditor(benchmark::State& state) {
    const std::string& path = CharacterJavaPath();
    if (path.empty()) {
        state.SkipWithError("JDK sources not found (openjdk-17-source, unzip); skipped");
        return;
    }
    SEditorSetup setup;
    for (auto _ : state) {
        SOpenWindow window = OpenInEditor(setup.context, path);
        window.view->repaint();
        benchmark::DoNotOptimize(window.view->GetClassAt(window.view->GetLength() - 3));
        state.PauseTiming();
        window.view.reset();
        window.document.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenCharacterJava_TovinEditor)->Unit(benchmark::kMillisecond);

void BM_OpenCharacterJava_BareQsciLexerJava(benchmark::State& state) {
    const std::string& path = CharacterJavaPath();
    if (path.empty()) {
        state.SkipWithError("JDK sources not found (openjdk-17-source, unzip); skipped");
        return;
    }
    for (auto _ : state) {
        auto bytes = ReadWholeFile(path);
        auto editor = std::make_unique<QsciScintilla>();
        editor->setLexer(new QsciLexerJava(editor.get()));
        editor->setText(QString::fromUtf8(bytes->data(), static_cast<qsizetype>(bytes->size())));
        editor->resize(900, 700);
        editor->show();
        // Fully coloured, as the editor's whole-text pass leaves it.
        editor->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0, -1);
        editor->repaint();
        state.PauseTiming();
        editor.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenCharacterJava_BareQsciLexerJava)->Unit(benchmark::kMillisecond);

// One character typed at the end of the opened file: the control's insertion, the after-
// character step and the caret line's colouring, as a key press delivers them.
void BM_TypeAtEndOfCharacterJava(benchmark::State& state) {
    const std::string& path = CharacterJavaPath();
    if (path.empty()) {
        state.SkipWithError("JDK sources not found (openjdk-17-source, unzip); skipped");
        return;
    }
    SEditorSetup setup;
    SOpenWindow window = OpenInEditor(setup.context, path);
    CSyntaxWindowView& view = *window.view;
    const int end = view.GetLength();
    view.SetSel(end, end);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
    QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    for (auto _ : state) {
        QApplication::sendEvent(&view, &press);
        state.PauseTiming();
        QApplication::sendEvent(&view, &erase);
        state.ResumeTiming();
    }
    if (view.GetLength() != end) {
        state.SkipWithError("the typed characters were not removed again");
    }
}
BENCHMARK(BM_TypeAtEndOfCharacterJava)->Unit(benchmark::kMicrosecond);

// The same key press in a bare QScintilla holding the same text, for scale.
void BM_TypeAtEndOfCharacterJava_BareQScintilla(benchmark::State& state) {
    const std::string& path = CharacterJavaPath();
    if (path.empty()) {
        state.SkipWithError("JDK sources not found (openjdk-17-source, unzip); skipped");
        return;
    }
    auto bytes = ReadWholeFile(path);
    QsciScintilla editor;
    editor.SendScintilla(QsciScintillaBase::SCI_SETEOLMODE, QsciScintillaBase::SC_EOL_CRLF);
    editor.setText(QString::fromUtf8(bytes->data(), static_cast<qsizetype>(bytes->size())));
    editor.resize(900, 700);
    editor.show();
    const long end = editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    editor.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(end));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
    QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    for (auto _ : state) {
        QApplication::sendEvent(&editor, &press);
        state.PauseTiming();
        QApplication::sendEvent(&editor, &erase);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TypeAtEndOfCharacterJava_BareQScintilla)->Unit(benchmark::kMicrosecond);

// The caret line's colouring alone, at the end of the opened file.
void BM_ColourLineAtEndOfCharacterJava(benchmark::State& state) {
    const std::string& path = CharacterJavaPath();
    if (path.empty()) {
        state.SkipWithError("JDK sources not found (openjdk-17-source, unzip); skipped");
        return;
    }
    SEditorSetup setup;
    SOpenWindow window = OpenInEditor(setup.context, path);
    window.view->SetSel(window.view->GetLength(), window.view->GetLength());
    for (auto _ : state) {
        window.view->ColourLine();
    }
}
BENCHMARK(BM_ColourLineAtEndOfCharacterJava)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
