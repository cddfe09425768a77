package app;

import java.util.Map;
import java.util.function.Function;
import shapes.Shape;

public class Square extends Shape implements Shape.Visitor<String> {
    private int side;
    private static final String UNIT = "cm";
    protected Map<String, Integer> sizes;

    public Square(int side) {
        super(4);
        this.side = side;
    }

    @Override
    protected double area() {
        return side * side;
    }

    public int side() {
        return side;
    }

    int sideways() {
        return -side;
    }

    private String label(String prefix) {
        return prefix + side + UNIT;
    }

    @Override
    public String visit(Shape shape) {
        return shape.name();
    }

    static int twice(int value) {
        return value * 2;
    }

    void members(Square other, Shape plain, String text, Shape.Point point) {
        other./*|sameClassOther*/side();
        plain./*|protectedAcrossPackages*/name();
        this./*|thisMembers*/side();
        super./*|superMembers*/area();
        text./*|jdkString*/length();
        point./*|recordInstance*/x();
        Shape./*|staticsOfShape*/create(1);
        Shape.Point./*|staticsOfRecord*/origin();
        Shape.Kind./*|enumConstants*/ROUND.isRound();
        Shape.Kind.ROUND./*|enumInstance*/isRound();
        Shape.Visitor./*|interfaceStatics*/constant("x");
        Square./*|ownStatics*/twice(2);
        Integer./*|integerStatics*/parseInt("1");
        tags./*|inheritedFieldList*/size();
        sizes./*|genericMap*/size();
        sizes.entrySet()./*|chainedSet*/size();
        new Shape.Builder()./*|nestedBuilder*/build();
        new Shape.Builder().add()./*|chainedBuilder*/build();
        Shape.Part part = plain.new Part();
        part./*|innerClassInstance*/owner();
        Function<String, Integer> f = s -> s./*|lambdaParameter*/length();
        var list = java.util.List.of(1, 2);
        list./*|varList*/size();
        var builder = new StringBuilder();
        builder./*|varStringBuilder*/append('x');
        Object o = other;
        o./*|objectMembers*/hashCode();
        Thread./*|threadStatics*/currentThread();
        System.out./*|printStream*/println();
        Shape.create(2).tags./*|selectChain*/isEmpty();
        java.util.Collections./*|qualifiedTypeStatics*/emptyList();
        java.util.Optional.of(text)./*|optionalOfString*/isPresent();
        Comparable<Shape> c = plain;
        c./*|interfaceInstance*/compareTo(plain);
        Runnable r = () -> text./*|lambdaBodyCapture*/isEmpty();
        r.run();
        UNIT./*|constantString*/length();
        new Nested()./*|privateOfNestedFromOuter*/look(this);
        new Object() {
            int inAnonymous() {
                return Integer.valueOf(side)./*|inAnonymousClass*/hashCode();
            }
        };
    }

    static <T extends Comparable<T>> T max(T a, T b) {
        return a./*|typeVariableBound*/compareTo(b) > 0 ? a : b;
    }

    class Inner {
        private int depth;

        int reach() {
            return Square.this./*|outerThis*/side() + depth;
        }

        int mine() {
            return this./*|innerThis*/depth;
        }
    }

    static class Nested {
        private int own;

        int look(Square square) {
            return square./*|privateFromNested*/side + own;
        }
    }

    void scopes(int first, String second) {
        int local = first;
        label(/*|secondParameter*/second);
        twice(/*|methodStart*/local);
        for (int i = 0; i < 3; i++) {
            twice(/*|forLoop*/i);
        }
        for (String piece : second.split(",")) {
            label(/*|enhancedFor*/piece);
        }
        try (java.io.StringReader reader = new java.io.StringReader(second)) {
            reader.ready();
            twice(/*|tryResource*/local);
        } catch (java.io.IOException problem) {
            label(/*|catchParameter*/problem.getMessage());
        }
        Object value = second;
        if (value instanceof String bound) {
            label(/*|patternBinding*/bound);
        }
        Function<Integer, Integer> g = n -> twice(/*|lambdaScope*/n);
        java.util.function.BiFunction<Integer, Integer, Integer> h = (a, b) -> {
            int inner = a + b;
            return twice(/*|blockLambda*/inner);
        };
        var later = g.apply(1) + h.apply(1, 2);
        twice(/*|afterVar*/later);
        new Thread() {
            int counted = first;

            @Override
            public void run() {
                int runLocal = counted;
                twice(/*|anonymousMethod*/runLocal);
            }
        }.start();
        class Local {
            int get(int arg) {
                return twice(/*|localClassMethod*/arg);
            }
        }
        twice(/*|afterLocalClass*/new Local().get(local));
    }

    static int statics(int arg) {
        int x = arg;
        return twice(/*|staticMethod*/x);
    }

    Function<Integer, Integer> field = v -> twice(/*|fieldInitializer*/v);
}
