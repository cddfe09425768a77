package tovin.engine;

import com.google.gson.JsonArray;
import com.google.gson.JsonElement;
import com.google.gson.JsonObject;
import java.io.PrintStream;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Set;
import javax.tools.OptionChecker;

/**
 * What the engine knows of the project: where its sources and classes are, its javac switches
 * and its files. Given on the command line or in initialize's initializationOptions.
 *
 * <p>Checking a project must never run the project's code: a project may be someone else's
 * download. So every switch that makes javac load code (annotation processors and their paths,
 * compiler plug-ins, options for a JVM, argument files that could name any of these) is removed,
 * along with those that write files or that the engine sets itself.
 */
record Settings(List<Path> sourcePath, List<Path> classPath, Path outputDir, List<String> javacOptions,
        List<Path> projectFiles, Path cacheDir) {

    /** Switches dropped together with the argument that follows them. */
    private static final Set<String> DROPPED_WITH_ARGUMENT = Set.of("-processor", "-processorpath",
            "--processor-path", "--processor-module-path", "-d", "-s", "-h", "-cp", "-classpath",
            "--class-path", "-sourcepath", "--source-path");

    static Settings parse(String[] args, PrintStream log) {
        List<Path> sourcePath = List.of();
        List<Path> classPath = List.of();
        Path outputDir = null;
        List<String> options = new ArrayList<>();
        List<Path> files = new ArrayList<>();
        Path cache = null;
        for (int i = 0; i < args.length; i++) {
            String name = args[i];
            if (i + 1 >= args.length) {
                log.println("tovin-engine: " + name + " without a value ignored");
                break;
            }
            String value = args[++i];
            switch (name) {
                case "--source-path" -> sourcePath = paths(value);
                case "--class-path" -> classPath = paths(value);
                case "--output" -> outputDir = value.isEmpty() ? null : Path.of(value);
                case "--javac-option" -> options.add(value);
                case "--project-file" -> files.add(Path.of(value));
                case "--cache" -> cache = Path.of(value);
                default -> {
                    log.println("tovin-engine: unknown option " + name + " ignored");
                    i--;
                }
            }
        }
        return new Settings(sourcePath, classPath, outputDir, List.copyOf(options), List.copyOf(files), cache);
    }

    /** These settings with those initialize's options give put in their place. */
    Settings withInitializationOptions(JsonObject given) {
        if (given == null) {
            return this;
        }
        String source = Json.optionalString(given, "sourcePath");
        String classes = Json.optionalString(given, "classPath");
        String output = Json.optionalString(given, "outputDir");
        List<String> options = strings(given.get("javacOptions"));
        List<String> files = strings(given.get("projectFiles"));
        return new Settings(source != null ? paths(source) : sourcePath,
                classes != null ? paths(classes) : classPath,
                output != null ? (output.isEmpty() ? null : Path.of(output)) : outputDir,
                options != null ? options : javacOptions,
                files != null ? files.stream().map(Path::of).toList() : projectFiles, cacheDir);
    }

    /**
     * The project's switches that are safe to give javac: those that load or run code, write
     * files or set what the engine sets are dropped (each named on the log), as are those javac
     * does not know, which would otherwise fail every check.
     */
    static List<String> safeOptions(List<String> given, List<OptionChecker> javac, PrintStream log) {
        List<String> safe = new ArrayList<>();
        for (int i = 0; i < given.size(); i++) {
            String option = given.get(i);
            String name = option.contains("=") ? option.substring(0, option.indexOf('=')) : option;
            if (DROPPED_WITH_ARGUMENT.contains(name)) {
                if (!option.contains("=")) {
                    i++;
                }
                log.println("tovin-engine: javac switch " + name + " is not used for checks");
                continue;
            }
            if (option.startsWith("@") || option.startsWith("-J") || option.startsWith("-Xplugin")
                    || option.startsWith("-proc:") || option.startsWith("-implicit:")
                    || option.startsWith("-XDshould-stop") || option.startsWith("--should-stop")) {
                log.println("tovin-engine: javac switch " + option + " is not used for checks");
                continue;
            }
            // javac's own switches, and its file manager's (-encoding, the paths).
            int arguments = javac.stream().mapToInt(c -> c.isSupportedOption(option)).max().orElse(-1);
            if (arguments < 0 || i + arguments >= given.size()) {
                log.println("tovin-engine: javac switch " + option + " is unknown to javac and not used");
                continue;
            }
            for (int k = 0; k <= arguments; k++) {
                safe.add(given.get(i + k));
            }
            i += arguments;
        }
        return safe;
    }

    private static List<Path> paths(String list) {
        List<Path> paths = new ArrayList<>();
        for (String part : list.split(":")) {
            if (!part.isEmpty()) {
                paths.add(Path.of(part));
            }
        }
        return List.copyOf(paths);
    }

    private static List<String> strings(JsonElement value) {
        if (value == null || !value.isJsonArray()) {
            return null;
        }
        List<String> strings = new ArrayList<>();
        for (JsonElement item : (JsonArray) value) {
            if (item.isJsonPrimitive() && item.getAsJsonPrimitive().isString()) {
                strings.add(item.getAsString());
            }
        }
        return List.copyOf(strings);
    }
}
