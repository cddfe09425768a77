#pragma once
// Error navigation: from a line of tool output (a compiler message, a stack-trace line, a find
// in files result, a Jython traceback) to the project file it names and the line it points at.
//
// The rule, in the order it is applied:
// - The output text is split at CR LF. Line n lies between the n-th and the (n+1)-th CR LF
//   (line 0 starts the text); the last piece, with no CR LF after it, is never used, nor is an
//   empty line: both still grow while a tool runs.
// - The project's Java-file names are tried in list order. A name matches when its FIRST
//   occurrence in the line starts the line or follows a path separator ('/' or '\\') or an
//   opening parenthesis; a name that first occurs inside a longer name does not match even
//   when a later occurrence would. The first matching name wins.
// - A Java editor goes to the number that follows the name after one skipped character (the
//   colon of "A.java:12:", the parenthesis... of "(A.java:12)"), minus one.
// - A Jython or XML editor goes to the number after the word "line" ("line 4" of a Jython
//   traceback), minus one. The word is looked for after the file name, so a folder such as
//   "/home/caroline" is never taken for it; without the word the document is only opened.
//   NavigateToMessage takes a number right after the name first (Ant's "build.xml:9: ...").
// Missing digits give the number 0, so the editor is asked for line -1.
//
// CompilerMessages reads the same compiler lines for the editors' margins, by the file path
// the compiler wrote rather than by the project's names.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovin {

class CJavaProjectDoc;

struct SMessageTarget {
    std::string fileName; // the project file's name as the project lists it
    // Zero-based line for a Java editor.
    int javaLine = -1;
    // Zero-based line for a Jython or XML editor; nullopt when the output line has no "line".
    std::optional<int> scriptLine;

    bool operator==(const SMessageTarget&) const = default;
};

// Line n of a CR LF text, or nullopt when no CR LF follows it.
std::optional<std::string_view> OutputLine(std::string_view text, std::size_t n);

// The target of one complete output line (no line end), or nullopt when the line is empty or
// names none of the files in a matching position.
std::optional<SMessageTarget> MatchMessageLine(std::string_view line,
                                               const std::vector<std::string>& fileNames);

// The target of line n of the output text.
std::optional<SMessageTarget> FindMessageTarget(std::string_view text, std::size_t n,
                                                const std::vector<std::string>& fileNames);

// The names of the project's Java-file entries, in list order.
std::vector<std::string> ProjectFileNames(const CJavaProjectDoc& project);

// A compiler message that names a file and a line, as javac writes them:
// "path:12: error: text" or "path:12: warning: text".
struct SCompilerMessage {
    std::string path; // as the compiler wrote it, a relative one taken from the compile's folder
    int line = 0;     // zero-based
    bool error = true;
    std::string text; // from "error:" or "warning:" to the end of the line
};

// Every error and warning line of a compiler's output (CR LF or LF line ends) in output order.
// A path that does not start with "/" is taken from `folder`, where the compiler ran.
std::vector<SCompilerMessage> CompilerMessages(std::string_view output, const std::string& folder);

// Opens the project file that a complete output line names (resolved with GetFullPath, opened
// through the host) and moves its editor to the line the message points at. False when the
// line names no project file or the document could not be opened.
bool NavigateToMessage(CJavaProjectDoc& project, std::string_view line);

} // namespace tovin
