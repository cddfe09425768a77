#pragma once
// CJavaParser fills one CJavaFile from Java source text: the package, the top-level types
// (classes, interfaces, enums, records, annotation types), their member types, and the methods
// and constructors of all of them that have a body. It is not a compiler front end: it reads
// the code between braces and looks at the text of each member before its opening brace.
//
// - Literals and comments do not count: braces, quotes and comment markers inside strings,
//   character literals, text blocks and comments are not structure (see JavaLexicalPass.h).
// - A member is the text after the previous ";", "{" or "}" of its type's body. Before a brace
//   it is a type declaration, a method or constructor, a record's compact constructor, or
//   none of these: a field's value (after "="), an initializer block, an enum constant's body,
//   an annotation element's default. Bodies of methods, constants, values and blocks are not
//   read, so local and anonymous classes and whatever they hold never appear.
// - Member types of member types are filed as further inner classes of the top-level type, so
//   the model keeps one level of inner classes; each one's methods are filed under it.
// - Methods outside any type (a compact source file: `void main() {}` alone) are filed under a
//   class named after the file, the class the compiler makes of such a file.
// - A type is named by its name and the type parameters written right after it ("Map<K,V>").
//   A method is named by its signature from its name through the parenthesis closing its
//   parameters, as written: line breaks and tabs read as blanks, runs of blanks halved five
//   times ("main(String args[])"). Annotations and modifiers before the name are not part of
//   it. A compact constructor is named by its record's name and the record's components.
//   Identical names in one list appear once; each list holds at most 255 entries.
// - A declaration's position is the offset of the line where its name stands (or, when a
//   brace or comment ends earlier on that line, of the end of the last one), moved on by the
//   count of blanks between the declaration and its brace, plus one, but never past that
//   line's end. The editors jump to it.
// It never reports errors; whatever it cannot recognise it skips. The work is linear in the
// size of the text.

#include "core/javamodel/JavaModel.h"

#include <string>
#include <string_view>

namespace tovin {

class CJavaParser {
public:
    explicit CJavaParser(CJavaFile& file) : m_file(file) {}

    // Reads the file's full path and parses it. Returns false, with the system's reason in
    // *error, when the file cannot be read; the model is then left unchanged.
    bool ParseFile(std::string* error = nullptr);
    // Parses a text with CR LF line ends (an editor's contents).
    void ParseText(std::string_view text);

    // The text a file's bytes are parsed as: each line without its line end (a CR before the
    // LF dropped too), followed by CR LF. A long line (generated code, a minified table) is
    // one line like any other: the editors show the whole file, so the model must read it.
    static std::string SourceTextOf(std::string_view bytes);
    // The package a text declares before its first opening brace outside comments; empty when
    // there is none.
    static std::string FindPackage(std::string_view text);

private:
    CJavaFile& m_file;
};

} // namespace tovin
