import java.util.ArrayList;
import java.util.List;

public class Unchecked {
    @SuppressWarnings("rawtypes")
    List names() {
        return new ArrayList();
    }

    List<String> typed() {
        List<String> list = names();
        return list;
    }
}
