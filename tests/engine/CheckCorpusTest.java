package tovin.engine;

import static org.junit.jupiter.api.Assertions.assertEquals;

import com.google.gson.JsonElement;
import com.google.gson.JsonObject;
import java.io.IOException;
import java.io.StringWriter;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.stream.Stream;
import javax.tools.Diagnostic;
import javax.tools.DiagnosticCollector;
import javax.tools.JavaCompiler;
import javax.tools.JavaFileObject;
import javax.tools.StandardJavaFileManager;
import javax.tools.ToolProvider;
import org.junit.jupiter.api.AfterAll;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/**
 * The broken files of tests/data/check, each opened in the engine and compiled by javac alone,
 * with javac's default switches and with every lint warning on: the engine publishes exactly
 * javac's diagnostics (place, kind and key as javac's API gives them, and whole messages as the
 * javac command prints them), and javac still says of each file what the corpus's README records.
 */
class CheckCorpusTest {
    static final Path CORPUS = Path.of(System.getProperty("tovin.testData", "tests/data"), "check");

    private static final String LINT = "-Xlint:all";
    private static EngineSession plain;
    private static EngineSession lint;
    private static int version;

    @TempDir
    static Path classes;

    @BeforeAll
    static void start() throws IOException {
        plain = EngineSession.initialized(false, "--source-path", CORPUS.toAbsolutePath().toString());
        lint = EngineSession.initialized(false, "--source-path", CORPUS.toAbsolutePath().toString(),
                "--javac-option", LINT);
    }

    @AfterAll
    static void stop() throws Exception {
        plain.close();
        lint.close();
    }

    static Stream<Arguments> files() throws IOException {
        try (Stream<Path> files = Files.list(CORPUS)) {
            List<String> names = files.map(f -> f.getFileName().toString()).filter(n -> n.endsWith(".java")).sorted()
                    .toList();
            return Stream.concat(names.stream().map(n -> Arguments.of(n, "")),
                    names.stream().map(n -> Arguments.of(n, LINT)));
        }
    }

    @ParameterizedTest(name = "{0} {1}")
    @MethodSource("files")
    void engineGivesJavacsOwnDiagnostics(String name, String switches) throws Exception {
        Path file = CORPUS.resolve(name).toAbsolutePath();
        String text = Files.readString(file);
        List<Diagnostic<? extends JavaFileObject>> javac = javac(file, switches);
        EngineSession session = switches.isEmpty() ? plain : lint;

        if (switches.isEmpty()) {
            assertEquals(readme().get(name), keys(javac), "javac's keys for " + name + " differ from the README");
        }

        int opened = ++version;
        session.open(file, text, opened);
        JsonObject published = session.awaitDiagnostics(EngineSession.uri(file), opened);
        session.notify("textDocument/didClose", Map.of("textDocument", Map.of("uri", EngineSession.uri(file))));

        List<String> expected = new ArrayList<>();
        for (Diagnostic<? extends JavaFileObject> d : javac) {
            expected.add(describe(d, text));
        }
        List<String> actual = new ArrayList<>();
        StringBuilder printed = new StringBuilder();
        for (JsonElement d : published.getAsJsonArray("diagnostics")) {
            actual.add(describe(d.getAsJsonObject()));
            printed.append(print(d.getAsJsonObject(), file, text));
        }
        assertEquals(String.join("\n", expected), String.join("\n", actual));
        assertEquals(javacPrints(file, switches), printed.toString(), "the messages differ from javac's printed ones");
    }

    /**
     * What the javac command prints of the file, without its closing counts: in-process with no
     * diagnostic listener, javac writes exactly the command's text to its output.
     */
    private static String javacPrints(Path file, String switches) throws IOException {
        JavaCompiler compiler = ToolProvider.getSystemJavaCompiler();
        StringWriter out = new StringWriter();
        try (StandardJavaFileManager files = compiler.getStandardFileManager(null, null, null)) {
            compiler.getTask(out, files, null, options(switches), null, files.getJavaFileObjects(file)).call();
        }
        return out.toString().replace(System.lineSeparator(), "\n").replaceAll("(?m)^\\d+ (errors?|warnings?)\n", "");
    }

