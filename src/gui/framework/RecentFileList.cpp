#include "gui/framework/RecentFileList.h"

#include "core/app/SettingsStore.h"

#include <algorithm>

namespace tovin {

namespace {

constexpr const char* kSection = "Recent File List";
constexpr int kLongestShownPath = 60;

} // namespace

CRecentFileList::CRecentFileList(CSettingsStore& store) : m_store(store) {
    for (int i = 1; i <= kSize; ++i) {
        std::string path = m_store.GetString(kSection, "File" + std::to_string(i), {});
        if (!path.empty()) {
            m_entries.push_back(path);
        }
    }
}

void CRecentFileList::Add(const std::string& path) {
    if (path.empty()) {
        return;
    }
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), path), m_entries.end());
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > static_cast<size_t>(kSize)) {
        m_entries.resize(kSize);
    }
    Write();
}

void CRecentFileList::Remove(int index) {
    if (index < 0 || index >= static_cast<int>(m_entries.size())) {
        return;
    }
    m_entries.erase(m_entries.begin() + index);
    Write();
}

// Stored entries beyond the list are emptied: the store offers no removal, and an empty entry
// reads as none.
void CRecentFileList::Write() const {
    for (int i = 1; i <= kSize; ++i) {
        const std::string key = "File" + std::to_string(i);
        if (i <= static_cast<int>(m_entries.size())) {
            m_store.SetString(kSection, key, m_entries[static_cast<size_t>(i - 1)]);
        } else if (m_store.Exists(kSection, key)) {
            m_store.SetString(kSection, key, {});
        }
    }
    (void)m_store.Flush(); // a lost recent-file list is no reason to interrupt the user
}

QString RecentFileMenuText(int index, const std::string& path) {
    QString shown = QString::fromStdString(path);
    if (shown.size() > kLongestShownPath) {
        // Keep the file name whole and as much of the folder's start as fits.
        const qsizetype slash = shown.lastIndexOf(QLatin1Char('/'));
        const QString tail = slash >= 0 ? shown.mid(slash) : shown;
        const qsizetype room = kLongestShownPath - tail.size() - 3;
        shown = room > 0 ? shown.left(room) + QStringLiteral("...") + tail
                         : QStringLiteral("...") + tail;
    }
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

} // namespace tovin
