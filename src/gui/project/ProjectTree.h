#pragma once
// CProjectTree: the project window's tree of the project's files, with the classes, inner
// classes, methods, Ant targets and Jython functions the model holds for each. A double-click
// or Enter opens the item (a file, or the file at the item's line); the context menu offers
// the commands for the item's kind.
//
// Items are matched by their exact text, created once and afterwards only updated, so an
// expanded branch and the selection survive every refresh. Each item keeps its line (the
// model's position; -1 for a file) and the index of its picture in the icon strip.

#include <QWidget>
#include <string>
#include <unordered_map>
#include <vector>

class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace tovin {

class CJavaFile;
class CJavaProjectDoc;

class CProjectTree : public QWidget {
    Q_OBJECT
public:
    // Item data roles.
    static constexpr int kLineRole = Qt::UserRole;
    static constexpr int kIconRole = Qt::UserRole + 1;
    // Pictures of the strip, each one of an (image, selected image) pair.
    enum EIcon {
        JavaFileIcon = 0,
        MainJavaFileIcon = 2,
        PageIcon = 4,
        ClassIcon = 6,
        MethodIcon = 8,
        XmlFileIcon = 10,
        JythonFileIcon = 14,
        MainJythonFileIcon = 16,
        MainXmlFileIcon = 18,
    };
    // Command numbers of the Ant target entries: kFirstTarget + the target's index.
    static constexpr int kFirstTarget = 40000;
    static constexpr int kLastTarget = 41000;

    CProjectTree(CJavaProjectDoc& project, QWidget* parent);

    QTreeWidget* Tree() const { return m_tree; }
    // Whether the tree control has the keyboard focus (the keys that act on its selected item
    // are meant for it only then).
    bool HasKeyFocus() const;
    // The dialog's 103 x 247 dialog units in this font.
    QSize sizeHint() const override;

    // Brings the tree up to date with the project's lists and models.
    void Fill();
    // Opens the selected item; true when something was opened.
    bool OpenSelected();

    // Fills `menu` for the item (which becomes the selection); false for no item.
    bool FillContextMenu(QTreeWidgetItem* item, QMenu& menu);
    // Shows the context menu for the item under `pos` (viewport coordinates), else beside the
    // selected item; nothing without either.
    void ShowContextMenu(const QPoint& pos, bool fromKeyboard);

    // ---- commands on the selected item
    void OnOpen() { OpenSelected(); }
    void OnCompile();
    void OnSetAsMain();
    void OnRemove();
    void OnProperties();
    void OnAddFiles();
    void OnAddHtmlFile();
    void OnOpenInWebBrowser();
    void OnRunApplet();
    void OnRunAnt();
    void OnRunAntOnItem();
    void OnTarget(int command);
    void OnRunJython(bool console);
    void OnCompileJython();
    void OnRunWithJdb();

signals:
    // Commands the project document carries out.
    void RunAppletRequested(const std::string& pagePath);
    void RunWithJdbRequested();
    // "Run Tests" on a test file: only that file's tests.
    void RunTestsRequested(const std::string& path);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CJavaProjectDoc& Project() const { return m_project; }
    void Message(const char* text) const;
    // Name of the selected item's file (its top-level ancestor) and the item's own text.
    QTreeWidgetItem* Selected() const;
    static QTreeWidgetItem* TopLevel(QTreeWidgetItem* item);
    // Full path of the selected item when it is a project file, else empty.
    std::string SelectedFilePath() const;
    std::string SelectedExtension() const;
    void ReportUnlocated();

    // What a file's branch was last filled from, in the order the model lists it; a refresh
    // leaves a branch whose model is unchanged alone, which keeps refreshes of large projects
    // quick.
    struct SShownEntry {
        bool isClass;
        int depth;
        std::string name;
        int line;
        bool operator==(const SShownEntry&) const = default;
    };
    using CShownBranch = std::vector<SShownEntry>;
    static CShownBranch Snapshot(const CJavaFile& file);
    static bool Matches(const CJavaFile& file, const CShownBranch& shown);

    CJavaProjectDoc& m_project;
    QTreeWidget* m_tree;
    std::unordered_map<std::string, CShownBranch> m_shown;
};

} // namespace tovin
