#pragma once
// The Java model: the project's files, the classes each file declares, their inner classes and
// methods. The parser fills it, the project tree and the editors' function lists show it, and
// the project file stores part of it (see ModelArchive.h for what is stored).
//
// Every collection is a CJavaList (255 entries at most, owning its entries); a CJavaFile and a
// CJavaClass own their lists. String comparisons in lookups are exact and case-sensitive and
// return the first match in list order.

#include "core/javamodel/JavaList.h"

#include <string>
#include <vector>

namespace tovin {

class CJavaComponent {
public:
    virtual ~CJavaComponent() = default;
};

// A method (or, for non-Java files, an Ant target or a Jython function).
class CJavaFunction : public CJavaComponent {
public:
    CJavaFunction() = default;
    CJavaFunction(std::string name, int position) : m_name(std::move(name)), m_position(position) {}

    // The signature as the parser cut it, e.g. "main(String args[])".
    const std::string& GetName() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    // A character offset into the parsed text (a line number for targets and Jython functions).
    int GetPosition() const { return m_position; }
    void SetPosition(int position) { m_position = position; }

private:
    std::string m_name;
    int m_position = 0;
};

class CJavaFunctionList : public CJavaList<CJavaFunction> {
public:
    int ContainsFunction(const std::string& name) const;
};

class CJavaClass;

class CJavaClassList : public CJavaList<CJavaClass> {
public:
    int ContainsClass(const std::string& name) const;
    CJavaClass* FindClass(const std::string& name) const;
};

class CJavaClass : public CJavaComponent {
public:
    CJavaClass() = default;
    CJavaClass(std::string name, int position) : m_name(std::move(name)), m_position(position) {}

    const std::string& GetName() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    int GetPosition() const { return m_position; }
    void SetPosition(int position) { m_position = position; }

    CJavaFunctionList& Methods() { return m_methods; }
    const CJavaFunctionList& Methods() const { return m_methods; }
    // Classes declared inside this one (deeper nesting is filed at this same level).
    CJavaClassList& InnerClasses() { return m_innerClasses; }
    const CJavaClassList& InnerClasses() const { return m_innerClasses; }
    // Nothing fills these; they are part of the stored record and are kept as read.
    std::vector<std::string>& ExtraStrings() { return m_extraStrings; }
    const std::vector<std::string>& ExtraStrings() const { return m_extraStrings; }

    int ContainsMethod(const std::string& name) const { return m_methods.ContainsFunction(name); }
    // Creates a method and adds it; the list's Add result (0 when the list is full).
    int AddMethod(const std::string& name, int position);
    int ContainsInnerClass(const std::string& name) const {
        return m_innerClasses.ContainsClass(name);
    }
    CJavaClass* FindInnerClass(const std::string& name) const {
        return m_innerClasses.FindClass(name);
    }

private:
    CJavaFunctionList m_methods;
    std::vector<std::string> m_extraStrings;
    std::string m_name;
    CJavaClassList m_innerClasses;
    int m_position = 0;
};

// A file of the project. Paths are kept exactly as given or as stored in a project file (a
// project written on Windows keeps its backslash paths until they are re-based).
class CFreeJavaFile : public CJavaComponent {
public:
    // Stores the full path and derives the file name (the text after the last separator).
    void SetPath(const std::string& fullPath);
    const std::string& GetFullPath() const { return m_fullPath; }
    const std::string& GetFileName() const { return m_fileName; }
    // Full path of the project file when the entry was created or last re-based; may be empty.
    const std::string& GetProjectPath() const { return m_projectPath; }
    void SetProjectPath(std::string projectPath) { m_projectPath = std::move(projectPath); }
    // Restores the three stored strings as a project file holds them, without deriving anything.
    void SetStored(std::string fileName, std::string fullPath, std::string projectPath);

    // Text after the last "." of the full path, lower-cased; the whole path lower-cased when
    // there is none.
    std::string GetExtension() const;

    // The full path, re-based when the project file has moved: a file in the old project
    // folder or below it keeps its place relative to the project file under currentProjectPath,
    // and the entry then stores the new full path and project path. A file outside the old
    // project folder, an entry without a project path, or a currentProjectPath without a folder
    // (a project that was never saved) leaves the entry unchanged. So does a file that is still
    // where it was recorded while its new place holds nothing: only the project file was copied,
    // and its files are the originals. A project path stored on Windows
    // (backslashes, no '/') is split at its backslashes, and the part below the project folder is
    // turned into '/' form.
    const std::string& ResolvePath(const std::string& currentProjectPath);

private:
    std::string m_fullPath;
    std::string m_fileName;
    std::string m_projectPath;
};

// Lookups shared by the two file lists.
template <class T> class CFileList : public CJavaList<T> {
public:
    T* FindByFullPath(const std::string& fullPath) const {
        for (const auto& entry : *this) {
            if (entry->GetFullPath() == fullPath) {
                return entry.get();
            }
        }
        return nullptr;
    }
    T* FindByFileName(const std::string& fileName) const {
        for (const auto& entry : *this) {
            if (entry->GetFileName() == fileName) {
                return entry.get();
            }
        }
        return nullptr;
    }
    int ContainsFileName(const std::string& fileName) const {
        return FindByFileName(fileName) ? 1 : 0;
    }
};

// HTML pages of the project (applet launch pages).
class CFreeJavaFileList : public CFileList<CFreeJavaFile> {};

// A Java, Jython, Ant or other non-HTML file of the project.
class CJavaFile : public CFreeJavaFile {
public:
    // The package the parser found, trimmed; empty when there is none.
    const std::string& GetPackage() const { return m_package; }
    void SetPackage(std::string package) { m_package = std::move(package); }

    // Top-level classes and interfaces (for a Jython file, the scanner's classes).
    CJavaClassList& Classes() { return m_classes; }
    const CJavaClassList& Classes() const { return m_classes; }
    // Top-level functions of non-Java files (Ant targets, Jython functions); not stored.
    CJavaFunctionList& Functions() { return m_functions; }
    const CJavaFunctionList& Functions() const { return m_functions; }

    // Create an entry and add it; the list's Add result (0 when the list is full).
    int AddFunction(const std::string& name, int position);
    int AddClass(const std::string& name, int position);

private:
    std::string m_package;
    CJavaClassList m_classes;
    CJavaFunctionList m_functions;
};

class CJavaFileList : public CFileList<CJavaFile> {};

} // namespace tovin
