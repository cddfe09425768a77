#include "core/project/TestReport.h"

#include "core/platform/Files.h"
#include "core/platform/Utf8.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <dirent.h>
#include <optional>
#include <utility>

namespace tovin {

namespace {

// Deeper nesting than any report has means the text is not one.
constexpr std::size_t kMaxDepth = 64;

bool IsNameChar(char c) {
    return c == ':' || c == '_' || c == '-' || c == '.' || (c >= 'a' && c <= 'z') ||
           (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Decodes entity and character references; one that is not understood stays as written.
std::string Decode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t semicolon = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        if (semicolon == std::string_view::npos || semicolon - i > 10) {
            out += text[i];
            continue;
        }
        const std::string_view name = text.substr(i + 1, semicolon - i - 1);
        static constexpr std::pair<std::string_view, char> kNamed[] = {
            {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
        const auto named = std::find_if(std::begin(kNamed), std::end(kNamed),
                                        [&](const auto& entry) { return entry.first == name; });
        if (named != std::end(kNamed)) {
            out += named->second;
            i = semicolon;
            continue;
        }
        unsigned long code = 0;
        std::from_chars_result parsed{};
        if (name.size() > 2 && (name[1] == 'x' || name[1] == 'X') && name[0] == '#') {
            parsed = std::from_chars(name.data() + 2, name.data() + name.size(), code, 16);
        } else if (name.size() > 1 && name[0] == '#') {
            parsed = std::from_chars(name.data() + 1, name.data() + name.size(), code, 10);
        } else {
            out += text[i];
            continue;
        }
        if (parsed.ec != std::errc() || parsed.ptr != name.data() + name.size() || code == 0 ||
            code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            out += text[i];
            continue;
        }
        AppendUtf8(out, static_cast<std::uint32_t>(code));
        i = semicolon;
    }
    return out;
}

struct SToken {
    enum EKind { Start, End, Text, Finished, Damaged } kind = Finished;
    bool selfClosing = false;
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string text;

    std::string Attribute(std::string_view key) const {
        for (const auto& [name, value] : attributes) {
            if (name == key) {
                return value;
            }
        }
        return {};
    }
};

// Splits the text into tags and character data.
class CXmlScanner {
public:
    explicit CXmlScanner(std::string_view text) : m_text(text) {}

    SToken Next() {
        SToken token;
        if (m_pos >= m_text.size()) {
            return token;
        }
        if (m_text[m_pos] != '<') {
            const std::size_t end = std::min(m_text.find('<', m_pos), m_text.size());
            token.kind = SToken::Text;
            token.text = Decode(m_text.substr(m_pos, end - m_pos));
            m_pos = end;
            return token;
        }
        if (Skip("<![CDATA[", "]]>", &token.text)) {
            token.kind = SToken::Text;
            return token;
        }
        if (Skip("<!--", "-->") || Skip("<?", "?>") || Skip("<!", ">")) {
            return Next();
        }
        return Tag();
    }

private:
    // Skips a construct from open to close; its content goes to *content.
    bool Skip(std::string_view open, std::string_view close, std::string* content = nullptr) {
        if (m_text.substr(m_pos, open.size()) != open) {
            return false;
        }
        const std::size_t end = m_text.find(close, m_pos + open.size());
        const std::size_t contentEnd = end == std::string_view::npos ? m_text.size() : end;
        if (content) {
            *content =
                std::string(m_text.substr(m_pos + open.size(), contentEnd - m_pos - open.size()));
        }
        m_damaged = end == std::string_view::npos;
        m_pos = m_damaged ? m_text.size() : end + close.size();
        return true;
    }

    SToken Damage() {
        m_pos = m_text.size();
        SToken token;
        token.kind = SToken::Damaged;
        return token;
    }

    std::string Name() {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && IsNameChar(m_text[m_pos])) {
            ++m_pos;
        }
        return std::string(m_text.substr(start, m_pos - start));
    }

    void SkipSpace() {
        while (m_pos < m_text.size() && IsSpace(m_text[m_pos])) {
            ++m_pos;
        }
    }

    SToken Tag() {
        SToken token;
        ++m_pos; // '<'
        token.kind = SToken::Start;
        if (m_pos < m_text.size() && m_text[m_pos] == '/') {
            token.kind = SToken::End;
            ++m_pos;
        }
        token.name = Name();
        if (token.name.empty()) {
            return Damage();
        }
        for (;;) {
            SkipSpace();
            if (m_pos >= m_text.size()) {
                return Damage();
            }
            const char c = m_text[m_pos];
            if (c == '>') {
                ++m_pos;
                return token;
            }
            if (c == '/' && token.kind == SToken::Start && m_pos + 1 < m_text.size() &&
                m_text[m_pos + 1] == '>') {
                m_pos += 2;
                token.selfClosing = true;
                return token;
            }
            if (token.kind == SToken::End) {
                return Damage();
            }
            std::string name = Name();
            SkipSpace();
            if (name.empty() || m_pos + 1 >= m_text.size() || m_text[m_pos] != '=') {
                return Damage();
            }
            ++m_pos;
            SkipSpace();
            const char quote = m_pos < m_text.size() ? m_text[m_pos] : '\0';
            const std::size_t end =
                quote == '"' || quote == '\'' ? m_text.find(quote, m_pos + 1) : std::string::npos;
            if (end == std::string_view::npos) {
                return Damage();
            }
            token.attributes.emplace_back(std::move(name),
                                          Decode(m_text.substr(m_pos + 1, end - m_pos - 1)));
            m_pos = end + 1;
        }
    }

public:
    bool Damaged() const { return m_damaged; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    bool m_damaged = false;
};

double Seconds(const std::string& text) {
    double value = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    if (parsed.ec != std::errc() || !std::isfinite(value) || value < 0) {
        return 0;
    }
    return value;
}

// "unique-id: ..." and "display-name: ..." lines of a test's standard output.
void ReadIdentity(const std::string& text, STestCase& test) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.starts_with("unique-id: ") && test.uniqueId.empty()) {
            test.uniqueId = line.substr(11);
        } else if (line.starts_with("display-name: ") && test.displayName.empty()) {
            test.displayName = line.substr(14);
        }
        start = end + 1;
    }
}

} // namespace

