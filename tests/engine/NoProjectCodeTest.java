package tovin.engine;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.google.gson.JsonObject;
import java.io.File;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.stream.Stream;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/**
 * A project whose class path holds a jar with an annotation processor, and whose javac switches
 * name another by -processorpath (with a compiler plug-in, a JVM option and an argument file
 * besides): javac run by hand runs both processors, the engine's checks run neither and write
 * nothing.
 */
class NoProjectCodeTest {
    @TempDir
    static Path root;
    static Path project;
    static Path classPathJar;
    static Path processorPathJar;

    @BeforeAll
    static void buildFixture() throws Exception {
        project = Files.createDirectories(root.resolve("project"));
        Files.createDirectories(project.resolve("src"));
        Files.createDirectories(project.resolve("classes"));
        Files.writeString(project.resolve("src/App.java"), """
                public class App {
                    int broken() {
                        return "text";
                    }
                }
                """);
        Files.writeString(project.resolve("src/Fine.java"), "public class Fine {\n}\n");
        Files.writeString(project.resolve("args.txt"), "-processorpath " + root.resolve("anything.jar") + "\n");
        classPathJar = processorJar("OnClassPath", root.resolve("marker-class-path"));
        processorPathJar = processorJar("OnProcessorPath", root.resolve("marker-processor-path"));
    }

    /** A jar whose processor, when javac loads it, writes the marker file. */
    private static Path processorJar(String name, Path marker) throws Exception {
        Path sources = Files.createDirectories(root.resolve(name + "-src"));
        Path classes = Files.createDirectories(root.resolve(name + "-classes"));
        Files.writeString(sources.resolve(name + ".java"), """
                import java.nio.file.*;
                import java.util.Set;
                import javax.annotation.processing.*;
                import javax.lang.model.SourceVersion;
                import javax.lang.model.element.TypeElement;

                @SupportedAnnotationTypes("*")
                public class %1$s extends AbstractProcessor {
                    @Override
                    public synchronized void init(ProcessingEnvironment environment) {
                        super.init(environment);
                        try {
                            Files.writeString(Path.of("%2$s"), "ran");
                        } catch (java.io.IOException e) {
                            throw new RuntimeException(e);
                        }
                    }

                    @Override
                    public SourceVersion getSupportedSourceVersion() {
                        return SourceVersion.latestSupported();
                    }

                    @Override
                    public boolean process(Set<? extends TypeElement> types, RoundEnvironment round) {
                        return false;
                    }
                }
                """.formatted(name, marker));
        run(List.of(tool("javac"), "-d", classes.toString(), sources.resolve(name + ".java").toString()));
        Path services = Files.createDirectories(classes.resolve("META-INF/services"));
        Files.writeString(services.resolve("javax.annotation.processing.Processor"), name + "\n");
        Path jar = root.resolve(name + ".jar");
        run(List.of(tool("jar"), "cf", jar.toString(), "-C", classes.toString(), "."));
        return jar;
    }

    @Test
    void javacByHandRunsBothProcessors() throws Exception {
        Path out = Files.createDirectories(root.resolve("by-hand"));
        Path source = project.resolve("src/App.java");
        run(List.of(tool("javac"), "-cp", classPathJar.toString(), "-d", out.toString(), source.toString()));
        run(List.of(tool("javac"), "-processorpath", processorPathJar.toString(), "-d", out.toString(),
                source.toString()));
        assertTrue(Files.exists(root.resolve("marker-class-path")), "the class path's processor ran");
        assertTrue(Files.exists(root.resolve("marker-processor-path")), "the named processor ran");
        Files.delete(root.resolve("marker-class-path"));
        Files.delete(root.resolve("marker-processor-path"));
    }

    @Test
    void checksAndAssistRunNoProcessorAndWriteNothing() throws Exception {
        List<String> before = listing(root);
        Path source = project.resolve("src/App.java").toAbsolutePath();
        String uri = EngineSession.uri(source);
        try (EngineSession session = EngineSession.initialized(false,
                "--source-path", project.resolve("src").toString(),
                "--class-path", classPathJar.toString(),
                "--output", project.resolve("classes").toString(),
                "--javac-option", "-processorpath", "--javac-option", processorPathJar.toString(),
                "--javac-option", "-processor", "--javac-option", "OnProcessorPath",
                "--javac-option", "--processor-module-path", "--javac-option", processorPathJar.toString(),
                "--javac-option", "-Xplugin:Anything", "--javac-option", "-J-Dx=y",
                "--javac-option", "-proc:full",
                "--javac-option", "@" + project.resolve("args.txt"),
                "--javac-option", "-Xlint:all",
                "--project-file", source.toString(),
                "--project-file", project.resolve("src/Fine.java").toString())) {
            JsonObject first = session.awaitDiagnostics(uri, null);
            assertEquals(1, first.getAsJsonArray("diagnostics").size(), "the project file was checked");
            // A file without errors is where javac would go on to write its class.
            JsonObject fine = session.awaitDiagnostics(EngineSession.uri(project.resolve("src/Fine.java")), null);
            assertEquals(0, fine.getAsJsonArray("diagnostics").size());

            String text = Files.readString(source);
            session.open(source, text, 1);
            session.awaitDiagnostics(uri, 1);
            session.notify("textDocument/didChange", Map.of("textDocument", Map.of("uri", uri, "version", 2),
                    "contentChanges", List.of(Map.of("range", Map.of("start", Map.of("line", 2, "character", 15),
                            "end", Map.of("line", 2, "character", 21)), "text", "42"))));
            JsonObject fixed = session.awaitDiagnostics(uri, 2);
            assertEquals(0, fixed.getAsJsonArray("diagnostics").size(), "the edit was checked");

            // Completion and navigation compile the project's files too.
            for (String method : List.of("textDocument/completion", "textDocument/hover", "textDocument/definition",
                    "textDocument/signatureHelp", "textDocument/references")) {
                JsonObject answer = session.request(method, Map.of("textDocument", Map.of("uri", uri),
                        "position", Map.of("line", 2, "character", 10), "context", Map.of("includeDeclaration", true)));
                assertTrue(answer.has("result"), method + ": " + answer);
            }
        }
        assertFalse(Files.exists(root.resolve("marker-class-path")), "the class path's processor ran");
        assertFalse(Files.exists(root.resolve("marker-processor-path")), "the named processor ran");
        assertEquals(before, listing(root), "the engine wrote files");
    }

    private static List<String> listing(Path folder) throws IOException {
        try (Stream<Path> files = Files.walk(folder)) {
            return files.map(Path::toString).sorted().toList();
        }
    }

    static String tool(String name) {
        return Path.of(System.getProperty("java.home"), "bin", name).toString();
    }

    static void run(List<String> command) throws Exception {
        Process process = new ProcessBuilder(new ArrayList<>(command)).redirectErrorStream(true)
                .redirectOutput(ProcessBuilder.Redirect.appendTo(new File(root.resolve("tools.log").toString())))
                .start();
        process.waitFor();
    }
}
