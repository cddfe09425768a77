#pragma once
// The Ant commands of the project: "Create Ant Script..." writes a starter build file for the
// project, and RunAnt runs Ant on a build file, with or without a target.

#include <string>
#include <vector>

namespace tovin {

class CJavaProjectDoc;
struct CSettings;

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

// ---- running Ant

// Ant runs on the JDK's launcher with the archives of its lib folder: MSJAVABIN holds the Ant
// installation ("Ant installation folder:" in Preferences), JAVABIN the JDK.

// The file names of the archives ("*.jar") in the folder, sorted by name so that the class path
// is the same from run to run; empty when the folder cannot be read.
std::vector<std::string> ListArchives(const std::string& folder);
// The class path: JAVABIN/lib/tools.jar and then each archive name, each followed by ':'.
// The names are bare: Ant runs in its lib folder, where they resolve.
std::string GetAntClassPath(const CSettings& settings, const std::vector<std::string>& archives);
// ` -classpath "CP" -Dant.home="MSJAVABIN" org.apache.tools.ant.Main -buildfile "FILE"` and, for
// a target, a blank and the target. It starts with a blank, so the launcher's argument zero is
// empty and every option is read.
std::string GetAntCommandLine(const CSettings& settings, const std::string& classPath,
                              const std::string& buildFile, const std::string& target);

// Runs Ant on the build file, with the target or (empty) its default, in Ant's lib folder, with
// its output in the Process Window. No process caption is set. False when it did not start.
bool RunAnt(CJavaProjectDoc& project, const std::string& buildFile, const std::string& target);
// "Run Ant...": the file build.xml in the project file's folder, no target. A project never
// saved has no folder: "Please save the project first" is shown and nothing runs.
bool RunProjectAnt(CJavaProjectDoc& project);

} // namespace tovin
