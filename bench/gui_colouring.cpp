// Whole-text Java colouring of Character.java in a QScintilla control: QScintilla's own Java
// lexer (SCI_COLOURISE over the whole text) beside the Tovin colourer writing its classes as
// styles, both from an unstyled text in the same run; and the typed-line colouring at the end
// of megabyte Java and HTML files in the control.
//
// The editor's QScintilla control is not part of this library yet, so the colourer reaches
// the widget through CScintillaControl below: a minimal CTextControl over QsciScintilla with
// token classes as styles 0..4 set by SCI_STARTSTYLING / SCI_SETSTYLING.

#include "editor/Colourer.h"
#include "editor/TextControl.h"

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

int StyleOf(ETokenClass cls) {
    switch (cls) {
    case ETokenClass::Keyword:
        return 1;
    case ETokenClass::Comment:
        return 2;
    case ETokenClass::String:
        return 3;
    case ETokenClass::Tag:
        return 4;
    case ETokenClass::Normal:
        break;
    }
    return 0;
}

class CScintillaControl final : public CTextControl {
public:
    explicit CScintillaControl(QsciScintilla& editor) : m_editor(editor) {}

    long Send(unsigned int message, unsigned long w = 0, long l = 0) const {
        return m_editor.SendScintilla(message, w, l);
    }

    std::string GetText() const override {
        std::string text(static_cast<size_t>(GetLength()) + 1, '\0');
        m_editor.SendScintilla(Sci::SCI_GETTEXT, static_cast<unsigned long>(text.size()),
                               static_cast<void*>(text.data()));
        text.pop_back();
        return text;
    }
    int GetLength() const override { return static_cast<int>(Send(Sci::SCI_GETLENGTH)); }
    std::string GetTextRange(int start, int end) const override {
        start = std::clamp(start, 0, GetLength());
        end = std::clamp(end, start, GetLength());
        std::string text(static_cast<size_t>(end - start) + 1, '\0');
        m_editor.SendScintilla(Sci::SCI_GETTEXTRANGE, start, end, text.data());
        text.pop_back();
        return text;
    }
    void SetText(const std::string& text) override {
        m_editor.SendScintilla(Sci::SCI_SETTEXT, text.c_str());
    }
    void GetSel(int& start, int& end) const override {
        start = static_cast<int>(Send(Sci::SCI_GETSELECTIONSTART));
        end = static_cast<int>(Send(Sci::SCI_GETSELECTIONEND));
    }
    void SetSel(int start, int end) override {
        Send(Sci::SCI_SETSEL, static_cast<unsigned long>(start), end);
    }
    std::string GetSelText() const override {
        int start = 0;
        int end = 0;
        GetSel(start, end);
        return GetTextRange(start, end);
    }
    void ReplaceSel(const std::string& text) override {
        m_editor.SendScintilla(Sci::SCI_REPLACESEL, text.c_str());
    }
    int LineFromChar(int position) const override {
        return static_cast<int>(
            Send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
    }
    int LineIndex(int line) const override {
        return static_cast<int>(Send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)));
    }
    int GetLineCount() const override { return static_cast<int>(Send(Sci::SCI_GETLINECOUNT)); }
    ETokenClass GetClassAt(int position) const override {
        static const ETokenClass kClasses[] = {ETokenClass::Normal, ETokenClass::Keyword,
                                               ETokenClass::Comment, ETokenClass::String,
                                               ETokenClass::Tag};
        long style = Send(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(position));
        return style >= 0 && style < 5 ? kClasses[style] : ETokenClass::Normal;
    }
    // One styled-text read per run: characters and styles alternate.
    bool IsRangeClass(int start, int end, ETokenClass cls) const override {
        if (end <= start) {
            return true;
        }
        m_styled.resize(2 * static_cast<size_t>(end - start) + 2);
        m_editor.SendScintilla(Sci::SCI_GETSTYLEDTEXT, start, end, m_styled.data());
        const char style = static_cast<char>(StyleOf(cls));
        for (size_t i = 1; i < 2 * static_cast<size_t>(end - start); i += 2) {
            if (m_styled[i] != style) {
                return false;
            }
        }
        return true;
    }
    void SetRangeClass(int start, int end, ETokenClass cls) override {
        Send(Sci::SCI_STARTSTYLING, static_cast<unsigned long>(start));
        Send(Sci::SCI_SETSTYLING, static_cast<unsigned long>(end - start), StyleOf(cls));
    }
    bool GetModify() const override { return Send(Sci::SCI_GETMODIFY) != 0; }
    void SetModify(bool modified) override {
        if (!modified) {
            Send(Sci::SCI_SETSAVEPOINT);
        }
    }
    bool IsReadOnly() const override { return Send(Sci::SCI_GETREADONLY) != 0; }
    void SetReadOnly(bool readOnly) override { Send(Sci::SCI_SETREADONLY, readOnly ? 1 : 0); }
    void HideSelection(bool hide) override { Send(Sci::SCI_HIDESELECTION, hide ? 1 : 0); }
    void SetRedraw(bool on) override { m_editor.setUpdatesEnabled(on); }
    int GetFirstVisibleLine() const override {
        return static_cast<int>(Send(Sci::SCI_GETFIRSTVISIBLELINE));
    }
    void SetFirstVisibleLine(int line) override {
        Send(Sci::SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(line));
    }
    void BeginUndoAction() override { Send(Sci::SCI_BEGINUNDOACTION); }
    void EndUndoAction() override { Send(Sci::SCI_ENDUNDOACTION); }

private:
    QsciScintilla& m_editor;
    mutable std::vector<char> m_styled;
};

std::unique_ptr<QsciScintilla> MakeEditor(const std::string& text) {
    auto editor = std::make_unique<QsciScintilla>();
    editor->resize(800, 600);
    editor->SendScintilla(Sci::SCI_SETEOLMODE, Sci::SC_EOL_CRLF);
    editor->SendScintilla(Sci::SCI_SETTEXT, text.c_str());
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
    CScintillaControl control(*editor);
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
    CScintillaControl control(*editor);
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
