package tovin.engine;

import com.google.gson.JsonArray;
import com.google.gson.JsonObject;
import com.sun.source.tree.BlockTree;
import com.sun.source.tree.ClassTree;
import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.tree.IdentifierTree;
import com.sun.source.tree.ImportTree;
import com.sun.source.tree.LambdaExpressionTree;
import com.sun.source.tree.MemberSelectTree;
import com.sun.source.tree.MethodTree;
import com.sun.source.tree.Scope;
import com.sun.source.tree.Tree;
import com.sun.source.tree.VariableTree;
import com.sun.source.util.TreePath;
import java.util.ArrayList;
import java.util.Comparator;
import java.util.HashSet;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.Set;
import javax.lang.model.element.Element;
import javax.lang.model.element.ElementKind;
import javax.lang.model.element.ExecutableElement;
import javax.lang.model.element.Modifier;
import javax.lang.model.element.ModuleElement;
import javax.lang.model.element.PackageElement;
import javax.lang.model.element.TypeElement;
import javax.lang.model.element.VariableElement;
import javax.lang.model.type.DeclaredType;
import javax.lang.model.type.ExecutableType;
import javax.lang.model.type.IntersectionType;
import javax.lang.model.type.TypeKind;
import javax.lang.model.type.TypeMirror;
import javax.lang.model.type.TypeVariable;

/**
 * Completion at a caret: what javac says the expression before a dot has as members, or what the
 * caret's scope sees, filtered by the identifier typed so far.
 */
final class Completer {
    static final int MAX_ITEMS = 500;
    /** Put at an empty caret so that the parser makes a name there. */
    static final String PLACEHOLDER = "tovin$caret";

    static final int KIND_METHOD = 2;
    static final int KIND_CONSTRUCTOR = 4;
    static final int KIND_FIELD = 5;
    static final int KIND_VARIABLE = 6;
    static final int KIND_CLASS = 7;
    static final int KIND_INTERFACE = 8;
    static final int KIND_PACKAGE = 9;
    static final int KIND_ENUM = 13;
    static final int KIND_KEYWORD = 14;
    static final int KIND_ENUM_CONSTANT = 20;
    static final int KIND_RECORD = 22;
    static final int KIND_TYPE_PARAMETER = 25;

    // The order of sortText: locals, the innermost class's members, other members, types in
    // scope, types to import, keywords.
    private static final char LOCAL = '1';
    private static final char OWN_MEMBER = '2';
    private static final char MEMBER = '3';
    private static final char TYPE = '4';
    private static final char IMPORTED_TYPE = '5';
    private static final char KEYWORD = '6';

    private static final List<String> STATEMENT_KEYWORDS = List.of("assert", "boolean", "break", "byte", "case",
            "catch", "char", "class", "continue", "default", "do", "double", "else", "false", "final", "finally",
            "float", "for", "if", "instanceof", "int", "long", "new", "null", "return", "short", "super", "switch",
            "synchronized", "this", "throw", "true", "try", "var", "while", "yield");
    private static final List<String> MEMBER_KEYWORDS = List.of("abstract", "boolean", "byte", "char", "class",
            "default", "double", "enum", "final", "float", "int", "interface", "long", "native", "private",
            "protected", "public", "record", "short", "static", "strictfp", "synchronized", "transient", "void",
            "volatile");
    private static final List<String> TOP_KEYWORDS = List.of("abstract", "class", "enum", "final", "import",
            "interface", "package", "public", "record", "sealed", "non-sealed", "static");

    private final Assistant assistant;
    private final Assistant.Compilation c;
    private final String text;
    private final int caret;
    private final boolean withImports;
    private final boolean lean;
    private final Map<String, JsonObject> items = new LinkedHashMap<>();
    private final Set<String> namesInScope = new HashSet<>();
    private String prefix = "";
    private JsonObject range;
    private int prefixStart;

    /**
     * {@code lean}: the text was prepared without the methods the caret's body does not name;
     * then {@link #complete} answers null where the file's own classes' members are asked for.
     */
    Completer(Assistant assistant, Assistant.Compilation c, String text, int caret, boolean withImports,
            boolean lean) {
        this.assistant = assistant;
        this.lean = lean;
        this.c = c;
        this.text = text;
        this.caret = caret;
        this.withImports = withImports;
    }

