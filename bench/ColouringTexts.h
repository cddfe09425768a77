#pragma once
// Texts of the colouring benchmarks: JDK sources read from the source archive at run time (the
// benchmarks that need them skip with a message when it is absent) and generated markup.

#include <cstdio>
#include <optional>
#include <string>

namespace tovin::bench {

inline constexpr const char* kJdkSourceArchive = "/usr/lib/jvm/openjdk-17/lib/src.zip";
inline constexpr size_t kMegabyte = 1 << 20;

inline std::string ToCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            out += '\r';
        }
        out += text[i];
    }
    return out;
}

// A JDK source file in CR LF form, or nullopt when the archive or unzip is missing.
inline std::optional<std::string> JdkSource(const std::string& entry) {
    if (std::FILE* archive = std::fopen(kJdkSourceArchive, "rb")) {
        std::fclose(archive);
    } else {
        return std::nullopt;
    }
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
    if (::pclose(pipe) != 0 || content.empty()) {
        return std::nullopt;
    }
    return ToCrLf(content);
}

inline std::optional<std::string> CharacterJava() {
    return JdkSource("java.base/java/lang/Character.java");
}

// About a megabyte of real Java: JDK files one after the other.
inline std::optional<std::string> JavaMegabyte() {
    static const char* const kFiles[] = {
        "java.base/java/lang/Character.java", "java.base/java/lang/String.java",
        "java.base/java/util/ArrayList.java", "java.base/java/util/HashMap.java",
        "java.base/java/util/regex/Pattern.java"};
    std::string text;
    for (const char* file : kFiles) {
        std::optional<std::string> source = JdkSource(file);
        if (!source) {
            return std::nullopt;
        }
        text += *source;
        if (text.size() >= kMegabyte) {
            break;
        }
    }
    return text;
}

// About a megabyte of Java lines without any block comment, so the test for an open block
// comment has to look back through all of it.
inline std::string JavaMegabyteWithoutBlockComments() {
    std::string text;
    for (int i = 0; text.size() < kMegabyte; ++i) {
        text += "        int value" + std::to_string(i) +
                " = count + offset; // running \"total\"\r\n"
                "        if (value > limit) { return \"none\"; }\r\n";
    }
    return text;
}

// About a megabyte of HTML: entries of headings, paragraphs, links and tables, each with a
// comment unless withComments is false (then the test for an open comment looks back through
// the whole text).
inline std::string HtmlMegabyte(bool withComments) {
    std::string text = "<html>\r\n<head><title>Entries</title></head>\r\n<body>\r\n";
    for (int i = 0; text.size() < kMegabyte; ++i) {
        std::string n = std::to_string(i);
        if (withComments) {
            text += "<!-- entry " + n + " -->\r\n";
        }
        text += "<div class=\"entry\">\r\n"
                "  <h2>Entry " +
                n +
                "</h2>\r\n"
                "  <p>Some <b>bold</b> text with a <a href=\"page" +
                n +
                ".html\">link</a> and "
                "\"quotes\".</p>\r\n"
                "  <table border=\"1\"><tr><td>cell</td><td>" +
                n +
                "</td></tr></table>\r\n"
                "</div>\r\n";
    }
    return text;
}

// The line the user is typing, appended at the end of a text.
inline constexpr const char* kTypedJavaLine = "\r\n        total = total + value; // typed";
inline constexpr const char* kTypedHtmlLine = "\r\n<p>A new <b>paragraph</b> with \"text\"";

} // namespace tovin::bench
