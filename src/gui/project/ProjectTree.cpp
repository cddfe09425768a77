#include "gui/project/ProjectTree.h"

#include "core/app/UiHost.h"
#include "core/javamodel/JavaModel.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/project/AntCommands.h"
#include "core/project/AntFileReader.h"
#include "core/project/JavaProjectDoc.h"
#include "core/project/TestCommands.h"
#include "gui/desktop/DesktopRequests.h"
#include "gui/desktop/Icons.h"
#include "gui/project/FilePropertiesDialog.h"

#include <QContextMenuEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMenu>
#include <QTreeWidget>
#include <algorithm>
#include <vector>

namespace tovin {

namespace {

constexpr const char* kUnlocated =
    "Unable to locate this item - try adding the file to the project again.";
constexpr int kIconSize = 18;

// The pictures of the strip by index; the odd entries are the selected looks, which the
// style derives from the same picture. 12 and 13 are unused.
const QIcon& StripIcon(int index) {
    static const std::vector<QIcon> icons = [] {
        const char* const names[] = {
            "java-file", "main-java-file", "html-file",        "class",        "method", "xml-file",
            nullptr,     "jython-file",    "main-jython-file", "main-xml-file"};
        std::vector<QIcon> strip;
        for (const char* name : names) {
            const QIcon icon = name ? OwnIcon(QLatin1String(name)) : QIcon();
            strip.push_back(icon);
            strip.push_back(icon);
        }
        return strip;
    }();
    return icons[static_cast<std::size_t>(index)];
}

void SetIcon(QTreeWidgetItem* item, int icon) {
    if (item->data(0, CProjectTree::kIconRole) != QVariant(icon)) {
        item->setData(0, CProjectTree::kIconRole, icon);
        item->setIcon(0, StripIcon(icon));
    }
}

// The children of one item by text, so a refresh finds each item in constant time; children
// that no lookup asked for are the ones the model no longer has. New children are built
// detached and added in one go by Finish, which keeps a first fill of a large project quick.
class CChildIndex {
public:
    explicit CChildIndex(QTreeWidgetItem* parent) : m_parent(parent) {
        const int count = parent->childCount();
        m_items.reserve(static_cast<std::size_t>(count));
        m_used.assign(static_cast<std::size_t>(count), false);
        m_byText.reserve(count);
        for (int i = 0; i < count; ++i) {
            QTreeWidgetItem* child = parent->child(i);
            m_items.push_back(child);
            m_byText.insert(child->text(0), i); // a later duplicate keeps the first
        }
    }

    QTreeWidgetItem* FindOrAppend(const std::string& name, int icon, int line,
                                  bool* appended = nullptr) {
        const QString text = QString::fromStdString(name);
        QTreeWidgetItem* item = nullptr;
        if (auto it = m_byText.constFind(text); it != m_byText.constEnd()) {
            item = m_items[static_cast<std::size_t>(*it)];
            m_used[static_cast<std::size_t>(*it)] = true;
        } else {
            item = new QTreeWidgetItem;
            item->setText(0, text);
            SetIcon(item, icon);
            m_byText.insert(text, static_cast<int>(m_items.size()));
            m_items.push_back(item);
            m_used.push_back(true);
            m_new.push_back({text, item});
        }
        if (appended) {
            *appended = !m_new.empty() && m_new.back().second == item;
        }
        item->setData(0, CProjectTree::kLineRole, line);
        return item;
    }

