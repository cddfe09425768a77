public class PrematureEof {
    void open() {
        System.out.println("open");
    }
