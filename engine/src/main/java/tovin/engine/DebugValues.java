package tovin.engine;

import com.google.gson.JsonArray;
import com.google.gson.JsonObject;
import com.sun.jdi.AbsentInformationException;
import com.sun.jdi.ArrayReference;
import com.sun.jdi.CharValue;
import com.sun.jdi.ClassObjectReference;
import com.sun.jdi.ClassType;
import com.sun.jdi.Field;
import com.sun.jdi.IncompatibleThreadStateException;
import com.sun.jdi.LocalVariable;
import com.sun.jdi.ObjectReference;
import com.sun.jdi.PrimitiveValue;
import com.sun.jdi.ReferenceType;
import com.sun.jdi.StackFrame;
import com.sun.jdi.StringReference;
import com.sun.jdi.ThreadReference;
import com.sun.jdi.Value;
import com.sun.jdi.VirtualMachine;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.Set;

/**
 * The numbers the client uses for frames and expandable values while the program stands still,
 * and how values read. The numbers are good until the program runs again; a frame is held as
 * its thread and depth, since JDI's frames die with any method call made for an evaluation.
 */
final class DebugValues {
    record FrameAt(ThreadReference thread, int depth) {}

    private record Container(Object target, String evaluateName) {}

    private static final Set<String> BOXES = Set.of("java.lang.Integer", "java.lang.Long", "java.lang.Short",
                                                    "java.lang.Byte", "java.lang.Character", "java.lang.Boolean",
                                                    "java.lang.Float", "java.lang.Double");
    private static final int MAX_TEXT = 1000;

    private final VirtualMachine vm;
    private final List<FrameAt> frames = new ArrayList<>();
    private final List<Container> containers = new ArrayList<>();

    DebugValues(VirtualMachine vm) {
        this.vm = vm;
    }

    void clear() {
        frames.clear();
        containers.clear();
    }

    int frameId(ThreadReference thread, int depth) {
        FrameAt at = new FrameAt(thread, depth);
        int i = frames.indexOf(at);
        if (i < 0) {
            frames.add(at);
            i = frames.size() - 1;
        }
        return i + 1;
    }

    FrameAt frame(int id) throws DebugAdapter.RequestFailure {
        if (id < 1 || id > frames.size()) {
            throw new DebugAdapter.RequestFailure("The frame " + id + " is gone; the program has run on.");
        }
        return frames.get(id - 1);
    }

    int localsReference(int frameId) throws DebugAdapter.RequestFailure {
        return add(new Container(frame(frameId), null));
    }

    /** The number of a class's static fields, or 0 when it has none a user wrote. */
    int staticsReference(ReferenceType type) {
        boolean any = type.fields().stream().anyMatch(f -> f.isStatic() && !f.isSynthetic());
        return any ? add(new Container(type, type.name())) : 0;
    }

    /** The number by which a value's parts are asked for, or 0 when it has none to show. */
    int reference(Value v) {
        return reference(v, null);
    }

    private int reference(Value v, String evaluateName) {
        if (v instanceof ArrayReference a) {
            return a.length() > 0 ? add(new Container(a, evaluateName)) : 0;
        }
        if (v instanceof ObjectReference o && !(v instanceof StringReference) && !(v instanceof ClassObjectReference)
            && !BOXES.contains(o.referenceType().name()) && !isEnum(o)) {
            return add(new Container(o, evaluateName));
        }
        return 0;
    }

    private int add(Container c) {
        containers.add(c);
        return containers.size();
    }

    JsonArray variables(int ref, int start, int count) throws DebugAdapter.RequestFailure {
        if (ref < 1 || ref > containers.size()) {
            throw new DebugAdapter.RequestFailure("These variables are gone; the program has run on.");
        }
        Container c = containers.get(ref - 1);
        JsonArray out = new JsonArray();
        if (c.target() instanceof FrameAt at) {
            locals(at, out);
        } else if (c.target() instanceof ArrayReference a) {
            int from = Math.max(0, Math.min(start, a.length()));
            int to = count > 0 ? Math.min(a.length(), from + count) : a.length();
            if (to > from) {
                List<Value> items = a.getValues(from, to - from);
                for (int i = from; i < to; i++) {
                    String parent = c.evaluateName();
                    out.add(variable("[" + i + "]", items.get(i - from), parent == null ? null : parent + "[" + i + "]"));
                }
            }
        } else if (c.target() instanceof ReferenceType type) {
            List<Field> fields = type.fields().stream().filter(f -> f.isStatic() && !f.isSynthetic()).toList();
            Map<Field, Value> vals = type.getValues(fields);
            for (Field f : fields) {
                out.add(variable(f.name(), vals.get(f), c.evaluateName() + "." + f.name()));
            }
        } else if (c.target() instanceof ObjectReference o) {
            List<Field> fields = o.referenceType().allFields().stream().filter(f -> !f.isStatic()).toList();
            Map<Field, Value> vals = o.getValues(fields);
            for (Field f : fields) {
                String parent = c.evaluateName();
                out.add(variable(f.name(), vals.get(f), parent == null ? null : parent + "." + f.name()));
            }
        }
        return out;
    }

