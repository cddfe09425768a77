package shapes;

import java.util.ArrayList;
import java.util.List;

/** A shape with a name and some sides. */
public class Shape implements Comparable<Shape> {
    public static int COUNT = 0;
    protected int sides;
    private String secret = "s";
    int packageOnly;
    public final List<String> tags = new ArrayList<>();

    public Shape(int sides) {
        this.sides = sides;
        COUNT++;
    }

    protected Shape() {
        this(0);
    }

    /**
     * The shape's area in square units. Zero for shapes without one.
     *
     * @return the area
     */
    protected double area() {
        return 0;
    }

    public String name() {
        return secret + sides;
    }

    void touch() {
        packageOnly++;
    }

    public static Shape create(int sides) {
        return new Shape(sides);
    }

    private static void hidden() {
    }

    @Override
    public int compareTo(Shape other) {
        return Integer.compare(sides, other.sides);
    }

    public enum Kind {
        ROUND, SQUARE;

        public boolean isRound() {
            return this == ROUND;
        }
    }

    public record Point(int x, int y) {
        public static Point origin() {
            return new Point(0, 0);
        }

        public int sum() {
            return x + y;
        }
    }

    public static class Builder {
        private int count;

        public Builder add() {
            count++;
            return this;
        }

        public Shape build() {
            return new Shape(count);
        }
    }

    public class Part {
        public int index;

        public Shape owner() {
            return Shape.this;
        }
    }

    public interface Visitor<R> {
        R visit(Shape shape);

        static <R> Visitor<R> constant(R value) {
            return shape -> value;
        }

        default String describe() {
            return "visitor";
        }
    }
}
