#include "core/javamodel/JavaModel.h"

#include <gtest/gtest.h>

using namespace tovin;

namespace {

// Counts live instances so ownership (deletion on Remove, Clear and destruction) is visible.
struct SCounted {
    static inline int live = 0;
    explicit SCounted(int v) : value(v) { ++live; }
    ~SCounted() { --live; }
    int value;
};

std::vector<int> Values(const CJavaList<SCounted>& list) {
    std::vector<int> values;
    for (const auto& entry : list) {
        values.push_back(entry->value);
    }
    return values;
}

} // namespace

TEST(JavaList, HoldsAtMost255EntriesAndHandsBackTheRefusedOne) {
    SCounted::live = 0;
    CJavaList<SCounted> list;
    for (int i = 0; i < kJavaListCapacity; ++i) {
        ASSERT_EQ(list.Add(std::make_unique<SCounted>(i)), 1) << i;
    }
    auto extra = std::make_unique<SCounted>(255);
    EXPECT_EQ(list.Add(std::move(extra)), 0);
    EXPECT_EQ(list.GetCount(), 255);
    ASSERT_NE(extra, nullptr) << "a refused entry stays with the caller";
    EXPECT_EQ(extra->value, 255);
    EXPECT_EQ(list.Item(254)->value, 254);
    EXPECT_EQ(SCounted::live, 256);
}

