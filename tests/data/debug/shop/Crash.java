package shop;

/** Ends with an exception nobody catches. */
public class Crash {
    static void fail(int code) {
        if (code > 0) {
            throw new IllegalStateException("broken " + code); // @throw
        }
    }

    public static void main(String[] args) {
        try {
            fail(-1);
            Integer.parseInt("not a number"); // caught: no stop unless caught ones are asked for
        } catch (NumberFormatException e) {
            System.out.println("caught");
        }
        fail(2); // @call-fail
    }
}
