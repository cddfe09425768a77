package tovin.engine;

import com.google.gson.JsonElement;
import com.google.gson.JsonObject;
import com.google.gson.JsonPrimitive;
import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.util.DocTrees;
import com.sun.source.util.JavacTask;
import com.sun.tools.javac.api.BasicJavacTask;
import com.sun.tools.javac.api.JavacTaskPool;
import com.sun.tools.javac.code.ClassFinder;
import com.sun.tools.javac.code.Symbol;
import com.sun.tools.javac.code.Symtab;
import com.sun.tools.javac.util.Context;
import java.io.IOException;
import java.io.PrintStream;
import java.net.URI;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.HashSet;
import java.util.Iterator;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.Set;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.function.BooleanSupplier;
import java.util.function.Function;
import javax.lang.model.util.Elements;
import javax.lang.model.util.Types;
import javax.tools.JavaCompiler;
import javax.tools.JavaFileObject;
import javax.tools.StandardJavaFileManager;
import javax.tools.StandardLocation;
import javax.tools.ToolProvider;

/**
 * Answers the requests about code under a caret (completion, signature help, hover, definition,
 * references) on a thread of its own, so that none of them waits for a project check, and with a
 * file manager of its own (javac's is not for two threads).
 *
 * <p>javac's state for the JDK (its symbol table of class files read, the module graph) is kept
 * between requests in a {@link JavacTaskPool}: each request is still a task of its own, whose
 * source classes the pool removes afterwards, so answers always reflect the current texts.
 */
final class Assistant {
    /** The protocol's answer for a request dropped because it went stale. */
    static final int REQUEST_CANCELLED = -32800;

    /** How the assistant answers; called from its own thread. */
    interface Replies {
        void answer(JsonPrimitive id, JsonElement result) throws IOException;

        void error(JsonPrimitive id, int code, String message) throws IOException;
    }

    /** A request was made stale while being answered. */
    static final class Cancelled extends RuntimeException {
        private static final long serialVersionUID = 1L;

        Cancelled() {
            super("request cancelled", null, false, false);
        }
    }

    /** A document's text as a request sees it. */
    record Text(String uri, Path path, String text) {
    }

    /** What a worker is given: the task after attribution, and its helpers. */
    record Compilation(JavacTask task, DocTrees trees, Elements elements, Types types,
            List<CompilationUnitTree> units) {
    }

    private final JavaCompiler compiler;
    private final ProjectFileManager fileManager;
    private final PrintStream log;
    private final Documents documents;
    private final Replies replies;
    private final JavacTaskPool pool = new JavacTaskPool(1);
    private final ExecutorService thread = Executors.newSingleThreadExecutor(r -> {
        Thread t = new Thread(r, "tovin-assist");
        t.setDaemon(true);
        return t;
    });
    private final Map<String, Pending> pending = new LinkedHashMap<>();
    private final Settings settings;
    private final List<String> options;
    private boolean listingTypes;
    final TypeIndex typeIndex;
    final SourceDocs docs;

    private static final class Pending {
        final String method;
        final String uri;
        volatile boolean cancelled;

        Pending(String method, String uri) {
            this.method = method;
            this.uri = uri;
        }
    }

    Assistant(Settings settings, Documents documents, Replies replies, PrintStream log) {
        this.compiler = ToolProvider.getSystemJavaCompiler();
        if (compiler == null) {
            throw new IllegalStateException("this Java runtime has no compiler; a JDK is needed");
        }
        this.log = log;
        this.documents = documents;
        this.replies = replies;
        StandardJavaFileManager standard = compiler.getStandardFileManager(null, Locale.ROOT, null);
        this.fileManager = new ProjectFileManager(standard);
        this.settings = settings;
        List<java.nio.file.Path> classes = new ArrayList<>(settings.classPath());
        if (settings.outputDir() != null) {
            classes.add(settings.outputDir());
        }
        try {
            standard.setLocationFromPaths(StandardLocation.CLASS_PATH, classes);
            standard.setLocationFromPaths(StandardLocation.SOURCE_PATH, settings.sourcePath());
        } catch (IOException e) {
            log.println("tovin-engine: the project's paths cannot be used: " + e.getMessage());
        }
        List<String> all = new ArrayList<>(Settings.safeOptions(settings.javacOptions(),
                List.of(compiler, standard), new PrintStream(PrintStream.nullOutputStream())));
        // Attribution, never further, and whatever errors the unfinished text has: the trees'
        // types are what is asked for.
        all.addAll(List.of("-proc:none", "-implicit:none", "-XDshould-stop.ifError=ATTR",
                "-XDshould-stop.ifNoError=ATTR", "-Xlint:none", "-nowarn"));
        this.options = List.copyOf(all);
        this.typeIndex = new TypeIndex(settings, log);
        this.docs = new SourceDocs(settings.cacheDir(), log);
    }

