import java.io.IOException;

public class NeverThrown {
    void quiet() {
        try {
            System.out.println("quiet");
        } catch (IOException e) {
            System.out.println(e);
        }
    }
}
