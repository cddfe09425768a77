#pragma once
// The body shared by the colouring fuzz targets: one language's whole-text and line classifiers
// and the colourer frames on arbitrary bytes. Checks: one class per position, only classes the
// language has, for Java and Jython every line as the whole text colours it, and on small inputs
// the same classes as the step-by-step reference where it still answers (reference::Comparable).

#include "core/editor/ColourClassifier.h"
#include "core/editor/Colourer.h"
#include "core/editor/TextBuffer.h"
#include "core/javamodel/JavaLexicalPass.h"

#include "../tests/core/editor/ColourReference.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tovin::fuzz {

// Inputs up to this size are also compared with the reference, which is quadratic.
inline constexpr size_t kReferenceLimit = 1024;

inline void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

inline void CheckClasses(ELanguage language, const CClassBuffer& classes, size_t size) {
    Check(classes.size() == size);
    bool tags = GetLanguageRules(language).markup;
    for (ETokenClass cls : classes) {
        Check(cls == ETokenClass::Normal || cls == ETokenClass::Keyword ||
              cls == ETokenClass::Comment || cls == ETokenClass::String ||
              (tags && cls == ETokenClass::Tag));
    }
}

inline bool HasLoneLineBreak(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        bool inCrLf =
            text.compare(i, 2, "\r\n") == 0 || (i > 0 && text.compare(i - 1, 2, "\r\n") == 0);
        if ((text[i] == '\r' || text[i] == '\n') && !inCrLf) {
            return true;
        }
    }
    return false;
}

inline reference::Classes ClassesOf(const CTextBuffer& control) {
    reference::Classes classes;
    for (int i = 0; i < control.GetLength(); ++i) {
        classes.push_back(control.GetClassAt(i));
    }
    return classes;
}

// Whether the reference is asked about the input.
inline bool Compared(ELanguage language, const std::string& text) {
    return text.size() <= kReferenceLimit && reference::Comparable(language, text);
}

inline void CheckWholeText(ELanguage language, const std::string& text) {
    CClassBuffer classes = ClassifyText(language, text);
    CheckClasses(language, classes, text.size());
    if (!Compared(language, text)) {
        return;
    }
    if (language == ELanguage::Java) {
        Check(classes == reference::JavaWholeText(text));
    } else if (language != ELanguage::Jython) {
        Check(classes == reference::MarkupWholeText(GetLanguageRules(language), text));
    } else if (!HasLoneLineBreak(text)) {
        CTextBuffer control(text);
        reference::ColourAll(language, control);
        Check(classes == ClassesOf(control));
    }
}

// Every line as the editor finds it, in the context the lines before it leave (for Java and
// Jython as the whole text colours it), and a few positions with small search windows.
inline void CheckLines(ELanguage language, const std::string& text) {
    CTextBuffer control(text);
    const bool compared = Compared(language, text);
    const bool asWholeText = !GetLanguageRules(language).markup;
    const CClassBuffer whole = asWholeText ? ClassifyText(language, text) : CClassBuffer{};
    SLineContext context;
    for (int line = 0; line < control.GetLineCount(); ++line) {
        int start = control.LineIndex(line);
        int next = control.LineIndex(line + 1);
        int end = next < 0 ? control.GetLength() : next - LineBreakLengthBefore(text, next);
        std::string lineText =
            text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
        CClassBuffer classes(lineText.size(), ETokenClass::Normal);
        const SLineContext after = ClassifyLine(language, lineText, context, classes);
        CheckClasses(language, classes, lineText.size());
        if (asWholeText) {
            Check(std::equal(classes.begin(), classes.end(), whole.begin() + start));
        }
        if (compared) {
            Check(classes ==
                  reference::LinePasses(language, text, static_cast<size_t>(start), lineText));
        }
        context = after;
    }
    if (text.size() > kReferenceLimit) {
        return;
    }
    // The reference copies the text for each position, so long inputs are sampled.
    std::string reversed = reference::Reversed(text);
    const size_t step = 1 + text.size() / 64;
    for (size_t p = 0; p <= text.size(); p += step) {
        int window = 1 + static_cast<int>(p % 5);
        int at = static_cast<int>(p);
        Check(IsInBlockComment(text, at, window) == reference::IsInBlockComment(text, p));
        Check(IsInTag(text, at, window) == reference::IsInTag(reversed, p));
        Check(IsInHtmlComment(text, at, window) == reference::IsInHtmlComment(reversed, p));
    }
}

// The frames on a control: colouring never changes the text, the selection or the flags.
inline void CheckFrames(ELanguage language, const std::string& text) {
    CTextBuffer control(text);
    control.SetModify(false);
    int selStart = static_cast<int>(text.size() / 3);
    int selEnd = static_cast<int>(text.size() / 2);
    control.SetSel(selStart, selEnd);
    CColourer colourer(language);
    colourer.ColourAll(control, true);
    Check(ClassesOf(control) == ClassifyText(language, text));
    colourer.ColourLine(control);
    int start = 0;
    int end = 0;
    control.GetSel(start, end);
    Check(start == selStart && end == selEnd);
    Check(!control.GetModify() && control.GetText() == text);
    Check(control.IsRedrawOn() && !control.IsSelectionHidden());
}

// The structure reader's spans are where the colouring sees literals and comments: in order,
// apart, inside the text, and holding exactly the positions coloured string or comment (line
// breaks aside, which the colouring leaves normal).
inline void CheckJavaSpans(const std::string& text) {
    const CClassBuffer classes = ClassifyText(ELanguage::Java, text);
    std::vector<bool> inSpan(text.size(), false);
    size_t after = 0;
    for (const SJavaSpan& span : FindJavaLiteralsAndComments(text)) {
        Check(span.start >= after && span.start < span.end && span.end <= text.size());
        std::fill(inSpan.begin() + static_cast<std::ptrdiff_t>(span.start),
                  inSpan.begin() + static_cast<std::ptrdiff_t>(span.end), true);
        after = span.end;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const bool literal =
            classes[i] == ETokenClass::String || classes[i] == ETokenClass::Comment;
        Check(IsLineBreak(text[i]) ? !literal : inSpan[i] == literal);
    }
}

inline int FuzzColouring(ELanguage language, const std::uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    if (language == ELanguage::Java) {
        CheckJavaSpans(text);
    }
    CheckWholeText(language, text);
    CheckLines(language, text);
    CheckFrames(language, text);
    return 0;
}

} // namespace tovin::fuzz
