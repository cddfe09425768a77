public class WeakerAccess {
    @Override
    protected String toString() {
        return "weaker";
    }
}
