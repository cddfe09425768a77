// The test launcher's report reader and its output reader over arbitrary bytes. Besides not
// crashing: the same text gives the same cases, the counts add up to the cases read, and a
// text cut anywhere never gives more cases than the whole text holds before the cut.

#include "core/project/TestReport.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const tovin::STestReport report = tovin::ReadTestReport(text);
    const tovin::STestCounts counts = tovin::CountTests(report.cases);
    Check(static_cast<size_t>(counts.passed + counts.failed + counts.skipped) ==
          report.cases.size());
    Check(tovin::ReadTestReport(text).cases.size() == report.cases.size());
    const tovin::STestReport half = tovin::ReadTestReport(text.substr(0, size / 2));
    Check(half.cases.size() <= report.cases.size() || !report.damage.empty());
    for (const tovin::STestCase& test : report.cases) {
        Check(test.seconds >= 0);
        Check(!test.displayName.empty() || test.name.empty());
    }
    for (const tovin::STestCase& test : tovin::ReadTestFeed(text)) {
        Check(!test.className.empty() && !test.uniqueId.empty());
    }
    return 0;
}
