// The settings written one at a time, at the moments other parts of the program choose: the
// Process Window's font and rectangle, the program arguments, the window state, the line
// numbers, the last and recent projects, and the tip of the day's position.

#include "core/app/Settings.h"

#include "core/app/SettingsKeys.h"
#include "core/app/SettingsStore.h"
#include "core/app/UiHost.h"

#include <algorithm>

namespace tovin {

namespace {

std::string RecentKey(int index) {
    return kKeyRecentPrefix + std::to_string(index);
}

} // namespace

std::vector<std::string> LoadRecentProjects(const CSettingsStore& store) {
    int count =
        std::min(store.GetInt(kSectionOptions, kKeyRecentSize, 0), kMaxStoredRecentProjects);
    std::vector<std::string> projects;
    for (int i = 0; i < count; ++i) {
        std::string path = store.GetString(kSectionOptions, RecentKey(i), {});
        if (!path.empty()) {
            projects.push_back(std::move(path));
        }
    }
    return projects;
}

void AddRecentProject(CSettings& settings, const std::string& projectPath) {
    auto& list = settings.recentProjects;
    if (projectPath.empty() || std::find(list.begin(), list.end(), projectPath) != list.end()) {
        return;
    }
    list.insert(list.begin(), projectPath);
}

bool RemoveRecentProject(CSettings& settings, const std::string& projectPath) {
    auto& list = settings.recentProjects;
    auto it = std::find(list.begin(), list.end(), projectPath);
    if (it == list.end()) {
        return false;
    }
    list.erase(it);
    return true;
}

std::string SaveLastProject(CSettings& settings, CSettingsStore& store,
                            const std::string& projectPath) {
    settings.lastOpen = projectPath;
    store.SetString(kSectionOptions, kKeyLastOpen, projectPath);
    int count = static_cast<int>(
        std::min(settings.recentProjects.size(), static_cast<size_t>(kMaxStoredRecentProjects)));
    store.SetInt(kSectionOptions, kKeyRecentSize, count);
    for (int i = 0; i < count; ++i) {
        store.SetString(kSectionOptions, RecentKey(i), settings.recentProjects[i]);
    }
    return store.Flush();
}

std::string SaveProcessWindowFont(CSettings& settings, CSettingsStore& store,
                                  const std::string& faceName, int sizeTenths) {
    settings.dlgFontName = faceName;
    settings.dlgFontSize = sizeTenths;
    store.SetString(kSectionOptions, kKeyDlgFontName, faceName);
    store.SetInt(kSectionOptions, kKeyDlgFontSize, sizeTenths);
    return store.Flush();
}

std::string SaveProcessWindowRect(CSettings& settings, CSettingsStore& store, int left, int top,
                                  int right, int bottom) {
    settings.dlgLeft = left;
    settings.dlgTop = top;
    settings.dlgRight = right;
    settings.dlgBottom = bottom;
    store.SetInt(kSectionOptions, kKeyDlgLeft, left);
    store.SetInt(kSectionOptions, kKeyDlgTop, top);
    store.SetInt(kSectionOptions, kKeyDlgRight, right);
    store.SetInt(kSectionOptions, kKeyDlgBottom, bottom);
    return store.Flush();
}

std::string ReadLastLaunch(const CSettingsStore& store) {
    return store.GetString(kSectionOptions, kKeyLastLaunch, {});
}

std::string WriteLastLaunch(CSettingsStore& store, const std::string& arguments) {
    store.SetString(kSectionOptions, kKeyLastLaunch, arguments);
    return store.Flush();
}

std::optional<std::string> AskProgramArguments(CUiHost& host, CSettingsStore& store) {
    std::optional<std::string> arguments = host.AskArguments(ReadLastLaunch(store));
    if (arguments) {
        // The arguments are used even when they cannot be remembered for next time.
        (void)WriteLastLaunch(store, *arguments);
    }
    return arguments;
}

int ReadWindowState(const CSettingsStore& store) {
    return store.GetInt(kSectionSettings, kKeyWindowState, 0);
}

std::string WriteWindowState(CSettingsStore& store, bool maximised) {
    store.SetInt(kSectionSettings, kKeyWindowState, maximised ? 1 : 0);
    return store.Flush();
}

bool ReadLineNumbers(const CSettingsStore& store) {
    return store.GetInt(kSectionSettings, kKeyLineNumbers, 1) != 0;
}

std::string WriteLineNumbers(CSettingsStore& store, bool shown) {
    store.SetInt(kSectionSettings, kKeyLineNumbers, shown ? 1 : 0);
    return store.Flush();
}

STipSettings ReadTipSettings(const CSettingsStore& store) {
    STipSettings tip;
    tip.startUp = store.GetInt(kSectionTip, kKeyTipStartUp, 0);
    // A negative offset cannot be sought to; the tips start again from the top.
    tip.filePos = std::max(store.GetInt(kSectionTip, kKeyTipFilePos, 0), 0);
    tip.timeStamp = store.GetString(kSectionTip, kKeyTipTimeStamp, {});
    return tip;
}

std::string WriteTipStartUp(CSettingsStore& store, int startUp) {
    store.SetInt(kSectionTip, kKeyTipStartUp, startUp);
    return store.Flush();
}

std::string WriteTipFilePos(CSettingsStore& store, int filePos) {
    store.SetInt(kSectionTip, kKeyTipFilePos, filePos);
    return store.Flush();
}

std::string WriteTipTimeStamp(CSettingsStore& store, const std::string& timeStamp) {
    store.SetString(kSectionTip, kKeyTipTimeStamp, timeStamp);
    return store.Flush();
}

} // namespace tovin
