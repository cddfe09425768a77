public class IllegalStart {
    int value() {
        return * 2;
    }
}