    /**
     * The text given to javac: a name put at an empty caret, and the other bodies stripped (with
     * {@code lean}, the methods the caret's body does not name too, unless the typed prefix
     * starts their names: see {@link BodyStripper#stripUnused}).
     */
    static String prepare(String text, int caret, boolean lean) {
        String insert = "";
        if (caret >= text.length() || !Character.isJavaIdentifierPart(text.charAt(caret))) {
            if (prefixStart(text, caret) == caret) {
                insert = PLACEHOLDER;
            }
            if (restOfLineBlank(text, caret) && !openParenthesisOnLine(text, caret)) {
                insert += ";"; // or the next line's declaration would be read as this one's
            }
        }
        String patched = text.substring(0, caret) + insert + text.substring(caret);
        String prefix = text.substring(prefixStart(text, caret), caret);
        return lean ? BodyStripper.stripUnused(patched, caret, prefix) : BodyStripper.strip(patched, caret);
    }

    /** Whether the caret's identifier follows a dot: a member is completed. */
    static boolean afterDot(String text, int caret) {
        int dot = previousSignificant(text, prefixStart(text, caret));
        return dot >= 0 && text.charAt(dot) == '.' && (dot == 0 || text.charAt(dot - 1) != '.');
    }

    static int prefixStart(String text, int caret) {
        int start = Math.min(caret, text.length());
        while (start > 0 && Character.isJavaIdentifierPart(text.charAt(start - 1))) {
            start--;
        }
        return start;
    }

    private static boolean restOfLineBlank(String text, int caret) {
        for (int i = caret; i < text.length() && text.charAt(i) != '\n'; i++) {
            if (text.startsWith("//", i)) {
                return true;
            }
            if (!Character.isWhitespace(text.charAt(i))) {
                return false;
            }
        }
        return true;
    }

    private static boolean openParenthesisOnLine(String text, int caret) {
        int depth = 0;
        for (int i = caret - 1; i >= 0 && text.charAt(i) != '\n'; i--) {
            char ch = text.charAt(i);
            if (ch == ')') {
                depth++;
            } else if (ch == '(' && --depth < 0) {
                return true;
            }
        }
        return false;
    }

    /** The completion list at {@code at} (the caret, in the original text); null when a lean text cannot tell. */
    JsonObject complete(int at) {
        prefixStart = prefixStart(text, at);
        prefix = text.substring(prefixStart, at);
        if (inCommentOrLiteral(text, prefixStart)) {
            return list();
        }
        CompilationUnitTree unit = c.units().get(0);
        int dot = previousSignificant(text, prefixStart);
        boolean afterDot = dot >= 0 && text.charAt(dot) == '.' && (dot == 0 || text.charAt(dot - 1) != '.');
        boolean afterNew = !afterDot && dot >= 2 && text.startsWith("new", dot - 2)
                && (dot < 3 || !Character.isJavaIdentifierPart(text.charAt(dot - 3)));
        TreePath path = Trees2.pathAt(c.trees(), unit, afterDot ? dot : at, afterDot ? dot + 1 : at);
        Scope scope = Trees2.scope(c.trees(), path);
        if (afterDot) {
            MemberSelectTree select = selectAfter(unit, dot);
            if (select != null && !members(new TreePath(Trees2.pathOf(c.trees(), unit, select),
                    select.getExpression()), scope, unit)) {
                return null;
            }
        } else if (afterNew) {
            constructors(scope, unit);
        } else {
            scopeItems(path, scope, unit);
        }
        return list();
    }

    /** Whether the offset is inside a comment, a string, a character or a text block. */
    static boolean inCommentOrLiteral(String text, int offset) {
        int i = 0;
        while (i < offset) {
            int end;
            if (text.startsWith("//", i)) {
                end = text.indexOf('\n', i);
                end = end < 0 ? text.length() : end;
                if (offset <= end) {
                    return true; // up to the line's end
                }
            } else if (text.startsWith("/*", i)) {
                end = text.indexOf("*/", i + 2);
                end = end < 0 ? text.length() : end + 2;
            } else if (text.startsWith("\"\"\"", i)) {
                end = i + 3;
                while (end < text.length() && !text.startsWith("\"\"\"", end)) {
                    end += text.charAt(end) == '\\' ? 2 : 1;
                }
                end = Math.min(text.length(), end + 3);
            } else if (text.charAt(i) == '"' || text.charAt(i) == '\'') {
                char quote = text.charAt(i);
                end = i + 1;
                while (end < text.length() && text.charAt(end) != quote && text.charAt(end) != '\n') {
                    end += text.charAt(end) == '\\' ? 2 : 1;
                }
                end = Math.min(text.length(), end + 1);
            } else {
                i++;
                continue;
            }
            if (offset < end || end >= text.length() && offset <= end) {
                return true;
            }
            i = end;
        }
        return false;
    }

