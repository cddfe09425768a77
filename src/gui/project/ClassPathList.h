#pragma once
// CClassPathList: a class path shown as a two-column list ("Name", "Full Path"), one row per
// entry, with an icon telling a folder from an archive and, where the owner has a compile
// directory, which folder that is. The project form and the preferences' paths page use it.
//
// Entries are separated by ':' (the platform's list separator). A text holding ';' was
// written on Windows: it is split at ';' only, since its entries may carry drive letters'
// ':'. The rebuilt text uses ':', or ';' when an entry holds a ':', so it reads back the same.

#include <QTreeWidget>
#include <string>
#include <vector>

class QMenu;

namespace tovin {

class CUiHost;

class CClassPathList : public QTreeWidget {
    Q_OBJECT
public:
    // Icons of the rows, in the order of the list's icon strip.
    enum EIcon { FolderIcon = 0, CompileDirIcon = 1, ArchiveIcon = 2 };

    // Without compile-directory marking the context menu offers only "Remove" and the compile
    // directory stays empty.
    CClassPathList(CUiHost& host, bool compileDirMarking, QWidget* parent);

    // The entries of a class path: an empty piece between two separators is an (empty)
    // entry; an empty piece after the last separator is not.
    static std::vector<std::string> Split(const std::string& text);
    // An entry is an archive when it is a file on disk, or, when nothing is there, when its
    // extension is ".jar" or ".zip" (in any case); anything else is a folder.
    static bool IsArchive(const std::string& entry);

    // Replaces the rows with the entries of `text` and marks `compileDir` (may be empty).
    void Fill(const std::string& text, const std::string& compileDir = {});
    // The full paths of all rows in list order joined by ':' (by ';' when one holds a ':').
    std::string Text() const;
    const std::string& CompileDir() const { return m_compileDir; }

    // Ask for an archive or a folder and append it; false when cancelled. With `folder`, the
    // dialog opens there, and a choice leaves there the folder the user chose from (the
    // archive's folder, or the folder itself).
    bool AddJar(std::string* folder = nullptr);
    bool AddFolder(std::string* folder = nullptr);
    // Removes the selected row and gives its full path (empty when nothing was selected).
    // Removing the compile directory empties it.
    std::string RemoveSelected();
    // The selected folder becomes the compile directory, or stops being it when it already
    // is. Archives and an empty selection change nothing.
    void ToggleCompileDir();
    // Gives the folder row whose full path is `path` the compile-directory icon when `mark` is
    // set; every other folder row gets the folder icon.
    void MarkCompileDir(const std::string& path, bool mark);

    // The full path of the selected row and whether it is a folder.
    std::string SelectedPath() const;
    bool IsSelectedFolder() const;
    // Fills the context menu for the selected row; false (menu left empty) without one.
    bool FillContextMenu(QMenu& menu);

signals:
    // Rows were added or removed; Text() gives the new class path.
    void ClassPathChanged();
    void CompileDirChanged(const QString& compileDir);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void AppendRow(const std::string& entry, EIcon icon);
    void SetRowIcon(QTreeWidgetItem* item, EIcon icon);

    CUiHost& m_host;
    const bool m_compileDirMarking;
    std::string m_compileDir;
};

} // namespace tovin
