#include "gui/framework/Document.h"

#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "gui/framework/DocTemplate.h"
#include "gui/framework/DocumentFrame.h"

#include <algorithm>

namespace tovin {

CDocument::CDocument(CDocumentHost& host, CDocTemplate& docTemplate, QObject* parent)
    : QObject(parent), m_host(host), m_template(docTemplate) {
    m_host.DocumentCreated(*this);
}

CDocument::~CDocument() {
    for (CDocumentFrame* frame : m_frames) {
        frame->ForgetDocument();
    }
    m_template.RemoveDocument(this);
}

void CDocument::SetPathName(const std::string& path, bool addToRecentFiles) {
    m_pathName = path;
    SetTitle(QString::fromStdString(GetFileName(path)));
    if (addToRecentFiles) {
        m_host.AddToRecentFileList(path);
    }
}

void CDocument::SetTitle(const QString& title) {
    m_title = title;
    UpdateFrameTitles();
    emit TitleChanged();
}

void CDocument::SetModified(bool modified) {
    if (m_modified == modified) {
        return;
    }
    m_modified = modified;
    for (CDocumentFrame* frame : m_frames) {
        frame->setWindowModified(modified);
    }
    emit ModifiedChanged(modified);
}

bool CDocument::OnNewDocument() {
    SetTitle(QString::fromStdString(m_template.NextUntitledTitle()));
    SetModified(false);
    return true;
}

bool CDocument::SaveModified() {
    if (!IsModified()) {
        return true;
    }
    std::string name = m_pathName.empty() ? m_title.toStdString() : GetFileName(m_pathName);
    switch (Host().MessageBox("Save changes to " + name + "?", m_host.MessageCaption(),
                              EMsgButtons::YesNoCancel, EMsgIcon::Warning)) {
    case EMsgAnswer::Yes:
        return DoFileSave();
    case EMsgAnswer::No:
        return true;
    default:
        return false;
    }
}

bool CDocument::CanCloseFrame(CDocumentFrame* frame) {
    // Only the last frame of a document carries its unsaved changes away.
    for (CDocumentFrame* other : m_frames) {
        if (other != frame) {
            return true;
        }
    }
    return SaveModified();
}

void CDocument::OnCloseDocument() {
    if (m_closing) {
        return;
    }
    m_closing = true;
    emit Closing();
    auto frames = m_frames;
    for (CDocumentFrame* frame : frames) {
        frame->CloseByDocument();
    }
    m_frames.clear();
    m_template.RemoveDocument(this);
    deleteLater();
}

bool CDocument::DoFileSave() {
    if (m_pathName.empty()) {
        return DoSave({});
    }
    if (IsReadOnlyFile(m_pathName)) {
        // A Save that opens Save As without a word looks like a fault: say why first.
        const std::string why = "The file \"" + m_pathName +
                                "\" is read-only, so it cannot be saved under its own name.\n\n"
                                "Choose OK to save it under another name.";
        if (Host().MessageBox(why, m_host.MessageCaption(), EMsgButtons::OkCancel,
                              EMsgIcon::Information) != EMsgAnswer::Ok) {
            return false;
        }
        return DoSave({});
    }
    return DoSave(m_pathName);
}

bool CDocument::DoSave(const std::string& path) {
    std::string target = path;
    if (target.empty()) {
        SSaveProposal proposal{m_title.toStdString(), {}};
        if (m_pathName.empty() && m_saveProposal) {
            SSaveProposal own = m_saveProposal();
            proposal.name = own.name.empty() ? proposal.name : own.name;
            proposal.folder = own.folder;
        } else if (!m_pathName.empty()) {
            proposal = {GetFileName(m_pathName), GetFolder(m_pathName)};
        }
        SFileDialogRequest request =
            SaveFileRequest(m_template.DialogFilter() + "All Files (*.*)|*.*||",
                            m_template.DefaultExtension(), proposal.name, proposal.folder);
        request.title = "Save As";
        std::vector<std::string> chosen = Host().FileDialog(request);
        if (chosen.empty()) {
            return false;
        }
        target = chosen.front();
    }
    if (!OnSaveDocument(target)) {
        return false;
    }
    if (target != m_pathName) {
        SetPathName(target);
    }
    SetModified(false);
    return true;
}

CDocumentFrame* CDocument::NewFrame() {
    CDocumentFrame* frame = m_template.CreateFrame(*this);
    frame->SetView(m_template.CreateView(*this, frame));
    AttachFrame(frame);
    m_host.AddDocumentFrame(frame);
    return frame;
}

void CDocument::ActivateFirstFrame() {
    if (!m_frames.empty()) {
        m_host.ActivateDocumentFrame(m_frames.front());
    }
}

void CDocument::AttachFrame(CDocumentFrame* frame) {
    m_frames.push_back(frame);
    frame->setWindowModified(m_modified);
    UpdateFrameTitles();
}

void CDocument::DetachFrame(CDocumentFrame* frame) {
    m_frames.erase(std::remove(m_frames.begin(), m_frames.end(), frame), m_frames.end());
    UpdateFrameTitles();
}

EDocumentKind CDocument::Kind() const {
    return m_template.DocumentKind();
}

CUiHost& CDocument::Host() const {
    return m_host.Host();
}

void CDocument::ReportError(const std::string& text) const {
    Host().MessageBox(text, m_host.MessageCaption(), EMsgButtons::Ok, EMsgIcon::Error);
}

void CDocument::SetTitleNote(const QString& note) {
    m_titleNote = note;
    UpdateFrameTitles();
}

void CDocument::UpdateFrameTitles() {
    const bool numbered = m_frames.size() > 1;
    // Typing is refused in a read-only file; the title says so before the first key does.
    const QString readOnly = !m_titleNote.isEmpty() ? m_titleNote
                             : !m_pathName.empty() && IsReadOnlyFile(m_pathName)
                                 ? QStringLiteral(" (read-only)")
                                 : QString();
    for (size_t i = 0; i < m_frames.size(); ++i) {
        QString title = numbered ? QStringLiteral("%1:%2").arg(m_title).arg(i + 1) : m_title;
        m_frames[i]->setWindowTitle(title + readOnly + QStringLiteral("[*]"));
    }
}

} // namespace tovin