    // Deletes the children nobody asked for (`remembered` is cleared when it goes with them),
    // adds the new ones and sorts.
    void Finish(QTreeWidgetItem*& remembered) {
        const bool hadChildren = m_items.size() > m_new.size();
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (!m_used[i]) {
                for (QTreeWidgetItem* up = remembered; up; up = up->parent()) {
                    if (up == m_items[i]) {
                        remembered = nullptr;
                        break;
                    }
                }
                delete m_items[i];
            }
        }
        if (m_new.empty()) {
            return;
        }
        if (!hadChildren) {
            // The order the tree's own sort gives: case-sensitive comparison of the texts.
            std::stable_sort(m_new.begin(), m_new.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
        }
        QList<QTreeWidgetItem*> added;
        added.reserve(static_cast<qsizetype>(m_new.size()));
        for (const auto& entry : m_new) {
            added.append(entry.second);
        }
        m_parent->addChildren(added);
        if (hadChildren) {
            m_parent->sortChildren(0, Qt::AscendingOrder);
        }
    }

private:
    QTreeWidgetItem* m_parent;
    std::vector<QTreeWidgetItem*> m_items;
    std::vector<bool> m_used;
    QHash<QString, int> m_byText;
    std::vector<std::pair<QString, QTreeWidgetItem*>> m_new;
};

// The extension as written (case kept), which decides a file item's picture.
std::string WrittenExtension(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

int FileIcon(const std::string& extension, bool main, int current) {
    if (extension == "py") {
        return main ? CProjectTree::MainJythonFileIcon : CProjectTree::JythonFileIcon;
    }
    if (extension == "java") {
        return main ? CProjectTree::MainJavaFileIcon : CProjectTree::JavaFileIcon;
    }
    if (extension == "xml") {
        return main ? CProjectTree::MainXmlFileIcon : CProjectTree::XmlFileIcon;
    }
    return current;
}

// Visits the model of a file in the order the tree is filled from it.
template <class F> void WalkModel(const CJavaFile& file, F&& visit) {
    for (const auto& javaClass : file.Classes()) {
        visit(true, 1, javaClass->GetName(), javaClass->GetPosition());
        for (const auto& method : javaClass->Methods()) {
            visit(false, 2, method->GetName(), method->GetPosition());
        }
        for (const auto& inner : javaClass->InnerClasses()) {
            visit(true, 2, inner->GetName(), inner->GetPosition());
            for (const auto& method : inner->Methods()) {
                visit(false, 3, method->GetName(), method->GetPosition());
            }
        }
    }
    for (const auto& function : file.Functions()) {
        visit(false, 1, function->GetName(), function->GetPosition());
    }
}

void FillClass(QTreeWidgetItem* item, const CJavaClass& javaClass, QTreeWidgetItem*& remembered) {
    CChildIndex members(item);
    for (const auto& method : javaClass.Methods()) {
        members.FindOrAppend(method->GetName(), CProjectTree::MethodIcon, method->GetPosition());
    }
    for (const auto& inner : javaClass.InnerClasses()) {
        QTreeWidgetItem* innerItem =
            members.FindOrAppend(inner->GetName(), CProjectTree::ClassIcon, inner->GetPosition());
        CChildIndex innerMethods(innerItem);
        for (const auto& method : inner->Methods()) {
            innerMethods.FindOrAppend(method->GetName(), CProjectTree::MethodIcon,
                                      method->GetPosition());
        }
        innerMethods.Finish(remembered);
    }
    members.Finish(remembered);
}

} // namespace

CProjectTree::CProjectTree(CJavaProjectDoc& project, QWidget* parent)
    : QWidget(parent), m_project(project), m_tree(new QTreeWidget(this)) {
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setExpandsOnDoubleClick(false);
    m_tree->setDragEnabled(false);
    m_tree->setIconSize(QSize(kIconSize, kIconSize));
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->installEventFilter(this);
    m_tree->viewport()->installEventFilter(this);
    setFocusProxy(m_tree);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this] { OpenSelected(); });
}

CProjectTree::CShownBranch CProjectTree::Snapshot(const CJavaFile& file) {
    CShownBranch shown;
    WalkModel(file, [&shown](bool isClass, int depth, const std::string& name, int line) {
        shown.push_back({isClass, depth, name, line});
    });
    return shown;
}

bool CProjectTree::Matches(const CJavaFile& file, const CShownBranch& shown) {
    std::size_t next = 0;
    bool same = true;
    WalkModel(file, [&](bool isClass, int depth, const std::string& name, int line) {
        if (same) {
            same = next < shown.size() && shown[next].isClass == isClass &&
                   shown[next].depth == depth && shown[next].line == line &&
                   shown[next].name == name;
            ++next;
        }
    });
    return same && next == shown.size();
}

QSize CProjectTree::sizeHint() const {
    // A dialog unit is a quarter of the average character width and an eighth of the height.
    const QFontMetrics metrics = fontMetrics();
    return {metrics.averageCharWidth() * 103 / 4, metrics.height() * 247 / 8};
}

