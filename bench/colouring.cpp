// Colouring benchmarks on the in-memory control: whole-text Java colouring of Character.java
// (classification alone, a first colouring, and recolouring an unchanged text) and colouring
// the typed line at the end of megabyte Java and HTML files. The QScintilla figures, with its
// own Java lexer beside them, are in gui_colouring.cpp.

#include "core/editor/ColourClassifier.h"
#include "core/editor/Colourer.h"
#include "core/editor/TextBuffer.h"

#include "ColouringTexts.h"

#include <benchmark/benchmark.h>

using namespace tovin;
using namespace tovin::bench;

namespace {

bool LoadOrSkip(benchmark::State& state, const std::optional<std::string>& text) {
    if (!text) {
        state.SkipWithError("JDK sources not found (openjdk-17-source); benchmark skipped");
        return false;
    }
    return true;
}

void SetBytes(benchmark::State& state, size_t size) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}

void BM_ClassifyCharacterJava(benchmark::State& state) {
    static const std::optional<std::string> text = CharacterJava();
    if (!LoadOrSkip(state, text)) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(ClassifyText(ELanguage::Java, *text));
    }
    SetBytes(state, text->size());
}
BENCHMARK(BM_ClassifyCharacterJava)->Unit(benchmark::kMillisecond);

// A freshly loaded text: every run is applied.
void BM_ColourAllCharacterJava_TextBuffer(benchmark::State& state) {
    static const std::optional<std::string> text = CharacterJava();
    if (!LoadOrSkip(state, text)) {
        return;
    }
    CColourer colourer(ELanguage::Java);
    for (auto _ : state) {
        state.PauseTiming();
        CTextBuffer control(*text);
        state.ResumeTiming();
        colourer.ColourAll(control, true);
        benchmark::DoNotOptimize(control.ClassChangeCount());
    }
    SetBytes(state, text->size());
}
BENCHMARK(BM_ColourAllCharacterJava_TextBuffer)->Unit(benchmark::kMillisecond);

// "Syntax Colour Update" on an unchanged text: nothing needs formatting.
void BM_RecolourAllCharacterJava_TextBuffer(benchmark::State& state) {
    static const std::optional<std::string> text = CharacterJava();
    if (!LoadOrSkip(state, text)) {
        return;
    }
    CColourer colourer(ELanguage::Java);
    CTextBuffer control(*text);
    colourer.ColourAll(control, true);
    for (auto _ : state) {
        colourer.ColourAll(control, true);
    }
    SetBytes(state, text->size());
}
BENCHMARK(BM_RecolourAllCharacterJava_TextBuffer)->Unit(benchmark::kMillisecond);

void ColourTypedLine(benchmark::State& state, ELanguage language, const std::string& text,
                     const char* typed) {
    CTextBuffer control(text + typed);
    CColourer colourer(language);
    colourer.ColourAll(control, true);
    control.SetSel(control.GetLength(), control.GetLength());
    control.GetLineCount(); // line starts are cached by the buffer, as an editor keeps them
    for (auto _ : state) {
        colourer.ColourLine(control);
    }
    state.counters["text_bytes"] = static_cast<double>(control.GetLength());
}

void BM_ColourLineAtEndOfMegabyteJava(benchmark::State& state) {
    static const std::optional<std::string> text = JavaMegabyte();
    if (LoadOrSkip(state, text)) {
        ColourTypedLine(state, ELanguage::Java, *text, kTypedJavaLine);
    }
}
BENCHMARK(BM_ColourLineAtEndOfMegabyteJava)->Unit(benchmark::kMicrosecond);

void BM_ColourLineAtEndOfMegabyteJavaWithoutBlockComments(benchmark::State& state) {
    static const std::string text = JavaMegabyteWithoutBlockComments();
    ColourTypedLine(state, ELanguage::Java, text, kTypedJavaLine);
}
BENCHMARK(BM_ColourLineAtEndOfMegabyteJavaWithoutBlockComments)->Unit(benchmark::kMicrosecond);

void BM_ColourLineAtEndOfMegabyteHtml(benchmark::State& state) {
    static const std::string text = HtmlMegabyte(true);
    ColourTypedLine(state, ELanguage::Html, text, kTypedHtmlLine);
}
BENCHMARK(BM_ColourLineAtEndOfMegabyteHtml)->Unit(benchmark::kMicrosecond);

void BM_ColourLineAtEndOfMegabyteHtmlWithoutComments(benchmark::State& state) {
    static const std::string text = HtmlMegabyte(false);
    ColourTypedLine(state, ELanguage::Html, text, kTypedHtmlLine);
}
BENCHMARK(BM_ColourLineAtEndOfMegabyteHtmlWithoutComments)->Unit(benchmark::kMicrosecond);

void BM_ColourAllMegabyteHtml_TextBuffer(benchmark::State& state) {
    static const std::string text = HtmlMegabyte(true);
    CColourer colourer(ELanguage::Html);
    for (auto _ : state) {
        state.PauseTiming();
        CTextBuffer control(text);
        state.ResumeTiming();
        colourer.ColourAll(control, true);
    }
    SetBytes(state, text.size());
}
BENCHMARK(BM_ColourAllMegabyteHtml_TextBuffer)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
