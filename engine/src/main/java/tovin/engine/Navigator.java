package tovin.engine;

import com.google.gson.JsonArray;
import com.google.gson.JsonElement;
import com.google.gson.JsonNull;
import com.google.gson.JsonObject;
import com.sun.source.doctree.DocCommentTree;
import com.sun.source.tree.ClassTree;
import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.tree.ErroneousTree;
import com.sun.source.tree.IdentifierTree;
import com.sun.source.tree.MemberReferenceTree;
import com.sun.source.tree.MemberSelectTree;
import com.sun.source.tree.MethodInvocationTree;
import com.sun.source.tree.MethodTree;
import com.sun.source.tree.NewClassTree;
import com.sun.source.tree.Scope;
import com.sun.source.tree.Tree;
import com.sun.source.tree.TypeParameterTree;
import com.sun.source.tree.VariableTree;
import com.sun.source.util.SourcePositions;
import com.sun.source.util.TreePath;
import com.sun.source.util.TreePathScanner;
import java.io.IOException;
import java.net.URI;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Comparator;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.function.BooleanSupplier;
import java.util.stream.Collectors;
import javax.lang.model.element.Element;
import javax.lang.model.element.ElementKind;
import javax.lang.model.element.ExecutableElement;
import javax.lang.model.element.Modifier;
import javax.lang.model.element.TypeElement;
import javax.lang.model.type.DeclaredType;
import javax.lang.model.type.ExecutableType;
import javax.lang.model.type.TypeKind;
import javax.lang.model.type.TypeMirror;
import javax.tools.JavaFileObject;

/** Signature help, hover, definition and references: what javac attributes to the name at a caret. */
final class Navigator {
    private final Assistant assistant;

    Navigator(Assistant assistant) {
        this.assistant = assistant;
    }

    /** The element javac attributes to the name at the offset, and the name's range. */
    record Named(Element element, TreePath path, int start, int end) {
    }

    static Named elementAt(Assistant.Compilation c, CompilationUnitTree unit, String text, int offset) {
        TreePath path = Trees2.pathAt(c.trees(), unit, offset, offset);
        Tree leaf = path.getLeaf();
        switch (leaf.getKind()) {
            case IDENTIFIER, MEMBER_SELECT, MEMBER_REFERENCE, CLASS, INTERFACE, ENUM, RECORD, ANNOTATION_TYPE,
                    METHOD, VARIABLE, TYPE_PARAMETER -> {
            }
            default -> {
                return null;
            }
        }
        Element element = c.trees().getElement(path);
        if (element == null || element.asType() != null && element.asType().getKind() == TypeKind.ERROR) {
            return null;
        }
        int[] range = nameRange(unit, leaf, c.trees().getSourcePositions(), text, element);
        if (range == null || offset < range[0] || offset > range[1]) {
            return null; // the caret is on a declaration's type or modifiers, not its name
        }
        return new Named(element, path, range[0], range[1]);
    }

    /** The range of the name a tree writes (a select's last name, a declaration's name). */
    static int[] nameRange(CompilationUnitTree unit, Tree tree, SourcePositions positions, String text,
            Element element) {
        long start = positions.getStartPosition(unit, tree);
        long end = positions.getEndPosition(unit, tree);
        if (start < 0 || end < 0 || end > text.length()) {
            return null;
        }
        return switch (tree.getKind()) {
            case IDENTIFIER -> new int[] {(int) start, (int) end};
            case MEMBER_SELECT -> {
                String name = ((MemberSelectTree) tree).getIdentifier().toString();
                yield new int[] {(int) end - name.length(), (int) end};
            }
            case MEMBER_REFERENCE -> {
                String name = ((MemberReferenceTree) tree).getName().toString();
                int at = text.lastIndexOf(name, (int) end);
                yield at < start ? new int[] {(int) start, (int) end} : new int[] {at, at + name.length()};
            }
            case TYPE_PARAMETER -> {
                String name = ((TypeParameterTree) tree).getName().toString();
                yield new int[] {(int) start, (int) start + name.length()};
            }
            case NEW_CLASS -> nameRange(unit, ((NewClassTree) tree).getIdentifier(), positions, text, element);
            default -> {
                String name = SourceDocs.name(element);
                int at = SourceDocs.nameOffset(unit, tree, positions, text, name);
                yield new int[] {at, at + name.length()};
            }
        };
    }

