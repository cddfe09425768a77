package tovin.engine;

import com.sun.source.tree.BlockTree;
import com.sun.source.tree.ClassTree;
import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.tree.MethodTree;
import com.sun.source.tree.Tree;
import com.sun.source.util.JavacTask;
import com.sun.source.util.SourcePositions;
import com.sun.source.util.TreeScanner;
import com.sun.source.util.Trees;
import java.io.IOException;
import java.io.PrintStream;
import java.net.URI;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import javax.tools.JavaCompiler;
import javax.tools.JavaFileObject;
import javax.tools.StandardJavaFileManager;

/**
 * Source files reduced to their declarations: every method and constructor body becomes
 * {@code { throw null; }} (its line breaks kept, so lines keep their numbers), which any return
 * type accepts. Kept by text, so a file's outline is made once until it changes.
 */
final class Outlines {
    private static final int KEPT = 2000;

    private final JavaCompiler compiler;
    private final StandardJavaFileManager fileManager;
    private final PrintStream log;
    private final Map<String, String> byText = new LinkedHashMap<>(16, 0.75f, true) {
        @Override
        protected boolean removeEldestEntry(Map.Entry<String, String> eldest) {
            return size() > KEPT;
        }
    };

    Outlines(JavaCompiler compiler, StandardJavaFileManager fileManager, PrintStream log) {
        this.compiler = compiler;
        this.fileManager = fileManager;
        this.log = log;
    }

    /** The outline of a file on disk, or its whole text when it cannot be read as Java. */
    String outline(JavaFileObject file) throws IOException {
        return outline(file.toUri(), file.getCharContent(true).toString());
    }

    synchronized String outline(URI uri, String text) {
        return byText.computeIfAbsent(text, t -> make(uri, t));
    }

    private String make(URI uri, String text) {
        try {
            JavacTask task = (JavacTask) compiler.getTask(null, fileManager, d -> { }, List.of("-proc:none"), null,
                    List.of(new MemorySource(uri, text, null)));
            List<long[]> bodies = new ArrayList<>();
            for (CompilationUnitTree unit : task.parse()) {
                SourcePositions positions = Trees.instance(task).getSourcePositions();
                new TreeScanner<Void, Void>() {
                    @Override
                    public Void visitMethod(MethodTree method, Void unused) {
                        BlockTree body = method.getBody();
                        if (body != null) {
                            long start = positions.getStartPosition(unit, body);
                            long end = positions.getEndPosition(unit, body);
                            if (start >= 0 && end > start) {
                                bodies.add(new long[] {start, end});
                            }
                        }
                        return null;
                    }

                    @Override
                    public Void visitClass(ClassTree type, Void unused) {
                        for (Tree member : type.getMembers()) {
                            if (member instanceof MethodTree || member instanceof ClassTree) {
                                scan(member, null);
                            }
                        }
                        return null;
                    }
                }.scan(unit, null);
            }
            bodies.sort((a, b) -> Long.compare(a[0], b[0]));
            StringBuilder outline = new StringBuilder(text.length());
            int from = 0;
            for (long[] body : bodies) {
                if (body[0] < from || body[1] > text.length()) {
                    continue;
                }
                outline.append(text, from, (int) body[0]).append("{ throw null; }");
                text.chars().skip(body[0]).limit(body[1] - body[0]).filter(c -> c == '\n')
                        .forEach(c -> outline.append('\n'));
                from = (int) body[1];
            }
            return outline.append(text, from, text.length()).toString();
        } catch (IOException | RuntimeException e) {
            log.println("tovin-engine: " + uri + " is read whole: " + e);
            return text;
        }
    }
}
