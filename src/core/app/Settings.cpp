// The start-up load and the Preferences write: two fixed orders over one table of fields.

#include "core/app/Settings.h"

#include "core/app/SettingsKeys.h"
#include "core/app/SettingsStore.h"
#include "core/platform/Files.h"
#include "core/platform/JdkDetection.h"

#include <climits>
#include <variant>

namespace tovin {

namespace {

// One stored setting and the member that holds it.
struct SField {
    const char* section;
    const char* key;
    std::variant<std::string CSettings::*, int CSettings::*, std::uint32_t CSettings::*> member;
};

// clang-format off
const SField kJavaBin      {kSectionPaths,   kKeyJavaBin,      &CSettings::javaBin};
const SField kMsJavaBin    {kSectionPaths,   kKeyMsJavaBin,    &CSettings::msJavaBin};
const SField kJython       {kSectionPaths,   kKeyJython,       &CSettings::jython};
const SField kHelpPath     {kSectionPaths,   kKeyHelpPath,     &CSettings::helpPath};
const SField kClassPath    {kSectionPaths,   kKeyClassPath,    &CSettings::classPath};
const SField kWorkingDir   {kSectionPaths,   kKeyWorkingDir,   &CSettings::workingDir};
const SField kJavac        {kSectionOptions, kKeyJavac,        &CSettings::javac};
const SField kJavaOptions  {kSectionOptions, kKeyJavaOptions,  &CSettings::javaOptions};
const SField kJavaVersion  {kSectionOptions, kKeyJavaVersion,  &CSettings::javaVersion};
const SField kSaveComp     {kSectionOptions, kKeySaveComp,     &CSettings::saveComp};
const SField kLoadLast     {kSectionOptions, kKeyLoadLast,     &CSettings::loadLast};
const SField kShowArgs     {kSectionOptions, kKeyShowArgs,     &CSettings::showArgs};
const SField kShowDrops    {kSectionOptions, kKeyShowDrops,    &CSettings::showDrops};
const SField kFontName     {kSectionOptions, kKeyFontName,     &CSettings::fontName};
const SField kFontSize     {kSectionOptions, kKeyFontSize,     &CSettings::fontSize};
const SField kTabWidth     {kSectionOptions, kKeyTabWidth,     &CSettings::tabWidth};
const SField kSpaceTabs    {kSectionOptions, kKeySpaceTabs,    &CSettings::spaceTabs};
const SField kKeyColor     {kSectionOptions, kKeyKeyColor,     &CSettings::keyColor};
const SField kCommentColor {kSectionOptions, kKeyCommentColor, &CSettings::commentColor};
const SField kStringColor  {kSectionOptions, kKeyStringColor,  &CSettings::stringColor};
const SField kTagColor     {kSectionOptions, kKeyTagColor,     &CSettings::tagColor};
const SField kDlgFontName  {kSectionOptions, kKeyDlgFontName,  &CSettings::dlgFontName};
const SField kDlgFontSize  {kSectionOptions, kKeyDlgFontSize,  &CSettings::dlgFontSize};
const SField kDlgLeft      {kSectionOptions, kKeyDlgLeft,      &CSettings::dlgLeft};
const SField kDlgTop       {kSectionOptions, kKeyDlgTop,       &CSettings::dlgTop};
const SField kDlgRight     {kSectionOptions, kKeyDlgRight,     &CSettings::dlgRight};
const SField kDlgBottom    {kSectionOptions, kKeyDlgBottom,    &CSettings::dlgBottom};
const SField kLastOpen     {kSectionOptions, kKeyLastOpen,     &CSettings::lastOpen};
const SField kLangServer   {kSectionOptions, kKeyLanguageServer, &CSettings::languageServer};
const SField kCheckDelay   {kSectionOptions, kKeyCheckDelay,   &CSettings::checkDelay};
// clang-format on

const SField* const kLoadOrder[] = {
    &kJavaBin,    &kJavac,     &kJavaVersion, &kJavaOptions, &kSaveComp,     &kLoadLast,
    &kShowDrops,  &kFontName,  &kFontSize,    &kDlgLeft,     &kDlgTop,       &kDlgRight,
    &kDlgBottom,  &kLastOpen,  &kDlgFontName, &kDlgFontSize, &kMsJavaBin,    &kJython,
    &kWorkingDir, &kClassPath, &kHelpPath,    &kKeyColor,    &kCommentColor, &kStringColor,
    &kTagColor,   &kShowArgs,  &kTabWidth,    &kSpaceTabs,   &kLangServer,   &kCheckDelay,
};

// The Preferences pages edit exactly these members, and they are written in this order.
const SField* const kPreferencesOrder[] = {
    &kTabWidth,    &kFontName,    &kFontSize,    &kKeyColor,   &kCommentColor, &kStringColor,
    &kTagColor,    &kSpaceTabs,   &kJavaBin,     &kJavac,      &kSaveComp,     &kLoadLast,
    &kShowArgs,    &kShowDrops,   &kHelpPath,    &kMsJavaBin,  &kJython,       &kDlgFontName,
    &kDlgFontSize, &kJavaOptions, &kJavaVersion, &kWorkingDir, &kClassPath,    &kLangServer,
};

constexpr std::uint32_t kColorRefMask = 0x00FFFFFF;
constexpr int kMinTabWidth = 2;
constexpr int kMaxTabWidth = 10;
constexpr int kMinFontTenths = 10;
constexpr int kMaxFontTenths = 10000;
constexpr int kMinCheckDelay = 50;
constexpr int kMaxCheckDelay = 60000;

// The member's current value serves as the default, so a missing key leaves it as it was.
void ReadField(const SField& field, const CSettingsStore& store, CSettings& settings) {
    std::visit(
        [&](auto member) {
            using T = std::remove_reference_t<decltype(settings.*member)>;
            if constexpr (std::is_same_v<T, std::string>) {
                settings.*member = store.GetString(field.section, field.key, settings.*member);
            } else if constexpr (std::is_same_v<T, int>) {
                settings.*member = store.GetInt(field.section, field.key, settings.*member);
            } else {
                int stored =
                    store.GetInt(field.section, field.key, static_cast<int>(settings.*member));
                settings.*member = static_cast<std::uint32_t>(stored);
            }
        },
        field.member);
}

void WriteField(const SField& field, const CSettings& settings, CSettingsStore& store) {
    std::visit(
        [&](auto member) {
            using T = std::remove_cvref_t<decltype(settings.*member)>;
            if constexpr (std::is_same_v<T, std::string>) {
                store.SetString(field.section, field.key, settings.*member);
            } else {
                store.SetInt(field.section, field.key, static_cast<int>(settings.*member));
            }
        },
        field.member);
}

void CopyField(const SField& field, const CSettings& from, CSettings& to) {
    std::visit([&](auto member) { to.*member = from.*member; }, field.member);
}

int WithinOr(int value, int low, int high, int fallback) {
    return value >= low && value <= high ? value : fallback;
}

// A hand-edited or damaged store must not hand the editors a tab width of zero (column
// arithmetic divides by it) or a font size that takes the screen apart; such values are taken
// as missing. The colour's top byte would select a palette entry, not a colour.
void RepairDamagedValues(CSettings& settings) {
    const CSettings defaults;
    settings.tabWidth = WithinOr(settings.tabWidth, kMinTabWidth, kMaxTabWidth, defaults.tabWidth);
    settings.fontSize =
        WithinOr(settings.fontSize, kMinFontTenths, kMaxFontTenths, defaults.fontSize);
    settings.dlgFontSize =
        WithinOr(settings.dlgFontSize, kMinFontTenths, kMaxFontTenths, defaults.dlgFontSize);
    settings.checkDelay =
        WithinOr(settings.checkDelay, kMinCheckDelay, kMaxCheckDelay, defaults.checkDelay);
    for (std::uint32_t* color :
         {&settings.keyColor, &settings.commentColor, &settings.stringColor, &settings.tagColor}) {
        *color &= kColorRefMask;
    }
}

} // namespace

std::string DefaultHelpPath(const std::string& candidate) {
    return FileExists(candidate) ? candidate : std::string();
}

SSettingsDefaults DetectSettingsDefaults() {
    SSettingsDefaults defaults;
    defaults.jdkFolder = DetectJdkFolder();
    defaults.antFolder = DetectAntFolder();
    defaults.jythonFolder = DetectJythonFolder();
    defaults.helpPath = DefaultHelpPath();
    return defaults;
}

// HELPPATH is kept whole, however long. The program it replaces copied it into a buffer of the
// Windows path limit (259 characters); a truncated path would name a different, most likely
// missing file, and Linux paths may be far longer than that limit, so nothing is cut.
CSettings LoadSettings(const CSettingsStore& store, const SSettingsDefaults& defaults) {
    CSettings settings;
    settings.javaBin = defaults.jdkFolder;
    settings.helpPath = defaults.helpPath;
    settings.msJavaBin = defaults.antFolder;
    settings.jython = defaults.jythonFolder;
    for (const SField* field : kLoadOrder) {
        ReadField(*field, store, settings);
    }
    RepairDamagedValues(settings);
    settings.recentProjects = LoadRecentProjects(store);
    return settings;
}

CSettings LoadSettings(const CSettingsStore& store) {
    return LoadSettings(store, DetectSettingsDefaults());
}

int TenthsToPoints(int tenths) {
    return tenths / 10;
}

int PointsToTenths(int points) {
    if (points > INT_MAX / 10) {
        return INT_MAX;
    }
    if (points < INT_MIN / 10) {
        return INT_MIN;
    }
    return points * 10;
}

std::string WritePreferences(const CSettings& settings, CSettingsStore& store) {
    for (const SField* field : kPreferencesOrder) {
        WriteField(*field, settings, store);
    }
    return store.Flush();
}

SPreferencesResult RunPreferences(CSettings& settings, CSettingsStore& store,
                                  const std::function<bool(CSettings& edited)>& showSheet) {
    CSettings edited = settings;
    SPreferencesResult result;
    result.confirmed = showSheet(edited);
    if (!result.confirmed) {
        return result;
    }
    for (const SField* field : kPreferencesOrder) {
        CopyField(*field, edited, settings);
    }
    result.writeError = WritePreferences(settings, store);
    return result;
}

} // namespace tovin
