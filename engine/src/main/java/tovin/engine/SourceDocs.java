package tovin.engine;

import com.sun.source.doctree.DocCommentTree;
import com.sun.source.doctree.DocTree;
import com.sun.source.doctree.EntityTree;
import com.sun.source.doctree.LinkTree;
import com.sun.source.doctree.LiteralTree;
import com.sun.source.doctree.StartElementTree;
import com.sun.source.doctree.TextTree;
import com.sun.source.tree.ClassTree;
import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.tree.MethodTree;
import com.sun.source.tree.Tree;
import com.sun.source.tree.VariableTree;
import com.sun.source.util.DocTrees;
import com.sun.source.util.JavacTask;
import com.sun.source.util.SourcePositions;
import com.sun.source.util.TreePath;
import java.io.IOException;
import java.io.InputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.zip.ZipEntry;
import java.util.zip.ZipFile;
import javax.lang.model.element.Element;
import javax.lang.model.element.ElementKind;
import javax.lang.model.element.ExecutableElement;
import javax.lang.model.element.ModuleElement;
import javax.lang.model.element.TypeElement;
import javax.lang.model.util.Elements;
import javax.tools.JavaCompiler;
import javax.tools.StandardJavaFileManager;
import javax.tools.ToolProvider;

/**
 * The JDK's own sources (its {@code lib/src.zip}): Javadoc, parameter names, and the files a
 * definition opens. A source file is read from the archive and parsed (no more) once, and kept
 * among the last few.
 */
final class SourceDocs {
    static final String NO_DOCUMENTATION = "No documentation.";
    private static final int KEPT = 6;

    /** A source file of the JDK's, parsed. */
    record Parsed(String entry, String text, CompilationUnitTree unit, DocTrees trees) {
    }

    /** Where a declaration is: a file's text and the offset of its name. */
    record Place(Path file, String text, int offset, int length) {
    }

    private final Path cache;
    private final PrintStream log;
    private final Path srcZip;
    private final JavaCompiler compiler = ToolProvider.getSystemJavaCompiler();
    private StandardJavaFileManager files;
    private final Map<String, Parsed> parsed = new LinkedHashMap<>(16, 0.75f, true) {
        private static final long serialVersionUID = 1L;

        @Override
        protected boolean removeEldestEntry(Map.Entry<String, Parsed> eldest) {
            return size() > KEPT;
        }
    };
    private ZipFile zip;

    SourceDocs(Path cache, PrintStream log) {
        this.cache = cache;
        this.log = log;
        Path zipFile = Path.of(System.getProperty("java.home"), "lib", "src.zip");
        this.srcZip = Files.isRegularFile(zipFile) ? zipFile : null;
    }

    /** The cache folder of extracted JDK sources. */
    Path jdkSourceFolder() {
        String user = System.getenv("USER") != null ? System.getenv("USER") : System.getProperty("user.name");
        String temporary = System.getenv("TMPDIR") != null && !System.getenv("TMPDIR").isEmpty()
                ? System.getenv("TMPDIR") : System.getProperty("java.io.tmpdir");
        Path base = cache != null ? cache : Path.of(temporary, "tovin-jdk-source-" + user);
        return base.resolve("jdk-source");
    }

    /** Real parameter names of a JDK method whose class file has none; null when they are not to be had. */
    List<String> parameterNames(Elements elements, ExecutableElement method) {
        if (method.getParameters().isEmpty()
                || !method.getParameters().get(0).getSimpleName().toString().equals("arg0")) {
            return null;
        }
        Found found = find(elements, method);
        if (found == null || !(found.tree instanceof MethodTree tree)) {
            return null;
        }
        List<String> names = new ArrayList<>();
        tree.getParameters().forEach(p -> names.add(p.getName().toString()));
        return names;
    }

    /** The first paragraph of a JDK element's Javadoc as plain text, or null when it has none. */
    String jdkDoc(Elements elements, Element element) {
        Found found = find(elements, element);
        if (found == null) {
            return null;
        }
        DocCommentTree doc = found.parsed.trees.getDocCommentTree(found.path);
        return doc == null ? null : firstParagraph(doc);
    }

    /** The extracted source file of a JDK element and its declaration's name. */
    Place jdkPlace(Elements elements, Element element) {
        Found found = find(elements, element);
        if (found == null) {
            return null;
        }
        Path file = jdkSourceFolder().resolve(found.parsed.entry);
        try {
            // Written once; again only when another JDK's file is there.
            if (!Files.isRegularFile(file) || !Files.readString(file, StandardCharsets.UTF_8).equals(found.parsed.text)) {
                Files.createDirectories(file.getParent());
                Path temporary = Files.createTempFile(file.getParent(), ".extract", ".tmp");
                Files.writeString(temporary, found.parsed.text, StandardCharsets.UTF_8);
                Files.move(temporary, file, StandardCopyOption.ATOMIC_MOVE, StandardCopyOption.REPLACE_EXISTING);
            }
        } catch (IOException e) {
            log.println("tovin-engine: " + file + " cannot be written: " + e.getMessage());
            return null;
        }
        int offset = nameOffset(found.parsed.unit, found.tree, found.parsed.trees.getSourcePositions(),
                found.parsed.text, name(element));
        return new Place(file, found.parsed.text, offset, name(element).length());
    }

