public class Cyclic {
    static class First extends Second {
    }

    static class Second extends First {
    }
}
