#include "gui/app/MainFrame.h"

#include "core/platform/Paths.h"
#include "gui/app/CommandInfo.h"
#include "gui/desktop/Icons.h"
#include "gui/desktop/KeyboardIndicators.h"
#include "gui/framework/Document.h"
#include "gui/framework/DocumentFrame.h"
#include "gui/framework/RecentFileList.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace tovin {

namespace {

// Buttons of the main toolbar; None marks a separator.
constexpr ECommand kToolBarButtons[] = {
    ECommand::FileNew,
    ECommand::FileOpen,
    ECommand::FileSave,
    ECommand::None,
    ECommand::Cut,
    ECommand::Copy,
    ECommand::Paste,
    ECommand::None,
    ECommand::Print,
    ECommand::None,
    ECommand::IncreaseIndent,
    ECommand::DecreaseIndent,
    ECommand::None,
    ECommand::Compile,
    ECommand::Build,
    ECommand::RunApplication,
    ECommand::RunApplet,
    ECommand::OpenInWebBrowser,
    ECommand::None,
    ECommand::ProjectWindow,
};

constexpr int kLineColumnPaneWidth = 70;
constexpr int kCommandUiRefreshMs = 300;
constexpr const char* kCaption = "Tovin";
constexpr const char* kWindowMenuTitle = "&Window";
// The Window menu lists this many windows by number; the rest are reached by "More Windows...".
constexpr int kListedWindows = 9;

// The names the Window menu gives the windows: the window's title, "*" while its document has
// unsaved changes, and the document's folder when another open document has the same name (two
// "build.xml" windows).
QStringList WindowListTitles(const std::vector<CDocumentFrame*>& frames) {
    QStringList titles;
    for (const CDocumentFrame* frame : frames) {
        QString title = frame->windowTitle().remove(QStringLiteral("[*]"));
        if (const CDocument* document = frame->Document()) {
            if (document->IsModified()) {
                title += '*';
            }
            const bool sameName =
                std::any_of(frames.begin(), frames.end(), [document](const CDocumentFrame* other) {
                    return other->Document() && other->Document() != document &&
                           other->Document()->Title() == document->Title();
                });
            if (sameName && !document->PathName().empty()) {
                title += QStringLiteral(" (%1)").arg(
                    QString::fromStdString(GetFolder(document->PathName())));
            }
        }
        titles << title;
    }
    return titles;
}
// The command a key shortcut runs, kept on the shortcut itself.
constexpr const char* kCommandProperty = "tovinCommand";

} // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), m_mdiArea(new QMdiArea(this)),
      m_indicators(new CKeyboardIndicators(this)) {
    setWindowTitle(QLatin1String(kCaption));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
    CreateActions();
    CreateToolBar();
    CreateStatusBar();
    RegisterCommands();
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
    qApp->installEventFilter(m_indicators);
    connect(m_indicators, &CKeyboardIndicators::Changed, this, &CMainFrame::UpdateIndicatorPanes);
    connect(qApp, &QApplication::focusChanged, this, [this] { UpdateCommandUi(); });
    auto* refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, &CMainFrame::UpdateCommandUi);
    refresh->start(kCommandUiRefreshMs);
    InstallWindowSwitchKeys();
    ShowMenusFor(EMenuKind::NoDocument);
    resize(1000, 700);
}

CMainFrame::~CMainFrame() {
    // The widgets below report activation and focus changes while they are taken down; this
    // window no longer listens by then.
    disconnect(m_mdiArea, nullptr, this, nullptr);
    for (QMdiSubWindow* frame : m_mdiArea->subWindowList()) {
        disconnect(frame, nullptr, this, nullptr);
    }
    disconnect(qApp, nullptr, this, nullptr);
    if (m_projectDock) {
        disconnect(m_projectDock, nullptr, this, nullptr);
    }
    qApp->removeEventFilter(m_indicators);
}

void CMainFrame::CreateActions() {
    for (int i = 1; i < kCommandCount; ++i) {
        const auto id = static_cast<ECommand>(i);
        const SCommandInfo& info = CommandInfo(id);
        auto* action = new QAction(QString::fromStdString(PromptToolTip(info)), this);
        action->setObjectName(QLatin1String(info.name));
        action->setStatusTip(QString::fromStdString(PromptStatusText(info)));
        action->setToolTip(QString::fromStdString(PromptToolTip(info)));
        if (info.themeIcon || info.ownIcon) {
            action->setIcon(ThemeOrOwnIcon(info.themeIcon, info.ownIcon));
        }
        connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
        m_actions[static_cast<size_t>(i)] = action;
    }
    Action(ECommand::TipOfTheDay)->setText(QLatin1String(kTipOfTheDayText));
}

