package tovin.engine;

import com.sun.jdi.AbsentInformationException;
import com.sun.jdi.ArrayReference;
import com.sun.jdi.BooleanValue;
import com.sun.jdi.CharValue;
import com.sun.jdi.ClassNotLoadedException;
import com.sun.jdi.ClassType;
import com.sun.jdi.DoubleValue;
import com.sun.jdi.Field;
import com.sun.jdi.FloatValue;
import com.sun.jdi.IncompatibleThreadStateException;
import com.sun.jdi.InvalidTypeException;
import com.sun.jdi.InvocationException;
import com.sun.jdi.LocalVariable;
import com.sun.jdi.LongValue;
import com.sun.jdi.Method;
import com.sun.jdi.ObjectReference;
import com.sun.jdi.PrimitiveValue;
import com.sun.jdi.ReferenceType;
import com.sun.jdi.StackFrame;
import com.sun.jdi.StringReference;
import com.sun.jdi.ThreadReference;
import com.sun.jdi.Value;
import com.sun.jdi.VirtualMachine;
import com.sun.jdi.request.EventRequest;
import com.sun.jdi.request.EventRequestManager;
import java.util.ArrayList;
import java.util.List;

/**
 * Java expressions of the kind a learner types in a watch or a breakpoint's condition, worked
 * out in a stopped frame: names (locals, this, fields, static fields, classes by their full or
 * simple name), field paths, array elements and length, literals, the arithmetic, comparison and
 * logical operators, string concatenation, and method calls (run in the stopped thread).
 */
final class DebugExpression {
    static final class Failure extends Exception {
        private static final long serialVersionUID = 1L;

        Failure(String message) {
            super(message);
        }
    }

    /** A name that is not a value: a package on its way to a class, or a class. */
    private record Name(String qualified, ReferenceType type) {}

    private final VirtualMachine vm;
    private final ThreadReference thread;
    private final int depth;
    private String text;
    private int pos;
    private boolean ranMethods;
    private final boolean onEventThread;

    /**
     * onEventThread: the evaluation runs on the thread that handles the program's events (a
     * breakpoint's condition), so no event may suspend the program while it runs.
     */
    DebugExpression(VirtualMachine vm, ThreadReference thread, int depth, boolean onEventThread) {
        this.vm = vm;
        this.thread = thread;
        this.depth = depth;
        this.onEventThread = onEventThread;
    }

    /** Whether the evaluation ran methods of the program (which may have loaded classes). */
    boolean ranMethods() {
        return ranMethods;
    }

    Value evaluate(String expression) throws Failure {
        text = expression;
        pos = 0;
        Node node = parseOr();
        skipBlanks();
        if (pos < text.length()) {
            throw new Failure("unexpected \"" + text.substring(pos) + "\"");
        }
        return value(node.eval());
    }

    // ---------------------------------------------------------------- parsing

    private interface Node {
        Object eval() throws Failure;
    }

    private Node parseOr() throws Failure {
        Node left = parseAnd();
        while (take("||")) {
            Node l = left;
            Node r = parseAnd();
            left = () -> vm.mirrorOf(bool(l.eval()) || bool(r.eval()));
        }
        return left;
    }

    private Node parseAnd() throws Failure {
        Node left = parseEquality();
        while (take("&&")) {
            Node l = left;
            Node r = parseEquality();
            left = () -> vm.mirrorOf(bool(l.eval()) && bool(r.eval()));
        }
        return left;
    }

    private Node parseEquality() throws Failure {
        Node left = parseRelation();
        while (true) {
            String op = take("==") ? "==" : take("!=") ? "!=" : null;
            if (op == null) {
                return left;
            }
            Node l = left;
            Node r = parseRelation();
            left = () -> vm.mirrorOf(same(value(l.eval()), value(r.eval())) == op.equals("=="));
        }
    }

