package tovin.engine;

import com.google.gson.JsonArray;
import com.google.gson.JsonElement;
import com.google.gson.JsonObject;
import com.sun.jdi.AbsentInformationException;
import com.sun.jdi.Bootstrap;
import com.sun.jdi.IncompatibleThreadStateException;
import com.sun.jdi.Location;
import com.sun.jdi.ObjectReference;
import com.sun.jdi.ReferenceType;
import com.sun.jdi.StackFrame;
import com.sun.jdi.StringReference;
import com.sun.jdi.ThreadReference;
import com.sun.jdi.VMDisconnectedException;
import com.sun.jdi.Value;
import com.sun.jdi.VirtualMachine;
import com.sun.jdi.connect.Connector;
import com.sun.jdi.connect.IllegalConnectorArgumentsException;
import com.sun.jdi.connect.ListeningConnector;
import com.sun.jdi.connect.TransportTimeoutException;
import com.sun.jdi.event.BreakpointEvent;
import com.sun.jdi.event.ClassPrepareEvent;
import com.sun.jdi.event.Event;
import com.sun.jdi.event.EventSet;
import com.sun.jdi.event.ExceptionEvent;
import com.sun.jdi.event.LocatableEvent;
import com.sun.jdi.event.StepEvent;
import com.sun.jdi.event.VMDeathEvent;
import com.sun.jdi.event.VMDisconnectEvent;
import com.sun.jdi.event.VMStartEvent;
import com.sun.jdi.request.EventRequest;
import com.sun.jdi.request.EventRequestManager;
import com.sun.jdi.request.ExceptionRequest;
import com.sun.jdi.request.StepRequest;
import java.io.IOException;
import java.io.InputStream;
import java.io.InputStreamReader;
import java.io.OutputStream;
import java.io.Reader;
import java.nio.charset.Charset;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.TimeUnit;

/**
 * One debuggee: its process (started here, so its working folder is the launch's and its standard
 * streams are ours to pass on), the JDI connection to it, and the requests of the protocol that
 * work on it. The debuggee's agent dials back to a listener on the loopback address at a port
 * the system picks, so nothing listens beyond this machine.
 */
final class DebugSession {
    private static final String[] LIBRARY_CLASSES = {"java.*", "javax.*", "jdk.*", "sun.*", "com.sun.*"};

    private final DebugAdapter adapter;
    private final DebugLaunch launch;
    private final CountDownLatch ended = new CountDownLatch(1);
    private final List<Thread> outputReaders = new ArrayList<>();
    private final Map<Long, ThreadReference> threads = new HashMap<>();
    private Process process;
    private VirtualMachine vm;
    private DebugBreakpoints breakpoints;
    private DebugValues values;
    private ExceptionRequest exceptionRequest;
    private volatile ExceptionEvent lastException;
    private Runnable afterAnswer;
    // How many times the VM stands suspended by us (stops and pauses not yet resumed); the VM
    // starts suspended until the client's configuration is done.
    private int holds = 1;

    DebugSession(DebugAdapter adapter, DebugLaunch launch) {
        this.adapter = adapter;
        this.launch = launch;
    }

    // ---------------------------------------------------------------- start and end

    void start() throws DebugAdapter.RequestFailure {
        ListeningConnector connector = Bootstrap.virtualMachineManager().listeningConnectors().stream()
                                               .filter(c -> c.name().equals("com.sun.jdi.SocketListen"))
                                               .findFirst()
                                               .orElseThrow(() -> new DebugAdapter.RequestFailure(
                                                       "This JDK has no socket connector for debugging."));
        Map<String, Connector.Argument> args = connector.defaultArguments();
        args.get("port").setValue("0");
        if (args.containsKey("localAddress")) {
            args.get("localAddress").setValue("127.0.0.1");
        }
        args.get("timeout").setValue("500");
        String address;
        try {
            address = connector.startListening(args);
        } catch (IOException | IllegalConnectorArgumentsException e) {
            throw new DebugAdapter.RequestFailure("The debugger could not listen for the program: " + e.getMessage());
        }
        try {
            String port = address.substring(address.lastIndexOf(':') + 1);
            process = startProcess(port);
            startOutput(process.getInputStream(), "stdout");
            startOutput(process.getErrorStream(), "stderr");
            vm = accept(connector, args);
        } finally {
            try {
                connector.stopListening(args);
            } catch (IOException | IllegalConnectorArgumentsException e) {
                // Nothing listens any more either way.
            }
        }
        values = new DebugValues(vm);
        breakpoints = new DebugBreakpoints(vm, this::breakpointChanged);
        Thread events = new Thread(this::eventLoop, "debuggee events");
        events.setDaemon(true);
        events.start();
    }