void CMainFrame::CreateToolBar() {
    m_toolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("MainToolBar"));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setIconSize(QSize(20, 20));
    for (ECommand id : kToolBarButtons) {
        if (id == ECommand::None) {
            m_toolBar->addSeparator();
        } else {
            m_toolBar->addAction(Action(id));
        }
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    const QStringList indicators = {QStringLiteral("CAP"), QStringLiteral("NUM"),
                                    QStringLiteral("SCRL")};
    for (int pane = 0; pane < 6; ++pane) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("StatusPane%1").arg(pane));
        if (pane == 0) {
            label->setText(QLatin1String(kReadyText));
            bar->addWidget(label, 1);
        } else {
            int width = pane <= 2
                            ? kLineColumnPaneWidth
                            : label->fontMetrics().horizontalAdvance(indicators[pane - 3]) + 12;
            label->setFixedWidth(width);
            label->setAlignment(pane <= 2 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
            bar->addPermanentWidget(label);
        }
        m_panes[static_cast<size_t>(pane)] = label;
    }
    auto* indent = new QLabel(bar);
    indent->setObjectName(QStringLiteral("StatusPane%1").arg(kIndentPane));
    const QFontMetrics metrics = indent->fontMetrics();
    indent->setFixedWidth(std::max(metrics.horizontalAdvance(QStringLiteral("Spaces: 8")),
                                   metrics.horizontalAdvance(QStringLiteral("Read-only"))) +
                          12);
    // After the line and column panes (the layout counts the message pane first).
    bar->insertPermanentWidget(3, indent);
    m_panes[kIndentPane] = indent;
    auto* check = new QLabel(bar);
    check->setObjectName(QStringLiteral("StatusPane%1").arg(kCheckPane));
    // Before the caret's panes, which stay where they are whatever it says.
    bar->insertPermanentWidget(1, check);
    m_panes[kCheckPane] = check;
}

void CMainFrame::RegisterCommands() {
    CCommandMap& map = CommandMap();
    map.OnCommand(ECommand::ViewToolbar, [this] { m_toolBar->setVisible(m_toolBar->isHidden()); });
    map.OnUpdate(ECommand::ViewToolbar, [this] {
        return SCommandState{true, !m_toolBar->isHidden()};
    });
    map.OnCommand(ECommand::ViewStatusBar,
                  [this] { statusBar()->setVisible(statusBar()->isHidden()); });
    map.OnUpdate(ECommand::ViewStatusBar, [this] {
        return SCommandState{true, !statusBar()->isHidden()};
    });
    auto anyFrame = [this] { return !m_mdiArea->subWindowList().isEmpty(); };
    map.OnCommand(ECommand::WindowNew, [this] { NewWindowOnActiveDocument(); });
    map.OnEnable(ECommand::WindowNew, [this] { return ActiveFrame() != nullptr; });
    map.OnCommand(ECommand::WindowCascade, [this] { m_mdiArea->cascadeSubWindows(); });
    map.OnEnable(ECommand::WindowCascade, anyFrame);
    map.OnCommand(ECommand::WindowTile, [this] { m_mdiArea->tileSubWindows(); });
    map.OnEnable(ECommand::WindowTile, anyFrame);
    map.OnCommand(ECommand::WindowArrange, [this] { ArrangeIcons(); });
    map.OnEnable(ECommand::WindowArrange, anyFrame);
    map.OnCommand(ECommand::NextPane, [this] { MovePaneFocus(1); });
    map.OnCommand(ECommand::PreviousPane, [this] { MovePaneFocus(-1); });
}

void CMainFrame::SetRecentFiles(std::function<std::vector<std::string>()> entries,
                                std::function<void(int)> open) {
    m_recentEntries = std::move(entries);
    m_openRecent = std::move(open);
}

CCommandRoute CMainFrame::Route() const {
    CDocumentFrame* frame = ActiveFrame();
    const CCommandTarget* view =
        frame ? dynamic_cast<const CCommandTarget*>(frame->View()) : nullptr;
    const CCommandTarget* document = frame ? frame->Document() : nullptr;
    return CCommandRoute({view, document, frame, this, m_applicationTarget});
}

