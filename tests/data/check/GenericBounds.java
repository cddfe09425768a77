import java.util.List;

public class GenericBounds {
    static class Box<T extends Number> {
    }

    Box<String> words;
    List<int> numbers;
}
