#include "ReferenceJavaParser.h"

#include <memory>
#include <sstream>

namespace tovin::test {

namespace {

int Find(const std::string& s, const std::string& what, int from = 0) {
    if (from < 0 || from > static_cast<int>(s.size())) {
        return -1;
    }
    size_t at = s.find(what, static_cast<size_t>(from));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int ReverseFind(const std::string& s, char c) {
    size_t at = s.rfind(c);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int FindOneOf(const std::string& s, const char* chars) {
    size_t at = s.find_first_of(chars);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

std::string Left(const std::string& s, int count) {
    if (count < 0) {
        count = 0;
    }
    return s.substr(0, static_cast<size_t>(count));
}

std::string Mid(const std::string& s, int first, int count) {
    if (first < 0) {
        first = 0;
    }
    if (count < 0 || first >= static_cast<int>(s.size())) {
        return {};
    }
    return s.substr(static_cast<size_t>(first), static_cast<size_t>(count));
}

std::string Mid(const std::string& s, int first) {
    return Mid(s, first, static_cast<int>(s.size()));
}

bool IsWhite(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void TrimRight(std::string& s) {
    while (!s.empty() && IsWhite(s.back())) {
        s.pop_back();
    }
}

void TrimLeft(std::string& s, const std::string& chars) {
    size_t n = 0;
    while (n < s.size() && chars.find(s[n]) != std::string::npos) {
        ++n;
    }
    s.erase(0, n);
}

void Replace(std::string& s, const std::string& from, const std::string& to) {
    size_t at = 0;
    while ((at = s.find(from, at)) != std::string::npos) {
        s.replace(at, from.size(), to);
        at += to.size();
    }
}

} // namespace

std::string CReferenceJavaParser::SourceText(const std::string& bytes) {
    std::istringstream in(bytes);
    std::string text, line;
    while (std::getline(in, line)) {
        bool ended = !in.eof();
        if (ended && !line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        text += line + "\r\n";
    }
    return text;
}

void CReferenceJavaParser::ParseText(const std::string& text) {
    FindPackage(text);
    ParseStructure(text);
}

void CReferenceJavaParser::FindPackage(const std::string& text) {
    std::string package;
    bool inBlock = false, inLine = false;
    int length = static_cast<int>(text.size());
    for (int i = 0; i < length - 8; ++i) {
        std::string two = text.substr(static_cast<size_t>(i), 2);
        if (!inBlock) {
            if (two == "/*") {
                inBlock = true;
            }
        } else if (two == "*/") {
            inBlock = false;
        }
        if (!inLine) {
            if (two == "//") {
                inLine = true;
            }
        } else if (two == "\r\n") {
            inLine = false;
        }
        if (inBlock || inLine) {
            continue;
        }
        if (text[static_cast<size_t>(i)] == '{') {
            break;
        }
        if (text.substr(static_cast<size_t>(i), 8) == "package ") {
            int semicolon = Find(text, ";", i);
            package = Mid(text, i + 8, semicolon - i - 8);
            TrimRight(package);
            TrimLeft(package, " \t\r\n\v\f");
            break;
        }
    }
    m_file.SetPackage(package);
}

void CReferenceJavaParser::ParseStructure(const std::string& text) {
    m_file.Classes().Clear();
    m_currentClass.clear();
    m_consumed = 0;
    m_inInner = 0;
    int depth = 0;
    std::string work = text;
    while (Find(work, "{") >= 0) {
        while (Find(work, "/*") >= 0) {
            int c = Find(work, "/*");
            if (!(c < Find(work, "{")) || !(c < Find(work, "}")) || Find(work, "*/") < 0) {
                break;
            }
            int drop = Find(work, "*/") + 2;
            work = Mid(work, drop);
            m_consumed += drop;
        }
        while (Find(work, "//") >= 0) {
            int c = Find(work, "//");
            if (!(c < Find(work, "{")) || !(c < Find(work, "}")) || Find(work, "{") < 0) {
                break;
            }
            int lineFeed = Find(Mid(work, c), "\n");
            if (lineFeed < 0) {
                break;
            }
            work = Mid(work, c + lineFeed);
            m_consumed += c + lineFeed;
        }
        int o = Find(work, "{");
        int k = Find(work, "}");
        if (o < k) {
            ++depth;
            m_consumed += o + 1;
            if (depth == 1 || depth == 2) {
                m_inInner = 0;
                HandleDeclaration(Left(work, o), depth);
            } else if (depth == 3 && m_inInner == 1) {
                HandleDeclaration(Left(work, o), depth);
            }
            work = Mid(work, o + 1);
        } else {
            --depth;
            if (k >= 0) {
                m_consumed += k + 1;
                work = Mid(work, k + 1);
            }
            if (depth < 0) {
                break;
            }
        }
    }
}

void CReferenceJavaParser::HandleDeclaration(std::string declaration, int depth) {
    TrimRight(declaration);
    int length = static_cast<int>(declaration.size());
    int b = ReverseFind(declaration, '\n');
    if (b >= 0) {
        if (Find(declaration, "(") < 0) {
            int c = Find(declaration, "class ");
            if (c >= 0 && c < b) {
                b = ReverseFind(Left(declaration, c), '\n');
            }
        } else {
            int p = ReverseFind(declaration, '(');
            if (p < b) {
                b = ReverseFind(Left(declaration, p), '\n');
            }
        }
    }
    std::string line = Mid(declaration, b + 1);
    m_lastPosition = m_consumed + b + 1 - length;
    TrimLeft(line, " \t\r\n");
    if (line.empty()) {
        return;
    }
    Classify(line, depth);
}

void CReferenceJavaParser::Classify(std::string line, int depth) {
    Replace(line, "\r\n", " ");
    Replace(line, "\t", " ");
    for (int i = 0; i < 5; ++i) {
        Replace(line, "  ", " ");
    }
    if (Find(line, "class ") < 0 && Find(line, "interface ") < 0) {
        int p = Find(line, "(");
        if (p <= 0) {
            return;
        }
        std::string before = Left(line, p);
        TrimRight(before);
        int start = ReverseFind(before, ' ') + 1;
        int q = ReverseFind(line, ')');
        if (q < 0) {
            return;
        }
        std::string signature = Mid(line, start, q - start + 1);
        CJavaClass* cls = m_file.Classes().FindClass(m_currentClass);
        if (!cls) {
            return;
        }
        if (depth > 2) {
            cls = cls->FindInnerClass(m_currentInner);
            if (!cls) {
                return;
            }
        }
        if (!cls->ContainsMethod(signature)) {
            cls->AddMethod(signature, m_lastPosition);
        }
        return;
    }
    int keyword = Find(line, "class ");
    if (keyword < 0) {
        keyword = Find(line, "interface ");
    }
    std::string rest = Mid(line, Find(line, " ", keyword) + 1);
    int end = FindOneOf(rest, " \t\r\n");
    std::string name = end < 0 ? rest : Left(rest, end);
    if (depth > 1) {
        m_currentInner = name;
        CJavaClass* outer = m_file.Classes().FindClass(m_currentClass);
        if (outer && !outer->ContainsInnerClass(name)) {
            outer->InnerClasses().Add(std::make_unique<CJavaClass>(name, m_lastPosition));
        }
        m_inInner = 1;
    } else {
        m_currentClass = name;
        if (!m_file.Classes().ContainsClass(name)) {
            m_file.AddClass(name, m_lastPosition);
        }
    }
}

} // namespace tovin::test
