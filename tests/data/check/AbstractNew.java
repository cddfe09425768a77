public class AbstractNew {
    abstract static class Shape {
    }

    Shape make() {
        return new Shape();
    }
}
