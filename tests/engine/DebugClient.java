package tovin.engine;

import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assertions.fail;

import com.google.gson.JsonArray;
import com.google.gson.JsonElement;
import com.google.gson.JsonObject;
import com.google.gson.JsonParser;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Iterator;
import java.util.List;
import java.util.concurrent.BlockingQueue;
import java.util.concurrent.LinkedBlockingQueue;
import java.util.concurrent.TimeUnit;
import java.util.function.Predicate;

/**
 * The tests' client of the debug adapter: the adapter runs as its own process, as the window or
 * another client starts it, and this side frames, sends and waits with generous time limits.
 */
final class DebugClient implements AutoCloseable {
    static final long TIMEOUT_SECONDS = 60;

    final Process adapter;
    private final OutputStream toAdapter;
    private final BlockingQueue<JsonObject> incoming = new LinkedBlockingQueue<>();
    private final List<JsonObject> events = new ArrayList<>();
    private final StringBuffer stdout = new StringBuffer();
    private final StringBuffer stderr = new StringBuffer();
    private final StringBuffer console = new StringBuffer();
    private int seq = 1;

    DebugClient() throws IOException {
        String classPath = System.getProperty("tovin.engineJar") + java.io.File.pathSeparator
                           + System.getProperty("tovin.gsonJar");
        List<String> command = List.of(Path.of(System.getProperty("java.home"), "bin", "java").toString(),
                                       "-XX:+UseSerialGC", "-Xmx96m", "-cp", classPath, "tovin.engine.DebugAdapter");
        adapter = new ProcessBuilder(command).redirectError(ProcessBuilder.Redirect.INHERIT).start();
        toAdapter = adapter.getOutputStream();
        Thread reader = new Thread(() -> read(adapter.getInputStream()), "adapter reader");
        reader.setDaemon(true);
        reader.start();
    }

    private void read(InputStream in) {
        try {
            while (true) {
                int length = -1;
                ByteArrayOutputStream line = new ByteArrayOutputStream();
                int c;
                while ((c = in.read()) >= 0) {
                    if (c == '\n') {
                        String header = line.toString(StandardCharsets.US_ASCII).trim();
                        line.reset();
                        if (header.isEmpty()) {
                            break;
                        }
                        if (header.startsWith("Content-Length:")) {
                            length = Integer.parseInt(header.substring(15).trim());
                        }
                    } else {
                        line.write(c);
                    }
                }
                if (c < 0 || length < 0) {
                    return;
                }
                JsonObject m = JsonParser.parseString(new String(in.readNBytes(length), StandardCharsets.UTF_8))
                                       .getAsJsonObject();
                if ("event".equals(m.get("type").getAsString()) && "output".equals(m.get("event").getAsString())) {
                    JsonObject body = m.getAsJsonObject("body");
                    String category = body.get("category").getAsString();
                    (category.equals("stdout") ? stdout : category.equals("stderr") ? stderr : console)
                            .append(body.get("output").getAsString());
                }
                incoming.add(m);
            }
        } catch (IOException e) {
            // The adapter has ended.
        }
    }

    void send(String command, JsonObject args) throws IOException {
        JsonObject m = new JsonObject();
        m.addProperty("seq", seq++);
        m.addProperty("type", "request");
        m.addProperty("command", command);
        m.add("arguments", args);
        byte[] body = m.toString().getBytes(StandardCharsets.UTF_8);
        toAdapter.write(("Content-Length: " + body.length + "\r\n\r\n").getBytes(StandardCharsets.US_ASCII));
        toAdapter.write(body);
        toAdapter.flush();
    }

    /** Sends a request and waits for its answer, which must be a success. */
    JsonObject request(String command, JsonObject args) throws Exception {
        JsonObject response = answer(command, args);
        assertTrue(response.get("success").getAsBoolean(), command + " failed: " + response);
        return response.has("body") ? response.getAsJsonObject("body") : new JsonObject();
    }

    /** Sends a request and waits for its answer, whatever it says. */
    JsonObject answer(String command, JsonObject args) throws Exception {
        int id = seq;
        send(command, args);
        return next(m -> "response".equals(m.get("type").getAsString()) && m.get("request_seq").getAsInt() == id,
                    command + " answered");
    }

    /** The next event of that name (earlier ones already seen are taken first). */
    JsonObject event(String name) throws Exception {
        return next(m -> "event".equals(m.get("type").getAsString()) && name.equals(m.get("event").getAsString()),
                    "event " + name).getAsJsonObject("body");
    }

