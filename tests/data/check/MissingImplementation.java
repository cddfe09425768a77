public class MissingImplementation implements Runnable {
}