    private static int previousSignificant(String text, int from) {
        int i = from - 1;
        while (i >= 0) {
            char ch = text.charAt(i);
            if (Character.isWhitespace(ch)) {
                i--;
            } else if (ch == '/' && i > 0 && text.charAt(i - 1) == '*') {
                int open = text.lastIndexOf("/*", i - 2);
                if (open < 0) {
                    return i;
                }
                i = open - 1;
            } else {
                return i;
            }
        }
        return -1;
    }

    /** The member select whose dot is at {@code dot}. */
    private MemberSelectTree selectAfter(CompilationUnitTree unit, int dot) {
        MemberSelectTree[] found = new MemberSelectTree[1];
        var positions = c.trees().getSourcePositions();
        new com.sun.source.util.TreeScanner<Void, Void>() {
            @Override
            public Void visitMemberSelect(MemberSelectTree node, Void v) {
                long exprEnd = positions.getEndPosition(unit, node.getExpression());
                long end = positions.getEndPosition(unit, node);
                if (exprEnd <= dot && end > dot && exprEnd >= 0) {
                    String between = text.substring((int) exprEnd, dot);
                    if (between.isBlank() || between.strip().startsWith("/*") || between.strip().startsWith("//")) {
                        found[0] = node;
                    }
                }
                return super.visitMemberSelect(node, v);
            }

            @Override
            public Void visitErroneous(com.sun.source.tree.ErroneousTree node, Void v) {
                return scan(node.getErrorTrees(), v);
            }
        }.scan(unit, null);
        return found[0];
    }

    // ------------------------------------------------------------------ after a dot

    /** Adds the members after a dot; false when the text is lean and they are the file's own class's. */
    private boolean members(TreePath expression, Scope scope, CompilationUnitTree unit) {
        Element target = c.trees().getElement(expression);
        Tree leaf = expression.getLeaf();
        boolean typeName = target instanceof TypeElement
                && (leaf instanceof IdentifierTree || leaf instanceof MemberSelectTree)
                && !isKeyword(leaf);
        if (target instanceof PackageElement pkg) {
            packageMembers(pkg);
            return true;
        }
        TypeMirror type = typeName ? target.asType() : c.trees().getTypeMirror(expression);
        if (type == null || type.getKind() == TypeKind.ERROR) {
            return !lean;
        }
        if (lean && declaredIn(unit, type, new HashSet<>())) {
            return false;
        }
        TypeElement innermost = scope == null ? null : scope.getEnclosingClass();
        // Through super, a protected member of another package's class is reached as the
        // current class's own (JLS 6.6.2.1).
        boolean viaSuper = !typeName && isKeyword(leaf) && keywordName(leaf).equals("super") && innermost != null;
        for (DeclaredType site : sites(type)) {
            TypeElement owner = (TypeElement) site.asElement();
            DeclaredType qualifier = viaSuper ? (DeclaredType) innermost.asType() : site;
            for (Element member : c.elements().getAllMembers(owner)) {
                if (!isMember(member, typeName) || !accessible(scope, member, qualifier)) {
                    continue;
                }
                boolean own = member.getEnclosingElement().equals(owner);
                add(member, site, own ? OWN_MEMBER : MEMBER);
            }
        }
        if (type.getKind() == TypeKind.ARRAY) {
            keywordLike("length", KIND_FIELD, "int", OWN_MEMBER);
        }
        if (typeName) {
            keyword("class");
            if (innermost != null && encloses((TypeElement) target, innermost) && !Trees2.isStatic(expression)) {
                keyword("this");
                if (((TypeElement) target).getKind().isClass()) {
                    keyword("super");
                }
            }
        }
        return true;
    }

