// Today's Java: sealed types and records, switch expressions that yield, text blocks and
// character literals of every form, beside the same words used as names.
package demo.modern;

import java.util.logging.LogRecord;

public sealed interface Shape permits Circle, Square {
    double area();
}

record Circle(double radius) implements Shape {
    public double area() {
        assert radius >= 0 : "negative";
        return Math.PI * radius * radius;
    }
}

non-sealed class Square implements Shape {
    private final double side = 2;

    public double area() {
        return side * side;
    }
}

enum Kind { ROUND, ANGULAR }

class Texts {
    static final char DQ = '"';
    static final char SQ = '\'';
    static final char BS = '\\';
    static final char BRACE = '{';
    static final char UNICODE = '\u0022';
    static final String QUERY = """
        SELECT * FROM shapes /* not a comment */
        WHERE name = "circle" -- short and long
        AND note = 'it''s' \""" still inside
        """;
    static final String AFTER = "after the block";

    static strictfp double half(double x) {
        return x / 2;
    }

    static String describe(Shape shape, LogRecord record) {
        String kind = switch (shape) {
            case Circle c -> "round";
            default -> {
                Thread.yield();
                yield "other";
            }
        };
        record.setMessage(kind);
        boolean sealed = true;
        int permits = 2;
        when(sealed);
        return kind + DQ + sealed + permits;
    }

    static void when(boolean condition) {
    }
}
