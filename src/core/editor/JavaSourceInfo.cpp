#include "core/editor/JavaSourceInfo.h"

#include "core/javamodel/JavaModel.h"
#include "core/javamodel/JavaParser.h"
#include "core/project/JavaProjectDoc.h"

#include <algorithm>

namespace tovin {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

void CollectMethods(const CJavaClass& owner, std::vector<SFunctionEntry>& out) {
    for (const auto& method : owner.Methods()) {
        out.push_back({method->GetName(), method->GetPosition()});
    }
    for (const auto& inner : owner.InnerClasses()) {
        CollectMethods(*inner, out);
    }
}

} // namespace

std::string ExtractPackageName(std::string_view text) {
    bool outsideBlock = true;
    bool outsideLine = true;
    constexpr std::string_view kPackage = "package ";
    for (size_t i = 0; i + kPackage.size() < text.size(); ++i) {
        std::string_view two = text.substr(i, 2);
        // A comment opener counts only outside the other kind of comment, so a "/*" inside a
        // line comment does not hide the rest of the file.
        if (outsideBlock && outsideLine && two == "/*") {
            outsideBlock = false;
        } else if (!outsideBlock && two == "*/") {
            outsideBlock = true;
        }
        if (outsideLine && outsideBlock && two == "//") {
            outsideLine = false;
        } else if (!outsideLine && two == "\r\n") {
            outsideLine = true;
        }
        if (!outsideBlock || !outsideLine) {
            continue;
        }
        if (text[i] == '{') {
            break;
        }
        if (text.substr(i, kPackage.size()) == kPackage) {
            size_t end = text.find(';', i);
            if (end == std::string_view::npos) {
                break;
            }
            return Trimmed(text.substr(i + kPackage.size(), end - i - kPackage.size()));
        }
    }
    return {};
}

std::vector<SFunctionEntry> CollectFunctions(const CJavaFile& file, int limit) {
    std::vector<SFunctionEntry> functions;
    for (const auto& cls : file.Classes()) {
        CollectMethods(*cls, functions);
    }
    std::stable_sort(
        functions.begin(), functions.end(),
        [](const SFunctionEntry& a, const SFunctionEntry& b) { return a.position < b.position; });
    if (static_cast<int>(functions.size()) > limit) {
        functions.resize(static_cast<size_t>(std::max(0, limit)));
    }
    return functions;
}

int CJavaSourceInfo::FindFunctionPosition(const std::string& name) const {
    for (const auto& function : m_functions) {
        if (function.name == name) {
            return function.position;
        }
    }
    return -1;
}

void CJavaSourceInfo::UpdatePackageName(std::string_view text) {
    std::string name = ExtractPackageName(text);
    if (!name.empty()) {
        m_packageName = std::move(name);
    }
}

bool CJavaSourceInfo::Reparse(std::string_view text, const std::string& path,
                              CJavaProjectDoc* project) {
    CJavaFile* entry =
        project && !path.empty() ? project->JavaFiles().FindByFullPath(path) : nullptr;
    if (entry) {
        CJavaParser(*entry).ParseText(text);
        m_functions = CollectFunctions(*entry, kMaxFunctions);
        return true;
    }
    // A file outside the project still gets its drop-down, from a model of its own.
    CJavaFile scratch;
    scratch.SetPath(path);
    CJavaParser(scratch).ParseText(text);
    m_functions = CollectFunctions(scratch, kMaxFunctions);
    return false;
}

} // namespace tovin
