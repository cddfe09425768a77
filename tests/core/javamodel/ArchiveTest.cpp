#include "core/javamodel/Archive.h"
#include "core/javamodel/ModelArchive.h"

#include "ArchiveBytes.h"

#include <gtest/gtest.h>

using namespace tovin;
using namespace tovin::test;

namespace {

std::string Written(std::string_view text) {
    CArchiveWriter out;
    out.WriteString(text);
    return out.Bytes();
}

CArchiveError::EKind FailureOf(const std::string& bytes) {
    CArchiveReader in(bytes);
    try {
        in.ReadString();
    } catch (const CArchiveError& error) {
        return error.Kind();
    }
    ADD_FAILURE() << "read did not fail: " << Hex(bytes);
    return CArchiveError::EKind::Damaged;
}

} // namespace

TEST(Archive, StringLengthPrefixes) {
    struct Row {
        const char* name;
        size_t length;
        std::string prefix;
    };
    const Row rows[] = {
        {"empty", 0, Bytes({0x00})},
        {"254 bytes: one byte", 254, Bytes({0xFE})},
        {"255 bytes: 0xFF and 16 bits", 255, Bytes({0xFF, 0xFF, 0x00})},
        {"65533 bytes: the last 16-bit length", 65533, Bytes({0xFF, 0xFD, 0xFF})},
        {"65534 bytes: 32 bits, as 0xFFFE marks wide text", 65534,
         Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {"70000 bytes", 70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const auto& row : rows) {
        const std::string text(row.length, 'x');
        const std::string bytes = Written(text);
        EXPECT_EQ(Hex(bytes.substr(0, row.prefix.size())), Hex(row.prefix)) << row.name;
        EXPECT_EQ(bytes.size(), row.prefix.size() + row.length) << row.name;
        CArchiveReader in(bytes);
        EXPECT_EQ(in.ReadString(), text) << row.name;
        EXPECT_TRUE(in.AtEnd()) << row.name;
    }
}

TEST(Archive, IntegersAreLittleEndian) {
    CArchiveWriter out;
    out.WriteInt32(12);
    out.WriteInt32(-2);
    out.WriteUInt16(0x1234);
    EXPECT_EQ(Hex(out.Bytes()), Hex(Bytes({12, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0x34, 0x12})));
    CArchiveReader in(out.Bytes());
    EXPECT_EQ(in.ReadInt32(), 12);
    EXPECT_EQ(in.ReadInt32(), -2);
    EXPECT_EQ(in.ReadUInt16(), 0x1234);
}

TEST(Archive, CompactCount) {
    struct Row {
        std::uint32_t count;
        std::string bytes;
    };
    const Row rows[] = {
        {0, Bytes({0x00, 0x00})},
        {65534, Bytes({0xFE, 0xFF})},
        {65535, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
        {0x12345678, Bytes({0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12})},
    };
    for (const auto& row : rows) {
        CArchiveWriter out;
        out.WriteCount(row.count);
        EXPECT_EQ(Hex(out.Bytes()), Hex(row.bytes)) << row.count;
        CArchiveReader in(row.bytes);
        EXPECT_EQ(in.ReadCount(), row.count);
    }
}

TEST(Archive, WideStringsAreReadAsUtf8) {
    struct Row {
        const char* name;
        std::string bytes;
        std::string text;
    };
    const Row rows[] = {
        {"ASCII", Bytes({0xFF, 0xFE, 0xFF, 0x02, 'h', 0, 'i', 0}), "hi"},
        {"empty", Bytes({0xFF, 0xFE, 0xFF, 0x00}), ""},
        {"Latin and Greek", Bytes({0xFF, 0xFE, 0xFF, 0x02, 0xE9, 0x00, 0xA9, 0x03}),
         "\xC3\xA9\xCE\xA9"},
        {"euro sign", Bytes({0xFF, 0xFE, 0xFF, 0x01, 0xAC, 0x20}), "\xE2\x82\xAC"},
        {"surrogate pair", Bytes({0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x00, 0xDE}),
         "\xF0\x9F\x98\x80"},
        {"lone high surrogate", Bytes({0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 'a', 0}),
         "\xEF\xBF\xBD"
         "a"},
        {"lone low surrogate at the end", Bytes({0xFF, 0xFE, 0xFF, 0x01, 0x00, 0xDE}),
         "\xEF\xBF\xBD"},
        {"16-bit character count", Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x01, 0x00, 'x', 0}), "x"},
        {"32-bit character count",
         Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 'y', 0}), "y"},
    };
    for (const auto& row : rows) {
        CArchiveReader in(row.bytes);
        EXPECT_EQ(in.ReadString(), row.text) << row.name;
        EXPECT_TRUE(in.AtEnd()) << row.name;
    }
}

