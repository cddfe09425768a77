#pragma once
// Command lines: the product composes every tool invocation as one Windows-style command line;
// this is the one place that turns such a line into an argument vector (and back), expands
// wildcards as the Windows tools would, and quotes words for the shell scripts Tovin writes.

#include <string>
#include <string_view>
#include <vector>

namespace tovin {

struct SCommandArgument {
    std::string text;
    bool quoted = false; // some part of the argument stood between double quotes
};

// Splits a command line by the rules of the Windows C runtime, so a line composed for a
// Windows tool reaches the child with the same arguments. The line ends at its first zero byte.
//
// Argument zero (the program name) is read by the runtime's simpler rule: characters are taken
// up to the first blank (space, tab, or a line break: CR or LF) outside double quotes; every double
// quote toggles quoting and is dropped; backslashes are plain characters. A line that starts with a
// blank therefore has an empty argument zero. Argument zero is always present, even for an empty
// line.
//
// The other arguments are separated by runs of blanks outside quotes; blanks at the end give no
// argument. Inside an argument:
//   - 2n backslashes followed by a double quote give n backslashes, and the quote toggles
//     quoting (it is not copied);
//   - 2n+1 backslashes followed by a double quote give n backslashes and a literal quote;
//   - backslashes not followed by a double quote are copied as they are;
//   - inside quotes, two double quotes in a row (an even run of backslashes before the first)
//     give one literal quote, and quoting continues;
//   - a quote that is still open at the end of the line closes there.
// `quoted` tells whether any quote of the argument toggled quoting or gave the "" literal; an
// escaped quote (\") alone does not make an argument quoted.
std::vector<SCommandArgument> SplitCommandLine(std::string_view line);

// True when name matches a Windows wildcard pattern: '*' matches any run of characters
// (including none), '?' exactly one character (one UTF-8 sequence); everything else matches
// itself, case-sensitively. Runs in O(pattern x name) time at worst.
bool MatchWildcard(std::string_view pattern, std::string_view name);

// The argument vector a tool receives: argument zero as written; every other argument that is
// not quoted and holds '*' or '?' in its last path component is replaced by the sorted names
// that match it. Relative patterns are looked up in folder (the child's working folder); the
// directory part is kept as written in front of each match. Names starting with '.' match only
// a pattern that starts with '.'; "." and ".." never match. A pattern that matches nothing, or
// whose directory part holds a wildcard or cannot be read, stays as it is so the tool can
// report it.
std::vector<std::string> ExpandWildcards(const std::vector<SCommandArgument>& arguments,
                                         const std::string& folder);

// One argument (not argument zero) between double quotes, written so SplitCommandLine gives it
// back unchanged: a double quote in it becomes \", and the backslashes before such a quote or
// before the closing quote are doubled. Inside a longer argument (-Dname="value") it reads the
// same way.
std::string EncloseWindowsArgument(std::string_view argument);
// Like EncloseWindowsArgument, but plain words (nothing SplitCommandLine or the wildcard
// expansion would take apart) stay as they are.
std::string QuoteWindowsArgument(std::string_view argument);
// Joins arguments into a line that SplitCommandLine splits back into the same texts. Argument
// zero has no escape for a double quote: quotes inside it are dropped.
std::string JoinCommandLine(const std::vector<std::string>& arguments);

// Quotes a word for a POSIX shell script so the shell takes it literally: safe words (letters,
// digits and "@%+=:,./_-") stay as they are, anything else goes between single quotes with each
// single quote written as '\''. An empty word becomes ''.
std::string ShellQuote(std::string_view word);
// The words shell-quoted and joined by single spaces.
std::string ShellJoin(const std::vector<std::string>& words);

} // namespace tovin
