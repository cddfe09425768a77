#pragma once
// A document of the framework: the data behind one or more frames, with its path, title and
// modified flag, and the life cycle every document type shares: open, save, the question
// before closing, and closing. Subclasses hold the data (text, project) and read and write it.

#include "core/app/UiHost.h"
#include "gui/framework/CommandMap.h"
#include "gui/framework/DocumentHost.h"

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace tovin {

class CDocTemplate;
class CDocumentFrame;

class CDocument : public QObject, public CCommandTarget, public COpenDocument {
    Q_OBJECT
public:
    CDocument(CDocumentHost& host, CDocTemplate& docTemplate, QObject* parent);
    ~CDocument() override;

    CDocumentHost& DocumentHost() const { return m_host; }
    CDocTemplate& Template() const { return m_template; }

    // Full path; empty while the document was never saved.
    const std::string& PathName() const { return m_pathName; }
    // Takes the path and its file name as title; the path joins the recent-file list.
    void SetPathName(const std::string& path, bool addToRecentFiles = true);
    const QString& Title() const { return m_title; }
    void SetTitle(const QString& title);
    // Said after the title instead of " (read-only)": why a file is shown for reading only.
    void SetTitleNote(const QString& note);

    virtual bool IsModified() const { return m_modified; }
    virtual void SetModified(bool modified);

    // ---- life cycle. The On... steps report their own failures to the user.
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const std::string& path) = 0;
    virtual bool OnSaveDocument(const std::string& path) = 0;
    // Asks about unsaved changes: Yes saves, No discards, Cancel (or a failed save) gives
    // false and the document stays as it is.
    virtual bool SaveModified();
    // Asked before one of its frames closes on the user's request.
    virtual bool CanCloseFrame(CDocumentFrame* frame);
    // Closes every frame and lets the document go; it is deleted once control returns to the
    // event loop, and is out of its type's list at once.
    virtual void OnCloseDocument();

    // Saves under the path, or asks for one when it has none; a read-only file is explained
    // before the name is asked for.
    bool DoFileSave();
    // Saves under the path; an empty path asks for a name first (Save As).
    bool DoSave(const std::string& path);

    // What Save As proposes for a document never saved: a file name (empty: the title) and a
    // folder (empty: the dialog's own choice). Asked at each Save As, so it follows the text.
    struct SSaveProposal {
        std::string name;
        std::string folder;
    };
    void SetSaveProposal(std::function<SSaveProposal()> propose) {
        m_saveProposal = std::move(propose);
    }

    // ---- frames
    // A new frame with a new view on this document, shown in the main window.
    CDocumentFrame* NewFrame();
    const std::vector<CDocumentFrame*>& Frames() const { return m_frames; }
    void ActivateFirstFrame();
    void AttachFrame(CDocumentFrame* frame);
    void DetachFrame(CDocumentFrame* frame);

    // ---- COpenDocument: what core commands may ask of an open document.
    EDocumentKind Kind() const override;
    void ShowLine(int) override {}
    void ShowPosition(int) override {}
    int FindFunctionPosition(const std::string&) const override { return -1; }
    std::string PackageName() const override { return {}; }

signals:
    void ModifiedChanged(bool modified);
    void TitleChanged();
    void Closing();

protected:
    CUiHost& Host() const;
    // Shows an error about this document in a message box with the host's caption.
    void ReportError(const std::string& text) const;

private:
    void UpdateFrameTitles();

    CDocumentHost& m_host;
    CDocTemplate& m_template;
    std::string m_pathName;
    QString m_title;
    QString m_titleNote;
    bool m_modified = false;
    bool m_closing = false;
    std::vector<CDocumentFrame*> m_frames;
    std::function<SSaveProposal()> m_saveProposal;
};

} // namespace tovin
