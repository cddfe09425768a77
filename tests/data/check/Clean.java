import java.util.List;

/** A file javac accepts without a word: its diagnostics are an empty list. */
public class Clean {
    record Pair(String name, int count) {
    }

    String text = """
        a text block
        """;

    int total(List<Pair> pairs) {
        int sum = 0;
        for (Pair pair : pairs) {
            sum += pair.count();
        }
        return sum;
    }
}
