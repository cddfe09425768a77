package tovin.engine;

import com.google.gson.JsonArray;
import com.google.gson.JsonElement;
import com.google.gson.JsonObject;
import com.google.gson.JsonParser;
import java.io.BufferedInputStream;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.util.concurrent.atomic.AtomicInteger;

/**
 * The debugger's second program in the engine's jar: the Debug Adapter Protocol over standard
 * input and output, driving one debuggee through JDI. Requests are read and answered on the main
 * thread; the debuggee's events arrive on the session's own thread and are sent from there.
 * When standard input closes, the debuggee is ended and the adapter exits.
 */
public final class DebugAdapter {
    /** A request the adapter turns down; its message goes back to the client as is. */
    static final class RequestFailure extends Exception {
        private static final long serialVersionUID = 1L;

        RequestFailure(String message) {
            super(message);
        }
    }

    private static final int MAX_MESSAGE = 64 << 20;

    private final InputStream in;
    private final OutputStream out;
    private final AtomicInteger seq = new AtomicInteger(1);
    private DebugSession session;
    private boolean initialized;
    private volatile boolean done;

    DebugAdapter(InputStream in, OutputStream out) {
        this.in = new BufferedInputStream(in);
        this.out = out;
    }

    public static void main(String[] args) {
        // Standard output carries the protocol alone: anything else printed goes to the error stream.
        java.io.PrintStream protocol = System.out;
        System.setOut(System.err);
        DebugAdapter adapter = new DebugAdapter(System.in, protocol);
        // Whatever else ends the adapter, the debuggee goes with it.
        Runtime.getRuntime().addShutdownHook(new Thread(adapter::endSession));
        int code = adapter.run();
        System.exit(code);
    }

    /** Serves requests until disconnect or the end of input; the adapter's exit code. */
    int run() {
        try {
            while (!done) {
                byte[] body = readMessage();
                if (body == null) {
                    break;
                }
                JsonObject message;
                try {
                    message = JsonParser.parseString(new String(body, StandardCharsets.UTF_8))
                                      .getAsJsonObject();
                } catch (RuntimeException e) {
                    System.err.println("tovin debug adapter: a message that is not JSON was dropped");
                    continue;
                }
                if (message.has("type") && "request".equals(message.get("type").getAsString())) {
                    handle(message);
                }
            }
        } catch (IOException e) {
            System.err.println("tovin debug adapter: " + e.getMessage());
            endSession();
            return 1;
        }
        endSession();
        return 0;
    }

    void endSession() {
        DebugSession s = session;
        if (s != null) {
            s.terminate();
            s.awaitEnd(3000);
        }
    }

    // ---------------------------------------------------------------- framing

    private byte[] readMessage() throws IOException {
        int length = -1;
        ByteArrayOutputStream line = new ByteArrayOutputStream();
        while (true) {
            int c = in.read();
            if (c < 0) {
                return null;
            }
            if (c != '\n') {
                line.write(c);
                continue;
            }
            String header = line.toString(StandardCharsets.US_ASCII).trim();
            line.reset();
            if (header.isEmpty()) {
                if (length >= 0) {
                    break;
                }
                continue;
            }
            int colon = header.indexOf(':');
            if (colon > 0 && header.substring(0, colon).trim().equalsIgnoreCase("Content-Length")) {
                try {
                    length = Integer.parseInt(header.substring(colon + 1).trim());
                } catch (NumberFormatException e) {
                    throw new IOException("the header \"" + header + "\" gives no length");
                }
                if (length < 0 || length > MAX_MESSAGE) {
                    throw new IOException("a message of " + length + " bytes is refused");
                }
            }
        }
        byte[] body = in.readNBytes(length);
        return body.length == length ? body : null;
    }

