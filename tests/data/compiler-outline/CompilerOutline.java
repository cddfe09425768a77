import com.sun.source.tree.ClassTree;
import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.tree.MethodTree;
import com.sun.source.tree.Tree;
import com.sun.source.tree.TypeParameterTree;
import com.sun.source.util.JavacTask;
import com.sun.source.util.SourcePositions;
import com.sun.source.util.Trees;

import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.List;

import javax.tools.Diagnostic;
import javax.tools.DiagnosticCollector;
import javax.tools.JavaCompiler;
import javax.tools.JavaFileObject;
import javax.tools.StandardJavaFileManager;
import javax.tools.ToolProvider;

/**
 * Prints the types and the methods with a body that the compiler's parser finds in the Java
 * files named in a list file (one path a line), one entry a line, fields separated by tabs:
 *
 * <pre>
 *   class  PATH        NAME         LINE   a top-level type
 *   inner  PATH  TOP   NAME         LINE   a member type, at any depth, filed under its top-level type
 *   method PATH  OWNER NAME         LINE   OWNER is TOP or TOP.MEMBER; a constructor is named by its type
 *   error  PATH  LINE  MESSAGE             a parse error
 * </pre>
 *
 * Names are simple names without type parameters; LINE is the line of the name (from 1). Local
 * and anonymous classes, enum constants' bodies and methods without a body are not listed.
 */
public class CompilerOutline {
    private final StringBuilder out = new StringBuilder();
    private CompilationUnitTree unit;
    private SourcePositions positions;
    private String source;
    private String path;

    public static void main(String[] args) throws Exception {
        List<String> paths = Files.readAllLines(Path.of(args[0]), StandardCharsets.UTF_8);
        JavaCompiler compiler = ToolProvider.getSystemJavaCompiler();
        DiagnosticCollector<JavaFileObject> diagnostics = new DiagnosticCollector<>();
        StandardJavaFileManager fileManager =
                compiler.getStandardFileManager(diagnostics, null, StandardCharsets.UTF_8);
        JavacTask task = (JavacTask) compiler.getTask(null, fileManager, diagnostics,
                List.of("-proc:none", "-encoding", "UTF-8"), null,
                fileManager.getJavaFileObjectsFromStrings(paths));
        CompilerOutline outline = new CompilerOutline();
        outline.positions = Trees.instance(task).getSourcePositions();
        for (CompilationUnitTree unit : task.parse()) {
            outline.read(unit);
        }
        for (Diagnostic<? extends JavaFileObject> d : diagnostics.getDiagnostics()) {
            if (d.getKind() == Diagnostic.Kind.ERROR) {
                outline.out.append("error\t").append(d.getSource() == null ? "" : d.getSource().getName())
                        .append('\t').append(d.getLineNumber()).append('\t')
                        .append(d.getMessage(null).replace('\n', ' ')).append('\n');
            }
        }
        System.out.print(outline.out);
    }

    private void read(CompilationUnitTree unit) throws Exception {
        this.unit = unit;
        this.source = unit.getSourceFile().getCharContent(true).toString();
        this.path = unit.getSourceFile().getName();
        for (Tree type : unit.getTypeDecls()) {
            if (type instanceof ClassTree) {
                readType((ClassTree) type, null);
            }
        }
    }

    private void readType(ClassTree type, String top) {
        String name = type.getSimpleName().toString();
        int line = lineOf(find(name, after(type.getModifiers(), type), ""));
        String owner;
        if (top == null) {
            entry("class", "", name, line);
            top = name;
            owner = name;
        } else {
            entry("inner", top, name, line);
            owner = top + "." + name;
        }
        for (Tree member : type.getMembers()) {
            if (member instanceof ClassTree) {
                readType((ClassTree) member, top);
            } else if (member instanceof MethodTree && ((MethodTree) member).getBody() != null) {
                readMethod((MethodTree) member, name, owner);
            }
        }
    }

    private void readMethod(MethodTree method, String typeName, String owner) {
        boolean constructor = method.getName().contentEquals("<init>");
        String name = constructor ? typeName : method.getName().toString();
        long from;
        if (method.getReturnType() != null) {
            from = positions.getStartPosition(unit, method.getReturnType());
        } else if (!method.getTypeParameters().isEmpty()) {
            List<? extends TypeParameterTree> parameters = method.getTypeParameters();
            from = positions.getEndPosition(unit, parameters.get(parameters.size() - 1));
        } else {
            from = after(method.getModifiers(), method);
        }
        // A compact constructor's name stands before its body, any other before its parameters.
        entry("method", owner, name, lineOf(find(name, from, constructor ? "({" : "(")));
    }

    // Where a declaration's own text starts: after its modifiers, if it has any.
    private long after(Tree modifiers, Tree declaration) {
        long end = positions.getEndPosition(unit, modifiers);
        return end >= 0 ? end : positions.getStartPosition(unit, declaration);
    }

    // The offset of the first whole word `name` at or after `from`, outside comments, that is
    // followed (after blanks and comments) by one of the characters of `next`, when that is not
    // empty; -1 if none.
    private long find(String name, long from, String next) {
        int i = (int) Math.max(from, 0);
        while (i < source.length()) {
            i = skipBlanksAndComments(i);
            if (i >= source.length()) {
                break;
            }
            char c = source.charAt(i);
            if (!Character.isJavaIdentifierStart(c)) {
                i++;
                continue;
            }
            int end = i;
            while (end < source.length() && Character.isJavaIdentifierPart(source.charAt(end))) {
                end++;
            }
            if (source.substring(i, end).equals(name)) {
                int after = skipBlanksAndComments(end);
                if (next.isEmpty() || (after < source.length() && next.indexOf(source.charAt(after)) >= 0)) {
                    return i;
                }
            }
            i = end;
        }
        return -1;
    }

    private int skipBlanksAndComments(int i) {
        while (i < source.length()) {
            if (Character.isWhitespace(source.charAt(i))) {
                i++;
            } else if (source.startsWith("//", i)) {
                int end = source.indexOf('\n', i);
                i = end < 0 ? source.length() : end;
            } else if (source.startsWith("/*", i)) {
                int end = source.indexOf("*/", i + 2);
                i = end < 0 ? source.length() : end + 2;
            } else {
                break;
            }
        }
        return i;
    }

    private int lineOf(long offset) {
        return offset < 0 ? 0 : (int) unit.getLineMap().getLineNumber(offset);
    }

    private void entry(String kind, String owner, String name, int line) {
        out.append(kind).append('\t').append(path).append('\t');
        if (!kind.equals("class")) {
            out.append(owner).append('\t');
        }
        out.append(name).append('\t').append(line).append('\n');
    }
}
