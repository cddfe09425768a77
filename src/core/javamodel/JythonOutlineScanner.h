#pragma once
// The outline of a Jython file for the project's model: its classes with their methods and its
// module-level functions, each with its zero-based line number. A line starting in the first
// column with anything but white space ends the current class; "def " and "class " count only
// as the first word of a line, and the text up to the line's first ":" (trimmed) is the entry's
// name with its parameter or base list; a line where that text is empty adds nothing. Entries
// are added to what the model already holds.

#include "core/javamodel/JavaModel.h"

#include <string>
#include <string_view>

namespace tovin {

// Lines of this length or longer end the scan.
inline constexpr size_t kJythonMaxLineLength = 1023;

// Scans the entry's file. Returns false, with the system's reason in *error, when the file
// cannot be read; the entry is then unchanged.
bool JythonOutlineScanner(CJavaFile& entry, std::string* error = nullptr);
// Scans the bytes of a Jython file into the entry.
void ScanJythonOutline(CJavaFile& entry, std::string_view bytes);

} // namespace tovin