TEST(Archive, TruncatedValuesFailAsEndOfData) {
    const std::string rows[] = {
        Bytes({}),
        Bytes({0x03, 'a', 'b'}),
        Bytes({0xFF, 0x00}),
        Bytes({0xFF, 0xFF, 0x01}),
        Bytes({0xFF, 0xFF, 0x00, 0x01, 0x00, 0x00, 'x'}),
        Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), // 4 GB claimed, nothing allocated
        Bytes({0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b'}),
        Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}),
    };
    for (const auto& bytes : rows) {
        EXPECT_EQ(FailureOf(bytes), CArchiveError::EKind::EndOfData) << Hex(bytes);
    }
}

TEST(ModelArchive, FunctionRecordIsPositionThenName) {
    CJavaFunction function("f()", 12);
    CArchiveWriter out;
    WriteRecord(out, function);
    EXPECT_EQ(Hex(out.Bytes()), Hex(Bytes({12, 0, 0, 0, 3, 'f', '(', ')'})));

    CJavaFunction read;
    CArchiveReader in(out.Bytes());
    ReadRecord(in, read);
    EXPECT_EQ(read.GetName(), "f()");
    EXPECT_EQ(read.GetPosition(), 12);
}

TEST(ModelArchive, ClassRecordStoresInnerClassesAndNameOnly) {
    CJavaClass cls("Outer", 100);
    cls.AddMethod("run()", 120);
    cls.InnerClasses().Add(std::make_unique<CJavaClass>("In", 140));
    CArchiveWriter out;
    WriteRecord(out, cls);
    const std::string expected = Bytes({0, 0,           // no extra strings
                                        1, 0,   0,   0, // one inner class:
                                        0, 0,           //   no extra strings
                                        0, 0,   0,   0, //   no inner classes
                                        2, 'I', 'n', 5, 'O', 'u', 't', 'e', 'r'});
    EXPECT_EQ(Hex(out.Bytes()), Hex(expected));

    CJavaClass read;
    CArchiveReader in(expected);
    ReadRecord(in, read);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(read.GetName(), "Outer");
    EXPECT_EQ(read.GetPosition(), 0);
    EXPECT_EQ(read.Methods().GetCount(), 0);
    ASSERT_EQ(read.InnerClasses().GetCount(), 1);
    EXPECT_EQ(read.InnerClasses().Item(0)->GetName(), "In");
}

TEST(ModelArchive, ExtraStringsOfAClassAreKept) {
    const std::string bytes = Bytes({2, 0, 1, 'a', 2, 'b', 'c', 0, 0, 0, 0, 1, 'K'});
    CJavaClass cls;
    CArchiveReader in(bytes);
    ReadRecord(in, cls);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(cls.ExtraStrings(), (std::vector<std::string>{"a", "bc"}));
    EXPECT_EQ(cls.GetName(), "K");
    CArchiveWriter out;
    WriteRecord(out, cls);
    EXPECT_EQ(Hex(out.Bytes()), Hex(bytes));
}

