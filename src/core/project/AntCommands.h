#pragma once
// The Ant commands of the project: "Create Ant Script..." writes a starter build file for the
// project, and RunAnt runs Ant on a build file, with or without a target.

#include <string>

namespace tovin {

class CJavaProjectDoc;

// The values a generated build file is made of, as "Create Ant Script..." derives them.
struct SAntScriptValues {
    std::string projectName; // the main file name with every ".java" removed
    std::string baseDir;     // "." or the working directory with '\' turned into '/'
    std::string classPath;   // the project's class path as stored, or "."
    std::string buildDir;    // the compile directory as stored, or "."
};

SAntScriptValues GetAntScriptValues(const CJavaProjectDoc& project);

// The 37 lines of the starter build file, each ending with LF, indented with tabs. The values
// are escaped for XML attributes, so a path holding '&' or '"' still gives a well-formed file.
std::string ComposeAntScript(const SAntScriptValues& values);

// "Create Ant Script...": asks for the file (proposing build.xml), writes it atomically and adds
// it to the project. Says "Please specify a main Java file first" without a main file, and
// "Unable to save file." when the file cannot be written (an existing file is then kept as it
// was). Returns the path written, or empty.
std::string CreateAntScript(CJavaProjectDoc& project);

} // namespace tovin