TEST(JavaList, RefusesNullEntries) {
    CJavaList<SCounted> list;
    EXPECT_EQ(list.Add(nullptr), 0);
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(JavaList, ItemOutsideTheListIsNull) {
    CJavaList<SCounted> list;
    list.Add(std::make_unique<SCounted>(7));
    EXPECT_EQ(list.Item(-1), nullptr);
    EXPECT_EQ(list.Item(1), nullptr);
    ASSERT_NE(list.Item(0), nullptr);
    EXPECT_EQ(list.Item(0)->value, 7);
}

TEST(JavaList, RemoveDeletesTheEntryAndClosesTheGap) {
    SCounted::live = 0;
    {
        CJavaList<SCounted> list;
        for (int i = 0; i < 3; ++i) {
            list.Add(std::make_unique<SCounted>(i));
        }
        list.Remove(0);
        EXPECT_EQ(Values(list), (std::vector<int>{1, 2}));
        EXPECT_EQ(SCounted::live, 2);

        list.Remove(-1);
        list.Remove(2);
        EXPECT_EQ(Values(list), (std::vector<int>{1, 2}));

        list.Remove(1);
        EXPECT_EQ(Values(list), (std::vector<int>{1}));
        list.Add(std::make_unique<SCounted>(9));
        EXPECT_EQ(SCounted::live, 2);
    }
    EXPECT_EQ(SCounted::live, 0) << "destroying a list deletes what it holds";
}

TEST(JavaList, ClearDeletesEverythingAndTheListIsReusable) {
    SCounted::live = 0;
    CJavaList<SCounted> list;
    for (int i = 0; i < kJavaListCapacity; ++i) {
        list.Add(std::make_unique<SCounted>(i));
    }
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(SCounted::live, 0);
    EXPECT_EQ(list.Add(std::make_unique<SCounted>(1)), 1);
}

TEST(JavaModel, NewComponentsAreEmptyAtPositionZero) {
    CJavaClass cls;
    EXPECT_EQ(cls.GetName(), "");
    EXPECT_EQ(cls.GetPosition(), 0);
    EXPECT_EQ(cls.Methods().GetCount(), 0);
    EXPECT_EQ(cls.InnerClasses().GetCount(), 0);
    EXPECT_TRUE(cls.ExtraStrings().empty());
    CJavaFunction function;
    EXPECT_EQ(function.GetName(), "");
    EXPECT_EQ(function.GetPosition(), 0);
    CJavaFile file;
    EXPECT_EQ(file.GetFullPath(), "");
    EXPECT_EQ(file.GetPackage(), "");
}

TEST(JavaModel, ClassHelpersCreateAndFindMembers) {
    CJavaClass cls("Outer", 10);
    EXPECT_EQ(cls.AddMethod("main(String args[])", 42), 1);
    EXPECT_EQ(cls.ContainsMethod("main(String args[])"), 1);
    EXPECT_EQ(cls.ContainsMethod("main"), 0) << "names compare exactly";
    EXPECT_EQ(cls.Methods().Item(0)->GetPosition(), 42);

    cls.InnerClasses().Add(std::make_unique<CJavaClass>("Inner", 50));
    cls.InnerClasses().Add(std::make_unique<CJavaClass>("inner", 60));
    EXPECT_EQ(cls.ContainsInnerClass("Inner"), 1);
    EXPECT_EQ(cls.ContainsInnerClass("INNER"), 0);
    ASSERT_NE(cls.FindInnerClass("inner"), nullptr);
    EXPECT_EQ(cls.FindInnerClass("inner")->GetPosition(), 60);
    EXPECT_EQ(cls.FindInnerClass("Other"), nullptr);
}

TEST(JavaModel, AddHelpersReportAFullList) {
    CJavaFile file;
    CJavaClass cls;
    for (int i = 0; i < kJavaListCapacity; ++i) {
        ASSERT_EQ(file.AddClass("C" + std::to_string(i), i), 1);
        ASSERT_EQ(file.AddFunction("f" + std::to_string(i), i), 1);
        ASSERT_EQ(cls.AddMethod("m" + std::to_string(i), i), 1);
    }
    EXPECT_EQ(file.AddClass("C255", 0), 0);
    EXPECT_EQ(file.AddFunction("f255", 0), 0);
    EXPECT_EQ(cls.AddMethod("m255", 0), 0);
    EXPECT_EQ(file.Classes().ContainsClass("C255"), 0);
    EXPECT_EQ(file.Classes().GetCount(), 255);
}

TEST(JavaModel, ClassListLookupsReturnTheFirstMatch) {
    CJavaClassList list;
    list.Add(std::make_unique<CJavaClass>("A", 1));
    list.Add(std::make_unique<CJavaClass>("B", 2));
    list.Add(std::make_unique<CJavaClass>("A", 3));
    ASSERT_NE(list.FindClass("A"), nullptr);
    EXPECT_EQ(list.FindClass("A")->GetPosition(), 1);
    EXPECT_EQ(list.ContainsClass("B"), 1);
    EXPECT_EQ(list.ContainsClass("b"), 0);
}

TEST(JavaModel, FileListLookupsByPathAndName) {
    CJavaFileList list;
    for (const char* path : {"/a/App.java", "/b/App.java", "/b/Util.java"}) {
        auto file = std::make_unique<CJavaFile>();
        file->SetPath(path);
        list.Add(std::move(file));
    }
    ASSERT_NE(list.FindByFileName("App.java"), nullptr);
    EXPECT_EQ(list.FindByFileName("App.java")->GetFullPath(), "/a/App.java");
    ASSERT_NE(list.FindByFullPath("/b/App.java"), nullptr);
    EXPECT_EQ(list.FindByFullPath("/b/App.java"), list.Item(1));
    EXPECT_EQ(list.FindByFullPath("/B/App.java"), nullptr);
    EXPECT_EQ(list.ContainsFileName("Util.java"), 1);
    EXPECT_EQ(list.ContainsFileName("util.java"), 0);

    CFreeJavaFileList pages;
    auto page = std::make_unique<CFreeJavaFile>();
    page->SetPath("/w/index.html");
    pages.Add(std::move(page));
    EXPECT_EQ(pages.ContainsFileName("index.html"), 1);
    EXPECT_NE(pages.FindByFullPath("/w/index.html"), nullptr);
}

TEST(JavaModel, SetPathDerivesTheFileNameAndExtension) {
    struct Row {
        const char* path;
        const char* name;
        const char* extension;
    };
    const Row rows[] = {
        {"/src/App.JAVA", "App.JAVA", "java"},
        {"/my.dir/Makefile", "Makefile", "dir/makefile"},
        {"Loose.py", "Loose.py", "py"},
        {"/web/index.Html", "index.Html", "html"},
        {"/src/", "", "/src/"},
    };
    for (const auto& row : rows) {
        CFreeJavaFile file;
        file.SetPath(row.path);
        EXPECT_EQ(file.GetFullPath(), row.path);
        EXPECT_EQ(file.GetFileName(), row.name) << row.path;
        EXPECT_EQ(file.GetExtension(), row.extension) << row.path;
    }
}

TEST(JavaModel, ResolvePath) {
    struct Row {
        const char* name;
        const char* storedProject;
        const char* fullPath;
        const char* currentProject;
        const char* expectedPath;
        const char* expectedProject;
    };
    const Row rows[] = {
        {"below the moved project folder", "/a/p/x.jpr", "/a/p/src/F.java", "/q/x.jpr",
         "/q/src/F.java", "/q/x.jpr"},
        {"in the moved project folder", "/a/p/x.jpr", "/a/p/F.java", "/home/u/q/y.jpr",
         "/home/u/q/F.java", "/home/u/q/y.jpr"},
        {"project not moved", "/a/p/x.jpr", "/a/p/src/F.java", "/a/p/x.jpr", "/a/p/src/F.java",
         "/a/p/x.jpr"},
        {"entry without a project path", "", "/a/p/F.java", "/q/x.jpr", "/a/p/F.java", ""},
        {"project never saved", "/a/p/x.jpr", "/a/p/F.java", "", "/a/p/F.java", "/a/p/x.jpr"},
        {"file folder shorter than the project folder", "/a/p/x.jpr", "/a/F.java", "/q/x.jpr",
         "/a/F.java", "/a/p/x.jpr"},
        {"sibling folder stays where it is", "/a/p/x.jpr", "/a/lib/F.java", "/q/x.jpr",
         "/a/lib/F.java", "/a/p/x.jpr"},
        {"folder sharing a prefix stays", "/a/p/x.jpr", "/a/pp/F.java", "/q/x.jpr", "/a/pp/F.java",
         "/a/p/x.jpr"},
        {"project saved on Windows", "C:\\a\\p\\x.jpr", "C:\\a\\p\\src\\ui\\F.java",
         "/home/u/q/x.jpr", "/home/u/q/src/ui/F.java", "/home/u/q/x.jpr"},
        {"Windows file on another drive", "C:\\a\\p\\x.jpr", "D:\\lib\\F.java", "/q/x.jpr",
         "D:\\lib\\F.java", "C:\\a\\p\\x.jpr"},
    };
    for (const auto& row : rows) {
        CFreeJavaFile file;
        file.SetPath(row.fullPath);
        file.SetProjectPath(row.storedProject);
        EXPECT_EQ(file.ResolvePath(row.currentProject), row.expectedPath) << row.name;
        EXPECT_EQ(file.GetFullPath(), row.expectedPath) << row.name;
        EXPECT_EQ(file.GetProjectPath(), row.expectedProject) << row.name;
    }
}

TEST(JavaModel, ResolvedEntryKeepsItsNameAndIsStableOnTheNextCall) {
    CJavaFile file;
    file.SetPath("/a/p/src/F.java");
    file.SetProjectPath("/a/p/x.jpr");
    file.ResolvePath("/q/x.jpr");
    EXPECT_EQ(file.GetFileName(), "F.java");
    EXPECT_EQ(file.ResolvePath("/q/x.jpr"), "/q/src/F.java");
}
