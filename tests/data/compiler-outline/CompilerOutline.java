import com.sun.source.tree.*;
import com.sun.source.util.*;
import java.nio.file.*;
import java.util.*;
import java.util.regex.*;
import java.util.stream.Stream;
import javax.tools.*;

/**
 * Prints what javac's parser declares in the Java files under the folders named, one entry a
 * line, tab-separated: "class PATH NAME LINE", "inner PATH TOP NAME LINE" (a member type at any
 * depth) or "method PATH OWNER NAME LINE" (OWNER is TOP or TOP.MEMBER; a constructor is named by
 * its type), and "error ..." for a parse error. LINE is the line of the name. Local and anonymous
 * classes, enum constants' bodies and methods without a body are left out.
 */
public class CompilerOutline {
    private static final Pattern TOKEN =
            Pattern.compile("\\s+|//.*|(?s:/\\*.*?\\*/)|\\p{javaJavaIdentifierPart}+|.");
    private static final StringBuilder out = new StringBuilder();
    private static SourcePositions positions;
    private static CompilationUnitTree unit;
    private static String source;

    public static void main(String[] folders) throws Exception {
        List<String> paths = new ArrayList<>();
        for (String folder : folders) {
            try (Stream<Path> files = Files.walk(Path.of(folder))) {
                files.map(Path::toString).filter(p -> p.endsWith(".java")).forEach(paths::add);
            }
        }
        JavaCompiler compiler = ToolProvider.getSystemJavaCompiler();
        DiagnosticCollector<JavaFileObject> diagnostics = new DiagnosticCollector<>();
        StandardJavaFileManager files = compiler.getStandardFileManager(diagnostics, null, null);
        JavacTask task = (JavacTask) compiler.getTask(null, files, diagnostics,
                List.of("-proc:none", "-encoding", "UTF-8"), null,
                files.getJavaFileObjectsFromStrings(paths));
        positions = Trees.instance(task).getSourcePositions();
        for (CompilationUnitTree parsed : task.parse()) {
            unit = parsed;
            source = unit.getSourceFile().getCharContent(true).toString();
            unit.getTypeDecls().stream().filter(ClassTree.class::isInstance)
                    .forEach(type -> readType((ClassTree) type, null));
        }
        diagnostics.getDiagnostics().stream().filter(d -> d.getKind() == Diagnostic.Kind.ERROR)
                .forEach(d -> out.append("error\t" + d.toString().replace('\n', ' ') + "\n"));
        System.out.print(out);
    }

    private static void readType(ClassTree type, String top) {
        String name = type.getSimpleName().toString();
        long at = find(name, type, type.getModifiers(), "");
        print(top == null ? "class" : "inner", top, name, at);
        for (Tree member : type.getMembers()) {
            if (member instanceof ClassTree inner) {
                readType(inner, top == null ? name : top);
            } else if (member instanceof MethodTree method && method.getBody() != null) {
                String owner = top == null ? name : top + "." + name;
                String called = method.getName().toString().replace("<init>", name);
                // A compact constructor's name stands before its body, any other before "(".
                print("method", owner, called, find(called, method, method.getModifiers(), "({"));
            }
        }
    }

    // The offset of the first word `name` after the declaration's modifiers, outside comments,
    // that the next word or sign (outside comments) follows from `next`; any one when empty.
    private static long find(String name, Tree declaration, Tree modifiers, String next) {
        long from = positions.getEndPosition(unit, modifiers);
        from = from >= 0 ? from : positions.getStartPosition(unit, declaration);
        Matcher token = TOKEN.matcher(source).region((int) from, source.length());
        long candidate = -1;
        for (; token.lookingAt(); token.region(token.end(), source.length())) {
            String text = token.group();
            if (!text.isBlank() && !text.startsWith("//") && !text.startsWith("/*")) {
                if (candidate >= 0 && (next.isEmpty() || next.indexOf(text.charAt(0)) >= 0)) {
                    return candidate;
                }
                candidate = text.equals(name) ? token.start() : -1;
            }
        }
        return -1;
    }

    private static void print(String kind, String owner, String name, long offset) {
        out.append(kind).append('\t').append(unit.getSourceFile().getName())
                .append(owner == null ? "" : "\t" + owner).append('\t').append(name).append('\t')
                .append(offset < 0 ? 0 : unit.getLineMap().getLineNumber(offset)).append('\n');
    }
}
