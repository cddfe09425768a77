#include "core/editor/TextFile.h"

#include "core/platform/Files.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tovin {

ELineEndStyle DetectLineEndStyle(std::string_view bytes) {
    // Counted in the order Lf, CrLf, Cr, which also settles ties.
    std::array<size_t, 3> counts{};
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++counts[0];
        } else if (bytes[i] == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++counts[1];
                ++i;
            } else {
                ++counts[2];
            }
        }
    }
    size_t best = 0;
    for (size_t k = 1; k < counts.size(); ++k) {
        if (counts[k] > counts[best]) {
            best = k;
        }
    }
    return static_cast<ELineEndStyle>(best);
}

namespace {

// Position of the next `c` at or after `from`, or the size when there is none.
size_t NextOf(std::string_view bytes, char c, size_t from) {
    const void* found = std::memchr(bytes.data() + from, c, bytes.size() - from);
    return found ? static_cast<size_t>(static_cast<const char*>(found) - bytes.data())
                 : bytes.size();
}

// Replaces every break of any kind by `lineEnd`. The next CR and the next LF are each looked
// up again only once passed, so a file with one kind of break is searched once for the other.
std::string ReplaceBreaks(std::string_view bytes, std::string_view lineEnd) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 32);
    size_t from = 0;
    size_t nextCr = NextOf(bytes, '\r', 0);
    size_t nextLf = NextOf(bytes, '\n', 0);
    while (from < bytes.size()) {
        const size_t at = std::min(nextCr, nextLf);
        if (at == bytes.size()) {
            out.append(bytes.substr(from));
            break;
        }
        out.append(bytes.substr(from, at - from));
        out.append(lineEnd);
        from = at + 1;
        if (bytes[at] == '\r' && from < bytes.size() && bytes[from] == '\n') {
            ++from;
        }
        if (nextCr < from) {
            nextCr = NextOf(bytes, '\r', from);
        }
        if (nextLf < from) {
            nextLf = NextOf(bytes, '\n', from);
        }
    }
    return out;
}

std::string_view LineEndText(ELineEndStyle style) {
    switch (style) {
    case ELineEndStyle::CrLf:
        return "\r\n";
    case ELineEndStyle::Cr:
        return "\r";
    case ELineEndStyle::Lf:
        break;
    }
    return "\n";
}

// Length of the UTF-8 sequence starting at bytes[i], or 0 when it is not a valid one.
size_t Utf8SequenceLength(std::string_view bytes, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        return 1;
    }
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range allowed for the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > bytes.size() || byte(i + 1) < low || byte(i + 1) > high) {
        return 0;
    }
    for (size_t k = 2; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

// The Latin-1 bytes of a UTF-8 text; a character beyond Latin-1 is kept as its UTF-8 bytes
// (callers make sure there is none: a substitute would lose what the user typed unseen).
std::string Utf8ToLatin1(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = Utf8SequenceLength(text, i);
        if ((lead == 0xC2 || lead == 0xC3) && length == 2) {
            bytes += static_cast<char>(((lead & 0x03) << 6) | (text[i + 1] & 0x3F));
            i += 2;
        } else {
            const size_t take = length == 0 ? 1 : length;
            bytes.append(text.substr(i, take));
            i += take;
        }
    }
    return bytes;
}

} // namespace

std::string ToCrLf(std::string_view bytes) {
    return ReplaceBreaks(bytes, "\r\n");
}

std::string FromCrLf(std::string_view text, ELineEndStyle style) {
    return ReplaceBreaks(text, LineEndText(style));
}

