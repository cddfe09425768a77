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
// project takes it as it is). Failed when it could not be written, or when a folder has the
// name (a project cannot take a folder as its file); *error then holds the system's reason.
ENewFileResult WriteNewFileOnce(const std::string& path, const std::string& text,
                                std::string* error = nullptr);

// The servlet kind's source needs the servlet API on the class path: Debian's archive of it,
// and the package that installs it.
inline constexpr const char* kServletApiArchive = "/usr/share/java/servlet-api.jar";
inline constexpr const char* kServletApiPackage = "libservlet-api-java";
// The class path with the archive appended (nothing changes when it is already an entry).
std::string WithClassPathEntry(const std::string& classPath, const std::string& entry);

} // namespace tovin
