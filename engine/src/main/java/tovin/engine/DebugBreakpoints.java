package tovin.engine;

import com.google.gson.JsonArray;
import com.google.gson.JsonObject;
import com.sun.jdi.AbsentInformationException;
import com.sun.jdi.Location;
import com.sun.jdi.Method;
import com.sun.jdi.ReferenceType;
import com.sun.jdi.VirtualMachine;
import com.sun.jdi.event.BreakpointEvent;
import com.sun.jdi.request.BreakpointRequest;
import com.sun.jdi.request.ClassPrepareRequest;
import com.sun.jdi.request.EventRequest;
import com.sun.jdi.request.EventRequestManager;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.TreeSet;
import java.util.function.Consumer;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

/**
 * Line breakpoints by source file. A file's classes (its top-level ones and every nested, inner,
 * local, anonymous and lambda-holding class, which all name the file as their source) load at
 * different times, so a breakpoint is placed again each time one of them loads: it sits on its
 * line, or on the next line with code when its own has none, in every loaded class of the file.
 */
final class DebugBreakpoints {
    /** A breakpoint as the client asks for it. */
    record Asked(int line, String condition, String hitCondition) {}

    /** Asks whether a breakpoint's condition holds at its hit. */
    interface Condition {
        boolean test(BreakpointEvent hit, String condition) throws DebugExpression.Failure;
    }

    private static final class Line {
        final int id;
        final Asked asked;
        final HitCount hitCount;
        int placed = -1;
        int hits;
        String message;
        final List<BreakpointRequest> requests = new ArrayList<>();

        Line(int id, Asked asked, HitCount hitCount) {
            this.id = id;
            this.asked = asked;
            this.hitCount = hitCount;
        }
    }

    private static final class SourceFile {
        final Path path;
        final String name;
        final String packageName; // null when the file could not be read: any package matches
        final List<ReferenceType> types = new ArrayList<>();
        final List<Line> lines = new ArrayList<>();
        ClassPrepareRequest prepare;

        SourceFile(Path path, String packageName) {
            this.path = path;
            this.name = path.getFileName().toString();
            this.packageName = packageName;
        }
    }

    private static final Pattern PACKAGE = Pattern.compile("^\\s*package\\s+([\\p{L}\\p{N}_$.\\s]+?)\\s*;",
                                                           Pattern.MULTILINE);

    private final VirtualMachine vm;
    private final Consumer<JsonObject> changed;
    private final Map<Path, SourceFile> files = new LinkedHashMap<>();
    private int nextId = 1;

    DebugBreakpoints(VirtualMachine vm, Consumer<JsonObject> changed) {
        this.vm = vm;
        this.changed = changed;
    }

    /** Replaces the breakpoints of one file; the answer lists them in the order asked. */
    JsonArray set(Path path, List<Asked> wanted) {
        EventRequestManager erm = vm.eventRequestManager();
        SourceFile file = files.get(path);
        if (file != null) {
            for (Line line : file.lines) {
                erm.deleteEventRequests(line.requests);
            }
            file.lines.clear();
        }
        boolean known = file != null;
        if (!known) {
            file = new SourceFile(path, readPackage(path));
            files.put(path, file);
        }
        if (file.prepare == null && !wanted.isEmpty()) {
            file.prepare = erm.createClassPrepareRequest();
            if (vm.canUseSourceNameFilters()) {
                file.prepare.addSourceNameFilter(file.name);
            }
            // The event thread alone stops, until the new class's breakpoints are in place.
            file.prepare.setSuspendPolicy(EventRequest.SUSPEND_EVENT_THREAD);
            file.prepare.enable();
        }
        // Only after the request is on, and only classes already prepared: a class that loads
        // meanwhile, or is loaded but not yet prepared, is reported by its prepare event instead
        // of being taken as placed while it had no lines to place on.
        if (!known) {
            for (ReferenceType type : vm.allClasses()) {
                if (type.isPrepared() && belongs(file, type)) {
                    file.types.add(type);
                }
            }
        }
        JsonArray out = new JsonArray();
        for (Asked one : wanted) {
            HitCount hitCount = null;
            String problem = null;
            try {
                hitCount = HitCount.parse(one.hitCondition());
            } catch (IllegalArgumentException e) {
                problem = e.getMessage();
            }
            Line line = new Line(nextId++, one, hitCount);
            if (problem != null) {
                line.message = problem;
                out.add(describe(line));
                continue;
            }
            file.lines.add(line);
            place(file, line);
            out.add(describe(line));
        }
        return out;
    }

    /** A class has loaded: the breakpoints of its file are placed again. */
    void prepared(ReferenceType type) {
        for (SourceFile file : files.values()) {
            if (!belongs(file, type) || file.types.contains(type)) {
                continue;
            }
            file.types.add(type);
            for (Line line : file.lines) {
                int before = line.placed;
                String message = line.message;
                place(file, line);
                if (before != line.placed || !java.util.Objects.equals(message, line.message)) {
                    changed.accept(describe(line));
                }
            }
        }
    }

    /** Looks for classes that loaded unseen (while an evaluation ran with class-prepare events off). */
    void rescan() {
        if (files.isEmpty()) {
            return;
        }
        for (ReferenceType type : vm.allClasses()) {
            prepared(type);
        }
    }

    /** The path given for a class's source file, when breakpoints were set in it. */
    Path knownPath(ReferenceType type, String relativePath) {
        for (SourceFile file : files.values()) {
            if (file.types.contains(type) || file.path.endsWith(relativePath)) {
                return file.path;
            }
        }
        return null;
    }

