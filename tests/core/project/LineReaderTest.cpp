#include "core/project/LineReader.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

using namespace tovin;
using tovin::test::CTempDir;

namespace {

struct SReadOutcome {
    std::vector<std::string> lines;
    bool longLine = false;
    bool operator==(const SReadOutcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const SReadOutcome& outcome) {
    out << "{";
    for (const auto& line : outcome.lines) {
        out << '"' << line << "\" ";
    }
    return out << (outcome.longLine ? "long}" : "}");
}

SReadOutcome ReadAll(const std::string& path, bool keepCr, size_t limit, size_t blockSize) {
    CLineReader reader(path, keepCr, limit, blockSize);
    SReadOutcome outcome;
    std::string line;
    while (reader.ReadLine(line)) {
        outcome.lines.push_back(line);
    }
    outcome.longLine = reader.StoppedAtLongLine();
    return outcome;
}

// The rules written out plainly, line by line over the whole text.
SReadOutcome ReadReference(const std::string& bytes, bool keepCr, size_t limit) {
    SReadOutcome outcome;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t lineFeed = bytes.find('\n', start);
        size_t end = lineFeed == std::string::npos ? bytes.size() : lineFeed;
        std::string line = bytes.substr(start, end - start);
        if (!keepCr && lineFeed != std::string::npos && !line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.size() > limit) {
            outcome.longLine = true;
            break;
        }
        outcome.lines.push_back(line);
        start = end + 1;
    }
    return outcome;
}

} // namespace

TEST(LineReader, LinesAndLineEnds) {
    struct Row {
        const char* name;
        std::string bytes;
        bool keepCr;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"empty file", "", false, {}},
        {"last line without line feed", "a\nb", false, {"a", "b"}},
        {"empty lines", "\n\n", false, {"", ""}},
        {"text mode drops CR before LF", "a\r\nb\r\n", false, {"a", "b"}},
        {"binary keeps CR", "a\r\nb\r\n", true, {"a\r", "b\r"}},
        {"lone CR stays", "a\rb\n", false, {"a\rb"}},
        {"CR at end of file stays", "a\r", false, {"a\r"}},
        {"NUL bytes are kept", std::string("a\0b\n", 4), false, {std::string("a\0b", 3)}},
    };
    for (const auto& row : rows) {
        CTempDir dir;
        std::string path = dir.Write("f.txt", row.bytes);
        SReadOutcome got = ReadAll(path, row.keepCr, CLineReader::kLineLimit, 4096);
        EXPECT_EQ(got.lines, row.lines) << row.name;
        EXPECT_FALSE(got.longLine) << row.name;
    }
}

TEST(LineReader, LineLimitEndsTheReading) {
    const std::string full(CLineReader::kLineLimit, 'x');
    const std::string over(CLineReader::kLineLimit + 1, 'y');
    struct Row {
        const char* name;
        std::string bytes;
        bool keepCr;
        size_t linesRead;
        bool longLine;
    };
    const Row rows[] = {
        {"1023 characters fit", "a\n" + full + "\nb\n", false, 3, false},
        {"1024 characters end it", "a\n" + over + "\nb\n", false, 1, true},
        {"over-long last line without LF", "a\n" + over, false, 1, true},
        {"dropped CR does not count", full + "\r\nb\n", false, 2, false},
        {"kept CR counts", full + "\r\nb\n", true, 0, true},
    };
    for (const auto& row : rows) {
        CTempDir dir;
        std::string path = dir.Write("f.txt", row.bytes);
        for (size_t block : {size_t{1}, size_t{100}, size_t{1500}, size_t{65536}}) {
            SReadOutcome got = ReadAll(path, row.keepCr, CLineReader::kLineLimit, block);
            EXPECT_EQ(got.lines.size(), row.linesRead) << row.name << ", block " << block;
            EXPECT_EQ(got.longLine, row.longLine) << row.name << ", block " << block;
        }
    }
}

// Random texts of short lines, CRs and the odd over-long line, read through every small block
// size, must give what the plain rules give.
TEST(LineReader, BlockSeamsDoNotChangeTheLines) {
    std::mt19937 random(7);
    const char alphabet[] = {'a', 'b', '\r', '\n', '\n'};
    CTempDir dir;
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        int length = static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i) {
            bytes += alphabet[random() % sizeof alphabet];
        }
        std::string path = dir.Write("r.txt", bytes);
        for (bool keepCr : {false, true}) {
            for (size_t limit : {size_t{3}, size_t{6}}) {
                SReadOutcome expected = ReadReference(bytes, keepCr, limit);
                for (size_t block = 1; block <= 9; ++block) {
                    ASSERT_EQ(ReadAll(path, keepCr, limit, block), expected)
                        << "bytes " << testing::PrintToString(bytes) << " keepCr " << keepCr
                        << " limit " << limit << " block " << block;
                }
            }
        }
    }
}

TEST(LineReader, OnlyRegularFilesAreRead) {
    CTempDir dir;
    std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Opening a FIFO for reading would wait for a writer; it must count as unreadable instead.
    EXPECT_FALSE(CLineReader(fifo, false).IsOpen());
    EXPECT_FALSE(CLineReader(dir.Path(), false).IsOpen());
    EXPECT_FALSE(CLineReader(dir.File("missing"), false).IsOpen());
    CLineReader missing(dir.File("missing"), true);
    std::string line;
    EXPECT_FALSE(missing.ReadLine(line));
    EXPECT_TRUE(missing.ReadLines().empty());
}