    /** A published diagnostic laid out as javac prints one: place, kind, message, source line and caret. */
    private static String print(JsonObject d, Path file, String text) {
        List<String> message = List.of(d.get("message").getAsString().split("\n", -1));
        int line = d.getAsJsonObject("data").get("line").getAsInt();
        String kind = switch (d.get("severity").getAsInt()) {
            case 1 -> "error: ";
            case 2 -> "warning: ";
            default -> "Note: ";
        };
        StringBuilder out = new StringBuilder();
        if (line == 0) {
            return kind + String.join("\n", message) + "\n";
        }
        out.append(file).append(':').append(line).append(": ").append(kind).append(message.get(0)).append('\n');
        String source = text.split("\r\n|\r|\n", -1)[line - 1];
        out.append(source).append('\n');
        int column = d.getAsJsonObject("data").get("column").getAsInt();
        for (int i = 0; i < column - 1; i++) {
            out.append(i < source.length() && source.charAt(i) == '\t' ? '\t' : ' ');
        }
        out.append("^\n");
        for (String rest : message.subList(1, message.size())) {
            out.append(rest).append('\n');
        }
        return out.toString();
    }

    /** javac run on the file alone, as a user would compile it, to the end (class files in a temporary folder). */
    private static List<Diagnostic<? extends JavaFileObject>> javac(Path file, String switches) throws IOException {
        JavaCompiler compiler = ToolProvider.getSystemJavaCompiler();
        DiagnosticCollector<JavaFileObject> collector = new DiagnosticCollector<>();
        try (StandardJavaFileManager files = compiler.getStandardFileManager(null, null, null)) {
            compiler.getTask(null, files, collector, options(switches), null, files.getJavaFileObjects(file)).call();
        }
        return collector.getDiagnostics();
    }

    private static List<String> options(String switches) {
        List<String> options = new ArrayList<>(
                List.of("-proc:none", "-sourcepath", CORPUS.toAbsolutePath().toString(), "-d", classes.toString()));
        if (!switches.isEmpty()) {
            options.add(switches);
        }
        return options;
    }

    /** Place, kind and key as javac's API gives them; columns in characters of the line. */
    private static String describe(Diagnostic<? extends JavaFileObject> d, String text) {
        int severity = switch (d.getKind()) {
            case ERROR -> 1;
            case WARNING, MANDATORY_WARNING -> 2;
            default -> 3;
        };
        if (d.getPosition() == Diagnostic.NOPOS) {
            return severity + " " + d.getCode() + " (no place)";
        }
        String before = text.substring(0, (int) d.getPosition());
        int lineStart = Math.max(before.lastIndexOf('\n'), before.lastIndexOf('\r')) + 1;
        long column = d.getPosition() - lineStart + 1;
        String start = place(text, d.getStartPosition());
        String end = d.getEndPosition() == Diagnostic.NOPOS ? "-" : place(text, d.getEndPosition());
        return severity + " " + d.getCode() + " at " + d.getLineNumber() + ":" + column + " [" + start + "-" + end
                + "]";
    }

    private static String describe(JsonObject d) {
        JsonObject data = d.getAsJsonObject("data");
        JsonObject range = d.getAsJsonObject("range");
        String severity = d.get("severity").getAsString();
        String code = d.get("code").getAsString();
        assertEquals("javac", d.get("source").getAsString());
        if (data.get("line").getAsInt() == 0) {
            return severity + " " + code + " (no place)";
        }
        JsonObject start = range.getAsJsonObject("start");
        JsonObject end = range.getAsJsonObject("end");
        return severity + " " + code + " at " + data.get("line").getAsInt() + ":" + data.get("column").getAsInt()
                + " [" + start.get("line").getAsInt() + "." + start.get("character").getAsInt() + "-"
                + end.get("line").getAsInt() + "." + end.get("character").getAsInt() + "]";
    }

    /** A position as the protocol counts it: 0-based line and UTF-16 units into that line. */
    private static String place(String text, long offset) {
        int line = 0;
        int lineStart = 0;
        for (int i = 0; i < offset; i++) {
            if (text.charAt(i) == '\n') {
                line++;
                lineStart = i + 1;
            }
        }
        return line + "." + (offset - lineStart);
    }

    private static String keys(List<Diagnostic<? extends JavaFileObject>> diagnostics) {
        List<String> keys = new ArrayList<>();
        for (Diagnostic<? extends JavaFileObject> d : diagnostics) {
            String key = d.getCode().replaceFirst("^compiler\\.", "");
            keys.add(d.getLineNumber() > 0 ? key + "@" + d.getLineNumber() : key);
        }
        return keys.isEmpty() ? "(none)" : String.join(" ", keys);
    }

    /** The README's table: file name to javac's keys. */
    private static Map<String, String> readme() throws IOException {
        Map<String, String> table = new LinkedHashMap<>();
        for (String line : Files.readAllLines(CORPUS.resolve("README.md"))) {
            String[] cells = line.split("\\|");
            if (cells.length == 3 && cells[1].trim().endsWith(".java")) {
                table.put(cells[1].trim(), cells[2].trim());
            }
        }
        return table;
    }
}
