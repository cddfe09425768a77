#pragma once
// `tovin --outline FILE...`: prints the model the project would keep for each file, one item a
// line, fields separated by tabs, in model order:
//
//   file     PATH
//   package  NAME                          (Java files, also when empty)
//   class    NAME  POSITION                (Jython: the class with its base list, LINE)
//   method   CLASS SIGNATURE POSITION      (CLASS is Outer or Outer.Inner; Jython: LINE)
//   inner    CLASS NAME POSITION
//   function NAME  LINE                    (Jython module-level functions)
//   target   NAME  LINE                    (Ant build files)
//
// A class is followed by its methods, then by each inner class with its methods. Java
// positions are character offsets into the parsed text (a line break counts two); Jython and
// Ant lines are zero-based. A tab, CR, LF or backslash inside a field is written as \t, \r, \n
// or \\, so every item stays on one line. Files ending in .py go through the Jython scanner,
// .xml through the Ant build-file reader, everything else through the Java parser.

#include "core/javamodel/JavaModel.h"

#include <ostream>
#include <string>
#include <vector>

namespace tovin {

enum class ESourceKind { Java, Jython, Ant };

// The reader a path goes through, by its extension.
ESourceKind SourceKindOf(const CJavaFile& file);

// The item lines of one file's model (without the file line).
std::string OutlineOf(const CJavaFile& file, ESourceKind kind);

// Prints every file's outline. Returns 0, or 1 when a file could not be read (the reason goes
// to err and the other files are still printed), or 2 when no file was named.
int RunOutline(const std::vector<std::string>& paths, std::ostream& out, std::ostream& err);

} // namespace tovin