    /** Whether the type or one of its supertypes is a class of this file. */
    private boolean declaredIn(CompilationUnitTree unit, TypeMirror type, Set<TypeMirror> seen) {
        if (!seen.add(type)) {
            return false;
        }
        if (type instanceof DeclaredType declared) {
            TreePath path = c.trees().getPath(declared.asElement());
            if (path != null && path.getCompilationUnit() == unit) {
                return true;
            }
        }
        for (TypeMirror supertype : c.types().directSupertypes(type)) {
            if (declaredIn(unit, supertype, seen)) {
                return true;
            }
        }
        return type instanceof TypeVariable variable && declaredIn(unit, variable.getUpperBound(), seen);
    }

    private static boolean isKeyword(Tree leaf) {
        String name = keywordName(leaf);
        return name.equals("this") || name.equals("super");
    }

    private static String keywordName(Tree leaf) {
        return leaf instanceof IdentifierTree id ? id.getName().toString()
                : leaf instanceof MemberSelectTree select ? select.getIdentifier().toString() : "";
    }

    /** Fields, methods and enum constants; member types after a type name; only static ones there. */
    static boolean isMember(Element member, boolean staticOnly) {
        ElementKind kind = member.getKind();
        boolean type = kind.isClass() || kind.isInterface();
        if (!type && kind != ElementKind.METHOD && kind != ElementKind.FIELD && kind != ElementKind.ENUM_CONSTANT) {
            return false;
        }
        boolean isStatic = member.getModifiers().contains(Modifier.STATIC);
        if (staticOnly) {
            return type || isStatic;
        }
        // An interface's static methods are called through its name only.
        return !type && !(isStatic && member.getEnclosingElement().getKind().isInterface());
    }

    private boolean accessible(Scope scope, Element member, DeclaredType site) {
        if (scope == null) {
            return member.getModifiers().contains(Modifier.PUBLIC);
        }
        try {
            return c.trees().isAccessible(scope, member, site);
        } catch (RuntimeException e) {
            return false;
        }
    }

    /** The declared types whose members a value of {@code type} has. */
    private List<DeclaredType> sites(TypeMirror type) {
        List<DeclaredType> sites = new ArrayList<>();
        switch (type.getKind()) {
            case DECLARED -> sites.add((DeclaredType) type);
            case TYPEVAR -> sites.addAll(sites(((TypeVariable) type).getUpperBound()));
            case INTERSECTION -> ((IntersectionType) type).getBounds().forEach(b -> sites.addAll(sites(b)));
            case ARRAY -> sites.add((DeclaredType) c.elements().getTypeElement("java.lang.Object").asType());
            default -> {
            }
        }
        return sites;
    }

    private static boolean encloses(TypeElement outer, TypeElement inner) {
        for (Element e = inner; e != null; e = e.getEnclosingElement()) {
            if (e.equals(outer)) {
                return true;
            }
        }
        return false;
    }

    private void packageMembers(PackageElement pkg) {
        for (Element e : pkg.getEnclosedElements()) {
            if (e instanceof TypeElement type && e.getModifiers().contains(Modifier.PUBLIC)) {
                addType(type, TYPE, null);
            }
        }
        String name = pkg.getQualifiedName().toString() + ".";
        for (String sub : assistant.typeIndex.packages()) {
            if (sub.startsWith(name)) {
                String next = sub.substring(name.length()).split("\\.")[0];
                if (matches(next) && !next.isEmpty()) {
                    put(next + "/package", item(next, KIND_PACKAGE, "", KEYWORD, next));
                }
            }
        }
    }

    // ------------------------------------------------------------------ after new

    private void constructors(Scope scope, CompilationUnitTree unit) {
        List<TypeElement> types = new ArrayList<>();
        typesInScope(scope, unit, types);
        for (TypeElement type : types) {
            constructorsOf(type, scope, TYPE, null);
        }
        if (withImports && !prefix.isEmpty()) {
            for (TypeElement type : importable(unit, scope)) {
                constructorsOf(type, scope, IMPORTED_TYPE, importEdit(type));
            }
        }
    }