void CProjectTree::Message(const char* text) const {
    Project().Host().MessageBox(text, "Tovin", EMsgButtons::Ok, EMsgIcon::Warning);
}

void CProjectTree::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_tree->setGeometry(2, 0, width() - 4, height() - 8);
}

void CProjectTree::Fill() {
    m_tree->setUpdatesEnabled(false);
    QTreeWidgetItem* remembered = m_tree->currentItem();
    CJavaProjectDoc& project = Project();
    CChildIndex roots(m_tree->invisibleRootItem());
    for (const auto& file : project.JavaFiles()) {
        const std::string& name = file->GetFileName();
        bool appended = false;
        QTreeWidgetItem* item = roots.FindOrAppend(name, JavaFileIcon, -1, &appended);
        SetIcon(item, FileIcon(WrittenExtension(name), project.IsMainFile(name) != 0,
                               item->data(0, kIconRole).toInt()));
        CShownBranch& shown = m_shown[name];
        if (!appended && Matches(*file, shown)) {
            continue;
        }
        shown = Snapshot(*file);
        CChildIndex children(item);
        for (const auto& javaClass : file->Classes()) {
            FillClass(
                children.FindOrAppend(javaClass->GetName(), ClassIcon, javaClass->GetPosition()),
                *javaClass, remembered);
        }
        for (const auto& function : file->Functions()) {
            children.FindOrAppend(function->GetName(), MethodIcon, function->GetPosition());
        }
        children.Finish(remembered);
    }
    for (const auto& file : project.FreeFiles()) {
        roots.FindOrAppend(file->GetFileName(), PageIcon, -1);
    }
    roots.Finish(remembered);
    if (remembered && remembered != m_tree->currentItem()) {
        m_tree->setCurrentItem(remembered);
    }
    m_tree->setUpdatesEnabled(true);
}

bool CProjectTree::HasKeyFocus() const {
    return m_tree->hasFocus();
}

QTreeWidgetItem* CProjectTree::Selected() const {
    return m_tree->currentItem();
}

QTreeWidgetItem* CProjectTree::TopLevel(QTreeWidgetItem* item) {
    while (item && item->parent()) {
        item = item->parent();
    }
    return item;
}

std::string CProjectTree::SelectedFilePath() const {
    QTreeWidgetItem* item = Selected();
    if (!item || item->parent()) {
        return {};
    }
    const std::string path = Project().GetFullPath(item->text(0).toStdString());
    return path == CJavaProjectDoc::kNoFile ? std::string() : path;
}

std::string CProjectTree::SelectedExtension() const {
    const std::string path = SelectedFilePath();
    return path.empty() ? std::string() : GetExtension(path);
}

void CProjectTree::ReportUnlocated() {
    Message(kUnlocated);
    Project().AddFilesCommand();
}

bool CProjectTree::OpenSelected() {
    QTreeWidgetItem* item = Selected();
    if (!item) {
        Message("Item is NULL");
        return false;
    }
    CJavaProjectDoc& project = Project();
    const std::string text = item->text(0).toStdString();
    const std::string path = project.GetFullPath(text);
    if (path != CJavaProjectDoc::kNoFile) {
        // A Cancel to the open's own question (closing the open project) ends the command.
        const SOpenResult opened = project.Host().TryOpenDocument(path);
        if (!opened.document && !opened.declined && !project.FindInProjectFolder(text)) {
            ReportUnlocated();
        }
        return true;
    }
    if (project.ShowClass(text)) {
        return true;
    }
    if (!item->parent()) {
        Message("Parent is NULL");
        return false;
    }
    const std::string file = TopLevel(item)->text(0).toStdString();
    const int line = item->data(0, kLineRole).toInt();
    if (project.OpenFileAtLine(file, line) || (line >= 0 && project.OpenFileAtLine(file, line))) {
        return true;
    }
    ReportUnlocated();
    return false;
}

