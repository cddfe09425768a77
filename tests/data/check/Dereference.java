public class Dereference {
    int size(int value) {
        return value.length();
    }
}
