package fuzz.modern;

@SuppressWarnings({"a", "b"}) public sealed interface Shape permits Shape.Circle, Shape.Box {
    record Circle(double r) implements Shape {
        public Circle { if (r < 0) throw new IllegalArgumentException("{"); }
        double area() { return r * r; }
    }
    non-sealed class Box implements Shape {
        static final class Lid<T extends Comparable<T>> { void open() {} }
    }
    default String describe() { return "%s }".formatted(this); }
    @interface Tag { String value() default "{"; String[] tags() default {}; }
}

enum Op {
    ADD { int apply(int a, int b) { return a + b; } },
    NEG("-", x -> { return -x; }) { int apply(int a, int b) { return -a; } },
    RED, GREEN;
    Op() {}
    Op(String s, java.util.function.IntUnaryOperator f) {}
    int apply(int a, int b) { return 0; }
}

record Pair<A, B>(A a,
                  B b) {
    static <A, B> Pair<A, B> of(A a, B b) throws Exception { return new Pair<>(a, b); }
}

class Main {
    static Runnable R = () -> { System.out.println("}"); };
    java.util.Comparator<String> C = new java.util.Comparator<String>() {
        public int compare(String a, String b) { return 0; }
    };
    static final char O = '{', Q = '"', A = '\'', U = '\u007B';
    static final String T = """
        { \""" } class No { void no() {} }
        """;
    int[][] grid = {{1}, {2, 3}};
    static { int x = '}'; }
    { for (int i = 0; i < 3; i++) { } }
    interface Listener { void changed(String what); }
    @Deprecated(since = "9") int legacy()[] /* { */ { return null; }
    <T> T[] many(T... items) { return items; }
}
