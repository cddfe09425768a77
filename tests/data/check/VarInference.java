public class VarInference {
    void declare() {
        var nothing;
        var empty = null;
    }
}
