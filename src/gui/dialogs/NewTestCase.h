#pragma once
// "JUnit Test Case" of the New dialog: asks for the class to test, then where to save its test
// class (<Name>Test.java beside the project's main file, in its package), writes the test case
// from its template unless the file exists, adds it to the open project and opens it.

namespace tovin {

class CProjectHost;

void RunNewTestCase(CProjectHost& app);

} // namespace tovin