    // ------------------------------------------------------------------ hover

    JsonElement hover(Assistant.Text text, int offset, BooleanSupplier cancelled) {
        String stripped = BodyStripper.strip(text.text(), offset);
        return assistant.compile(new Assistant.Text(text.uri(), text.path(), stripped), cancelled, c -> {
            Named named = elementAt(c, c.units().get(0), stripped, offset);
            if (named == null) {
                return JsonNull.INSTANCE;
            }
            String doc = documentation(c, named.element());
            String value = "```java\n" + declaration(c, named.element(), assistant.docs) + "\n```\n\n"
                    + (doc == null || doc.isBlank() ? SourceDocs.NO_DOCUMENTATION : doc);
            JsonObject contents = new JsonObject();
            contents.addProperty("kind", "markdown");
            contents.addProperty("value", value);
            JsonObject hover = new JsonObject();
            hover.add("contents", contents);
            hover.add("range", Labels.range(text.text(), named.start(), named.end()));
            return hover;
        });
    }

    /**
     * The element's first paragraph; a method without one, or with {@code {@inheritDoc}}, takes
     * the one of the method it overrides, as javadoc does.
     */
    private String documentation(Assistant.Compilation c, Element element) {
        String own = ownDocumentation(c, element);
        if (own != null && own.isBlank()) {
            own = null;
        }
        if (element instanceof ExecutableElement method && element.getKind() == ElementKind.METHOD
                && (own == null || own.contains("{@inheritDoc}"))) {
            for (ExecutableElement overridden : overridden(c, method)) {
                String inherited = ownDocumentation(c, overridden);
                if (inherited != null && !inherited.isBlank()) {
                    return own == null ? inherited : own.replace("{@inheritDoc}", inherited);
                }
            }
        }
        return own;
    }

    /** The methods the method overrides, nearest supertypes first. */
    private static List<ExecutableElement> overridden(Assistant.Compilation c, ExecutableElement method) {
        List<ExecutableElement> found = new ArrayList<>();
        if (!(method.getEnclosingElement() instanceof TypeElement owner)) {
            return found;
        }
        List<TypeMirror> queue = new ArrayList<>(c.types().directSupertypes(owner.asType()));
        java.util.Set<Element> seen = new java.util.HashSet<>();
        while (!queue.isEmpty()) {
            TypeMirror type = queue.remove(0);
            Element e = c.types().asElement(type);
            if (!(e instanceof TypeElement supertype) || !seen.add(supertype)) {
                continue;
            }
            for (Element member : supertype.getEnclosedElements()) {
                if (member instanceof ExecutableElement candidate && member.getKind() == ElementKind.METHOD
                        && candidate.getSimpleName().equals(method.getSimpleName())
                        && c.elements().overrides(method, candidate, owner)) {
                    found.add(candidate);
                }
            }
            queue.addAll(c.types().directSupertypes(type));
        }
        return found;
    }

    private String ownDocumentation(Assistant.Compilation c, Element element) {
        if (c.trees().getPath(element) != null) {
            DocCommentTree doc = c.trees().getDocCommentTree(element);
            return doc == null ? null : SourceDocs.firstParagraph(doc);
        }
        if (Completer.isLocal(element)) {
            return null;
        }
        return assistant.docs.jdkDoc(c.elements(), element);
    }

