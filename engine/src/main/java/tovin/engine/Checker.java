package tovin.engine;

import com.sun.source.util.JavacTask;
import com.sun.source.util.TaskEvent;
import com.sun.source.util.TaskListener;
import com.sun.tools.javac.api.BasicJavacTask;
import com.sun.tools.javac.api.ClientCodeWrapper;
import com.sun.tools.javac.util.Context;
import com.sun.tools.javac.util.DiagnosticSource;
import com.sun.tools.javac.util.JCDiagnostic;
import com.sun.tools.javac.util.JavacMessages;
import com.sun.tools.javac.util.Log;
import java.io.IOException;
import java.io.PrintStream;
import java.net.URI;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.HashMap;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.function.BooleanSupplier;
import javax.tools.Diagnostic;
import javax.tools.DiagnosticListener;
import javax.tools.JavaCompiler;
import javax.tools.JavaFileObject;
import javax.tools.StandardJavaFileManager;
import javax.tools.StandardLocation;
import javax.tools.ToolProvider;

/**
 * Compiles files as far as javac's flow analysis, never further, and turns javac's diagnostics
 * into the protocol's. One check at a time (javac's file manager is not for two threads).
 *
 * <p>What is kept between checks is the file manager, which holds the JDK's module image and
 * the class path's archives open and indexed. Each check is a fresh javac task, so its answers
 * are javac's own. The files a checked file uses are read from the source path for their
 * declarations only (javac's {@code -implicit:none}): their bodies are not the checked file's
 * concern, and attributing them would make a check cost the project instead of the file.
 */
final class Checker {
    /** Files larger than this are not checked: javac would take seconds, and they are seldom Java written by hand. */
    static final int MAX_CHARS = 2 << 20;

    /** A file to check: its text is the editor's when {@code text} is set, else the file on disk. */
    record Source(String uri, Path path, String text, Integer version) {
    }

    /** A check's answer for one file. */
    record Result(String uri, Integer version, List<Protocol.Diagnostic> diagnostics) {
    }

    /** The check was cancelled because a newer one makes it stale. */
    static final class Cancelled extends RuntimeException {
        private static final long serialVersionUID = 1L;

        Cancelled() {
            super("check cancelled", null, false, false);
        }
    }

    private final JavaCompiler compiler;
    private final ProjectFileManager fileManager;
    private final PrintStream log;
    private List<String> options;
    private Map<URI, String> unsavedOthers = Map.of();

    Checker(Settings settings, PrintStream log) {
        this.compiler = ToolProvider.getSystemJavaCompiler();
        if (compiler == null) {
            throw new IllegalStateException("this Java runtime has no compiler; a JDK is needed");
        }
        this.log = log;
        StandardJavaFileManager standard = compiler.getStandardFileManager(null, Locale.getDefault(), null);
        this.fileManager = new ProjectFileManager(standard);
        configure(settings);
    }

    /** New project settings for the following checks. */
    synchronized void configure(Settings settings) {
        List<Path> classes = new ArrayList<>(settings.classPath());
        if (settings.outputDir() != null) {
            classes.add(settings.outputDir());
        }
        try {
            fileManager.standard().setLocationFromPaths(StandardLocation.CLASS_PATH, classes);
            fileManager.standard().setLocationFromPaths(StandardLocation.SOURCE_PATH, settings.sourcePath());
        } catch (IOException e) {
            log.println("tovin-engine: the project's paths cannot be used: " + e.getMessage());
        }
        List<String> all = new ArrayList<>(
                Settings.safeOptions(settings.javacOptions(), List.of(compiler, fileManager.standard()), log));
        // No annotation processing: a processor is the project's code. And no work past flow
        // analysis: javac then reports everything it can find wrong, and nothing is generated.
        all.addAll(List.of("-proc:none", "-implicit:none", "-XDshould-stop.ifNoError=FLOW"));
        options = List.copyOf(all);
    }

    /**
     * The open documents' texts by file URI: javac reads those that differ from their files in
     * place of the files.
     */
    void setOpenTexts(Map<URI, String> texts) {
        Map<URI, String> unsaved = new HashMap<>();
        texts.forEach((uri, text) -> {
            try {
                Path file = Path.of(uri);
                if (!Files.isRegularFile(file) || Files.size(file) > MAX_CHARS
                        || !Files.readString(file).equals(text)) {
                    unsaved.put(uri, text);
                }
            } catch (IOException | RuntimeException e) {
                unsaved.put(uri, text);
            }
        });
        fileManager.setOpenTexts(unsaved);
        unsavedOthers = unsaved;
    }

