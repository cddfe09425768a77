#include "gui/dialogs/NewDocumentDialog.h"

#include "gui/desktop/Icons.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

namespace tovin {

namespace {

struct SEntry {
    const char* text;
    const char* icon;
    const char* documentName;
};

constexpr SEntry kEntries[] = {
    {"Java Source File", "java-file", "JavaDocument"},
    {"Tovin Project", "project", ""},
    {"HTML Page", "html-file", "HTMLDocument"},
    {"XML File", "xml-file", "XMLDocument"},
    {"Jython File", "jython-file", "JythonDocument"},
    {"JUnit Test Case", "test-passed", "JavaDocument"},
};

} // namespace

CNewDocumentDialog::CNewDocumentDialog(QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("New Tovin Document"));
    m_list->setViewMode(QListView::IconMode);
    m_list->setIconSize(QSize(32, 32));
    m_list->setGridSize(QSize(104, 72));
    m_list->setMovement(QListView::Static);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setWordWrap(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const SEntry& entry : kEntries) {
        new QListWidgetItem(OwnIcon(QLatin1String(entry.icon)), QLatin1String(entry.text), m_list);
    }
    // Room for the frame: every kind in one row.
    m_list->setMinimumSize(static_cast<int>(std::size(kEntries)) * 104 + 40, 90);
    // The first kind is chosen from the start, so Enter alone makes a Java source file.
    m_list->setCurrentRow(JavaSource);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { accept(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CNewDocumentDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

void CNewDocumentDialog::accept() {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        return; // nothing chosen: the dialog stays
    }
    m_chosen = m_list->row(selected.front());
    QDialog::accept();
}

const char* DocumentNameOfEntry(int entry) {
    if (entry < 0 || entry >= static_cast<int>(std::size(kEntries))) {
        return "";
    }
    return kEntries[entry].documentName;
}

} // namespace tovin
