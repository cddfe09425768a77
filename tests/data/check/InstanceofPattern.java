public class InstanceofPattern {
    boolean same(Integer number) {
        return number instanceof Integer boxed && boxed > 0;
    }
}
