package tovin.engine;

import com.google.gson.JsonArray;
import com.google.gson.JsonElement;
import com.google.gson.JsonNull;
import com.google.gson.JsonObject;
import com.google.gson.JsonPrimitive;
import com.sun.management.HotSpotDiagnosticMXBean;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.io.PrintStream;
import java.lang.management.ManagementFactory;
import java.net.URI;
import java.nio.file.Path;
import java.util.ArrayDeque;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.LinkedHashMap;
import java.util.LinkedHashSet;
import java.util.List;
import java.util.Map;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.TimeUnit;

/**
 * The engine's language server over standard input and output. The reader thread parses and
 * answers messages at once; checks run on a thread of their own, so that an edit is taken in
 * (and can cancel a check it makes stale) while javac works.
 *
 * <p>Usage: {@code java -cp tovin-engine.jar:gson.jar tovin.engine.Server [--source-path P]
 * [--class-path P] [--output DIR] [--javac-option OPT]... [--project-file F]... [--cache DIR]}
 */
public final class Server {
    /**
     * Project files checked in one javac task: enough to share its work, few enough to answer
     * soon and to keep the compiler's trees small. The first batch is smaller still, so that the
     * first answers come while the JVM is still warming up.
     */
    static final int BATCH = 16;
    static final int FIRST_BATCH = 1;
    private static final String PROGRESS_TOKEN = "tovin/check";

    private final Transport transport;
    private final PrintStream log;
    private final Documents documents = new Documents();
    private final ExecutorService checks = Executors.newSingleThreadExecutor(r -> {
        Thread thread = new Thread(r, "tovin-check");
        thread.setDaemon(true);
        return thread;
    });
    private Settings settings;
    private Checker checker;
    private Assistant assistant;
    private boolean initialized;
    private boolean shutDown;
    private boolean reportProgress;
    private volatile boolean closed;

    // The check queue, guarded by itself: open documents first, then batches of project files.
    private final Object queue = new Object();
    private final LinkedHashSet<String> dirty = new LinkedHashSet<>();
    private final ArrayDeque<List<Path>> batches = new ArrayDeque<>();
    private boolean working;
    private boolean checkedProject;
    private String running;
    private volatile boolean cancelRunning;
    private final Map<String, int[]> counts = new HashMap<>();

    Server(InputStream in, OutputStream out, PrintStream log, Settings settings) {
        this.transport = new Transport(in, out, log);
        this.log = log;
        this.settings = settings;
    }

    public static void main(String[] args) {
        PrintStream log = System.err;
        keepHeapTight(log);
        Settings settings = Settings.parse(args, log);
        System.exit(new Server(System.in, System.out, log, settings).run());
    }

    /**
     * The engine runs beside the editor for hours and its work comes in bursts: the heap is
     * kept close to what is live (the JVM's default keeps up to twice that) and returned after
     * a burst, for a small cost in more frequent young collections.
     */
    private static void keepHeapTight(PrintStream log) {
        try {
            HotSpotDiagnosticMXBean vm = ManagementFactory.getPlatformMXBean(HotSpotDiagnosticMXBean.class);
            vm.setVMOption("MinHeapFreeRatio", "10");
            vm.setVMOption("MaxHeapFreeRatio", "25");
        } catch (RuntimeException e) {
            log.println("tovin-engine: the heap's free ratios stay the JVM's: " + e.getMessage());
        }
    }

    /** Serves until {@code exit} or the end of the input; the process's exit code. */
    int run() {
        try {
            while (true) {
                JsonObject message = transport.read();
                if (message == null) {
                    return shutDown ? 0 : 1;
                }
                Integer code = dispatch(message);
                if (code != null) {
                    return code;
                }
            }
        } catch (Transport.OversizedMessage e) {
            log.println("tovin-engine: closing the connection: " + e.getMessage());
            return 1;
        } catch (IOException e) {
            log.println("tovin-engine: the connection failed: " + e.getMessage());
            return 1;
        } finally {
            closed = true;
            checks.shutdownNow();
            if (assistant != null) {
                assistant.shutdown();
            }
            try {
                checks.awaitTermination(5, TimeUnit.SECONDS);
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
            }
        }
    }

