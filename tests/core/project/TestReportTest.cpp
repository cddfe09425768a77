// Reading the test launcher's XML reports and its line-by-line output, and what the project's
// test commands make of them: which files are tests, failure lines, the tests a rerun selects.

#include "core/project/TestReport.h"
#include "core/app/Settings.h"
#include "core/project/JavaProjectDoc.h"
#include "core/project/TestCommands.h"

#include "FakeUiHost.h"
#include "TempDir.h"

#include <cstdio>
#include <gtest/gtest.h>

using namespace tovin;
using namespace tovin::test;

namespace {

// A test case as "outcome class#name (seconds) [message] {type} <uniqueId|display>".
std::string Describe(const STestCase& test) {
    static const char* kOutcomes[] = {"passed", "failed", "errored", "skipped", "unfinished"};
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", test.seconds);
    return std::string(kOutcomes[static_cast<int>(test.outcome)]) + " " + test.className + "#" +
           test.name + " (" + seconds + ") [" + test.message + "] {" + test.failureType + "} <" +
           test.uniqueId + "|" + test.displayName + ">";
}

std::vector<std::string> Describe(const std::vector<STestCase>& cases) {
    std::vector<std::string> out;
    for (const STestCase& test : cases) {
        out.push_back(Describe(test));
    }
    return out;
}

constexpr const char* kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                              "<testsuite name=\"JUnit Jupiter\" tests=\"2\">\n"
                              "<properties><property name=\"a\" value=\"&lt;\"/></properties>\n";

struct SReportRow {
    const char* name;
    std::string xml;
    std::vector<std::string> cases;
    bool damaged;
};

} // namespace

TEST(TestReport, ReadsTheLaunchersReports) {
    const SReportRow rows[] = {
        {"passed test with its identity",
         std::string(kHead) +
             "<testcase name=\"totalIsZero()\" classname=\"shop.BasketTest$WhenEmpty\" "
             "time=\"0.25\">\n<system-out><![CDATA[\nunique-id: [engine:junit-jupiter]/"
             "[class:shop.BasketTest]/[nested-class:WhenEmpty]/[method:totalIsZero()]\n"
             "display-name: total is zero\n]]></system-out>\n</testcase>\n"
             "<system-out><![CDATA[\nunique-id: [engine:junit-jupiter]\n]]></system-out>\n"
             "</testsuite>\n",
         {"passed shop.BasketTest$WhenEmpty#totalIsZero() (0.250) [] {} "
          "<[engine:junit-jupiter]/[class:shop.BasketTest]/[nested-class:WhenEmpty]/"
          "[method:totalIsZero()]|total is zero>"},
         false},
        {"failure with entities, error with a trace in CDATA",
         std::string(kHead) +
             "<testcase name=\"a()\" classname=\"T\" time=\"1\"><failure message=\"x ==&gt; "
             "expected: &lt;1&gt; but was: &#60;2&#x3E; &amp; &quot;q&quot; &apos;\" "
             "type=\"org.opentest4j.AssertionFailedError\">trace &amp; more</failure>"
             "</testcase>\n"
             "<testcase name='b()' classname='T' time='x'><error message=\"boom\" "
             "type=\"java.lang.IllegalStateException\"><![CDATA[java.lang.Ill: boom\n"
             "\tat T.b(T.java:9)\n]]></error></testcase></testsuite>",
         {"failed T#a() (1.000) [x ==> expected: <1> but was: <2> & \"q\" '] "
          "{org.opentest4j.AssertionFailedError} <|a()>",
          "errored T#b() (0.000) [boom] {java.lang.IllegalStateException} <|b()>"},
         false},
        {"skips with a message or a text, and a self-closing one",
         std::string(kHead) +
             "<testcase name=\"c()\" classname=\"T\" time=\"0\"><skipped message=\"later\"/>"
             "</testcase><testcase name=\"d\" classname=\"T\"><skipped><![CDATA[cents]]>"
             "</skipped></testcase><testcase name=\"e\" classname=\"T\"/></testsuite>",
         {"skipped T#c() (0.000) [later] {} <|c()>", "skipped T#d (0.000) [cents] {} <|d>",
          "passed T#e (0.000) [] {} <|e>"},
         false},
        {"cut off inside a test case: the finished ones are kept",
         std::string(kHead) +
             "<testcase name=\"a()\" classname=\"T\"></testcase><testcase name=\"b()\" "
             "classname=\"T\"><failure message=\"m\">tra",
         {"passed T#a() (0.000) [] {} <|a()>"},
         true},
        {"an element closed that was never opened",
         std::string(kHead) + "<testcase name=\"a()\" classname=\"T\"></failure></testcase>",
         {},
         true},
        {"an unterminated CDATA section",
         std::string(kHead) + "<testcase name=\"a()\" classname=\"T\"><system-out><![CDATA[x",
         {},
         true},
        {"a tag with a broken attribute",
         "<testsuite><testcase name=a()></testcase></testsuite>",
         {},
         true},
        {"not a report at all", "plain text & < > without tags", {}, true},
        {"an empty file", "", {}, false},
        {"unknown references stay as written, comments are skipped",
         "<testsuite><!-- <testcase name=\"hidden\"/> --><testcase name=\"&bogus;&#xD800;&#;\" "
         "classname=\"T\"/></testsuite>",
         {"passed T#&bogus;&#xD800;&#; (0.000) [] {} <|&bogus;&#xD800;&#;>"},
         false},
    };
    for (const SReportRow& row : rows) {
        SCOPED_TRACE(row.name);
        const STestReport report = ReadTestReport(row.xml);
        EXPECT_EQ(Describe(report.cases), row.cases);
        EXPECT_EQ(!report.damage.empty(), row.damaged) << report.damage;
    }
}

