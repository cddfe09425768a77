public class MissingSemicolon {
    void print() {
        System.out.println("no end")
    }
}
