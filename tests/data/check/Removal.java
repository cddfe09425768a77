public class Removal {
    Integer boxed() {
        return new Integer(42);
    }
}