    private Process startProcess(String port) throws DebugAdapter.RequestFailure {
        List<String> command = new ArrayList<>();
        command.add(launch.javaExecutable());
        command.add("-agentlib:jdwp=transport=dt_socket,server=n,suspend=y,address=127.0.0.1:" + port);
        command.addAll(launch.vmArgs());
        if (!launch.classPath().isEmpty()) {
            command.add("-classpath");
            command.add(String.join(java.io.File.pathSeparator, launch.classPath()));
        }
        command.add(launch.mainClass());
        command.addAll(launch.args());
        ProcessBuilder builder = new ProcessBuilder(command).directory(launch.cwd().toFile());
        try {
            return builder.start();
        } catch (IOException e) {
            throw new DebugAdapter.RequestFailure("The Java launcher " + launch.javaExecutable()
                                                  + " could not be started: " + e.getMessage());
        }
    }

    private VirtualMachine accept(ListeningConnector connector, Map<String, Connector.Argument> args)
            throws DebugAdapter.RequestFailure {
        long deadline = System.nanoTime() + TimeUnit.SECONDS.toNanos(30);
        while (true) {
            try {
                return connector.accept(args);
            } catch (TransportTimeoutException e) {
                if (!process.isAlive()) {
                    joinOutput();
                    throw new DebugAdapter.RequestFailure("The Java VM ended before the debugger could reach it (exit code "
                                                          + process.exitValue() + ").");
                }
                if (System.nanoTime() > deadline) {
                    killProcess();
                    throw new DebugAdapter.RequestFailure("The Java VM did not answer the debugger within 30 seconds.");
                }
            } catch (IOException | IllegalConnectorArgumentsException e) {
                killProcess();
                throw new DebugAdapter.RequestFailure("The debugger could not reach the Java VM: " + e.getMessage());
            }
        }
    }

    private void startOutput(InputStream stream, String category) {
        Thread reader = new Thread(() -> {
            // Chunks are passed on as they come, so a prompt without a line end shows at once.
            try (Reader r = new InputStreamReader(stream, Charset.defaultCharset())) {
                char[] buffer = new char[8192];
                int n;
                while ((n = r.read(buffer)) > 0) {
                    output(category, new String(buffer, 0, n));
                }
            } catch (IOException e) {
                // The process has gone.
            }
        }, "debuggee " + category);
        reader.setDaemon(true);
        reader.start();
        outputReaders.add(reader);
    }

    private void joinOutput() {
        for (Thread t : outputReaders) {
            try {
                t.join(2000);
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
            }
        }
    }

    void output(String category, String text) {
        JsonObject body = new JsonObject();
        body.addProperty("category", category);
        body.addProperty("output", text);
        adapter.sendEvent("output", body);
    }

    /** Ends the debuggee, its children too; the event loop then reports the exit. */
    void terminate() {
        killProcess();
    }

    private void killProcess() {
        Process p = process;
        if (p == null) {
            return;
        }
        p.descendants().forEach(ProcessHandle::destroyForcibly);
        p.destroyForcibly();
        try {
            p.waitFor(5, TimeUnit.SECONDS);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        }
    }

    boolean awaitEnd(long millis) {
        try {
            return ended.await(millis, TimeUnit.MILLISECONDS);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            return false;
        }
    }

    // ---------------------------------------------------------------- the debuggee's events

    private void eventLoop() {
        try {
            while (true) {
                EventSet set = vm.eventQueue().remove();
                try {
                    if (!handleEvents(set)) {
                        break;
                    }
                } catch (VMDisconnectedException e) {
                    throw e;
                } catch (RuntimeException e) {
                    // A fault of the adapter in one event must not leave the program suspended.
                    output("console", "The debugger failed on an event of the program: " + e + "\n");
                    set.resume();
                }
            }
        } catch (InterruptedException | VMDisconnectedException e) {
            // The connection has gone: the program ended or was ended.
        }
        finish();
    }

