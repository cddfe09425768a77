/* A file whose first characters open a block comment,
   with "quotes" and // slashes inside it. */
package demo.quirks;

import java.util.List;

/**
 * Javadoc with <b>markup</b> and a "string".
 */
public class Quirks extends Object implements Runnable {
    private static final String URL = "http://example.com/*not a comment*/";
    private String escaped = "a \"quote\" and a backslash \\";
    private String twoBackslashes = "x\\\\" + "y";
    int intValue, my_int, int2; // keywords inside identifiers stay plain
    String s = "unterminated
        string runs on";
    /* one */ /* two */int x;/* three */
    long y = 1; /*/ odd opener /*/ long z;
    double d = 2 */ 3;

    public void run() {
        for (int i = 0; i < 10; i++) {
            if (i % 2 == 0) continue; else break;
        }
        String t = "a""b";
        String u = "/* not closed in a string";
        return;
    }
}
// a trailing comment without a line break