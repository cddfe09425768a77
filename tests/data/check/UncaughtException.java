import java.io.FileReader;

public class UncaughtException {
    void open() {
        new FileReader("missing.txt");
    }
}
