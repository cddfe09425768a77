#pragma once
// The window-less test run: `tovin --test PROJECT.jpr [CLASS...]` builds the project as Build
// does, runs its unit tests (or only the named test classes) as Run Tests does, prints one line
// per failed test, "path:line: test failed: Class.method: message", and the summary
// "N passed, N failed, N skipped". The compiler's messages are printed only when the build
// fails; the test launcher's own output is not printed. Messages go to standard error.

#include <atomic>
#include <ostream>
#include <string>
#include <vector>

namespace tovin {

inline constexpr int kTestsPassed = 0;
inline constexpr int kTestsFailed = 1;
inline constexpr int kTestsUsageError = 2;
inline constexpr int kTestsNotRun = 3; // no project, no tests, JUnit missing, the build failed

// The --help lines of the option.
std::string TestCommandHelp();

// Runs the option; arguments are the program's arguments after its name. interrupted (may be
// null) stops the running tool, as the Process Window's stop button does.
int RunTestCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                   const std::atomic<bool>* interrupted = nullptr);

} // namespace tovin
