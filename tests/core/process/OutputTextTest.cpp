#include "core/process/OutputText.h"

#include <gtest/gtest.h>

using namespace tovin;

namespace {

TEST(OutputText, KeepsBytesAcrossBlockBoundaries) {
    const std::size_t block = COutputText::kBlockSize;
    COutputText text;
    std::string expected;
    EXPECT_EQ(text.Back(), '\0');
    EXPECT_EQ(text.CopyFrom(0), "");
    // Pieces of awkward sizes so appends straddle, end on and start at block boundaries.
    const std::size_t sizes[] = {block - 3, 3, 1, block - 2, 5, block, 7};
    char fill = 'a';
    for (std::size_t size : sizes) {
        std::string piece(size, fill);
        piece.back() = static_cast<char>(fill + 1);
        text.Append(piece);
        expected += piece;
        fill = static_cast<char>(fill == 'x' ? 'a' : fill + 2);
        ASSERT_EQ(text.Size(), expected.size());
        ASSERT_EQ(text.Back(), expected.back());
    }
    for (std::size_t offset : {std::size_t(0), block - 1, block, block + 1, 2 * block,
                               expected.size() - 1, expected.size(), expected.size() + 1}) {
        // Megabyte strings: report the offset, not the bytes.
        ASSERT_TRUE(text.CopyFrom(offset) == expected.substr(std::min(offset, expected.size())))
            << "offset " << offset;
    }
    // Bounded copies that start before, end on and cross block boundaries.
    for (auto [offset, count] : {std::pair{std::size_t(0), std::size_t(0)},
                                 {block - 2, std::size_t(4)},
                                 {block - 1, std::size_t(1)},
                                 {block, block},
                                 {expected.size() - 3, std::size_t(10)},
                                 {expected.size(), std::size_t(1)}}) {
        ASSERT_TRUE(text.CopyRange(offset, count) == expected.substr(offset, count))
            << "offset " << offset << " count " << count;
    }
    text.Clear();
    EXPECT_EQ(text.Size(), 0u);
    text.Append("again");
    EXPECT_EQ(text.CopyFrom(0), "again");
}

} // namespace
