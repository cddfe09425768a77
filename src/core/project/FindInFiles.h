#pragma once
// Find in files: searches files line by line for a text and lists each match in the compiler
// message form "path:line: at char N " that the Process Window's navigation understands.
//
// Search rules: lines end at a line feed and a CR before it stays part of the line; a line of
// more than 1023 characters ends the reading of that file. Matches in a line do not overlap and
// are found left to right (in "aaaa", "aa" matches at 0 and 2). Without case sensitivity both
// sides are compared in ASCII lower case. A whole-word match must have a word separator (or the
// line's start or end) on both sides. An empty find text matches nothing, and so does a text
// holding a line feed, since no line holds one.

#include <cstddef>
#include <string>
#include <vector>

namespace tovin {

struct SFindMatch {
    int line = 0;  // 1 for the first line of a file
    int start = 0; // index of the first matched character in the line
    int end = 0;   // index just after the match

    bool operator==(const SFindMatch&) const = default;
};

struct SFindOptions {
    std::string text;
    bool wholeWord = false;
    bool caseSensitive = false;
};

// White space (blank, tab, LF, CR, VT, FF) and punctuation: every printable ASCII character
// that is neither a letter, a digit nor a blank, the underscore included.
bool IsWordSeparator(char c);

// Index of the first acceptable match of text in line at or after from, or -1.
int FindInLine(const std::string& line, const std::string& text, int from, bool wholeWord,
               bool caseSensitive);

// The file is read in blocks of this many bytes; tests lower it to reach the block seams.
inline constexpr size_t kFindBlockSize = 256 * 1024;

// Every match in the file, in order; none when the file cannot be opened (or is no regular
// file).
std::vector<SFindMatch> SearchFile(const std::string& text, const std::string& path, bool wholeWord,
                                   bool caseSensitive, size_t blockSize = kFindBlockSize);

struct SFindResult {
    // One "%s:%d: at char %d \r\n" line per match, or, when nothing matched, the line
    // No matches found for "<text>" without a line end.
    std::string text;
    int matchCount = 0;
};

// Searches the files in the order given.
SFindResult FindInPaths(const std::vector<std::string>& paths, const SFindOptions& options);

class CJavaProjectDoc;
class CUiHost;

// The files "Find in Files..." searches: the stored full path of every Java-file entry, then of
// every free-file entry, in list order.
std::vector<std::string> GetSearchPaths(const CJavaProjectDoc& project);

// "Find in Files..." once its dialog has given the text and the flags: shows the Process Window
// without a runner, clears it, and appends "\r\n" and the result text. The entries are re-based
// first, so a project whose folder moved searches its files where they now are.
SFindResult FindInFiles(CJavaProjectDoc& project, const SFindOptions& options, CUiHost& host);

} // namespace tovin
