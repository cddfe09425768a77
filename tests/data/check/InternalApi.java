import sun.misc.Unsafe;

public class InternalApi {
    Unsafe unsafe;
}