    static String name(Element element) {
        return element.getKind() == ElementKind.CONSTRUCTOR ? element.getEnclosingElement().getSimpleName().toString()
                : element.getSimpleName().toString();
    }

    /** The offset of a declaration's name: the first time it is written after the modifiers and type. */
    static int nameOffset(CompilationUnitTree unit, Tree tree, SourcePositions positions, String text, String name) {
        long from = positions.getStartPosition(unit, tree);
        Tree before = null;
        if (tree instanceof MethodTree method) {
            before = method.getReturnType() != null ? method.getReturnType() : method.getModifiers();
        } else if (tree instanceof VariableTree variable) {
            before = variable.getType() != null && positions.getEndPosition(unit, variable.getType()) >= 0
                    ? variable.getType() : variable.getModifiers();
        } else if (tree instanceof ClassTree type) {
            before = type.getModifiers();
        }
        if (before != null && positions.getEndPosition(unit, before) > from) {
            from = positions.getEndPosition(unit, before);
        }
        long end = positions.getEndPosition(unit, tree);
        for (int at = text.indexOf(name, (int) Math.max(0, from)); at >= 0 && (end < 0 || at < end);
                at = text.indexOf(name, at + 1)) {
            boolean startsWord = at == 0 || !Character.isJavaIdentifierPart(text.charAt(at - 1));
            boolean endsWord = at + name.length() >= text.length()
                    || !Character.isJavaIdentifierPart(text.charAt(at + name.length()));
            if (startsWord && endsWord) {
                return at;
            }
        }
        return (int) Math.max(0, positions.getStartPosition(unit, tree));
    }

    /** The first paragraph of a comment: its first sentence up to a blank line, a paragraph or a block tag. */
    static String firstParagraph(DocCommentTree doc) {
        StringBuilder text = new StringBuilder();
        for (DocTree part : doc.getFullBody()) {
            switch (part.getKind()) {
                case TEXT -> {
                    String body = ((TextTree) part).getBody();
                    int blank = body.indexOf("\n\n");
                    int blankSpaced = body.replaceAll("\n[ \t]+\n", "\n\n").indexOf("\n\n");
                    if (blank >= 0 || blankSpaced >= 0) {
                        text.append(body, 0, Math.max(0, blank >= 0 ? blank : blankSpaced));
                        return clean(text);
                    }
                    text.append(body);
                }
                case ENTITY -> text.append(entity(((EntityTree) part).getName().toString()));
                case CODE, LITERAL -> text.append(((LiteralTree) part).getBody().getBody());
                case LINK, LINK_PLAIN -> {
                    LinkTree link = (LinkTree) part;
                    if (!link.getLabel().isEmpty()) {
                        link.getLabel().forEach(label -> text.append(label.toString()));
                    } else {
                        String signature = link.getReference().getSignature();
                        text.append(signature.startsWith("#") ? signature.substring(1) : signature.replace('#', '.'));
                    }
                }
                case START_ELEMENT -> {
                    String tag = ((StartElementTree) part).getName().toString().toLowerCase(java.util.Locale.ROOT);
                    if ((tag.equals("p") || tag.equals("ul") || tag.equals("ol") || tag.equals("pre")
                            || tag.equals("table")) && !text.toString().isBlank()) {
                        return clean(text);
                    }
                }
                case END_ELEMENT, COMMENT -> {
                }
                default -> text.append(part.toString());
            }
        }
        return clean(text);
    }

    private static String clean(StringBuilder text) {
        return text.toString().replaceAll("\\s+", " ").strip();
    }

    private static String entity(String name) {
        return switch (name) {
            case "lt" -> "<";
            case "gt" -> ">";
            case "amp" -> "&";
            case "quot" -> "\"";
            case "apos" -> "'";
            case "nbsp" -> " ";
            default -> {
                if (name.startsWith("#x") || name.startsWith("#X")) {
                    yield new String(Character.toChars(Integer.parseInt(name.substring(2), 16)));
                }
                if (name.startsWith("#")) {
                    yield new String(Character.toChars(Integer.parseInt(name.substring(1))));
                }
                yield "&" + name + ";";
            }
        };
    }

    // ------------------------------------------------------------------ finding a declaration

    private record Found(Parsed parsed, TreePath path, Tree tree) {
    }

