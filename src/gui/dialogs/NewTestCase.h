#pragma once
// "JUnit Test Case" of the New dialog: asks for the class to test, then where to save its test
// class (<Name>Test.java beside the project's main file, in its package), writes the test case
// from its template unless the file exists, adds it to the open project and opens it.

#include <functional>
#include <optional>
#include <string>

namespace tovin {

class CProjectHost;

// Asks for the name of the class to test, pre-filled; nullopt when cancelled.
using FAskClassName = std::function<std::optional<std::string>(const std::string& initial)>;

// Without askName the question is a Qt input dialog.
void RunNewTestCase(CProjectHost& app, FAskClassName askName = {});

} // namespace tovin
