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
import java.util.function.Predicate;

/**
 * The Java engine's costs, measured through its protocol as the window meets them: the engine
 * started with the command the window uses, messages framed as any client frames them.
 *
 *   java -cp gson.jar [-Dparts=edit,open,memory] bench/EngineCheckBench.java ENGINE_JAR GSON_JAR WORK_DIR
 *        [JAVA_SOURCES_DIR]
 *
 * Prints: a check after a one-character edit (median of 20, engine warm) of a 500-line and a
 * 5,000-line file beside javac compiling the same file; the first diagnostics after a 50-file
 * project is opened; the engine's resident memory after checking a 300-file project (the
 * sources in JAVA_SOURCES_DIR, e.g. java/util of the JDK's sources).
 */
public class EngineCheckBench {
    static final Gson GSON = new Gson();
    static String engineJar;
    static String gsonJar;

    public static void main(String[] args) throws Exception {
        engineJar = args[0];
        gsonJar = args[1];
        Path work = Path.of(args[2]);
        String parts = System.getProperty("parts", "edit,open,memory");
        if (parts.contains("edit")) {
            for (int lines : new int[] {500, 5000}) {
                editedCheck(work.resolve("edit" + lines), lines);
            }
        }
        if (parts.contains("open")) {
            projectOpen(work.resolve("project50"), 50);
        }
        if (args.length > 3 && parts.contains("memory")) {
            memory(Path.of(args[3]));
        }
    }

    /** A class of {@code lines} lines: methods with loops, strings and calls. */
    static String source(String name, int lines, String use) {
        StringBuilder text = new StringBuilder("import java.util.*;\n\npublic class " + name + " {\n");
        text.append("    static int counter = 0;\n");
        int m = 0;
        while (text.chars().filter(c -> c == '\n').count() < lines - 8) {
            text.append("    /** Method ").append(m).append(". */\n")
                .append("    public List<String> method").append(m).append("(int value, String name) {\n")
                .append("        List<String> out = new ArrayList<>();\n")
                .append("        for (int i = 0; i < value; i++) {\n")
                .append("            out.add(name + i + \"").append(m).append("\" + ").append(use).append(");\n")
                .append("        }\n")
                .append("        return out;\n")
                .append("    }\n\n");
            m++;
        }
        return text.append("    int last() {\n        return 1;\n    }\n}\n").toString();
    }

    static void editedCheck(Path folder, int lines) throws Exception {
        Files.createDirectories(folder);
        Path file = folder.resolve("Edited.java");
        String text = source("Edited", lines, "counter");
        Files.writeString(file, text);
        String uri = file.toUri().toString();
        int lineOfLast = (int) text.lines().takeWhile(l -> !l.contains("return 1;")).count();
        try (Engine engine = new Engine(List.of("--source-path", folder.toString()))) {
            engine.initialize();
            engine.send(notification("textDocument/didOpen", Map.of("textDocument",
                    Map.of("uri", uri, "languageId", "java", "version", 0, "text", text))));
            engine.awaitPublish(uri, 0);
            // Warm-up edits, then the measured ones: "return 1;" becomes "return 2;" and back.
            List<Long> times = new ArrayList<>();
            long cpuBefore = 0;
            for (int version = 1; version <= 30; version++) {
                if (version == 11) {
                    cpuBefore = engine.cpuMillis();
                }
                String digit = Integer.toString(1 + version % 2);
                long start = System.nanoTime();
                engine.send(notification("textDocument/didChange", Map.of(
                        "textDocument", Map.of("uri", uri, "version", version),
                        "contentChanges", List.of(Map.of("range", Map.of(
                                "start", Map.of("line", lineOfLast, "character", 15),
                                "end", Map.of("line", lineOfLast, "character", 16)), "text", digit)))));
                engine.awaitPublish(uri, version);
                if (version > 10) {
                    times.add((System.nanoTime() - start) / 1_000_000);
                }
            }
            long cpuPerCheck = (engine.cpuMillis() - cpuBefore) / times.size();
            List<Long> javac = new ArrayList<>();
            Path out = Files.createDirectories(folder.resolve("classes"));
            for (int run = 0; run < 5; run++) {
                long start = System.nanoTime();
                Process p = new ProcessBuilder(tool("javac"), "-proc:none", "-d", out.toString(), file.toString())
                        .inheritIO().start();
                p.waitFor();
                javac.add((System.nanoTime() - start) / 1_000_000);
            }
            System.out.printf("check after a one-character edit, %d lines: median %d ms of 20, %d ms of CPU each"
                    + " (javac: median %d ms of 5)%n", text.lines().count(), median(times), cpuPerCheck, median(javac));
        }
    }

