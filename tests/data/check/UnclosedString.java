public class UnclosedString {
    String greeting = "hello;
}
