#include "core/project/AntFileReader.h"

#include "cli/OutlineCommand.h"
#include "core/javamodel/JavaModel.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace tovin;
using tovin::test::CTempDir;

namespace {

using Targets = std::vector<std::pair<std::string, int>>; // name, line

Targets FunctionsOf(const CJavaFile& entry) {
    Targets targets;
    for (const auto& function : entry.Functions()) {
        targets.emplace_back(function->GetName(), function->GetPosition());
    }
    return targets;
}

struct SParsed {
    int result = 0;
    std::vector<std::string> names;
    int defaultIndex = -1;
    Targets functions;
};

SParsed ParseText(const std::string& text) {
    CAntFileReader reader = CAntFileReader::FromText(text);
    CJavaFile entry;
    reader.SetFileEntry(&entry);
    SParsed parsed;
    parsed.result = reader.Parse();
    parsed.names = reader.GetTargetNames();
    parsed.defaultIndex = reader.GetDefaultIndex();
    parsed.functions = FunctionsOf(entry);
    return parsed;
}

} // namespace

TEST(AntFileReader, TargetsInOrderWithDefaultIndexAndLines) {
    SParsed parsed = ParseText("<?xml version=\"1.0\"?>\r\n"
                               "<project name=\"p\" default=\"compile\">\r\n"
                               "\t<target name=\"init\"/>\r\n"
                               "\r\n"
                               "\t<target name=\"compile\" depends=\"init\">\r\n"
                               "\t</target>\r\n"
                               "\t<target name=\"dist\"/>\r\n"
                               "</project>\r\n");
    EXPECT_EQ(parsed.result, 1);
    EXPECT_EQ(parsed.names, (std::vector<std::string>{"init", "compile", "dist"}));
    EXPECT_EQ(parsed.defaultIndex, 1);
    EXPECT_EQ(parsed.functions, (Targets{{"init", 2}, {"compile", 4}, {"dist", 6}}));
}

TEST(AntFileReader, MatchingRules) {
    struct Row {
        const char* name;
        std::string text;
        int result;
        std::vector<std::string> names;
        int defaultIndex;
    };
    const Row rows[] = {
        {"no default attribute stops at the project tag",
         "<project name=\"p\">\n<target name=\"a\"/>\n",
         0,
         {},
         -1},
        {"default found inside another attribute's value",
         "<project name=\"defaultish\" default=\"a\">\n<target name=\"a\"/>",
         1,
         {"a"},
         -1},
        {"name found inside rename",
         "<project default=\"x\">\n<target depends=\"rename\" name=\"z\">",
         1,
         {" name="},
         -1},
        {"target without quoted name stops, earlier targets stay",
         "<project default=\"a\"><target name=\"a\"/><target id=\"b\"/><target name=\"c\"/>",
         0,
         {"a"},
         0},
        {"tag that begins with target counts",
         "<project default=\"t\"><targets name=\"t\">",
         1,
         {"t"},
         0},
        {"case matters",
         "<project default=\"a\"><Target name=\"a\"/><target NAME=\"b\"/>",
         0,
         {},
         -1},
        {"closing tags and declarations skipped",
         "<?xml name=\"q\"?><!DOCTYPE target name=\"d\"><project default=\"a\"></target name=\"e\">"
         "<target name=\"a\"/>",
         1,
         {"a"},
         0},
        {"comment skipped", "<project default=\"a\"><!-- <target name=\"hidden\"/> -->", 1, {}, -1},
        {"comment ends at its first >",
         "<project default=\"a\"><!-- a > b <target name=\"ghost\"/> -->",
         1,
         {"ghost"},
         -1},
        {"< without > stops", "<project default=\"a\"><target name=\"a\"/><target", 0, {"a"}, 0},
        {"no tags at all", "plain text\n", 1, {}, -1},
        {"empty tag", "<><project default=\"a\"><target name=\"a\">", 1, {"a"}, 0},
        {"target before the project tag has no default to match",
         "<target name=\"a\"/><project default=\"a\"><target name=\"a\"/>",
         1,
         {"a", "a"},
         1},
        {"default naming no target", "<project default=\"zz\"><target name=\"a\"/>", 1, {"a"}, -1},
    };
    for (const auto& row : rows) {
        SParsed parsed = ParseText(row.text);
        EXPECT_EQ(parsed.result, row.result) << row.name;
        EXPECT_EQ(parsed.names, row.names) << row.name;
        EXPECT_EQ(parsed.defaultIndex, row.defaultIndex) << row.name;
    }
}

TEST(AntFileReader, ReadsLinesWithCrLfOnceAndStopsAtAnOverLongLine) {
    CTempDir dir;
    std::string path =
        dir.Write("build.xml", "<project default=\"b\">\r\n"
                               "<target name=\"a\"/>\n"
                               "<target name=\"b\"/>\r\n" +
                                   std::string(1024, ' ') + "\n<target name=\"c\"/>\n");
    CAntFileReader reader(path);
    EXPECT_EQ(reader.GetText(), "<project default=\"b\">\r\n"
                                "<target name=\"a\"/>\r\n"
                                "<target name=\"b\"/>\r\n");
    CJavaFile entry;
    reader.SetFileEntry(&entry);
    EXPECT_EQ(reader.Parse(), 1);
    EXPECT_EQ(FunctionsOf(entry), (Targets{{"a", 1}, {"b", 2}}));
    EXPECT_EQ(reader.GetDefaultIndex(), 1);
}

TEST(AntFileReader, UnreadableFileKeepsTheEntrysTargets) {
    CTempDir dir;
    CJavaFile entry;
    entry.AddFunction("old", 3);
    for (const std::string& path : {dir.File("missing.xml"), dir.Path()}) {
        CAntFileReader reader(path);
        reader.SetFileEntry(&entry);
        EXPECT_EQ(reader.GetText(), "") << path;
        EXPECT_EQ(reader.Parse(), 0) << path;
        EXPECT_TRUE(reader.GetTargetNames().empty()) << path;
        EXPECT_EQ(FunctionsOf(entry), (Targets{{"old", 3}})) << path;
    }
}

TEST(AntFileReader, ScannerHookRefillsTheEntryFromItsPath) {
    CTempDir dir;
    CJavaFile entry;
    entry.SetPath(dir.Write("build.xml", "<project default=\"x\">\n\n<target name=\"x\"/>\n"));
    entry.AddFunction("stale", 0);
    ReadAntTargets(entry);
    EXPECT_EQ(FunctionsOf(entry), (Targets{{"x", 2}}));

    // A file that has become unreadable leaves the targets as they were.
    if (::geteuid() != 0) {
        ::chmod(entry.GetFullPath().c_str(), 0);
        ReadAntTargets(entry);
        EXPECT_EQ(FunctionsOf(entry), (Targets{{"x", 2}}));
    }
}

TEST(AntFileReader, MalformedTagKeepsTheTargetsFoundBeforeIt) {
    SParsed parsed = ParseText("<project default=\"a\">\n<target name=\"a\"/>\n<target x>\n");
    EXPECT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.functions, (Targets{{"a", 1}}));
}

TEST(AntFileReader, OutlineOptionListsTheTargets) {
    CTempDir dir;
    const std::string build = dir.Write("build.xml", "<project default=\"b\">\n"
                                                     "  <target name=\"a\"/>\n"
                                                     "  <target name=\"b\"/>\n");
    std::ostringstream out, err;
    EXPECT_EQ(RunOutline({build}, out, err), 0);
    EXPECT_EQ(out.str(), "file\t" + build + "\ntarget\ta\t1\ntarget\tb\t2\n");
    EXPECT_EQ(err.str(), "");
}
