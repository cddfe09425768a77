public class UnreachableCode {
    int first() {
        return 1;
        System.out.println("never");
    }
}