bool CMainFrame::ExecuteCommand(ECommand id) {
    bool ran = Route().Execute(id);
    UpdateCommandUi();
    return ran;
}

void CMainFrame::UpdateCommandUi() {
    const CCommandRoute route = Route();
    for (int i = 1; i < kCommandCount; ++i) {
        QAction* action = m_actions[static_cast<size_t>(i)];
        SCommandState state = route.State(static_cast<ECommand>(i));
        action->setEnabled(state.enabled);
        if (state.checked) {
            action->setCheckable(true);
            action->setChecked(*state.checked);
        }
    }
}

const std::vector<QMenu*>& CMainFrame::MenusFor(EMenuKind kind) {
    auto found = m_menus.find(kind);
    if (found != m_menus.end()) {
        return found->second;
    }
    std::vector<QMenu*>& menus = m_menus[kind];
    for (const SMenu& table : MenuBarFor(kind)) {
        auto* menu = new QMenu(QString::fromStdString(table.title), this);
        bool recentListOpen = false;
        for (const SMenuItem& item : table.items) {
            if (item.type == EMenuItemType::Command) {
                menu->addAction(Action(item.command));
            } else if (item.type == EMenuItemType::RecentFiles) {
                recentListOpen = true;
            } else {
                QAction* separator = menu->addSeparator();
                if (recentListOpen) {
                    // The entries are inserted before the separator that ends the list.
                    m_recentAnchors[menu] = separator;
                    recentListOpen = false;
                }
            }
        }
        const bool windowMenu = table.title == kWindowMenuTitle;
        connect(menu, &QMenu::aboutToShow, this, [this, menu, windowMenu] {
            InitMenu();
            UpdateCommandUi();
            if (m_recentAnchors.count(menu)) {
                FillRecentFiles(menu);
            }
            if (windowMenu) {
                FillWindowList(menu);
            }
        });
        menus.push_back(menu);
    }
    return menus;
}

void CMainFrame::FillRecentFiles(QMenu* menu) {
    for (QAction* old : m_recentActions) {
        delete old;
    }
    m_recentActions.clear();
    QAction* anchor = m_recentAnchors[menu];
    std::vector<std::string> entries =
        m_recentEntries ? m_recentEntries() : std::vector<std::string>();
    if (entries.empty()) {
        auto* empty = new QAction(QStringLiteral("Recent File"), menu);
        empty->setEnabled(false);
        menu->insertAction(anchor, empty);
        m_recentActions.push_back(empty);
        return;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        auto* action = new QAction(RecentFileMenuText(static_cast<int>(i), entries[i]), menu);
        action->setStatusTip(QStringLiteral("Open %1").arg(QString::fromStdString(entries[i])));
        const int index = static_cast<int>(i);
        connect(action, &QAction::triggered, this, [this, index] {
            if (m_openRecent) {
                m_openRecent(index);
            }
        });
        menu->insertAction(anchor, action);
        m_recentActions.push_back(action);
    }
}

// The open windows after the Window menu's commands, the active one checked.
void CMainFrame::FillWindowList(QMenu* menu) {
    for (QAction* old : m_windowListActions) {
        delete old;
    }
    m_windowListActions.clear();
    const std::vector<CDocumentFrame*> frames = DocumentFrames();
    if (frames.empty()) {
        return;
    }
    m_windowListActions.push_back(menu->addSeparator());
    CDocumentFrame* active = ActiveFrame();
    const QStringList titles = WindowListTitles(frames);
    const int listed = std::min(static_cast<int>(frames.size()), kListedWindows);
    for (int i = 0; i < listed; ++i) {
        CDocumentFrame* frame = frames[static_cast<size_t>(i)];
        QString title = titles[i];
        auto* action = menu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(title.replace('&', QStringLiteral("&&"))));
        action->setCheckable(true);
        action->setChecked(frame == active);
        action->setStatusTip(QStringLiteral("Activate this window"));
        QPointer<CDocumentFrame> target(frame);
        connect(action, &QAction::triggered, this, [this, target] {
            if (target) {
                ActivateDocumentFrame(target);
            }
        });
        m_windowListActions.push_back(action);
    }
    if (static_cast<int>(frames.size()) > kListedWindows) {
        QAction* more = menu->addAction(QStringLiteral("&More Windows..."));
        connect(more, &QAction::triggered, this, &CMainFrame::ChooseFromAllWindows);
        m_windowListActions.push_back(more);
    }
}

