#include "RecordingSettingsStore.h"
#include "SettingsDump.h"

#include "FakeUiHost.h"
#include "core/app/Settings.h"
#include "core/app/SettingsKeys.h"
#include "core/process/ProcessRunner.h"

#include <gtest/gtest.h>

#include <climits>

namespace tovin::test {
namespace {

const SSettingsDefaults kDefaults{"/opt/detected-jdk", "", "", ""};

std::vector<std::string> Numbered12() {
    std::vector<std::string> paths;
    for (int i = 0; i < 12; ++i) {
        paths.push_back("/p/P" + std::to_string(i) + ".jpr");
    }
    return paths;
}

std::vector<std::string> WithFirst(const std::string& first, std::vector<std::string> rest) {
    rest.insert(rest.begin(), first);
    return rest;
}

TEST(PreferencesTest, WritesEveryPageValueInTheFixedOrderWithItsType) {
    CRecordingSettingsStore store;
    EXPECT_EQ(WritePreferences(CSettings{}, store), "");
    const std::vector<std::string> expected = {
        "set OPTIONS/TABWIDTH int",     "set OPTIONS/FONTNAME string",
        "set OPTIONS/FONTSIZE int",     "set OPTIONS/KEYCOLOR int",
        "set OPTIONS/COMMENTCOLOR int", "set OPTIONS/STRINGCOLOR int",
        "set OPTIONS/TAGCOLOR int",     "set OPTIONS/SPACETABS int",
        "set PATHS/JAVABIN string",     "set OPTIONS/JAVAC string",
        "set OPTIONS/SAVECOMP int",     "set OPTIONS/LOADLAST int",
        "set OPTIONS/SHOWARGS int",     "set OPTIONS/SHOWDROPS int",
        "set PATHS/HELPPATH string",    "set PATHS/MSJAVABIN string",
        "set PATHS/JYTHON string",      "set OPTIONS/DLGFONTNAME string",
        "set OPTIONS/DLGFONTSIZE int",  "set OPTIONS/JAVAOPTIONS string",
        "set OPTIONS/JAVAVERSION int",  "set PATHS/WORKING_DIR string",
        "set PATHS/CLASSPATH string",   "set OPTIONS/LANGSERVER string",
    };
    EXPECT_EQ(store.calls, expected);
    EXPECT_EQ(store.flushCount, 1);
}

TEST(PreferencesTest, PagesShowWholePointsAndStoreTenths) {
    const std::vector<std::pair<int, int>> toPoints = {{95, 9}, {100, 10}, {90, 9},  {9, 0},
                                                       {0, 0},  {240, 24}, {249, 24}};
    for (auto [tenths, points] : toPoints) {
        EXPECT_EQ(TenthsToPoints(tenths), points) << tenths << " tenths";
    }
    const std::vector<std::pair<int, int>> toTenths = {
        {6, 60}, {12, 120}, {24, 240}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}};
    for (auto [points, tenths] : toTenths) {
        EXPECT_EQ(PointsToTenths(points), tenths) << points << " points";
    }
}

// What the Preferences sheet does with the font sizes: show points, store what it shows.
bool ConfirmShownFontSizes(CSettings& edited) {
    edited.fontSize = PointsToTenths(TenthsToPoints(edited.fontSize));
    edited.dlgFontSize = PointsToTenths(TenthsToPoints(edited.dlgFontSize));
    return true;
}

TEST(PreferencesTest, StoredOddTenthsComeBackAsWholePoints) {
    CMemorySettingsStore store;
    store.SetInt(kSectionOptions, kKeyFontSize, 95);
    store.SetInt(kSectionOptions, kKeyDlgFontSize, 125);
    CSettings settings = LoadSettings(store, kDefaults);
    ASSERT_TRUE(RunPreferences(settings, store, ConfirmShownFontSizes).confirmed);
    EXPECT_EQ(settings.fontSize, 90);
    EXPECT_EQ(store.GetInt(kSectionOptions, kKeyFontSize, 0), 90);
    EXPECT_EQ(store.GetInt(kSectionOptions, kKeyDlgFontSize, 0), 120);
}

TEST(PreferencesTest, ConfirmingStoresTheEditedPageValues) {
    CMemorySettingsStore store;
    CSettings settings = LoadSettings(store, kDefaults);
    SPreferencesResult result = RunPreferences(settings, store, [](CSettings& edited) {
        edited.fontSize = PointsToTenths(12);
        edited.tabWidth = 4;
        edited.keyColor = 0x00FF0000;
        edited.classPath = "/lib/a.jar";
        return true;
    });
    EXPECT_TRUE(result.confirmed);
    EXPECT_EQ(result.writeError, "");
    EXPECT_EQ(settings.fontSize, 120);
    EXPECT_EQ(store.GetInt(kSectionOptions, kKeyFontSize, 0), 120);
    EXPECT_EQ(store.GetInt(kSectionOptions, kKeyTabWidth, 0), 4);
    EXPECT_EQ(store.GetInt(kSectionOptions, kKeyKeyColor, 0), 0x00FF0000);
    EXPECT_EQ(store.GetString(kSectionPaths, kKeyClassPath, ""), "/lib/a.jar");
    // The detected JDK folder reaches the store only now.
    EXPECT_EQ(store.GetString(kSectionPaths, kKeyJavaBin, ""), "/opt/detected-jdk");
}

TEST(PreferencesTest, ConfirmingKeepsWhatThePagesDoNotEdit) {
    CRecordingSettingsStore store;
    CSettings settings;
    settings.dlgLeft = 5;
    settings.lastOpen = "/p/A.jpr";
    settings.recentProjects = {"/p/A.jpr"};
    RunPreferences(settings, store, [](CSettings& edited) {
        edited.dlgLeft = 99;
        edited.lastOpen = "/elsewhere.jpr";
        edited.recentProjects.clear();
        return true;
    });
    EXPECT_EQ(settings.dlgLeft, 5);
    EXPECT_EQ(settings.lastOpen, "/p/A.jpr");
    EXPECT_EQ(settings.recentProjects, std::vector<std::string>{"/p/A.jpr"});
    EXPECT_FALSE(store.Exists(kSectionOptions, kKeyDlgLeft));
    EXPECT_FALSE(store.Exists(kSectionOptions, kKeyLastOpen));
}

TEST(PreferencesTest, CancellingWritesNothingAndChangesNoMember) {
    CRecordingSettingsStore store;
    CSettings settings = LoadSettings(store, kDefaults);
    const std::string before = DumpSettings(settings);
    store.calls.clear();
    SPreferencesResult result = RunPreferences(settings, store, [](CSettings& edited) {
        edited.fontSize = 240;
        edited.javaBin = "/changed";
        return false;
    });
    EXPECT_FALSE(result.confirmed);
    EXPECT_EQ(DumpSettings(settings), before);
    EXPECT_EQ(store.calls, std::vector<std::string>{});
    EXPECT_EQ(store.flushCount, 0);
    EXPECT_EQ(store.Size(), 0u);
}

TEST(SingleValueWritersTest, ProcessWindowFontWritesItsTwoKeysOnly) {
    CRecordingSettingsStore store;
    CSettings settings;
    EXPECT_EQ(SaveProcessWindowFont(settings, store, "DejaVu Sans Mono", 105), "");
    EXPECT_EQ(settings.dlgFontName, "DejaVu Sans Mono");
    EXPECT_EQ(settings.dlgFontSize, 105);
    EXPECT_EQ(store.calls, (std::vector<std::string>{"set OPTIONS/DLGFONTNAME string",
                                                     "set OPTIONS/DLGFONTSIZE int"}));
    EXPECT_EQ(store.GetInt(kSectionOptions, kKeyDlgFontSize, 0), 105);
    EXPECT_EQ(store.flushCount, 1);
}

TEST(SingleValueWritersTest, ProcessWindowRectangleGoesToMembersAndStore) {
    CRecordingSettingsStore store;
    CSettings settings;
    EXPECT_EQ(SaveProcessWindowRect(settings, store, -8, 600, 1280, 1024), "");
    EXPECT_EQ(store.calls, (std::vector<std::string>{
                               "set OPTIONS/DLG_LEFT int", "set OPTIONS/DLG_TOP int",
                               "set OPTIONS/DLG_RIGHT int", "set OPTIONS/DLG_BOTTOM int"}));
    CSettings loaded = LoadSettings(store, kDefaults);
    for (const CSettings* s : {&settings, &loaded}) {
        EXPECT_EQ(s->dlgLeft, -8);
        EXPECT_EQ(s->dlgTop, 600);
        EXPECT_EQ(s->dlgRight, 1280);
        EXPECT_EQ(s->dlgBottom, 1024);
    }
}

TEST(SingleValueWritersTest, LastLaunchIsReadFreshFromTheStoreEachTime) {
    CMemorySettingsStore store;
    EXPECT_EQ(ReadLastLaunch(store), "");
    EXPECT_EQ(WriteLastLaunch(store, "-v in.txt"), "");
    EXPECT_EQ(ReadLastLaunch(store), "-v in.txt");
    store.SetString(kSectionOptions, kKeyLastLaunch, "changed elsewhere");
    EXPECT_EQ(ReadLastLaunch(store), "changed elsewhere");
    EXPECT_EQ(LoadSettings(store, kDefaults).javaBin, "/opt/detected-jdk");
}

TEST(SingleValueWritersTest, ArgumentsDialogStoresOnlyAConfirmedText) {
    CMemorySettingsStore store;
    store.SetString(kSectionOptions, kKeyLastLaunch, "old args");
    CFakeUiHost host;
    host.argumentAnswers = {std::string("new \"quoted\" args"), std::nullopt};

    EXPECT_EQ(AskProgramArguments(host, store), std::optional<std::string>("new \"quoted\" args"));
    EXPECT_EQ(ReadLastLaunch(store), "new \"quoted\" args");

    EXPECT_EQ(AskProgramArguments(host, store), std::nullopt);
    EXPECT_EQ(ReadLastLaunch(store), "new \"quoted\" args");
    EXPECT_EQ(host.argumentRequests, (std::vector<std::string>{"old args", "new \"quoted\" args"}));
}

TEST(SingleValueWritersTest, WindowStateIsOneWhenMaximised) {
    CMemorySettingsStore store;
    EXPECT_EQ(ReadWindowState(store), 0);
    EXPECT_EQ(WriteWindowState(store, true), "");
    EXPECT_EQ(store.GetInt(kSectionSettings, kKeyWindowState, -1), 1);
    EXPECT_EQ(ReadWindowState(store), 1);
    WriteWindowState(store, false);
    EXPECT_EQ(ReadWindowState(store), 0);
}

TEST(SingleValueWritersTest, TipKeysHaveTypedAccessors) {
    CMemorySettingsStore store;
    STipSettings fresh = ReadTipSettings(store);
    EXPECT_EQ(fresh.startUp, 0);
    EXPECT_EQ(fresh.filePos, 0);
    EXPECT_EQ(fresh.timeStamp, "");

    WriteTipStartUp(store, 1);
    WriteTipFilePos(store, 4711);
    WriteTipTimeStamp(store, "Mon Jan  6 10:00:00 2003");
    EXPECT_EQ(store.GetInt(kSectionTip, "StartUp", -1), 1);
    EXPECT_EQ(store.GetInt(kSectionTip, "FilePos", -1), 4711);
    EXPECT_EQ(store.GetString(kSectionTip, "TimeStamp", ""), "Mon Jan  6 10:00:00 2003");
    STipSettings read = ReadTipSettings(store);
    EXPECT_EQ(read.startUp, 1);
    EXPECT_EQ(read.filePos, 4711);
    EXPECT_EQ(read.timeStamp, "Mon Jan  6 10:00:00 2003");

    WriteTipFilePos(store, -20);
    EXPECT_EQ(ReadTipSettings(store).filePos, 0);
}

struct SAddRow {
    const char* name;
    std::vector<std::string> before;
    std::string added;
    std::vector<std::string> after;
};

TEST(RecentProjectsTest, AddingPutsNewPathsFirstAndLeavesKnownOnesInPlace) {
    const std::vector<std::string> four = {"/a.jpr", "/b.jpr", "/c.jpr", "/d.jpr"};
    const std::vector<SAddRow> rows = {
        {"emptyIgnored", four, "", four},
        {"thirdStaysThird", four, "/c.jpr", four},
        {"newBecomesFirst", four, "/e.jpr", {"/e.jpr", "/a.jpr", "/b.jpr", "/c.jpr", "/d.jpr"}},
        {"comparisonIsCaseSensitive",
         four,
         "/C.jpr",
         {"/C.jpr", "/a.jpr", "/b.jpr", "/c.jpr", "/d.jpr"}},
        {"firstIntoEmptyList", {}, "/a.jpr", {"/a.jpr"}},
        {"noUpperBound", Numbered12(), "/new.jpr", WithFirst("/new.jpr", Numbered12())},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CSettings settings;
        settings.recentProjects = row.before;
        AddRecentProject(settings, row.added);
        EXPECT_EQ(settings.recentProjects, row.after);
    }
}

TEST(RecentProjectsTest, RemovingTakesOutTheFirstEqualEntry) {
    CSettings settings;
    settings.recentProjects = {"/a.jpr", "/b.jpr", "/a.jpr"};
    EXPECT_TRUE(RemoveRecentProject(settings, "/a.jpr"));
    EXPECT_EQ(settings.recentProjects, (std::vector<std::string>{"/b.jpr", "/a.jpr"}));
    EXPECT_FALSE(RemoveRecentProject(settings, "/B.jpr"));
}

TEST(RecentProjectsTest, SavingStoresLastOpenAndAtMostTenEntries) {
    CRecordingSettingsStore store;
    CSettings settings;
    settings.recentProjects = Numbered12();
    EXPECT_EQ(SaveLastProject(settings, store, "/p/P0.jpr"), "");

    std::vector<std::string> expected = {"set OPTIONS/LASTOPEN string",
                                         "set OPTIONS/RECENTSIZE int"};
    for (int i = 0; i < 10; ++i) {
        expected.push_back("set OPTIONS/RECENT" + std::to_string(i) + " string");
    }
    EXPECT_EQ(store.calls, expected);
    EXPECT_EQ(settings.lastOpen, "/p/P0.jpr");
    EXPECT_EQ(store.GetString(kSectionOptions, kKeyLastOpen, ""), "/p/P0.jpr");
    EXPECT_EQ(store.GetInt(kSectionOptions, kKeyRecentSize, 0), 10);
    EXPECT_EQ(store.GetString(kSectionOptions, "RECENT9", ""), "/p/P9.jpr");
    EXPECT_EQ(settings.recentProjects.size(), 12u);
}

TEST(RecentProjectsTest, ShorterListLeavesOldKeysThatAreNeverReadBack) {
    CMemorySettingsStore store;
    CSettings settings;
    settings.recentProjects = {"/1.jpr", "/2.jpr", "/3.jpr"};
    SaveLastProject(settings, store, "/1.jpr");
    settings.recentProjects = {"/9.jpr"};
    SaveLastProject(settings, store, "");

    EXPECT_EQ(store.GetString(kSectionOptions, kKeyLastOpen, "<missing>"), "");
    EXPECT_EQ(store.GetString(kSectionOptions, "RECENT2", ""), "/3.jpr");
    CSettings loaded = LoadSettings(store, kDefaults);
    EXPECT_EQ(loaded.recentProjects, std::vector<std::string>{"/9.jpr"});
    EXPECT_EQ(loaded.lastOpen, "");
}

TEST(RecentProjectsTest, ClosingAProjectAddsItAndSavesIt) {
    CMemorySettingsStore store;
    CSettings settings;
    settings.recentProjects = {"/a.jpr", "/b.jpr", "/c.jpr"};
    for (const char* closed : {"/c.jpr", "/n.jpr"}) {
        AddRecentProject(settings, closed);
        SaveLastProject(settings, store, closed);
    }
    CSettings loaded = LoadSettings(store, kDefaults);
    EXPECT_EQ(loaded.lastOpen, "/n.jpr");
    EXPECT_EQ(loaded.recentProjects,
              (std::vector<std::string>{"/n.jpr", "/a.jpr", "/b.jpr", "/c.jpr"}));
}

TEST(SettingsRoundTripTest, EverythingWrittenLoadsBackUnchanged) {
    CSettings settings{.javaBin = "/jdk 17",
                       .msJavaBin = "/opt/ant",
                       .jython = "/opt/jython",
                       .helpPath = "/doc/index.html",
                       .classPath = "/a.jar:/b dir",
                       .workingDir = "/w",
                       .javac = "-g -Xlint",
                       .javaOptions = "-ea",
                       .javaVersion = 0,
                       .saveComp = 0,
                       .loadLast = 0,
                       .showArgs = 1,
                       .showDrops = 0,
                       .fontName = "DejaVu Sans Mono",
                       .fontSize = 110,
                       .tabWidth = 4,
                       .spaceTabs = 1,
                       .keyColor = 0x112233,
                       .commentColor = 0x445566,
                       .stringColor = 0x778899,
                       .tagColor = 0xAABBCC,
                       .dlgFontName = "Monospace",
                       .dlgFontSize = 80,
                       .dlgLeft = 1,
                       .dlgTop = 2,
                       .dlgRight = 3,
                       .dlgBottom = 4,
                       .lastOpen = "",
                       .recentProjects = {"/x.jpr", "/y.jpr"},
                       .languageServer = "\"/opt/a server\" --stdio",
                       .checkDelay = 400};
    CMemorySettingsStore store;
    EXPECT_EQ(WritePreferences(settings, store), "");
    SaveProcessWindowRect(settings, store, 1, 2, 3, 4);
    SaveLastProject(settings, store, "/x.jpr");
    EXPECT_EQ(DumpSettings(LoadSettings(store, kDefaults)), DumpSettings(settings));
}

} // namespace
} // namespace tovin::test
