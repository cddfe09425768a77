public class Sealed {
    sealed interface Shape permits Circle {}

    final class Circle implements Shape {}

    final class Square implements Shape {}
}
