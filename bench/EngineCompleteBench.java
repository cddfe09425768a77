import com.google.gson.Gson;
import com.google.gson.JsonObject;
import com.google.gson.JsonParser;
import java.io.BufferedInputStream;
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
import java.util.Map;

/**
 * Completion's cost as the window meets it: the engine started with the window's command, a
 * document opened, and completion asked after "out." in a method of the file.
 *
 *   java -cp gson.jar bench/EngineCompleteBench.java ENGINE_JAR GSON_JAR WORK_DIR
 *
 * Prints the first completion after the engine starts, then for a 200-line and a 5,000-line
 * file the median and 95th percentile of 40 requests (after 10 to warm up) and the ratio of the
 * two medians.
 */
public class EngineCompleteBench {
    static final Gson GSON = new Gson();
    static final int WARM_UP = 10;
    static final int MEASURED = 40;

    public static void main(String[] args) throws Exception {
        String engineJar = args[0];
        String gsonJar = args[1];
        Path work = Path.of(args[2]);
        Path small = write(work, "Small", 200);
        Path large = write(work, "Large", 5000);
        long start = System.nanoTime();
        try (Engine engine = new Engine(engineJar, gsonJar, List.of("--source-path", work.toString()))) {
            engine.initialize();
            long initialized = (System.nanoTime() - start) / 1_000_000;
            engine.open(small);
            engine.complete(small, 1);
            System.out.printf("first completion after the engine starts: %d ms (initialized after %d ms)%n",
                    (System.nanoTime() - start) / 1_000_000, initialized);
            engine.open(large);
            long[] smallTimes = engine.measure(small);
            long[] largeTimes = engine.measure(large);
            System.out.printf("completion after \".\", %d lines: median %d ms, 95th percentile %d ms (of %d)%n",
                    lines(small), smallTimes[0], smallTimes[1], MEASURED);
            System.out.printf("completion after \".\", %d lines: median %d ms, 95th percentile %d ms (of %d)%n",
                    lines(large), largeTimes[0], largeTimes[1], MEASURED);
            System.out.printf("ratio of the medians, %d to %d lines: %.2f%n", lines(large), lines(small),
                    (double) largeTimes[0] / Math.max(1, smallTimes[0]));
            long[] ownTimes = engine.measure(large, "this.");
            System.out.printf("completion after \"this.\", %d lines: median %d ms, 95th percentile %d ms (of %d)%n",
                    lines(large), ownTimes[0], ownTimes[1], MEASURED);
            String status = Files.readString(Path.of("/proc/" + engine.process.pid() + "/status"));
            System.out.printf("engine memory after: %s (peak %s)%n", field(status, "VmRSS"), field(status, "VmHWM"));
        }
    }

    static String field(String status, String name) {
        return status.lines().filter(l -> l.startsWith(name + ":")).map(l -> l.substring(name.length() + 1).trim())
                .findFirst().orElse("?");
    }

    static long lines(Path file) throws IOException {
        return Files.readString(file).lines().count();
    }

    /**
     * A class of {@code lines} lines; the middle method's body has the line "out." where completion
     * is asked, the next one "this." (the file's own class: none of its methods may be left out).
     */
    static Path write(Path folder, String name, int lines) throws IOException {
        int methods = (lines - 8) / 9;
        StringBuilder text = new StringBuilder("import java.util.*;\n\npublic class " + name + " {\n");
        text.append("    static int counter = 0;\n");
        for (int m = 0; m < methods; m++) {
            text.append("    /** Method ").append(m).append(". */\n")
                .append("    public List<String> method").append(m).append("(int value, String name) {\n")
                .append("        List<String> out = new ArrayList<>();\n")
                .append("        for (int i = 0; i < value; i++) {\n")
                .append("            out.add(name + i + \"").append(m).append("\" + counter);\n")
                .append("        }\n")
                .append(m == methods / 2 ? "        out.\n" : m == methods / 2 + 1 ? "        this.\n" : "        out.clear();\n")
                .append("        return out;\n")
                .append("    }\n");
        }
        text.append("}\n");
        Path file = folder.resolve(name + ".java");
        Files.writeString(file, text);
        return file;
    }

    static String tool(String name) {
        return Path.of(System.getProperty("java.home"), "bin", name).toString();
    }

    static long percentile(List<Long> values, double p) {
        List<Long> sorted = new ArrayList<>(values);
        Collections.sort(sorted);
        return sorted.get(Math.min(sorted.size() - 1, (int) Math.ceil(p * sorted.size()) - 1));
    }