    /** Handles one set of the program's events; false when the connection has ended. */
    private boolean handleEvents(EventSet set) {
        boolean disconnected = false;
        boolean hold = false;
        String reason = null;
        String description = null;
        ThreadReference thread = null;
        JsonArray hitIds = new JsonArray();
        for (Event event : set) {
            if (event instanceof VMDisconnectEvent) {
                disconnected = true;
            } else if (event instanceof VMStartEvent) {
                // The program stands at its start until the client's configuration is done.
                hold = true;
            } else if (event instanceof VMDeathEvent) {
                // The disconnect that follows ends the session.
            } else if (event instanceof ClassPrepareEvent prepare) {
                synchronized (this) {
                    breakpoints.prepared(prepare.referenceType());
                }
            } else if (event instanceof BreakpointEvent hit) {
                Integer id;
                synchronized (this) {
                    id = breakpoints.shouldStop(hit, this::evaluateCondition);
                }
                if (id != null) {
                    hitIds.add(id);
                    reason = "breakpoint";
                    thread = hit.thread();
                }
            } else if (event instanceof StepEvent step) {
                vm.eventRequestManager().deleteEventRequest(step.request());
                if (reason == null) {
                    reason = "step";
                }
                thread = step.thread();
            } else if (event instanceof ExceptionEvent thrown) {
                reason = "exception";
                thread = thrown.thread();
                description = describeException(thrown.exception());
                lastException = thrown;
            }
        }
        if (disconnected) {
            return false;
        }
        if (hold) {
            return true; // counted from the start: the VM begins suspended
        }
        if (reason == null) {
            set.resume();
            return true;
        }
        synchronized (this) {
            holds++;
        }
        stopped(reason, thread, description, hitIds);
        return true;
    }

    /** Runs what must wait for the request's answer: the program goes on only once it is sent. */
    void answered() {
        Runnable r = afterAnswer;
        afterAnswer = null;
        if (r != null) {
            try {
                r.run();
            } catch (VMDisconnectedException e) {
                // The program ended meanwhile; its exit is reported by the event thread.
            }
        }
    }

    private void stopped(String reason, ThreadReference thread, String description, JsonArray hitIds) {
        synchronized (this) {
            EventRequestManager erm = vm.eventRequestManager();
            // A step that a breakpoint interrupted is over: it must not fire later.
            erm.deleteEventRequests(new ArrayList<>(erm.stepRequests()));
            threads.put(thread.uniqueID(), thread);
        }
        JsonObject body = new JsonObject();
        body.addProperty("reason", reason);
        body.addProperty("threadId", thread.uniqueID());
        body.addProperty("allThreadsStopped", true);
        if (description != null) {
            body.addProperty("description", description);
            body.addProperty("text", description);
        }
        if (hitIds.size() > 0) {
            body.add("hitBreakpointIds", hitIds);
        }
        adapter.sendEvent("stopped", body);
    }

    private void finish() {
        int code;
        try {
            process.waitFor(5, TimeUnit.SECONDS);
            code = process.isAlive() ? -1 : process.exitValue();
        } catch (InterruptedException e) {
            code = -1;
        }
        if (process.isAlive()) {
            killProcess();
        }
        joinOutput();
        JsonObject exited = new JsonObject();
        exited.addProperty("exitCode", code);
        adapter.sendEvent("exited", exited);
        adapter.sendEvent("terminated", null);
        ended.countDown();
    }

    private String describeException(ObjectReference exception) {
        String text = exception.referenceType().name();
        com.sun.jdi.Field detail = exception.referenceType().fieldByName("detailMessage");
        if (detail != null && exception.getValue(detail) instanceof StringReference message) {
            text += ": " + message.value();
        }
        return text;
    }

    private void breakpointChanged(JsonObject breakpoint) {
        JsonObject body = new JsonObject();
        body.addProperty("reason", "changed");
        body.add("breakpoint", breakpoint);
        adapter.sendEvent("breakpoint", body);
    }

    private boolean evaluateCondition(BreakpointEvent hit, String condition) throws DebugExpression.Failure {
        DebugExpression expression = new DebugExpression(vm, hit.thread(), 0, true);
        try {
            Value v = expression.evaluate(condition);
            if (v instanceof com.sun.jdi.BooleanValue b) {
                return b.value();
            }
            throw new DebugExpression.Failure("it is not true or false");
        } catch (DebugExpression.Failure e) {
            output("console", "The condition " + condition + " could not be worked out: " + e.getMessage() + "\n");
            throw e;
        } finally {
            if (expression.ranMethods()) {
                breakpoints.rescan();
            }
        }
    }

