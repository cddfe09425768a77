package tovin.engine;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.google.gson.JsonObject;
import java.io.PrintStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/** Incremental edits of open documents, and checks that newer edits make stale. */
class EditTest {
    @TempDir
    Path folder;

    static Stream<Arguments> edits() {
        return Stream.of(
                Arguments.of("insert inside a line", "ab\ncd", 1, 1, 1, 1, "X", "ab\ncXd"),
                Arguments.of("delete across a line end", "ab\ncd", 0, 1, 1, 1, "", "ad"),
                Arguments.of("replace after CR LF lines", "a\r\nb\r\nc", 2, 0, 2, 1, "z", "a\r\nb\r\nz"),
                Arguments.of("lone CR ends a line", "a\rbc", 1, 1, 1, 2, "", "a\rb"),
                Arguments.of("character past the line end means its end", "ab\ncd", 0, 9, 0, 9, "!", "ab!\ncd"),
                Arguments.of("line past the last means the text's end", "ab", 5, 0, 7, 3, "!", "ab!"),
                Arguments.of("columns count UTF-16 units", "\uD83D\uDE00x\ny", 0, 2, 0, 3, "", "\uD83D\uDE00\ny"),
                Arguments.of("end before start deletes nothing", "abc", 0, 2, 0, 1, "-", "ab-c"));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("edits")
    void rangeEditsApplyAsTheProtocolCounts(String name, String text, int startLine, int startChar, int endLine,
            int endChar, String replacement, String expected) {
        Documents documents = new Documents();
        documents.open("file:///A.java", text, 1);
        assertTrue(documents.change("file:///A.java", 2, true, startLine, startChar, endLine, endChar, replacement));
        assertEquals(expected, documents.get("file:///A.java").text());
        assertEquals(2, documents.get("file:///A.java").version());
    }

    @Test
    void editsAreCheckedAndOnlyTheNewestVersionIsPublished() throws Exception {
        Path file = folder.resolve("Big.java");
        String text = bigClass(3000, "int broken = \"text\";");
        Files.writeString(file, text);
        String uri = EngineSession.uri(file);
        try (EngineSession session = EngineSession.initialized(false, "--source-path", folder.toString())) {
            // The opening and two edits in one write: the check of the first text is cancelled
            // or its answer dropped, the second is never started, and the third is published.
            List<Object> batch = new ArrayList<>();
            batch.add(Map.of("jsonrpc", "2.0", "method", "textDocument/didOpen", "params", Map.of("textDocument",
                    Map.of("uri", uri, "languageId", "java", "version", 1, "text", text))));
            batch.add(change(uri, 2, 1, "int broken = 42;"));
            batch.add(change(uri, 3, 1, "String broken = 42;"));
            for (Object message : batch) {
                session.send(message);
            }
            JsonObject published = session.awaitDiagnostics(uri, 3);
            assertEquals(1, published.getAsJsonArray("diagnostics").size());
            JsonObject diagnostic = published.getAsJsonArray("diagnostics").get(0).getAsJsonObject();
            assertTrue(diagnostic.get("message").getAsString().contains("int cannot be converted to String"),
                    diagnostic.toString());

            session.request("shutdown", null);
            for (JsonObject message : session.drain()) {
                if ("textDocument/publishDiagnostics".equals(EngineSession.method(message))) {
                    assertEquals(3, message.getAsJsonObject("params").get("version").getAsInt(),
                            "a stale version was published");
                }
            }
        }
    }

    @Test
    void otherFilesAreSeenAsTheEditorHoldsThem() throws Exception {
        Path used = folder.resolve("Used.java");
        Path user = folder.resolve("User.java");
        Files.writeString(used, "public class Used {\n}\n");
        String userText = "public class User {\n    int call() {\n        return new Used().added();\n    }\n}\n";
        Files.writeString(user, userText);
        try (EngineSession session = EngineSession.initialized(false, "--source-path", folder.toString())) {
            session.open(user, userText, 1);
            assertEquals("compiler.err.cant.resolve.location.args", session.awaitDiagnostics(EngineSession.uri(user), 1)
                    .getAsJsonArray("diagnostics").get(0).getAsJsonObject().get("code").getAsString(), "on disk");

            session.open(used, "public class Used {\n    int added() {\n        return 1;\n    }\n}\n", 1);
            session.awaitDiagnostics(EngineSession.uri(used), 1);
            session.notify("textDocument/didSave", Map.of("textDocument", Map.of("uri", EngineSession.uri(used))));
            assertEquals(0, session.awaitDiagnostics(EngineSession.uri(user), 1).getAsJsonArray("diagnostics").size(),
                    "unsaved");
        }
    }

    @Test
    void aCheckStopsAtJavacsNextStepOnceCancelled() throws Exception {
        Path file = folder.resolve("Big.java");
        String text = bigClass(3000, "int fine = 1;");
        Checker checker = new Checker(Settings.parse(new String[] {"--source-path", folder.toString()}, System.err),
                new PrintStream(PrintStream.nullOutputStream()));
        AtomicInteger asked = new AtomicInteger();
        List<Checker.Source> source = List.of(new Checker.Source(file.toUri().toString(), file, text, 1));
        assertThrows(Checker.Cancelled.class, () -> checker.check(source, () -> asked.incrementAndGet() > 1));
        assertEquals(2, asked.get(), "javac went on after the check was cancelled");
        // The checker is whole again for the next check.
        assertEquals(List.of(), checker.check(source, () -> false).get(0).diagnostics());
    }

    private static Map<String, Object> change(String uri, int version, int line, String replacement) {
        Map<String, Object> range = Map.of("start", Map.of("line", line, "character", 4),
                "end", Map.of("line", line, "character", 200));
        return Map.of("jsonrpc", "2.0", "method", "textDocument/didChange", "params", Map.of(
                "textDocument", Map.of("uri", uri, "version", version),
                "contentChanges", List.of(Map.of("range", range, "text", replacement))));
    }

    /** A class of many small methods, its second line being {@code firstMember}. */
    static String bigClass(int methods, String firstMember) {
        StringBuilder text = new StringBuilder("public class Big {\n    " + firstMember + "\n");
        for (int m = 0; m < methods; m++) {
            text.append("    int method").append(m).append("(int value) {\n        return value * ").append(m)
                    .append(" + method").append(m > 0 ? m - 1 : 0).append("(value - 1);\n    }\n");
        }
        return text.append("}\n").toString();
    }
}
