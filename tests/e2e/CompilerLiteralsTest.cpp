// The Java lexer (JavaLexicalPass.h) against javac's own scanner
// (tests/data/compiler-literals) on the JDK's java.lang and java.util sources: every literal the
// lexer finds is a string, character or text block token of the compiler's, each of those is
// one of its literals, its comments lie between the compiler's tokens, and whatever lies between
// them that is not white space lies in one of its comments. TOVIN_JDK_SRC_ZIP names other
// sources.

#include "TempDir.h"
#include "core/javamodel/JavaLexicalPass.h"
#include "core/platform/Files.h"
#include "core/platform/JdkDetection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

namespace {

struct SToken {
    bool literal = false;
    size_t start = 0;
    size_t end = 0;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\f' || c == '\r' || c == '\n';
}

// What the lexer and the compiler disagree on in one file, one line each.
std::vector<std::string> Disagreements(const std::string& text, const std::vector<SToken>& tokens) {
    std::vector<std::string> found;
    const auto where = [&](size_t start, size_t end) {
        return std::to_string(start) + ".." + std::to_string(end) + " \"" +
               text.substr(start, std::min<size_t>(end - start, 40)) + "\"";
    };
    std::set<std::pair<size_t, size_t>> literals;
    for (const SToken& token : tokens) {
        if (token.literal) {
            literals.insert({token.start, token.end});
        }
    }
    std::vector<bool> covered(text.size(), false);
    for (const tovin::SJavaSpan& span : tovin::FindJavaLiteralsAndComments(text)) {
        std::fill(covered.begin() + static_cast<std::ptrdiff_t>(span.start),
                  covered.begin() + static_cast<std::ptrdiff_t>(span.end), true);
        if (literals.erase({span.start, span.end}) > 0) {
            continue;
        }
        // A comment: no token of the compiler's reaches into it.
        const auto after =
            std::lower_bound(tokens.begin(), tokens.end(), span.end,
                             [](const SToken& token, size_t end) { return token.start < end; });
        if (after != tokens.begin() && std::prev(after)->end > span.start) {
            found.push_back("not the compiler's: " + where(span.start, span.end));
        }
    }
    for (const auto& [start, end] : literals) {
        found.push_back("literal missed: " + where(start, end));
    }
    size_t gap = 0;
    for (size_t i = 0; i <= tokens.size(); ++i) {
        const size_t next = i < tokens.size() ? tokens[i].start : text.size();
        for (size_t at = gap; at < next; ++at) {
            if (!IsBlank(text[at]) && !covered[at]) {
                found.push_back("comment missed: " + where(at, next));
                break;
            }
        }
        gap = i < tokens.size() ? tokens[i].end : text.size();
    }
    return found;
}

} // namespace

TEST(CompilerLiterals, TheLexerFindsTheCompilersLiteralsAndComments) {
    const char* named = std::getenv("TOVIN_JDK_SRC_ZIP");
    const std::string zip = named && *named ? named : "/usr/lib/jvm/openjdk-17/lib/src.zip";
    const std::string pattern = "^java.base/java/(lang|util)/[^/]*[.]java$";
    ASSERT_TRUE(std::filesystem::exists(zip))
        << "no JDK sources at " << zip << " (openjdk-17-source)";
    auto Quoted = [](const std::string& text) { return "'" + text + "'"; };
    const std::string bin = tovin::DetectJdkFolder() + "/bin/";
    tovin::test::CTempDir dir;
    const std::string extract = "cd " + Quoted(dir.Path()) + " && " + Quoted(bin + "jar") + " tf " +
                                Quoted(zip) + " | grep -E " + Quoted(pattern) +
                                " > sample.txt && " + Quoted(bin + "jar") + " xf " + Quoted(zip) +
                                " @sample.txt";
    ASSERT_EQ(std::system(extract.c_str()), 0) << extract;
    std::string exports;
    for (const char* package : {"file", "parser", "util"}) {
        exports += std::string(" --add-exports jdk.compiler/com.sun.tools.javac.") + package +
                   "=ALL-UNNAMED";
    }
    const std::string run =
        Quoted(bin + "java") + exports + " " +
        Quoted(std::string(TOVIN_TEST_DATA) + "/compiler-literals/CompilerLiterals.java") + " " +
        Quoted(dir.Path() + "/java.base") + " > " + Quoted(dir.File("tokens.txt"));
    ASSERT_EQ(std::system(run.c_str()), 0) << run;

    std::map<std::string, std::vector<SToken>> files;
    std::istringstream lines(tovin::test::ReadFile(dir.File("tokens.txt")));
    std::vector<SToken>* tokens = nullptr;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string kind;
        fields >> kind;
        if (kind == "file") {
            tokens = &files[line.substr(line.find('\t') + 1)];
            continue;
        }
        ASSERT_NE(tokens, nullptr) << line;
        SToken token;
        token.literal = kind == "L";
        fields >> token.start >> token.end;
        tokens->push_back(token);
    }
    ASSERT_GE(files.size(), 200u);
    size_t literals = 0;
    std::vector<std::string> disagreements;
    for (const auto& [path, fileTokens] : files) {
        literals += static_cast<size_t>(std::count_if(fileTokens.begin(), fileTokens.end(),
                                                      [](const SToken& t) { return t.literal; }));
        const std::optional<std::string> text = tovin::ReadWholeFile(path);
        ASSERT_TRUE(text) << path;
        for (const std::string& disagreement : Disagreements(*text, fileTokens)) {
            disagreements.push_back(path + ": " + disagreement);
        }
    }
    EXPECT_GE(literals, 5000u);
    EXPECT_TRUE(disagreements.empty())
        << disagreements.size() << " disagreements, the first: " << disagreements.front();
}
