public class BreakOutside {
    void stop() {
        break;
    }
}