void CMainFrame::ChooseFromAllWindows() {
    const std::vector<CDocumentFrame*> frames = DocumentFrames();
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Select Window"));
    auto* list = new QListWidget(&dialog);
    list->addItems(WindowListTitles(frames));
    const auto found = std::find(frames.begin(), frames.end(), ActiveFrame());
    list->setCurrentRow(found == frames.end() ? 0 : static_cast<int>(found - frames.begin()));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(QStringLiteral("&Select window:"), &dialog);
    label->setBuddy(list);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    std::vector<QPointer<CDocumentFrame>> targets(frames.begin(), frames.end());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const int row = list->currentRow();
    if (row >= 0 && row < static_cast<int>(targets.size()) && targets[static_cast<size_t>(row)]) {
        ActivateDocumentFrame(targets[static_cast<size_t>(row)]);
    }
}

void CMainFrame::ApplyMenuTexts(EMenuKind kind) {
    for (const SMenu& table : MenuBarFor(kind)) {
        for (const SMenuItem& item : table.items) {
            if (item.type == EMenuItemType::Command) {
                Action(item.command)->setText(QString::fromStdString(item.text));
            }
        }
    }
}

void CMainFrame::ShowMenusFor(EMenuKind kind) {
    const std::vector<QMenu*>& menus = MenusFor(kind);
    if (m_menuKind != kind || menuBar()->actions().isEmpty()) {
        menuBar()->clear();
        for (QMenu* menu : menus) {
            menuBar()->addMenu(menu);
        }
        m_menuKind = kind;
        InstallAccelerators(kind);
    }
    ApplyMenuTexts(kind);
    InitMenu();
    UpdateCommandUi();
}

void CMainFrame::InitMenu() {
    QMenu* help = nullptr;
    for (QAction* top : menuBar()->actions()) {
        if (top->menu() && top->text() == QLatin1String(kHelpMenuTitle)) {
            help = top->menu();
            break;
        }
    }
    QAction* tip = TipOfTheDayAction();
    if (help) {
        const auto items = help->actions();
        if (items.isEmpty() || items.front()->text() != QLatin1String(kTipOfTheDayText)) {
            QAction* first = items.isEmpty() ? nullptr : items.front();
            help->insertAction(first, tip);
            help->insertSeparator(first);
        }
        return;
    }
    if (!m_sharedHelpMenu) {
        m_sharedHelpMenu = new QMenu(QLatin1String(kHelpMenuTitle), this);
        m_sharedHelpMenu->addAction(tip);
    }
    menuBar()->addMenu(m_sharedHelpMenu);
}

// Each kind's shortcuts are made once and switched on and off: a switch can happen while Qt
// walks this window's children (showing it), so none may be deleted then.
void CMainFrame::InstallAccelerators(EMenuKind kind) {
    for (auto& [otherKind, shortcuts] : m_shortcuts) {
        for (QShortcut* shortcut : shortcuts) {
            shortcut->setEnabled(false);
        }
    }
    std::vector<QShortcut*>& shortcuts = m_shortcuts[kind];
    if (shortcuts.empty()) {
        std::vector<QKeySequence> taken;
        for (const SKeyBinding& binding : KeyBindingsFor(kind)) {
            const QKeySequence keys(QString::fromStdString(binding.keys));
            if (std::find(taken.begin(), taken.end(), keys) != taken.end()) {
                continue; // the first entry of a repeated key (F1) wins
            }
            taken.push_back(keys);
            auto* shortcut = new QShortcut(keys, this);
            shortcut->setContext(Qt::WindowShortcut);
            const ECommand id = binding.command;
            shortcut->setProperty(kCommandProperty, static_cast<int>(id));
            connect(shortcut, &QShortcut::activated, this,
                    [this, id] { ExecuteCommand(m_keyFilter ? m_keyFilter(id) : id); });
            shortcuts.push_back(shortcut);
        }
    }
    for (QShortcut* shortcut : shortcuts) {
        shortcut->setEnabled(true);
    }
}

ECommand CMainFrame::AcceleratorCommand(const QKeySequence& keys) const {
    auto found = m_shortcuts.find(m_menuKind);
    if (found == m_shortcuts.end()) {
        return ECommand::None;
    }
    for (const QShortcut* shortcut : found->second) {
        if (shortcut->key() == keys) {
            return static_cast<ECommand>(shortcut->property(kCommandProperty).toInt());
        }
    }
    return ECommand::None;
}

