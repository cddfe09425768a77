#pragma once
// The user's settings as the application holds them: one member per key of the settings store,
// read once at start-up and written back at fixed moments. Font sizes are in tenths of a point;
// colours are colour references with red in the lowest byte (0x00BBGGRR).
//
// Below the members: the start-up load, the Preferences write, and the single-value readers and
// writers of the other write moments. Writers return what the store's Flush returns: empty on
// success, else the reason; the members are updated either way.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tovin {

struct CSettings {
    // PATHS
    std::string javaBin;    // JAVABIN: JDK folder (tools are <JAVABIN>/bin/<tool>)
    std::string msJavaBin;  // MSJAVABIN: Ant installation folder (or the MS SDK folder)
    std::string jython;     // JYTHON: Jython installation folder
    std::string helpPath;   // HELPPATH: JDK API documentation index
    std::string classPath;  // CLASSPATH: default project class path
    std::string workingDir; // WORKING_DIR: default project working directory
    // OPTIONS
    std::string javac;                    // JAVAC: default compile options
    std::string javaOptions;              // JAVAOPTIONS: default run options
    int javaVersion = 0;                  // JAVAVERSION: 1 = MS SDK tool names, anything else = JDK
    int saveComp = 1;                     // SAVECOMP
    int loadLast = 1;                     // LOADLAST
    int showArgs = 0;                     // SHOWARGS
    int showDrops = 1;                    // SHOWDROPS
    std::string fontName = "Courier New"; // FONTNAME
    int fontSize = 100;                   // FONTSIZE, tenths of a point
    int tabWidth = 3;                     // TABWIDTH
    int spaceTabs = 0;                    // SPACETABS
    std::uint32_t keyColor = 14483456;    // KEYCOLOR
    std::uint32_t commentColor = 221;     // COMMENTCOLOR
    std::uint32_t stringColor = 26112;    // STRINGCOLOR
    std::uint32_t tagColor = 4471;        // TAGCOLOR
    std::string dlgFontName = "Courier New";                  // DLGFONTNAME
    int dlgFontSize = 90;                                     // DLGFONTSIZE, tenths of a point
    int dlgLeft = 0, dlgTop = 0, dlgRight = 0, dlgBottom = 0; // DLG_LEFT ... DLG_BOTTOM
    std::string lastOpen;                                     // LASTOPEN
    std::vector<std::string> recentProjects;                  // RECENTSIZE, RECENT0..RECENT9
    // LANGSERVER: the Java language server's command line; empty for the built-in engine
    std::string languageServer;
    int checkDelay = 400; // CHECKDELAY: pause in typing, in ms, before the text is checked

    bool operator==(const CSettings&) const = default;
};

class CSettingsStore;
class CUiHost;

// ---------------------------------------------------------------- start-up load

// The defaults that depend on the machine rather than on the program.
struct SSettingsDefaults {
    std::string jdkFolder;    // JAVABIN when the store has none
    std::string helpPath;     // HELPPATH when the store has none
    std::string antFolder;    // MSJAVABIN when the store has none
    std::string jythonFolder; // JYTHON when the store has none
};

// Where the JDK API documentation lives when Debian's openjdk-17-doc is installed.
inline constexpr const char* kJdkApiDocIndex = "/usr/share/doc/openjdk-17-doc/api/index.html";

// candidate when that file exists, else empty.
std::string DefaultHelpPath(const std::string& candidate = kJdkApiDocIndex);
// JDK, Ant and Jython detection (platform/JdkDetection.h) and the default help path of this
// machine.
SSettingsDefaults DetectSettingsDefaults();

// Reads every setting of the start-up load, in its fixed order, a missing key giving its default:
// the keys of the sections PATHS and OPTIONS and the recent projects; not the Tip section,
// WINDOWSTATE or LASTLAUNCH, which are read when they are needed. Never writes the store, so a
// detected folder reaches it only when Preferences is confirmed; a stored JAVABIN, MSJAVABIN or
// JYTHON (even an empty one) always wins over detection.
//
// Values that no dialog of the program writes and that would break the editors are taken as
// missing: TABWIDTH outside 2..10, font sizes outside 1..1000 points. Colours lose a non-zero top
// byte, which is no part of a colour reference.
CSettings LoadSettings(const CSettingsStore& store, const SSettingsDefaults& defaults);
// The same with the defaults detected first (the start-up order).
CSettings LoadSettings(const CSettingsStore& store);

