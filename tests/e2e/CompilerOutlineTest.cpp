// The source reader against javac's parse (tests/data/compiler-outline), at each name's line:
// nearly all of java.lang, java.util and java.awt and almost nothing more; exactly the modern
// samples. TOVIN_JDK_SRC_ZIP names other sources.

#include "TempDir.h"
#include "core/javamodel/JavaParser.h"
#include "core/platform/Files.h"
#include "core/platform/JdkDetection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

namespace {

// A name as it is compared: without type parameters or parameters.
std::string Simple(const std::string& name) {
    const std::string simple = name.substr(0, name.find_first_of("<("));
    return simple.substr(0, simple.find_last_not_of(' ') + 1);
}

// Lines as the compiler's side prints them ("kind path [owner] name line"), and the owners
// ("path\towner") whose method list is full: their further methods are counted apart.
struct SSample {
    std::vector<std::string> files;
    std::set<std::string> declared, read, fullOwners;
};

void Read(SSample& sample) {
    for (const auto& path : sample.files) {
        tovin::CJavaFile file;
        file.SetPath(path);
        EXPECT_TRUE(tovin::CJavaParser(file).ParseFile()) << path;
        const std::string text = tovin::CJavaParser::SourceTextOf(*tovin::ReadWholeFile(path));
        auto add = [&](const std::string& kindAndOwner, const std::string& name, int position) {
            const auto end = text.begin() + std::min<size_t>(position, text.size());
            sample.read.insert(kindAndOwner + "\t" + Simple(name) + "\t" +
                               std::to_string(1 + std::count(text.begin(), end, '\n')));
        };
        auto methods = [&](const tovin::CJavaClass& type, const std::string& owner) {
            for (const auto& method : type.Methods()) {
                add("method\t" + path + "\t" + owner, method->GetName(), method->GetPosition());
            }
            if (type.Methods().GetCount() == tovin::kJavaListCapacity) {
                sample.fullOwners.insert(path + "\t" + owner);
            }
        };
        for (const auto& type : file.Classes()) {
            const std::string top = Simple(type->GetName());
            add("class\t" + path, top, type->GetPosition());
            methods(*type, top);
            for (const auto& inner : type->InnerClasses()) {
                add("inner\t" + path + "\t" + top, inner->GetName(), inner->GetPosition());
                methods(*inner, top + "." + Simple(inner->GetName()));
            }
        }
    }
}

struct SFigures {
    int types, typesFound, methods, methodsFound, missing, extra, entries;
};

double Percent(int part, int whole) {
    return whole ? 100.0 * part / whole : 100.0;
}

SFigures Compare(const std::string& name, const SSample& sample) {
    int count[2] = {0, 0}, found[2] = {0, 0}, overCapacity = 0, missing = 0, extra = 0;
    std::string listed;
    for (const auto& entry : sample.declared) {
        const bool isMethod = entry.starts_with("method\t");
        const bool hit = sample.read.count(entry) > 0;
        ++count[isMethod];
        found[isMethod] += hit;
        // "method\tPATH\tOWNER\t...": past a full list's capacity, or missing.
        const size_t ownerEnd = entry.find('\t', entry.find('\t', 7) + 1);
        if (!hit && isMethod && sample.fullOwners.count(entry.substr(7, ownerEnd - 7))) {
            ++overCapacity;
        } else if (!hit && ++missing <= 20) {
            listed += "  not found:    " + entry + "\n";
        }
    }
    for (const auto& entry : sample.read) {
        if (!sample.declared.count(entry) && ++extra <= 20) {
            listed += "  not declared: " + entry + "\n";
        }
    }
    const int methods = count[1] - overCapacity, entries = int(sample.read.size());
    std::printf("%s, %zu files: types %d/%d (%.2f%%), methods %d/%d (%.2f%%; %d more in lists "
                "past 255 entries), entries the compiler does not declare %d/%d (%.2f%%)\n%s",
                name.c_str(), sample.files.size(), found[0], count[0], Percent(found[0], count[0]),
                found[1], methods, Percent(found[1], methods), overCapacity, extra, entries,
                Percent(extra, entries), listed.c_str());
    return {count[0], found[0], methods, found[1], missing, extra, entries};
}

std::vector<std::string> JavaFilesUnder(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
        if (item.path().extension() == ".java") {
            files.push_back(item.path().string());
        }
    }
    return files;
}

} // namespace