    private void constructorsOf(TypeElement type, Scope scope, char order, JsonArray imports) {
        if (!matches(type.getSimpleName().toString()) || type.getKind() != ElementKind.CLASS
                && type.getKind() != ElementKind.RECORD && type.getKind() != ElementKind.ENUM) {
            return;
        }
        if (type.getKind() == ElementKind.ENUM || type.getModifiers().contains(Modifier.ABSTRACT)) {
            return;
        }
        DeclaredType site = (DeclaredType) type.asType();
        for (Element e : type.getEnclosedElements()) {
            if (e.getKind() == ElementKind.CONSTRUCTOR && accessible(scope, e, site)) {
                JsonObject item = executableItem((ExecutableElement) e, site, type.getSimpleName().toString(),
                        KIND_CONSTRUCTOR, type.getSimpleName().toString(), order);
                if (imports != null) {
                    item.add("additionalTextEdits", imports);
                }
                put(item.get("label").getAsString() + "/" + type.getQualifiedName(), item);
            }
        }
    }

    // ------------------------------------------------------------------ elsewhere

    private void scopeItems(TreePath path, Scope scope, CompilationUnitTree unit) {
        if (scope != null) {
            Set<String> locals = new HashSet<>();
            for (Scope s = scope; s != null; s = s.getEnclosingScope()) {
                for (Element e : s.getLocalElements()) {
                    String name = e.getSimpleName().toString();
                    if (isLocal(e)) {
                        if (locals.add(name) && !name.equals(PLACEHOLDER)) {
                            add(e, null, LOCAL);
                        }
                    } else if (e.getKind() == ElementKind.TYPE_PARAMETER) {
                        if (matches(name)) {
                            put(name + "/tp", item(name, KIND_TYPE_PARAMETER, "", TYPE, name));
                        }
                    } else if ((e.getKind() == ElementKind.METHOD || e.getKind() == ElementKind.FIELD)
                            && s.getEnclosingClass() == null) {
                        add(e, null, MEMBER); // a static import
                    }
                }
                if (s.getEnclosingClass() == null) {
                    break; // the import scopes: their types are taken below
                }
            }
            enclosingMembers(path, scope);
        }
        List<TypeElement> types = new ArrayList<>();
        typesInScope(scope, unit, types);
        for (TypeElement type : types) {
            addType(type, TYPE, null);
        }
        if (withImports && !prefix.isEmpty() && context(path) != Context.TOP) {
            for (TypeElement type : importable(unit, scope)) {
                addType(type, IMPORTED_TYPE, importEdit(type));
            }
        }
        for (String keyword : switch (context(path)) {
            case CODE -> STATEMENT_KEYWORDS;
            case MEMBER -> MEMBER_KEYWORDS;
            case TOP -> TOP_KEYWORDS;
        }) {
            if ((keyword.equals("this") || keyword.equals("super")) && Trees2.isStatic(path)) {
                continue;
            }
            keyword(keyword);
        }
    }

    static boolean isLocal(Element e) {
        return switch (e.getKind()) {
            case LOCAL_VARIABLE, PARAMETER, EXCEPTION_PARAMETER, RESOURCE_VARIABLE, BINDING_VARIABLE -> true;
            default -> false;
        };
    }

    /** The members of the classes around the caret, innermost first; instance ones only where an instance is. */
    private void enclosingMembers(TreePath path, Scope scope) {
        boolean staticContext = false;
        boolean first = true;
        Set<String> fields = new HashSet<>();
        Tree below = null;
        for (TreePath p = path; p != null; p = p.getParentPath()) {
            Tree leaf = p.getLeaf();
            if (leaf instanceof ClassTree) {
                Element element = c.trees().getElement(p);
                if (element instanceof TypeElement type) {
                    staticContext |= below != null && Trees2.isStaticMember(below);
                    DeclaredType site = (DeclaredType) type.asType();
                    for (Element member : c.elements().getAllMembers(type)) {
                        boolean ownStatic = member.getEnclosingElement().equals(type)
                                && member.getKind() == ElementKind.METHOD;
                        if (!isMember(member, false) && !ownStatic || staticContext && !member.getModifiers().contains(Modifier.STATIC)
                                || !accessible(scope, member, site)) {
                            continue;
                        }
                        if (member.getKind() != ElementKind.METHOD && !fields.add(member.getSimpleName().toString())) {
                            continue; // a field of an outer class hidden by an inner one's
                        }
                        add(member, site, first ? OWN_MEMBER : MEMBER);
                    }
                    first = false;
                    // A static nested class (enums, records and interfaces are) sees no
                    // instance of the class around it.
                    staticContext = type.getModifiers().contains(Modifier.STATIC)
                            || type.getKind() != ElementKind.CLASS && type.getKind() != ElementKind.ANNOTATION_TYPE
                            && type.getNestingKind().isNested();
                }
            }
            below = leaf;
        }
    }

