#pragma once
// The results of a unit-test run, read from the reports the test launcher writes: one XML file
// per test engine (TEST-<engine>.xml), a <testsuite> of <testcase> elements, each with an
// optional <failure>, <error> or <skipped> child and a <system-out> that names the test's
// unique id and display name.
//
// The reader is ours and small: it knows only the elements above, decodes the five named
// entities and numeric references, CDATA sections, comments and processing instructions, and
// skips everything else. A damaged or cut-off file gives the test cases read up to the damage
// and a note; it never throws and never reads past the text.
//
// When the launcher ends before writing its reports (a test called System.exit, or the run was
// stopped), the tests that finished are read from the launcher's own line-by-line output
// instead (ReadTestFeed), and the test that was running when it ended is marked unfinished.

#include <string>
#include <string_view>
#include <vector>

namespace tovin {

enum class ETestOutcome { Passed, Failed, Errored, Skipped, Unfinished };

struct STestCase {
    std::string className;   // binary name: nested classes after '$'
    std::string name;        // method with parameter types; "[n]" after an invocation's method
    std::string displayName; // as the launcher shows it; the name when it gave none
    std::string uniqueId;    // the launcher's id of the test; empty when it gave none
    double seconds = 0;
    ETestOutcome outcome = ETestOutcome::Passed;
    std::string message;     // why it failed or was skipped; may span lines
    std::string failureType; // the exception's class
    std::string trace;       // the stack trace as the report gives it
};

struct STestCounts {
    int passed = 0;
    int failed = 0; // failures, errors and unfinished tests
    int skipped = 0;
    bool operator==(const STestCounts&) const = default;
};

STestCounts CountTests(const std::vector<STestCase>& cases);
bool IsFailure(ETestOutcome outcome);

struct STestReport {
    std::vector<STestCase> cases;
    std::string damage; // empty when the text was read whole
};

// Reads one report's text.
STestReport ReadTestReport(std::string_view xml);

// Reads every TEST-*.xml file of the folder, in name order. found is false when there is none.
STestReport ReadTestReports(const std::string& folder, bool* found = nullptr);

// The tests the launcher's verbose output shows, in the order they ended: for each test a
// "+-- name" line of the tree, then its details ("uniqueId: ...", "caught: ..." with the trace
// below it, "reason: ...", "duration: N ms", "status: [..] SUCCESSFUL"). A test whose status
// never came is Unfinished: the run ended while it ran.
std::vector<STestCase> ReadTestFeed(std::string_view output);

} // namespace tovin