    private JsonObject next(Predicate<JsonObject> wanted, String what) throws Exception {
        for (Iterator<JsonObject> i = events.iterator(); i.hasNext();) {
            JsonObject m = i.next();
            if (wanted.test(m)) {
                i.remove();
                return m;
            }
        }
        long deadline = System.nanoTime() + TimeUnit.SECONDS.toNanos(TIMEOUT_SECONDS);
        while (true) {
            JsonObject m = incoming.poll(Math.max(1, deadline - System.nanoTime()), TimeUnit.NANOSECONDS);
            if (m == null) {
                fail("no " + what + " within " + TIMEOUT_SECONDS + " s; output so far: " + stdout + stderr);
            }
            if (wanted.test(m)) {
                return m;
            }
            if ("event".equals(m.get("type").getAsString()) && !"output".equals(m.get("event").getAsString())) {
                events.add(m);
            }
        }
    }

    String stdout() {
        return stdout.toString();
    }

    String stderr() {
        return stderr.toString();
    }

    String console() {
        return console.toString();
    }

    // ---------------------------------------------------------------- the usual sequences

    /** initialize and launch; the program then waits for breakpoints and configurationDone. */
    void launch(Path classes, Path cwd, String mainClass, String args) throws Exception {
        launch(classes, cwd, mainClass, args, "");
    }

    /** The same with the source folders where frames find their files. */
    void launch(Path classes, Path cwd, String mainClass, String args, String sourcePaths) throws Exception {
        request("initialize", json("adapterID", "tovin-tests", "linesStartAt1", true));
        request("launch", json("mainClass", mainClass, "classPath", classes.toString(), "cwd", cwd.toString(),
                               "args", args, "sourcePaths", sourcePaths));
        event("initialized");
    }

    JsonArray setBreakpoints(Path file, JsonObject... breakpoints) throws Exception {
        JsonArray list = new JsonArray();
        for (JsonObject b : breakpoints) {
            list.add(b);
        }
        JsonObject source = json("path", file.toString());
        JsonObject args = new JsonObject();
        args.add("source", source);
        args.add("breakpoints", list);
        return request("setBreakpoints", args).getAsJsonArray("breakpoints");
    }

    /** Waits for the next stop: its thread's top frame. */
    Stop stopped() throws Exception {
        JsonObject body = event("stopped");
        long thread = body.get("threadId").getAsLong();
        JsonArray frames = request("stackTrace", json("threadId", thread)).getAsJsonArray("stackFrames");
        return new Stop(body, thread, frames);
    }

    record Stop(JsonObject event, long thread, JsonArray frames) {
        JsonObject top() {
            return frames.get(0).getAsJsonObject();
        }

        int line() {
            return top().get("line").getAsInt();
        }

        String method() {
            return top().get("name").getAsString();
        }

        String reason() {
            return event.get("reason").getAsString();
        }
    }

    Stop step(String how, Stop from) throws Exception {
        request(how, json("threadId", from.thread()));
        return stopped();
    }

    /** The top frame's locals by name. */
    java.util.Map<String, JsonObject> locals(Stop stop) throws Exception {
        int frame = stop.top().get("id").getAsInt();
        JsonArray scopes = request("scopes", json("frameId", frame)).getAsJsonArray("scopes");
        return variables(scopes.get(0).getAsJsonObject().get("variablesReference").getAsInt());
    }

    java.util.Map<String, JsonObject> variables(int reference) throws Exception {
        java.util.Map<String, JsonObject> out = new java.util.LinkedHashMap<>();
        for (JsonElement e : request("variables", json("variablesReference", reference)).getAsJsonArray("variables")) {
            out.put(e.getAsJsonObject().get("name").getAsString(), e.getAsJsonObject());
        }
        return out;
    }

    static JsonObject json(Object... pairs) {
        JsonObject o = new JsonObject();
        for (int i = 0; i < pairs.length; i += 2) {
            Object v = pairs[i + 1];
            if (v instanceof Number n) {
                o.addProperty((String) pairs[i], n);
            } else if (v instanceof Boolean b) {
                o.addProperty((String) pairs[i], b);
            } else if (v instanceof JsonElement e) {
                o.add((String) pairs[i], e);
            } else {
                o.addProperty((String) pairs[i], String.valueOf(v));
            }
        }
        return o;
    }

    @Override
    public void close() {
        List<ProcessHandle> left = adapter.descendants().toList();
        try {
            toAdapter.close();
        } catch (IOException e) {
            // Already gone.
        }
        try {
            if (!adapter.waitFor(20, TimeUnit.SECONDS)) {
                adapter.destroyForcibly();
            }
        } catch (InterruptedException e) {
            adapter.destroyForcibly();
            Thread.currentThread().interrupt();
        }
        left.forEach(ProcessHandle::destroyForcibly);
    }
}