    /** The declaration as javac prints its parts: modifiers, type, qualified owner, name, parameters. */
    static String declaration(Assistant.Compilation c, Element element, SourceDocs docs) {
        StringBuilder text = new StringBuilder();
        Set<Modifier> modifiers = element.getModifiers();
        if (!modifiers.isEmpty()) {
            text.append(modifiers.stream().map(Modifier::toString).collect(Collectors.joining(" "))).append(' ');
        }
        Element owner = element.getEnclosingElement();
        String qualifiedOwner = owner instanceof TypeElement type ? type.getQualifiedName() + "." : "";
        switch (element.getKind()) {
            case METHOD, CONSTRUCTOR -> {
                ExecutableElement method = (ExecutableElement) element;
                if (element.getKind() == ElementKind.METHOD) {
                    text.append(method.getReturnType()).append(' ');
                }
                text.append(qualifiedOwner).append(SourceDocs.name(element)).append('(');
                List<String> names = docs.parameterNames(c.elements(), method);
                List<String> parameters = new ArrayList<>();
                for (int i = 0; i < method.getParameters().size(); i++) {
                    var parameter = method.getParameters().get(i);
                    parameters.add(parameter.asType() + " "
                            + (names != null && names.size() == method.getParameters().size() ? names.get(i)
                                    : parameter.getSimpleName().toString()));
                }
                text.append(String.join(", ", parameters));
                text.append(')');
            }
            case CLASS, INTERFACE, ENUM, RECORD, ANNOTATION_TYPE -> text.append(switch (element.getKind()) {
                case INTERFACE -> "interface ";
                case ENUM -> "enum ";
                case RECORD -> "record ";
                case ANNOTATION_TYPE -> "@interface ";
                default -> "class ";
            }).append(((TypeElement) element).getQualifiedName());
            case FIELD, ENUM_CONSTANT -> text.append(element.asType()).append(' ').append(qualifiedOwner)
                    .append(element.getSimpleName());
            case PACKAGE -> text.append("package ").append(element);
            default -> text.append(element.asType()).append(' ').append(element.getSimpleName());
        }
        return text.toString();
    }

    // ------------------------------------------------------------------ definition

    JsonElement definition(Assistant.Text text, int offset, BooleanSupplier cancelled) {
        String stripped = BodyStripper.strip(text.text(), offset);
        return assistant.compile(new Assistant.Text(text.uri(), text.path(), stripped), cancelled, c -> {
            CompilationUnitTree unit = c.units().get(0);
            Named named = elementAt(c, unit, stripped, offset);
            if (named == null) {
                return JsonNull.INSTANCE;
            }
            Element element = named.element();
            TreePath declaration = Completer.isLocal(element) || element.getKind() == ElementKind.TYPE_PARAMETER
                    ? localDeclaration(c, unit, element) : c.trees().getPath(element);
            if (declaration != null) {
                CompilationUnitTree home = declaration.getCompilationUnit();
                String homeText = home == unit ? stripped : read(home.getSourceFile());
                if (homeText == null) {
                    return JsonNull.INSTANCE;
                }
                String name = SourceDocs.name(element);
                int at = SourceDocs.nameOffset(home, declaration.getLeaf(), c.trees().getSourcePositions(), homeText,
                        name);
                String uri = home == unit ? text.uri() : home.getSourceFile().toUri().toString();
                if (home != unit) {
                    String open = openText(uri);
                    homeText = open != null ? open : homeText;
                }
                return location(uri, homeText, at, at + name.length());
            }
            SourceDocs.Place place = assistant.docs.jdkPlace(c.elements(), element);
            if (place == null) {
                return JsonNull.INSTANCE;
            }
            return location(place.file().toUri().toString(), place.text(), place.offset(),
                    place.offset() + place.length());
        });
    }

    private String openText(String uri) {
        try {
            return assistant.text(uri).text();
        } catch (RuntimeException e) {
            return null;
        }
    }

    private static TreePath localDeclaration(Assistant.Compilation c, CompilationUnitTree unit, Element element) {
        TreePath[] found = new TreePath[1];
        new TreePathScanner<Void, Void>() {
            @Override
            public Void scan(Tree tree, Void v) {
                if (found[0] == null && tree != null && (tree instanceof VariableTree || tree instanceof TypeParameterTree)
                        && element.equals(c.trees().getElement(new TreePath(getCurrentPath(), tree)))) {
                    found[0] = new TreePath(getCurrentPath(), tree);
                }
                return super.scan(tree, v);
            }
        }.scan(unit, null);
        return found[0];
    }

    private static String read(JavaFileObject file) {
        try {
            return file.getCharContent(true).toString();
        } catch (IOException e) {
            return null;
        }
    }

    private static JsonObject location(String uri, String text, int start, int end) {
        JsonObject location = new JsonObject();
        location.addProperty("uri", uri);
        location.add("range", Labels.range(text, start, end));
        return location;
    }

    // ------------------------------------------------------------------ references

