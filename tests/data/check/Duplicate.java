public class Duplicate {
    void twice() {
        int count = 1;
        int count = 2;
    }

    void twice() {
    }
}
