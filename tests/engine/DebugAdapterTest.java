package tovin.engine;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static tovin.engine.DebugClient.json;

import com.google.gson.JsonArray;
import com.google.gson.JsonObject;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.TreeMap;
import java.util.concurrent.TimeUnit;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/**
 * The debug adapter end to end: the real JDK compiles the test programs, the adapter runs them
 * under JDI, and the stops are checked against the lines javac wrote into the class files.
 */
class DebugAdapterTest {
    @TempDir
    static Path work;

    static Path sources;
    static Path classes;
    static Path till;
    static Path late;
    static Path crash;
    static final Map<String, Integer> MARKS = new HashMap<>();

    @BeforeAll
    static void compile() throws Exception {
        sources = Path.of(System.getProperty("tovin.testData"), "debug").toAbsolutePath();
        classes = work.resolve("classes");
        List<String> command = new ArrayList<>(List.of(tool("javac"), "-g", "-encoding", "UTF-8", "-d", classes.toString()));
        try (var files = Files.list(sources.resolve("shop"))) {
            files.forEach(f -> command.add(f.toString()));
        }
        run(command);
        till = sources.resolve("shop/Till.java");
        late = sources.resolve("shop/Late.java");
        crash = sources.resolve("shop/Crash.java");
        for (Path file : List.of(till, late, crash)) {
            List<String> lines = Files.readAllLines(file, StandardCharsets.UTF_8);
            for (int i = 0; i < lines.size(); i++) {
                Matcher m = Pattern.compile("// @([\\w-]+)").matcher(lines.get(i));
                if (m.find()) {
                    MARKS.put(m.group(1), i + 1);
                }
            }
        }
    }

    static String tool(String name) {
        return Path.of(System.getProperty("java.home"), "bin", name).toString();
    }

