#include "gui/prefs/IDEPage.h"

#include "core/app/UiHost.h"
#include "core/platform/Paths.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tovin {

namespace {

// The JDK documentation on this desktop is the API pages' index.html, opened in the browser.
constexpr const char* kHelpFileFilter = "HTML Files (*.html)|*.html|All Files (*.*)|*.*||";

QLabel* BuddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

} // namespace

CIDEPage::CIDEPage(CUiHost& host, QWidget* parent)
    : CPrefsPage(parent), m_host(host),
      m_saveComp(new QCheckBox(QStringLiteral("Save all files before compiling"))),
      m_loadLast(new QCheckBox(QStringLiteral("Load last open project on startup"))),
      m_showArgs(new QCheckBox(QStringLiteral("Ask for input before running Applications"))),
      m_showDrops(new QCheckBox(QStringLiteral("Show function drop-downs in source windows"))),
      m_javaBin(new QLineEdit), m_jython(new QLineEdit), m_msJavaBin(new QLineEdit),
      m_helpPath(new QLineEdit), m_languageServer(new QLineEdit) {
    m_languageServer->setPlaceholderText(QStringLiteral("The built-in Java engine"));
    auto* jdkGroup = new QGroupBox(QStringLiteral("JDK (J2SDK) Location - Required"));
    auto* jdkLayout = new QVBoxLayout(jdkGroup);
    jdkLayout->addWidget(
        BuddyLabel(QStringLiteral("Enter the full path to the JDK folder:"), m_javaBin));
    jdkLayout->addWidget(FolderField(host, m_javaBin, QStringLiteral("..."),
                                     QStringLiteral("Find the JDK Folder:")));

    auto* helpRow = new QWidget;
    auto* helpLayout = new QHBoxLayout(helpRow);
    helpLayout->setContentsMargins(0, 0, 0, 0);
    auto* helpBrowse = new QPushButton(QStringLiteral("..."));
    FitButtonToText(*helpBrowse);
    helpLayout->addWidget(m_helpPath, 1);
    helpLayout->addWidget(helpBrowse);
    connect(helpBrowse, &QPushButton::clicked, this, &CIDEPage::ChooseHelpFile);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_saveComp);
    layout->addWidget(m_loadLast);
    layout->addWidget(m_showArgs);
    layout->addWidget(m_showDrops);
    layout->addWidget(jdkGroup);
    layout->addWidget(BuddyLabel(QStringLiteral("Jython installation folder:"), m_jython));
    layout->addWidget(FolderField(host, m_jython, QStringLiteral("..."),
                                  QStringLiteral("Find the Jython install Folder:")));
    layout->addWidget(BuddyLabel(QStringLiteral("Ant installation folder:"), m_msJavaBin));
    layout->addWidget(FolderField(host, m_msJavaBin, QStringLiteral("..."),
                                  QStringLiteral("Find the MS Java SDK Folder:")));
    layout->addWidget(
        BuddyLabel(QStringLiteral("Path to the JDK API documentation (index.html):"), m_helpPath));
    layout->addWidget(helpRow);
    layout->addWidget(
        BuddyLabel(QStringLiteral("Java language server command:"), m_languageServer));
    layout->addWidget(m_languageServer);
    layout->addStretch();
}

void CIDEPage::ChooseHelpFile() {
    SFileDialogRequest request;
    request.filter = kHelpFileFilter;
    const std::string current = m_helpPath->text().toStdString();
    if (!current.empty()) {
        request.initialFolder = GetFolder(current);
        request.proposedName = GetFileName(current);
    }
    const std::vector<std::string> chosen = m_host.FileDialog(request);
    if (!chosen.empty()) {
        m_helpPath->setText(QString::fromStdString(chosen.front()));
    }
}

void CIDEPage::Load(const CSettings& settings) {
    m_saveComp->setChecked(settings.saveComp != 0);
    m_loadLast->setChecked(settings.loadLast != 0);
    m_showArgs->setChecked(settings.showArgs != 0);
    m_showDrops->setChecked(settings.showDrops != 0);
    m_javaBin->setText(QString::fromStdString(settings.javaBin));
    m_jython->setText(QString::fromStdString(settings.jython));
    m_msJavaBin->setText(QString::fromStdString(settings.msJavaBin));
    m_helpPath->setText(QString::fromStdString(settings.helpPath));
    m_languageServer->setText(QString::fromStdString(settings.languageServer));
}

void CIDEPage::Store(CSettings& settings) const {
    settings.saveComp = m_saveComp->isChecked() ? 1 : 0;
    settings.loadLast = m_loadLast->isChecked() ? 1 : 0;
    settings.showArgs = m_showArgs->isChecked() ? 1 : 0;
    settings.showDrops = m_showDrops->isChecked() ? 1 : 0;
    settings.javaBin = m_javaBin->text().toStdString();
    settings.jython = m_jython->text().toStdString();
    settings.msJavaBin = m_msJavaBin->text().toStdString();
    settings.helpPath = m_helpPath->text().toStdString();
    settings.languageServer = m_languageServer->text().trimmed().toStdString();
}

} // namespace tovin
