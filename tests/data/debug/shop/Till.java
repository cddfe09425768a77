package shop;

import java.util.List;
import java.util.function.IntUnaryOperator;

/** A small program for the debugger's tests; the marker comments name the lines they check. */
public class Till {
    record Item(String name, int cents) {}

    static class Counter {
        private int count;

        int add(int n) {
            count += n; // @counter-add
            return count;
        }
    }

    class Drawer {
        int open(int cents) {
            return cents + base; // @drawer-open
        }
    }

    private int base = 100;
    static final String SHOP = "corner";
    static int visits;

    static String lateName() {
        return Late.name();
    }

    static int twice(int n) {
        int doubled = n * 2; // @twice-first
        return doubled;
    }

    public static void main(String[] args) {
        int count = 3; // @main-first
        long big = 1L << 40;
        double price = 2.5;
        char mark = 'x';
        boolean ok = true;
        String name = "caf\u00e9";
        int[] numbers = {4, 5, 6};
        Item item = new Item("tea", 250);
        visits++;
        int t = twice(count); // @call-twice
        System.out.println("twice " + t); // @after-twice
        Counter counter = new Counter();
        for (int i = 0; i < 5; i++) {

            // @no-code
            counter.add(i); // @loop
        }
        IntUnaryOperator square = x -> {
            return x * x; // @lambda
        };
        int squared = square.applyAsInt(7);
        Drawer drawer = new Till().new Drawer(); // @make-drawer
        int opened = drawer.open(5); // @call-open
        Late.greet(); // @call-late
        List.of(1, 2).forEach(v -> System.out.println("each " + v));
        System.out.println("done " + squared + " " + opened + " " + big + price + mark + ok + numbers.length
                           + item.cents());
        System.exit(args.length > 0 ? Integer.parseInt(args[0]) : 0);
    }
}
