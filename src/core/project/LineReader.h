#pragma once
// CLineReader reads a text file line by line the way the project's readers of build files and
// find in files do: lines end at a line feed, and a line longer than the limit ends the reading
// (the rest of the file is never looked at). The file is read in blocks, so memory stays small
// whatever the file's size.
//
// Only regular files are read: a FIFO or a device named by a project entry counts as a file
// that cannot be opened, so reading never blocks or runs without end. Read errors end the
// reading quietly, as the end of the file would.

#include <memory>
#include <string>
#include <string_view>

namespace tovin {

class CLineReader {
public:
    // Characters a line may hold, its line feed not counted.
    static constexpr size_t kLineLimit = 1023;

    // keepCarriageReturn: whether a CR directly before the LF stays part of the line (and
    // counts towards the limit), as in a binary read; otherwise it is dropped as a text-mode
    // read would drop it. blockSize can be lowered by tests to hit the block seams.
    CLineReader(const std::string& path, bool keepCarriageReturn, size_t lineLimit = kLineLimit,
                size_t blockSize = 256 * 1024);
    ~CLineReader();
    CLineReader(const CLineReader&) = delete;
    CLineReader& operator=(const CLineReader&) = delete;

    bool IsOpen() const { return m_fd >= 0; }

    // The next run of whole lines exactly as stored: each ends with its LF, except the file's
    // last line when the file does not end with one; every line is within the limit (a CR
    // before an LF is still in the bytes even when it does not count). Empty at the end of the
    // reading. The view is valid until the next call.
    std::string_view ReadLines();
    // The next line without its line end (and without the CR before the LF unless it is kept);
    // false at the end of the reading.
    bool ReadLine(std::string& line);
    // True once an over-long line has ended the reading.
    bool StoppedAtLongLine() const { return m_longLine; }

private:
    void Fill();
    // Start of the first line from p that is not whole and within the limit; marks the reading
    // as ended when that line is already known to be too long.
    const char* SkipWholeLines(const char* p, const char* end);

    int m_fd = -1;
    bool m_keepCr;
    size_t m_limit;
    std::unique_ptr<char[]> m_buffer;
    size_t m_capacity = 0;
    size_t m_begin = 0; // unconsumed bytes are [m_begin, m_end)
    size_t m_end = 0;
    bool m_eof = false;
    bool m_done = false;
    bool m_longLine = false;
    std::string_view m_pending; // lines handed out by ReadLines but not yet by ReadLine
};

} // namespace tovin
