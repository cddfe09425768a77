#include "core/process/OutputText.h"

#include <algorithm>
#include <cstring>

namespace tovin {

void COutputText::Append(std::string_view bytes) {
    while (!bytes.empty()) {
        std::size_t used = m_size % kBlockSize;
        if (used == 0 && m_size / kBlockSize == m_blocks.size()) {
            // for_overwrite: a block is only ever read where it has been written.
            m_blocks.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
        }
        std::size_t n = std::min(bytes.size(), kBlockSize - used);
        std::memcpy(m_blocks.back().get() + used, bytes.data(), n);
        m_size += n;
        bytes.remove_prefix(n);
    }
}

void COutputText::Clear() {
    m_blocks.clear();
    m_size = 0;
}

char COutputText::Back() const {
    if (m_size == 0) {
        return '\0';
    }
    std::size_t last = m_size - 1;
    return m_blocks[last / kBlockSize][last % kBlockSize];
}

std::string COutputText::CopyFrom(std::size_t offset) const {
    return CopyRange(offset, m_size);
}

std::string COutputText::CopyRange(std::size_t offset, std::size_t count) const {
    std::string text;
    if (offset >= m_size) {
        return text;
    }
    const std::size_t end = offset + std::min(count, m_size - offset);
    text.resize(end - offset);
    std::size_t done = 0;
    while (offset < end) {
        std::size_t inBlock = offset % kBlockSize;
        std::size_t n = std::min(kBlockSize - inBlock, end - offset);
        std::memcpy(text.data() + done, m_blocks[offset / kBlockSize].get() + inBlock, n);
        done += n;
        offset += n;
    }
    return text;
}

} // namespace tovin
