public class Ambiguous {
    static void show(Integer number) {
    }

    static void show(String text) {
    }

    void call() {
        show(null);
    }
}
