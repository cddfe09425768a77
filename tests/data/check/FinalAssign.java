public class FinalAssign {
    void change() {
        final int limit = 10;
        limit = 20;
    }
}
