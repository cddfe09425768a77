public class SwitchExhaustive {
    enum Colour { RED, GREEN, BLUE }

    int code(Colour colour) {
        return switch (colour) {
            case RED -> 1;
            case GREEN -> 2;
        };
    }
}