TEST(CompilerOutline, TheReaderFindsWhatTheCompilerDeclaresOnTheNamesLines) {
    const char* named = std::getenv("TOVIN_JDK_SRC_ZIP");
    const std::string zip = named && *named ? named : "/usr/lib/jvm/openjdk-17/lib/src.zip";
    const std::string pattern = "^(java.base/java/(lang|util)|java.desktop/java/awt)/[^/]*[.]java$";
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
    SSample jdk, modern;
    jdk.files = JavaFilesUnder(dir.Path());
    const std::string modernFolder = std::string(TOVIN_TEST_DATA) + "/outline/modern";
    modern.files = JavaFilesUnder(modernFolder);
    ASSERT_GE(jdk.files.size(), 100u);

    const std::string run =
        Quoted(bin + "java") + " " +
        Quoted(std::string(TOVIN_TEST_DATA) + "/compiler-outline/CompilerOutline.java") + " " +
        Quoted(dir.Path()) + " " + Quoted(modernFolder) + " > " + Quoted(dir.File("declared.txt"));
    ASSERT_EQ(std::system(run.c_str()), 0) << run;
    std::istringstream declared(tovin::test::ReadFile(dir.File("declared.txt")));
    for (std::string entry; std::getline(declared, entry);) {
        ASSERT_FALSE(entry.starts_with("error\t")) << "javac could not parse: " << entry;
        (entry.find("/outline/modern/") != std::string::npos ? modern : jdk).declared.insert(entry);
    }
    Read(jdk);
    Read(modern);

    const SFigures f = Compare("JDK sample " + pattern, jdk);
    EXPECT_GE(Percent(f.typesFound, f.types), 99.5);
    EXPECT_GE(Percent(f.methodsFound, f.methods), 99.5);
    EXPECT_LT(Percent(f.extra, f.entries), 0.2);
    const SFigures exact = Compare("modern files", modern);
    EXPECT_GE(exact.methods, 25);
    EXPECT_EQ(exact.missing, 0);
    EXPECT_EQ(exact.extra, 0);
}

namespace {

// A JDK of release 25 or later under /usr/lib/jvm, whose compiler reads compact source files;
// empty when there is none.
std::string JdkWithCompactSourceFiles() {
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator("/usr/lib/jvm", error)) {
        std::istringstream release(tovin::test::ReadFile(item.path().string() + "/release"));
        for (std::string line; std::getline(release, line);) {
            if (line.starts_with("JAVA_VERSION=\"") && std::atoi(line.c_str() + 14) >= 25 &&
                std::filesystem::exists(item.path() / "bin/java")) {
                return item.path().string();
            }
        }
    }
    return {};
}

// The class the compiler makes of a compact source file has no name of its own in the text, so
// no line: top-level classes are compared by name.
std::set<std::string> WithoutClassLines(const std::set<std::string>& entries) {
    std::set<std::string> result;
    for (const auto& entry : entries) {
        result.insert(entry.starts_with("class\t") ? entry.substr(0, entry.rfind('\t')) : entry);
    }
    return result;
}

} // namespace

TEST(CompilerOutline, ACompactSourceFileAsTheCompilerDeclaresIt) {
    const std::string jdk = JdkWithCompactSourceFiles();
    if (jdk.empty()) {
        GTEST_SKIP() << "no JDK 25 or later to read compact source files";
    }
    const std::string folder = std::string(TOVIN_TEST_DATA) + "/outline/compact";
    tovin::test::CTempDir dir;
    const std::string run = "'" + jdk + "/bin/java' '" + TOVIN_TEST_DATA +
                            "/compiler-outline/CompilerOutline.java' '" + folder + "' > '" +
                            dir.File("declared.txt") + "'";
    ASSERT_EQ(std::system(run.c_str()), 0) << run;
    SSample sample;
    sample.files = JavaFilesUnder(folder);
    std::istringstream declared(tovin::test::ReadFile(dir.File("declared.txt")));
    for (std::string entry; std::getline(declared, entry);) {
        ASSERT_FALSE(entry.starts_with("error\t")) << "javac could not parse: " << entry;
        sample.declared.insert(entry);
    }
    Read(sample);
    sample.declared = WithoutClassLines(sample.declared);
    sample.read = WithoutClassLines(sample.read);
    const SFigures figures = Compare("compact source files", sample);
    EXPECT_GE(figures.methods, 3);
    EXPECT_EQ(figures.missing, 0);
    EXPECT_EQ(figures.extra, 0);
}
