#include "RecordingSettingsStore.h"
#include "SettingsDump.h"

#include "TempDir.h"
#include "core/app/Settings.h"
#include "core/app/SettingsKeys.h"
#include "core/platform/JdkDetection.h"

#include <gtest/gtest.h>

namespace tovin::test {
namespace {

const SSettingsDefaults kDefaults{"/opt/detected-jdk", "/opt/doc/api/index.html", "", ""};

TEST(SettingsLoadTest, FreshStoreGivesTheBuiltInDefaultsAndIsNotWritten) {
    CMemorySettingsStore store;
    CSettings loaded = LoadSettings(store, kDefaults);

    CSettings expected;
    expected.javaBin = "/opt/detected-jdk";
    expected.helpPath = "/opt/doc/api/index.html";
    EXPECT_EQ(DumpSettings(loaded), DumpSettings(expected));
    EXPECT_EQ(expected.fontName, "Courier New");
    EXPECT_EQ(expected.keyColor, 0x00DD0000u); // blue 221
    EXPECT_EQ(expected.tagColor, 0x00001177u); // red 119, green 17
    EXPECT_EQ(store.Size(), 0u);
}

TEST(SettingsLoadTest, StoredJavaBinWinsOverDetectionEvenWhenEmpty) {
    CMemorySettingsStore store;
    store.SetString(kSectionPaths, kKeyJavaBin, "/home/me/jdk");
    EXPECT_EQ(LoadSettings(store, kDefaults).javaBin, "/home/me/jdk");
    EXPECT_EQ(LoadSettings(store).javaBin, "/home/me/jdk");

    store.SetString(kSectionPaths, kKeyJavaBin, "");
    EXPECT_EQ(LoadSettings(store, kDefaults).javaBin, "");

    CMemorySettingsStore fresh;
    EXPECT_EQ(LoadSettings(fresh).javaBin, DetectJdkFolder());
}

TEST(SettingsLoadTest, DetectedAntAndJythonFoldersAreDefaultsAStoredValueOverrides) {
    SSettingsDefaults defaults = kDefaults;
    defaults.antFolder = "/usr/share/ant";
    defaults.jythonFolder = "/usr/share/java";
    CMemorySettingsStore store;
    CSettings loaded = LoadSettings(store, defaults);
    EXPECT_EQ(loaded.msJavaBin, "/usr/share/ant");
    EXPECT_EQ(loaded.jython, "/usr/share/java");
    EXPECT_EQ(store.Size(), 0u);

    store.SetString(kSectionPaths, kKeyMsJavaBin, "/opt/ant");
    store.SetString(kSectionPaths, kKeyJython, "");
    loaded = LoadSettings(store, defaults);
    EXPECT_EQ(loaded.msJavaBin, "/opt/ant");
    EXPECT_EQ(loaded.jython, "");
}

TEST(SettingsLoadTest, ReadsEveryKeyInTheStartUpOrderAndNothingElse) {
    CRecordingSettingsStore store;
    store.SetInt(kSectionOptions, kKeyRecentSize, 2);
    store.calls.clear();
    LoadSettings(store, kDefaults);

    const std::vector<std::string> expected = {
        "get PATHS/JAVABIN",       "get OPTIONS/JAVAC",        "get OPTIONS/JAVAVERSION",
        "get OPTIONS/JAVAOPTIONS", "get OPTIONS/SAVECOMP",     "get OPTIONS/LOADLAST",
        "get OPTIONS/SHOWDROPS",   "get OPTIONS/FONTNAME",     "get OPTIONS/FONTSIZE",
        "get OPTIONS/DLG_LEFT",    "get OPTIONS/DLG_TOP",      "get OPTIONS/DLG_RIGHT",
        "get OPTIONS/DLG_BOTTOM",  "get OPTIONS/LASTOPEN",     "get OPTIONS/DLGFONTNAME",
        "get OPTIONS/DLGFONTSIZE", "get PATHS/MSJAVABIN",      "get PATHS/JYTHON",
        "get PATHS/WORKING_DIR",   "get PATHS/CLASSPATH",      "get PATHS/HELPPATH",
        "get OPTIONS/KEYCOLOR",    "get OPTIONS/COMMENTCOLOR", "get OPTIONS/STRINGCOLOR",
        "get OPTIONS/TAGCOLOR",    "get OPTIONS/SHOWARGS",     "get OPTIONS/TABWIDTH",
        "get OPTIONS/SPACETABS",   "get OPTIONS/LANGSERVER",   "get OPTIONS/CHECKDELAY",
        "get OPTIONS/RECENTSIZE",  "get OPTIONS/RECENT0",      "get OPTIONS/RECENT1",
    };
    EXPECT_EQ(store.calls, expected);
}

TEST(SettingsLoadTest, EveryStoredValueReachesItsMember) {
    CMemorySettingsStore store;
    store.SetString(kSectionPaths, kKeyJavaBin, "/jdk");
    store.SetString(kSectionPaths, kKeyMsJavaBin, "/ant");
    store.SetString(kSectionPaths, kKeyJython, "/jython");
    store.SetString(kSectionPaths, kKeyHelpPath, "/doc/index.html");
    store.SetString(kSectionPaths, kKeyClassPath, "/a.jar:/b");
    store.SetString(kSectionPaths, kKeyWorkingDir, "/work");
    store.SetString(kSectionOptions, kKeyJavac, "-g");
    store.SetString(kSectionOptions, kKeyJavaOptions, "-Xmx64m");
    store.SetInt(kSectionOptions, kKeyJavaVersion, 1);
    store.SetInt(kSectionOptions, kKeySaveComp, 0);
    store.SetInt(kSectionOptions, kKeyLoadLast, 0);
    store.SetInt(kSectionOptions, kKeyShowArgs, 1);
    store.SetInt(kSectionOptions, kKeyShowDrops, 0);
    store.SetString(kSectionOptions, kKeyFontName, "Monospace");
    store.SetInt(kSectionOptions, kKeyFontSize, 95);
    store.SetInt(kSectionOptions, kKeyTabWidth, 8);
    store.SetInt(kSectionOptions, kKeySpaceTabs, 1);
    store.SetInt(kSectionOptions, kKeyKeyColor, 0x010203);
    store.SetInt(kSectionOptions, kKeyCommentColor, 0x040506);
    store.SetInt(kSectionOptions, kKeyStringColor, 0x070809);
    store.SetInt(kSectionOptions, kKeyTagColor, 0xFFFFFF);
    store.SetString(kSectionOptions, kKeyDlgFontName, "Fixed");
    store.SetInt(kSectionOptions, kKeyDlgFontSize, 120);
    store.SetInt(kSectionOptions, kKeyDlgLeft, -10);
    store.SetInt(kSectionOptions, kKeyDlgTop, 20);
    store.SetInt(kSectionOptions, kKeyDlgRight, 630);
    store.SetInt(kSectionOptions, kKeyDlgBottom, 480);
    store.SetString(kSectionOptions, kKeyLastOpen, "/p/App.jpr");
    store.SetInt(kSectionOptions, kKeyRecentSize, 1);
    store.SetString(kSectionOptions, "RECENT0", "/p/App.jpr");
    store.SetString(kSectionOptions, kKeyLanguageServer, "serve --stdio");
    store.SetInt(kSectionOptions, kKeyCheckDelay, 250);

    CSettings expected{.javaBin = "/jdk",
                       .msJavaBin = "/ant",
                       .jython = "/jython",
                       .helpPath = "/doc/index.html",
                       .classPath = "/a.jar:/b",
                       .workingDir = "/work",
                       .javac = "-g",
                       .javaOptions = "-Xmx64m",
                       .javaVersion = 1,
                       .saveComp = 0,
                       .loadLast = 0,
                       .showArgs = 1,
                       .showDrops = 0,
                       .fontName = "Monospace",
                       .fontSize = 95,
                       .tabWidth = 8,
                       .spaceTabs = 1,
                       .keyColor = 0x010203,
                       .commentColor = 0x040506,
                       .stringColor = 0x070809,
                       .tagColor = 0xFFFFFF,
                       .dlgFontName = "Fixed",
                       .dlgFontSize = 120,
                       .dlgLeft = -10,
                       .dlgTop = 20,
                       .dlgRight = 630,
                       .dlgBottom = 480,
                       .lastOpen = "/p/App.jpr",
                       .recentProjects = {"/p/App.jpr"},
                       .languageServer = "serve --stdio",
                       .checkDelay = 250};
    EXPECT_EQ(DumpSettings(LoadSettings(store, kDefaults)), DumpSettings(expected));
}

struct SRepairRow {
    const char* name;
    const char* key;
    std::string stored;
    int expected;
};

TEST(SettingsLoadTest, ValuesNoDialogWritesAndThatWouldBreakTheEditorsAreTakenAsMissing) {
    const std::vector<SRepairRow> rows = {
        {"tabZero", kKeyTabWidth, "0", 3},
        {"tabNegative", kKeyTabWidth, "-4", 3},
        {"tabHuge", kKeyTabWidth, "1000000", 3},
        {"tabJustAbove", kKeyTabWidth, "11", 3},
        {"tabLowest", kKeyTabWidth, "2", 2},
        {"tabHighest", kKeyTabWidth, "10", 10},
        {"tabNotANumber", kKeyTabWidth, "four", 3},
        {"fontZero", kKeyFontSize, "0", 100},
        {"fontNegative", kKeyFontSize, "-120", 100},
        {"fontOddTenths", kKeyFontSize, "95", 95},
        {"fontOnePoint", kKeyFontSize, "10", 10},
        {"fontThousandPoints", kKeyFontSize, "10000", 10000},
        {"fontTooLarge", kKeyFontSize, "10001", 100},
        {"dlgFontTiny", kKeyDlgFontSize, "9", 90},
        {"dlgFontLarge", kKeyDlgFontSize, "360", 360},
        {"checkDelayZero", kKeyCheckDelay, "0", 400},
        {"checkDelayAnHour", kKeyCheckDelay, "3600000", 400},
        {"checkDelayShort", kKeyCheckDelay, "50", 50},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CMemorySettingsStore store;
        store.SetString(kSectionOptions, row.key, row.stored);
        CSettings loaded = LoadSettings(store, kDefaults);
        const std::string key = row.key;
        int actual = key == kKeyTabWidth     ? loaded.tabWidth
                     : key == kKeyFontSize   ? loaded.fontSize
                     : key == kKeyCheckDelay ? loaded.checkDelay
                                             : loaded.dlgFontSize;
        EXPECT_EQ(actual, row.expected);
    }
}

TEST(SettingsLoadTest, ColoursKeepOnlyTheirThreeColourBytes) {
    CMemorySettingsStore store;
    store.SetString(kSectionOptions, kKeyKeyColor, "4294967295"); // 0xFFFFFFFF
    store.SetInt(kSectionOptions, kKeyCommentColor, 0x02123456);
    store.SetString(kSectionOptions, kKeyStringColor, "green");
    CSettings loaded = LoadSettings(store, kDefaults);
    EXPECT_EQ(loaded.keyColor, 0x00FFFFFFu);
    EXPECT_EQ(loaded.commentColor, 0x00123456u);
    EXPECT_EQ(loaded.stringColor, 26112u);
}

TEST(SettingsLoadTest, HelpPathIsKeptWholeBeyondTheOldPathLimit) {
    for (size_t length : {259u, 260u, 300u, 4096u, 10000u}) {
        SCOPED_TRACE(length);
        std::string path = "/" + std::string(length - 12, 'd') + "/index.html";
        ASSERT_EQ(path.size(), length);
        CMemorySettingsStore store;
        store.SetString(kSectionPaths, kKeyHelpPath, path);
        CSettings loaded = LoadSettings(store, kDefaults);
        EXPECT_EQ(loaded.helpPath, path);

        CMemorySettingsStore written;
        ASSERT_EQ(WritePreferences(loaded, written), "");
        EXPECT_EQ(written.GetString(kSectionPaths, kKeyHelpPath, ""), path);
    }
}

TEST(SettingsLoadTest, DefaultHelpPathIsTheDocumentationIndexOnlyWhenItExists) {
    CTempDir dir;
    std::string index = dir.Write("api/index.html", "<html></html>");
    EXPECT_EQ(DefaultHelpPath(index), index);
    EXPECT_EQ(DefaultHelpPath(dir.File("api/missing.html")), "");
}

struct SRecentRow {
    const char* name;
    std::string recentSize;           // stored text; empty: not stored
    std::vector<std::string> entries; // RECENT0.. as stored; "<none>" leaves the key out
    std::vector<std::string> expected;
};

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        paths.push_back("/p/P" + std::to_string(i) + ".jpr");
    }
    return paths;
}