    private void send(JsonObject message) {
        message.addProperty("seq", seq.getAndIncrement());
        byte[] body = message.toString().getBytes(StandardCharsets.UTF_8);
        byte[] header = ("Content-Length: " + body.length + "\r\n\r\n").getBytes(StandardCharsets.US_ASCII);
        synchronized (out) {
            try {
                out.write(header);
                out.write(body);
                out.flush();
            } catch (IOException e) {
                // The client has gone; the end of input follows and ends the session.
            }
        }
    }

    void sendEvent(String event, JsonObject body) {
        JsonObject message = new JsonObject();
        message.addProperty("type", "event");
        message.addProperty("event", event);
        if (body != null) {
            message.add("body", body);
        }
        send(message);
    }

    private void respond(JsonObject request, boolean success, String error, JsonObject body) {
        JsonObject message = new JsonObject();
        message.addProperty("type", "response");
        message.addProperty("request_seq", request.has("seq") ? request.get("seq").getAsInt() : 0);
        message.addProperty("command", command(request));
        message.addProperty("success", success);
        if (error != null) {
            message.addProperty("message", error);
        }
        if (body != null) {
            message.add("body", body);
        }
        send(message);
    }

    private static String command(JsonObject request) {
        JsonElement c = request.get("command");
        return c != null && c.isJsonPrimitive() ? c.getAsString() : "";
    }

    // ---------------------------------------------------------------- requests

    private void handle(JsonObject request) {
        String command = command(request);
        JsonObject args = request.has("arguments") && request.get("arguments").isJsonObject()
                                  ? request.getAsJsonObject("arguments")
                                  : new JsonObject();
        try {
            if (!initialized && !command.equals("initialize")) {
                throw new RequestFailure("The adapter is not initialized yet.");
            }
            switch (command) {
            case "initialize" -> {
                initialized = true;
                respond(request, true, null, capabilities());
            }
            case "launch" -> {
                if (session != null) {
                    throw new RequestFailure("A program is already being debugged.");
                }
                DebugSession s = new DebugSession(this, DebugLaunch.from(args));
                s.start();
                session = s;
                respond(request, true, null, null);
                sendEvent("initialized", null);
            }
            case "disconnect", "terminate" -> {
                if (session != null) {
                    session.terminate();
                    session.awaitEnd(5000);
                }
                respond(request, true, null, null);
                if (command.equals("disconnect")) {
                    done = true;
                }
            }
            default -> {
                DebugSession s = sessionOrFail();
                respond(request, true, null, s.handle(command, args));
                s.answered();
            }
            }
        } catch (RequestFailure e) {
            respond(request, false, e.getMessage(), null);
        } catch (RuntimeException e) {
            // A fault of the adapter answers the one request; the session goes on.
            String text = e.getClass().getSimpleName() + (e.getMessage() != null ? ": " + e.getMessage() : "");
            System.err.println("tovin debug adapter: " + command + " failed: " + text);
            respond(request, false, text, null);
        }
    }

    private DebugSession sessionOrFail() throws RequestFailure {
        if (session == null) {
            throw new RequestFailure("No program is being debugged.");
        }
        return session;
    }

    private static JsonObject capabilities() {
        JsonObject c = new JsonObject();
        c.addProperty("supportsConfigurationDoneRequest", true);
        c.addProperty("supportsConditionalBreakpoints", true);
        c.addProperty("supportsHitConditionalBreakpoints", true);
        c.addProperty("supportsEvaluateForHovers", true);
        c.addProperty("supportsTerminateRequest", true);
        c.addProperty("supportsExceptionInfoRequest", true);
        c.addProperty("supportsDelayedStackTraceLoading", true);
        JsonArray filters = new JsonArray();
        filters.add(filter("uncaught", "Uncaught Exceptions", true));
        filters.add(filter("caught", "Caught Exceptions", false));
        c.add("exceptionBreakpointFilters", filters);
        return c;
    }

    private static JsonObject filter(String id, String label, boolean on) {
        JsonObject f = new JsonObject();
        f.addProperty("filter", id);
        f.addProperty("label", label);
        f.addProperty("default", on);
        return f;
    }
}