    static void projectOpen(Path folder, int count) throws Exception {
        Files.createDirectories(folder);
        List<String> args = new ArrayList<>(List.of("--source-path", folder.toString()));
        for (int i = 0; i < count; i++) {
            String use = i == 0 ? "counter" : "new Part" + (i - 1) + "().last()";
            Path file = folder.resolve("Part" + i + ".java");
            Files.writeString(file, source("Part" + i, 100, use));
            args.add("--project-file");
            args.add(file.toString());
        }
        long start = System.nanoTime();
        try (Engine engine = new Engine(args)) {
            engine.initialize();
            engine.await(m -> "textDocument/publishDiagnostics".equals(method(m)));
            long first = (System.nanoTime() - start) / 1_000_000;
            engine.awaitProgressEnd();
            long all = (System.nanoTime() - start) / 1_000_000;
            List<String> javac = new ArrayList<>(List.of(tool("javac"), "-proc:none", "-d",
                    Files.createDirectories(folder.resolve("classes")).toString()));
            args.stream().filter(a -> a.endsWith(".java")).forEach(javac::add);
            long javacStart = System.nanoTime();
            new ProcessBuilder(javac).inheritIO().start().waitFor();
            long javacTime = (System.nanoTime() - javacStart) / 1_000_000;
            System.out.printf("opening a %d-file project: first diagnostics after %d ms, all after %d ms"
                    + " (from the engine's start; javac of the same files: %d ms)%n", count, first, all, javacTime);
        }
    }

    static void memory(Path sources) throws Exception {
        List<String> args = new ArrayList<>(List.of("--source-path", sources.toString(),
                "--javac-option", "--patch-module", "--javac-option", "java.base=" + sources));
        List<Path> files;
        try (var walk = Files.walk(sources)) {
            files = walk.filter(f -> f.toString().endsWith(".java") && !f.endsWith("package-info.java"))
                    .sorted().limit(300).toList();
        }
        for (Path file : files) {
            args.add("--project-file");
            args.add(file.toString());
        }
        long start = System.nanoTime();
        try (Engine engine = new Engine(args)) {
            engine.initialize();
            engine.awaitProgressEnd();
            long seconds = (System.nanoTime() - start) / 1_000_000;
            String status = Files.readString(Path.of("/proc/" + engine.process.pid() + "/status"));
            System.out.printf("a %d-file project (%s) checked in %d ms; engine memory after: %s, peak: %s%n",
                    files.size(), sources, seconds, field(status, "VmRSS"), field(status, "VmHWM"));
        }
    }

    static String field(String status, String name) {
        return status.lines().filter(l -> l.startsWith(name + ":")).map(l -> l.substring(name.length() + 1).trim())
                .findFirst().orElse("?");
    }

    static long median(List<Long> values) {
        List<Long> sorted = new ArrayList<>(values);
        Collections.sort(sorted);
        return sorted.get(sorted.size() / 2);
    }

    static String tool(String name) {
        return Path.of(System.getProperty("java.home"), "bin", name).toString();
    }

    static Map<String, Object> notification(String method, Object params) {
        return Map.of("jsonrpc", "2.0", "method", method, "params", params);
    }

    static String method(JsonObject m) {
        return m.has("method") ? m.get("method").getAsString() : null;
    }

    /** The engine as a child process, started as the window starts it. */
    static final class Engine implements AutoCloseable {
        final Process process;
        final OutputStream in;
        final InputStream out;

        Engine(List<String> options) throws IOException {
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

        /** The CPU time the engine has used, its compiler and collector threads included. */
        long cpuMillis() throws IOException {
            String stat = Files.readString(Path.of("/proc/" + process.pid() + "/stat"));
            String[] fields = stat.substring(stat.lastIndexOf(')') + 2).split(" ");
            return (Long.parseLong(fields[11]) + Long.parseLong(fields[12])) * 10; // 100 ticks a second
        }

        void initialize() throws IOException {
            send(Map.of("jsonrpc", "2.0", "id", 1, "method", "initialize", "params",
                    Map.of("capabilities", Map.of("window", Map.of("workDoneProgress", true)))));
            await(m -> m.has("id") && !m.has("method"));
            send(notification("initialized", Map.of()));
        }

        void send(Object message) throws IOException {
            byte[] body = GSON.toJson(message).getBytes(StandardCharsets.UTF_8);
            in.write(("Content-Length: " + body.length + "\r\n\r\n").getBytes(StandardCharsets.US_ASCII));
            in.write(body);
            in.flush();
        }

        void awaitPublish(String uri, int version) throws IOException {
            await(m -> "textDocument/publishDiagnostics".equals(method(m))
                    && m.getAsJsonObject("params").get("uri").getAsString().equals(uri)
                    && m.getAsJsonObject("params").get("version").getAsInt() == version);
        }

        void awaitProgressEnd() throws IOException {
            await(m -> "$/progress".equals(method(m))
                    && m.getAsJsonObject("params").getAsJsonObject("value").get("kind").getAsString().equals("end"));
        }

        JsonObject await(Predicate<JsonObject> wanted) throws IOException {
            while (true) {
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
                JsonObject m = JsonParser.parseString(new String(out.readNBytes(length), StandardCharsets.UTF_8))
                        .getAsJsonObject();
                if (wanted.test(m)) {
                    return m;
                }
            }
        }

        @Override
        public void close() throws Exception {
            process.destroy();
            process.waitFor();
        }
    }
}