    private synchronized Found find(Elements elements, Element element) {
        TypeElement top = null;
        List<Element> chain = new ArrayList<>();
        for (Element e = element; e != null; e = e.getEnclosingElement()) {
            if (e instanceof TypeElement type) {
                top = type;
            }
            if (e.getKind() == ElementKind.PACKAGE || e.getKind() == ElementKind.MODULE) {
                break;
            }
            chain.add(0, e);
        }
        if (top == null || srcZip == null) {
            return null;
        }
        ModuleElement module = elements.getModuleOf(top);
        if (module == null || module.isUnnamed()) {
            return null;
        }
        String entry = module.getQualifiedName() + "/" + top.getQualifiedName().toString().replace('.', '/') + ".java";
        Parsed source = parse(entry);
        if (source == null) {
            return null;
        }
        TreePath path = new TreePath(source.unit);
        List<? extends Tree> members = source.unit.getTypeDecls();
        for (Element e : chain) {
            Tree match = null;
            for (Tree member : members) {
                if (matches(member, e, elements)) {
                    match = member;
                    break;
                }
            }
            if (match == null) {
                return null;
            }
            path = new TreePath(path, match);
            members = match instanceof ClassTree type ? type.getMembers() : List.of();
        }
        return new Found(source, path, path.getLeaf());
    }

    private static boolean matches(Tree tree, Element e, Elements elements) {
        String name = e.getSimpleName().toString();
        if (tree instanceof ClassTree type) {
            return (e.getKind().isClass() || e.getKind().isInterface()) && type.getSimpleName().contentEquals(name);
        }
        if (tree instanceof VariableTree variable) {
            return (e.getKind() == ElementKind.FIELD || e.getKind() == ElementKind.ENUM_CONSTANT)
                    && variable.getName().contentEquals(name);
        }
        if (tree instanceof MethodTree method && e instanceof ExecutableElement executable) {
            boolean constructor = e.getKind() == ElementKind.CONSTRUCTOR;
            if (constructor ? !method.getName().contentEquals("<init>") : !method.getName().contentEquals(name)) {
                return false;
            }
            if (method.getParameters().size() != executable.getParameters().size()) {
                return false;
            }
            for (int i = 0; i < method.getParameters().size(); i++) {
                String written = erasedName(method.getParameters().get(i).getType().toString());
                String declared = erasedName(executable.getParameters().get(i).asType().toString());
                boolean sameDimensions = dimensions(written) == dimensions(declared);
                if (!written.equals(declared) && !(isTypeVariable(written) && sameDimensions)) {
                    return false;
                }
            }
            return true;
        }
        return false;
    }

    /** A written or printed type reduced to its simple name without type arguments: {@code Map.Entry<K,V>[]} → {@code Entry[]}. */
    private static String erasedName(String type) {
        StringBuilder plain = new StringBuilder();
        int depth = 0;
        for (char ch : type.toCharArray()) {
            if (ch == '<') {
                depth++;
            } else if (ch == '>') {
                depth--;
            } else if (depth == 0 && !Character.isWhitespace(ch)) {
                plain.append(ch);
            }
        }
        String s = plain.toString().replace("...", "[]");
        int dims = s.indexOf('[');
        String base = dims >= 0 ? s.substring(0, dims) : s;
        String suffix = dims >= 0 ? s.substring(dims) : "";
        if (base.contains(" ")) {
            base = base.substring(base.lastIndexOf(' ') + 1);
        }
        return base.substring(base.lastIndexOf('.') + 1) + suffix;
    }

    private static int dimensions(String name) {
        return (name.length() - name.replace("[]", "").length()) / 2;
    }

    private static boolean isTypeVariable(String name) {
        String base = name.replace("[]", "");
        return base.length() <= 2 && !base.isEmpty() && Character.isUpperCase(base.charAt(0));
    }

    private Parsed parse(String entry) {
        Parsed known = parsed.get(entry);
        if (known != null) {
            return known;
        }
        try {
            if (zip == null) {
                zip = new ZipFile(srcZip.toFile());
            }
            ZipEntry zipEntry = zip.getEntry(entry);
            if (zipEntry == null) {
                return null;
            }
            String text;
            try (InputStream in = zip.getInputStream(zipEntry)) {
                text = new String(in.readAllBytes(), StandardCharsets.UTF_8);
            }
            if (files == null) {
                files = compiler.getStandardFileManager(d -> { }, Locale.ROOT, StandardCharsets.UTF_8);
            }
            JavacTask task = (JavacTask) compiler.getTask(null, files, d -> { }, List.of("-proc:none"), null,
                    List.of(new MemorySource(java.net.URI.create("file:///" + entry), text, null)));
            CompilationUnitTree unit = task.parse().iterator().next();
            Parsed result = new Parsed(entry, text, unit, DocTrees.instance(task));
            parsed.put(entry, result);
            return result;
        } catch (IOException | RuntimeException e) {
            log.println("tovin-engine: " + entry + " cannot be read from " + srcZip + ": " + e);
            return null;
        }
    }
}
