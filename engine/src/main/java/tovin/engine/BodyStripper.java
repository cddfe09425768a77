package tovin.engine;

import java.util.HashSet;
import java.util.Set;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

/**
 * Blanks the bodies of the methods, constructors and initializer blocks that do not hold a given
 * offset, keeping every line break and so every position: what a caret can see (its class's
 * members, its own method's locals) does not depend on other bodies, and javac then attributes
 * one body instead of the file's hundreds.
 *
 * <p>The scan is lexical (comments, strings, characters and text blocks are skipped), because a
 * parse would cost as much as the work it saves. A brace at a type body's top level opens a type
 * body when a class, interface, enum or record declaration (or an enum constant) leads up to
 * it, a field's initializer when an {@code =} does (kept whole: lambdas and anonymous classes
 * there are rare and short), and a code block otherwise.
 */
final class BodyStripper {
    private final String text;
    private final int keep;
    private final char[] out;
    private final Set<String> named;
    private int at;
    private int keptStart = -1;
    private int keptEnd = -1;
    private String prefix = "";

    private BodyStripper(String text, int keep, Set<String> named) {
        this.text = text;
        this.keep = keep;
        this.out = text.toCharArray();
        this.named = named;
    }

    /** The text with every code block of a type body blanked unless it holds {@code keep}. */
    static String strip(String text, int keep) {
        BodyStripper stripper = new BodyStripper(text, keep, null);
        stripper.typeLevel(false, 0);
        return new String(stripper.out);
    }

    /**
     * As {@link #strip}, and the methods whose names the body holding {@code keep} never writes
     * are blanked whole: no expression there can call them, so what it means is the same
     * without them, and javac then enters and attributes a few methods instead of them all.
     * Constructors (named as their class, with a capital) are kept. Only the members of the
     * file's own classes differ, which the caller must take from {@link #strip}'s text.
     */
    static String stripUnused(String text, int keep) {
        return stripUnused(text, keep, "");
    }

    /**
     * As {@link #stripUnused(String, int)}, keeping also the methods whose names start with
     * {@code prefix} (in any case) when it is not empty: a completion filtered by it offers no
     * others, so its answer is the same.
     */
    static String stripUnused(String text, int keep, String prefix) {
        BodyStripper first = new BodyStripper(text, keep, null);
        first.typeLevel(false, 0);
        if (first.keptStart < 0) {
            return new String(first.out);
        }
        Set<String> names = new HashSet<>();
        Matcher words = WORD.matcher(text.substring(first.keptStart, first.keptEnd));
        while (words.find()) {
            names.add(words.group());
        }
        BodyStripper second = new BodyStripper(text, keep, names);
        second.prefix = prefix.toLowerCase(java.util.Locale.ROOT);
        second.typeLevel(false, 0);
        return new String(second.out);
    }

    private static final Pattern WORD = Pattern.compile("[\\p{javaJavaIdentifierStart}][\\p{javaJavaIdentifierPart}]*");

    /**
     * Scans declarations until the closing brace of the body at {@code depth} (or the text's end
     * at depth 0). {@code enumBody}: the body starts with enum constants, up to the first
     * {@code ;}.
     */
    private void typeLevel(boolean enumBody, int depth) {
        boolean constants = enumBody;
        boolean typeDeclaration = false;
        boolean initializer = false;
        boolean enumKeyword = false;
        int memberStart = at;
        String lastWord = null;
        String method = null;
        while (at < text.length()) {
            char c = text.charAt(at);
            if (skipTrivia()) {
                continue;
            }
            if (Character.isJavaIdentifierStart(c)) {
                int start = at;
                while (at < text.length() && Character.isJavaIdentifierPart(text.charAt(at))) {
                    at++;
                }
                String word = text.substring(start, at);
                lastWord = word;
                switch (word) {
                    case "class", "interface" -> typeDeclaration = true;
                    case "enum" -> {
                        typeDeclaration = true;
                        enumKeyword = true;
                    }
                    case "record" -> typeDeclaration |= nextIsIdentifier();
                    default -> {
                    }
                }
                continue;
            }
            at++;
            switch (c) {
                case '{' -> {
                    if (typeDeclaration || constants) {
                        typeLevel(enumKeyword, depth + 1);
                    } else if (initializer) {
                        skipBalanced();
                    } else {
                        codeBlock(unused(method) ? memberStart : -1);
                    }
                    typeDeclaration = false;
                    initializer = false;
                    enumKeyword = false;
                    method = null;
                    memberStart = at;
                }
                case '}' -> {
                    if (depth > 0) {
                        return;
                    }
                }
                case ';' -> {
                    memberStart = at;
                    method = null;
                    constants = false;
                    typeDeclaration = false;
                    initializer = false;
                    enumKeyword = false;
                }
                case '=' -> initializer |= !typeDeclaration;
                case '(' -> {
                    if (!initializer && !typeDeclaration) {
                        method = lastWord; // the last list before a body is the parameters'
                    }
                    // Parameter lists, annotation arguments and enum constants' arguments may
                    // hold anything a field initializer may.
                    at--;
                    skipBalancedParentheses();
                }
                case ',' -> {
                    if (!constants) {
                        initializer = false;
                    }
                }
                default -> {
                }
            }
        }
    }

