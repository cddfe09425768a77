#include "gui/editor/SourceDocument.h"

#include "core/platform/Files.h"
#include "gui/editor/SourceView.h"

#include <algorithm>

namespace tovin {

CSourceDocument::CSourceDocument(const SEditorContext& context, EDocumentKind kind, QObject* parent)
    : QObject(parent), m_context(context), m_kind(kind) {}

CSourceDocument::~CSourceDocument() = default;

bool CSourceDocument::OnOpenDocument(const std::string& path) {
    CTextFile file;
    std::string error = file.Load(path);
    if (!error.empty()) {
        Host().MessageBox(error, "Tovin", EMsgButtons::Ok, EMsgIcon::Error);
        return false;
    }
    m_file = std::move(file);
    SetPathName(path);
    PlaceText(m_file.Text());
    return true;
}

bool CSourceDocument::OnSaveDocument(const std::string& path) {
    const std::string text = Text();
    if (m_file.IsEightBit() && !AgreeToUtf8(path, text)) {
        return false;
    }
    std::string error = m_file.Save(path, text);
    if (!error.empty()) {
        Host().MessageBox(error, "Tovin", EMsgButtons::Ok, EMsgIcon::Error);
        return false;
    }
    SetPathName(path);
    SetModified(false);
    return true;
}

bool CSourceDocument::AgreeToUtf8(const std::string& path, const std::string& text) {
    const std::vector<std::string> characters = CharactersBeyondLatin1(text);
    if (characters.empty()) {
        return true;
    }
    constexpr size_t kNamed = 8;
    std::string named;
    for (size_t i = 0; i < characters.size() && i < kNamed; ++i) {
        named += (i ? " " : "") + characters[i];
    }
    if (characters.size() > kNamed) {
        named += " and " + std::to_string(characters.size() - kNamed) + " more";
    }
    const std::string question =
        "The file \"" + path +
        "\" is stored in 8 bits (Latin-1), which cannot hold these characters of the text: " +
        named +
        "\n\nSave it as UTF-8 instead? Choose Cancel to leave the file unsaved and change the "
        "text.";
    if (Host().MessageBox(question, "Tovin", EMsgButtons::OkCancel, EMsgIcon::Question) !=
        EMsgAnswer::Ok) {
        return false;
    }
    m_file.SetUtf8();
    return true;
}

bool CSourceDocument::OnNewDocument() {
    m_file = CTextFile();
    SetPathName({});
    PlaceText({});
    return true;
}

void CSourceDocument::PlaceText(const std::string& text) {
    m_indentStyle = DetectIndentation(text);
    // The text's lines go, and with them the markers.
    m_compilerMarks.clear();
    CSourceView* view = FirstView();
    if (!view) {
        m_pendingText = text;
        m_hasPendingText = true;
        m_modifiedWithoutView = false;
        return;
    }
    view->LoadText(text);
    view->OnTextReloaded();
    SetModified(false);
    emit Reloaded();
}

bool CSourceDocument::TakePendingText(std::string& text) {
    if (!m_hasPendingText) {
        return false;
    }
    text = std::move(m_pendingText);
    m_pendingText.clear();
    m_hasPendingText = false;
    return true;
}

std::string CSourceDocument::Text() const {
    if (CSourceView* view = FirstView()) {
        return view->GetText();
    }
    return m_pendingText;
}

bool CSourceDocument::IsModified() const {
    return m_modifiedWithoutView ||
           std::any_of(m_views.begin(), m_views.end(),
                       [](const CSourceView* view) { return view->GetModify(); });
}

void CSourceDocument::SetModified(bool modified) {
    if (m_views.empty()) {
        if (m_modifiedWithoutView != modified) {
            m_modifiedWithoutView = modified;
            emit ModifiedChanged(modified);
        }
        return;
    }
    m_modifiedWithoutView = false;
    if (modified) {
        m_views.front()->SetModify(true);
        return;
    }
    for (CSourceView* view : m_views) {
        view->SetModify(false);
    }
}

bool CSourceDocument::IsReadOnlyFile() const {
    return !m_pathName.empty() && tovin::IsReadOnlyFile(m_pathName);
}

void CSourceDocument::AttachView(CSourceView* view) {
    m_views.push_back(view);
    if (m_modifiedWithoutView && m_views.size() == 1) {
        m_modifiedWithoutView = false;
        view->SetModify(true);
    }
}

void CSourceDocument::DetachView(CSourceView* view) {
    const bool modified = IsModified();
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
    // The last view takes the text with it; what it held is kept for a later view.
    if (m_views.empty() && !m_hasPendingText) {
        m_pendingText = view->GetText();
        m_hasPendingText = true;
        m_modifiedWithoutView = modified;
    } else if (modified && !IsModified()) {
        m_views.front()->SetModify(true);
    }
}

void CSourceDocument::CheckDiskChange() {
    // A check queued as the window got the focus may come due after its window closed (the
    // program exits, the main window may be gone): there is nothing left to reload into.
    CSourceView* view = FirstView();
    if (m_checkingDisk || m_pathName.empty() || !view || !view->isVisible()) {
        return;
    }
    m_checkingDisk = true;
    switch (m_file.CheckDisk(m_pathName)) {
    case CTextFile::EDiskState::Unchanged:
        break;
    case CTextFile::EDiskState::Missing:
        // Closing the window then asks to save, so the text can be written back.
        SetModified(true);
        break;
    case CTextFile::EDiskState::Changed: {
        std::string text = "The file \"" + m_pathName +
                           "\" has been changed by another program.\n\nDo you want to reload it?";
        // With unsaved edits, Enter must not throw them away: No is then the default.
        EMsgButtons buttons = EMsgButtons::YesNo;
        if (IsModified()) {
            text += " The changes made in this window will be lost.";
            buttons = EMsgButtons::YesNoDefaultNo;
        }
        if (Host().MessageBox(text, "Tovin", buttons, EMsgIcon::Question) == EMsgAnswer::Yes) {
            Reload();
        } else {
            // The window keeps its text, which is no longer the file's: like an edit, it is
            // saved by Save All and asked about on closing, or it would be lost unnoticed.
            m_file.AcceptDiskContent(m_pathName);
            SetModified(true);
        }
        break;
    }
    }
    m_checkingDisk = false;
}

bool CSourceDocument::Reload() {
    std::string error = m_file.Load(m_pathName);
    if (!error.empty()) {
        Host().MessageBox(error, "Tovin", EMsgButtons::Ok, EMsgIcon::Error);
        return false;
    }
    PlaceText(m_file.Text());
    return true;
}

} // namespace tovin
