#pragma once
// CJavaParser fills one CJavaFile from Java source text: the package, the top-level classes and
// interfaces, one level of inner classes, and the methods of both. It is not a compiler front
// end. It counts braces in the raw text and looks at the text before each opening brace, so:
// - string and character literals are not recognised: a brace inside one counts;
// - comments are skipped only where they come before the next brace;
// - methods are recorded only where they have a body, directly inside a top-level class
//   (depth 2) or inside an inner class (depth 3); deeper classes are filed as further inner
//   classes of the top-level class;
// - a method is named by its signature text as written, so overloads with identical text
//   appear once;
// - a declaration's position is the offset of its line in the parsed text, moved on by the
//   count of blanks between the declaration and its brace, plus one. The editors jump to it.
// It never reports errors; whatever it cannot recognise it skips.
//
// The work is linear in the size of the text: every search runs forward from the point the
// parse has reached and remembers its answer for as long as that answer lies ahead.

#include "javamodel/JavaModel.h"

#include <string>
#include <string_view>

namespace tovin {

class CJavaParser {
public:
    // Lines longer than this end the reading of a file.
    static constexpr size_t kMaxLineLength = 1023;

    explicit CJavaParser(CJavaFile& file) : m_file(file) {}

    // Reads the file's full path and parses it. Returns false, with the system's reason in
    // *error, when the file cannot be read; the model is then left unchanged.
    bool ParseFile(std::string* error = nullptr);
    // Parses a text with CR LF line ends (an editor's contents).
    void ParseText(std::string_view text);

    // The text a file's bytes are parsed as: each line without its line end (a CR before the
    // LF dropped too), followed by CR LF, up to the first line longer than kMaxLineLength.
    static std::string SourceTextOf(std::string_view bytes);
    // The package a text declares before its first opening brace outside comments; empty when
    // there is none.
    static std::string FindPackage(std::string_view text);

private:
    void ParseStructure(std::string_view text);
    void HandleDeclaration(std::string_view declaration, int depth, long long afterBrace);
    void Classify(std::string line, int depth, int position);
    void AddMethod(const std::string& signature, int depth, int position);
    void AddClass(const std::string& name, int depth, int position);

    CJavaFile& m_file;
    std::string m_className;
    std::string m_innerClassName;
    bool m_inInnerClass = false;
};

} // namespace tovin
