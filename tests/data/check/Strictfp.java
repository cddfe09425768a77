public class Strictfp {
    strictfp double half(double value) {
        return value / 2;
    }
}
