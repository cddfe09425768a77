public class Utf16Columns {
    // The error follows characters outside the Basic Multilingual Plane and a tab.
    String emoji = "😀😀";	int bad = "😀";
}