bool IsFailure(ETestOutcome outcome) {
    return outcome == ETestOutcome::Failed || outcome == ETestOutcome::Errored ||
           outcome == ETestOutcome::Unfinished;
}

STestCounts CountTests(const std::vector<STestCase>& cases) {
    STestCounts counts;
    for (const STestCase& test : cases) {
        if (IsFailure(test.outcome)) {
            ++counts.failed;
        } else if (test.outcome == ETestOutcome::Skipped) {
            ++counts.skipped;
        } else {
            ++counts.passed;
        }
    }
    return counts;
}

STestReport ReadTestReport(std::string_view xml) {
    STestReport report;
    CXmlScanner scanner(xml);
    std::vector<std::string> open; // names of the elements we are in
    std::optional<STestCase> test;
    std::string caseOutput;
    // Which child of the test case collects character data: its outcome's or its output.
    enum class ECollect { None, Outcome, Output } collect = ECollect::None;
    const auto finishCase = [&] {
        ReadIdentity(caseOutput, *test);
        if (test->displayName.empty()) {
            test->displayName = test->name;
        }
        report.cases.push_back(std::move(*test));
        test.reset();
    };
    for (;;) {
        SToken token = scanner.Next();
        if (token.kind == SToken::Finished) {
            break;
        }
        if (token.kind == SToken::Damaged) {
            report.damage = "the report is damaged after " + std::to_string(report.cases.size()) +
                            " test cases";
            break;
        }
        if (token.kind == SToken::Text) {
            if (test && collect == ECollect::Outcome) {
                test->trace += token.text;
            } else if (test && collect == ECollect::Output) {
                caseOutput += token.text;
            }
            continue;
        }
        if (token.kind == SToken::End) {
            if (open.empty() || open.back() != token.name) {
                report.damage = "the report's element <" + token.name + "> is closed unopened";
                break;
            }
            open.pop_back();
            if (token.name == "testcase" && test && open.size() == 1) {
                finishCase();
            }
            collect = ECollect::None;
            continue;
        }
        // A start tag. Test cases sit right inside the suite; their parts right inside them.
        const std::size_t depth = open.size();
        if (token.name == "testcase" && depth == 1) {
            test.emplace();
            test->className = token.Attribute("classname");
            test->name = token.Attribute("name");
            test->seconds = Seconds(token.Attribute("time"));
            caseOutput.clear();
        } else if (test && depth == 2 &&
                   (token.name == "failure" || token.name == "error" || token.name == "skipped")) {
            test->outcome = token.name == "failure" ? ETestOutcome::Failed
                            : token.name == "error" ? ETestOutcome::Errored
                                                    : ETestOutcome::Skipped;
            test->message = token.Attribute("message");
            test->failureType = token.Attribute("type");
            collect = ECollect::Outcome;
        } else if (test && depth == 2 && token.name == "system-out") {
            collect = ECollect::Output;
        }
        if (token.selfClosing) {
            collect = ECollect::None;
            if (token.name == "testcase" && test && depth == 1) {
                finishCase();
            }
        } else {
            if (open.size() == kMaxDepth) {
                report.damage = "the report nests too deep";
                break;
            }
            open.push_back(std::move(token.name));
        }
    }
    if (report.damage.empty() && scanner.Damaged()) {
        report.damage = "the report ends early";
    }
    if (report.damage.empty() && !open.empty()) {
        report.damage = "the report ends inside <" + open.back() + ">";
    }
    // A skip reason written as the element's text rather than its message.
    for (STestCase& test : report.cases) {
        if (test.outcome == ETestOutcome::Skipped) {
            if (test.message.empty()) {
                test.message = test.trace;
            }
            test.trace.clear();
        }
    }
    return report;
}

