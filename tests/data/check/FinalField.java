public class FinalField {
    private final int size;
}