TEST(SettingsLoadTest, RecentProjectsLoadWithinTheStoredCount) {
    const std::vector<SRecentRow> rows = {
        {"noCount", "", {"/a.jpr"}, {}},
        {"countTwentyFiveReadsTen", "25", Numbered(25), Numbered(10)},
        {"countBoundsTheKeysRead", "2", Numbered(5), Numbered(2)},
        {"entryThreeEmpty",
         "5",
         {"/0.jpr", "/1.jpr", "/2.jpr", "", "/4.jpr"},
         {"/0.jpr", "/1.jpr", "/2.jpr", "/4.jpr"}},
        {"entryMissing", "3", {"/0.jpr", "<none>", "/2.jpr"}, {"/0.jpr", "/2.jpr"}},
        {"negativeCount", "-3", Numbered(3), {}},
        {"damagedCount", "many", Numbered(3), {}},
        {"duplicatesKept", "2", {"/a.jpr", "/a.jpr"}, {"/a.jpr", "/a.jpr"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CMemorySettingsStore store;
        if (!row.recentSize.empty()) {
            store.SetString(kSectionOptions, kKeyRecentSize, row.recentSize);
        }
        for (size_t i = 0; i < row.entries.size(); ++i) {
            if (row.entries[i] != "<none>") {
                store.SetString(kSectionOptions, "RECENT" + std::to_string(i), row.entries[i]);
            }
        }
        EXPECT_EQ(LoadRecentProjects(store), row.expected);
        EXPECT_EQ(LoadSettings(store, kDefaults).recentProjects, row.expected);
    }
}

} // namespace
} // namespace tovin::test
