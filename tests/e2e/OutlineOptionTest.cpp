// The --outline option of the real executable on a reviewed real source.

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

#ifdef TOVIN_EXECUTABLE

namespace {

// Runs a command through the shell; its standard output and exit status.
std::pair<std::string, int> RunShell(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return {output, -1};
    }
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, n);
    }
    int status = pclose(pipe);
    return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

} // namespace

TEST(OutlineOption, PrintsTheReviewedOutlineOfARealSource) {
    std::string source = std::string(TOVIN_TEST_DATA) + "/outline/Predicate.java";
    auto [output, code] =
        RunShell("'" + std::string(TOVIN_EXECUTABLE) + "' --outline '" + source + "' 2>/dev/null");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(output, "file\t" + source + "\n" +
                          tovin::test::ReadFile(std::string(TOVIN_TEST_DATA) +
                                                "/outline/Predicate.outline"));
}

TEST(OutlineOption, ExitsWithOneWhenAFileCannotBeRead) {
    tovin::test::CTempDir dir;
    auto [output, code] = RunShell("'" + std::string(TOVIN_EXECUTABLE) + "' --outline '" +
                                   dir.File("none.java") + "' 2>&1");
    EXPECT_EQ(code, 1);
    EXPECT_NE(output.find("cannot read"), std::string::npos) << output;
}

#endif
