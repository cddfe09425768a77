// The fast engine against the step-by-step reference: random texts made of the characters the
// rules react to, JDK sources and hand-written markup and Jython samples. Every position of
// every whole text and line must get the same class, where the reference still answers. Java
// and Jython are also checked against themselves: after any edit every line must be coloured as
// the whole-text pass colours it.

#include "core/editor/ColourClassifier.h"
#include "core/editor/Colourer.h"

#include "ColourReference.h"
#include "ColourTestSupport.h"

#include <gtest/gtest.h>
#include <random>

using namespace tovin;
using tovin::test::Letters;
using tovin::test::Visible;

namespace {

const ELanguage kLanguages[] = {ELanguage::Java, ELanguage::Html, ELanguage::Xml,
                                ELanguage::Jython};

std::string LanguageName(ELanguage language) {
    switch (language) {
    case ELanguage::Html:
        return "Html";
    case ELanguage::Xml:
        return "Xml";
    case ELanguage::Jython:
        return "Jython";
    case ELanguage::Java:
        break;
    }
    return "Java";
}

// Texts biased towards what the passes look at: quotes, escapes, comment and tag delimiters,
// keywords of every language in mixed case, word and non-word neighbours, line breaks.
class CTextMaker {
public:
    explicit CTextMaker(unsigned seed) : m_rng(seed) {
        for (ELanguage language : kLanguages) {
            for (auto& word : SplitKeywordList(GetLanguageRules(language).keywordList)) {
                m_keywords.push_back(word);
            }
        }
    }

    std::string Make(size_t pieces, bool crLfOnly) {
        static const char* const kPieces[] = {
            "\"",  "\"", "\"", "\\", "\\", "/", "/", "*", "*", "<", ">",     "!",    "-",
            "-",   "#",  " ",  " ",  "x",  "_", "$", "1", "2", "=", "\r\n",  "\r\n", "<!--",
            "-->", "/*", "*/", "//", "'",  "Q", "&", "%", "@", ";", "\"\"\""};
        std::string text;
        for (size_t i = 0; i < pieces; ++i) {
            int kind = Pick(10);
            if (kind < 3) {
                std::string word = m_keywords[static_cast<size_t>(Pick(m_keywords.size()))];
                if (Pick(4) == 0) {
                    word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
                }
                text += word;
            } else if (kind == 3 && !crLfOnly) {
                text += Pick(2) ? "\r" : "\n";
            } else {
                text += kPieces[Pick(std::size(kPieces))];
            }
        }
        return text;
    }

    int Pick(size_t n) { return static_cast<int>(m_rng() % n); }

private:
    std::mt19937 m_rng;
    std::vector<std::string> m_keywords;
};

reference::Classes ReferenceWholeText(ELanguage language, const std::string& text) {
    if (language == ELanguage::Java) {
        return reference::JavaWholeText(text);
    }
    if (language == ELanguage::Jython) {
        CTextBuffer control(text);
        reference::ColourAll(language, control);
        reference::Classes classes;
        for (int i = 0; i < control.GetLength(); ++i) {
            classes.push_back(control.GetClassAt(i));
        }
        return classes;
    }
    return reference::MarkupWholeText(GetLanguageRules(language), text);
}

// Whole text, and the line passes on [start, end) for a few ranges, with varied windows.
void ExpectSameClasses(ELanguage language, const std::string& text, CTextMaker& pick, int ranges) {
    if (!reference::Comparable(language, text)) {
        return;
    }
    bool loneBreaks = false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool crLf =
            text.compare(i, 2, "\r\n") == 0 || (i > 0 && text.compare(i - 1, 2, "\r\n") == 0);
        loneBreaks = loneBreaks || ((text[i] == '\r' || text[i] == '\n') && !crLf);
    }
    // The reference finds Jython lines as the editor does, two characters before the next.
    bool jythonWithLoneBreaks = language == ELanguage::Jython && loneBreaks;
    if (!jythonWithLoneBreaks) {
        ASSERT_EQ(Letters(ClassifyText(language, text)),
                  Letters(ReferenceWholeText(language, text)))
            << LanguageName(language) << " whole text \"" << Visible(text) << "\"";
    }
    for (int r = 0; r < ranges; ++r) {
        size_t start = static_cast<size_t>(pick.Pick(text.size() + 1));
        size_t end = start + static_cast<size_t>(pick.Pick(text.size() - start + 1));
        std::string line = text.substr(start, end - start);
        SLineContext context = GetLineContext(language, text, static_cast<int>(start));
        ASSERT_EQ(Letters(ClassifyLine(language, line, context)),
                  Letters(reference::LinePasses(language, text, start, line)))
            << LanguageName(language) << " line [" << start << ", " << end << ") of \""
            << Visible(text) << "\"";
    }
}

