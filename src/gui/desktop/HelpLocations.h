#pragma once
// Where the two help commands lead: Tovin's own help pages, and the JDK API documentation
// named by HELPPATH (its index.html), at its search page for a selected word.

#include <string>

namespace tovin {

// <data folder>/help/index.html
std::string OwnHelpPath(const std::string& dataFolder);

// The address to open for the JDK documentation: the index itself without a keyword, else
// "file://<folder of the index>/search.html?q=<keyword, percent-encoded>".
std::string JdkHelpAddress(const std::string& helpPath, const std::string& keyword);

} // namespace tovin
