#include "cli/OutlineCommand.h"

#include "core/javamodel/JavaParser.h"
#include "core/javamodel/JythonOutlineScanner.h"
#include "core/platform/Files.h"
#include "core/project/AntFileReader.h"

#include <sstream>

namespace tovin {

namespace {

std::string Field(const std::string& text) {
    std::string field;
    field.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\t':
            field += "\\t";
            break;
        case '\r':
            field += "\\r";
            break;
        case '\n':
            field += "\\n";
            break;
        case '\\':
            field += "\\\\";
            break;
        default:
            field += c;
        }
    }
    return field;
}

void WriteMethods(std::ostream& out, const std::string& owner, const CJavaClass& cls) {
    for (const auto& method : cls.Methods()) {
        out << "method\t" << Field(owner) << '\t' << Field(method->GetName()) << '\t'
            << method->GetPosition() << '\n';
    }
}

void WriteClasses(std::ostream& out, const CJavaFile& file, bool withInner) {
    for (const auto& cls : file.Classes()) {
        out << "class\t" << Field(cls->GetName()) << '\t' << cls->GetPosition() << '\n';
        WriteMethods(out, cls->GetName(), *cls);
        if (!withInner) {
            continue;
        }
        for (const auto& inner : cls->InnerClasses()) {
            out << "inner\t" << Field(cls->GetName()) << '\t' << Field(inner->GetName()) << '\t'
                << inner->GetPosition() << '\n';
            WriteMethods(out, cls->GetName() + "." + inner->GetName(), *inner);
        }
    }
}

void WriteFunctions(std::ostream& out, const CJavaFile& file, const char* item) {
    for (const auto& function : file.Functions()) {
        out << item << '\t' << Field(function->GetName()) << '\t' << function->GetPosition()
            << '\n';
    }
}

// The Ant build-file reader fills an entry's functions with the file's targets; it reads an
// unreadable file as empty, so the file is tried first to say why.
bool ReadAntFile(CJavaFile& entry, std::string* error) {
    if (!ReadWholeFile(entry.GetFullPath(), error)) {
        return false;
    }
    ReadAntTargets(entry);
    return true;
}

bool ReadModel(CJavaFile& entry, ESourceKind kind, std::string* error) {
    switch (kind) {
    case ESourceKind::Jython:
        return JythonOutlineScanner(entry, error);
    case ESourceKind::Ant:
        return ReadAntFile(entry, error);
    case ESourceKind::Java:
        break;
    }
    return CJavaParser(entry).ParseFile(error);
}

} // namespace

ESourceKind SourceKindOf(const CJavaFile& file) {
    std::string extension = file.GetExtension();
    if (extension == "py") {
        return ESourceKind::Jython;
    }
    if (extension == "xml") {
        return ESourceKind::Ant;
    }
    return ESourceKind::Java;
}

std::string OutlineOf(const CJavaFile& file, ESourceKind kind) {
    std::ostringstream out;
    switch (kind) {
    case ESourceKind::Java:
        out << "package\t" << Field(file.GetPackage()) << '\n';
        WriteClasses(out, file, true);
        break;
    case ESourceKind::Jython:
        WriteClasses(out, file, false);
        WriteFunctions(out, file, "function");
        break;
    case ESourceKind::Ant:
        WriteFunctions(out, file, "target");
        break;
    }
    return out.str();
}

int RunOutline(const std::vector<std::string>& paths, std::ostream& out, std::ostream& err) {
    if (paths.empty()) {
        err << "tovin: --outline needs at least one file\n";
        return 2;
    }
    int code = 0;
    for (const auto& path : paths) {
        CJavaFile entry;
        entry.SetPath(path);
        ESourceKind kind = SourceKindOf(entry);
        std::string error;
        if (!ReadModel(entry, kind, &error)) {
            err << "tovin: cannot read " << path << ": " << error << '\n';
            code = 1;
            continue;
        }
        out << "file\t" << Field(path) << '\n' << OutlineOf(entry, kind);
    }
    out.flush();
    return code;
}

} // namespace tovin
