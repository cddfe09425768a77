public class WrongArity {
    static int add(int a, int b) {
        return a + b;
    }

    int use() {
        return add(1, 2, 3);
    }
}