    /**
     * Checks the files together and returns each one's diagnostics in javac's order. Throws
     * {@link Cancelled} as soon as javac passes a step after {@code cancelled} turns true.
     */
    synchronized List<Result> check(List<Source> sources, BooleanSupplier cancelled) {
        List<Result> results = new ArrayList<>();
        Map<URI, Target> targets = new LinkedHashMap<>();
        for (Source source : sources) {
            Target target = target(source);
            if (target == null) {
                results.add(new Result(source.uri(), source.version(), List.of()));
            } else {
                targets.put(target.file.toUri(), target);
            }
        }
        if (targets.isEmpty()) {
            return results;
        }
        List<JavaFileObject> files = targets.values().stream().map(t -> t.file).toList();
        List<Reported> found = new ArrayList<>();
        boolean othersUnsaved = unsavedOthers.keySet().stream().anyMatch(uri -> !targets.containsKey(uri));
        Context[] context = new Context[1];
        DiagnosticListener<JavaFileObject> listener = d -> found.add(new Reported(d, message(d, context[0])));
        JavacTask task = (JavacTask) compiler.getTask(null, othersUnsaved ? fileManager : fileManager.standard(),
                listener, options, null, files);
        context[0] = ((BasicJavacTask) task).getContext();
        task.addTaskListener(new TaskListener() {
            @Override
            public void started(TaskEvent e) {
                if (cancelled.getAsBoolean()) {
                    throw new Cancelled();
                }
            }
        });
        try {
            // The whole compilation as javac's command runs it, so that its answers are the
            // command's: it stops after parsing when the parser found errors, and it adds its
            // deferred notes ("uses unchecked or unsafe operations") at the end. The stop policy
            // above ends it before anything is generated.
            task.call();
        } catch (RuntimeException e) {
            for (Throwable cause = e; cause != null; cause = cause.getCause()) {
                if (cause instanceof Cancelled) {
                    throw (Cancelled) cause;
                }
            }
            throw e;
        }
        for (Reported reported : found) {
            Diagnostic<? extends JavaFileObject> d = reported.diagnostic();
            Target target = d.getSource() == null ? null : targets.get(d.getSource().toUri());
            if (target != null) {
                target.diagnostics.add(convert(d, reported.message(), target.lineStarts()));
            } else if (d.getSource() == null && targets.size() == 1) {
                // A note of javac's about the whole compilation, which here is this one file.
                targets.values().iterator().next().diagnostics.add(convert(d, reported.message(), null));
            }
        }
        for (Target target : targets.values()) {
            results.add(new Result(target.source.uri(), target.source.version(), target.diagnostics));
        }
        return results;
    }

    private Target target(Source source) {
        try {
            JavaFileObject file;
            if (source.text() != null) {
                if (source.text().length() > MAX_CHARS) {
                    log.println("tovin-engine: " + source.uri() + " is over 2 MB and not checked");
                    return null;
                }
                file = new MemorySource(source.path().toUri(), source.text(), null);
            } else {
                if (!Files.isRegularFile(source.path()) || Files.size(source.path()) > MAX_CHARS) {
                    log.println("tovin-engine: " + source.path() + " is not a readable file of at most 2 MB");
                    return null;
                }
                file = fileManager.standard().getJavaFileObjects(source.path()).iterator().next();
            }
            return new Target(source, file);
        } catch (IOException | RuntimeException e) {
            log.println("tovin-engine: " + source.uri() + " cannot be checked: " + e);
            return null;
        }
    }

    /** A diagnostic and its message, formatted while javac's compilation that reported it was alive. */
    private record Reported(Diagnostic<? extends JavaFileObject> diagnostic, String message) {
    }

