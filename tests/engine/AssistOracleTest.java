package tovin.engine;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import com.google.gson.JsonArray;
import com.google.gson.JsonElement;
import com.google.gson.JsonObject;
import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.tree.IdentifierTree;
import com.sun.source.tree.MemberReferenceTree;
import com.sun.source.tree.MemberSelectTree;
import com.sun.source.tree.NewClassTree;
import com.sun.source.tree.Scope;
import com.sun.source.tree.Tree;
import com.sun.source.util.JavacTask;
import com.sun.source.util.SourcePositions;
import com.sun.source.util.TreePath;
import com.sun.source.util.TreePathScanner;
import com.sun.source.util.Trees;
import java.io.IOException;
import java.net.URI;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.TreeSet;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import java.util.stream.Stream;
import java.util.zip.ZipFile;
import javax.lang.model.element.Element;
import javax.lang.model.element.ElementKind;
import javax.lang.model.element.ExecutableElement;
import javax.lang.model.element.Modifier;
import javax.lang.model.element.TypeElement;
import javax.lang.model.type.DeclaredType;
import javax.lang.model.type.TypeKind;
import javax.lang.model.type.TypeMirror;
import javax.lang.model.type.TypeVariable;
import javax.tools.JavaCompiler;
import javax.tools.SimpleJavaFileObject;
import javax.tools.ToolProvider;
import org.junit.jupiter.api.AfterAll;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/**
 * The engine's completion and navigation checked against the compiler: an oracle here compiles
 * the same project (tests/data/assist) with a plain javac task and asks javax.lang.model what is
 * a member, what is accessible, what is in scope, where a declaration is and what refers to it.
 */
class AssistOracleTest {
    private static final Path DATA = Path.of(System.getProperty("tovin.testData"), "assist");
    private static final Pattern MARKER = Pattern.compile("/\\*([|>])(\\w+)\\*/");
    private static final List<String> FILES = List.of("shapes/Shape.java", "app/Square.java", "app/Users.java");

    /** A project file with its markers taken out, and where they were. */
    record Marked(Path path, String text, Map<String, Integer> carets) {
        String uri() {
            return path.toAbsolutePath().toUri().toString();
        }
    }

    private static final Map<String, Marked> marked = new LinkedHashMap<>();
    private static EngineSession session;
    private static JavacTask oracle;
    private static Trees trees;
    private static final Map<String, CompilationUnitTree> units = new LinkedHashMap<>();

    @BeforeAll
    static void start() throws IOException {
        List<String> args = new ArrayList<>(List.of("--source-path", DATA.toString()));
        for (String file : FILES) {
            Path path = DATA.resolve(file);
            marked.put(file, mark(path, Files.readString(path)));
            args.add("--project-file");
            args.add(path.toString());
        }
        session = EngineSession.initialized(false, args.toArray(new String[0]));
        for (Marked m : marked.values()) {
            session.open(m.path(), m.text(), 1);
        }
        JavaCompiler compiler = ToolProvider.getSystemJavaCompiler();
        List<SimpleJavaFileObject> sources = new ArrayList<>();
        for (Marked m : marked.values()) {
            sources.add(new SimpleJavaFileObject(m.path().toAbsolutePath().toUri(), SimpleJavaFileObject.Kind.SOURCE) {
                @Override
                public CharSequence getCharContent(boolean ignoreEncodingErrors) {
                    return m.text();
                }
            });
        }
        oracle = (JavacTask) compiler.getTask(null, null, null, List.of("-proc:none"), null, sources);
        for (CompilationUnitTree unit : oracle.parse()) {
            units.put(Path.of(unit.getSourceFile().toUri()).toString(), unit);
        }
        oracle.analyze();
        trees = Trees.instance(oracle);
    }

    @AfterAll
    static void stop() throws Exception {
        session.close();
    }

    static Marked mark(Path path, String text) {
        Map<String, Integer> carets = new LinkedHashMap<>();
        StringBuilder plain = new StringBuilder();
        Matcher m = MARKER.matcher(text);
        int last = 0;
        while (m.find()) {
            plain.append(text, last, m.start());
            carets.put(m.group(2), plain.length());
            last = m.end();
        }
        plain.append(text.substring(last));
        return new Marked(path, plain.toString(), carets);
    }

