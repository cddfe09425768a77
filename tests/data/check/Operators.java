public class Operators {
    boolean compare(Integer number, String text) {
        return number == text;
    }

    boolean negate(String text) {
        return !text;
    }

    int subtract(String a, String b) {
        return a - b;
    }
}
