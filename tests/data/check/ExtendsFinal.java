public class ExtendsFinal extends String {
}