    private Node parseRelation() throws Failure {
        Node left = parseSum();
        while (true) {
            String op = take("<=") ? "<=" : take(">=") ? ">=" : peekSingle('<') ? "<" : peekSingle('>') ? ">" : null;
            if (op == null) {
                return left;
            }
            Node l = left;
            Node r = parseSum();
            left = () -> {
                double a = number(l.eval());
                double b = number(r.eval());
                return vm.mirrorOf(switch (op) {
                case "<" -> a < b;
                case "<=" -> a <= b;
                case ">" -> a > b;
                default -> a >= b;
                });
            };
        }
    }

    private Node parseSum() throws Failure {
        Node left = parseProduct();
        while (true) {
            char op = peekSingle('+') ? '+' : peekSingle('-') ? '-' : 0;
            if (op == 0) {
                return left;
            }
            Node l = left;
            Node r = parseProduct();
            left = () -> arithmetic(op, value(l.eval()), value(r.eval()));
        }
    }

    private Node parseProduct() throws Failure {
        Node left = parseUnary();
        while (true) {
            char op = peekSingle('*') ? '*' : peekSingle('/') ? '/' : peekSingle('%') ? '%' : 0;
            if (op == 0) {
                return left;
            }
            Node l = left;
            Node r = parseUnary();
            left = () -> arithmetic(op, value(l.eval()), value(r.eval()));
        }
    }

    private Node parseUnary() throws Failure {
        if (peekSingle('!')) {
            Node n = parseUnary();
            return () -> vm.mirrorOf(!bool(n.eval()));
        }
        if (peekSingle('-')) {
            Node n = parseUnary();
            return () -> arithmetic('-', vm.mirrorOf(0), value(n.eval()));
        }
        if (peekSingle('+')) {
            return parseUnary();
        }
        return parsePostfix();
    }

    private Node parsePostfix() throws Failure {
        Node node = parsePrimary();
        while (true) {
            if (take(".")) {
                String name = identifier();
                if (name == null) {
                    throw new Failure("a name is missing after \".\"");
                }
                Node target = node;
                if (lookingAt('(')) {
                    List<Node> args = arguments();
                    node = () -> call(target.eval(), name, evalAll(args));
                } else {
                    node = () -> member(target.eval(), name);
                }
            } else if (take("[")) {
                Node index = parseOr();
                expect("]");
                Node target = node;
                node = () -> element(value(target.eval()), value(index.eval()));
            } else {
                return node;
            }
        }
    }

    private Node parsePrimary() throws Failure {
        skipBlanks();
        if (pos >= text.length()) {
            throw new Failure("the expression ends too early");
        }
        char c = text.charAt(pos);
        if (take("(")) {
            Node inner = parseOr();
            expect(")");
            return inner;
        }
        if (c == '"') {
            String s = quoted('"');
            return () -> vm.mirrorOf(s);
        }
        if (c == '\'') {
            String s = quoted('\'');
            if (s.length() != 1) {
                throw new Failure("a character literal holds one character");
            }
            return () -> vm.mirrorOf(s.charAt(0));
        }
        if (Character.isDigit(c) || (c == '.' && pos + 1 < text.length() && Character.isDigit(text.charAt(pos + 1)))) {
            Value v = number();
            return () -> v;
        }
        String name = identifier();
        if (name == null) {
            throw new Failure("unexpected \"" + text.substring(pos) + "\"");
        }
        switch (name) {
        case "true":
            return () -> vm.mirrorOf(true);
        case "false":
            return () -> vm.mirrorOf(false);
        case "null":
            return () -> null;
        case "this":
            return () -> {
                ObjectReference self = frame().thisObject();
                if (self == null) {
                    throw new Failure("a static method has no this");
                }
                return self;
            };
        default:
            break;
        }
        if (lookingAt('(')) {
            List<Node> args = arguments();
            return () -> {
                ObjectReference self = frame().thisObject();
                return call(self != null ? self : new Name(null, frame().location().declaringType()), name, evalAll(args));
            };
        }
        return () -> lookup(name);
    }

