package tovin.engine;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;

import java.nio.file.Files;
import java.nio.file.Path;
import java.util.List;
import java.util.stream.Collectors;
import java.util.stream.IntStream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/** The adapter's small readers: hit counts, command-line words, a source file's package. */
class DebugPartsTest {
    @Test
    void hitCountsStopOnTheHitsTheySay() {
        String[][] rows = {// text, the hits of 1..10 that stop
                           {"3", "3"}, {"==3", "3"}, {" >= 8 ", "8 9 10"}, {">8", "9 10"}, {"<3", "1 2"},
                           {"<=2", "1 2"}, {"%4", "4 8"}};
        for (String[] row : rows) {
            DebugBreakpoints.HitCount h = DebugBreakpoints.HitCount.parse(row[0]);
            String stops = IntStream.rangeClosed(1, 10).filter(h::stops).mapToObj(Integer::toString)
                                   .collect(Collectors.joining(" "));
            assertEquals(row[1], stops, row[0]);
        }
        for (String bad : new String[] {"often", "%0", "> x", "99999999999"}) {
            assertThrows(IllegalArgumentException.class, () -> DebugBreakpoints.HitCount.parse(bad), bad);
        }
    }

    @Test
    void commandLinesSplitAsAShellSplitsThem() {
        Object[][] rows = {{"", List.of()},
                           {"  -Xmx64m   -ea ", List.of("-Xmx64m", "-ea")},
                           {"\"a b\" 'c d' e\\ f", List.of("a b", "c d", "e f")},
                           {"-Dx=\"say \\\"hi\\\"\"", List.of("-Dx=say \"hi\"")},
                           {"'' x", List.of("", "x")}};
        for (Object[] row : rows) {
            assertEquals(row[1], DebugLaunch.splitWords((String) row[0]), (String) row[0]);
        }
    }

    @Test
    void aSourceFilesPackageIsReadPastComments(@TempDir Path dir) throws Exception {
        String[][] rows = {{"package a.b;\nclass X {}", "a.b"},
                           {"/* package no; */\n// package nor;\npackage  real . one ;", "real.one"},
                           {"class NoPackage {}", ""},
                           {"import java.util.List; class Y { String s = \"package x;\"; }", ""}};
        for (String[] row : rows) {
            Path file = dir.resolve("X.java");
            Files.writeString(file, row[0]);
            assertEquals(row[1], DebugBreakpoints.readPackage(file), row[0]);
        }
        assertEquals(null, DebugBreakpoints.readPackage(dir.resolve("Missing.java")));
    }
}
