#include "core/editor/LiveOutline.h"

#include "FakeUiHost.h"
#include "TempDir.h"
#include "core/app/Settings.h"
#include "core/javamodel/JavaModel.h"
#include "core/process/ProcessRunner.h"
#include "core/project/JavaProjectDoc.h"

#include <gtest/gtest.h>

using namespace tovin;
using namespace tovin::test;

namespace {

std::vector<std::string> Names(const CJavaFunctionList& list) {
    std::vector<std::string> names;
    for (const auto& function : list) {
        names.push_back(function->GetName());
    }
    return names;
}

struct SProject {
    CSettings settings;
    CFakeUiHost host;
    CJavaProjectDoc project{settings, host};
    CTempDir dir;
};

TEST(LiveOutline, JythonOutlineIsReadAgainWithoutPilingUp) {
    SProject p;
    const std::string path =
        p.dir.Write("tool.py", "def top():\n    pass\nclass Tool:\n    def run(self):\n");
    p.project.AddFile(path);
    ASSERT_TRUE(RefreshLiveOutline(p.project, path));
    ASSERT_TRUE(RefreshLiveOutline(p.project, path));
    CJavaFile* entry = p.project.JavaFiles().FindByFullPath(path);
    EXPECT_EQ(Names(entry->Functions()), std::vector<std::string>{"top()"});
    ASSERT_EQ(entry->Classes().GetCount(), 1);
    EXPECT_EQ(Names(entry->Classes().Item(0)->Methods()), std::vector<std::string>{"run(self)"});
    // The file changed: the outline follows it.
    p.dir.Write("tool.py", "def other():\n    pass\n");
    ASSERT_TRUE(RefreshLiveOutline(p.project, path));
    EXPECT_EQ(Names(entry->Functions()), std::vector<std::string>{"other()"});
    EXPECT_EQ(entry->Classes().GetCount(), 0);
}

TEST(LiveOutline, AntTargetsInAnyCaseOfTheExtension) {
    SProject p;
    const std::string path = p.dir.Write(
        "Build.XML", "<project default=\"b\">\n<target name=\"a\"/>\n<target name=\"b\"/>\n"
                     "</project>\n");
    p.project.AddFile(path);
    ASSERT_TRUE(RefreshLiveOutline(p.project, path));
    ASSERT_TRUE(RefreshLiveOutline(p.project, path));
    EXPECT_EQ(Names(p.project.JavaFiles().FindByFullPath(path)->Functions()),
              (std::vector<std::string>{"a", "b"}));
}

TEST(LiveOutline, OnlyProjectFilesOfTheTwoKindsAreRead) {
    SProject p;
    const std::string java = p.dir.Write("A.java", "class A {}\n");
    const std::string outside = p.dir.Write("free.py", "def f():\n");
    p.project.AddFile(java);
    EXPECT_FALSE(RefreshLiveOutline(p.project, java));
    EXPECT_FALSE(RefreshLiveOutline(p.project, outside));
    EXPECT_FALSE(RefreshLiveOutline(p.project, ""));
}

} // namespace
