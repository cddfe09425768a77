#include "cli/CheckCommand.h"

#include <gtest/gtest.h>

using namespace tovin;

namespace {

SDiagnostic At(int severity, int line, int column, const char* message) {
    SDiagnostic diagnostic;
    diagnostic.severity = severity;
    diagnostic.caretLine = line;
    diagnostic.caretColumn = column;
    diagnostic.line = line - 1;
    diagnostic.character = column - 1;
    diagnostic.message = QString::fromUtf8(message);
    return diagnostic;
}

// The compiler's own layout: the message's first line after the kind, the source line and the
// caret under the column (tabs kept, so it lines up however tabs are shown), the other lines.
TEST(CheckCommandTest, DiagnosticsArePrintedAsTheCompilerPrintsThem) {
    const std::vector<std::string> source = {"class A {", "\tint x = \"s\";", "    String é = y;",
                                             "}"};
    const struct {
        const char* name;
        SDiagnostic diagnostic;
        const char* printed;
    } rows[] = {
        {"error with details",
         At(SDiagnostic::Error, 3, 16,
            "cannot find symbol\n  symbol:   variable y\n  location: class A"),
         "A.java:3: error: cannot find symbol\n    String é = y;\n               ^\n"
         "  symbol:   variable y\n  location: class A\n"},
        {"caret after a tab",
         At(SDiagnostic::Error, 2, 10, "incompatible types: String cannot be converted to int"),
         "A.java:2: error: incompatible types: String cannot be converted to int\n"
         "\tint x = \"s\";\n\t        ^\n"},
        {"warning", At(SDiagnostic::Warning, 1, 1, "[serial] no serialVersionUID"),
         "A.java:1: warning: [serial] no serialVersionUID\nclass A {\n^\n"},
        {"warning without a position",
         At(SDiagnostic::Warning, 0, 0, "[options] system modules path not set"),
         "warning: [options] system modules path not set\n"},
        {"note", At(SDiagnostic::Information, 0, 0, "A.java uses unchecked or unsafe operations."),
         "Note: A.java uses unchecked or unsafe operations.\n"},
        {"line beyond the file", At(SDiagnostic::Error, 9, 1, "reached end of file while parsing"),
         "A.java:9: error: reached end of file while parsing\n"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FormatDiagnostic("A.java", source, row.diagnostic), row.printed) << row.name;
    }
}

TEST(CheckCommandTest, CountsAreSingularOrPluralAndLeftOutAtZero) {
    EXPECT_EQ(FormatCounts(0, 0), "");
    EXPECT_EQ(FormatCounts(1, 0), "1 error\n");
    EXPECT_EQ(FormatCounts(2, 1), "2 errors\n1 warning\n");
    EXPECT_EQ(FormatCounts(0, 3), "3 warnings\n");
}

} // namespace