TEST(TestReport, DeepNestingIsDamageNotARecursion) {
    std::string xml;
    for (int i = 0; i < 100000; ++i) {
        xml += "<a>";
    }
    const STestReport report = ReadTestReport(xml);
    EXPECT_TRUE(report.cases.empty());
    EXPECT_FALSE(report.damage.empty());
}

TEST(TestReport, ReadsEveryReportOfAFolderAndCounts) {
    CTempDir dir;
    dir.Write("TEST-junit-jupiter.xml",
              "<testsuite><testcase name=\"a()\" classname=\"T\"/><testcase name=\"b()\" "
              "classname=\"T\"><error message=\"e\"/></testcase></testsuite>");
    dir.Write("TEST-junit-vintage.xml",
              "<testsuite><testcase name=\"c\" classname=\"U\"><skipped/></testcase>"
              "<testcase name=\"d\" classname=\"U\"><failure/></testcase><testcase");
    dir.Write("other.xml", "<testsuite><testcase name=\"z\" classname=\"Z\"/></testsuite>");
    bool found = false;
    const STestReport report = ReadTestReports(dir.Path(), &found);
    EXPECT_TRUE(found);
    ASSERT_EQ(report.cases.size(), 4u);
    EXPECT_EQ(report.cases[2].className, "U");
    EXPECT_EQ(CountTests(report.cases), (STestCounts{1, 2, 1}));
    EXPECT_NE(report.damage.find("TEST-junit-vintage.xml"), std::string::npos) << report.damage;

    ReadTestReports(dir.File("none"), &found);
    EXPECT_FALSE(found);
}