    Settings settings() {
        return settings;
    }

    /** Queues a request; a newer completion of the same document makes older ones stale. */
    void submit(JsonPrimitive id, String method, JsonElement params) {
        String uri = Json.string(Json.object(params, "textDocument"), "uri");
        Pending request = new Pending(method, uri);
        String key = id.toString();
        synchronized (pending) {
            if (method.equals("textDocument/completion") || method.equals("textDocument/signatureHelp")) {
                for (Pending other : pending.values()) {
                    if (other.method.equals(method) && other.uri.equals(uri)) {
                        other.cancelled = true;
                    }
                }
            }
            pending.put(key, request);
        }
        thread.execute(() -> run(id, key, request, params));
    }

    private boolean anyPending() {
        synchronized (pending) {
            return !pending.isEmpty();
        }
    }

    /** {@code $/cancelRequest}: the request is dropped if it has not been answered. */
    void cancel(JsonElement id) {
        synchronized (pending) {
            Pending request = pending.get(id.toString());
            if (request != null) {
                request.cancelled = true;
            }
        }
    }

    /** Warms javac and the JVM for the first request and builds the type index, in the background. */
    void warmUp() {
        thread.execute(() -> {
            try {
                String text = "class TovinWarmUp { void m(java.util.List<String> l) { l.size(); \"\".length(); } }";
                // Given up between javac's steps as soon as a real request waits: what it has
                // loaded by then stays for that request.
                compile(new Text("file:///TovinWarmUp.java", Path.of("/TovinWarmUp.java"), text), this::anyPending,
                        c -> new Completer(this, c, text, 0, false, false).complete(text.indexOf("l.size") + 2));
            } catch (Cancelled e) {
                // a request came first
            } catch (RuntimeException e) {
                log.println("tovin-engine: warming up failed: " + e);
            }
        });
    }

    /**
     * The JDK's type names are wanted only once a name is typed outside a select: they are
     * listed after the first answer rather than beside it, which they would slow.
     */
    private void listTypesSoon() {
        if (!listingTypes) {
            listingTypes = true;
            Thread index = new Thread(typeIndex::jdkTypes, "tovin-type-index");
            index.setDaemon(true);
            index.start();
        }
    }

    /** The pool's counts of contexts (made, reused...), as javac prints them. */
    String poolStatistics() {
        java.io.ByteArrayOutputStream out = new java.io.ByteArrayOutputStream();
        pool.printStatistics(new PrintStream(out, true, java.nio.charset.StandardCharsets.UTF_8));
        return out.toString(java.nio.charset.StandardCharsets.UTF_8);
    }

    void shutdown() {
        thread.shutdownNow();
    }

    private void run(JsonPrimitive id, String key, Pending request, JsonElement params) {
        try {
            if (request.cancelled) {
                replies.error(id, REQUEST_CANCELLED, "the request was cancelled");
                return;
            }
            JsonElement result;
            try {
                result = answer(request.method, params, () -> request.cancelled);
            } catch (Cancelled e) {
                replies.error(id, REQUEST_CANCELLED, "the request was cancelled");
                return;
            } catch (Json.BadMessage | IllegalArgumentException e) {
                replies.error(id, Protocol.INVALID_PARAMS, e.getMessage());
                return;
            } catch (RuntimeException | AssertionError | StackOverflowError e) {
                log.println("tovin-engine: " + request.method + " failed: " + e);
                e.printStackTrace(log);
                replies.error(id, Protocol.INTERNAL_ERROR, "the engine failed: " + e);
                return;
            }
            if (request.cancelled) {
                replies.error(id, REQUEST_CANCELLED, "the request was cancelled");
            } else {
                replies.answer(id, result);
            }
        } catch (IOException e) {
            log.println("tovin-engine: the connection failed: " + e.getMessage());
        } finally {
            synchronized (pending) {
                pending.remove(key);
            }
            listTypesSoon();
        }
    }