    static String run(List<String> command) throws IOException, InterruptedException {
        Process p = new ProcessBuilder(command).redirectErrorStream(true).start();
        String out = new String(p.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        assertEquals(0, p.waitFor(), String.join(" ", command) + "\n" + out);
        return out;
    }

    static int mark(String name) {
        return MARKS.get(name);
    }

    static JsonObject at(String mark) {
        return json("line", mark(mark));
    }

    // ---------------------------------------------------------------- javac's line tables

    /** One method's line table as javap prints it: code index to line, and its invoke instructions. */
    record LineTable(TreeMap<Integer, Integer> lineAt, Map<String, Integer> invokes) {
        int lineOf(int pc) {
            return lineAt.floorEntry(pc).getValue();
        }

        int first() {
            return lineAt.firstEntry().getValue();
        }

        /** The line straight-line code reaches after the given one. */
        int after(int line) {
            boolean seen = false;
            for (int l : lineAt.values()) {
                if (seen && l != line) {
                    return l;
                }
                seen |= l == line;
            }
            throw new AssertionError("no line after " + line);
        }
    }

    static Map<String, LineTable> lineTables(String className) throws Exception {
        String text = run(List.of(tool("javap"), "-c", "-l", "-p", "-cp", classes.toString(), className));
        Map<String, LineTable> tables = new HashMap<>();
        LineTable current = null;
        Pattern method = Pattern.compile("^  \\S.*?([\\w$<>]+)\\(.*\\);$");
        Pattern code = Pattern.compile("^\\s+(\\d+): invoke\\w+\\s+#\\d+\\s+// \\w+ (?:[\\w/$]+\\.)?([\\w$<>]+):");
        Pattern line = Pattern.compile("^\\s+line (\\d+): (\\d+)$");
        for (String l : text.split("\n")) {
            Matcher m;
            if ((m = method.matcher(l)).matches()) {
                current = new LineTable(new TreeMap<>(), new HashMap<>());
                tables.put(m.group(1), current);
            } else if (current != null && (m = code.matcher(l)).find()) {
                current.invokes().putIfAbsent(m.group(2), Integer.parseInt(m.group(1)));
            } else if (current != null && (m = line.matcher(l)).matches()) {
                current.lineAt().put(Integer.parseInt(m.group(2)), Integer.parseInt(m.group(1)));
            }
        }
        return tables;
    }

    // ---------------------------------------------------------------- the tests

    @Test
    void breakpointsInNestedInnerLambdaAndLateClassesAreHitInOrder() throws Exception {
        try (DebugClient c = new DebugClient()) {
            c.launch(classes, work, "shop.Till", "");
            JsonArray set = c.setBreakpoints(till, at("counter-add"), at("lambda"), at("drawer-open"));
            for (var b : set) {
                // Nothing of the program has loaded yet: each waits for its class.
                assertFalse(b.getAsJsonObject().get("verified").getAsBoolean(), b.toString());
            }
            c.setBreakpoints(late, at("late"));
            c.request("configurationDone", new JsonObject());

            String[][] expected = {{"Till$Counter.add", "counter-add"}, {"Till$Counter.add", "counter-add"},
                                   {"Till$Counter.add", "counter-add"}, {"Till$Counter.add", "counter-add"},
                                   {"Till$Counter.add", "counter-add"}, {"Till.lambda$main$0", "lambda"},
                                   {"Till$Drawer.open", "drawer-open"}, {"Late.greet", "late"}};
            for (String[] e : expected) {
                DebugClient.Stop stop = c.stopped();
                assertEquals("breakpoint", stop.reason());
                assertEquals(e[0] + ":" + mark(e[1]), stop.method() + ":" + stop.line());
                if (e[0].equals("Till$Drawer.open")) {
                    // The caller's frame is main at the call, with the file's path.
                    JsonObject caller = stop.frames().get(1).getAsJsonObject();
                    assertEquals("Till.main:" + mark("call-open"), caller.get("name").getAsString() + ":"
                                                                       + caller.get("line").getAsInt());
                    assertEquals(till.toString(), caller.getAsJsonObject("source").get("path").getAsString());
                    assertEquals(2, stop.frames().size());
                }
                c.request("continue", json("threadId", stop.thread()));
            }
            assertEquals(0, c.event("exited").get("exitCode").getAsInt());
            c.event("terminated");
            assertTrue(c.stdout().contains("late\n") && c.stdout().contains("each 2\n"), c.stdout());
        }
    }

    @Test
    void localsShowPrimitivesStringsArraysAndRecords() throws Exception {
        try (DebugClient c = new DebugClient()) {
            c.launch(classes, work, "shop.Till", "");
            c.setBreakpoints(till, at("call-twice"));
            c.request("configurationDone", new JsonObject());
            DebugClient.Stop stop = c.stopped();
            Map<String, JsonObject> locals = c.locals(stop);
            Map<String, String> expected = new TreeMap<>(Map.of("count", "3", "big", "1099511627776", "price", "2.5",
                                                                "mark", "'x'", "ok", "true", "name", "\"caf\u00e9\"",
                                                                "numbers", "int[3]", "item", "Item[name=\"tea\", cents=250]",
                                                                "args", "String[0]"));
            Map<String, String> actual = new TreeMap<>();
            locals.forEach((k, v) -> actual.put(k, v.get("value").getAsString()));
            assertEquals(expected, actual);

            Map<String, JsonObject> elements = c.variables(locals.get("numbers").get("variablesReference").getAsInt());
            assertEquals("[0]=4 [1]=5 [2]=6", describe(elements));
            Map<String, JsonObject> fields = c.variables(locals.get("item").get("variablesReference").getAsInt());
            assertEquals("name=\"tea\" cents=250", describe(fields));
            assertEquals("item.name", fields.get("name").get("evaluateName").getAsString());

            // A static method has no this: its class's static fields are a scope of their own.
            JsonArray scopes = c.request("scopes", json("frameId", stop.top().get("id").getAsInt())).getAsJsonArray("scopes");
            assertEquals(2, scopes.size());
            JsonObject statics = scopes.get(1).getAsJsonObject();
            assertEquals("Static fields of shop.Till", statics.get("name").getAsString());
            assertEquals("SHOP=\"corner\" visits=1", describe(c.variables(statics.get("variablesReference").getAsInt())));
            c.request("terminate", new JsonObject());
            c.event("terminated");
        }
    }

    private static String describe(Map<String, JsonObject> vars) {
        StringBuilder b = new StringBuilder();
        vars.forEach((k, v) -> b.append(b.length() > 0 ? " " : "").append(k).append('=').append(v.get("value").getAsString()));
        return b.toString();
    }

    @Test
    void stepsLandOnTheLinesOfJavacsLineTable() throws Exception {
        Map<String, LineTable> tables = lineTables("shop.Till");
        LineTable main = tables.get("main");
        LineTable twice = tables.get("twice");
        int call = main.lineOf(main.invokes().get("twice"));
        try (DebugClient c = new DebugClient()) {
            c.launch(classes, work, "shop.Till", "");
            c.setBreakpoints(till, at("main-first"));
            c.request("configurationDone", new JsonObject());
            DebugClient.Stop stop = c.stopped();
            assertEquals(main.first(), stop.line());
            stop = c.step("next", stop);
            assertEquals(main.after(main.first()), stop.line());
            while (stop.line() != call) {
                stop = c.step("next", stop);
            }
            stop = c.step("stepIn", stop);
            assertEquals("Till.twice:" + twice.first(), stop.method() + ":" + stop.line());
            stop = c.step("next", stop);
            assertEquals(twice.after(twice.first()), stop.line());
            stop = c.step("stepOut", stop);
            assertEquals("Till.main:" + call, stop.method() + ":" + stop.line());
            stop = c.step("next", stop);
            assertEquals(main.after(call), stop.line());
            // Stepping into a call of the class library goes over it.
            stop = c.step("stepIn", stop);
            assertEquals("Till.main:" + main.after(main.after(call)), stop.method() + ":" + stop.line());
            c.request("terminate", new JsonObject());
            c.event("terminated");
        }
    }

    @Test
    void conditionsHitCountsAndLinesWithoutCode() throws Exception {
        try (DebugClient c = new DebugClient()) {
            c.launch(classes, work, "shop.Till", "");
            c.setBreakpoints(till, json("line", mark("loop"), "condition", "i == 3 && counter.count > 2"),
                             json("line", mark("no-code")), json("line", mark("counter-add"), "hitCondition", ">=4"),
                             json("line", mark("lambda"), "hitCondition", "sometimes"));
            c.request("configurationDone", new JsonObject());
            // The breakpoint on a comment line moves down to the loop's call, and says so.
            JsonObject moved = null;
            while (moved == null) {
                JsonObject b = c.event("breakpoint").getAsJsonObject("breakpoint");
                if (b.get("id").getAsInt() == 2 && b.get("verified").getAsBoolean()) {
                    moved = b;
                }
            }
            assertEquals(mark("loop"), moved.get("line").getAsInt());
            assertTrue(moved.get("message").getAsString().contains("line " + mark("loop")), moved.toString());

            List<String> hits = new ArrayList<>();
            while (hits.size() < 7) {
                DebugClient.Stop stop = c.stopped();
                int frame = stop.top().get("id").getAsInt();
                String i = c.request("evaluate", json("frameId", frame, "expression", stop.method().endsWith("add") ? "n" : "i"))
                                   .get("result").getAsString();
                List<Integer> ids = new ArrayList<>();
                stop.event().getAsJsonArray("hitBreakpointIds").forEach(id -> ids.add(id.getAsInt()));
                ids.sort(null);
                hits.add(stop.line() + "/" + i + "/" + ids.toString().replace(" ", ""));
                c.request("continue", json("threadId", stop.thread()));
            }
            int loop = mark("loop");
            int add = mark("counter-add");
            // The moved one stops at every turn; the conditional one adds itself at i == 3; the hit count
            // lets counter.add stop from its fourth call on.
            assertEquals(List.of(loop + "/0/[2]", loop + "/1/[2]", loop + "/2/[2]", loop + "/3/[1,2]", add + "/3/[3]",
                                 loop + "/4/[2]", add + "/4/[3]"),
                         hits);
            assertEquals(0, c.event("exited").get("exitCode").getAsInt());
        }
    }

    @Test
    void evaluatesPathsAndReportsWhatItCannot() throws Exception {
        try (DebugClient c = new DebugClient()) {
            c.launch(classes, work, "shop.Till", "");
            c.setBreakpoints(till, at("drawer-open"));
            c.request("configurationDone", new JsonObject());
            DebugClient.Stop stop = c.stopped();
            int frame = stop.top().get("id").getAsInt();
            String[][] rows = {{"cents", "5"},
                               {"this.this$0.base + cents * 2", "110"},
                               {"base", "100"},
                               {"\"n=\" + (cents - 1.5)", "\"n=3.5\""},
                               {"Integer.MAX_VALUE", "2147483647"},
                               {"java.lang.Long.max(cents, 9)", "9"}, {"Math.max(cents, 2.5f)", "5.0"},
                               {"\"tea\".length() == 3 || missing", "true"}};
            for (String[] row : rows) {
                assertEquals(row[1], c.request("evaluate", json("frameId", frame, "expression", row[0])).get("result").getAsString(),
                             row[0]);
            }
            // A call that passes a breakpoint runs through it rather than waiting on it forever.
            c.setBreakpoints(till, at("drawer-open"), at("twice-first"));
            assertEquals("11", c.request("evaluate", json("frameId", frame, "expression", "Till.twice(cents) + 1"))
                                       .get("result").getAsString());
            for (String bad : new String[] {"missing", "cents +", "cents / 0", "base.x"}) {
                JsonObject answer = c.answer("evaluate", json("frameId", frame, "expression", bad));
                assertFalse(answer.get("success").getAsBoolean(), bad);
                assertFalse(answer.get("message").getAsString().isBlank(), bad);
            }
            // A call that loads a class: its breakpoints are placed all the same.
            assertFalse(c.setBreakpoints(late, at("late")).get(0).getAsJsonObject().get("verified").getAsBoolean());
            assertEquals("\"late\"", c.request("evaluate", json("frameId", frame, "expression", "Till.lateName()"))
                                           .get("result").getAsString());
            c.request("continue", json("threadId", stop.thread()));
            stop = c.stopped();
            assertEquals("Late.greet:" + mark("late"), stop.method() + ":" + stop.line());
            c.request("terminate", new JsonObject());
            c.event("terminated");
        }
    }

    @Test
    void anUncaughtExceptionStopsAtItsThrow() throws Exception {
        try (DebugClient c = new DebugClient()) {
            c.launch(classes, work, "shop.Crash", "");
            c.request("setExceptionBreakpoints", json("filters", new com.google.gson.Gson().toJsonTree(List.of("uncaught"))));
            c.request("configurationDone", new JsonObject());
            DebugClient.Stop stop = c.stopped();
            assertEquals("exception", stop.reason());
            assertEquals("Crash.fail:" + mark("throw"), stop.method() + ":" + stop.line());
            assertEquals("Crash.main:" + mark("call-fail"), stop.frames().get(1).getAsJsonObject().get("name").getAsString()
                                                                 + ":" + stop.frames().get(1).getAsJsonObject().get("line").getAsInt());
            assertEquals("java.lang.IllegalStateException: broken 2", stop.event().get("description").getAsString());
            c.request("continue", json("threadId", stop.thread()));
            assertEquals(1, c.event("exited").get("exitCode").getAsInt());
            c.event("terminated");
            assertEquals("caught\n", c.stdout());
            assertTrue(c.stderr().contains("IllegalStateException: broken 2"), c.stderr());
        }
    }

    @Test
    void outputInputAndExitCodesPassThrough() throws Exception {
        try (DebugClient c = new DebugClient()) {
            c.launch(classes, work, "shop.Till", "3");
            c.request("configurationDone", new JsonObject());
            assertEquals(3, c.event("exited").get("exitCode").getAsInt());
            c.event("terminated");
            assertTrue(c.stdout().startsWith("twice 6\n"), c.stdout());
            assertTrue(c.stdout().endsWith("done 49 105 10995116277762.5xtrue3250\n"), c.stdout());
        }
        try (DebugClient c = new DebugClient()) {
            c.launch(classes, work, "shop.Echo", "");
            c.request("configurationDone", new JsonObject());
            // A program waiting on its input leaves the adapter free to answer.
            long deadline = System.nanoTime() + TimeUnit.SECONDS.toNanos(DebugClient.TIMEOUT_SECONDS);
            while (!c.stdout().equals("name? ") && System.nanoTime() < deadline) {
                c.request("threads", new JsonObject());
            }
            assertEquals("name? ", c.stdout());
            c.request("input", json("text", "Ada\n"));
            assertEquals(0, c.event("exited").get("exitCode").getAsInt());
            c.event("terminated");
            assertEquals("name? hello Ada\n", c.stdout());
            assertEquals("bye\n", c.stderr());
        }
    }

    @Test
    void pauseStopsTheProgramWhereverItIs() throws Exception {
        try (DebugClient c = new DebugClient()) {
            c.launch(classes, work, "shop.Echo", "", sources.toString());
            c.request("configurationDone", new JsonObject());
            long deadline = System.nanoTime() + TimeUnit.SECONDS.toNanos(DebugClient.TIMEOUT_SECONDS);
            while (!c.stdout().equals("name? ") && System.nanoTime() < deadline) {
                c.request("threads", new JsonObject());
            }
            // Waiting in the class library for its input, main still shows its own line.
            c.request("pause", new JsonObject());
            DebugClient.Stop stop = c.stopped();
            assertEquals("pause", stop.reason());
            List<String> own = new ArrayList<>();
            stop.frames().forEach(f -> {
                if (f.getAsJsonObject().has("source")) {
                    own.add(f.getAsJsonObject().get("name").getAsString());
                }
            });
            assertEquals(List.of("Echo.main"), own);
            // A second pause while stopped changes nothing: one Continue lets it run.
            c.request("pause", json("threadId", stop.thread()));
            c.stopped();
            c.request("continue", json("threadId", stop.thread()));
            c.request("input", json("text", "Bo\n"));
            assertEquals(0, c.event("exited").get("exitCode").getAsInt());
            assertEquals("name? hello Bo\n", c.stdout());
        }
    }

    @Test
    void noProgramOutlivesTheSession() throws Exception {
        // Ended by terminate, by disconnect, and by the client going away (the end of the adapter's input).
        for (String how : new String[] {"terminate", "disconnect", "close"}) {
            List<ProcessHandle> debuggees;
            try (DebugClient c = new DebugClient()) {
                c.launch(classes, work, "shop.Echo", "");
                c.request("configurationDone", new JsonObject());
                debuggees = c.adapter.descendants().toList();
                assertEquals(1, debuggees.size(), how);
                if (!how.equals("close")) {
                    c.request(how, new JsonObject());
                    c.event("terminated");
                }
            }
            for (ProcessHandle p : debuggees) {
                p.onExit().get(DebugClient.TIMEOUT_SECONDS, TimeUnit.SECONDS);
                assertFalse(p.isAlive(), how);
            }
        }
    }

    @Test
    void badLaunchesAreAnsweredWithAReason() throws Exception {
        try (DebugClient c = new DebugClient()) {
            c.request("initialize", json("adapterID", "tovin-tests"));
            String[][] rows = {{"{}", "main class"},
                               {"{\"mainClass\":\"shop.Till\",\"cwd\":\"/no/such/folder\"}", "/no/such/folder"},
                               {"{\"mainClass\":\"shop.Till\",\"vmArgs\":\"-XX:NoSuchOption\"}", "ended"}};
            for (String[] row : rows) {
                JsonObject answer = c.answer("launch", com.google.gson.JsonParser.parseString(row[0]).getAsJsonObject());
                assertFalse(answer.get("success").getAsBoolean(), row[0]);
                assertTrue(answer.get("message").getAsString().contains(row[1]), answer.toString());
            }
            // A main class that is not there: the VM says so on its error stream and ends with 1.
            c.request("launch", json("mainClass", "shop.Nothing", "classPath", classes.toString()));
            c.request("configurationDone", new JsonObject());
            assertEquals(1, c.event("exited").get("exitCode").getAsInt());
            assertTrue(c.stderr().contains("shop.Nothing"), c.stderr());
        }
    }
}
