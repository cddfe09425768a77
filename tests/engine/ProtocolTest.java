package tovin.engine;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.google.gson.JsonObject;
import java.nio.charset.StandardCharsets;
import java.util.List;
import java.util.Map;
import java.util.Random;
import org.junit.jupiter.api.Test;

/** The session's rules, and the engine under a client that sends anything at all. */
class ProtocolTest {
    private static int errorCode(JsonObject answer) {
        return answer.getAsJsonObject("error").get("code").getAsInt();
    }

    @Test
    void requestsAreAnsweredByTheSessionsRules() throws Exception {
        try (EngineSession session = new EngineSession()) {
            assertEquals(-32002, errorCode(session.request("textDocument/hover", Map.of())), "before initialize");
            JsonObject init = session.request("initialize", Map.of("capabilities", Map.of()));
            assertEquals(2, init.getAsJsonObject("result").getAsJsonObject("capabilities")
                    .getAsJsonObject("textDocumentSync").get("change").getAsInt(), "incremental sync");
            assertEquals(-32600, errorCode(session.request("initialize", Map.of())), "a second initialize");
            assertEquals(-32601, errorCode(session.request("tovin/unknown", Map.of())), "an unknown method");
            assertTrue(session.request("shutdown", null).has("result"), "shutdown answers null");
            assertEquals(-32600, errorCode(session.request("tovin/unknown", Map.of())), "after shutdown");
            session.notify("exit", Map.of());
            assertEquals(0, session.awaitExit(), "exit after shutdown");
        }
        try (EngineSession session = EngineSession.initialized(false)) {
            session.notify("exit", Map.of());
            assertEquals(1, session.awaitExit(), "exit without shutdown");
        }
        try (EngineSession session = EngineSession.initialized(false)) {
            session.sendRaw("Content-Length: 67108865\r\n\r\n{".getBytes(StandardCharsets.US_ASCII));
            assertEquals(1, session.awaitExit(), "a body over 64 MiB closes the connection");
            assertTrue(session.log().contains("over the limit"), session.log());
        }
    }

