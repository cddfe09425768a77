#pragma once
// Helpers to write project-file bytes by hand in tests and to show them when they differ.

#include <initializer_list>
#include <string>

namespace tovin::test {

inline std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) {
        bytes += static_cast<char>(v);
    }
    return bytes;
}

// A string shorter than 255 bytes as the archive stores it: one length byte, then the bytes.
inline std::string Str(const std::string& text) {
    return static_cast<char>(text.size()) + text;
}

// A 32-bit little-endian value.
inline std::string Int32(int value) {
    const auto v = static_cast<unsigned>(value);
    return Bytes({static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF), static_cast<int>(v >> 24)});
}

// "0a ff 00 ..." so that a failed comparison shows where the bytes part.
inline std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string text;
    for (unsigned char c : bytes) {
        text += digits[c >> 4];
        text += digits[c & 15];
        text += ' ';
    }
    return text;
}

} // namespace tovin::test
