#include "gui/project/ClassPathList.h"

#include "core/app/UiHost.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "gui/desktop/Icons.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

namespace tovin {

namespace {

constexpr int kNameWidth = 150;
constexpr int kPathWidth = 400;
constexpr int kIconSize = 18;
constexpr const char* kJarFilter =
    "Jar Files (*.jar)|*.jar|Zip Files (*.zip)|*zip|All Files (*.*)|*.*||";

bool IsPlainDelete(QEvent* event) {
    const auto* key = static_cast<QKeyEvent*>(event);
    return key->key() == Qt::Key_Delete &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

const QIcon& StripIcon(CClassPathList::EIcon icon) {
    static const QIcon icons[] = {OwnIcon(QStringLiteral("folder")),
                                  OwnIcon(QStringLiteral("compile-folder")),
                                  OwnIcon(QStringLiteral("archive"))};
    return icons[icon];
}

} // namespace

CClassPathList::CClassPathList(CUiHost& host, bool compileDirMarking, QWidget* parent)
    : QTreeWidget(parent), m_host(host), m_compileDirMarking(compileDirMarking) {
    setColumnCount(2);
    setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Full Path")});
    header()->resizeSection(0, kNameWidth);
    header()->resizeSection(1, kPathWidth);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(kIconSize, kIconSize));
}

std::vector<std::string> CClassPathList::Split(const std::string& text) {
    const char separator = text.find(';') != std::string::npos ? ';' : kPathListSeparator;
    std::vector<std::string> entries;
    std::string::size_type start = 0;
    for (std::string::size_type end; (end = text.find(separator, start)) != std::string::npos;
         start = end + 1) {
        entries.push_back(text.substr(start, end - start));
    }
    if (start < text.size()) {
        entries.push_back(text.substr(start));
    }
    return entries;
}

bool CClassPathList::IsArchive(const std::string& entry) {
    // What is on disk decides: a folder's name may hold a dot ("my.classes"). An entry that is
    // not there is taken by the archive extensions the class path knows.
    if (FileExists(entry)) {
        return !IsDirectoryPath(entry);
    }
    const std::string name = GetFileName(entry);
    const std::string extension = name.find('.') == std::string::npos ? "" : GetExtension(name);
    return extension == "jar" || extension == "zip";
}

void CClassPathList::Fill(const std::string& text, const std::string& compileDir) {
    clear();
    for (const std::string& entry : Split(text)) {
        AppendRow(entry, IsArchive(entry) ? ArchiveIcon : FolderIcon);
    }
    m_compileDir = m_compileDirMarking ? compileDir : std::string();
    MarkCompileDir(m_compileDir, !m_compileDir.empty());
}

std::string CClassPathList::Text() const {
    std::vector<std::string> entries;
    bool colonInEntry = false;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        entries.push_back(topLevelItem(row)->text(1).toStdString());
        colonInEntry = colonInEntry || entries.back().find(':') != std::string::npos;
    }
    // Entries with a ':' of their own (a Windows drive) are joined by ';', which Split reads
    // back as the same entries.
    const char separator = colonInEntry ? ';' : kPathListSeparator;
    std::string text;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) {
            text += separator;
        }
        text += entries[i];
    }
    return text;
}

void CClassPathList::AppendRow(const std::string& entry, EIcon icon) {
    auto* item = new QTreeWidgetItem(
        this, {QString::fromStdString(GetFileName(entry)), QString::fromStdString(entry)});
    SetRowIcon(item, icon);
}

void CClassPathList::SetRowIcon(QTreeWidgetItem* item, EIcon icon) {
    item->setIcon(0, StripIcon(icon));
    item->setData(0, Qt::UserRole, static_cast<int>(icon));
}

bool CClassPathList::AddJar(std::string* folder) {
    SFileDialogRequest request;
    request.filter = kJarFilter;
    request.initialFolder = folder ? *folder : std::string();
    const std::vector<std::string> chosen = m_host.FileDialog(request);
    if (chosen.empty()) {
        return false;
    }
    if (folder) {
        *folder = GetFolder(chosen.front());
    }
    AppendRow(chosen.front(), ArchiveIcon);
    emit ClassPathChanged();
    return true;
}

bool CClassPathList::AddFolder(std::string* folder) {
    const std::string chosen = m_host.BrowseForFolder("Locate folder to add to classpaths:",
                                                      folder ? *folder : std::string());
    if (chosen.empty()) {
        return false;
    }
    if (folder) {
        *folder = chosen;
    }
    AppendRow(chosen, FolderIcon);
    emit ClassPathChanged();
    return true;
}

std::string CClassPathList::RemoveSelected() {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) {
        return {};
    }
    const std::string path = selected.front()->text(1).toStdString();
    delete selected.front();
    emit ClassPathChanged();
    if (!m_compileDir.empty() && path == m_compileDir) {
        m_compileDir.clear();
        emit CompileDirChanged(QString());
    }
    return path;
}

void CClassPathList::ToggleCompileDir() {
    if (!m_compileDirMarking || !IsSelectedFolder()) {
        return;
    }
    const std::string path = SelectedPath();
    const bool mark = path != m_compileDir;
    m_compileDir = mark ? path : std::string();
    MarkCompileDir(path, mark);
    emit CompileDirChanged(QString::fromStdString(m_compileDir));
}

void CClassPathList::MarkCompileDir(const std::string& path, bool mark) {
    const QString wanted = QString::fromStdString(path);
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = topLevelItem(row);
        if (item->data(0, Qt::UserRole).toInt() == ArchiveIcon) {
            continue;
        }
        SetRowIcon(item, mark && item->text(1) == wanted ? CompileDirIcon : FolderIcon);
    }
}

std::string CClassPathList::SelectedPath() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? std::string() : selected.front()->text(1).toStdString();
}

bool CClassPathList::IsSelectedFolder() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return !selected.isEmpty() && selected.front()->data(0, Qt::UserRole).toInt() != ArchiveIcon;
}

bool CClassPathList::FillContextMenu(QMenu& menu) {
    if (selectedItems().isEmpty()) {
        return false;
    }
    menu.addAction(QStringLiteral("Remove"), this, [this] { RemoveSelected(); });
    if (m_compileDirMarking && IsSelectedFolder()) {
        QAction* compileDir = menu.addAction(QStringLiteral("Set as Compile Directory"), this,
                                             [this] { ToggleCompileDir(); });
        compileDir->setCheckable(true);
        compileDir->setChecked(SelectedPath() == m_compileDir);
    }
    return true;
}

// Delete removes the selected row. The key is claimed before the window's shortcuts see it: in
// the project's window Delete would otherwise remove a file from the project.
bool CClassPathList::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && IsPlainDelete(event)) {
        event->accept();
        return true;
    }
    return QTreeWidget::event(event);
}

void CClassPathList::keyPressEvent(QKeyEvent* event) {
    if (IsPlainDelete(event)) {
        RemoveSelected();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CClassPathList::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    if (FillContextMenu(menu)) {
        menu.exec(event->globalPos());
    }
}

} // namespace tovin