    private JsonElement answer(String method, JsonElement params, BooleanSupplier cancelled) {
        JsonObject document = Json.object(params, "textDocument");
        Text text = text(Json.string(document, "uri"));
        JsonObject position = Json.object(params, "position");
        int offset = Documents.offset(text.text(), Json.integer(position, "line"), Json.integer(position, "character"));
        Navigator navigator = new Navigator(this);
        return switch (method) {
            case "textDocument/completion" -> {
                try {
                    yield complete(text, offset, cancelled);
                } catch (RuntimeException | AssertionError e) {
                    if (e instanceof Cancelled || e instanceof Json.BadMessage) {
                        throw e;
                    }
                    // javac's own failure on the unfinished text (its recovery has faults of its
                    // own): the text as it is, without the name put at the caret, may pass.
                    log.println("tovin-engine: completion tried again after javac failed: " + e);
                    String plain = BodyStripper.strip(text.text(), offset);
                    try {
                        yield compile(new Text(text.uri(), text.path(), plain), cancelled,
                                c -> new Completer(this, c, text.text(), offset, true, false).complete(offset));
                    } catch (RuntimeException | AssertionError again) {
                        if (again instanceof Cancelled) {
                            throw again;
                        }
                        yield Completer.empty();
                    }
                }
            }
            case "textDocument/signatureHelp" -> navigator.signatureHelp(text, offset, cancelled);
            case "textDocument/hover" -> navigator.hover(text, offset, cancelled);
            case "textDocument/definition" -> navigator.definition(text, offset, cancelled);
            case "textDocument/references" -> navigator.references(text, offset,
                    Json.flag(params, "context", "includeDeclaration"), cancelled);
            default -> throw new IllegalArgumentException("unknown method " + method);
        };
    }

    /** Completion at the offset: over a lean text first where that is enough, else the whole. */
    private JsonObject complete(Text text, int offset, BooleanSupplier cancelled) {
        boolean stripped = text.text().length() < Checker.MAX_CHARS;
        boolean typed = Completer.prefixStart(text.text(), offset) < offset;
        if (stripped && (typed || Completer.afterDot(text.text(), offset))) {
            // The file's other methods are left out unless the caret's body names them
            // or the typed prefix starts their names: those are all the answer can
            // hold. With no prefix after a dot, most selects are of other classes than
            // the file's; when not, the answer says so and the whole file is used.
            String lean = Completer.prepare(text.text(), offset, true);
            JsonObject list = compile(new Text(text.uri(), text.path(), lean), cancelled,
                    c -> new Completer(this, c, text.text(), offset, true, !typed).complete(offset));
            if (list != null) {
                return list;
            }
        }
        String compiled = stripped ? Completer.prepare(text.text(), offset, false) : text.text();
        return compile(new Text(text.uri(), text.path(), compiled), cancelled,
                c -> new Completer(this, c, text.text(), offset, true, false).complete(offset));
    }

    /** The Java files the client holds open. */
    List<Path> openFiles() {
        List<Path> files = new ArrayList<>();
        for (String uri : documents.all().keySet()) {
            try {
                URI parsed = new URI(uri);
                if ("file".equals(parsed.getScheme()) && uri.endsWith(".java")) {
                    files.add(Path.of(parsed));
                }
            } catch (java.net.URISyntaxException | IllegalArgumentException e) {
                // not a file: nothing javac could read
            }
        }
        return files;
    }

    /** The client's text of an open document, else the file's. */
    Text text(String uri) {
        Path path;
        try {
            URI parsed = new URI(uri);
            if (!"file".equals(parsed.getScheme())) {
                throw new IllegalArgumentException(uri + " is not a file");
            }
            path = Path.of(parsed);
        } catch (java.net.URISyntaxException e) {
            throw new IllegalArgumentException(uri + " is not a URI");
        }
        Documents.Snapshot open = documents.get(uri);
        if (open != null) {
            return new Text(uri, path, open.text());
        }
        try {
            if (Files.size(path) > Checker.MAX_CHARS) {
                throw new IllegalArgumentException(path + " is over 2 MB");
            }
            return new Text(uri, path, Files.readString(path));
        } catch (IOException e) {
            throw new IllegalArgumentException(path + " cannot be read: " + e.getMessage());
        }
    }