bool CProjectTree::FillContextMenu(QTreeWidgetItem* item, QMenu& menu) {
    if (!item) {
        return false;
    }
    m_tree->setCurrentItem(item);
    auto add = [this, &menu](const QString& text, auto slot) {
        return menu.addAction(text, this, slot);
    };
    QAction* open = add(QStringLiteral("Open"), [this] { OnOpen(); });
    QAction* defaultEntry = open;
    auto addFileTail = [&] {
        add(QStringLiteral("Remove"), [this] { OnRemove(); });
        add(QStringLiteral("Properties..."), [this] { OnProperties(); });
    };
    CJavaProjectDoc& project = Project();
    QTreeWidgetItem* top = TopLevel(item);
    const std::string topName = top->text(0).toStdString();
    const CJavaFile* javaFile = project.JavaFiles().FindByFileName(topName);
    const std::string extension = javaFile ? javaFile->GetExtension() : GetExtension(topName);
    if (item != top) {
        if (extension == "xml") {
            add(QStringLiteral("Run ant ") + item->text(0), [this] { OnRunAntOnItem(); });
        }
    } else if (!javaFile) {
        add(QStringLiteral("Run Applet"), [this] { OnRunApplet(); });
        add(QStringLiteral("Open in Web Browser"), [this] { OnOpenInWebBrowser(); });
        addFileTail();
    } else if (extension == "py") {
        add(QStringLiteral("Run Jython"), [this] { OnRunJython(false); });
        add(QStringLiteral("Run Jython with console"), [this] { OnRunJython(true); });
        add(QStringLiteral("Compile Jython"), [this] { OnCompileJython(); });
        addFileTail();
    } else if (extension == "xml") {
        CAntFileReader reader(project.GetFullPath(topName));
        reader.Parse();
        if (!reader.GetText().empty()) {
            menu.addSeparator();
            add(QStringLiteral("Run Ant..."), [this] { OnRunAnt(); });
            const std::vector<std::string>& targets = reader.GetTargetNames();
            for (int i = 0; i < static_cast<int>(targets.size()) && i <= kLastTarget - kFirstTarget;
                 ++i) {
                QAction* target = add(QString::fromStdString(targets[static_cast<std::size_t>(i)]),
                                      [this, i] { OnTarget(kFirstTarget + i); });
                target->setData(kFirstTarget + i);
                if (i == reader.GetDefaultIndex()) {
                    defaultEntry = target;
                }
            }
            menu.addSeparator();
        }
        addFileTail();
    } else {
        add(QStringLiteral("Compile"), [this] { OnCompile(); });
        add(QStringLiteral("Set as Main"), [this] { OnSetAsMain(); });
        // The debugger has no menu of its own; the main class is what it runs.
        if (project.IsMainFile(topName)) {
            add(QStringLiteral("Run with JDB"), [this] { OnRunWithJdb(); });
        }
        const std::string path = javaFile->GetFullPath();
        if (const auto text = ReadWholeFile(path); text && FindJUnitUse(*text).Any()) {
            add(QStringLiteral("Run Tests"), [this, path] { emit RunTestsRequested(path); });
        }
        addFileTail();
    }
    menu.addSeparator();
    add(QStringLiteral("Add Files..."), [this] { OnAddFiles(); });
    menu.setDefaultAction(defaultEntry);
    return true;
}

void CProjectTree::ShowContextMenu(const QPoint& pos, bool fromKeyboard) {
    QTreeWidgetItem* item = fromKeyboard ? nullptr : m_tree->itemAt(pos);
    QPoint at = m_tree->viewport()->mapToGlobal(pos);
    if (!item) {
        item = Selected();
        if (!item) {
            return;
        }
        const QRect rect = m_tree->visualItemRect(item);
        if (rect.isEmpty()) {
            Message("Unable to get the rect");
        } else {
            at = m_tree->viewport()->mapToGlobal(QPoint(rect.left() + 10, rect.bottom()));
        }
    }
    QMenu menu(this);
    if (FillContextMenu(item, menu)) {
        menu.exec(at);
    }
}

