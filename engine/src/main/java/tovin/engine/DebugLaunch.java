package tovin.engine;

import com.google.gson.JsonElement;
import com.google.gson.JsonObject;
import java.io.File;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;

/**
 * What a launch request asks for: the main class, its class path, working folder and arguments as
 * Run composes them. Class path, arguments and VM arguments may come as one string (split as a
 * shell splits words, with quotes) or as an array of single words.
 */
record DebugLaunch(String mainClass, List<String> classPath, Path cwd, List<String> args,
                   List<String> vmArgs, String javaExecutable, List<Path> sourcePaths) {

    static DebugLaunch from(JsonObject a) throws DebugAdapter.RequestFailure {
        String main = string(a, "mainClass");
        if (main == null || main.isBlank()) {
            throw new DebugAdapter.RequestFailure("The launch names no main class (mainClass).");
        }
        List<String> cp = new ArrayList<>();
        for (String key : new String[] {"classPaths", "classPath"}) {
            JsonElement e = a.get(key);
            if (e == null || e.isJsonNull()) {
                continue;
            }
            if (e.isJsonArray()) {
                e.getAsJsonArray().forEach(x -> cp.add(x.getAsString()));
            } else {
                for (String part : e.getAsString().split(File.pathSeparator)) {
                    if (!part.isEmpty()) {
                        cp.add(part);
                    }
                }
            }
        }
        String cwdText = string(a, "cwd");
        Path cwd = Path.of(cwdText != null && !cwdText.isEmpty() ? cwdText : ".").toAbsolutePath().normalize();
        if (!Files.isDirectory(cwd)) {
            throw new DebugAdapter.RequestFailure("The working folder " + cwd + " does not exist.");
        }
        String java = string(a, "javaExecutable");
        if (java == null || java.isEmpty()) {
            java = Path.of(System.getProperty("java.home"), "bin", "java").toString();
        }
        List<Path> sources = new ArrayList<>();
        for (String s : words(a.get("sourcePaths"), File.pathSeparator)) {
            sources.add(cwd.resolve(s));
        }
        return new DebugLaunch(main.trim(), cp, cwd, words(a.get("args"), null), words(a.get("vmArgs"), null),
                               java, sources);
    }

    private static String string(JsonObject a, String key) {
        JsonElement e = a.get(key);
        return e != null && e.isJsonPrimitive() ? e.getAsString() : null;
    }

    private static List<String> words(JsonElement e, String separator) {
        List<String> out = new ArrayList<>();
        if (e == null || e.isJsonNull()) {
            return out;
        }
        if (e.isJsonArray()) {
            e.getAsJsonArray().forEach(x -> out.add(x.getAsString()));
        } else if (separator != null) {
            for (String part : e.getAsString().split(separator)) {
                if (!part.isEmpty()) {
                    out.add(part);
                }
            }
        } else {
            out.addAll(splitWords(e.getAsString()));
        }
        return out;
    }

    /** Splits a command line's words: blanks separate, double or single quotes group, \ escapes. */
    static List<String> splitWords(String text) {
        List<String> out = new ArrayList<>();
        StringBuilder word = new StringBuilder();
        boolean inWord = false;
        char quote = 0;
        for (int i = 0; i < text.length(); i++) {
            char c = text.charAt(i);
            if (quote != 0) {
                if (c == quote) {
                    quote = 0;
                } else if (c == '\\' && quote == '"' && i + 1 < text.length()
                           && (text.charAt(i + 1) == '"' || text.charAt(i + 1) == '\\')) {
                    word.append(text.charAt(++i));
                } else {
                    word.append(c);
                }
            } else if (c == '"' || c == '\'') {
                quote = c;
                inWord = true;
            } else if (c == '\\' && i + 1 < text.length()) {
                word.append(text.charAt(++i));
                inWord = true;
            } else if (Character.isWhitespace(c)) {
                if (inWord) {
                    out.add(word.toString());
                    word.setLength(0);
                    inWord = false;
                }
            } else {
                word.append(c);
                inWord = true;
            }
        }
        if (inWord) {
            out.add(word.toString());
        }
        return out;
    }
}
