#pragma once
// The byte encoding of project files: a plain little-endian stream without header or tags.
//
// Strings are a length prefix and that many bytes of 8-bit text, without terminator:
//   length < 255            one byte
//   255 .. 65533            0xFF, then a 16-bit length
//   65534 and more          0xFF, 0xFFFF, then a 32-bit length
// A reader also accepts strings of 16-bit characters (UTF-16LE): 0xFF, 0xFFFE, then the length
// in characters by the same one-byte / 0xFF+16-bit / 0xFFFF+32-bit scheme. They are converted
// to UTF-8; the writer never produces them.
// The compact element count is a 16-bit count, or 0xFFFF followed by a 32-bit count.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tovin {

// A read that failed. EndOfData: the bytes ended inside a value (a truncated file). Damaged:
// a value that no well-formed file holds. The message names the byte offset.
class CArchiveError : public std::runtime_error {
public:
    enum class EKind { EndOfData, Damaged };
    CArchiveError(EKind kind, const std::string& message)
        : std::runtime_error(message), m_kind(kind) {}
    EKind Kind() const { return m_kind; }

private:
    EKind m_kind;
};

class CArchiveWriter {
public:
    void WriteByte(std::uint8_t value);
    void WriteUInt16(std::uint16_t value);
    void WriteInt32(std::int32_t value);
    void WriteUInt32(std::uint32_t value);
    void WriteString(std::string_view text);
    void WriteCount(std::uint32_t count);

    const std::string& Bytes() const { return m_bytes; }
    std::string TakeBytes() { return std::move(m_bytes); }

private:
    std::string m_bytes;
};

// Reads from bytes the caller keeps alive. Every read throws CArchiveError on failure; a
// length is checked against the bytes left before anything is allocated for it.
class CArchiveReader {
public:
    explicit CArchiveReader(std::string_view bytes) : m_bytes(bytes) {}

    std::uint8_t ReadByte();
    std::uint16_t ReadUInt16();
    std::int32_t ReadInt32();
    std::uint32_t ReadUInt32();
    std::string ReadString();
    std::uint32_t ReadCount();

    size_t Offset() const { return m_offset; }
    size_t Remaining() const { return m_bytes.size() - m_offset; }
    bool AtEnd() const { return m_offset == m_bytes.size(); }

    // Throws the error for `what`, found at the byte offset `at` (default: the current one).
    [[noreturn]] void Fail(CArchiveError::EKind kind, const std::string& what,
                           size_t at = SIZE_MAX) const;

    // Nested records (inner classes) may go this deep; deeper input is treated as damaged so
    // a crafted file cannot exhaust the stack.
    static constexpr int kMaxDepth = 64;
    // Counts one level of nesting for its lifetime.
    class CNesting {
    public:
        explicit CNesting(CArchiveReader& reader);
        ~CNesting() { --m_reader.m_depth; }
        CNesting(const CNesting&) = delete;
        CNesting& operator=(const CNesting&) = delete;

    private:
        CArchiveReader& m_reader;
    };

private:
    void Need(size_t count, const char* what);
    std::string ReadWideString(size_t characters);

    std::string_view m_bytes;
    size_t m_offset = 0;
    int m_depth = 0;
};

} // namespace tovin
