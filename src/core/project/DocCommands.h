#pragma once
// The Tools commands that produce things around the program: API documentation ("Javadoc
// Project Files...", "Javadoc Project Packages..."), the serial version number ("SerialVer..."),
// a run script ("Create Batch File...") and a desktop entry that starts the program ("Create
// Shortcut..."). The documentation tool and serialver always come from JAVABIN; the run script
// and the desktop entry use the launcher of the tool locator.
//
// On this platform a run script is a #!/bin/sh script (made executable) and a shortcut is a
// freedesktop desktop entry. Each command composes its command line in the product's
// Windows-style form; the scripts and the desktop entry get its arguments split once and quoted
// for their own format, so nothing in them is re-interpreted.

#include <string>

namespace tovin {

class CJavaProjectDoc;

inline constexpr const char* kUnholyErrorMessage = "Unholy Error";
inline constexpr const char* kUnableToSaveMessage = "Unable to save file";
inline constexpr const char* kJavadocCaption = "Generating JavaDoc";
inline constexpr const char* kSerialverCaption = "Running Serialver";
inline constexpr const char* kSerialverScriptName = "serialver.sh";

// `-bottom "FOOTER" `: the footer every documentation page carries.
std::string GetJavadocFooterOption();

// ---- composing (the commands below use these)

// javadoc, the footer, -author -version, the class path as stored (when set) and every Java-file
// entry's stored path, each in double quotes and followed by a blank.
std::string GetJavadocFilesCommand(const CJavaProjectDoc& project);
// javadoc, the footer, -author -version, -classpath with the class path and the source root, and
// each distinct package of the Java-file entries once (an entry without a package adds a blank).
std::string GetJavadocPackagesCommand(const CJavaProjectDoc& project,
                                      const std::string& sourceRoot);
// serialver with the project's class path (and the current folder) and the qualified main class.
std::string GetSerialverCommand(const CJavaProjectDoc& project);
// The desktop entry's arguments: the run options without their leading blank, one blank and the
// qualified main class.
std::string GetShortcutArguments(const CJavaProjectDoc& project);

// ---- commands

// Ask for an output folder ("Choose folder for documentation:"), then run javadoc there on the
// project's files or packages. The caption is "Generating JavaDoc".
void JavadocFiles(CJavaProjectDoc& project);
void JavadocPackages(CJavaProjectDoc& project);
// Runs serialver in the run folder for the main class, and leaves serialver.sh there with the
// same command (a folder that cannot take it is no reason not to run the tool).
void RunSerialver(CJavaProjectDoc& project);
// Asks where to save a run script of the run command (and the arguments, with SHOWARGS on); the
// script changes to its own folder first. Returns the path written, or empty.
std::string CreateBatchFile(CJavaProjectDoc& project);
// Asks where to save a desktop entry that starts the main class. Returns the path written, or
// empty.
std::string CreateShortcut(CJavaProjectDoc& project);

// Writes a desktop entry that starts target with the arguments (a Windows-style argument text)
// in workingDirectory, with Tovin's theme icon ("tovin"), and makes it executable as desktops
// require of a launcher. The name shown is the link's file name without its extension. Returns an
// empty text on success, else the reason (an existing file is then kept as it was).
std::string WriteShellLink(const std::string& target, const std::string& arguments,
                           const std::string& linkPath, const std::string& description,
                           const std::string& workingDirectory);

// Writes a script atomically and makes it executable for whoever may read it. Returns an empty
// text on success, else the reason.
std::string WriteExecutableFile(const std::string& path, const std::string& text);

} // namespace tovin