TEST(TestReport, TheFeedShowsWhatEndedAndWhatWasRunning) {
    const std::string output =
        "Test plan execution started. Number of static tests: 5\r\n"
        ".\r\n"
        "+-- JUnit Jupiter\r\n"
        "| +-- BasketTest\r\n"
        "| | +-- WhenEmpty\r\n"
        "| | | +-- countIsZero()\r\n"
        "| | | |      tags: []\r\n"
        "| | | |  uniqueId: [engine:junit-jupiter]/[class:shop.BasketTest]/"
        "[nested-class:WhenEmpty]/[method:countIsZero()]\r\n"
        "| | | |    parent: [engine:junit-jupiter]/[class:shop.BasketTest]/"
        "[nested-class:WhenEmpty]\r\n"
        "| | | |    source: MethodSource [className = 'shop.BasketTest$WhenEmpty']\r\n"
        "| | | |    caught: org.opentest4j.AssertionFailedError: expected: <0> but was: <1>\r\n"
        "| | | |              \tat shop.BasketTest$WhenEmpty.countIsZero(BasketTest.java:55)\r\n"
        "| | | |  duration: 232 ms\r\n"
        "| | | |    status: [X] FAILED\r\n"
        "| | '-- WhenEmpty finished after 348 ms.\r\n"
        "| | +-- centsAreKept()\r\n"
        "| | |  uniqueId: [engine:junit-jupiter]/[class:shop.BasketTest]/"
        "[method:centsAreKept()]\r\n"
        "| | |    reason: prices in cents come later\r\n"
        "| | |    status: [S] SKIPPED\r\n"
        "| | +-- [2] 5\r\n"
        "| | | |  uniqueId: [engine:junit-jupiter]/[class:shop.BasketTest]/"
        "[test-template:total(int)]/[test-template-invocation:#2]\r\n"
        "| | | |  duration: 54 ms\r\n"
        "| | | |    status: [OK] SUCCESSFUL\r\n"
        "| '-- BasketTest finished after 580 ms.\r\n"
        "+-- JUnit Vintage\r\n"
        "| +-- LegacyBasketTest\r\n"
        "| | +-- notYet\r\n"
        "| | |  uniqueId: [engine:junit-vintage]/[runner:shop.Legacy]/"
        "[test:notYet(shop.Legacy)]\r\n"
        "| | |    source: MethodSource [className = 'shop.Legacy']\r\n"
        "Exit code: 11\r\nProcess terminated by user.";
    const std::vector<STestCase> cases = ReadTestFeed(output);
    EXPECT_EQ(Describe(cases),
              (std::vector<std::string>{
                  "failed shop.BasketTest$WhenEmpty#countIsZero() (0.232) [expected: <0> but "
                  "was: <1>] {org.opentest4j.AssertionFailedError} <[engine:junit-jupiter]/"
                  "[class:shop.BasketTest]/[nested-class:WhenEmpty]/[method:countIsZero()]|"
                  "countIsZero()>",
                  "skipped shop.BasketTest#centsAreKept() (0.000) [prices in cents come later] "
                  "{} <[engine:junit-jupiter]/[class:shop.BasketTest]/[method:centsAreKept()]|"
                  "centsAreKept()>",
                  "passed shop.BasketTest#total(int)[2] (0.054) [] {} <[engine:junit-jupiter]/"
                  "[class:shop.BasketTest]/[test-template:total(int)]/"
                  "[test-template-invocation:#2]|[2] 5>",
                  "unfinished shop.Legacy#notYet (0.000) [the run ended while this test ran] {} "
                  "<[engine:junit-vintage]/[runner:shop.Legacy]/[test:notYet(shop.Legacy)]|"
                  "notYet>",
              }));
    ASSERT_FALSE(cases.empty());
    EXPECT_EQ(cases[0].trace, "org.opentest4j.AssertionFailedError: expected: <0> but was: <1>\n"
                              "\tat shop.BasketTest$WhenEmpty.countIsZero(BasketTest.java:55)\n");
}

TEST(TestCommands, FindsWhichJUnitTheCodeNames) {
    struct SRow {
        const char* name;
        const char* text;
        bool jupiter;
        bool legacy;
    } rows[] = {
        {"JUnit 5 import", "import org.junit.jupiter.api.Test;", true, false},
        {"JUnit 5 static import", "import static org.junit.jupiter.api.Assertions.*;", true, false},
        {"platform suite", "@org.junit.platform.suite.api.Suite class S {}", true, false},
        {"JUnit 4 import", "import org.junit.Test;", false, true},
        {"JUnit 3 base class", "class T extends junit.framework.TestCase {}", false, true},
        {"both", "import org.junit.Assert;\nimport org.junit.jupiter.api.Test;", true, true},
        {"in a comment only", "// import org.junit.Test;\n/* org.junit.jupiter */ class A {}",
         false, false},
        {"in a string only", "String s = \"org.junit.Test\";", false, false},
        {"a longer name", "import com.myjunit.framework.X; import orgx.junit.Y;", false, false},
        {"no JUnit", "public class Hello {}", false, false},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.name);
        const SJUnitUse use = FindJUnitUse(row.text);
        EXPECT_EQ(use.jupiter, row.jupiter);
        EXPECT_EQ(use.legacy, row.legacy);
    }
}

