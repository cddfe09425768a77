// The server's answers read into plain values: snippets' tab stops, the fallbacks of items
// that leave fields out, the shapes LSP allows for locations and hovers, and answers that are
// wrong in ways a server gets wrong (ranges backwards, offsets past the label, wrong types),
// which must read as nothing rather than as something to trust.

#include "language/AssistMessages.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <ostream>

namespace tovin {

void PrintTo(const SInsertion& value, std::ostream* out) {
    *out << '"' << value.text.toStdString() << "\" caret " << value.caret;
}
void PrintTo(const SHover& value, std::ostream* out) {
    *out << '[' << value.declaration.toStdString() << "] [" << value.documentation.toStdString()
         << ']';
}

namespace {

QJsonValue Json(const char* text) {
    return QJsonDocument::fromJson(QByteArray("[") + text + "]").array().at(0);
}

TEST(AssistMessages, SnippetsLoseTheirStopsAndPlaceTheCaret) {
    struct SRow {
        const char* name;
        QString snippet;
        bool isSnippet;
        SInsertion expected;
    };
    const SRow rows[] = {
        {"no parameters", "length()$0", true, {"length()", 8}},
        {"parameters", "charAt($0)", true, {"charAt()", 7}},
        {"braced final stop", "f(${0})", true, {"f()", 2}},
        {"first stop with its default, no final",
         "put(${1:key}, ${2:value})",
         true,
         {"put(key, value)", 4}},
        {"final stop wins over the first", "a($1)$0", true, {"a()", 3}},
        {"escaped dollar", "s\\$0$0", true, {"s$0", 3}},
        {"dollar without digits", "a$b$", true, {"a$b$", 4}},
        {"unclosed default", "f(${1:x", true, {"f(x", 2}},
        {"plain text keeps its dollars", "a$0", false, {"a$0", 3}},
    };
    for (const SRow& row : rows) {
        EXPECT_EQ(InsertionOf(row.snippet, row.isSnippet), row.expected) << row.name;
    }
}

TEST(AssistMessages, CompletionItemsAndTheirFallbacks) {
    const SCompletionList list = ParseCompletion(Json(R"j({"isIncomplete": true, "items": [
        {"label": "charAt(int index)", "kind": 2, "detail": "char", "insertTextFormat": 2,
         "textEdit": {"range": {"start": {"line": 3, "character": 10},
                                "end": {"line": 3, "character": 12}}, "newText": "charAt($0)"},
         "additionalTextEdits": [
            {"range": {"start": {"line": 1, "character": 0}, "end": {"line": 1, "character": 0}},
             "newText": "import java.util.List;\n"},
            {"range": {"start": {"line": 2, "character": 5}, "end": {"line": 1, "character": 0}},
             "newText": "backwards"}]},
        {"kind": 5, "detail": "no label"},
        {"label": "List", "kind": 2.5, "textEdit": {"insert": {}, "replace":
            {"start": {"line": 0, "character": 1}, "end": {"line": 0, "character": 3}},
            "newText": "List"}},
        {"label": "x", "textEdit": {"range": {"start": {"line": -1, "character": 0},
                                               "end": {"line": 0, "character": 0}},
                                     "newText": "x"}},
        {"label": "huge", "kind": 2e45}]
})j"));
    EXPECT_TRUE(list.incomplete);
    ASSERT_EQ(list.items.size(), 4);
    const SCompletionItem& method = list.items[0];
    EXPECT_EQ(method.filterText, QStringLiteral("charAt"));
    EXPECT_EQ(method.sortText, QStringLiteral("charAt(int index)"));
    EXPECT_TRUE(method.snippet);
    EXPECT_EQ(method.edit, (STextEdit{{3, 10, 3, 12}, "charAt($0)"}));
    EXPECT_EQ(method.additionalEdits,
              (QList<STextEdit>{{{1, 0, 1, 0}, "import java.util.List;\n"}}));
    EXPECT_EQ(list.items[1].kind, 0);
    EXPECT_EQ(list.items[1].edit, (STextEdit{{0, 1, 0, 3}, "List"}));
    EXPECT_FALSE(list.items[2].edit);
    EXPECT_EQ(list.items[2].insertText, QStringLiteral("x"));
    EXPECT_EQ(list.items[3].kind, 0); // beyond int's range: no kind rather than undefined

