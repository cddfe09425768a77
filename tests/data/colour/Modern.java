// Today's Java: sealed types and records, switch expressions that yield, text blocks and
// character literals, beside the same words used as names.
package demo.modern;

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
    static final char DQ = '"', SQ = '\'', BS = '\\', BRACE = '{', UNICODE = '\u0022';
    static final String QUERY = """
        SELECT * FROM shapes /* not a comment */ WHERE name = "circle"
        AND note = 'it''s' \""" still inside
        """;
    static final String AFTER = "after the block";

    static strictfp String describe(Shape shape, LogRecord record) {
        String kind = switch (shape) {
            case Circle c -> "round";
            default -> {
                Thread.yield();
                yield "other";
            }
        };
        boolean sealed = true;
        int permits = 2;
        when(sealed);
        return kind + DQ + sealed + permits;
    }
}
