public class LambdaCapture {
    Runnable counter() {
        int count = 0;
        count++;
        return () -> System.out.println(count);
    }
}