STestReport ReadTestReports(const std::string& folder, bool* found) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.starts_with("TEST-") && name.ends_with(".xml")) {
                names.push_back(name);
            }
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    if (found) {
        *found = !names.empty();
    }
    STestReport all;
    for (const std::string& name : names) {
        std::string error;
        const auto text = ReadWholeFile(folder + "/" + name, &error);
        STestReport one = text ? ReadTestReport(*text) : STestReport{{}, error};
        std::move(one.cases.begin(), one.cases.end(), std::back_inserter(all.cases));
        if (!one.damage.empty() && all.damage.empty()) {
            all.damage = name + ": " + one.damage;
        }
    }
    return all;
}

namespace {

// The class and test name a unique id names; false for an id of a container (engine, class).
bool NameFromId(std::string_view id, STestCase& test) {
    std::string className;
    std::string templateName;
    std::size_t pos = 0;
    bool leaf = false;
    while ((pos = id.find('[', pos)) != std::string_view::npos) {
        const std::size_t colon = id.find(':', pos);
        const std::size_t close = id.find("]/[", pos);
        const std::size_t end = close == std::string_view::npos ? id.size() - 1 : close;
        if (colon == std::string_view::npos || colon > end) {
            return false;
        }
        const std::string_view kind = id.substr(pos + 1, colon - pos - 1);
        const std::string_view value = id.substr(colon + 1, end - colon - 1);
        leaf = false;
        if (kind == "class" || kind == "runner") {
            className = value;
        } else if (kind == "nested-class") {
            className += "$" + std::string(value);
        } else if (kind == "method") {
            test.name = value;
            leaf = true;
        } else if (kind == "test-template") {
            templateName = value;
        } else if (kind == "test-template-invocation") {
            test.name =
                templateName + "[" + std::string(value.substr(value.starts_with('#'))) + "]";
            leaf = true;
        } else if (kind == "test") {
            test.name = value.substr(0, value.find('('));
            leaf = true;
        }
        pos = end + 1;
    }
    test.className = className;
    return leaf && !className.empty();
}

} // namespace

std::vector<STestCase> ReadTestFeed(std::string_view output) {
    std::vector<STestCase> ended;
    std::optional<STestCase> current; // the test whose details are being read
    std::string lastTitle;            // the name of the node the last "+-- " line opened
    bool inTrace = false;             // lines after "caught:" until the next detail
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string_view::npos) {
            end = output.size();
        }
        std::string_view line = output.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        // The tree's drawing: bars and blanks, then "+-- " or "'-- " before a node's name.
        std::size_t text = 0;
        while (text < line.size() && (line[text] == '|' || line[text] == ' ')) {
            ++text;
        }
        std::string_view rest = line.substr(text);
        if (rest.starts_with("+-- ") || rest.starts_with("'-- ")) {
            lastTitle = rest.substr(4);
            inTrace = false;
            continue;
        }
        const std::size_t colon = rest.find(": ");
        const std::string_view key = colon == std::string_view::npos ? "" : rest.substr(0, colon);
        const std::string_view value =
            colon == std::string_view::npos ? "" : rest.substr(colon + 2);
        if (key == "uniqueId") {
            STestCase test;
            current.reset();
            inTrace = false;
            if (NameFromId(value, test)) {
                test.uniqueId = value;
                test.displayName = lastTitle;
                current = std::move(test);
            }
            continue;
        }
        if (!current) {
            continue;
        }
        if (key == "caught") {
            const std::size_t split = value.find(": ");
            current->failureType = value.substr(0, split);
            current->message = split == std::string_view::npos ? "" : value.substr(split + 2);
            current->trace = std::string(value) + "\n";
            inTrace = true;
        } else if (key == "reason") {
            current->message = value;
            inTrace = false;
        } else if (key == "duration") {
            double milliseconds = 0;
            std::from_chars(value.data(), value.data() + value.size(), milliseconds);
            current->seconds = milliseconds >= 0 ? milliseconds / 1000 : 0;
            inTrace = false;
        } else if (key == "status") {
            current->outcome = value.ends_with("FAILED")    ? ETestOutcome::Failed
                               : value.ends_with("SKIPPED") ? ETestOutcome::Skipped
                               : value.ends_with("ABORTED") ? ETestOutcome::Skipped
                                                            : ETestOutcome::Passed;
            ended.push_back(std::move(*current));
            current.reset();
            inTrace = false;
        } else if (inTrace && !rest.empty()) {
            std::size_t frame = 0;
            while (frame < rest.size() && (rest[frame] == ' ' || rest[frame] == '\t')) {
                ++frame;
            }
            current->trace += "\t" + std::string(rest.substr(frame)) + "\n";
        } else if (!key.empty() && key.find(' ') == std::string_view::npos) {
            inTrace = false; // tags, parent, source
        }
    }
    if (current) {
        current->outcome = ETestOutcome::Unfinished;
        current->message = "the run ended while this test ran";
        ended.push_back(std::move(*current));
    }
    return ended;
}

} // namespace tovin