    /**
     * Attributes the text as the file's and runs the worker with the task. Project files read
     * from the source path are seen as the editor holds them.
     */
    <T> T compile(Text text, BooleanSupplier cancelled, Function<Compilation, T> worker) {
        return compileAll(List.of(new MemorySource(text.path().toUri(), text.text(), null)), cancelled, worker);
    }

    /** Attributes the files together and runs the worker with the task. */
    <T> T compileAll(List<JavaFileObject> files, BooleanSupplier cancelled, Function<Compilation, T> worker) {
        if (cancelled.getAsBoolean()) {
            throw new Cancelled();
        }
        fileManager.setOpenTexts(openTexts());
        boolean[] stale = new boolean[1];
        try {
            // A request made stale is dropped between javac's steps, never inside one: javac's
            // state would be left half done, and the pool keeps only a context whose task ended.
            T result = pool.getTask(null, fileManager, d -> { }, options, null, files, javac -> {
                List<CompilationUnitTree> units = new ArrayList<>();
                try {
                    for (CompilationUnitTree unit : javac.parse()) {
                        units.add(unit);
                    }
                    if (cancelled.getAsBoolean()) {
                        stale[0] = true;
                        return null;
                    }
                    javac.analyze();
                    if (cancelled.getAsBoolean()) {
                        stale[0] = true;
                        return null;
                    }
                    return worker.apply(new Compilation(javac, DocTrees.instance(javac), javac.getElements(),
                            javac.getTypes(), units));
                } catch (Cancelled e) {
                    stale[0] = true;
                    return null;
                } catch (IOException e) {
                    throw new IllegalArgumentException("the file cannot be read: " + e.getMessage());
                } finally {
                    forgetProjectClasses(javac);
                }
            });
            if (stale[0]) {
                throw new Cancelled();
            }
            return result;
        } finally {
            fileManager.setOpenTexts(Map.of());
        }
    }

    /**
     * Drops the project's classes (those of the unnamed module: its sources and class path) from
     * the pooled compiler's symbol table, packages' member lists included, so that the next task
     * reads them again as they are then. The pool itself drops only the classes of the files a
     * task was given, and would leave a stale class of another file in its package's list.
     */
    private static void forgetProjectClasses(JavacTask task) {
        Context context = ((BasicJavacTask) task).getContext();
        Symtab symbols = Symtab.instance(context);
        List<Symbol.ClassSymbol> project = new ArrayList<>();
        for (Symbol.ClassSymbol c : symbols.getAllClasses()) {
            Symbol.ModuleSymbol module = c.packge().modle;
            if (module == symbols.unnamedModule || module == symbols.noModule) {
                project.add(c);
            }
        }
        Set<Symbol.PackageSymbol> packages = new HashSet<>();
        for (Symbol.ClassSymbol c : project) {
            symbols.removeClass(c.packge().modle, c.flatname);
            packages.add(c.packge());
        }
        if (symbols.unnamedModule.enclosedPackages != null) {
            symbols.unnamedModule.enclosedPackages.forEach(p -> packages.add((Symbol.PackageSymbol) p));
        }
        Symbol.Completer lister = ClassFinder.instance(context).getCompleter();
        for (Symbol.PackageSymbol p : packages) {
            p.members_field = null;
            p.package_info = null;
            p.completer = lister;
        }
    }

    /** The open documents whose text differs from their file's, by file URI. */
    private Map<URI, String> openTexts() {
        Map<URI, String> texts = new HashMap<>();
        for (Iterator<Documents.Snapshot> it = documents.all().values().iterator(); it.hasNext();) {
            Documents.Snapshot snapshot = it.next();
            try {
                Path path = Path.of(new URI(snapshot.uri()));
                if (!Files.isRegularFile(path) || !Files.readString(path).equals(snapshot.text())) {
                    texts.put(path.toUri(), snapshot.text());
                }
            } catch (Exception e) {
                // not a file's document: javac never reads it
            }
        }
        return texts;
    }
}
