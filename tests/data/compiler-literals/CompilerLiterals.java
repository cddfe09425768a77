import com.sun.tools.javac.file.JavacFileManager;
import com.sun.tools.javac.parser.Scanner;
import com.sun.tools.javac.parser.ScannerFactory;
import com.sun.tools.javac.parser.Tokens.Token;
import com.sun.tools.javac.parser.Tokens.TokenKind;
import com.sun.tools.javac.util.Context;
import java.nio.file.*;
import java.util.*;
import java.util.stream.Stream;

/**
 * Prints the tokens javac's own scanner finds in the Java files under the folders named, as
 * UTF-8 byte offsets into each file: "file PATH", then one line per token, "L START END" for a
 * string literal, character literal or text block and "T START END" for any other token.
 * Whatever lies between tokens is white space or comments.
 */
public class CompilerLiterals {
    public static void main(String[] folders) throws Exception {
        List<String> paths = new ArrayList<>();
        for (String folder : folders) {
            try (Stream<Path> files = Files.walk(Path.of(folder))) {
                files.map(Path::toString).filter(p -> p.endsWith(".java")).sorted()
                        .forEach(paths::add);
            }
        }
        StringBuilder out = new StringBuilder();
        for (String path : paths) {
            String source = Files.readString(Path.of(path));
            int[] offset = new int[source.length() + 1];
            for (int i = 0; i < source.length(); i++) {
                char c = source.charAt(i);
                int bytes = c < 0x80 ? 1 : c < 0x800 ? 2
                        : Character.isHighSurrogate(c) ? 4 : Character.isLowSurrogate(c) ? 0 : 3;
                offset[i + 1] = offset[i] + bytes;
            }
            Context context = new Context();
            JavacFileManager.preRegister(context);
            Scanner scanner = ScannerFactory.instance(context).newScanner(source, false);
            out.append("file\t").append(path).append('\n');
            for (scanner.nextToken(); scanner.token().kind != TokenKind.EOF; scanner.nextToken()) {
                Token token = scanner.token();
                boolean literal = token.kind == TokenKind.STRINGLITERAL
                        || token.kind == TokenKind.CHARLITERAL;
                out.append(literal ? 'L' : 'T').append('\t').append(offset[token.pos])
                        .append('\t').append(offset[token.endPos]).append('\n');
            }
        }
        System.out.print(out);
    }
}
