#pragma once
// A deliberately literal second implementation of the Java parser for differential tests: it
// keeps a working copy of the text and drops its front again and again, and searches with
// int positions where -1 means "not found", exactly as the parser's rules are written. It is
// quadratic and only meant to be obviously right, never fast.

#include "core/javamodel/JavaModel.h"

#include <string>

namespace tovin::test {

class CReferenceJavaParser {
public:
    explicit CReferenceJavaParser(CJavaFile& file) : m_file(file) {}

    // Reads bytes as a text-mode line reader with a 1024-character buffer would.
    static std::string SourceText(const std::string& bytes);
    void ParseText(const std::string& text);

private:
    void FindPackage(const std::string& text);
    void ParseStructure(const std::string& text);
    void HandleDeclaration(std::string declaration, int depth);
    void Classify(std::string line, int depth);

    CJavaFile& m_file;
    std::string m_currentClass;
    std::string m_currentInner;
    int m_inInner = 0;
    int m_consumed = 0;
    int m_lastPosition = 0;
};

} // namespace tovin::test