    private List<Node> arguments() throws Failure {
        expect("(");
        List<Node> args = new ArrayList<>();
        if (take(")")) {
            return args;
        }
        do {
            args.add(parseOr());
        } while (take(","));
        expect(")");
        return args;
    }

    private List<Value> evalAll(List<Node> nodes) throws Failure {
        List<Value> out = new ArrayList<>();
        for (Node n : nodes) {
            out.add(value(n.eval()));
        }
        return out;
    }

    private Value number() throws Failure {
        int start = pos;
        boolean hex = text.startsWith("0x", pos) || text.startsWith("0X", pos);
        if (hex) {
            pos += 2;
        }
        while (pos < text.length() && (Character.isLetterOrDigit(text.charAt(pos)) || text.charAt(pos) == '_'
                                       || (!hex && text.charAt(pos) == '.'))) {
            char c = text.charAt(pos);
            pos++;
            if (!hex && (c == 'e' || c == 'E') && pos < text.length() && "+-".indexOf(text.charAt(pos)) >= 0) {
                pos++;
            }
        }
        String literal = text.substring(start, pos).replace("_", "");
        char last = Character.toLowerCase(literal.charAt(literal.length() - 1));
        try {
            if (hex) {
                boolean isLong = last == 'l';
                String digits = literal.substring(2, literal.length() - (isLong ? 1 : 0));
                long v = Long.parseUnsignedLong(digits, 16);
                return isLong ? vm.mirrorOf(v) : vm.mirrorOf((int) v);
            }
            if (last == 'l') {
                return vm.mirrorOf(Long.parseLong(literal.substring(0, literal.length() - 1)));
            }
            if (last == 'f') {
                return vm.mirrorOf(Float.parseFloat(literal));
            }
            if (last == 'd' || literal.contains(".") || literal.contains("e") || literal.contains("E")) {
                return vm.mirrorOf(Double.parseDouble(literal));
            }
            return vm.mirrorOf(Integer.parseInt(literal));
        } catch (NumberFormatException e) {
            throw new Failure("the number " + literal + " is not understood");
        }
    }

    private String quoted(char mark) throws Failure {
        StringBuilder b = new StringBuilder();
        pos++;
        while (pos < text.length()) {
            char c = text.charAt(pos++);
            if (c == mark) {
                return b.toString();
            }
            if (c == '\\' && pos < text.length()) {
                char e = text.charAt(pos++);
                b.append(switch (e) {
                case 'n' -> '\n';
                case 't' -> '\t';
                case 'r' -> '\r';
                case '0' -> '\0';
                default -> e;
                });
            } else {
                b.append(c);
            }
        }
        throw new Failure("a quote is not closed");
    }

    private String identifier() {
        skipBlanks();
        int start = pos;
        if (pos < text.length() && Character.isJavaIdentifierStart(text.charAt(pos))) {
            pos++;
            while (pos < text.length() && Character.isJavaIdentifierPart(text.charAt(pos))) {
                pos++;
            }
        }
        return pos > start ? text.substring(start, pos) : null;
    }

    private void skipBlanks() {
        while (pos < text.length() && Character.isWhitespace(text.charAt(pos))) {
            pos++;
        }
    }

    private boolean take(String token) {
        skipBlanks();
        if (text.startsWith(token, pos)) {
            pos += token.length();
            return true;
        }
        return false;
    }

    /** Takes a one-character operator that is not the start of a longer one ("<" but not "<="). */
    private boolean peekSingle(char op) {
        skipBlanks();
        if (pos >= text.length() || text.charAt(pos) != op) {
            return false;
        }
        char next = pos + 1 < text.length() ? text.charAt(pos + 1) : 0;
        if (next == '=' || (next == op && (op == '+' || op == '-' || op == '&' || op == '|'))) {
            return false;
        }
        pos++;
        return true;
    }

