#include "SettingsStoreContract.h"

#include <optional>

namespace tovin::test {
namespace {

struct SMemoryStoreFactory {
    std::unique_ptr<CSettingsStore> Create() { return std::make_unique<CMemorySettingsStore>(); }
    std::unique_ptr<CSettingsStore> Reopen(std::unique_ptr<CSettingsStore> flushed) {
        return flushed;
    }
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SettingsStoreContract, SMemoryStoreFactory);

namespace {

struct SParseRow {
    const char* name;
    std::string text;
    std::optional<int> expected;
};

TEST(ParseStoredIntTest, AcceptsSignedDecimalWithinThirtyTwoBits) {
    const std::vector<SParseRow> rows = {
        {"zero", "0", 0},
        {"negativeZero", "-0", 0},
        {"plusSign", "+7", 7},
        {"leadingZeros", "007", 7},
        {"intMax", "2147483647", INT_MAX},
        {"intMin", "-2147483648", INT_MIN},
        {"unsignedWrapsLikeARegistryDword", "2147483648", INT_MIN},
        {"allBitsSet", "4294967295", -1},
        {"beyondThirtyTwoBits", "4294967296", std::nullopt},
        {"belowIntMin", "-2147483649", std::nullopt},
        {"manyDigits", "123456789012345678901234567890", std::nullopt},
        {"empty", "", std::nullopt},
        {"signOnly", "-", std::nullopt},
        {"trailingBlank", "1 ", std::nullopt},
        {"leadingBlank", " 1", std::nullopt},
        {"hex", "0x10", std::nullopt},
        {"decimalPoint", "1.0", std::nullopt},
        {"doubleSign", "--1", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ParseStoredInt(row.text), row.expected);
    }
}

} // namespace
} // namespace tovin::test