// RECENTSIZE (at most 10) entries RECENT0.. in stored order, empty entries skipped.
std::vector<std::string> LoadRecentProjects(const CSettingsStore& store);

// ---------------------------------------------------------------- Preferences

// The Preferences pages show font sizes in whole points (integer division) and store points
// times ten, so a stored 95 shows as 9 and goes back as 90.
int TenthsToPoints(int tenths);
int PointsToTenths(int points);
// The font sizes, in points, the pages accept (the editor's and the Process Window's).
inline constexpr int kMinFontPoints = 6;
inline constexpr int kMaxFontPoints = 24;

// Writes the members the Preferences pages edit, in the fixed Preferences order (TABWIDTH first,
// CLASSPATH last).
std::string WritePreferences(const CSettings& settings, CSettingsStore& store);

// The Preferences command: showSheet edits a copy of the settings and returns true when the user
// confirmed. Confirmed: the edited Preferences members replace those of settings and are
// written; members the pages do not edit (rectangle, last project, recent list) are kept.
// Cancelled: nothing changes and nothing is written. Returns whether it was confirmed and the
// store's Flush result.
struct SPreferencesResult {
    bool confirmed = false;
    std::string writeError;
};
SPreferencesResult RunPreferences(CSettings& settings, CSettingsStore& store,
                                  const std::function<bool(CSettings& edited)>& showSheet);

// ---------------------------------------------------------------- single-value writers

// Process Window font: face and size in tenths of a point (DLGFONTNAME, DLGFONTSIZE).
std::string SaveProcessWindowFont(CSettings& settings, CSettingsStore& store,
                                  const std::string& faceName, int sizeTenths);
// Process Window rectangle (DLG_LEFT, DLG_TOP, DLG_RIGHT, DLG_BOTTOM).
std::string SaveProcessWindowRect(CSettings& settings, CSettingsStore& store, int left, int top,
                                  int right, int bottom);

// LASTLAUNCH is no member: it is read from the store each time the Arguments dialog opens.
std::string ReadLastLaunch(const CSettingsStore& store);
std::string WriteLastLaunch(CSettingsStore& store, const std::string& arguments);
// The Arguments dialog pre-filled with LASTLAUNCH; on OK the text is stored as LASTLAUNCH and
// returned, on Cancel nothing is stored and nullopt returned.
std::optional<std::string> AskProgramArguments(CUiHost& host, CSettingsStore& store);

// WINDOWSTATE: 1 when the main window was maximised when it last closed.
int ReadWindowState(const CSettingsStore& store);
std::string WriteWindowState(CSettingsStore& store, bool maximised);

// LINENUMBERS: whether the source windows show line numbers; read at start-up, written each
// time View > Line Numbers changes it.
bool ReadLineNumbers(const CSettingsStore& store);
std::string WriteLineNumbers(CSettingsStore& store, bool shown);

// Recent projects. Adding: an empty path is ignored; a path already listed (exact comparison)
// keeps its place; a new one becomes entry 0. The list has no upper bound in memory.
void AddRecentProject(CSettings& settings, const std::string& projectPath);
// Removes the first entry equal to the path; false when there is none. Stored at the next
// SaveLastProject.
bool RemoveRecentProject(CSettings& settings, const std::string& projectPath);
// Stores LASTOPEN (also the member), RECENTSIZE = min(entries, 10) and RECENT0..RECENTn-1.
// Entries of an earlier, longer list stay in the store but are never read back.
std::string SaveLastProject(CSettings& settings, CSettingsStore& store,
                            const std::string& projectPath);

// The Tip section. StartUp is stored inverted: 0 shows the tip at start-up.
struct STipSettings {
    int startUp = 0;
    int filePos = 0;       // byte offset of the next tip in the tips file
    std::string timeStamp; // the tips file's stamp when filePos was last valid
};
STipSettings ReadTipSettings(const CSettingsStore& store);
std::string WriteTipStartUp(CSettingsStore& store, int startUp);
std::string WriteTipFilePos(CSettingsStore& store, int filePos);
std::string WriteTipTimeStamp(CSettingsStore& store, const std::string& timeStamp);

} // namespace tovin