    /** Handles one message; the exit code when it ends the session. */
    private Integer dispatch(JsonObject message) throws IOException {
        String method = Json.optionalString(message, "method");
        JsonPrimitive id = Json.id(message);
        if (method == null) {
            return null; // an answer to one of our requests (progress tokens): nothing to do
        }
        JsonElement params = message.get("params");
        if (message.has("id")) {
            if (id == null) {
                log.println("tovin-engine: a request without a usable id was dropped: " + method);
                return null;
            }
            try {
                request(id, method, params);
            } catch (RuntimeException e) {
                log.println("tovin-engine: " + method + " failed: " + e);
                e.printStackTrace(log);
                error(id, Protocol.INTERNAL_ERROR, "the engine failed: " + e);
            }
            return null;
        }
        if (method.equals("exit")) {
            return shutDown ? 0 : 1;
        }
        if (!initialized && !method.equals("initialized")) {
            return null;
        }
        try {
            notification(method, params);
        } catch (Json.BadMessage e) {
            log.println("tovin-engine: " + method + " dropped: " + e.getMessage());
        } catch (RuntimeException e) {
            log.println("tovin-engine: " + method + " failed: " + e);
            e.printStackTrace(log);
        }
        return null;
    }

    private void request(JsonPrimitive id, String method, JsonElement params) throws IOException {
        if (checker == null && !method.equals("initialize")) {
            error(id, Protocol.SERVER_NOT_INITIALIZED, "the server is not initialized");
            return;
        }
        if (shutDown) {
            error(id, Protocol.INVALID_REQUEST, "the server is shut down");
            return;
        }
        try {
            switch (method) {
                case "initialize" -> initialize(id, params);
                case "shutdown" -> {
                    shutDown = true;
                    answer(id, null);
                }
                case "textDocument/completion", "textDocument/signatureHelp", "textDocument/hover",
                        "textDocument/definition", "textDocument/references" -> {
                    if (assistant == null) {
                        error(id, Protocol.INTERNAL_ERROR, "completion and navigation are off in this engine");
                    } else {
                        assistant.submit(id, method, params);
                    }
                }
                default -> error(id, Protocol.METHOD_NOT_FOUND, "unknown method " + method);
            }
        } catch (Json.BadMessage | IllegalArgumentException e) {
            error(id, Protocol.INVALID_PARAMS, e.getMessage());
        }
    }

    private void initialize(JsonPrimitive id, JsonElement params) throws IOException {
        if (checker != null) {
            error(id, Protocol.INVALID_REQUEST, "the server is already initialized");
            return;
        }
        settings = settings.withInitializationOptions(Json.optionalObject(params, "initializationOptions"));
        reportProgress = Json.flag(params, "capabilities", "window", "workDoneProgress");
        try {
            checker = new Checker(settings, log);
        } catch (IllegalStateException e) {
            error(id, Protocol.INTERNAL_ERROR, e.getMessage());
            return;
        }
        try {
            assistant = new Assistant(settings, documents, new Assistant.Replies() {
                @Override
                public void answer(JsonPrimitive id, JsonElement result) throws IOException {
                    Server.this.answer(id, result);
                }

                @Override
                public void error(JsonPrimitive id, int code, String message) throws IOException {
                    Server.this.error(id, code, message);
                }
            }, log);
        } catch (LinkageError | IllegalStateException e) {
            // javac's internals are not open to the engine (its JVM lacks the --add-exports):
            // checks still work, but completion and navigation are not offered.
            log.println("tovin-engine: completion and navigation are off: " + e);
        }
        JsonObject sync = new JsonObject();
        sync.addProperty("openClose", true);
        sync.addProperty("change", 2);
        sync.add("save", new JsonObject());
        JsonObject capabilities = new JsonObject();
        capabilities.add("textDocumentSync", sync);
        if (assistant != null) {
            addAssistCapabilities(capabilities);
        }
        JsonObject info = new JsonObject();
        info.addProperty("name", "tovin-engine");
        JsonObject result = new JsonObject();
        result.add("capabilities", capabilities);
        result.add("serverInfo", info);
        answer(id, result);
    }

    private static void addAssistCapabilities(JsonObject capabilities) {
        JsonObject completion = new JsonObject();
        completion.add("triggerCharacters", strings("."));
        completion.addProperty("resolveProvider", false);
        capabilities.add("completionProvider", completion);
        JsonObject signatures = new JsonObject();
        signatures.add("triggerCharacters", strings("(", ","));
        signatures.add("retriggerCharacters", strings(","));
        capabilities.add("signatureHelpProvider", signatures);
        capabilities.addProperty("hoverProvider", true);
        capabilities.addProperty("definitionProvider", true);
        capabilities.addProperty("referencesProvider", true);
    }