    EXPECT_TRUE(ParseCompletion(Json("null")).items.isEmpty());
    EXPECT_EQ(ParseCompletion(Json(R"j([{"label": "a"}])j")).items.size(), 1);
}

TEST(AssistMessages, SignatureHelpKeepsOnlySpansInsideTheLabel) {
    const SSignatureHelp help = ParseSignatureHelp(Json(R"j({"signatures": [
        {"label": "f(int a, int b)", "parameters": [{"label": [2, 7]}, {"label": [9, 99]},
                                                    {"label": "int b"}, {"label": "zz"}]},
        {"label": "f()"}], "activeSignature": 5, "activeParameter": 1
})j"));
    ASSERT_EQ(help.signatures.size(), 2);
    EXPECT_EQ(help.signatures[0].parameters,
              (QList<QPair<int, int>>{{2, 7}, {-1, -1}, {9, 14}, {-1, -1}}));
    EXPECT_EQ(help.activeSignature, 0);
    EXPECT_EQ(help.activeParameter, 1);
    EXPECT_TRUE(ParseSignatureHelp(Json("null")).signatures.isEmpty());
}

TEST(AssistMessages, HoverShapes) {
    struct SRow {
        const char* name;
        const char* answer;
        SHover expected;
    };
    const SRow rows[] = {
        {"markdown with a fence",
         R"j({"contents": {"kind": "markdown", "value":
            "```java\npublic int java.lang.String.length()\n```\n\nReturns the length."}})j",
         {"public int java.lang.String.length()", "Returns the length."}},
        {"marked strings",
         R"j({"contents": [{"language": "java", "value": "int x"}, "The x."]})j",
         {"int x", "The x."}},
        {"plain string", R"j({"contents": "Just text"})j", {"", "Just text"}},
        {"unclosed fence",
         R"j({"contents": {"value": "```java\nint x"}})j",
         {"", "```java\nint x"}},
    };
    for (const SRow& row : rows) {
        const std::optional<SHover> hover = ParseHover(Json(row.answer));
        ASSERT_TRUE(hover) << row.name;
        EXPECT_EQ(*hover, row.expected) << row.name;
    }
    EXPECT_FALSE(ParseHover(Json("null")));
    EXPECT_FALSE(ParseHover(Json(R"j({"contents": {"kind": "markdown", "value": "  "}})j")));
    EXPECT_FALSE(ParseHover(Json(R"j({"contents": 7})j")));
}

TEST(AssistMessages, LocationsOfEveryShape) {
    EXPECT_EQ(ParseLocations(Json(R"j({"uri": "file:///p/A.java", "range": {"start":
              {"line": 1, "character": 2}, "end": {"line": 1, "character": 6}}})j")),
              (QList<SLocation>{{"/p/A.java", {1, 2, 1, 6}}}));
    EXPECT_EQ(ParseLocations(Json(R"j([
              {"targetUri": "file:///p/B.java", "targetRange": {},
               "targetSelectionRange": {"start": {"line": 4, "character": 0},
                                        "end": {"line": 4, "character": 3}}},
              {"uri": "jar:file:///x.jar!/A.class", "range": {"start": {"line": 0,
               "character": 0}, "end": {"line": 0, "character": 0}}},
              {"uri": "file:///p/C.java"}])j")),
              (QList<SLocation>{{"/p/B.java", {4, 0, 4, 3}}}));
    EXPECT_TRUE(ParseLocations(Json("null")).isEmpty());
}

TEST(AssistMessages, ColumnsCountCharactersNotUnits) {
    const QString line = QStringLiteral("a\U0001F600b");
    EXPECT_EQ(Utf16Column(line, 2), 3);
    EXPECT_EQ(Utf16Column(line, 9), 4);
    EXPECT_EQ(CodePointColumn(line, 3), 2);
    EXPECT_EQ(CodePointColumn(line, 4), 3);
}

} // namespace
} // namespace tovin
