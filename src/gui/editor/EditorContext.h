#pragma once
// What the editor documents and views are given by the application that creates them: the
// settings, the host for anything interactive, the open project and the help call. Nothing in
// the editors reaches for the application object itself.

#include <functional>
#include <string>

namespace tovin {

struct CSettings;
class CUiHost;
class CJavaProjectDoc;

struct SEditorContext {
    // Read when a view is created (font, colours, tab width); SPACETABS at each use.
    CSettings* settings = nullptr;
    CUiHost* host = nullptr;
    // The open project, or null. The project commands of the windows go to it.
    std::function<CJavaProjectDoc*()> project;
    // "JDK Help": the documentation, at its search for the keyword when there is one.
    std::function<void(const std::string& keyword)> jdkHelp;

    CJavaProjectDoc* Project() const { return project ? project() : nullptr; }
};

} // namespace tovin
