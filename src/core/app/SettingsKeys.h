#pragma once
// Section and key names of the settings store. They are the stored names: changing one loses
// the users' values, so they stay exactly as written (upper case, case-sensitive).

namespace tovin {

inline constexpr const char* kSectionOptions = "OPTIONS";
inline constexpr const char* kSectionPaths = "PATHS";
inline constexpr const char* kSectionSettings = "SETTINGS";
inline constexpr const char* kSectionTip = "Tip";
inline constexpr const char* kSectionRecentFiles = "Recent File List";

// PATHS
inline constexpr const char* kKeyJavaBin = "JAVABIN";
inline constexpr const char* kKeyMsJavaBin = "MSJAVABIN";
inline constexpr const char* kKeyJython = "JYTHON";
inline constexpr const char* kKeyHelpPath = "HELPPATH";
inline constexpr const char* kKeyClassPath = "CLASSPATH";
inline constexpr const char* kKeyWorkingDir = "WORKING_DIR";

// OPTIONS
inline constexpr const char* kKeyJavac = "JAVAC";
inline constexpr const char* kKeyJavaOptions = "JAVAOPTIONS";
inline constexpr const char* kKeyJavaVersion = "JAVAVERSION";
inline constexpr const char* kKeySaveComp = "SAVECOMP";
inline constexpr const char* kKeyLoadLast = "LOADLAST";
inline constexpr const char* kKeyShowArgs = "SHOWARGS";
inline constexpr const char* kKeyShowDrops = "SHOWDROPS";
inline constexpr const char* kKeyFontName = "FONTNAME";
inline constexpr const char* kKeyFontSize = "FONTSIZE";
inline constexpr const char* kKeyTabWidth = "TABWIDTH";
inline constexpr const char* kKeySpaceTabs = "SPACETABS";
inline constexpr const char* kKeyKeyColor = "KEYCOLOR";
inline constexpr const char* kKeyCommentColor = "COMMENTCOLOR";
inline constexpr const char* kKeyStringColor = "STRINGCOLOR";
inline constexpr const char* kKeyTagColor = "TAGCOLOR";
inline constexpr const char* kKeyDlgFontName = "DLGFONTNAME";
inline constexpr const char* kKeyDlgFontSize = "DLGFONTSIZE";
inline constexpr const char* kKeyDlgLeft = "DLG_LEFT";
inline constexpr const char* kKeyDlgTop = "DLG_TOP";
inline constexpr const char* kKeyDlgRight = "DLG_RIGHT";
inline constexpr const char* kKeyDlgBottom = "DLG_BOTTOM";
inline constexpr const char* kKeyLastOpen = "LASTOPEN";
inline constexpr const char* kKeyRecentSize = "RECENTSIZE";
inline constexpr const char* kKeyRecentPrefix = "RECENT"; // RECENT0 .. RECENT9
inline constexpr const char* kKeyLastLaunch = "LASTLAUNCH";
inline constexpr const char* kKeyLanguageServer = "LANGSERVER";
inline constexpr const char* kKeyCheckDelay = "CHECKDELAY";

// SETTINGS
inline constexpr const char* kKeyWindowState = "WINDOWSTATE";
// 1 (the default) while the source windows show line numbers (View > Line Numbers).
inline constexpr const char* kKeyLineNumbers = "LINENUMBERS";

// Tip
inline constexpr const char* kKeyTipStartUp = "StartUp";
inline constexpr const char* kKeyTipFilePos = "FilePos";
inline constexpr const char* kKeyTipTimeStamp = "TimeStamp";

// How many recent projects the store keeps; the list in memory may be longer.
inline constexpr int kMaxStoredRecentProjects = 10;

} // namespace tovin
