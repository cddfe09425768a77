public class TypeMismatch {
    void assign() {
        int count = "three";
        long big = 1L;
        int small = big;
    }
}
