#include "core/project/AntFileReader.h"

#include "core/javamodel/JavaModel.h"
#include "core/project/LineReader.h"

#include <algorithm>

namespace tovin {

CAntFileReader::CAntFileReader(const std::string& path) {
    CLineReader reader(path, false);
    std::string line;
    while (reader.ReadLine(line)) {
        m_text += line;
        m_text += "\r\n";
    }
}

CAntFileReader CAntFileReader::FromText(std::string text) {
    CAntFileReader reader;
    reader.m_text = std::move(text);
    return reader;
}

int CAntFileReader::Parse() {
    if (m_text.empty()) {
        return 0;
    }
    if (m_entry) {
        m_entry->Functions().Clear();
    }
    m_targets.clear();
    m_default.clear();
    m_defaultIndex = -1;
    m_scan = m_countedTo = 0;
    m_linesCounted = 0;
    for (;;) {
        size_t open = m_text.find('<', m_scan);
        if (open == std::string::npos) {
            return 1;
        }
        m_tagStart = open + 1;
        if (ParseTag() == 0) {
            return 0;
        }
    }
}

int CAntFileReader::ParseTag() {
    size_t close = m_text.find('>', m_tagStart);
    if (close == std::string::npos) {
        return 0;
    }
    m_scan = close + 1;
    if (m_tagStart < close) {
        char first = m_text[m_tagStart];
        if (first == '/' || first == '?' || first == '!') {
            return 1;
        }
    }
    std::string tag = m_text.substr(m_tagStart, close - m_tagStart);
    if (tag.starts_with("project")) {
        return ReadProjectTag(tag);
    }
    if (tag.starts_with("target")) {
        return ReadTargetTag(tag);
    }
    return 1;
}

namespace {

// The text between the first two double quotes after the first occurrence of the keyword;
// false when any of the three is missing.
bool QuotedAfter(const std::string& tag, const char* keyword, std::string& value) {
    size_t key = tag.find(keyword);
    if (key == std::string::npos) {
        return false;
    }
    size_t open = tag.find('"', key);
    if (open == std::string::npos) {
        return false;
    }
    size_t close = tag.find('"', open + 1);
    if (close == std::string::npos) {
        return false;
    }
    value = tag.substr(open + 1, close - open - 1);
    return true;
}

} // namespace

int CAntFileReader::ReadProjectTag(const std::string& tag) {
    return QuotedAfter(tag, "default", m_default) ? 1 : 0;
}

int CAntFileReader::ReadTargetTag(const std::string& tag) {
    std::string name;
    if (!QuotedAfter(tag, "name", name)) {
        return 0;
    }
    if (name == m_default) {
        m_defaultIndex = static_cast<int>(m_targets.size());
    }
    m_targets.push_back(name);
    if (m_entry) {
        m_entry->AddFunction(name, LineOfTagStart());
    }
    return 1;
}

int CAntFileReader::LineOfTagStart() {
    auto from = m_text.begin() + static_cast<std::ptrdiff_t>(m_countedTo);
    auto to = m_text.begin() + static_cast<std::ptrdiff_t>(m_tagStart);
    m_linesCounted += static_cast<int>(std::count(from, to, '\n'));
    m_countedTo = m_tagStart;
    return m_linesCounted;
}

void ReadAntTargets(CJavaFile& entry) {
    CAntFileReader reader(entry.GetFullPath());
    reader.SetFileEntry(&entry);
    reader.Parse();
}

} // namespace tovin
