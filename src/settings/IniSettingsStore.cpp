#include "settings/IniSettingsStore.h"

#include "core/platform/Files.h"
#include "core/platform/Paths.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace tovin {

namespace {

QString KeyPath(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

} // namespace

CIniSettingsStore::CIniSettingsStore() : CIniSettingsStore(ConfigFilePath()) {}

CIniSettingsStore::CIniSettingsStore(const std::string& filePath)
    : m_filePath(filePath), m_settings(std::make_unique<QSettings>(QString::fromStdString(filePath),
                                                                   QSettings::IniFormat)) {
    // QSettings parses each section of the file when it is first asked for one of its keys, and
    // only then finds out whether it is damaged; asking for all keys parses them all now.
    (void)m_settings->allKeys();
    if (m_settings->status() == QSettings::FormatError) {
        PreserveDamagedFile();
    }
}

// QSettings keeps what it could parse of a damaged file and drops the rest at its next write;
// the whole file is kept beside it first so nothing the user wrote is lost.
void CIniSettingsStore::PreserveDamagedFile() {
    if (std::optional<std::string> bytes = ReadWholeFile(m_filePath)) {
        m_damagedCopyPath = m_filePath + ".damaged";
        if (!WriteFileAtomic(m_damagedCopyPath, *bytes).empty()) {
            m_damagedCopyPath.clear();
        }
    }
}

CIniSettingsStore::~CIniSettingsStore() = default;

std::optional<std::string> CIniSettingsStore::Read(const std::string& section,
                                                   const std::string& key) const {
    QVariant value = m_settings->value(KeyPath(section, key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    // A hand-written value with unquoted commas comes back as a list; put the text together
    // again rather than lose it (blanks after the commas are gone by then). Values this store
    // writes are quoted and never take this way.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    }
    return value.toString().toStdString();
}

std::string CIniSettingsStore::GetString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) const {
    return Read(section, key).value_or(defaultValue);
}

int CIniSettingsStore::GetInt(const std::string& section, const std::string& key,
                              int defaultValue) const {
    std::optional<std::string> text = Read(section, key);
    if (!text) {
        return defaultValue;
    }
    return ParseStoredInt(*text).value_or(defaultValue);
}

bool CIniSettingsStore::Exists(const std::string& section, const std::string& key) const {
    return m_settings->contains(KeyPath(section, key));
}

void CIniSettingsStore::SetString(const std::string& section, const std::string& key,
                                  const std::string& value) {
    m_settings->setValue(KeyPath(section, key), QString::fromStdString(value));
}

void CIniSettingsStore::SetInt(const std::string& section, const std::string& key, int value) {
    m_settings->setValue(KeyPath(section, key), value);
}

std::string CIniSettingsStore::Flush() {
    m_settings->sync();
    bool written = m_settings->status() == QSettings::NoError;
    // A format error read at the start sticks to the object and hides later access errors, so
    // then the file's writability has to answer.
    if (m_settings->status() == QSettings::FormatError) {
        written = m_settings->isWritable();
    }
    return written ? std::string() : "Cannot write the settings file " + m_filePath + ".";
}

} // namespace tovin