    /** The engine as a child process, started as the window starts it. */
    static final class Engine implements AutoCloseable {
        final Process process;
        final OutputStream in;
        final InputStream out;
        int nextId = 1;

        Engine(String engineJar, String gsonJar, List<String> options) throws IOException {
            List<String> command = new ArrayList<>(List.of(tool("java"), "-XX:+UseSerialGC", "-XX:-UsePerfData",
                    "-Xms32m", "-Xmx384m", "-Xss4m", "--add-exports", "jdk.compiler/com.sun.tools.javac.api=ALL-UNNAMED",
                    "--add-exports", "jdk.compiler/com.sun.tools.javac.code=ALL-UNNAMED",
                    "--add-exports", "jdk.compiler/com.sun.tools.javac.util=ALL-UNNAMED", "-cp", engineJar + ":" + gsonJar,
                    "tovin.engine.Server"));
            command.addAll(options);
            process = new ProcessBuilder(command).redirectError(ProcessBuilder.Redirect.DISCARD).start();
            in = process.getOutputStream();
            out = new BufferedInputStream(process.getInputStream());
        }

        void initialize() throws IOException {
            request("initialize", Map.of("capabilities", Map.of()));
            send(Map.of("jsonrpc", "2.0", "method", "initialized", "params", Map.of()));
        }

        void open(Path file) throws IOException {
            send(Map.of("jsonrpc", "2.0", "method", "textDocument/didOpen", "params", Map.of("textDocument",
                    Map.of("uri", file.toUri().toString(), "languageId", "java", "version", 1,
                            "text", Files.readString(file)))));
        }

        /** Asks for completion after "out." {@code times} times; the answers' item count. */
        int complete(Path file, int times) throws IOException {
            return complete(file, times, "out.");
        }

        int complete(Path file, int times, String select) throws IOException {
            List<String> lines = Files.readString(file).lines().toList();
            int line = lines.indexOf("        " + select);
            int items = 0;
            for (int i = 0; i < times; i++) {
                JsonObject answer = request("textDocument/completion", Map.of("textDocument",
                        Map.of("uri", file.toUri().toString()), "position", Map.of("line", line, "character", 8 + select.length())));
                items = answer.getAsJsonObject("result").getAsJsonArray("items").size();
                if (items == 0) {
                    throw new IllegalStateException("no completion items: " + answer);
                }
            }
            return items;
        }

        /** The median and 95th percentile of completions, warm. */
        long[] measure(Path file) throws IOException {
            return measure(file, "out.");
        }

        long[] measure(Path file, String select) throws IOException {
            complete(file, WARM_UP, select);
            List<Long> times = new ArrayList<>();
            for (int i = 0; i < MEASURED; i++) {
                long start = System.nanoTime();
                complete(file, 1, select);
                times.add((System.nanoTime() - start) / 1_000_000);
            }
            return new long[] {percentile(times, 0.5), percentile(times, 0.95)};
        }

        JsonObject request(String method, Object params) throws IOException {
            int id = nextId++;
            send(Map.of("jsonrpc", "2.0", "id", id, "method", method, "params", params));
            while (true) {
                JsonObject m = read();
                if (!m.has("method") && m.has("id") && m.get("id").getAsInt() == id) {
                    return m;
                }
            }
        }

        void send(Object message) throws IOException {
            byte[] body = GSON.toJson(message).getBytes(StandardCharsets.UTF_8);
            in.write(("Content-Length: " + body.length + "\r\n\r\n").getBytes(StandardCharsets.US_ASCII));
            in.write(body);
            in.flush();
        }

        JsonObject read() throws IOException {
            int length = -1;
            while (true) {
                ByteArrayOutputStream line = new ByteArrayOutputStream();
                for (int b = out.read(); b != '\n'; b = out.read()) {
                    if (b < 0) {
                        throw new IOException("the engine ended");
                    }
                    line.write(b);
                }
                String header = line.toString(StandardCharsets.US_ASCII).trim();
                if (header.isEmpty()) {
                    break;
                }
                if (header.startsWith("Content-Length:")) {
                    length = Integer.parseInt(header.substring(15).trim());
                }
            }
            return JsonParser.parseString(new String(out.readNBytes(length), StandardCharsets.UTF_8)).getAsJsonObject();
        }

        @Override
        public void close() throws Exception {
            process.destroy();
            process.waitFor();
        }
    }
}
