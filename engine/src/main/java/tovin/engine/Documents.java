package tovin.engine;

import java.util.HashMap;
import java.util.Map;

/**
 * The documents the client holds open, by URI, with the text the client shows (unsaved edits
 * included). Positions are the protocol's: 0-based lines and UTF-16 code units within a line,
 * which is what a Java string counts, so an offset is a plain index into the text. Safe for the
 * reader thread that edits and the checking thread that takes snapshots.
 */
final class Documents {
    /** A document's text as of one version: what a check works on while the client types on. */
    record Snapshot(String uri, String text, int version) {
    }

    private final Map<String, Snapshot> open = new HashMap<>();

    synchronized void open(String uri, String text, int version) {
        open.put(uri, new Snapshot(uri, text, version));
    }

    synchronized void close(String uri) {
        open.remove(uri);
    }

    synchronized Snapshot get(String uri) {
        return open.get(uri);
    }

    synchronized Map<String, Snapshot> all() {
        return Map.copyOf(open);
    }

    /**
     * Applies one change: the text between two positions replaced, or the whole text when
     * {@code range} is false. Positions past a line's end mean its end, lines past the last mean
     * the text's end, as the protocol asks. Returns false when the document is not open.
     */
    synchronized boolean change(String uri, int version, boolean range, int startLine, int startChar,
            int endLine, int endChar, String replacement) {
        Snapshot old = open.get(uri);
        if (old == null) {
            return false;
        }
        String text = replacement;
        if (range) {
            int start = offset(old.text(), startLine, startChar);
            int end = Math.max(start, offset(old.text(), endLine, endChar));
            text = old.text().substring(0, start) + replacement + old.text().substring(end);
        }
        open.put(uri, new Snapshot(uri, text, version));
        return true;
    }

    /** The index in {@code text} of a protocol position; line ends are LF, CR LF or CR. */
    static int offset(String text, int line, int character) {
        int index = 0;
        for (int l = 0; l < line; l++) {
            int next = nextLine(text, index);
            if (next < 0) {
                return text.length();
            }
            index = next;
        }
        int lineEnd = index;
        while (lineEnd < text.length() && text.charAt(lineEnd) != '\n' && text.charAt(lineEnd) != '\r') {
            lineEnd++;
        }
        return index + Math.min(character, lineEnd - index);
    }

    /** The start of the line after the one holding {@code from}, or -1 on the last line. */
    static int nextLine(String text, int from) {
        for (int i = from; i < text.length(); i++) {
            char c = text.charAt(i);
            if (c == '\n') {
                return i + 1;
            }
            if (c == '\r') {
                return i + 1 < text.length() && text.charAt(i + 1) == '\n' ? i + 2 : i + 1;
            }
        }
        return -1;
    }
}