bool CProjectTree::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        const bool keyboard = menuEvent->reason() != QContextMenuEvent::Mouse;
        const QPoint pos = watched == m_tree ? m_tree->viewport()->mapFrom(m_tree, menuEvent->pos())
                                             : menuEvent->pos();
        ShowContextMenu(pos, keyboard);
        return true;
    }
    // The tree's own keys act on its selected item, ahead of the window's shortcuts for the
    // same keys (which reach the tree only while it has the focus).
    if ((event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
        watched == m_tree) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
            return QWidget::eventFilter(watched, event);
        }
        void (CProjectTree::*command)() = nullptr;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            command = &CProjectTree::OnOpen;
            break;
        case Qt::Key_Delete:
            command = &CProjectTree::OnRemove;
            break;
        case Qt::Key_F8:
            command = &CProjectTree::OnSetAsMain;
            break;
        default:
            return QWidget::eventFilter(watched, event);
        }
        event->accept();
        if (event->type() == QEvent::KeyPress) {
            (this->*command)();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- commands

void CProjectTree::OnCompile() {
    QTreeWidgetItem* item = Selected();
    if (!item || item->parent()) {
        return;
    }
    const std::string name = item->text(0).toStdString();
    CJavaProjectDoc& project = Project();
    if (const CJavaFile* file = project.JavaFiles().FindByFileName(name)) {
        project.CompileFile(project.GetFullPath(name), file->GetPackage());
    } else if (project.FreeFiles().FindByFileName(name)) {
        Message("Can't compile HTML File!");
    }
}

void CProjectTree::OnSetAsMain() {
    // Only a file of the Java list (a Java, Jython or build file) can be main; a page cannot.
    QTreeWidgetItem* item = Selected();
    if (SelectedFilePath().empty() ||
        !Project().JavaFiles().FindByFileName(item->text(0).toStdString())) {
        Message("Only Java files can be set as main");
        return;
    }
    // The item stays: the refresh that follows gives it (and the former main file) its new
    // picture, and it keeps its branches open and stays selected.
    Project().SetMainFile(item->text(0).toStdString());
}

void CProjectTree::OnRemove() {
    const std::string path = SelectedFilePath();
    if (path.empty()) {
        Message("No files to remove.");
        return;
    }
    delete Selected();
    Project().RemoveFile(path);
}

void CProjectTree::OnProperties() {
    const std::string path = SelectedFilePath();
    if (path.empty()) {
        return;
    }
    const std::string name = Selected()->text(0).toStdString();
    const CJavaFile* file = Project().JavaFiles().FindByFileName(name);
    CFilePropertiesDialog dialog(name, file ? file->GetPackage() : std::string(), path,
                                 Project().Host(), this);
    dialog.exec();
}

void CProjectTree::OnAddFiles() {
    Project().AddFilesCommand();
}

void CProjectTree::OnAddHtmlFile() {
    Project().AddAppletPageCommand();
}

void CProjectTree::OnOpenInWebBrowser() {
    if (const std::string path = SelectedFilePath(); !path.empty()) {
        OpenWithDesktopOrSay(Project().Host(), path);
    }
}

void CProjectTree::OnRunApplet() {
    if (const std::string path = SelectedFilePath(); !path.empty()) {
        emit RunAppletRequested(path);
    }
}

void CProjectTree::OnRunAnt() {
    if (SelectedExtension() == "xml") {
        RunAnt(Project(), SelectedFilePath(), {});
    }
}

void CProjectTree::OnRunAntOnItem() {
    QTreeWidgetItem* item = Selected();
    if (!item || !item->parent()) {
        return;
    }
    const std::string path = Project().GetFullPath(TopLevel(item)->text(0).toStdString());
    if (path != CJavaProjectDoc::kNoFile) {
        RunAnt(Project(), path, item->text(0).toStdString());
    }
}

void CProjectTree::OnTarget(int command) {
    const std::string path = SelectedFilePath();
    if (path.empty() || command < kFirstTarget || command > kLastTarget) {
        return;
    }
    CAntFileReader reader(path);
    reader.Parse();
    const auto index = static_cast<std::size_t>(command - kFirstTarget);
    if (index < reader.GetTargetNames().size()) {
        RunAnt(Project(), path, reader.GetTargetNames()[index]);
    }
}

void CProjectTree::OnRunJython(bool console) {
    if (SelectedExtension() == "py") {
        Project().RunJython(SelectedFilePath(), console, {});
    }
}

void CProjectTree::OnCompileJython() {
    if (SelectedExtension() == "py") {
        Project().CompileJython(SelectedFilePath());
    }
}

void CProjectTree::OnRunWithJdb() {
    emit RunWithJdbRequested();
}

} // namespace tovin
