// The parser works on offsets with remembered searches; the reference drops the front of a
// working copy again and again as the rules are written. Both must give the same model for
// any text.

#include "ReferenceJavaParser.h"
#include "cli/OutlineCommand.h"
#include "javamodel/JavaParser.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

using namespace tovin;

namespace {

std::string ParserOutline(const std::string& text) {
    CJavaFile file;
    CJavaParser(file).ParseText(text);
    return OutlineOf(file, ESourceKind::Java);
}

std::string ReferenceOutline(const std::string& text) {
    CJavaFile file;
    test::CReferenceJavaParser(file).ParseText(text);
    return OutlineOf(file, ESourceKind::Java);
}

// Pieces that drive the parser's decisions: braces, comment markers, line ends of every kind,
// declaration words, parentheses and blanks.
const std::vector<std::string> kPieces = {
    "{",
    "}",
    "{",
    "}",
    "/*",
    "*/",
    "//",
    "\r\n",
    "\r\n",
    "\n",
    "\r",
    "class ",
    "class ",
    "interface ",
    "package ",
    ";",
    "(",
    ")",
    " ",
    "  ",
    "\t",
    "void f",
    "int g",
    "A",
    "B",
    "x",
    "\"}\"",
    "'{'",
    "static ",
    "new X() ",
    "a.b",
    "*",
    "/",
    "(int a, ",
    "String[] s)",
    "public ",
    "   ",
    "\t\t",
    "class",
    "pack",
    "age ",
    "extends B ",
    "implements C ",
};

std::string RandomText(std::mt19937& random, size_t pieces) {
    std::uniform_int_distribution<size_t> pick(0, kPieces.size() - 1);
    std::string text;
    for (size_t i = 0; i < pieces; ++i) {
        text += kPieces[pick(random)];
    }
    return text;
}

// Well-formed nesting: classes with methods, inner classes and blocks, with comments and
// literals sprinkled in.
std::string RandomNested(std::mt19937& random, int depth) {
    std::uniform_int_distribution<int> roll(0, 9);
    std::string text;
    int members = roll(random) / 2;
    for (int i = 0; i < members; ++i) {
        int kind = roll(random);
        std::string indent(static_cast<size_t>(depth), '\t');
        if (kind < 2 && depth < 4) {
            text += indent + "class C" + std::to_string(roll(random)) + (kind ? "\r\n" : " ") +
                    indent + "{\r\n" + RandomNested(random, depth + 1) + indent + "}\r\n";
        } else if (kind < 6 && depth < 5) {
            text += indent + "void m" + std::to_string(roll(random)) + "(int a" +
                    (kind == 5 ? ",\r\n" + indent + "\tint b" : "") + ") {\r\n" +
                    RandomNested(random, depth + 1) + indent + "}\r\n";
        } else if (kind == 6) {
            text += indent + "/* } { */ // {\r\n";
        } else if (kind == 7) {
            text += indent + "s = \"" + (roll(random) < 5 ? "}" : "{") + "\";\r\n";
        } else {
            text += indent + "x = y(z);\r\n";
        }
    }
    return text;
}

} // namespace

TEST(JavaParserDifferential, RandomPieceSoup) {
    std::mt19937 random(20240607);
    for (int i = 0; i < 20000; ++i) {
        std::string text = RandomText(random, 1 + i % 120);
        ASSERT_EQ(ParserOutline(text), ReferenceOutline(text)) << "text: " << text;
    }
}

TEST(JavaParserDifferential, RandomNestedSources) {
    std::mt19937 random(77);
    for (int i = 0; i < 3000; ++i) {
        std::string text = "package p" + std::to_string(i) + ";\r\n" + RandomNested(random, 0);
        ASSERT_EQ(ParserOutline(text), ReferenceOutline(text)) << "text: " << text;
    }
}

TEST(JavaParserDifferential, SourceTextOfRandomBytes) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> roll(0, 99);
    for (int i = 0; i < 3000; ++i) {
        std::string bytes;
        int lines = roll(random) % 6;
        for (int line = 0; line < lines; ++line) {
            // Lengths around the limit, with and without a CR before the LF.
            int length = roll(random) < 50 ? roll(random) : 1020 + roll(random) % 6;
            bytes += std::string(static_cast<size_t>(length), "ab\r \t{"[roll(random) % 6]);
            int end = roll(random) % 4;
            bytes += end == 0 ? "\r\n" : end == 1 ? "\n" : end == 2 ? "\r" : "";
        }
        ASSERT_EQ(CJavaParser::SourceTextOf(bytes), test::CReferenceJavaParser::SourceText(bytes))
            << "case " << i;
    }
}

TEST(JavaParserDifferential, RealSources) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(TOVIN_TEST_DATA) + "/outline")) {
        if (entry.path().extension() == ".java") {
            files.push_back(entry.path());
        }
    }
    // A larger corpus (for example every file of a JDK's sources) when one is named.
    if (const char* corpus = std::getenv("TOVIN_JAVA_CORPUS")) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
            if (entry.path().extension() == ".java") {
                files.push_back(entry.path());
            }
        }
    }
    ASSERT_FALSE(files.empty());
    for (const auto& path : files) {
        auto bytes = ReadWholeFile(path.string());
        ASSERT_TRUE(bytes) << path;
        std::string text = test::CReferenceJavaParser::SourceText(*bytes);
        ASSERT_EQ(CJavaParser::SourceTextOf(*bytes), text) << path;
        EXPECT_EQ(ParserOutline(text), ReferenceOutline(text)) << path;
    }
}
