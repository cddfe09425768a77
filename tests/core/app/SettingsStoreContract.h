#pragma once
// Behaviour every CSettingsStore must show, as a typed test suite. Each store's test executable
// instantiates it with a factory type offering:
//   std::unique_ptr<CSettingsStore> Create();
//   std::unique_ptr<CSettingsStore> Reopen(std::unique_ptr<CSettingsStore> flushed);
// Reopen gives the store a new run of the program would see (the same object for a store that
// lives in memory).

#include "core/app/SettingsStore.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace tovin::test {

template <typename Factory> class SettingsStoreContract : public ::testing::Test {
protected:
    CSettingsStore& Store() { return *m_store; }
    void Reopen() {
        ASSERT_EQ(m_store->Flush(), "");
        m_store = m_factory.Reopen(std::move(m_store));
    }

private:
    Factory m_factory;
    std::unique_ptr<CSettingsStore> m_store = m_factory.Create();
};

TYPED_TEST_SUITE_P(SettingsStoreContract);

TYPED_TEST_P(SettingsStoreContract, MissingValuesReadAsTheCallersDefault) {
    this->Store().SetString("OPTIONS", "FONTNAME", "Courier New");
    EXPECT_EQ(this->Store().GetString("OPTIONS", "JAVAC", "fallback"), "fallback");
    EXPECT_EQ(this->Store().GetInt("OPTIONS", "TABWIDTH", 3), 3);
    EXPECT_EQ(this->Store().GetString("PATHS", "FONTNAME", ""), "");
    EXPECT_FALSE(this->Store().Exists("OPTIONS", "JAVAC"));
    EXPECT_FALSE(this->Store().Exists("PATHS", "FONTNAME"));
}

struct SStringRow {
    const char* name;
    std::string value;
};

TYPED_TEST_P(SettingsStoreContract, StringsComeBackByteForByte) {
    const std::vector<SStringRow> rows = {
        {"empty", ""},
        {"path", "/usr/lib/jvm/java-17-openjdk-amd64"},
        {"surroundingBlanks", "  -g -deprecation  "},
        {"commaList", "a.jar,b.jar, c.jar"},
        {"iniSyntax", "x=1;y=2 # not a comment"},
        {"commentLeader", ";starts like a comment"},
        {"hashLeader", "#starts like a comment"},
        {"sectionLike", "[OPTIONS]"},
        {"quotes", "\"C:\\Program Files\\jdk\" 'single'"},
        {"backslashes", "C:\\jdk1.2.2\\bin\\\\"},
        {"atLeader", "@String(not a variant)"},
        {"percent", "%20%25"},
        {"nonAscii", "/home/j\xC3\xBCrgen/\xE6\x97\xA5\xE6\x9C\xAC.jpr"},
        {"controlCharacters", "line1\nline2\ttab\r"},
        {"long", std::string(5000, 'x') + "/index.html"},
    };
    for (const auto& row : rows) {
        this->Store().SetString("PATHS", row.name, row.value);
    }
    this->Reopen();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(this->Store().Exists("PATHS", row.name));
        EXPECT_EQ(this->Store().GetString("PATHS", row.name, "<missing>"), row.value);
    }
}

TYPED_TEST_P(SettingsStoreContract, IntegersComeBackAndReadAsDecimalText) {
    const std::vector<std::pair<const char*, int>> rows = {
        {"zero", 0},      {"one", 1},       {"minusOne", -1},
        {"max", INT_MAX}, {"min", INT_MIN}, {"keyColor", 14483456},
    };
    for (const auto& [name, value] : rows) {
        this->Store().SetInt("OPTIONS", name, value);
    }
    this->Reopen();
    for (const auto& [name, value] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(this->Store().GetInt("OPTIONS", name, 12345), value);
        EXPECT_EQ(this->Store().GetString("OPTIONS", name, ""), std::to_string(value));
    }
}

TYPED_TEST_P(SettingsStoreContract, TextReadsAsIntegerOnlyWhenItIsAWholeNumber) {
    const std::vector<std::pair<std::string, int>> rows = {
        {"42", 42},    {"-7", -7},  {"", 99},   {"abc", 99},
        {"12abc", 99}, {"1.5", 99}, {" 5", 99}, {"99999999999", 99},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        this->Store().SetString("OPTIONS", "K" + std::to_string(i), rows[i].first);
    }
    this->Reopen();
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("stored text '" + rows[i].first + "'");
        EXPECT_EQ(this->Store().GetInt("OPTIONS", "K" + std::to_string(i), 99), rows[i].second);
    }
}

TYPED_TEST_P(SettingsStoreContract, NamesAreCaseSensitiveAndSectionsSeparate) {
    this->Store().SetString("OPTIONS", "JAVAC", "upper");
    this->Store().SetString("OPTIONS", "javac", "lower");
    this->Store().SetString("options", "JAVAC", "lower section");
    this->Store().SetString("PATHS", "JAVAC", "other section");
    this->Store().SetString("Recent File List", "File1", "/p/a.java");
    this->Reopen();
    EXPECT_EQ(this->Store().GetString("OPTIONS", "JAVAC", ""), "upper");
    EXPECT_EQ(this->Store().GetString("OPTIONS", "javac", ""), "lower");
    EXPECT_EQ(this->Store().GetString("options", "JAVAC", ""), "lower section");
    EXPECT_EQ(this->Store().GetString("PATHS", "JAVAC", ""), "other section");
    EXPECT_EQ(this->Store().GetString("Recent File List", "File1", ""), "/p/a.java");
    EXPECT_FALSE(this->Store().Exists("OPTIONS", "Javac"));
}

TYPED_TEST_P(SettingsStoreContract, LaterWriteReplacesValueAndType) {
    this->Store().SetInt("OPTIONS", "TABWIDTH", 4);
    this->Store().SetString("OPTIONS", "TABWIDTH", "wide");
    this->Store().SetString("OPTIONS", "FONTNAME", "Courier New");
    this->Store().SetInt("OPTIONS", "FONTNAME", 120);
    EXPECT_EQ(this->Store().GetInt("OPTIONS", "TABWIDTH", 3), 3);
    EXPECT_EQ(this->Store().GetString("OPTIONS", "TABWIDTH", ""), "wide");
    EXPECT_EQ(this->Store().GetInt("OPTIONS", "FONTNAME", 0), 120);
    this->Reopen();
    EXPECT_EQ(this->Store().GetString("OPTIONS", "TABWIDTH", ""), "wide");
    EXPECT_EQ(this->Store().GetInt("OPTIONS", "FONTNAME", 0), 120);
}

TYPED_TEST_P(SettingsStoreContract, UnflushedWritesAreReadableAtOnce) {
    this->Store().SetString("OPTIONS", "LASTLAUNCH", "-v input.txt");
    EXPECT_TRUE(this->Store().Exists("OPTIONS", "LASTLAUNCH"));
    EXPECT_EQ(this->Store().GetString("OPTIONS", "LASTLAUNCH", ""), "-v input.txt");
    EXPECT_EQ(this->Store().Flush(), "");
}

REGISTER_TYPED_TEST_SUITE_P(SettingsStoreContract, MissingValuesReadAsTheCallersDefault,
                            StringsComeBackByteForByte, IntegersComeBackAndReadAsDecimalText,
                            TextReadsAsIntegerOnlyWhenItIsAWholeNumber,
                            NamesAreCaseSensitiveAndSectionsSeparate,
                            LaterWriteReplacesValueAndType, UnflushedWritesAreReadableAtOnce);

} // namespace tovin::test