bool IsValidUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        size_t length = Utf8SequenceLength(bytes, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::optional<SDecodedText> DecodeTextFile(std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    SDecodedText decoded;
    decoded.eightBit = !IsValidUtf8(bytes);
    if (!decoded.eightBit && bytes.starts_with(kUtf8Bom)) {
        decoded.byteOrderMark = true;
        bytes.remove_prefix(kUtf8Bom.size());
    }
    decoded.lineEnd = DetectLineEndStyle(bytes);
    decoded.text = ToCrLf(bytes);
    if (decoded.eightBit) {
        decoded.text = Latin1ToUtf8(decoded.text);
    }
    return decoded;
}

std::string EncodeTextFile(std::string_view text, ELineEndStyle lineEnd, bool byteOrderMark,
                           bool eightBit) {
    std::string bytes = byteOrderMark ? std::string(kUtf8Bom) : std::string();
    bytes += FromCrLf(text, lineEnd);
    return eightBit ? Utf8ToLatin1(bytes) : bytes;
}

std::vector<std::string> CharactersBeyondLatin1(std::string_view text) {
    std::vector<std::string> found;
    for (size_t i = 0; i < text.size();) {
        size_t length = Utf8SequenceLength(text, i);
        if (length == 0) {
            ++i; // not UTF-8; the editor never holds such text
            continue;
        }
        const auto lead = static_cast<unsigned char>(text[i]);
        // Up to U+00FF the lead byte is at most 0xC3.
        if (lead > 0xC3) {
            std::string character(text.substr(i, length));
            if (std::find(found.begin(), found.end(), character) == found.end()) {
                found.push_back(std::move(character));
            }
        }
        i += length;
    }
    return found;
}

std::string CTextFile::Load(const std::string& path) {
    std::string reason;
    auto bytes = ReadWholeFile(path, &reason);
    if (!bytes) {
        return "Cannot open the file \"" + path + "\": " + reason + ".";
    }
    return LoadBytes(*bytes, path);
}

std::string CTextFile::LoadBytes(const std::string& bytes, const std::string& path) {
    auto decoded = DecodeTextFile(bytes);
    if (!decoded) {
        return "The file \"" + path +
               "\" contains NUL bytes and looks like a binary file; it cannot be opened as text.";
    }
    m_loadedText = std::move(decoded->text);
    m_loadedBytes = bytes;
    m_diskBytes = bytes;
    m_lineEnd = decoded->lineEnd;
    m_eightBit = decoded->eightBit;
    m_byteOrderMark = decoded->byteOrderMark;
    m_styleChanged = false;
    return {};
}

std::string CTextFile::Encode(const std::string& text) const {
    if (!m_styleChanged && text == m_loadedText) {
        return m_loadedBytes;
    }
    return EncodeTextFile(text, m_lineEnd, m_byteOrderMark, m_eightBit);
}

std::string CTextFile::Save(const std::string& path, const std::string& text) {
    if (m_eightBit && !CharactersBeyondLatin1(text).empty()) {
        return "Cannot save the file \"" + path +
               "\": it is stored in 8 bits (Latin-1), which cannot hold every character of the "
               "text. The file on disk was not changed.";
    }
    std::string bytes = Encode(text);
    std::string reason = WriteFileAtomic(path, bytes);
    if (!reason.empty()) {
        return "Cannot save the file \"" + path + "\": " + reason +
               ". The file on disk was not changed.";
    }
    m_loadedText = text;
    m_loadedBytes = bytes;
    m_diskBytes = std::move(bytes);
    m_styleChanged = false;
    return {};
}

void CTextFile::SetUtf8() {
    m_eightBit = false;
    m_styleChanged = true;
}

void CTextFile::SetLineEnd(ELineEndStyle style) {
    // Also when the style stays: a mixed file that is mostly CR LF already has that style, yet
    // its remembered bytes still hold the other breaks the user asked to convert.
    m_lineEnd = style;
    m_styleChanged = true;
}

CTextFile::EDiskState CTextFile::CheckDisk(const std::string& path) const {
    if (!m_diskBytes) {
        return EDiskState::Unchanged;
    }
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        return FileExists(path) ? EDiskState::Unchanged : EDiskState::Missing;
    }
    return *bytes == *m_diskBytes ? EDiskState::Unchanged : EDiskState::Changed;
}

void CTextFile::AcceptDiskContent(const std::string& path) {
    if (auto bytes = ReadWholeFile(path)) {
        m_diskBytes = std::move(*bytes);
    } else {
        m_diskBytes = std::string();
    }
}

} // namespace tovin