TEST(ModelArchive, FileRecordsKeepTheStoredStringsAsTheyAre) {
    // A project written on Windows: the paths keep their backslashes.
    const std::string bytes = Str("A.java") + Str("C:\\p\\A.java") + Str("C:\\x.jpr") +
                              Bytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 0}) + Str("App") + Str("com");
    CJavaFile file;
    CArchiveReader in(bytes);
    ReadRecord(in, file);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(file.GetFileName(), "A.java");
    EXPECT_EQ(file.GetFullPath(), "C:\\p\\A.java");
    EXPECT_EQ(file.GetProjectPath(), "C:\\x.jpr");
    EXPECT_EQ(file.GetPackage(), "com");
    ASSERT_EQ(file.Classes().GetCount(), 1);
    EXPECT_EQ(file.Classes().Item(0)->GetName(), "App");
    CArchiveWriter out;
    WriteRecord(out, file);
    EXPECT_EQ(Hex(out.Bytes()), Hex(bytes));
}

TEST(ModelArchive, ListCountsOutsideTheCapacityAreDamage) {
    struct Row {
        const char* name;
        std::string bytes;
    };
    const Row rows[] = {
        {"256", Bytes({0x00, 0x01, 0, 0})},
        {"negative", Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
        {"huge", Bytes({0xFF, 0xFF, 0xFF, 0x7F})},
    };
    for (const auto& row : rows) {
        CJavaClassList list;
        CArchiveReader in(row.bytes);
        try {
            ReadRecord(in, list);
            ADD_FAILURE() << row.name;
        } catch (const CArchiveError& error) {
            EXPECT_EQ(error.Kind(), CArchiveError::EKind::Damaged) << row.name;
            EXPECT_NE(std::string(error.what()).find("at byte 0"), std::string::npos)
                << error.what();
        }
    }
}

TEST(ModelArchive, ListOf255EntriesReadsBack) {
    CJavaFunctionList list;
    for (int i = 0; i < kJavaListCapacity; ++i) {
        list.Add(std::make_unique<CJavaFunction>("f" + std::to_string(i), i));
    }
    CArchiveWriter out;
    WriteRecord(out, list);
    EXPECT_EQ(Hex(out.Bytes().substr(0, 4)), Hex(Bytes({255, 0, 0, 0})));
    CJavaFunctionList read;
    read.Add(std::make_unique<CJavaFunction>("stale", 0));
    CArchiveReader in(out.Bytes());
    ReadRecord(in, read);
    ASSERT_EQ(read.GetCount(), 255);
    EXPECT_EQ(read.Item(254)->GetName(), "f254");
    EXPECT_EQ(read.Item(254)->GetPosition(), 254);
}

TEST(ModelArchive, DeepNestingIsDamageNotAStackOverflow) {
    // Each level: no extra strings, one inner class.
    std::string bytes;
    for (int i = 0; i < 100000; ++i) {
        bytes += Bytes({0, 0, 1, 0, 0, 0});
    }
    CJavaClass cls;
    CArchiveReader in(bytes);
    try {
        ReadRecord(in, cls);
        ADD_FAILURE() << "deep nesting was accepted";
    } catch (const CArchiveError& error) {
        EXPECT_EQ(error.Kind(), CArchiveError::EKind::Damaged);
    }
}

TEST(ModelArchive, NestingWithinTheLimitReads) {
    const int depth = CArchiveReader::kMaxDepth;
    std::string bytes;
    for (int i = 1; i < depth; ++i) {
        bytes += Bytes({0, 0, 1, 0, 0, 0});
    }
    bytes += Bytes({0, 0, 0, 0, 0, 0});
    for (int i = 0; i < depth; ++i) {
        bytes += Bytes({1, 'C'});
    }
    CJavaClass cls;
    CArchiveReader in(bytes);
    ReadRecord(in, cls);
    EXPECT_TRUE(in.AtEnd());
    int levels = 1;
    for (const CJavaClass* c = &cls; c->InnerClasses().GetCount() == 1;
         c = c->InnerClasses().Item(0)) {
        ++levels;
    }
    EXPECT_EQ(levels, depth);
}
