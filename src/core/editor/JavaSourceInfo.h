#pragma once
// What the Java editor's document knows about its text besides the text itself: the package
// the text declares and the methods its function drop-down lists, each with the character
// position of its declaration. Both are refreshed from the editor's text (F2, opening the
// drop-down, before every save), and the text is then re-parsed into the project's model when
// the file belongs to the open project.

#include <string>
#include <string_view>
#include <vector>

namespace tovin {

class CJavaFile;
class CJavaProjectDoc;

// The package a Java text declares: the first "package " outside comments and before the first
// "{" outside comments, up to the next ";", trimmed. A declaration that starts within the last
// eight characters is not seen. Empty when there is none.
std::string ExtractPackageName(std::string_view text);

struct SFunctionEntry {
    std::string name; // the signature as the parser cut it
    int position = 0; // character position of the declaration in the text
};

// Every method of the file's classes and inner classes in text order, at most `limit`.
std::vector<SFunctionEntry> CollectFunctions(const CJavaFile& file, int limit);

class CJavaSourceInfo {
public:
    // The function list holds as many entries as a model list does.
    static constexpr int kMaxFunctions = 255;

    const std::string& PackageName() const { return m_packageName; }
    const std::vector<SFunctionEntry>& Functions() const { return m_functions; }
    // Position of the first function with exactly this name, or -1.
    int FindFunctionPosition(const std::string& name) const;

    // Takes the package the text declares; a text without a declaration keeps the old name.
    void UpdatePackageName(std::string_view text);
    // Parses the text into the project's entry for the path when the project has one, and
    // fills the function list from the parse. Returns true when the project's entry was
    // re-parsed (the caller then tells the project, which reads the package from the document).
    bool Reparse(std::string_view text, const std::string& path, CJavaProjectDoc* project);

private:
    std::string m_packageName;
    std::vector<SFunctionEntry> m_functions;
};

} // namespace tovin
