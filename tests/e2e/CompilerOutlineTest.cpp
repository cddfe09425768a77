// The source reader against the compiler: a small program on the JDK's compiler tree API
// (tests/data/compiler-outline) lists the types and the methods with a body that javac's
// parser finds, with the line of each name, and the reader's model of the same files must hold
// them, at those lines, and little else. Two samples: the top-level files of java.lang,
// java.util and java.awt from the JDK's own sources, and the modern files of
// tests/data/outline/modern, where every entry must be right.

#include "TempDir.h"
#include "javamodel/JavaParser.h"
#include "platform/Files.h"
#include "platform/JdkDetection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// The JDK's sources, and which of their files make the sample (an extended regular
// expression on the paths inside the zip). Both can be named in the environment to measure
// other sources, for example a newer JDK's with that JDK as JAVA_HOME.
std::string FromEnvironment(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

// What a name is compared by: without type parameters, and a method without its parameters.
std::string Simple(const std::string& name) {
    std::string simple = name.substr(0, name.find_first_of("<("));
    while (!simple.empty() && simple.back() == ' ') {
        simple.pop_back();
    }
    return simple;
}

// The reader's model of some files: one line per entry, as the compiler's side prints them
// (kind, path, owner, name, line), and the owners ("path\towner") whose method list is full.
struct SRead {
    std::set<std::string> entries;
    std::set<std::string> fullOwners;
};

void Read(const std::string& path, SRead& read) {
    tovin::CJavaFile file;
    file.SetPath(path);
    EXPECT_TRUE(tovin::CJavaParser(file).ParseFile()) << path;
    const std::string text = tovin::CJavaParser::SourceTextOf(*tovin::ReadWholeFile(path));
    auto line = [&text](int position) {
        return std::to_string(1 + std::count(text.begin(),
                                             text.begin() + std::min<size_t>(position, text.size()),
                                             '\n'));
    };
    auto methods = [&](const tovin::CJavaClass& owner, const std::string& ownerName) {
        for (const auto& method : owner.Methods()) {
            read.entries.insert("method\t" + path + "\t" + ownerName + "\t" +
                                Simple(method->GetName()) + "\t" + line(method->GetPosition()));
        }
        if (owner.Methods().GetCount() == tovin::kJavaListCapacity) {
            read.fullOwners.insert(path + "\t" + ownerName);
        }
    };
    for (const auto& cls : file.Classes()) {
        const std::string top = Simple(cls->GetName());
        read.entries.insert("class\t" + path + "\t" + top + "\t" + line(cls->GetPosition()));
        methods(*cls, top);
        for (const auto& inner : cls->InnerClasses()) {
            read.entries.insert("inner\t" + path + "\t" + top + "\t" + Simple(inner->GetName()) +
                                "\t" + line(inner->GetPosition()));
            methods(*inner, top + "." + Simple(inner->GetName()));
        }
    }
}

// Methods that a full list could not take are counted apart: the model holds 255 a list.
struct SFigures {
    int types = 0, typesFound = 0, methods = 0, methodsFound = 0, overCapacity = 0;
    int readerEntries = 0, notDeclared = 0;
    std::vector<std::string> missing, extra;

    double TypesFound() const { return types ? 100.0 * typesFound / types : 100; }
    double MethodsFound() const {
        return methods > overCapacity ? 100.0 * methodsFound / (methods - overCapacity) : 100;
    }
    double NotDeclared() const { return readerEntries ? 100.0 * notDeclared / readerEntries : 0; }
};

SFigures Compare(const std::set<std::string>& declared, const SRead& read) {
    SFigures figures;
    for (const auto& entry : declared) {
        const bool isMethod = entry.rfind("method\t", 0) == 0;
        const bool found = read.entries.count(entry) > 0;
        (isMethod ? figures.methods : figures.types)++;
        (isMethod ? figures.methodsFound : figures.typesFound) += found ? 1 : 0;
        // "method PATH OWNER NAME LINE": the owner is the third field.
        const size_t path = entry.find('\t') + 1;
        const size_t owner = entry.find('\t', path) + 1;
        if (!found && isMethod &&
            read.fullOwners.count(entry.substr(path, entry.find('\t', owner) - path))) {
            ++figures.overCapacity;
        } else if (!found) {
            figures.missing.push_back(entry);
        }
    }
    for (const auto& entry : read.entries) {
        ++figures.readerEntries;
        if (!declared.count(entry)) {
            ++figures.notDeclared;
            figures.extra.push_back(entry);
        }
    }
    return figures;
}

std::string Report(const std::string& sample, size_t files, const SFigures& f) {
    std::ostringstream out;
    out.precision(2);
    out << std::fixed << sample << ", " << files << " files: types " << f.typesFound << "/"
        << f.types << " (" << f.TypesFound() << "%), methods " << f.methodsFound << "/"
        << f.methods - f.overCapacity << " (" << f.MethodsFound() << "%; " << f.overCapacity
        << " more in lists past 255 entries), entries the compiler does not declare "
        << f.notDeclared << "/" << f.readerEntries << " (" << f.NotDeclared() << "%)\n";
    for (size_t i = 0; i < f.missing.size() && i < 20; ++i) {
        out << "  not found:    " << f.missing[i] << "\n";
    }
    for (size_t i = 0; i < f.extra.size() && i < 20; ++i) {
        out << "  not declared: " << f.extra[i] << "\n";
    }
    return out.str();
}

std::vector<std::string> JavaFilesUnder(const fs::path& folder) {
    std::vector<std::string> files;
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
        if (item.is_regular_file() && item.path().extension() == ".java") {
            files.push_back(item.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

TEST(CompilerOutline, TheReaderFindsWhatTheCompilerDeclaresOnTheNamesLines) {
    const std::string zip =
        FromEnvironment("TOVIN_JDK_SRC_ZIP", "/usr/lib/jvm/openjdk-17/lib/src.zip");
    const std::string sample = FromEnvironment(
        "TOVIN_JDK_SAMPLE", "^(java.base/java/(lang|util)|java.desktop/java/awt)/[^/]*[.]java$");
    ASSERT_TRUE(fs::exists(zip)) << "no JDK sources at " << zip << " (openjdk-17-source)";
    const std::string bin = tovin::DetectJdkFolder() + "/bin/";
    tovin::test::CTempDir dir;

    // The sample: every top-level file of three packages, extracted with the JDK's jar.
    const std::string command = "cd " + Quoted(dir.Path()) + " && " + Quoted(bin + "jar") + " tf " +
                                Quoted(zip) + " | grep -E " + Quoted(sample) + " > sample.txt && " +
                                Quoted(bin + "jar") + " xf " + Quoted(zip) + " @sample.txt";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::vector<std::string> jdk = JavaFilesUnder(dir.Path());
    const std::vector<std::string> modern =
        JavaFilesUnder(std::string(TOVIN_TEST_DATA) + "/outline/modern");
    ASSERT_GE(jdk.size(), 100u);
    ASSERT_GE(modern.size(), 4u);

    std::ofstream list(dir.File("files.txt"));
    for (const auto* files : {&jdk, &modern}) {
        for (const auto& path : *files) {
            list << path << '\n';
        }
    }
    list.close();
    const std::string helper = std::string(TOVIN_TEST_DATA) + "/compiler-outline";
    const std::string run = Quoted(bin + "javac") + " -d " + Quoted(dir.File("classes")) + " " +
                            Quoted(helper + "/CompilerOutline.java") + " && " +
                            Quoted(bin + "java") + " -cp " + Quoted(dir.File("classes")) +
                            " CompilerOutline " + Quoted(dir.File("files.txt")) + " > " +
                            Quoted(dir.File("declared.txt"));
    ASSERT_EQ(std::system(run.c_str()), 0) << run;

    std::set<std::string> declaredJdk, declaredModern;
    std::istringstream declared(tovin::test::ReadFile(dir.File("declared.txt")));
    for (std::string entry; std::getline(declared, entry);) {
        ASSERT_NE(entry.rfind("error\t", 0), 0u) << "javac could not parse: " << entry;
        const bool isModern = entry.find("/outline/modern/") != std::string::npos;
        (isModern ? declaredModern : declaredJdk).insert(entry);
    }
    SRead readJdk, readModern;
    for (const auto& path : jdk) {
        Read(path, readJdk);
    }
    for (const auto& path : modern) {
        Read(path, readModern);
    }

    const SFigures jdkFigures = Compare(declaredJdk, readJdk);
    const std::string jdkReport = Report("JDK sample " + sample, jdk.size(), jdkFigures);
    std::cout << jdkReport;
    EXPECT_GE(jdkFigures.TypesFound(), 99.5) << jdkReport;
    EXPECT_GE(jdkFigures.MethodsFound(), 99.5) << jdkReport;
    EXPECT_LT(jdkFigures.NotDeclared(), 0.2) << jdkReport;

    // In the modern files every declaration is found and every entry stands on its name's line.
    const SFigures modernFigures = Compare(declaredModern, readModern);
    const std::string modernReport = Report("modern files", modern.size(), modernFigures);
    std::cout << modernReport;
    EXPECT_GE(modernFigures.methods, 50) << modernReport;
    EXPECT_TRUE(modernFigures.missing.empty()) << modernReport;
    EXPECT_TRUE(modernFigures.extra.empty()) << modernReport;
}
