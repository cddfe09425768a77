#include "core/javamodel/Archive.h"

#include "core/platform/Utf8.h"

namespace tovin {

namespace {

constexpr std::uint8_t kLongLength = 0xFF;
constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint16_t kVeryLongLength = 0xFFFF;

} // namespace

void CArchiveWriter::WriteByte(std::uint8_t value) {
    m_bytes += static_cast<char>(value);
}

void CArchiveWriter::WriteUInt16(std::uint16_t value) {
    WriteByte(static_cast<std::uint8_t>(value));
    WriteByte(static_cast<std::uint8_t>(value >> 8));
}

void CArchiveWriter::WriteUInt32(std::uint32_t value) {
    WriteUInt16(static_cast<std::uint16_t>(value));
    WriteUInt16(static_cast<std::uint16_t>(value >> 16));
}

void CArchiveWriter::WriteInt32(std::int32_t value) {
    WriteUInt32(static_cast<std::uint32_t>(value));
}

void CArchiveWriter::WriteString(std::string_view text) {
    // 65534 would read back as the wide-string marker, so it already takes the long form.
    const size_t length = text.size();
    if (length < kLongLength) {
        WriteByte(static_cast<std::uint8_t>(length));
    } else if (length < kWideMarker) {
        WriteByte(kLongLength);
        WriteUInt16(static_cast<std::uint16_t>(length));
    } else {
        WriteByte(kLongLength);
        WriteUInt16(kVeryLongLength);
        WriteUInt32(static_cast<std::uint32_t>(length));
    }
    m_bytes.append(text);
}

void CArchiveWriter::WriteCount(std::uint32_t count) {
    if (count < kVeryLongLength) {
        WriteUInt16(static_cast<std::uint16_t>(count));
    } else {
        WriteUInt16(kVeryLongLength);
        WriteUInt32(count);
    }
}

void CArchiveReader::Fail(CArchiveError::EKind kind, const std::string& what, size_t at) const {
    throw CArchiveError(kind, what + " at byte " + std::to_string(at == SIZE_MAX ? m_offset : at));
}

void CArchiveReader::Need(size_t count, const char* what) {
    if (count > Remaining()) {
        Fail(CArchiveError::EKind::EndOfData, std::string("the file ends inside ") + what + " (" +
                                                  std::to_string(count) + " bytes needed, " +
                                                  std::to_string(Remaining()) + " left)");
    }
}

std::uint8_t CArchiveReader::ReadByte() {
    Need(1, "a value");
    return static_cast<std::uint8_t>(m_bytes[m_offset++]);
}

std::uint16_t CArchiveReader::ReadUInt16() {
    Need(2, "a value");
    std::uint16_t low = static_cast<std::uint8_t>(m_bytes[m_offset]);
    std::uint16_t high = static_cast<std::uint8_t>(m_bytes[m_offset + 1]);
    m_offset += 2;
    return static_cast<std::uint16_t>(low | (high << 8));
}

std::uint32_t CArchiveReader::ReadUInt32() {
    Need(4, "a value");
    std::uint32_t low = ReadUInt16();
    std::uint32_t high = ReadUInt16();
    return low | (high << 16);
}

std::int32_t CArchiveReader::ReadInt32() {
    return static_cast<std::int32_t>(ReadUInt32());
}

std::uint32_t CArchiveReader::ReadCount() {
    std::uint16_t count = ReadUInt16();
    return count != kVeryLongLength ? count : ReadUInt32();
}

std::string CArchiveReader::ReadString() {
    bool wide = false;
    std::uint32_t length = ReadByte();
    if (length == kLongLength) {
        length = ReadUInt16();
        if (length == kWideMarker) {
            wide = true;
            length = ReadByte();
            if (length == kLongLength) {
                length = ReadUInt16();
            }
        }
        if (length == kVeryLongLength) {
            length = ReadUInt32();
        }
    }
    if (wide) {
        return ReadWideString(length);
    }
    Need(length, "a string");
    std::string text(m_bytes.substr(m_offset, length));
    m_offset += length;
    return text;
}

std::string CArchiveReader::ReadWideString(size_t characters) {
    if (characters > Remaining() / 2) {
        Fail(CArchiveError::EKind::EndOfData, "the file ends inside a string of " +
                                                  std::to_string(characters) +
                                                  " 16-bit characters");
    }
    std::string text;
    text.reserve(characters);
    const size_t end = m_offset + characters * 2;
    while (m_offset < end) {
        std::uint32_t unit = ReadUInt16();
        if (unit >= 0xD800 && unit < 0xDC00 && m_offset < end) {
            std::uint16_t next =
                static_cast<std::uint16_t>(static_cast<std::uint8_t>(m_bytes[m_offset]) |
                                           (static_cast<std::uint8_t>(m_bytes[m_offset + 1]) << 8));
            if (next >= 0xDC00 && next < 0xE000) {
                m_offset += 2;
                AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                continue;
            }
        }
        // A lone surrogate has no UTF-8 form; it becomes the replacement character.
        AppendUtf8(text, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
    return text;
}

CArchiveReader::CNesting::CNesting(CArchiveReader& reader) : m_reader(reader) {
    if (++m_reader.m_depth > kMaxDepth) {
        --m_reader.m_depth;
        m_reader.Fail(CArchiveError::EKind::Damaged,
                      "records nested deeper than " + std::to_string(kMaxDepth) + " levels");
    }
}

} // namespace tovin
