import java.util.Date;

public class Deprecation {
    int year() {
        Date date = new Date(99, 0, 1);
        return date.getYear();
    }
}
