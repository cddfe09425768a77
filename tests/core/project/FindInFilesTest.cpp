#include "core/project/FindInFiles.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <random>

using namespace tovin;
using tovin::test::CTempDir;

namespace tovin {
std::ostream& operator<<(std::ostream& out, const SFindMatch& m) {
    return out << "(" << m.line << "," << m.start << "," << m.end << ")";
}
} // namespace tovin

namespace {

using Matches = std::vector<SFindMatch>;

// The search written as the plain per-line loop over FindInLine.
Matches SearchReference(const std::string& bytes, const std::string& text, bool wholeWord,
                        bool caseSensitive) {
    Matches matches;
    if (text.empty()) {
        return matches;
    }
    size_t start = 0;
    for (int number = 1; start < bytes.size(); ++number) {
        size_t lineFeed = bytes.find('\n', start);
        size_t end = lineFeed == std::string::npos ? bytes.size() : lineFeed;
        std::string line = bytes.substr(start, end - start);
        if (line.size() > 1023) {
            break;
        }
        int position = 0;
        while (position < static_cast<int>(line.size())) {
            int i = FindInLine(line, text, position, wholeWord, caseSensitive);
            if (i < 0) {
                ++position;
            } else {
                int e = i + static_cast<int>(text.size());
                matches.push_back({number, i, e});
                position = e;
            }
        }
        start = end + 1;
    }
    return matches;
}

} // namespace

TEST(FindInFiles, WordSeparators) {
    const std::string separators = " \t\n\r\v\f_.,;:(){}[]<>!\"#$%&'*+-/=?@\\^`|~";
    const std::string others = std::string("azAZ09") + '\0' + "\x01\x7f\x80\xe9";
    for (char c : separators) {
        EXPECT_TRUE(IsWordSeparator(c)) << static_cast<int>(c);
    }
    for (char c : others) {
        EXPECT_FALSE(IsWordSeparator(c)) << static_cast<int>(c);
    }
}

TEST(FindInFiles, FindInLineRules) {
    struct Row {
        const char* name;
        std::string line, text;
        int from;
        bool wholeWord, caseSensitive;
        int expected;
    };
    const Row rows[] = {
        {"plain", "aaab", "ab", 0, false, true, 2},
        {"from past the match", "aaab", "ab", 3, false, true, -1},
        {"whole word before parenthesis", "foo(x)", "foo", 0, true, true, 0},
        {"whole word after dot", "x.foo", "foo", 0, true, true, 2},
        {"underscore separates", "my_foo", "foo", 0, true, true, 3},
        {"longer word", "food", "foo", 0, true, true, -1},
        {"word prefix", "myfoo", "foo", 0, true, true, -1},
        {"first occurrence rejected means -1", "food foo", "foo", 0, true, true, -1},
        {"from the second occurrence", "food foo", "foo", 1, true, true, 5},
        {"case folded", "a Foo", "FOO", 0, false, false, 2},
        {"case kept", "a Foo", "FOO", 0, false, true, -1},
        {"CR ends a word", "foo\r", "foo", 0, true, true, 0},
        {"text longer than line", "ab", "abc", 0, false, true, -1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FindInLine(row.line, row.text, row.from, row.wholeWord, row.caseSensitive),
                  row.expected)
            << row.name;
    }
}