// The frames on two controls: the reference selects lines as the original did. The text is
// coloured whole first, so what each line leaves open is known and the line pass colours only
// its own line (the reference knows nothing of the lines after it).
void ExpectSameFrames(ELanguage language, const std::string& text, CTextMaker& pick) {
    if (!reference::Comparable(language, text)) {
        return;
    }
    CTextBuffer mine(text);
    CTextBuffer theirs(text);
    CColourer colourer(language);
    colourer.ColourAll(mine, true);
    reference::ColourAll(language, theirs);
    for (int line = 0; line < mine.GetLineCount(); ++line) {
        int at = mine.LineIndex(pick.Pick(static_cast<size_t>(mine.GetLineCount())));
        at += pick.Pick(3);
        mine.SetSel(at, at);
        theirs.SetSel(at, at);
        colourer.ColourLine(mine);
        reference::ColourLine(language, theirs);
        ASSERT_EQ(Letters(mine), Letters(theirs)) << LanguageName(language) << " ColourLine at "
                                                  << at << " of \"" << Visible(text) << "\"";
    }
    colourer.ColourAll(mine, true);
    reference::ColourAll(language, theirs);
    ASSERT_EQ(Letters(mine), Letters(theirs))
        << LanguageName(language) << " ColourAll over earlier colours of \"" << Visible(text)
        << "\"";
}

} // namespace

class ColourDifferential : public testing::TestWithParam<ELanguage> {};

