#include "gui/prefs/WorkingDirPage.h"

#include "gui/project/ClassPathList.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tovin {

CWorkingDirPage::CWorkingDirPage(CUiHost& host, QWidget* parent)
    : CPrefsPage(parent), m_workingDir(new QLineEdit),
      m_classPaths(new CClassPathList(host, false, nullptr)),
      m_remove(new QPushButton(QStringLiteral("Remove"))),
      m_addJar(new QPushButton(QStringLiteral("Add Jar..."))),
      m_addFolder(new QPushButton(QStringLiteral("Add Folder..."))) {
    auto* dirGroup = new QGroupBox(QStringLiteral("Set Working Directory"));
    auto* dirLayout = new QVBoxLayout(dirGroup);
    dirLayout->addWidget(FolderField(host, m_workingDir, QStringLiteral("Browse..."),
                                     QStringLiteral("Locate Working Directory")));
    auto* note = new QLabel(
        QStringLiteral("To use the default working directory for the project, leave this field "
                       "blank."));
    note->setWordWrap(true);
    dirLayout->addWidget(note);

    auto* pathGroup = new QGroupBox(QStringLiteral("Classpaths"));
    auto* pathLayout = new QVBoxLayout(pathGroup);
    pathLayout->addWidget(m_classPaths, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_remove);
    buttons->addWidget(m_addJar);
    buttons->addWidget(m_addFolder);
    pathLayout->addLayout(buttons);
    connect(m_remove, &QPushButton::clicked, this, [this] { m_classPaths->RemoveSelected(); });
    connect(m_addJar, &QPushButton::clicked, this, [this] { m_classPaths->AddJar(); });
    connect(m_addFolder, &QPushButton::clicked, this, [this] { m_classPaths->AddFolder(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dirGroup);
    layout->addWidget(pathGroup, 1);
}

void CWorkingDirPage::Load(const CSettings& settings) {
    m_workingDir->setText(QString::fromStdString(settings.workingDir));
    m_classPath = settings.classPath;
    m_listFilled = false;
    if (isVisible()) {
        m_classPaths->Fill(m_classPath);
        m_listFilled = true;
    }
}

void CWorkingDirPage::showEvent(QShowEvent* event) {
    if (!m_listFilled) {
        m_classPaths->Fill(m_classPath);
        m_listFilled = true;
    }
    CPrefsPage::showEvent(event);
}

void CWorkingDirPage::Store(CSettings& settings) const {
    settings.workingDir = m_workingDir->text().toStdString();
    settings.classPath = m_listFilled ? m_classPaths->Text() : m_classPath;
}

} // namespace tovin
