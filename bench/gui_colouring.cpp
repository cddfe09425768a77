// Whole-text Java colouring of Character.java in a QScintilla control: QScintilla's own Java
// lexer (SCI_COLOURISE over the whole text) beside the Tovin colourer writing its classes as
// styles, both from an unstyled text in the same run; and the typed-line colouring at the end
// of megabyte Java and HTML files in the control, with the first one after an open of 16 MB.
// The Tovin side colours the editors' own control (CScintillaEdit).

#include "core/editor/Colourer.h"
#include "core/editor/TextControl.h"
#include "gui/editor/ScintillaEdit.h"

#include "ColouringTexts.h"

#include <QApplication>
#include <Qsci/qscilexerjava.h>
#include <Qsci/qsciscintilla.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace tovin;
using namespace tovin::bench;

namespace {

using Sci = QsciScintillaBase;

// The editors' own control, so the figures are those of the editor windows.
std::unique_ptr<CScintillaEdit> MakeEditor(const std::string& text) {
    auto editor = std::make_unique<CScintillaEdit>();
    editor->resize(800, 600);
    editor->LoadText(text);
    return editor;
}

void SetBytes(benchmark::State& state, size_t size) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}

// The anchor: QScintilla's Java lexer styling the whole text.
void BM_QsciLexerJava_ColouriseCharacterJava(benchmark::State& state) {
    static const std::optional<std::string> text = CharacterJava();
    if (!text) {
        state.SkipWithError("JDK sources not found (openjdk-17-source); benchmark skipped");
        return;
    }
    auto editor = MakeEditor(*text);
    editor->setLexer(new QsciLexerJava(editor.get()));
    for (auto _ : state) {
        state.PauseTiming();
        editor->SendScintilla(Sci::SCI_CLEARDOCUMENTSTYLE);
        state.ResumeTiming();
        editor->SendScintilla(Sci::SCI_COLOURISE, 0, -1);
    }
    SetBytes(state, text->size());
}
BENCHMARK(BM_QsciLexerJava_ColouriseCharacterJava)->Unit(benchmark::kMillisecond);

void BM_TovinColourAll_ScintillaCharacterJava(benchmark::State& state) {
    static const std::optional<std::string> text = CharacterJava();
    if (!text) {
        state.SkipWithError("JDK sources not found (openjdk-17-source); benchmark skipped");
        return;
    }
    auto editor = MakeEditor(*text);
    CTextControl& control = *editor;
    CColourer colourer(ELanguage::Java);
    for (auto _ : state) {
        state.PauseTiming();
        editor->SendScintilla(Sci::SCI_CLEARDOCUMENTSTYLE);
        state.ResumeTiming();
        colourer.ColourAll(control, true);
    }
    SetBytes(state, text->size());
}
BENCHMARK(BM_TovinColourAll_ScintillaCharacterJava)->Unit(benchmark::kMillisecond);

void ColourTypedLine(benchmark::State& state, ELanguage language, const std::string& text) {
    auto editor = MakeEditor(text);
    CTextControl& control = *editor;
    CColourer colourer(language);
    colourer.ColourAll(control, true);
    control.SetSel(control.GetLength(), control.GetLength());
    for (auto _ : state) {
        colourer.ColourLine(control);
    }
}

void BM_TovinColourLine_ScintillaMegabyteJava(benchmark::State& state) {
    static const std::optional<std::string> text = JavaMegabyte();
    if (!text) {
        state.SkipWithError("JDK sources not found (openjdk-17-source); benchmark skipped");
        return;
    }
    ColourTypedLine(state, ELanguage::Java, *text + kTypedJavaLine);
}
BENCHMARK(BM_TovinColourLine_ScintillaMegabyteJava)->Unit(benchmark::kMicrosecond);

void BM_TovinColourLine_ScintillaMegabyteJavaWithoutBlockComments(benchmark::State& state) {
    ColourTypedLine(state, ELanguage::Java, JavaMegabyteWithoutBlockComments() + kTypedJavaLine);
}
BENCHMARK(BM_TovinColourLine_ScintillaMegabyteJavaWithoutBlockComments)
    ->Unit(benchmark::kMicrosecond);

// The first line coloured at the end of 16 MB of Java after the open works out what every line
// before it starts in (later keys find that kept): 16 copies of the megabyte of JDK sources
// (many block comments, so many lines keep a state) or of the megabyte without block comments.
void FirstColourLineOf16Megabytes(benchmark::State& state, const std::string& megabyte) {
    std::string text;
    for (int copy = 0; copy < 16; ++copy) {
        text += megabyte;
    }
    auto editor = MakeEditor(text + kTypedJavaLine);
    CTextControl& control = *editor;
    CColourer colourer(ELanguage::Java);
    colourer.ColourAll(control, true);
    control.SetSel(control.GetLength(), control.GetLength());
    for (auto _ : state) {
        // As after the open: nothing kept yet.
        state.PauseTiming();
        for (int line = 0; line < control.GetLineCount(); ++line) {
            control.SetLineState(line, 0);
        }
        control.LineStateValidity() = {};
        state.ResumeTiming();
        colourer.ColourLine(control);
    }
    state.counters["lines"] = control.GetLineCount();
}

void BM_TovinFirstColourLine_Scintilla16MegabytesJava(benchmark::State& state) {
    static const std::optional<std::string> text = JavaMegabyte();
    if (!text) {
        state.SkipWithError("JDK sources not found (openjdk-17-source); benchmark skipped");
        return;
    }
    FirstColourLineOf16Megabytes(state, *text);
}
BENCHMARK(BM_TovinFirstColourLine_Scintilla16MegabytesJava)->Unit(benchmark::kMillisecond);

void BM_TovinFirstColourLine_Scintilla16MegabytesJavaWithoutBlockComments(benchmark::State& state) {
    FirstColourLineOf16Megabytes(state, JavaMegabyteWithoutBlockComments());
}
BENCHMARK(BM_TovinFirstColourLine_Scintilla16MegabytesJavaWithoutBlockComments)
    ->Unit(benchmark::kMillisecond);

void BM_TovinColourLine_ScintillaMegabyteHtml(benchmark::State& state) {
    ColourTypedLine(state, ELanguage::Html, HtmlMegabyte(true) + kTypedHtmlLine);
}
BENCHMARK(BM_TovinColourLine_ScintillaMegabyteHtml)->Unit(benchmark::kMicrosecond);

void BM_TovinColourLine_ScintillaMegabyteHtmlWithoutComments(benchmark::State& state) {
    ColourTypedLine(state, ELanguage::Html, HtmlMegabyte(false) + kTypedHtmlLine);
}
BENCHMARK(BM_TovinColourLine_ScintillaMegabyteHtmlWithoutComments)->Unit(benchmark::kMicrosecond);

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
