// The reference parser follows the rules for the Java of their day literally; on code without
// what those rules misread (braces in literals, comments or values, enums, records, annotations
// with arguments, member types of member types), the parser must give exactly its model.

#include "ReferenceJavaParser.h"
#include "cli/OutlineCommand.h"
#include "core/javamodel/JavaParser.h"

#include <gtest/gtest.h>

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

// Well-formed code of that kind: classes with fields, methods and inner classes one level deep;
// method bodies with statements, blocks, local classes and comments.
std::string RandomBody(std::mt19937& random, int depth) {
    std::uniform_int_distribution<int> roll(0, 9);
    std::string indent(static_cast<size_t>(depth), '\t');
    std::string text;
    for (int i = roll(random) / 3; i > 0; --i) {
        const int kind = roll(random) % 5;
        if (kind == 0) {
            text += indent + "if (x) {\r\n" + (depth < 6 ? RandomBody(random, depth + 1) : "") +
                    indent + "}\r\n";
        } else if (kind == 1) {
            text += indent + "class L {\r\n" + indent + "\tvoid m() {}\r\n" + indent + "}\r\n";
        } else {
            text += indent + (kind == 2 ? "/* c */ // c\r\n" : "x = y(z);\r\n");
        }
    }
    return text;
}

std::string RandomMembers(std::mt19937& random, int depth) {
    std::uniform_int_distribution<int> roll(0, 9);
    std::string indent(static_cast<size_t>(depth), '\t');
    std::string text;
    for (int i = roll(random) / 2; i > 0; --i) {
        int kind = roll(random);
        if (kind < 2 && depth < 2) {
            text += indent + "class C" + std::to_string(roll(random)) + (kind ? "\r\n" : " ") +
                    indent + "{\r\n" + RandomMembers(random, depth + 1) + indent + "}\r\n";
        } else if (kind < 6) {
            static const char* const kHeads[] = {"void ",
                                                 "public static int[] ",
                                                 "@Override\r\n\tvoid ",
                                                 "/* c */ List<String> ",
                                                 "final void ",
                                                 "protected T "};
            text += indent + kHeads[roll(random) % 6] + "m" + std::to_string(roll(random)) +
                    "(int a" + (kind == 5 ? ",\r\n" + indent + "\tint b" : "") + ")" +
                    (kind == 3 ? " throws E" : "") + (kind == 4 ? "\r\n" + indent : " ") + "{\r\n" +
                    RandomBody(random, depth + 1) + indent + "}\r\n";
        } else if (kind == 6) {
            text += indent + "/* c */ // c\r\n";
        } else {
            text += indent + "int f" + std::to_string(kind) + " = 1;\r\n";
        }
    }
    return text;
}

} // namespace

TEST(JavaParserDifferential, OrdinaryCodeGivesTheSameModelAsBefore) {
    std::mt19937 random(77);
    for (int i = 0; i < 3000; ++i) {
        std::string text = "package p" + std::to_string(i) + ";\r\n";
        for (int classes = 1 + i % 3; classes > 0; --classes) {
            text += "public class T" + std::to_string(classes) + " {\r\n" +
                    RandomMembers(random, 1) + "}\r\n";
        }
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
