#pragma once
// The user's settings as the application holds them: one member per key of the settings store,
// read once at start-up and written back at fixed moments. Font sizes are in tenths of a point;
// colours are colour references with red in the lowest byte (0x00BBGGRR).
//
// (Members and defaults in place; loading, the write moments and the stores are being built.)

#include <cstdint>
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
};

} // namespace tovin
