public class NonStatic {
    int counter;

    public static void main(String[] args) {
        counter++;
    }
}
