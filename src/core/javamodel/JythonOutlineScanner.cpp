#include "core/javamodel/JythonOutlineScanner.h"

#include "core/javamodel/SourceLines.h"
#include "core/platform/Files.h"

namespace tovin {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string Trimmed(std::string_view text) {
    size_t start = 0, end = text.size();
    while (start < end && IsSpace(text[start])) {
        ++start;
    }
    while (end > start && IsSpace(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(start, end - start));
}

// The text after a keyword that opens the line, up to the line's first ":", trimmed; false
// when the keyword does not open the line or no ":" follows it.
bool LeadingEntry(std::string_view line, std::string_view keyword, std::string& entry) {
    size_t at = line.find(keyword);
    if (at == std::string_view::npos) {
        return false;
    }
    for (size_t i = 0; i < at; ++i) {
        if (!IsSpace(line[i])) {
            return false;
        }
    }
    size_t colon = line.find(':');
    // The name starts at the keyword's own trailing blank.
    size_t nameStart = at + keyword.size() - 1;
    if (colon == std::string_view::npos || nameStart >= colon) {
        return false;
    }
    entry = Trimmed(line.substr(nameStart, colon - nameStart));
    return true;
}

} // namespace

void ScanJythonOutline(CJavaFile& entry, std::string_view bytes) {
    std::string currentClass;
    int lineNumber = 0;
    ForEachSourceLine(bytes, [&](std::string_view line) {
        if (line.size() >= kJythonMaxLineLength) {
            return false;
        }
        if (!line.empty() && !IsSpace(line[0])) {
            currentClass.clear();
        }
        std::string name;
        // A "def :" or "class :" has no name to show; such a line adds nothing.
        if (LeadingEntry(line, "def ", name) && !name.empty()) {
            if (currentClass.empty()) {
                entry.AddFunction(name, lineNumber);
            } else if (CJavaClass* owner = entry.Classes().FindClass(currentClass);
                       owner && !owner->ContainsMethod(name)) {
                owner->AddMethod(name, lineNumber);
            }
        }
        if (LeadingEntry(line, "class ", name)) {
            if (!name.empty()) {
                entry.AddClass(name, lineNumber);
            }
            currentClass = name;
        }
        ++lineNumber;
        return true;
    });
}

bool JythonOutlineScanner(CJavaFile& entry, std::string* error) {
    auto bytes = ReadWholeFile(entry.GetFullPath(), error);
    if (!bytes) {
        return false;
    }
    ScanJythonOutline(entry, *bytes);
    return true;
}

} // namespace tovin
