#include "core/project/FindInFiles.h"

#include "core/app/UiHost.h"
#include "core/platform/Paths.h"
#include "core/project/JavaProjectDoc.h"
#include "core/project/LineReader.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace tovin {

bool IsWordSeparator(char c) {
    switch (c) {
    case ' ':
    case '\t':
    case '\n':
    case '\r':
    case '\v':
    case '\f':
        return true;
    default:
        break;
    }
    // Printable ASCII that is no letter, digit or blank: the punctuation characters.
    bool printable = c > ' ' && c < 0x7f;
    bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    return printable && !letterOrDigit;
}

namespace {

// The whole-word test for a match [start, start + length) in a line of lineLength characters.
bool IsWholeWord(const char* line, size_t lineLength, size_t start, size_t length) {
    if (start > 0 && !IsWordSeparator(line[start - 1])) {
        return false;
    }
    size_t end = start + length;
    return end >= lineLength || IsWordSeparator(line[end]);
}

void LowerAsciiInto(std::string_view from, std::string& to) {
    to.resize(from.size());
    std::transform(from.begin(), from.end(), to.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
}

} // namespace

int FindInLine(const std::string& line, const std::string& text, int from, bool wholeWord,
               bool caseSensitive) {
    std::string lowerLine, lowerText;
    const std::string* haystack = &line;
    const std::string* needle = &text;
    if (!caseSensitive) {
        LowerAsciiInto(line, lowerLine);
        LowerAsciiInto(text, lowerText);
        haystack = &lowerLine;
        needle = &lowerText;
    }
    size_t i = haystack->find(*needle, static_cast<size_t>(std::max(from, 0)));
    if (i == std::string::npos) {
        return -1;
    }
    if (wholeWord && !IsWholeWord(line.data(), line.size(), i, text.size())) {
        return -1;
    }
    return static_cast<int>(i);
}

namespace {

// Searches one run of whole lines from a CLineReader. The run is searched as a whole and line
// numbers are counted only up to the matches, which is what keeps the search fast. The result
// is the same as the per-line scan's: no match can span a line feed, a rejected whole-word
// candidate is passed by one character and an accepted match by its length, and a line feed
// or the run's edge (a run starts and ends at line boundaries) is as good a word boundary as a
// separator.
class CBlockSearcher {
public:
    CBlockSearcher(const std::string& needle, bool wholeWord, std::vector<SFindMatch>& matches)
        : m_needle(needle), m_wholeWord(wholeWord), m_matches(matches) {}

    // original: the bytes as read; haystack: the same bytes as compared (lower-cased or not).
    void Search(std::string_view original, std::string_view haystack) {
        const char* begin = original.data();
        const char* end = begin + original.size();
        const char* counted = begin;   // line feeds before this are counted in m_line
        const char* lineStart = begin; // start of the line holding `counted`
        const size_t length = m_needle.size();
        size_t from = 0;
        while (from + length <= haystack.size()) {
            const void* hit =
                ::memmem(haystack.data() + from, haystack.size() - from, m_needle.data(), length);
            if (!hit) {
                break;
            }
            size_t offset = static_cast<size_t>(static_cast<const char*>(hit) - haystack.data());
            const char* at = begin + offset;
            if (m_wholeWord && !((at == begin || IsWordSeparator(at[-1])) &&
                                 (at + length == end || IsWordSeparator(at[length])))) {
                from = offset + 1;
                continue;
            }
            if (const void* lineFeed = ::memrchr(counted, '\n', at - counted)) {
                m_line += CountLineFeeds(counted, at);
                lineStart = static_cast<const char*>(lineFeed) + 1;
            }
            counted = at;
            int start = static_cast<int>(at - lineStart);
            m_matches.push_back({m_line, start, start + static_cast<int>(length)});
            from = offset + length;
        }
        // The next run starts on the line after this run's last line feed.
        m_line += CountLineFeeds(counted, end);
    }

private:
    static int CountLineFeeds(const char* p, const char* end) {
        int count = 0;
        for (; p < end; ++p) {
            count += *p == '\n';
        }
        return count;
    }

    const std::string& m_needle;
    bool m_wholeWord;
    std::vector<SFindMatch>& m_matches;
    int m_line = 1;
};

} // namespace

std::vector<SFindMatch> SearchFile(const std::string& text, const std::string& path, bool wholeWord,
                                   bool caseSensitive, size_t blockSize) {
    std::vector<SFindMatch> matches;
    if (text.empty() || text.find('\n') != std::string::npos) {
        return matches;
    }
    CLineReader reader(path, true, CLineReader::kLineLimit, blockSize);
    std::string needle = caseSensitive ? text : ToLowerAscii(text);
    CBlockSearcher searcher(needle, wholeWord, matches);
    std::string lowered;
    for (std::string_view block = reader.ReadLines(); !block.empty(); block = reader.ReadLines()) {
        if (caseSensitive) {
            searcher.Search(block, block);
        } else {
            LowerAsciiInto(block, lowered);
            searcher.Search(block, lowered);
        }
    }
    return matches;
}

SFindResult FindInPaths(const std::vector<std::string>& paths, const SFindOptions& options) {
    SFindResult result;
    for (const auto& path : paths) {
        for (const SFindMatch& match :
             SearchFile(options.text, path, options.wholeWord, options.caseSensitive)) {
            result.text += path;
            result.text += ':';
            result.text += std::to_string(match.line);
            result.text += ": at char ";
            result.text += std::to_string(match.start);
            result.text += " \r\n";
            ++result.matchCount;
        }
    }
    if (result.matchCount == 0) {
        result.text = "No matches found for \"" + options.text + "\"";
    }
    return result;
}

std::vector<std::string> GetSearchPaths(const CJavaProjectDoc& project) {
    std::vector<std::string> paths;
    for (const auto& entry : project.JavaFiles()) {
        paths.push_back(entry->GetFullPath());
    }
    for (const auto& entry : project.FreeFiles()) {
        paths.push_back(entry->GetFullPath());
    }
    return paths;
}

SFindResult FindInFiles(CJavaProjectDoc& project, const SFindOptions& options, CUiHost& host) {
    project.RebaseEntries();
    host.ShowOutputWindow();
    host.ClearOutput();
    host.AppendOutput("\r\n");
    host.SetWaitCursor(true);
    SFindResult result = FindInPaths(GetSearchPaths(project), options);
    host.SetWaitCursor(false);
    host.AppendOutput(result.text);
    return result;
}

} // namespace tovin