    private void locals(FrameAt at, JsonArray out) throws DebugAdapter.RequestFailure {
        try {
            StackFrame frame = at.thread().frame(at.depth());
            ObjectReference self = frame.thisObject();
            if (self != null) {
                out.add(variable("this", self, "this"));
            }
            try {
                List<LocalVariable> visible = frame.visibleVariables();
                Map<LocalVariable, Value> vals = frame.getValues(visible);
                for (LocalVariable v : visible) {
                    out.add(variable(v.name(), vals.get(v), v.name()));
                }
            } catch (AbsentInformationException e) {
                // Compiled without local names: the arguments still have their values.
                List<Value> args = frame.getArgumentValues();
                for (int i = 0; i < args.size(); i++) {
                    out.add(variable("arg" + i, args.get(i), null));
                }
            }
        } catch (IncompatibleThreadStateException | IndexOutOfBoundsException e) {
            throw new DebugAdapter.RequestFailure("The frame is gone; the program has run on.");
        }
    }

    private JsonObject variable(String name, Value v, String evaluateName) {
        JsonObject o = new JsonObject();
        o.addProperty("name", name);
        o.addProperty("value", display(v));
        o.addProperty("type", v == null ? "null" : v.type().name());
        o.addProperty("variablesReference", reference(v, evaluateName));
        if (v instanceof ArrayReference a) {
            o.addProperty("indexedVariables", a.length());
        }
        if (evaluateName != null) {
            o.addProperty("evaluateName", evaluateName);
        }
        return o;
    }

    /** A value as the Variables view shows it. */
    String display(Value v) {
        return display(v, 2);
    }

    private String display(Value v, int depth) {
        if (v == null) {
            return "null";
        }
        if (v instanceof StringReference s) {
            return quote(s.value(), '"');
        }
        if (v instanceof CharValue c) {
            return quote(String.valueOf(c.value()), '\'');
        }
        if (v instanceof PrimitiveValue) {
            return v.toString();
        }
        if (v instanceof ArrayReference a) {
            String type = a.type().name();
            int bracket = type.indexOf('[');
            return shortName(type.substring(0, bracket)) + "[" + a.length() + "]" + type.substring(bracket + 2);
        }
        if (v instanceof ClassObjectReference c) {
            return "class " + c.reflectedType().name();
        }
        ObjectReference o = (ObjectReference) v;
        String type = o.referenceType().name();
        if (BOXES.contains(type)) {
            return display(o.getValue(o.referenceType().fieldByName("value")), depth);
        }
        if (isEnum(o)) {
            Field name = o.referenceType().fieldByName("name");
            if (name != null && o.getValue(name) instanceof StringReference s) {
                return s.value();
            }
        }
        if (depth > 0 && o.referenceType() instanceof ClassType ct && ct.superclass() != null
            && ct.superclass().name().equals("java.lang.Record")) {
            // A record reads as its components, as its own toString would show them.
            StringBuilder b = new StringBuilder(shortName(type)).append('[');
            boolean first = true;
            for (Field f : ct.fields()) {
                if (f.isStatic()) {
                    continue;
                }
                b.append(first ? "" : ", ").append(f.name()).append('=').append(display(o.getValue(f), depth - 1));
                first = false;
            }
            return b.append(']').toString();
        }
        return shortName(type) + " (id=" + o.uniqueID() + ")";
    }

    private static boolean isEnum(ObjectReference o) {
        return o.referenceType() instanceof ClassType ct && ct.isEnum();
    }

    /** A class's name as its source spells it: Item for shop.Till$Item, but Till$1 for an anonymous one. */
    private static String shortName(String type) {
        String name = type.substring(type.lastIndexOf('.') + 1);
        String last = name.substring(name.lastIndexOf('$') + 1);
        return last.isEmpty() || Character.isDigit(last.charAt(0)) ? name : last;
    }

    static String quote(String s, char mark) {
        StringBuilder b = new StringBuilder().append(mark);
        int n = Math.min(s.length(), MAX_TEXT);
        for (int i = 0; i < n; i++) {
            char c = s.charAt(i);
            switch (c) {
            case '\n' -> b.append("\\n");
            case '\r' -> b.append("\\r");
            case '\t' -> b.append("\\t");
            case '\\' -> b.append("\\\\");
            default -> {
                if (c == mark) {
                    b.append('\\');
                }
                b.append(c);
            }
            }
        }
        if (n < s.length()) {
            b.append("...");
        }
        return b.append(mark).toString();
    }
}
