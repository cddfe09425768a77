#pragma once
// The per-user settings store: sections of named string and integer values.
//
// Contract shared by every store (the same behaviour tests run against each):
// - Section and key names are case-sensitive and hold no '/' or '\\'.
// - A missing value reads as the caller's default; a stored empty string is a value.
// - Integers are kept as decimal text, so an integer reads back as a string ("42") and a string
//   holding a number reads back as an integer. Text that is not a whole number within 32 bits
//   reads as the default (see ParseStoredInt).
// - Writes may be buffered until Flush, which makes them durable.

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace tovin {

class CSettingsStore {
public:
    virtual ~CSettingsStore() = default;

    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const = 0;
    virtual int GetInt(const std::string& section, const std::string& key,
                       int defaultValue) const = 0;
    virtual bool Exists(const std::string& section, const std::string& key) const = 0;

    virtual void SetString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
    virtual void SetInt(const std::string& section, const std::string& key, int value) = 0;

    // Writes what is still buffered. Empty on success, else a sentence naming the store and
    // the reason; the values stay readable from this store object either way.
    virtual std::string Flush() = 0;
};

// The integer a stored text stands for: an optional sign and decimal digits, nothing else.
// Values from 2^31 to 2^32-1 wrap to negative numbers, as a 32-bit unsigned registry value
// read into a signed integer does; anything beyond 32 bits is no integer.
std::optional<int> ParseStoredInt(const std::string& text);

// A store that lives only in memory: for tests, and for runs that must not touch the user's file.
class CMemorySettingsStore : public CSettingsStore {
public:
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) const override;
    int GetInt(const std::string& section, const std::string& key, int defaultValue) const override;
    bool Exists(const std::string& section, const std::string& key) const override;
    void SetString(const std::string& section, const std::string& key,
                   const std::string& value) override;
    void SetInt(const std::string& section, const std::string& key, int value) override;
    std::string Flush() override { return {}; }

    // Number of values held, over all sections.
    size_t Size() const { return m_values.size(); }

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};

} // namespace tovin
