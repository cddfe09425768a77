package tovin.engine;

import java.util.List;

/** The protocol's messages the engine writes, as Gson writes records (null fields left out). */
final class Protocol {
    private Protocol() {
    }

    record Position(int line, int character) {
    }

    record Range(Position start, Position end) {
    }

    /** javac's preferred position: 1-based line and 1-based column in characters (0, 0: none). */
    record Place(long line, long column) {
    }

    record Diagnostic(Range range, int severity, String code, String source, String message, Place data) {
    }

    record PublishDiagnostics(String uri, Integer version, List<Diagnostic> diagnostics) {
    }

    record Notification(String jsonrpc, String method, Object params) {
        Notification(String method, Object params) {
            this("2.0", method, params);
        }
    }

    record Request(String jsonrpc, String id, String method, Object params) {
        Request(String id, String method, Object params) {
            this("2.0", id, method, params);
        }
    }

    static final int SEVERITY_ERROR = 1;
    static final int SEVERITY_WARNING = 2;
    static final int SEVERITY_INFORMATION = 3;

    static final int INVALID_REQUEST = -32600;
    static final int METHOD_NOT_FOUND = -32601;
    static final int INVALID_PARAMS = -32602;
    static final int SERVER_NOT_INITIALIZED = -32002;
    static final int INTERNAL_ERROR = -32603;
}