    private boolean lookingAt(char c) {
        skipBlanks();
        return pos < text.length() && text.charAt(pos) == c;
    }

    private void expect(String token) throws Failure {
        if (!take(token)) {
            throw new Failure("\"" + token + "\" is missing");
        }
    }

    // ---------------------------------------------------------------- evaluation

    private StackFrame frame() throws Failure {
        try {
            return thread.frame(depth);
        } catch (IncompatibleThreadStateException | IndexOutOfBoundsException e) {
            throw new Failure("the thread is not stopped");
        }
    }

    private Object lookup(String name) throws Failure {
        StackFrame f = frame();
        try {
            LocalVariable local = f.visibleVariableByName(name);
            if (local != null) {
                return f.getValue(local);
            }
        } catch (AbsentInformationException e) {
            // No local names: fields and classes may still match.
        }
        ReferenceType here = f.location().declaringType();
        // An inner class sees its enclosing instances' fields too, through the hidden this$0.
        for (ObjectReference self = f.thisObject(); self != null;) {
            Field field = self.referenceType().fieldByName(name);
            if (field != null) {
                return field.isStatic() ? field.declaringType().getValue(field) : self.getValue(field);
            }
            Field outer = self.referenceType().fieldByName("this$0");
            self = outer != null && self.getValue(outer) instanceof ObjectReference o ? o : null;
        }
        Field field = here.fieldByName(name);
        if (field != null && field.isStatic()) {
            return here.getValue(field);
        }
        // A class by its simple name: the current class's own, a nested one, java.lang's, or any
        // loaded class of that name; otherwise the start of a package name.
        String outer = here.name();
        for (String candidate : new String[] {outer + "$" + name, packageOf(outer) + name, "java.lang." + name}) {
            List<ReferenceType> types = vm.classesByName(candidate);
            if (!types.isEmpty()) {
                return new Name(candidate, types.get(0));
            }
        }
        return new Name(name, null);
    }

    private static String packageOf(String className) {
        int dot = className.lastIndexOf('.');
        return dot < 0 ? "" : className.substring(0, dot + 1);
    }

    private Object member(Object target, String name) throws Failure {
        if (target instanceof Name n) {
            if (n.type() != null) {
                Field f = n.type().fieldByName(name);
                if (f != null && f.isStatic()) {
                    return n.type().getValue(f);
                }
                List<ReferenceType> nested = vm.classesByName(n.qualified() + "$" + name);
                if (!nested.isEmpty()) {
                    return new Name(n.qualified() + "$" + name, nested.get(0));
                }
                throw new Failure(n.qualified() + " has no static field " + name);
            }
            String qualified = n.qualified() + "." + name;
            List<ReferenceType> types = vm.classesByName(qualified);
            return new Name(qualified, types.isEmpty() ? null : types.get(0));
        }
        Value v = value(target);
        if (v instanceof ArrayReference a && name.equals("length")) {
            return vm.mirrorOf(a.length());
        }
        if (v instanceof ObjectReference o) {
            Field f = o.referenceType().fieldByName(name);
            if (f == null) {
                throw new Failure(o.referenceType().name() + " has no field " + name);
            }
            return f.isStatic() ? f.declaringType().getValue(f) : o.getValue(f);
        }
        throw new Failure(v == null ? "null has no field " + name : "a " + v.type().name() + " has no fields");
    }

    private Value element(Value array, Value index) throws Failure {
        if (!(array instanceof ArrayReference a)) {
            throw new Failure("only an array has elements");
        }
        long i = integral(index);
        if (i < 0 || i >= a.length()) {
            throw new Failure("the index " + i + " is outside the array's " + a.length() + " elements");
        }
        return a.getValue((int) i);
    }

