#pragma once
// Helpers of the colouring tests: class buffers as one letter per position, readable texts,
// JDK sources from the source archive when it is installed.

#include "core/editor/ColourClassifier.h"
#include "core/editor/TextBuffer.h"

#include <cstdio>
#include <optional>
#include <string>

namespace tovin::test {

// K keyword, C comment, N normal, S string, T tag.
inline char ClassLetter(ETokenClass cls) {
    switch (cls) {
    case ETokenClass::Keyword:
        return 'K';
    case ETokenClass::Comment:
        return 'C';
    case ETokenClass::String:
        return 'S';
    case ETokenClass::Tag:
        return 'T';
    case ETokenClass::Normal:
        break;
    }
    return 'N';
}

inline std::string Letters(const std::vector<ETokenClass>& classes) {
    std::string letters;
    for (ETokenClass cls : classes) {
        letters += ClassLetter(cls);
    }
    return letters;
}

inline std::string Letters(const CTextBuffer& control) {
    std::string letters;
    for (int i = 0; i < control.GetLength(); ++i) {
        letters += ClassLetter(control.GetClassAt(i));
    }
    return letters;
}

// The text with control characters spelled out, for failure messages.
inline std::string Visible(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out += c;
        }
    }
    return out;
}

inline std::string ToCrLf(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            out += '\r';
        }
        out += text[i];
    }
    return out;
}

inline constexpr const char* kJdkSourceArchive = "/usr/lib/jvm/openjdk-17/lib/src.zip";

// A file of the JDK's source archive (e.g. "java.base/java/util/ArrayList.java"), or nullopt
// when the archive or unzip is missing.
inline std::optional<std::string> ReadJdkSource(const std::string& entry) {
    std::FILE* archive = std::fopen(kJdkSourceArchive, "rb");
    if (!archive) {
        return std::nullopt;
    }
    std::fclose(archive);
    std::string command =
        std::string("unzip -p '") + kJdkSourceArchive + "' '" + entry + "' 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return std::nullopt;
    }
    std::string content;
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        content.append(buffer, n);
    }
    int status = ::pclose(pipe);
    if (status != 0 || content.empty()) {
        return std::nullopt;
    }
    return content;
}

} // namespace tovin::test
