#include "core/javamodel/JavaLexicalPass.h"

#include <gtest/gtest.h>

using namespace tovin;

TEST(JavaLexicalPass, BlanksLiteralsAndCommentsKeepingLengthAndLineBreaks) {
    struct SRow {
        const char* name;
        std::string text;
        std::string code;
        size_t from = 0, to = std::string::npos; // the part masked
    } rows[] = {
        {"strings and characters", R"(a("x{y", '}', '\'', "\\", '"') + b)",
         "a(     ,    ,     ,     ,    ) + b"},
        {"an escaped quote stays inside", R"(s = "a\"}" + t)", "s =        + t"},
        {"line and block comments", "a // b }\r\nc /* d\r\n e { */ f",
         "a       \r\nc     \r\n        f"},
        {"a comment that starts with its own slash", "/*/ x */y", "        y"},
        {"a text block with an escaped delimiter", "t = \"\"\"\r\n  { \\\"\"\" }\r\n  \"\"\"; u",
         "t =    \r\n          \r\n     ; u"},
        {"an unclosed string ends at its line", "s = \"ab{\r\nx }", "s =     \r\nx }"},
        {"an unclosed comment runs to the end", "a /* {\r\n}", "a     \r\n "},
        {"division is code", "a / b /= c", "a / b /= c"},
        {"a quote inside a comment opens nothing", "// it's\r\n'{'", "       \r\n   "},
        {"a comment opener inside a string opens nothing", "f(\"/*\") {\r\n}", "f(    ) {\r\n}"},
        {"a line comment opener inside a block comment is part of it",
         "/* http://x */ s = \"\"\"\r\n{\r\n\"\"\"; {", "               s =    \r\n \r\n   ; {"},
        {"a part, by the spans that reach into it", "x = \"a{b\"; /* c } */ int y;", "   ;      ",
         6, 16},
    };
    for (const auto& row : rows) {
        std::string code;
        MaskJavaLiteralsAndComments(row.text, FindJavaLiteralsAndComments(row.text), row.from,
                                    std::min(row.to, row.text.size()), code);
        EXPECT_EQ(code, row.code) << row.name;
    }
}
