// Fuzzes the Java parser and the Jython outline scanner with arbitrary bytes.
// Invariants: no crash or runaway time; lists stay within their capacity; Java positions lie
// inside the parsed text; the parser's model equals that of the literal reference
// implementation the unit tests use (compiled into this target below, so both always agree
// on the same rules); Jython line numbers rise.

#include "javamodel/JavaParser.h"
#include "cli/OutlineCommand.h"
#include "javamodel/JythonOutlineScanner.h"

// The reference parser is test code, kept beside the unit tests.
#include "../tests/core/javamodel/ReferenceJavaParser.cpp"

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

void CheckPositions(const CJavaClassList& classes, int textSize) {
    Check(classes.GetCount() <= kJavaListCapacity);
    for (const auto& cls : classes) {
        Check(cls->GetPosition() > 0 && cls->GetPosition() <= textSize);
        Check(cls->Methods().GetCount() <= kJavaListCapacity);
        for (const auto& method : cls->Methods()) {
            Check(method->GetPosition() > 0 && method->GetPosition() <= textSize);
        }
        CheckPositions(cls->InnerClasses(), textSize);
    }
}

void CheckJava(const std::string& text) {
    CJavaFile file;
    CJavaParser(file).ParseText(text);
    CheckPositions(file.Classes(), static_cast<int>(text.size()));
    CJavaFile reference;
    test::CReferenceJavaParser(reference).ParseText(text);
    Check(OutlineOf(file, ESourceKind::Java) == OutlineOf(reference, ESourceKind::Java));
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
    std::string text = CJavaParser::SourceTextOf(bytes);
    Check(text == test::CReferenceJavaParser::SourceText(bytes));
    CheckJava(text);
    CheckJava(bytes); // an editor's text need not have CR LF line ends
    CheckJython(bytes);
    return 0;
}
