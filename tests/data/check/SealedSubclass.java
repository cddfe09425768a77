public class SealedSubclass {
    sealed interface Shape permits Circle, Square {}

    final class Circle implements Shape {}

    class Square implements Shape {}
}
