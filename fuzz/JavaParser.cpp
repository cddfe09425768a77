// Fuzzes the Java parser and the Jython outline scanner with arbitrary bytes.
// Invariants: no crash or runaway time; lists stay within their capacity; every Java entry's
// position lies inside the parsed text, on a line that holds the entry's name; Jython line
// numbers rise.

#include "core/javamodel/JavaParser.h"
#include "core/javamodel/JythonOutlineScanner.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace tovin;

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The name an entry is found by on its line: a type's without its type parameters, a
// method's without its parameters.
std::string_view NameOf(std::string_view entry) {
    return entry.substr(0, entry.find_first_of("<( \t\r\n\v\f"));
}

void CheckEntry(std::string_view text, std::string_view name, int position) {
    Check(position > 0 && static_cast<size_t>(position) <= text.size());
    const size_t lineStart = position == 0 ? 0 : text.rfind('\n', position - 1) + 1;
    size_t lineEnd = text.find('\n', position);
    lineEnd = lineEnd == std::string_view::npos ? text.size() : lineEnd;
    Check(!NameOf(name).empty() &&
          text.substr(lineStart, lineEnd - lineStart).find(NameOf(name)) != std::string::npos);
}

void CheckClasses(std::string_view text, const CJavaClassList& classes) {
    Check(classes.GetCount() <= kJavaListCapacity);
    for (const auto& cls : classes) {
        CheckEntry(text, cls->GetName(), cls->GetPosition());
        Check(cls->Methods().GetCount() <= kJavaListCapacity);
        for (const auto& method : cls->Methods()) {
            CheckEntry(text, method->GetName(), method->GetPosition());
        }
        CheckClasses(text, cls->InnerClasses());
    }
}

void CheckJava(const std::string& text) {
    CJavaFile file;
    CJavaParser(file).ParseText(text);
    CheckClasses(text, file.Classes());
}

void CheckJython(const std::string& bytes) {
    CJavaFile entry;
    ScanJythonOutline(entry, bytes);
    int last = -1;
    for (const auto& function : entry.Functions()) {
        Check(function->GetPosition() > last);
        last = function->GetPosition();
    }
    for (const auto& cls : entry.Classes()) {
        Check(cls->GetPosition() >= 0 && !cls->GetName().empty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckJava(CJavaParser::SourceTextOf(bytes));
    CheckJava(bytes); // an editor's text need not have CR LF line ends
    CheckJython(bytes);
    return 0;
}
