package tovin.engine;

import com.google.gson.JsonObject;

/** Where an import goes in a file: among its imports in order, else after its package line. */
final class Imports {
    private Imports() {
    }

    /** The text edit that imports {@code qualified} into {@code text}. */
    static JsonObject edit(String text, String qualified) {
        String[] lines = text.split("\r\n|\r|\n", -1);
        String lineEnd = text.contains("\r\n") ? "\r\n" : "\n";
        int packageLine = -1;
        int firstImport = -1;
        int lastImport = -1;
        int before = -1;
        boolean inComment = false;
        for (int i = 0; i < lines.length; i++) {
            String line = lines[i].strip();
            if (inComment) {
                inComment = !line.contains("*/");
                continue;
            }
            if (line.isEmpty() || line.startsWith("//")) {
                continue;
            }
            if (line.startsWith("/*")) {
                inComment = !line.contains("*/");
                continue;
            }
            if (line.startsWith("package ")) {
                packageLine = i;
            } else if (line.startsWith("import ")) {
                String name = line.substring(7).strip();
                boolean isStatic = name.startsWith("static ");
                if (firstImport < 0) {
                    firstImport = i;
                }
                lastImport = i;
                if (!isStatic && before < 0 && name.replace(";", "").strip().compareTo(qualified) > 0) {
                    before = i;
                }
            } else {
                break;
            }
        }
        String statement = "import " + qualified + ";" + lineEnd;
        int line;
        String newText;
        if (before >= 0) {
            line = before;
            newText = statement;
        } else if (lastImport >= 0) {
            line = lastImport + 1;
            newText = statement;
        } else if (packageLine >= 0) {
            line = packageLine + 1;
            boolean blankAfter = line < lines.length && lines[line].isBlank();
            newText = lineEnd + statement + (blankAfter ? "" : lineEnd);
        } else {
            line = 0;
            newText = statement + lineEnd;
        }
        JsonObject position = new JsonObject();
        position.addProperty("line", line);
        position.addProperty("character", 0);
        JsonObject range = new JsonObject();
        range.add("start", position);
        range.add("end", position);
        JsonObject edit = new JsonObject();
        edit.add("range", range);
        edit.addProperty("newText", newText);
        return edit;
    }
}
