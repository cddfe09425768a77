#include "gui/prefs/JavaOptionsPage.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tovin {

CJavaOptionsPage::CJavaOptionsPage(QWidget* parent)
    : CPrefsPage(parent), m_runOptions(new QPlainTextEdit), m_compileOptions(new QPlainTextEdit),
      m_version(new QButtonGroup(this)) {
    auto* runGroup = new QGroupBox(QStringLiteral("Default Java (Run) Options"));
    (new QVBoxLayout(runGroup))->addWidget(m_runOptions);
    auto* compileGroup = new QGroupBox(QStringLiteral("Default Javac (Compile) Options"));
    (new QVBoxLayout(compileGroup))->addWidget(m_compileOptions);
    auto* note = new QLabel(QStringLiteral(
        "Set extra compile options here. Set classpaths and working directories in the Paths "
        "section."));
    note->setWordWrap(true);

    auto* versionGroup = new QGroupBox(QStringLiteral("Java Version:"));
    auto* versionLayout = new QHBoxLayout(versionGroup);
    auto* sun = new QRadioButton(QStringLiteral("Sun Microsystems"));
    auto* microsoft = new QRadioButton(QStringLiteral("Microsoft"));
    microsoft->setEnabled(false); // its tools do not exist on this platform
    m_version->addButton(sun, 0);
    m_version->addButton(microsoft, 1);
    versionLayout->addWidget(sun);
    versionLayout->addWidget(microsoft);
    versionLayout->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(runGroup);
    layout->addWidget(compileGroup);
    layout->addWidget(note);
    layout->addWidget(versionGroup);
}

void CJavaOptionsPage::Load(const CSettings& settings) {
    m_runOptions->setPlainText(QString::fromStdString(settings.javaOptions));
    m_compileOptions->setPlainText(QString::fromStdString(settings.javac));
    m_loadedVersion = settings.javaVersion;
    if (QAbstractButton* button = m_version->button(settings.javaVersion)) {
        button->setChecked(true);
    }
}

void CJavaOptionsPage::Store(CSettings& settings) const {
    settings.javaOptions = m_runOptions->toPlainText().toStdString();
    settings.javac = m_compileOptions->toPlainText().toStdString();
    // A value no button stands for (a hand-edited store) stays as it was.
    const int checked = m_version->checkedId();
    settings.javaVersion = checked >= 0 ? checked : m_loadedVersion;
}

} // namespace tovin
