package tovin.engine;

import com.google.gson.Gson;
import com.google.gson.GsonBuilder;
import com.google.gson.JsonElement;
import com.google.gson.JsonObject;
import com.google.gson.JsonParseException;
import com.google.gson.JsonParser;
import java.io.BufferedInputStream;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.util.Locale;

/**
 * The Content-Length framing of the protocol over a pair of byte streams. Reading is for one
 * thread (the server's reader); writing may come from any thread, one whole message at a time.
 *
 * <p>A peer's mistakes cost it the message, never the connection: a header block without a
 * length, a body that is not a JSON object, or JSON nested deeper than {@link #MAX_DEPTH} is
 * reported on the log and skipped. Only a body longer than {@link #MAX_CONTENT_LENGTH} ends the
 * connection, because skipping it would mean reading that much.
 */
final class Transport {
    static final long MAX_CONTENT_LENGTH = 64L << 20;
    static final int MAX_HEADER_LINE = 8 << 10;
    /** Gson parses recursively; a limit far below what the stack holds keeps a hostile body harmless. */
    static final int MAX_DEPTH = 256;

    /** The peer announced a body too long to read or skip: the connection must close. */
    static final class OversizedMessage extends IOException {
        private static final long serialVersionUID = 1L;

        OversizedMessage(long length) {
            super("a message of " + length + " bytes is over the limit of " + MAX_CONTENT_LENGTH);
        }
    }

    private static final String LENGTH_HEADER = "content-length:";
    private static final Gson GSON = new Gson();
    /** For messages built as JSON trees, where a null (a response's result) is meant. */
    private static final Gson GSON_WITH_NULLS = new GsonBuilder().serializeNulls().create();

    private final InputStream in;
    private final OutputStream out;
    private final PrintStream log;

    Transport(InputStream in, OutputStream out, PrintStream log) {
        this.in = new BufferedInputStream(in, 1 << 16);
        this.out = out;
        this.log = log;
    }

    /** The next well-formed message, or null at the end of the input (a truncated last message included). */
    JsonObject read() throws IOException {
        while (true) {
            long length = -1;
            boolean badHeader = false;
            while (true) {
                String line = readHeaderLine();
                if (line == null) {
                    return null;
                }
                if (line.isEmpty()) {
                    break;
                }
                // The header is looked for anywhere in the line: after a body shorter than its
                // announced length, the next header follows the rest of it on the same line,
                // and this is how the reader falls into step again.
                int at = line.toLowerCase(Locale.ROOT).lastIndexOf(LENGTH_HEADER);
                if (at < 0) {
                    badHeader |= line.indexOf(':') < 0;
                    continue;
                }
                badHeader |= at > 0;
                length = parseLength(line.substring(at + LENGTH_HEADER.length()).trim());
                badHeader |= length < 0;
            }
            if (length < 0) {
                log.println("tovin-engine: a message without a valid Content-Length was dropped"
                        + (badHeader ? " (malformed header)" : ""));
                continue;
            }
            if (length > MAX_CONTENT_LENGTH) {
                throw new OversizedMessage(length);
            }
            byte[] body = in.readNBytes((int) length);
            if (body.length < length) {
                return null;
            }
            JsonObject message = parse(new String(body, StandardCharsets.UTF_8));
            if (message != null) {
                return message;
            }
        }
    }

    /**
     * Writes one message whole, so that messages from several threads never interleave. A record
     * leaves its null fields out; a JSON tree keeps its nulls.
     */
    void write(Object message) throws IOException {
        Gson gson = message instanceof JsonElement ? GSON_WITH_NULLS : GSON;
        byte[] body = gson.toJson(message).getBytes(StandardCharsets.UTF_8);
        byte[] header = ("Content-Length: " + body.length + "\r\n\r\n").getBytes(StandardCharsets.US_ASCII);
        synchronized (out) {
            out.write(header);
            out.write(body);
            out.flush();
        }
    }

    private JsonObject parse(String text) {
        if (depth(text) > MAX_DEPTH) {
            log.println("tovin-engine: a message nested deeper than " + MAX_DEPTH + " levels was dropped");
            return null;
        }
        try {
            JsonElement element = JsonParser.parseString(text);
            if (element.isJsonObject()) {
                return element.getAsJsonObject();
            }
            log.println("tovin-engine: a message that is not a JSON object was dropped");
        } catch (JsonParseException | IllegalStateException | NumberFormatException e) {
            log.println("tovin-engine: malformed JSON dropped: " + e.getMessage());
        }
        return null;
    }

    /** The deepest nesting of arrays and objects in the text, strings skipped. */
    static int depth(String text) {
        int depth = 0;
        int deepest = 0;
        boolean inString = false;
        for (int i = 0; i < text.length(); i++) {
            char c = text.charAt(i);
            if (inString) {
                if (c == '\\') {
                    i++;
                } else if (c == '"') {
                    inString = false;
                }
            } else if (c == '"') {
                inString = true;
            } else if (c == '[' || c == '{') {
                deepest = Math.max(deepest, ++depth);
            } else if (c == ']' || c == '}') {
                depth = Math.max(0, depth - 1);
            }
        }
        return deepest;
    }

    private static long parseLength(String value) {
        if (value.isEmpty() || value.length() > 18) {
            return value.chars().allMatch(Character::isDigit) && !value.isEmpty() ? Long.MAX_VALUE : -1;
        }
        for (int i = 0; i < value.length(); i++) {
            if (value.charAt(i) < '0' || value.charAt(i) > '9') {
                return -1;
            }
        }
        return Long.parseLong(value);
    }

    /** A header line without its line end; an overlong one is read to its end and returned empty of sense. */
    private String readHeaderLine() throws IOException {
        ByteArrayOutputStream line = new ByteArrayOutputStream();
        boolean overlong = false;
        while (true) {
            int b = in.read();
            if (b < 0) {
                return null;
            }
            if (b == '\n') {
                break;
            }
            if (line.size() < MAX_HEADER_LINE) {
                line.write(b);
            } else {
                overlong = true;
            }
        }
        if (overlong) {
            log.println("tovin-engine: an overlong header line was skipped");
            return "?";
        }
        String text = line.toString(StandardCharsets.US_ASCII);
        return text.endsWith("\r") ? text.substring(0, text.length() - 1) : text;
    }
}
