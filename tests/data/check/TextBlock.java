public class TextBlock {
    String html = """<p>
        hello
        </p>""";
}
