#pragma once
// The monkey's world: a temporary folder that holds everything a run may write (the user's
// home, settings, caches, temporary files and the project it works on), and the watch on the
// places outside it that the program could write to by mistake.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tovin::monkey {

struct SWorld {
    std::string root;     // the temporary folder
    std::string work;     // the user's files: the project and the extra sources
    std::string settings; // the settings file
    std::string project;  // the project file
    std::string pristine; // the project's files as the run began, outside `work`

    bool Inside(const std::string& path) const;
    // Files and folders below `work`, sorted.
    std::vector<std::string> Files() const { return Entries(false); }
    std::vector<std::string> Folders() const { return Entries(true); }
    std::vector<std::string> Entries(bool folders) const;
};

// Creates the folder, points HOME, the XDG folders and TMPDIR into it, makes it the current
// folder, and puts there a copy of the example project with a few more files of each kind.
// Exits the program with a message when that fails.
SWorld PrepareWorld(const std::string& sourceDir);
void RemoveWorld(const SWorld& world);

// What the files below some folders looked like at the start: size and time of each.
class COutsideWatch {
public:
    // `roots` are files or folders; folders named in `skip` (by name) are not entered.
    COutsideWatch(std::vector<std::string> roots, std::vector<std::string> skip);
    // Every path created, changed or removed since; empty when none.
    std::vector<std::string> Changes() const;

private:
    struct SState {
        std::uintmax_t size;
        std::filesystem::file_time_type time;
        bool operator==(const SState&) const = default;
    };
    std::map<std::string, SState> Snapshot() const;

    std::vector<std::string> m_roots;
    std::vector<std::string> m_skip;
    std::map<std::string, SState> m_start;
};

} // namespace tovin::monkey
