public class Records {
    record Point(int x, int y) {
        int z;
    }
}