    // ---------------------------------------------------------------- requests

    JsonObject handle(String command, JsonObject args) throws DebugAdapter.RequestFailure {
        try {
            return switch (command) {
            case "setBreakpoints" -> setBreakpoints(args);
            case "setExceptionBreakpoints" -> setExceptionBreakpoints(args);
            case "configurationDone" -> {
                resume();
                yield null;
            }
            case "threads" -> threads();
            case "stackTrace" -> stackTrace(args);
            case "scopes" -> scopes(args);
            case "variables" -> variables(args);
            case "evaluate" -> evaluate(args);
            case "exceptionInfo" -> exceptionInfo();
            case "continue" -> {
                afterAnswer = this::resume;
                JsonObject body = new JsonObject();
                body.addProperty("allThreadsContinued", true);
                yield body;
            }
            case "next" -> step(args, StepRequest.STEP_OVER);
            case "stepIn" -> step(args, StepRequest.STEP_INTO);
            case "stepOut" -> step(args, StepRequest.STEP_OUT);
            case "pause" -> pause(args);
            case "input" -> input(args);
            default -> throw new DebugAdapter.RequestFailure("The request " + command + " is not known.");
            };
        } catch (VMDisconnectedException e) {
            throw new DebugAdapter.RequestFailure("The program has ended.");
        }
    }

    private synchronized JsonObject setBreakpoints(JsonObject args) throws DebugAdapter.RequestFailure {
        JsonObject source = args.getAsJsonObject("source");
        String path = source != null && source.has("path") ? source.get("path").getAsString() : null;
        if (path == null) {
            throw new DebugAdapter.RequestFailure("Breakpoints need the source file's path.");
        }
        List<DebugBreakpoints.Asked> asked = new ArrayList<>();
        JsonElement list = args.get("breakpoints");
        if (list != null && list.isJsonArray()) {
            for (JsonElement e : list.getAsJsonArray()) {
                JsonObject b = e.getAsJsonObject();
                asked.add(new DebugBreakpoints.Asked(b.get("line").getAsInt(), optional(b, "condition"),
                                                    optional(b, "hitCondition")));
            }
        } else if (args.has("lines")) {
            for (JsonElement e : args.getAsJsonArray("lines")) {
                asked.add(new DebugBreakpoints.Asked(e.getAsInt(), null, null));
            }
        }
        JsonObject body = new JsonObject();
        body.add("breakpoints", breakpoints.set(Path.of(path).toAbsolutePath().normalize(), asked));
        return body;
    }

    private static String optional(JsonObject o, String key) {
        JsonElement e = o.get(key);
        if (e == null || !e.isJsonPrimitive()) {
            return null;
        }
        String s = e.getAsString().trim();
        return s.isEmpty() ? null : s;
    }

    private synchronized JsonObject setExceptionBreakpoints(JsonObject args) {
        boolean caught = false;
        boolean uncaught = false;
        JsonElement filters = args.get("filters");
        if (filters != null && filters.isJsonArray()) {
            for (JsonElement f : filters.getAsJsonArray()) {
                caught |= f.getAsString().equals("caught");
                uncaught |= f.getAsString().equals("uncaught");
            }
        }
        EventRequestManager erm = vm.eventRequestManager();
        if (exceptionRequest != null) {
            erm.deleteEventRequest(exceptionRequest);
            exceptionRequest = null;
        }
        if (caught || uncaught) {
            exceptionRequest = erm.createExceptionRequest(null, caught, uncaught);
            exceptionRequest.setSuspendPolicy(EventRequest.SUSPEND_ALL);
            exceptionRequest.enable();
        }
        return null;
    }

    private synchronized JsonObject threads() {
        JsonArray list = new JsonArray();
        for (ThreadReference t : vm.allThreads()) {
            // The VM's own threads (reference handler, finalizer, signals) are no concern of the program.
            try {
                if (t.threadGroup() != null && t.threadGroup().name().equals("system")) {
                    continue;
                }
            } catch (VMDisconnectedException e) {
                throw e;
            } catch (RuntimeException e) {
                continue;
            }
            threads.put(t.uniqueID(), t);
            JsonObject o = new JsonObject();
            o.addProperty("id", t.uniqueID());
            o.addProperty("name", t.name());
            list.add(o);
        }
        JsonObject body = new JsonObject();
        body.add("threads", list);
        return body;
    }

