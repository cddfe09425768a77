package tovin.engine;

import static org.junit.jupiter.api.Assertions.assertEquals;

import com.google.gson.JsonParser;
import java.io.PrintStream;
import java.nio.file.Path;
import java.util.Arrays;
import java.util.List;
import java.util.stream.Stream;
import javax.tools.JavaCompiler;
import javax.tools.OptionChecker;
import javax.tools.ToolProvider;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/** The project's javac switches as checks use them, and where the settings come from. */
class SettingsTest {
    private static final PrintStream QUIET = new PrintStream(PrintStream.nullOutputStream());
    private static final JavaCompiler COMPILER = ToolProvider.getSystemJavaCompiler();
    private static final List<OptionChecker> JAVAC =
            List.of(COMPILER, COMPILER.getStandardFileManager(null, null, null));

    static Stream<Arguments> switches() {
        return Stream.of(
                Arguments.of("lint, encoding and release are kept", "-Xlint:all -encoding UTF-8 --release 11 -g",
                        "-Xlint:all -encoding UTF-8 --release 11 -g"),
                Arguments.of("processors and their paths go with their arguments",
                        "-processor a.B -processorpath p.jar --processor-path p.jar --processor-module-path m -g",
                        "-g"),
                Arguments.of("the joined form of a path switch", "--processor-path=p.jar -nowarn", "-nowarn"),
                Arguments.of("plug-ins, JVM options and argument files", "-Xplugin:Tool x -J-Xmx9g @args -nowarn",
                        "-nowarn"),
                Arguments.of("processing and implicit-compilation modes are the engine's", "-proc:only -implicit:class",
                        ""),
                Arguments.of("output folders and paths are the engine's", "-d out -s gen -h hdr -cp a.jar -sourcepath s",
                        ""),
                Arguments.of("a stop policy cannot make javac generate", "-XDshould-stop.ifNoError=GENERATE", ""),
                Arguments.of("unknown switches and a switch without its argument", "-bogus -nowarn -encoding",
                        "-nowarn"));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("switches")
    void onlySwitchesThatRunNoCodeAndWriteNothingAreUsed(String name, String given, String kept) {
        List<String> options = given.isEmpty() ? List.of() : Arrays.asList(given.split(" "));
        assertEquals(kept, String.join(" ", Settings.safeOptions(options, JAVAC, QUIET)));
    }

    @Test
    void initializationOptionsReplaceTheCommandLines() {
        Settings fromCommandLine = Settings.parse(new String[] {"--source-path", "/a:/b", "--class-path", "/c.jar",
            "--javac-option", "-g", "--project-file", "/a/A.java", "--output", "/out"}, QUIET);
        assertEquals(List.of(Path.of("/a"), Path.of("/b")), fromCommandLine.sourcePath());
        Settings replaced = fromCommandLine.withInitializationOptions(JsonParser.parseString(
                "{\"sourcePath\": \"/s\", \"javacOptions\": [\"-nowarn\"], \"projectFiles\": []}").getAsJsonObject());
        assertEquals(List.of(Path.of("/s")), replaced.sourcePath());
        assertEquals(List.of(Path.of("/c.jar")), replaced.classPath());
        assertEquals(Path.of("/out"), replaced.outputDir());
        assertEquals(List.of("-nowarn"), replaced.javacOptions());
        assertEquals(List.of(), replaced.projectFiles());
    }
}
