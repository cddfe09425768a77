#pragma once
// The text of a new JUnit test case: the test class in the package given (none when it is
// empty), the JUnit 5 imports and one test method that a learner replaces. Line ends are "\n".

#include <string>

namespace tovin {

// "Calculator" gives "CalculatorTest"; a name that already ends in "Test" is kept.
std::string TestCaseClassName(const std::string& testedClass);
std::string TestCaseText(const std::string& className, const std::string& testedClass,
                         const std::string& package);

} // namespace tovin
