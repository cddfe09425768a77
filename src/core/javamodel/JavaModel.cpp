#include "core/javamodel/JavaModel.h"

#include "core/platform/Files.h"
#include "core/platform/Paths.h"

#include <algorithm>

namespace tovin {

int CJavaFunctionList::ContainsFunction(const std::string& name) const {
    for (const auto& function : *this) {
        if (function->GetName() == name) {
            return 1;
        }
    }
    return 0;
}

int CJavaClassList::ContainsClass(const std::string& name) const {
    return FindClass(name) ? 1 : 0;
}

CJavaClass* CJavaClassList::FindClass(const std::string& name) const {
    for (const auto& cls : *this) {
        if (cls->GetName() == name) {
            return cls.get();
        }
    }
    return nullptr;
}

int CJavaClass::AddMethod(const std::string& name, int position) {
    return m_methods.Add(std::make_unique<CJavaFunction>(name, position));
}

int CJavaFile::AddFunction(const std::string& name, int position) {
    return Functions().Add(std::make_unique<CJavaFunction>(name, position));
}

int CJavaFile::AddClass(const std::string& name, int position) {
    return Classes().Add(std::make_unique<CJavaClass>(name, position));
}

void CFreeJavaFile::SetPath(const std::string& fullPath) {
    m_fullPath = fullPath;
    m_fileName = tovin::GetFileName(fullPath);
}

void CFreeJavaFile::SetStored(std::string fileName, std::string fullPath, std::string projectPath) {
    m_fileName = std::move(fileName);
    m_fullPath = std::move(fullPath);
    m_projectPath = std::move(projectPath);
}

std::string CFreeJavaFile::GetExtension() const {
    return tovin::GetExtension(m_fullPath);
}

namespace {

// Text before the last separator, or empty when there is none.
std::string FolderOf(const std::string& path, char separator) {
    auto pos = path.rfind(separator);
    return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

// Projects saved on Windows store paths such as C:\work\app.jpr.
bool IsWindowsPath(const std::string& path) {
    return path.find('/') == std::string::npos && path.find('\\') != std::string::npos;
}

} // namespace

const std::string& CFreeJavaFile::ResolvePath(const std::string& currentProjectPath) {
    if (m_projectPath.empty() || m_projectPath == currentProjectPath ||
        currentProjectPath.find(kPathSeparator) == std::string::npos) {
        return m_fullPath;
    }
    const char separator = IsWindowsPath(m_projectPath) ? '\\' : kPathSeparator;
    const std::string oldFolder = FolderOf(m_projectPath, separator);
    const std::string fileFolder = FolderOf(m_fullPath, separator);
    // Only files in the old project folder or below it move with the project; re-basing any
    // other file would splice unrelated folder names into a path that does not exist.
    const bool inside =
        !oldFolder.empty() && fileFolder.starts_with(oldFolder) &&
        (fileFolder.size() == oldFolder.size() || fileFolder[oldFolder.size()] == separator);
    if (!inside) {
        return m_fullPath;
    }
    std::string below = fileFolder.substr(oldFolder.size());
    std::replace(below.begin(), below.end(), separator, kPathSeparator);
    const std::string name = m_fullPath.substr(fileFolder.size() + 1);
    std::string moved =
        FolderOf(currentProjectPath, kPathSeparator) + below + kPathSeparator + name;
    if (!FileExists(moved) && FileExists(m_fullPath)) {
        return m_fullPath;
    }
    m_fullPath = std::move(moved);
    m_projectPath = currentProjectPath;
    return m_fullPath;
}

} // namespace tovin
