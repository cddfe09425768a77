// The example projects under examples/ and the generator of their project files. The project
// files are written by Tovin itself: run this test with TOVIN_WRITE_EXAMPLES=1 to write them
// again after changing the table below. They store the paths of the place they were written
// in, so every other checkout reads them as a moved project.

#include "project/JavaProjectDoc.h"

#include "app/Settings.h"
#include "javamodel/JavaParser.h"
#include "platform/Files.h"
#include "process/ProcessRunner.h"

#include "FakeUiHost.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace tovin;
using namespace tovin::test;

namespace {

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

// Writes the project file as the new-project wizard would: saved first, so every entry records
// the project path it is relative to; each source is parsed as the project does.
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
    return project.Save(path);
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
