#include "app/RecentFileList.h"

#include <QSettings>
#include <algorithm>

namespace tovin {

namespace {

constexpr const char* kGroup = "Recent File List";
constexpr int kLongestShownPath = 60;

} // namespace

CRecentFileList::CRecentFileList(QString settingsFile) : m_settingsFile(std::move(settingsFile)) {
    if (m_settingsFile.isEmpty()) {
        return;
    }
    QSettings store(m_settingsFile, QSettings::IniFormat);
    store.beginGroup(QLatin1String(kGroup));
    for (int i = 1; i <= kSize; ++i) {
        std::string path = store.value(QStringLiteral("File%1").arg(i)).toString().toStdString();
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

void CRecentFileList::Write() const {
    if (m_settingsFile.isEmpty()) {
        return;
    }
    QSettings store(m_settingsFile, QSettings::IniFormat);
    store.beginGroup(QLatin1String(kGroup));
    for (int i = 1; i <= kSize; ++i) {
        const auto key = QStringLiteral("File%1").arg(i);
        if (i <= static_cast<int>(m_entries.size())) {
            store.setValue(key, QString::fromStdString(m_entries[static_cast<size_t>(i - 1)]));
        } else {
            store.remove(key);
        }
    }
}

QString RecentFileMenuText(int index, const std::string& path) {
    QString shown = QString::fromStdString(path);
    if (shown.size() > kLongestShownPath) {
        // Keep the file name whole and as much of the folder's start as fits.
        const qsizetype slash = shown.lastIndexOf(QLatin1Char('/'));
        const QString tail = slash >= 0 ? shown.mid(slash) : shown;
        const qsizetype room = kLongestShownPath - tail.size() - 3;
        shown = room > 0 ? shown.left(room) + QStringLiteral("...") + tail : QStringLiteral("...") + tail;
    }
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

} // namespace tovin