    private ThreadReference thread(JsonObject args) throws DebugAdapter.RequestFailure {
        if (!args.has("threadId")) {
            throw new DebugAdapter.RequestFailure("The request names no thread.");
        }
        long id = args.get("threadId").getAsLong();
        synchronized (this) {
            ThreadReference t = threads.get(id);
            if (t == null) {
                for (ThreadReference candidate : vm.allThreads()) {
                    if (candidate.uniqueID() == id) {
                        threads.put(id, candidate);
                        return candidate;
                    }
                }
                throw new DebugAdapter.RequestFailure("There is no thread " + id + ".");
            }
            return t;
        }
    }

    private synchronized JsonObject stackTrace(JsonObject args) throws DebugAdapter.RequestFailure {
        ThreadReference t = thread(args);
        int start = args.has("startFrame") ? args.get("startFrame").getAsInt() : 0;
        int levels = args.has("levels") ? args.get("levels").getAsInt() : 0;
        JsonArray frames = new JsonArray();
        int total;
        try {
            total = t.frameCount();
            int end = levels > 0 ? Math.min(total, start + levels) : total;
            for (int depth = start; depth < end; depth++) {
                StackFrame f = t.frame(depth);
                Location at = f.location();
                JsonObject o = new JsonObject();
                o.addProperty("id", values.frameId(t, depth));
                o.addProperty("name", shortName(at.declaringType().name()) + "." + at.method().name());
                o.addProperty("line", Math.max(at.lineNumber(), 0));
                o.addProperty("column", 1);
                JsonObject src = source(at);
                if (src != null) {
                    o.add("source", src);
                } else {
                    o.addProperty("presentationHint", "subtle");
                }
                frames.add(o);
            }
        } catch (IncompatibleThreadStateException e) {
            throw new DebugAdapter.RequestFailure("The thread is running; its frames show when it stops.");
        }
        JsonObject body = new JsonObject();
        body.add("stackFrames", frames);
        body.addProperty("totalFrames", total);
        return body;
    }

    private static String shortName(String className) {
        return className.substring(className.lastIndexOf('.') + 1);
    }

    private JsonObject source(Location at) {
        String relative;
        String name;
        try {
            relative = at.sourcePath();
            name = at.sourceName();
        } catch (AbsentInformationException e) {
            return null;
        }
        Path path = breakpoints.knownPath(at.declaringType(), relative);
        if (path == null) {
            for (Path root : launch.sourcePaths()) {
                if (Files.isRegularFile(root.resolve(relative))) {
                    path = root.resolve(relative);
                    break;
                }
            }
        }
        if (path == null && Files.isRegularFile(launch.cwd().resolve(relative))) {
            path = launch.cwd().resolve(relative);
        }
        if (path == null) {
            return null;
        }
        JsonObject src = new JsonObject();
        src.addProperty("name", name);
        src.addProperty("path", path.toString());
        return src;
    }

    private synchronized JsonObject scopes(JsonObject args) throws DebugAdapter.RequestFailure {
        int frameId = args.get("frameId").getAsInt();
        JsonArray list = new JsonArray();
        JsonObject locals = new JsonObject();
        locals.addProperty("name", "Locals");
        locals.addProperty("presentationHint", "locals");
        locals.addProperty("variablesReference", values.localsReference(frameId));
        locals.addProperty("expensive", false);
        list.add(locals);
        DebugValues.FrameAt at = values.frame(frameId);
        ReferenceType type;
        try {
            type = at.thread().frame(at.depth()).location().declaringType();
        } catch (IncompatibleThreadStateException | IndexOutOfBoundsException e) {
            throw new DebugAdapter.RequestFailure("The frame is gone; the program has run on.");
        }
        int statics = values.staticsReference(type);
        if (statics > 0) {
            JsonObject scope = new JsonObject();
            scope.addProperty("name", "Static fields of " + type.name());
            scope.addProperty("variablesReference", statics);
            scope.addProperty("expensive", false);
            list.add(scope);
        }
        JsonObject body = new JsonObject();
        body.add("scopes", list);
        return body;
    }

