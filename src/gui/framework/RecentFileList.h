#pragma once
// The File menu's list of recently opened files: at most eight paths, the newest first, kept
// in the settings store's section "Recent File List" as File1 to File8 and written whenever it
// changes, so a crash does not lose it.

#include <QString>
#include <string>
#include <vector>

namespace tovin {

class CSettingsStore;

class CRecentFileList {
public:
    static constexpr int kSize = 8;

    // Reads the list from the store, which must outlive the list.
    explicit CRecentFileList(CSettingsStore& store);

    const std::vector<std::string>& Entries() const { return m_entries; }
    // Puts the path first, removing an equal entry further down.
    void Add(const std::string& path);
    void Remove(int index);

private:
    void Write() const;

    CSettingsStore& m_store;
    std::vector<std::string> m_entries;
};

// The menu text of entry `index`: "&1 " and the path, shortened in the middle when long, with
// each "&" doubled so that it shows.
QString RecentFileMenuText(int index, const std::string& path);

} // namespace tovin
