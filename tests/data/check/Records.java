public class Records {
    record Point(int x, int y) {
        int z;
    }

    record Range(int low, int high) {
        Range {
            this.low = low;
        }
    }
}