    private static JsonArray strings(String... values) {
        JsonArray array = new JsonArray();
        for (String value : values) {
            array.add(value);
        }
        return array;
    }

    private void notification(String method, JsonElement params) throws IOException {
        switch (method) {
            case "initialized" -> {
                if (checker == null || initialized) {
                    return;
                }
                initialized = true;
                if (reportProgress) {
                    transport.write(new Protocol.Request("tovin-progress", "window/workDoneProgress/create",
                            Map.of("token", PROGRESS_TOKEN)));
                }
                List<Path> files = settings.projectFiles();
                synchronized (queue) {
                    for (int i = 0; i < files.size(); i += i == 0 ? FIRST_BATCH : BATCH) {
                        int end = Math.min(files.size(), i + (i == 0 ? FIRST_BATCH : BATCH));
                        batches.add(List.copyOf(files.subList(i, end)));
                    }
                }
                schedule();
                if (assistant != null) {
                    assistant.warmUp();
                }
            }
            case "textDocument/didOpen" -> {
                JsonObject item = Json.object(params, "textDocument");
                String uri = Json.string(item, "uri");
                documents.open(uri, Json.string(item, "text"), Json.integer(item, "version"));
                markDirty(uri);
            }
            case "textDocument/didChange" -> didChange(params);
            case "textDocument/didSave" -> {
                // The saved file's text is the one checks already read; other open files that
                // use it are brought up to date now rather than at every keystroke.
                String saved = Json.string(Json.object(params, "textDocument"), "uri");
                for (String uri : documents.all().keySet()) {
                    if (!uri.equals(saved)) {
                        markDirty(uri);
                    }
                }
            }
            case "textDocument/didClose" -> {
                String uri = Json.string(Json.object(params, "textDocument"), "uri");
                documents.close(uri);
                synchronized (queue) {
                    dirty.remove(uri);
                    counts.remove(uri);
                    cancelRunning |= uri.equals(running);
                }
                transport.write(new Protocol.Notification("textDocument/publishDiagnostics",
                        new Protocol.PublishDiagnostics(uri, null, List.of())));
            }
            case "$/cancelRequest" -> {
                JsonElement id = params != null && params.isJsonObject() ? params.getAsJsonObject().get("id") : null;
                if (id != null && assistant != null) {
                    assistant.cancel(id);
                }
            }
            default -> {
            }
        }
    }

    private void didChange(JsonElement params) {
        JsonObject document = Json.object(params, "textDocument");
        String uri = Json.string(document, "uri");
        int version = Json.integer(document, "version");
        for (JsonElement change : Json.array(params, "contentChanges")) {
            String text = Json.string(change, "text");
            JsonObject range = Json.optionalObject(change, "range");
            boolean applied;
            if (range == null) {
                applied = documents.change(uri, version, false, 0, 0, 0, 0, text);
            } else {
                JsonObject start = Json.object(range, "start");
                JsonObject end = Json.object(range, "end");
                applied = documents.change(uri, version, true, Json.integer(start, "line"),
                        Json.integer(start, "character"), Json.integer(end, "line"),
                        Json.integer(end, "character"), text);
            }
            if (!applied) {
                throw new Json.BadMessage(uri + " is not open");
            }
        }
        markDirty(uri);
    }

    private void markDirty(String uri) {
        synchronized (queue) {
            dirty.add(uri);
            if (uri.equals(running)) {
                cancelRunning = true;
            }
        }
        schedule();
    }

    private void schedule() {
        synchronized (queue) {
            if (working || (dirty.isEmpty() && batches.isEmpty())) {
                return;
            }
            working = true;
        }
        checks.execute(this::drain);
    }

