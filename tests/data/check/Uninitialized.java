public class Uninitialized {
    int read(boolean flag) {
        int value;
        if (flag) {
            value = 1;
        }
        return value;
    }
}