    JsonElement references(Assistant.Text text, int offset, boolean includeDeclaration, BooleanSupplier cancelled) {
        // The name under the caret first, from the file alone: a file that never writes it
        // cannot refer to its element, and is left to javac's source path.
        String stripped = BodyStripper.strip(text.text(), offset);
        String name = assistant.compile(new Assistant.Text(text.uri(), text.path(), stripped), cancelled, c -> {
            Named named = elementAt(c, c.units().get(0), stripped, offset);
            return named == null ? null : SourceDocs.name(named.element());
        });
        if (name == null) {
            return JsonNull.INSTANCE;
        }
        java.util.regex.Pattern word = java.util.regex.Pattern.compile(
                "(?<![\\p{javaJavaIdentifierPart}])" + java.util.regex.Pattern.quote(name)
                        + "(?![\\p{javaJavaIdentifierPart}])");
        // Every project file and open document that writes the name, whole: a reference may be
        // in any body.
        Map<URI, JavaFileObject> files = new LinkedHashMap<>();
        Map<URI, String> texts = new LinkedHashMap<>();
        URI own = text.path().toUri();
        texts.put(own, text.text());
        List<Path> candidates = new ArrayList<>(assistant.settings().projectFiles());
        candidates.addAll(assistant.openFiles());
        for (Path file : candidates) {
            URI uri = file.toAbsolutePath().toUri();
            if (!texts.containsKey(uri)) {
                String content = openText(uri.toString());
                if (content == null) {
                    try {
                        content = Files.readString(file);
                    } catch (IOException e) {
                        continue;
                    }
                }
                if (word.matcher(content).find()) {
                    texts.put(uri, content);
                }
            }
        }
        texts.forEach((uri, content) -> files.put(uri, new MemorySource(uri, content, null)));
        return assistant.compileAll(new ArrayList<>(files.values()), cancelled, c -> {
            CompilationUnitTree ownUnit = c.units().stream()
                    .filter(u -> u.getSourceFile().toUri().equals(own)).findFirst().orElse(null);
            if (ownUnit == null) {
                return JsonNull.INSTANCE;
            }
            Named named = elementAt(c, ownUnit, text.text(), offset);
            if (named == null) {
                return JsonNull.INSTANCE;
            }
            List<JsonObject> found = new ArrayList<>();
            for (CompilationUnitTree unit : c.units()) {
                if (cancelled.getAsBoolean()) {
                    throw new Assistant.Cancelled();
                }
                String unitText = texts.get(unit.getSourceFile().toUri());
                String uri = unit.getSourceFile().toUri().equals(own) ? text.uri()
                        : unit.getSourceFile().toUri().toString();
                for (int[] range : referencesIn(c, unit, unitText, named.element(), includeDeclaration)) {
                    JsonObject location = location(uri, unitText, range[0], range[1]);
                    location.addProperty("offset", range[0]);
                    found.add(location);
                }
            }
            found.sort(Comparator.comparing((JsonObject l) -> l.get("uri").getAsString())
                    .thenComparingInt(l -> l.get("offset").getAsInt()));
            JsonArray array = new JsonArray();
            for (JsonObject location : found) {
                location.remove("offset");
                array.add(location);
            }
            return array;
        });
    }

    /** The ranges of the names in a unit that javac attributes to the element. */
    static List<int[]> referencesIn(Assistant.Compilation c, CompilationUnitTree unit, String text, Element target,
            boolean includeDeclaration) {
        List<int[]> ranges = new ArrayList<>();
        SourcePositions positions = c.trees().getSourcePositions();
        new TreePathScanner<Void, Void>() {
            @Override
            public Void scan(Tree tree, Void v) {
                if (tree == null) {
                    return null;
                }
                boolean reference = tree instanceof IdentifierTree || tree instanceof MemberSelectTree
                        || tree instanceof MemberReferenceTree || tree instanceof NewClassTree;
                boolean declaration = tree instanceof ClassTree || tree instanceof MethodTree
                        || tree instanceof VariableTree || tree instanceof TypeParameterTree;
                if (reference || declaration && includeDeclaration) {
                    TreePath path = new TreePath(getCurrentPath(), tree);
                    Element element = c.trees().getElement(path);
                    if (target.equals(element) && !isImplicit(tree, positions, unit)) {
                        int[] range = nameRange(unit, tree, positions, text, target);
                        if (range != null) {
                            ranges.add(range);
                        }
                    }
                }
                return super.scan(tree, v);
            }

            @Override
            public Void visitErroneous(ErroneousTree node, Void v) {
                return scan(node.getErrorTrees(), v);
            }
        }.scan(new TreePath(unit), null);
        return ranges;
    }

