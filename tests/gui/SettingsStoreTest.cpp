// The INI settings store against the behaviour every store shows, plus what only a file shows:
// its layout, hand-edited and damaged files, failed writes, and two programs sharing one file.
// Qt Core only, so this runs as a GoogleTest executable with a QCoreApplication.

#include "../core/app/SettingsStoreContract.h"

#include "TempDir.h"
#include "core/app/Settings.h"
#include "core/app/SettingsKeys.h"
#include "settings/IniSettingsStore.h"

#include <QCoreApplication>

namespace tovin::test {
namespace {

// The file lies in a folder that does not exist yet: the first flush creates it.
class CIniStoreFactory {
public:
    std::unique_ptr<CSettingsStore> Create() {
        return std::make_unique<CIniSettingsStore>(m_dir.File("config/Verrimond/Tovin.conf"));
    }
    std::unique_ptr<CSettingsStore> Reopen(std::unique_ptr<CSettingsStore> flushed) {
        flushed.reset();
        return Create();
    }

private:
    CTempDir m_dir;
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Ini, SettingsStoreContract, CIniStoreFactory);

namespace {

const SSettingsDefaults kDefaults{"/opt/detected-jdk", "", "", ""};

TEST(IniSettingsStoreTest, SectionsAreGroupsAndIntegersPlainNumbers) {
    CTempDir dir;
    std::string path = dir.File("Tovin.conf");
    {
        CIniSettingsStore store(path);
        store.SetInt(kSectionOptions, kKeyTabWidth, 3);
        store.SetInt(kSectionOptions, kKeyKeyColor, 14483456);
        store.SetString(kSectionPaths, kKeyJavaBin, "/usr/lib/jvm/default-java");
        store.SetInt(kSectionSettings, kKeyWindowState, 1);
        ASSERT_EQ(store.Flush(), "");
    }
    std::string text = ReadFile(path);
    EXPECT_NE(text.find("[OPTIONS]\nKEYCOLOR=14483456\nTABWIDTH=3\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[PATHS]\nJAVABIN=/usr/lib/jvm/default-java\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[SETTINGS]\nWINDOWSTATE=1\n"), std::string::npos) << text;
}

TEST(IniSettingsStoreTest, HandWrittenFileLoads) {
    CTempDir dir;
    std::string path = dir.Write("Tovin.conf", "; written by hand\n"
                                               "[OPTIONS]\n"
                                               "TABWIDTH = 4\n"
                                               "FONTNAME=Courier New\n"
                                               "KEYCOLOR=255\n"
                                               "RECENTSIZE=2\n"
                                               "RECENT0=/home/me/A.jpr\n"
                                               "RECENT1=/home/me/B.jpr\n"
                                               "[PATHS]\n"
                                               "CLASSPATH=/lib/a.jar,/lib/b.jar\n"
                                               "JAVABIN=/opt/jdk\n");
    CIniSettingsStore store(path);
    CSettings loaded = LoadSettings(store, kDefaults);
    EXPECT_EQ(loaded.tabWidth, 4);
    EXPECT_EQ(loaded.fontName, "Courier New");
    EXPECT_EQ(loaded.keyColor, 255u);
    EXPECT_EQ(loaded.classPath, "/lib/a.jar,/lib/b.jar");
    EXPECT_EQ(loaded.javaBin, "/opt/jdk");
    EXPECT_EQ(loaded.recentProjects,
              (std::vector<std::string>{"/home/me/A.jpr", "/home/me/B.jpr"}));
}

TEST(IniSettingsStoreTest, LoadingNeverRewritesTheFile) {
    CTempDir dir;
    const std::string content = "[OPTIONS]\nTABWIDTH=0004\n\n\n[PATHS]\nJYTHON=/j\n";
    std::string path = dir.Write("Tovin.conf", content);
    {
        CIniSettingsStore store(path);
        CSettings loaded = LoadSettings(store, kDefaults);
        EXPECT_EQ(loaded.tabWidth, 4);
        EXPECT_EQ(loaded.jython, "/j");
        (void)ReadWindowState(store);
        (void)ReadTipSettings(store);
    }
    EXPECT_EQ(ReadFile(path), content);
}

TEST(IniSettingsStoreTest, DamagedFileGivesDefaultsAndIsKeptBeforeItIsRewritten) {
    CTempDir dir;
    const char bytes[] = "\x00\xff\xfe[OPTIONS\n=\n==TABWIDTH\n\x01\x02garbage\n[]\n";
    std::string junk(bytes, sizeof bytes - 1);
    junk += std::string(20, '\xC3');
    std::string path = dir.Write("Tovin.conf", junk);
    {
        CIniSettingsStore store(path);
        CSettings loaded = LoadSettings(store, kDefaults);
        EXPECT_EQ(loaded.tabWidth, 3);
        EXPECT_EQ(loaded.javaBin, "/opt/detected-jdk");
        EXPECT_EQ(loaded.recentProjects, std::vector<std::string>{});
        EXPECT_EQ(store.DamagedCopyPath(), path + ".damaged");
        EXPECT_EQ(WriteWindowState(store, true), "");
    }
    EXPECT_EQ(ReadFile(path + ".damaged"), junk);
    CIniSettingsStore reopened(path);
    EXPECT_EQ(ReadWindowState(reopened), 1);
    EXPECT_EQ(reopened.DamagedCopyPath(), "");
}

TEST(IniSettingsStoreTest, PartlyDamagedFileKeepsWhatCanBeRead) {
    CTempDir dir;
    std::string path = dir.Write("Tovin.conf", "[OPTIONS\nX=1\n[PATHS]\nJYTHON=/opt/jython\n");
    CIniSettingsStore store(path);
    EXPECT_EQ(store.GetString(kSectionPaths, kKeyJython, ""), "/opt/jython");
    EXPECT_EQ(store.DamagedCopyPath(), path + ".damaged");
}

TEST(IniSettingsStoreTest, FailedWriteIsReportedAndValuesStayReadable) {
    CTempDir dir;
    // A folder of the path is a plain file, so the file cannot be created, even by root.
    std::string blocker = dir.Write("blocker", "not a folder");
    std::string path = blocker + "/Verrimond/Tovin.conf";
    CIniSettingsStore store(path);
    CSettings settings;
    settings.recentProjects = {"/p/A.jpr"};
    EXPECT_EQ(SaveLastProject(settings, store, "/p/A.jpr"),
              "Cannot write the settings file " + path + ".");
    EXPECT_EQ(store.GetString(kSectionOptions, kKeyLastOpen, ""), "/p/A.jpr");
    EXPECT_EQ(ReadFile(blocker), "not a folder");
}

TEST(IniSettingsStoreTest, TwoProgramsOnOneFileKeepEachOthersValues) {
    CTempDir dir;
    std::string path = dir.File("Tovin.conf");
    CIniSettingsStore first(path);
    CIniSettingsStore second(path);
    CSettings settings;
    AddRecentProject(settings, "/p/A.jpr");
    ASSERT_EQ(SaveLastProject(settings, first, "/p/A.jpr"), "");
    ASSERT_EQ(WriteLastLaunch(second, "-x"), "");

    CIniSettingsStore reopened(path);
    EXPECT_EQ(ReadLastLaunch(reopened), "-x");
    EXPECT_EQ(LoadSettings(reopened, kDefaults).lastOpen, "/p/A.jpr");
    EXPECT_EQ(ReadLastLaunch(first), "-x");
}

TEST(IniSettingsStoreTest, AllSettingsSurviveARestart) {
    CTempDir dir;
    std::string path = dir.File("Tovin.conf");
    CSettings settings;
    settings.javaBin = "/opt/jdk 17";
    settings.classPath = "/a.jar:/b dir:/c,d.jar";
    settings.javac = "-encoding UTF-8 -g";
    settings.helpPath = "/" + std::string(300, 'h') + "/index.html";
    settings.fontSize = 95;
    settings.keyColor = 0x00FFFFFF;
    settings.recentProjects = {"/p/B.jpr", "/p/A.jpr"};
    {
        CIniSettingsStore store(path);
        ASSERT_EQ(WritePreferences(settings, store), "");
        ASSERT_EQ(SaveProcessWindowRect(settings, store, 10, 20, 640, 480), "");
        ASSERT_EQ(SaveLastProject(settings, store, "/p/B.jpr"), "");
        ASSERT_EQ(WriteWindowState(store, true), "");
    }
    CIniSettingsStore store(path);
    CSettings loaded = LoadSettings(store, kDefaults);
    EXPECT_EQ(loaded.javaBin, settings.javaBin);
    EXPECT_EQ(loaded.classPath, settings.classPath);
    EXPECT_EQ(loaded.javac, settings.javac);
    EXPECT_EQ(loaded.helpPath, settings.helpPath);
    EXPECT_EQ(loaded.fontSize, 95);
    EXPECT_EQ(loaded.keyColor, 0x00FFFFFFu);
    EXPECT_EQ(loaded.dlgRight, 640);
    EXPECT_EQ(loaded.lastOpen, "/p/B.jpr");
    EXPECT_EQ(loaded.recentProjects, settings.recentProjects);
    EXPECT_EQ(ReadWindowState(store), 1);
}

} // namespace
} // namespace tovin::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
