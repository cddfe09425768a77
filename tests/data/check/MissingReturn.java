public class MissingReturn {
    int sign(int value) {
        if (value > 0) {
            return 1;
        }
    }
}
