#pragma once
// A readable one-line-per-key dump of CSettings, so a failed comparison shows which keys differ.

#include "core/app/Settings.h"

#include <sstream>
#include <string>

namespace tovin::test {

inline std::string DumpSettings(const CSettings& s) {
    std::ostringstream out;
    out << "JAVABIN=" << s.javaBin << "\nMSJAVABIN=" << s.msJavaBin << "\nJYTHON=" << s.jython
        << "\nHELPPATH=" << s.helpPath << "\nCLASSPATH=" << s.classPath
        << "\nWORKING_DIR=" << s.workingDir << "\nJAVAC=" << s.javac
        << "\nJAVAOPTIONS=" << s.javaOptions << "\nJAVAVERSION=" << s.javaVersion
        << "\nSAVECOMP=" << s.saveComp << "\nLOADLAST=" << s.loadLast << "\nSHOWARGS=" << s.showArgs
        << "\nSHOWDROPS=" << s.showDrops << "\nFONTNAME=" << s.fontName
        << "\nFONTSIZE=" << s.fontSize << "\nTABWIDTH=" << s.tabWidth
        << "\nSPACETABS=" << s.spaceTabs << "\nKEYCOLOR=" << s.keyColor
        << "\nCOMMENTCOLOR=" << s.commentColor << "\nSTRINGCOLOR=" << s.stringColor
        << "\nTAGCOLOR=" << s.tagColor << "\nDLGFONTNAME=" << s.dlgFontName
        << "\nDLGFONTSIZE=" << s.dlgFontSize << "\nDLG=" << s.dlgLeft << "," << s.dlgTop << ","
        << s.dlgRight << "," << s.dlgBottom << "\nLASTOPEN=" << s.lastOpen
        << "\nLANGSERVER=" << s.languageServer << "\nCHECKDELAY=" << s.checkDelay << "\nRECENT=";
    for (const auto& path : s.recentProjects) {
        out << "[" << path << "]";
    }
    out << "\n";
    return out.str();
}

} // namespace tovin::test
