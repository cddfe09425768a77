#include "core/editor/ColourLanguage.h"
#include "core/editor/KeywordMatcher.h"

#include <gtest/gtest.h>

using namespace tovin;

struct SKeywordListRow {
    const char* name;
    ELanguage language;
    size_t count;
    const char* first;
    const char* tenth;
    const char* last;
};

class KeywordLists : public testing::TestWithParam<SKeywordListRow> {};

TEST_P(KeywordLists, HoldTheLanguagesWordsInOrder) {
    const auto& row = GetParam();
    auto words = SplitKeywordList(GetLanguageRules(row.language).keywordList);
    ASSERT_EQ(words.size(), row.count);
    EXPECT_EQ(words.front(), row.first);
    EXPECT_EQ(words[9], row.tenth);
    EXPECT_EQ(words.back(), row.last);
    EXPECT_EQ(CKeywordMatcher::For(row.language).Keywords(), words);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, KeywordLists,
    testing::Values(SKeywordListRow{"Java", ELanguage::Java, 62, "abstract", "double", "strictfp"},
                    SKeywordListRow{"Html", ELanguage::Html, 109, "a", "bdo", "xmp"},
                    SKeywordListRow{"Xml", ELanguage::Xml, 90, "project", "bzip2", "zip"},
                    SKeywordListRow{"Jython", ELanguage::Jython, 92, "abs", "callable", "zip"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeywordLists, JavaListKeepsItsOwnOrderAndOddWords) {
    auto words = SplitKeywordList(GetLanguageRules(ELanguage::Java).keywordList);
    std::vector<std::string> head(words.begin(), words.begin() + 8);
    EXPECT_EQ(head, (std::vector<std::string>{"abstract", "boolean", "break", "byte", "byvalue",
                                              "case", "cast", "default"}));
    EXPECT_EQ(words[35], "catch"); // after "try", not among the c-words
    EXPECT_EQ(words[57], "volatile");
}

struct SSplitRow {
    const char* name;
    const char* list;
    std::vector<std::string> words;
};

class KeywordSplitting : public testing::TestWithParam<SSplitRow> {};

TEST_P(KeywordSplitting, CutsAtEachSemicolonWhileMoreThanOneCharacterRemains) {
    EXPECT_EQ(SplitKeywordList(GetParam().list), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(Rows, KeywordSplitting,
                         testing::Values(SSplitRow{"Terminated", "a;bc;", {"a", "bc"}},
                                         SSplitRow{"RestWithoutSemicolonIsDropped", "a;bc", {"a"}},
                                         SSplitRow{"SingleCharacterRestStops", "ab;c", {"ab"}},
                                         SSplitRow{"LoneSemicolonIsNotSplit", ";", {}},
                                         SSplitRow{"EmptyPartsAreKept", "a;;b;", {"a", "", "b"}},
                                         SSplitRow{"Empty", "", {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LanguageTable, DiffersWhereTheLanguagesDiffer) {
    const auto& java = GetLanguageRules(ELanguage::Java);
    const auto& html = GetLanguageRules(ELanguage::Html);
    const auto& xml = GetLanguageRules(ELanguage::Xml);
    const auto& jython = GetLanguageRules(ELanguage::Jython);
    EXPECT_EQ(java.wordCharacters, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_");
    EXPECT_EQ(html.wordCharacters, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_$@%&");
    EXPECT_EQ(xml.wordCharacters, html.wordCharacters);
    EXPECT_EQ(jython.wordCharacters, java.wordCharacters);
    EXPECT_TRUE(html.foldCase && xml.foldCase && html.markup && xml.markup);
    EXPECT_FALSE(java.foldCase || jython.foldCase || java.markup || jython.markup);
    EXPECT_EQ(jython.escapeRule, EEscapeRule::Single);
    EXPECT_EQ(java.escapeRule, EEscapeRule::Double);
    EXPECT_EQ(java.lineComment, "//");
    EXPECT_EQ(jython.lineComment, "#");
    EXPECT_EQ(html.blockOpen, "<!--");
    EXPECT_EQ(xml.blockClose, "-->");
    EXPECT_EQ(jython.blockOpen, "");
}

struct SPathRow {
    const char* path;
    std::optional<ELanguage> language;
};

TEST(LanguageFromPath, ChoosesByExtensionInAnyCase) {
    const SPathRow rows[] = {
        {"/src/A.java", ELanguage::Java}, {"B.JAVA", ELanguage::Java},
        {"page.html", ELanguage::Html},   {"page.HTM", ELanguage::Html},
        {"build.xml", ELanguage::Xml},    {"tool.py", ELanguage::Jython},
        {"notes.txt", std::nullopt},      {"/my.dir/Makefile", std::nullopt},
        {"java", std::nullopt},           {"archive.java.bak", std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(LanguageFromPath(row.path), row.language) << row.path;
    }
}