    /**
     * The diagnostic's message as the javac command prints it. The API's own message is the raw
     * one, with every class named in full and without the lint category or the "where T is a
     * type-variable:" clauses; the command prints its log's formatter's text instead, and users
     * compare the two. It is taken when javac reports the diagnostic, because the formatter
     * reads the compilation's names and types, which javac disposes of at the end.
     */
    private static String message(Diagnostic<? extends JavaFileObject> d, Context context) {
        JCDiagnostic jc = d instanceof ClientCodeWrapper.DiagnosticSourceUnwrapper w ? w.d
                : d instanceof JCDiagnostic j ? j : null;
        Locale locale = Locale.getDefault();
        if (jc == null || context == null) {
            return d.getMessage(locale);
        }
        try {
            return formatted(jc, context, locale);
        } catch (RuntimeException e) {
            // A formatter's fault must not lose the diagnostic: its raw text says the same.
            return d.getMessage(locale);
        }
    }

    private static String formatted(JCDiagnostic jc, Context context, Locale locale) {
        var formatter = Log.instance(context).getDiagnosticFormatter();
        String message = formatter.formatMessage(jc, locale);
        if (jc.getLintCategory() != null) {
            message = JavacMessages.instance(context).getLocalizedString(locale, "compiler.warn.lintOption",
                    jc.getLintCategory().option) + message;
        }
        // The whole printed diagnostic is the position, the message with the source line and
        // its caret line after the message's first line, and then the where clauses: what
        // follows those lines is the clauses.
        String[] printed = formatter.format(jc, locale).split("\n", -1);
        int skipped = message.split("\n", -1).length;
        if (formatter.displaySource(jc)) {
            DiagnosticSource source = jc.getDiagnosticSource();
            boolean hasLine = source != null && source.getLine((int) jc.getPosition()) != null;
            skipped += hasLine ? 2 : 1;
        }
        StringBuilder text = new StringBuilder(message);
        for (int i = skipped; i < printed.length; i++) {
            text.append('\n').append(printed[i]);
        }
        return text.toString();
    }

    private static Protocol.Diagnostic convert(Diagnostic<? extends JavaFileObject> d, String message,
            int[] lineStarts) {
        int severity = switch (d.getKind()) {
            case ERROR -> Protocol.SEVERITY_ERROR;
            case WARNING, MANDATORY_WARNING -> Protocol.SEVERITY_WARNING;
            default -> Protocol.SEVERITY_INFORMATION;
        };
        Protocol.Position start = new Protocol.Position(0, 0);
        Protocol.Position end = start;
        Protocol.Place place = new Protocol.Place(0, 0);
        if (lineStarts != null && d.getPosition() != Diagnostic.NOPOS) {
            long first = d.getStartPosition() != Diagnostic.NOPOS ? d.getStartPosition() : d.getPosition();
            long last = d.getEndPosition() != Diagnostic.NOPOS ? d.getEndPosition() : first + 1;
            start = position(lineStarts, first);
            end = position(lineStarts, Math.max(first, last));
            Protocol.Position preferred = position(lineStarts, d.getPosition());
            place = new Protocol.Place(preferred.line() + 1, preferred.character() + 1);
        }
        return new Protocol.Diagnostic(new Protocol.Range(start, end), severity, d.getCode(), "javac",
                message, place);
    }

    private static Protocol.Position position(int[] lineStarts, long offset) {
        int line = Arrays.binarySearch(lineStarts, (int) Math.min(offset, Integer.MAX_VALUE));
        if (line < 0) {
            line = -line - 2;
        }
        return new Protocol.Position(line, (int) (offset - lineStarts[line]));
    }

    /** A file being checked, the text javac read and the diagnostics found in it. */
    private static final class Target {
        final Source source;
        final JavaFileObject file;
        final List<Protocol.Diagnostic> diagnostics = new ArrayList<>();
        private int[] lineStarts;

        Target(Source source, JavaFileObject file) {
            this.source = source;
            this.file = file;
        }

        int[] lineStarts() {
            if (lineStarts == null) {
                String text;
                try {
                    text = file.getCharContent(true).toString();
                } catch (IOException e) {
                    text = "";
                }
                List<Integer> starts = new ArrayList<>(List.of(0));
                for (int at = Documents.nextLine(text, 0); at >= 0; at = Documents.nextLine(text, at)) {
                    starts.add(at);
                }
                lineStarts = starts.stream().mapToInt(Integer::intValue).toArray();
            }
            return lineStarts;
        }
    }
}
