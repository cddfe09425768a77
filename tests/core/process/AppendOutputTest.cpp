#include "core/process/ProcessRunner.h"

#include <gtest/gtest.h>
#include <random>

using namespace tovin;

namespace {

// The normalisation as first designed: append, then rewrite the whole text (quadratic).
void AppendByRewriting(std::string& output, std::string_view chunk) {
    output += chunk.substr(0, chunk.find('\0'));
    std::string joined;
    for (std::size_t i = 0; i < output.size(); ++i) {
        if (output[i] == '\r' && i + 1 < output.size() && output[i + 1] == '\n') {
            continue;
        }
        joined += output[i];
    }
    output.clear();
    for (char c : joined) {
        if (c == '\n') {
            output += '\r';
        }
        output += c;
    }
}

struct SAppendCase {
    const char* name;
    std::vector<std::string> chunks;
    std::string expected;
};

const SAppendCase kCases[] = {
    {"LoneLineFeeds", {"a\nb\n"}, "a\r\nb\r\n"},
    {"PairsStay", {"a\r\nb\r\n"}, "a\r\nb\r\n"},
    {"LoneCarriageReturnStays", {"a\rb"}, "a\rb"},
    {"PairSplitBetweenChunks", {"a\r", "\nb"}, "a\r\nb"},
    {"CarriageReturnThenLoneFeedLater", {"a\r", "b\n"}, "a\rb\r\n"},
    {"DoubleCarriageReturn", {"x\r\r\n"}, "x\r\r\n"},
    {"DoubleCarriageReturnSplit", {"x\r", "\r\n"}, "x\r\r\n"},
    {"FeedAtStartOfFirstChunk", {"\nx"}, "\r\nx"},
    {"EmptyChunksChangeNothing", {"a\r", "", "\n"}, "a\r\n"},
    {"ZeroByteEndsTheChunk", {std::string("ab\0cd", 5), "e\n"}, "abe\r\n"},
    {"ZeroByteFirst", {std::string("\0\n", 2), "z"}, "z"},
};

class AppendOutputTest : public testing::TestWithParam<SAppendCase> {};

TEST_P(AppendOutputTest, Normalises) {
    CProcessRunner runner;
    for (const auto& chunk : GetParam().chunks) {
        runner.AppendOutput(chunk);
    }
    EXPECT_EQ(runner.GetOutput(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, AppendOutputTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AppendOutput, SameTextAsRewritingTheWholeOutput) {
    std::mt19937 random(20240601);
    const char alphabet[] = {'a', '\r', '\n', '\0', 'G'};
    for (int round = 0; round < 500; ++round) {
        CProcessRunner runner;
        std::string expected;
        for (int append = 0; append < 12; ++append) {
            std::string chunk(random() % 7, ' ');
            for (char& c : chunk) {
                c = alphabet[random() % sizeof alphabet];
            }
            runner.AppendOutput(chunk);
            AppendByRewriting(expected, chunk);
            ASSERT_EQ(runner.GetOutput(), expected) << "round " << round << ", append " << append;
        }
    }
}

TEST(AppendOutput, TextOnlyGrowsSoViewersCanFetchTheTail) {
    CProcessRunner runner;
    runner.AppendOutput("one\r");
    std::string before = runner.GetOutput();
    runner.AppendOutput("\ntwo\n");
    std::string after = runner.GetOutput();
    EXPECT_EQ(after.substr(0, before.size()), before);
    EXPECT_EQ(runner.GetOutputFrom(before.size()), "\ntwo\r\n");
    EXPECT_EQ(runner.GetOutputFrom(after.size()), "");
    EXPECT_EQ(runner.GetOutputFrom(after.size() + 10), "");
}

} // namespace
