#pragma once
// The settings store of the desktop program: an INI file written through QSettings, one group
// per section, integers as plain numbers. QSettings replaces the file atomically and merges
// with changes another running Tovin made to it since it was read. A file it cannot read whole
// is copied to "<file>.damaged" before anything is written to it.

#include "core/app/SettingsStore.h"

#include <memory>

class QSettings;

namespace tovin {

class CIniSettingsStore : public CSettingsStore {
public:
    // The user's file, tovin::ConfigFilePath().
    CIniSettingsStore();
    // Any file (--settings FILE, tests); its folder is created when the first write is flushed.
    explicit CIniSettingsStore(const std::string& filePath);
    ~CIniSettingsStore() override;
    CIniSettingsStore(const CIniSettingsStore&) = delete;
    CIniSettingsStore& operator=(const CIniSettingsStore&) = delete;

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const override;
    int GetInt(const std::string& section, const std::string& key, int defaultValue) const override;
    bool Exists(const std::string& section, const std::string& key) const override;
    void SetString(const std::string& section, const std::string& key,
                   const std::string& value) override;
    void SetInt(const std::string& section, const std::string& key, int value) override;
    std::string Flush() override;

    const std::string& FilePath() const { return m_filePath; }
    // Where a copy of the file was kept because it could not be read whole; empty when it
    // could (or the copy could not be made).
    const std::string& DamagedCopyPath() const { return m_damagedCopyPath; }

private:
    std::optional<std::string> Read(const std::string& section, const std::string& key) const;
    void PreserveDamagedFile();

    std::string m_filePath;
    std::string m_damagedCopyPath;
    std::unique_ptr<QSettings> m_settings;
};

} // namespace tovin