    private synchronized JsonObject variables(JsonObject args) throws DebugAdapter.RequestFailure {
        int ref = args.get("variablesReference").getAsInt();
        int start = args.has("start") ? args.get("start").getAsInt() : 0;
        int count = args.has("count") ? args.get("count").getAsInt() : 0;
        JsonObject body = new JsonObject();
        body.add("variables", values.variables(ref, start, count));
        return body;
    }

    // Not synchronized while the expression runs: a method it calls may take its time, and the
    // program's events go on being handled meanwhile.
    private JsonObject evaluate(JsonObject args) throws DebugAdapter.RequestFailure {
        if (!args.has("frameId")) {
            throw new DebugAdapter.RequestFailure("Expressions are evaluated in a stopped frame.");
        }
        DebugValues.FrameAt at;
        synchronized (this) {
            at = values.frame(args.get("frameId").getAsInt());
        }
        String text = args.has("expression") ? args.get("expression").getAsString() : "";
        DebugExpression expression = new DebugExpression(vm, at.thread(), at.depth(), false);
        Value v;
        try {
            v = expression.evaluate(text);
        } catch (DebugExpression.Failure e) {
            throw new DebugAdapter.RequestFailure(e.getMessage());
        } finally {
            if (expression.ranMethods()) {
                synchronized (this) {
                    breakpoints.rescan();
                }
            }
        }
        synchronized (this) {
            JsonObject body = new JsonObject();
            body.addProperty("result", values.display(v));
            body.addProperty("type", v == null ? "null" : v.type().name());
            body.addProperty("variablesReference", values.reference(v));
            return body;
        }
    }

    private JsonObject exceptionInfo() throws DebugAdapter.RequestFailure {
        ExceptionEvent e = lastException;
        if (e == null) {
            throw new DebugAdapter.RequestFailure("No exception has stopped the program.");
        }
        JsonObject body = new JsonObject();
        body.addProperty("exceptionId", e.exception().referenceType().name());
        body.addProperty("description", describeException(e.exception()));
        body.addProperty("breakMode", e.catchLocation() == null ? "unhandled" : "always");
        return body;
    }

    /**
     * Lets the program run. Every stop the program holds is undone: two threads that reach
     * breakpoints at once leave the VM suspended twice, and Continue means both.
     */
    private synchronized void resume() {
        values.clear();
        lastException = null;
        for (; holds > 0; holds--) {
            vm.resume();
        }
    }

    private JsonObject step(JsonObject args, int depth) throws DebugAdapter.RequestFailure {
        ThreadReference t = thread(args);
        synchronized (this) {
            if (holds == 0) {
                throw new DebugAdapter.RequestFailure("The program is running; it steps once it stops.");
            }
            EventRequestManager erm = vm.eventRequestManager();
            erm.deleteEventRequests(new ArrayList<>(erm.stepRequests()));
            StepRequest step = erm.createStepRequest(t, StepRequest.STEP_LINE, depth);
            for (String pattern : LIBRARY_CLASSES) {
                step.addClassExclusionFilter(pattern);
            }
            step.addCountFilter(1);
            step.setSuspendPolicy(EventRequest.SUSPEND_ALL);
            step.enable();
        }
        afterAnswer = this::resume;
        return null;
    }

    private JsonObject pause(JsonObject args) throws DebugAdapter.RequestFailure {
        ThreadReference t = args.has("threadId") ? thread(args) : null;
        synchronized (this) {
            if (holds == 0) {
                vm.suspend();
                holds++;
            }
            if (t == null) {
                t = vm.allThreads().stream().filter(x -> x.name().equals("main")).findFirst()
                            .orElse(vm.allThreads().get(0));
            }
        }
        stopped("pause", t, null, new JsonArray());
        return null;
    }

    /** Passes text to the program's standard input; {"eof": true} closes it. */
    private JsonObject input(JsonObject args) throws DebugAdapter.RequestFailure {
        OutputStream stdin = process.getOutputStream();
        try {
            if (args.has("text")) {
                stdin.write(args.get("text").getAsString().getBytes(Charset.defaultCharset()));
                stdin.flush();
            }
            if (args.has("eof") && args.get("eof").getAsBoolean()) {
                stdin.close();
            }
        } catch (IOException e) {
            throw new DebugAdapter.RequestFailure("The program's input is closed.");
        }
        return null;
    }
}
