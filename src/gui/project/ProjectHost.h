#pragma once
// What the project's windows need of the application beyond its services: the one open
// project, and the dock its project window lives in. The application implements it.

#include "gui/framework/ApplicationServices.h"

#include <string>

class QDockWidget;

namespace tovin {

class CProjectDocument;

class CProjectHost : public CApplicationServices {
public:
    // ---- the open project: never more than one
    virtual CProjectDocument* CurrentProject() const = 0;
    virtual void SetCurrentProject(CProjectDocument* project) = 0;
    // True when the caller may go on: no project is open, or it closed. False when the user
    // kept it, or when `path` is the open project's own path (its window is brought forward).
    virtual bool CloseCurrentProject(const std::string* path = nullptr) = 0;
    // Called as the project closes: it becomes the first recent project and LASTOPEN.
    virtual void OnProjectClosed(const std::string& path) = 0;

    // The main window's dock of the project window, made when first asked for.
    virtual QDockWidget* ProjectDock() = 0;
    virtual bool HasProjectDock() const = 0;
};

} // namespace tovin
