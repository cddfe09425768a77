package tovin.engine;

import static org.junit.jupiter.api.Assertions.assertNotNull;

import com.google.gson.Gson;
import com.google.gson.JsonElement;
import com.google.gson.JsonObject;
import com.google.gson.JsonParser;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.PipedInputStream;
import java.io.PipedOutputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.concurrent.BlockingQueue;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.LinkedBlockingQueue;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.TimeoutException;
import java.util.function.Predicate;

/**
 * A client speaking the protocol to a real Server over pipes, in this process: what it sends is
 * framed as any client frames it, and whatever the server writes is read back as messages.
 */
final class EngineSession implements AutoCloseable {
    static final long TIMEOUT_SECONDS = 120;
    private static final Gson GSON = new Gson();

    private final PipedOutputStream toServer = new PipedOutputStream();
    private final BlockingQueue<JsonObject> received = new LinkedBlockingQueue<>();
    private final List<JsonObject> seen = new ArrayList<>();
    private final ByteArrayOutputStream log = new ByteArrayOutputStream();
    private final CompletableFuture<Integer> exit;
    private int nextId = 1;

    EngineSession(String... args) throws IOException {
        PipedInputStream serverIn = new PipedInputStream(toServer, 1 << 20);
        PipedInputStream fromServer = new PipedInputStream(1 << 20);
        PipedOutputStream serverOut = new PipedOutputStream(fromServer);
        PrintStream serverLog = new PrintStream(log, true, StandardCharsets.UTF_8);
        Server server = new Server(serverIn, serverOut, serverLog, Settings.parse(args, serverLog));
        exit = CompletableFuture.supplyAsync(() -> {
            try {
                return server.run();
            } finally {
                try {
                    serverOut.close();
                } catch (IOException ignored) {
                    // the reader below sees the end of the stream either way
                }
            }
        });
        Thread reader = new Thread(() -> readAll(fromServer), "test-client-reader");
        reader.setDaemon(true);
        reader.start();
    }

    /** Starts a session and completes initialize and initialized. */
    static EngineSession initialized(boolean progress, String... args) throws IOException {
        EngineSession session = new EngineSession(args);
        JsonObject capabilities = GSON.toJsonTree(
                Map.of("window", Map.of("workDoneProgress", progress))).getAsJsonObject();
        session.request("initialize", Map.of("processId", 1, "capabilities", capabilities));
        session.notify("initialized", Map.of());
        return session;
    }

    /** Sends a request and returns its answer. */
    JsonObject request(String method, Object params) throws IOException {
        int id = nextId++;
        Map<String, Object> message = new LinkedHashMap<>(Map.of("jsonrpc", "2.0", "id", id, "method", method));
        if (params != null) {
            message.put("params", params);
        }
        send(message);
        return await(m -> !m.has("method") && m.has("id") && m.get("id").toString().equals(Integer.toString(id)));
    }

    void notify(String method, Object params) throws IOException {
        send(Map.of("jsonrpc", "2.0", "method", method, "params", params));
    }

    void send(Object message) throws IOException {
        byte[] body = GSON.toJson(message).getBytes(StandardCharsets.UTF_8);
        sendRaw(("Content-Length: " + body.length + "\r\n\r\n").getBytes(StandardCharsets.US_ASCII));
        sendRaw(body);
    }

    void sendRaw(byte[] bytes) throws IOException {
        toServer.write(bytes);
        toServer.flush();
    }

    void closeInput() throws IOException {
        toServer.close();
    }

    /** The first message, not yet taken, that matches; fails after the timeout. */
    JsonObject await(Predicate<JsonObject> wanted) {
        synchronized (seen) {
            for (JsonObject m : seen) {
                if (wanted.test(m)) {
                    seen.remove(m);
                    return m;
                }
            }
        }
        long deadline = System.nanoTime() + TimeUnit.SECONDS.toNanos(TIMEOUT_SECONDS);
        try {
            while (System.nanoTime() < deadline) {
                JsonObject m = received.poll(100, TimeUnit.MILLISECONDS);
                if (m == null) {
                    continue;
                }
                if (wanted.test(m)) {
                    return m;
                }
                synchronized (seen) {
                    seen.add(m);
                }
            }
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        }
        throw new AssertionError("no awaited message from the engine; its log:\n" + log());
    }

    /** The diagnostics published for a document, at a version when one is given. */
    JsonObject awaitDiagnostics(String uri, Integer version) {
        JsonObject m = await(message -> "textDocument/publishDiagnostics".equals(method(message))
                && message.getAsJsonObject("params").get("uri").getAsString().equals(uri)
                && (version == null || version.equals(versionOf(message))));
        return m.getAsJsonObject("params");
    }

    /** Every message received so far that was not taken by an await. */
    List<JsonObject> drain() {
        synchronized (seen) {
            received.drainTo(seen);
            return new ArrayList<>(seen);
        }
    }

    int awaitExit() throws Exception {
        Integer code = exit.get(TIMEOUT_SECONDS, TimeUnit.SECONDS);
        assertNotNull(code);
        return code;
    }

    String log() {
        return log.toString(StandardCharsets.UTF_8);
    }

    void open(Path file, String text, int version) throws IOException {
        notify("textDocument/didOpen", Map.of("textDocument", Map.of("uri", uri(file), "languageId", "java",
                "version", version, "text", text)));
    }

    static String uri(Path file) {
        return file.toAbsolutePath().toUri().toString();
    }

    static String method(JsonObject message) {
        JsonElement method = message.get("method");
        return method == null ? null : method.getAsString();
    }

    private static Integer versionOf(JsonObject message) {
        JsonElement version = message.getAsJsonObject("params").get("version");
        return version == null || version.isJsonNull() ? null : version.getAsInt();
    }

    @Override
    public void close() throws IOException, ExecutionException, TimeoutException {
        if (!exit.isDone()) {
            closeInput();
            try {
                exit.get(TIMEOUT_SECONDS, TimeUnit.SECONDS);
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
            }
        }
    }

    private void readAll(InputStream in) {
        try {
            while (true) {
                int length = -1;
                StringBuilder line = new StringBuilder();
                while (true) {
                    int b = in.read();
                    if (b < 0) {
                        return;
                    }
                    if (b != '\n') {
                        line.append((char) b);
                        continue;
                    }
                    String header = line.toString().trim();
                    line.setLength(0);
                    if (header.isEmpty()) {
                        break;
                    }
                    if (header.startsWith("Content-Length: ")) {
                        length = Integer.parseInt(header.substring(16));
                    }
                }
                byte[] body = in.readNBytes(length);
                received.add(JsonParser.parseString(new String(body, StandardCharsets.UTF_8)).getAsJsonObject());
            }
        } catch (IOException e) {
            // the server closed its output: the session is over
        }
    }
}