    @Test
    void theEngineProcessWritesOnlyTheProtocolToItsOutput() throws Exception {
        String classPath = System.getProperty("tovin.engineJar") + ":" + System.getProperty("tovin.gsonJar");
        Process engine = new ProcessBuilder(NoProjectCodeTest.tool("java"), "-XX:+UseSerialGC", "-XX:-UsePerfData",
                "-Xms32m", "-Xmx384m", "-Xss4m", "-cp", classPath, "tovin.engine.Server", "--bogus", "x")
                .redirectError(ProcessBuilder.Redirect.DISCARD).start();
        StringBuilder input = new StringBuilder();
        for (String body : List.of("{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"initialize\",\"params\":{}}",
                "{\"jsonrpc\":\"2.0\",\"method\":\"initialized\",\"params\":{}}", "{not json",
                "{\"jsonrpc\":\"2.0\",\"id\":2,\"method\":\"shutdown\"}", "{\"jsonrpc\":\"2.0\",\"method\":\"exit\"}")) {
            input.append("Content-Length: ").append(body.length()).append("\r\n\r\n").append(body);
        }
        engine.getOutputStream().write(input.toString().getBytes(StandardCharsets.US_ASCII));
        engine.getOutputStream().close();
        String output = new String(engine.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        assertTrue(engine.waitFor(EngineSession.TIMEOUT_SECONDS, java.util.concurrent.TimeUnit.SECONDS));
        assertEquals(0, engine.exitValue(), "exit after shutdown");
        assertTrue(output.contains("\"serverInfo\"") && output.contains("\"id\":2,\"result\":null"), output);
        String rest = output.replaceAll("Content-Length: \\d+\r\n\r\n\\{\"jsonrpc\":\"2.0\",\"id\":[12],"
                + "\"result\":(null|\\{\"capabilities\".*?\"serverInfo\":\\{\"name\":\"tovin-engine\"\\}\\})\\}", "");
        assertEquals("", rest, output);
    }

    @Test
    void tenThousandRandomMessagesNeitherCrashNorHangTheEngine() throws Exception {
        Random random = new Random(20261208);
        try (EngineSession session = EngineSession.initialized(true)) {
            for (int i = 0; i < 10_000; i++) {
                session.sendRaw(randomMessage(random));
            }
            // A short body may have left the reader inside a later message; blank lines and
            // whole messages bring it back in step, and the engine answers again.
            session.sendRaw("\r\n".repeat(300).getBytes(StandardCharsets.US_ASCII));
            JsonObject answer = null;
            for (int id = 1; id <= 3; id++) {
                answer = session.request("tovin/still-there", Map.of());
            }
            assertEquals(-32601, errorCode(answer));
            assertFalse(session.log().contains("failed:"), session.log());

            System.gc();
            Runtime runtime = Runtime.getRuntime();
            long used = runtime.totalMemory() - runtime.freeMemory();
            assertTrue(used < 256L << 20, "heap in use after the run: " + (used >> 20) + " MB");
        }
    }

    private static final List<String> METHODS = List.of("initialize", "initialized", "textDocument/didOpen",
            "textDocument/didChange", "textDocument/didSave", "textDocument/didClose", "$/cancelRequest",
            "textDocument/completion", "workspace/symbol", "", "\u0000", "tovin/x");

    private static byte[] randomMessage(Random random) {
        String body = switch (random.nextInt(8)) {
            case 0 -> json(random, 0);
            case 1 -> "{\"jsonrpc\":\"2.0\",\"method\":\"" + pick(random, METHODS) + "\""
                    + (random.nextBoolean() ? ",\"id\":" + json(random, 2) : "") + ",\"params\":" + json(random, 1) + "}";
            case 2 -> documentMessage(random);
            case 3 -> "[".repeat(1 + random.nextInt(200_000));
            case 4 -> truncated(random, documentMessage(random));
            case 5 -> new String(bytes(random, random.nextInt(300)), StandardCharsets.ISO_8859_1);
            default -> "{\"jsonrpc\":\"2.0\",\"id\":" + random.nextInt(1000) + ",\"method\":\"tovin/"
                    + random.nextInt() + "\"}";
        };
        byte[] content = body.getBytes(StandardCharsets.UTF_8);
        String header = switch (random.nextInt(12)) {
            case 0 -> "Content-Length: " + (content.length + random.nextInt(200)) + "\r\n\r\n"; // short body
            case 1 -> "Content-Length: " + Math.max(0, content.length - random.nextInt(50)) + "\r\n\r\n";
            case 2 -> "Content-Type: text/plain\r\n\r\n"; // no length
            case 3 -> "Content-Length: -" + random.nextInt(9) + "\r\n\r\n";
            case 4 -> "Content-Length: 1x\r\nX: " + "y".repeat(random.nextInt(20_000)) + "\r\n\r\n";
            case 5 -> "content-length:" + content.length + "\nContent-Type: application/json\n\n";
            default -> "Content-Length: " + content.length + "\r\n\r\n";
        };
        byte[] head = header.getBytes(StandardCharsets.US_ASCII);
        byte[] message = new byte[head.length + content.length];
        System.arraycopy(head, 0, message, 0, head.length);
        System.arraycopy(content, 0, message, head.length, content.length);
        return message;
    }

    private static String documentMessage(Random random) {
        String uri = "file:///tmp/tovin-fuzz/F" + random.nextInt(4) + (random.nextInt(5) == 0 ? ".txt" : ".java");
        int version = random.nextInt(5) - 1;
        return switch (random.nextInt(3)) {
            case 0 -> "{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/didOpen\",\"params\":{\"textDocument\":{\"uri\":\""
                    + uri + "\",\"version\":" + version + ",\"text\":" + quoted(javaLike(random)) + "}}}";
            case 1 -> "{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/didChange\",\"params\":{\"textDocument\":{\"uri\":\""
                    + uri + "\",\"version\":" + version + "},\"contentChanges\":[{\"range\":{\"start\":{\"line\":"
                    + (random.nextInt(8) - 1) + ",\"character\":" + number(random) + "},\"end\":{\"line\":"
                    + random.nextInt(8) + ",\"character\":" + number(random) + "}},\"text\":"
                    + quoted(javaLike(random)) + "}]}}";
            default -> "{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/didClose\",\"params\":{\"textDocument\":{\"uri\":\""
                    + uri + "\"}}}";
        };
    }

    private static String javaLike(Random random) {
        String[] pieces = {"class ", "F0", " {", "}", " int x = ", "\"s\"", ";", "\n", "void m() {", "return", "\uD83D",
            "\r\n", "/*", "*/", "record R(int a)", "switch (x) {", "case 1 ->"};
        StringBuilder text = new StringBuilder();
        for (int i = random.nextInt(30); i > 0; i--) {
            text.append(pieces[random.nextInt(pieces.length)]);
        }
        return text.toString();
    }

    private static String json(Random random, int depth) {
        return switch (depth > 3 ? random.nextInt(4) : random.nextInt(7)) {
            case 0 -> Integer.toString(random.nextInt());
            case 1 -> quoted(new String(bytes(random, random.nextInt(12)), StandardCharsets.ISO_8859_1));
            case 2 -> random.nextBoolean() ? "null" : "1e400";
            case 3 -> "true";
            case 4 -> "[" + json(random, depth + 1) + "," + json(random, depth + 1) + "]";
            default -> "{\"" + pick(random, List.of("textDocument", "uri", "text", "range", "id", "method"))
                    + "\":" + json(random, depth + 1) + "}";
        };
    }

    private static String number(Random random) {
        return pick(random, List.of("0", "3", "-1", "2147483648", "1.5", "\"7\"", "null", "99999999999999999999"));
    }

    private static String truncated(Random random, String text) {
        return text.substring(0, random.nextInt(text.length()));
    }

    private static String quoted(String text) {
        StringBuilder out = new StringBuilder("\"");
        for (char c : text.toCharArray()) {
            if (c == '"' || c == '\\') {
                out.append('\\').append(c);
            } else if (c < 0x20) {
                out.append(String.format("\\u%04x", (int) c));
            } else {
                out.append(c);
            }
        }
        return out.append('"').toString();
    }

    private static byte[] bytes(Random random, int count) {
        byte[] bytes = new byte[count];
        random.nextBytes(bytes);
        return bytes;
    }

    private static <T> T pick(Random random, List<T> items) {
        return items.get(random.nextInt(items.size()));
    }
}