void CMainFrame::AddDocumentFrame(CDocumentFrame* frame) {
    const bool maximise = ActiveFrame() && ActiveFrame()->isMaximized();
    m_mdiArea->addSubWindow(frame);
    connect(frame, &QWidget::windowTitleChanged, this, &CMainFrame::UpdateTitle);
    connect(frame, &QMdiSubWindow::windowStateChanged, this, &CMainFrame::UpdateTitle);
    if (maximise) {
        frame->showMaximized();
    } else {
        PlaceFrame(frame, static_cast<int>(DocumentFrames().size()));
        frame->show();
    }
    ActivateDocumentFrame(frame);
}

// New windows take three quarters of the area, each a step further down and right.
void CMainFrame::PlaceFrame(CDocumentFrame* frame, int order) {
    const QSize area = isVisible() ? m_mdiArea->viewport()->size() : m_mdiArea->size();
    if (area.width() < 200 || area.height() < 150) {
        return; // not laid out yet; showEvent places it
    }
    const int step = frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frame) + 4;
    const QSize size(std::max(320, area.width() * 3 / 4), std::max(240, area.height() * 3 / 4));
    const int room = std::max(
        1, std::min(area.width() - size.width(), area.height() - size.height()) / step + 1);
    const int offset = (order % room) * step;
    frame->setGeometry(offset, offset, size.width(), size.height());
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_placedOnFirstShow) {
        m_placedOnFirstShow = true;
        // Frames opened before the window showed (files named at start-up) get their places
        // now that the area has its size.
        layout()->activate();
        int order = 0;
        for (CDocumentFrame* frame : DocumentFrames()) {
            if (!frame->isMaximized() && !frame->isMinimized()) {
                PlaceFrame(frame, order++);
            }
        }
    }
}

void CMainFrame::ActivateDocumentFrame(CDocumentFrame* frame) {
    if (frame->isMinimized()) {
        frame->showNormal();
    }
    m_mdiArea->setActiveSubWindow(frame);
    OnSubWindowActivated(frame);
    if (frame->View()) {
        frame->View()->setFocus();
    }
}

CDocumentFrame* CMainFrame::ActiveFrame() const {
    return qobject_cast<CDocumentFrame*>(m_mdiArea->currentSubWindow());
}

std::vector<CDocumentFrame*> CMainFrame::DocumentFrames() const {
    std::vector<CDocumentFrame*> frames;
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        auto* frame = qobject_cast<CDocumentFrame*>(window);
        if (frame && !frame->isHidden()) { // a closed frame lingers until it is deleted
            frames.push_back(frame);
        }
    }
    return frames;
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow*) {
    // The area reports no window while the main window itself is inactive; the current window
    // is still the one the menus belong to.
    CDocumentFrame* frame = ActiveFrame();
    if (frame && frame->isHidden()) {
        frame = nullptr;
    }
    ShowMenusFor(frame ? MenuKindFor(frame->DocumentKind()) : EMenuKind::NoDocument);
    UpdateTitle();
    if (!frame) {
        SetPaneText(1, {});
        SetPaneText(2, {});
    }
    // A source window shows its own as it becomes active.
    SetPaneText(kIndentPane, {});
    emit ActiveFrameChanged(frame);
}

// "Tovin - Hello.java": the program and the active window's document. A maximised window's
// name the area adds itself, in brackets: "Tovin - [Hello.java]".
void CMainFrame::UpdateTitle() {
    CDocumentFrame* frame = ActiveFrame();
    QString title = QLatin1String(kCaption);
    if (frame && !frame->isHidden() && !frame->isMaximized()) {
        title += QStringLiteral(" - ") + frame->windowTitle().remove(QStringLiteral("[*]"));
    }
    if (windowTitle() != title) {
        setWindowTitle(title);
    }
}

void CMainFrame::SetPaneText(int pane, const QString& text) {
    if (pane < 0 || pane >= static_cast<int>(m_panes.size())) {
        return;
    }
    QLabel* label = m_panes[static_cast<size_t>(pane)];
    // The caret's panes are set on every key: a text that did not change is not painted again.
    // The pane is painted with the next paint of the window, not at once: a pane set while a
    // window is being shown maximised would paint that window half made (the editor control
    // then crashes in its painting).
    if (label->text() != text) {
        label->setText(text);
        label->update();
    }
}