    private boolean unused(String method) {
        return named != null && method != null && !named.contains(method)
                && !Character.isUpperCase(method.charAt(0))
                && (prefix.isEmpty() || !method.toLowerCase(java.util.Locale.ROOT).startsWith(prefix));
    }

    /**
     * After an opening brace of a code block: blanks it up to its closing brace unless it holds
     * {@code keep}; from {@code declaration} on, closing brace included, when that is not -1.
     */
    private void codeBlock(int declaration) {
        int start = at;
        skipBalanced();
        int end = at - 1; // the closing brace, or the text's end
        if (keep >= start && keep <= end) {
            keptStart = start;
            keptEnd = end;
            return;
        }
        if (declaration >= 0) {
            start = declaration;
            end = Math.min(at, out.length);
        }
        for (int i = start; i < end && i < out.length; i++) {
            if (out[i] != '\n' && out[i] != '\r') {
                out[i] = ' ';
            }
        }
    }

    /** After an opening brace: moves past its closing brace (or to the text's end). */
    private void skipBalanced() {
        int depth = 1;
        while (at < text.length() && depth > 0) {
            if (skipTrivia()) {
                continue;
            }
            char c = text.charAt(at++);
            if (c == '{') {
                depth++;
            } else if (c == '}') {
                depth--;
            }
        }
    }

    /** At an opening parenthesis: moves past its partner; a brace that closes the body ends it early. */
    private void skipBalancedParentheses() {
        int depth = 0;
        while (at < text.length()) {
            if (skipTrivia()) {
                continue;
            }
            char c = text.charAt(at);
            if (c == '(') {
                depth++;
            } else if (c == ')') {
                depth--;
            } else if (c == '{') {
                at++;
                skipBalanced();
                continue;
            } else if (c == '}' || c == ';') {
                return;
            }
            at++;
            if (depth == 0) {
                return;
            }
        }
    }

    private boolean nextIsIdentifier() {
        int i = at;
        while (i < text.length() && Character.isWhitespace(text.charAt(i))) {
            i++;
        }
        return i < text.length() && Character.isJavaIdentifierStart(text.charAt(i));
    }

    /** Moves past whitespace, a comment or a literal at {@code at}; false when none is there. */
    private boolean skipTrivia() {
        char c = text.charAt(at);
        if (Character.isWhitespace(c)) {
            at++;
            return true;
        }
        if (text.startsWith("//", at)) {
            while (at < text.length() && text.charAt(at) != '\n' && text.charAt(at) != '\r') {
                at++;
            }
            return true;
        }
        if (text.startsWith("/*", at)) {
            int end = text.indexOf("*/", at + 2);
            at = end < 0 ? text.length() : end + 2;
            return true;
        }
        if (text.startsWith("\"\"\"", at)) {
            int i = at + 3;
            while (i < text.length() && !text.startsWith("\"\"\"", i)) {
                i += text.charAt(i) == '\\' ? 2 : 1;
            }
            at = Math.min(text.length(), i + 3);
            return true;
        }
        if (c == '"' || c == '\'') {
            int i = at + 1;
            while (i < text.length() && text.charAt(i) != c && text.charAt(i) != '\n') {
                i += text.charAt(i) == '\\' ? 2 : 1;
            }
            at = Math.min(text.length(), i + 1);
            return true;
        }
        return false;
    }
}