    /** Counts a hit and says whether the program stops there: the breakpoint's id, or null. */
    Integer shouldStop(BreakpointEvent hit, Condition condition) {
        Object property = hit.request().getProperty(Line.class);
        if (!(property instanceof Line line)) {
            return null;
        }
        if (line.asked.condition() != null) {
            try {
                if (!condition.test(hit, line.asked.condition())) {
                    return null;
                }
            } catch (DebugExpression.Failure e) {
                // A condition that cannot be worked out stops the program, so the user sees why.
                return line.id;
            }
        }
        line.hits++;
        return line.hitCount == null || line.hitCount.stops(line.hits) ? line.id : null;
    }

    private void place(SourceFile file, Line line) {
        TreeSet<Integer> codeLines = new TreeSet<>();
        for (ReferenceType type : file.types) {
            try {
                for (Location l : type.allLineLocations()) {
                    codeLines.add(l.lineNumber());
                }
            } catch (AbsentInformationException e) {
                // Compiled without line numbers: nothing of it can hold a breakpoint.
            }
        }
        Integer target = codeLines.ceiling(line.asked.line());
        if (target == null) {
            line.message = file.types.isEmpty() ? "Set when its class loads." : "No code at or after this line.";
            return;
        }
        line.message = target == line.asked.line()
                               ? null
                               : "Line " + line.asked.line() + " has no code; the breakpoint is on line " + target + ".";
        if (target != line.placed) {
            vm.eventRequestManager().deleteEventRequests(line.requests);
            line.requests.clear();
            line.placed = target;
        }
        EventRequestManager erm = vm.eventRequestManager();
        for (ReferenceType type : file.types) {
            List<Location> locations;
            try {
                locations = type.locationsOfLine(target);
            } catch (AbsentInformationException e) {
                continue;
            }
            // One stop per method: the line's first instruction (a for loop's line has several).
            Map<Method, Location> first = new HashMap<>();
            for (Location l : locations) {
                first.merge(l.method(), l, (a, b) -> a.codeIndex() <= b.codeIndex() ? a : b);
            }
            for (Location l : first.values()) {
                boolean present = line.requests.stream().anyMatch(r -> r.location().equals(l));
                if (present) {
                    continue;
                }
                BreakpointRequest r = erm.createBreakpointRequest(l);
                r.putProperty(Line.class, line);
                r.setSuspendPolicy(EventRequest.SUSPEND_ALL);
                r.enable();
                line.requests.add(r);
            }
        }
    }

    private JsonObject describe(Line line) {
        JsonObject o = new JsonObject();
        o.addProperty("id", line.id);
        o.addProperty("verified", line.placed > 0);
        o.addProperty("line", line.placed > 0 ? line.placed : line.asked.line());
        if (line.message != null) {
            o.addProperty("message", line.message);
        }
        return o;
    }

    private static boolean belongs(SourceFile file, ReferenceType type) {
        if (!type.isPrepared()) {
            return false; // its class-prepare event brings it later
        }
        try {
            if (!type.sourceName().equals(file.name)) {
                return false;
            }
        } catch (AbsentInformationException e) {
            return false;
        }
        if (file.packageName == null) {
            return true;
        }
        String name = type.name();
        int dot = name.lastIndexOf('.');
        return (dot < 0 ? "" : name.substring(0, dot)).equals(file.packageName);
    }

    /** The file's package as its package declaration names it ("" for none); null if unreadable. */
    static String readPackage(Path path) {
        String text;
        try {
            text = Files.readString(path, StandardCharsets.UTF_8);
        } catch (IOException | RuntimeException e) {
            return null;
        }
        Matcher m = PACKAGE.matcher(stripComments(text));
        return m.find() ? m.group(1).replaceAll("\\s+", "") : "";
    }

    private static String stripComments(String text) {
        StringBuilder out = new StringBuilder(text.length());
        int i = 0;
        while (i < text.length()) {
            if (text.startsWith("/*", i)) {
                int end = text.indexOf("*/", i + 2);
                i = end < 0 ? text.length() : end + 2;
                out.append(' ');
            } else if (text.startsWith("//", i)) {
                int end = text.indexOf('\n', i);
                i = end < 0 ? text.length() : end;
            } else {
                out.append(text.charAt(i++));
            }
        }
        return out.toString();
    }

    /**
     * When a breakpoint's hits stop the program: "5" or "==5" on the fifth hit only, ">5", ">=5",
     * "<5", "<=5" by comparison, "%5" on every fifth.
     */
    record HitCount(String op, int n) {
        static HitCount parse(String text) {
            if (text == null) {
                return null;
            }
            Matcher m = Pattern.compile("\\s*(==|>=|<=|>|<|%)?\\s*(\\d+)\\s*").matcher(text);
            if (!m.matches()) {
                throw new IllegalArgumentException("The hit count \"" + text
                                                   + "\" is not understood (write 5, >5, >=5, <5, <=5 or %5).");
            }
            int n;
            try {
                n = Integer.parseInt(m.group(2));
            } catch (NumberFormatException e) {
                throw new IllegalArgumentException("The hit count \"" + text + "\" is too large.");
            }
            String op = m.group(1) == null ? "==" : m.group(1);
            if (op.equals("%") && n == 0) {
                throw new IllegalArgumentException("The hit count \"" + text + "\" divides by zero.");
            }
            return new HitCount(op, n);
        }

        boolean stops(int hits) {
            return switch (op) {
            case "==" -> hits == n;
            case ">=" -> hits >= n;
            case "<=" -> hits <= n;
            case ">" -> hits > n;
            case "<" -> hits < n;
            default -> hits % n == 0;
            };
        }
    }
}
