#include "gui/debug/DebugWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tovin {

namespace {

// Where an item keeps the number by which its parts are fetched, and whether they were asked.
constexpr int kReferenceRole = Qt::UserRole;
constexpr int kFetchedRole = Qt::UserRole + 1;
constexpr const char* kLoadingText = "...";

QWidget* Titled(const QString& title, QWidget* content, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(new QLabel(title, box));
    layout->addWidget(content);
    return box;
}

} // namespace

CDebugWindow::CDebugWindow(QWidget* parent)
    : QWidget(parent), m_stack(new QListWidget(this)), m_variables(new QTreeWidget(this)) {
    m_stack->setObjectName(QStringLiteral("DebugStack"));
    m_variables->setObjectName(QStringLiteral("DebugVariables"));
    m_variables->setColumnCount(3);
    m_variables->setHeaderLabels({tr("Name"), tr("Value"), tr("Type")});
    m_variables->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_variables->setColumnWidth(0, fontMetrics().averageCharWidth() * 18);
    m_variables->setColumnWidth(1, fontMetrics().averageCharWidth() * 24);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(Titled(tr("Call stack"), m_stack, splitter));
    splitter->addWidget(Titled(tr("Variables"), m_variables, splitter));
    splitter->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);
    connect(m_stack, &QListWidget::currentRowChanged, this, &CDebugWindow::ChooseFrame);
    connect(m_stack, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ChooseFrame(m_stack->row(item)); });
    connect(m_variables, &QTreeWidget::itemExpanded, this, &CDebugWindow::OnExpanded);
}

void CDebugWindow::SetSession(CDebugSession* session) {
    if (m_session) {
        m_session->disconnect(this);
    }
    m_session = session;
    OnRunning();
    if (!session) {
        return;
    }
    connect(session, &CDebugSession::Stopped, this, &CDebugWindow::OnStopped);
    connect(session, &CDebugSession::StateChanged, this, [this](CDebugSession::EState state) {
        if (state != CDebugSession::EState::Stopped) {
            OnRunning();
        }
    });
    connect(session, &CDebugSession::ScopesArrived, this, &CDebugWindow::OnScopes);
    connect(session, &CDebugSession::VariablesArrived, this, &CDebugWindow::OnVariables);
}

void CDebugWindow::OnRunning() {
    const QSignalBlocker block(m_stack);
    m_stack->clear();
    m_variables->clear();
    m_frameId = 0;
}

void CDebugWindow::OnStopped() {
    {
        const QSignalBlocker block(m_stack);
        m_stack->clear();
        for (const SDebugFrame& frame : m_session->Frames()) {
            QString text = frame.name;
            if (!frame.path.isEmpty()) {
                text += QStringLiteral("  (%1:%2)")
                            .arg(frame.path.section(QLatin1Char('/'), -1))
                            .arg(frame.line);
            }
            auto* item = new QListWidgetItem(text, m_stack);
            item->setToolTip(frame.path.isEmpty() ? tr("No source") : frame.path);
            if (frame.path.isEmpty()) {
                item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            }
        }
        m_stack->setCurrentRow(0);
    }
    m_variables->clear();
    m_frameId = 0;
    if (!m_session->Frames().isEmpty()) {
        m_frameId = m_session->Frames().front().id;
        m_session->FetchScopes(m_frameId);
    }
}

void CDebugWindow::ChooseFrame(int row) {
    if (!m_session || row < 0 || row >= m_session->Frames().size()) {
        return;
    }
    const SDebugFrame& frame = m_session->Frames().at(row);
    if (frame.id != m_frameId) {
        m_frameId = frame.id;
        m_variables->clear();
        m_session->FetchScopes(frame.id);
    }
    if (!frame.path.isEmpty()) {
        emit FrameChosen(frame.path, frame.line);
    }
}

void CDebugWindow::OnScopes(int frameId, const QList<SDebugScope>& scopes) {
    if (frameId != m_frameId) {
        return; // another frame was chosen meanwhile
    }
    m_variables->clear();
    for (const SDebugScope& scope : scopes) {
        AddValue(nullptr, scope.name, {}, {}, scope.reference);
    }
    if (QTreeWidgetItem* locals = m_variables->topLevelItem(0)) {
        locals->setExpanded(true);
    }
}

QTreeWidgetItem* CDebugWindow::AddValue(QTreeWidgetItem* parent, const QString& name,
                                        const QString& value, const QString& type, int reference) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_variables);
    item->setText(0, name);
    item->setText(1, value);
    item->setText(2, type);
    item->setToolTip(1, value);
    item->setData(0, kReferenceRole, reference);
    if (reference > 0) {
        // A placeholder gives the branch its arrow; opening it fetches the parts.
        new QTreeWidgetItem(item, QStringList{QLatin1String(kLoadingText)});
    }
    return item;
}

void CDebugWindow::OnExpanded(QTreeWidgetItem* item) {
    const int reference = item->data(0, kReferenceRole).toInt();
    if (reference > 0 && !item->data(0, kFetchedRole).toBool() && m_session) {
        item->setData(0, kFetchedRole, true);
        m_session->FetchVariables(reference);
    }
}

void CDebugWindow::OnVariables(int reference, const QList<SDebugVariable>& variables) {
    // The item that asked: references are unique while the program stands.
    QList<QTreeWidgetItem*> pending;
    for (int i = 0; i < m_variables->topLevelItemCount(); ++i) {
        pending.append(m_variables->topLevelItem(i));
    }
    while (!pending.isEmpty()) {
        QTreeWidgetItem* item = pending.takeFirst();
        if (item->data(0, kReferenceRole).toInt() == reference &&
            item->data(0, kFetchedRole).toBool()) {
            qDeleteAll(item->takeChildren());
            for (const SDebugVariable& variable : variables) {
                AddValue(item, variable.name, variable.value, variable.type, variable.reference);
            }
            if (variables.isEmpty()) {
                auto* none = new QTreeWidgetItem(item, QStringList{tr("(none)")});
                none->setDisabled(true);
            }
            return;
        }
        for (int i = 0; i < item->childCount(); ++i) {
            pending.append(item->child(i));
        }
    }
}

} // namespace tovin
