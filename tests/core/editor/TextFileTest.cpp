#include "core/editor/TextFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tovin;
using namespace tovin::test;

namespace {

struct SStyleRow {
    const char* name;
    std::string bytes;
    ELineEndStyle expected;
};

class LineEndDetection : public ::testing::TestWithParam<SStyleRow> {};

TEST_P(LineEndDetection, MostFrequentBreakWins) {
    EXPECT_EQ(DetectLineEndStyle(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LineEndDetection,
    ::testing::Values(SStyleRow{"NoBreakIsLf", "abc", ELineEndStyle::Lf},
                      SStyleRow{"Lf", "a\nb\n", ELineEndStyle::Lf},
                      SStyleRow{"CrLf", "a\r\nb\r\n", ELineEndStyle::CrLf},
                      SStyleRow{"Cr", "a\rb\r", ELineEndStyle::Cr},
                      SStyleRow{"CrLfPairIsNotACrAndAnLf", "a\r\nb\r\nc\n", ELineEndStyle::CrLf},
                      SStyleRow{"MixedMostlyCr", "a\rb\rc\r\nd\n", ELineEndStyle::Cr},
                      SStyleRow{"TieGoesToLf", "a\r\nb\n", ELineEndStyle::Lf},
                      SStyleRow{"TieOfCrLfAndCrGoesToCrLf", "a\r\nb\r", ELineEndStyle::CrLf},
                      SStyleRow{"LfCrIsTwoBreaks", "a\n\rb\n\r", ELineEndStyle::Lf}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextFileConversion, EveryBreakBecomesCrLfAndBack) {
    EXPECT_EQ(ToCrLf("a\nb\rc\r\nd\n\re"), "a\r\nb\r\nc\r\nd\r\n\r\ne");
    EXPECT_EQ(ToCrLf("\r"), "\r\n");
    EXPECT_EQ(FromCrLf("a\r\nb\r\n", ELineEndStyle::Lf), "a\nb\n");
    EXPECT_EQ(FromCrLf("a\r\nb\r\n", ELineEndStyle::Cr), "a\rb\r");
    // Stray breaks that reach the control (a paste without conversion) follow the style too.
    EXPECT_EQ(FromCrLf("a\nb\rc\r\n", ELineEndStyle::CrLf), "a\r\nb\r\nc\r\n");
}

struct SUtf8Row {
    const char* name;
    std::string bytes;
    bool valid;
};

class Utf8Validation : public ::testing::TestWithParam<SUtf8Row> {};

TEST_P(Utf8Validation, StrictForms) {
    EXPECT_EQ(IsValidUtf8(GetParam().bytes), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Rows, Utf8Validation,
                         ::testing::Values(SUtf8Row{"Ascii", "class A {}", true},
                                           SUtf8Row{"TwoByte", "gr\xC3\xBC\xC3\x9F", true},
                                           SUtf8Row{"ThreeByte", "\xE2\x82\xAC", true},
                                           SUtf8Row{"FourByte", "\xF0\x9F\x98\x80", true},
                                           SUtf8Row{"Latin1", "gr\xFC\xDF", false},
                                           SUtf8Row{"TruncatedAtEnd", "ab\xE2\x82", false},
                                           SUtf8Row{"OverlongSlash", "\xC0\xAF", false},
                                           SUtf8Row{"OverlongThreeByte", "\xE0\x80\xAF", false},
                                           SUtf8Row{"Surrogate", "\xED\xA0\x80", false},
                                           SUtf8Row{"AboveMax", "\xF4\x90\x80\x80", false},
                                           SUtf8Row{"LoneContinuation", "a\x80", false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct SRoundTripRow {
    const char* name;
    std::string bytes;
    std::string text; // what the editor holds
    ELineEndStyle style;
    bool eightBit;
};

class TextFileRoundTrip : public ::testing::TestWithParam<SRoundTripRow> {};

TEST_P(TextFileRoundTrip, UntouchedFileSavesByteIdentical) {
    const auto& row = GetParam();
    CTempDir dir;
    std::string path = dir.Write("File.java", row.bytes);
    CTextFile file;
    ASSERT_EQ(file.Load(path), "");
    EXPECT_EQ(file.Text(), row.text);
    EXPECT_EQ(file.LineEnd(), row.style);
    EXPECT_EQ(file.IsEightBit(), row.eightBit);
    ASSERT_EQ(file.Save(path, file.Text()), "");
    EXPECT_EQ(ReadFile(path), row.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TextFileRoundTrip,
    ::testing::Values(
        SRoundTripRow{"Empty", "", "", ELineEndStyle::Lf, false},
        SRoundTripRow{"Lf", "a\nb\n", "a\r\nb\r\n", ELineEndStyle::Lf, false},
        SRoundTripRow{"CrLf", "a\r\nb", "a\r\nb", ELineEndStyle::CrLf, false},
        SRoundTripRow{"Cr", "a\rb\r", "a\r\nb\r\n", ELineEndStyle::Cr, false},
        SRoundTripRow{"Mixed", "a\rb\nc\r\nd\r", "a\r\nb\r\nc\r\nd\r\n", ELineEndStyle::Cr, false},
        SRoundTripRow{"Latin1", "// gr\xFC\xDF\n", "// gr\xC3\xBC\xC3\x9F\r\n", ELineEndStyle::Lf,
                      true},
        SRoundTripRow{"Utf8WithMark", "\xEF\xBB\xBFx\n", "x\r\n", ELineEndStyle::Lf, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextFile, EditedTextIsWrittenInTheFilesOwnStyle) {
    struct SRow {
        const char* name;
        std::string bytes;
        std::string edited;
        std::string expected;
    };
    const SRow rows[] = {
        {"Lf", "a\nb\n", "a\r\nb\r\nc", "a\nb\nc"},
        {"Cr", "a\rb\r", "x\r\ny", "x\ry"},
        {"MixedTakesItsMostFrequent", "a\nb\nc\r\n", "a\r\nb\r\nc\r\nd", "a\nb\nc\nd"},
        {"Latin1BytesStay", "\xE9t\xE9\n", "\xC3\xA9t\xC3\xA9!\r\n", "\xE9t\xE9!\n"},
        {"MarkIsKept", "\xEF\xBB\xBFx\r\n", "y\r\n", "\xEF\xBB\xBFy\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CTempDir dir;
        std::string path = dir.Write("f.txt", row.bytes);
        CTextFile file;
        ASSERT_EQ(file.Load(path), "");
        ASSERT_EQ(file.Save(path, row.edited), "");
        EXPECT_EQ(ReadFile(path), row.expected);
    }
}

TEST(TextFile, ConvertedLinebreaksAreWrittenAsCrLfEvenWhenTheTextIsUnchanged) {
    // The second file is mostly CR LF already, so converting leaves its style as it was.
    for (const std::string bytes : {"a\nb\rc\n", "a\r\nb\r\nc\nd\r\n"}) {
        SCOPED_TRACE(bytes);
        CTempDir dir;
        std::string path = dir.Write("f.txt", bytes);
        CTextFile file;
        ASSERT_EQ(file.Load(path), "");
        file.SetLineEnd(ELineEndStyle::CrLf);
        ASSERT_EQ(file.Save(path, file.Text()), "");
        EXPECT_EQ(ReadFile(path), ToCrLf(bytes));
        EXPECT_EQ(file.LineEnd(), ELineEndStyle::CrLf);
    }
}

TEST(TextFile, NewTextIsWrittenWithTheLinuxLineEnd) {
    CTempDir dir;
    CTextFile file;
    ASSERT_EQ(file.Save(dir.File("New.java"), "class A {\r\n}\r\n"), "");
    EXPECT_EQ(ReadFile(dir.File("New.java")), "class A {\n}\n");
}

TEST(TextFile, BinaryFileIsRefusedWithAMessageAndNothingChanges) {
    CTempDir dir;
    std::string good = dir.Write("good.txt", "keep\n");
    std::string binary = dir.Write("a.class", std::string("\xCA\xFE\xBA\xBE\0\0\0\x3D", 8));
    CTextFile file;
    ASSERT_EQ(file.Load(good), "");
    std::string error = file.Load(binary);
    EXPECT_NE(error.find("binary"), std::string::npos) << error;
    EXPECT_NE(error.find(binary), std::string::npos) << error;
    EXPECT_EQ(file.Text(), "keep\r\n");
}

TEST(TextFile, UnreadableFileGivesTheSystemReason) {
    CTempDir dir;
    CTextFile file;
    std::string missing = file.Load(dir.File("missing.java"));
    EXPECT_NE(missing.find("No such file"), std::string::npos) << missing;
    std::string folder = file.Load(dir.Path());
    EXPECT_NE(folder.find("directory"), std::string::npos) << folder;
}

TEST(TextFile, FailedSaveKeepsTheOldFileAndTheKnownContent) {
    CTempDir dir;
    std::string path = dir.Write("f.txt", "old\n");
    CTextFile file;
    ASSERT_EQ(file.Load(path), "");
    // A folder in the file's place makes the rename fail whoever runs the test.
    std::string blocked = dir.File("blocked");
    std::filesystem::create_directories(blocked + "/inside");
    std::string error = file.Save(blocked, "new\r\n");
    EXPECT_NE(error.find("Cannot save"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
    EXPECT_EQ(file.CheckDisk(path), CTextFile::EDiskState::Unchanged);
    EXPECT_EQ(ReadFile(path), "old\n");
}

TEST(TextFile, ChangeByAnotherProgramIsReportedOnceAccepted) {
    CTempDir dir;
    std::string path = dir.Write("f.txt", "one\n");
    CTextFile file;
    EXPECT_EQ(file.CheckDisk(path), CTextFile::EDiskState::Unchanged); // never read
    ASSERT_EQ(file.Load(path), "");
    EXPECT_EQ(file.CheckDisk(path), CTextFile::EDiskState::Unchanged);
    ASSERT_EQ(file.Save(path, "two\r\n"), "");
    EXPECT_EQ(file.CheckDisk(path), CTextFile::EDiskState::Unchanged); // our own write
    dir.Write("f.txt", "three\n");
    EXPECT_EQ(file.CheckDisk(path), CTextFile::EDiskState::Changed);
    file.AcceptDiskContent(path);
    EXPECT_EQ(file.CheckDisk(path), CTextFile::EDiskState::Unchanged);
    std::filesystem::remove(path);
    EXPECT_EQ(file.CheckDisk(path), CTextFile::EDiskState::Missing);
}

TEST(TextFile, DecodingRefusesOnlyNulBytes) {
    EXPECT_FALSE(DecodeTextFile(std::string("a\0b", 3)));
    auto decoded = DecodeTextFile("\x01\x7F\xFF\r");
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(decoded->eightBit);
    EXPECT_EQ(decoded->text, "\x01\x7F\xC3\xBF\r\n");
    EXPECT_EQ(EncodeTextFile(decoded->text, decoded->lineEnd, false, true), "\x01\x7F\xFF\r");
}

TEST(TextFile, CharactersAnEightBitFileCannotHold) {
    EXPECT_EQ(CharactersBeyondLatin1("plain \xC3\xA9t\xC3\xA9 \xC3\xBF"),
              std::vector<std::string>{});
    EXPECT_EQ(
        CharactersBeyondLatin1(
            "\xE2\x82\xAC a \xE2\x86\x92 \xE2\x82\xAC \xC4\x80 \xF0\x9F\x98\x80"),
        (std::vector<std::string>{"\xE2\x82\xAC", "\xE2\x86\x92", "\xC4\x80", "\xF0\x9F\x98\x80"}));
}

// A typed euro sign in a Latin-1 file is never written as '?': the save is refused until the
// file is switched to UTF-8, which then writes every character, the old ones included.
TEST(TextFile, EightBitFileWithACharacterBeyondItIsSavedOnlyAsUtf8) {
    CTempDir dir;
    const std::string path = dir.Write("Old.java", "// caf\xE9\n");
    CTextFile file;
    ASSERT_EQ(file.Load(path), "");
    ASSERT_TRUE(file.IsEightBit());
    const std::string edited = "// caf\xC3\xA9 \xE2\x82\xAC"
                               "5\r\n";
    EXPECT_NE(file.Save(path, edited), "");
    EXPECT_EQ(ReadFile(path), "// caf\xE9\n");
    file.SetUtf8();
    EXPECT_FALSE(file.IsEightBit());
    ASSERT_EQ(file.Save(path, edited), "");
    EXPECT_EQ(ReadFile(path), "// caf\xC3\xA9 \xE2\x82\xAC"
                              "5\n");
    CTextFile again;
    ASSERT_EQ(again.Load(path), "");
    EXPECT_EQ(again.Text(), edited);
}

} // namespace
