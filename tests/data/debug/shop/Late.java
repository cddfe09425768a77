package shop;

/** Loaded only when Till first calls it, long after the debugger set its breakpoints. */
class Late {
    static String name() {
        return "late";
    }

    static void greet() {
        System.out.println("late"); // @late
    }
}
