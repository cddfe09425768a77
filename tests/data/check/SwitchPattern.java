public class SwitchPattern {
    String describe(Object value) {
        return switch (value) {
            case String text -> "text " + text;
            default -> "other";
        };
    }
}