TEST(TestCommands, ClassPathNamesTheMissingPackage) {
    CTempDir dir;
    dir.Write("junit-jupiter-api.jar", "");
    dir.Write("opentest4j.jar", "");
    SJUnitClassPath five = JUnitClassPath({true, false}, dir.Path());
    EXPECT_EQ(five.classPath, dir.File("junit-jupiter-api.jar") + ":" + dir.File("opentest4j.jar"));
    EXPECT_EQ(five.missingPackage, "");
    EXPECT_EQ(JUnitClassPath({true, true}, dir.Path()).missingPackage, "junit4");
    EXPECT_EQ(JUnitClassPath({true, false}, dir.File("none")).missingPackage, "junit5");
    EXPECT_EQ(JUnitClassPath({}, dir.File("none")).missingPackage, "");
}

TEST(TestCommands, RerunSelectsEachFailedTestByItsKind) {
    const auto test = [](const char* className, const char* name) {
        STestCase test;
        test.className = className;
        test.name = name;
        return test;
    };
    const STestRunPlan plan = PlanRerun({}, {test("shop.BasketTest", "countIsTheNumberOfPrices()"),
                                             test("shop.BasketTest$WhenEmpty", "countIsZero()"),
                                             test("shop.BasketTest", "total(int, int)[3]"),
                                             test("shop.Legacy", "totalOfNothing"),
                                             test("shop.Legacy", "totalOfNothing"), test("", "")});
    EXPECT_EQ(plan.selectors,
              (std::vector<std::string>{
                  "--select-method \"shop.BasketTest#countIsTheNumberOfPrices()\"",
                  "--select-method \"shop.BasketTest$WhenEmpty#countIsZero()\"",
                  "--select-iteration \"method:shop.BasketTest#total(int, int)[2]\"",
                  "--select-method \"shop.Legacy#totalOfNothing\""}));
}

TEST(TestCommands, AFailureLineNamesTheFirstFrameInAProjectFile) {
    CTempDir dir;
    CSettings settings;
    CFakeUiHost host;
    CJavaProjectDoc project(settings, host);
    const std::string basket = dir.Write("src/shop/Basket.java", "package shop;\nclass Basket {}");
    const std::string test =
        dir.Write("src/shop/BasketTest.java",
                  "package shop;\nimport org.junit.jupiter.api.Test;\nclass BasketTest {}");
    // Same file name, other package: a frame of shop.Basket must not land here.
    const std::string other = dir.Write("src/old/Basket.java", "package old;\nclass Basket {}");
    project.AddFile(other);
    project.AddFile(basket);
    project.AddFile(test);
    const std::vector<STestClass> classes = FindTestClasses(project);
    ASSERT_EQ(classes.size(), 1u);
    EXPECT_EQ(classes[0].qualifiedName, "shop.BasketTest");
    EXPECT_EQ(classes[0].classRoot, dir.File("src"));

    STestCase failure;
    failure.className = "shop.BasketTest$WhenEmpty";
    failure.name = "adds()";
    failure.message = "negative price -2\nsecond line";
    failure.trace = "java.lang.IllegalArgumentException: negative price -2\n"
                    "\tat java.base/java.util.Objects.x(Objects.java:5)\n"
                    "\tat shop.Basket.add(Basket.java:11)\n"
                    "\tat shop.BasketTest$WhenEmpty.adds(BasketTest.java:30)\n";
    EXPECT_EQ(FailureLine(classes, project, failure),
              basket + ":11: test failed: BasketTest.WhenEmpty.adds(): negative price -2");

    failure.trace = "\tat org.junit.Assert.fail(Assert.java:89)\n";
    failure.message.clear();
    failure.failureType = "java.lang.AssertionError";
    EXPECT_EQ(FailureLine(classes, project, failure),
              test + ": test failed: BasketTest.WhenEmpty.adds(): java.lang.AssertionError");
    EXPECT_EQ(SummaryLine({5, 5, 2}), "5 passed, 5 failed, 2 skipped");
}
