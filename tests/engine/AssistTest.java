package tovin.engine;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.google.gson.JsonArray;
import com.google.gson.JsonElement;
import com.google.gson.JsonObject;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/** What the client gets from completion and signature help, beyond which names javac allows. */
class AssistTest {
    @TempDir
    Path folder;

    /** A file whose caret is at the "|" of {@code marked}; the answer to {@code method} there. */
    private JsonElement ask(EngineSession session, String name, String marked, String method) throws Exception {
        Path file = folder.resolve(name);
        String text = marked.replace("|", "");
        Files.writeString(file, text);
        session.open(file, text, 1);
        JsonObject answer = session.request(method, Map.of("textDocument", Map.of("uri", EngineSession.uri(file)),
                "position", AssistOracleTest.position(text, marked.indexOf('|'))));
        assertTrue(answer.has("result"), answer.toString());
        return answer.get("result");
    }

    private static JsonObject item(JsonArray items, String label) {
        for (JsonElement item : items) {
            if (item.getAsJsonObject().get("label").getAsString().equals(label)) {
                return item.getAsJsonObject();
            }
        }
        throw new AssertionError("no item " + label + " in " + items);
    }

    static Stream<Arguments> items() {
        String method = "class A {\n    void m(String text, int count) {\n        %s\n    }\n}\n";
        return Stream.of(
                Arguments.of("method without parameters", method.formatted("\"abc\".le|"), "length()", 2, "int",
                        "length()$0", null),
                Arguments.of("method with parameters", method.formatted("text.cha|"), "charAt(int index)", 2, "char",
                        "charAt($0)", null),
                Arguments.of("parameter", method.formatted("int x = cou|"), "count", 6, "int", "count", null),
                Arguments.of("static field after a type name", method.formatted("Integer.MAX|"), "MAX_VALUE", 5,
                        "int", "MAX_VALUE", null),
                Arguments.of("type in scope", method.formatted("Strin|"), "String", 7, "java.lang.String", "String", null),
                Arguments.of("type to import", method.formatted("ArrayDeq|"), "ArrayDeque", 7, "java.util.ArrayDeque",
                        "ArrayDeque", "0:0 import java.util.ArrayDeque;\n\n"),
                Arguments.of("constructor after new", method.formatted("Object o = new StringBui|"),
                        "StringBuilder(int capacity)", 4, "StringBuilder", "StringBuilder($0)", null),
                Arguments.of("keyword", method.formatted("whi|"), "while", 14, "", "while", null),
                Arguments.of("interface", method.formatted("Runna|"), "Runnable", 8, "java.lang.Runnable", "Runnable", null),
                Arguments.of("enum constant", method.formatted("Thread.State.NE|"), "NEW", 20, "Thread.State", "NEW", null),
                Arguments.of("variable arity, its name from the JDK's sources", method.formatted("java.util.List.o|"),
                        "of(E... elements)", 2, "List<E>", "of($0)", null));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("items")
    void itemsCarryWhatTheClientShowsAndInserts(String name, String text, String label, int kind, String detail,
            String newText, String importEdit) throws Exception {
        try (EngineSession session = EngineSession.initialized(false, "--source-path", folder.toString())) {
            JsonObject list = ask(session, "A.java", text, "textDocument/completion").getAsJsonObject();
            JsonObject item = item(list.getAsJsonArray("items"), label);
            assertEquals(kind, item.get("kind").getAsInt(), "kind");
            assertEquals(detail, item.get("detail").getAsString(), "detail");
            assertEquals(2, item.get("insertTextFormat").getAsInt());
            JsonObject edit = item.getAsJsonObject("textEdit");
            assertEquals(newText, edit.get("newText").getAsString());
            String line = text.split("\n")[2];
            int caret = line.indexOf('|');
            int start = caret;
            while (start > 0 && Character.isJavaIdentifierPart(line.charAt(start - 1))) {
                start--;
            }
            assertEquals("2:" + start + "-2:" + caret, rangeText(edit.getAsJsonObject("range")), "the prefix");
            if (importEdit == null) {
                assertTrue(!item.has("additionalTextEdits"), item.toString());
            } else {
                JsonObject added = item.getAsJsonArray("additionalTextEdits").get(0).getAsJsonObject();
                assertEquals(importEdit, rangeText(added.getAsJsonObject("range")).split("-")[0] + " "
                        + added.get("newText").getAsString());
            }
        }
    }

    private static String rangeText(JsonObject range) {
        JsonObject start = range.getAsJsonObject("start");
        JsonObject end = range.getAsJsonObject("end");
        return start.get("line").getAsInt() + ":" + start.get("character").getAsInt() + "-"
                + end.get("line").getAsInt() + ":" + end.get("character").getAsInt();
    }

    @Test
    void theListIsSortedFilteredAndCutAtFiveHundred() throws Exception {
        StringBuilder text = new StringBuilder("class Many {\n");
        for (int i = 0; i < 600; i++) {
            text.append("    int field").append(i).append(";\n");
        }
        text.append("    void m() {\n        int fieldLocal = 1;\n        this.|\n        Fie|\n    }\n}\n");
        try (EngineSession session = EngineSession.initialized(false, "--source-path", folder.toString())) {
            String members = text.toString().replace("Fie|", "");
            JsonObject all = ask(session, "Many.java", members, "textDocument/completion").getAsJsonObject();
            assertTrue(all.get("isIncomplete").getAsBoolean(), "over 500 items");
            assertEquals(500, all.getAsJsonArray("items").size());

            String scoped = text.toString().replace("this.|", "");
            JsonObject filtered = ask(session, "Many.java", scoped, "textDocument/completion").getAsJsonObject();
            List<String> sortTexts = new ArrayList<>();
            for (JsonElement item : filtered.getAsJsonArray("items")) {
                String label = item.getAsJsonObject().get("label").getAsString();
                assertTrue(label.toLowerCase().startsWith("fie"), label);
                sortTexts.add(item.getAsJsonObject().get("sortText").getAsString());
            }
            assertEquals("fieldLocal", filtered.getAsJsonArray("items").get(0).getAsJsonObject().get("label")
                    .getAsString(), "locals first");
            assertEquals(sortTexts.stream().sorted().toList(), sortTexts, "in sortText's order");
        }
    }

    static Stream<Arguments> imports() {
        return Stream.of(
                Arguments.of("among sorted imports", "package p;\n\nimport java.io.File;\nimport java.util.Map;\n\nclass A {}\n",
                        "java.util.List", "3:0 import java.util.List;\n"),
                Arguments.of("after the last import", "package p;\n\nimport java.io.File;\n\nclass A {}\n",
                        "java.util.List", "3:0 import java.util.List;\n"),
                Arguments.of("after the package line and its blank line", "package p;\n\nclass A {}\n",
                        "java.util.List", "1:0 \nimport java.util.List;\n"),
                Arguments.of("after a package line with no blank line", "package p;\nclass A {}\n",
                        "java.util.List", "1:0 \nimport java.util.List;\n\n"),
                Arguments.of("no package line", "/* header */\nclass A {}\n", "java.util.List",
                        "0:0 import java.util.List;\n\n"),
                Arguments.of("static imports are not the order", "import static java.lang.Math.max;\nimport java.io.File;\nclass A {}\n",
                        "java.util.List", "2:0 import java.util.List;\n"));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("imports")
    void anImportGoesWhereTheFilesStyleHasIt(String name, String text, String type, String expected) {
        JsonObject edit = Imports.edit(text, type);
        assertEquals(expected, rangeText(edit.getAsJsonObject("range")).split("-")[0] + " "
                + edit.get("newText").getAsString());
    }

    /**
     * Rows: whether methods the caret's body does not name are left out too, and a text with its
     * caret at "|" and what must be blanked between "[[" and "]]".
     */
    static Stream<Arguments> strippedTexts() {
        return Stream.of(
                Arguments.of("other methods' bodies", false, "class A {\n int a() {[[ return 1; ]]}\n int b() { return |2; }\n}"),
                Arguments.of("constructors and initializers", false,
                        "class A {\n A() {[[ x(); ]]}\n static {[[ y(); ]]}\n {[[ z(); ]]}\n void m() {| }\n}"),
                Arguments.of("field initializers are kept", false,
                        "class A {\n Runnable r = () -> { go(); };\n int[] v = {1, 2};\n void m() {|}\n}"),
                Arguments.of("enum constants' bodies are classes", false,
                        "enum E {\n A { void f() {[[ g(); ]]} }, B;\n void m() {|}\n}"),
                Arguments.of("records' compact constructors", false, "record R(int x) {\n R {[[ check(x); ]]}\n int y() {|return x; }\n}"),
                Arguments.of("braces in strings, characters, comments and text blocks", false,
                        "class A {\n void a() {[[ String s = \"}\"; char c = '{'; /* } */ // }\n String t = \"\"\"\n }\n \"\"\"; ]]}\n"
                                + " void b() {|}\n}"),
                Arguments.of("nested and local classes follow their method", false,
                        "class A {\n class B { void f() {[[ g(); ]]} }\n void m() { class L { void h() {|} } }\n}"),
                Arguments.of("annotations' arguments and generic methods", false,
                        "class A {\n @SuppressWarnings({\"a\", \"b\"}) <T> T a(T t) {[[ return t; ]]}\n void b() {|}\n}"),
                Arguments.of("unnamed methods are left out whole", true,
                        "class A {\n int f;\n[[ /** Doc. */\n @Deprecated int a(int x) { return x; }]]\n int b() {[[ return 1; ]]}\n"
                                + " A() {[[ f = 1; ]]}\n int c() { return |b(); }\n void d();\n}"),
                Arguments.of("none left out when the caret is in a field's initializer", true,
                        "class A {\n int a() {[[ return 1; ]]}\n Runnable r = () -> { | };\n}"));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("strippedTexts")
    void onlyTheCaretsBodyIsLeftForTheCompiler(String name, boolean lean, String marked) {
        String withCaret = marked.replace("[[", "").replace("]]", "");
        String text = withCaret.replace("|", "");
        StringBuilder expected = new StringBuilder();
        boolean blank = false;
        for (int i = 0; i < marked.length(); i++) {
            if (marked.startsWith("[[", i) || marked.startsWith("]]", i)) {
                blank = marked.startsWith("[[", i);
                i++;
            } else if (marked.charAt(i) != '|') {
                char ch = marked.charAt(i);
                expected.append(blank && ch != '\n' ? ' ' : ch);
            }
        }
        int caret = withCaret.indexOf('|');
        assertEquals(expected.toString(), lean ? BodyStripper.stripUnused(text, caret) : BodyStripper.strip(text, caret));
    }

    @Test
    void signatureHelpListsTheOverloadsAndMarksTheArgument() throws Exception {
        try (EngineSession session = EngineSession.initialized(false, "--source-path", folder.toString())) {
            JsonObject help = ask(session, "S.java", "class S {\n    int m() {\n        return Math.max(1, |\n    }\n}\n",
                    "textDocument/signatureHelp").getAsJsonObject();
            List<String> labels = new ArrayList<>();
            for (JsonElement s : help.getAsJsonArray("signatures")) {
                labels.add(s.getAsJsonObject().get("label").getAsString());
            }
            assertEquals(List.of("max(int a, int b)", "max(long a, long b)", "max(float a, float b)",
                    "max(double a, double b)"), labels);
            assertEquals(1, help.get("activeParameter").getAsInt());
            assertEquals(0, help.get("activeSignature").getAsInt());
            JsonArray second = help.getAsJsonArray("signatures").get(1).getAsJsonObject().getAsJsonArray("parameters")
                    .get(1).getAsJsonObject().getAsJsonArray("label");
            assertEquals("long b", labels.get(1).substring(second.get(0).getAsInt(), second.get(1).getAsInt()));

            JsonObject chosen = ask(session, "T.java", "class T {\n    void m() {\n        \"x\".indexOf(\"y\", |2);\n    }\n}\n",
                    "textDocument/signatureHelp").getAsJsonObject();
            String active = chosen.getAsJsonArray("signatures").get(chosen.get("activeSignature").getAsInt())
                    .getAsJsonObject().get("label").getAsString();
            assertEquals("indexOf(String str, int fromIndex)", active, "the overload javac picks");
            JsonObject variable = ask(session, "V.java", "class V {\n    void m() {\n        String.format(\"%d %d\", 1, |2);\n    }\n}\n",
                    "textDocument/signatureHelp").getAsJsonObject();
            JsonObject format = variable.getAsJsonArray("signatures").get(variable.get("activeSignature").getAsInt())
                    .getAsJsonObject();
            assertEquals("format(String format, Object... args)", format.get("label").getAsString());
            assertEquals(1, format.get("activeParameter").getAsInt(), "the arguments from the last on are its");
            assertEquals("null", ask(session, "U.java", "class U {\n    int m() {\n        return |1;\n    }\n}\n",
                    "textDocument/signatureHelp").toString(), "outside a call");
        }
    }

    @Test
    void aStaleCompletionIsDropped() throws Exception {
        Path file = folder.resolve("Stale.java");
        String text = "class Stale {\n    void m(String s) {\n        s.\n    }\n}\n";
        Files.writeString(file, text);
        try (EngineSession session = EngineSession.initialized(false, "--source-path", folder.toString(),
                "--project-file", file.toString())) {
            session.open(file, text, 1);
            String uri = EngineSession.uri(file);
            Map<String, Object> at = Map.of("textDocument", Map.of("uri", uri), "position",
                    Map.of("line", 2, "character", 10));
            // Behind a search of the whole project, three completions of one document and a
            // cancelled one: only the newest is answered with a list.
            session.send(Map.of("jsonrpc", "2.0", "id", 100, "method", "textDocument/references", "params",
                    Map.of("textDocument", Map.of("uri", uri), "position", Map.of("line", 1, "character", 19),
                            "context", Map.of("includeDeclaration", true))));
            for (int id = 101; id <= 103; id++) {
                session.send(Map.of("jsonrpc", "2.0", "id", id, "method", "textDocument/completion", "params", at));
            }
            session.send(Map.of("jsonrpc", "2.0", "id", 104, "method", "textDocument/hover", "params", at));
            session.notify("$/cancelRequest", Map.of("id", 104));
            for (int id = 101; id <= 104; id++) {
                int wanted = id;
                JsonObject answer = session.await(m -> m.has("id") && m.get("id").getAsInt() == wanted);
                if (id == 103) {
                    assertNotNull(answer.getAsJsonObject("result").getAsJsonArray("items"), answer.toString());
                } else {
                    assertEquals(-32800, answer.getAsJsonObject("error").get("code").getAsInt(), answer.toString());
                }
            }
            assertTrue(session.await(m -> m.has("id") && m.get("id").getAsInt() == 100).has("result"));
        }
    }

    @Test
    void referencesAreLookedForInOpenFilesAsWellAsTheProjects() throws Exception {
        Path used = folder.resolve("Used.java");
        Path user = folder.resolve("User.java");
        String usedText = "class Used {\n    static int value() {\n        return 1;\n    }\n}\n";
        // Unsaved: on disk the open file does not call value() at all.
        String userText = "class User {\n    int twice() {\n        return Used.value() + Used.value();\n    }\n}\n";
        Files.writeString(used, usedText);
        Files.writeString(user, "class User {\n}\n");
        try (EngineSession session = EngineSession.initialized(false, "--source-path", folder.toString(),
                "--project-file", used.toString())) {
            session.open(used, usedText, 1);
            session.open(user, userText, 1);
            JsonObject answer = session.request("textDocument/references", Map.of("textDocument",
                    Map.of("uri", EngineSession.uri(used)), "position", Map.of("line", 1, "character", 16),
                    "context", Map.of("includeDeclaration", true)));
            List<String> found = new ArrayList<>();
            for (JsonElement location : answer.getAsJsonArray("result")) {
                JsonObject l = location.getAsJsonObject();
                JsonObject start = l.getAsJsonObject("range").getAsJsonObject("start");
                found.add(Path.of(java.net.URI.create(l.get("uri").getAsString())).getFileName() + ":"
                        + start.get("line").getAsInt() + ":" + start.get("character").getAsInt());
            }
            assertEquals(List.of("Used.java:1:15", "User.java:2:20", "User.java:2:35"), found);
        }
    }

    static Stream<Arguments> places() {
        return Stream.of(
                Arguments.of("code", "int a = b.|c;", false),
                Arguments.of("after a string", "String s = \"x.y\".|", false),
                Arguments.of("after a character", "char c = '.'; c.|", false),
                Arguments.of("in a string", "String s = \"x.|y\";", true),
                Arguments.of("in an unfinished string", "String s = \"x.|", true),
                Arguments.of("in a line comment, at its end", "// see list.|", true),
                Arguments.of("in a block comment", "/* a.| */ b.c", true),
                Arguments.of("after a block comment", "/* a. */ b.|c", false),
                Arguments.of("in a text block", "String s = \"\"\"\n a.|\n \"\"\";", true),
                Arguments.of("in a character", "char c = '.|';", true));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("places")
    void nothingIsCompletedInCommentsAndLiterals(String name, String marked, boolean inside) {
        assertEquals(inside, Completer.inCommentOrLiteral(marked.replace("|", ""), marked.indexOf('|')));
    }

    @Test
    void aRequestDroppedMidwayLeavesJavacsStateForTheNext() {
        java.io.PrintStream quiet = new java.io.PrintStream(java.io.OutputStream.nullOutputStream());
        Assistant assistant = new Assistant(Settings.parse(new String[] {"--source-path", folder.toString()}, quiet),
                new Documents(), null, quiet);
        try {
            String text = "class Dropped {\n    void m(String s) {\n        s.length();\n    }\n}\n";
            Assistant.Text source = new Assistant.Text(folder.resolve("Dropped.java").toUri().toString(),
                    folder.resolve("Dropped.java"), text);
            java.util.concurrent.atomic.AtomicInteger asked = new java.util.concurrent.atomic.AtomicInteger();
            // Made stale once javac has parsed the file.
            org.junit.jupiter.api.Assertions.assertThrows(Assistant.Cancelled.class,
                    () -> assistant.compile(source, () -> asked.incrementAndGet() > 1, c -> "answered"));
            assertEquals("answered", assistant.compile(source, () -> false, c -> "answered"));
            String statistics = assistant.poolStatistics();
            assertTrue(statistics.contains("1 reused Contexts") && statistics.contains("1 newly created Contexts"),
                    statistics);
        } finally {
            assistant.shutdown();
        }
    }
}
