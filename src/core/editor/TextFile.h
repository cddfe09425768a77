#pragma once
// Source files as the editors hold them. The editor control always holds CR LF line breaks, so
// a file is converted to CR LF when it is read and back to its own line-end style when it is
// written. The editor text is always UTF-8. A file that is not valid UTF-8 is an 8-bit file: each
// byte is the Latin-1 character of that value (a one-to-one mapping, so its bytes come back
// unchanged), and it is written back in 8 bits. A character typed into such a file that Latin-1
// has no byte for cannot be stored: Save refuses it (never writing a substitute) until the file
// is switched to UTF-8. Files holding NUL bytes are taken as binary and refused with a message,
// since an editor would show and save them damaged.
//
// CTextFile keeps what one open file needs between its read and its writes: the style to write
// back, the encoding, and the bytes last read or written, so that a text saved without changes
// writes exactly the bytes it was read from (mixed line ends included) and a change made by
// another program can be told from our own writes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovin {

enum class ELineEndStyle { Lf, CrLf, Cr };

// The most frequent line break of the bytes (a CR LF pair counts once, as CR LF). A text
// without breaks, and a tie, gives the first of Lf, CrLf, Cr among the most frequent.
ELineEndStyle DetectLineEndStyle(std::string_view bytes);
// Every break (CR LF, lone CR, lone LF) as CR LF.
std::string ToCrLf(std::string_view bytes);
// Every break of an editor text (CR LF, and any lone CR or LF) in the style.
std::string FromCrLf(std::string_view text, ELineEndStyle style);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct SDecodedText {
    std::string text; // UTF-8 with CR LF breaks, without a UTF-8 byte-order mark
    ELineEndStyle lineEnd = ELineEndStyle::Lf;
    bool eightBit = false; // not valid UTF-8: the bytes are Latin-1 characters
    bool byteOrderMark = false;
};

// The editor text of a file's bytes, or nullopt when they hold a NUL byte (a binary file).
std::optional<SDecodedText> DecodeTextFile(std::string_view bytes);
// The bytes of an editor text in the file's style, with its byte-order mark if it had one;
// in 8 bits (Latin-1) for an 8-bit file, which needs a text without CharactersBeyondLatin1.
std::string EncodeTextFile(std::string_view text, ELineEndStyle lineEnd, bool byteOrderMark,
                           bool eightBit = false);
// The distinct characters of a UTF-8 text that an 8-bit file cannot hold (above U+00FF), each
// as UTF-8, in the order of their first appearance.
std::vector<std::string> CharactersBeyondLatin1(std::string_view text);

class CTextFile {
public:
    // A new, never-saved text: LF line ends (the platform's), UTF-8.
    CTextFile() = default;

    // Reads the file. On success the editor text is in Text() and the result is empty; on
    // failure the result is the message for the user and the object is unchanged.
    [[nodiscard]] std::string Load(const std::string& path);
    // Takes bytes as if they were read from a file (no disk access); the same result as Load.
    [[nodiscard]] std::string LoadBytes(const std::string& bytes, const std::string& path);

    // The editor text of the last successful Load.
    const std::string& Text() const { return m_loadedText; }
    // The bytes a save of this editor text writes: the bytes read when the text is unchanged
    // and the style was not changed since, else the text encoded in the file's style.
    std::string Encode(const std::string& text) const;
    // Writes the text atomically. On success the bytes become the file's known content and
    // the result is empty; on failure the old file is kept and the result is the message. An
    // 8-bit file is not written while the text holds characters it cannot store.
    [[nodiscard]] std::string Save(const std::string& path, const std::string& text);

    ELineEndStyle LineEnd() const { return m_lineEnd; }
    // Convert Linebreaks: the file is written with CR LF from now on.
    void SetLineEnd(ELineEndStyle style);
    // Whether the file is written in 8 bits (Latin-1) rather than UTF-8.
    bool IsEightBit() const { return m_eightBit; }
    // The file is written as UTF-8 from now on (a character of the text needs it).
    void SetUtf8();
    bool HasByteOrderMark() const { return m_byteOrderMark; }

    // What the file on disk holds compared with what was last read or written here.
    enum class EDiskState { Unchanged, Changed, Missing };
    EDiskState CheckDisk(const std::string& path) const;
    // Takes the file's present content as known, so a change is reported once.
    void AcceptDiskContent(const std::string& path);

private:
    std::string m_loadedText;
    std::string m_loadedBytes;
    // What the disk held after our last read or write; nullopt while never read or written.
    std::optional<std::string> m_diskBytes;
    ELineEndStyle m_lineEnd = ELineEndStyle::Lf;
    bool m_eightBit = false;
    bool m_byteOrderMark = false;
    bool m_styleChanged = false;
};

} // namespace tovin
