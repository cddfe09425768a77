#include "core/app/SettingsStore.h"

#include <cstdint>

namespace tovin {

std::optional<int> ParseStoredInt(const std::string& text) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size()) {
        return std::nullopt;
    }
    constexpr std::int64_t kLimit = 0xFFFFFFFFLL;
    std::int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLimit) {
            return std::nullopt;
        }
    }
    if (negative) {
        if (magnitude > 0x80000000LL) {
            return std::nullopt;
        }
        return static_cast<int>(-magnitude);
    }
    return static_cast<int>(static_cast<std::uint32_t>(magnitude));
}

std::string CMemorySettingsStore::GetString(const std::string& section, const std::string& key,
                                            const std::string& defaultValue) const {
    auto it = m_values.find({section, key});
    return it == m_values.end() ? defaultValue : it->second;
}

int CMemorySettingsStore::GetInt(const std::string& section, const std::string& key,
                                 int defaultValue) const {
    auto it = m_values.find({section, key});
    if (it == m_values.end()) {
        return defaultValue;
    }
    return ParseStoredInt(it->second).value_or(defaultValue);
}

bool CMemorySettingsStore::Exists(const std::string& section, const std::string& key) const {
    return m_values.count({section, key}) != 0;
}

void CMemorySettingsStore::SetString(const std::string& section, const std::string& key,
                                     const std::string& value) {
    m_values[{section, key}] = value;
}

void CMemorySettingsStore::SetInt(const std::string& section, const std::string& key, int value) {
    m_values[{section, key}] = std::to_string(value);
}

} // namespace tovin
