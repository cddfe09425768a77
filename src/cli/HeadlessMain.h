#pragma once
// The options of the tovin executable that run without a window (--version, --help and the
// batch commands). Returns the exit code when the arguments asked for such a run, else nullopt.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tovin {

std::optional<int> RunHeadless(const std::vector<std::string>& arguments, std::ostream& out,
                               std::ostream& err);

// The --help text.
std::string HelpText();

} // namespace tovin