    private static Marked square() {
        return marked.get("app/Square.java");
    }

    static Stream<Arguments> memberCarets() {
        Marked file = square();
        return file.carets().entrySet().stream().filter(e -> file.text().charAt(e.getValue() - 1) == '.')
                .map(e -> Arguments.of(e.getKey()));
    }

    static Stream<Arguments> scopeCarets() {
        Marked file = square();
        return file.carets().entrySet().stream().filter(e -> file.text().charAt(e.getValue() - 1) != '.')
                .map(e -> Arguments.of(e.getKey()));
    }

    // ------------------------------------------------------------------ completion

    @ParameterizedTest(name = "{0}")
    @MethodSource("memberCarets")
    void membersAfterADotAreTheAccessibleMembersJavacGives(String caret) throws IOException {
        Marked file = square();
        int offset = file.carets().get(caret);
        Set<String> engine = new TreeSet<>();
        for (JsonElement item : complete(file, offset)) {
            JsonObject o = item.getAsJsonObject();
            if (o.get("kind").getAsInt() != 14) { // keywords (class, this, super) are not members
                engine.add(key(o.get("filterText").getAsString(), o.get("kind").getAsInt() == 2
                        ? arity(o.get("label").getAsString()) : -1));
            }
        }
        Set<String> expected = oracleMembers(file, offset);
        assertEquals(expected, engine, caret);

        // With the name's first letters typed: those members whose names start so.
        int letters = Character.isJavaIdentifierPart(file.text().charAt(offset + 1)) ? 2 : 1;
        String typed = file.text().substring(offset, offset + letters);
        Set<String> filtered = new TreeSet<>();
        for (JsonElement item : complete(file, offset + letters)) {
            JsonObject o = item.getAsJsonObject();
            if (o.get("kind").getAsInt() != 14) {
                filtered.add(key(o.get("filterText").getAsString(), o.get("kind").getAsInt() == 2
                        ? arity(o.get("label").getAsString()) : -1));
            }
        }
        expected.removeIf(name -> !name.toLowerCase().startsWith(typed.toLowerCase()));
        assertEquals(expected, filtered, caret + " after " + typed);
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("scopeCarets")
    void localsAreTheScopesLocals(String caret) throws IOException {
        Marked file = square();
        int offset = file.carets().get(caret);
        Set<String> engine = new TreeSet<>();
        for (JsonElement item : complete(file, offset)) {
            if (item.getAsJsonObject().get("kind").getAsInt() == 6) {
                engine.add(item.getAsJsonObject().get("label").getAsString());
            }
        }
        TreePath at = treeStartingAt(file, offset);
        Set<String> expected = new TreeSet<>();
        for (Scope s = trees.getScope(at); s != null; s = s.getEnclosingScope()) {
            for (Element e : s.getLocalElements()) {
                switch (e.getKind()) {
                    case LOCAL_VARIABLE, PARAMETER, EXCEPTION_PARAMETER, RESOURCE_VARIABLE, BINDING_VARIABLE ->
                        expected.add(e.getSimpleName().toString());
                    default -> {
                    }
                }
            }
        }
        assertFalse(expected.isEmpty(), caret + " has locals");
        assertEquals(expected, engine, caret);

        // With a letter typed: the locals starting with it.
        String typed = file.text().substring(offset, offset + 1);
        if (Character.isJavaIdentifierStart(typed.charAt(0))) {
            Set<String> filtered = new TreeSet<>();
            for (JsonElement item : complete(file, offset + 1)) {
                if (item.getAsJsonObject().get("kind").getAsInt() == 6) {
                    filtered.add(item.getAsJsonObject().get("label").getAsString());
                }
            }
            expected.removeIf(name -> !name.toLowerCase().startsWith(typed.toLowerCase()));
            assertEquals(expected, filtered, caret + " after " + typed);
        }
    }

    @org.junit.jupiter.api.Test
    void everyPlaceOfTheProjectGetsAnAnswer() throws IOException {
        for (Marked file : marked.values()) {
            for (int offset = 0; offset <= file.text().length(); offset++) {
                // Every few characters, and before each parenthesis after a space (after
                // if, for, try, catch: where javac's recovery is weakest).
                boolean parenthesis = offset > 0 && offset < file.text().length()
                        && file.text().startsWith(" (", offset - 1);
                if (offset % 7 != 0 && !parenthesis) {
                    continue;
                }
                Map<String, Object> at = Map.of("textDocument", Map.of("uri", file.uri()), "position",
                        position(file.text(), offset));
                List<String> methods = offset % 21 == 0
                        ? List.of("textDocument/completion", "textDocument/hover", "textDocument/definition",
                                "textDocument/signatureHelp")
                        : List.of("textDocument/completion");
                for (String method : methods) {
                    JsonObject answer = session.request(method, at);
                    assertTrue(answer.has("result"), method + " at " + at + ": " + answer);
                }
            }
        }
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("scopeCarets")
    void namesInScopeAreTheEnclosingClassesMembersJavacAllows(String caret) throws IOException {
        Marked file = square();
        int offset = file.carets().get(caret);
        Set<String> engine = new TreeSet<>();
        for (JsonElement item : complete(file, offset)) {
            JsonObject o = item.getAsJsonObject();
            int kind = o.get("kind").getAsInt();
            if (kind == 2 || kind == 5 || kind == 20) {
                engine.add(key(o.get("filterText").getAsString(), kind == 2 ? arity(o.get("label").getAsString()) : -1));
            }
        }
        Set<String> expected = oracleScopeMembers(file, offset);
        assertTrue(expected.contains("twice/1"), caret + ": " + expected);
        assertEquals(expected, engine, caret);
    }

    /**
     * The fields and methods a simple name may reach at the offset: the members of each enclosing
     * class, innermost first, accessible from the caret's scope; an outer class's instance members
     * only while no static method, initializer or class stands between; a name an inner class has
     * hides the outer classes' members of that name (JLS 6.4.1, 15.12.1).
     */
    private static Set<String> oracleScopeMembers(Marked file, int offset) {
        TreePath at = treeStartingAt(file, offset);
        Scope scope = trees.getScope(at);
        Set<String> expected = new TreeSet<>();
        Set<String> hidden = new TreeSet<>();
        boolean staticOnly = false;
        for (TreePath p = at; p != null; p = p.getParentPath()) {
            Tree leaf = p.getLeaf();
            Tree parent = p.getParentPath() == null ? null : p.getParentPath().getLeaf();
            boolean inClassBody = parent instanceof com.sun.source.tree.ClassTree;
            if (leaf instanceof com.sun.source.tree.MethodTree m && m.getModifiers().getFlags().contains(Modifier.STATIC)
                    || leaf instanceof com.sun.source.tree.BlockTree b && b.isStatic() && inClassBody
                    || leaf instanceof com.sun.source.tree.VariableTree v && inClassBody
                            && v.getModifiers().getFlags().contains(Modifier.STATIC)) {
                staticOnly = true;
            }
            if (!(leaf instanceof com.sun.source.tree.ClassTree)) {
                continue;
            }
            TypeElement type = (TypeElement) trees.getElement(p);
            Set<String> names = new TreeSet<>();
            for (Element member : oracle.getElements().getAllMembers(type)) {
                ElementKind kind = member.getKind();
                if (kind != ElementKind.METHOD && kind != ElementKind.FIELD && kind != ElementKind.ENUM_CONSTANT) {
                    continue;
                }
                String name = (kind == ElementKind.METHOD ? "()" : "") + member.getSimpleName();
                boolean isStatic = member.getModifiers().contains(Modifier.STATIC);
                if (hidden.contains(name) || staticOnly && !isStatic
                        || !trees.isAccessible(scope, member, (DeclaredType) type.asType())) {
                    continue;
                }
                names.add(name);
                expected.add(key(member.getSimpleName().toString(),
                        kind == ElementKind.METHOD ? ((ExecutableElement) member).getParameters().size() : -1));
            }
            hidden.addAll(names);
            // A static nested class (enums, records and interfaces are) reaches no outer instance.
            if (type.getModifiers().contains(Modifier.STATIC) || type.getKind() != ElementKind.CLASS) {
                staticOnly = true;
            }
        }
        return expected;
    }

    private static JsonArray complete(Marked file, int offset) throws IOException {
        JsonObject answer = session.request("textDocument/completion", Map.of("textDocument", Map.of("uri", file.uri()),
                "position", position(file.text(), offset)));
        assertTrue(answer.has("result"), answer.toString());
        return answer.getAsJsonObject("result").getAsJsonArray("items");
    }

    /** What javax.lang.model says a select at the offset may name: accessible members, only static ones after a type. */
    private static Set<String> oracleMembers(Marked file, int offset) {
        CompilationUnitTree unit = units.get(file.path().toString());
        SourcePositions positions = trees.getSourcePositions();
        // The select whose name starts at the caret.
        TreePath[] found = new TreePath[1];
        new TreePathScanner<Void, Void>() {
            @Override
            public Void visitMemberSelect(MemberSelectTree node, Void v) {
                long end = positions.getEndPosition(unit, node);
                if (end - node.getIdentifier().length() == offset) {
                    found[0] = getCurrentPath();
                }
                return super.visitMemberSelect(node, v);
            }
        }.scan(unit, null);
        assertNotNull(found[0], "no select at the caret");
        TreePath select = found[0];
        TreePath expression = new TreePath(select, ((MemberSelectTree) select.getLeaf()).getExpression());
        Element target = trees.getElement(expression);
        Tree leaf = expression.getLeaf();
        String written = leaf.toString();
        boolean typeName = target instanceof TypeElement && !written.equals("this") && !written.equals("super")
                && !written.endsWith(".this");
        TypeMirror type = typeName ? target.asType() : trees.getTypeMirror(expression);
        if (type.getKind() == TypeKind.TYPEVAR) {
            type = ((TypeVariable) type).getUpperBound();
        }
        Set<String> expected = new TreeSet<>();
        if (!(type instanceof DeclaredType site)) {
            return expected;
        }
        Scope scope = trees.getScope(select);
        // Through super, a member is accessed as one of the current class (JLS 6.6.2.1).
        DeclaredType qualifier = written.equals("super") ? (DeclaredType) scope.getEnclosingClass().asType() : site;
        for (Element member : oracle.getElements().getAllMembers((TypeElement) site.asElement())) {
            ElementKind kind = member.getKind();
            boolean isType = kind.isClass() || kind.isInterface();
            boolean isStatic = member.getModifiers().contains(Modifier.STATIC);
            boolean named = kind == ElementKind.METHOD || kind == ElementKind.FIELD || kind == ElementKind.ENUM_CONSTANT;
            if (typeName ? !(isType || named && isStatic) : !named) {
                continue;
            }
            // An interface's static method is called through the interface's name only.
            if (!typeName && isStatic && kind == ElementKind.METHOD
                    && member.getEnclosingElement().getKind().isInterface()) {
                continue;
            }
            if (trees.isAccessible(scope, member, qualifier)) {
                expected.add(key(member.getSimpleName().toString(),
                        kind == ElementKind.METHOD ? ((ExecutableElement) member).getParameters().size() : -1));
            }
        }
        return expected;
    }

    private static String key(String name, int arity) {
        return arity < 0 ? name : name + "/" + arity;
    }

    /** The parameters a label {@code name(T1 a, T2 b)} lists. */
    private static int arity(String label) {
        String inside = label.substring(label.indexOf('(') + 1, label.lastIndexOf(')'));
        if (inside.isBlank()) {
            return 0;
        }
        int count = 1;
        int depth = 0;
        for (char ch : inside.toCharArray()) {
            depth += ch == '<' ? 1 : ch == '>' ? -1 : 0;
            count += ch == ',' && depth == 0 ? 1 : 0;
        }
        return count;
    }

    /** The innermost tree of the file that starts at the offset. */
    private static TreePath treeStartingAt(Marked file, int offset) {
        CompilationUnitTree unit = units.get(file.path().toString());
        SourcePositions positions = trees.getSourcePositions();
        TreePath[] found = new TreePath[1];
        new TreePathScanner<Void, Void>() {
            @Override
            public Void scan(Tree tree, Void v) {
                if (tree != null && positions.getStartPosition(unit, tree) == offset) {
                    found[0] = new TreePath(getCurrentPath(), tree);
                }
                return super.scan(tree, v);
            }
        }.scan(unit, null);
        return found[0];
    }

    // ------------------------------------------------------------------ navigation

    static Stream<Arguments> projectNames() {
        return Stream.of("side", "create", "name", "sum", "Users", "newUsers", "area", "undocumented")
                .map(Arguments::of);
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("projectNames")
    void definitionLandsOnTheDeclarationJavacGives(String caret) throws IOException {
        Marked users = marked.get("app/Users.java");
        Element element = oracleElement(users, users.carets().get(caret));
        TreePath declaration = trees.getPath(element);
        if (declaration == null) { // a local: its declaration in the file
            declaration = declarationIn(users, element);
        }
        assertNotNull(declaration, caret);
        CompilationUnitTree home = declaration.getCompilationUnit();
        Marked homeFile = byPath(home);
        long start = trees.getSourcePositions().getStartPosition(home, declaration.getLeaf());
        long end = trees.getSourcePositions().getEndPosition(home, declaration.getLeaf());

        JsonObject location = definition(users, caret).getAsJsonObject();
        assertEquals(homeFile.uri(), location.get("uri").getAsString(), caret);
        int from = offset(homeFile.text(), location.getAsJsonObject("range").getAsJsonObject("start"));
        int to = offset(homeFile.text(), location.getAsJsonObject("range").getAsJsonObject("end"));
        assertTrue(from >= start && to <= end, caret + ": " + from + " not in the declaration " + start + "-" + end);
        String name = element.getKind() == ElementKind.CONSTRUCTOR
                ? element.getEnclosingElement().getSimpleName().toString() : element.getSimpleName().toString();
        assertEquals(name, homeFile.text().substring(from, to), caret);
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("projectNames")
    void referencesAreThoseJavacAttributes(String caret) throws IOException {
        Marked users = marked.get("app/Users.java");
        Element element = oracleElement(users, users.carets().get(caret));
        Set<String> expected = new TreeSet<>();
        for (CompilationUnitTree unit : units.values()) {
            new TreePathScanner<Void, Void>() {
                @Override
                public Void scan(Tree tree, Void v) {
                    if ((tree instanceof IdentifierTree || tree instanceof MemberSelectTree
                            || tree instanceof MemberReferenceTree || tree instanceof NewClassTree)
                            && element.equals(trees.getElement(new TreePath(getCurrentPath(), tree)))) {
                        long end = trees.getSourcePositions().getEndPosition(unit, tree);
                        if (end > trees.getSourcePositions().getStartPosition(unit, tree)) {
                            expected.add(Path.of(unit.getSourceFile().toUri()).getFileName() + ":"
                                    + unit.getLineMap().getLineNumber(end));
                        }
                    }
                    return super.scan(tree, v);
                }
            }.scan(unit, null);
        }
        JsonObject answer = session.request("textDocument/references", Map.of("textDocument",
                Map.of("uri", users.uri()), "position", position(users.text(), users.carets().get(caret)),
                "context", Map.of("includeDeclaration", false)));
        Set<String> engine = new TreeSet<>();
        for (JsonElement location : answer.getAsJsonArray("result")) {
            JsonObject l = location.getAsJsonObject();
            engine.add(Path.of(URI.create(l.get("uri").getAsString())).getFileName() + ":"
                    + (l.getAsJsonObject("range").getAsJsonObject("start").get("line").getAsInt() + 1));
        }
        assertFalse(expected.isEmpty(), caret);
        assertEquals(expected, engine, caret);
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("hovers")
    void hoverGivesTheDeclarationAndTheFirstParagraph(String caret, String declaration, String documentation)
            throws IOException {
        Marked users = marked.get("app/Users.java");
        JsonObject answer = session.request("textDocument/hover", Map.of("textDocument", Map.of("uri", users.uri()),
                "position", position(users.text(), users.carets().get(caret))));
        String value = answer.getAsJsonObject("result").getAsJsonObject("contents").get("value").getAsString();
        assertEquals("```java\n" + declaration + "\n```\n\n" + documentation, value, caret);
    }

    static Stream<Arguments> hovers() {
        boolean sources = Files.isRegularFile(Path.of(System.getProperty("java.home"), "lib", "src.zip"));
        return Stream.of(
                Arguments.of("length", "public int java.lang.String.length()", sources
                        ? "Returns the length of this string. The length is equal to the number of Unicode code"
                                + " units in the string."
                        : "No documentation."),
                Arguments.of("undocumented", "int app.Users.undocumented()", "No documentation."),
                Arguments.of("Users", "class app.Users", "Uses of the shapes, for references and definitions across files."),
                Arguments.of("sum", "int sum", "No documentation."),
                Arguments.of("create", "public static shapes.Shape shapes.Shape.create(int sides)", "No documentation."),
                Arguments.of("area", "protected double app.Square.area()",
                        "The shape's area in square units. Zero for shapes without one."));
    }

    @org.junit.jupiter.api.Test
    void aJdkDefinitionOpensItsSourceExtractedFromTheArchive() throws IOException {
        Path zip = Path.of(System.getProperty("java.home"), "lib", "src.zip");
        org.junit.jupiter.api.Assumptions.assumeTrue(Files.isRegularFile(zip), "no src.zip (openjdk-17-source)");
        Marked users = marked.get("app/Users.java");
        JsonObject location = definition(users, "length").getAsJsonObject();
        Path file = Path.of(URI.create(location.get("uri").getAsString()));
        assertTrue(file.toString().endsWith("jdk-source/java.base/java/lang/String.java"), file.toString());
        String text = Files.readString(file);
        try (ZipFile archive = new ZipFile(zip.toFile())) {
            assertEquals(new String(archive.getInputStream(archive.getEntry("java.base/java/lang/String.java"))
                    .readAllBytes(), java.nio.charset.StandardCharsets.UTF_8), text);
        }
        int from = offset(text, location.getAsJsonObject("range").getAsJsonObject("start"));
        assertEquals("length", text.substring(from, from + 6));
        String line = text.lines().skip(text.substring(0, from).lines().count() - 1).findFirst().orElse("");
        assertTrue(line.contains("public int length()"), line);
    }

    private static JsonElement definition(Marked file, String caret) throws IOException {
        return session.request("textDocument/definition", Map.of("textDocument", Map.of("uri", file.uri()),
                "position", position(file.text(), file.carets().get(caret)))).get("result");
    }

    private static Element oracleElement(Marked file, int offset) {
        TreePath path = treeStartingAt(file, offset);
        if (path == null) { // a select's name: the select ends after it
            CompilationUnitTree unit = units.get(file.path().toString());
            TreePath[] found = new TreePath[1];
            new TreePathScanner<Void, Void>() {
                @Override
                public Void visitMemberSelect(MemberSelectTree node, Void v) {
                    long end = trees.getSourcePositions().getEndPosition(unit, node);
                    if (end - node.getIdentifier().length() == offset) {
                        found[0] = getCurrentPath();
                    }
                    return super.visitMemberSelect(node, v);
                }
            }.scan(unit, null);
            path = found[0];
        }
        assertNotNull(path);
        Element element = trees.getElement(path);
        assertNotNull(element, path.getLeaf().toString());
        return element;
    }

    private static TreePath declarationIn(Marked file, Element element) {
        CompilationUnitTree unit = units.get(file.path().toString());
        TreePath[] found = new TreePath[1];
        new TreePathScanner<Void, Void>() {
            @Override
            public Void visitVariable(com.sun.source.tree.VariableTree node, Void v) {
                if (element.equals(trees.getElement(getCurrentPath()))) {
                    found[0] = getCurrentPath();
                }
                return super.visitVariable(node, v);
            }
        }.scan(unit, null);
        return found[0];
    }

    private static Marked byPath(CompilationUnitTree unit) {
        Path path = Path.of(unit.getSourceFile().toUri());
        return marked.values().stream().filter(m -> m.path().toAbsolutePath().equals(path)).findFirst().orElseThrow();
    }

    static Map<String, Integer> position(String text, int offset) {
        int line = 0;
        int start = 0;
        for (int i = 0; i < offset; i++) {
            if (text.charAt(i) == '\n') {
                line++;
                start = i + 1;
            }
        }
        return Map.of("line", line, "character", offset - start);
    }

    static int offset(String text, JsonObject position) {
        int line = position.get("line").getAsInt();
        int at = 0;
        for (int l = 0; l < line; l++) {
            at = text.indexOf('\n', at) + 1;
        }
        return at + position.get("character").getAsInt();
    }
}
