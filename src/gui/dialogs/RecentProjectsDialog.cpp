#include "gui/dialogs/RecentProjectsDialog.h"

#include "core/app/Settings.h"
#include "core/app/UiHost.h"
#include "core/platform/Paths.h"
#include "gui/desktop/Icons.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tovin {

namespace {

constexpr int kNameColumnWidth = 150;
constexpr int kPathColumnWidth = 400;

} // namespace

CRecentProjectsDialog::CRecentProjectsDialog(CSettings& settings, CUiHost& host, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_host(host), m_list(new QTreeWidget(this)) {
    setWindowTitle(QStringLiteral("Recent Projects"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Full Path")});
    m_list->setColumnWidth(0, kNameColumnWidth);
    m_list->setColumnWidth(1, kPathColumnWidth);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setIconSize(QSize(16, 16));
    const QIcon icon = OwnIcon(QStringLiteral("project"));
    for (const std::string& path : m_settings.recentProjects) {
        auto* row = new QTreeWidgetItem(m_list);
        row->setIcon(0, icon);
        row->setText(0, QString::fromStdString(GetFileName(path)));
        row->setText(1, QString::fromStdString(path));
    }
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(0, Qt::AscendingOrder);
    m_list->setMinimumWidth(kNameColumnWidth + kPathColumnWidth + 24);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* remove =
        buttons->addButton(QStringLiteral("&Remove"), QDialogButtonBox::ActionRole);
    remove->setAutoDefault(false);
    connect(remove, &QPushButton::clicked, this, &CRecentProjectsDialog::RemoveSelected);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRecentProjectsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("C&hoose a recent project from the list below:"), this);
    label->setBuddy(m_list);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    m_list->setFocus();
}

void CRecentProjectsDialog::RemoveSelected() {
    QTreeWidgetItem* row = m_list->currentItem();
    if (!row || !row->isSelected()) {
        return;
    }
    RemoveRecentProject(m_settings, row->text(1).toStdString());
    delete row;
}

void CRecentProjectsDialog::accept() {
    QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        m_host.MessageBox("Please choose an item from the list", "Tovin", EMsgButtons::Ok,
                          EMsgIcon::Information);
        return;
    }
    m_chosen = selected.front()->text(1).toStdString();
    QDialog::accept();
}

} // namespace tovin
