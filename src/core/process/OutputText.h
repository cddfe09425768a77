#pragma once
// An append-only byte store for captured tool output. It grows in fixed blocks, so appending
// never moves what is already stored: the cost of a byte is one copy, however large the
// output gets (a single string would copy everything again on each growth and touch twice
// the memory).

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tovin {

class COutputText {
public:
    static constexpr std::size_t kBlockSize = std::size_t(4) << 20;

    void Append(std::string_view bytes);
    void Clear();
    std::size_t Size() const { return m_size; }
    // The last byte, or '\0' when empty.
    char Back() const;
    // The bytes from offset to the end (empty when offset is at or past the end).
    std::string CopyFrom(std::size_t offset) const;

private:
    // Every block but the last is full, so byte i lives in block i / kBlockSize.
    std::vector<std::unique_ptr<char[]>> m_blocks;
    std::size_t m_size = 0;
};

} // namespace tovin
