public class ValueBasedSync {
    void lock() {
        Integer key = 7;
        synchronized (key) {
            System.out.println(key);
        }
    }
}
