#pragma once
// A temporary folder that is removed with everything in it when the object goes away.

#include <string>

namespace tovin::test {

class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // Path of a name inside the folder.
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    // Writes a file (creating its folders) and returns its path.
    std::string Write(const std::string& name, const std::string& content) const;

private:
    std::string m_path;
};

// Whole content of a file, or an empty string when it cannot be read.
std::string ReadFile(const std::string& path);

} // namespace tovin::test