QString CMainFrame::PaneText(int pane) const {
    if (pane < 0 || pane >= static_cast<int>(m_panes.size())) {
        return {};
    }
    return m_panes[static_cast<size_t>(pane)]->text();
}

void CMainFrame::UpdateIndicatorPanes() {
    SetPaneText(3, m_indicators->CapsLock() ? QStringLiteral("CAP") : QString());
    SetPaneText(4, m_indicators->NumLock() ? QStringLiteral("NUM") : QString());
    SetPaneText(5, m_indicators->ScrollLock() ? QStringLiteral("SCRL") : QString());
}

QDockWidget* CMainFrame::ProjectDock() {
    if (!m_projectDock) {
        m_projectDock = new QDockWidget(QStringLiteral("Project Window"), this);
        m_projectDock->setObjectName(QStringLiteral("ProjectDock"));
        m_projectDock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
        addDockWidget(Qt::LeftDockWidgetArea, m_projectDock);
        // Wide enough for a method with a parameter or two, such as "main(String args[])".
        resizeDocks({m_projectDock}, {fontMetrics().averageCharWidth() * 40}, Qt::Horizontal);
        // Hiding the project window hands the focus on to whatever comes next, which may be
        // another document; the one the user came from is the one to return to.
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            auto inDock = [this](QWidget* widget) {
                return widget && m_projectDock &&
                       (widget == m_projectDock || m_projectDock->isAncestorOf(widget));
            };
            if (inDock(now) && !inDock(old)) {
                m_beforeProjectDock = ActiveFrame();
            }
        });
        connect(m_projectDock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
            CDocumentFrame* back = m_beforeProjectDock;
            if (!visible && back && !back->isHidden() && isVisible()) {
                ActivateDocumentFrame(back);
            }
        });
    }
    return m_projectDock;
}

void CMainFrame::InstallWindowSwitchKeys() {
    // The window area switches with these keys only while it has the focus; the project tree
    // and the Process Window are windows of the same program, so the keys work there too.
    const std::pair<QKeySequence, bool> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), true},
        {QKeySequence(Qt::CTRL | Qt::Key_F6), true},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), false},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6), false},
    };
    for (const auto& [sequence, forward] : keys) {
        auto* shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, forward = forward] {
            if (forward) {
                m_mdiArea->activateNextSubWindow();
            } else {
                m_mdiArea->activatePreviousSubWindow();
            }
            if (CDocumentFrame* frame = ActiveFrame(); frame && frame->View()) {
                frame->View()->setFocus();
            }
        });
    }
}

QDockWidget* CMainFrame::ProcessDock() {
    if (!m_processDock) {
        m_processDock = new QDockWidget(QStringLiteral("Process Window"), this);
        m_processDock->setObjectName(QStringLiteral("ProcessDock"));
        m_processDock->setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
        addDockWidget(Qt::BottomDockWidgetArea, m_processDock);
    }
    return m_processDock;
}

void CMainFrame::MovePaneFocus(int step) {
    std::vector<QWidget*> panes;
    if (CDocumentFrame* frame = ActiveFrame(); frame && frame->View()) {
        panes.push_back(frame->View());
    }
    for (QDockWidget* dock : {m_projectDock, m_processDock}) {
        if (dock && dock->isVisible() && dock->widget()) {
            panes.push_back(dock->widget());
        }
    }
    if (panes.size() < 2) {
        return;
    }
    size_t current = 0;
    for (size_t i = 0; i < panes.size(); ++i) {
        if (panes[i]->isAncestorOf(QApplication::focusWidget()) ||
            panes[i] == QApplication::focusWidget()) {
            current = i;
        }
    }
    const size_t count = panes.size();
    size_t next = (current + count + static_cast<size_t>(step + static_cast<int>(count))) % count;
    panes[next]->setFocus(Qt::ShortcutFocusReason);
}

void CMainFrame::ArrangeIcons() {
    int x = 0;
    const int bottom = m_mdiArea->viewport()->height();
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        if (window->isMinimized()) {
            window->move(x, bottom - window->height());
            x += window->width();
        }
    }
}

void CMainFrame::NewWindowOnActiveDocument() {
    if (CDocumentFrame* frame = ActiveFrame(); frame && frame->Document()) {
        frame->Document()->NewFrame();
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_closeHandler && !m_closeHandler()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace tovin