    private enum Context { CODE, MEMBER, TOP }

    private static Context context(TreePath path) {
        for (TreePath p = path; p != null; p = p.getParentPath()) {
            Tree leaf = p.getLeaf();
            if (leaf instanceof BlockTree || leaf instanceof LambdaExpressionTree) {
                return Context.CODE;
            }
            if (leaf instanceof VariableTree && p.getParentPath() != null
                    && p.getParentPath().getLeaf() instanceof ClassTree) {
                return Context.CODE; // a field's initializer
            }
            if (leaf instanceof MethodTree) {
                return Context.MEMBER;
            }
            if (leaf instanceof ClassTree) {
                return Context.MEMBER;
            }
            if (leaf instanceof ImportTree) {
                return Context.TOP;
            }
        }
        return Context.TOP;
    }

    /** Types named by a simple name at the caret: local and member classes, the file's, its package's, imported ones. */
    private void typesInScope(Scope scope, CompilationUnitTree unit, List<TypeElement> types) {
        Set<Element> seen = new HashSet<>();
        for (Scope s = scope; s != null; s = s.getEnclosingScope()) {
            for (Element e : s.getLocalElements()) {
                if (e instanceof TypeElement type && seen.add(type)) {
                    types.add(type);
                }
            }
            TypeElement enclosing = s.getEnclosingClass();
            for (TypeElement t = enclosing; t != null; t = outerClass(t)) {
                for (Element member : c.elements().getAllMembers(t)) {
                    if (member instanceof TypeElement type && accessible(scope, member, (DeclaredType) t.asType())
                            && seen.add(type)) {
                        types.add(type);
                    }
                }
            }
        }
        PackageElement pkg = null;
        if (unit.getPackage() != null) {
            Element named = c.trees().getElement(new TreePath(new TreePath(unit), unit.getPackage()));
            pkg = named instanceof PackageElement p ? p : null;
        } else {
            pkg = c.elements().getPackageElement("");
        }
        if (pkg != null) {
            for (Element e : pkg.getEnclosedElements()) {
                if (e instanceof TypeElement type && seen.add(type)) {
                    types.add(type);
                }
            }
        }
        for (TypeElement type : types) {
            namesInScope.add(type.getSimpleName().toString());
        }
    }

    private static TypeElement outerClass(TypeElement type) {
        Element e = type.getEnclosingElement();
        while (e != null && !(e instanceof TypeElement)) {
            e = e.getEnclosingElement();
        }
        return (TypeElement) e;
    }

    /** Accessible top-level types not in scope whose names start with the prefix. */
    private List<TypeElement> importable(CompilationUnitTree unit, Scope scope) {
        List<TypeElement> found = new ArrayList<>();
        for (TypeIndex.Candidate candidate : assistant.typeIndex.startingWith(prefix)) {
            String qualified = candidate.qualified();
            String simple = qualified.substring(qualified.lastIndexOf('.') + 1);
            if (namesInScope.contains(simple) || !qualified.contains(".")) {
                continue;
            }
            // Looked for in its module: javac would otherwise ask every module for it.
            ModuleElement module = candidate.module() == null ? null
                    : c.elements().getModuleElement(candidate.module());
            TypeElement type = module != null ? c.elements().getTypeElement(module, qualified)
                    : candidate.module() == null ? c.elements().getTypeElement(qualified) : null;
            if (type != null && type.getModifiers().contains(Modifier.PUBLIC)
                    && (scope == null || c.trees().isAccessible(scope, type))) {
                found.add(type);
            }
            if (found.size() + items.size() > MAX_ITEMS) {
                break;
            }
        }
        return found;
    }

    private JsonArray importEdit(TypeElement type) {
        JsonObject edit = Imports.edit(text, type.getQualifiedName().toString());
        JsonArray edits = new JsonArray();
        edits.add(edit);
        return edits;
    }

    // ------------------------------------------------------------------ items

