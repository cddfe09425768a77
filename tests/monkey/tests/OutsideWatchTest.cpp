// The monkey's watch on the places outside its run's folder: a change there fails the run only
// when the run made it, not when another program on the desktop wrote its own files.

#include "World.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tovin::monkey;
using tovin::test::CTempDir;

TEST(OutsideWatch, CountsOnlyTheRunsOwnWritesInTheSharedHome) {
    struct SRow {
        const char* name;
        std::string file; // below the test folder
        std::string text; // written after the watch starts; empty: the file is removed
        bool counted;
    } rows[] = {
        {"another program's settings", "home/.config/QtProject.conf", "[FileDialog]\nx=1\n", false},
        {"a file that names the run's folder", "home/.cache/tovin/tovinrun.sh", "cd '@RUN@/work'\n",
         true},
        {"Tovin's own settings, changed", "home/.config/Verrimond/Tovin.conf", "[OPTIONS]\nA=22\n",
         true},
        {"Tovin's own settings, removed", "home/.config/Verrimond/Tovin.conf", "", true},
        {"another program's file, removed", "home/.config/QtProject.conf", "", false},
        {"the example the run copies", "src/examples/Hello.java", "class Hello {}\n", true},
    };
    for (const auto& row : rows) {
        CTempDir dir;
        const std::string run = dir.File("run");
        dir.Write("home/.config/QtProject.conf", "[FileDialog]\n");
        dir.Write("home/.config/Verrimond/Tovin.conf", "[OPTIONS]\n");
        dir.Write("home/.cache/tovin/keep", "");
        dir.Write("src/examples/Hello.java", "");
        const std::string settings = dir.File("home/.config/Verrimond/Tovin.conf");
        COutsideWatch watch(
            {dir.File("src/examples")}, {},
            {dir.File("home/.config/QtProject.conf"), dir.File("home/.config/Verrimond"),
             dir.File("home/.cache/tovin")},
            [&](const std::string& path) { return WrittenByRun(path, settings, run); });
        if (row.text.empty()) {
            std::filesystem::remove(dir.File(row.file));
        } else {
            std::string text = row.text;
            if (const auto at = text.find("@RUN@"); at != std::string::npos) {
                text.replace(at, 5, run);
            }
            dir.Write(row.file, text);
        }
        const std::vector<std::string> changes = watch.Changes();
        EXPECT_EQ(changes.size(), row.counted ? 1u : 0u) << row.name;
    }
}
