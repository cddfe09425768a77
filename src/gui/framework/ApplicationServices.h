#pragma once
// What the windows below the application need of it beyond what a document needs: the
// settings and their store, the main window (the parent of their dialogs, whose status bar
// shows their notices), and opening or creating documents. The application implements it, so
// the windows of each subsystem never include the application's own headers.

#include "gui/framework/DocumentHost.h"

#include <string>

class QWidget;

namespace tovin {

class CDocument;
class CSettingsStore;
struct CSettings;

class CApplicationServices : public CDocumentHost {
public:
    virtual CSettings& Settings() = 0;
    virtual CSettingsStore& Store() const = 0;

    // The main window; null before it is made (and in runs without one).
    virtual QWidget* MainWindow() const = 0;
    // The message pane of the main window's status bar; nothing without a main window.
    virtual void SetStatusText(const std::string& text) = 0;

    // Opens (or activates) the document at the path; a project file closes the open project
    // first. Null when nothing was opened.
    virtual CDocument* OpenDocumentFile(const std::string& path) = 0;
    // A new, untitled document of the type ("JavaProject", "JavaDocument", ...) in a frame of
    // its own; false when none was made.
    virtual bool CreateNewDocumentOfType(const std::string& documentName) = 0;
};

} // namespace tovin
