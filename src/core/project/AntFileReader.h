#pragma once
// CAntFileReader reads an Ant build file to list its targets: for the project tree's Ant menus,
// the XML editor's function list and the project's class information. It is a short-lived
// object, one per reading.
//
// The matching is deliberately simple and literal, and other parts (menus, stored line numbers)
// rely on its exact results:
// - Tags are found by "<" and the next ">"; tags starting with "/", "?" or "!" are skipped, so
//   a comment ends at its first ">".
// - A tag whose text merely begins with "project" is the project tag: the default target is
//   the text between the first two double quotes after the first "default" in it.
// - A tag whose text begins with "target" is a target: its name is the text between the first
//   two double quotes after the first "name" anywhere in the tag text (so in
//   `target depends="rename" name="z"` the name is ` name=`).
// - A project tag without a quoted default, or a target without a quoted name, stops the
//   parsing there (targets found before it stay); so does a "<" without a ">" after it.
// Matching is exact and case-sensitive.

#include <string>
#include <vector>

namespace tovin {

class CJavaFile;

class CAntFileReader {
public:
    // Reads the file line by line (CLineReader, a CR before the LF dropped); each line is kept
    // followed by "\r\n". A line over 1023 characters ends the reading; a file that cannot be
    // opened leaves the text empty.
    explicit CAntFileReader(const std::string& path);
    // A reader over text already read, for callers that hold the text in memory.
    static CAntFileReader FromText(std::string text);

    // The entry whose function list receives the targets (with their 0-based line numbers);
    // none by default.
    void SetFileEntry(CJavaFile* entry) { m_entry = entry; }

    // 1 when the whole text was scanned, 0 when the text is empty (the entry keeps its
    // functions) or a malformed tag stopped the scan (the entry holds the targets before it).
    int Parse();

    const std::string& GetText() const { return m_text; }
    const std::vector<std::string>& GetTargetNames() const { return m_targets; }
    const std::string& GetDefaultTarget() const { return m_default; }
    // Index in the target names of the target named as the default, or -1.
    int GetDefaultIndex() const { return m_defaultIndex; }

private:
    CAntFileReader() = default;
    int ParseTag();
    int ReadProjectTag(const std::string& tag);
    int ReadTargetTag(const std::string& tag);
    int LineOfTagStart();

    std::string m_text;
    std::vector<std::string> m_targets;
    std::string m_default;
    int m_defaultIndex = -1;
    CJavaFile* m_entry = nullptr;
    size_t m_tagStart = 0;
    size_t m_scan = 0;
    // Line feeds counted so far, up to m_countedTo, so that line numbers cost one pass in all.
    size_t m_countedTo = 0;
    int m_linesCounted = 0;
};

// The project's scanner hook for ".xml" entries: reads the entry's stored path and refills its
// functions with the targets.
void ReadAntTargets(CJavaFile& entry);

} // namespace tovin