    /** Runs queued checks until none is left, between a progress begin and end. */
    private void drain() {
        try {
            progress("begin", "title", "Checking");
            while (!closed) {
                String uri = null;
                List<Path> batch = null;
                synchronized (queue) {
                    if (!dirty.isEmpty()) {
                        uri = dirty.iterator().next();
                        dirty.remove(uri);
                    } else if (!batches.isEmpty()) {
                        batch = batches.poll();
                    } else {
                        working = false;
                        break;
                    }
                    running = uri;
                    cancelRunning = false;
                }
                try {
                    if (uri != null) {
                        checkDocument(uri);
                    } else {
                        checkProjectFiles(batch);
                        checkedProject = true;
                    }
                } catch (Checker.Cancelled e) {
                    log.println("tovin-engine: a stale check of " + uri + " was cancelled");
                } catch (RuntimeException e) {
                    log.println("tovin-engine: a check failed: " + e);
                    e.printStackTrace(log);
                } finally {
                    synchronized (queue) {
                        running = null;
                    }
                }
            }
            int errors = 0;
            int warnings = 0;
            synchronized (queue) {
                for (int[] count : counts.values()) {
                    errors += count[0];
                    warnings += count[1];
                }
            }
            if (checkedProject) {
                // A project's check leaves the heap grown by all its files' trees; a full
                // collection gives that memory back for the hours the engine then sits idle.
                checkedProject = false;
                // The serial collector gives memory back in steps, the whole of it from the
                // fourth collection in a row.
                for (int i = 0; i < 4; i++) {
                    System.gc();
                }
            }
            progress("end", "message", errors + " errors, " + warnings + " warnings");
        } catch (IOException e) {
            log.println("tovin-engine: the connection failed: " + e.getMessage());
            synchronized (queue) {
                working = false;
            }
        }
    }

    private void checkDocument(String uri) throws IOException {
        Documents.Snapshot snapshot = documents.get(uri);
        Path path = path(uri);
        if (snapshot == null || path == null) {
            return;
        }
        checker.setOpenTexts(openTexts());
        List<Checker.Result> results = checker.check(
                List.of(new Checker.Source(uri, path, snapshot.text(), snapshot.version())), () -> cancelRunning);
        Documents.Snapshot now = documents.get(uri);
        if (now == null || now.version() != snapshot.version() || !now.text().equals(snapshot.text())) {
            return; // made stale while javac worked: a newer check is queued
        }
        publish(results);
    }

    private void checkProjectFiles(List<Path> batch) throws IOException {
        Map<String, Documents.Snapshot> open = documents.all();
        List<Checker.Source> sources = new ArrayList<>();
        for (Path file : batch) {
            String uri = file.toAbsolutePath().toUri().toString();
            if (!open.containsKey(uri)) {
                sources.add(new Checker.Source(uri, file.toAbsolutePath(), null, null));
            }
        }
        checker.setOpenTexts(openTexts());
        publish(checker.check(sources, () -> false));
    }

    private void publish(List<Checker.Result> results) throws IOException {
        for (Checker.Result result : results) {
            int[] count = new int[2];
            for (Protocol.Diagnostic d : result.diagnostics()) {
                if (d.severity() == Protocol.SEVERITY_ERROR) {
                    count[0]++;
                } else if (d.severity() == Protocol.SEVERITY_WARNING) {
                    count[1]++;
                }
            }
            synchronized (queue) {
                counts.put(result.uri(), count);
            }
            transport.write(new Protocol.Notification("textDocument/publishDiagnostics",
                    new Protocol.PublishDiagnostics(result.uri(), result.version(), result.diagnostics())));
        }
    }

    private Map<URI, String> openTexts() {
        Map<URI, String> texts = new LinkedHashMap<>();
        documents.all().forEach((uri, snapshot) -> {
            Path path = path(uri);
            if (path != null) {
                texts.put(path.toUri(), snapshot.text());
            }
        });
        return texts;
    }

    /** The file a document URI names, or null for other kinds of URI (they are not checked). */
    private static Path path(String uri) {
        try {
            URI parsed = new URI(uri);
            return "file".equals(parsed.getScheme()) && uri.endsWith(".java") ? Path.of(parsed) : null;
        } catch (Exception e) {
            return null;
        }
    }

    private void progress(String kind, String key, String value) throws IOException {
        if (!reportProgress) {
            return;
        }
        Map<String, String> body = new LinkedHashMap<>();
        body.put("kind", kind);
        body.put(key, value);
        transport.write(new Protocol.Notification("$/progress", Map.of("token", PROGRESS_TOKEN, "value", body)));
    }

    private void answer(JsonPrimitive id, JsonElement result) throws IOException {
        JsonObject response = new JsonObject();
        response.addProperty("jsonrpc", "2.0");
        response.add("id", id);
        response.add("result", result == null ? JsonNull.INSTANCE : result);
        transport.write(response);
    }

    private void error(JsonPrimitive id, int code, String message) throws IOException {
        JsonObject error = new JsonObject();
        error.addProperty("code", code);
        error.addProperty("message", message);
        JsonObject response = new JsonObject();
        response.addProperty("jsonrpc", "2.0");
        response.add("id", id);
        response.add("error", error);
        transport.write(response);
    }
}