TEST(FindInFiles, SearchFileRules) {
    struct Row {
        const char* name;
        std::string bytes, text;
        bool wholeWord, caseSensitive;
        Matches expected;
    };
    const Row rows[] = {
        {"one match past a partial one", "aaab\n", "ab", false, true, {{1, 2, 4}}},
        {"no overlaps", "aaaa\n", "aa", false, true, {{1, 0, 2}, {1, 2, 4}}},
        {"whole word forms",
         "foo(x)\nx.foo\nmy_foo\nfood\nmyfoo\n",
         "foo",
         true,
         true,
         {{1, 0, 3}, {2, 2, 5}, {3, 3, 6}}},
        {"rejected candidate then a word", "food foo\n", "foo", true, true, {{1, 5, 8}}},
        {"case folding",
         "foo Foo FOO fOx\n",
         "FOO",
         false,
         false,
         {{1, 0, 3}, {1, 4, 7}, {1, 8, 11}}},
        {"case sensitive", "foo Foo FOO\n", "FOO", false, true, {{1, 8, 11}}},
        {"line numbers and CR LF", "x\r\n\r\nfoo\r\n", "foo", true, true, {{3, 0, 3}}},
        {"last line without line feed", "a\nb foo", "foo", false, true, {{2, 2, 5}}},
        {"empty text matches nothing", "abc\n", "", false, true, {}},
        {"text with line feed matches nothing", "a\nb\n", "a\nb", false, true, {}},
        {"over-long line ends the file",
         "foo\n" + std::string(1024, 'x') + "foo\nfoo\n",
         "foo",
         false,
         true,
         {{1, 0, 3}}},
        {"1023-character line is searched",
         std::string(1020, 'x') + "foo\n",
         "foo",
         false,
         true,
         {{1, 1020, 1023}}},
        {"kept CR counts towards the limit",
         std::string(1020, 'x') + "foo\r\nfoo\n",
         "foo",
         false,
         true,
         {}},
    };
    CTempDir dir;
    for (const auto& row : rows) {
        std::string path = dir.Write("f.java", row.bytes);
        EXPECT_EQ(SearchFile(row.text, path, row.wholeWord, row.caseSensitive), row.expected)
            << row.name;
    }
    EXPECT_EQ(SearchFile("foo", dir.File("missing.java"), false, false), Matches{});
}

// Random texts over a small alphabet, searched through every small block size, must give what
// the per-line loop gives.
TEST(FindInFiles, BlockSearchAgreesWithPerLineLoop) {
    std::mt19937 random(11);
    const char alphabet[] = {'a', 'A', 'b', '_', ' ', '\r', '\n'};
    const std::string texts[] = {"a", "aa", "ab", "Ab", "a_", " a", "aba"};
    CTempDir dir;
    for (int round = 0; round < 150; ++round) {
        std::string bytes;
        int length = static_cast<int>(random() % 50);
        for (int i = 0; i < length; ++i) {
            bytes += alphabet[random() % sizeof alphabet];
        }
        std::string path = dir.Write("r.txt", bytes);
        for (const auto& text : texts) {
            for (int flags = 0; flags < 4; ++flags) {
                bool wholeWord = flags & 1, caseSensitive = flags & 2;
                Matches expected = SearchReference(bytes, text, wholeWord, caseSensitive);
                for (size_t block : {size_t{1}, size_t{2}, size_t{5}, kFindBlockSize}) {
                    ASSERT_EQ(SearchFile(text, path, wholeWord, caseSensitive, block), expected)
                        << testing::PrintToString(bytes) << " text " << text << " whole "
                        << wholeWord << " case " << caseSensitive << " block " << block;
                }
            }
        }
    }
}

TEST(FindInFiles, ResultText) {
    CTempDir dir;
    std::string a = dir.Write("A.java", "x\ny\nfoo here\n");
    std::string b = dir.Write("b.xml", "<foo>foo\n");
    std::string missing = dir.File("gone.java");

    SFindResult found = FindInPaths({a, missing, b}, {"foo", false, false});
    EXPECT_EQ(found.matchCount, 3);
    EXPECT_EQ(found.text,
              a + ":3: at char 0 \r\n" + b + ":1: at char 1 \r\n" + b + ":1: at char 5 \r\n");

    SFindResult none = FindInPaths({a, b}, {"bar", false, false});
    EXPECT_EQ(none.matchCount, 0);
    EXPECT_EQ(none.text, "No matches found for \"bar\"");

    EXPECT_EQ(FindInPaths({a}, {"", false, false}).text, "No matches found for \"\"");
}
