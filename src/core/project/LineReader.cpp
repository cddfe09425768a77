#include "core/project/LineReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tovin {

CLineReader::CLineReader(const std::string& path, bool keepCarriageReturn, size_t lineLimit,
                         size_t blockSize)
    : m_keepCr(keepCarriageReturn), m_limit(lineLimit) {
    // O_NONBLOCK keeps the open itself from waiting for a FIFO's writer; regular files ignore it.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return;
    }
    m_fd = fd;
    // Room for a full block after a carried partial line (which is at most the limit plus a CR);
    // a small file needs no more than its size and one byte to see its end in one read.
    size_t fileSize = static_cast<size_t>(std::max<off_t>(st.st_size, 0));
    m_capacity = std::min(blockSize, fileSize + 1) + lineLimit + 2;
    m_buffer = std::make_unique_for_overwrite<char[]>(m_capacity);
}

CLineReader::~CLineReader() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

void CLineReader::Fill() {
    char* data = m_buffer.get();
    if (m_begin > 0) {
        std::memmove(data, data + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
    }
    while (m_end < m_capacity) {
        ssize_t n = ::read(m_fd, data + m_end, m_capacity - m_end);
        if (n > 0) {
            m_end += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            m_eof = true;
            break;
        }
    }
}

const char* CLineReader::SkipWholeLines(const char* p, const char* end) {
    // Rather than finding every line feed, look for the last one within the limit's reach: a
    // line feed there ends every line before it in time. Source lines are short, so this takes
    // one call per kilobyte instead of one per line.
    for (;;) {
        size_t available = static_cast<size_t>(end - p);
        size_t window = std::min(available, m_limit + 1);
        if (const void* lineFeed = ::memrchr(p, '\n', window)) {
            p = static_cast<const char*>(lineFeed) + 1;
            continue;
        }
        if (available <= m_limit) {
            return p; // a partial line that may still end in time
        }
        // limit + 1 characters without a line feed: too long, unless a dropped CR is the last.
        if (!m_keepCr && p[m_limit] == '\r') {
            if (available == m_limit + 1) {
                return p;
            }
            if (p[m_limit + 1] == '\n') {
                p += m_limit + 2;
                continue;
            }
        }
        m_longLine = m_done = true;
        return p;
    }
}

std::string_view CLineReader::ReadLines() {
    if (m_fd < 0 || m_done) {
        return {};
    }
    if (!m_eof) {
        Fill();
    }
    const char* base = m_buffer.get();
    const char* start = base + m_begin;
    const char* end = base + m_end;
    const char* p = SkipWholeLines(start, end);
    if (!m_done) {
        size_t tail = static_cast<size_t>(end - p);
        if (m_eof) {
            if (tail > m_limit) {
                m_longLine = true;
            } else {
                p = end;
            }
            m_done = true;
        } else if (tail > m_limit + (m_keepCr ? 0 : 1)) {
            // Even a line feed right after it could not bring this line within the limit.
            m_longLine = m_done = true;
        }
    }
    // Before the end of the file the buffer is full, and a full buffer holds either a line
    // feed or an over-long line: an empty answer therefore always means the reading is over.
    m_begin = static_cast<size_t>(p - base);
    return {start, static_cast<size_t>(p - start)};
}

bool CLineReader::ReadLine(std::string& line) {
    while (m_pending.empty()) {
        m_pending = ReadLines();
        if (m_pending.empty()) {
            return false;
        }
    }
    size_t lineFeed = m_pending.find('\n');
    std::string_view text = m_pending.substr(0, lineFeed);
    m_pending.remove_prefix(lineFeed == std::string_view::npos ? m_pending.size() : lineFeed + 1);
    if (!m_keepCr && lineFeed != std::string_view::npos && !text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    line.assign(text);
    return true;
}

} // namespace tovin
