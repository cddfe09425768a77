public class MissingBody {
    void nothing();
}
