#pragma once
// The Tip of the Day's reading of the tips file: one tip per line, comment and indented lines
// skipped, the position of the next tip remembered in the Tip section of the settings store.
//
// A tips object lives for one showing (or one start-up check). Creating it reads the first
// tip, so even a start-up that shows nothing moves on by one tip; destroying it stores where
// the next tip starts. A file replaced since the position was stored (another time stamp)
// starts again at its first tip.

#include <cstdio>
#include <string>

namespace tovin {

class CSettingsStore;
class CUiHost;

// Lines are read in pieces of at most this many bytes; a longer line gives several tips.
inline constexpr int kMaxTipPiece = 999;

inline constexpr const char* kTipsFileMissingText =
    "The tips file is missing from the Tovin application folder.";
inline constexpr const char* kTipsTroubleText = "Trouble reading the tips file";

// The tips file of a data folder: <data>/help/tips.dat.
std::string TipsFilePath(const std::string& dataFolder);

class CTipOfTheDay {
public:
    // Reads StartUp and FilePos, opens the file and reads the first tip. A failed seek is
    // told through the host ("Trouble reading the tips file").
    CTipOfTheDay(CSettingsStore& store, CUiHost& host, const std::string& tipsPath);
    // Writes the read position to FilePos when the file was open.
    ~CTipOfTheDay();
    CTipOfTheDay(const CTipOfTheDay&) = delete;
    CTipOfTheDay& operator=(const CTipOfTheDay&) = delete;

    bool ShowAtStartup() const { return m_showAtStartup; }
    void SetShowAtStartup(bool show) { m_showAtStartup = show; }
    bool HasFile() const { return m_file != nullptr; }
    // The current tip without its line end; empty when the file holds no tip line at all.
    const std::string& Tip() const { return m_tip; }

    // Moves on to the next tip line, from the top again after the last one. A file without
    // any tip line gives an empty tip after one pass instead of reading for ever.
    void NextTip();
    // The dialog closed with Close: StartUp = 0 when tips are to show at start-up, else 1.
    void StoreShowAtStartup();

private:
    CSettingsStore& m_store;
    CUiHost& m_host;
    std::FILE* m_file = nullptr;
    bool m_showAtStartup = true;
    std::string m_tip;
};

} // namespace tovin