    private Value call(Object target, String name, List<Value> args) throws Failure {
        ReferenceType type;
        ObjectReference object = null;
        if (target instanceof Name n) {
            if (n.type() == null) {
                throw new Failure(n.qualified() + " is not known");
            }
            type = n.type();
        } else if (value(target) instanceof ObjectReference o) {
            object = o;
            type = o.referenceType();
        } else {
            throw new Failure("a method " + name + " needs an object");
        }
        // Of the overloads the arguments fit, the one that widens them least, as javac would pick.
        Method best = null;
        List<Value> bestArgs = null;
        int bestCost = Integer.MAX_VALUE;
        for (Method m : type.methodsByName(name)) {
            if (m.argumentTypeNames().size() != args.size() || m.isAbstract() || (object == null && !m.isStatic())) {
                continue;
            }
            List<Value> converted = convert(m, args);
            if (converted == null) {
                continue;
            }
            int cost = 0;
            for (int i = 0; i < args.size(); i++) {
                Value a = args.get(i);
                cost += a == null || a.type().name().equals(m.argumentTypeNames().get(i)) ? 0 : 1;
            }
            if (cost < bestCost) {
                best = m;
                bestArgs = converted;
                bestCost = cost;
            }
        }
        if (best != null) {
            // A breakpoint, exception or step stop inside the call would suspend the thread that
            // runs it, and the evaluation would wait for it forever: they are off during the call.
            // Class-prepare events stay on when the event thread is free to place the new class's
            // breakpoints and let the call go on; looking for the class afterwards would miss it
            // while the debugger's list of loaded classes lags behind. A condition runs on the event
            // thread itself, so there they are off too and the classes are looked for afterwards.
            ranMethods = true;
            EventRequestManager erm = vm.eventRequestManager();
            List<EventRequest> quiet = new ArrayList<>();
            List<List<? extends EventRequest>> kinds = new ArrayList<>(
                    List.of(erm.breakpointRequests(), erm.exceptionRequests(), erm.stepRequests()));
            if (onEventThread) {
                kinds.add(erm.classPrepareRequests());
            }
            for (List<? extends EventRequest> kind : kinds) {
                kind.stream().filter(EventRequest::isEnabled).forEach(quiet::add);
            }
            quiet.forEach(EventRequest::disable);
            try {
                int options = ObjectReference.INVOKE_SINGLE_THREADED;
                if (object != null) {
                    return object.invokeMethod(thread, best, bestArgs, options);
                }
                if (type instanceof ClassType ct) {
                    return ct.invokeMethod(thread, best, bestArgs, options);
                }
            } catch (InvocationException e) {
                throw new Failure(name + " threw " + e.exception().referenceType().name());
            } catch (InvalidTypeException | ClassNotLoadedException e) {
                throw new Failure("the arguments do not fit " + name + ": " + e.getMessage());
            } catch (IncompatibleThreadStateException e) {
                throw new Failure("methods run only in a thread stopped at a breakpoint or step");
            } finally {
                quiet.forEach(EventRequest::enable);
            }
        }
        throw new Failure(type.name() + " has no method " + name + " for " + args.size() + " argument(s)");
    }

    /** The arguments as the method takes them (widened numbers), or null when they do not fit. */
    private List<Value> convert(Method m, List<Value> args) {
        List<Value> out = new ArrayList<>();
        List<String> types = m.argumentTypeNames();
        for (int i = 0; i < args.size(); i++) {
            Value a = args.get(i);
            String t = types.get(i);
            boolean primitive = t.indexOf('.') < 0 && !t.endsWith("[]") && Character.isLowerCase(t.charAt(0));
            if (primitive != (a instanceof PrimitiveValue)) {
                return null;
            }
            if (!primitive) {
                out.add(a);
                continue;
            }
            PrimitiveValue p = (PrimitiveValue) a;
            Value c = switch (t) {
            case "int" -> p instanceof LongValue || p instanceof FloatValue || p instanceof DoubleValue
                                          || p instanceof BooleanValue ? null : vm.mirrorOf(p.intValue());
            case "long" -> p instanceof FloatValue || p instanceof DoubleValue || p instanceof BooleanValue
                                   ? null : vm.mirrorOf(p.longValue());
            case "float" -> p instanceof DoubleValue || p instanceof BooleanValue ? null : vm.mirrorOf(p.floatValue());
            case "double" -> p instanceof BooleanValue ? null : vm.mirrorOf(p.doubleValue());
            case "boolean" -> p instanceof BooleanValue ? p : null;
            case "char" -> p instanceof CharValue ? p : null;
            default -> p.type().name().equals(t) ? p : null;
            };
            if (c == null) {
                return null;
            }
            out.add(c);
        }
        return out;
    }