    private void add(Element e, DeclaredType site, char order) {
        String name = e.getSimpleName().toString();
        if (!matches(name)) {
            return;
        }
        switch (e.getKind()) {
            case METHOD -> {
                ExecutableElement method = (ExecutableElement) e;
                JsonObject item = executableItem(method, site, name, KIND_METHOD, null, order);
                put(item.get("label").getAsString() + "/m", item);
            }
            case CLASS, INTERFACE, ENUM, RECORD, ANNOTATION_TYPE -> addType((TypeElement) e, order, null);
            default -> {
                int kind = e.getKind() == ElementKind.FIELD ? KIND_FIELD
                        : e.getKind() == ElementKind.ENUM_CONSTANT ? KIND_ENUM_CONSTANT : KIND_VARIABLE;
                TypeMirror type = e.asType();
                if (site != null && e instanceof VariableElement) {
                    try {
                        type = c.types().asMemberOf(site, e);
                    } catch (IllegalArgumentException ignored) {
                        // a static member: its declared type
                    }
                }
                put(name + "/v", item(name, kind, Labels.simple(type), order, name));
            }
        }
    }

    private JsonObject executableItem(ExecutableElement method, DeclaredType site, String name, int kind,
            String detail, char order) {
        ExecutableType type = (ExecutableType) method.asType();
        if (site != null && !method.getModifiers().contains(Modifier.STATIC)) {
            try {
                type = (ExecutableType) c.types().asMemberOf(site, method);
            } catch (IllegalArgumentException ignored) {
                // the declared signature
            }
        }
        String label = Labels.signature(name, method, type, assistant.docs.parameterNames(c.elements(), method));
        JsonObject item = item(label, kind, detail != null ? detail : Labels.simple(type.getReturnType()), order,
                name);
        item.get("textEdit").getAsJsonObject().addProperty("newText",
                snippet(name) + (method.getParameters().isEmpty() ? "()$0" : "($0)"));
        return item;
    }

    private void addType(TypeElement type, char order, JsonArray imports) {
        String name = type.getSimpleName().toString();
        if (!matches(name)) {
            return;
        }
        int kind = switch (type.getKind()) {
            case INTERFACE, ANNOTATION_TYPE -> KIND_INTERFACE;
            case ENUM -> KIND_ENUM;
            case RECORD -> KIND_RECORD;
            default -> KIND_CLASS;
        };
        JsonObject item = item(name, kind, type.getQualifiedName().toString(), order, name);
        if (imports != null) {
            item.add("additionalTextEdits", imports);
        }
        put(type.getQualifiedName() + "/t", item);
    }

    private void keyword(String word) {
        keywordLike(word, KIND_KEYWORD, "", KEYWORD);
    }

    private void keywordLike(String word, int kind, String detail, char order) {
        if (matches(word)) {
            put(word + "/k", item(word, kind, detail, order, word));
        }
    }

    private boolean matches(String name) {
        return name.regionMatches(true, 0, prefix, 0, prefix.length()) && !name.equals(PLACEHOLDER)
                && !name.equals("<init>") && !name.isEmpty();
    }

    private void put(String key, JsonObject item) {
        items.putIfAbsent(key, item);
    }

    private JsonObject item(String label, int kind, String detail, char order, String name) {
        JsonObject item = new JsonObject();
        item.addProperty("label", label);
        item.addProperty("kind", kind);
        item.addProperty("detail", detail);
        item.addProperty("filterText", name);
        item.addProperty("sortText", order + name.toLowerCase(Locale.ROOT) + " " + label);
        item.addProperty("insertTextFormat", 2);
        JsonObject edit = new JsonObject();
        if (range == null) {
            range = Labels.range(text, prefixStart, caret);
        }
        edit.add("range", range);
        edit.addProperty("newText", snippet(name));
        item.add("textEdit", edit);
        return item;
    }

    private static String snippet(String name) {
        return name.replace("\\", "\\\\").replace("$", "\\$").replace("}", "\\}");
    }

    /** An empty list. */
    static JsonObject empty() {
        JsonObject result = new JsonObject();
        result.addProperty("isIncomplete", false);
        result.add("items", new JsonArray());
        return result;
    }

    private JsonObject list() {
        List<JsonObject> sorted = new ArrayList<>(items.values());
        sorted.sort(Comparator.comparing(i -> i.get("sortText").getAsString()));
        JsonObject result = new JsonObject();
        result.addProperty("isIncomplete", sorted.size() > MAX_ITEMS);
        JsonArray array = new JsonArray();
        sorted.stream().limit(MAX_ITEMS).forEach(array::add);
        result.add("items", array);
        return result;
    }
}
