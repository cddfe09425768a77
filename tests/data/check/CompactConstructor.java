public class CompactConstructor {
    record Range(int low, int high) {
        Range {
            this.low = low;
        }
    }
}
