import com.google.gson.JsonArray;
import com.google.gson.JsonObject;
import com.google.gson.JsonParser;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.concurrent.BlockingQueue;
import java.util.concurrent.LinkedBlockingQueue;
import java.util.concurrent.TimeUnit;

/**
 * The debugger's three figures, measured through the protocol as a client sees them:
 * from starting the adapter (and from its launch request) to the stop at a small program's first
 * breakpoint; from a Step Over to the top frame's variables received (median of 50 steps); and
 * the adapter's resident memory after the steps (now and its peak). Run by bench/debug_adapter.sh.
 */
public class DebugAdapterBench {
    private static final BlockingQueue<JsonObject> incoming = new LinkedBlockingQueue<>();
    private static OutputStream toAdapter;
    private static int seq = 1;

    public static void main(String[] args) throws Exception {
        String adapterClassPath = args[0];
        Path work = Files.createTempDirectory("tovin-debug-bench");
        Path source = work.resolve("Steps.java");
        StringBuilder program = new StringBuilder("public class Steps {\n    public static void main(String[] args) {\n"
                                                  + "        int total = 0;\n        String name = \"steps\";\n"
                                                  + "        int[] seen = new int[8];\n");
        for (int i = 0; i < 60; i++) {
            program.append("        total += ").append(i).append("; seen[").append(i % 8).append("] = total;\n");
        }
        program.append("        System.out.println(name + total);\n    }\n}\n");
        Files.writeString(source, program.toString());
        Process javac = new ProcessBuilder(Path.of(System.getProperty("java.home"), "bin", "javac").toString(), "-g",
                                           "-d", work.toString(), source.toString()).inheritIO().start();
        if (javac.waitFor() != 0) {
            throw new IllegalStateException("javac failed");
        }

        long started = System.nanoTime();
        Process adapter = new ProcessBuilder(Path.of(System.getProperty("java.home"), "bin", "java").toString(),
                                             "-XX:+UseSerialGC", "-Xmx96m", "-cp", adapterClassPath,
                                             "tovin.engine.DebugAdapter")
                                  .redirectError(ProcessBuilder.Redirect.INHERIT).start();
        toAdapter = adapter.getOutputStream();
        Thread reader = new Thread(() -> read(adapter.getInputStream()));
        reader.setDaemon(true);
        reader.start();

        request("initialize", new JsonObject());
        JsonObject launch = new JsonObject();
        launch.addProperty("mainClass", "Steps");
        launch.addProperty("classPath", work.toString());
        launch.addProperty("cwd", work.toString());
        long launched = System.nanoTime();
        request("launch", launch);
        JsonObject bp = new JsonObject();
        JsonObject src = new JsonObject();
        src.addProperty("path", source.toString());
        bp.add("source", src);
        JsonArray lines = new JsonArray();
        JsonObject line = new JsonObject();
        line.addProperty("line", 3);
        lines.add(line);
        bp.add("breakpoints", lines);
        request("setBreakpoints", bp);
        request("configurationDone", new JsonObject());
        long thread = until("stopped").getAsJsonObject("body").get("threadId").getAsLong();
        long stopped = System.nanoTime();
        variables(thread);

        List<Double> steps = new ArrayList<>();
        for (int i = 0; i < 50; i++) {
            long t0 = System.nanoTime();
            JsonObject next = new JsonObject();
            next.addProperty("threadId", thread);
            request("next", next);
            until("stopped");
            variables(thread);
            steps.add((System.nanoTime() - t0) / 1e6);
        }
        Collections.sort(steps);
        String status = Files.readString(Path.of("/proc", Long.toString(adapter.pid()), "status"));
        System.out.printf("start of the adapter to the first stop: %.0f ms%n", (stopped - started) / 1e6);
        System.out.printf("launch request to the first stop:       %.0f ms%n", (stopped - launched) / 1e6);
        System.out.printf("Step Over to variables (median of 50):  %.1f ms (fastest %.1f, slowest %.1f)%n",
                          (steps.get(24) + steps.get(25)) / 2, steps.get(0), steps.get(49));
        for (String l : status.split("\n")) {
            if (l.startsWith("VmRSS") || l.startsWith("VmHWM")) {
                System.out.println("adapter " + l.replaceAll("\\s+", " "));
            }
        }
        request("disconnect", new JsonObject());
        adapter.waitFor(10, TimeUnit.SECONDS);
    }

    private static void variables(long thread) throws Exception {
        JsonObject st = new JsonObject();
        st.addProperty("threadId", thread);
        st.addProperty("levels", 20);
        int frame = request("stackTrace", st).getAsJsonObject("body").getAsJsonArray("stackFrames").get(0)
                            .getAsJsonObject().get("id").getAsInt();
        JsonObject sc = new JsonObject();
        sc.addProperty("frameId", frame);
        int ref = request("scopes", sc).getAsJsonObject("body").getAsJsonArray("scopes").get(0).getAsJsonObject()
                          .get("variablesReference").getAsInt();
        JsonObject v = new JsonObject();
        v.addProperty("variablesReference", ref);
        request("variables", v);
    }

    private static JsonObject request(String command, JsonObject args) throws Exception {
        int id = seq++;
        JsonObject m = new JsonObject();
        m.addProperty("seq", id);
        m.addProperty("type", "request");
        m.addProperty("command", command);
        m.add("arguments", args);
        byte[] body = m.toString().getBytes(StandardCharsets.UTF_8);
        toAdapter.write(("Content-Length: " + body.length + "\r\n\r\n").getBytes(StandardCharsets.US_ASCII));
        toAdapter.write(body);
        toAdapter.flush();
        while (true) {
            JsonObject r = next();
            if (r.get("type").getAsString().equals("response") && r.get("request_seq").getAsInt() == id) {
                if (!r.get("success").getAsBoolean()) {
                    throw new IllegalStateException(command + ": " + r);
                }
                return r;
            }
            if (r.get("type").getAsString().equals("event") && r.get("event").getAsString().equals("stopped")) {
                pendingStop = r;
            }
        }
    }

    private static JsonObject pendingStop;

    private static JsonObject until(String event) throws Exception {
        if (pendingStop != null && event.equals("stopped")) {
            JsonObject r = pendingStop;
            pendingStop = null;
            return r;
        }
        while (true) {
            JsonObject r = next();
            if (r.get("type").getAsString().equals("event") && r.get("event").getAsString().equals(event)) {
                return r;
            }
        }
    }

    private static JsonObject next() throws Exception {
        JsonObject r = incoming.poll(60, TimeUnit.SECONDS);
        if (r == null) {
            throw new IllegalStateException("the adapter fell silent");
        }
        return r;
    }

    private static void read(InputStream in) {
        try {
            while (true) {
                int length = -1;
                ByteArrayOutputStream header = new ByteArrayOutputStream();
                int c;
                while ((c = in.read()) >= 0) {
                    if (c == '\n') {
                        String h = header.toString(StandardCharsets.US_ASCII).trim();
                        header.reset();
                        if (h.isEmpty()) {
                            break;
                        }
                        if (h.startsWith("Content-Length:")) {
                            length = Integer.parseInt(h.substring(15).trim());
                        }
                    } else {
                        header.write(c);
                    }
                }
                if (c < 0) {
                    return;
                }
                incoming.add(JsonParser.parseString(new String(in.readNBytes(length), StandardCharsets.UTF_8))
                                     .getAsJsonObject());
            }
        } catch (IOException e) {
            // The adapter has ended.
        }
    }
}