    /** A tree javac made without text of its own (a default constructor, an implicit super call). */
    private static boolean isImplicit(Tree tree, SourcePositions positions, CompilationUnitTree unit) {
        long start = positions.getStartPosition(unit, tree);
        long end = positions.getEndPosition(unit, tree);
        return start < 0 || end <= start;
    }

    // ------------------------------------------------------------------ signature help

    JsonElement signatureHelp(Assistant.Text text, int offset, BooleanSupplier cancelled) {
        String t = text.text();
        int open = -1;
        int argument = 0;
        int depth = 0;
        for (int i = offset - 1; i >= 0; i--) {
            char ch = t.charAt(i);
            if (ch == ')' || ch == ']' || ch == '}') {
                depth++;
            } else if (ch == '(' || ch == '[' || ch == '{') {
                if (depth == 0) {
                    open = ch == '(' ? i : -1;
                    break;
                }
                depth--;
            } else if (ch == ',' && depth == 0) {
                argument++;
            } else if (ch == ';') {
                break;
            }
        }
        if (open < 0) {
            return JsonNull.INSTANCE;
        }
        int paren = open;
        int active = argument;
        // An unfinished call is closed for the parser.
        String patched = t;
        int unclosed = 0;
        int d = 0;
        for (int i = paren; i < offset; i++) {
            if (t.charAt(i) == '(') {
                d++;
            } else if (t.charAt(i) == ')') {
                d--;
            }
        }
        unclosed = d;
        int lineEnd = t.indexOf('\n', offset);
        String rest = t.substring(offset, lineEnd < 0 ? t.length() : lineEnd);
        if (rest.isBlank() && unclosed > 0) {
            patched = t.substring(0, offset) + ")".repeat(unclosed) + ";" + t.substring(offset);
        }
        String stripped = BodyStripper.strip(patched, offset);
        return assistant.compile(new Assistant.Text(text.uri(), text.path(), stripped), cancelled,
                c -> signatures(c, stripped, paren, active));
    }

