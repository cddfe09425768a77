#include "core/app/TipOfTheDay.h"

#include "core/app/Settings.h"
#include "core/app/UiHost.h"
#include "core/platform/Files.h"

#include <climits>

namespace tovin {

namespace {

bool IsSkippedLine(const char* line) {
    return line[0] == ' ' || line[0] == '\t' || line[0] == '\n' || line[0] == '\r' ||
           line[0] == ';';
}

std::string WithoutLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

} // namespace

std::string TipsFilePath(const std::string& dataFolder) {
    return dataFolder + "/help/tips.dat";
}

CTipOfTheDay::CTipOfTheDay(CSettingsStore& store, CUiHost& host, const std::string& tipsPath)
    : m_store(store), m_host(host) {
    const STipSettings settings = ReadTipSettings(store);
    m_showAtStartup = settings.startUp == 0;
    m_file = std::fopen(tipsPath.c_str(), "rb");
    if (!m_file) {
        m_tip = kTipsFileMissingText;
        return;
    }
    long position = settings.filePos;
    const std::string stamp = StatusChangeTimeText(tipsPath);
    if (stamp != settings.timeStamp) {
        position = 0;
        (void)WriteTipTimeStamp(store, stamp);
    }
    if (std::fseek(m_file, position, SEEK_SET) != 0) {
        m_host.MessageBox(kTipsTroubleText, "Tovin", EMsgButtons::Ok, EMsgIcon::Warning);
        return;
    }
    NextTip();
}

CTipOfTheDay::~CTipOfTheDay() {
    if (m_file) {
        const long position = std::ftell(m_file);
        if (position >= 0 && position <= INT_MAX) {
            (void)WriteTipFilePos(m_store, static_cast<int>(position));
        }
        std::fclose(m_file);
    }
}

void CTipOfTheDay::NextTip() {
    if (!m_file) {
        return;
    }
    char piece[kMaxTipPiece + 1];
    // Reaching the end twice in one search means the whole file was read without a tip line.
    int endsReached = 0;
    for (;;) {
        if (!std::fgets(piece, sizeof piece, m_file)) {
            if (++endsReached > 1) {
                m_tip.clear();
                return;
            }
            std::clearerr(m_file);
            if (std::fseek(m_file, 0, SEEK_SET) != 0) {
                m_host.MessageBox(kTipsTroubleText, "Tovin", EMsgButtons::Ok, EMsgIcon::Warning);
                m_tip.clear();
                return;
            }
            continue;
        }
        if (!IsSkippedLine(piece)) {
            m_tip = WithoutLineEnd(piece);
            return;
        }
    }
}

void CTipOfTheDay::StoreShowAtStartup() {
    (void)WriteTipStartUp(m_store, m_showAtStartup ? 0 : 1);
}

} // namespace tovin
