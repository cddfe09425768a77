#pragma once
// The monkey's world: a temporary folder that holds everything a run may write (the user's
// home, settings, caches, temporary files and the project it works on), and the watch on the
// places outside it that the program could write to by mistake.

#include <cstdint>
#include <filesystem>
#include <functional>
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

// Whether a change to a file of the real home was the run's: the user's desktop goes on while
// the monkey runs, and other programs write there too (a file dialog's QtProject.conf). A file
// counts when it is Tovin's own settings file or, created or changed, its text names the run's
// folder, which only the run can know.
bool WrittenByRun(const std::string& path, const std::string& tovinSettings,
                  const std::string& runRoot);

// What the files below some folders looked like at the start: size and time of each.
class COutsideWatch {
public:
    // `roots` are files or folders; folders named in `skip` (by name) are not entered. A change
    // below one of the `shared` roots counts only when `counts` says so for its path.
    COutsideWatch(std::vector<std::string> roots, std::vector<std::string> skip,
                  std::vector<std::string> shared = {},
                  std::function<bool(const std::string&)> counts = {});
    // Every path created, changed or removed since; empty when none.
    std::vector<std::string> Changes() const;

private:
    struct SState {
        std::uintmax_t size;
        std::filesystem::file_time_type time;
        bool operator==(const SState&) const = default;
    };
    std::map<std::string, SState> Snapshot() const;

    bool Counts(const std::string& path) const;

    std::vector<std::string> m_roots;
    std::vector<std::string> m_skip;
    std::vector<std::string> m_shared;
    std::function<bool(const std::string&)> m_counts;
    std::map<std::string, SState> m_start;
};

} // namespace tovin::monkey
