#pragma once
// The document behind the source editors: one file's text, shown by one or more views that
// share the same QScintilla document (so edits, colours and undo are common to them). The text
// lives in the views' control; between reading a file and the first view it is kept here.
//
// Files are read and written through CTextFile (DESIGN: line ends, encoding, atomic writes). A
// failure to read or write is reported through the host; a failed write keeps the old file. A
// file changed on disk by another program is noticed when a view is activated.

#include "core/app/UiHost.h"
#include "core/editor/Indentation.h"
#include "core/editor/TextFile.h"
#include "gui/editor/EditorAids.h"
#include "gui/editor/EditorContext.h"

#include <QObject>

#include <optional>
#include <string>
#include <vector>

namespace tovin {

class CSourceView;

class CSourceDocument : public QObject, public COpenDocument {
    Q_OBJECT
public:
    CSourceDocument(const SEditorContext& context, EDocumentKind kind, QObject* parent = nullptr);
    ~CSourceDocument() override;

    const SEditorContext& Context() const { return m_context; }
    CUiHost& Host() const { return *m_context.host; }

    // ---- COpenDocument: what the project's navigation asks of an open file
    EDocumentKind Kind() const override { return m_kind; }
    void ShowLine(int) override {}
    void ShowPosition(int) override {}
    int FindFunctionPosition(const std::string&) const override { return -1; }
    std::string PackageName() const override { return {}; }

    // Full path; empty while the document was never saved.
    const std::string& PathName() const { return m_pathName; }
    void SetPathName(const std::string& path) { m_pathName = path; }

    // Reads the file; on failure shows why and returns false (the document is unchanged).
    virtual bool OnOpenDocument(const std::string& path);
    // Writes the text; on failure shows why and returns false (the old file is kept).
    virtual bool OnSaveDocument(const std::string& path);
    // A new, empty text.
    virtual bool OnNewDocument();

    bool IsModified() const;
    void SetModified(bool modified);
    // The whole text as the views hold it (CR LF breaks).
    std::string Text() const;

    CTextFile& File() { return m_file; }
    const CTextFile& File() const { return m_file; }
    // True when the file exists and may not be written.
    bool IsReadOnlyFile() const;

    // ---- views
    const std::vector<CSourceView*>& Views() const { return m_views; }
    CSourceView* FirstView() const { return m_views.empty() ? nullptr : m_views.front(); }
    void AttachView(CSourceView* view);
    void DetachView(CSourceView* view);
    // Hands the text read before the first view existed to that view; false when there is none.
    bool TakePendingText(std::string& text);

    // How the text read from the file is indented (nullopt: no line is; a new document).
    std::optional<SIndentStyle> FileIndentStyle() const { return m_indentStyle; }
    // The compiler's messages marked in the text (CEditorAids keeps them).
    std::vector<SCompilerMark>& CompilerMarks() { return m_compilerMarks; }
    const std::vector<SCompilerMark>& CompilerMarks() const { return m_compilerMarks; }
    // The language server's diagnostics marked in the text, apart from the compiler's.
    std::vector<SCompilerMark>& CheckMarks() { return m_checkMarks; }
    const std::vector<SCompilerMark>& CheckMarks() const { return m_checkMarks; }

    // A view was activated: when another program changed the file, asks whether to reload it.
    void CheckDiskChange();
    // Reads the file again into the views; false (after the message) when it cannot be read.
    bool Reload();

signals:
    void ModifiedChanged(bool modified);
    // The text was replaced by the file's content (a reload).
    void Reloaded();

private:
    void PlaceText(const std::string& text);
    // An 8-bit file whose text holds characters it cannot store is saved as UTF-8 only when the
    // user agrees; false when not (nothing is written then).
    bool AgreeToUtf8(const std::string& path, const std::string& text);

    SEditorContext m_context;
    EDocumentKind m_kind;
    std::string m_pathName;
    CTextFile m_file;
    std::vector<CSourceView*> m_views;
    std::optional<SIndentStyle> m_indentStyle;
    std::vector<SCompilerMark> m_compilerMarks;
    std::vector<SCompilerMark> m_checkMarks;
    std::string m_pendingText;
    bool m_hasPendingText = false;
    // Set by SetModified(true) while there is no view to carry it.
    bool m_modifiedWithoutView = false;
    bool m_checkingDisk = false;
};

} // namespace tovin
