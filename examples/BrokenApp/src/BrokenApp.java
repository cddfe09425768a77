/** Does not compile on purpose: the statement on line 4 lacks its semicolon. */
public class BrokenApp {
    public static void main(String[] args) {
        int answer = 42
        System.out.println("The answer is " + answer);
    }
}