TEST_P(ColourDifferential, RandomTextsClassifyAsTheReference) {
    CTextMaker maker(20240 + static_cast<unsigned>(GetParam()));
    for (int i = 0; i < 3000; ++i) {
        std::string text = maker.Make(static_cast<size_t>(maker.Pick(40)), false);
        ExpectSameClasses(GetParam(), text, maker, 4);
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST_P(ColourDifferential, RandomTextsColourControlsAsTheReference) {
    CTextMaker maker(777 + static_cast<unsigned>(GetParam()));
    for (int i = 0; i < 600; ++i) {
        std::string text = maker.Make(static_cast<size_t>(maker.Pick(50)), true);
        ExpectSameFrames(GetParam(), text, maker);
        if (HasFatalFailure()) {
            return;
        }
    }
}

// Random edits of a coloured control, each followed by the colouring of the edited line and of
// another line, as typing does: the line pass must see what the text before the line leaves
// open, whatever the states kept before the edit were.
TEST_P(ColourDifferential, KeptLineStatesFollowEdits) {
    const ELanguage language = GetParam();
    CTextMaker maker(4242 + static_cast<unsigned>(language));
    auto pick = [&maker](int count) { return maker.Pick(static_cast<size_t>(count)); };
    CColourer colourer(language);
    for (int i = 0; i < 300; ++i) {
        CTextBuffer control(maker.Make(static_cast<size_t>(pick(60)), true));
        colourer.ColourAll(control, false);
        for (int edit = 0; edit < 8; ++edit) {
            const int start = pick(control.GetLength() + 1);
            control.SetSel(start, start + pick(std::min(control.GetLength() - start, 8) + 1));
            control.ReplaceSel(maker.Make(static_cast<size_t>(pick(4)), true));
            for (int line : {control.LineFromChar(start), pick(control.GetLineCount())}) {
                const int lineStart = control.LineIndex(line);
                control.SetSel(lineStart, lineStart);
                colourer.ColourLine(control);
                const std::string text = control.GetText();
                const int next = control.LineIndex(line + 1);
                const size_t length =
                    (next < 0 ? text.size() : next - LineBreakLengthBefore(text, next)) - lineStart;
                const std::string lineText = text.substr(size_t(lineStart), length);
                ASSERT_EQ(Letters(control).substr(size_t(lineStart), length),
                          Letters(ClassifyLine(language, lineText,
                                               GetLineContext(language, text, lineStart))))
                    << LanguageName(language) << " line " << line << " of \"" << Visible(text)
                    << "\"";
            }
        }
    }
}

namespace {

// Each line of the control (without its line break) has the classes the whole-text pass gives
// it.
void ExpectLinesAsTheWholeText(ELanguage language, const CTextBuffer& control,
                               const std::string& what) {
    const std::string text = control.GetText();
    const std::string whole = Letters(ClassifyText(language, text));
    const std::string mine = Letters(control);
    for (int line = 0; line < control.GetLineCount(); ++line) {
        const auto start = static_cast<size_t>(control.LineIndex(line));
        const int next = control.LineIndex(line + 1);
        const size_t end = next < 0 ? text.size() : next - LineBreakLengthBefore(text, next);
        ASSERT_EQ(mine.substr(start, end - start), whole.substr(start, end - start))
            << what << ": line " << line << " of \"" << Visible(text) << "\"";
    }
}

} // namespace

class EditedLines : public testing::TestWithParam<ELanguage> {};

// Random edits of a coloured text (insertions, deletions, replacements over several lines),
// each followed by the colouring the editor gives an edit: its lines, and the lines after them
// whose context it changed. No line may keep colours of a context it no longer has.
TEST_P(EditedLines, ColourAsTheWholeTextAfterEveryEdit) {
    const ELanguage language = GetParam();
    CTextMaker maker(515 + static_cast<unsigned>(language));
    auto pick = [&maker](int count) { return maker.Pick(static_cast<size_t>(count)); };
    CColourer colourer(language);
    for (int i = 0; i < 400; ++i) {
        CTextBuffer control(maker.Make(static_cast<size_t>(pick(60)), true));
        colourer.ColourAll(control, false);
        for (int edit = 0; edit < 10; ++edit) {
            const int start = pick(control.GetLength() + 1);
            const int removed = pick(std::min(control.GetLength() - start, 12) + 1);
            const std::string inserted = maker.Make(static_cast<size_t>(pick(4)), true);
            control.SetSel(start, start + removed);
            control.ReplaceSel(inserted);
            colourer.ColourLines(control, control.LineFromChar(start),
                                 control.LineFromChar(start + static_cast<int>(inserted.size())));
            ExpectLinesAsTheWholeText(language, control,
                                      "after replacing " + std::to_string(removed) + " at " +
                                          std::to_string(start) + " by \"" + Visible(inserted) +
                                          "\"");
            if (HasFatalFailure()) {
                return;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, EditedLines,
                         testing::Values(ELanguage::Java, ELanguage::Jython),
                         [](const auto& info) { return LanguageName(info.param); });

// Window sizes from one character up: a marker straddling a window's edge must not change the
// answer of the position tests.
TEST_P(ColourDifferential, PositionTestsAgreeForEveryWindow) {
    CTextMaker maker(99 + static_cast<unsigned>(GetParam()));
    for (int i = 0; i < 400; ++i) {
        std::string text = maker.Make(static_cast<size_t>(maker.Pick(30)), false);
        std::string reversed = reference::Reversed(text);
        for (size_t p = 0; p <= text.size(); ++p) {
            int at = static_cast<int>(p);
            int window = 1 + maker.Pick(6);
            ASSERT_EQ(IsInBlockComment(text, at, window), reference::IsInBlockComment(text, p))
                << Visible(text) << " at " << p << " window " << window;
            ASSERT_EQ(IsInTag(text, at, window), reference::IsInTag(reversed, p))
                << Visible(text) << " at " << p << " window " << window;
            ASSERT_EQ(IsInHtmlComment(text, at, window), reference::IsInHtmlComment(reversed, p))
                << Visible(text) << " at " << p << " window " << window;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, ColourDifferential, testing::ValuesIn(kLanguages),
                         [](const auto& info) { return LanguageName(info.param); });

namespace {

std::string ReadSample(const std::string& name) {
    std::string path = std::string(TOVIN_TEST_DATA) + "/colour/" + name;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        ADD_FAILURE() << "missing sample " << path;
        return {};
    }
    std::string content;
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, n);
    }
    std::fclose(file);
    return tovin::test::ToCrLf(content);
}

// Every line of a text, classified the way ColourLine finds it.
void ExpectSameLines(ELanguage language, const std::string& text) {
    CTextBuffer control(text);
    for (int line = 0; line < control.GetLineCount(); ++line) {
        size_t start = static_cast<size_t>(control.LineIndex(line));
        int next = control.LineIndex(line + 1);
        size_t end = next < 0 ? text.size() : static_cast<size_t>(next - 2);
        std::string lineText = text.substr(start, end - start);
        SLineContext context = GetLineContext(language, text, static_cast<int>(start));
        ASSERT_EQ(Letters(ClassifyLine(language, lineText, context)),
                  Letters(reference::LinePasses(language, text, start, lineText)))
            << LanguageName(language) << " line " << line << ": " << Visible(lineText);
    }
}

// Colouring every line of a Java or Jython text as typing does, from the last line up (so the
// first one works out the states of all lines before it), gives the colours of the whole text.
void ExpectLinesColourAsTheWholeText(const std::string& text,
                                     ELanguage language = ELanguage::Java) {
    CTextBuffer control(text);
    CColourer colourer(language);
    colourer.ColourAll(control, false);
    const std::string whole = Letters(control);
    for (int line = control.GetLineCount() - 1; line >= 0; --line) {
        control.SetSel(control.LineIndex(line), control.LineIndex(line));
        colourer.ColourLine(control);
    }
    EXPECT_EQ(Letters(control), whole);
}

} // namespace

// A file of today's Java mixing the later constructs with the same words used as names.
TEST(ModernJavaSample, ColoursLaterJavaWholeAndLineByLine) {
    const std::string text = ReadSample("Modern.java");
    const std::string letters = Letters(ClassifyText(ELanguage::Java, text));
    // What the rows of the classifier tests do not show: the constructs one after the other.
    const std::pair<std::string, std::string> pieces[] = {
        {"static final String AFTER = \"after the block\";",
         "KKKKKKNKKKKK" + std::string(16, 'N') + std::string(17, 'S') + "N"},
        {"yield \"other\";", "KKKKKNSSSSSSSN"},
        {"LogRecord record)", std::string(17, 'N')}};
    for (const auto& [piece, expected] : pieces) {
        const size_t at = text.find(piece);
        ASSERT_NE(at, std::string::npos) << piece;
        EXPECT_EQ(letters.substr(at, piece.size()), expected) << piece;
    }
    ExpectLinesColourAsTheWholeText(text);
}

struct SSampleRow {
    const char* name;
    ELanguage language;
};

class ColourSamples : public testing::TestWithParam<SSampleRow> {};

TEST_P(ColourSamples, ClassifyAsTheReference) {
    std::string text = ReadSample(GetParam().name);
    ASSERT_FALSE(text.empty());
    ASSERT_EQ(Letters(ClassifyText(GetParam().language, text)),
              Letters(ReferenceWholeText(GetParam().language, text)));
    ExpectSameLines(GetParam().language, text);
}

INSTANTIATE_TEST_SUITE_P(Files, ColourSamples,
                         testing::Values(SSampleRow{"page.html", ELanguage::Html},
                                         SSampleRow{"build.xml", ELanguage::Xml}),
                         [](const auto& info) { return LanguageName(info.param.language); });

// The samples of the quirks the Java and Jython passes once had.
TEST(QuirkSamples, ColourLineByLineAsTheWholeText) {
    ExpectLinesColourAsTheWholeText(ReadSample("Quirks.java"), ELanguage::Java);
    ExpectLinesColourAsTheWholeText(ReadSample("tool.py"), ELanguage::Jython);
}

class JdkSources : public testing::TestWithParam<const char*> {};

// Real Java files through the markup classifiers, which must agree with the reference on any
// text, and through Java's, line by line as typing does it against the whole text.
TEST_P(JdkSources, ClassifyAsTheReference) {
    std::optional<std::string> source = tovin::test::ReadJdkSource(GetParam());
    if (!source) {
        GTEST_SKIP() << "no JDK sources at " << tovin::test::kJdkSourceArchive;
    }
    std::string text = tovin::test::ToCrLf(*source);
    for (ELanguage language : {ELanguage::Html, ELanguage::Xml}) {
        ASSERT_EQ(Letters(ClassifyText(language, text)),
                  Letters(ReferenceWholeText(language, text)))
            << LanguageName(language);
    }
    ExpectLinesColourAsTheWholeText(text);
}

INSTANTIATE_TEST_SUITE_P(Files, JdkSources,
                         testing::Values("java.base/java/util/ArrayList.java",
                                         "java.base/java/lang/String.java",
                                         "java.base/java/util/regex/Pattern.java",
                                         "java.base/java/lang/Character.java"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name = name.substr(name.rfind('/') + 1);
                             return name.substr(0, name.find('.'));
                         });