    private Value arithmetic(char op, Value a, Value b) throws Failure {
        if (op == '+' && (a instanceof StringReference || b instanceof StringReference)) {
            return vm.mirrorOf(text(a) + text(b));
        }
        if (!(a instanceof PrimitiveValue x) || !(b instanceof PrimitiveValue y) || a instanceof BooleanValue
            || b instanceof BooleanValue) {
            throw new Failure("\"" + op + "\" works on numbers");
        }
        if (x instanceof DoubleValue || y instanceof DoubleValue || x instanceof FloatValue || y instanceof FloatValue) {
            double l = x.doubleValue();
            double r = y.doubleValue();
            double v = switch (op) {
            case '+' -> l + r;
            case '-' -> l - r;
            case '*' -> l * r;
            case '/' -> l / r;
            default -> l % r;
            };
            boolean isFloat = !(x instanceof DoubleValue) && !(y instanceof DoubleValue);
            return isFloat ? vm.mirrorOf((float) v) : vm.mirrorOf(v);
        }
        long l = x.longValue();
        long r = y.longValue();
        if ((op == '/' || op == '%') && r == 0) {
            throw new Failure("division by zero");
        }
        long v = switch (op) {
        case '+' -> l + r;
        case '-' -> l - r;
        case '*' -> l * r;
        case '/' -> l / r;
        default -> l % r;
        };
        return x instanceof LongValue || y instanceof LongValue ? vm.mirrorOf(v) : vm.mirrorOf((int) v);
    }

    private String text(Value v) throws Failure {
        if (v == null) {
            return "null";
        }
        if (v instanceof StringReference s) {
            return s.value();
        }
        if (v instanceof CharValue c) {
            return String.valueOf(c.value());
        }
        if (v instanceof PrimitiveValue) {
            return v.toString();
        }
        Value s = call(v, "toString", List.of());
        return s instanceof StringReference r ? r.value() : "null";
    }

    private static boolean same(Value a, Value b) {
        if (a instanceof PrimitiveValue x && b instanceof PrimitiveValue y) {
            if (x instanceof BooleanValue || y instanceof BooleanValue) {
                return x instanceof BooleanValue && y instanceof BooleanValue && x.booleanValue() == y.booleanValue();
            }
            return x.doubleValue() == y.doubleValue() && x.longValue() == y.longValue();
        }
        return a == null ? b == null : a.equals(b);
    }

    private Value value(Object o) throws Failure {
        if (o instanceof Name n) {
            throw new Failure(n.type() == null ? n.qualified() + " is not known here" : n.qualified() + " is a class, not a value");
        }
        return (Value) o;
    }

    private boolean bool(Object o) throws Failure {
        if (value(o) instanceof BooleanValue b) {
            return b.value();
        }
        throw new Failure("a true or false value is needed");
    }

    private double number(Object o) throws Failure {
        Value v = value(o);
        if (v instanceof PrimitiveValue p && !(v instanceof BooleanValue)) {
            return p.doubleValue();
        }
        throw new Failure("a number is needed");
    }

    private long integral(Value v) throws Failure {
        if (v instanceof PrimitiveValue p && !(v instanceof BooleanValue) && !(v instanceof FloatValue)
            && !(v instanceof DoubleValue)) {
            return p.longValue();
        }
        throw new Failure("an index must be a whole number");
    }
}
