#pragma once
// The open project as a document of the framework: the project's frame, its project window
// and its commands, around the project document of the core (CJavaProjectDoc), which holds
// the lists and options and reads and writes the project file.
//
// The project commands are slots here, one per command; those whose subsystems are still to
// come do nothing yet and keep their place for that work.

#include "gui/framework/Document.h"

#include <QPointer>
#include <memory>

namespace tovin {

class CFindInFilesDialog;
class CJavaProjectDoc;
class CProjectHost;
class CProjectTree;

class CProjectDocument : public CDocument {
    Q_OBJECT
public:
    // Becomes the application's current project.
    CProjectDocument(CProjectHost& host, CDocTemplate& docTemplate, QObject* parent);
    ~CProjectDocument() override;

    CJavaProjectDoc& Project() const { return *m_project; }

    bool IsModified() const override;
    void SetModified(bool modified) override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    // Saved at once when it has a file; asks only for a never-saved, modified project.
    bool SaveModified() override;
    // For the project's last window, or a null frame (the whole project closes): "Do you
    // really want to close this project?", then SaveModified.
    bool CanCloseFrame(CDocumentFrame* frame) override;
    // Records the project as the last and a recent one and hides its project window.
    void OnCloseDocument() override;

    // Tells the views (the project form, the project window) that the project changed.
    void RefreshViews();
    bool HasProjectWindow() const { return m_projectWindowCreated; }
    // The project window's tree; null until the project window was first shown.
    CProjectTree* ProjectTree() const;

    // ---- project commands
    void OnProjectWindow();
    void OnBuild();
    void OnRunApplication();
    void OnRunWithConsole();
    void OnRunWithJdb();
    // The page is the project's applet page (or the HTML window's own page).
    void RunApplet(const std::string& pagePath);
    void OnAddFiles();
    void OnAddHtmlFile();
    void OnJarMainFolder();
    void OnJarAnyFolder();
    void OnShowArchiveContents();
    void OnCompileFolder();
    void OnCreateBatchFile();
    void OnCreateShortcut();
    void OnJavadocProjectFiles();
    void OnJavadocProjectPackages();
    void OnSerialVer();
    void OnRunAnt();
    void OnCreateAntScript();
    void OnFindInFiles();

signals:
    void Refreshed();
    // The project is about to be used or saved: the views apply the edits they still hold.
    void ApplyingPendingEdits();
    // The project window asked to run the tests of one file.
    void RunTestsRequested(const std::string& path);

private:
    void RegisterCommands();
    void SyncPathFromProject();
    void FillProjectWindow();

    CProjectHost& m_host;
    std::unique_ptr<CJavaProjectDoc> m_project;
    // Kept while the project is open, so it offers the entries of its last search. A child of
    // the main frame, which may go first.
    QPointer<CFindInFilesDialog> m_findDialog;
    // A child of the project window's dock, which the main frame owns.
    QPointer<CProjectTree> m_tree;
    bool m_projectWindowCreated = false;
    bool m_closed = false;
};

} // namespace tovin
