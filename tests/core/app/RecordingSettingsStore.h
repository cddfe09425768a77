#pragma once
// A memory store that records every read and write as "get SECTION/KEY", "set SECTION/KEY int"
// or "set SECTION/KEY string", so tests can check which keys are touched and in what order.

#include "core/app/SettingsStore.h"

#include <string>
#include <vector>

namespace tovin::test {

class CRecordingSettingsStore : public CMemorySettingsStore {
public:
    mutable std::vector<std::string> calls;
    int flushCount = 0;

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const override {
        calls.push_back("get " + section + "/" + key);
        return CMemorySettingsStore::GetString(section, key, defaultValue);
    }
    int GetInt(const std::string& section, const std::string& key,
               int defaultValue) const override {
        calls.push_back("get " + section + "/" + key);
        return CMemorySettingsStore::GetInt(section, key, defaultValue);
    }
    void SetString(const std::string& section, const std::string& key,
                   const std::string& value) override {
        calls.push_back("set " + section + "/" + key + " string");
        CMemorySettingsStore::SetString(section, key, value);
    }
    void SetInt(const std::string& section, const std::string& key, int value) override {
        calls.push_back("set " + section + "/" + key + " int");
        CMemorySettingsStore::SetInt(section, key, value);
    }
    std::string Flush() override {
        ++flushCount;
        return {};
    }

    // The recorded calls that start with the prefix ("get " or "set ").
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const {
        std::vector<std::string> result;
        for (const auto& call : calls) {
            if (call.rfind(prefix, 0) == 0) {
                result.push_back(call);
            }
        }
        return result;
    }
};

} // namespace tovin::test
