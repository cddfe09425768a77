public class SomethingElse {
}
