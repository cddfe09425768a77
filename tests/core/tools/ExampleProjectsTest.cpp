// The example projects under examples/ and the generator of their project files. The project
// files are written by Tovin itself: run this test with TOVIN_WRITE_EXAMPLES=1 to write them
// again after changing the table below. They store the paths the package installs them at
// (kInstalledExamples), never those of the machine that wrote them: installed, they open in
// place; anywhere else (a checkout, a user's copy) they are read as a moved project.

#include "core/project/JavaProjectDoc.h"

#include "core/app/Settings.h"
#include "core/javamodel/JavaParser.h"
#include "core/platform/Files.h"
#include "core/process/ProcessRunner.h"

#include "FakeUiHost.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace tovin;
using namespace tovin::test;

namespace {

// The examples folder of the Debian package (<prefix>/share/tovin with prefix /usr).
constexpr const char* kInstalledExamples = "/usr/share/tovin/examples";

struct SExampleFile {
    std::string path; // below the project's folder
    std::string package;
};

struct SExample {
    std::string name;
    std::vector<SExampleFile> files;
    std::vector<std::string> pages;
    std::string mainFile;
    std::string mainHtmlFile;
};

void PrintTo(const SExample& example, std::ostream* out) {
    *out << example.name;
}

const std::vector<SExample>& Examples() {
    static const std::vector<SExample> examples = {
        {"HelloApp",
         {{"src/com/example/hello/HelloApp.java", "com.example.hello"},
          {"src/com/example/util/Greeting.java", "com.example.util"}},
         {},
         "HelloApp.java",
         ""},
        {"AppletDemo",
         {{"AppletDemo.java", ""}},
         {"AppletDemo.html"},
         "AppletDemo.java",
         "AppletDemo.html"},
        {"BrokenApp", {{"src/BrokenApp.java", ""}}, {}, "BrokenApp.java", ""},
    };
    return examples;
}

std::string ExampleFolder(const SExample& example) {
    return std::string(TOVIN_SOURCE_DIR) + "/examples/" + example.name;
}

std::string ProjectPath(const SExample& example) {
    return ExampleFolder(example) + "/" + example.name + ".jpr";
}

std::string InstalledFolder(const SExample& example) {
    return std::string(kInstalledExamples) + "/" + example.name;
}

std::string InstalledProjectPath(const SExample& example) {
    return InstalledFolder(example) + "/" + example.name + ".jpr";
}

template <class TList> void MoveEntries(TList& list, const std::string& projectPath) {
    for (int i = 0; i < list.GetCount(); ++i) {
        list.Item(i)->ResolvePath(projectPath);
    }
}

// Writes the project file as the new-project wizard would: saved first, so every entry records
// the project path it is relative to; each source is parsed as the project does. The entries are
// then moved to the installed folder, as if the project had been opened there, and saved.
std::string WriteExampleProject(const SExample& example) {
    CSettings settings;
    CFakeUiHost host;
    CJavaProjectDoc project(settings, host);
    const std::string path = ProjectPath(example);
    if (std::string error = project.Save(path); !error.empty()) {
        return error;
    }
    for (const auto& file : example.files) {
        const std::string fullPath = ExampleFolder(example) + "/" + file.path;
        project.AddFile(fullPath);
        std::string error;
        if (!CJavaParser(*project.JavaFiles().FindByFullPath(fullPath)).ParseFile(&error)) {
            return error;
        }
    }
    for (const auto& page : example.pages) {
        project.AddHtmlFile(ExampleFolder(example) + "/" + page);
    }
    project.SetMainFile(example.mainFile);
    project.SetMainHtmlFile(example.mainHtmlFile);
    MoveEntries(project.JavaFiles(), InstalledProjectPath(example));
    MoveEntries(project.FreeFiles(), InstalledProjectPath(example));
    return project.Save(path);
}

template <class TList> void ExpectInstalledPaths(const TList& list, const SExample& example) {
    for (int i = 0; i < list.GetCount(); ++i) {
        const auto& entry = *list.Item(i);
        EXPECT_TRUE(entry.GetFullPath().starts_with(InstalledFolder(example) + "/"))
            << entry.GetFullPath();
        EXPECT_EQ(entry.GetProjectPath(), InstalledProjectPath(example));
    }
}

class ExampleProjects : public ::testing::TestWithParam<SExample> {};

} // namespace

TEST_P(ExampleProjects, ProjectFileNamesItsSources) {
    const SExample& example = GetParam();
    if (std::getenv("TOVIN_WRITE_EXAMPLES")) {
        ASSERT_EQ(WriteExampleProject(example), "");
    }
    CSettings settings;
    CFakeUiHost host;
    CJavaProjectDoc project(settings, host);
    ASSERT_EQ(project.Load(ProjectPath(example)), "");
    // As stored: only the installed folder, nothing of the machine that wrote the file.
    ExpectInstalledPaths(project.JavaFiles(), example);
    ExpectInstalledPaths(project.FreeFiles(), example);
    project.RebaseEntries();

    ASSERT_EQ(project.JavaFiles().GetCount(), static_cast<int>(example.files.size()));
    for (int i = 0; i < project.JavaFiles().GetCount(); ++i) {
        const CJavaFile& entry = *project.JavaFiles().Item(i);
        const SExampleFile& file = example.files[static_cast<std::size_t>(i)];
        EXPECT_EQ(entry.GetFullPath(), ExampleFolder(example) + "/" + file.path);
        EXPECT_EQ(entry.GetPackage(), file.package);
        EXPECT_GT(entry.Classes().GetCount(), 0) << entry.GetFileName();
        EXPECT_TRUE(FileExists(entry.GetFullPath())) << entry.GetFullPath();
    }
    ASSERT_EQ(project.FreeFiles().GetCount(), static_cast<int>(example.pages.size()));
    for (int i = 0; i < project.FreeFiles().GetCount(); ++i) {
        EXPECT_EQ(project.FreeFiles().Item(i)->GetFullPath(),
                  ExampleFolder(example) + "/" + example.pages[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(project.GetMainFileName(), example.mainFile);
    EXPECT_EQ(project.GetMainPackage(), example.files.front().package);
    EXPECT_EQ(project.GetMainHtmlFile(), example.mainHtmlFile);
    // Nothing of the machine they were written on: no class path, folders or options.
    EXPECT_EQ(project.GetClassPath(), "");
    EXPECT_EQ(project.GetWorkingDir(), "");
    EXPECT_EQ(project.GetCompileDir(), "");
    EXPECT_EQ(project.GetRunOptions(), "");
    EXPECT_EQ(project.GetCompileOptions(), "");
}

INSTANTIATE_TEST_SUITE_P(All, ExampleProjects, ::testing::ValuesIn(Examples()),
                         [](const auto& info) { return info.param.name; });
