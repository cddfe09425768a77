import java.io.FileNotFoundException;
import java.io.IOException;

public class UnreachableCatch {
    void read() {
        try {
            throw new FileNotFoundException("x");
        } catch (FileNotFoundException e) {
            System.out.println(e);
        } catch (IOException e) {
            System.out.println(e);
        }
    }
}
