public class MissingSymbol {
    int twice(int value) {
        return valu * 2;
    }
}