    private JsonElement signatures(Assistant.Compilation c, String text, int paren, int active) {
        CompilationUnitTree unit = c.units().get(0);
        SourcePositions positions = c.trees().getSourcePositions();
        TreePath[] call = new TreePath[1];
        new TreePathScanner<Void, Void>() {
            @Override
            public Void scan(Tree tree, Void v) {
                if (tree instanceof MethodInvocationTree || tree instanceof NewClassTree) {
                    Tree callee = tree instanceof MethodInvocationTree m ? m.getMethodSelect()
                            : ((NewClassTree) tree).getIdentifier();
                    long end = positions.getEndPosition(unit, callee);
                    if (end >= 0 && end <= paren && text.substring((int) end, paren).isBlank()) {
                        call[0] = new TreePath(getCurrentPath(), tree);
                    }
                }
                return super.scan(tree, v);
            }

            @Override
            public Void visitErroneous(ErroneousTree node, Void v) {
                return scan(node.getErrorTrees(), v);
            }
        }.scan(new TreePath(unit), null);
        if (call[0] == null) {
            return JsonNull.INSTANCE;
        }
        Scope scope = Trees2.scope(c.trees(), call[0]);
        Element chosen = c.trees().getElement(call[0]);
        List<ExecutableElement> overloads = new ArrayList<>();
        DeclaredType site = null;
        if (call[0].getLeaf() instanceof NewClassTree created) {
            TypeMirror type = c.trees().getTypeMirror(new TreePath(call[0], created.getIdentifier()));
            if (type instanceof DeclaredType declared) {
                site = declared;
                for (Element e : declared.asElement().getEnclosedElements()) {
                    if (e.getKind() == ElementKind.CONSTRUCTOR && accessible(c, scope, e, declared)) {
                        overloads.add((ExecutableElement) e);
                    }
                }
            }
        } else {
            Tree select = ((MethodInvocationTree) call[0].getLeaf()).getMethodSelect();
            String name = select instanceof MemberSelectTree m ? m.getIdentifier().toString()
                    : ((IdentifierTree) select).getName().toString();
            List<DeclaredType> sites = new ArrayList<>();
            boolean staticOnly = false;
            if (select instanceof MemberSelectTree m) {
                TreePath expression = new TreePath(new TreePath(call[0], select), m.getExpression());
                Element target = c.trees().getElement(expression);
                staticOnly = target instanceof TypeElement;
                TypeMirror type = staticOnly ? target.asType() : c.trees().getTypeMirror(expression);
                if (type instanceof DeclaredType declared) {
                    sites.add(declared);
                }
            } else if (scope != null) {
                for (TypeElement t = scope.getEnclosingClass(); t != null; t = outer(t)) {
                    sites.add((DeclaredType) t.asType());
                }
            }
            for (DeclaredType s : sites) {
                for (Element e : c.elements().getAllMembers((TypeElement) s.asElement())) {
                    if (e.getKind() == ElementKind.METHOD && e.getSimpleName().contentEquals(name)
                            && (!staticOnly || e.getModifiers().contains(Modifier.STATIC))
                            && accessible(c, scope, e, s)) {
                        overloads.add((ExecutableElement) e);
                    }
                }
                if (!overloads.isEmpty()) {
                    site = s;
                    break;
                }
            }
        }
        if (overloads.isEmpty()) {
            return JsonNull.INSTANCE;
        }
        JsonArray signatures = new JsonArray();
        int activeSignature = -1;
        for (int i = 0; i < overloads.size(); i++) {
            ExecutableElement method = overloads.get(i);
            ExecutableType type = (ExecutableType) method.asType();
            if (site != null && !method.getModifiers().contains(Modifier.STATIC)) {
                try {
                    type = (ExecutableType) c.types().asMemberOf(site, method);
                } catch (IllegalArgumentException ignored) {
                    // the declared signature
                }
            }
            String label = Labels.signature(SourceDocs.name(method), method, type,
                    assistant.docs.parameterNames(c.elements(), method));
            JsonObject signature = new JsonObject();
            signature.addProperty("label", label);
            JsonArray parameters = new JsonArray();
            for (int[] range : parameterRanges(label)) {
                JsonObject parameter = new JsonObject();
                JsonArray offsets = new JsonArray();
                offsets.add(range[0]);
                offsets.add(range[1]);
                parameter.add("label", offsets);
                parameters.add(parameter);
            }
            signature.add("parameters", parameters);
            if (method.isVarArgs() && active >= method.getParameters().size()) {
                // Every argument from the last parameter's on is that parameter's.
                signature.addProperty("activeParameter", method.getParameters().size() - 1);
            }
            signatures.add(signature);
            if (method.equals(chosen)) {
                activeSignature = i;
            }
        }
        if (activeSignature < 0) {
            for (int i = 0; i < overloads.size() && activeSignature < 0; i++) {
                if (overloads.get(i).getParameters().size() > active || overloads.get(i).isVarArgs()) {
                    activeSignature = i;
                }
            }
        }
        JsonObject help = new JsonObject();
        help.add("signatures", signatures);
        help.addProperty("activeSignature", Math.max(0, activeSignature));
        help.addProperty("activeParameter", active);
        return help;
    }

    private static boolean accessible(Assistant.Compilation c, Scope scope, Element e, DeclaredType site) {
        try {
            return scope == null ? e.getModifiers().contains(Modifier.PUBLIC) : c.trees().isAccessible(scope, e, site);
        } catch (RuntimeException ex) {
            return false;
        }
    }

    private static TypeElement outer(TypeElement type) {
        Element e = type.getEnclosingElement();
        while (e != null && !(e instanceof TypeElement)) {
            e = e.getEnclosingElement();
        }
        return (TypeElement) e;
    }

    /** The [start, end) of each parameter in {@code name(T1 a, T2 b)}; commas inside type arguments are not separators. */
    static List<int[]> parameterRanges(String label) {
        List<int[]> ranges = new ArrayList<>();
        int open = label.indexOf('(');
        int close = label.lastIndexOf(')');
        if (open < 0 || close <= open + 1) {
            return ranges;
        }
        int start = open + 1;
        int depth = 0;
        for (int i = start; i < close; i++) {
            char ch = label.charAt(i);
            if (ch == '<') {
                depth++;
            } else if (ch == '>') {
                depth--;
            } else if (ch == ',' && depth == 0) {
                ranges.add(new int[] {start, i});
                start = i + 2;
            }
        }
        ranges.add(new int[] {start, close});
        return ranges;
    }
}
