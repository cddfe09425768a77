#pragma once
// What the New Project wizard writes: the project file name for a main class name, the
// ready-to-run sources of the project kinds and the applet's example page. Texts use the
// platform's line end ("\n"); every "<classname>" of a template is the class name.

#include <string>

namespace tovin {

// The kinds in the order of the wizard's radio buttons.
enum class EProjectKind { Empty = 0, Application = 1, Applet = 2, Servlet = 3 };

// The class name with ".jpr" appended unless it already ends with it ("Hello.jpr" stays).
std::string ProjectFileName(const std::string& className);
// The source text of a kind with the class name filled in; empty for an empty project.
std::string ProjectSourceText(EProjectKind kind, const std::string& className);
// The applet project's example page, whose applet element names <classname>.class.
std::string AppletPageText(const std::string& className);
// The file name of that page beside the project file.
inline constexpr const char* kAppletPageName = "Example1.html";

enum class ENewFileResult { Written, Kept, Failed };
// Creates the file with the text unless it exists: an existing file is never overwritten (the
// project takes it as it is). Failed when it could not be written.
ENewFileResult WriteNewFileOnce(const std::string& path, const std::string& text);

} // namespace tovin
